#include "power/modShellnWait.h"

#include <gtest/gtest.h>

#include "support/Harness.h"

namespace {

namespace kernel32 = os::fake::kernel32;
namespace user32 = os::fake::user32;

class ShellWaitTest : public ::testing::Test, public testing_support::Harness {
 protected:
  os::Services system = fake.Services();
};

TEST_F(ShellWaitTest, StartsMinimizedAndReturnsWhenTheProcessHasEnded) {
  fake.kernel32.processRunsForWaits = 2;
  fake.kernel32.processExitCode = 7;
  EXPECT_TRUE(power::ShellWait(system, runtime, "cmd.exe /c exit 7"));
  EXPECT_EQ(fake.log.All().front(), os::fake::Call(kernel32::CreateProcessA{"cmd.exe /c exit 7", 2}));
  EXPECT_EQ(fake.log.Count<kernel32::OpenProcess>(), 0u) << "it waits on the handle the start gave";
  const os::Handle process = fake.log.Of<kernel32::GetExitCodeProcess>().front().process;
  const user32::MsgWaitForMultipleObjects wait{{process}, false, os::kInfinite, os::kQsAllInput};
  EXPECT_EQ(fake.log.Of<user32::MsgWaitForMultipleObjects>(), (std::vector{wait, wait}));
  EXPECT_EQ(fake.kernel32.OpenHandles(), 0u) << "every handle is closed again";
}

TEST_F(ShellWaitTest, TheHibernationCommandNamesPowerCfgInTheSystemFolder) {
  EXPECT_EQ(power::HibernateOnCommand(fake.kernel32), "C:\\Windows\\system32\\POWERCFG.EXE /HIBERNATE ON");
  fake.kernel32.systemDirectory = "C:\\";
  EXPECT_EQ(power::HibernateOnCommand(fake.kernel32), "C:\\POWERCFG.EXE /HIBERNATE ON");
  fake.kernel32.systemDirectory = "D:\\Win Dows\\system32";
  EXPECT_EQ(power::HibernateOnCommand(fake.kernel32), "\"D:\\Win Dows\\system32\\POWERCFG.EXE\" /HIBERNATE ON");
  fake.kernel32.systemDirectory = "";
  EXPECT_EQ(power::HibernateOnCommand(fake.kernel32), "") << "never the bare name, which the search finds anywhere";
}

TEST_F(ShellWaitTest, WaitProcessOpensTheProcessAndGivesItsExitCode) {
  os::ProcessInformation process;
  fake.kernel32.processExitCode = 3;
  fake.kernel32.CreateProcessA("x", 2, process);
  EXPECT_EQ(power::WaitProcess(system, runtime, process.dwProcessId), 3u);
  EXPECT_EQ(fake.log.Of<kernel32::OpenProcess>(),
            (std::vector{kernel32::OpenProcess{os::kProcessAllAccess, false, process.dwProcessId}}));
}

TEST_F(ShellWaitTest, AProcessThatEndsWithTheStillRunningCodeStillEndsTheWait) {
  fake.kernel32.processRunsForWaits = 1;
  fake.kernel32.processExitCode = os::kStillActive;
  EXPECT_TRUE(power::ShellWait(system, runtime, "x"));
  EXPECT_EQ(fake.log.Count<user32::MsgWaitForMultipleObjects>(), 1u);
}

TEST_F(ShellWaitTest, TheWaitEndsWhenTheProgramEndsMeanwhile) {
  fake.kernel32.processRunsForWaits = 1000;
  fake.user32.OnWait = [this] { runtime.End(); };
  EXPECT_TRUE(power::ShellWait(system, runtime, "x"));
  EXPECT_EQ(fake.log.Count<user32::MsgWaitForMultipleObjects>(), 1u);
}

TEST_F(ShellWaitTest, AProcessThatCannotBeOpenedEndsTheWaitAtOnce) {
  EXPECT_EQ(power::WaitProcess(system, runtime, 999999), 0u);
  EXPECT_EQ(fake.log.Count<user32::MsgWaitForMultipleObjects>(), 0u);
}

TEST_F(ShellWaitTest, ACommandThatCannotStartIsReportedNotRaised) {
  fake.kernel32.processStarts = false;
  EXPECT_FALSE(power::ShellWait(system, runtime, "POWERCFG.EXE /HIBERNATE ON"));
}

TEST_F(ShellWaitTest, AWaitThatFailsDoesNotLoopForever) {
  fake.kernel32.processRunsForWaits = 1000;
  fake.user32.waitFails = true;
  EXPECT_TRUE(power::ShellWait(system, runtime, "x"));
  EXPECT_EQ(fake.log.Count<user32::MsgWaitForMultipleObjects>(), 1u);
}

}  // namespace
