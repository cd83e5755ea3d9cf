// The notification-area icon of the main window.
#include "support/Harness.h"

namespace {

namespace user32 = os::fake::user32;
namespace shell32 = os::fake::shell32;
using os::fake::Calls;
using testing_support::MainWindowTest;

class Tray : public MainWindowTest {
 protected:
  void SetUp() override {
    clock.SetWallClock(base::MakeLocalTime({2026, 12, 6, 20, 0, 0}));
    Start();
  }
  const os::NotifyIconData& Icon() { return fake.shell32.trayIcons.begin()->second; }
  // The shell reports a mouse event over the icon to the hidden window as the callback message,
  // 512, which is the window's mouse move, with the event's number where x would be.
  void MouseOnIcon(int message) { ASSERT_TRUE(backend.MouseMove(M(), message, 0)); }
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

TEST_F(Tray, TheLeftButtonBringsTheWindowBackOnItsPressAndADoubleClickOnlyOnce) {
  backend.Click(M().cmdTray);
  MouseOnIcon(514);  // a release does nothing
  MouseOnIcon(512);  // nor does a move
  EXPECT_FALSE(M().Visible());
  for (int message : {513, 514, 515, 514}) MouseOnIcon(message);
  EXPECT_TRUE(M().Visible());
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
  EXPECT_EQ(fake.log.Of<user32::SetForegroundWindow>(), (std::vector{user32::SetForegroundWindow{M().hWnd()}}));
  EXPECT_EQ(fake.log.Count<shell32::Shell_NotifyIconA>(), 2u) << "one add, one delete";
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

// Activated and deactivated from the icon's menu, with and without the tray preference: the
// icon changes in place, so that its picture and tip always tell the present state.
TEST_F(Tray, TheIconAlwaysTellsThePresentState) {
  backend.Click(M().cmdTray);
  auto expectIdle = [&](const char* when) {
    ASSERT_EQ(fake.shell32.trayIcons.size(), 1u) << when;
    EXPECT_EQ(Icon().hIcon, M().IcoDisabled.PictureHandle()) << when;
    EXPECT_EQ(Icon().szTip, tray::PadTip("Quenlar 1.3 (NOT ACTIVE)")) << when;
  };
  auto expectActive = [&](const char* when) {
    ASSERT_EQ(fake.shell32.trayIcons.size(), 1u) << when;
    EXPECT_EQ(Icon().hIcon, M().PictureHandle()) << when;
    EXPECT_EQ(Icon().szTip, tray::PadTip("Shutdown On 06-Dec-26 At 09:00:00 PM")) << when;
  };
  MouseOnIcon(516);
  ASSERT_TRUE(backend.ChoosePopupItem(M().mnu_Ractivate));
  expectActive("activated from the icon");
  MouseOnIcon(516);
  backend.ChoosePopupItem(M().mnu_Ractivate);
  expectIdle("deactivated from the icon");
  M().mnu_autotray.SetChecked(true);
  MouseOnIcon(516);
  backend.ChoosePopupItem(M().mnu_Ractivate);
  expectActive("activated with the tray preference");
  EXPECT_FALSE(M().Visible());
  fake.shell32.trayIcons.clear();
  backend.Broadcast("TaskbarCreated");
  expectActive("after Explorer started again");
}

TEST_F(Tray, WhenExplorerStartsAgainTheIconComesBackAsItWas) {
  backend.Click(M().cmdActivate);
  backend.Click(M().cmdTray);
  os::NotifyIconData added = Icon();
  fake.shell32.trayIcons.clear();  // Explorer went, and its icons with it
  fake.log.Clear();
  EXPECT_TRUE(backend.Broadcast("TaskbarCreated"));
  EXPECT_EQ(fake.log.Only<shell32::Shell_NotifyIconA>(), (Calls{shell32::Shell_NotifyIconA{os::kNimAdd, added}}));
  EXPECT_EQ(added.hIcon, M().PictureHandle());
  EXPECT_EQ(added.szTip, tray::PadTip(M().Caption()));
  EXPECT_FALSE(M().Visible());
}

TEST_F(Tray, AnIconNoLongerShownDoesNotComeBack) {
  backend.Broadcast("TaskbarCreated");  // never added
  backend.Click(M().cmdTray);
  MouseOnIcon(513);  // restored
  backend.Broadcast("TaskbarCreated");
  backend.Click(M().cmdTray);
  tray::DeleteIcon(fake.shell32, state.TrayRecord);  // as the countdown and alarm windows do
  fake.log.Clear();
  backend.Broadcast("TaskbarCreated");
  EXPECT_EQ(fake.log.Count<shell32::Shell_NotifyIconA>(), 0u);
}

}  // namespace

// A notice is a balloon over the icon. With the window on screen the icon comes for the
// balloon's time, in the same add, and goes with the balloon; the record the other calls use
// stays the first form.
TEST_F(Tray, ANoticeAddsTheIconForItsBalloonAndTakesItAwayWhenTheBalloonGoes) {
  fake.log.Clear();
  M().ShowNotice("Shutdown in 5 minutes (23:00)");
  os::NotifyIconData balloon = state.TrayRecord;
  balloon.cbSize = 488;
  balloon.uFlags = 0x17;
  balloon.szInfo = "Shutdown in 5 minutes (23:00)";
  balloon.uTimeout = 10000;
  balloon.szInfoTitle = "Quenlar";
  balloon.dwInfoFlags = 1;
  EXPECT_EQ(fake.log.Only<shell32::Shell_NotifyIconA>(), (Calls{shell32::Shell_NotifyIconA{os::kNimAdd, balloon}}));
  EXPECT_EQ(state.TrayRecord.cbSize, 88u);
  EXPECT_EQ(state.TrayRecord.hIcon, M().IcoDisabled.PictureHandle()) << "the icon as the tray shows it now";
  EXPECT_EQ(state.TrayRecord.szTip, tray::PadTip("Quenlar 1.3 (NOT ACTIVE)"));
  EXPECT_TRUE(M().Visible());

  MouseOnIcon(0x402);  // its showing is not told
  EXPECT_EQ(fake.shell32.trayIcons.size(), 1u);
  MouseOnIcon(0x404);  // its time ran out
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
  EXPECT_FALSE(state.TrayRecord.shown);
  EXPECT_TRUE(M().Visible());

  M().ShowNotice("again");
  fake.shell32.trayIcons.clear();  // Explorer went, and the balloon's icon with it
  backend.Broadcast("TaskbarCreated");
  EXPECT_TRUE(fake.shell32.trayIcons.empty()) << "an icon there only for a balloon does not come back";
}

TEST_F(Tray, ABalloonOverTheTraysIconLeavesTheIconWhereTheTrayWantsIt) {
  backend.Click(M().cmdTray);
  os::NotifyIconData icon = Icon();
  M().ShowNotice(std::string(300, 'x'));
  const shell32::Shell_NotifyIconA modify = fake.log.Of<shell32::Shell_NotifyIconA>().back();
  EXPECT_EQ(modify.message, os::kNimModify);
  EXPECT_EQ(modify.data.uFlags, 0x10u) << "the balloon alone";
  EXPECT_EQ(modify.data.szInfo, std::string(255, 'x'));
  EXPECT_EQ(Icon().szTip, icon.szTip);
  MouseOnIcon(0x403);
  EXPECT_EQ(fake.shell32.trayIcons.size(), 1u);
  EXPECT_FALSE(M().Visible());

  // The window comes back and goes to the tray while a balloon's own icon is up: it stays.
  MouseOnIcon(513);
  M().ShowNotice("Shutdown in 5 minutes (23:00)");
  backend.Click(M().cmdTray);
  MouseOnIcon(0x404);
  EXPECT_EQ(fake.shell32.trayIcons.size(), 1u);
  EXPECT_FALSE(M().Visible());
}

TEST_F(Tray, AClickOnTheBalloonBringsTheWindowBack) {
  backend.Click(M().cmdTray);
  M().ShowNotice("Shutdown at 23:00 was missed; next: Tue 10 Dec 23:00");
  MouseOnIcon(0x405);
  EXPECT_TRUE(M().Visible());
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
  EXPECT_EQ(fake.log.Of<user32::SetForegroundWindow>(), (std::vector{user32::SetForegroundWindow{M().hWnd()}}));
}
