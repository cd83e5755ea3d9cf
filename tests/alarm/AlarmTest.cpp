// The alarm window, shown the way the alarm action shows it: the main window hidden, the
// program set to end.
#include <gtest/gtest.h>

#include <memory>

#include "alarm/frmAlarm.h"
#include "support/Harness.h"

namespace {

using app::alarm::GetFilePart;
using os::fake::Calls;
namespace quartz = os::fake::quartz;
namespace shell32 = os::fake::shell32;
namespace user32 = os::fake::user32;
namespace files = os::fake::files;

TEST(GetFilePart, TakesTheExtensionTheNameItsStemAndTheFolder) {
  const std::string path = "C:\\Media\\wake.up.mp3";
  EXPECT_EQ(GetFilePart(path, 0), "mp3");
  EXPECT_EQ(GetFilePart(path, 1), "wake");
  EXPECT_EQ(GetFilePart(path, 2), "wake.up.mp3");
  EXPECT_EQ(GetFilePart(path, 3), "C:\\Media\\");
  EXPECT_EQ(GetFilePart(path, 4), "");
  EXPECT_EQ(GetFilePart(path, -1), "");
}

TEST(GetFilePart, EdgesOfDotsBackslashesAndRepeatedNames) {
  EXPECT_EQ(GetFilePart("C:\\my.dir\\tune", 0), "dir\\tune") << "the last dot of the whole path";
  EXPECT_EQ(GetFilePart("C:\\my.dir\\tune", 1), "tune");
  EXPECT_EQ(GetFilePart("tune.wav", 2), "tune.wav");
  EXPECT_EQ(GetFilePart("tune.wav", 3), "");
  EXPECT_EQ(GetFilePart("C:\\song\\song", 3), "C:\\\\") << "every occurrence goes";
  EXPECT_EQ(GetFilePart("C:\\Song\\song", 3), "C:\\Song\\") << "compared with letter case";
  EXPECT_EQ(GetFilePart("C:\\Media\\", 2), "");
  EXPECT_EQ(GetFilePart("C:\\Media\\", 3), "C:\\Media\\");
  EXPECT_EQ(GetFilePart("C:\\Media\\", 0), "");
  EXPECT_EQ(GetFilePart("", 1), "");
  EXPECT_EQ(GetFilePart("Select File...", 2), "Select File...");
}

class Alarm : public testing_support::MainWindowTest {
 protected:
  static constexpr const char* kTune = "C:\\Media\\wake.up.mp3";
  void SetUp() override {
    Start();
    fake.quartz.playableFiles.insert(kTune);
    M().txtMessage.SetText("Time to go");
  }
  // The trigger's part: the schedule the window describes activated, the main window hidden,
  // the program set to end, the window shown.
  app::alarm::frmAlarm& Fire() {
    std::string refusal;
    state.Control.Activate(M().ScheduleFromWindow(clock.Now()), refusal);
    M().Hide();
    state.Control.End();
    alarm = std::make_unique<app::alarm::frmAlarm>(runtime, state);
    alarm->Show();
    return *alarm;
  }
  void TickAlarmFile(const std::string& path) {
    M().txtAlarmF.SetText(path);
    M().chkAlarmF.SetValue(1);
  }
  const os::fake::Quartz::Graph& Graph() { return *fake.quartz.Graphs().at(0); }
  std::unique_ptr<app::alarm::frmAlarm> alarm;
};

TEST_F(Alarm, OpensTitledWithTheMessagePlayingTheFileAboveEverythingWithoutTheTrayIcon) {
  backend.Click(M().cmdTray);
  TickAlarmFile(kTune);
  fake.log.Clear();
  app::alarm::frmAlarm& a = Fire();
  EXPECT_TRUE(a.Visible());
  EXPECT_EQ(a.Caption(), ":: Quenlar 1.3 - Alarm ::");
  EXPECT_EQ(a.lblAlarmM.Caption(), "Time to go");
  EXPECT_EQ(a.stsBar.GetPanel(1).text, "File to Play : wake.up.mp3");
  EXPECT_EQ(a.stsBar.GetPanel(1).toolTipText, "File Path = C:\\Media\\wake.up.mp3");
  EXPECT_EQ((fake.log.Only<quartz::CreateFilgraphManager, quartz::RenderFile, quartz::Run, quartz::put_CurrentPosition>()),
            (Calls{quartz::CreateFilgraphManager{}, quartz::RenderFile{1, kTune}, quartz::Run{1},
                   quartz::put_CurrentPosition{1, 0.0}}));
  EXPECT_TRUE(Graph().running);
  EXPECT_EQ(Graph().references, 3);
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
  EXPECT_EQ(fake.log.Of<user32::SetWindowPos>(),
            (std::vector{user32::SetWindowPos{a.hWnd(), os::kHwndTopMost, 0, 0, 0, 0, 0x43}}));
  // Each activation makes it top-most again.
  M().Show();
  backend.ActivateForm(a);
  EXPECT_EQ(fake.log.Count<user32::SetWindowPos>(), 2u);
}

TEST_F(Alarm, ThePlaceholderPathIsNamedAndPlaysNothing) {
  TickAlarmFile("C:\\old.wav");
  M().txtAlarmF.SetText("Select File...");  // ticked with no file, as a settings file can leave it
  app::alarm::frmAlarm& a = Fire();
  EXPECT_EQ(a.stsBar.GetPanel(1).text, "File to Play : Select File...");
  EXPECT_EQ(a.stsBar.GetPanel(1).toolTipText, "File Path = Select File...");
  EXPECT_EQ(fake.log.Of<quartz::RenderFile>(), (std::vector{quartz::RenderFile{1, "Select File..."}}));
  EXPECT_FALSE(Graph().running);
  EXPECT_TRUE(a.Visible());
  EXPECT_TRUE(boxes().Log().empty());
}

TEST_F(Alarm, WithoutTheFileOptionNothingLoadsAndClosingStillGoesWell) {
  M().txtAlarmF.SetText(kTune);
  M().chkAlarmF.SetValue(2);  // greyed counts as not ticked
  app::alarm::frmAlarm& a = Fire();
  EXPECT_EQ(a.stsBar.GetPanel(1).text, "Media File Not Loaded");
  EXPECT_EQ(a.stsBar.GetPanel(1).toolTipText, "");
  EXPECT_EQ(fake.log.Count<quartz::CreateFilgraphManager>(), 0u);
  backend.Click(a.cmdOk);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_TRUE(boxes().Log().empty());
}

TEST_F(Alarm, EachPlaybackStepThatFailsIsLeftOutAndTheWindowStays) {
  TickAlarmFile(kTune);
  fake.quartz.ThrowOn<quartz::RenderFile>();
  app::alarm::frmAlarm& a = Fire();
  EXPECT_EQ((fake.log.Only<quartz::Run, quartz::put_CurrentPosition>()),
            (Calls{quartz::Run{1}, quartz::put_CurrentPosition{1, 0.0}}));
  EXPECT_EQ(a.stsBar.GetPanel(1).text, "File to Play : wake.up.mp3");

  // No playback object at all: nothing plays, nothing is said, the window works.
  alarm.reset();
  fake.quartz.ThrowOn<quartz::CreateFilgraphManager>();
  fake.log.Clear();
  Fire();
  EXPECT_EQ(fake.log.Count<quartz::Run>(), 0u);
  EXPECT_TRUE(alarm->Visible());
  EXPECT_EQ(alarm->lblAlarmM.Caption(), "Time to go");
  EXPECT_TRUE(boxes().Log().empty());
}

TEST_F(Alarm, CloseSavesThenStopsTheMediaLeavesTheTopAndEndsTheProgram) {
  TickAlarmFile(kTune);
  app::alarm::frmAlarm& a = Fire();
  os::HWnd window = a.hWnd();
  fake.log.Clear();
  backend.Click(a.cmdOk);
  const std::string settings = state.SettingsPath();
  EXPECT_EQ((fake.log.Only<files::ReplaceFileContents, quartz::Stop, user32::SetWindowPos, shell32::Shell_NotifyIconA>()),
            (Calls{files::ReplaceFileContents{settings, fake.files.disk[settings]}, quartz::Stop{1},
                   user32::SetWindowPos{window, os::kHwndNoTopMost, 0, 0, 0, 0, 3},
                   shell32::Shell_NotifyIconA{os::kNimDelete, state.TrayRecord},
                   files::ReplaceFileContents{settings, fake.files.disk[settings]}}))
      << "the alarm's own save, then the main window's unload with its save";
  EXPECT_FALSE(Graph().running);
  EXPECT_EQ(Graph().references, 0) << "the playback object is released";
  EXPECT_FALSE(a.IsLoaded());
  EXPECT_FALSE(M().IsLoaded());
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Alarm, TheCloseBoxAlsoStopsReleasesAndEnds) {
  TickAlarmFile(kTune);
  app::alarm::frmAlarm& a = Fire();
  backend.CloseBox(a);
  EXPECT_EQ(fake.log.Count<quartz::Stop>(), 1u);
  EXPECT_EQ(Graph().references, 0);
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Alarm, ALoadThatFailsSaysNothingPlaysAndTheWindowGoes) {
  session::MainWindow* main = state.main;
  state.main = nullptr;
  app::alarm::frmAlarm& a = Fire();
  EXPECT_FALSE(a.IsLoaded());
  EXPECT_EQ(a.stsBar.GetPanel(1).text, "Media File Not Loaded");
  EXPECT_EQ(a.stsBar.GetPanel(1).toolTipText, "");
  EXPECT_TRUE(boxes().Log().empty());
  state.main = main;
}

// Bold Arial 9.75 pt measures 117 twips a character on the in-memory backend; the window is
// 2835 + 120 twips wide as designed.
TEST_F(Alarm, TheWindowFitsTheMessageWithTheCloseButtonInTheMiddle) {
  M().txtMessage.SetText(std::string(16, 'x'));
  app::alarm::frmAlarm& a = Fire();
  EXPECT_EQ(a.lblAlarmM.Width(), 1872);
  EXPECT_EQ(a.Width(), 3172);
  EXPECT_EQ(a.cmdOk.Left(), 964) << "1586 - 622.5 goes to the even neighbour";
  a.lblAlarmM.SetCaption(std::string(65, 'W'));
  EXPECT_EQ(a.Width(), 7605 + 1300);
  EXPECT_EQ(a.cmdOk.Left(), 3830) << "4452.5 - 622.5";
  a.lblAlarmM.SetCaption("Hi");
  EXPECT_EQ(a.Width(), 2955) << "never narrower than designed: the title and the status text keep their room";
  EXPECT_EQ(a.cmdOk.Left(), 855);
  EXPECT_EQ(a.cmdOk.Top(), 800);
  EXPECT_EQ(a.Height(), 1605 + backend.NonClientSize(a).height) << "the height stays as designed";
}

TEST_F(Alarm, AMessageThatIsTheLabelsOwnTextIsLaidOutTooAndEveryAmpersandShows) {
  M().txtMessage.SetText("Alarm Message...");
  app::alarm::frmAlarm& a = Fire();
  EXPECT_EQ(a.Width(), 16 * 117 + 1300) << "laid out although the caption did not change";
  a.lblAlarmM.SetCaption("Rock & Roll && more");
  EXPECT_EQ(a.lblAlarmM.Width(), 19 * 117) << "no \"&\" taken for an access key";
}

}  // namespace
