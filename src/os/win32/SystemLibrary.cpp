#include "os/win32/SystemLibrary.h"

#include <map>

namespace os::win32 {

std::string SystemFolder() {
  char folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length < MAX_PATH) return std::string(folder, length);
  // Too long for the buffer: the length asked for counts the terminating zero.
  std::string longer(length, '\0');
  length = GetSystemDirectoryA(longer.data(), length);
  longer.resize(length < longer.size() ? length : 0);
  return longer;
}

HMODULE SystemLibrary(const char* library) {
  static std::map<std::string, HMODULE> loaded;
  auto it = loaded.find(library);
  if (it != loaded.end()) return it->second;
  std::string folder = SystemFolder();
  HMODULE module = folder.empty() ? nullptr : LoadLibraryA((folder + "\\" + library).c_str());
  loaded[library] = module;
  return module;
}

}  // namespace os::win32
