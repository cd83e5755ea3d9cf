// The message-pumping wait: the exact timer calls, the windows' events running inside it, and
// the bounded wait that stands in when the timer cannot serve.
#include "platform/modWaitable.h"

#include <gtest/gtest.h>

#include "support/Harness.h"

namespace {

namespace kernel32 = os::fake::kernel32;
namespace user32 = os::fake::user32;
using os::fake::Calls;

class Waitable : public ::testing::Test, public testing_support::Harness {
 protected:
  Waitable() {
    ticker.tmrTick.SetInterval(100);
    ticker.tmrTick.TimerEvent = [this] { ++ticks; };
    ticker.Load();
  }
  std::uint64_t Now() { return clock.ElapsedMs(); }

  struct Ticker : ui::Form {
    explicit Ticker(ui::Runtime& runtime) : ui::Form(runtime, "frmTicker") {}
    ui::Timer tmrTick{*this, "tmrTick"};
  } ticker{runtime};
  int ticks = 0;
  os::Services os = fake.Services();
};

TEST_F(Waitable, OneSecondOnANamedTimerWhileTheWindowsTimersGoOnTicking) {
  platform::WaitSeconds(os, runtime, 1);
  EXPECT_EQ(Now(), 1000u);
  EXPECT_EQ(ticks, 10) << "events run inside the wait";
  auto timer = fake.log.Of<kernel32::CreateWaitableTimerA>();
  ASSERT_EQ(timer.size(), 1u);
  EXPECT_EQ(timer[0], (kernel32::CreateWaitableTimerA{true, "quenlarTimer"}));
  const os::Handle handle = fake.log.Of<kernel32::SetWaitableTimer>().at(0).timer;
  EXPECT_EQ((fake.log.Only<kernel32::SetWaitableTimer, user32::MsgWaitForMultipleObjects, kernel32::CloseHandle>()),
            (Calls{kernel32::SetWaitableTimer{handle, -10000000, 0, false},
                   user32::MsgWaitForMultipleObjects{{handle}, false, os::kInfinite, 255}, kernel32::CloseHandle{handle}}));
  EXPECT_EQ(fake.kernel32.OpenHandles(), 0u);

  platform::WaitSeconds(os, runtime, 300);
  EXPECT_EQ(fake.log.Of<kernel32::SetWaitableTimer>().back().dueTime, -3000000000LL);
  EXPECT_EQ(Now(), 301000u);
}

TEST_F(Waitable, WithoutAUsableTimerTheWaitStillLastsItsTimeAndEnds) {
  auto waitOneSecond = [&] {
    std::uint64_t before = Now();
    fake.log.Clear();
    platform::WaitSeconds(os, runtime, 1);
    return Now() - before;
  };
  fake.kernel32.timerArms = false;
  EXPECT_EQ(waitOneSecond(), 1000u) << "a timer that cannot be armed";
  EXPECT_EQ(fake.kernel32.OpenHandles(), 0u);
  fake.kernel32.timerCreates = false;
  EXPECT_EQ(waitOneSecond(), 1000u) << "a timer that cannot be made";
  EXPECT_EQ(fake.log.Count<kernel32::CloseHandle>(), 0u);
  fake.kernel32.ThrowOn<kernel32::CreateWaitableTimerA>();
  EXPECT_EQ(waitOneSecond(), 1000u) << "a system without waitable timers";
  fake.kernel32.timerCreates = true;
  fake.user32.waitFails = true;
  EXPECT_EQ(waitOneSecond(), 1000u) << "a failing wait";
  fake.user32.waitFails = false;
  EXPECT_EQ(ticks, 40);
}

TEST_F(Waitable, TheProgramEndingInsideTheWaitEndsIt) {
  ticker.tmrTick.TimerEvent = [this] { runtime.End(); };
  platform::WaitSeconds(os, runtime, 5);
  EXPECT_LT(Now(), 5000u);
  EXPECT_EQ(fake.kernel32.OpenHandles(), 0u);
}

}  // namespace
