// The operating-system services the program calls, one interface per library, with the names
// and arguments of the real functions. Texts are in the ANSI code page; handles are opaque.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/DateTime.h"

namespace os {

using Handle = std::uintptr_t;
using HWnd = std::uintptr_t;

constexpr std::uint32_t kErrorAlreadyExists = 183;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kLocaleUserDefault = 0x0400;
constexpr std::uint32_t kLocaleSAbbrevMonthName1 = 0x44;  // ...0x4F for December
constexpr std::uint32_t kLocaleS1159 = 0x28;              // AM designator
constexpr std::uint32_t kLocaleS2359 = 0x29;              // PM designator
constexpr std::uint32_t kStillActive = 259;
constexpr std::uint32_t kProcessAllAccess = 0x1F0FFF;
constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
constexpr std::uint32_t kQsAllInput = 0xFF;

// The ANSI version record; the size field is 148 bytes.
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize = 148;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  std::string szCSDVersion;
};

struct ProcessInformation {
  Handle hProcess = 0;
  Handle hThread = 0;
  std::uint32_t dwProcessId = 0;
  std::uint32_t dwThreadId = 0;
};

class Kernel32 {
 public:
  virtual ~Kernel32() = default;
  virtual std::int32_t GetVersionExA(OsVersionInfo& info) = 0;
  // No security attributes.
  virtual Handle CreateMutexA(bool initialOwner, const std::string& name) = 0;
  virtual std::uint32_t GetLastError() = 0;
  // The full path of the running program (module 0).
  virtual std::string GetModuleFileNameA() = 0;
  virtual std::uint32_t GetFileAttributesA(const std::string& path) = 0;
  // In the system's ANSI code page, as every text of the program.
  virtual std::string GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) = 0;
  // The local wall-clock time, to the whole second.
  virtual base::LocalTime GetLocalTime() = 0;
  // Milliseconds since the system started; wraps after 49.7 days.
  virtual std::uint32_t GetTickCount() = 0;
  // Starts a command line; the show-window value goes into the start-up information.
  virtual std::int32_t CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                                      ProcessInformation& information) = 0;
  virtual Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) = 0;
  virtual std::int32_t GetExitCodeProcess(Handle process, std::uint32_t& exitCode) = 0;
  virtual std::int32_t CloseHandle(Handle object) = 0;
};

class User32 {
 public:
  virtual ~User32() = default;
  virtual std::int32_t SetForegroundWindow(HWnd window) = 0;
  // The text in capitals, by the rules of the system's language and code page.
  virtual std::string CharUpperBuffA(const std::string& text) = 0;
  virtual std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                                  std::uint32_t milliseconds, std::uint32_t wakeMask) = 0;
};

// The notification-area record in its single-byte form: 88 bytes, a 64-character tip.
struct NotifyIconData {
  std::uint32_t cbSize = 0;
  HWnd hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  Handle hIcon = 0;
  std::string szTip;  // at most 64 characters
};
constexpr std::uint32_t kNimAdd = 0;
constexpr std::uint32_t kNimDelete = 2;

class Shell32 {
 public:
  virtual ~Shell32() = default;
  virtual std::int32_t Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) = 0;
};

class Comctl32 {
 public:
  virtual ~Comctl32() = default;
  virtual void InitCommonControls() = 0;
};

class Powrprof {
 public:
  virtual ~Powrprof() = default;
  virtual std::uint8_t IsPwrHibernateAllowed() = 0;
  virtual std::uint8_t IsPwrSuspendAllowed() = 0;
};

// The file-open dialog's record, as far as the program fills and reads it.
struct OpenFileName {
  HWnd hwndOwner = 0;
  std::string lpstrFilter;  // description and pattern pairs, each part followed by a NUL
  std::uint32_t nFilterIndex = 0;
  std::string lpstrFile;    // in: the initial name; out: folder and name(s)
  std::uint32_t nMaxFile = 0;
  std::string lpstrFileTitle;
  std::string lpstrTitle;
  std::uint32_t Flags = 0;
  std::uint16_t nFileOffset = 0;
};

class Comdlg32 {
 public:
  virtual ~Comdlg32() = default;
  virtual std::int32_t GetOpenFileNameA(OpenFileName& ofn) = 0;
};

// Whole-file access. A replaced file is written beside the old one and renamed into place, so
// a failed write leaves the old file as it was.
class Files {
 public:
  virtual ~Files() = default;
  virtual bool FileExists(const std::string& path) = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  virtual bool ReplaceFileContents(const std::string& path, const std::string& contents) = 0;
};

// Everything the program reaches of the operating system.
struct System {
  Kernel32& kernel32;
  User32& user32;
  Shell32& shell32;
  Comctl32& comctl32;
  Powrprof& powrprof;
  Comdlg32& comdlg32;
  Files& files;
};

}  // namespace os
