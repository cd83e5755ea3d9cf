// Time for a backend with no system beneath it (the in-memory one of the tests): a count of
// elapsed milliseconds that moves only when told to. Whoever keeps the clock (the fake operating
// system, which reads the wall clock off it too) hands it to the backend, which runs its timers
// on it.
#pragma once

#include <cstdint>
#include <functional>

namespace ui {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t ElapsedMs() const = 0;
  virtual void SetElapsedMs(std::uint64_t ms) = 0;
  // Time passes while the program sleeps in a wait of the system: set by the backend, which
  // moves the clock on and fires the timers that fall due meanwhile.
  std::function<void(std::uint64_t ms)> OnPass;
};

}  // namespace ui
