// user32: the foreground window, upper-casing by the system's rules, the wait that keeps
// window messages flowing, and leaving or locking the user's session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os/Types.h"

namespace os {

constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitTimeout = 258;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
constexpr std::uint32_t kQsAllInput = 0xFF;
constexpr HWnd kHwndTopMost = static_cast<HWnd>(-1);
constexpr HWnd kHwndNoTopMost = static_cast<HWnd>(-2);
constexpr std::uint32_t kSwpNoSize = 0x1;
constexpr std::uint32_t kSwpNoMove = 0x2;
constexpr std::uint32_t kSwpNoZOrder = 0x4;
constexpr std::uint32_t kSwpNoActivate = 0x10;
constexpr std::uint32_t kSwpShowWindow = 0x40;
constexpr std::uint32_t kEwxLogoff = 0;
constexpr std::uint32_t kEwxShutdown = 1;
constexpr std::uint32_t kEwxReboot = 2;
constexpr std::uint32_t kEwxForce = 4;

class User32 {
 public:
  virtual ~User32() = default;
  virtual std::int32_t SetForegroundWindow(HWnd window) = 0;
  virtual std::int32_t SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                                    std::int32_t cy, std::uint32_t flags) = 0;
  // The text in capitals, by the rules of the system's language and code page.
  virtual std::string CharUpperBuffA(const std::string& text) = 0;
  virtual std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                                  std::uint32_t milliseconds, std::uint32_t wakeMask) = 0;
  // Shuts down, restarts or logs off; nonzero when Windows accepted the request.
  virtual std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
  // Locks the workstation; nonzero on success. Windows 95/98/Me and NT 4.0 lack it: there the
  // call is a run-time error.
  virtual std::int32_t LockWorkStation() = 0;
};

}  // namespace os
