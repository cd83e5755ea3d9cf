// The main window: the schedule (what, when), its activation, the clock, the tray, the menus,
// and the program's start-up and exit.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "base/DateTime.h"
#include "control/Controller.h"
#include "platform/FileOpenDialog.h"
#include "power/modShutdown.h"
#include "schedule/Schedule.h"
#include "schedule/Watch.h"
#include "session/ProgramState.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "update/Inet.h"

namespace app::alarm {
class frmAlarm;
}
namespace countdown {
class frmAction;
}

namespace app {

class frmMain : public ui::Form, public session::MainWindow, public control::Listener, public control::Host {
 public:
  // Becomes the state's main window until it is destroyed.
  frmMain(ui::Runtime& runtime, session::ProgramState& state);
  ~frmMain() override;

  session::ProgramState& State() { return state_; }

  // A schedule is active from its activation until it is deactivated or fires; the trigger
  // timer runs exactly while it is.
  bool ScheduleActive() const { return state_.Control.Armed(); }
  // The selected action's name, as its option shows it ("Alarm && Message"); Shutdown's when
  // none is selected.
  std::string ActionName() const;
  // The schedule the window's controls describe, its moment counted from `now`. A moment that
  // cannot be worked out (no unit chosen) is a run-time error.
  schedule::Schedule ScheduleFromWindow(base::LocalTime now);
  schedule::Schedule OptionsFromWindow() override;
  // The status caption into the caption.
  void SetActiveCaption();
  std::string StatusCaption() const override;
  // Shows a schedule in the controls, as the user would have set them for it.
  void ShowSchedule(const schedule::Schedule& schedule);
  // Shows a moment's "In" or "At" entry as the user would have made it for this schedule.
  void ShowEntry(const schedule::Schedule& schedule);
  // Brings the window back from the tray (or to the front) and takes the icon away.
  void RestoreFromTray() override;
  // Sends the window to the tray, as its button does, when it shows.
  void MinimizeToTray() override;
  // Tells the user something in a balloon over the tray icon, titled "Quenlar"; shown or not,
  // the window keeps its place. A click on the balloon brings the window back.
  void ShowNotice(const std::string& text) override;
  // The countdown window while the schedule counts down, or nullptr.
  countdown::frmAction* Countdown() const;
  // Another copy of the program hands its command line over (tells its answer and text).
  void Form_CopyData(ui::CopyDataMessage& message);
  // The clock text: date line and time line, one carriage return between, all upper case.
  std::string ClockText(base::LocalTime now) const;
  // The target text: upper-cased date line, a carriage return, the time line.
  std::string TargetText(base::LocalTime target) const;
  // Shows the active schedule's target text, or its condition, in the target panel.
  void ShowTargetPanel();
  // Shows the serious-error message, then asks the main window to close.
  void SeriousErrorExit();

  // ---- what the other windows reach (MainWindow)
  bool SaveSett(const std::string& fileName) override;
  bool Unload() override;
  bool BeepOnTimeout() const override { return mnu_beep.Checked(); }
  bool PostponeOffered() const override { return mnu_postpone.Checked(); }

  // ---- the schedule's life as this window shows it (control::Listener), and what carrying out
  // the action needs of it (control::Host)
  void Moved(control::Transition how, control::Phase from, control::Phase to) override;
  void Offered(const schedule::Schedule& schedule) override { ShowSchedule(schedule); }
  bool WaitSeconds(int seconds) override;
  void TellFailure(const std::string& text) override;
  // WM_SYSCOMMAND SC_MONITORPOWER 2 to this window, through DefWindowProc: only this window is
  // asked, so that no hung window of another program can hold the request. Also what the
  // command line's /display without a time asks of the window (session::MainWindow).
  void TurnOffDisplay() override;

  // Sets the controls from the settings file; never opens a dialog, never raises an error.
  // False when the file could not be opened or read.
  bool LoadSett(const std::string& fileName);
  // The settings as the controls (and the state's values) hold them.
  Settings SettingsFromWindow();
  // Puts settings into the controls and brings the window into the state the controls'
  // handlers would leave it in, running none of them: nothing asks and no dialog opens. A
  // Hibernate this computer cannot do now selects Shutdown, as when the user declines to switch
  // hibernation on. Each value on its own: one that cannot be shown leaves the others.
  void ShowSettings(const Settings& settings);
  // Whether the system can hibernate now; a system without the query cannot.
  bool HibernateAllowed();

  // ---- started with Windows
  // Loads the window and shows it, as the program starts. Started by Windows at logon while a
  // repeating schedule is remembered, it goes to the tray quietly instead.
  void ShowAtStart();
  // Started by Windows at logon (/startup).
  bool StartedWithWindows() const { return state_.StartedWithWindows; }
  // Puts the loaded window's icon in the tray without showing the window: no message box, and
  // the focus stays where it is.
  void StartQuietly();
  // Ticks "Start with Windows", writing its entry, where it is not ticked yet. True when it was
  // newly ticked; a failure is told in a message box and leaves it unticked.
  bool EnsureStartsWithWindows();

  // The file-open dialog of the two file pickers.
  platform::CommonDialog CommonDialog;
  // Fetches the version file for the update check.
  update::Inet iNet;

  // ---- controls, in the order they are created: their tab order, and where two overlap, the
  // earlier one lies on top
  ui::Frame frmeAction{*this, "frmeAction"};
  ui::PictureBox picBG0{frmeAction, "picBG", 0};
  ui::ControlArray<ui::OptionButton> optExitOption{picBG0, "optExitOption", {0, 1, 2, 3, 4, 5, 6}};

  ui::Frame frmeActOpt{*this, "frmeActOpt"};
  ui::PictureBox picOptions0{frmeActOpt, "picOptions", 0};
  ui::CheckBox chkExecFile{picOptions0, "chkExecFile"};
  ui::TextBox txtExecF{picOptions0, "txtExecF"};
  ui::CommandButton cmdExecF{picOptions0, "cmdExecF"};
  ui::CheckBox chkForced{picOptions0, "chkForced"};
  ui::Label lblCountdown{picOptions0, "lblCountdown"};
  ui::TextBox txtTimeout{picOptions0, "txtTimeout"};
  ui::ScrollBar scrSecond{picOptions0, "scrSecond"};
  ui::Label lblSeconds{picOptions0, "lblSeconds"};
  ui::PictureBox picOptions1{frmeActOpt, "picOptions", 1};
  ui::Label lblMessage{picOptions1, "lblMessage"};
  ui::TextBox txtMessage{picOptions1, "txtMessage"};
  ui::CheckBox chkAlarmF{picOptions1, "chkAlarmF"};
  ui::TextBox txtAlarmF{picOptions1, "txtAlarmF"};
  ui::CommandButton cmdAlarmF{picOptions1, "cmdAlarmF"};

  ui::Frame Frame3{*this, "Frame3"};
  ui::Label lblTime{Frame3, "lblTime"};

  ui::Frame frmeAcTime{*this, "frmeAcTime"};
  ui::PictureBox picBG1{frmeAcTime, "picBG", 1};  // the entry panel, over the target panel
  ui::ControlArray<ui::OptionButton> optTime{picBG1, "optTime", {1, 0}};
  ui::TextBox txtPeriod{picBG1, "txtPeriod"};
  ui::ComboBox cboTimeUnit{picBG1, "cboTimeUnit"};
  ui::DTPicker ActTime{picBG1, "ActTime"};
  ui::PictureBox picBG2{frmeAcTime, "picBG", 2};
  ui::Label lblActionTime{picBG2, "lblActionTime"};

  ui::CommandButton cmdActivate{*this, "cmdActivate"};
  ui::CommandButton cmdTray{*this, "cmdTray"};

  ui::Image IcoDisabled{*this, "IcoDisabled"};  // the tray picture while no schedule is active

  ui::Timer tmrTime{*this, "tmrTime"};
  ui::Timer tmrAction{*this, "tmrAction"};
  ui::Timer tmrUpdate{*this, "tmrUpdate"};

  ui::PictureBox& picBG(int index) { return index == 0 ? picBG0 : index == 1 ? picBG1 : picBG2; }
  ui::PictureBox& picOptions(int index) { return index == 0 ? picOptions0 : picOptions1; }

  // ---- menus
  ui::Menu mnu_menu{*this, "mnu_menu", "&Menu"};
  ui::Menu mnu_activate{mnu_menu, "mnu_activate", "&Activate", ui::Shortcut::Ctrl('A')};
  ui::Menu mnu_when{mnu_menu, "mnu_when", "Activate &When..."};
  ui::Menu mnu_display{mnu_menu, "mnu_display", "Turn Off the &Display"};
  ui::Menu mnu_repeat{mnu_menu, "mnu_repeat", "&Repeat..."};
  ui::Menu mnu_update{mnu_menu, "mnu_update", "Check for &updates", ui::Shortcut::Ctrl('U')};
  ui::Menu mnu_sep1{mnu_menu, "mnu_sep1", "-"};
  ui::Menu mnu_exit{mnu_menu, "mnu_exit", "E&xit", ui::Shortcut::Ctrl('X')};
  ui::Menu mnu_settings{*this, "mnu_settings", "Se&ttings"};
  ui::Menu mnu_options{mnu_settings, "mnu_options", "Change Beep &Frequency"};
  ui::Menu mnu_sep2{mnu_settings, "mnu_sep2", "-"};
  ui::Menu mnu_beep{mnu_settings, "mnu_beep", "&Beep Internal Speaker on Timeout"};
  ui::Menu mnu_confirm{mnu_settings, "mnu_confirm", "Exit without &Confirmation"};
  ui::Menu mnu_autotray{mnu_settings, "mnu_autotray", "&Minimize to Tray on Activation"};
  ui::Menu mnu_postpone{mnu_settings, "mnu_postpone", "Allow &Postpone in the Warning"};
  ui::Menu mnu_keepawake{mnu_settings, "mnu_keepawake", "&Keep the Computer Awake until Then"};
  ui::Menu mnu_startwin{mnu_settings, "mnu_startwin", "Start with &Windows"};  // ticked: the registry says so
  ui::Menu mnu_notify{mnu_settings, "mnu_notify", "&Notify Before..."};
  ui::Menu mnu_sep3{mnu_settings, "mnu_sep3", "-"};
  ui::Menu mnu_saveset{mnu_settings, "mnu_saveset", "S&ave Settings", ui::Shortcut::Ctrl('S')};
  ui::Menu mnu_help{*this, "mnu_help", "&Help"};
  ui::Menu mnu_website{mnu_help, "mnu_website", "Visit our &website", ui::Shortcut::Ctrl('W')};
  ui::Menu mnu_donate{mnu_help, "mnu_donate", "Make a &Donation"};
  ui::Menu mnu_sep4{mnu_help, "mnu_sep4", "-"};
  ui::Menu mnu_about{mnu_help, "mnu_about", "&About", ui::Shortcut::F(1)};
  ui::Menu mnu_popup{*this, "mnu_popup", "PopMenu"};
  ui::Menu mnu_Show{mnu_popup, "mnu_Show", "&Show"};
  ui::Menu mnu_Ractivate{mnu_popup, "mnu_Ractivate", "&Activate"};
  ui::Menu mnu_Rwhen{mnu_popup, "mnu_Rwhen", "Activate &When..."};
  ui::Menu mnu_Rdisplay{mnu_popup, "mnu_Rdisplay", "Turn Off the &Display"};
  ui::Menu mnu_popexit{mnu_popup, "mnu_popexit", "E&xit"};

  // ---- handlers
  void Form_Initialize();
  void Form_Load();
  void Form_QueryUnload(int& cancel, int unloadMode);
  void Form_Unload(int& cancel);
  void Form_TrayMouse(const ui::TrayMouseEvent& event);
  void Form_TrayBalloon(ui::TrayBalloonEvent event);
  void Form_RegisteredMessage(const std::string& name);
  void tmrAction_Timer();
  void mnu_exit_Click();
  void mnu_popexit_Click() { mnu_exit_Click(); }

  void cmdActivate_Click();
  // The menu bar's "Activate" and the tray pop-up's, alike.
  void mnu_activate_Click();
  // The menu bar's "Activate When..." and the tray pop-up's: the conditions' window, and the
  // activation of the one armed there.
  void mnu_when_Click();
  // The menu bar's "Turn Off the Display" and the tray pop-up's: at once, whatever is
  // scheduled, activating nothing.
  void mnu_display_Click() { TurnOffDisplay(); }
  void optTime_Click(int index);
  void tmrTime_Timer();
  void cboTimeUnit_Change();
  void cboTimeUnit_Click() { cboTimeUnit_Change(); }

  void cmdTray_Click();
  void mnu_Show_Click();
  void mnu_saveset_Click();

  void mnu_beep_Click() { mnu_beep.SetChecked(!mnu_beep.Checked()); }
  void mnu_confirm_Click() { mnu_confirm.SetChecked(!mnu_confirm.Checked()); }
  void mnu_autotray_Click() { mnu_autotray.SetChecked(!mnu_autotray.Checked()); }
  void mnu_postpone_Click() { mnu_postpone.SetChecked(!mnu_postpone.Checked()); }
  void mnu_keepawake_Click() { mnu_keepawake.SetChecked(!mnu_keepawake.Checked()); }
  // Writes or removes the entry Windows starts the program by, as the tick says it is not.
  void mnu_startwin_Click();
  void mnu_options_Click();
  // The "Repeat" window; its choice selects "At" when it repeats or wakes.
  void mnu_repeat_Click();
  void mnu_notify_Click();
  // The computer has resumed, or another power event: the schedule looks at once.
  void Form_PowerBroadcast(int event);
  // A notice of the schedule's, in the tray's balloon.
  void Told(const std::string& text) override;
  // The Shutdown Time frame names the days a time of day repeats on ("Every day :") while it
  // does, and the menu item is ticked while a repeat or a wake is chosen.
  void ShowRepeatChoice();
  // A repeating schedule was active when the program last closed (the settings file keeps it):
  // it is activated again, as the window's controls describe it, once the window is up and a
  // schedule of the command line has had its turn (which leaves it).
  bool RepeatRemembered() const { return rememberedRepeat_.has_value(); }
  void RearmRemembered();
  void mnu_about_Click();
  void mnu_website_Click();
  void mnu_donate_Click();
  void mnu_update_Click();
  void tmrUpdate_Timer();
  // Tells the user what the fetched version number means: a newer version (with the offer to
  // download it), none, or no information at all (0 or less).
  void CheckVersion(double fetched);

  void optExitOption_Click(int index);
  void chkExecFile_Click();
  void chkAlarmF_Click();
  void cmdExecF_Click();
  void cmdAlarmF_Click();
  void txtExecF_Change();
  void txtAlarmF_Change();
  void txtExecF_DblClick();
  void txtAlarmF_DblClick();
  void txtMessage_GotFocus();
  void txtMessage_LostFocus();
  // After the countdown box's own rules: its colour, tip and spinner.
  void txtTimeout_Change();
  void scrSecond_Change();
  void scrSecond_Scroll() { scrSecond_Change(); }

 private:
  // Opens the alarm window, not modal.
  void ShowAlarmWindow();
  // The index of the selected action, or -1 when none is.
  int SelectedAction() const;
  schedule::Trigger TriggerFromWindow(base::LocalTime now) const;

  void OfferAction(int index, bool offered);
  // The "Start with Windows" tick as the registry holds it.
  void ShowStartWithWindows();
  // Writes (`on`) or removes the entry; a failure is told. True when it was done.
  bool SetStartWithWindows(bool on);
  void AddTrayIcon();
  struct TrayIcon {
    os::Handle icon;
    std::string tip;
  };
  TrayIcon TrayIconNow();
  void ShowTrayState();
  // The "In" amount's least, applied when it is taken: 1, or 5 seconds.
  long long LeastPeriod() const;
  void TakePeriod();
  void DesignLayout();
  void BindHandlers();
  // Activates the schedule the window built; a trigger that cannot be armed is reported and
  // nothing changes.
  void ActivateSchedule(const schedule::Schedule& schedule);
  void ActivateSchedule(const schedule::Schedule& schedule, std::unique_ptr<schedule::Watch> watch);
  // The window as it shows an armed schedule, and as it shows none.
  void ShowActive();
  void ShowIdle();
  void RestartClockWithTrigger();
  void ShowPanel(int index);
  void FileOptionClick(ui::CheckBox& box, ui::TextBox& path, ui::CommandButton& button,
                       void (frmMain::*pick)());
  void PickFile(ui::CheckBox& box, ui::TextBox& path,
                const std::vector<std::pair<std::string, std::string>>& filters, const std::string& title);
  void ClearPath(ui::CheckBox& box, ui::TextBox& path);
  void EndUpdateCheck();

  // The update check's poll: ticks of 100 ms since the check began, and how many the transfer
  // may take; the caption to give back after a time-out.
  static constexpr int kUpdateTicks = update::Inet::kTimeoutMs / 100;
  int updateTicks_ = 0;
  std::string captionBeforeCheck_;

  session::ProgramState& state_;
  os::Services& os_;  // the state's services
  // The window itself activates: its controls show the schedule already.
  bool activatingHere_ = false;
  // Writes the settings file whatever was read.
  bool WriteSett(const std::string& fileName);
  // The settings file was there at start-up but could not be read (another program held it):
  // it still holds the user's choices, so only the user's own save replaces it.
  bool keepUnreadSettings_ = false;
  base::LocaleNames names_;
  std::optional<ActiveRepeat> rememberedRepeat_;
  std::unique_ptr<countdown::frmAction> countdown_;  // from the moment the schedule fires
  std::unique_ptr<alarm::frmAlarm> alarm_;           // from the moment the alarm goes off
};

}  // namespace app
