// The shared state as the other windows see it: the schedule the window describes, the values
// the state holds, and the main window reached through the state, never through its header.
#include "settings/modSettings.h"
#include "support/Harness.h"

namespace {

using testing_support::MainWindowTest;

TEST_F(MainWindowTest, OtherWindowsReadTheScheduleAndTheStateAndReachTheMainWindowThroughIt) {
  auto& m = Start();
  ASSERT_EQ(state.main, static_cast<session::MainWindow*>(&m));
  session::MainWindow& main = *state.main;
  m.txtTimeout.SetText("12");
  EXPECT_EQ(m.ScheduleFromWindow(clock.Now()).countdown, 12);
  EXPECT_TRUE(main.BeepOnTimeout());
  m.mnu_beep.SetChecked(false);
  EXPECT_FALSE(main.BeepOnTimeout());
  EXPECT_EQ(state.BeepFrequencyText, "4000");
  state.BeepFrequencyText = "2500";
  EXPECT_EQ(state.BeepFrequency(), 2500);
  EXPECT_EQ(m.ScheduleFromWindow(clock.Now()).message, "Type your Message text here");
  m.chkAlarmF.SetValue(2);
  EXPECT_FALSE(m.ScheduleFromWindow(clock.Now()).playSound) << "greyed is not ticked";
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  m.chkAlarmF.SetValue(1);
  schedule::Schedule alarm = m.ScheduleFromWindow(clock.Now());
  EXPECT_TRUE(alarm.playSound);
  EXPECT_EQ(alarm.soundFile, "C:\\Media\\ring.wav");

  EXPECT_TRUE(main.SaveSett(state.SettingsPath()));
  EXPECT_EQ(settings::SplitLines(fake.files.disk.at(state.SettingsPath())).at(14), "2500");
  state.Control.End();
  EXPECT_TRUE(main.Unload());
  EXPECT_TRUE(runtime.Ended());
  this->main.reset();
  EXPECT_EQ(state.main, nullptr) << "a destroyed main window is no longer reachable";
}

}  // namespace
