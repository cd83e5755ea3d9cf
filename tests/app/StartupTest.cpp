// Start-up of the main window: the single copy, the program folder, the availability of the
// actions, the placeholders and the designed state.
#include "support/Harness.h"

namespace {

namespace comctl32 = os::fake::comctl32;
namespace files = os::fake::files;
namespace kernel32 = os::fake::kernel32;
namespace powrprof = os::fake::powrprof;
using base::MakeLocalTime;
using testing_support::MainWindowTest;

TEST_F(MainWindowTest, FirstStartWithoutSettingsShowsTheDesignedState) {
  clock.SetWallClock(MakeLocalTime({2026, 12, 6, 21, 5, 3}));
  auto& m = Start();
  EXPECT_EQ(m.Caption(), ":: Quenlar 1.3 ::");
  EXPECT_EQ(runtime.Title, ":: Quenlar 1.3 ::");
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(m.optExitOption[0].Value());
  EXPECT_EQ(M().ActionName(), "Shutdown");
  EXPECT_EQ(m.chkForced.Value(), 0);
  EXPECT_EQ(m.txtTimeout.Text(), "30");
  EXPECT_EQ(m.txtExecF.Text(), "Select File...");
  EXPECT_EQ(m.txtAlarmF.Text(), "Select File...");
  EXPECT_EQ(m.txtMessage.Text(), "Type your Message text here");
  EXPECT_TRUE(m.optTime[1].Value());
  EXPECT_EQ(m.txtPeriod.Text(), "1");
  EXPECT_EQ(m.cboTimeUnit.ListIndex(), 0);
  EXPECT_EQ(m.cboTimeUnit.Text(), "Hours");
  EXPECT_EQ(m.ActTime.Value(), MakeLocalTime({2026, 12, 6, 21, 10, 3}));
  EXPECT_FALSE(m.tmrAction.Enabled());
  EXPECT_TRUE(m.tmrTime.Enabled());
  EXPECT_EQ(m.cmdActivate.Caption(), "&Activate");
  EXPECT_FALSE(state.Control.Leaving());
  EXPECT_TRUE(m.mnu_beep.Checked());
  EXPECT_FALSE(m.mnu_confirm.Checked());
  EXPECT_FALSE(m.mnu_autotray.Checked());
  EXPECT_FALSE(m.mnu_popup.Visible()) << "the tray pop-up never shows in the menu bar";
  EXPECT_EQ(state.AppFolder, "C:\\Program Files\\Quenlar\\");
  EXPECT_EQ(state.SettingsPath(), "C:\\Program Files\\Quenlar\\settings.qnl");
  EXPECT_EQ(fake.log.Count<kernel32::GetVersionExA>(), 1u) << "the family is asked once, at start-up";
  EXPECT_EQ(state.Family, platform::WindowsFamily::NT);
}

TEST_F(MainWindowTest, InitialisationLaysTheWindowOutCompactly) {
  auto& m = Start();
  EXPECT_EQ(m.Width(), 4845);
  EXPECT_EQ(m.Height(), 5015);
  EXPECT_EQ(m.frmeActOpt.Height(), 1125);
  EXPECT_EQ(m.cmdActivate.Top(), 3880);
  EXPECT_EQ(m.cmdTray.Top(), 3880);
  EXPECT_EQ(m.picOptions(0).Top(), 200);
  EXPECT_GT(m.picOptions(1).Top(), m.frmeActOpt.Height()) << "the alarm panel starts out of view";
  EXPECT_EQ(fake.log.All().front(), os::fake::Call(comctl32::InitCommonControls{})) << "the common controls come first";
}

TEST_F(MainWindowTest, TheClockShowsTheUpperCasedDateAndTimeAndKeepsRunning) {
  clock.SetWallClock(MakeLocalTime({2026, 12, 6, 21, 5, 3}));
  auto& m = Start();
  EXPECT_EQ(m.lblTime.Caption(), "06 DEC 2026\r09:05:03 PM");
  backend.Advance(std::chrono::milliseconds(2000));
  EXPECT_EQ(m.lblTime.Caption(), "06 DEC 2026\r09:05:05 PM");
}

TEST_F(MainWindowTest, ALanguageWithoutDesignatorsStillTellsMorningFromEvening) {
  fake.kernel32.am = "";
  fake.kernel32.pm = "";
  clock.SetWallClock(MakeLocalTime({2027, 3, 1, 21, 0, 0}));
  EXPECT_EQ(Start().lblTime.Caption(), "01 MAR 2027\r09:00:00 PM");
}

TEST_F(MainWindowTest, TheClockUsesTheLocaleNames) {
  fake.kernel32.monthNames[2] = "m\xE4r";
  fake.kernel32.am = "vorm.";
  clock.SetWallClock(MakeLocalTime({2027, 3, 1, 9, 0, 0}));
  EXPECT_EQ(Start().lblTime.Caption(), "01 M\xC4R 2027\r09:00:00 VORM.");
}

TEST_F(MainWindowTest, ASecondCopySaysSoAndEndsWithoutLoading) {
  fake.kernel32.otherInstanceRunning = true;
  boxes().Answer(ui::vbOK);
  auto& m = Start();
  ASSERT_EQ(boxes().Log().size(), 1u);
  EXPECT_EQ(boxes().Log()[0].text, "Quenlar is already Running!   ");
  EXPECT_EQ(boxes().Log()[0].style, ui::mb::kInformation);
  EXPECT_EQ(boxes().Log()[0].title, ":: Quenlar 1.3 ::");
  EXPECT_TRUE(runtime.Ended());
  EXPECT_FALSE(m.Visible());
  EXPECT_EQ(fake.log.Count<files::FileExists>(), 0u) << "the refused copy reads no settings";
  EXPECT_EQ(fake.log.Count<files::ReplaceFileContents>(), 0u) << "and writes none";
  EXPECT_EQ(fake.log.Count<powrprof::IsPwrSuspendAllowed>(), 0u);
}

TEST_F(MainWindowTest, TheFirstCopyHoldsAPerSessionNamedMutex) {
  Start();
  EXPECT_EQ(fake.log.Of<kernel32::CreateMutexA>(), (std::vector{kernel32::CreateMutexA{false, "Local\\Quenlar.Running"}}));
  EXPECT_FALSE(runtime.Ended());
}

TEST_F(MainWindowTest, ACopyHeldByAnotherUsersRightsStillCountsAsRunning) {
  fake.kernel32.mutexErrors["Local\\Quenlar.Running"] = os::kErrorAccessDenied;
  boxes().Answer(ui::vbOK);
  Start();
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(MainWindowTest, WhereSessionNamesAreRefusedThePlainNameServes) {
  fake.kernel32.mutexErrors["Local\\Quenlar.Running"] = 161;  // ERROR_BAD_PATHNAME, as on Windows 98
  fake.kernel32.otherInstanceRunning = true;
  boxes().Answer(ui::vbOK);
  Start();
  EXPECT_EQ(fake.log.Of<kernel32::CreateMutexA>(), (std::vector{kernel32::CreateMutexA{false, "Local\\Quenlar.Running"},
                                                                kernel32::CreateMutexA{false, "Quenlar.Running"}}));
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(MainWindowTest, AProgramAtADriveRootKeepsASingleBackslash) {
  fake.kernel32.moduleFileName = "C:\\quenlar.exe";
  Start();
  EXPECT_EQ(state.SettingsPath(), "C:\\settings.qnl");
}

TEST_F(MainWindowTest, StandByIsOfferedOnlyWhereTheSystemAllowsIt) {
  fake.powrprof.suspendAllowed = 0;
  auto& m = Start();
  EXPECT_FALSE(m.optExitOption[4].Enabled());
  EXPECT_TRUE(m.optExitOption[0].Value());
}

// Windows 95, 98 and Me return from a stand-by request at once without standing by, and have
// no LockWorkStation.
TEST_F(MainWindowTest, LockComputerAndStandByAreOfferedOnTheNtFamilyOnly) {
  fake.kernel32.version.dwPlatformId = 1;
  fake.kernel32.version.dwMajorVersion = 4;
  fake.kernel32.version.dwMinorVersion = 10;
  auto& m = Start();
  EXPECT_FALSE(m.optExitOption[5].Enabled());
  EXPECT_FALSE(m.optExitOption[4].Enabled());
}

TEST_F(MainWindowTest, AnActionWhoseFunctionIsMissingIsNotOfferedAndTheSelectionFallsBack) {
  for (auto [library, function, index] : {std::tuple{"user32.dll", "LockWorkStation", 5},  // NT 4.0
                                          std::tuple{"powrprof.dll", "SetSuspendState", 4}}) {
    os::fake::FakeServices fakes{clock};
    fakes.kernel32.missingFunctions.insert({library, function});
    fakes.files.disk["C:\\Program Files\\Quenlar\\settings.qnl"] =
        std::string(index == 5 ? "False\r\n" : "") + "False\r\nFalse\r\nFalse\r\nFalse\r\nTrue\r\n";
    session::ProgramState own{fakes.Services()};
    app::frmMain m(runtime, own);
    m.Initialize();
    m.Show();
    EXPECT_FALSE(m.optExitOption[index].Enabled()) << function;
    EXPECT_TRUE(m.optExitOption[0].Value()) << function;
    EXPECT_EQ(m.ActionName(), "Shutdown") << function;
    m.mnu_confirm.SetChecked(true);
    m.Unload();
  }
}

// A family that cannot be told is no family that offers Stand by or Lock Computer.
TEST_F(MainWindowTest, NoPowerLibraryOrNoVersionMeansNoStandByNorLockAndTheRestStillRuns) {
  fake.powrprof.ThrowOn<powrprof::IsPwrSuspendAllowed>();
  fake.kernel32.ThrowOn<kernel32::GetVersionExA>();
  auto& m = Start();
  EXPECT_FALSE(m.optExitOption[4].Enabled());
  EXPECT_FALSE(m.optExitOption[5].Enabled());
  EXPECT_EQ(m.txtMessage.Text(), "Type your Message text here") << "the later steps still ran";
  EXPECT_TRUE(m.Visible());
}

}  // namespace
