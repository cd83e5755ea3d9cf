// The main window and the schedules that repeat: the "Repeat" and "Notify Before" windows, the
// frame that names the days, the computer's resume, the notices, and the repeating schedule
// activated again at start-up.
#include "app/frmMain.h"
#include "app/frmMainDesign.h"
#include "repeat/frmRepeat.h"
#include "ui/Error.h"
#include "ui/Runtime.h"

namespace app {

using ui::EachStatement;

namespace {

// Windows' power events that say the computer is running again.
constexpr int kPbtResumeSuspend = 7;     // PBT_APMRESUMESUSPEND: resumed with the user there
constexpr int kPbtResumeAutomatic = 18;  // PBT_APMRESUMEAUTOMATIC: resumed, by anything

}  // namespace

void frmMain::mnu_repeat_Click() {
  if (state_.Control.GetPhase() != control::Phase::Idle) return;
  repeat::frmRepeat window(GetRuntime(), state_);
  window.Show(ui::vbModal, this);
  if (!window.Chosen() || GetRuntime().Ended()) return;
  if (state_.Repeat != schedule::kOnce || state_.Wake) EachStatement({[&] { optTime[0].SetValue(true); }});
  ShowRepeatChoice();
}

void frmMain::mnu_notify_Click() {
  repeat::frmNotify window(GetRuntime(), state_);
  window.Show(ui::vbModal, this);
}

void frmMain::ShowRepeatChoice() {
  const schedule::Schedule& active = state_.Control.Schedule();
  const schedule::Days days = state_.Control.GetPhase() == control::Phase::Idle ? (optTime[0].Value() ? state_.Repeat : schedule::kOnce)
                                                                              : active.repeat;
  frmeAcTime.SetCaption(days == schedule::kOnce ? "Shutdown Time :" : schedule::DaysName(days) + " :");
  mnu_repeat.SetChecked(state_.Repeat != schedule::kOnce || state_.Wake);
}

void frmMain::Form_PowerBroadcast(int event) {
  if (event != kPbtResumeAutomatic && event != kPbtResumeSuspend) return;
  try {
    state_.Control.Resumed();
    if (state_.Control.GetPhase() == control::Phase::Ending) Unload();
  } catch (const std::exception&) {
    SeriousErrorExit();
  }
}

void frmMain::Told(const std::string& text) { ShowNotice(text); }

// The options are the window's (which showed the schedule when it was saved); the time of day,
// the days and the action are the saved schedule's own. One that cannot be armed is left.
void frmMain::RearmRemembered() {
  if (!rememberedRepeat_ || state_.Control.GetPhase() != control::Phase::Idle || GetRuntime().Ended()) return;
  const ActiveRepeat remembered = *rememberedRepeat_;
  rememberedRepeat_.reset();
  schedule::Schedule s = OptionsFromWindow();
  s.action = remembered.action;
  s.repeat = remembered.days;
  s.wake = state_.Wake;
  s.noticeMinutes = state_.NoticeFor(true);
  s.trigger = schedule::Trigger::At(base::DateOf(os_.kernel32.GetLocalTime()) + remembered.timeOfDay);
  std::string refusal;
  state_.Control.Activate(s, refusal);
}

}  // namespace app
