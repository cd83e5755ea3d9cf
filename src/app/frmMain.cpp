#include "app/frmMain.h"

#include <algorithm>

#include "about/frmAbout.h"
#include "alarm/frmAlarm.h"
#include "app/App.h"
#include "app/Version.h"
#include "base/Convert.h"
#include "countdown/frmAction.h"
#include "countdown/frmOptions.h"
#include "platform/modWaitable.h"
#include "power/modShellnWait.h"
#include "power/modShutdown.h"
#include "settings/modSettings.h"
#include "tray/modNewIcon.h"
#include "ui/Error.h"
#include "ui/Runtime.h"
#include "update/Site.h"
#include "update/modUpdate.h"

namespace app {

using ui::EachStatement;

namespace {

constexpr const char* kSelectFile = "Select File...";
constexpr const char* kTypeMessage = "Type your Message text here";
constexpr const char* kActivateCaption = "&Activate";
constexpr const char* kDeactivateCaption = "De&activate";

const ui::Font kClockFont{"Arial", 14.25, true};

constexpr int kPanelInView = 200;
constexpr int kPanelAtStart = 1380;
constexpr int kPanelOutOfView = 2000;
constexpr ui::Color kNoCountdownColor = ui::Rgb(255, 128, 128);
constexpr const char* kCountdownTip = "Countdown time in seconds, before taking action";
constexpr const char* kNoCountdownTip =
    "NO COUNTDOWN WILL BE DISPLAYED, AND THE SELECTED ACTION WILL BE PERFORMED INSTANTLY";

const char* const kActionNames[] = {"Shutdown", "Restart",  "Log Off",         "Hibernate",
                                    "Stand by", "Lock PC", "Alarm && Message"};

// The "In" amount: the whole number the box's text begins with.
double PeriodAmount(const ui::TextBox& box) { return base::WholeVal(box.Text()); }

void SelectAll(ui::TextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(static_cast<int>(box.Text().size()));
}

base::LocaleNames ReadLocaleNames(os::Kernel32& kernel32) {
  base::LocaleNames names;
  for (std::uint32_t i = 0; i < 12; ++i) {
    std::string month = kernel32.GetLocaleInfoA(os::kLocaleUserDefault, os::kLocaleSAbbrevMonthName1 + i);
    if (!month.empty()) names.monthAbbreviations[i] = month;
  }
  // Languages that write the day in 24 hours have no designators; the 12-hour clock then
  // still needs to tell morning from evening.
  std::string am = kernel32.GetLocaleInfoA(os::kLocaleUserDefault, os::kLocaleS1159);
  std::string pm = kernel32.GetLocaleInfoA(os::kLocaleUserDefault, os::kLocaleS2359);
  if (!am.empty() && !pm.empty()) {
    names.am = am;
    names.pm = pm;
  }
  return names;
}

}  // namespace

frmMain::frmMain(ui::Runtime& runtime, ProgramState& state)
    : ui::Form(runtime, "frmMain"),
      CommonDialog(state.os),
      iNet(state.os.wininet, state.os.kernel32),
      state_(state),
      os_(state.os) {
  DesignLayout();
  BindHandlers();
  state_.main = this;
}

frmMain::~frmMain() {
  if (state_.main == this) state_.main = nullptr;
}

// The window as designed: tall enough to show both option panels. Initialisation then lays it
// out in its compact form.
void frmMain::DesignLayout() {
  SetCaption("Quenlar");
  SetIcon("IDI_MAIN");
  BorderStyle = ui::BorderStyle::FixedSingle;
  MaxButton = false;
  Move(0, 0, 4845, 6750);

  frmeAction.SetCaption("Step 1 - Select Action :");
  frmeAction.Move(120, 60, 1950, 2520);
  picBG0.Move(90, 240, 1770, 2190);
  const char* actions[] = {"&Shutdown", "&Restart", "&Log Off", "H&ibernate", "Stand &by", "Lock &Computer",
                           "Alarm && &Message"};
  for (int i = 0; i <= 6; ++i) {
    optExitOption[i].SetCaption(actions[i]);
    optExitOption[i].Move(60, 30 + 300 * i, 1650, 255);
  }
  optExitOption[0].SetValue(true);

  frmeActOpt.SetCaption("Action Options :");
  frmeActOpt.Move(120, 2640, 4485, 3000);
  picOptions0.Move(60, kPanelInView, 4365, 855);
  chkExecFile.SetCaption("&Execute file before action :");
  chkExecFile.Move(60, 0, 2895, 255);
  txtExecF.Move(60, 270, 3735, 285);
  txtExecF.SetLocked(true);
  txtExecF.SetEnabled(false);
  txtExecF.SetToolTipText("Double Click to Clear");
  cmdExecF.SetCaption("...");
  cmdExecF.Move(3855, 255, 450, 315);
  cmdExecF.SetEnabled(false);
  chkForced.SetCaption("&Forced Action");
  chkForced.Move(60, 585, 1320, 255);
  lblCountdown.SetCaption("Countdown for :");
  lblCountdown.Move(1575, 615, 1230, 225);
  txtTimeout.SetText("30");
  txtTimeout.SetMaxLength(2);
  txtTimeout.SetToolTipText(kCountdownTip);
  txtTimeout.Move(2820, 570, 375, 285);
  // A short scroll bar serves as a spinner; with Min above Max its up arrow raises the value.
  scrSecond.SetRange(99, -1);
  scrSecond.SetChanges(1, 1);
  scrSecond.SetValue(30);
  scrSecond.Move(3195, 570, 255, 285);  // beside the box, as high as it
  lblSeconds.SetCaption("Seconds.");
  lblSeconds.Move(3510, 615, 795, 225);

  // The alarm panel waits out of view, disabled as it rests after every later swap, so that
  // nothing in it can take the focus or a key while it cannot be seen.
  picOptions1.Move(60, kPanelAtStart, 4365, 855);
  picOptions1.SetEnabled(false);
  lblMessage.SetCaption("Message :");
  lblMessage.Move(60, 30, 840, 225);
  txtMessage.SetMaxLength(65);
  txtMessage.Move(915, 0, 3390, 285);
  chkAlarmF.SetCaption("Play Audio (Alarm) :");
  chkAlarmF.Move(60, 300, 2895, 255);
  txtAlarmF.Move(60, 570, 3735, 285);
  txtAlarmF.SetLocked(true);
  txtAlarmF.SetEnabled(false);
  txtAlarmF.SetToolTipText("Double Click to Clear");
  cmdAlarmF.SetCaption("...");
  cmdAlarmF.Move(3855, 555, 450, 315);
  cmdAlarmF.SetEnabled(false);

  Frame3.SetCaption("Current Date/Time :");
  Frame3.Move(2190, 60, 2415, 1000);
  lblTime.SetFont(kClockFont);
  lblTime.SetAlignment(ui::Alignment::Center);
  lblTime.SetCaption("12:00:00 AM");
  lblTime.Move(60, 240, 2295, 690);

  frmeAcTime.SetCaption("Shutdown Time :");
  frmeAcTime.Move(2190, 1140, 2415, 1440);
  picBG2.Move(60, 240, 2295, 1110);
  lblActionTime.SetFont(kClockFont);
  lblActionTime.SetAlignment(ui::Alignment::Center);
  lblActionTime.SetForeColor(ui::Rgb(255, 0, 0));
  lblActionTime.SetCaption("12:00:00 AM");
  lblActionTime.Move(0, 150, 2295, 690);
  picBG1.Move(60, 240, 2295, 1110);
  optTime[1].SetCaption("In");
  optTime[1].Move(60, 90, 540, 285);
  optTime[1].SetValue(true);
  txtPeriod.SetText("1");
  txtPeriod.SetMaxLength(3);
  txtPeriod.Move(630, 60, 570, 315);
  for (const char* unit : {"Hours", "Minutes", "Seconds"}) cboTimeUnit.AddItem(unit);
  cboTimeUnit.Move(1260, 60, 975, 315);
  optTime[0].SetCaption("At");
  optTime[0].Move(60, 660, 540, 285);
  ActTime.Move(630, 630, 1605, 330);

  cmdActivate.SetCaption(kActivateCaption);
  cmdActivate.Move(120, 5800, 2190, 375);
  cmdTray.SetCaption("Mi&nimize to Tray");
  cmdTray.Move(2415, 5800, 2190, 375);

  txtVer.Move(-3000, 0, 1000, 285);
  txtVer.SetVisible(false);
  txtBeepFreq.SetText("4000");
  txtBeepFreq.SetVisible(false);
  IcoDisabled.Move(0, 0, 240, 240);  // 16 x 16 pixels, the size of a tray icon
  IcoDisabled.SetPicture("IDI_DISABLED");
  IcoDisabled.SetVisible(false);

  tmrTime.SetInterval(500);
  tmrAction.SetInterval(500);
  tmrAction.SetEnabled(false);
  tmrUpdate.SetInterval(100);
  tmrUpdate.SetEnabled(false);

  mnu_beep.SetChecked(true);
}

void frmMain::BindHandlers() {
  InitializeEvent = [this] { Form_Initialize(); };
  LoadEvent = [this] { Form_Load(); };
  QueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  UnloadEvent = [this](int& cancel) { Form_Unload(cancel); };
  MouseMove = [this](int button, int shift, float x, float y) { Form_MouseMove(button, shift, x, y); };
  RegisteredMessages = {tray::kTaskbarCreated};
  RegisteredMessage = [this](const std::string& name) { Form_RegisteredMessage(name); };
  mnu_exit.Click = [this] { mnu_exit_Click(); };
  mnu_popexit.Click = [this] { mnu_popexit_Click(); };

  cmdActivate.Click = [this] { cmdActivate_Click(); };
  mnu_activate.Click = [this] { mnu_activate_Click(); };
  mnu_Ractivate.Click = [this] { mnu_Ractivate_Click(); };
  optTime.ForEach([this](ui::OptionButton& option) { option.Click = [this](int index) { optTime_Click(index); }; });
  tmrTime.TimerEvent = [this] { tmrTime_Timer(); };
  tmrAction.TimerEvent = [this] { tmrAction_Timer(); };
  txtPeriod.KeyPress = [this](int& keyAscii) { txtPeriod_KeyPress(keyAscii); };
  txtPeriod.GotFocus = [this] { txtPeriod_GotFocus(); };
  txtPeriod.LostFocus = [this] { txtPeriod_LostFocus(); };
  txtPeriod.Change = [this] { txtPeriod_Change(); };
  cboTimeUnit.Change = [this] { cboTimeUnit_Change(); };
  cboTimeUnit.Click = [this] { cboTimeUnit_Click(); };

  cmdTray.Click = [this] { cmdTray_Click(); };
  mnu_Show.Click = [this] { mnu_Show_Click(); };
  mnu_saveset.Click = [this] { mnu_saveset_Click(); };
  mnu_beep.Click = [this] { mnu_beep_Click(); };
  mnu_confirm.Click = [this] { mnu_confirm_Click(); };
  mnu_autotray.Click = [this] { mnu_autotray_Click(); };
  mnu_options.Click = [this] { mnu_options_Click(); };
  mnu_about.Click = [this] { mnu_about_Click(); };
  mnu_website.Click = [this] { mnu_website_Click(); };
  mnu_donate.Click = [this] { mnu_donate_Click(); };
  mnu_update.Click = [this] { mnu_update_Click(); };
  tmrUpdate.TimerEvent = [this] { tmrUpdate_Timer(); };

  optExitOption.ForEach(
      [this](ui::OptionButton& option) { option.Click = [this](int index) { optExitOption_Click(index); }; });
  chkExecFile.Click = [this] { chkExecFile_Click(); };
  chkAlarmF.Click = [this] { chkAlarmF_Click(); };
  cmdExecF.Click = [this] { cmdExecF_Click(); };
  cmdAlarmF.Click = [this] { cmdAlarmF_Click(); };
  txtExecF.Change = [this] { txtExecF_Change(); };
  txtAlarmF.Change = [this] { txtAlarmF_Change(); };
  txtExecF.DblClick = [this] { txtExecF_DblClick(); };
  txtAlarmF.DblClick = [this] { txtAlarmF_DblClick(); };
  txtMessage.GotFocus = [this] { txtMessage_GotFocus(); };
  txtMessage.LostFocus = [this] { txtMessage_LostFocus(); };
  txtTimeout.KeyPress = [this](int& keyAscii) { txtTimeout_KeyPress(keyAscii); };
  txtTimeout.GotFocus = [this] { txtTimeout_GotFocus(); };
  txtTimeout.Change = [this] { txtTimeout_Change(); };
  scrSecond.Change = [this] { scrSecond_Change(); };
  scrSecond.Scroll = [this] { scrSecond_Scroll(); };
}

// ---------------------------------------------------------------- start-up and exit

void frmMain::Form_Initialize() {
  os_.comctl32.InitCommonControls();
  names_ = ReadLocaleNames(os_.kernel32);
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
  EachStatement({[&] { refused = PrevInstance(os_.kernel32); }});
  if (refused) {
    GetRuntime().MsgBox("Quenlar is already Running!   ", ui::mb::kInformation);
    GetRuntime().End();
    return;
  }
  EachStatement({
      [&] { state_.AppFolder = WithTrailingBackslash(AppPath(os_.kernel32)); },
      [&] { state_.ActionName = "Shutdown"; },
      [&] { mnu_popup.SetVisible(false); },
      [&] {
        if (os_.files.FileExists(state_.SettingsPath())) keepUnreadSettings_ = !LoadSett(state_.SettingsPath());
      },
      [&] {
        // A file that selects no action (all seven lines False, or none readable) would announce
        // a shutdown and do nothing: Shutdown it is, the action the name already says.
        if (SelectedAction() < 0) optExitOption[0].SetValue(true);
      },
      [&] { OfferAction(4, StandByOffered()); },
      [&] { OfferAction(5, LockOffered()); },
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
      [&] { state_.ExitNow = false; },
  });
}

// An action this computer cannot carry out is disabled, and the selection falls back from it
// to Shutdown.
void frmMain::OfferAction(int index, bool offered) {
  if (!offered && optExitOption[index].Value()) optExitOption[0].SetValue(true);
  optExitOption[index].SetEnabled(offered);
}

// Where Windows says the computer can stand by, on the NT family (Windows 95, 98 and Me return
// at once without standing by), with the function that asks for it.
bool frmMain::StandByOffered() {
  try {
    return power::GetOSInfo(os_.kernel32).Family == power::kFamilyNT &&
           os_.kernel32.GetProcAddress("powrprof.dll", "SetSuspendState") != 0 &&
           os_.powrprof.IsPwrSuspendAllowed() != 0;
  } catch (const std::exception&) {
    return false;  // no power-management library
  }
}

// On the NT family, where user32 has LockWorkStation (NT 4.0 has not).
bool frmMain::LockOffered() {
  return power::GetOSName(os_.kernel32) == "Windows NT" &&
         os_.kernel32.GetProcAddress("user32.dll", "LockWorkStation") != 0;
}

int frmMain::SelectedAction() const {
  for (int index = 0; index <= 6; ++index)
    if (optExitOption[index].Value()) return index;
  return -1;
}

void frmMain::Form_QueryUnload(int& cancel, int /*unloadMode*/) {
  ui::Runtime& rt = GetRuntime();
  if (ScheduleActive()) {
    int answer = rt.MsgBox("Quenlar is currenty Active. Do you want to Deactivate it?   ",
                           ui::mb::kYesNo | ui::mb::kCritical);
    if (answer == ui::vbYes) {
      state_.ExitNow = true;
      cancel = 0;
    } else {
      cancel = 1;
    }
    return;
  }
  if (state_.ExitNow || mnu_confirm.Checked()) {
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
  return settings::SaveSett(*this, os_.files, fileName);
}

bool frmMain::LoadSett(const std::string& fileName) { return settings::LoadSett(*this, os_.files, fileName); }

void frmMain::mnu_saveset_Click() {
  // The user asks for it: this save replaces even a file that could not be read at start-up.
  if (settings::SaveSett(*this, os_.files, state_.SettingsPath())) {
    keepUnreadSettings_ = false;
    GetRuntime().MsgBox("Settings are saved successfully!     ", ui::mb::kInformation);
  } else {
    GetRuntime().MsgBox("Settings could not be saved to the file " + state_.SettingsPath() + "     ", ui::mb::kExclamation);
  }
}

void frmMain::mnu_exit_Click() {
  EachStatement({[&] { Unload(); }});
}

bool frmMain::Unload() { return state_.ExitNow ? CloseEvenWhileDeciding(ui::vbFormCode) : ui::Form::Unload(); }

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

base::LocalTime frmMain::ComputeTargetTime(base::LocalTime now) const {
  using namespace std::chrono;
  if (optTime[1].Value()) {
    const std::string unit = cboTimeUnit.Text();
    seconds step;
    if (unit == "Hours")
      step = hours(1);
    else if (unit == "Minutes")
      step = minutes(1);
    else if (unit == "Seconds")
      step = seconds(1);
    else
      throw ui::RuntimeError(base::kInvalidProcedureCall, "Invalid procedure call or argument");
    return now + step * base::CLng(PeriodAmount(txtPeriod));
  }
  // "At": the picker's time of day today, or tomorrow when that moment has already gone.
  base::LocalTime target = base::DateOf(now) + base::TimeOfDay(ActTime.Value());
  if (target < now) target += days(1);
  return target;
}

void frmMain::cmdActivate_Click() {
  if (cmdActivate.Caption() == kActivateCaption)
    ActivateSchedule();
  else
    DeactivateSchedule();
}

// The moment comes first: where it cannot be worked out, nothing is activated (the error is
// reported), so that the trigger never runs on an old target.
void frmMain::ActivateSchedule() {
  TakePeriod();
  state_.TargetTime = ComputeTargetTime(os_.kernel32.GetLocalTime());
  EachStatement({
      [&] { cmdActivate.SetCaption(kDeactivateCaption); },
      [&] { lblActionTime.SetCaption(TargetText(state_.TargetTime)); },
      [&] { tmrAction.SetEnabled(true); },
      [&] { RestartClockWithTrigger(); },
      [&] { frmeAction.SetEnabled(false); },
      [&] { picBG1.SetEnabled(false); },
      [&] { picBG1.SetVisible(false); },
      [&] { frmeActOpt.SetEnabled(false); },
      [&] { cmdTray.SetFocus(); },
      [&] { mnu_about.SetEnabled(false); },
      [&] { mnu_update.SetEnabled(false); },
      [&] {
        if (mnu_autotray.Checked()) cmdTray_Click();
      },
      [&] { mnu_activate.SetCaption(cmdActivate.Caption()); },
      [&] { mnu_Ractivate.SetCaption(cmdActivate.Caption()); },
      [&] { ShowTrayState(); },
  });
}

void frmMain::DeactivateSchedule() {
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
      [&] { mnu_activate.SetCaption(kActivateCaption); },
      [&] { mnu_Ractivate.SetCaption(kActivateCaption); },
      [&] { ShowTrayState(); },
  });
}

void frmMain::mnu_activate_Click() {
  cmdActivate_Click();
  mnu_activate.SetCaption(cmdActivate.Caption());
}

void frmMain::mnu_Ractivate_Click() {
  cmdActivate_Click();
  mnu_activate.SetCaption(cmdActivate.Caption());
}

void frmMain::optTime_Click(int index) {
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

void frmMain::txtPeriod_KeyPress(int& keyAscii) {
  if (keyAscii == ui::vbKeyReturn) TakePeriod();
  ui::KeepDigits(keyAscii);
}

void frmMain::txtPeriod_GotFocus() { SelectAll(txtPeriod); }

void frmMain::txtPeriod_LostFocus() { TakePeriod(); }

// While the user types, the amount keeps to 999 at most and loses its leading zeros ("007" is
// 7), the caret staying at the end; the least amount applies once the amount is taken, so that
// the first digits can be typed. A pasted text counts for the whole number it begins with, so
// "2.5" is 2 and "-5" is below the least amount.
void frmMain::txtPeriod_Change() {
  if (PeriodAmount(txtPeriod) > 999) txtPeriod.Rewrite("999");
  if (!txtPeriod.Text().empty())
    txtPeriod.Rewrite(std::to_string(static_cast<long long>(PeriodAmount(txtPeriod))));
}

void frmMain::TakePeriod() {
  if (PeriodAmount(txtPeriod) < 1) txtPeriod.Rewrite("1");
  if (PeriodAmount(txtPeriod) < 5 && cboTimeUnit.ListIndex() == 2) txtPeriod.Rewrite("5");
}

void frmMain::cboTimeUnit_Change() { TakePeriod(); }

// ---------------------------------------------------------------- trigger and dispatch

void frmMain::tmrAction_Timer() {
  try {
    if (state_.TargetTime > os_.kernel32.GetLocalTime()) return;
    if (optExitOption[6].Value()) {
      state_.ExitNow = true;
      Hide();
      PerformAction();
      // The alarm window could not open (the failure has been reported): nothing is left to
      // show, and the program ends as it would after the alarm.
      if (!alarm_ || !alarm_->IsLoaded()) Unload();
      return;
    }
    if (base::Val(txtTimeout.Text()) == 0) {
      state_.ExitNow = true;
      tmrAction.SetEnabled(false);
      PerformAction();
      Unload();
      return;
    }
    tmrAction.SetEnabled(false);
    Hide();
    state_.ExitNow = true;
    countdown_ = std::make_unique<countdown::frmAction>(GetRuntime(), state_);
    countdown_->Show();
  } catch (const std::exception&) {
    SeriousErrorExit();
  }
}

// A failure of Shutdown, Restart or Log Off ends in a forced shutdown, so that the computer
// goes down as the user asked. Hibernate, Stand by, Lock and the alarm are not replaced by
// anything: the user who asked for them must not lose the work of every open program. Any
// request that did not happen is reported, naming that request.
void frmMain::PerformAction() {
  ui::Runtime& rt = GetRuntime();
  power::Refusal refusal;
  int action = -1;
  std::string request;  // the request that did not happen, as the user knows it
  std::string failure;  // the run-time error, when that is why
  try {
    state_.Forced = chkForced.Value() == 1;
    tmrAction.SetEnabled(false);
    action = SelectedAction();
    request = state_.ActionText();
    // The chosen program starts whenever a path is set, ticked or not, one second ahead.
    if (txtExecF.Text() != kSelectFile && action != 6) {
      StartProgram(txtExecF.Text());
      Hide();
      platform::WaitSeconds(os_, rt, 1);
      if (rt.Ended()) return;  // the program was ended meanwhile: nothing more is done
    }
    switch (action) {
      case 0:
        power::ExitWin(os_, os::kEwxShutdown, state_.Forced, &refusal);
        break;
      case 1:
        power::ExitWin(os_, os::kEwxReboot, state_.Forced, &refusal);
        break;
      case 2:
        power::ExitWin(os_, os::kEwxLogoff, state_.Forced, &refusal);
        break;
      case 3:
        power::SuspendPC(os_, 1, state_.Forced, false, &refusal);
        break;
      case 4:
        power::SuspendPC(os_, 0, state_.Forced, false, &refusal);
        break;
      case 5:
        power::LockPC(os_, &refusal);
        break;
      case 6:
        ShowAlarmWindow();
        break;
      default:
        break;
    }
  } catch (const std::exception& error) {
    refusal = {};
    if (action >= 3) {
      failure = ui::DescribeError(error);
    } else {
      request = kActionNames[0];
      power::ExitWin(os_, os::kEwxShutdown, true, &refusal);  // its own failure reaches the caller
    }
  }
  if (refusal.refused || refusal.notOffered || !failure.empty()) ReportFailure(request, refusal, failure);
}

// Starts the chosen program hidden, with "Open"; a file whose type has no "Open" verb (a file
// picked with "All Files") starts with its type's default verb instead.
void frmMain::StartProgram(const std::string& path) {
  if (os_.shell32.ShellExecuteA(0, "Open", path, "", "", os::kSwHide) == os::kSeErrNoAssoc)
    os_.shell32.ShellExecuteA(0, "", path, "", "", os::kSwHide);
}

void frmMain::ShowAlarmWindow() {
  alarm_ = std::make_unique<alarm::frmAlarm>(GetRuntime(), state_);
  alarm_->Show();
}

// A request that did not happen would otherwise leave no trace: the user who comes back to a
// computer still on learns which request failed and why.
void frmMain::ReportFailure(const std::string& request, const power::Refusal& refusal, const std::string& failure) {
  std::string text = request + " could not be performed";
  if (refusal.refused) {
    std::string reason;
    EachStatement({[&] { reason = os_.kernel32.FormatMessageA(refusal.error); }});
    while (!reason.empty() && std::isspace(static_cast<unsigned char>(reason.back()))) reason.pop_back();
    if (reason.empty()) reason = "Error " + std::to_string(refusal.error) + ".";
    text += ": Windows refused the request.\r\n\r\n" + reason;
  } else if (refusal.notOffered) {
    text += ": this version of Windows does not offer it.";
  } else {
    text += ".\r\n\r\n" + failure;
  }
  GetRuntime().MsgBox(text, ui::mb::kCritical);
}

// ---------------------------------------------------------------- status caption and tray

void frmMain::SetActiveCaption() {
  try {
    std::string status = state_.ActionText() + " On " + base::FormatStatusMoment(state_.TargetTime, names_);
    SetCaption(chkForced.Value() == 1 ? "FORCED " + status : status);
  } catch (const std::exception&) {
    SetCaption(AppTitle());
  }
}

void frmMain::cmdTray_Click() {
  TrayIcon shown = TrayIconNow();
  tray::AddIcon(os_.shell32, state_.TrayRecord, hWnd(), shown.icon, shown.tip);
  Hide();
}

// The picture and tip that tell the schedule's state: the window's icon and the status caption
// (written into the caption for it) while active, the grey icon and "(NOT ACTIVE)" while idle.
frmMain::TrayIcon frmMain::TrayIconNow() {
  if (tmrAction.Enabled()) {
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

void frmMain::Form_MouseMove(int /*button*/, int /*shift*/, float x, float /*y*/) {
  // The tray icon reports its mouse events as this window's mouse move, the event's number
  // standing where the pointer's x coordinate would, in pixels.
  float message = x / static_cast<float>(GetRuntime().GetBackend().TwipsPerPixel());
  if (message == 516.0f) {
    os_.user32.SetForegroundWindow(hWnd());
    PopupMenu(mnu_popup);
  } else if (message == 513.0f) {
    RestoreFromTray();
  }
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

std::int16_t frmMain::BeepFrequency() const {
  double hertz = base::Val(txtBeepFreq.Text());
  using countdown::frmOptions;
  return base::CInt(std::clamp<double>(hertz, frmOptions::kLowest, frmOptions::kHighest));
}

bool frmMain::HibernateAllowed() {
  try {
    return os_.powrprof.IsPwrHibernateAllowed() != 0;
  } catch (const std::exception&) {
    return false;  // no power-management library: this system cannot hibernate
  }
}

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
  if (picOptions(0).Top() != kPanelInView && index < 6) ShowPanel(0);
  switch (index) {
    case 3:
      if (HibernateAllowed()) {
        state_.ActionName = kActionNames[3];
        return;
      }
      if (rt.MsgBox("Hibernate is currently Disabled!     \rDo you want to Enable it Now?",
                    ui::mb::kYesNo | ui::mb::kQuestion) != ui::vbYes) {
        optExitOption[0].SetValue(true);
        state_.ActionName = kActionNames[0];
        return;
      }
      if (const std::string command = power::HibernateOnCommand(os_.kernel32);
          !command.empty() && power::ShellWait(os_, rt, command) && !rt.Ended() && HibernateAllowed()) {
        rt.MsgBox("Hibernate is Enabled Successfully!     ", ui::mb::kInformation);
        optExitOption[3].SetValue(true);
        state_.ActionName = kActionNames[3];
      } else if (!rt.Ended()) {
        rt.MsgBox("There was an error Enabling Hibernate!     ", ui::mb::kCritical);
        optExitOption[0].SetValue(true);
        state_.ActionName = kActionNames[0];
      }
      return;
    case 6:
      state_.ActionName = kActionNames[6];
      ShowPanel(1);
      return;
    default:
      state_.ActionName = kActionNames[index];
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

void frmMain::txtMessage_GotFocus() { SelectAll(txtMessage); }

void frmMain::txtMessage_LostFocus() {
  if (txtMessage.Text().empty()) txtMessage.SetText(kTypeMessage);
}

void frmMain::txtTimeout_KeyPress(int& keyAscii) { ui::KeepDigits(keyAscii); }

void frmMain::txtTimeout_GotFocus() { SelectAll(txtTimeout); }

void frmMain::txtTimeout_Change() {
  if (base::Val(txtTimeout.Text()) > 900) txtTimeout.SetText("900");
  if (base::Val(txtTimeout.Text()) > 0) {
    txtTimeout.SetBackColor(ui::kSystemWindowBackground);
    txtTimeout.SetToolTipText(kCountdownTip);
  } else {
    txtTimeout.SetBackColor(kNoCountdownColor);
    txtTimeout.SetText("0");
    txtTimeout.SetToolTipText(kNoCountdownTip);
  }
  // Two digits are all the box holds: select them, so the next digit starts afresh.
  if (txtTimeout.Text().size() == 2) SelectAll(txtTimeout);
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
      [&] { txtVer.SetText(""); },
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
        [&] { txtVer.SetText(iNet.Result()); },
        [&] { CheckVersion(update::ReadVersion(txtVer.Text())); },
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
