#include "os/fake/VirtualClock.h"

namespace os::fake {

using namespace std::chrono;

VirtualClock::VirtualClock() { SetWallClock(base::MakeLocalTime({2026, 12, 6, 21, 5, 3})); }

base::LocalTime VirtualClock::Now() const {
  return floor<seconds>(wallAtZero_ + milliseconds(static_cast<std::int64_t>(elapsedMs_)));
}

void VirtualClock::Pass(std::uint64_t ms) {
  if (OnPass)
    OnPass(ms);
  else
    elapsedMs_ += ms;
}

void VirtualClock::SetWallClock(base::LocalTime time) {
  wallAtZero_ = WallMs(time.time_since_epoch()) - milliseconds(static_cast<std::int64_t>(elapsedMs_));
}

}  // namespace os::fake
