// What a schedule does when it fires: one of the seven actions the main window offers, in their
// order, or turning the display off, which the menus and the command line give.
#pragma once

#include <optional>
#include <string>

namespace schedule {

enum class Action { Shutdown, Restart, LogOff, Hibernate, StandBy, Lock, Alarm, Display };
// The window's options (the settings file's first lines hold them); Display is none of them.
constexpr int kActionCount = 7;

// The action's index among the window's options, 0..6, and back (nothing for another index).
// Display's index, 7, is no option's: ActionAt never gives it.
constexpr int IndexOf(Action action) { return static_cast<int>(action); }
std::optional<Action> ActionAt(int index);
// One of the window's options (not Display).
constexpr bool IsOption(Action action) { return IndexOf(action) >= 0 && IndexOf(action) < kActionCount; }

// The name the program shows for the action, where an "&" marks an access key (a label):
// "Shutdown", "Restart", "Log Off", "Hibernate", "Stand by", "Lock PC", "Alarm && Message",
// "Turn Off the Display".
std::string LabelName(Action action);
// The same name as plain text (a caption, a tip, a message box): "Alarm & Message".
std::string PlainName(Action action);
// A label's text as plain text: "&&" is one "&".
std::string PlainText(const std::string& label);

// Whether the action leaves Windows (shut down, restart, log off): a failure to do so ends in a
// forced shutdown, so that the computer still goes down as asked.
constexpr bool LeavesWindows(Action action) {
  return action == Action::Shutdown || action == Action::Restart || action == Action::LogOff;
}

// Whether the schedule's countdown warns before the action. The alarm is itself the message,
// and turning the display off loses nothing (the mouse brings it back): neither warns.
constexpr bool WarnsFirst(Action action) { return action != Action::Alarm && action != Action::Display; }

}  // namespace schedule
