#include "app/frmMain.h"

#include <algorithm>
#include <optional>

#include "about/frmAbout.h"
#include "alarm/frmAlarm.h"
#include "app/Commands.h"
#include "app/Settings.h"
#include "app/frmMainDesign.h"
#include "base/Convert.h"
#include "base/Utf8.h"
#include "countdown/frmAction.h"
#include "countdown/frmOptions.h"
#include "platform/LocaleNames.h"
#include "platform/Program.h"
#include "platform/modWaitable.h"
#include "power/modShellnWait.h"
#include "power/modShutdown.h"
#include "session/Version.h"
#include "settings/modSettings.h"
#include "tray/modNewIcon.h"
#include "ui/Error.h"
#include "ui/NumberBox.h"
#include "ui/Runtime.h"
#include "update/Site.h"
#include "update/modUpdate.h"
#include "when/frmWhen.h"

namespace app {

using platform::WindowsFamily;
using schedule::Action;
using session::AppTitle;
using session::VersionText;
using ui::EachStatement;
using namespace design;

frmMain::frmMain(ui::Runtime& runtime, session::ProgramState& state)
    : ui::Form(runtime, "frmMain"),
      CommonDialog(state.os),
      iNet(state.os.wininet, state.os.kernel32),
      state_(state),
      os_(state.os) {
  DesignLayout();
  BindHandlers();
  state_.main = this;
  state_.Control.Listen(*this);
  state_.Control.SetHost(this);
}

frmMain::~frmMain() {
  state_.Control.StopListening(*this);
  state_.Control.SetHost(nullptr);
  if (state_.main == this) state_.main = nullptr;
}

// ---------------------------------------------------------------- start-up and exit

void frmMain::Form_Initialize() {
  os_.comctl32.InitCommonControls();
  state_.Family = platform::AskWindowsFamily(os_.kernel32);
  names_ = platform::ReadLocaleNames(os_.kernel32);
  cboTimeUnit.SetListIndex(0);
  lblTime.SetCaption(ClockText(os_.kernel32.GetLocalTime()));
  SetCaption(AppTitle());
  GetRuntime().Title = AppTitle();
  SetWidth(4845);
  SetHeight(5015);
  frmeActOpt.SetHeight(1125);
  cmdActivate.SetTop(3880);
  cmdTray.SetTop(3880);
}

void frmMain::Form_Load() {
  bool refused = false;
  EachStatement({[&] { refused = !state_.FirstCopy && platform::PrevInstance(os_.kernel32); }});
  if (refused) {
    GetRuntime().MsgBox("Quenlar is already Running!   ", ui::mb::kInformation);
    GetRuntime().End();
    return;
  }
  EachStatement({
      [&] { state_.AppFolder = platform::WithTrailingBackslash(platform::AppPath(os_.kernel32)); },
      [&] { mnu_popup.SetVisible(false); },
      [&] {
        if (os_.files.FileExists(state_.SettingsPath())) keepUnreadSettings_ = !LoadSett(state_.SettingsPath());
      },
      [&] {
        // A file that selects no action (all seven lines False, or none readable) would announce
        // a shutdown and do nothing: Shutdown it is, the action the name already says.
        if (SelectedAction() < 0) optExitOption[0].SetValue(true);
      },
      [&] { OfferAction(schedule::IndexOf(Action::StandBy), power::StandByOffered(os_, state_.Family)); },
      [&] { OfferAction(schedule::IndexOf(Action::Lock), power::LockOffered(os_, state_.Family)); },
      [&] {
        if (txtAlarmF.Text().empty()) txtAlarmF.SetText(kSelectFile);
      },
      [&] {
        if (txtExecF.Text().empty()) txtExecF.SetText(kSelectFile);
      },
      [&] {
        if (txtMessage.Text().empty()) txtMessage.SetText(kTypeMessage);
      },
      [&] {
        if (txtAlarmF.Text() != kSelectFile && !os_.files.FileExists(txtAlarmF.Text())) {
          chkAlarmF.SetValue(0);
          txtAlarmF.SetText(kSelectFile);
        }
      },
      [&] { ActTime.SetValue(os_.kernel32.GetLocalTime() + std::chrono::minutes(5)); },
      [&] { ShowRepeatChoice(); },
      [&] { ShowStartWithWindows(); },
  });
}

// An action this computer cannot carry out is disabled, and the selection falls back from it
// to Shutdown.
void frmMain::OfferAction(int index, bool offered) {
  if (!offered && optExitOption[index].Value()) optExitOption[schedule::IndexOf(Action::Shutdown)].SetValue(true);
  optExitOption[index].SetEnabled(offered);
}

int frmMain::SelectedAction() const {
  for (int index = 0; index < schedule::kActionCount; ++index)
    if (optExitOption[index].Value()) return index;
  return -1;
}

std::string frmMain::ActionName() const {
  return schedule::LabelName(schedule::ActionAt(SelectedAction()).value_or(Action::Shutdown));
}

void frmMain::Form_QueryUnload(int& cancel, int unloadMode) {
  ui::Runtime& rt = GetRuntime();
  // Windows is ending: a repeating schedule goes with it, kept in the settings, and comes back
  // with the program.
  if (unloadMode == ui::vbAppWindows && ScheduleActive() && state_.Control.RepeatGoesOn()) {
    cancel = 0;
    return;
  }
  if (ScheduleActive()) {
    int answer = rt.MsgBox("Quenlar is currenty Active. Do you want to Deactivate it?   ",
                           ui::mb::kYesNo | ui::mb::kCritical);
    if (answer == ui::vbYes) {
      state_.Control.End();
      cancel = 0;
    } else {
      cancel = 1;
    }
    return;
  }
  if (state_.Control.Leaving() || mnu_confirm.Checked()) {
    cancel = 0;
    return;
  }
  int answer = rt.MsgBox("Are you sure, you want to Exit?    ", ui::mb::kYesNo | ui::mb::kQuestion, "Exit Confirmation");
  cancel = answer == ui::vbYes ? 0 : 1;
}

void frmMain::Form_Unload(int& /*cancel*/) {
  EachStatement({
      [&] { tray::DeleteIcon(os_.shell32, state_.TrayRecord); },
      [&] { SaveSett(state_.SettingsPath()); },
      [&] { state_.Control.End(); },  // nothing is watched, nor the computer kept awake, any more
      [&] {
        if (tmrAction.Enabled()) tmrAction.SetEnabled(false);
      },
      [&] {
        if (tmrUpdate.Enabled()) tmrUpdate.SetEnabled(false);
      },
      [&] { tmrTime.SetEnabled(false); },
      [&] { GetRuntime().End(); },
  });
}

bool frmMain::SaveSett(const std::string& fileName) {
  if (keepUnreadSettings_ && fileName == state_.SettingsPath()) return false;
  return WriteSett(fileName);
}

bool frmMain::WriteSett(const std::string& fileName) {
  return settings::WriteLines(os_.files, fileName, ToFileLines(ToLines(SettingsFromWindow()), os_.kernel32));
}

bool frmMain::LoadSett(const std::string& fileName) {
  auto lines = settings::ReadLines(os_.files, fileName);
  if (!lines) return false;
  ShowSettings(FromLines(FromFileLines(*lines, os_.kernel32), SettingsFromWindow()));
  return true;
}

void frmMain::mnu_saveset_Click() {
  // The user asks for it: this save replaces even a file that could not be read at start-up.
  if (WriteSett(state_.SettingsPath())) {
    keepUnreadSettings_ = false;
    GetRuntime().MsgBox("Settings are saved successfully!     ", ui::mb::kInformation);
  } else {
    GetRuntime().MsgBox("Settings could not be saved to the file " + state_.SettingsPath() + "     ", ui::mb::kExclamation);
  }
}

void frmMain::mnu_exit_Click() {
  EachStatement({[&] { Unload(); }});
}

bool frmMain::Unload() {
  return state_.Control.Leaving() ? CloseEvenWhileDeciding(ui::vbFormCode) : ui::Form::Unload();
}

void frmMain::SeriousErrorExit() {
  GetRuntime().MsgBox("Quenlar has encountered a serious error, click OK to terminate.", ui::mb::kCritical, "Error!");
  Unload();
}

// ---------------------------------------------------------------- schedule entry and activation

std::string frmMain::ClockText(base::LocalTime now) const {
  return os_.user32.CharUpperBuffA(base::FormatDateLine(now, names_) + "\r" + base::FormatTimeLine(now, names_));
}

std::string frmMain::TargetText(base::LocalTime target) const {
  return os_.user32.CharUpperBuffA(base::FormatDateLine(target, names_)) + "\r" + base::FormatTimeLine(target, names_);
}

namespace {

// The unit chosen in the "In" list, whose items are the units in their order; none while
// nothing is chosen.
std::optional<schedule::Unit> ChosenUnit(const ui::ComboBox& units) {
  const int index = units.ListIndex();
  if (index < 0 || index > static_cast<int>(schedule::Unit::Seconds)) return std::nullopt;
  return static_cast<schedule::Unit>(index);
}

}  // namespace

schedule::Trigger frmMain::TriggerFromWindow(base::LocalTime now) const {
  if (!optTime[1].Value()) return schedule::Trigger::At(schedule::MomentAt(now, ActTime.Value()));
  const std::optional<schedule::Unit> unit = ChosenUnit(cboTimeUnit);
  if (!unit) throw ui::RuntimeError(base::kInvalidProcedureCall, "Invalid procedure call or argument");
  return schedule::Trigger::At(schedule::MomentIn(now, ui::NumberIn(txtPeriod), *unit));
}

schedule::Schedule frmMain::OptionsFromWindow() {
  schedule::Schedule s;
  s.action = schedule::ActionAt(SelectedAction()).value_or(Action::Shutdown);
  s.forced = chkForced.Value() == 1;
  s.program = txtExecF.Text() == kSelectFile ? std::string() : txtExecF.Text();
  s.countdown = base::CLng(base::Val(txtTimeout.Text()));
  s.message = txtMessage.Text();
  s.playSound = chkAlarmF.Value() == 1;
  s.soundFile = txtAlarmF.Text();
  s.keepAwake = mnu_keepawake.Checked();
  s.wake = state_.Wake;
  s.noticeMinutes = state_.NoticeFor(false);
  return s;
}

schedule::Schedule frmMain::ScheduleFromWindow(base::LocalTime now) {
  TakePeriod();
  schedule::Schedule s = OptionsFromWindow();
  s.trigger = TriggerFromWindow(now);
  if (optTime[1].Value())
    s.inSeconds = std::chrono::duration_cast<std::chrono::seconds>(s.trigger.moment - now).count();
  else
    s.repeat = state_.Repeat;
  s.noticeMinutes = state_.NoticeFor(s.repeat != schedule::kOnce);
  return s;
}

// The controls as the user would have set them for this schedule; a path is filled in before
// its box is ticked, so that no file dialog opens. Turning the display off is none of the
// window's options: the option selected, and the forced box, stay as they were.
void frmMain::ShowSchedule(const schedule::Schedule& s) {
  if (schedule::IsOption(s.action)) {
    optExitOption[schedule::IndexOf(s.action)].SetValue(true);
    chkForced.SetValue(s.forced ? 1 : 0);
  }
  txtExecF.SetText(s.program.empty() ? kSelectFile : s.program);
  chkExecFile.SetValue(s.program.empty() ? 0 : 1);
  txtTimeout.SetText(std::to_string(s.countdown));
  if (s.action == Action::Alarm) {
    txtMessage.SetText(s.message.empty() ? kTypeMessage : s.message);
    txtAlarmF.SetText(s.soundFile.empty() ? kSelectFile : s.soundFile);
    chkAlarmF.SetValue(s.playSound ? 1 : 0);
  }
}

// The "In" or "At" entry, in the largest unit that holds the amount exactly; an amount the
// entry cannot hold leaves it. Each control on its own: a hidden window takes no focus.
void frmMain::ShowEntry(const schedule::Schedule& s) {
  if (s.trigger.IsCondition()) return;
  if (s.inSeconds <= 0) {
    EachStatement({[&] { optTime[0].SetValue(true); }, [&] { ActTime.SetValue(s.trigger.moment); }});
    return;
  }
  // The list holds the units in their order: hours, minutes, seconds.
  for (schedule::Unit unit : {schedule::Unit::Hours, schedule::Unit::Minutes, schedule::Unit::Seconds}) {
    const long long amount = s.inSeconds / schedule::SecondsPer(unit);
    const long long least = unit == schedule::Unit::Seconds ? schedule::kLeastSeconds : 1;
    if (s.inSeconds % schedule::SecondsPer(unit) != 0 || amount < least || amount > schedule::kLargestAmount) continue;
    EachStatement({
        [&] { optTime[1].SetValue(true); },
        [&] { cboTimeUnit.SetListIndex(static_cast<int>(unit)); },
        [&] { txtPeriod.SetText(std::to_string(amount)); },
    });
    return;
  }
}

void frmMain::cmdActivate_Click() {
  if (!state_.Control.Armed())
    ActivateSchedule(ScheduleFromWindow(os_.kernel32.GetLocalTime()));
  else
    state_.Control.Cancel();
}

// The schedule is armed first: a trigger that cannot be armed leaves everything as it was, and
// the trigger never runs on an old target.
void frmMain::ActivateSchedule(const schedule::Schedule& schedule) {
  std::string refusal;
  activatingHere_ = true;
  const bool armed = state_.Control.Activate(schedule, refusal);
  activatingHere_ = false;
  if (!armed) GetRuntime().MsgBox(refusal, ui::mb::kExclamation);
}

void frmMain::ActivateSchedule(const schedule::Schedule& schedule, std::unique_ptr<schedule::Watch> watch) {
  activatingHere_ = true;
  state_.Control.Activate(schedule, std::move(watch));
  activatingHere_ = false;
}

// What each move of the schedule shows.
void frmMain::Moved(control::Transition how, control::Phase from, control::Phase to) {
  using control::Phase;
  const schedule::Schedule& s = state_.Control.Schedule();
  switch (to) {
    case Phase::Armed:
      if (from == Phase::Armed) {  // postponed while armed: a new target, a new tip
        EachStatement({[&] { ShowTargetPanel(); }, [&] { ShowTrayState(); }});
        return;
      }
      if (how == control::Transition::Postpone) {
        EachStatement({[&] { Show(); }});  // postponed in the warning: back as activation leaves it
      } else if (from != Phase::Idle) {
        // The next occurrence, after the warning, the action or the alarm: back as it was, in
        // the tray or shown.
        if (!state_.TrayRecord.shown) EachStatement({[&] { Show(); }});
      } else if (!activatingHere_) {
        ShowSchedule(s);  // given from elsewhere: the controls show it as if the user had chosen it
        ShowEntry(s);
      }
      ShowActive();
      if (from == Phase::Idle && s.repeat != schedule::kOnce) {
        // It is to come back after a restart: the program starts with Windows from now on.
        EachStatement({
            [&] { SaveSett(state_.SettingsPath()); },
            [&] {
              if (EnsureStartsWithWindows()) Told("Quenlar now starts with Windows, so that the schedule goes on after a restart.");
            },
        });
      }
      return;
    case Phase::Idle:
      ShowIdle();
      if (s.repeat != schedule::kOnce) EachStatement({[&] { SaveSett(state_.SettingsPath()); }});  // no longer to come back
      return;
    case Phase::Warning:
      tmrAction.SetEnabled(false);
      Hide();
      countdown_ = std::make_unique<countdown::frmAction>(GetRuntime(), state_);
      countdown_->Show();
      return;
    case Phase::Performing:
      tmrAction.SetEnabled(false);
      if (s.action == Action::Alarm || !s.program.empty()) Hide();
      return;
    case Phase::AlarmShowing:
      ShowAlarmWindow();
      return;
    case Phase::Ending:
      tmrAction.SetEnabled(false);
      return;
  }
}

void frmMain::ShowActive() {
  EachStatement({
      [&] { cmdActivate.SetCaption(kDeactivateCaption); },
      [&] { ShowTargetPanel(); },
      [&] { tmrAction.SetEnabled(true); },
      [&] { RestartClockWithTrigger(); },
      [&] { frmeAction.SetEnabled(false); },
      [&] { picBG1.SetEnabled(false); },
      [&] { picBG1.SetVisible(false); },
      [&] { frmeActOpt.SetEnabled(false); },
      [&] { cmdTray.SetFocus(); },
      [&] { mnu_about.SetEnabled(false); },
      [&] { mnu_update.SetEnabled(false); },
      [&] { mnu_when.SetEnabled(false); },
      [&] { mnu_repeat.SetEnabled(false); },
      [&] { ShowRepeatChoice(); },
      [&] { mnu_Rwhen.SetEnabled(false); },
      [&] {
        if (mnu_autotray.Checked()) cmdTray_Click();
      },
      [&] { mnu_activate.SetCaption(cmdActivate.Caption()); },
      [&] { mnu_Ractivate.SetCaption(cmdActivate.Caption()); },
      [&] { ShowTrayState(); },
  });
}

void frmMain::ShowIdle() {
  EachStatement({
      [&] { cmdActivate.SetCaption(kActivateCaption); },
      [&] { tmrAction.SetEnabled(false); },
      [&] { frmeAction.SetEnabled(true); },
      [&] { picBG1.SetEnabled(true); },
      [&] { picBG1.SetVisible(true); },
      [&] { frmeActOpt.SetEnabled(true); },
      [&] { SetCaption(AppTitle()); },
      [&] { mnu_about.SetEnabled(true); },
      [&] { mnu_update.SetEnabled(!tmrUpdate.Enabled()); },  // greyed while a check still runs
      [&] { mnu_when.SetEnabled(true); },
      [&] { mnu_repeat.SetEnabled(true); },
      [&] { ShowRepeatChoice(); },
      [&] { mnu_Rwhen.SetEnabled(true); },
      [&] { mnu_activate.SetCaption(kActivateCaption); },
      [&] { mnu_Ractivate.SetCaption(kActivateCaption); },
      [&] { ShowTrayState(); },
  });
}

void frmMain::mnu_activate_Click() {
  cmdActivate_Click();
  mnu_activate.SetCaption(cmdActivate.Caption());
}

// The window arms the condition itself (a program that is not running is refused there, and
// the user may mend it); what it hands back is activated with the action and options chosen
// here, as "Activate" activates a time.
void frmMain::mnu_when_Click() {
  if (state_.Control.GetPhase() != control::Phase::Idle) return;
  when::frmWhen window(GetRuntime(), state_);
  window.Show(ui::vbModal, this);
  auto armed = window.TakeArmed();
  if (!armed || GetRuntime().Ended() || state_.Control.GetPhase() != control::Phase::Idle) return;
  schedule::Schedule s = OptionsFromWindow();
  s.trigger = armed->trigger;
  ActivateSchedule(s, std::move(armed->watch));
}

// The target panel shows the moment in the clock's font, or the condition on two lines: in the
// same font where it fits, else in a smaller one, and a program's name too long even so is
// shortened in its middle, so that its start and its extension still show.
void frmMain::ShowTargetPanel() {
  const schedule::Trigger& trigger = state_.Control.Schedule().trigger;
  lblActionTime.SetFont(kClockFont);
  if (!trigger.IsCondition()) {
    lblActionTime.SetCaption(TargetText(trigger.moment));
    return;
  }
  ui::Backend& backend = GetRuntime().GetBackend();
  auto fits = [&](const schedule::Trigger& shown, const ui::Font& font) {
    const ui::Size size = backend.MeasureText(schedule::Describe(shown, "\r"), font, false, Dpi());
    return size.width + kTargetSpare <= lblActionTime.Width() && size.height <= lblActionTime.Height();
  };
  schedule::Trigger shown = trigger;
  if (!fits(shown, kClockFont)) lblActionTime.SetFont(kSmallTargetFont);
  const std::string& name = trigger.program;
  for (std::size_t keep = name.size() - 1; keep >= 6 && !name.empty() && !fits(shown, lblActionTime.GetFont()); --keep)
    shown.program = name.substr(0, base::CharacterStart(name, (keep + 1) / 2)) + "..." +
                    name.substr(base::CharacterStart(name, name.size() - keep / 2));
  lblActionTime.SetCaption(schedule::Describe(shown, "\r"));
}

void frmMain::optTime_Click(int index) {
  EachStatement({[&] { ShowRepeatChoice(); }});
  if (index == 0) {
    ActTime.SetEnabled(true);
    ActTime.SetFocus();
    txtPeriod.SetEnabled(false);
    cboTimeUnit.SetEnabled(false);
  } else {
    ActTime.SetEnabled(false);
    txtPeriod.SetEnabled(true);
    txtPeriod.SetFocus();
    cboTimeUnit.SetEnabled(true);
  }
}

// The clock starts its period afresh with the trigger's, so that the two tick together: while a
// schedule is active the program wakes twice a second, not four times. It is refreshed at once,
// so that the restart never leaves it behind.
void frmMain::RestartClockWithTrigger() {
  if (!tmrTime.Enabled()) return;
  tmrTime.SetEnabled(false);
  tmrTime.SetEnabled(true);
  tmrTime_Timer();
}

void frmMain::tmrTime_Timer() { lblTime.SetCaption(ClockText(os_.kernel32.GetLocalTime())); }

long long frmMain::LeastPeriod() const {
  return ChosenUnit(cboTimeUnit) == schedule::Unit::Seconds ? schedule::kLeastSeconds : 1;
}

void frmMain::TakePeriod() { ui::TakeNumber(txtPeriod, LeastPeriod()); }

void frmMain::cboTimeUnit_Change() { TakePeriod(); }

// ---------------------------------------------------------------- trigger and dispatch

// The schedule's watch is asked on each tick. Carried out without a countdown, or with an
// alarm window that could not open (the failure has been told), nothing is left to show, and
// the program ends as it would after the alarm.
void frmMain::tmrAction_Timer() {
  try {
    state_.Control.Tick();
    const control::Phase phase = state_.Control.GetPhase();
    if (phase == control::Phase::Ending || (phase == control::Phase::AlarmShowing && (!alarm_ || !alarm_->IsLoaded())))
      Unload();
  } catch (const std::exception&) {
    SeriousErrorExit();
  }
}

bool frmMain::WaitSeconds(int seconds) {
  platform::WaitSeconds(os_, GetRuntime(), seconds);
  return !GetRuntime().Ended();
}

void frmMain::TellFailure(const std::string& text) { GetRuntime().MsgBox(text, ui::mb::kCritical); }

void frmMain::TurnOffDisplay() { os_.user32.DefWindowProcA(hWnd(), os::kWmSysCommand, os::kScMonitorPower, os::kMonitorOff); }

void frmMain::ShowAlarmWindow() {
  alarm_ = std::make_unique<alarm::frmAlarm>(GetRuntime(), state_);
  alarm_->Show();
}

// ---------------------------------------------------------------- status caption and tray

std::string frmMain::StatusCaption() const {
  const schedule::Schedule& s = state_.Control.Schedule();
  const std::string repeat = s.repeat == schedule::kOnce ? "" : " " + schedule::DaysName(s.repeat);
  std::string status = state_.ActionText() + (s.trigger.IsCondition() ? " When " + schedule::Describe(s.trigger)
                                                                       : repeat + " On " + base::FormatStatusMoment(s.trigger.moment, names_));
  if (state_.Control.Postponed()) status += " (postponed)";
  return s.forced ? "FORCED " + status : status;
}

void frmMain::SetActiveCaption() {
  try {
    SetCaption(StatusCaption());
  } catch (const std::exception&) {
    SetCaption(AppTitle());
  }
}

countdown::frmAction* frmMain::Countdown() const {
  return countdown_ && countdown_->IsLoaded() ? countdown_.get() : nullptr;
}

void frmMain::Form_CopyData(ui::CopyDataMessage& message) {
  message.answer = CarryOut(state_, GetRuntime(), message.kind, message.data, message.reply);
}

void frmMain::MinimizeToTray() {
  if (Visible()) cmdTray_Click();
}

void frmMain::cmdTray_Click() {
  AddTrayIcon();
  Hide();
}

void frmMain::AddTrayIcon() {
  TrayIcon shown = TrayIconNow();
  tray::AddIcon(os_.shell32, state_.TrayRecord, hWnd(), shown.icon, shown.tip);
}

// The picture and tip that tell the schedule's state: the window's icon and the status caption
// (written into the caption for it) while active, the grey icon and "(NOT ACTIVE)" while idle.
frmMain::TrayIcon frmMain::TrayIconNow() {
  if (state_.Control.Armed()) {
    SetActiveCaption();
    return {PictureHandle(), Caption()};
  }
  return {IcoDisabled.PictureHandle(), "Quenlar " + VersionText() + " (NOT ACTIVE)"};
}

// A schedule activated or deactivated while the window is in the tray (from the icon's menu):
// the icon shown takes the new state's picture and tip.
void frmMain::ShowTrayState() {
  if (!state_.TrayRecord.shown) return;
  TrayIcon shown = TrayIconNow();
  tray::ShowIcon(os_.shell32, state_.TrayRecord, hWnd(), shown.icon, shown.tip);
}

// A right button pressed on the icon opens its pop-up menu; a left one brings the window back.
// Releases, double clicks and moves do nothing.
void frmMain::Form_TrayMouse(const ui::TrayMouseEvent& event) {
  if (event.action != ui::MouseAction::Down) return;
  if (event.button == ui::MouseButton::Right) {
    os_.user32.SetForegroundWindow(hWnd());
    PopupMenu(mnu_popup);
  } else if (event.button == ui::MouseButton::Left) {
    RestoreFromTray();
  }
}

void frmMain::ShowNotice(const std::string& text) {
  TrayIcon shown = TrayIconNow();
  tray::ShowBalloon(os_.shell32, state_.TrayRecord, hWnd(), shown.icon, shown.tip, "Quenlar", text);
}

// A click on the balloon brings the window back as the icon's left button does; a balloon that
// went otherwise takes away an icon that was there only for it.
void frmMain::Form_TrayBalloon(ui::TrayBalloonEvent event) {
  if (event == ui::TrayBalloonEvent::Clicked)
    RestoreFromTray();
  else
    tray::BalloonGone(os_.shell32, state_.TrayRecord);
}

// Explorer has started again and lost the notification area's icons: ours comes back as it was.
void frmMain::Form_RegisteredMessage(const std::string& name) {
  if (name == tray::kTaskbarCreated) tray::AddAgain(os_.shell32, state_.TrayRecord);
}

void frmMain::mnu_Show_Click() { RestoreFromTray(); }

void frmMain::RestoreFromTray() {
  os_.user32.SetForegroundWindow(hWnd());
  Show();
  tray::DeleteIcon(os_.shell32, state_.TrayRecord);
}

// ---------------------------------------------------------------- action options

bool frmMain::HibernateAllowed() { return power::HibernateAllowed(os_); }

// Puts one option panel at the top of the frame, enabled, and the other below it, out of view
// and disabled.
void frmMain::ShowPanel(int index) {
  picOptions(index).SetTop(kPanelInView);
  picOptions(index).SetEnabled(true);
  picOptions(1 - index).SetTop(kPanelOutOfView);
  picOptions(1 - index).SetEnabled(false);
}

void frmMain::optExitOption_Click(int index) {
  ui::Runtime& rt = GetRuntime();
  const Action action = *schedule::ActionAt(index);
  auto& shutdown = optExitOption[schedule::IndexOf(Action::Shutdown)];
  if (picOptions(0).Top() != kPanelInView && action != Action::Alarm) ShowPanel(0);
  if (action == Action::Alarm) ShowPanel(1);
  if (action != Action::Hibernate || HibernateAllowed()) return;
  if (rt.MsgBox("Hibernate is currently Disabled!     \rDo you want to Enable it Now?",
                ui::mb::kYesNo | ui::mb::kQuestion) != ui::vbYes) {
    shutdown.SetValue(true);
    return;
  }
  if (const std::string command = power::HibernateOnCommand(os_.kernel32);
      !command.empty() && power::ShellWait(os_, rt, command) && !rt.Ended() && HibernateAllowed()) {
    rt.MsgBox("Hibernate is Enabled Successfully!     ", ui::mb::kInformation);
    optExitOption[index].SetValue(true);
  } else if (!rt.Ended()) {
    rt.MsgBox("There was an error Enabling Hibernate!     ", ui::mb::kCritical);
    shutdown.SetValue(true);
  }
}

// A ticked file option enables its path box and button, and asks for a file at once when none
// is chosen yet; unticked, both are disabled and the path stays.
void frmMain::FileOptionClick(ui::CheckBox& box, ui::TextBox& path, ui::CommandButton& button,
                              void (frmMain::*pick)()) {
  bool ticked = box.Value() == 1;
  path.SetEnabled(ticked);
  button.SetEnabled(ticked);
  if (ticked && path.Text() == kSelectFile) (this->*pick)();
}

void frmMain::chkExecFile_Click() { FileOptionClick(chkExecFile, txtExecF, cmdExecF, &frmMain::cmdExecF_Click); }

void frmMain::chkAlarmF_Click() { FileOptionClick(chkAlarmF, txtAlarmF, cmdAlarmF, &frmMain::cmdAlarmF_Click); }

void frmMain::PickFile(ui::CheckBox& box, ui::TextBox& path,
                       const std::vector<std::pair<std::string, std::string>>& filters, const std::string& title) {
  try {
    CommonDialog.OFN.lpstrFilter = platform::MakeFilter(filters);
    CommonDialog.OFN.lpstrTitle = title;
    platform::SelectedFile chosen = CommonDialog.ShowOpen(hWnd(), true);
    if (!chosen.Cancelled) {
      path.SetText(chosen.FolderPath + chosen.FileNames.at(0));
      path.SetSelStart(static_cast<int>(path.Text().size()));  // the file name in view
    } else if (path.Text() == kSelectFile) {
      box.SetValue(0);
    }
  } catch (const std::exception&) {
    // The picker ends quietly; the controls stay as they are.
  }
}

void frmMain::cmdExecF_Click() {
  PickFile(chkExecFile, txtExecF,
           {{"All Executable Files (*.exe,*.bat,*.com)", "*.exe;*.bat;*.com"}, {"All Files (*.*)", "*.*"}},
           "Select File to be Executed");
}

void frmMain::cmdAlarmF_Click() {
  PickFile(chkAlarmF, txtAlarmF, {{"Media Files (*.mp3,*.wma,*.wav,*.mpg,*.avi)", "*.mp3;*.wma;*.wav;*.mpg;*.avi"}},
           "Select Media File for Alarm");
}

void frmMain::txtExecF_Change() {
  if (txtExecF.Text().empty()) txtExecF.SetText(kSelectFile);
}

void frmMain::txtAlarmF_Change() {
  if (txtAlarmF.Text().empty()) txtAlarmF.SetText(kSelectFile);
}

void frmMain::ClearPath(ui::CheckBox& box, ui::TextBox& path) {
  path.SetText(kSelectFile);
  box.SetValue(0);
}

void frmMain::txtExecF_DblClick() { ClearPath(chkExecFile, txtExecF); }

void frmMain::txtAlarmF_DblClick() { ClearPath(chkAlarmF, txtAlarmF); }

void frmMain::txtMessage_GotFocus() { ui::SelectAll(txtMessage); }

void frmMain::txtMessage_LostFocus() {
  if (txtMessage.Text().empty()) txtMessage.SetText(kTypeMessage);
}

void frmMain::txtTimeout_Change() {
  if (base::Val(txtTimeout.Text()) > 0) {
    txtTimeout.SetBackColor(ui::kSystemWindowBackground);
    txtTimeout.SetToolTipText(kCountdownTip);
  } else {
    txtTimeout.SetBackColor(kNoCountdownColor);
    txtTimeout.SetText("0");
    txtTimeout.SetToolTipText(kNoCountdownTip);
  }
  // Two digits are all the box holds: select them, so the next digit starts afresh.
  if (txtTimeout.Text().size() == 2) ui::SelectAll(txtTimeout);
  scrSecond.SetValue(base::CLng(base::Val(txtTimeout.Text())));
}

void frmMain::scrSecond_Change() { txtTimeout.SetText(std::to_string(scrSecond.Value())); }

// ---------------------------------------------------------------- preference and help menus

void frmMain::mnu_options_Click() {
  countdown::frmOptions options(GetRuntime(), state_);
  options.Show(ui::vbModal);
}

void frmMain::mnu_about_Click() {
  about::frmAbout box(GetRuntime());
  box.Show(ui::vbModal, this);
}

void frmMain::mnu_website_Click() { update::OpenWebPage(os_.shell32, update::SiteAddress()); }

void frmMain::mnu_donate_Click() { update::OpenWebPage(os_.shell32, update::SiteAddress(update::kDonatePagePath)); }

// ---------------------------------------------------------------- update check

// The version file is fetched on a thread of its own: the window goes on working meanwhile
// (the clock ticks, the user may choose and activate), and the poll timer picks up the result.
void frmMain::mnu_update_Click() {
  EachStatement({
      [&] { mnu_update.SetEnabled(false); },
      [&] { updateTicks_ = 0; },
      [&] { captionBeforeCheck_ = Caption(); },
      [&] { SetCaption(AppTitle() + " Checking for updates..."); },
      [&] { iNet.OpenURL(update::SiteAddress(update::kVersionFilePath)); },
      [&] { tmrUpdate.SetEnabled(true); },
  });
}

// Each tick while the transfer runs counts towards its ten seconds; past them the transfer is
// cancelled and, once it has let go, the user is told. The timer stops before a result shows:
// its ticks go on while a message box is up, and each would show the result again.
void frmMain::tmrUpdate_Timer() {
  ++updateTicks_;
  bool running = true;
  EachStatement({[&] { running = iNet.StillExecuting(); }});
  if (!running && !iNet.TimedOut() && updateTicks_ <= kUpdateTicks) {
    EachStatement({
        [&] { tmrUpdate.SetEnabled(false); },
        [&] { CheckVersion(update::ReadVersion(iNet.Result())); },
        [&] { EndUpdateCheck(); },
    });
    return;
  }
  if (running && updateTicks_ <= kUpdateTicks) return;  // still within its time
  EachStatement({
      [&] { iNet.Cancel(); },
      [&] { SetCaption("Timeout"); },
      [&] {
        if (iNet.StillExecuting()) return;  // the next tick looks again
        EachStatement({
            [&] { tmrUpdate.SetEnabled(false); },
            [&] {
              GetRuntime().MsgBox("Timout Exceeded!\rPlease check your internet connection and try again.",
                                  ui::mb::kExclamation);
            },
            [&] {
              if (Caption() == "Timeout") SetCaption(captionBeforeCheck_);
            },
            [&] { EndUpdateCheck(); },
        });
      },
  });
}

// The menu item comes back unless a schedule was activated while the check ran: while a
// schedule is active it stays greyed.
void frmMain::EndUpdateCheck() { mnu_update.SetEnabled(!ScheduleActive()); }

void frmMain::CheckVersion(double fetched) {
  ui::Runtime& rt = GetRuntime();
  SetCaption(AppTitle());
  if (fetched > update::OwnVersion()) {
    int answer = rt.MsgBox("There is a update to version " + base::NumberText(fetched) +
                               " is available!    \rDo you want to download it now?",
                           ui::mb::kYesNo | ui::mb::kInformation);
    if (answer == ui::vbYes) update::OpenWebPage(os_.shell32, update::SiteAddress(update::kDownloadPagePath));
  } else if (fetched > 0) {
    rt.MsgBox("Sorry, No new updates are available!     ", ui::mb::kInformation);
  } else {
    rt.MsgBox("Unable to get update information.\rPlease check your internet connection and try again.    ",
              ui::mb::kExclamation);
  }
}

}  // namespace app
