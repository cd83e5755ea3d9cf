#include "platform/modWaitable.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Program.h"

namespace platform {
namespace {

constexpr std::int64_t kUnitsPerSecond = 10000000;  // of 100 nanoseconds

}  // namespace

void WaitSeconds(const os::Services& os, ui::Runtime& runtime, std::int32_t seconds) {
  const std::uint32_t start = os.kernel32.GetTickCount();
  os::Handle timer = 0;
  bool fired = false;
  try {
    timer = os.kernel32.CreateWaitableTimerA(true, platform::ExeName(os.kernel32) + "Timer");
    if (timer != 0 && os.kernel32.SetWaitableTimer(timer, -(seconds * kUnitsPerSecond), 0, false) != 0) {
      for (;;) {
        std::uint32_t woke = os.user32.MsgWaitForMultipleObjects({timer}, false, os::kInfinite, os::kQsAllInput);
        runtime.DoEvents();  // the messages that came, also those pending as the timer fired
        if (woke == os::kWaitObject0) {
          fired = true;
          break;
        }
        if (woke != os::kWaitObject0 + 1 || runtime.Ended()) break;
      }
    }
  } catch (const std::exception&) {
    // No waitable timers on this system: the wait below serves instead.
  }
  if (timer != 0) os.kernel32.CloseHandle(timer);
  if (!fired) WaitElapsed(os, runtime, start, seconds * 1000.0);
}

void WaitElapsed(const os::Services& os, ui::Runtime& runtime, std::uint32_t start, double milliseconds) {
  while (!runtime.Ended()) {
    double left = milliseconds - (os.kernel32.GetTickCount() - start);
    if (left <= 0) break;
    double wait = std::min(std::ceil(left), 0x7FFFFFFF * 1.0);  // never the endless wait's value
    os.user32.MsgWaitForMultipleObjects({}, false, static_cast<std::uint32_t>(wait), os::kQsAllInput);
    runtime.DoEvents();
  }
}

}  // namespace platform
