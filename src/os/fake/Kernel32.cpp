#include "os/fake/Kernel32.h"

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
  if (info.dwOSVersionInfoSize != 148) return 0;
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
  if (!processes_.count(processId)) return 0;
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
  return 1;
}

std::uint32_t Kernel32::GetCurrentThreadId() {
  Log(kernel32::GetCurrentThreadId{});
  return threadId;
}

std::int32_t Kernel32::CloseHandle(Handle object) {
  Log(kernel32::CloseHandle{object});
  return open_.erase(object) ? 1 : 0;
}

Kernel32::WaitResult Kernel32::Wait(Handle object) {
  auto it = processHandles_.find(object);
  if (it == processHandles_.end() || !IsOpen(object)) return WaitResult::Invalid;
  Process& p = processes_.at(it->second);
  if (p.waitsLeft > 0 && --p.waitsLeft == 0 && OnProcessEnded) OnProcessEnded(p.commandLine);
  return p.waitsLeft == 0 ? WaitResult::Signalled : WaitResult::Running;
}

}  // namespace os::fake
