// The settings as a value: every choice the settings file keeps, read from its lines and written
// to them with no window involved. The main window takes one from its controls and shows one
// in them (frmMain::SettingsFromWindow, frmMain::ShowSettings).
//
// The file, one value a line:
//   1-7    the seven actions, "True" for the selected one
//   8-10   Forced, Execute file, Play audio: 0, 1 or 2
//   11-13  Beep, Exit without Confirmation, Minimize to Tray: "True" or "False"
//   14-15  the countdown's seconds and the beep frequency, as typed
//   16-18  the program's path, the alarm's media file, the alarm's message
//   19-25  the "Activate When" window's last choices: condition, program, idle minutes,
//          processor percent and minutes, network KB/s and minutes
//   26-28  Allow Postpone in the Warning, its minutes, Keep the Computer Awake until Then
//   29-31  the "Repeat" window's days (0 for Once, else the weekdays' bits, Sunday 1), its Wake
//          the computer, "Notify Before" minutes (empty while never chosen)
//   32     the repeating schedule active at the close, "hh:mm:ss days action" (24-hour time,
//          the action's number), or empty
//   33...  each text of lines 14-18 and 20 that the ANSI code page cannot hold whole, one a
//          line, as "UTF-8:<its line's number>:<the text in UTF-8>"; none when all fit
// Versions before "Activate When" read and write the first 18 lines only, versions before the
// postpone the first 25, and those before the repeat the first 28; each reads a longer file as
// far as it knows it.
//
// Lines 1-32 are single-byte text in the ANSI code page, as older copies read them; a text the
// code page cannot hold stands there as its best fit (an accent dropped, or "?"), and whole in
// its line after the last. A whole text is taken in place of its line while that line still
// holds the text's best fit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/frmMainDesign.h"
#include "os/Kernel32.h"
#include "schedule/Action.h"
#include "schedule/Repeat.h"
#include "session/ProgramState.h"

namespace app {

// A repeating schedule as the settings file keeps it while it is active: its time of day, its
// days and its action; its options are the window's, which show it.
struct ActiveRepeat {
  std::chrono::seconds timeOfDay{0};
  schedule::Days days = schedule::kEveryDay;
  schedule::Action action = schedule::Action::Shutdown;
  bool operator==(const ActiveRepeat&) const = default;
};

struct Settings {
  // The selected action; nothing when the file selects none.
  std::optional<schedule::Action> action = schedule::Action::Shutdown;
  int forced = 0;     // check-box values: 0, 1, or 2 for greyed
  int execFile = 0;
  int alarmFile = 0;
  bool beep = true;
  bool confirm = false;
  bool autoTray = false;
  std::string countdown = "30";
  std::string beepFrequency = "4000";
  std::string execPath = design::kSelectFile;
  std::string alarmPath = design::kSelectFile;
  std::string message = design::kTypeMessage;
  session::WhenChoices when;
  bool postpone = false;
  int postponeMinutes = 10;  // 1 to schedule::kLongestPostpone
  bool keepAwake = false;
  schedule::Days repeat = schedule::kOnce;
  bool wake = false;
  std::optional<int> noticeMinutes;  // 0 to 999
  std::optional<ActiveRepeat> active;
  bool operator==(const Settings&) const = default;
};

// The lines the program writes, one for each value, in file order.
std::vector<std::string> ToLines(const Settings& settings);

// The settings a file's lines give, over `previous`: a missing line, or one whose value is
// unusable, keeps the previous value, and the lines after it keep their places; lines past
// those known are ignored. The action lines are taken in order, as the window's option buttons
// would take them: "True" selects that action, "False" clears it when it is the one selected.
// Never raises an error.
Settings FromLines(const std::vector<std::string>& lines, Settings previous = {});

// The file's lines for the lines of ToLines (UTF-8): their texts in the code page, and those it
// cannot hold whole after them.
std::vector<std::string> ToFileLines(const std::vector<std::string>& lines, os::Kernel32& kernel32);

// The lines FromLines reads from a file's: its texts from the code page into UTF-8, each
// replaced by its whole text where the file has one that still stands for it.
std::vector<std::string> FromFileLines(const std::vector<std::string>& file, os::Kernel32& kernel32);

}  // namespace app
