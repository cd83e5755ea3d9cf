// What a schedule does when it fires: one of seven actions, in the order the main window offers
// them.
#pragma once

#include <optional>
#include <string>

namespace schedule {

enum class Action { Shutdown, Restart, LogOff, Hibernate, StandBy, Lock, Alarm };
constexpr int kActionCount = 7;

// The action's index among the window's options, 0..6, and back (nothing for another index).
constexpr int IndexOf(Action action) { return static_cast<int>(action); }
std::optional<Action> ActionAt(int index);

// The name the program shows for the action, where an "&" marks an access key (a label):
// "Shutdown", "Restart", "Log Off", "Hibernate", "Stand by", "Lock PC", "Alarm && Message".
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

}  // namespace schedule
