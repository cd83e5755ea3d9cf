// The real user32.
#pragma once

#include "os/User32.h"

namespace os::win32 {

class User32 : public os::User32 {
 public:
  std::int32_t SetForegroundWindow(HWnd window) override;
  std::int32_t SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                            std::int32_t cy, std::uint32_t flags) override;
  std::string CharUpperBuffA(const std::string& text) override;
  std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                          std::uint32_t milliseconds, std::uint32_t wakeMask) override;
  std::int32_t GetWindowRect(HWnd window, Rect& rect) override;
  std::intptr_t GetWindowLongA(HWnd window, std::int32_t index) override;
  std::int32_t GetSystemMetrics(std::int32_t index) override;
  // Up to eight hooks at a time: Windows gives a hook procedure nothing to tell which
  // installation it serves, so each one gets a procedure of its own.
  Handle SetWindowsHookExA(std::int32_t idHook, HookProc proc, Handle instance, std::uint32_t threadId) override;
  std::int32_t UnhookWindowsHookEx(Handle hook) override;
  std::intptr_t CallNextHookEx(Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
  std::int32_t LockWorkStation() override;
  std::intptr_t DefWindowProcA(HWnd window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  HWnd FindWindowA(const std::string& className) override;
  std::intptr_t SendMessageTimeoutA(HWnd window, std::uintptr_t dwData, const std::string& data,
                                    std::uint32_t timeoutMs, std::intptr_t& result, std::string& reply) override;
  std::int32_t AllowSetForegroundWindow(std::uint32_t processId) override;
  std::int32_t MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t type) override;
  std::int32_t GetLastInputInfo(std::uint32_t& tick) override;
};

}  // namespace os::win32
