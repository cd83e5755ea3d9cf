// Schedules that repeat, on the virtual clock: each occurrence at its second over a leap year,
// the days chosen, a cancel or the action leading to the next one, and what sleep, a clock put
// forward or back and summer time do to them; the notice ahead and the wake timer.
#include <gtest/gtest.h>

#include "control/ControllerRig.h"
#include "schedule/Repeat.h"

namespace {

using namespace control_test;
using namespace std::chrono_literals;
using base::MakeLocalTime;

// A repeating schedule of `action` at a time of day, with no countdown unless given.
schedule::Schedule Daily(int hour, int minute, schedule::Days days = schedule::kEveryDay, Action action = Action::Lock,
                         int countdown = 0) {
  schedule::Schedule s;
  s.action = action;
  s.countdown = countdown;
  s.repeat = days;
  s.trigger = Trigger::At(MakeLocalTime({2000, 1, 1, hour, minute, 0}));  // its time of day is what counts
  return s;
}

// Ticks every half second until `until`, or every minute (no gap) up to a minute before it.
void RunTo(Rig& rig, base::LocalTime until) {
  while (rig.clock.Now() < until - 61s) {
    rig.clock.AdvanceMs(60000);
    rig.life.Tick();
  }
  while (rig.clock.Now() < until) {
    rig.clock.AdvanceMs(500);
    rig.life.Tick();
  }
}

TEST(Repeat, ADailyScheduleComesEverySecondItIsDueOverALeapYearWithNoDrift) {
  Rig rig;
  rig.clock.SetWallClock(MakeLocalTime({2028, 1, 1, 0, 0, 0}));  // 2028 has a 29 February
  rig.Activate(Daily(23, 0));
  int fired = 0;
  for (int day = 0; day < 366; ++day) {
    const base::LocalTime due = MakeLocalTime({2028, 1, 1, 23, 0, 0}) + std::chrono::days(day);
    ASSERT_EQ(rig.life.Schedule().trigger.moment, due) << "day " << day;
    RunTo(rig, due - 1s);
    ASSERT_EQ(rig.life.Schedule().trigger.moment, due) << "not yet, a second before";
    RunTo(rig, due);
    ASSERT_TRUE(rig.life.Armed());
    ASSERT_GT(rig.life.Schedule().trigger.moment, due) << "fired and re-armed at " << day;
    ++fired;
    rig.fake.log.Clear();
  }
  EXPECT_EQ(fired, 366);
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2029, 1, 1, 23, 0, 0}));
  EXPECT_TRUE(rig.notices.empty());
}

TEST(Repeat, MondayToFridayPassesOverTheWeekendAndChosenDaysComeInTurn) {
  Rig rig;
  rig.clock.SetWallClock(MakeLocalTime({2026, 12, 11, 22, 0, 0}));  // a Friday
  rig.Activate(Daily(23, 0, schedule::kMondayToFriday));
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 11, 23, 0, 0}));
  RunTo(rig, MakeLocalTime({2026, 12, 11, 23, 0, 0}));
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 14, 23, 0, 0})) << "Monday";

  const schedule::Days wednesdayAndSunday = schedule::DayBit(3) | schedule::DayBit(0);
  rig.life.Cancel();
  rig.Activate(Daily(7, 30, wednesdayAndSunday));
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 13, 7, 30, 0})) << "Sunday";
  RunTo(rig, MakeLocalTime({2026, 12, 13, 7, 30, 0}));
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 16, 7, 30, 0})) << "Wednesday";
}

TEST(Repeat, TheWarningCancelledAlarmClosedOrActionDoneLeadToTheNextDayButLeavingWindowsEnds) {
  Rig rig;
  rig.Activate(Daily(22, 1, schedule::kEveryDay, Action::Shutdown, 30));
  RunTo(rig, MakeLocalTime({2026, 12, 9, 22, 1, 0}));
  ASSERT_EQ(rig.life.GetPhase(), Phase::Warning);
  rig.life.Cancel();
  EXPECT_TRUE(rig.life.Armed());
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 10, 22, 1, 0}));
  EXPECT_EQ(rig.moves, "idle>armed;armed>warning;warning>armed;");

  rig.life.Cancel();  // deactivated: the repetition ends
  EXPECT_EQ(rig.life.GetPhase(), Phase::Idle);

  rig.Activate(Daily(22, 2, schedule::kEveryDay, Action::Alarm));
  RunTo(rig, MakeLocalTime({2026, 12, 10, 22, 2, 0}));
  ASSERT_EQ(rig.life.GetPhase(), Phase::AlarmShowing);
  rig.life.Done();
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 11, 22, 2, 0}));
  rig.life.Cancel();

  rig.Activate(Daily(22, 3, schedule::kEveryDay, Action::Shutdown));
  RunTo(rig, MakeLocalTime({2026, 12, 11, 22, 3, 0}));
  EXPECT_EQ(rig.life.GetPhase(), Phase::Ending) << "the computer goes down, and the program with it";
}

TEST(Repeat, TheComputerAsleepAcrossTwoOccurrencesSkipsBothWithOneNotice) {
  Rig rig;
  rig.Activate(Daily(23, 0, schedule::kEveryDay, Action::Shutdown));
  RunTo(rig, MakeLocalTime({2026, 12, 9, 22, 30, 0}));
  rig.clock.AdvanceMs(2 * 24 * 3600 * 1000u);  // asleep until Friday 22:30: no tick meanwhile
  rig.life.Resumed();
  EXPECT_TRUE(rig.life.Armed()) << "nothing is shut down on waking";
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 11, 23, 0, 0}));
  EXPECT_EQ(rig.notices, (std::vector<std::string>{"Shutdown at 23:00 was missed; next: Fri 11 Dec 23:00"}));
  EXPECT_EQ(rig.fake.log.Count<user32::ExitWindowsEx>(), 0u);
}

TEST(Repeat, TheClockPutForwardPastAnOccurrenceSkipsItAndPutBackOverOneDoesNotRepeatIt) {
  Rig rig;
  rig.Activate(Daily(23, 0));
  rig.clock.ShiftWallClock(2h);  // 22:00 to 00:00, by hand
  rig.life.Tick();
  rig.clock.AdvanceMs(500);
  rig.life.Tick();
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 10, 23, 0, 0}));
  ASSERT_EQ(rig.notices.size(), 1u);

  RunTo(rig, MakeLocalTime({2026, 12, 10, 23, 0, 0}));  // fires
  ASSERT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 12, 11, 23, 0, 0}));
  const std::string moves = rig.moves;
  rig.clock.ShiftWallClock(-10min);  // back over it
  RunTo(rig, MakeLocalTime({2026, 12, 10, 23, 30, 0}));
  EXPECT_EQ(rig.moves, moves) << "no second firing";

  rig.clock.ShiftWallClock(-std::chrono::days(30));  // back a month: counted from the new date
  rig.clock.AdvanceMs(500);
  rig.life.Tick();
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2026, 11, 10, 23, 30, 0}) + 23h + 30min);
}

TEST(Repeat, SummerTimeSkippingOrRepeatingTheTimeOfDayFiresItOnce) {
  Rig rig;
  rig.clock.SetUtcOffset(1h);
  rig.clock.SetWallClock(MakeLocalTime({2027, 3, 28, 1, 0, 0}));
  rig.Activate(Daily(2, 30, schedule::kEveryDay, Action::Shutdown, 30));
  RunTo(rig, MakeLocalTime({2027, 3, 28, 1, 59, 59}));
  rig.clock.SetUtcOffset(2h);  // 02:00 becomes 03:00
  rig.clock.AdvanceMs(1000);
  rig.life.Tick();
  EXPECT_EQ(rig.life.GetPhase(), Phase::Warning) << "not missed: no time passed";
  EXPECT_TRUE(rig.notices.empty());
  rig.life.Cancel();
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2027, 3, 29, 2, 30, 0}));
  rig.life.Cancel();

  rig.clock.SetWallClock(MakeLocalTime({2027, 10, 31, 2, 0, 0}));
  rig.Activate(Daily(2, 30, schedule::kEveryDay, Action::Lock));
  RunTo(rig, MakeLocalTime({2027, 10, 31, 2, 30, 0}));
  const std::string moves = rig.moves;
  RunTo(rig, MakeLocalTime({2027, 10, 31, 2, 59, 59}));
  rig.clock.SetUtcOffset(1h);  // 03:00 becomes 02:00 again
  RunTo(rig, MakeLocalTime({2027, 10, 31, 2, 59, 0}));
  EXPECT_EQ(rig.moves, moves) << "02:30 came twice, the schedule once";
  EXPECT_EQ(rig.life.Schedule().trigger.moment, MakeLocalTime({2027, 11, 1, 2, 30, 0}));
}

TEST(Repeat, ASingleScheduleMissedWhileAsleepComesOnlyThroughAWarning) {
  Rig rig;
  schedule::Schedule once = rig.In(600, Action::Shutdown);
  once.countdown = 0;
  rig.Activate(once);
  rig.clock.AdvanceMs(3600 * 1000u);
  rig.life.Resumed();
  EXPECT_EQ(rig.life.GetPhase(), Phase::Warning);
  EXPECT_EQ(rig.life.WarningLength(), control::kLeastLateWarning);

  Rig onTime;  // a minute late, awake all along: as it always was
  once = onTime.In(5, Action::Shutdown);
  once.countdown = 0;
  onTime.Activate(once);
  onTime.Run(5000);
  EXPECT_EQ(onTime.life.GetPhase(), Phase::Ending);
}

TEST(Repeat, TheNoticeAheadComesOnceAtItsMinutesAndNotForATargetAlreadyThatNear) {
  Rig rig;
  schedule::Schedule s = Daily(23, 0, schedule::kEveryDay, Action::Shutdown, 30);
  s.noticeMinutes = 5;
  rig.Activate(s);
  RunTo(rig, MakeLocalTime({2026, 12, 9, 22, 54, 59}));
  EXPECT_TRUE(rig.notices.empty());
  RunTo(rig, MakeLocalTime({2026, 12, 9, 22, 59, 59}));
  EXPECT_EQ(rig.notices, (std::vector<std::string>{"Shutdown in 5 minutes (23:00)"}));
  rig.life.Cancel();

  rig.notices.clear();
  s.trigger.moment = MakeLocalTime({2000, 1, 1, 23, 2, 0});
  rig.Activate(s);  // two minutes away
  RunTo(rig, MakeLocalTime({2026, 12, 9, 23, 1, 59}));
  EXPECT_TRUE(rig.notices.empty());
}

TEST(Repeat, TheWakeTimerIsSetAMinuteAheadInUtcMovesWithTheTargetAndStopsOnDeactivate) {
  Rig rig;
  rig.clock.SetUtcOffset(1h);
  rig.clock.SetWallClock(MakeLocalTime({2026, 12, 9, 22, 0, 0}));
  schedule::Schedule s = Daily(23, 0, schedule::kEveryDay, Action::Alarm);
  s.wake = true;
  rig.Activate(s);
  // 22:59 local is 21:59 UTC: FILETIME units from 1601.
  auto due = [](base::CivilTime utc) {
    const auto seconds = base::MakeLocalTime(utc).time_since_epoch().count();
    return (seconds + 11644473600LL) * 10000000LL;
  };
  auto sets = rig.fake.log.Of<kernel32::SetWaitableTimer>();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].dueTime, due({2026, 12, 9, 21, 59, 0}));
  EXPECT_TRUE(sets[0].resume);

  RunTo(rig, MakeLocalTime({2026, 12, 9, 23, 0, 0}));
  rig.life.Done();  // the alarm closed: tomorrow's
  sets = rig.fake.log.Of<kernel32::SetWaitableTimer>();
  EXPECT_EQ(sets.back().dueTime, due({2026, 12, 10, 21, 59, 0}));
  const std::size_t stops = rig.fake.log.Count<kernel32::CancelWaitableTimer>();
  rig.life.Cancel();
  EXPECT_EQ(rig.fake.log.Count<kernel32::CancelWaitableTimer>(), stops + 1);

  rig.fake.kernel32.SetLastErrorCode(os::kErrorNotSupported);  // armed, but it cannot wake anything
  rig.Activate(s);
  EXPECT_NE(rig.told.find("cannot be woken"), std::string::npos);
  EXPECT_TRUE(rig.life.Armed());
}

TEST(Repeat, DaysAreNamedAndReadAsTheCommandLineGivesThem) {
  EXPECT_EQ(schedule::DaysName(schedule::kEveryDay), "Every day");
  EXPECT_EQ(schedule::DaysName(schedule::kMondayToFriday), "Monday to Friday");
  EXPECT_EQ(schedule::DaysName(schedule::DayBit(0) | schedule::DayBit(1) | schedule::DayBit(6)), "Mon, Sat, Sun");
  EXPECT_EQ(schedule::ParseDays("DAILY"), schedule::kEveryDay);
  EXPECT_EQ(schedule::ParseDays("weekdays"), schedule::kMondayToFriday);
  EXPECT_EQ(schedule::ParseDays("mon,Wed,fri"), schedule::DayBit(1) | schedule::DayBit(3) | schedule::DayBit(5));
  for (const char* wrong : {"", "mon,", "monday", "mon;tue", ",mon"}) EXPECT_EQ(schedule::ParseDays(wrong), std::nullopt) << wrong;
}

}  // namespace
