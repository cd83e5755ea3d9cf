#include "base/DateTime.h"

#include <cstdio>

namespace base {

using namespace std::chrono;

LocalTime MakeLocalTime(const CivilTime& c) {
  local_days day{year{c.year} / month{static_cast<unsigned>(c.month)} / static_cast<unsigned>(c.day)};
  return LocalTime{day.time_since_epoch()} + hours{c.hour} + minutes{c.minute} + seconds{c.second};
}

CivilTime ToCivil(LocalTime time) {
  local_days day = floor<days>(time);
  year_month_day ymd{day};
  hh_mm_ss<seconds> hms{time - day};
  return CivilTime{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                   static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(hms.hours().count()),
                   static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count())};
}

LocalTime DateOf(LocalTime time) { return LocalTime{floor<days>(time).time_since_epoch()}; }

seconds TimeOfDay(LocalTime time) { return time - DateOf(time); }

namespace {

std::string TwoDigits(int value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
  return buffer;
}

}  // namespace

std::string FormatDateLine(LocalTime time, const LocaleNames& names) {
  CivilTime c = ToCivil(time);
  char year[8];
  std::snprintf(year, sizeof year, "%04d", c.year);
  return TwoDigits(c.day) + " " + names.monthAbbreviations[c.month - 1] + " " + year;
}

std::string FormatTimeLine(LocalTime time, const LocaleNames& names) {
  CivilTime c = ToCivil(time);
  int hour12 = c.hour % 12 == 0 ? 12 : c.hour % 12;
  return TwoDigits(hour12) + ":" + TwoDigits(c.minute) + ":" + TwoDigits(c.second) + " " +
         (c.hour < 12 ? names.am : names.pm);
}

std::string FormatStatusMoment(LocalTime time, const LocaleNames& names) {
  CivilTime c = ToCivil(time);
  return TwoDigits(c.day) + "-" + names.monthAbbreviations[c.month - 1] + "-" + TwoDigits(c.year) + " At " +
         FormatTimeLine(time, names);
}

}  // namespace base
