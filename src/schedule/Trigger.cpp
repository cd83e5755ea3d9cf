#include "schedule/Trigger.h"

namespace schedule {

base::LocalTime MomentIn(base::LocalTime now, long long amount, Unit unit) {
  using namespace std::chrono;
  const seconds step = unit == Unit::Hours ? seconds(hours(1)) : unit == Unit::Minutes ? seconds(minutes(1)) : seconds(1);
  return now + step * amount;
}

base::LocalTime MomentAt(base::LocalTime now, base::LocalTime timeOfDay) {
  base::LocalTime target = base::DateOf(now) + base::TimeOfDay(timeOfDay);
  if (target < now) target += std::chrono::days(1);
  return target;
}

}  // namespace schedule
