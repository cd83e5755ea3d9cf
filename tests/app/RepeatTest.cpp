// "Repeat..." in the main window: the choice made with the mouse, the schedule that comes round
// again after its warning is cancelled, what the window and the tray say of it, the settings
// that keep it, and the start that activates it again.
#include "countdown/frmAction.h"
#include "repeat/frmRepeat.h"
#include "settings/modSettings.h"
#include "support/Harness.h"

namespace {

using testing_support::MainWindowTest;
using namespace std::chrono_literals;

constexpr const char* kPath = "C:\\Program Files\\Quenlar\\settings.qnl";

class RepeatWindow : public MainWindowTest {
 protected:
  void Choose(int option, bool wake = false) {
    backend.WhileModal([&](ui::Form& form) {
      auto& window = dynamic_cast<repeat::frmRepeat&>(form);
      ASSERT_TRUE(backend.Click(window.optRepeat[option]));
      if (wake) {
        ASSERT_TRUE(backend.Click(window.chkWake));
      }
      ASSERT_TRUE(backend.Click(window.cmdOK));
    });
    ASSERT_TRUE(backend.Choose(M().mnu_repeat));
  }
  std::vector<std::string> SavedLines() { return *settings::ReadLines(fake.files, kPath); }
  // The balloon over the icon, as the shell holds it last.
  std::string Balloon() { return fake.shell32.trayIcons.empty() ? "" : fake.shell32.trayIcons.begin()->second.szInfo; }
};

TEST_F(RepeatWindow, EveryDayCancelledInItsWarningComesBackForTomorrowAndIsKept) {
  Start();
  ASSERT_TRUE(backend.Click(M().optTime[1]));  // "In" chosen first: the repeat goes with "At"
  Choose(1);
  EXPECT_TRUE(M().optTime[0].Value());
  EXPECT_EQ(M().frmeAcTime.Caption(), "Every day :");
  EXPECT_TRUE(M().mnu_repeat.Checked());

  const base::LocalTime due = clock.Now() + 10s;
  M().ActTime.SetValue(due);
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_EQ(M().StatusCaption(), "Shutdown Every day On 06-Dec-26 At 09:05:13 PM");
  EXPECT_EQ(SavedLines()[31], "21:05:13 127 0") << "kept at once: a restart brings it back";
  EXPECT_FALSE(M().mnu_repeat.Enabled());

  backend.Advance(10s);
  ASSERT_NE(M().Countdown(), nullptr);
  boxes().Answer(ui::vbOK);  // "... has been cancelled by the user!"
  ASSERT_TRUE(backend.Click(M().Countdown()->cmdCancel));
  EXPECT_FALSE(runtime.Ended());
  EXPECT_TRUE(M().ScheduleActive());
  EXPECT_TRUE(M().Visible());
  EXPECT_EQ(state.Control.Schedule().trigger.moment, due + 24h);
  EXPECT_EQ(M().lblActionTime.Caption(), "07 DEC 2026\r09:05:13 PM");

  ASSERT_TRUE(backend.Click(M().cmdActivate));  // Deactivate: the repetition ends, and is forgotten
  EXPECT_EQ(SavedLines()[31], "");
  EXPECT_EQ(M().frmeAcTime.Caption(), "Every day :") << "the choice stays for the next activation";
  ASSERT_TRUE(backend.Click(M().optTime[1]));
  EXPECT_EQ(M().frmeAcTime.Caption(), "Shutdown Time :");
}

TEST_F(RepeatWindow, ARememberedRepeatIsActivatedAgainAtStartAndAQuietStartWaitsInTheTray) {
  std::vector<std::string> lines = app::ToLines(app::Settings{});
  lines[28] = "62";
  lines[31] = "23:00:00 62 5";  // Lock, Monday to Friday
  fake.files.disk[kPath] = settings::JoinLines(lines);
  state.StartedWithWindows = true;
  Start();
  EXPECT_FALSE(M().Visible());
  M().RearmRemembered();
  ASSERT_TRUE(M().ScheduleActive());
  EXPECT_EQ(state.Control.Schedule().action, schedule::Action::Lock);
  EXPECT_EQ(state.Control.Schedule().repeat, schedule::kMondayToFriday);
  EXPECT_EQ(state.Control.Schedule().trigger.moment, base::MakeLocalTime({2026, 12, 7, 23, 0, 0})) << "Monday";
  EXPECT_EQ(state.Control.Schedule().noticeMinutes, session::ProgramState::kRepeatNotice);
  EXPECT_TRUE(state.TrayRecord.shown);
  EXPECT_EQ(M().frmeAcTime.Caption(), "Monday to Friday :");
}

TEST_F(RepeatWindow, TheNoticeAheadAndAMissedOccurrenceComeAsBalloonsAndResumeIsHeard) {
  Start();
  Choose(1, true);
  M().ActTime.SetValue(clock.Now() + 10min);
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_EQ(fake.log.Count<os::fake::kernel32::SetWaitableTimer>(), 1u) << "woken for it";
  backend.Advance(5min + 1s);
  EXPECT_NE(Balloon().find("Shutdown in 5 minutes (21:15:03)"), std::string::npos);

  clock.AdvanceMs(3 * 3600 * 1000u);  // asleep past it
  ASSERT_TRUE(backend.PowerBroadcast(M(), 18));
  EXPECT_TRUE(M().ScheduleActive());
  EXPECT_NE(Balloon().find("Shutdown at 21:15:03 was missed; next: Mon 07 Dec 21:15:03"),
            std::string::npos);
}

}  // namespace
