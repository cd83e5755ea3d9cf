// The command line as two programs see it: a later copy that hands its switches over, and the
// running copy that carries them out (here both in memory, the first one's window fake-found).
#include "app/Commands.h"
#include "command/HandOver.h"
#include "countdown/frmAction.h"
#include "settings/modSettings.h"
#include "support/Harness.h"

namespace {

namespace user32 = os::fake::user32;
using namespace std::chrono_literals;

// A program of its own, started with this command line (none: as a user starts it).
struct Program : testing_support::Harness {
  explicit Program(const std::string& switches = "") {
    clock.SetWallClock(base::MakeLocalTime({2026, 12, 8, 11, 0, 0}));
    fake.kernel32.commandLine = "\"C:\\Program Files\\Quenlar\\quenlar.exe\" " + switches;
  }
  // What the start makes of the command line; the window, when the program goes on.
  app::Start Begin() {
    app::Start start = app::Begin(state);
    if (start.exitCode) return start;
    main = std::make_unique<app::frmMain>(runtime, state);
    main->Initialize();
    main->ShowAtStart();
    if (start.request) app::CarryOutAtStart(state, runtime, *start.request);
    return start;
  }
  std::unique_ptr<app::frmMain> main;
};

class CommandLine : public ::testing::Test {
 protected:
  CommandLine() {
    running.Begin();
    running.fake.kernel32.otherInstanceRunning = true;
  }
  // A later copy started with these switches while `running` runs: its exit code.
  int Later(const std::string& switches) {
    later = std::make_unique<Program>(switches);
    later->fake.kernel32.otherInstanceRunning = true;
    later->fake.user32.windowsByClass[command::kMainWindowClass] = running.main->hWnd();
    later->fake.user32.OnCopyData = [this](os::HWnd, std::uintptr_t kind, const std::string& data,
                                           std::intptr_t& result, std::string& reply) {
      ui::CopyDataMessage answer = running.backend.SendCopyData(*running.main, kind, data);
      result = answer.answer;
      reply = answer.reply;
      return true;
    };
    app::Start start = later->Begin();
    EXPECT_TRUE(start.exitCode) << "a later copy ends at once";
    EXPECT_FALSE(later->main) << "and makes no window";
    return start.exitCode.value_or(-1);
  }
  std::string Output() { return later->fake.kernel32.output; }
  Program running;
  std::unique_ptr<Program> later;
};

TEST_F(CommandLine, ALaterCopyActivatesTellsCancelsAndIsRefusedAsItShouldBe) {
  app::frmMain& m = *running.main;
  EXPECT_EQ(Later("/r /in 2m"), 0);
  EXPECT_TRUE(m.ScheduleActive());
  EXPECT_TRUE(m.optExitOption[1].Value()) << "the window shows Restart";
  EXPECT_EQ(m.cboTimeUnit.Text(), "Minutes");
  EXPECT_EQ(m.txtPeriod.Text(), "2");
  EXPECT_EQ(m.lblActionTime.Caption(), "08 DEC 2026\r11:02:00 AM");
  EXPECT_EQ(m.chkForced.Value(), 0);

  running.backend.Advance(30s);
  EXPECT_EQ(Later("/status"), 0);
  EXPECT_EQ(Output(), "Restart On 08-Dec-26 At 11:02:00 AM; 90 seconds left.\n");

  EXPECT_EQ(Later("/t 5 /lock"), command::kAlreadyActive);
  EXPECT_EQ(Output(), "A schedule is already active: cancel it first with /a.\n");
  EXPECT_TRUE(m.optExitOption[1].Value()) << "nothing changed";

  EXPECT_EQ(Later("/a"), 0);
  EXPECT_FALSE(m.ScheduleActive());
  EXPECT_EQ(m.cmdActivate.Caption(), "&Activate");
  EXPECT_EQ(Later("-CANCEL"), command::kNothingToCancel);
  EXPECT_EQ(Output(), "Nothing to cancel: no schedule is active.\n");
  EXPECT_EQ(Later("/status"), 0);
  EXPECT_EQ(Output(), "Idle.\n");
  EXPECT_EQ(Later("/s /f /w 7 /run C:\\Tools\\sync.bat"), 0) << "without a time: filled, not activated";
  EXPECT_FALSE(m.ScheduleActive());
  EXPECT_EQ(m.chkForced.Value(), 1);
  EXPECT_EQ(m.txtTimeout.Text(), "7");
  EXPECT_EQ(m.txtExecF.Text(), "C:\\Tools\\sync.bat");
}

TEST_F(CommandLine, ShowRestoresFromTheTrayAndQuitEndsSavingTheSettings) {
  app::frmMain& m = *running.main;
  running.backend.Click(m.cmdTray);
  ASSERT_FALSE(m.Visible());
  EXPECT_EQ(Later("/show"), 0);
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(running.fake.shell32.trayIcons.empty());
  EXPECT_EQ(later->fake.log.Of<user32::AllowSetForegroundWindow>().size(), 1u) << "the window may come to the front";

  EXPECT_EQ(Later("/r"), 0);
  EXPECT_EQ(Later("/quit"), 0);
  EXPECT_TRUE(running.runtime.Ended());
  EXPECT_TRUE(running.boxes().Log().empty()) << "without the exit question";
  EXPECT_EQ(settings::SplitLines(running.fake.files.disk.at(running.state.SettingsPath())).at(1), "True")
      << "Restart, as chosen on the command line, is remembered";
}

TEST_F(CommandLine, TheRunningCopyChecksWhatAnyProgramSendsAndRefusesWhatItDoesNotOffer) {
  app::frmMain& m = *running.main;
  EXPECT_EQ(running.backend.SendCopyData(m, 0x1234, command::Encode({"/quit"})).answer, command::kUsageError)
      << "not our kind";
  ui::CopyDataMessage bad = running.backend.SendCopyData(m, command::kCopyDataKind, command::Encode({"/t", "-1"}));
  EXPECT_EQ(bad.answer, command::kUsageError);
  EXPECT_EQ(bad.reply, "/t takes whole seconds, 0 to 315360000, not \"-1\"") << "the argument after /t is its value";
  EXPECT_FALSE(running.runtime.Ended());

  running.fake.powrprof.suspendAllowed = 0;
  EXPECT_EQ(Later("/standby /t 60"), command::kNotOffered);
  EXPECT_EQ(Output(), "This computer does not offer stand by.\n");
  EXPECT_FALSE(m.ScheduleActive());
  EXPECT_EQ(Later("/alarm hi /sound C:\\gone.wav"), command::kFileNotFound);
}

TEST_F(CommandLine, AConditionIsArmedToldAndRefusedLikeATime) {
  app::frmMain& m = *running.main;
  EXPECT_EQ(Later("/s /cpu 10:5"), 0);
  EXPECT_TRUE(m.ScheduleActive());
  EXPECT_EQ(m.lblActionTime.Caption(), "CPU < 10 %\rfor 5 min");
  for (int second = 0; second < 200; ++second) {
    running.fake.kernel32.idleTime += 9500000, running.fake.kernel32.kernelTime += 9800000;
    running.fake.kernel32.userTime += 200000;  // 5 % busy
    running.backend.Advance(1s);
  }
  EXPECT_EQ(Later("/status"), 0);
  EXPECT_EQ(Output(), "Shutdown When CPU < 10 % for 5 min; CPU below 10 % for 3 of 5 min; the computer is kept awake.\n");
  EXPECT_EQ(Later("/a"), 0);

  EXPECT_EQ(Later("/lock /whenexit ffmpeg.exe"), command::kNotFound);
  EXPECT_EQ(Output(), "No program named ffmpeg.exe is running.\n");
  running.fake.kernel32.missingFunctions = {{"user32.dll", "GetLastInputInfo"}};
  EXPECT_EQ(Later("/s /idle 5"), command::kNotOffered);
  EXPECT_EQ(Output(), "This Windows does not tell when the last input was.\n");
  EXPECT_FALSE(m.ScheduleActive());
  EXPECT_TRUE(running.boxes().Log().empty()) << "the running copy answers the script, not the screen";
}

// The display is no option of the window: a schedule to turn it off leaves the options and the
// forced box as they were (and the settings with them); /display alone turns it off at once and
// leaves the running copy's schedule alone.
TEST_F(CommandLine, TheDisplayIsScheduledWithoutTouchingTheOptionsOrTurnedOffAtOnce) {
  app::frmMain& m = *running.main;
  const user32::DefWindowProcA off{m.hWnd(), 0x112, 0xF170, 2};
  m.optExitOption[3].SetValue(true);
  m.chkForced.SetValue(1);
  EXPECT_EQ(Later("/display /in 1m"), 0);
  EXPECT_TRUE(m.ScheduleActive());
  EXPECT_TRUE(m.optExitOption[3].Value()) << "Hibernate stays selected";
  EXPECT_EQ(m.chkForced.Value(), 1);
  EXPECT_EQ(m.txtPeriod.Text(), "1");
  EXPECT_EQ(m.StatusCaption(), "Turn Off the Display On 08-Dec-26 At 11:01:00 AM");
  EXPECT_EQ(Later("/status"), 0);
  EXPECT_EQ(Output(), "Turn Off the Display On 08-Dec-26 At 11:01:00 AM; 60 seconds left.\n");

  EXPECT_EQ(Later("/display"), 0);
  EXPECT_EQ(running.fake.log.Of<user32::DefWindowProcA>(), (std::vector{off}));
  EXPECT_TRUE(m.ScheduleActive()) << "the schedule goes on";

  running.backend.RunUntil([&] { return running.runtime.Ended(); }, 70s);
  EXPECT_TRUE(running.runtime.Ended()) << "a one-time schedule ends the program";
  EXPECT_EQ(running.fake.log.Of<user32::DefWindowProcA>(), (std::vector{off, off}));
  EXPECT_TRUE(running.boxes().Log().empty()) << "no warning, no message";
  EXPECT_EQ(settings::SplitLines(running.fake.files.disk.at(running.state.SettingsPath())).at(3), "True")
      << "Hibernate, not the display, is remembered";
}

TEST(CommandLineAlone, TheDisplayAloneIsTurnedOffAndTheProgramEnds) {
  Program first("/display");
  first.Begin();
  ASSERT_TRUE(first.main);
  EXPECT_FALSE(first.main->ScheduleActive());
  const os::HWnd window = first.main->hWnd();
  first.backend.RunUntil([&] { return first.runtime.Ended(); }, 2s);
  EXPECT_TRUE(first.runtime.Ended());
  EXPECT_EQ(first.fake.log.Of<user32::DefWindowProcA>(), (std::vector{user32::DefWindowProcA{window, 0x112, 0xF170, 2}}));
}

TEST(CommandLineAlone, TheFirstCopyCarriesItOutAndRefusalsEndBeforeAnyWindow) {
  Program first("/s /t 5 /w 3");
  first.Begin();
  ASSERT_TRUE(first.main);
  EXPECT_TRUE(first.main->ScheduleActive());
  first.backend.RunUntil([&] { return first.runtime.Ended(); }, 20s);
  EXPECT_EQ(first.fake.log.Of<user32::ExitWindowsEx>(), (std::vector{user32::ExitWindowsEx{1, 0}}))
      << "after a countdown of three seconds";

  for (auto [line, code] : {std::pair{"/t", command::kUsageError}, {"/s /w 100", command::kUsageError},
                            {"/s /whenexit nothing.exe", command::kNotFound},
                            {"/status", command::kNotRunning}, {"/?", command::kDone}}) {
    Program alone(line);
    app::Start start = alone.Begin();
    EXPECT_EQ(start.exitCode, code) << line;
    EXPECT_FALSE(alone.main) << line;
    EXPECT_TRUE(alone.fake.files.disk.empty()) << line << ": no settings written";
  }
  Program refused("/bogus");
  refused.fake.kernel32.hasOutput = false;  // started from a shortcut: no console
  refused.Begin();
  auto boxes = refused.fake.log.Of<user32::MessageBoxA>();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.substr(0, 33), "quenlar: unknown switch /bogus\n\nU");
}

// Windows starts the program at logon with /startup: it starts as with no switches and knows
// how it was started; sent to a running copy the switch is refused, not taken for a schedule.
TEST_F(CommandLine, StartupStartsAsWithoutSwitchesAndARunningCopyRefusesIt) {
  Program atLogon("/startup");
  app::Start start = atLogon.Begin();
  EXPECT_FALSE(start.exitCode);
  EXPECT_FALSE(start.request);
  ASSERT_TRUE(atLogon.main);
  EXPECT_TRUE(atLogon.main->StartedWithWindows());
  EXPECT_TRUE(atLogon.main->Visible()) << "no repeating schedule remembered: the window shows as always";
  EXPECT_FALSE(running.main->StartedWithWindows());

  ui::CopyDataMessage answer =
      running.backend.SendCopyData(*running.main, command::kCopyDataKind, command::Encode({"/startup"}));
  EXPECT_EQ(answer.answer, command::kUsageError);
  EXPECT_FALSE(running.main->ScheduleActive());
}

}  // namespace
