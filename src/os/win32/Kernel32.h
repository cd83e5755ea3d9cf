// The real kernel32.
#pragma once

#include "os/Kernel32.h"

namespace os::win32 {

class Kernel32 : public os::Kernel32 {
 public:
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
  std::chrono::sys_seconds GetSystemTime() override;
  std::int32_t TzSpecificLocalTimeToSystemTime(base::LocalTime local, std::chrono::sys_seconds& utc) override;
  std::string FormatMessageA(std::uint32_t messageId) override;
  std::uintptr_t GetProcAddress(const std::string& library, const std::string& procName) override;
  Handle CreateThread(std::function<void()> work) override;
  std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) override;
  std::string GetCommandLineA() override;
  bool WriteStandardOutput(const std::string& text) override;
  bool ListProcesses(std::vector<ProcessEntry>& processes) override;
  std::int32_t GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) override;
  std::uint32_t SetThreadExecutionState(std::uint32_t flags) override;
  std::string ToCodePage(const std::string& utf8, bool& exact) override;
  std::string FromCodePage(const std::string& ansi) override;
};

}  // namespace os::win32
