// The fake files service: a disk in memory.
#pragma once

#include <map>
#include <set>
#include <string>

#include "os/Files.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace files {
using fake::operator<<;

struct FileExists {
  static constexpr std::string_view kName = "FileExists";
  std::string path;
  bool operator==(const FileExists&) const = default;
};
struct ReadFile {
  static constexpr std::string_view kName = "ReadFile";
  std::string path;
  std::size_t maxBytes = 0;
  bool operator==(const ReadFile&) const = default;
};
struct ReplaceFileContents {
  static constexpr std::string_view kName = "ReplaceFileContents";
  std::string path;
  std::string contents;
  bool operator==(const ReplaceFileContents&) const = default;
};

}  // namespace files

class Files : public os::Files, public Library {
 public:
  explicit Files(CallLog& log) : Library(log) {}

  std::map<std::string, std::string> disk;  // path -> contents
  std::set<std::string> unwritable;         // paths whose replacement fails
  std::set<std::string> unreadable;         // paths that exist but cannot be opened (held elsewhere)

  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  bool ReplaceFileContents(const std::string& path, const std::string& contents) override;
};

}  // namespace os::fake
