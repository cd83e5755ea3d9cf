#include "base/DateTime.h"

#include <gtest/gtest.h>

namespace {

using base::MakeLocalTime;

TEST(DateTime, FormatsTheDisplayPatterns) {
  base::LocaleNames names;
  auto evening = MakeLocalTime({2026, 12, 6, 21, 5, 3});
  EXPECT_EQ(base::FormatDateLine(evening, names), "06 Dec 2026");
  EXPECT_EQ(base::FormatTimeLine(evening, names), "09:05:03 PM");
  EXPECT_EQ(base::FormatStatusMoment(evening, names), "06-Dec-26 At 09:05:03 PM");
}

TEST(DateTime, UsesTheTwelveHourClockWithTheLocaleDesignators) {
  base::LocaleNames names;
  names.am = "vorm.";
  names.pm = "nachm.";
  EXPECT_EQ(base::FormatTimeLine(MakeLocalTime({2026, 1, 1, 0, 0, 0}), names), "12:00:00 vorm.");
  EXPECT_EQ(base::FormatTimeLine(MakeLocalTime({2026, 1, 1, 12, 0, 0}), names), "12:00:00 nachm.");
  EXPECT_EQ(base::FormatTimeLine(MakeLocalTime({2026, 1, 1, 13, 9, 59}), names), "01:09:59 nachm.");
}

TEST(DateTime, CalendarArithmeticCrossesMonthsYearsAndLeapDays) {
  auto t = MakeLocalTime({2028, 2, 28, 23, 30, 0}) + std::chrono::hours(1);
  base::CivilTime c = base::ToCivil(t);
  EXPECT_EQ(c.month, 2);
  EXPECT_EQ(c.day, 29);
  EXPECT_EQ(c.hour, 0);
  c = base::ToCivil(MakeLocalTime({2026, 12, 31, 23, 59, 59}) + std::chrono::seconds(1));
  EXPECT_EQ(c.year, 2027);
  EXPECT_EQ(c.month, 1);
  EXPECT_EQ(c.day, 1);
  EXPECT_EQ(base::TimeOfDay(MakeLocalTime({2026, 3, 4, 5, 6, 7})), std::chrono::seconds(5 * 3600 + 6 * 60 + 7));
}

}  // namespace
