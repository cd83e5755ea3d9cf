// The notification-area icon with the real shell under Wine, and its pop-up menu.
#include "Win32Fixture.h"
#include "app/frmMain.h"
#include "os/win32/Shell32.h"
#include "win32/programs/OtherProcess.h"

#include <gmock/gmock.h>

namespace {

using win32_testing::H;

class NativeTray : public win32_testing::Win32Test {
 protected:
  NativeTray() {
    main.Initialize();
    main.Show();
    Pump();
  }
  ~NativeTray() override {
    if (!runtime.Ended()) {
      shared.Control.End();
      if (main.ScheduleActive()) main.cmdActivate_Click();  // deactivated: the close asks nothing
      main.Unload();
    }
  }
  // Whether the shell holds the main window's icon: it changes only an icon it holds.
  bool IconShown() {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = H(main);
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != 0;
  }
  void IconEvent(UINT mouseMessage) { SendMessageA(H(main), WM_MOUSEMOVE, 1, mouseMessage); }

  os::win32::Shell32 shell32;
  session::ProgramState shared{os::ServicesOf(fake, {.shell32 = &shell32})};
  app::frmMain main{runtime, shared};
};

TEST_F(NativeTray, TheShellTakesTheIconGivesItBackAndHasItAgainAfterExplorerStarts) {
  SendMessageA(H(main.cmdTray), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(H(main)));
  ASSERT_TRUE(IconShown()) << "the shell of the test prefix should hold the icon";
  EXPECT_EQ(shell32.Shell_NotifyIconA(os::kNimAdd, shared.TrayRecord), 0) << "a second add is refused";

  IconEvent(WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(H(main)));
  IconEvent(WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(H(main)));
  EXPECT_FALSE(IconShown());

  // Active, the icon comes with the window's own picture and the schedule as its tip.
  SendMessageA(H(main.cmdActivate), BM_CLICK, 0, 0);
  SendMessageA(H(main.cmdTray), BM_CLICK, 0, 0);
  EXPECT_TRUE(IconShown());
  EXPECT_EQ(shared.TrayRecord.hIcon, main.PictureHandle());
  EXPECT_EQ(shared.TrayRecord.szTip, tray::PadTip(main.Caption()));

  // Explorer goes (and the icon with it), then starts again and tells every window.
  NOTIFYICONDATAA lost{};
  lost.cbSize = NOTIFYICONDATAA_V1_SIZE;
  lost.hWnd = H(main);
  lost.uID = 1;
  Shell_NotifyIconA(NIM_DELETE, &lost);
  ASSERT_FALSE(IconShown());
  SendMessageA(H(main), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(IconShown());

  main.cmdActivate_Click();  // deactivated: the close asks nothing more
  shared.Control.End();
  main.Unload();
  EXPECT_FALSE(IconShown()) << "the program's end takes the icon away";
}

TEST_F(NativeTray, TheRightButtonOpensThePopUpWithItsItemsAndShowRestores) {
  SendMessageA(H(main.cmdTray), BM_CLICK, 0, 0);
  std::vector<std::string> items;
  win32_testing::InLoopWhen([] { return win32_testing::ThreadWindow("#32768") != nullptr; }, [&] {
    HWND menu = win32_testing::ThreadWindow("#32768");
    auto popup = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
      char text[64] = {};
      GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      items.push_back(text);
    }
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);  // the first item: "&Show"
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  });
  IconEvent(WM_RBUTTONDOWN);  // returns when the menu has closed
  EXPECT_EQ(items, (std::vector<std::string>{"&Show", "&Activate", "Activate &When...", "Turn Off the &Display", "E&xit"}));
  EXPECT_EQ(fake.log.Of<os::fake::user32::SetForegroundWindow>(),
            (std::vector{os::fake::user32::SetForegroundWindow{main.hWnd()}}));
  EXPECT_FALSE(IsWindowVisible(H(main))) << "the choice comes as an event of its own";
  Pump(50);
  EXPECT_TRUE(IsWindowVisible(H(main)));
  EXPECT_FALSE(IconShown());
}

// The shell shows the notice as a balloon over an icon added for it, read from outside as the
// end-to-end driver reads it: under Wine a balloon tooltip of explorer.exe's, about 2 s after
// the call, for the record's 10 s. Wine tells the window nothing when it goes; Windows does,
// and the icon then goes with it.
TEST_F(NativeTray, ANoticeIsTheShellsBalloonOverAnIconAddedForItsTime) {
  main.ShowNotice("Shutdown in 5 minutes (23:00)");
  EXPECT_TRUE(IsWindowVisible(H(main))) << "the window stays where it was";
  ASSERT_TRUE(IconShown()) << "the icon is added for the balloon";
  std::vector<other_process::Balloon> shown;
  for (DWORD start = GetTickCount(); shown.empty() && GetTickCount() - start < 8000; Pump(50))
    shown = other_process::BalloonsShown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Shutdown in 5 minutes (23:00)");
  EXPECT_THAT(shown[0].title, ::testing::AnyOf("Quenlar", "")) << "Wine draws the title but does not tell it";

  IconEvent(0x404);  // the balloon's time ran out, as Windows reports it
  EXPECT_FALSE(IconShown());
  EXPECT_TRUE(IsWindowVisible(H(main)));
}

}  // namespace
