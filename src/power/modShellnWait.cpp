#include "power/modShellnWait.h"

namespace power {

std::string HibernateOnCommand(os::Kernel32& kernel32) {
  std::string program = kernel32.GetSystemDirectoryA();
  if (program.empty()) return {};
  if (program.back() != '\\') program += '\\';
  program += "POWERCFG.EXE";
  if (program.find(' ') != std::string::npos) program = '"' + program + '"';
  return program + " /HIBERNATE ON";
}

bool ShellWait(const os::Services& services, ui::Runtime& runtime, const std::string& commandLine) {
  os::ProcessInformation process;
  if (services.kernel32.CreateProcessA(commandLine, kShowMinimized, process) == 0) return false;
  services.kernel32.CloseHandle(process.hThread);
  // The handle the start gave is the one waited on: no second opening that could fail or
  // meet a process id already used again.
  WaitProcessHandle(services, runtime, process.hProcess);
  services.kernel32.CloseHandle(process.hProcess);
  return true;
}

std::uint32_t WaitProcess(const os::Services& services, ui::Runtime& runtime, std::uint32_t processId) {
  os::Handle process = services.kernel32.OpenProcess(os::kProcessAllAccess, false, processId);
  if (process == 0) return 0;
  std::uint32_t exitCode = WaitProcessHandle(services, runtime, process);
  services.kernel32.CloseHandle(process);
  return exitCode;
}

std::uint32_t WaitProcessHandle(const os::Services& services, ui::Runtime& runtime, os::Handle process) {
  std::uint32_t exitCode = 0;
  services.kernel32.GetExitCodeProcess(process, exitCode);
  while (exitCode == os::kStillActive) {
    // Sleep until the process ends or a message arrives; serve the messages and wait again.
    std::uint32_t woke = services.user32.MsgWaitForMultipleObjects({process}, false, os::kInfinite, os::kQsAllInput);
    if (woke == os::kWaitObject0 + 1) {
      runtime.DoEvents();
      if (runtime.Ended()) break;
      continue;
    }
    // The process has ended (whatever code it ended with, even one that reads as still
    // running), or the wait failed: either way there is nothing more to wait for.
    if (woke == os::kWaitObject0) services.kernel32.GetExitCodeProcess(process, exitCode);
    break;
  }
  return exitCode;
}

}  // namespace power
