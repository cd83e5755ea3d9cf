// The close request and the unload sequence, from every place a close can come from.
#include "app/Settings.h"
#include "settings/modSettings.h"
#include "support/Harness.h"

namespace {

namespace files = os::fake::files;
namespace shell32 = os::fake::shell32;
using os::fake::Calls;
using testing_support::MainWindowTest;

constexpr const char* kSettingsPath = "C:\\Program Files\\Quenlar\\settings.qnl";

constexpr const char* kActiveQuestion = "Quenlar is currenty Active. Do you want to Deactivate it?   ";
constexpr const char* kExitQuestion = "Are you sure, you want to Exit?    ";

class Close : public MainWindowTest {
 protected:
  void SetUp() override { Start(); }
  void Activate() { ASSERT_TRUE(backend.Click(M().cmdActivate)); }
};

TEST_F(Close, WhileActiveNoKeepsTheScheduleRunning) {
  Activate();
  boxes().Answer(ui::vbNo);
  ASSERT_TRUE(backend.CloseBox(M()));
  EXPECT_EQ(LastBox(), kActiveQuestion);
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kYesNo | ui::mb::kCritical);
  EXPECT_EQ(boxes().Log().back().title, ":: Quenlar 1.3 ::");
  EXPECT_FALSE(runtime.Ended());
  EXPECT_TRUE(M().ScheduleActive());
  EXPECT_TRUE(M().IsLoaded());
}

TEST_F(Close, WhileActiveYesEndsWithoutASecondQuestionAndPerformsNothing) {
  backend.Choose(M().cboTimeUnit, 2);  // in 5 seconds
  Activate();
  fake.log.Clear();
  boxes().Answer(ui::vbYes);
  ASSERT_TRUE(backend.CloseBox(M()));
  EXPECT_EQ(boxes().Log().size(), 1u) << "no exit question after the Yes";
  EXPECT_TRUE(state.Control.Leaving());
  EXPECT_TRUE(runtime.Ended());
  EXPECT_FALSE(M().tmrAction.Enabled());
  EXPECT_FALSE(M().IsLoaded());
  backend.Advance(std::chrono::seconds(10));  // past the moment the schedule was set for
  EXPECT_FALSE(backend.IsScheduled(M().tmrAction));
  // Every call the program makes to the system is in the log: a power request, its privilege,
  // a started program or a countdown's beep would all show here.
  EXPECT_EQ(fake.log.All(),
            (Calls{shell32::Shell_NotifyIconA{os::kNimDelete, state.TrayRecord},
                   files::ReplaceFileContents{kSettingsPath, settings::JoinLines(app::ToLines(M().SettingsFromWindow()))}}))
      << "the icon goes and the settings are saved on the way out, nothing more";
}

TEST_F(Close, ACloseArrivingWhileTheQuestionIsOpenIsRefusedAndTheFormUnloadsOnce) {
  boxes().Answer(ui::vbYes);
  bool nested = true;
  M().QueryUnload = [&](int& cancel, int mode) {
    // While the question is on screen, Windows ends the session.
    if (nested) {
      nested = false;
      EXPECT_FALSE(M().RequestClose(ui::vbAppWindows));
    }
    M().Form_QueryUnload(cancel, mode);
  };
  backend.CloseBox(M());
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(fake.log.Count<files::ReplaceFileContents>(), 1u);
  EXPECT_EQ(fake.log.Of<shell32::Shell_NotifyIconA>(),
            (std::vector{shell32::Shell_NotifyIconA{os::kNimDelete, state.TrayRecord}}));
}

TEST_F(Close, WhileIdleTheExitQuestionDecides) {
  boxes().Answer(ui::vbNo);
  backend.CloseBox(M());
  EXPECT_EQ(LastBox(), kExitQuestion);
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kYesNo | ui::mb::kQuestion);
  EXPECT_EQ(boxes().Log().back().title, "Exit Confirmation");
  EXPECT_FALSE(runtime.Ended());
  boxes().Answer(ui::vbYes);
  backend.CloseBox(M());
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Close, WithoutConfirmationTheProgramEndsAtOnce) {
  M().mnu_confirm.SetChecked(true);
  backend.CloseBox(M());
  EXPECT_TRUE(boxes().Log().empty());
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Close, ACloseAfterTheProgramDecidedToEndAsksNothing) {
  state.Control.End();
  M().Unload();
  EXPECT_TRUE(boxes().Log().empty());
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Close, ExitFromTheMenuItsShortcutAndTheTrayBehaveLikeTheCloseBox) {
  boxes().Answer(ui::vbNo);
  ASSERT_TRUE(backend.Choose(M().mnu_exit));
  boxes().Answer(ui::vbNo);
  ASSERT_TRUE(backend.Press(M(), ui::Shortcut::Ctrl('X')));
  backend.Click(M().cmdTray);
  backend.MouseMove(M(), 516, 0);
  boxes().Answer(ui::vbNo);
  ASSERT_TRUE(backend.ChoosePopupItem(M().mnu_popexit));
  ASSERT_EQ(boxes().Log().size(), 3u);
  for (const auto& box : boxes().Log()) EXPECT_EQ(box.text, kExitQuestion);
  EXPECT_FALSE(runtime.Ended());
  M().mnu_Show_Click();
  Activate();
  boxes().Answer(ui::vbYes);
  backend.Press(M(), ui::Shortcut::Ctrl('X'));
  EXPECT_EQ(LastBox(), kActiveQuestion);
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Close, WindowsEndingTheSessionWhileActiveAsksLikeAnyOtherClose) {
  Activate();
  boxes().Answer(ui::vbNo);
  ASSERT_TRUE(backend.EndSession(M()));
  EXPECT_EQ(LastBox(), kActiveQuestion);
  EXPECT_FALSE(runtime.Ended());
}

TEST_F(Close, UnloadRemovesTheIconThenSavesThenStopsTheTimersAndEnds) {
  M().mnu_confirm.SetChecked(true);
  fake.log.Clear();
  backend.CloseBox(M());
  EXPECT_EQ(fake.log.All(),
            (Calls{shell32::Shell_NotifyIconA{os::kNimDelete, state.TrayRecord},
                   files::ReplaceFileContents{kSettingsPath, settings::JoinLines(app::ToLines(M().SettingsFromWindow()))}}));
  EXPECT_FALSE(M().tmrTime.Enabled());
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(Close, UnloadRemovesTheTrayIconStopsTheTimersAndEnds) {
  Activate();
  backend.Click(M().cmdTray);
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  M().tmrUpdate.SetEnabled(true);
  boxes().Answer(ui::vbYes);  // to deactivate
  M().Unload();
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
  EXPECT_FALSE(M().tmrAction.Enabled());
  EXPECT_FALSE(M().tmrUpdate.Enabled());
  EXPECT_FALSE(M().tmrTime.Enabled());
  EXPECT_TRUE(runtime.Ended());
  backend.Advance(std::chrono::seconds(5));  // nothing runs after the end
}

TEST_F(Close, TheSeriousErrorExitReportsThenClosesWithTheUsualQuestion) {
  boxes().Answer(ui::vbOK);
  boxes().Answer(ui::vbYes);
  M().SeriousErrorExit();
  ASSERT_EQ(boxes().Log().size(), 2u);
  EXPECT_EQ(boxes().Log()[0].text, "Quenlar has encountered a serious error, click OK to terminate.");
  EXPECT_EQ(boxes().Log()[0].style, ui::mb::kCritical);
  EXPECT_EQ(boxes().Log()[0].title, "Error!");
  EXPECT_EQ(boxes().Log()[1].text, kExitQuestion);
  EXPECT_TRUE(runtime.Ended());
}

}  // namespace
