// Whole-file access. A replaced file is written beside the old one and renamed into place, so
// a failed write leaves the old file as it was (os/SafeReplace.h has the steps).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace os {

class Files {
 public:
  virtual ~Files() = default;
  // True for a file, false for a folder or nothing.
  virtual bool FileExists(const std::string& path) = 0;
  // The contents from the start, `maxBytes` at most (all of a shorter file); nothing when the
  // file cannot be opened (missing, or held by another program that shares it with no one) or
  // read.
  virtual std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) = 0;
  virtual bool ReplaceFileContents(const std::string& path, const std::string& contents) = 0;
};

}  // namespace os
