// The real main window on the native backend, driven with window messages.
#include <algorithm>
#include <vector>

#include "Win32Fixture.h"
#include "app/frmMain.h"

namespace {

using win32_testing::H;
using win32_testing::TextOf;

std::string MenuText(HMENU menu, UINT position) {
  char text[128] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

class MainWindow : public win32_testing::Win32Test {
 protected:
  MainWindow() {
    clock.SetWallClock(base::MakeLocalTime({2026, 12, 6, 10, 0, 0}));
    main.Initialize();
    main.Show();
    Pump();
  }
  ~MainWindow() override {
    if (!runtime.Ended()) {
      state.Control.End();
      if (main.ScheduleActive()) main.cmdActivate_Click();  // deactivated: the close asks nothing
      main.Unload();
    }
  }
  void Type(ui::Control& control, const std::string& text) {
    for (char c : text) SendMessageA(H(control), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  void Click(ui::Control& control) { SendMessageA(H(control), BM_CLICK, 0, 0); }

  app::frmMain main{runtime, state};
};

TEST_F(MainWindow, StartsWithEveryControlAsARealWindowInItsDesignedState) {
  EXPECT_EQ(TextOf(main.hWnd()), ":: Quenlar 1.3 ::");
  EXPECT_TRUE(IsWindowVisible(H(main)));
  RECT r;
  GetWindowRect(H(main), &r);
  EXPECT_EQ(r.right - r.left, 4845 / 15);
  EXPECT_EQ(r.bottom - r.top, 5015 / 15);
  int unmade = 0;
  for (ui::Control* control : main.AllControls()) {
    if (control->Kind() == ui::ControlKind::Timer) continue;
    if (!control->EffectivelyVisible() || !control->InView()) {
      // The alarm's panel and the hidden icon store: made when they come into sight.
      EXPECT_EQ(control->hWnd(), 0u) << control->Name();
      ++unmade;
      continue;
    }
    EXPECT_TRUE(IsWindow(H(*control))) << control->Name();
    EXPECT_TRUE(IsWindowVisible(H(*control))) << control->Name();
    EXPECT_EQ(IsWindowEnabled(H(*control)) != 0, control->EffectivelyEnabled() && control->InView()) << control->Name();
  }
  EXPECT_EQ(unmade, 7);
  EXPECT_NE(main.IcoDisabled.PictureHandle(), 0u) << "the tray's picture is there all the same";
  EXPECT_EQ(TextOf(main.lblTime.hWnd()), "06 DEC 2026\r\n10:00:00 AM");
  EXPECT_EQ(TextOf(main.txtPeriod.hWnd()), "1");
  EXPECT_EQ(TextOf(main.txtTimeout.hWnd()), "30");
  EXPECT_EQ(TextOf(main.txtExecF.hWnd()), "Select File...");
  EXPECT_FALSE(IsWindowEnabled(H(main.txtExecF)));
  EXPECT_EQ(SendMessageA(H(main.optExitOption[0]), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(H(main.cboTimeUnit), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(GetScrollPos(H(main.scrSecond), SB_CTL), 99 - 30);
}

TEST_F(MainWindow, TheMenuBarHoldsTheThreeMenusAndHidesThePopUp) {
  HMENU bar = GetMenu(H(main));
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  EXPECT_EQ(MenuText(bar, 0), "&Menu");
  EXPECT_EQ(MenuText(bar, 1), "Se&ttings");
  EXPECT_EQ(MenuText(bar, 2), "&Help");
  HMENU menu = GetSubMenu(bar, 0);
  EXPECT_EQ(MenuText(menu, 0), "&Activate\tCtrl+A");
  EXPECT_EQ(MenuText(menu, 1), "Activate &When...");
  EXPECT_EQ(MenuText(menu, 2), "Turn Off the &Display");
  EXPECT_EQ(MenuText(menu, 3), "&Repeat...");
  EXPECT_EQ(MenuText(menu, 4), "Check for &updates\tCtrl+U");
  EXPECT_EQ(MenuText(menu, 6), "E&xit\tCtrl+X");
  HMENU settings = GetSubMenu(bar, 1);
  EXPECT_EQ(MenuText(settings, 2), "&Beep Internal Speaker on Timeout");
  EXPECT_TRUE(GetMenuState(settings, 2, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(settings, 3, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_EQ(MenuText(GetSubMenu(bar, 2), 3), "&About\tF1");
}

TEST_F(MainWindow, TypingIntoTheAmountKeepsModelAndScreenInStep) {
  SetFocus(H(main.txtPeriod));
  Pump();
  Type(main.txtPeriod, "007");
  EXPECT_EQ(main.txtPeriod.Text(), "7") << "the caret stays at the end as leading zeros vanish";
  EXPECT_EQ(TextOf(main.txtPeriod.hWnd()), "7");
  SendMessageA(H(main.txtPeriod), EM_SETSEL, 0, -1);
  Type(main.txtPeriod, "9a99");
  EXPECT_EQ(main.txtPeriod.Text(), "999");
  EXPECT_EQ(TextOf(main.txtPeriod.hWnd()), "999");
}

TEST_F(MainWindow, TheActivateButtonLocksTheWindowOnScreen) {
  Click(main.cmdActivate);
  EXPECT_TRUE(main.ScheduleActive());
  EXPECT_EQ(TextOf(main.cmdActivate.hWnd()), "De&activate");
  EXPECT_EQ(TextOf(main.lblActionTime.hWnd()), "06 DEC 2026\r\n11:00:00 AM");
  EXPECT_FALSE(IsWindowEnabled(H(main.frmeAction)));
  EXPECT_FALSE(IsWindowEnabled(H(main.frmeActOpt)));
  EXPECT_FALSE(IsWindowVisible(H(main.picBG(1))));
  EXPECT_TRUE(IsWindowVisible(H(main.lblActionTime)));
  EXPECT_EQ(GetFocus(), H(main.cmdTray));
  HMENU bar = GetMenu(H(main));
  EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), "De&activate\tCtrl+A");
  EXPECT_TRUE(GetMenuState(GetSubMenu(bar, 0), 1, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(GetSubMenu(bar, 2), 3, MF_BYPOSITION) & MF_GRAYED);
  Key(H(main.cmdTray), 'A', true);  // Ctrl+A deactivates
  EXPECT_FALSE(main.ScheduleActive());
  EXPECT_TRUE(IsWindowVisible(H(main.picBG(1))));
  EXPECT_EQ(MenuText(GetSubMenu(GetMenu(H(main)), 0), 0), "&Activate\tCtrl+A");
}

TEST_F(MainWindow, TheCloseBoxAsksOnceAndNoKeepsTheWindow) {
  Click(main.cmdActivate);
  boxes.Answer(ui::vbNo);
  SendMessageA(H(main), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].text, "Quenlar is currenty Active. Do you want to Deactivate it?   ");
  EXPECT_TRUE(IsWindow(H(main)));
  boxes.Answer(ui::vbYes);
  SendMessageA(H(main), WM_CLOSE, 0, 0);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(boxes.Log().size(), 2u);
}

TEST_F(MainWindow, TheTrayTakesTheRealWindowAndIconAndItsLeftPressRestores) {
  Click(main.cmdTray);
  EXPECT_FALSE(IsWindowVisible(H(main)));
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  const os::NotifyIconData& icon = fake.shell32.trayIcons.begin()->second;
  EXPECT_EQ(reinterpret_cast<HWND>(icon.hWnd), H(main));
  EXPECT_NE(icon.hIcon, 0u);
  EXPECT_EQ(reinterpret_cast<HICON>(icon.hIcon), reinterpret_cast<HICON>(main.IcoDisabled.PictureHandle()));
  // The shell reports a left press on the icon as the callback message, 512, with the mouse
  // event where the pointer's x would be.
  SendMessageA(H(main), WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(H(main)));
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
}

TEST_F(MainWindow, OnlyTheSelectedActionIsATabStopAndTheFocusReturnsToIt) {
  auto tabStop = [&](int i) { return (GetWindowLongA(H(main.optExitOption[i]), GWL_STYLE) & WS_TABSTOP) != 0; };
  EXPECT_TRUE(tabStop(0));
  for (int i = 1; i <= 6; ++i) EXPECT_FALSE(tabStop(i)) << i;
  SendMessageA(H(main.optExitOption[2]), BM_CLICK, 0, 0);
  EXPECT_TRUE(tabStop(2));
  EXPECT_FALSE(tabStop(0));
  // Code selects another action while the focus rests on this one (as declining to switch
  // hibernation on does): the window getting the focus back must not select it again.
  main.optExitOption[0].SetValue(true);
  SendMessageA(H(main), WM_SETFOCUS, 0, 0);
  Pump();
  EXPECT_TRUE(main.optExitOption[0].Value());
  EXPECT_EQ(GetFocus(), H(main.optExitOption[0]));
}

TEST_F(MainWindow, TabFromTheCountdownNeverEntersTheAlarmPanelOutOfView) {
  HWND alarmPanel = H(main.picOptions(1));
  EXPECT_FALSE(IsWindowEnabled(alarmPanel));
  SetFocus(H(main.txtTimeout));
  Pump();
  ASSERT_EQ(GetFocus(), H(main.txtTimeout));
  std::vector<HWND> visited;
  for (std::size_t i = 0; i < main.AllControls().size(); ++i) {
    Key(GetFocus(), VK_TAB);
    visited.push_back(GetFocus());
    EXPECT_FALSE(visited.back() == alarmPanel || IsChild(alarmPanel, visited.back()))
        << "Tab " << i + 1 << " reached \"" << TextOf(reinterpret_cast<std::uintptr_t>(visited.back())) << "\"";
  }
  EXPECT_EQ(visited.front(), H(main.scrSecond)) << "the spinner comes next";
  EXPECT_NE(std::find(visited.begin(), visited.end(), H(main.txtTimeout)), visited.end()) << "the ring comes round";
  EXPECT_EQ(main.txtMessage.Text(), "Type your Message text here");
}

TEST_F(MainWindow, AnAcceptedEndOfTheSessionSavesAndLetsWindowsGoOn) {
  main.mnu_confirm.SetChecked(true);
  EXPECT_EQ(SendMessageA(H(main), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(fake.log.Count<os::fake::files::ReplaceFileContents>(), 1u);
}

TEST_F(MainWindow, TheExitMenuCommandAsksAndEnds) {
  boxes.Answer(ui::vbYes);
  Key(H(main.cmdActivate), 'X', true);
  EXPECT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].title, "Exit Confirmation");
  EXPECT_TRUE(runtime.Ended());
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(main.hWnd())));
}

}  // namespace
