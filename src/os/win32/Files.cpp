#include "os/win32/Files.h"

#include <windows.h>

namespace os::win32 {

bool Files::FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Files::ReadFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string contents;
  char buffer[4096];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) contents.append(buffer, read);
  ::CloseHandle(file);
  if (!ok) return std::nullopt;
  return contents;
}

bool Files::ReplaceFileContents(const std::string& path, const std::string& contents) {
  // Write the new file beside the old one, make sure it is on the disk, then rename it into
  // place: a failure at any point leaves the old file as it was.
  const std::string temporary = path + ".new";
  HANDLE file = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
            written == contents.size() && ::FlushFileBuffers(file);
  ok = ::CloseHandle(file) && ok;
  if (ok) {
    ok = ::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok && ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
      // Windows 95/98/Me: no atomic replace. The old file steps aside, the new one takes its
      // place, and only then does the old one go; if the new one cannot move in, the old one
      // comes back.
      const std::string previous = path + ".old";
      ::DeleteFileA(previous.c_str());
      bool hadOld = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
      ok = !hadOld || ::MoveFileA(path.c_str(), previous.c_str());
      if (ok) ok = ::MoveFileA(temporary.c_str(), path.c_str());
      if (ok)
        ::DeleteFileA(previous.c_str());
      else if (hadOld)
        ::MoveFileA(previous.c_str(), path.c_str());
    }
  }
  if (!ok) ::DeleteFileA(temporary.c_str());
  return ok;
}

}  // namespace os::win32
