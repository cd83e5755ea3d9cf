// user32: the foreground window, window placement, upper-casing by the system's rules, the wait
// that keeps window messages flowing, hooks into the thread's window activity, leaving or
// locking the user's session, turning the display off, and the time of the last input.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "os/Types.h"

namespace os {

constexpr std::uint32_t kQsAllInput = 0xFF;
constexpr HWnd kHwndTopMost = static_cast<HWnd>(-1);
constexpr HWnd kHwndNoTopMost = static_cast<HWnd>(-2);
constexpr std::uint32_t kSwpNoSize = 0x1;
constexpr std::uint32_t kSwpNoMove = 0x2;
constexpr std::uint32_t kSwpNoZOrder = 0x4;
constexpr std::uint32_t kSwpNoActivate = 0x10;
constexpr std::uint32_t kSwpShowWindow = 0x40;
constexpr std::int32_t kGwlHInstance = -6;
constexpr std::int32_t kSmCxScreen = 0;
constexpr std::int32_t kSmCyScreen = 1;
constexpr std::int32_t kWhCbt = 5;
constexpr std::int32_t kHcbtActivate = 5;  // a CBT hook's code: wParam is the window being activated

// A window's place on the screen, in pixels.
struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

// A hook procedure: it gets the hook code and its two values, and answers Windows.
using HookProc = std::function<std::intptr_t(std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam)>;
constexpr std::uint32_t kEwxLogoff = 0;
constexpr std::uint32_t kEwxShutdown = 1;
constexpr std::uint32_t kEwxReboot = 2;
constexpr std::uint32_t kEwxForce = 4;
constexpr std::uint32_t kWmSysCommand = 0x112;
constexpr std::uintptr_t kScMonitorPower = 0xF170;
constexpr std::intptr_t kMonitorOff = 2;  // SC_MONITORPOWER's lParam: the display off

class User32 {
 public:
  virtual ~User32() = default;
  virtual std::int32_t SetForegroundWindow(HWnd window) = 0;
  virtual std::int32_t SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                                    std::int32_t cy, std::uint32_t flags) = 0;
  // The text in capitals, by the rules of the system's language.
  virtual std::string CharUpperBuffA(const std::string& text) = 0;
  virtual std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                                  std::uint32_t milliseconds, std::uint32_t wakeMask) = 0;
  virtual std::int32_t GetWindowRect(HWnd window, Rect& rect) = 0;
  // A value kept with the window (kGwlHInstance: the instance that made it); pointer-sized,
  // as 64-bit Windows keeps it.
  virtual std::intptr_t GetWindowLongA(HWnd window, std::int32_t index) = 0;
  virtual std::int32_t GetSystemMetrics(std::int32_t index) = 0;
  // Installs a hook procedure for one thread; its handle, or 0 when it could not be installed.
  virtual Handle SetWindowsHookExA(std::int32_t idHook, HookProc proc, Handle instance, std::uint32_t threadId) = 0;
  virtual std::int32_t UnhookWindowsHookEx(Handle hook) = 0;
  // Hands a hook's event on to the hooks installed before it.
  virtual std::intptr_t CallNextHookEx(Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Shuts down, restarts or logs off; nonzero when Windows accepted the request.
  virtual std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
  // Locks the workstation; nonzero on success. Windows 95/98/Me and NT 4.0 lack it: there the
  // call is a run-time error.
  virtual std::int32_t LockWorkStation() = 0;
  // Windows' own handling of a message to a window of this program: WM_SYSCOMMAND with
  // SC_MONITORPOWER and 2 turns the display off, for this window alone (no broadcast).
  virtual std::intptr_t DefWindowProcA(HWnd window, std::uint32_t msg, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;

  // The top-level window of this class (of any program of the session), or 0.
  virtual HWnd FindWindowA(const std::string& className) = 0;
  // Sends WM_COPYDATA with these bytes and dwData to a window of another program, and waits at
  // most `timeoutMs` for its answer (SendMessageTimeoutA, SMTO_ABORTIFHUNG). A
  // window of the caller's own goes with it (in wParam), to which the receiver may send a text
  // back with WM_COPYDATA before it answers: that text is `reply`. Nonzero when the window
  // answered in time; `result` is then its answer.
  virtual std::intptr_t SendMessageTimeoutA(HWnd window, std::uintptr_t dwData, const std::string& data,
                                            std::uint32_t timeoutMs, std::intptr_t& result, std::string& reply) = 0;
  // Lets the given process (kAsfwAny: any) bring a window to the front; looked up at run time,
  // nothing where Windows lacks it (95, NT 4.0).
  virtual std::int32_t AllowSetForegroundWindow(std::uint32_t processId) = 0;
  // A message box with no owner; the button chosen.
  virtual std::int32_t MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t type) = 0;
  // The tick count (GetTickCount's clock) of the session's last keyboard or mouse input;
  // nonzero on success. Windows 95/98/Me and NT 4.0 lack it: there the call is a run-time error.
  virtual std::int32_t GetLastInputInfo(std::uint32_t& tick) = 0;
};

constexpr std::uint32_t kAsfwAny = 0xFFFFFFFF;

}  // namespace os
