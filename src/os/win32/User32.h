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
  std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
  std::int32_t LockWorkStation() override;
};

}  // namespace os::win32
