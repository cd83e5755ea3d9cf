// A clock for tests: a monotonic millisecond count that only moves when told to, and a wall
// clock that follows it and can be set or put forward and back.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "base/DateTime.h"
#include "ui/Clock.h"

namespace os::fake {

class VirtualClock : public ui::Clock {
 public:
  using WallMs = std::chrono::local_time<std::chrono::milliseconds>;

  VirtualClock();
  std::uint64_t ElapsedMs() const override { return elapsedMs_; }
  void SetElapsedMs(std::uint64_t ms) override { elapsedMs_ = ms; }
  void AdvanceMs(std::uint64_t ms) { elapsedMs_ += ms; }
  // Time passes while the program sleeps in a wait of the system. Whoever runs timers on this
  // clock (the in-memory backend) moves it on, firing those that fall due meanwhile; without
  // one, the clock simply stands `ms` later.
  void Pass(std::uint64_t ms);

  base::LocalTime Now() const;
  // From now on the wall clock reads `time` (plus whatever time passes).
  void SetWallClock(base::LocalTime time);
  // Puts the wall clock forward (positive) or back (negative) without time passing.
  void ShiftWallClock(std::chrono::seconds by) { wallAtZero_ += by; }
  // The local clock's offset from UTC (ahead: positive), and UTC as it reads.
  std::chrono::seconds UtcOffset() const { return utcOffset_; }
  std::chrono::sys_seconds UtcNow() const { return std::chrono::sys_seconds((Now() - utcOffset_).time_since_epoch()); }
  // A change to or from summer time: the local clock jumps by the change of offset, UTC goes on.
  void SetUtcOffset(std::chrono::seconds offset) {
    ShiftWallClock(offset - utcOffset_);
    utcOffset_ = offset;
  }

 private:
  std::uint64_t elapsedMs_ = 0;
  WallMs wallAtZero_;
  std::chrono::seconds utcOffset_{0};
};

}  // namespace os::fake
