// The action options: the action buttons and their names, the two option panels, the file
// pickers, the message box and the countdown length.
#include "support/Harness.h"

namespace {

namespace comdlg32 = os::fake::comdlg32;
namespace kernel32 = os::fake::kernel32;
namespace powrprof = os::fake::powrprof;
namespace user32 = os::fake::user32;
using namespace std::string_literals;
using testing_support::MainWindowTest;

constexpr const char* kPowerCfg = "C:\\Windows\\system32\\POWERCFG.EXE /HIBERNATE ON";
constexpr const char* kNoCountdownTip =
    "NO COUNTDOWN WILL BE DISPLAYED, AND THE SELECTED ACTION WILL BE PERFORMED INSTANTLY";

class OptionsPanel : public MainWindowTest {
 protected:
  void SetUp() override { Start(); }
  std::vector<os::OpenFileName> Dialogs() { return testing_support::DialogsShown(fake.log); }
};

TEST_F(OptionsPanel, EachActionSetsItsName) {
  const char* names[] = {"Shutdown", "Restart", "Log Off", "Hibernate", "Stand by", "Lock PC", "Alarm && Message"};
  for (int i : {1, 2, 3, 4, 5, 6, 0}) {
    ASSERT_TRUE(backend.Click(M().optExitOption[i])) << i;
    EXPECT_EQ(M().ActionName(), names[i]);
  }
  EXPECT_TRUE(boxes().Log().empty()) << "hibernation already available: no question";
  EXPECT_EQ(M().optExitOption[6].Caption(), "Alarm && &Message");
}

TEST_F(OptionsPanel, AlarmAndMessageSwapsThePanelsAndAnotherActionSwapsThemBack) {
  auto& m = M();
  EXPECT_FALSE(m.picOptions(1).Enabled()) << "at start the alarm panel waits out of view, disabled";
  EXPECT_EQ(m.picOptions(1).Top(), 1380);
  backend.Click(m.optExitOption[6]);
  EXPECT_EQ(m.picOptions(1).Top(), 200);
  EXPECT_TRUE(m.picOptions(1).Enabled());
  EXPECT_EQ(m.picOptions(0).Top(), 2000);
  EXPECT_FALSE(m.picOptions(0).Enabled());
  backend.Click(m.optExitOption[1]);
  EXPECT_EQ(m.picOptions(0).Top(), 200);
  EXPECT_TRUE(m.picOptions(0).Enabled());
  EXPECT_EQ(m.picOptions(1).Top(), 2000);
  EXPECT_FALSE(m.picOptions(1).Enabled());
  EXPECT_FALSE(backend.Type(m.txtMessage, "x")) << "the alarm panel out of view takes no input";
}

TEST_F(OptionsPanel, NothingInTheAlarmPanelOutOfViewTakesTheFocusOrAKey) {
  auto& m = M();
  auto inAlarmPanel = [&](const ui::Control* c) {
    for (; c; c = c->Parent())
      if (c == &m.picOptions(1)) return true;
    return false;
  };
  ASSERT_TRUE(backend.Focus(m.txtTimeout));
  ASSERT_TRUE(backend.KeyDown(m, ui::vbKeyTab));
  EXPECT_EQ(m.ActiveControl(), &m.scrSecond) << "Tab from the countdown goes to its spinner";
  for (int shift : {0, ui::vbShiftMask}) {
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < m.AllControls().size(); ++i) {
      backend.KeyDown(m, ui::vbKeyTab, shift);
      visited.push_back(m.ActiveControl()->Name());
      EXPECT_FALSE(inAlarmPanel(m.ActiveControl())) << testing::PrintToString(visited);
    }
  }
  EXPECT_FALSE(backend.Focus(m.txtMessage));
  EXPECT_FALSE(backend.Type(m.txtMessage, "x"));
  EXPECT_FALSE(backend.Click(m.chkAlarmF));
  EXPECT_EQ(m.txtMessage.Text(), "Type your Message text here");
  EXPECT_EQ(fake.log.Count<comdlg32::GetOpenFileNameA>(), 0u);
}

TEST_F(OptionsPanel, DisabledHibernationCanBeSwitchedOnThroughPowerCfg) {
  fake.powrprof.hibernateAllowed = 0;
  fake.kernel32.processRunsForWaits = 3;
  fake.kernel32.OnProcessEnded = [this](const std::string& command) {
    if (command == kPowerCfg) fake.powrprof.hibernateAllowed = 1;
  };
  boxes().Answer(ui::vbYes);
  boxes().Answer(ui::vbOK);
  backend.Click(M().optExitOption[3]);
  ASSERT_EQ(boxes().Log().size(), 2u);
  EXPECT_EQ(boxes().Log()[0].text, "Hibernate is currently Disabled!     \rDo you want to Enable it Now?");
  EXPECT_EQ(boxes().Log()[0].style, ui::mb::kYesNo | ui::mb::kQuestion);
  EXPECT_EQ(boxes().Log()[1].text, "Hibernate is Enabled Successfully!     ");
  EXPECT_EQ(boxes().Log()[1].style, ui::mb::kInformation);
  EXPECT_TRUE(M().optExitOption[3].Value());
  EXPECT_EQ(M().ActionName(), "Hibernate");
  EXPECT_EQ(fake.log.Of<kernel32::CreateProcessA>(), (std::vector{kernel32::CreateProcessA{kPowerCfg, 2}}));
  const os::Handle process = fake.log.Of<kernel32::GetExitCodeProcess>().front().process;
  const user32::MsgWaitForMultipleObjects wait{{process}, false, os::kInfinite, os::kQsAllInput};
  EXPECT_EQ(fake.log.Of<user32::MsgWaitForMultipleObjects>(), (std::vector{wait, wait, wait}))
      << "the wait sleeps until the process ends, serving messages meanwhile";
  EXPECT_EQ(fake.kernel32.OpenHandles(), 1u) << "only the instance mutex stays open";
}

TEST_F(OptionsPanel, AFailedSwitchOnFallsBackToShutdown) {
  fake.powrprof.hibernateAllowed = 0;
  boxes().Answer(ui::vbYes);
  boxes().Answer(ui::vbOK);
  backend.Click(M().optExitOption[3]);
  EXPECT_EQ(LastBox(), "There was an error Enabling Hibernate!     ");
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kCritical);
  EXPECT_TRUE(M().optExitOption[0].Value());
  EXPECT_FALSE(M().optExitOption[3].Value());
  EXPECT_EQ(M().ActionName(), "Shutdown");
}

TEST_F(OptionsPanel, ACommandThatCannotStartIsAFailedSwitchOnNotAnError) {
  fake.powrprof.hibernateAllowed = 0;
  fake.kernel32.processStarts = false;  // there is no POWERCFG.EXE
  boxes().Answer(ui::vbYes);
  boxes().Answer(ui::vbOK);
  backend.Click(M().optExitOption[3]);
  ASSERT_EQ(boxes().Log().size(), 2u);
  EXPECT_EQ(LastBox(), "There was an error Enabling Hibernate!     ");
  EXPECT_EQ(M().ActionName(), "Shutdown");
  EXPECT_EQ(fake.log.Count<user32::MsgWaitForMultipleObjects>(), 0u);
}

TEST_F(OptionsPanel, WithoutTheSystemFolderPowerCfgIsNotStartedByItsBareName) {
  fake.powrprof.hibernateAllowed = 0;
  fake.kernel32.systemDirectory = "";
  boxes().Answer(ui::vbYes);
  boxes().Answer(ui::vbOK);
  backend.Click(M().optExitOption[3]);
  EXPECT_EQ(fake.log.Count<kernel32::CreateProcessA>(), 0u);
  EXPECT_EQ(LastBox(), "There was an error Enabling Hibernate!     ");
  EXPECT_EQ(M().ActionName(), "Shutdown");
}

TEST_F(OptionsPanel, ClosingTheProgramDuringTheSwitchOnShowsNothingMore) {
  fake.powrprof.hibernateAllowed = 0;
  fake.kernel32.processRunsForWaits = 1000;
  M().mnu_confirm.SetChecked(true);
  fake.user32.OnWait = [this] { M().Unload(); };  // the user quits while POWERCFG runs
  boxes().Answer(ui::vbYes);
  backend.Click(M().optExitOption[3]);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(boxes().Log().size(), 1u) << "no result message after the end";
}

TEST_F(OptionsPanel, DecliningFallsBackToShutdownQuietly) {
  fake.powrprof.hibernateAllowed = 0;
  boxes().Answer(ui::vbNo);
  backend.Click(M().optExitOption[3]);
  EXPECT_EQ(boxes().Log().size(), 1u);
  EXPECT_TRUE(M().optExitOption[0].Value());
  EXPECT_EQ(M().ActionName(), "Shutdown");
  EXPECT_EQ(fake.log.Count<kernel32::CreateProcessA>(), 0u);
}

TEST_F(OptionsPanel, ASystemWithoutTheHibernationQueryCannotHibernate) {
  fake.powrprof.ThrowOn<powrprof::IsPwrHibernateAllowed>();
  boxes().Answer(ui::vbNo);
  backend.Click(M().optExitOption[3]);
  EXPECT_EQ(LastBox(), "Hibernate is currently Disabled!     \rDo you want to Enable it Now?");
  EXPECT_EQ(M().ActionName(), "Shutdown");
}

TEST_F(OptionsPanel, TickingAFileOptionWithoutAFileOpensThePickerAndCancelUnticks) {
  auto& m = M();
  EXPECT_FALSE(backend.Click(m.chkAlarmF)) << "out of view until Alarm & Message is chosen";
  backend.Click(m.optExitOption[6]);
  backend.Click(m.chkAlarmF);
  ASSERT_EQ(Dialogs().size(), 1u);
  EXPECT_EQ(Dialogs()[0].lpstrTitle, "Select Media File for Alarm");
  EXPECT_EQ(Dialogs()[0].lpstrFilter, "Media Files (*.mp3,*.wma,*.wav,*.mpg,*.avi)\0*.mp3;*.wma;*.wav;*.mpg;*.avi\0"s);
  EXPECT_EQ(Dialogs()[0].hwndOwner, m.hWnd());
  EXPECT_EQ(m.chkAlarmF.Value(), 0);
  EXPECT_FALSE(m.txtAlarmF.Enabled());
  EXPECT_FALSE(m.cmdAlarmF.Enabled());
  EXPECT_EQ(m.txtAlarmF.Text(), "Select File...");
}

TEST_F(OptionsPanel, AChosenFileFillsThePathWithTheCaretAtItsEnd) {
  auto& m = M();
  fake.comdlg32.dialogAnswers.push_back({"C:\\Tools\\", "run.bat"});
  backend.Click(m.chkExecFile);
  ASSERT_EQ(Dialogs().size(), 1u);
  EXPECT_EQ(Dialogs()[0].lpstrTitle, "Select File to be Executed");
  EXPECT_EQ(Dialogs()[0].lpstrFilter,
            "All Executable Files (*.exe,*.bat,*.com)\0*.exe;*.bat;*.com\0All Files (*.*)\0*.*\0"s);
  EXPECT_EQ(m.txtExecF.Text(), "C:\\Tools\\run.bat");
  EXPECT_EQ(m.txtExecF.SelStart(), 16);
  EXPECT_EQ(m.chkExecFile.Value(), 1);
  EXPECT_TRUE(m.txtExecF.Enabled());
  EXPECT_TRUE(m.cmdExecF.Enabled());

  backend.Click(m.chkExecFile);  // unticked: disabled, the path stays
  EXPECT_FALSE(m.txtExecF.Enabled());
  EXPECT_EQ(m.txtExecF.Text(), "C:\\Tools\\run.bat");
  backend.Click(m.chkExecFile);  // ticked again with a path: no picker
  EXPECT_EQ(Dialogs().size(), 1u);
  EXPECT_TRUE(m.cmdExecF.Enabled());

  backend.Click(m.cmdExecF);  // a cancel while a path is chosen changes nothing
  ASSERT_EQ(Dialogs().size(), 2u);
  EXPECT_EQ(Dialogs()[1].lpstrFile, "C:\\Tools\\run.bat") << "the dialog starts with the last name";
  EXPECT_EQ(m.chkExecFile.Value(), 1);
  EXPECT_EQ(m.txtExecF.Text(), "C:\\Tools\\run.bat");
}

TEST_F(OptionsPanel, DoubleClickingAPathClearsItAndUnticksTheOption) {
  auto& m = M();
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  backend.Click(m.optExitOption[6]);
  backend.Click(m.chkAlarmF);
  ASSERT_EQ(m.txtAlarmF.Text(), "C:\\Media\\ring.wav");
  backend.DoubleClick(m.txtAlarmF);
  EXPECT_EQ(m.txtAlarmF.Text(), "Select File...");
  EXPECT_EQ(m.chkAlarmF.Value(), 0);
  EXPECT_FALSE(m.txtAlarmF.Enabled());
}

TEST_F(OptionsPanel, ThePathBoxesCannotBeTypedInAndEmptyMeansNoFile) {
  auto& m = M();
  fake.comdlg32.dialogAnswers.push_back({"C:\\", "x.exe"});
  backend.Click(m.chkExecFile);
  backend.Type(m.txtExecF, "abc");
  EXPECT_EQ(m.txtExecF.Text(), "C:\\x.exe");
  m.txtExecF.SetText("");
  EXPECT_EQ(m.txtExecF.Text(), "Select File...");
}

TEST_F(OptionsPanel, AFailingPickerLeavesEverythingAsItWas) {
  fake.comdlg32.ThrowOn<comdlg32::GetOpenFileNameA>();
  backend.Click(M().chkExecFile);
  EXPECT_EQ(M().chkExecFile.Value(), 1);
  EXPECT_EQ(M().txtExecF.Text(), "Select File...");
  EXPECT_TRUE(boxes().Log().empty()) << "no message";
}

TEST_F(OptionsPanel, TheMessageBoxSelectsOnEntryAndRefillsWhenLeftEmpty) {
  auto& m = M();
  backend.Click(m.optExitOption[6]);
  backend.Focus(m.txtMessage);
  EXPECT_EQ(m.txtMessage.SelLength(), 27);
  backend.Key(m.txtMessage, 8);
  EXPECT_EQ(m.txtMessage.Text(), "");
  backend.Focus(m.optExitOption[6]);
  EXPECT_EQ(m.txtMessage.Text(), "Type your Message text here");
  backend.Focus(m.txtMessage);
  backend.Type(m.txtMessage, std::string(70, 'w'));
  EXPECT_EQ(m.txtMessage.Text().size(), 65u);
}

TEST_F(OptionsPanel, DeletingTheCountdownShowsTheNoCountdownWarning) {
  auto& m = M();
  backend.Focus(m.txtTimeout);
  m.txtTimeout.SetSelStart(2);
  backend.Key(m.txtTimeout, 8);
  backend.Key(m.txtTimeout, 8);
  EXPECT_EQ(m.txtTimeout.Text(), "0");
  EXPECT_EQ(m.txtTimeout.BackColor(), ui::Rgb(255, 128, 128));
  EXPECT_EQ(m.txtTimeout.ToolTipText(), kNoCountdownTip);
  EXPECT_EQ(m.scrSecond.Value(), 0);
  backend.Type(m.txtTimeout, "5");
  EXPECT_EQ(m.txtTimeout.Text(), "5") << "a digit typed after the 0 gives 5 seconds, not 50";
  EXPECT_EQ(m.scrSecond.Value(), 5);
  EXPECT_EQ(m.txtTimeout.BackColor(), ui::kSystemWindowBackground);
  EXPECT_EQ(m.txtTimeout.ToolTipText(), "Countdown time in seconds, before taking action");
}

TEST_F(OptionsPanel, TwoDigitsAreSelectedSoTheNextDigitStartsAfresh) {
  auto& m = M();
  backend.Focus(m.txtTimeout);
  EXPECT_EQ(m.txtTimeout.SelLength(), 2);
  backend.Type(m.txtTimeout, "45");
  EXPECT_EQ(m.txtTimeout.Text(), "45");
  EXPECT_EQ(m.txtTimeout.SelLength(), 2);
  EXPECT_EQ(m.scrSecond.Value(), 45);
  backend.Type(m.txtTimeout, "7");
  EXPECT_EQ(m.txtTimeout.Text(), "7");
  backend.Type(m.txtTimeout, "x-");
  EXPECT_EQ(m.txtTimeout.Text(), "7") << "only digits reach the box";
}

TEST_F(OptionsPanel, TheSpinnerAndTheBoxAlwaysAgree) {
  auto& m = M();
  backend.LineUp(m.scrSecond);
  EXPECT_EQ(m.txtTimeout.Text(), "31") << "the up arrow raises the countdown";
  m.scrSecond.SetValue(99);
  backend.LineUp(m.scrSecond);
  EXPECT_EQ(m.txtTimeout.Text(), "99") << "99 is the top";
  m.scrSecond.SetValue(0);
  EXPECT_EQ(m.txtTimeout.Text(), "0");
  backend.LineDown(m.scrSecond);  // -1 bounces back to 0 with the warning colour
  EXPECT_EQ(m.scrSecond.Value(), 0);
  EXPECT_EQ(m.txtTimeout.Text(), "0");
  EXPECT_EQ(m.txtTimeout.BackColor(), ui::Rgb(255, 128, 128));
  EXPECT_EQ(m.scrSecond.Min(), 99);
  EXPECT_EQ(m.scrSecond.Max(), -1);
}

TEST_F(OptionsPanel, WhileActiveThePanelTakesNoInput) {
  backend.Click(M().cmdActivate);
  EXPECT_FALSE(backend.Click(M().chkForced));
  EXPECT_FALSE(backend.Type(M().txtTimeout, "5"));
  EXPECT_FALSE(backend.LineUp(M().scrSecond));
}

}  // namespace
