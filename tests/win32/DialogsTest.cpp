// The beep frequency window and the about box as real windows, opened from the real main
// window and driven through its message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include "Win32Fixture.h"
#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "conformance/Driver.h"
#include "countdown/frmOptions.h"

namespace {

using win32_testing::H;
using win32_testing::TextOf;

class NativeDialogs : public ::testing::Test {
 protected:
  NativeDialogs() {
    main.Initialize();
    main.Show();
    d->Wait(0);
  }
  ~NativeDialogs() override {
    if (!d->Runtime().Ended()) {
      state.Control.End();
      main.Unload();
    }
  }
  std::unique_ptr<conformance::Driver> d = conformance::MakeDriver();
  os::fake::VirtualClock clock;
  os::fake::FakeServices fake{clock};
  session::ProgramState state{fake.Services()};
  app::frmMain main{d->Runtime(), state};
};

TEST_F(NativeDialogs, F1OpensTheAboutBoxAndEscapeInItsTextBoxClosesIt) {
  bool ran = false;
  d->WhileModal([&](ui::Form& form) {
    ran = true;
    auto& box = dynamic_cast<about::frmAbout&>(form);
    EXPECT_EQ(TextOf(box.hWnd()), "About");
    EXPECT_EQ(GetWindow(H(box), GW_OWNER), H(main));
    EXPECT_FALSE(IsWindowEnabled(H(main)));
    EXPECT_EQ(TextOf(box.lblVersion.hWnd()), "Version : 1.3");
    EXPECT_TRUE(GetWindowLongA(H(box.Text1), GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongA(H(box.Text1), GWL_STYLE) & ES_READONLY);
    SetFocus(H(box.Text1));
    d->Wait(0);
    ASSERT_EQ(GetFocus(), H(box.Text1));
    d->Key(box, 'A');
    d->Key(box, VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(H(box))) << "only Escape closes it";
    // The box itself takes Escape, before the text box could turn it into a close request.
    int closedBy = -1;
    box.QueryUnload = [&](int&, int mode) { closedBy = mode; };
    d->Key(box, VK_ESCAPE);
    EXPECT_FALSE(box.IsLoaded());
    EXPECT_EQ(closedBy, ui::vbFormCode);
  });
  d->Key(main, VK_F1);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(IsWindowEnabled(H(main)));
}

TEST_F(NativeDialogs, TheFrequencyWindowKeepsItsBoxAndSpinButtonInStep) {
  state.BeepFrequencyText = "4000";
  bool ran = false;
  d->WhileModal([&](ui::Form& form) {
    ran = true;
    auto& w = dynamic_cast<countdown::frmOptions&>(form);
    HWND bar = H(w.scrFreq);
    // The native scroll bar counts from its top end, 10000.
    auto inStep = [&](const std::string& expected) {
      EXPECT_EQ(TextOf(w.txtFreq.hWnd()), expected);
      EXPECT_EQ(w.txtFreq.Text(), expected);
      EXPECT_EQ(GetScrollPos(bar, SB_CTL), 10000 - std::stoi(expected));
      EXPECT_EQ(state.BeepFrequencyText, expected);
    };
    EXPECT_EQ(TextOf(w.hWnd()), "Beep Frequency");
    HWND owner = GetWindow(H(w), GW_OWNER);
    EXPECT_NE(owner, H(main)) << "not owned by the main window";
    ASSERT_NE(owner, nullptr) << "kept out of the taskbar by a hidden owner";
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_FALSE(IsWindowEnabled(H(main)));
    inStep("4000");
    auto scroll = [&](WORD code) {
      SendMessageA(GetParent(bar), WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar));
      d->Wait(0);
    };
    scroll(SB_LINEUP);
    inStep("4001");
    scroll(SB_PAGEDOWN);
    inStep("3991");
    d->Type(w.txtFreq, "x");
    inStep("3991");
    SendMessageA(H(w.txtFreq), EM_SETSEL, 0, -1);
    d->Type(w.txtFreq, "500");
    inStep("500");  // typed digit by digit, the caret at the end
    SendMessageA(H(w.txtFreq), EM_SETSEL, 0, -1);
    d->Type(w.txtFreq, "7\r");
    inStep("100");  // under 100 once Enter takes it
    w.txtFreq.SetText("99999");
    inStep("10000");
    scroll(SB_LINEUP);
    inStep("10000");
    d->CloseBox(w);
    EXPECT_FALSE(w.IsLoaded());
  });
  main.mnu_options.UserChoose();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(IsWindowEnabled(H(main)));
  EXPECT_EQ(state.BeepFrequencyText, "10000");
}

}  // namespace
