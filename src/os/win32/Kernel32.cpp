#include "os/win32/Kernel32.h"

#include <windows.h>
#include <tlhelp32.h>

#include <memory>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {

std::int32_t Kernel32::GetVersionExA(OsVersionInfo& info) {
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

Handle Kernel32::CreateMutexA(bool initialOwner, const std::string& name) {
  if (boundary::WideApi()) return FromHandle(WIDE("kernel32.dll", CreateMutexW)(nullptr, initialOwner, Wide(name).c_str()));
  return FromHandle(::CreateMutexA(nullptr, initialOwner, Ansi(name).c_str()));
}

std::uint32_t Kernel32::GetLastError() { return ::GetLastError(); }

std::string Kernel32::GetModuleFileNameA() {
  if (boundary::WideApi()) {
    // Long enough for any path Windows gives a program.
    std::wstring path(32768, L'\0');
    DWORD length = WIDE("kernel32.dll", GetModuleFileNameW)(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    return base::Utf8(path);
  }
  char path[MAX_PATH * 2] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  return boundary::FromCodePage(std::string(path, length));
}

std::string Kernel32::GetSystemDirectoryA() { return SystemFolder(); }

std::string Kernel32::GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) {
  if (boundary::WideApi()) {
    wchar_t text[128] = {};
    int length = WIDE("kernel32.dll", GetLocaleInfoW)(locale, lcType, text, 128);
    return length > 0 ? FromWide(text) : std::string();
  }
  char text[128] = {};
  int length = ::GetLocaleInfoA(locale, lcType | LOCALE_USE_CP_ACP, text, sizeof text);
  return length > 0 ? boundary::FromCodePage(text) : std::string();
}

base::LocalTime Kernel32::GetLocalTime() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return base::MakeLocalTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

Handle Kernel32::GetCurrentProcess() { return FromHandle(::GetCurrentProcess()); }

std::int32_t Kernel32::CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                                      ProcessInformation& information) {
  PROCESS_INFORMATION process{};
  BOOL ok = FALSE;
  if (boundary::WideApi()) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
    std::wstring writable = Wide(commandLine);
    ok = WIDE("kernel32.dll", CreateProcessW)(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                              &startup, &process);
  } else {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
    std::string writable = Ansi(commandLine);
    ok = ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  }
  if (ok) {
    information.hProcess = FromHandle(process.hProcess);
    information.hThread = FromHandle(process.hThread);
    information.dwProcessId = process.dwProcessId;
    information.dwThreadId = process.dwThreadId;
  }
  return ok;
}

Handle Kernel32::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) {
  return FromHandle(::OpenProcess(desiredAccess, inheritHandle, processId));
}

std::int32_t Kernel32::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  DWORD code = exitCode;
  BOOL ok = ::GetExitCodeProcess(ToHandle(process), &code);
  if (ok) exitCode = code;
  return ok;
}

std::int32_t Kernel32::CloseHandle(Handle object) { return ::CloseHandle(ToHandle(object)); }

std::int32_t Kernel32::Beep(std::uint32_t frequency, std::uint32_t duration) { return ::Beep(frequency, duration); }

std::uint32_t Kernel32::GetCurrentThreadId() { return ::GetCurrentThreadId(); }

std::uint32_t Kernel32::GetTickCount() { return ::GetTickCount(); }

// Windows 95 has no waitable timers: both are looked up when called.
Handle Kernel32::CreateWaitableTimerA(bool manualReset, const std::string& name) {
  if (boundary::WideApi())
    return FromHandle(WIDE("kernel32.dll", CreateWaitableTimerW)(nullptr, manualReset, Wide(name).c_str()));
  using Function = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR);
  return FromHandle(Resolve<Function>("kernel32.dll", "CreateWaitableTimerA")(nullptr, manualReset, Ansi(name).c_str()));
}

std::int32_t Kernel32::SetWaitableTimer(Handle timer, std::int64_t dueTime, std::int32_t period, bool resume) {
  using Function = BOOL(WINAPI*)(HANDLE, const LARGE_INTEGER*, LONG, PTIMERAPCROUTINE, LPVOID, BOOL);
  LARGE_INTEGER due;
  due.QuadPart = dueTime;
  return Resolve<Function>("kernel32.dll", "SetWaitableTimer")(ToHandle(timer), &due, period, nullptr, nullptr, resume);
}

std::int32_t Kernel32::CancelWaitableTimer(Handle timer) {
  using Function = BOOL(WINAPI*)(HANDLE);
  return Resolve<Function>("kernel32.dll", "CancelWaitableTimer")(ToHandle(timer));
}

namespace {

// FILETIME counts 100-nanosecond units from 1601; the program's clocks count seconds from 1970.
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

std::chrono::sys_seconds FromFileTime(const FILETIME& time) {
  const std::int64_t units = (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return std::chrono::sys_seconds(std::chrono::seconds(units / 10000000 - kSecondsFrom1601To1970));
}

SYSTEMTIME ToSystemTime(base::LocalTime time) {
  const base::CivilTime c = base::ToCivil(time);
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(c.year);
  t.wMonth = static_cast<WORD>(c.month);
  t.wDay = static_cast<WORD>(c.day);
  t.wHour = static_cast<WORD>(c.hour);
  t.wMinute = static_cast<WORD>(c.minute);
  t.wSecond = static_cast<WORD>(c.second);
  return t;
}

}  // namespace

std::chrono::sys_seconds Kernel32::GetSystemTime() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return FromFileTime(now);
}

std::int32_t Kernel32::TzSpecificLocalTimeToSystemTime(base::LocalTime local, std::chrono::sys_seconds& utc) {
  using Function = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, LPSYSTEMTIME);
  const SYSTEMTIME in = ToSystemTime(local);
  SYSTEMTIME out{};
  if (!Resolve<Function>("kernel32.dll", "TzSpecificLocalTimeToSystemTime")(nullptr, &in, &out)) return 0;
  FILETIME file;
  if (!::SystemTimeToFileTime(&out, &file)) return 0;
  utc = FromFileTime(file);
  return 1;
}

std::string Kernel32::FormatMessageA(std::uint32_t messageId) {
  if (boundary::WideApi()) {
    wchar_t text[512] = {};
    DWORD length = WIDE("kernel32.dll", FormatMessageW)(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                                        nullptr, messageId, 0, text, 512, nullptr);
    return base::Utf8(std::wstring_view(text, length));
  }
  char text[512] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, messageId, 0,
                                  text, sizeof text, nullptr);
  return boundary::FromCodePage(std::string(text, length));
}

std::uintptr_t Kernel32::GetProcAddress(const std::string& library, const std::string& procName) {
  HMODULE module = SystemLibrary(library.c_str());
  return module ? reinterpret_cast<std::uintptr_t>(::GetProcAddress(module, procName.c_str())) : 0;
}

namespace {

DWORD WINAPI RunWork(LPVOID parameter) {
  std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
  try {
    (*work)();
  } catch (...) {
    // The work reports its own outcome; nothing may leave the thread.
  }
  return 0;
}

}  // namespace

Handle Kernel32::CreateThread(std::function<void()> work) {
  auto* parameter = new std::function<void()>(std::move(work));
  DWORD id = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &RunWork, parameter, 0, &id);
  if (!thread) delete parameter;
  return FromHandle(thread);
}

std::uint32_t Kernel32::WaitForSingleObject(Handle object, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(ToHandle(object), milliseconds);
}

std::string Kernel32::GetCommandLineA() {
  if (boundary::WideApi()) return FromWide(WIDE("kernel32.dll", GetCommandLineW)());
  const char* line = ::GetCommandLineA();
  return boundary::FromCodePage(line ? line : "");
}

namespace {

// A console takes the text in UTF-16 on the NT family; a file or a pipe gets its UTF-8 bytes.
bool WriteAll(HANDLE handle, const std::string& text) {
  DWORD written = 0;
  if (boundary::WideApi() && ::GetFileType(handle) == FILE_TYPE_CHAR) {
    const std::wstring wide = Wide(text);
    if (WIDE("kernel32.dll", WriteConsoleW)(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr))
      return written == wide.size();
  }
  return ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

}  // namespace

// A program of the Windows subsystem gets no console of its own. Its standard output is
// still a file or a pipe when the caller redirected it (and, under Wine, the Unix one). Else
// the console of the program that started it can be borrowed; cmd's prompt has then already
// come back, so the text begins on a line of its own.
bool Kernel32::WriteStandardOutput(const std::string& text) {
  HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (output && output != INVALID_HANDLE_VALUE && ::GetFileType(output) != FILE_TYPE_UNKNOWN)
    return WriteAll(output, text);
  using Function = BOOL(WINAPI*)(DWORD);
  HMODULE module = SystemLibrary("kernel32.dll");
  auto attach = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, "AttachConsole")))
                       : nullptr;
  if (!attach || !attach(static_cast<DWORD>(-1))) return false;  // ATTACH_PARENT_PROCESS
  HANDLE console = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  bool written = WriteAll(console, "\n" + text);
  ::CloseHandle(console);
  return written;
}

namespace {

// Walks a snapshot's processes with the entries of one kind; `name` makes a file name UTF-8.
template <typename Entry>
bool Walk(const char* firstName, const char* nextName, std::vector<ProcessEntry>& processes, auto name) {
  using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
  using Step = BOOL(WINAPI*)(HANDLE, Entry*);
  auto snapshot = Resolve<Snapshot>("kernel32.dll", "CreateToolhelp32Snapshot");
  auto first = Resolve<Step>("kernel32.dll", firstName);
  auto next = Resolve<Step>("kernel32.dll", nextName);
  HANDLE list = snapshot(TH32CS_SNAPPROCESS, 0);
  if (list == INVALID_HANDLE_VALUE) return false;
  processes.clear();
  Entry entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = first(list, &entry); more; more = next(list, &entry)) {
    entry.szExeFile[sizeof entry.szExeFile / sizeof entry.szExeFile[0] - 1] = 0;
    processes.push_back({entry.th32ProcessID, name(entry.szExeFile)});
    entry.dwSize = sizeof entry;
  }
  ::CloseHandle(list);
  return true;
}

}  // namespace

// The wide entries on the NT family; the ANSI ones (tagPROCESSENTRY32, whatever the build's
// character set) elsewhere, their names in the code page.
bool Kernel32::ListProcesses(std::vector<ProcessEntry>& processes) {
  if (boundary::WideApi())
    return Walk<tagPROCESSENTRY32W>("Process32FirstW", "Process32NextW", processes, FromWide);
  return Walk<tagPROCESSENTRY32>("Process32First", "Process32Next", processes,
                                 [](const char* name) { return boundary::FromCodePage(name); });
}

std::int32_t Kernel32::GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) {
  using Function = BOOL(WINAPI*)(FILETIME*, FILETIME*, FILETIME*);
  FILETIME times[3] = {};
  BOOL ok = Resolve<Function>("kernel32.dll", "GetSystemTimes")(&times[0], &times[1], &times[2]);
  auto value = [](const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
  if (ok) idle = value(times[0]), kernel = value(times[1]), user = value(times[2]);
  return ok;
}

std::string Kernel32::ToCodePage(const std::string& utf8, bool& exact) { return boundary::ToCodePage(utf8, &exact); }

std::string Kernel32::FromCodePage(const std::string& ansi) { return boundary::FromCodePage(ansi); }

std::uint32_t Kernel32::SetThreadExecutionState(std::uint32_t flags) {
  using Function = DWORD(WINAPI*)(DWORD);
  return Resolve<Function>("kernel32.dll", "SetThreadExecutionState")(flags);
}

}  // namespace os::win32
