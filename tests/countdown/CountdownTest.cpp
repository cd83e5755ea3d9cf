// The countdown window, opened by a schedule that fires: its count, beeps, mute box, the two
// ways to cancel with their messages, and the end of the program either way.
#include "support/Firing.h"

namespace {

namespace kernel32 = os::fake::kernel32;
namespace shell32 = os::fake::shell32;
namespace user32 = os::fake::user32;
using namespace std::chrono_literals;

class Countdown : public testing_support::FiringTest {
 protected:
  // The countdown window of a shutdown in 5 seconds with this countdown, and the sentences it
  // shows from then on.
  countdown::frmAction& FireWith(const std::string& seconds) {
    FiringTest::Countdown(seconds);
    ActivateIn(5);
    auto& warning = Fire();
    warning.lblMessage.Change = [this, &warning] { sentences.push_back(warning.lblMessage.Caption()); };
    return warning;
  }
  std::string Remaining(int seconds) {
    return "Action : Shutdown will be performed in " + std::to_string(seconds) + " Seconds.";
  }
  std::size_t Beeps() { return fake.log.Count<kernel32::Beep>(); }
  std::size_t Exits() { return fake.log.Count<user32::ExitWindowsEx>(); }
  void ExpectCancelled(const std::string& message) {
    ASSERT_EQ(boxes().Log().size(), 1u) << "and no exit question";
    EXPECT_EQ(LastBox(), message);
    EXPECT_EQ(boxes().Log()[0].style, ui::mb::kInformation);
    EXPECT_EQ(boxes().Log()[0].title, ":: Quenlar 1.3 ::");
    EXPECT_EQ(Exits(), 0u);
    EXPECT_TRUE(runtime.Ended());
    EXPECT_EQ(fake.log.Count<os::fake::files::ReplaceFileContents>(), 1u);
  }
  // The window goes out of the top band and out of sight before the message shows.
  void AnswerSeeingTheWindowGone(countdown::frmAction& warning) {
    boxes().AnswerAfter(
        [&] {
          EXPECT_FALSE(warning.Visible());
          EXPECT_EQ(fake.log.Of<user32::SetWindowPos>().back().insertAfter, os::kHwndNoTopMost);
        },
        ui::vbOK);
  }
  std::vector<std::string> sentences;
};

TEST_F(Countdown, ThreeSecondsShowTwoOneAndZeroAndActRightAfterTheThirdBeep) {
  auto& warning = FireWith("3");
  EXPECT_EQ(warning.Caption(), " Warning!");
  EXPECT_EQ(warning.lblMessage.Caption(), Remaining(3));
  EXPECT_EQ(warning.prgBar.Max(), 3);
  EXPECT_EQ(warning.chk_mute.Value(), 0) << "beeping is ticked in the menu";
  EXPECT_EQ(warning.tmrProgress.Interval(), 900);
  const std::uint64_t shown = Now();
  backend.Advance(900ms);
  EXPECT_EQ(warning.prgBar.Value(), 1);
  EXPECT_EQ(Beeps(), 1u);
  backend.RunUntil([&] { return runtime.Ended(); }, 5s);
  EXPECT_EQ(sentences, (std::vector{Remaining(2), Remaining(1), Remaining(0)}));
  EXPECT_EQ(Now() - shown, 3000u) << "a beeping second lasts a second";
  EXPECT_EQ((fake.log.Only<kernel32::Beep, user32::ExitWindowsEx>()),
            (os::fake::Calls{kernel32::Beep{4000, 100}, kernel32::Beep{4000, 100}, kernel32::Beep{4000, 100},
                             user32::ExitWindowsEx{1, 0}}));
  EXPECT_FALSE(warning.IsLoaded());
  EXPECT_TRUE(boxes().Log().empty());
}

TEST_F(Countdown, OneSecondBeepsOnceShowsZeroAndActsAtTheBeepingFrequency) {
  state.BeepFrequencyText = "20000";  // a hand-edited settings file
  FireWith("1");
  backend.RunUntil([&] { return runtime.Ended(); }, 5s);
  EXPECT_EQ(sentences, (std::vector{Remaining(0)}));
  EXPECT_EQ(fake.log.Of<kernel32::Beep>(), (std::vector{kernel32::Beep{10000, 100}}));
  EXPECT_EQ(Exits(), 1u);
}

TEST_F(Countdown, ABusySystemDoesNotStretchTheBeepingCountdown) {
  fake.kernel32.beepBlocksMs = 130;  // each tone ends 30 ms late
  auto& warning = FireWith("30");
  const std::uint64_t shown = Now();
  backend.RunUntil([&] { return runtime.Ended(); }, 40s);
  EXPECT_NEAR(static_cast<double>(Now() - shown), 30000, 200);
  EXPECT_EQ(Beeps(), 30u);
  EXPECT_EQ(warning.tmrProgress.Interval(), 900);
}

TEST_F(Countdown, MutedItCountsWholeSecondsSilentlyAndUnmutingBeepsFromTheNextTick) {
  M().mnu_beep.SetChecked(false);
  auto& warning = FireWith("4");
  EXPECT_EQ(warning.chk_mute.Value(), 1);
  EXPECT_EQ(warning.tmrProgress.Interval(), 1000);
  const std::uint64_t shown = Now();
  backend.Advance(2000ms);
  EXPECT_EQ(sentences.size(), 2u);
  EXPECT_EQ(Beeps(), 0u);
  backend.Click(warning.chk_mute);
  backend.Advance(1000ms);
  EXPECT_EQ(Beeps(), 1u);
  EXPECT_EQ(warning.tmrProgress.Interval(), 900);
  backend.Click(warning.chk_mute);
  backend.RunUntil([&] { return runtime.Ended(); }, 5s);
  EXPECT_EQ(Beeps(), 1u);
  EXPECT_EQ(Now() - shown, 4000u);
  EXPECT_EQ(Exits(), 1u);
}

TEST_F(Countdown, TheTrayIconGoesAtLoadAndTheWindowIsTopMostOnceActive) {
  FiringTest::Countdown("30");
  ActivateIn(5);
  backend.Click(M().cmdTray);
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  auto& warning = Fire();
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
  auto topMost = user32::SetWindowPos{warning.hWnd(), os::kHwndTopMost, 0, 0, 0, 0, 0x43};
  EXPECT_EQ(fake.log.Of<user32::SetWindowPos>(), (std::vector{topMost}));
}

TEST_F(Countdown, CancelTellsTheCapitalisedActionAndEndsTheProgramWithoutActing) {
  auto& warning = FireWith("30");
  backend.Advance(2500ms);
  AnswerSeeingTheWindowGone(warning);
  ASSERT_TRUE(backend.Click(warning.cmdCancel));
  ExpectCancelled("Action SHUTDOWN, has been cancelled by the user!   ");
  backend.Advance(5s);
  EXPECT_EQ(Beeps(), 2u) << "no tick after the cancel";
}

TEST_F(Countdown, CancelClickedDuringTheLastToneStillCancels) {
  auto& warning = FireWith("1");
  fake.user32.OnWait = [&] {  // messages are served while the tone sounds
    fake.user32.OnWait = nullptr;
    backend.Click(warning.cmdCancel);
  };
  boxes().Answer(ui::vbOK);
  backend.RunUntil([&] { return runtime.Ended(); }, 5s);
  EXPECT_EQ(Beeps(), 1u);
  ExpectCancelled("Action SHUTDOWN, has been cancelled by the user!   ");
}

TEST_F(Countdown, EscAnywhereInTheWindowCancelsLikeTheButton) {
  auto& warning = FireWith("30");
  backend.Focus(warning.chk_mute);
  AnswerSeeingTheWindowGone(warning);
  ASSERT_TRUE(backend.KeyDown(warning, ui::vbKeyEscape));
  ExpectCancelled("Action SHUTDOWN, has been cancelled by the user!   ");
  EXPECT_EQ(warning.chk_mute.Value(), 0);
}

TEST_F(Countdown, AltF4GivesTheShortUncapitalisedMessage) {
  auto& warning = FireWith("30");
  AnswerSeeingTheWindowGone(warning);
  ASSERT_TRUE(backend.KeyDown(warning, ui::vbKeyF4, ui::vbAltMask));
  ExpectCancelled("Shutdown has been cancelled by the user!   ");
}

}  // namespace
