#include "os/fake/Files.h"

namespace os::fake {

bool Files::FileExists(const std::string& path) {
  Log(files::FileExists{path});
  return disk.count(path) != 0;
}

std::optional<std::string> Files::ReadFile(const std::string& path, std::size_t maxBytes) {
  Log(files::ReadFile{path, maxBytes});
  auto it = disk.find(path);
  if (it == disk.end() || unreadable.count(path)) return std::nullopt;
  return it->second.substr(0, maxBytes);
}

bool Files::ReplaceFileContents(const std::string& path, const std::string& contents) {
  Log(files::ReplaceFileContents{path, contents});
  if (unwritable.count(path)) return false;
  disk[path] = contents;
  return true;
}

}  // namespace os::fake
