// The schedule's life on its own, against the fake system and with no window: each phase and
// each way out, the postpone, and the computer kept awake exactly while a schedule waits.
#include <gtest/gtest.h>

#include "control/ControllerRig.h"

namespace {

using namespace control_test;

TEST(Controller, AMomentArmsFiresWarnsAndIsCarriedOutOrCancelled) {
  Rig rig;
  rig.Activate(rig.In(60));
  rig.Run(59000);
  EXPECT_TRUE(rig.life.Armed());
  rig.Run(1000);
  EXPECT_EQ(rig.life.GetPhase(), Phase::Warning);
  EXPECT_EQ(rig.life.WarningLeft(), 30);
  rig.life.Perform();
  EXPECT_EQ(rig.moves, "idle>armed;armed>warning;warning>performing;performing>ending;");
  EXPECT_EQ(rig.fake.log.Of<user32::ExitWindowsEx>().size(), 1u);
  EXPECT_TRUE(rig.AwakeRequests().empty()) << "a moment keeps nothing awake unless asked";
  EXPECT_FALSE(rig.life.Cancel()) << "nothing left to cancel";

  Rig cancelled;
  cancelled.Activate(cancelled.In(5));
  EXPECT_TRUE(cancelled.life.Cancel());
  cancelled.Activate(cancelled.In(5));
  cancelled.Run(5000);
  EXPECT_TRUE(cancelled.life.Cancel());
  cancelled.life.Perform();
  EXPECT_EQ(cancelled.moves, "idle>armed;armed>idle;idle>armed;armed>warning;warning>ending;");
  EXPECT_TRUE(cancelled.fake.log.Of<user32::ExitWindowsEx>().empty()) << "a cancelled warning performs nothing";
}

TEST(Controller, WithoutACountdownAndForTheAlarmItGoesStraightToTheAction) {
  Rig rig;
  schedule::Schedule now = rig.In(1);
  now.countdown = 0;
  rig.Activate(now);
  rig.Run(1000);
  EXPECT_EQ(rig.moves, "idle>armed;armed>performing;performing>ending;");

  Rig alarm;
  alarm.Activate(alarm.In(1, Action::Alarm));
  alarm.Run(1000);
  EXPECT_EQ(alarm.life.GetPhase(), Phase::AlarmShowing);
  alarm.life.Done();
  EXPECT_EQ(alarm.moves, "idle>armed;armed>performing;performing>alarm showing;alarm showing>ending;");
}

// Turning the display off never warns, whatever the countdown: the host is asked once, and the
// one-time schedule ends the program. Without a host nothing is asked and nothing breaks.
TEST(Controller, TheDisplayIsTurnedOffThroughTheHostWithNoWarning) {
  Rig rig;
  rig.Activate(rig.In(5, Action::Display));  // its countdown of 30 is not used
  rig.Run(5000);
  EXPECT_EQ(rig.moves, "idle>armed;armed>performing;display off;performing>ending;");
  EXPECT_EQ(rig.told, "");
  EXPECT_TRUE(rig.fake.log.Of<user32::ExitWindowsEx>().empty());

  Rig hostless;
  hostless.life.SetHost(nullptr);
  hostless.Activate(hostless.In(1, Action::Display));
  hostless.Run(1000);
  EXPECT_EQ(hostless.moves, "idle>armed;armed>performing;performing>ending;");
  EXPECT_TRUE(hostless.fake.log.Of<user32::DefWindowProcA>().empty());
}

// Postponed twice in a row: each time the warning goes, the schedule is armed again that many
// minutes from now and says so; cancelled while postponed, it is idle.
TEST(Controller, AWarningPostponedTwiceFiresAgainEachTimeAndCancelsWhilePostponed) {
  Rig rig;
  rig.Activate(rig.In(10));
  rig.Run(10000);
  ASSERT_EQ(rig.life.GetPhase(), Phase::Warning);
  rig.clock.AdvanceMs(12000);  // twelve seconds into the warning
  ASSERT_TRUE(rig.life.Postpone(10));
  EXPECT_TRUE(rig.life.Postponed());
  EXPECT_EQ(rig.life.Schedule().trigger.moment, base::MakeLocalTime({2026, 12, 9, 22, 10, 22}));
  rig.Run(10 * 60000 - 500);
  EXPECT_TRUE(rig.life.Armed());
  rig.Run(500);
  ASSERT_EQ(rig.life.GetPhase(), Phase::Warning);
  ASSERT_TRUE(rig.life.Postpone(1));
  rig.Run(30000);
  EXPECT_TRUE(rig.life.Cancel());
  EXPECT_EQ(rig.moves, "idle>armed;armed>warning;warning>armed;armed>warning;warning>armed;armed>idle;");

  // While armed, a postpone moves the moment on from itself, not from now.
  rig.Activate(rig.In(3600));
  EXPECT_FALSE(rig.life.Postponed()) << "a new schedule starts afresh";
  const base::LocalTime moment = rig.life.Schedule().trigger.moment;
  ASSERT_TRUE(rig.life.Postpone(30));
  EXPECT_EQ(rig.life.Schedule().trigger.moment, moment + std::chrono::minutes(30));
}

// A condition postponed is watched afresh once the minutes have passed: the computer left
// alone must be left alone for its whole span again; a program that has ended meanwhile
// counts as met at once.
TEST(Controller, APostponedConditionIsWatchedAfreshAfterTheDelay) {
  Rig idle;
  idle.fake.user32.lastInputTick = 0;
  std::string refusal;
  ASSERT_TRUE(idle.life.Activate(On(Trigger::WhenIdle(2)), refusal));
  idle.Run(2 * 60000 + 1000);
  ASSERT_EQ(idle.life.GetPhase(), Phase::Warning);
  ASSERT_TRUE(idle.life.Postpone(5));
  EXPECT_EQ(idle.life.Progress(), "postponed, watched again in 5 min");
  idle.Run(5 * 60000 + 2 * 60000 - 2000);
  EXPECT_TRUE(idle.life.Armed()) << "five minutes' delay, then two minutes without input";
  idle.Run(3000);
  EXPECT_EQ(idle.life.GetPhase(), Phase::Warning);

  Rig program;
  program.fake.kernel32.programs = {{100, "ffmpeg.exe"}};
  ASSERT_TRUE(program.life.Activate(On(Trigger::WhenEnds("ffmpeg.exe")), refusal));
  program.fake.kernel32.programs.clear();
  program.Run(1000);
  ASSERT_EQ(program.life.GetPhase(), Phase::Warning);
  ASSERT_TRUE(program.life.Postpone(1));
  program.Run(59000);
  EXPECT_TRUE(program.life.Armed());
  program.Run(1000);
  EXPECT_EQ(program.life.GetPhase(), Phase::Warning) << "no ffmpeg.exe to wait for: met after the minute";
}

// Kept awake while armed, for a condition always and for a moment when asked; released on
// every way out of Armed, and on the program's end.
TEST(Controller, TheComputerIsKeptAwakeExactlyWhileArmed) {
  Rig rig;
  schedule::Schedule s = rig.In(5);
  s.keepAwake = true;
  rig.Activate(s);
  EXPECT_TRUE(rig.life.KeptAwake());
  rig.life.Cancel();  // deactivated
  rig.Activate(s);
  rig.Run(5000);  // fired
  EXPECT_FALSE(rig.life.KeptAwake());
  rig.life.Postpone(1);  // armed again
  rig.life.End();        // the program closes
  std::string refusal;
  EXPECT_FALSE(rig.life.Activate(On(Trigger::WhenIdle(5)), refusal)) << "the program is leaving";
  EXPECT_EQ(rig.AwakeRequests(), (std::vector{kAwake, kReleased, kAwake, kReleased, kAwake, kReleased}));
  EXPECT_EQ(rig.fake.kernel32.executionState, kReleased);

  auto condition = std::make_unique<control::Controller>(rig.os, rig.family);
  ASSERT_TRUE(condition->Activate(On(Trigger::WhenIdle(5)), refusal));
  EXPECT_TRUE(condition->Schedule().keepAwake) << "a condition keeps the computer awake";
  EXPECT_EQ(rig.fake.kernel32.executionState, kAwake);
  condition.reset();  // the program's end
  EXPECT_EQ(rig.fake.kernel32.executionState, kReleased);

  Rig nt4;  // no SetThreadExecutionState: the schedule waits all the same
  nt4.fake.kernel32.missingFunctions = {{"kernel32.dll", "SetThreadExecutionState"}};
  ASSERT_TRUE(nt4.life.Activate(On(Trigger::WhenIdle(5)), refusal));
  EXPECT_TRUE(nt4.life.Armed());
  EXPECT_FALSE(nt4.life.KeptAwake());
}

}  // namespace
