// The moment of the action on the native backend: the countdown window as real windows (its
// texts, progress and top-most state, Cancel and Esc), the one-second wait on a real timer,
// and a real question still open when the program ends.
#include "Win32Fixture.h"
#include "app/frmMain.h"
#include "os/win32/RealServices.h"
#include "platform/modWaitable.h"

namespace {

using win32_testing::H;
using win32_testing::TextOf;

// The real kernel32, except that each test's program finds no other copy running (they all
// run in this one process).
struct OneCopyKernel32 : os::win32::Kernel32 {
  os::Handle CreateMutexA(bool, const std::string&) override { return 1; }
  std::uint32_t GetLastError() override { return 0; }
};

// The real user32, except for the requests that would end Wine's session: those are only
// recorded, and accepted.
struct SessionSafeUser32 : os::win32::User32 {
  std::vector<std::uint32_t> exits;
  std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t) override {
    exits.push_back(flags);
    return 1;
  }
  std::int32_t LockWorkStation() override { return 1; }
};

class Firing : public win32_testing::Win32Test {
 protected:
  Firing() {
    main.Initialize();
    main.Show();
    Pump();
  }
  ~Firing() override {
    if (!runtime.Ended()) {
      if (main.ScheduleActive()) main.cmdActivate_Click();
      real.Control.End();
      main.Unload();
    }
  }
  // Activates a shutdown with this countdown whose moment has already come.
  ui::Form& FireWith(const std::string& countdown) {
    main.txtTimeout.SetText(countdown);
    schedule::Schedule s = main.ScheduleFromWindow(kernel32.GetLocalTime());
    s.trigger = schedule::Trigger::At(base::MakeLocalTime({2000, 1, 1, 0, 0, 0}));
    std::string refused;
    EXPECT_TRUE(real.Control.Activate(s, refused));
    for (int i = 0; i < 100 && !Warning(); ++i) Pump(20);
    EXPECT_NE(Warning(), nullptr) << "the countdown window did not open";
    return *Warning();
  }
  ui::Form* Warning() {
    for (ui::Form* form : runtime.Forms())
      if (form->Name() == "frmAction" && form->IsLoaded()) return form;
    return nullptr;
  }
  HWND Child(ui::Form& form, const char* name) {
    for (ui::Control* control : form.AllControls())
      if (control->Name() == name) return H(*control);
    return nullptr;
  }
  void PumpUntilEnded(int ms) {
    for (int i = 0; i < ms / 20 && !runtime.Ended(); ++i) Pump(20);
  }

  // Real windows, clock, tone and waits; the fakes for the privilege, the tray and the files.
  OneCopyKernel32 kernel32;
  SessionSafeUser32 user32;
  session::ProgramState real{os::ServicesOf(fake, {.kernel32 = &kernel32, .user32 = &user32})};
  app::frmMain main{runtime, real};
};

TEST_F(Firing, TheCountdownWindowCountsOnScreenAboveAllOthersThenActs) {
  ui::Form& warning = FireWith("2");
  HWND window = H(warning);
  EXPECT_EQ(TextOf(warning.hWnd()), " Warning!");
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsWindowVisible(H(main)));
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(TextOf(reinterpret_cast<std::uintptr_t>(Child(warning, "lblMessage"))),
            "Action : Shutdown will be performed in 2 Seconds.");
  HWND bar = Child(warning, "prgBar");
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 2);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(TextOf(reinterpret_cast<std::uintptr_t>(Child(warning, "chk_mute"))), "&Mute Internal Speaker");
  EXPECT_EQ(SendMessageA(Child(warning, "chk_mute"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  DWORD start = GetTickCount();
  while (SendMessageA(bar, PBM_GETPOS, 0, 0) < 1 && GetTickCount() - start < 3000) Pump(10);
  EXPECT_EQ(TextOf(reinterpret_cast<std::uintptr_t>(Child(warning, "lblMessage"))),
            "Action : Shutdown will be performed in 1 Seconds.");
  PumpUntilEnded(3000);
  EXPECT_EQ(user32.exits, std::vector<std::uint32_t>{1});
  EXPECT_NEAR(static_cast<double>(GetTickCount() - start), 2000, 300);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Firing, CancelClickedEndsTheProgramWithItsMessage) {
  ui::Form& warning = FireWith("30");
  boxes.Answer(ui::vbOK);
  SendMessageA(Child(warning, "cmdCancel"), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].text, "Action SHUTDOWN, has been cancelled by the user!   ");
  EXPECT_TRUE(runtime.Ended());
  EXPECT_TRUE(user32.exits.empty());
}

TEST_F(Firing, EscPressedInTheWindowCancelsToo) {
  ui::Form& warning = FireWith("30");
  boxes.Answer(ui::vbOK);
  Key(Child(warning, "chk_mute"), VK_ESCAPE);
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].text, "Action SHUTDOWN, has been cancelled by the user!   ");
  EXPECT_TRUE(runtime.Ended());
  EXPECT_TRUE(user32.exits.empty());
}

class RealWaits : public win32_testing::Win32Test {
 protected:
  os::win32::RealServices realServices;
  os::Services system = realServices.Services();
};

TEST_F(RealWaits, OneSecondOnTheTimerWithTheWindowAnswering) {
  struct Window : ui::Form {
    explicit Window(ui::Runtime& runtime) : ui::Form(runtime, "frmWindow") {}
    ui::CommandButton button{*this, "button"};
    ui::Timer timer{*this, "timer"};
  } window(runtime);
  int clicks = 0, ticks = 0;
  window.button.Click = [&] { ++clicks; };
  window.timer.TimerEvent = [&] { ++ticks; };
  window.timer.SetInterval(100);
  window.Show();
  Pump();
  PostMessageA(H(window.button), BM_CLICK, 0, 0);
  DWORD start = GetTickCount();
  platform::WaitSeconds(system, runtime, 1);
  EXPECT_NEAR(static_cast<double>(GetTickCount() - start), 1000, 100);
  EXPECT_EQ(clicks, 1) << "a click waiting in the queue is answered during the wait";
  EXPECT_GE(ticks, 8);
}

ui::Runtime* endingRuntime = nullptr;
void CALLBACK EndTheProgram(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  endingRuntime->End();
}

TEST_F(RealWaits, AQuestionStillOpenWhenTheProgramEndsIsDeclined) {
  runtime.UseScriptedMessageBoxes(nullptr);
  endingRuntime = &runtime;
  SetTimer(nullptr, 0, 300, EndTheProgram);
  DWORD start = GetTickCount();
  EXPECT_EQ(runtime.MsgBox("Are you sure, you want to Exit?    ", ui::mb::kYesNo | ui::mb::kQuestion,
                           "Exit Confirmation"),
            ui::vbNo);
  EXPECT_LT(GetTickCount() - start, 2000u);
  EXPECT_EQ(FindWindowA("#32770", "Exit Confirmation"), nullptr);
}

}  // namespace
