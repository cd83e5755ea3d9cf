// The trigger and the dispatch of the action, as whole runs on the virtual clock.
#include "app/Settings.h"
#include "settings/modSettings.h"
#include "support/Firing.h"

namespace {

namespace advapi32 = os::fake::advapi32;
namespace files = os::fake::files;
namespace kernel32 = os::fake::kernel32;
namespace powrprof = os::fake::powrprof;
namespace shell32 = os::fake::shell32;
namespace user32 = os::fake::user32;
using namespace std::chrono_literals;
using os::fake::Calls;

constexpr const char* kSettingsPath = "C:\\Program Files\\Quenlar\\settings.qnl";

class Trigger : public testing_support::FiringTest {
 protected:
  std::vector<user32::ExitWindowsEx> Exits() { return fake.log.Of<user32::ExitWindowsEx>(); }
  std::size_t Saves() { return fake.log.Count<files::ReplaceFileContents>(); }
};

TEST_F(Trigger, TheTypicalRunRestartsForcedAfterThirtyMinutesAndAThirtySecondCountdown) {
  backend.Click(M().optExitOption[1]);
  backend.Click(M().chkForced);
  backend.Choose(M().cboTimeUnit, 1);
  backend.Type(M().txtPeriod, "30");
  ASSERT_EQ(M().ActionName(), "Restart");
  ASSERT_EQ(M().txtTimeout.Text(), "30");
  backend.Click(M().cmdActivate);
  backend.Advance(30min - 1s);
  EXPECT_TRUE(M().ScheduleActive());
  EXPECT_EQ(Warning(), nullptr);

  fake.log.Clear();
  auto& warning = Fire();
  EXPECT_LE(Now() - 30 * 60 * 1000, 500u) << "at the first tick of the target second";
  EXPECT_FALSE(M().Visible());
  EXPECT_FALSE(M().ScheduleActive());
  EXPECT_TRUE(state.Control.Leaving());
  EXPECT_TRUE(warning.Visible());
  EXPECT_EQ(warning.lblMessage.Caption(), "Action : Restart will be performed in 30 Seconds.");
  const std::uint64_t shown = Now();

  backend.Advance(29899ms);
  EXPECT_EQ(warning.lblMessage.Caption(), "Action : Restart will be performed in 1 Seconds.");
  EXPECT_TRUE(Exits().empty());
  backend.RunUntil([&] { return runtime.Ended(); }, 2s);
  EXPECT_EQ(Now() - shown, 30000u) << "30 beeping seconds";
  EXPECT_EQ(fake.log.Of<kernel32::Beep>(), std::vector<kernel32::Beep>(30, kernel32::Beep{4000, 100}));

  const auto tokens = fake.log.Of<advapi32::AdjustTokenPrivileges>();
  ASSERT_EQ(tokens.size(), 2u);
  auto privilege = [](os::Handle token, std::uint32_t attributes) {
    return Calls{kernel32::GetCurrentProcess{}, advapi32::OpenProcessToken{os::kCurrentProcess, 0x28},
                 advapi32::LookupPrivilegeValueA{"", "SeShutdownPrivilege"},
                 advapi32::AdjustTokenPrivileges{token, false, {1, {{{{0x13, 0}, attributes}}}}, 16},
                 kernel32::CloseHandle{token}};
  };
  const os::HWnd window = fake.log.Of<user32::SetWindowPos>().at(0).window;
  Calls expected{shell32::Shell_NotifyIconA{os::kNimDelete, state.TrayRecord},
                 user32::SetWindowPos{window, os::kHwndTopMost, 0, 0, 0, 0, 0x43}};
  for (const auto& call : privilege(tokens[0].tokenHandle, 2)) expected.push_back(call);
  expected.push_back(user32::ExitWindowsEx{6, 0});
  for (const auto& call : privilege(tokens[1].tokenHandle, 0)) expected.push_back(call);
  expected.push_back(user32::SetWindowPos{window, os::kHwndNoTopMost, 0, 0, 0, 0, 3});
  expected.push_back(shell32::Shell_NotifyIconA{os::kNimDelete, state.TrayRecord});
  expected.push_back(files::ReplaceFileContents{kSettingsPath, settings::JoinLines(app::ToLines(M().SettingsFromWindow()))});
  EXPECT_EQ((fake.log.Only<shell32::Shell_NotifyIconA, shell32::ShellExecuteA, user32::SetWindowPos,
                           kernel32::GetCurrentProcess, advapi32::OpenProcessToken,
                           advapi32::LookupPrivilegeValueA, advapi32::AdjustTokenPrivileges, kernel32::CloseHandle,
                           user32::ExitWindowsEx, files::ReplaceFileContents>()),
            expected);
  EXPECT_EQ(fake.log.Count<kernel32::GetVersionExA>(), 0u) << "the family was asked once, at start-up";
  EXPECT_TRUE(state.Control.Schedule().forced);
  EXPECT_TRUE(boxes().Log().empty()) << "no question on the way out";
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Trigger, WithoutACountdownTheActionIsPerformedAtTheTickAndTheProgramEnds) {
  Countdown("0");
  ActivateIn(5);
  backend.Advance(4999ms);
  EXPECT_TRUE(Exits().empty());
  backend.Advance(1ms);
  EXPECT_EQ(Exits(), (std::vector{user32::ExitWindowsEx{1, 0}}));
  EXPECT_EQ(Warning(), nullptr);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(Saves(), 1u);
  EXPECT_TRUE(boxes().Log().empty());
}

TEST_F(Trigger, AProgramPathIsStartedHiddenOneSecondBeforeTheActionTickedOrNot) {
  M().txtExecF.SetText("C:\\Tools\\backup.bat");
  M().chkExecFile.SetValue(0);
  backend.Click(M().optExitOption[2]);
  Countdown("0");
  ActivateIn(5);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(fake.log.Of<shell32::ShellExecuteA>(),
            (std::vector{shell32::ShellExecuteA{0, "Open", "C:\\Tools\\backup.bat", "", "", 0}}));
  EXPECT_EQ(fake.log.Count<kernel32::CreateWaitableTimerA>(), 1u);
  EXPECT_EQ(Exits(), (std::vector{user32::ExitWindowsEx{0, 0}}));
  EXPECT_EQ(Now(), 6000u) << "fired at 5 s, acted one second later";
  EXPECT_FALSE(M().Visible());
}

TEST_F(Trigger, ExitFromTheTrayDuringTheOneSecondWaitEndsTheProgramWithoutTheAction) {
  M().txtExecF.SetText("C:\\Tools\\backup.bat");
  Countdown("0");
  ActivateIn(5);
  backend.Click(M().cmdTray);
  fake.user32.OnWait = [&] {
    fake.user32.OnWait = nullptr;
    backend.MouseMove(M(), 516, 0);
    backend.ChoosePopupItem(M().mnu_popexit);
  };
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(fake.log.Count<shell32::ShellExecuteA>(), 1u);
  EXPECT_TRUE(Exits().empty());
  EXPECT_EQ(Saves(), 1u);
  EXPECT_TRUE(boxes().Log().empty());
}

// Shutdown, Restart and Log Off fall back to a forced shutdown; what replaces Hibernate, Stand
// by, Lock or the alarm is nothing but the report: a forced shutdown would lose every open
// program's work.
TEST_F(Trigger, ARunTimeErrorWhileDispatchingForcesAShutdownOnlyInPlaceOfLeavingWindows) {
  backend.Click(M().optExitOption[4]);
  Countdown("0");
  fake.powrprof.ThrowOn<powrprof::SetSuspendState>();
  ActivateIn(5);
  boxes().Answer(ui::vbOK);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(fake.log.Count<powrprof::SetSuspendState>(), 1u);
  EXPECT_TRUE(Exits().empty());
  EXPECT_EQ(LastBox(),
            "Stand by could not be performed.\r\n\r\nRun-time error '453':\r\n\r\nCan't find DLL entry point "
            "SetSuspendState");
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kCritical);
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Trigger, ARunTimeErrorWhileDispatchingRestartEndsInAForcedShutdownAndItsRefusalNamesIt) {
  backend.Click(M().optExitOption[1]);
  Countdown("0");
  M().txtExecF.SetText("C:\\Tools\\run.bat");
  fake.shell32.ThrowOn<shell32::ShellExecuteA>();
  fake.user32.exitWindowsResult = 0;
  fake.user32.refusalError = 5;
  ActivateIn(5);
  boxes().Answer(ui::vbOK);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(Exits(), (std::vector{user32::ExitWindowsEx{5, 0}}));
  EXPECT_EQ(LastBox(), "Shutdown could not be performed: Windows refused the request.\r\n\r\nAccess is denied.")
      << "the refused request was the forced shutdown, not the restart";
}

TEST_F(Trigger, AnErrorInTheTickItselfEndsInTheSeriousErrorExit) {
  Countdown("0");
  fake.user32.ThrowOn<user32::ExitWindowsEx>();  // the forced fall-back fails as well
  ActivateIn(5);
  boxes().Answer(ui::vbOK);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(Exits(), (std::vector{user32::ExitWindowsEx{1, 0}, user32::ExitWindowsEx{5, 0}}));
  ASSERT_EQ(boxes().Log().size(), 1u) << "the program had decided to end: no question after it";
  EXPECT_EQ(LastBox(), "Quenlar has encountered a serious error, click OK to terminate.");
  EXPECT_EQ(boxes().Log()[0].title, "Error!");
  EXPECT_EQ(Saves(), 1u);
}

// Put forward far past it, the moment was missed: even with no countdown it happens only
// through a warning of 30 seconds, never unseen.
TEST_F(Trigger, TheClockPutForwardPastTheTargetWarnsAtTheNextTickAndPutBackWaits) {
  Countdown("0");
  backend.Click(M().cmdActivate);  // in one hour
  clock.ShiftWallClock(-30min);
  backend.Advance(60min);
  EXPECT_FALSE(runtime.Ended()) << "the clock was put back: the target is half an hour away";
  clock.ShiftWallClock(2h);
  backend.Advance(500ms);
  ASSERT_NE(M().Countdown(), nullptr);
  EXPECT_TRUE(Exits().empty());
  backend.RunUntil([&] { return runtime.Ended(); }, 31s);
  EXPECT_EQ(Exits().size(), 1u);
}

TEST_F(Trigger, WhenTheVersionQueryFailsTheRequestGoesWithoutPrivilegeAndLockIsNotOffered) {
  fake.kernel32.versionFails = true;
  main.reset();
  Start();
  EXPECT_FALSE(M().optExitOption[5].Enabled());
  backend.Click(M().optExitOption[1]);
  backend.Click(M().chkForced);
  Countdown("0");
  ActivateIn(5);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(Exits(), (std::vector{user32::ExitWindowsEx{6, 0}}));
  EXPECT_EQ(fake.log.Count<advapi32::AdjustTokenPrivileges>(), 0u);
}

TEST_F(Trigger, AnActionThisWindowsDoesNotOfferIsReportedNotPassedOverInSilence) {
  state.Family = platform::WindowsFamily::Win9x;  // Windows Me: hibernation is not the program's to ask
  backend.Click(M().optExitOption[3]);
  Countdown("0");
  ActivateIn(5);
  boxes().Answer(ui::vbOK);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(fake.log.Count<powrprof::SetSuspendState>(), 0u);
  EXPECT_EQ(LastBox(), "Hibernate could not be performed: this version of Windows does not offer it.");
}

TEST_F(Trigger, AProgramWhoseTypeHasNoOpenVerbStartsWithItsDefaultVerb) {
  Countdown("0");
  M().txtExecF.SetText("C:\\Renders\\done.job");
  fake.shell32.shellExecuteResultByVerb["Open"] = os::kSeErrNoAssoc;
  ActivateIn(5);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  EXPECT_EQ(fake.log.Of<shell32::ShellExecuteA>(),
            (std::vector{shell32::ShellExecuteA{0, "Open", "C:\\Renders\\done.job", "", "", 0},
                         shell32::ShellExecuteA{0, "", "C:\\Renders\\done.job", "", "", 0}}));
  EXPECT_EQ(Exits().size(), 1u);
}

TEST_F(Trigger, AMomentThatCannotBeWorkedOutActivatesNothing) {
  M().cboTimeUnit.SetListIndex(-1);  // no unit: the moment cannot be worked out
  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_EQ(LastBox(), "Run-time error '5':\r\n\r\nInvalid procedure call or argument");
  EXPECT_FALSE(M().ScheduleActive()) << "no trigger without a fresh target";
  EXPECT_EQ(M().cmdActivate.Caption(), "&Activate");
  backend.Advance(2s);
  EXPECT_TRUE(Exits().empty());
}

TEST_F(Trigger, ARequestWindowsRefusesIsReportedWithItsReasonBeforeTheProgramEnds) {
  fake.user32.lockResult = 0;
  backend.Click(M().optExitOption[5]);
  Countdown("0");
  ActivateIn(5);
  boxes().Answer(ui::vbOK);
  backend.RunUntil([&] { return runtime.Ended(); }, 10s);
  ASSERT_EQ(boxes().Log().size(), 1u);
  EXPECT_EQ(LastBox(),
            "Lock PC could not be performed: Windows refused the request.\r\n\r\n"
            "A required privilege is not held by the client.");
  EXPECT_EQ(boxes().Log()[0].style, ui::mb::kCritical);
  EXPECT_EQ(boxes().Log()[0].title, ":: Quenlar 1.3 ::");
  EXPECT_EQ(fake.log.Of<kernel32::FormatMessageA>(), (std::vector{kernel32::FormatMessageA{1314}}));
  EXPECT_EQ(Saves(), 1u);
}

TEST_F(Trigger, TheScheduleFiresWhileTheActiveQuestionIsOpenAndTheProgramEndsOnce) {
  Countdown("3");
  ActivateIn(5);
  boxes().AnswerAfter(
      [&] {
        backend.Advance(10s);
        EXPECT_TRUE(runtime.Ended()) << "the program ended with the question still open";
      },
      ui::vbNo);
  backend.CloseBox(M());
  EXPECT_EQ(LastBox(), "Quenlar is currenty Active. Do you want to Deactivate it?   ");
  EXPECT_EQ(Exits(), (std::vector{user32::ExitWindowsEx{1, 0}})) << "the action did not wait for an answer";
  EXPECT_TRUE(runtime.Ended());
  EXPECT_FALSE(M().IsLoaded());
  EXPECT_EQ(Saves(), 1u) << "unloaded once";
}

TEST_F(Trigger, TheScheduleFiresWhileTheExitQuestionIsOpenWhichIsThenDeclined) {
  Countdown("1");
  backend.Choose(M().cboTimeUnit, 2);
  M().txtPeriod.SetText("5");
  backend.Click(M().cmdTray);
  backend.MouseMove(M(), 516, 0);
  boxes().AnswerAfter(
      [&] {
        // With the question up, the user activates from the tray and leaves it open.
        backend.MouseMove(M(), 516, 0);
        backend.ChoosePopupItem(M().mnu_Ractivate);
        backend.Advance(10s);
        EXPECT_TRUE(runtime.Ended()) << "the program ended with the question still open";
      },
      ui::vbYes);
  backend.ChoosePopupItem(M().mnu_popexit);
  EXPECT_EQ(LastBox(), "Are you sure, you want to Exit?    ");
  EXPECT_EQ(Exits().size(), 1u);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(Saves(), 1u);
}

using AlarmTrigger = Trigger;

// The alarm window, once it is up.
ui::Form* AlarmWindow(ui::Runtime& runtime) {
  for (ui::Form* form : runtime.Forms())
    if (form->Name() == "frmAlarm" && form->IsLoaded() && form->Visible()) return form;
  return nullptr;
}

TEST_F(AlarmTrigger, TheAlarmOpensAtOnceWithoutCountdownOrProgram) {
  M().txtExecF.SetText("C:\\Tools\\backup.bat");
  backend.Click(M().optExitOption[6]);
  ASSERT_EQ(M().txtTimeout.Text(), "30");
  ActivateIn(5);
  backend.Advance(5s);
  ASSERT_NE(AlarmWindow(runtime), nullptr);
  EXPECT_EQ(AlarmWindow(runtime)->Caption(), ":: Quenlar 1.3 - Alarm ::");
  EXPECT_EQ(Warning(), nullptr);
  EXPECT_EQ(fake.log.Count<shell32::ShellExecuteA>(), 0u);
  EXPECT_FALSE(M().Visible());
  EXPECT_FALSE(M().ScheduleActive());
  EXPECT_TRUE(state.Control.Leaving());
  EXPECT_TRUE(Exits().empty());
}

}  // namespace
