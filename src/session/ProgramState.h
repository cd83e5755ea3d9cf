// What the program's windows share: the values several of them read and write, the schedule
// being carried out, the main window as the others reach it, and the operating-system services.
// WinMain makes one; every window receives it, so no window includes another window's header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/DateTime.h"
#include "control/Controller.h"
#include "os/Services.h"
#include "platform/WindowsVersion.h"
#include "schedule/Schedule.h"
#include "tray/modNewIcon.h"

namespace session {

// The countdown beep's frequencies, in hertz.
constexpr int kLowestFrequency = 100;
constexpr int kHighestFrequency = 10000;

// The main window as the other windows and the command line use it: its settings, its close,
// its options, its status caption, and the preference they read.
class MainWindow {
 public:
  // Writes the settings file; false when it could not be written (the old file then stands),
  // or when it is the settings file that was there at start-up but could not be read, which
  // only the user's own "Save Settings" replaces.
  virtual bool SaveSett(const std::string& fileName) = 0;
  // Asks the main window to close, as closing it from code does; true when it unloaded. Once
  // the program has decided to end (Control.Leaving()), this close is the one that ends it: it goes
  // through even while an earlier close is still asking its question, and that question is
  // then closed as declined.
  virtual bool Unload() = 0;
  // Brings the window back from the tray (or to the front).
  virtual void RestoreFromTray() = 0;
  // Sends the window to the tray, as its button does, when it shows.
  virtual void MinimizeToTray() = 0;
  // A balloon over the tray icon (added for the balloon's time where the window is not in
  // the tray), titled "Quenlar"; clicking it brings the window back.
  virtual void ShowNotice(const std::string& text) = 0;
  // The schedule's action and options as the window's controls describe them, without a trigger.
  virtual schedule::Schedule OptionsFromWindow() = 0;
  // The active schedule as the caption tells it: "[FORCED ]<action> On DD-MMM-YY At hh:mm:ss
  // AMPM[ (postponed)]", or for a condition "[FORCED ]<action> When <condition>[ (postponed)]".
  virtual std::string StatusCaption() const = 0;
  // "Beep Internal Speaker on Timeout" is ticked.
  virtual bool BeepOnTimeout() const = 0;
  // "Allow Postpone in the Warning" is ticked.
  virtual bool PostponeOffered() const = 0;
  // Asks Windows to turn the display off, as the menu's "Turn Off the Display" does.
  virtual void TurnOffDisplay() = 0;

 protected:
  ~MainWindow() = default;
};

// The conditions the "Activate When" window offers, in its order, and the choices it was last
// activated with (kept in the settings file after the main window's lines).
enum class Condition { ProgramEnds, NoInput, ProcessorBelow, NetworkBelow };
constexpr int kConditionCount = 4;
struct WhenChoices {
  Condition condition = Condition::ProgramEnds;
  std::string program;  // a file name or a process id, as typed
  int idleMinutes = 30;
  int processorPercent = 10;
  int processorMinutes = 5;
  long long networkRate = 50;  // KB/s
  int networkMinutes = 5;
  bool operator==(const WhenChoices&) const = default;
};

class ProgramState {
 public:
  explicit ProgramState(os::Services services) : os(services), Control(os, Family) {}
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  os::Services os;
  platform::WindowsFamily Family = platform::WindowsFamily::Other;  // asked once at start-up

  std::string AppFolder;          // the program's folder, ending in "\"
  control::Controller Control;    // the schedule's life: the one activated last, its phase
  bool FirstCopy = false;         // the program already found itself the only copy running
  bool StartedWithWindows = false;  // started by Windows at logon (/startup)
  int PostponeMinutes = 10;       // the warning's postpone, last chosen (1 to schedule::kLongestPostpone)
  std::string BeepFrequencyText = "4000";  // the countdown beep's frequency in hertz, as stored
  tray::Record TrayRecord;        // the notification-area icon, shared by every window
  WhenChoices When;               // the "Activate When" window's last choices
  schedule::Days Repeat = schedule::kOnce;  // the "Repeat" window's days for "At"
  bool Wake = false;              // and its "Wake the computer for it"
  // "Notify Before..." in minutes, 0 for none; never chosen: none for a single schedule, the
  // default notice for a repeating one.
  std::optional<int> NoticeMinutes;
  MainWindow* main = nullptr;     // set by the main window for as long as it exists

  // The settings file in the program's folder.
  std::string SettingsPath() const;
  // The schedule's action as a label shows it ("Alarm && Message"), and as plain text, where no
  // access key is marked (a window's caption, the tray's tip, a message box: "Alarm & Message").
  std::string ActionName() const { return schedule::LabelName(Control.Schedule().action); }
  std::string ActionText() const { return schedule::PlainName(Control.Schedule().action); }
  // When the schedule fires: the moment of its trigger (a condition has none).
  base::LocalTime TargetTime() const { return Control.Schedule().trigger.moment; }
  // The frequency the countdown beeps at: the number the stored text begins with, brought into
  // the range (a hand-edited file may hold anything; the text itself is kept as stored).
  std::int16_t BeepFrequency() const;
  // The minutes of the notice ahead for a schedule that repeats or not.
  int NoticeFor(bool repeats) const { return NoticeMinutes.value_or(repeats ? kRepeatNotice : 0); }
  static constexpr int kRepeatNotice = 5;
};

}  // namespace session
