// A schedule as a value: what is to happen, with which options, and what makes it happen. The
// main window builds one from its controls when the user activates, or shows one given from
// elsewhere as if the user had chosen it; the trigger, the countdown and the alarm carry it out.
#pragma once

#include <string>

#include "schedule/Action.h"
#include "schedule/Repeat.h"
#include "schedule/Trigger.h"

namespace schedule {

// The longest postpone, in minutes.
constexpr int kLongestPostpone = 999;
// The longest notice ahead, in minutes.
constexpr int kLongestNotice = 999;
// The longest countdown, in seconds: the two digits the window's box holds.
constexpr int kLongestCountdown = 99;
// The alarm's message at its longest, in characters, as the window's box holds it.
constexpr int kLongestMessage = 65;

struct Schedule {
  Action action = Action::Shutdown;
  bool forced = false;       // programs are closed without being asked
  std::string program;       // started hidden one second before the action; empty: none
  int countdown = 30;        // seconds of warning before the action; 0: the action at once
  Trigger trigger;
  // How a moment was given, for a window to show it so: "In" so many seconds from activation,
  // or (0) "At" its time of day.
  long long inSeconds = 0;
  // While it waits, the computer is kept from sleeping by its idle timer (the user's own sleep
  // is not blocked).
  bool keepAwake = false;
  // A moment that comes round again on these days at its time of day (the time of day is the
  // moment's own); Once ends the program after it, as it always has.
  Days repeat = kOnce;
  // The computer is woken from sleep for a moment, a minute before it.
  bool wake = false;
  // A tray notice so many minutes before a moment; 0: none.
  int noticeMinutes = 0;
  // The alarm's: its message, and the media file it plays when playSound is set ("Select
  // File..." stays as it is: the alarm window says that it plays that).
  std::string message;
  bool playSound = false;
  std::string soundFile;

  bool operator==(const Schedule&) const = default;
};

}  // namespace schedule
