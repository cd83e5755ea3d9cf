// The fake user32: the foreground window, windows' places on a 1280 x 1024 screen, upper-casing
// by the Western European rules, the message-pumping wait on the kernel32 fake's processes and
// timers, the chain of hooks, which a test runs by activating a window, and scripted answers to
// the requests that end or lock the session.
#pragma once

#include <functional>
#include <map>
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
struct GetWindowRect {
  static constexpr std::string_view kName = "GetWindowRect";
  HWnd window;
  bool operator==(const GetWindowRect&) const = default;
};
struct GetWindowLongA {
  static constexpr std::string_view kName = "GetWindowLongA";
  HWnd window;
  std::int32_t index;
  bool operator==(const GetWindowLongA&) const = default;
};
struct GetSystemMetrics {
  static constexpr std::string_view kName = "GetSystemMetrics";
  std::int32_t index;
  bool operator==(const GetSystemMetrics&) const = default;
};
// The procedure itself cannot be compared; the handle is the one the fake gave.
struct SetWindowsHookExA {
  static constexpr std::string_view kName = "SetWindowsHookExA";
  std::int32_t idHook;
  Handle instance;
  std::uint32_t threadId;
  bool operator==(const SetWindowsHookExA&) const = default;
};
struct UnhookWindowsHookEx {
  static constexpr std::string_view kName = "UnhookWindowsHookEx";
  Handle hook;
  bool operator==(const UnhookWindowsHookEx&) const = default;
};
struct CallNextHookEx {
  static constexpr std::string_view kName = "CallNextHookEx";
  Handle hook;
  std::int32_t code;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const CallNextHookEx&) const = default;
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
struct DefWindowProcA {
  static constexpr std::string_view kName = "DefWindowProcA";
  HWnd window;
  std::uint32_t msg;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const DefWindowProcA&) const = default;
};
struct FindWindowA {
  static constexpr std::string_view kName = "FindWindowA";
  std::string className;
  bool operator==(const FindWindowA&) const = default;
};
struct SendMessageTimeoutA {
  static constexpr std::string_view kName = "SendMessageTimeoutA";
  HWnd window;
  std::uintptr_t dwData;
  std::string data;
  std::uint32_t timeoutMs;
  bool operator==(const SendMessageTimeoutA&) const = default;
};
struct AllowSetForegroundWindow {
  static constexpr std::string_view kName = "AllowSetForegroundWindow";
  std::uint32_t processId;
  bool operator==(const AllowSetForegroundWindow&) const = default;
};
struct MessageBoxA {
  static constexpr std::string_view kName = "MessageBoxA";
  std::string text;
  std::string caption;
  std::uint32_t type;
  bool operator==(const MessageBoxA&) const = default;
};

struct GetLastInputInfo {
  static constexpr std::string_view kName = "GetLastInputInfo";
  bool operator==(const GetLastInputInfo&) const = default;
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
  // Top-level windows of other programs, by class; and what such a window does with the data
  // sent to it (nothing set: it does not answer in time).
  std::map<std::string, HWnd> windowsByClass;
  std::function<bool(HWnd window, std::uintptr_t dwData, const std::string& data, std::intptr_t& result,
                     std::string& reply)>
      OnCopyData;

  // The windows whose place is known; SetWindowPos moves them. Others have none.
  std::map<HWnd, Rect> windowRects;
  // The instance every window was made by.
  Handle windowInstance = 0x400000;
  std::int32_t screenWidth = 1280, screenHeight = 1024;

  // Something happens to a window that the CBT hooks hear (the one installed last first);
  // ActivateWindow: the window becomes the active one.
  std::intptr_t CbtEvent(std::int32_t code, HWnd window);
  void ActivateWindow(HWnd window) { CbtEvent(kHcbtActivate, window); }
  std::size_t InstalledHooks() const { return hooks_.size(); }

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
  std::int32_t GetWindowRect(HWnd window, Rect& rect) override;
  std::intptr_t GetWindowLongA(HWnd window, std::int32_t index) override;
  std::int32_t GetSystemMetrics(std::int32_t index) override;
  Handle SetWindowsHookExA(std::int32_t idHook, HookProc proc, Handle instance, std::uint32_t threadId) override;
  std::int32_t UnhookWindowsHookEx(Handle hook) override;
  // Runs the hook installed before this one, if there is one; 0 otherwise.
  std::intptr_t CallNextHookEx(Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
  std::int32_t LockWorkStation() override;
  // Logged; answers 0, as Windows does for a system command it has carried out.
  std::intptr_t DefWindowProcA(HWnd window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  HWnd FindWindowA(const std::string& className) override;
  std::intptr_t SendMessageTimeoutA(HWnd window, std::uintptr_t dwData, const std::string& data,
                                    std::uint32_t timeoutMs, std::intptr_t& result, std::string& reply) override;
  std::int32_t AllowSetForegroundWindow(std::uint32_t processId) override;
  std::int32_t MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t type) override;
  // The tick of the last input.
  std::uint32_t lastInputTick = 0;
  std::int32_t GetLastInputInfo(std::uint32_t& tick) override;

 private:
  std::intptr_t RunHook(std::size_t position, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam);
  Kernel32& kernel32_;
  struct Hook {
    Handle handle;
    std::int32_t id;
    HookProc proc;
  };
  std::vector<Hook> hooks_;  // in the order installed
};

}  // namespace os::fake
