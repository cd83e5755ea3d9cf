// The shared state as the other windows see it: the main window reached through the state,
// never through its own header.
#include "settings/modSettings.h"
#include "support/Harness.h"

namespace {

using testing_support::MainWindowTest;

TEST_F(MainWindowTest, OtherWindowsReadAndWriteTheMainWindowThroughTheState) {
  auto& m = Start();
  ASSERT_EQ(state.main, static_cast<app::MainWindow*>(&m));
  app::MainWindow& main = *state.main;
  m.txtTimeout.SetText("12");
  EXPECT_EQ(main.CountdownText(), "12");
  EXPECT_TRUE(main.BeepOnTimeout());
  m.mnu_beep.SetChecked(false);
  EXPECT_FALSE(main.BeepOnTimeout());
  EXPECT_EQ(main.BeepFrequencyText(), "4000");
  main.SetBeepFrequencyText("2500");
  EXPECT_EQ(m.txtBeepFreq.Text(), "2500");
  EXPECT_EQ(main.AlarmMessage(), "Type your Message text here");
  m.chkAlarmF.SetValue(2);
  EXPECT_FALSE(main.AlarmFileTicked()) << "greyed is not ticked";
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  m.chkAlarmF.SetValue(1);
  EXPECT_TRUE(main.AlarmFileTicked());
  EXPECT_EQ(main.AlarmFilePath(), "C:\\Media\\ring.wav");

  EXPECT_TRUE(main.SaveSett(state.SettingsPath()));
  EXPECT_EQ(settings::SplitLines(fake.files.disk.at(state.SettingsPath())).at(14), "2500");
  state.ExitNow = true;
  EXPECT_TRUE(main.Unload());
  EXPECT_TRUE(runtime.Ended());
  this->main.reset();
  EXPECT_EQ(state.main, nullptr) << "a destroyed main window is no longer reachable";
}

}  // namespace
