// The real files service.
#pragma once

#include "os/Files.h"

namespace os::win32 {

class Files : public os::Files {
 public:
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  bool ReplaceFileContents(const std::string& path, const std::string& contents) override;
};

}  // namespace os::win32
