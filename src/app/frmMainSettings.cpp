// The main window and its settings: the value read off the controls and the program state, and
// shown in them without raising their handlers (loading asks nothing and opens no dialog).
#include "app/Settings.h"
#include "app/frmMain.h"
#include "app/frmMainDesign.h"
#include "base/Convert.h"
#include "ui/Error.h"
#include "ui/NumberBox.h"

namespace app {

using schedule::Action;
using ui::EachStatement;
using ui::SelectAll;
using namespace design;

Settings frmMain::SettingsFromWindow() {
  Settings s;
  s.action = schedule::ActionAt(SelectedAction());
  s.forced = chkForced.Value();
  s.execFile = chkExecFile.Value();
  s.alarmFile = chkAlarmF.Value();
  s.beep = mnu_beep.Checked();
  s.confirm = mnu_confirm.Checked();
  s.autoTray = mnu_autotray.Checked();
  s.countdown = txtTimeout.Text();
  s.beepFrequency = state_.BeepFrequencyText;
  s.execPath = txtExecF.Text();
  s.alarmPath = txtAlarmF.Text();
  s.message = txtMessage.Text();
  s.when = state_.When;
  s.postpone = mnu_postpone.Checked();
  s.postponeMinutes = state_.PostponeMinutes;
  s.keepAwake = mnu_keepawake.Checked();
  s.repeat = state_.Repeat;
  s.wake = state_.Wake;
  s.noticeMinutes = state_.NoticeMinutes;
  if (state_.Control.RepeatGoesOn())
    s.active = ActiveRepeat{state_.Control.RepeatTime(), state_.Control.Schedule().repeat, state_.Control.Schedule().action};
  else if (state_.Control.GetPhase() == control::Phase::Idle)
    s.active = rememberedRepeat_;  // not yet activated again: kept
  return s;
}

// What the handlers would do is done here: the action's name and option panel
// (optExitOption_Click), a path box and its button enabled while ticked and a placeholder for
// an empty path (FileOptionClick, txtExecF_Change), the countdown as a whole number with its
// colour, tip and spin button (txtTimeout_Change).
void frmMain::ShowSettings(const Settings& s) {
  std::optional<Action> action = s.action;
  auto showPath = [](ui::TextBox& path, const std::string& text) {
    path.SetTextQuietly(text);
    if (path.Text().empty()) path.SetTextQuietly(kSelectFile);
  };
  auto enablePath = [](const ui::CheckBox& box, ui::TextBox& path, ui::CommandButton& button) {
    path.SetEnabled(box.Value() == 1);
    button.SetEnabled(box.Value() == 1);
  };
  EachStatement({
      [&] {
        if (action == Action::Hibernate && !HibernateAllowed()) action = Action::Shutdown;
      },
      [&] {
        for (int i = 0; i < schedule::kActionCount; ++i)
          optExitOption[i].SetValueQuietly(action && i == schedule::IndexOf(*action));
      },
      [&] {
        if (!action) return;  // Form_Load falls back to Shutdown
        if (*action == Action::Alarm)
          ShowPanel(1);
        else if (picOptions(0).Top() != kPanelInView)
          ShowPanel(0);
      },
      [&] { chkForced.SetValueQuietly(s.forced); },
      [&] { chkExecFile.SetValueQuietly(s.execFile); },
      [&] { chkAlarmF.SetValueQuietly(s.alarmFile); },
      [&] { mnu_beep.SetChecked(s.beep); },
      [&] { mnu_confirm.SetChecked(s.confirm); },
      [&] { mnu_autotray.SetChecked(s.autoTray); },
      [&] {
        const std::string before = txtTimeout.Text();
        txtTimeout.SetTextQuietly(s.countdown);
        const double typed = base::Val(txtTimeout.Text());
        const std::int32_t seconds = typed > 0 ? base::CLng(typed) : 0;
        txtTimeout.SetTextQuietly(std::to_string(seconds));
        txtTimeout.SetBackColor(seconds > 0 ? ui::kSystemWindowBackground : kNoCountdownColor);
        txtTimeout.SetToolTipText(seconds > 0 ? kCountdownTip : kNoCountdownTip);
        if (txtTimeout.Text() != before && txtTimeout.Text().size() == 2) SelectAll(txtTimeout);
        scrSecond.SetValueQuietly(seconds);
      },
      [&] { state_.BeepFrequencyText = s.beepFrequency; },
      [&] { showPath(txtExecF, s.execPath); },
      [&] { showPath(txtAlarmF, s.alarmPath); },
      [&] { enablePath(chkExecFile, txtExecF, cmdExecF); },
      [&] { enablePath(chkAlarmF, txtAlarmF, cmdAlarmF); },
      [&] { txtMessage.SetTextQuietly(s.message); },
      [&] { state_.When = s.when; },
      [&] { mnu_postpone.SetChecked(s.postpone); },
      [&] { state_.PostponeMinutes = s.postponeMinutes; },
      [&] { mnu_keepawake.SetChecked(s.keepAwake); },
      [&] { state_.Repeat = s.repeat; },
      [&] { state_.Wake = s.wake; },
      [&] { state_.NoticeMinutes = s.noticeMinutes; },
      [&] { rememberedRepeat_ = s.active; },
      [&] { ShowRepeatChoice(); },
  });
}

}  // namespace app
