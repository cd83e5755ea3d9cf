// "Activate When...": the menu items, the conditions' window, and a condition activated and
// carried out as a time is.
#include "countdown/frmAction.h"
#include "support/Harness.h"
#include "when/frmWhen.h"

namespace {

namespace kernel32 = os::fake::kernel32;
using testing_support::MainWindowTest;
using namespace std::chrono_literals;

class ActivateWhen : public MainWindowTest {
 protected:
  void SetUp() override {
    fake.kernel32.programs = {{700, "explorer.exe"}, {812, "ffmpeg.exe"}, {813, "FFMPEG.EXE"}};
    Start();
  }
  // The window as a menu item opens it, with what the user does in it.
  void WhileOpen(ui::Menu& item, const std::function<void(when::frmWhen&)>& steps) {
    bool ran = false;
    backend.WhileModal([&](ui::Form& form) {
      ran = true;
      auto* window = dynamic_cast<when::frmWhen*>(&form);
      ASSERT_NE(window, nullptr) << form.Name();
      steps(*window);
      if (window->IsLoaded()) backend.CloseBox(*window);
    });
    if (&item == &M().mnu_Rwhen) {
      ASSERT_TRUE(backend.MouseMove(M(), 516, 0));  // the right button down on the tray icon
      ASSERT_TRUE(backend.ChoosePopupItem(item));
    } else {
      ASSERT_TRUE(backend.Choose(item));
    }
    EXPECT_TRUE(ran);
  }
  std::string Tip() { return fake.shell32.trayIcons.begin()->second.szTip; }
};

TEST_F(ActivateWhen, TheMenuItemsOpenTheWindowOverTheMainOneWithTheLastChoices) {
  const auto& items = M().mnu_menu.Items();
  EXPECT_EQ(items.at(1), &M().mnu_when);
  EXPECT_EQ(M().mnu_when.Caption(), "Activate &When...");
  EXPECT_EQ(M().mnu_popup.Items().at(2), &M().mnu_Rwhen);
  state.When.condition = session::Condition::NoInput;
  state.When.idleMinutes = 45;
  fake.kernel32.missingFunctions = {{"kernel32.dll", "GetSystemTimes"}};
  WhileOpen(M().mnu_when, [&](when::frmWhen& w) {
    EXPECT_EQ(w.Caption(), "Activate When");
    EXPECT_TRUE(w.IsModal());
    EXPECT_EQ(w.Owner(), &M());
    EXPECT_EQ(w.StartUpPosition, ui::StartUpPosition::CenterOwner);
    EXPECT_TRUE(w.optWhen[1].Value());
    EXPECT_EQ(w.txtIdle.Text(), "45");
    EXPECT_TRUE(w.txtIdle.Enabled());
    EXPECT_FALSE(w.txtProgram.Enabled()) << "only the chosen condition's boxes";
    EXPECT_FALSE(w.optWhen[2].Enabled());
    EXPECT_EQ(w.optWhen[2].ToolTipText(), "This Windows does not tell how busy the processor is.");
    EXPECT_TRUE(w.cmdActivate.Default());
    EXPECT_TRUE(w.cmdCancel.Cancel());
    // The boxes keep to digits and their ranges; the least value applies when taken.
    backend.Click(w.optWhen[3]);
    EXPECT_EQ(w.ActiveControl(), &w.txtNet);
    backend.Type(w.txtNet, "12x3456789");
    EXPECT_EQ(w.txtNet.Text(), "123456");
    backend.Type(w.txtNetMinutes, "0");
    backend.Click(w.cmdCancel);
  });
  EXPECT_FALSE(M().ScheduleActive());
  EXPECT_EQ(state.When.idleMinutes, 45) << "a cancelled window changes no choice";
}

TEST_F(ActivateWhen, AProgramsEndFiresTheScheduleAsATimeDoesAndIsShownAsTheCondition) {
  M().chkForced.SetValue(1);
  M().txtTimeout.SetText("3");
  WhileOpen(M().mnu_when, [&](when::frmWhen& w) {
    backend.Click(w.optWhen[0]);
    backend.Type(w.txtProgram, "nothing");
    boxes().Answer(ui::vbOK);
    backend.Click(w.cmdActivate);
    EXPECT_EQ(LastBox(), "No program named nothing.exe is running.");
    EXPECT_TRUE(w.IsLoaded()) << "the window stays for the user to mend the name";
    // "..." lists the running programs, each once.
    backend.WhileModal([&](ui::Form& form) {
      auto& picker = dynamic_cast<when::frmPrograms&>(form);
      EXPECT_EQ(picker.cboPrograms.Items(), (std::vector<std::string>{"explorer.exe", "ffmpeg.exe"}));
      backend.Choose(picker.cboPrograms, 1);
      backend.Click(picker.cmdOK);
    });
    backend.Click(w.cmdPrograms);
    EXPECT_EQ(w.txtProgram.Text(), "ffmpeg.exe");
    backend.Click(w.cmdActivate);
  });
  app::frmMain& m = M();
  EXPECT_TRUE(m.ScheduleActive());
  EXPECT_EQ(m.cmdActivate.Caption(), "De&activate");
  EXPECT_EQ(m.lblActionTime.Caption(), "ffmpeg.exe\rends");
  EXPECT_FALSE(m.frmeAction.Enabled());
  EXPECT_FALSE(m.mnu_when.Enabled());
  EXPECT_EQ(m.ActiveControl(), &m.cmdTray);
  EXPECT_EQ(state.When.program, "ffmpeg.exe");
  backend.Click(m.cmdTray);
  EXPECT_EQ(Tip(), tray::PadTip("FORCED Shutdown When ffmpeg.exe ends"));

  backend.Advance(5s);
  fake.kernel32.programs.erase(812);
  backend.Advance(5s);
  EXPECT_FALSE(m.Countdown()) << "one of the two is still running";
  fake.kernel32.programs.erase(813);
  EXPECT_TRUE(backend.RunUntil([&] { return m.Countdown() != nullptr; }, 1s));
  EXPECT_EQ(m.Countdown()->lblMessage.Caption(), "Action : Shutdown will be performed in 3 Seconds.");
  backend.RunUntil([&] { return runtime.Ended(); }, 5s);
  EXPECT_EQ(fake.log.Of<os::fake::user32::ExitWindowsEx>().size(), 1u);
}

TEST_F(ActivateWhen, FromTheTrayItActivatesTooAndDeactivatingLetsTheWatchGo) {
  backend.Click(M().cmdTray);
  const std::size_t handles = fake.kernel32.OpenHandles();
  WhileOpen(M().mnu_Rwhen, [&](when::frmWhen& w) {
    backend.Click(w.optWhen[0]);
    backend.Type(w.txtProgram, "812");  // a process id
    backend.Click(w.cmdActivate);
  });
  EXPECT_TRUE(M().ScheduleActive());
  EXPECT_EQ(Tip(), tray::PadTip("Shutdown When process 812 ends"));
  EXPECT_EQ(fake.kernel32.OpenHandles(), handles + 1);
  EXPECT_TRUE(backend.MouseMove(M(), 516, 0));
  EXPECT_FALSE(M().mnu_Rwhen.Enabled());
  ASSERT_TRUE(backend.ChoosePopupItem(M().mnu_Ractivate));
  EXPECT_FALSE(M().ScheduleActive());
  EXPECT_EQ(fake.kernel32.OpenHandles(), handles) << "the process handle is let go";
  EXPECT_TRUE(M().mnu_Rwhen.Enabled());
}

}  // namespace
