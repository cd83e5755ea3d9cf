#include "os/win32/Files.h"

#include <windows.h>

#include <algorithm>

#include "os/SafeReplace.h"

namespace os::win32 {
namespace {

class Operations : public FileOperations {
 public:
  bool CreateNew(const std::string& path, const std::string& contents) override {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
              written == contents.size() && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    if (!ok) ::DeleteFileA(path.c_str());
    return ok;
  }

  bool Exists(const std::string& path) override { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  bool Delete(const std::string& path) override { return ::DeleteFileA(path.c_str()); }

  std::vector<std::string> FilesBeginningWith(const std::string& prefix) override {
    std::vector<std::string> found;
    const std::string folder = prefix.substr(0, prefix.find_last_of("\\/") + 1);
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((prefix + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(folder + entry.cFileName);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return found;
  }

  Replaced MoveReplacing(const std::string& from, const std::string& to) override {
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return Replaced::Yes;
    return ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? Replaced::NotSupported : Replaced::No;
  }

  bool Move(const std::string& from, const std::string& to) override { return ::MoveFileA(from.c_str(), to.c_str()); }

  bool Overwrite(const std::string& path, const std::string& contents) override {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = static_cast<DWORD>(contents.size());
    // A longer file is lengthened first, so that a disk without room refuses before anything
    // is overwritten; a shorter one is cut only once the new contents are in.
    DWORD oldSize = ::GetFileSize(file, nullptr);
    bool ok = oldSize != INVALID_FILE_SIZE;
    if (ok && size > oldSize)
      ok = ::SetFilePointer(file, static_cast<LONG>(size), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           ::SetEndOfFile(file);
    DWORD written = 0;
    ok = ok && ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
         ::WriteFile(file, contents.data(), size, &written, nullptr) && written == size && ::SetEndOfFile(file) &&
         ::FlushFileBuffers(file);
    return ::CloseHandle(file) && ok;
  }
};

}  // namespace

bool Files::FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Files::ReadFile(const std::string& path, std::size_t maxBytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string contents;
  char buffer[4096];
  DWORD read = 0;
  bool ok = true;
  while (contents.size() < maxBytes) {
    DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, maxBytes - contents.size()));
    if (!(ok = ::ReadFile(file, buffer, wanted, &read, nullptr)) || read == 0) break;
    contents.append(buffer, read);
  }
  ::CloseHandle(file);
  if (!ok) return std::nullopt;
  return contents;
}

bool Files::ReplaceFileContents(const std::string& path, const std::string& contents) {
  Operations operations;
  return SafeReplace(operations, path, contents);
}

}  // namespace os::win32
