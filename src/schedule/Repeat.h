// A moment that comes round again: the days of the week on which its time of day recurs, and
// how the program names them and its occurrences.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "base/DateTime.h"

namespace schedule {

// The days of the week as bits, Sunday the lowest (bit 0) and Saturday bit 6, as Windows counts
// weekdays; none is a schedule that happens once.
using Days = std::uint8_t;
constexpr Days kOnce = 0;
constexpr Days kEveryDay = 0x7F;
constexpr Days kMondayToFriday = 0x3E;
constexpr Days DayBit(int weekday) { return static_cast<Days>(1u << weekday); }

struct Repeat {
  Days days = kOnce;
  std::chrono::seconds timeOfDay{0};  // since midnight, local
  bool Repeats() const { return days != kOnce; }
  bool operator==(const Repeat&) const = default;
};

// The first occurrence at or after `from`: on one of the days, at the time of day. The local
// clock is taken as it reads: a time of day that a change to summer time skips is passed by the
// first look after the change, and one that the change back shows twice comes once, as the
// program re-arms for the next day after it.
base::LocalTime NextOccurrence(const Repeat& repeat, base::LocalTime from);

// "Every day", "Monday to Friday", or the days in the week's order from Monday: "Mon, Wed, Fri";
// "Once" for none.
std::string DaysName(Days days);
// A command line's days: "daily", "weekdays", or day names parted by commas ("mon,tue,sat"), in
// any letter case; nothing for any other text.
std::optional<Days> ParseDays(const std::string& text);

// Weekday 0 (Sunday) to 6 of a date-time.
int WeekdayOf(base::LocalTime time);
// A time of day as a notice names it: "23:00", with ":05" seconds when it has any.
std::string ClockTime(base::LocalTime time);
// A day and time as a notice names them: "Tue 10 Dec 23:00".
std::string DayAndTime(base::LocalTime time);

}  // namespace schedule
