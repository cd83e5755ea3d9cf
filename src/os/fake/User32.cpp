#include "os/fake/User32.h"

#include "base/Convert.h"

#include <algorithm>
#include <optional>

namespace os::fake {

std::int32_t User32::SetWindowPos(HWnd window, HWnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                                  std::int32_t cy, std::uint32_t flags) {
  Log(user32::SetWindowPos{window, insertAfter, x, y, cx, cy, flags});
  return 1;
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

}  // namespace os::fake
