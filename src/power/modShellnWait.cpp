#include "power/modShellnWait.h"

namespace power {

bool ShellWait(os::System& system, ui::Runtime& runtime, const std::string& commandLine) {
  os::ProcessInformation process;
  if (system.kernel32.CreateProcessA(commandLine, kShowMinimized, process) == 0) return false;
  system.kernel32.CloseHandle(process.hThread);
  system.kernel32.CloseHandle(process.hProcess);
  WaitProcess(system, runtime, process.dwProcessId);
  return true;
}

std::uint32_t WaitProcess(os::System& system, ui::Runtime& runtime, std::uint32_t processId) {
  os::Handle process = system.kernel32.OpenProcess(os::kProcessAllAccess, false, processId);
  std::uint32_t exitCode = 0;
  if (process == 0) return exitCode;
  system.kernel32.GetExitCodeProcess(process, exitCode);
  while (exitCode == os::kStillActive) {
    // Sleep until the process ends or a message arrives; serve the messages and wait again.
    std::uint32_t woke = system.user32.MsgWaitForMultipleObjects({process}, false, os::kInfinite, os::kQsAllInput);
    if (woke == os::kWaitObject0 + 1) {
      runtime.DoEvents();
      if (runtime.Ended()) break;
      continue;
    }
    if (woke != os::kWaitObject0 || system.kernel32.GetExitCodeProcess(process, exitCode) == 0) break;
  }
  system.kernel32.CloseHandle(process);
  return exitCode;
}

}  // namespace power
