#include "os/fake/User32.h"

#include <algorithm>

#include "base/Convert.h"

#include <algorithm>
#include <optional>

namespace os::fake {

std::int32_t User32::SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                                  std::int32_t cy, std::uint32_t flags) {
  Log(user32::SetWindowPos{window, insertAfter, x, y, cx, cy, flags});
  auto known = windowRects.find(window);
  if (known == windowRects.end()) return 1;
  Rect& r = known->second;
  if (!(flags & kSwpNoSize)) r = {r.left, r.top, r.left + cx, r.top + cy};
  if (!(flags & kSwpNoMove)) r = {x, y, x + r.right - r.left, y + r.bottom - r.top};
  return 1;
}

std::int32_t User32::GetWindowRect(HWnd window, Rect& rect) {
  Log(user32::GetWindowRect{window});
  auto known = windowRects.find(window);
  if (known == windowRects.end()) return 0;
  rect = known->second;
  return 1;
}

std::intptr_t User32::GetWindowLongA(HWnd window, std::int32_t index) {
  Log(user32::GetWindowLongA{window, index});
  return index == kGwlHInstance ? static_cast<std::intptr_t>(windowInstance) : 0;
}

std::int32_t User32::GetSystemMetrics(std::int32_t index) {
  Log(user32::GetSystemMetrics{index});
  return index == kSmCxScreen ? screenWidth : index == kSmCyScreen ? screenHeight : 0;
}

Handle User32::SetWindowsHookExA(std::int32_t idHook, HookProc proc, Handle instance, std::uint32_t threadId) {
  Log(user32::SetWindowsHookExA{idHook, instance, threadId});
  if (!proc || threadId != kernel32_.threadId) return 0;
  Handle handle = kernel32_.NewHandle();
  hooks_.push_back({handle, idHook, std::move(proc)});
  return handle;
}

std::int32_t User32::UnhookWindowsHookEx(Handle hook) {
  Log(user32::UnhookWindowsHookEx{hook});
  auto it = std::find_if(hooks_.begin(), hooks_.end(), [&](const Hook& h) { return h.handle == hook; });
  if (it == hooks_.end()) return 0;
  hooks_.erase(it);
  kernel32_.CloseHandle(hook);
  return 1;
}

std::intptr_t User32::CallNextHookEx(Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
  Log(user32::CallNextHookEx{hook, code, wParam, lParam});
  auto it = std::find_if(hooks_.begin(), hooks_.end(), [&](const Hook& h) { return h.handle == hook; });
  if (it == hooks_.end()) return 0;
  return RunHook(static_cast<std::size_t>(it - hooks_.begin()), code, wParam, lParam);
}

std::intptr_t User32::CbtEvent(std::int32_t code, HWnd window) { return RunHook(hooks_.size(), code, window, 0); }

// Runs the first CBT hook installed before `position`. The procedure may remove itself: it
// runs from a copy.
std::intptr_t User32::RunHook(std::size_t position, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
  while (position-- > 0) {
    if (hooks_[position].id != kWhCbt) continue;
    HookProc proc = hooks_[position].proc;
    return proc(code, wParam, lParam);
  }
  return 0;
}

std::int32_t User32::SetForegroundWindow(HWnd window) {
  Log(user32::SetForegroundWindow{window});
  return 1;
}

std::string User32::CharUpperBuffA(const std::string& text) {
  Log(user32::CharUpperBuffA{text});
  return base::UCase(text);
}

std::uint32_t User32::MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                                std::uint32_t milliseconds, std::uint32_t wakeMask) {
  Log(user32::MsgWaitForMultipleObjects{handles, waitAll, milliseconds, wakeMask});
  if (OnWait) OnWait();
  if (waitFails && !handles.empty()) return kWaitFailed;
  auto signalled = [&]() -> std::optional<std::uint32_t> {
    for (std::size_t i = 0; i < handles.size(); ++i) {
      switch (kernel32_.Wait(handles[i])) {
        case Kernel32::WaitResult::Invalid:
          return kWaitFailed;
        case Kernel32::WaitResult::Signalled:
          return kWaitObject0 + static_cast<std::uint32_t>(i);
        case Kernel32::WaitResult::Running:
          break;
      }
    }
    return std::nullopt;
  };
  if (auto result = signalled()) return *result;
  for (Handle handle : handles)
    if (kernel32_.IsProcess(handle)) return kWaitObject0 + static_cast<std::uint32_t>(handles.size());
  std::optional<std::uint64_t> sleep;
  if (milliseconds != kInfinite) sleep = milliseconds;
  for (Handle handle : handles)
    if (auto due = kernel32_.TimerDueIn(handle)) sleep = std::min(sleep.value_or(*due), *due);
  if (!sleep) return kWaitFailed;
  kernel32_.PassTime(*sleep);
  if (auto result = signalled()) return *result;
  return kWaitTimeout;
}

std::int32_t User32::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  Log(user32::ExitWindowsEx{flags, reserved});
  if (exitWindowsResult == 0) kernel32_.SetLastErrorCode(refusalError);
  return exitWindowsResult;
}

std::int32_t User32::LockWorkStation() {
  Log(user32::LockWorkStation{});
  if (lockResult == 0) kernel32_.SetLastErrorCode(refusalError);
  return lockResult;
}

std::intptr_t User32::DefWindowProcA(HWnd window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  Log(user32::DefWindowProcA{window, msg, wParam, lParam});
  return 0;
}

HWnd User32::FindWindowA(const std::string& className) {
  Log(user32::FindWindowA{className});
  auto found = windowsByClass.find(className);
  return found == windowsByClass.end() ? 0 : found->second;
}

std::intptr_t User32::SendMessageTimeoutA(HWnd window, std::uintptr_t dwData, const std::string& data,
                                          std::uint32_t timeoutMs, std::intptr_t& result, std::string& reply) {
  Log(user32::SendMessageTimeoutA{window, dwData, data, timeoutMs});
  return OnCopyData && OnCopyData(window, dwData, data, result, reply) ? 1 : 0;
}

std::int32_t User32::AllowSetForegroundWindow(std::uint32_t processId) {
  Log(user32::AllowSetForegroundWindow{processId});
  return 1;
}

std::int32_t User32::MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t type) {
  Log(user32::MessageBoxA{text, caption, type});
  return 1;  // OK
}

std::int32_t User32::GetLastInputInfo(std::uint32_t& tick) {
  Log(user32::GetLastInputInfo{});
  kernel32_.RequireFunction("user32.dll", "GetLastInputInfo");
  tick = lastInputTick;
  return 1;
}

}  // namespace os::fake
