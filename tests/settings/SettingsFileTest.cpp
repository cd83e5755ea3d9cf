// The settings file: what is written, what is read back, and what a damaged file does.
#include "app/Settings.h"
#include "settings/modSettings.h"

#include "support/Harness.h"

namespace {

namespace comdlg32 = os::fake::comdlg32;
namespace files = os::fake::files;
using testing_support::MainWindowTest;

constexpr const char* kPath = "C:\\Program Files\\Quenlar\\settings.qnl";

const std::vector<std::string> kDefaults = {
    "True", "False", "False", "False", "False", "False", "False", "0", "0", "0", "True", "False", "False",
    "30",   "4000",  "Select File...", "Select File...", "Type your Message text here",
    // the "Activate When" window's: condition, program, idle minutes, CPU %, its minutes, KB/s, its minutes
    "0", "", "30", "10", "5", "50", "5",
    // Allow Postpone in the Warning, its minutes, Keep the Computer Awake until Then
    "False", "10", "False",
    // the repeat's days, Wake the computer, Notify Before, the repeating schedule active
    "0", "False", "", ""};

std::vector<std::string> Lines(app::frmMain& m) { return app::ToLines(m.SettingsFromWindow()); }

class SettingsFile : public MainWindowTest {
 protected:
  // Starts the program with this file in its folder.
  app::frmMain& StartWith(const std::vector<std::string>& lines) {
    fake.files.disk[kPath] = settings::JoinLines(lines);
    return Start();
  }
  std::vector<std::string> Saved() { return settings::SplitLines(fake.files.disk.at(kPath)); }
  void Quit() {
    M().mnu_confirm.SetChecked(true);
    ASSERT_TRUE(backend.CloseBox(M()));
  }
  static std::vector<std::string> With(std::vector<std::string> lines, int line, const std::string& value) {
    lines.at(line - 1) = value;
    return lines;
  }
};

TEST_F(SettingsFile, DefaultsAreWrittenLineByLineWithCrLf) {
  Start();
  state.Control.End();
  M().Unload();
  const std::string& bytes = fake.files.disk.at(kPath);
  EXPECT_EQ(bytes, settings::JoinLines(kDefaults));
  EXPECT_EQ(bytes.substr(0, 12), "True\r\nFalse\r");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "the last line ends with CR LF too";
}

TEST_F(SettingsFile, AFileWrittenByTheProgramLoadsBackToTheSameState) {
  auto& m = Start();
  fake.comdlg32.dialogAnswers.push_back({"C:\\Tools\\", "run.bat"});
  backend.Click(m.chkExecFile);
  backend.Click(m.chkForced);
  backend.Click(m.optExitOption[2]);
  m.mnu_beep.SetChecked(false);
  m.mnu_autotray.SetChecked(true);
  m.txtTimeout.SetText("12");
  state.BeepFrequencyText = "2500";
  m.txtMessage.SetText("Tea & biscuits");
  Quit();
  std::vector<std::string> first = Saved();

  testing_support::Harness again;  // a new run of the program over the same file
  again.fake.files.disk = fake.files.disk;
  app::frmMain second(again.runtime, again.state);
  second.Initialize();
  second.Show();
  EXPECT_TRUE(second.optExitOption[2].Value());
  EXPECT_EQ(second.ActionName(), "Log Off");
  EXPECT_EQ(second.chkForced.Value(), 1);
  EXPECT_EQ(second.chkExecFile.Value(), 1);
  EXPECT_TRUE(second.txtExecF.Enabled());
  EXPECT_EQ(second.txtExecF.Text(), "C:\\Tools\\run.bat");
  EXPECT_FALSE(second.mnu_beep.Checked());
  EXPECT_TRUE(second.mnu_autotray.Checked());
  EXPECT_EQ(second.txtTimeout.Text(), "12");
  EXPECT_EQ(second.scrSecond.Value(), 12);
  EXPECT_EQ(again.state.BeepFrequencyText, "2500");
  EXPECT_EQ(second.txtMessage.Text(), "Tea & biscuits");
  EXPECT_EQ(Lines(second), first);
  EXPECT_EQ(again.fake.log.Count<comdlg32::GetOpenFileNameA>(), 0u) << "loading never opens a dialog";
}

TEST_F(SettingsFile, BooleanLinesTakeWordsInAnyCaseAndNumbers) {
  auto lines = With(With(With(kDefaults, 1, "FALSE"), 2, "true"), 11, "0");
  lines = With(lines, 12, "-1");
  auto& m = StartWith(With(With(lines, 13, "yes"), 4, "TRUE"));
  EXPECT_TRUE(m.optExitOption[3].Value());
  EXPECT_FALSE(m.optExitOption[1].Value()) << "line 2 selected Restart, line 4 then Hibernate";
  EXPECT_FALSE(m.optExitOption[0].Value());
  EXPECT_FALSE(m.mnu_beep.Checked());
  EXPECT_TRUE(m.mnu_confirm.Checked());
  EXPECT_FALSE(m.mnu_autotray.Checked()) << "yes is unusable: the tick stays as it was";
}

TEST_F(SettingsFile, CheckLinesTakeZeroOneOrTwo) {
  auto& m = StartWith(With(With(kDefaults, 8, "1"), 10, "2"));
  EXPECT_EQ(m.chkForced.Value(), 1);
  EXPECT_EQ(m.chkAlarmF.Value(), 2) << "greyed";
  EXPECT_FALSE(m.txtAlarmF.Enabled()) << "only a ticked box enables its path";
}

TEST_F(SettingsFile, UnusableCheckLinesLeaveTheBoxAndKeepTheLinePositions) {
  auto& m = StartWith(With(With(kDefaults, 8, "5"), 9, "x"));
  EXPECT_EQ(m.chkForced.Value(), 0);
  EXPECT_EQ(m.chkExecFile.Value(), 0);
  EXPECT_EQ(m.txtTimeout.Text(), "30") << "the following lines keep their places";
}

// No action selected would announce a shutdown and carry out nothing.
TEST_F(SettingsFile, AFileThatSelectsNoActionSelectsShutdown) {
  auto none = With(With(kDefaults, 1, "False"), 4, "yes");  // "yes" is no Boolean: Hibernate stays off
  auto& m = StartWith(none);
  EXPECT_TRUE(m.optExitOption[0].Value());
  for (int i = 1; i <= 6; ++i) EXPECT_FALSE(m.optExitOption[i].Value()) << i;
  EXPECT_EQ(M().ActionName(), "Shutdown");
}

TEST_F(SettingsFile, TwoTrueActionsSelectTheLaterOne) {
  auto& m = StartWith(With(With(kDefaults, 2, "True"), 5, "True"));
  EXPECT_TRUE(m.optExitOption[4].Value());
  EXPECT_FALSE(m.optExitOption[1].Value());
  EXPECT_EQ(M().ActionName(), "Stand by");
}

TEST_F(SettingsFile, AStoredStandByThatTheSystemDoesNotOfferFallsBackToShutdown) {
  fake.powrprof.suspendAllowed = 0;
  auto& m = StartWith(With(With(kDefaults, 1, "False"), 5, "True"));
  EXPECT_TRUE(m.optExitOption[0].Value());
  EXPECT_EQ(M().ActionName(), "Shutdown");
  EXPECT_FALSE(m.optExitOption[4].Enabled());
}

TEST_F(SettingsFile, AStoredLockOnTheWindows9xFamilyFallsBackToShutdown) {
  fake.kernel32.version.dwPlatformId = 1;
  auto& m = StartWith(With(With(kDefaults, 1, "False"), 6, "True"));
  EXPECT_TRUE(m.optExitOption[0].Value());
  EXPECT_EQ(M().ActionName(), "Shutdown");
  EXPECT_FALSE(m.optExitOption[5].Enabled());
}

// Loading runs none of the controls' handlers: the Hibernate option's question and a ticked file
// option's picker would open in front of a window not yet shown.
TEST_F(SettingsFile, AStoredHibernateFallsBackToShutdownWithoutAskingWhenHibernationIsOff) {
  fake.powrprof.hibernateAllowed = 0;
  auto& m = StartWith(With(With(kDefaults, 1, "False"), 4, "True"));
  EXPECT_TRUE(boxes().Log().empty());
  EXPECT_TRUE(m.optExitOption[0].Value());
  EXPECT_TRUE(m.optExitOption[3].Enabled()) << "the user may still choose it and be asked";
  EXPECT_EQ(M().ActionName(), "Shutdown");
}

TEST_F(SettingsFile, LoadingAgainRaisesNoHandlerAndOpensNoDialog) {
  auto& m = Start();
  fake.powrprof.hibernateAllowed = 1;
  int raised = 0;
  m.optExitOption.ForEach([&](ui::OptionButton& option) { option.Click = [&](int) { ++raised; }; });
  for (ui::CheckBox* box : {&m.chkForced, &m.chkExecFile, &m.chkAlarmF}) box->Click = [&] { ++raised; };
  for (ui::TextBox* box : {&m.txtTimeout, &m.txtExecF, &m.txtAlarmF, &m.txtMessage}) box->Change = [&] { ++raised; };
  m.scrSecond.Change = [&] { ++raised; };
  // Both file options ticked while their boxes hold the placeholder: a handler would ask for a file.
  std::vector<std::string> lines = With(With(With(With(kDefaults, 1, "False"), 4, "True"), 9, "1"), 10, "1");
  fake.files.disk[kPath] = settings::JoinLines(With(With(lines, 14, "-5"), 18, "Tea"));
  ASSERT_TRUE(m.LoadSett(kPath));
  EXPECT_EQ(raised, 0);
  EXPECT_EQ(fake.log.Count<comdlg32::GetOpenFileNameA>(), 0u);
  EXPECT_TRUE(m.optExitOption[3].Value());
  EXPECT_EQ(M().ActionName(), "Hibernate");
  EXPECT_TRUE(m.txtExecF.Enabled() && m.cmdExecF.Enabled() && m.txtAlarmF.Enabled() && m.cmdAlarmF.Enabled());
  EXPECT_EQ(m.txtExecF.Text(), "Select File...");
  EXPECT_EQ(m.txtMessage.Text(), "Tea");
  EXPECT_EQ(m.txtTimeout.Text(), "0") << "as the box's own rule leaves a countdown of none";
  EXPECT_EQ(m.txtTimeout.BackColor(), app::design::kNoCountdownColor);
  EXPECT_EQ(m.txtTimeout.ToolTipText(), app::design::kNoCountdownTip);
  EXPECT_EQ(m.scrSecond.Value(), 0);
}

TEST_F(SettingsFile, AStoredAlarmChoiceBringsTheAlarmPanel) {
  auto& m = StartWith(With(With(kDefaults, 1, "False"), 7, "True"));
  EXPECT_EQ(M().ActionName(), "Alarm && Message");
  EXPECT_EQ(m.picOptions(1).Top(), 200);
}

TEST_F(SettingsFile, TextsLongerThanTheirBoxesAreCut) {
  auto& m = StartWith(With(With(kDefaults, 14, "120"), 18, std::string(80, 'm')));
  EXPECT_EQ(m.txtTimeout.Text(), "12");
  EXPECT_EQ(m.txtMessage.Text(), std::string(65, 'm'));
}

TEST_F(SettingsFile, AnEmptyMessageLineGetsThePlaceholder) {
  EXPECT_EQ(StartWith(With(kDefaults, 18, "")).txtMessage.Text(), "Type your Message text here");
}

TEST_F(SettingsFile, AVanishedAlarmFileIsDroppedAndAProgramPathIsKept) {
  auto lines = With(With(kDefaults, 10, "1"), 17, "C:\\Media\\gone.wav");
  auto& m = StartWith(With(With(lines, 9, "1"), 16, "C:\\Tools\\gone.exe"));
  EXPECT_EQ(m.chkAlarmF.Value(), 0);
  EXPECT_EQ(m.txtAlarmF.Text(), "Select File...");
  EXPECT_FALSE(m.txtAlarmF.Enabled());
  EXPECT_EQ(m.chkExecFile.Value(), 1);
  EXPECT_EQ(m.txtExecF.Text(), "C:\\Tools\\gone.exe");
  EXPECT_EQ(fake.log.Count<comdlg32::GetOpenFileNameA>(), 0u);
}

TEST_F(SettingsFile, AnAlarmFileThatStillExistsStays) {
  fake.files.disk["C:\\Media\\ring.wav"] = "RIFF";
  auto& m = StartWith(With(With(kDefaults, 10, "1"), 17, "C:\\Media\\ring.wav"));
  EXPECT_EQ(m.chkAlarmF.Value(), 1);
  EXPECT_TRUE(m.txtAlarmF.Enabled());
  EXPECT_EQ(m.txtAlarmF.Text(), "C:\\Media\\ring.wav");
}

TEST_F(SettingsFile, AShortFileSetsWhatItHasAndTheRestKeepTheirDefaults) {
  std::vector<std::string> ten(kDefaults.begin(), kDefaults.begin() + 10);
  ten[0] = "False";
  ten[1] = "True";
  ten[7] = "1";
  auto& m = StartWith(ten);
  EXPECT_TRUE(m.optExitOption[1].Value());
  EXPECT_EQ(m.chkForced.Value(), 1);
  EXPECT_TRUE(m.mnu_beep.Checked());
  EXPECT_EQ(m.txtTimeout.Text(), "30");
  EXPECT_EQ(state.BeepFrequencyText, "4000");
  EXPECT_EQ(m.txtExecF.Text(), "Select File...");
  EXPECT_EQ(m.txtMessage.Text(), "Type your Message text here");
}

TEST_F(SettingsFile, EmptyGarbageAndOversizedFilesKeepTheDefaults) {
  for (const std::string& contents :
       {std::string(), std::string("\r\n\r\n"), std::string(5000, '\xFF'), std::string("\0\0\0", 3),
        settings::JoinLines(kDefaults) + std::string(100000, 'x') + "\r\nFalse\r\n"}) {
    testing_support::Harness run;
    run.fake.files.disk[kPath] = contents;
    app::frmMain m(run.runtime, run.state);
    m.Initialize();
    m.Show();
    EXPECT_TRUE(m.Visible());
    EXPECT_EQ(Lines(m), kDefaults) << "file of " << contents.size() << " bytes";
  }
}

TEST_F(SettingsFile, AHugeFileIsReadOnlyUpToTheLimitAndTheLineCutThereCountsAsMissing) {
  std::vector<std::string> chosen = With(With(kDefaults, 14, "45"), 17, "C:\\alarm.wav");
  fake.files.disk["C:\\alarm.wav"] = "RIFF";
  // The file's own lines, then a message line that runs on past the limit.
  std::string text = settings::JoinLines(std::vector<std::string>(chosen.begin(), chosen.end() - 1));
  fake.files.disk[kPath] = text + std::string(settings::kReadLimit, 'm') + "\r\n";
  auto& m = Start();
  EXPECT_EQ(fake.log.Only<files::ReadFile>(), (os::fake::Calls{files::ReadFile{kPath, settings::kReadLimit + 1}}))
      << "start-up never reads more than the limit";
  EXPECT_EQ(m.txtTimeout.Text(), "45");
  EXPECT_EQ(m.txtAlarmF.Text(), "C:\\alarm.wav");
  EXPECT_EQ(m.txtMessage.Text(), "Type your Message text here") << "the cut line is not taken";

  fake.files.disk[kPath] = settings::JoinLines(chosen) + std::string(4 * settings::kReadLimit, 'x');
  testing_support::Harness run;
  run.fake.files.disk = fake.files.disk;
  app::frmMain again(run.runtime, run.state);
  again.Initialize();
  again.Show();
  EXPECT_EQ(Lines(again), chosen) << "the whole lines before the junk all count";
}

TEST_F(SettingsFile, ATextEndsAtANulAsItsBoxShowsItAndIsSavedSo) {
  std::vector<std::string> lines = With(With(kDefaults, 16, std::string("C:\\to\0ol.exe", 13)), 18,
                                        std::string("he\0llo", 6));
  lines = With(With(lines, 2, std::string("Tr\0ue", 5)), 15, std::string("40\0" "00", 5));
  auto& m = StartWith(lines);
  EXPECT_EQ(m.txtExecF.Text(), "C:\\to");
  EXPECT_EQ(m.txtMessage.Text(), "he");
  EXPECT_EQ(state.BeepFrequencyText, "40");
  EXPECT_FALSE(m.optExitOption[1].Value()) << "a yes-or-no line with a NUL in it is unusable";
  Quit();
  EXPECT_EQ(fake.files.disk.at(kPath).find('\0'), std::string::npos);
  EXPECT_EQ(Saved()[17], "he");
}

TEST_F(SettingsFile, ExtraLinesAndOtherLineEndsAreAccepted) {
  std::string text;
  for (const auto& line : With(kDefaults, 14, "45")) text += line + "\n";
  fake.files.disk[kPath] = text + "surplus\nlines\n";
  EXPECT_EQ(Start().txtTimeout.Text(), "45");
}

TEST_F(SettingsFile, TheLastConditionFollowsTheEighteenLinesAnOlderVersionReadsAndWrites) {
  // An older version's file: the choices take their defaults, and the save adds them after it.
  const std::vector<std::string> older = With(With(kDefaults, 2, "True"), 1, "False");
  StartWith(std::vector<std::string>(older.begin(), older.begin() + 18));
  EXPECT_EQ(state.When, session::WhenChoices{});
  Quit();
  EXPECT_EQ(Saved(), With(older, 12, "True")) << "Quit ticks Exit without Confirmation";

  std::vector<std::string> mine = older;
  for (auto [line, value] : std::vector<std::pair<int, std::string>>{
           {19, "2"}, {20, "ffmpeg.exe"}, {21, "45"}, {22, "100"}, {23, "7"}, {24, "999999"}, {25, "0"}})
    mine = With(mine, line, value);
  testing_support::Harness run;
  run.fake.files.disk[kPath] = settings::JoinLines(mine);
  app::frmMain m(run.runtime, run.state);
  m.Initialize();
  m.Show();
  const session::WhenChoices& when = run.state.When;
  EXPECT_EQ(when.condition, session::Condition::ProcessorBelow);
  EXPECT_EQ(when.program, "ffmpeg.exe");
  EXPECT_EQ(when.idleMinutes, 45);
  EXPECT_EQ(when.processorPercent, 10) << "100 % is out of range: the default stays";
  EXPECT_EQ(when.processorMinutes, 7);
  EXPECT_EQ(when.networkRate, 999999);
  EXPECT_EQ(when.networkMinutes, 5) << "0 minutes is out of range";
}

TEST_F(SettingsFile, AFileThatCannotBeReadKeepsTheDefaults) {
  fake.files.disk[kPath] = "irrelevant";
  fake.files.ThrowOn<files::ReadFile>();
  EXPECT_EQ(Lines(Start()), kDefaults);
  Quit();
  EXPECT_EQ(fake.files.disk.at(kPath), "irrelevant") << "the defaults do not replace what could not be read";
}

TEST_F(SettingsFile, AFileHeldOpenAtStartUpIsLeftAloneByTheSavesTheUserDidNotAskFor) {
  const std::string stored = settings::JoinLines(With(With(With(kDefaults, 1, "False"), 2, "True"), 8, "1"));
  fake.files.disk[kPath] = stored;
  fake.files.unreadable.insert(kPath);  // a backup tool holds it, sharing it with no one
  auto& m = Start();
  EXPECT_EQ(Lines(m), kDefaults);
  fake.files.unreadable.clear();  // and lets it go again
  EXPECT_FALSE(state.main->SaveSett(kPath)) << "the alarm window's save leaves it too";
  Quit();
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(fake.files.disk.at(kPath), stored);
  EXPECT_EQ(fake.log.Count<files::ReplaceFileContents>(), 0u);
}

TEST_F(SettingsFile, SaveSettingsStillReplacesAFileThatCouldNotBeReadAndTheExitSaveFollowsIt) {
  fake.files.disk[kPath] = "held";
  fake.files.unreadable.insert(kPath);
  auto& m = Start();
  fake.files.unreadable.clear();
  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Press(m, ui::Shortcut::Ctrl('S')));
  EXPECT_EQ(LastBox(), "Settings are saved successfully!     ");
  EXPECT_EQ(Saved(), kDefaults);
  m.txtTimeout.SetText("9");
  Quit();
  EXPECT_EQ(Saved()[13], "9") << "the file now holds the user's choices: the exit save keeps it up to date";
}

TEST_F(SettingsFile, AReadableFileWithUnusableLinesIsReplacedOnExitAsAlways) {
  fake.files.disk[kPath] = "garbage\r\nmore\r\n";
  Start();
  Quit();
  EXPECT_EQ(Saved(), With(kDefaults, 12, "True")) << "the defaults, and the tick Quit set";
}

TEST_F(SettingsFile, AFailedSaveIsReportedByTheMenuAndPassesQuietlyOnExit) {
  auto& m = Start();
  fake.files.unwritable.insert(kPath);
  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Press(m, ui::Shortcut::Ctrl('S')));
  EXPECT_EQ(LastBox(), "Settings could not be saved to the file C:\\Program Files\\Quenlar\\settings.qnl     ");
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kExclamation);
  Quit();
  EXPECT_EQ(boxes().Log().size(), 1u) << "no message on the way out";
  EXPECT_EQ(fake.log.Count<files::ReplaceFileContents>(), 2u);
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(SettingsFile, SaveSettingsConfirmsOnlyASuccessfulSave) {
  auto& m = Start();
  m.mnu_confirm.SetChecked(true);
  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Choose(m.mnu_saveset));
  EXPECT_EQ(LastBox(), "Settings are saved successfully!     ");
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kInformation);
  EXPECT_EQ(Saved()[11], "True");
}

TEST_F(SettingsFile, AnyFrequencyInTheFileGivesAUsableBeep) {
  StartWith(With(kDefaults, 15, "99999"));
  EXPECT_EQ(state.BeepFrequencyText, "99999") << "the text is kept as stored";
  EXPECT_EQ(state.BeepFrequency(), 10000);
  state.BeepFrequencyText = "12";
  EXPECT_EQ(state.BeepFrequency(), 100);
  state.BeepFrequencyText = "abc";
  EXPECT_EQ(state.BeepFrequency(), 100);
  state.BeepFrequencyText = "4000.5";
  EXPECT_EQ(state.BeepFrequency(), 4000);
}

TEST_F(SettingsFile, ASecondCopyNeitherReadsNorWritesTheFile) {
  fake.files.disk[kPath] = settings::JoinLines(With(kDefaults, 14, "45"));
  fake.kernel32.otherInstanceRunning = true;
  boxes().Answer(ui::vbOK);
  Start();
  EXPECT_EQ(fake.log.Count<files::ReadFile>(), 0u);
  EXPECT_EQ(fake.log.Count<files::ReplaceFileContents>(), 0u);
}

// An older version's file, its own lines kept byte for byte and the newer ones added with their
// defaults; a file of this version's 32 lines comes back whole, through the window as well (its
// repeating schedule activated again).
TEST_F(SettingsFile, FilesOfEighteenTwentyFiveTwentyEightAndThirtyTwoLinesComeBackAsTheyWere) {
  std::vector<std::string> mine = With(With(With(With(kDefaults, 1, "False"), 7, "True"), 10, "2"), 13, "True");
  mine = With(With(With(With(mine, 18, "Tea & biscuits"), 19, "1"), 21, "45"), 24, "800");
  mine = With(With(With(mine, 26, "True"), 27, "45"), 28, "True");
  mine = With(With(With(With(mine, 29, "62"), 30, "True"), 31, "0"), 32, "23:00:00 62 0");
  for (std::size_t count : {18u, 25u, 28u, 32u}) {
    const std::vector<std::string> stored(mine.begin(), mine.begin() + count);
    std::vector<std::string> expected = stored;
    expected.insert(expected.end(), kDefaults.begin() + count, kDefaults.end());
    EXPECT_EQ(settings::JoinLines(app::ToLines(app::FromLines(stored))), settings::JoinLines(expected)) << count;

    testing_support::Harness run;
    run.fake.files.disk[kPath] = settings::JoinLines(stored);
    app::frmMain m(run.runtime, run.state);
    m.Initialize();
    m.Show();
    EXPECT_EQ(Lines(m), expected) << count << " lines, through the window";
  }
  app::Settings read = app::FromLines(mine);
  EXPECT_TRUE(read.postpone);
  EXPECT_EQ(read.postponeMinutes, 45);
  EXPECT_TRUE(read.keepAwake);
  EXPECT_EQ(app::ToLines(app::Settings{}), kDefaults);
  EXPECT_EQ(kDefaults.size(), static_cast<std::size_t>(settings::kLineCount));
}

TEST_F(SettingsFile, TheNewLinesReachTheMenuAndTheStateAndKeepTheirValueWhenUnusable) {
  auto& m = StartWith(With(With(With(kDefaults, 26, "true"), 27, "999"), 28, "-1"));
  EXPECT_TRUE(m.mnu_postpone.Checked());
  EXPECT_EQ(state.PostponeMinutes, 999);
  EXPECT_TRUE(m.mnu_keepawake.Checked());

  app::Settings previous;
  previous.postpone = true;
  previous.postponeMinutes = 30;
  for (const std::string minutes : {"0", "1000", "-3", "12.5", "abc", "", "1e9"}) {
    const app::Settings read = app::FromLines(With(With(kDefaults, 26, "yes"), 27, minutes), previous);
    EXPECT_EQ(read.postponeMinutes, 30) << minutes;
    EXPECT_TRUE(read.postpone) << "yes is no Boolean";
  }
  EXPECT_EQ(app::FromLines(With(kDefaults, 27, "1")).postponeMinutes, 1);
  EXPECT_EQ(app::FromLines(With(kDefaults, 27, " 7")).postponeMinutes, 7) << "read as the other numbers are";
}

// The action lines act as the option buttons: True selects, False clears only the selected one.
TEST(SettingsValue, TheActionLinesSelectAsTheOptionButtonsWould) {
  std::vector<std::string> lines = kDefaults;
  lines[0] = "yes";  // Shutdown, selected before, stays so...
  lines[2] = "True";  // ...until Log Off is selected
  EXPECT_EQ(app::FromLines(lines).action, schedule::Action::LogOff);
  lines[2] = "False";
  EXPECT_EQ(app::FromLines(lines).action, schedule::Action::Shutdown);
  lines[0] = "False";
  EXPECT_FALSE(app::FromLines(lines).action.has_value());
  EXPECT_EQ(app::ToLines(app::FromLines(lines))[0], "False");
}

TEST(SettingsLines, SplittingAcceptsEveryLineEnd) {
  EXPECT_EQ(settings::SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(settings::SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(settings::SplitLines("").empty());
}

}  // namespace

// Texts of any characters: lines 1-32 stay in the code page (the fake's is Latin-1), a text it
// cannot hold whole is there as its best fit and whole after the last line.
class SettingsText : public SettingsFile {
 protected:
  static constexpr const char* kProgram = "C:\\Музыка 音楽\\слушать 音.exe";
  static constexpr const char* kMessage = "Пора, 時間です";
};

TEST_F(SettingsText, TextsOutsideTheCodePageGoWholeAfterTheLastLineAndComeBack) {
  auto& m = Start();
  fake.comdlg32.dialogAnswers.push_back({"C:\\Музыка 音楽\\", "слушать 音.exe"});
  backend.Click(m.chkExecFile);
  backend.Click(m.optExitOption[6]);  // Alarm & Message shows the media file
  fake.comdlg32.dialogAnswers.push_back({"C:\\Música\\", "café.mp3"});
  backend.Click(m.chkAlarmF);
  m.txtMessage.SetText(kMessage);
  Quit();
  const std::vector<std::string> saved = Saved();
  ASSERT_EQ(saved.size(), 34u);
  EXPECT_EQ(saved[15], "C:\\?????? ??\\??????? ?.exe");
  EXPECT_EQ(saved[16], "C:\\M\xFAsica\\caf\xE9.mp3") << "held by the code page: no whole text";
  EXPECT_EQ(saved[17], "????, ????");
  EXPECT_EQ(saved[32], std::string("UTF-8:16:") + kProgram);
  EXPECT_EQ(saved[33], std::string("UTF-8:18:") + kMessage);

  testing_support::Harness again;
  again.fake.files.disk = fake.files.disk;
  again.fake.files.disk["C:\\Música\\café.mp3"] = "";  // a missing media file is let go at start-up
  app::frmMain second(again.runtime, again.state);
  second.Initialize();
  second.Show();
  EXPECT_EQ(second.txtExecF.Text(), kProgram);
  EXPECT_EQ(second.txtAlarmF.Text(), "C:\\Música\\café.mp3");
  EXPECT_EQ(second.txtMessage.Text(), kMessage);

  // A copy that knows 32 lines reads the best fits, as any text it could not show.
  const app::Settings older = app::FromLines(saved);
  EXPECT_EQ(older.execPath, saved[15]);
  EXPECT_EQ(app::ToLines(older), std::vector<std::string>(saved.begin(), saved.begin() + 32));
  EXPECT_EQ(app::ToFileLines(kDefaults, fake.kernel32), kDefaults) << "ASCII settings are written as ever";
}

TEST_F(SettingsText, AnOlderCopysFileIsReadFromTheCodePage) {
  auto& m = StartWith(With(With(kDefaults, 18, "Caf\xE9 \xBD"), 20, "b\xE4r.exe"));
  EXPECT_EQ(m.txtMessage.Text(), "Café ½");
  EXPECT_EQ(state.When.program, "bär.exe");
}

// The whole text counts while its line still holds the text's best fit; a line changed since,
// a whole text for a line that is no text or is not there, or bytes that are no UTF-8 are let be.
TEST_F(SettingsText, TheWholeTextIsPreferredWhileItsLineStillStandsForIt) {
  std::vector<std::string> file = With(With(kDefaults, 16, "C:\\?????? ??\\??????? ?.exe"), 20, "?.exe");
  file.insert(file.end(), {std::string("UTF-8:16:") + kProgram, "UTF-8:20:音.exe", "UTF-8:7:True", "UTF-8:40:x",
                           "UTF-8:18:\xFF?", "UTF-8:x:y", "a later line"});
  const app::Settings read = app::FromLines(app::FromFileLines(file, fake.kernel32));
  EXPECT_EQ(read.execPath, kProgram);
  EXPECT_EQ(read.when.program, "音.exe");
  EXPECT_EQ(read.action, schedule::Action::Shutdown);
  EXPECT_EQ(read.message, kDefaults[17]);
  EXPECT_EQ(app::FromFileLines(file, fake.kernel32).size(), kDefaults.size());

  file[15] = "C:\\Other.exe";  // written since by a copy that knows 32 lines... and the whole line left
  EXPECT_EQ(app::FromLines(app::FromFileLines(file, fake.kernel32)).execPath, "C:\\Other.exe");
}
