// Schedule entry and the activation toggle.
#include "support/Harness.h"

namespace {

using base::MakeLocalTime;
using testing_support::MainWindowTest;

class Schedule : public MainWindowTest {
 protected:
  app::frmMain& StartAt(base::CivilTime now) {
    clock.SetWallClock(MakeLocalTime(now));
    return Start();
  }
  void Activate() { ASSERT_TRUE(backend.Click(M().cmdActivate)); }
};

TEST_F(Schedule, InOneHourAtTenFiresAtElevenTheSameDay) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  Activate();
  EXPECT_EQ(state.TargetTime(), MakeLocalTime({2026, 12, 6, 11, 0, 0}));
  EXPECT_EQ(m.lblActionTime.Caption(), "06 DEC 2026\r11:00:00 AM");
}

TEST_F(Schedule, TheTargetTextKeepsTheDesignatorAsTheLocaleWritesIt) {
  fake.kernel32.pm = "pm";
  auto& m = StartAt({2026, 12, 6, 13, 0, 0});
  Activate();
  EXPECT_EQ(m.lblActionTime.Caption(), "06 DEC 2026\r02:00:00 pm");
}

TEST_F(Schedule, NineHundredNinetyNineHoursIsFortyOneDaysAndFifteenHours) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  backend.Type(m.txtPeriod, "999");
  Activate();
  EXPECT_EQ(state.TargetTime(), MakeLocalTime({2027, 1, 17, 1, 0, 0}));
  EXPECT_EQ(state.TargetTime() - MakeLocalTime({2026, 12, 6, 10, 0, 0}), std::chrono::hours(41 * 24 + 15));
}

TEST_F(Schedule, NinetyMinutesAfterHalfPastTenInTheEveningCrossMidnight) {
  auto& m = StartAt({2026, 12, 31, 22, 45, 10});
  backend.Choose(m.cboTimeUnit, 1);
  backend.Type(m.txtPeriod, "90");
  Activate();
  EXPECT_EQ(state.TargetTime(), MakeLocalTime({2027, 1, 1, 0, 15, 10}));
  EXPECT_EQ(m.lblActionTime.Caption(), "01 JAN 2027\r12:15:10 AM");
}

TEST_F(Schedule, AnAtTimeAlreadyPastTodayMeansTomorrowAndThePresentSecondStaysToday) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  backend.Click(m.optTime[0]);
  backend.SetTime(m.ActTime, MakeLocalTime({2020, 1, 1, 9, 59, 59}));  // the picker's date counts for nothing
  Activate();
  EXPECT_EQ(state.TargetTime(), MakeLocalTime({2026, 12, 7, 9, 59, 59}));
  backend.Click(m.cmdActivate);
  backend.SetTime(m.ActTime, MakeLocalTime({2020, 1, 1, 10, 0, 0}));
  Activate();
  EXPECT_EQ(state.TargetTime(), MakeLocalTime({2026, 12, 6, 10, 0, 0}));
}

TEST_F(Schedule, ChoosingTheWayEnablesItsEntryControls) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  backend.Click(m.optTime[0]);
  EXPECT_TRUE(m.ActTime.Enabled());
  EXPECT_EQ(m.ActiveControl(), &m.ActTime);
  EXPECT_FALSE(m.txtPeriod.Enabled());
  EXPECT_FALSE(m.cboTimeUnit.Enabled());
  backend.Click(m.optTime[1]);
  EXPECT_FALSE(m.ActTime.Enabled());
  EXPECT_TRUE(m.txtPeriod.Enabled());
  EXPECT_TRUE(m.cboTimeUnit.Enabled());
  EXPECT_EQ(m.ActiveControl(), &m.txtPeriod);
  EXPECT_EQ(m.txtPeriod.SelLength(), 1) << "entering the amount selects it";
}

// The user types freely: at most 999 and no leading zeros at once, the caret staying at the
// end; the least amount once the amount is taken (the box left, Enter, the unit, activation).
TEST_F(Schedule, TheAmountStaysBetweenOneAndNineHundredNinetyNine) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  backend.Focus(m.txtPeriod);
  backend.Type(m.txtPeriod, "007");
  EXPECT_EQ(m.txtPeriod.Text(), "7") << "leading zeros vanish as they are typed";
  backend.Type(m.txtPeriod, "ab-+.5");
  EXPECT_EQ(m.txtPeriod.Text(), "75") << "letters and signs cannot be typed; the caret stayed at the end";
  backend.Key(m.txtPeriod, 8);
  backend.Key(m.txtPeriod, 8);
  EXPECT_EQ(m.txtPeriod.Text(), "") << "Backspace clears it while the user types";
  backend.Focus(m.cboTimeUnit);
  EXPECT_EQ(m.txtPeriod.Text(), "1") << "leaving it empty gives 1";
  backend.Focus(m.txtPeriod);
  backend.Type(m.txtPeriod, "0");
  EXPECT_EQ(m.txtPeriod.Text(), "0");
  backend.Key(m.txtPeriod, ui::vbKeyReturn);
  EXPECT_EQ(m.txtPeriod.Text(), "1") << "Enter takes it: 0 gives 1";
  backend.Focus(m.cboTimeUnit);
  backend.Focus(m.txtPeriod);
  backend.Paste(m.txtPeriod, "1500");
  EXPECT_EQ(m.txtPeriod.Text(), "150") << "cut to three characters by the box";
  m.txtPeriod.SetText("9999");
  EXPECT_EQ(m.txtPeriod.Text(), "999");
}

TEST_F(Schedule, SecondsNeedAtLeastFive) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  m.txtPeriod.SetText("3");
  backend.Choose(m.cboTimeUnit, 2);
  EXPECT_EQ(m.txtPeriod.Text(), "5");
  backend.Focus(m.txtPeriod);
  backend.Type(m.txtPeriod, "2");
  EXPECT_EQ(m.txtPeriod.Text(), "2") << "while the user types";
  ASSERT_TRUE(backend.Choose(m.mnu_activate));  // from the menu, the box keeping the focus
  EXPECT_EQ(m.txtPeriod.Text(), "5");
  EXPECT_EQ(state.TargetTime(), MakeLocalTime({2026, 12, 6, 10, 0, 5}));
}

TEST_F(Schedule, APastedAmountIsTheWholeNumberItBeginsWith) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  auto pasteOver = [&](const std::string& text) {
    backend.Focus(m.txtPeriod);  // entering selects the whole amount
    backend.Paste(m.txtPeriod, text);
    backend.Focus(m.cboTimeUnit);
    return m.txtPeriod.Text();
  };
  EXPECT_EQ(pasteOver("3,5"), "3");
  EXPECT_EQ(pasteOver("-5"), "1");
  EXPECT_EQ(pasteOver("1e2"), "1");
  EXPECT_EQ(pasteOver("abc"), "1");
  EXPECT_EQ(pasteOver(" 42"), "42");
  EXPECT_EQ(pasteOver("2.5"), "2");
  Activate();
  EXPECT_EQ(state.TargetTime(), MakeLocalTime({2026, 12, 6, 12, 0, 0})) << "2.5 hours pasted: 2 hours, not 25";
  backend.Click(m.cmdActivate);
  backend.Choose(m.cboTimeUnit, 2);
  EXPECT_EQ(pasteOver("4.9"), "5") << "seconds still start at 5";
}

TEST_F(Schedule, TheClipboardKeysReachTheAmountBeforeTheMenuShortcuts) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  backend.Focus(m.txtPeriod);
  m.txtPeriod.SetSelStart(1);
  ASSERT_TRUE(backend.Press(m, ui::Shortcut::Ctrl('A')));
  EXPECT_FALSE(m.ScheduleActive()) << "Ctrl+A selects the amount instead of activating";
  EXPECT_EQ(m.txtPeriod.SelLength(), 1);
  backend.Press(m, ui::Shortcut::Ctrl('X'));
  EXPECT_TRUE(m.Visible()) << "Ctrl+X cuts instead of exiting";
  EXPECT_EQ(backend.clipboard, "1");
  backend.clipboard = "45";
  backend.Press(m, ui::Shortcut::Ctrl('V'));
  EXPECT_EQ(m.txtPeriod.Text(), "45");
  backend.Press(m, ui::Shortcut::Ctrl('A'));
  backend.Press(m, ui::Shortcut::Ctrl('C'));
  EXPECT_EQ(backend.clipboard, "45");
  backend.Focus(m.cmdTray);
  ASSERT_TRUE(backend.Press(m, ui::Shortcut::Ctrl('A')));
  EXPECT_TRUE(m.ScheduleActive()) << "elsewhere Ctrl+A activates";
}

TEST_F(Schedule, ActivationLocksTheWindowAndStartsTheTrigger) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  Activate();
  EXPECT_EQ(m.cmdActivate.Caption(), "De&activate");
  EXPECT_TRUE(m.tmrAction.Enabled());
  EXPECT_TRUE(m.ScheduleActive());
  EXPECT_FALSE(m.frmeAction.Enabled());
  EXPECT_FALSE(m.frmeActOpt.Enabled());
  EXPECT_FALSE(m.picBG(1).Enabled());
  EXPECT_FALSE(m.picBG(1).Visible());
  EXPECT_TRUE(m.picBG(2).Visible());
  EXPECT_EQ(m.ActiveControl(), &m.cmdTray);
  EXPECT_FALSE(m.mnu_about.Enabled());
  EXPECT_FALSE(m.mnu_update.Enabled());
  EXPECT_EQ(m.mnu_activate.Caption(), "De&activate");
  EXPECT_EQ(m.mnu_Ractivate.Caption(), "De&activate");
  EXPECT_TRUE(m.Visible()) << "without the tray preference the window stays";
  EXPECT_FALSE(backend.Click(m.optExitOption[1])) << "the action cannot change while active";
}

TEST_F(Schedule, WhileActiveTheClockTicksWithTheTriggerAndStaysCurrent) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  backend.Advance(std::chrono::milliseconds(1700));  // the clock last ticked 200 ms ago
  std::vector<std::uint64_t> ticks, trigger;
  auto refreshClock = m.tmrTime.TimerEvent;
  m.tmrTime.TimerEvent = [&] {
    ticks.push_back(clock.ElapsedMs());
    refreshClock();
  };
  auto checkTrigger = m.tmrAction.TimerEvent;
  m.tmrAction.TimerEvent = [&] {
    trigger.push_back(clock.ElapsedMs());
    checkTrigger();
  };
  const std::uint64_t activated = clock.ElapsedMs();
  Activate();
  backend.Advance(std::chrono::milliseconds(2000));
  EXPECT_EQ(trigger, (std::vector<std::uint64_t>{activated + 500, activated + 1000, activated + 1500, activated + 2000}));
  EXPECT_EQ(ticks, trigger) << "one wake-up for both, every 500 ms";
  EXPECT_EQ(m.lblTime.Caption(), "06 DEC 2026\r10:00:03 AM");
}

TEST_F(Schedule, DeactivationUndoesItAndKeepsTheTarget) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  Activate();
  auto target = state.TargetTime();
  ASSERT_TRUE(backend.Press(m, ui::Shortcut::Ctrl('A')));
  EXPECT_EQ(m.cmdActivate.Caption(), "&Activate");
  EXPECT_FALSE(m.tmrAction.Enabled());
  EXPECT_TRUE(m.frmeAction.Enabled());
  EXPECT_TRUE(m.frmeActOpt.Enabled());
  EXPECT_TRUE(m.picBG(1).Enabled());
  EXPECT_TRUE(m.picBG(1).Visible());
  EXPECT_EQ(m.Caption(), ":: Quenlar 1.3 ::");
  EXPECT_TRUE(m.mnu_about.Enabled());
  EXPECT_TRUE(m.mnu_update.Enabled());
  EXPECT_EQ(m.mnu_activate.Caption(), "&Activate");
  EXPECT_EQ(m.mnu_Ractivate.Caption(), "&Activate");
  EXPECT_EQ(state.TargetTime(), target);
}

TEST_F(Schedule, TheMenuItemAndItsShortcutToggleLikeTheButton) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  ASSERT_TRUE(backend.Choose(m.mnu_activate));
  EXPECT_TRUE(m.ScheduleActive());
  ASSERT_TRUE(backend.Choose(m.mnu_activate));
  EXPECT_FALSE(m.ScheduleActive());
  ASSERT_TRUE(backend.Press(m, ui::Shortcut::Ctrl('A')));
  EXPECT_TRUE(m.ScheduleActive());
  EXPECT_EQ(m.mnu_activate.Caption(), "De&activate");
}

TEST_F(Schedule, WithTheTrayPreferenceActivationSendsTheWindowToTheTray) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  m.mnu_autotray.SetChecked(true);
  backend.Click(m.chkForced);
  Activate();
  EXPECT_FALSE(m.Visible());
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  const os::NotifyIconData& icon = fake.shell32.trayIcons.begin()->second;
  EXPECT_EQ(icon.hIcon, m.PictureHandle()) << "the active icon is the window's own";
  EXPECT_EQ(m.Caption(), "FORCED Shutdown On 06-Dec-26 At 11:00:00 AM");
  EXPECT_EQ(icon.szTip, tray::PadTip(m.Caption()));
  EXPECT_EQ(m.mnu_Ractivate.Caption(), "De&activate") << "the steps after the tray still ran";
}

TEST_F(Schedule, DeactivatingFromTheTrayRestoresThePlainCaption) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  Activate();
  backend.Click(m.cmdTray);
  EXPECT_NE(m.Caption(), ":: Quenlar 1.3 ::");
  backend.MouseMove(m, 516, 0);
  ASSERT_EQ(backend.OpenPopup(), &m.mnu_popup);
  ASSERT_TRUE(backend.ChoosePopupItem(m.mnu_Ractivate));
  EXPECT_FALSE(m.ScheduleActive());
  EXPECT_EQ(m.Caption(), ":: Quenlar 1.3 ::");
  EXPECT_EQ(m.mnu_activate.Caption(), "&Activate");
  EXPECT_FALSE(m.Visible()) << "the window stays in the tray";
}

TEST_F(Schedule, ActivatingFromTheTrayWhileHiddenStillActivates) {
  auto& m = StartAt({2026, 12, 6, 10, 0, 0});
  backend.Click(m.cmdTray);
  backend.MouseMove(m, 516, 0);
  ASSERT_TRUE(backend.ChoosePopupItem(m.mnu_Ractivate));
  EXPECT_TRUE(m.ScheduleActive()) << "the failed focus move is skipped";
  EXPECT_EQ(m.mnu_Ractivate.Caption(), "De&activate");
}

}  // namespace
