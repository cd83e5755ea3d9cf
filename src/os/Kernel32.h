// kernel32: version, instance lock, program path, locale texts, clocks, processes, waitable
// timers, error texts, the speaker's tone, the processor's times, and the ANSI code page.
// Every text is UTF-8, names and paths of any characters Windows allows (on Windows 95, 98 and
// Me those of the ANSI code page alone).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "os/Types.h"

namespace os {

constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorAlreadyExists = 183;
constexpr std::uint32_t kLocaleUserDefault = 0x0400;
constexpr std::uint32_t kLocaleSAbbrevMonthName1 = 0x44;  // ...0x4F for December
constexpr std::uint32_t kLocaleS1159 = 0x28;              // AM designator
constexpr std::uint32_t kLocaleS2359 = 0x29;              // PM designator
constexpr std::uint32_t kStillActive = 259;
constexpr std::uint32_t kProcessAllAccess = 0x1F0FFF;
constexpr std::uint32_t kSynchronize = 0x00100000;
constexpr std::uint32_t kProcessQueryLimitedInformation = 0x1000;  // Windows Vista and later
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorNotSupported = 50;
// SetThreadExecutionState: the request lasts until changed, and the system is needed (its idle
// timer may not put it to sleep).
constexpr std::uint32_t kEsContinuous = 0x80000000;
constexpr std::uint32_t kEsSystemRequired = 0x00000001;
// What GetCurrentProcess gives: a value that stands for the calling process, never closed.
constexpr Handle kCurrentProcess = static_cast<Handle>(-1);

// The ANSI version record; the size field is 148 bytes. Its service-pack text is ASCII.
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize = 148;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  std::string szCSDVersion;
  bool operator==(const OsVersionInfo&) const = default;
};

struct ProcessInformation {
  Handle hProcess = 0;
  Handle hThread = 0;
  std::uint32_t dwProcessId = 0;
  std::uint32_t dwThreadId = 0;
  bool operator==(const ProcessInformation&) const = default;
};

// A running process as the process list gives it: its id and its file name without a folder.
struct ProcessEntry {
  std::uint32_t processId = 0;
  std::string exeFile;
  bool operator==(const ProcessEntry&) const = default;
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
  // The system folder, as Windows gives it (it ends in a backslash only at a drive's root);
  // empty when the query fails.
  virtual std::string GetSystemDirectoryA() = 0;
  virtual std::string GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) = 0;
  // The local wall-clock time, to the whole second.
  virtual base::LocalTime GetLocalTime() = 0;
  // kCurrentProcess.
  virtual Handle GetCurrentProcess() = 0;
  // Starts a command line; the show-window value goes into the start-up information.
  virtual std::int32_t CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                                      ProcessInformation& information) = 0;
  virtual Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) = 0;
  virtual std::int32_t GetExitCodeProcess(Handle process, std::uint32_t& exitCode) = 0;
  virtual std::int32_t CloseHandle(Handle object) = 0;
  // A tone on the speaker; on the NT family it returns when the tone is over.
  virtual std::int32_t Beep(std::uint32_t frequency, std::uint32_t duration) = 0;
  virtual std::uint32_t GetCurrentThreadId() = 0;
  // Milliseconds since the system started, wrapping round after 49.7 days: the clock of
  // elapsed time, which putting the wall clock forward or back does not move.
  virtual std::uint32_t GetTickCount() = 0;
  // A waitable timer with this name and no security attributes (0 when it cannot be made).
  // Windows 95 lacks it: there the call is a run-time error.
  virtual Handle CreateWaitableTimerA(bool manualReset, const std::string& name) = 0;
  // Arms the timer, with no completion routine. A negative due time is relative, in units of
  // 100 nanoseconds. Nonzero when armed.
  virtual std::int32_t SetWaitableTimer(Handle timer, std::int64_t dueTime, std::int32_t period, bool resume) = 0;
  // Stops an armed waitable timer; nonzero when it succeeded.
  virtual std::int32_t CancelWaitableTimer(Handle timer) = 0;
  // The system's clock, in UTC, to the second: it goes on steadily across a change to or from
  // summer time, where the local clock jumps.
  virtual std::chrono::sys_seconds GetSystemTime() = 0;
  // A local date-time in UTC, by the time zone's rules for that date; nonzero when converted.
  // Windows before XP lacks it: there the call is a run-time error.
  virtual std::int32_t TzSpecificLocalTimeToSystemTime(base::LocalTime local, std::chrono::sys_seconds& utc) = 0;
  // The system's text for an error code, in the user's language, as Windows writes it (line
  // end included); empty when the system has none.
  virtual std::string FormatMessageA(std::uint32_t messageId) = 0;
  // Whether a system library (loaded from the system folder) has this function: nonzero when
  // it has, 0 when the library or the function is missing on this Windows.
  virtual std::uintptr_t GetProcAddress(const std::string& library, const std::string& procName) = 0;
  // Runs `work` on a thread of its own; the thread's handle (closed with CloseHandle), or 0
  // when no thread could be made.
  virtual Handle CreateThread(std::function<void()> work) = 0;
  // The command line the program was started with, its own name first, as Windows keeps it.
  virtual std::string GetCommandLineA() = 0;
  // Writes text where a program started from a console or a script shows it: its standard
  // output when that is a file, a pipe or a console; otherwise the console of the program that
  // started it (AttachConsole(ATTACH_PARENT_PROCESS), looked up at run time: Windows XP and
  // later). False when there is neither (started from a shortcut, say).
  virtual bool WriteStandardOutput(const std::string& text) = 0;
  // Waits up to `milliseconds` for an object (a thread: for it to end): kWaitObject0 when it
  // is signalled, kWaitTimeout when the time ran out first.
  virtual std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) = 0;
  // The processes running now, their file names as Windows gives them (CreateToolhelp32Snapshot walked with Process32First and
  // Process32Next); false when no list could be taken. Windows NT 4.0 lacks them: there the
  // call is a run-time error.
  virtual bool ListProcesses(std::vector<ProcessEntry>& processes) = 0;
  // The time all processors have spent idle, in the kernel (idle time included) and in user
  // mode since the system started, in units of 100 nanoseconds; nonzero on success. Windows
  // before XP SP1 lacks it: there the call is a run-time error.
  virtual std::int32_t GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) = 0;
  // Tells the power manager what this thread needs (kEs... flags); the previous state, or 0
  // when the call failed. Windows 95 and NT 4.0 lack it: there the call is a run-time error.
  virtual std::uint32_t SetThreadExecutionState(std::uint32_t flags) = 0;
  // The text in the system's ANSI code page (what the settings file keeps for older copies),
  // each character the code page lacks as its best fit or "?"; `exact` tells whether it reads
  // back as the same text.
  virtual std::string ToCodePage(const std::string& utf8, bool& exact) = 0;
  // A text in the ANSI code page as UTF-8.
  virtual std::string FromCodePage(const std::string& ansi) = 0;
};

}  // namespace os
