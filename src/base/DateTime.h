// Local wall-clock date-times to the whole second, and the display patterns the program uses.
#pragma once

#include <array>
#include <chrono>
#include <string>

namespace base {

using LocalTime = std::chrono::local_seconds;

struct CivilTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

LocalTime MakeLocalTime(const CivilTime& civil);
CivilTime ToCivil(LocalTime time);

// Midnight of the day of `time`, and the time of day as a duration since midnight.
LocalTime DateOf(LocalTime time);
std::chrono::seconds TimeOfDay(LocalTime time);

// The names the system's language gives to months and to the two halves of the day.
struct LocaleNames {
  std::array<std::string, 12> monthAbbreviations{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string am = "AM";
  std::string pm = "PM";
};

// "DD MMM YYYY": 06 Dec 2026.
std::string FormatDateLine(LocalTime time, const LocaleNames& names);
// "hh:mm:ss AMPM": 09:05:03 PM (12-hour clock, 01 to 12).
std::string FormatTimeLine(LocalTime time, const LocaleNames& names);
// "DD-MMM-YY At hh:mm:ss AMPM": 06-Dec-26 At 09:05:03 PM.
std::string FormatStatusMoment(LocalTime time, const LocaleNames& names);

}  // namespace base
