#include "os/win32/User32.h"

#include <windows.h>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {

std::int32_t User32::SetForegroundWindow(HWnd window) { return ::SetForegroundWindow(reinterpret_cast<HWND>(window)); }

std::int32_t User32::SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                                  std::int32_t cy, std::uint32_t flags) {
  return ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y, cx, cy, flags);
}

std::string User32::CharUpperBuffA(const std::string& text) {
  std::string upper = text;
  if (!upper.empty()) ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

std::uint32_t User32::MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                                std::uint32_t milliseconds, std::uint32_t wakeMask) {
  std::vector<HANDLE> native;
  for (Handle h : handles) native.push_back(ToHandle(h));
  return ::MsgWaitForMultipleObjects(static_cast<DWORD>(native.size()), native.data(), waitAll, milliseconds, wakeMask);
}

std::int32_t User32::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  return ::ExitWindowsEx(flags, reserved);
}

std::int32_t User32::LockWorkStation() {
  using Function = BOOL(WINAPI*)();
  return Resolve<Function>("user32.dll", "LockWorkStation")();
}

}  // namespace os::win32
