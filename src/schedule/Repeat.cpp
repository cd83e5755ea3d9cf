#include "schedule/Repeat.h"

#include <array>

#include "base/Convert.h"

namespace schedule {
namespace {

constexpr std::array<const char*, 7> kDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

int WeekdayOf(base::LocalTime time) {
  return static_cast<int>(std::chrono::weekday(std::chrono::floor<std::chrono::days>(time)).c_encoding());
}

base::LocalTime NextOccurrence(const Repeat& repeat, base::LocalTime from) {
  base::LocalTime day = base::DateOf(from);
  if (!repeat.Repeats()) {
    const base::LocalTime today = day + repeat.timeOfDay;
    return today < from ? today + std::chrono::days(1) : today;
  }
  for (int i = 0; i <= 7; ++i, day += std::chrono::days(1)) {
    const base::LocalTime at = day + repeat.timeOfDay;
    if (at >= from && (repeat.days & DayBit(WeekdayOf(at))) != 0) return at;
  }
  return day + repeat.timeOfDay;  // not reached: a week holds every day
}

std::string DaysName(Days days) {
  days &= kEveryDay;
  if (days == kOnce) return "Once";
  if (days == kEveryDay) return "Every day";
  if (days == kMondayToFriday) return "Monday to Friday";
  std::string name;
  for (int i = 1; i <= 7; ++i)
    if (days & DayBit(i % 7)) name += (name.empty() ? "" : ", ") + std::string(kDayNames[i % 7]);
  return name;
}

std::optional<Days> ParseDays(const std::string& text) {
  const std::string lower = base::Lower(text);
  if (lower == "daily") return kEveryDay;
  if (lower == "weekdays") return kMondayToFriday;
  Days days = kOnce;
  std::size_t start = 0;
  while (start <= lower.size()) {
    const std::size_t comma = std::min(lower.find(',', start), lower.size());
    const std::string name = lower.substr(start, comma - start);
    bool known = false;
    for (int i = 0; i < 7; ++i) {
      if (name == base::Lower(kDayNames[i])) {
        days |= DayBit(i);
        known = true;
      }
    }
    if (!known) return std::nullopt;
    start = comma + 1;
  }
  return days;
}

std::string ClockTime(base::LocalTime time) {
  const base::CivilTime c = base::ToCivil(time);
  return TwoDigits(c.hour) + ":" + TwoDigits(c.minute) + (c.second ? ":" + TwoDigits(c.second) : "");
}

std::string DayAndTime(base::LocalTime time) {
  const base::CivilTime c = base::ToCivil(time);
  return std::string(kDayNames[WeekdayOf(time)]) + " " + TwoDigits(c.day) + " " + kMonthNames[c.month - 1] + " " +
         ClockTime(time);
}

}  // namespace schedule
