#include "os/win32/User32.h"

#include <windows.h>

#include <array>
#include <utility>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {
namespace {

// The installed hooks, each with the procedure Windows calls for it.
struct HookSlot {
  HHOOK hook = nullptr;
  HookProc proc;
};
std::array<HookSlot, 8> hookSlots;

template <std::size_t N>
LRESULT CALLBACK HookEntry(int code, WPARAM wParam, LPARAM lParam) {
  HookSlot& slot = hookSlots[N];
  if (!slot.proc) return ::CallNextHookEx(slot.hook, code, wParam, lParam);
  HookProc proc = slot.proc;  // the procedure may remove its own hook
  try {
    return proc(code, wParam, lParam);
  } catch (...) {
    return 0;  // nothing may cross back into Windows
  }
}

template <std::size_t... N>
constexpr std::array<HOOKPROC, sizeof...(N)> HookEntries(std::index_sequence<N...>) {
  return {&HookEntry<N>...};
}
constexpr auto kHookEntries = HookEntries(std::make_index_sequence<std::tuple_size_v<decltype(hookSlots)>>());

}  // namespace

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

std::int32_t User32::GetWindowRect(HWnd window, Rect& rect) {
  RECT r;
  BOOL ok = ::GetWindowRect(reinterpret_cast<HWND>(window), &r);
  if (ok) rect = {r.left, r.top, r.right, r.bottom};
  return ok;
}

std::intptr_t User32::GetWindowLongA(HWnd window, std::int32_t index) {
  return ::GetWindowLongPtrA(reinterpret_cast<HWND>(window), index);
}

std::int32_t User32::GetSystemMetrics(std::int32_t index) { return ::GetSystemMetrics(index); }

Handle User32::SetWindowsHookExA(std::int32_t idHook, HookProc proc, Handle instance, std::uint32_t threadId) {
  for (std::size_t i = 0; i < hookSlots.size(); ++i) {
    if (hookSlots[i].proc) continue;
    hookSlots[i].proc = std::move(proc);
    hookSlots[i].hook = ::SetWindowsHookExA(idHook, kHookEntries[i], reinterpret_cast<HINSTANCE>(instance), threadId);
    if (!hookSlots[i].hook) hookSlots[i] = {};
    return reinterpret_cast<Handle>(hookSlots[i].hook);
  }
  return 0;
}

std::int32_t User32::UnhookWindowsHookEx(Handle hook) {
  BOOL ok = ::UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook));
  for (HookSlot& slot : hookSlots)
    if (ok && slot.hook == reinterpret_cast<HHOOK>(hook)) slot = {};
  return ok;
}

std::intptr_t User32::CallNextHookEx(Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
  return ::CallNextHookEx(reinterpret_cast<HHOOK>(hook), code, wParam, lParam);
}

std::int32_t User32::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  return ::ExitWindowsEx(flags, reserved);
}

std::int32_t User32::LockWorkStation() {
  using Function = BOOL(WINAPI*)();
  return Resolve<Function>("user32.dll", "LockWorkStation")();
}

}  // namespace os::win32
