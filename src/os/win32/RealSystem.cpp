#include "os/win32/RealSystem.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <map>

#include "base/RuntimeError.h"

namespace os::win32 {
namespace {

// Loads a system library from the system folder only (never one that lies beside the
// program), once.
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

template <typename Function>
Function Resolve(const char* library, const char* name) {
  HMODULE module = SystemLibrary(library);
  FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  if (!address)
    throw base::RuntimeError(base::kFunctionNotAvailable, std::string("Can't find DLL entry point ") + name + " in " + library);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

HANDLE ToHandle(Handle h) { return reinterpret_cast<HANDLE>(h); }
Handle FromHandle(HANDLE h) { return reinterpret_cast<Handle>(h); }

}  // namespace

// ---- kernel32

std::int32_t RealSystem::GetVersionExA(OsVersionInfo& info) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
  BOOL ok = ::GetVersionExA(&version);
  if (ok) {
    info.dwMajorVersion = version.dwMajorVersion;
    info.dwMinorVersion = version.dwMinorVersion;
    info.dwBuildNumber = version.dwBuildNumber;
    info.dwPlatformId = version.dwPlatformId;
    info.szCSDVersion = version.szCSDVersion;
  }
  return ok;
}

Handle RealSystem::CreateMutexA(bool initialOwner, const std::string& name) {
  return FromHandle(::CreateMutexA(nullptr, initialOwner, name.c_str()));
}

std::uint32_t RealSystem::GetLastError() { return ::GetLastError(); }

std::string RealSystem::GetModuleFileNameA() {
  char path[MAX_PATH * 2] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, length);
}

std::uint32_t RealSystem::GetFileAttributesA(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

std::string RealSystem::GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) {
  char text[128] = {};
  int length = ::GetLocaleInfoA(locale, lcType | LOCALE_USE_CP_ACP, text, sizeof text);
  return length > 0 ? std::string(text) : std::string();
}

base::LocalTime RealSystem::GetLocalTime() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return base::MakeLocalTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

std::uint32_t RealSystem::GetTickCount() { return ::GetTickCount(); }

std::int32_t RealSystem::CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                                        ProcessInformation& information) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showWindow;
  PROCESS_INFORMATION process{};
  std::string writable = commandLine;
  BOOL ok = ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  if (ok) {
    information.hProcess = FromHandle(process.hProcess);
    information.hThread = FromHandle(process.hThread);
    information.dwProcessId = process.dwProcessId;
    information.dwThreadId = process.dwThreadId;
  }
  return ok;
}

Handle RealSystem::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) {
  return FromHandle(::OpenProcess(desiredAccess, inheritHandle, processId));
}

std::int32_t RealSystem::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  DWORD code = exitCode;
  BOOL ok = ::GetExitCodeProcess(ToHandle(process), &code);
  if (ok) exitCode = code;
  return ok;
}

std::int32_t RealSystem::CloseHandle(Handle object) { return ::CloseHandle(ToHandle(object)); }

// ---- user32

std::int32_t RealSystem::SetForegroundWindow(HWnd window) { return ::SetForegroundWindow(reinterpret_cast<HWND>(window)); }

std::string RealSystem::CharUpperBuffA(const std::string& text) {
  std::string upper = text;
  if (!upper.empty()) ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

std::uint32_t RealSystem::MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                                    std::uint32_t milliseconds, std::uint32_t wakeMask) {
  std::vector<HANDLE> native;
  for (Handle h : handles) native.push_back(ToHandle(h));
  return ::MsgWaitForMultipleObjects(static_cast<DWORD>(native.size()), native.data(), waitAll, milliseconds, wakeMask);
}

// ---- shell32

std::int32_t RealSystem::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  // The record in its first, 88-byte form, which every Windows version accepts.
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = reinterpret_cast<HWND>(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = reinterpret_cast<HICON>(data.hIcon);
  std::strncpy(record.szTip, data.szTip.c_str(), 63);
  return ::Shell_NotifyIconA(message, &record);
}

// ---- comctl32

void RealSystem::InitCommonControls() {
  ::InitCommonControls();
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&classes);
}

// ---- powrprof

std::uint8_t RealSystem::IsPwrHibernateAllowed() {
  using Function = BOOLEAN(WINAPI*)();
  return Resolve<Function>("powrprof.dll", "IsPwrHibernateAllowed")();
}

std::uint8_t RealSystem::IsPwrSuspendAllowed() {
  using Function = BOOLEAN(WINAPI*)();
  return Resolve<Function>("powrprof.dll", "IsPwrSuspendAllowed")();
}

// ---- comdlg32

std::int32_t RealSystem::GetOpenFileNameA(OpenFileName& ofn) {
  std::string file = ofn.lpstrFile;
  file.resize(std::max<std::size_t>(ofn.nMaxFile, file.size() + 1), '\0');
  std::string title(2048, '\0');
  OPENFILENAMEA record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  record.hwndOwner = reinterpret_cast<HWND>(ofn.hwndOwner);
  record.lpstrFilter = ofn.lpstrFilter.c_str();
  record.nFilterIndex = ofn.nFilterIndex;
  record.lpstrFile = file.data();
  record.nMaxFile = static_cast<DWORD>(file.size());
  record.lpstrFileTitle = title.data();
  record.nMaxFileTitle = static_cast<DWORD>(title.size());
  record.lpstrTitle = ofn.lpstrTitle.c_str();
  record.Flags = ofn.Flags;
  BOOL ok = ::GetOpenFileNameA(&record);
  ofn.nFilterIndex = record.nFilterIndex;
  if (ok) {
    ofn.lpstrFile = file;
    ofn.nFileOffset = record.nFileOffset;
    ofn.lpstrFileTitle = title.c_str();
  }
  return ok;
}

// ---- files

bool RealSystem::FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> RealSystem::ReadFile(const std::string& path) {
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

bool RealSystem::ReplaceFileContents(const std::string& path, const std::string& contents) {
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
