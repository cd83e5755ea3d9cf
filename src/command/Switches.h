// The command line: what a script, a shortcut or a download manager asks of the program, read
// and checked before anything is done. A switch is written /x or -x in any letter case; its
// value follows as the next argument or after a colon (/t 60, /t:60).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "schedule/Action.h"
#include "schedule/Schedule.h"
#include "schedule/Trigger.h"

namespace command {

// The exit codes the program ends with, as scripts test them.
constexpr int kDone = 0;
constexpr int kFileNotFound = 2;         // the alarm's sound file is not there
constexpr int kNotOffered = 50;          // the action is not offered on this computer
constexpr int kUsageError = 87;          // a switch unknown, a value missing or out of range
constexpr int kNotRunning = 1062;        // no running copy to ask
constexpr int kNothingToCancel = 1116;   // no schedule to cancel
constexpr int kAlreadyActive = 1190;     // a schedule is already active
constexpr int kNotFound = 1168;          // the program to wait for is not running
constexpr int kNoAnswer = 1460;          // the running copy did not answer in time

constexpr long long kLongestWait = 315360000;  // seconds: ten years
constexpr int kLongestWarning = schedule::kLongestCountdown;  // seconds
constexpr std::size_t kLongestMessage = schedule::kLongestMessage;  // characters

// When a scheduled action is to happen: in so many seconds, at a time of day, or when a
// condition is met.
struct When {
  enum class Kind { After, At, Condition };
  Kind kind = Kind::After;
  long long seconds = 0;              // After
  int hour = 0, minute = 0, second = 0;  // At, 24-hour
  schedule::Trigger condition;        // Condition

  static When After(long long seconds) {
    When w;
    w.seconds = seconds;
    return w;
  }
  static When At(int hour, int minute, int second) {
    When w;
    w.kind = Kind::At;
    w.hour = hour, w.minute = minute, w.second = second;
    return w;
  }
  static When On(const schedule::Trigger& condition) {
    When w;
    w.kind = Kind::Condition;
    w.condition = condition;
    return w;
  }
  bool operator==(const When&) const = default;
};

struct Request {
  // Startup: started by Windows at logon, otherwise as with no switches.
  enum class Verb { Schedule, Cancel, Status, Show, Quit, Usage, Postpone, Startup };
  Verb verb = Verb::Schedule;
  int minutes = 0;  // Verb::Postpone: how long
  // Verb::Schedule: the action, and what the switches set; what they leave out stays as the
  // window has it.
  std::optional<schedule::Action> action;
  std::optional<When> when;     // none: the window is filled and left for the user to activate
  bool forced = false;          // /f: forced exactly when given
  std::optional<int> warning;   // /w
  std::optional<std::string> program;  // /run
  bool tray = false;            // /tray
  std::string message;          // /alarm's
  std::optional<std::string> sound;    // /sound
  schedule::Days repeat = schedule::kOnce;  // /repeat, with /at
  bool operator==(const Request&) const = default;
};

// A command line read: the request, or why it cannot be carried out (one line).
struct Parsed {
  std::optional<Request> request;
  std::string error;
};

// Reads the arguments (the program's own name left out).
Parsed Parse(const std::vector<std::string>& args);

// The arguments of a command line as Windows splits them for a program's main(): blanks part
// them, quotes group, backslashes escape a quote only when they stand before one. The first,
// the program's own name, is left out.
std::vector<std::string> SplitCommandLine(const std::string& line);

// What the switches are, for /? and after a refused command line.
std::string UsageText();

}  // namespace command
