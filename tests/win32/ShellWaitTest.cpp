// Waiting for a real process under Wine: the wait sleeps, window messages keep flowing, and a
// command that does not exist is a failed start, not an error.
#include "Win32Fixture.h"
#include "os/win32/RealServices.h"
#include "power/modShellnWait.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

double ProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7; };
  return value(kernel) + value(user);
}

std::string ThisProgram() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

struct TickingForm : ui::Form {
  explicit TickingForm(ui::Runtime& runtime) : ui::Form(runtime, "frmTicking") { ticker.SetInterval(100); }
  ui::Timer ticker{*this, "ticker"};
};

class RealWait : public win32_testing::Win32Test {
 protected:
  os::win32::RealServices real;
  os::Services system = real.Services();
};

TEST_F(RealWait, TheWaitSleepsWhileTheCommandRunsAndMessagesKeepFlowing) {
  TickingForm form(runtime);
  int ticks = 0;
  form.ticker.TimerEvent = [&] { ++ticks; };
  form.Load();
  double cpuBefore = ProcessorSeconds();
  DWORD start = GetTickCount();
  EXPECT_TRUE(power::ShellWait(system, runtime, "\"" + ThisProgram() + "\" --child-sleep-ms=1500"));
  DWORD elapsed = GetTickCount() - start;
  double cpu = ProcessorSeconds() - cpuBefore;
  std::printf("waited %lu ms for the command, using %.0f ms of processor time; %d timer ticks meanwhile\n", elapsed,
              cpu * 1000, ticks);
  EXPECT_GE(elapsed, 1400u);
  EXPECT_LT(cpu, 0.25) << "a busy wait would use about the whole 1.5 s";
  EXPECT_GE(ticks, 5) << "the windows' timers ran during the wait";
  form.Unload();
}

TEST_F(RealWait, WaitProcessGivesTheRealExitCode) {
  os::ProcessInformation process;
  ASSERT_NE(real.kernel32.CreateProcessA("\"" + ThisProgram() + "\" --child-sleep-ms=200", 2, process), 0);
  EXPECT_EQ(power::WaitProcess(system, runtime, process.dwProcessId), 3u);
  real.kernel32.CloseHandle(process.hThread);
  real.kernel32.CloseHandle(process.hProcess);
}

TEST_F(RealWait, PowerCfgIsNamedInTheFolderOfTheSystemLibrariesAndIsMissingUnderWine) {
  char kernel[MAX_PATH];
  GetModuleFileNameA(GetModuleHandleA("kernel32.dll"), kernel, MAX_PATH);
  std::string folder(kernel, std::string(kernel).find_last_of('\\'));
  const std::string command = power::HibernateOnCommand(real.kernel32);
  EXPECT_EQ(_stricmp(command.c_str(), (folder + "\\POWERCFG.EXE /HIBERNATE ON").c_str()), 0) << command;
  DWORD start = GetTickCount();
  EXPECT_FALSE(power::ShellWait(system, runtime, command)) << "Wine has no POWERCFG.EXE: a failed start";
  EXPECT_LT(GetTickCount() - start, 2000u);
}

}  // namespace
