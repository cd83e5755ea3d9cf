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
  if (text.empty()) return text;
  if (boundary::WideApi()) {
    std::wstring upper = Wide(text);
    WIDE("user32.dll", CharUpperBuffW)(upper.data(), static_cast<DWORD>(upper.size()));
    return base::Utf8(upper);
  }
  std::string upper = Ansi(text);
  ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return boundary::FromCodePage(upper);
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

std::intptr_t User32::DefWindowProcA(HWnd window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  return ::DefWindowProcA(reinterpret_cast<HWND>(window), msg, wParam, lParam);
}

std::int32_t User32::GetLastInputInfo(std::uint32_t& tick) {
  using Function = BOOL(WINAPI*)(LASTINPUTINFO*);
  LASTINPUTINFO info{sizeof info, 0};
  BOOL ok = Resolve<Function>("user32.dll", "GetLastInputInfo")(&info);
  if (ok) tick = info.dwTime;
  return ok;
}

HWnd User32::FindWindowA(const std::string& className) {
  return reinterpret_cast<HWnd>(::FindWindowA(className.c_str(), nullptr));
}

namespace {

// The window the answer's text comes back to: a hidden window of its own class, which keeps
// the text sent to it. Made for one exchange; the receiver sends to it while the sender waits
// (without SMTO_BLOCK, so that the waiting thread takes in the messages sent to it).
constexpr const char* kReplyClass = "QuenlarReply";

LRESULT CALLBACK KeepReply(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
  auto* reply = reinterpret_cast<std::string*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (reply && data && data->lpData && data->cbData <= 64 * 1024)
    reply->assign(static_cast<const char*>(data->lpData), data->cbData);
  return TRUE;
}

}  // namespace

std::intptr_t User32::SendMessageTimeoutA(HWnd window, std::uintptr_t dwData, const std::string& data,
                                          std::uint32_t timeoutMs, std::intptr_t& result, std::string& reply) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA cls{};
  cls.lpfnWndProc = &KeepReply;
  cls.hInstance = instance;
  cls.lpszClassName = kReplyClass;
  RegisterClassA(&cls);  // already there from an earlier exchange: fine
  HWND own = CreateWindowExA(0, kReplyClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (own) SetWindowLongPtrA(own, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reply));
  COPYDATASTRUCT copy{};
  copy.dwData = dwData;
  copy.cbData = static_cast<DWORD>(data.size());
  copy.lpData = const_cast<char*>(data.data());
  DWORD_PTR answer = 0;
  LRESULT sent = ::SendMessageTimeoutA(reinterpret_cast<HWND>(window), WM_COPYDATA, reinterpret_cast<WPARAM>(own),
                                       reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, timeoutMs,
                                       &answer);
  if (own) DestroyWindow(own);
  result = static_cast<std::intptr_t>(answer);
  return sent;
}

std::int32_t User32::AllowSetForegroundWindow(std::uint32_t processId) {
  using Function = BOOL(WINAPI*)(DWORD);
  HMODULE module = SystemLibrary("user32.dll");
  auto allow = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, "AllowSetForegroundWindow")))
                      : nullptr;
  return allow ? allow(processId) : 0;
}

std::int32_t User32::MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t type) {
  if (boundary::WideApi())
    return WIDE("user32.dll", MessageBoxW)(nullptr, Wide(text).c_str(), Wide(caption).c_str(), type);
  return ::MessageBoxA(nullptr, Ansi(text).c_str(), Ansi(caption).c_str(), type);
}

}  // namespace os::win32
