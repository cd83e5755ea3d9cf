#include "platform/Program.h"

namespace platform {

std::string ExeName(os::Kernel32& kernel32) {
  std::string path = kernel32.GetModuleFileNameA();
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string AppPath(os::Kernel32& kernel32) {
  std::string module = kernel32.GetModuleFileNameA();
  std::size_t slash = module.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  std::string folder = module.substr(0, slash);
  // A drive root keeps its backslash, as "C:\".
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

std::string WithTrailingBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

bool PrevInstance(os::Kernel32& kernel32) {
  // The handle stays open until the process ends: it is what later copies find.
  os::Handle mutex = kernel32.CreateMutexA(false, kInstanceMutexName);
  std::uint32_t error = kernel32.GetLastError();
  if (mutex == 0 && error != os::kErrorAccessDenied) {
    // Systems from before per-session names (Windows 95/98/Me, NT 4.0) refuse the prefix;
    // there the plain name serves.
    mutex = kernel32.CreateMutexA(false, kInstanceMutexPlainName);
    error = kernel32.GetLastError();
  }
  // A copy started with other rights (elevated, say) holds a mutex this one may not open:
  // it runs all the same.
  if (mutex == 0) return error == os::kErrorAccessDenied;
  return error == os::kErrorAlreadyExists;
}

}  // namespace platform
