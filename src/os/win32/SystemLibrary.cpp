#include "os/win32/SystemLibrary.h"

#include <map>

namespace os::win32 {

namespace {

// A function of kernel32, which every process has loaded, found without SystemLibrary (which
// needs the system folder first); nullptr where it is missing.
template <typename Function>
Function InKernel32(const char* name) {
  FARPROC address = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// GetSystemDirectory of either kind into a buffer of its characters.
template <typename Text, typename Query>
Text AskFolder(Query query) {
  Text folder(MAX_PATH, 0);
  UINT length = query(folder.data(), MAX_PATH);
  if (length >= MAX_PATH) {
    // Too long for the buffer: the length asked for counts the terminating zero.
    folder.assign(length, 0);
    length = query(folder.data(), length);
  }
  folder.resize(length < folder.size() ? length : 0);
  return folder;
}

}  // namespace

std::string SystemFolder() {
  if (boundary::WideApi()) {
    auto query = InKernel32<decltype(&::GetSystemDirectoryW)>("GetSystemDirectoryW");
    return query ? base::Utf8(AskFolder<std::wstring>(query)) : std::string();
  }
  return boundary::FromCodePage(AskFolder<std::string>(&::GetSystemDirectoryA));
}

HMODULE SystemLibrary(const char* library) {
  static std::map<std::string, HMODULE> loaded;
  auto it = loaded.find(library);
  if (it != loaded.end()) return it->second;
  std::string folder = SystemFolder();
  HMODULE module = nullptr;
  if (!folder.empty()) {
    const std::string path = folder + "\\" + library;
    if (boundary::WideApi()) {
      auto load = InKernel32<decltype(&::LoadLibraryW)>("LoadLibraryW");
      if (load) module = load(Wide(path).c_str());
    } else {
      module = LoadLibraryA(Ansi(path).c_str());
    }
  }
  loaded[library] = module;
  return module;
}

}  // namespace os::win32
