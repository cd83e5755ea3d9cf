// The warning's postpone as the user meets it, and the command line carried out by the
// controller with no window at all.
#include "app/Commands.h"
#include "support/Firing.h"

namespace {

namespace kernel32 = os::fake::kernel32;
using namespace std::chrono_literals;

class Postpone : public testing_support::FiringTest {
 protected:
  const std::string Tip() {
    const std::string& tip = fake.shell32.trayIcons.begin()->second.szTip;
    return tip.substr(0, tip.find_last_not_of(' ') + 1);
  }
  // The warning shown now (one postponed earlier has gone).
  countdown::frmAction* Shown() {
    for (ui::Form* form : runtime.Forms())
      if (form->Name() == "frmAction" && form->IsLoaded()) return static_cast<countdown::frmAction*>(form);
    return nullptr;
  }
};

TEST_F(Postpone, UntickedTheWarningIsAsItAlwaysWas) {
  Countdown("30");
  ActivateIn(5);
  countdown::frmAction& warning = Fire();
  EXPECT_EQ(warning.ClientHeight(), 1740);
  for (const ui::Control* control : std::initializer_list<const ui::Control*>{
           &warning.txtPostpone, &warning.lblPostpone, &warning.cmdPostpone})
    EXPECT_FALSE(control->Visible());
}

// Ticked: the warning offers the minutes last chosen; Postpone stops the count and its beeps,
// the window goes, the program stays in the tray (as activation leaves it) and says so; the
// schedule fires again that many minutes later, and the new minutes are remembered.
TEST_F(Postpone, PostponedInTheWarningItFiresAgainLaterAndTheTraySaysSo) {
  backend.Choose(M().mnu_postpone);
  M().mnu_autotray.SetChecked(true);
  Countdown("30");
  ActivateIn(5);
  countdown::frmAction& warning = Fire();
  EXPECT_TRUE(warning.cmdPostpone.Visible());
  EXPECT_GT(warning.ClientHeight(), 1740);
  EXPECT_EQ(warning.txtPostpone.Text(), "10");
  backend.Advance(3s);
  warning.txtPostpone.SetText("");
  backend.Type(warning.txtPostpone, "2x");
  ASSERT_TRUE(backend.Click(warning.cmdPostpone));

  EXPECT_FALSE(warning.IsLoaded());
  EXPECT_EQ(state.PostponeMinutes, 2);
  EXPECT_TRUE(M().ScheduleActive());
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  EXPECT_EQ(Tip(), "Shutdown On 06-Dec-26 At 09:02:08 PM (postponed)");
  const std::size_t beeps = fake.log.Count<kernel32::Beep>();
  backend.Advance(2min - 1s);
  EXPECT_EQ(fake.log.Count<kernel32::Beep>(), beeps) << "no beep while postponed";
  EXPECT_EQ(Shown(), nullptr);
  backend.RunUntil([&] { return Shown() != nullptr; }, 2s);
  ASSERT_NE(Shown(), nullptr) << "fired again two minutes after the postpone";
  countdown::frmAction& again = *Shown();
  EXPECT_EQ(again.txtPostpone.Text(), "2");
  boxes().Answer(ui::vbOK);
  EXPECT_TRUE(backend.Click(again.cmdCancel));
  EXPECT_EQ(LastBox(), "Action SHUTDOWN, has been cancelled by the user!   ");
  EXPECT_TRUE(runtime.Ended());
}

// What the command line needs of a main window, and nothing more: no control to write.
struct NoWindow : session::MainWindow {
  bool SaveSett(const std::string&) override { return true; }
  bool Unload() override { return true; }
  void RestoreFromTray() override {}
  void MinimizeToTray() override {}
  void ShowNotice(const std::string&) override {}
  schedule::Schedule OptionsFromWindow() override {
    schedule::Schedule s;
    s.countdown = 10;
    s.keepAwake = true;
    return s;
  }
  std::string StatusCaption() const override { return "Restart soon"; }
  bool BeepOnTimeout() const override { return false; }
  bool PostponeOffered() const override { return false; }
  void TurnOffDisplay() override {}
};

TEST(CommandLineController, ActivatesPostponesAndCancelsWithNoWindow) {
  testing_support::Harness h;
  h.clock.SetWallClock(base::MakeLocalTime({2026, 12, 8, 11, 0, 0}));
  NoWindow window;
  h.state.main = &window;
  auto carryOut = [&](std::vector<std::string> args, std::string& reply) {
    return app::CarryOut(h.state, h.runtime, *command::Parse(args).request, reply);
  };
  std::string reply;
  EXPECT_EQ(carryOut({"/r", "/in", "2m"}, reply), command::kDone);
  EXPECT_TRUE(h.state.Control.Armed());
  EXPECT_EQ(h.state.Control.Schedule().countdown, 10) << "the window's options where the switches say nothing";
  EXPECT_EQ(carryOut({"/postpone", "5"}, reply), command::kDone);
  EXPECT_EQ(h.state.TargetTime(), base::MakeLocalTime({2026, 12, 8, 11, 7, 0}));
  EXPECT_EQ(app::StatusText(h.state), "Restart soon; 420 seconds left; the computer is kept awake.");
  EXPECT_EQ(carryOut({"/a"}, reply), command::kDone);
  EXPECT_EQ(h.state.Control.GetPhase(), control::Phase::Idle);
  EXPECT_EQ(h.fake.kernel32.executionState, os::kEsContinuous) << "released";
  EXPECT_EQ(carryOut({"/postpone", "5"}, reply), command::kNothingToCancel);
  EXPECT_EQ(reply, "Nothing to postpone: no schedule is active.");
  EXPECT_FALSE(command::Parse({"/postpone", "1000"}).request);
  h.state.main = nullptr;
}

}  // namespace

// "Keep the Computer Awake until Then" ticked: a moment keeps it awake from activation until
// it is deactivated or the program closes; unticked, a moment asks nothing of the power manager.
TEST_F(Postpone, KeepAwakeHoldsAMomentsWaitUntilDeactivatedOrClosed) {
  constexpr std::uint32_t kAwake = os::kEsContinuous | os::kEsSystemRequired;
  ActivateIn(60);
  EXPECT_EQ(fake.log.Count<kernel32::SetThreadExecutionState>(), 0u);
  backend.Click(M().cmdActivate);
  ASSERT_TRUE(backend.Choose(M().mnu_keepawake));
  EXPECT_TRUE(M().mnu_keepawake.Checked());
  ActivateIn(60);
  EXPECT_EQ(fake.kernel32.executionState, kAwake);
  backend.Click(M().cmdActivate);
  EXPECT_EQ(fake.kernel32.executionState, os::kEsContinuous);
  ActivateIn(60);
  boxes().Answer(ui::vbYes);  // to deactivate and exit
  backend.CloseBox(M());
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(fake.kernel32.executionState, os::kEsContinuous);
  EXPECT_EQ(fake.log.Count<kernel32::SetThreadExecutionState>(), 4u);
}
