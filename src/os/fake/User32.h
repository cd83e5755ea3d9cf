// The fake user32: the foreground window, upper-casing by the Western European rules, and the
// message-pumping wait on the kernel32 fake's processes.
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

}  // namespace user32

class User32 : public os::User32, public Library {
 public:
  User32(CallLog& log, Kernel32& kernel32) : Library(log), kernel32_(kernel32) {}

  // Runs at every message-pumping wait, before it returns: what happens meanwhile.
  std::function<void()> OnWait;
  // Every wait fails, as one on a handle the system refuses does.
  bool waitFails = false;

  std::int32_t SetForegroundWindow(HWnd window) override;
  std::int32_t SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                            std::int32_t cy, std::uint32_t flags) override;
  std::string CharUpperBuffA(const std::string& text) override;
  // Each wait brings the processes waited for one wait nearer their end; one still running
  // leaves the wait as a window message would.
  std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                          std::uint32_t milliseconds, std::uint32_t wakeMask) override;

 private:
  Kernel32& kernel32_;
};

}  // namespace os::fake
