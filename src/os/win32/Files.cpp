#include "os/win32/Files.h"

#include <windows.h>

#include <algorithm>

#include "os/SafeReplace.h"
#include "os/win32/SystemLibrary.h"

namespace os::win32 {
namespace {

// The file calls with UTF-8 paths, wide on the NT family and in the code page elsewhere.
HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  if (boundary::WideApi())
    return WIDE("kernel32.dll", CreateFileW)(Wide(path).c_str(), access, share, nullptr, disposition,
                                             FILE_ATTRIBUTE_NORMAL, nullptr);
  return ::CreateFileA(Ansi(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD Attributes(const std::string& path) {
  if (boundary::WideApi()) return WIDE("kernel32.dll", GetFileAttributesW)(Wide(path).c_str());
  return ::GetFileAttributesA(Ansi(path).c_str());
}

BOOL DeleteFileNamed(const std::string& path) {
  if (boundary::WideApi()) return WIDE("kernel32.dll", DeleteFileW)(Wide(path).c_str());
  return ::DeleteFileA(Ansi(path).c_str());
}

// The names of the files (not folders) a pattern finds.
template <typename Data, typename First, typename Next>
std::vector<std::string> Find(First first, Next next, const auto& pattern, auto name) {
  std::vector<std::string> found;
  Data entry;
  HANDLE search = first(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(name(entry.cFileName));
  } while (next(search, &entry));
  ::FindClose(search);
  return found;
}

class Operations : public FileOperations {
 public:
  bool CreateNew(const std::string& path, const std::string& contents) override {
    HANDLE file = Open(path, GENERIC_WRITE, 0, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
              written == contents.size() && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    if (!ok) DeleteFileNamed(path);
    return ok;
  }

  bool Exists(const std::string& path) override { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

  bool Delete(const std::string& path) override { return DeleteFileNamed(path); }

  std::vector<std::string> FilesBeginningWith(const std::string& prefix) override {
    const std::string folder = prefix.substr(0, prefix.find_last_of("\\/") + 1);
    if (boundary::WideApi())
      return Find<WIN32_FIND_DATAW>(WIDE("kernel32.dll", FindFirstFileW), WIDE("kernel32.dll", FindNextFileW),
                                    Wide(prefix + "*"), [&](const wchar_t* name) { return folder + FromWide(name); });
    return Find<WIN32_FIND_DATAA>(&::FindFirstFileA, &::FindNextFileA, Ansi(prefix + "*"),
                                  [&](const char* name) { return folder + boundary::FromCodePage(name); });
  }

  // Windows 95, 98 and Me have no MoveFileEx: the call there fails as not implemented.
  Replaced MoveReplacing(const std::string& from, const std::string& to) override {
    const DWORD how = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const BOOL moved = boundary::WideApi()
                           ? WIDE("kernel32.dll", MoveFileExW)(Wide(from).c_str(), Wide(to).c_str(), how)
                           : ::MoveFileExA(Ansi(from).c_str(), Ansi(to).c_str(), how);
    if (moved) return Replaced::Yes;
    return ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? Replaced::NotSupported : Replaced::No;
  }

  bool Move(const std::string& from, const std::string& to) override {
    if (boundary::WideApi()) return WIDE("kernel32.dll", MoveFileW)(Wide(from).c_str(), Wide(to).c_str());
    return ::MoveFileA(Ansi(from).c_str(), Ansi(to).c_str());
  }

  bool Overwrite(const std::string& path, const std::string& contents) override {
    HANDLE file = Open(path, GENERIC_WRITE, 0, OPEN_EXISTING);
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
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Files::ReadFile(const std::string& path, std::size_t maxBytes) {
  HANDLE file = Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
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
