// What makes a schedule fire. For now one kind, a moment, which "In" and "At" both produce; a
// trigger that is not a moment (a program ending, the computer left alone) is one more kind,
// with what it needs, and a watch of its own (Watch.h).
#pragma once

#include <string>

#include "base/DateTime.h"

namespace schedule {

struct Trigger {
  enum class Kind { Moment };
  Kind kind = Kind::Moment;
  base::LocalTime moment{};  // Moment: the local date-time, to the second, at which it fires

  static Trigger At(base::LocalTime moment) { return Trigger{Kind::Moment, moment}; }
  bool operator==(const Trigger&) const = default;
};

// The units of "In".
enum class Unit { Hours, Minutes, Seconds };

// The moment "In" `amount` units from `now` describes, by plain wall-clock arithmetic.
base::LocalTime MomentIn(base::LocalTime now, long long amount, Unit unit);
// The moment "At" the time of day of `timeOfDay` describes: today, or tomorrow when that moment
// has already gone (the present second itself stays today).
base::LocalTime MomentAt(base::LocalTime now, base::LocalTime timeOfDay);

}  // namespace schedule
