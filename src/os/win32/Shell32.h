// The real shell32.
#pragma once

#include "os/Shell32.h"

namespace os::win32 {

class Shell32 : public os::Shell32 {
 public:
  std::int32_t Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) override;
  std::intptr_t ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              std::int32_t showCommand) override;
};

}  // namespace os::win32
