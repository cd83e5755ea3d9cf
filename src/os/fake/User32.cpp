#include "os/fake/User32.h"

#include "base/Convert.h"

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
  if (waitFails) return kWaitFailed;
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
  return kWaitObject0 + static_cast<std::uint32_t>(handles.size());
}

}  // namespace os::fake
