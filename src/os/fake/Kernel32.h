// The fake kernel32: version, instance lock, program path, locale texts, the virtual clock,
// simulated processes and waitable timers, and error texts. It also keeps the kernel's handles,
// which the other fakes share: tokens are closed with CloseHandle, processes and timers are
// waited for by user32.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "os/Kernel32.h"
#include "os/fake/Library.h"
#include "os/fake/VirtualClock.h"

namespace os::fake {

namespace kernel32 {
using fake::operator<<;

struct GetVersionExA {
  static constexpr std::string_view kName = "GetVersionExA";
  std::uint32_t dwOSVersionInfoSize;
  bool operator==(const GetVersionExA&) const = default;
};
struct CreateMutexA {
  static constexpr std::string_view kName = "CreateMutexA";
  bool initialOwner;
  std::string name;
  bool operator==(const CreateMutexA&) const = default;
};
struct GetLastError {
  static constexpr std::string_view kName = "GetLastError";
  bool operator==(const GetLastError&) const = default;
};
struct GetModuleFileNameA {
  static constexpr std::string_view kName = "GetModuleFileNameA";
  bool operator==(const GetModuleFileNameA&) const = default;
};
struct GetSystemDirectoryA {
  static constexpr std::string_view kName = "GetSystemDirectoryA";
  bool operator==(const GetSystemDirectoryA&) const = default;
};
struct GetLocaleInfoA {
  static constexpr std::string_view kName = "GetLocaleInfoA";
  std::uint32_t locale;
  std::uint32_t lcType;
  bool operator==(const GetLocaleInfoA&) const = default;
};
struct GetLocalTime {
  static constexpr std::string_view kName = "GetLocalTime";
  bool operator==(const GetLocalTime&) const = default;
};
struct GetCurrentProcess {
  static constexpr std::string_view kName = "GetCurrentProcess";
  bool operator==(const GetCurrentProcess&) const = default;
};
struct CreateProcessA {
  static constexpr std::string_view kName = "CreateProcessA";
  std::string commandLine;
  std::uint16_t showWindow;
  bool operator==(const CreateProcessA&) const = default;
};
struct OpenProcess {
  static constexpr std::string_view kName = "OpenProcess";
  std::uint32_t desiredAccess;
  bool inheritHandle;
  std::uint32_t processId;
  bool operator==(const OpenProcess&) const = default;
};
struct GetExitCodeProcess {
  static constexpr std::string_view kName = "GetExitCodeProcess";
  Handle process;
  bool operator==(const GetExitCodeProcess&) const = default;
};
struct CloseHandle {
  static constexpr std::string_view kName = "CloseHandle";
  Handle object;
  bool operator==(const CloseHandle&) const = default;
};
struct Beep {
  static constexpr std::string_view kName = "Beep";
  std::uint32_t frequency;
  std::uint32_t duration;
  bool operator==(const Beep&) const = default;
};
struct GetCurrentThreadId {
  static constexpr std::string_view kName = "GetCurrentThreadId";
  bool operator==(const GetCurrentThreadId&) const = default;
};

struct GetTickCount {
  static constexpr std::string_view kName = "GetTickCount";
  bool operator==(const GetTickCount&) const = default;
};
struct CreateWaitableTimerA {
  static constexpr std::string_view kName = "CreateWaitableTimerA";
  bool manualReset;
  std::string name;
  bool operator==(const CreateWaitableTimerA&) const = default;
};
struct SetWaitableTimer {
  static constexpr std::string_view kName = "SetWaitableTimer";
  Handle timer;
  std::int64_t dueTime;
  std::int32_t period;
  bool resume;
  bool operator==(const SetWaitableTimer&) const = default;
};
struct CancelWaitableTimer {
  static constexpr std::string_view kName = "CancelWaitableTimer";
  Handle timer;
  bool operator==(const CancelWaitableTimer&) const = default;
};
struct GetSystemTime {
  static constexpr std::string_view kName = "GetSystemTime";
  bool operator==(const GetSystemTime&) const = default;
};
struct TzSpecificLocalTimeToSystemTime {
  static constexpr std::string_view kName = "TzSpecificLocalTimeToSystemTime";
  base::LocalTime local;
  bool operator==(const TzSpecificLocalTimeToSystemTime&) const = default;
};
struct FormatMessageA {
  static constexpr std::string_view kName = "FormatMessageA";
  std::uint32_t messageId;
  bool operator==(const FormatMessageA&) const = default;
};
struct GetProcAddress {
  static constexpr std::string_view kName = "GetProcAddress";
  std::string library;
  std::string procName;
  bool operator==(const GetProcAddress&) const = default;
};
struct CreateThread {
  static constexpr std::string_view kName = "CreateThread";
  bool operator==(const CreateThread&) const = default;
};
struct GetCommandLineA {
  static constexpr std::string_view kName = "GetCommandLineA";
  bool operator==(const GetCommandLineA&) const = default;
};
struct WriteStandardOutput {
  static constexpr std::string_view kName = "WriteStandardOutput";
  std::string text;
  bool operator==(const WriteStandardOutput&) const = default;
};
struct WaitForSingleObject {
  static constexpr std::string_view kName = "WaitForSingleObject";
  Handle object;
  std::uint32_t milliseconds;
  bool operator==(const WaitForSingleObject&) const = default;
};

struct ListProcesses {
  static constexpr std::string_view kName = "ListProcesses";
  bool operator==(const ListProcesses&) const = default;
};
struct GetSystemTimes {
  static constexpr std::string_view kName = "GetSystemTimes";
  bool operator==(const GetSystemTimes&) const = default;
};
struct SetThreadExecutionState {
  static constexpr std::string_view kName = "SetThreadExecutionState";
  std::uint32_t flags;
  bool operator==(const SetThreadExecutionState&) const = default;
};

}  // namespace kernel32

class Kernel32 : public os::Kernel32, public Library {
 public:
  Kernel32(CallLog& log, VirtualClock& clock);

  // ---- what it answers
  OsVersionInfo version;  // Windows 7 (NT 6.1) Service Pack 1 unless changed
  bool versionFails = false;
  bool otherInstanceRunning = false;
  // Mutex names the system refuses, with the error it gives (the handle is then 0).
  std::map<std::string, std::uint32_t> mutexErrors;
  std::string moduleFileName = "C:\\Program Files\\Quenlar\\quenlar.exe";
  std::string systemDirectory = "C:\\Windows\\system32";  // "" when the query fails
  std::array<std::string, 12> monthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string am = "AM", pm = "PM";

  // Processes started by CreateProcessA: whether starting works, and how many waits pass
  // before the process ends with its exit code. A hook runs when a process ends.
  bool processStarts = true;
  int processRunsForWaits = 1;
  std::uint32_t processExitCode = 0;
  std::function<void(const std::string& commandLine)> OnProcessEnded;

  // The program's one thread.
  std::uint32_t threadId = 0x2A0;
  // Waitable timers: whether making and arming one works.
  bool timerCreates = true;
  bool timerArms = true;
  // How long a tone holds the thread: 0 returns at once, as under Wine; its duration is what
  // the NT family takes; more is a busy system.
  std::uint32_t beepBlocksMs = 0;
  // The system's error texts.
  std::map<std::uint32_t, std::string> errorTexts{{5, "Access is denied.\r\n"},
                                                  {50, "The request is not supported.\r\n"},
                                                  {1314, "A required privilege is not held by the client.\r\n"}};

  // Functions this Windows lacks, as (library, function): GetProcAddress answers 0 for them,
  // and calling one is the run-time error of a missing entry point.
  std::set<std::pair<std::string, std::string>> missingFunctions;
  void RequireFunction(const std::string& library, const std::string& name) const;

  // Other programs running (the process list shows them, OpenProcess opens them, a wait on
  // one is signalled once it is taken out of here): their file names by process id. Those
  // denied may not be opened (another user's); with listFails no list can be taken.
  std::map<std::uint32_t, std::string> programs;
  std::set<std::uint32_t> programsDenied;
  bool listFails = false;
  // What all processors have spent since the start, in units of 100 nanoseconds: idle, in the
  // kernel (idle included) and in user mode.
  std::uint64_t idleTime = 0, kernelTime = 0, userTime = 0;
  // What SetThreadExecutionState was asked for last (the system starts with ES_CONTINUOUS).
  std::uint32_t executionState = os::kEsContinuous;
  // Threads: with runThreadsAtOnce the work runs inside CreateThread, as if the thread ended
  // before the program looked again; otherwise it waits for RunThreads, as work that takes
  // its time (a site that does not answer) does.
  bool runThreadsAtOnce = true;
  // Runs the work of every thread made so far that has not run yet; returns how many ran.
  std::size_t RunThreads();
  std::size_t PendingThreads() const { return pendingThreads_.size(); }

  // The command line; whether there is a console or an output to write to, and what was written.
  std::string commandLine = "\"C:\\Program Files\\Quenlar\\quenlar.exe\"";
  bool hasOutput = true;
  std::string output;

  // ---- kernel32
  std::int32_t GetVersionExA(OsVersionInfo& info) override;
  Handle CreateMutexA(bool initialOwner, const std::string& name) override;
  std::uint32_t GetLastError() override;
  std::string GetModuleFileNameA() override;
  std::string GetSystemDirectoryA() override;
  std::string GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) override;
  base::LocalTime GetLocalTime() override;
  Handle GetCurrentProcess() override;
  std::int32_t CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                              ProcessInformation& information) override;
  Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) override;
  std::int32_t GetExitCodeProcess(Handle process, std::uint32_t& exitCode) override;
  std::int32_t CloseHandle(Handle object) override;
  std::int32_t Beep(std::uint32_t frequency, std::uint32_t duration) override;
  std::uint32_t GetCurrentThreadId() override;
  std::uint32_t GetTickCount() override;
  Handle CreateWaitableTimerA(bool manualReset, const std::string& name) override;
  std::int32_t SetWaitableTimer(Handle timer, std::int64_t dueTime, std::int32_t period, bool resume) override;
  std::int32_t CancelWaitableTimer(Handle timer) override;
  // The clock's UTC reading (its local one less its offset).
  std::chrono::sys_seconds GetSystemTime() override;
  // By the clock's present offset.
  std::int32_t TzSpecificLocalTimeToSystemTime(base::LocalTime local, std::chrono::sys_seconds& utc) override;
  std::string FormatMessageA(std::uint32_t messageId) override;
  std::uintptr_t GetProcAddress(const std::string& library, const std::string& procName) override;
  Handle CreateThread(std::function<void()> work) override;
  // Threads only: signalled once the work has run. A wait does not make it run, nor lets time
  // pass.
  std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) override;
  std::string GetCommandLineA() override;
  bool WriteStandardOutput(const std::string& text) override;
  bool ListProcesses(std::vector<ProcessEntry>& processes) override;
  std::int32_t GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) override;
  // Keeps the flags asked for last (executionState).
  std::uint32_t SetThreadExecutionState(std::uint32_t flags) override;
  // The code page is 1252 taken as Latin-1: U+0000 to U+00FF are its bytes, and any other
  // character's best fit is "?". Conversions are not calls the log records.
  std::string ToCodePage(const std::string& utf8, bool& exact) override;
  std::string FromCodePage(const std::string& ansi) override;

  // ---- the kernel's objects, for the other fakes and for tests
  // The error the next GetLastError reports, as a failing call of another library leaves it.
  void SetLastErrorCode(std::uint32_t error) { lastError_ = error; }
  Handle NewHandle();
  bool IsOpen(Handle object) const { return open_.count(object) != 0; }
  // Handles still open (not closed with CloseHandle), for leak checks.
  std::size_t OpenHandles() const { return open_.size(); }
  enum class WaitResult { Signalled, Running, Invalid };
  // One wait on an object: a running process comes one wait nearer its end; a timer is
  // signalled once armed and due.
  WaitResult Wait(Handle object);
  bool IsProcess(Handle object) const { return processHandles_.count(object) != 0; }
  // Milliseconds until an armed timer falls due (0 when it has), or nothing for any other object.
  std::optional<std::uint64_t> TimerDueIn(Handle object) const;
  // The program sleeps in a wait while this much time passes.
  void PassTime(std::uint64_t milliseconds) { clock_.Pass(milliseconds); }

 private:
  VirtualClock& clock_;
  std::uint32_t lastError_ = 0;
  Handle nextHandle_ = 0x100;
  std::set<Handle> open_;
  struct Process {
    std::string commandLine;
    int waitsLeft;
    std::uint32_t exitCode;
  };
  std::map<std::uint32_t, Process> processes_;  // by id
  std::map<Handle, std::uint32_t> processHandles_;
  std::map<Handle, std::uint32_t> programHandles_;  // opened programs, by handle
  std::uint32_t nextProcessId_ = 4000;
  std::map<Handle, std::optional<std::uint64_t>> timers_;  // handle -> when due, once armed
  std::set<Handle> threads_;                                // ended once not pending
  std::vector<std::pair<Handle, std::function<void()>>> pendingThreads_;
};

}  // namespace os::fake
