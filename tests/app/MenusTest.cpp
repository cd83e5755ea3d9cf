// The preference and help menus of the main window.
#include "settings/modSettings.h"
#include "support/Harness.h"
#include "update/Site.h"

namespace {

namespace shell32 = os::fake::shell32;
using testing_support::MainWindowTest;

constexpr const char* kSettingsPath = "C:\\Program Files\\Quenlar\\settings.qnl";

class Menus : public MainWindowTest {
 protected:
  void SetUp() override { Start(); }
  struct Ticks {
    bool beep, confirm, autotray;
    bool operator==(const Ticks&) const = default;
  };
  static Ticks TicksOf(app::frmMain& m) {
    return {m.mnu_beep.Checked(), m.mnu_confirm.Checked(), m.mnu_autotray.Checked()};
  }
  // Another run of the program over the files this one left.
  Ticks TicksAfterRestart() {
    testing_support::Harness again;
    again.fake.files.disk = fake.files.disk;
    app::frmMain next(again.runtime, again.state);
    next.Initialize();
    next.Show();
    return TicksOf(next);
  }
};

TEST_F(Menus, TheTicksToggleAndSurviveARestartOnlyOnceSaved) {
  EXPECT_EQ(TicksOf(M()), (Ticks{true, false, false})) << "a fresh start";
  ASSERT_TRUE(backend.Choose(M().mnu_confirm));
  ASSERT_TRUE(backend.Choose(M().mnu_confirm));
  EXPECT_EQ(TicksOf(M()), (Ticks{true, false, false})) << "twice leaves it as it was";
  backend.Choose(M().mnu_beep);
  backend.Choose(M().mnu_confirm);
  backend.Choose(M().mnu_autotray);
  EXPECT_EQ(TicksOf(M()), (Ticks{false, true, true}));
  EXPECT_TRUE(fake.files.disk.empty()) << "a toggle writes nothing by itself";

  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Press(M(), ui::Shortcut::Ctrl('S')));
  EXPECT_EQ(LastBox(), "Settings are saved successfully!     ");
  EXPECT_EQ(TicksAfterRestart(), (Ticks{false, true, true}));

  backend.Choose(M().mnu_autotray);  // not saved: a run that ends without saving loses it
  EXPECT_EQ(TicksAfterRestart(), (Ticks{false, true, true}));
  ASSERT_TRUE(backend.CloseBox(M())) << "no question: Exit without Confirmation is ticked";
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(TicksAfterRestart(), (Ticks{false, true, false})) << "the normal exit saves";
  EXPECT_EQ(settings::SplitLines(fake.files.disk.at(kSettingsPath)).at(10), "False");
}

TEST_F(Menus, MinimiseToTrayOnActivationTakesTheWindowIntoTheTray) {
  ASSERT_TRUE(backend.Choose(M().mnu_autotray));
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_FALSE(M().Visible());
  EXPECT_EQ(fake.shell32.trayIcons.size(), 1u);
}

TEST_F(Menus, TheWebsiteAndDonationPagesOpenMaximisedThroughTheShell) {
  ASSERT_TRUE(backend.Press(M(), ui::Shortcut::Ctrl('W')));
  ASSERT_TRUE(backend.Choose(M().mnu_donate));
  fake.shell32.shellExecuteResult = 2;  // no browser: nothing is said
  ASSERT_TRUE(backend.Choose(M().mnu_website));
  std::string home = update::SiteAddress();
  EXPECT_EQ(fake.log.Of<shell32::ShellExecuteA>(),
            (std::vector{shell32::ShellExecuteA{0, "Open", home, "", "", os::kSwShowMaximized},
                         shell32::ShellExecuteA{0, "Open", home + "/product/donate.html", "", "", 3},
                         shell32::ShellExecuteA{0, "Open", home, "", "", 3}}));
  EXPECT_TRUE(boxes().Log().empty());
}

TEST_F(Menus, WhileAScheduleIsActiveUpdatesAndAboutAreGreyedAndTheirShortcutsDead) {
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_FALSE(M().mnu_update.Enabled());
  EXPECT_FALSE(M().mnu_about.Enabled());
  EXPECT_FALSE(backend.Press(M(), ui::Shortcut::Ctrl('U')));
  EXPECT_FALSE(backend.Press(M(), ui::Shortcut::F(1)));
  EXPECT_EQ(fake.log.Count<os::fake::wininet::HttpSendRequestA>(), 0u);
  EXPECT_TRUE(M().mnu_options.Enabled()) << "the other items stay usable";
  EXPECT_TRUE(M().mnu_saveset.Enabled());
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_TRUE(M().mnu_update.Enabled());
  EXPECT_TRUE(M().mnu_about.Enabled());
}

// "Turn Off the Display", in the menu bar and the tray pop-up, asks at once through the window
// itself and activates nothing; a schedule that is active stays so.
TEST_F(Menus, TurnOffTheDisplayAsksThroughTheWindowAndLeavesTheScheduleAsItIs) {
  using os::fake::user32::DefWindowProcA;
  const auto& items = M().mnu_menu.Items();
  ASSERT_EQ(items.at(2), &M().mnu_display);
  EXPECT_EQ(M().mnu_display.Caption(), "Turn Off the &Display");
  EXPECT_EQ(M().mnu_popup.Items().at(3), &M().mnu_Rdisplay);
  EXPECT_EQ(M().mnu_popup.Items().at(4), &M().mnu_popexit);

  ASSERT_TRUE(backend.Choose(M().mnu_display));
  const DefWindowProcA off{M().hWnd(), 0x112, 0xF170, 2};
  EXPECT_EQ(fake.log.Of<DefWindowProcA>(), (std::vector{off}));
  EXPECT_FALSE(M().ScheduleActive());

  ASSERT_TRUE(backend.Click(M().cmdActivate));
  ASSERT_TRUE(backend.MouseMove(M(), 516, 0));  // the right button down on the tray icon
  ASSERT_TRUE(backend.ChoosePopupItem(M().mnu_Rdisplay));
  EXPECT_EQ(fake.log.Of<DefWindowProcA>(), (std::vector{off, off}));
  EXPECT_TRUE(M().ScheduleActive());
  EXPECT_EQ(state.Control.Schedule().action, schedule::Action::Shutdown);
}

}  // namespace
