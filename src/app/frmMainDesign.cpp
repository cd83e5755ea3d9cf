// The main window as designed: its frame, its controls' places and designed states, and the
// binding of its handlers. Initialisation then lays it out in its compact form (frmMain.cpp).
#include "app/frmMain.h"
#include "app/frmMainDesign.h"
#include "command/HandOver.h"
#include "ui/NumberBox.h"

namespace app {

using namespace design;

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
  for (int i = 0; i < schedule::kActionCount; ++i) {
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
  txtTimeout.SetToolTipText(kCountdownTip);
  txtTimeout.Move(2820, 570, 375, 285);
  // A short scroll bar serves as a spinner; with Min above Max its up arrow raises the value.
  scrSecond.SetRange(schedule::kLongestCountdown, -1);
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
  txtMessage.SetMaxLength(schedule::kLongestMessage);
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
  lblActionTime.SetUseMnemonic(false);  // a program's name may hold an "&"
  lblActionTime.Move(0, 150, 2295, 690);
  picBG1.Move(60, 240, 2295, 1110);
  optTime[1].SetCaption("In");
  optTime[1].Move(60, 90, 540, 285);
  optTime[1].SetValue(true);
  txtPeriod.SetText("1");
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

  IcoDisabled.Move(0, 0, 240, 240);  // 16 x 16 pixels, the size of a tray icon
  IcoDisabled.SetPicture("IDI_DISABLED");
  IcoDisabled.SetVisible(false);

  tmrTime.SetInterval(500);
  tmrAction.SetInterval(500);
  tmrAction.SetEnabled(false);
  tmrUpdate.SetInterval(100);
  tmrUpdate.SetEnabled(false);
  TrayMessage = tray::kTrayCallbackMessage;
  WindowClass = command::kMainWindowClass;  // by which a later copy finds this one

  mnu_beep.SetChecked(true);
}

void frmMain::BindHandlers() {
  InitializeEvent = [this] { Form_Initialize(); };
  LoadEvent = [this] { Form_Load(); };
  QueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  UnloadEvent = [this](int& cancel) { Form_Unload(cancel); };
  TrayMouse = [this](const ui::TrayMouseEvent& event) { Form_TrayMouse(event); };
  TrayBalloon = [this](ui::TrayBalloonEvent event) { Form_TrayBalloon(event); };
  CopyData = [this](ui::CopyDataMessage& message) { Form_CopyData(message); };
  RegisteredMessages = {tray::kTaskbarCreated};
  RegisteredMessage = [this](const std::string& name) { Form_RegisteredMessage(name); };
  mnu_exit.Click = [this] { mnu_exit_Click(); };
  mnu_popexit.Click = [this] { mnu_popexit_Click(); };

  cmdActivate.Click = [this] { cmdActivate_Click(); };
  mnu_activate.Click = [this] { mnu_activate_Click(); };
  mnu_Ractivate.Click = [this] { mnu_activate_Click(); };
  mnu_when.Click = [this] { mnu_when_Click(); };
  mnu_repeat.Click = [this] { mnu_repeat_Click(); };
  mnu_notify.Click = [this] { mnu_notify_Click(); };
  PowerBroadcast = [this](int event) { Form_PowerBroadcast(event); };
  // A condition's text is fitted to the target panel in the fonts of this DPI.
  DpiChanged = [this](int) {
    if (state_.Control.GetPhase() != control::Phase::Idle && state_.Control.Schedule().trigger.IsCondition())
      ShowTargetPanel();
  };
  mnu_Rwhen.Click = [this] { mnu_when_Click(); };
  mnu_display.Click = [this] { mnu_display_Click(); };
  mnu_Rdisplay.Click = [this] { mnu_display_Click(); };
  optTime.ForEach([this](ui::OptionButton& option) { option.Click = [this](int index) { optTime_Click(index); }; });
  tmrTime.TimerEvent = [this] { tmrTime_Timer(); };
  tmrAction.TimerEvent = [this] { tmrAction_Timer(); };
  ui::BindNumberBox(txtPeriod, {schedule::kLargestAmount, [this] { return LeastPeriod(); }, {}});
  cboTimeUnit.Change = [this] { cboTimeUnit_Change(); };
  cboTimeUnit.Click = [this] { cboTimeUnit_Click(); };

  cmdTray.Click = [this] { cmdTray_Click(); };
  mnu_Show.Click = [this] { mnu_Show_Click(); };
  mnu_saveset.Click = [this] { mnu_saveset_Click(); };
  mnu_beep.Click = [this] { mnu_beep_Click(); };
  mnu_confirm.Click = [this] { mnu_confirm_Click(); };
  mnu_autotray.Click = [this] { mnu_autotray_Click(); };
  mnu_postpone.Click = [this] { mnu_postpone_Click(); };
  mnu_keepawake.Click = [this] { mnu_keepawake_Click(); };
  mnu_startwin.Click = [this] { mnu_startwin_Click(); };
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
  ui::BindNumberBox(txtTimeout, {schedule::kLongestCountdown, {}, [this] { txtTimeout_Change(); }});
  scrSecond.Change = [this] { scrSecond_Change(); };
  scrSecond.Scroll = [this] { scrSecond_Scroll(); };
}

}  // namespace app
