#include "os/win32/SystemLibrary.h"

#include <map>

namespace os::win32 {

HMODULE SystemLibrary(const char* library) {
  static std::map<std::string, HMODULE> loaded;
  auto it = loaded.find(library);
  if (it != loaded.end()) return it->second;
  char folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  HMODULE module = length > 0 && length < MAX_PATH ? LoadLibraryA((std::string(folder) + "\\" + library).c_str()) : nullptr;
  loaded[library] = module;
  return module;
}

}  // namespace os::win32
