#include "power/modShellnWait.h"

#include <gtest/gtest.h>

#include "support/Harness.h"

namespace {

class ShellWaitTest : public ::testing::Test, public testing_support::Harness {
 protected:
  os::System system = fake.Services();
};

TEST_F(ShellWaitTest, StartsMinimizedAndReturnsWhenTheProcessHasEnded) {
  fake.processRunsForWaits = 2;
  fake.processExitCode = 7;
  EXPECT_TRUE(power::ShellWait(system, runtime, "cmd.exe /c exit 7"));
  EXPECT_EQ(fake.calls.front(), "CreateProcessA(cmd.exe /c exit 7, 2)");
  EXPECT_EQ(fake.CountCalls("OpenProcess"), 0u) << "it waits on the handle the start gave";
  EXPECT_EQ(fake.CountCalls("MsgWaitForMultipleObjects(1, false, 0xFFFFFFFF, 0xFF)"), 2u);
  EXPECT_EQ(fake.OpenHandles(), 0u) << "every handle is closed again";
}

TEST_F(ShellWaitTest, WaitProcessOpensTheProcessAndGivesItsExitCode) {
  os::ProcessInformation process;
  fake.processExitCode = 3;
  fake.CreateProcessA("x", 2, process);
  EXPECT_EQ(power::WaitProcess(system, runtime, process.dwProcessId), 3u);
  EXPECT_EQ(fake.CountCalls("OpenProcess(0x1F0FFF, false, " + std::to_string(process.dwProcessId) + ")"), 1u);
}

TEST_F(ShellWaitTest, AProcessThatEndsWithTheStillRunningCodeStillEndsTheWait) {
  fake.processRunsForWaits = 1;
  fake.processExitCode = os::kStillActive;
  EXPECT_TRUE(power::ShellWait(system, runtime, "x"));
  EXPECT_EQ(fake.CountCalls("MsgWaitForMultipleObjects"), 1u);
}

TEST_F(ShellWaitTest, TheWaitEndsWhenTheProgramEndsMeanwhile) {
  fake.processRunsForWaits = 1000;
  fake.OnWait = [this] { runtime.End(); };
  EXPECT_TRUE(power::ShellWait(system, runtime, "x"));
  EXPECT_EQ(fake.CountCalls("MsgWaitForMultipleObjects"), 1u);
}

TEST_F(ShellWaitTest, AProcessThatCannotBeOpenedEndsTheWaitAtOnce) {
  EXPECT_EQ(power::WaitProcess(system, runtime, 999999), 0u);
  EXPECT_EQ(fake.CountCalls("MsgWaitForMultipleObjects"), 0u);
}

TEST_F(ShellWaitTest, ACommandThatCannotStartIsReportedNotRaised) {
  fake.processStarts = false;
  EXPECT_FALSE(power::ShellWait(system, runtime, "POWERCFG.EXE /HIBERNATE ON"));
}

TEST_F(ShellWaitTest, AWaitThatFailsDoesNotLoopForever) {
  struct Failing : os::fake::FakeSystem {
    using FakeSystem::FakeSystem;
    std::uint32_t MsgWaitForMultipleObjects(const std::vector<os::Handle>&, bool, std::uint32_t,
                                            std::uint32_t) override {
      return os::kWaitFailed;
    }
  } failing(backend.Clock());
  failing.processRunsForWaits = 1000;
  os::System failingSystem = failing.Services();
  EXPECT_TRUE(power::ShellWait(failingSystem, runtime, "x"));
}

}  // namespace
