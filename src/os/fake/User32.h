// The fake user32: the foreground window, upper-casing by the Western European rules, the
// message-pumping wait on the kernel32 fake's processes and timers, and scripted answers to the
// requests that end or lock the session.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "os/User32.h"
#include "os/fake/Kernel32.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace user32 {
using fake::operator<<;

struct SetForegroundWindow {
  static constexpr std::string_view kName = "SetForegroundWindow";
  HWnd window;
  bool operator==(const SetForegroundWindow&) const = default;
};
struct CharUpperBuffA {
  static constexpr std::string_view kName = "CharUpperBuffA";
  std::string text;
  bool operator==(const CharUpperBuffA&) const = default;
};
struct MsgWaitForMultipleObjects {
  static constexpr std::string_view kName = "MsgWaitForMultipleObjects";
  std::vector<Handle> handles;
  bool waitAll;
  std::uint32_t milliseconds;
  std::uint32_t wakeMask;
  bool operator==(const MsgWaitForMultipleObjects&) const = default;
};

struct SetWindowPos {
  static constexpr std::string_view kName = "SetWindowPos";
  HWnd window;
  HWnd insertAfter;
  std::int32_t x, y, cx, cy;
  std::uint32_t flags;
  bool operator==(const SetWindowPos&) const = default;
};

struct ExitWindowsEx {
  static constexpr std::string_view kName = "ExitWindowsEx";
  std::uint32_t flags;
  std::uint32_t reserved;
  bool operator==(const ExitWindowsEx&) const = default;
};
struct LockWorkStation {
  static constexpr std::string_view kName = "LockWorkStation";
  bool operator==(const LockWorkStation&) const = default;
};

}  // namespace user32

class User32 : public os::User32, public Library {
 public:
  User32(CallLog& log, Kernel32& kernel32) : Library(log), kernel32_(kernel32) {}

  // Runs at every message-pumping wait, before it returns: what happens meanwhile.
  std::function<void()> OnWait;
  // Every wait on handles fails, as one on a handle the system refuses does.
  bool waitFails = false;
  // What the session requests answer; a refusal (0) leaves this error for GetLastError.
  std::int32_t exitWindowsResult = 1;
  std::int32_t lockResult = 1;
  std::uint32_t refusalError = 1314;  // ERROR_PRIVILEGE_NOT_HELD

  std::int32_t SetForegroundWindow(HWnd window) override;
  std::int32_t SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                            std::int32_t cy, std::uint32_t flags) override;
  std::string CharUpperBuffA(const std::string& text) override;
  // Each wait brings the processes waited for one wait nearer their end; one still running
  // leaves the wait as a window message would. Otherwise the wait sleeps until a timer among
  // the handles falls due or the time-out passes, while the clock moves on (and the windows'
  // timers fire meanwhile). A wait that nothing could ever end fails, rather than hang a test.
  std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                          std::uint32_t milliseconds, std::uint32_t wakeMask) override;
  std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
  std::int32_t LockWorkStation() override;

 private:
  Kernel32& kernel32_;
};

}  // namespace os::fake
