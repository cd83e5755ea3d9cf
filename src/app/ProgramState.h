// What the program's windows share: the values several of them read and write, the main window
// as the others reach it, and the operating-system services. WinMain makes one; every window
// receives it, so no window includes another window's header to reach shared state.
#pragma once

#include <cstdint>
#include <string>

#include "base/DateTime.h"
#include "os/Services.h"
#include "tray/modNewIcon.h"

namespace app {

// The main window as the other windows use it: its settings, its close, and the option
// controls they read.
class MainWindow {
 public:
  // Writes the settings file; false when it could not be written (the old file then stands),
  // or when it is the settings file that was there at start-up but could not be read, which
  // only the user's own "Save Settings" replaces.
  virtual bool SaveSett(const std::string& fileName) = 0;
  // Asks the main window to close, as closing it from code does; true when it unloaded. Once
  // the program has decided to end (ExitNow), this close is the one that ends it: it goes
  // through even while an earlier close is still asking its question, and that question is
  // then closed as declined.
  virtual bool Unload() = 0;
  // Carries out the selected action now (the program to start first, then the power request
  // or the alarm window).
  virtual void PerformAction() = 0;

  // The countdown length as typed, in seconds (txtTimeout).
  virtual std::string CountdownText() const = 0;
  // "Beep Internal Speaker on Timeout" is ticked (mnu_beep).
  virtual bool BeepOnTimeout() const = 0;
  // The beep frequency as stored, in hertz (txtBeepFreq); the options window changes it.
  virtual std::string BeepFrequencyText() const = 0;
  virtual void SetBeepFrequencyText(const std::string& text) = 0;
  // The frequency the countdown beeps at: that number brought into 100..10000 Hz.
  virtual std::int16_t BeepFrequency() const = 0;
  // The alarm's message (txtMessage).
  virtual std::string AlarmMessage() const = 0;
  // "Play Audio (Alarm)" is ticked (chkAlarmF), and the chosen file or "Select File..." (txtAlarmF).
  virtual bool AlarmFileTicked() const = 0;
  virtual std::string AlarmFilePath() const = 0;

 protected:
  ~MainWindow() = default;
};

class ProgramState {
 public:
  explicit ProgramState(os::Services services) : os(services) {}
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  os::Services os;

  std::string AppFolder;         // the program's folder, ending in "\"
  std::string ActionName;        // display name of the selected action
  base::LocalTime TargetTime{};  // when the active schedule fires
  bool ExitNow = false;          // the program has decided to end: closing asks nothing
  bool Forced = false;           // the action about to be performed is forced
  tray::Record TrayRecord;       // the notification-area icon, shared by every window
  MainWindow* main = nullptr;    // set by the main window for as long as it exists

  // The settings file in the program's folder.
  std::string SettingsPath() const;
  // The action's name as plain text, where no access key is marked (a window's caption, the
  // tray's tip, a message box): "Alarm & Message" for the label text "Alarm && Message".
  std::string ActionText() const;
};

}  // namespace app
