#include "os/fake/Kernel32.h"

#include <algorithm>

#include "base/Utf8.h"

namespace os::fake {

Kernel32::Kernel32(CallLog& log, VirtualClock& clock) : Library(log), clock_(clock) {
  version.dwMajorVersion = 6;
  version.dwMinorVersion = 1;
  version.dwBuildNumber = 7601;
  version.dwPlatformId = 2;
  version.szCSDVersion = "Service Pack 1";
}

Handle Kernel32::NewHandle() {
  Handle h = nextHandle_;
  nextHandle_ += 4;
  open_.insert(h);
  return h;
}

std::int32_t Kernel32::GetVersionExA(OsVersionInfo& info) {
  Log(kernel32::GetVersionExA{info.dwOSVersionInfoSize});
  if (versionFails || info.dwOSVersionInfoSize != 148) return 0;
  info = version;
  return 1;
}

Handle Kernel32::CreateMutexA(bool initialOwner, const std::string& name) {
  Log(kernel32::CreateMutexA{initialOwner, name});
  auto refused = mutexErrors.find(name);
  if (refused != mutexErrors.end()) {
    lastError_ = refused->second;
    return 0;
  }
  lastError_ = otherInstanceRunning ? kErrorAlreadyExists : 0;
  return NewHandle();
}

std::uint32_t Kernel32::GetLastError() {
  Log(kernel32::GetLastError{});
  return lastError_;
}

std::string Kernel32::GetModuleFileNameA() {
  Log(kernel32::GetModuleFileNameA{});
  return moduleFileName;
}

std::string Kernel32::GetSystemDirectoryA() {
  Log(kernel32::GetSystemDirectoryA{});
  return systemDirectory;
}

std::string Kernel32::GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) {
  Log(kernel32::GetLocaleInfoA{locale, lcType});
  if (lcType >= kLocaleSAbbrevMonthName1 && lcType < kLocaleSAbbrevMonthName1 + 12)
    return monthNames[lcType - kLocaleSAbbrevMonthName1];
  if (lcType == kLocaleS1159) return am;
  if (lcType == kLocaleS2359) return pm;
  return {};
}

base::LocalTime Kernel32::GetLocalTime() {
  Log(kernel32::GetLocalTime{});
  return clock_.Now();
}

Handle Kernel32::GetCurrentProcess() {
  Log(kernel32::GetCurrentProcess{});
  return kCurrentProcess;
}

std::int32_t Kernel32::CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                                      ProcessInformation& information) {
  Log(kernel32::CreateProcessA{commandLine, showWindow});
  if (!processStarts) {
    lastError_ = 2;  // ERROR_FILE_NOT_FOUND
    return 0;
  }
  std::uint32_t id = nextProcessId_++;
  processes_[id] = {commandLine, processRunsForWaits, processExitCode};
  information.dwProcessId = id;
  information.dwThreadId = id + 1;
  information.hProcess = NewHandle();
  information.hThread = NewHandle();
  processHandles_[information.hProcess] = id;
  return 1;
}

Handle Kernel32::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) {
  Log(kernel32::OpenProcess{desiredAccess, inheritHandle, processId});
  if (programs.count(processId)) {
    if (programsDenied.count(processId)) {
      lastError_ = kErrorAccessDenied;
      return 0;
    }
    Handle h = NewHandle();
    programHandles_[h] = processId;
    return h;
  }
  if (!processes_.count(processId)) {
    lastError_ = kErrorInvalidParameter;
    return 0;
  }
  Handle h = NewHandle();
  processHandles_[h] = processId;
  return h;
}

std::int32_t Kernel32::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  Log(kernel32::GetExitCodeProcess{process});
  auto it = processHandles_.find(process);
  if (it == processHandles_.end() || !IsOpen(process)) return 0;
  const Process& p = processes_.at(it->second);
  exitCode = p.waitsLeft > 0 ? kStillActive : p.exitCode;
  return 1;
}

std::int32_t Kernel32::Beep(std::uint32_t frequency, std::uint32_t duration) {
  Log(kernel32::Beep{frequency, duration});
  clock_.AdvanceMs(beepBlocksMs);  // the thread is blocked: nothing else runs
  return 1;
}

std::uint32_t Kernel32::GetCurrentThreadId() {
  Log(kernel32::GetCurrentThreadId{});
  return threadId;
}

std::uint32_t Kernel32::GetTickCount() {
  Log(kernel32::GetTickCount{});
  return static_cast<std::uint32_t>(clock_.ElapsedMs());
}

Handle Kernel32::CreateWaitableTimerA(bool manualReset, const std::string& name) {
  Log(kernel32::CreateWaitableTimerA{manualReset, name});
  if (!timerCreates) return 0;
  Handle timer = NewHandle();
  timers_[timer] = std::nullopt;
  return timer;
}

std::int32_t Kernel32::SetWaitableTimer(Handle timer, std::int64_t dueTime, std::int32_t period, bool resume) {
  Log(kernel32::SetWaitableTimer{timer, dueTime, period, resume});
  auto it = timers_.find(timer);
  if (!timerArms || it == timers_.end() || !IsOpen(timer)) return 0;
  // Relative due times count from now; an absolute one (positive) has long passed.
  std::uint64_t wait = dueTime < 0 ? static_cast<std::uint64_t>(-(dueTime / 10000)) : 0;
  it->second = clock_.ElapsedMs() + wait;
  return 1;
}

std::int32_t Kernel32::CancelWaitableTimer(Handle timer) {
  Log(kernel32::CancelWaitableTimer{timer});
  auto it = timers_.find(timer);
  if (it == timers_.end() || !IsOpen(timer)) return 0;
  it->second = std::nullopt;
  return 1;
}

std::chrono::sys_seconds Kernel32::GetSystemTime() {
  Log(kernel32::GetSystemTime{});
  return clock_.UtcNow();
}

std::int32_t Kernel32::TzSpecificLocalTimeToSystemTime(base::LocalTime local, std::chrono::sys_seconds& utc) {
  Log(kernel32::TzSpecificLocalTimeToSystemTime{local});
  RequireFunction("kernel32.dll", "TzSpecificLocalTimeToSystemTime");
  utc = std::chrono::sys_seconds((local - clock_.UtcOffset()).time_since_epoch());
  return 1;
}

std::string Kernel32::FormatMessageA(std::uint32_t messageId) {
  Log(kernel32::FormatMessageA{messageId});
  auto it = errorTexts.find(messageId);
  return it == errorTexts.end() ? std::string() : it->second;
}

std::optional<std::uint64_t> Kernel32::TimerDueIn(Handle object) const {
  auto it = timers_.find(object);
  if (it == timers_.end() || !it->second || !IsOpen(object)) return std::nullopt;
  return *it->second > clock_.ElapsedMs() ? *it->second - clock_.ElapsedMs() : 0;
}

std::int32_t Kernel32::CloseHandle(Handle object) {
  Log(kernel32::CloseHandle{object});
  return open_.erase(object) ? 1 : 0;
}

Kernel32::WaitResult Kernel32::Wait(Handle object) {
  if (timers_.count(object) && IsOpen(object))
    return TimerDueIn(object) == std::uint64_t{0} ? WaitResult::Signalled : WaitResult::Running;
  auto it = processHandles_.find(object);
  if (it == processHandles_.end() || !IsOpen(object)) return WaitResult::Invalid;
  Process& p = processes_.at(it->second);
  if (p.waitsLeft > 0 && --p.waitsLeft == 0 && OnProcessEnded) OnProcessEnded(p.commandLine);
  return p.waitsLeft == 0 ? WaitResult::Signalled : WaitResult::Running;
}

std::uintptr_t Kernel32::GetProcAddress(const std::string& library, const std::string& procName) {
  Log(kernel32::GetProcAddress{library, procName});
  return missingFunctions.count({library, procName}) ? 0 : 0x7700;
}

Handle Kernel32::CreateThread(std::function<void()> work) {
  Log(kernel32::CreateThread{});
  Handle thread = NewHandle();
  threads_.insert(thread);
  pendingThreads_.emplace_back(thread, std::move(work));
  if (runThreadsAtOnce) RunThreads();
  return thread;
}

std::size_t Kernel32::RunThreads() {
  std::size_t ran = 0;
  while (!pendingThreads_.empty()) {
    auto work = std::move(pendingThreads_.front().second);
    pendingThreads_.erase(pendingThreads_.begin());
    try {
      work();
    } catch (...) {
      // As on a real thread, nothing leaves it.
    }
    ++ran;
  }
  return ran;
}

std::uint32_t Kernel32::WaitForSingleObject(Handle object, std::uint32_t milliseconds) {
  Log(kernel32::WaitForSingleObject{object, milliseconds});
  bool pending = std::any_of(pendingThreads_.begin(), pendingThreads_.end(),
                             [object](const auto& thread) { return thread.first == object; });
  if (auto program = programHandles_.find(object); program != programHandles_.end() && IsOpen(object))
    return programs.count(program->second) ? kWaitTimeout : kWaitObject0;
  if (!threads_.count(object) || !IsOpen(object)) return kWaitFailed;
  return pending ? kWaitTimeout : kWaitObject0;
}

std::string Kernel32::GetCommandLineA() {
  Log(kernel32::GetCommandLineA{});
  return commandLine;
}

bool Kernel32::WriteStandardOutput(const std::string& text) {
  Log(kernel32::WriteStandardOutput{text});
  if (hasOutput) output += text;
  return hasOutput;
}

void Kernel32::RequireFunction(const std::string& library, const std::string& name) const {
  if (missingFunctions.count({library, name}))
    throw base::RuntimeError(base::kFunctionNotAvailable, "Can't find DLL entry point " + name + " in " + library);
}

bool Kernel32::ListProcesses(std::vector<ProcessEntry>& processes) {
  Log(kernel32::ListProcesses{});
  RequireFunction("kernel32.dll", "CreateToolhelp32Snapshot");
  if (listFails) return false;
  processes.clear();
  for (const auto& [id, name] : programs) processes.push_back({id, name});
  return true;
}

std::int32_t Kernel32::GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) {
  Log(kernel32::GetSystemTimes{});
  RequireFunction("kernel32.dll", "GetSystemTimes");
  idle = idleTime, kernel = kernelTime, user = userTime;
  return 1;
}

std::uint32_t Kernel32::SetThreadExecutionState(std::uint32_t flags) {
  Log(kernel32::SetThreadExecutionState{flags});
  RequireFunction("kernel32.dll", "SetThreadExecutionState");
  const std::uint32_t previous = executionState;
  executionState = flags;
  return previous;
}

std::string Kernel32::ToCodePage(const std::string& utf8, bool& exact) {
  std::string ansi;
  for (wchar_t unit : base::Utf16(utf8)) ansi += unit < 0x100 ? static_cast<char>(unit) : '?';
  exact = FromCodePage(ansi) == utf8;
  return ansi;
}

std::string Kernel32::FromCodePage(const std::string& ansi) {
  std::wstring units;
  for (char byte : ansi) units += static_cast<wchar_t>(static_cast<unsigned char>(byte));
  return base::Utf8(units);
}

}  // namespace os::fake
