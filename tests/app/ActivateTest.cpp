// A schedule built in code, as the command line will build one: the window shows it as the
// user would have chosen it, and it fires and carries out its action.
#include "alarm/frmAlarm.h"
#include "countdown/frmAction.h"
#include "support/Harness.h"

namespace {

namespace powrprof = os::fake::powrprof;
namespace user32 = os::fake::user32;
using namespace std::chrono_literals;
using os::fake::Calls;
using schedule::Action;

// A program of its own, started at 21:00:00.
struct Program : testing_support::Harness {
  Program() {
    clock.SetWallClock(base::MakeLocalTime({2026, 12, 6, 21, 0, 0}));
    main.Initialize();
    main.Show();
  }
  template <typename Window>
  Window* Find(const char* name) {
    for (ui::Form* form : runtime.Forms())
      if (form->Name() == name) return static_cast<Window*>(form);
    return nullptr;
  }
  schedule::Schedule In5Seconds(Action action) {
    schedule::Schedule s;
    s.action = action;
    s.trigger = schedule::Trigger::At(clock.Now() + 5s);
    return s;
  }
  app::frmMain main{runtime, state};
};

TEST(ActivateInCode, EachActionIsShownAsChosenAndCarriedOutWhenItFires) {
  struct Case {
    Action action;
    const char* name;
    os::fake::Call request;
  } cases[] = {
      {Action::Shutdown, "Shutdown", user32::ExitWindowsEx{5, 0}},
      {Action::Restart, "Restart", user32::ExitWindowsEx{6, 0}},
      {Action::LogOff, "Log Off", user32::ExitWindowsEx{4, 0}},
      {Action::Hibernate, "Hibernate", powrprof::SetSuspendState{1, 1, 0}},
      {Action::StandBy, "Stand by", powrprof::SetSuspendState{0, 1, 0}},
      {Action::Lock, "Lock PC", user32::LockWorkStation{}},
  };
  for (const Case& c : cases) {
    Program p;
    schedule::Schedule s = p.In5Seconds(c.action);
    s.forced = true;
    s.countdown = 0;
    std::string refused;
    ASSERT_TRUE(p.state.Control.Activate(s, refused));
    EXPECT_TRUE(p.main.optExitOption[schedule::IndexOf(c.action)].Value()) << c.name;
    EXPECT_EQ(p.main.ActionName(), c.name);
    EXPECT_EQ(p.main.chkForced.Value(), 1) << c.name;
    EXPECT_EQ(p.main.txtTimeout.Text(), "0") << c.name;
    EXPECT_TRUE(p.main.ScheduleActive()) << c.name;
    EXPECT_EQ(p.main.cmdActivate.Caption(), "De&activate") << c.name;
    EXPECT_EQ(p.main.lblActionTime.Caption(), "06 DEC 2026\r09:00:05 PM") << c.name;
    p.backend.Advance(4500ms);
    EXPECT_FALSE(p.runtime.Ended()) << c.name << " fired early";
    p.backend.RunUntil([&] { return p.runtime.Ended(); }, 2s);
    EXPECT_EQ((p.fake.log.Only<user32::ExitWindowsEx, powrprof::SetSuspendState, user32::LockWorkStation>()),
              (Calls{c.request}))
        << c.name;
  }
}

TEST(ActivateInCode, TheAlarmsMessageAndFileAndAProgramToStartAreShownAsChosen) {
  Program alarm;
  alarm.fake.files.disk["C:\\Media\\ring.wav"] = "RIFF";
  schedule::Schedule s = alarm.In5Seconds(Action::Alarm);
  s.message = "Tea & biscuits";
  s.playSound = true;
  s.soundFile = "C:\\Media\\ring.wav";
  std::string refused;
  ASSERT_TRUE(alarm.state.Control.Activate(s, refused));
  EXPECT_TRUE(alarm.main.optExitOption[6].Value());
  EXPECT_EQ(alarm.main.txtMessage.Text(), "Tea & biscuits");
  EXPECT_EQ(alarm.main.chkAlarmF.Value(), 1);
  EXPECT_EQ(alarm.main.txtAlarmF.Text(), "C:\\Media\\ring.wav");
  EXPECT_TRUE(testing_support::DialogsShown(alarm.fake.log).empty()) << "the path came before its tick: no dialog";
  alarm.backend.Advance(5s);
  auto* window = alarm.Find<app::alarm::frmAlarm>("frmAlarm");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->lblAlarmM.Caption(), "Tea & biscuits");
  EXPECT_EQ(window->stsBar.GetPanel(1).text, "File to Play : ring.wav");
  alarm.backend.Click(window->cmdOk);
  EXPECT_TRUE(alarm.runtime.Ended());

  Program run;
  s = run.In5Seconds(Action::Shutdown);
  s.program = "C:\\Tools\\backup.bat";
  s.countdown = 3;
  ASSERT_TRUE(run.state.Control.Activate(s, refused));
  EXPECT_EQ(run.main.chkExecFile.Value(), 1);
  EXPECT_EQ(run.main.txtExecF.Text(), "C:\\Tools\\backup.bat");
  EXPECT_EQ(run.main.txtTimeout.Text(), "3");
  run.backend.Advance(5s);
  auto* warning = run.Find<countdown::frmAction>("frmAction");
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(warning->lblMessage.Caption(), "Action : Shutdown will be performed in 3 Seconds.");
}

}  // namespace
