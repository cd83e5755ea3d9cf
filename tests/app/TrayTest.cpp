// The notification-area icon of the main window.
#include "support/Harness.h"

namespace {

namespace user32 = os::fake::user32;
using testing_support::MainWindowTest;

class Tray : public MainWindowTest {
 protected:
  void SetUp() override {
    backend.Clock().SetWallClock(base::MakeLocalTime({2026, 12, 6, 20, 0, 0}));
    Start();
  }
  const os::NotifyIconData& Icon() { return fake.shell32.trayIcons.begin()->second; }
  void MouseOnIcon(int message) { M().Form_MouseMove(0, 0, static_cast<float>(message * 15), 0); }
};

TEST_F(Tray, AnIdleWindowGoesToTheTrayWithTheDisabledPictureAndTip) {
  backend.Click(M().cmdTray);
  EXPECT_FALSE(M().Visible());
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  EXPECT_EQ(Icon().cbSize, 88u);
  EXPECT_EQ(Icon().hWnd, M().hWnd());
  EXPECT_EQ(Icon().uID, 1u);
  EXPECT_EQ(Icon().uFlags, 7u);
  EXPECT_EQ(Icon().uCallbackMessage, 512u);
  EXPECT_EQ(Icon().hIcon, M().IcoDisabled.PictureHandle());
  EXPECT_NE(Icon().hIcon, 0u);
  EXPECT_EQ(Icon().szTip, "Quenlar 1.3 (NOT ACTIVE)" + std::string(40, ' '));
}

TEST_F(Tray, AnActiveScheduleNamesTheForcedActionAndItsMoment) {
  backend.Click(M().optExitOption[1]);
  backend.Click(M().chkForced);
  backend.Click(M().cmdActivate);
  backend.Click(M().cmdTray);
  EXPECT_EQ(M().Caption(), "FORCED Restart On 06-Dec-26 At 09:00:00 PM");
  EXPECT_EQ(Icon().szTip.substr(0, M().Caption().size()), M().Caption());
  EXPECT_EQ(Icon().szTip.size(), 64u);
}

TEST_F(Tray, ALongTipIsCutAtSixtyFourCharacters) {
  EXPECT_EQ(tray::PadTip(std::string(70, 'x')), std::string(64, 'x'));
}

TEST_F(Tray, TheLeftButtonBringsTheWindowBackOnItsPress) {
  backend.Click(M().cmdTray);
  MouseOnIcon(514);  // a release does nothing
  MouseOnIcon(512);  // nor does a move
  EXPECT_FALSE(M().Visible());
  MouseOnIcon(513);
  EXPECT_TRUE(M().Visible());
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
  EXPECT_EQ(fake.log.Of<user32::SetForegroundWindow>(), (std::vector{user32::SetForegroundWindow{M().hWnd()}}));
}

TEST_F(Tray, TheRightButtonOpensThePopUpMenuWhoseShowRestores) {
  backend.Click(M().cmdTray);
  MouseOnIcon(517);
  EXPECT_EQ(backend.OpenPopup(), nullptr);
  MouseOnIcon(516);
  EXPECT_EQ(fake.log.All().back(), os::fake::Call(user32::SetForegroundWindow{M().hWnd()}));
  ASSERT_EQ(backend.OpenPopup(), &M().mnu_popup);
  ASSERT_TRUE(backend.ChoosePopupItem(M().mnu_Show));
  EXPECT_TRUE(M().Visible());
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
}

TEST_F(Tray, OrdinaryMouseMovesOverTheWindowDoNothing) {
  for (int x = 0; x < 330; x += 7) MouseOnIcon(x);
  EXPECT_EQ(backend.OpenPopup(), nullptr);
  EXPECT_EQ(fake.log.Count<user32::SetForegroundWindow>(), 0u);
}

TEST_F(Tray, ASecondAddIsRefusedAndTheFirstIconStays) {
  backend.Click(M().cmdTray);
  MouseOnIcon(516);
  ASSERT_TRUE(backend.ChoosePopupItem(M().mnu_Ractivate));
  M().mnu_autotray.SetChecked(true);
  MouseOnIcon(516);
  backend.ChoosePopupItem(M().mnu_Ractivate);  // deactivate
  MouseOnIcon(516);
  backend.ChoosePopupItem(M().mnu_Ractivate);  // activate again, adds again
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  EXPECT_EQ(Icon().hIcon, M().IcoDisabled.PictureHandle()) << "the icon keeps its first picture";
  EXPECT_FALSE(M().Visible());
}

}  // namespace
