// Letting time pass without freezing the windows: the waits sleep in the system and serve
// window messages whenever they arrive, so every window's events (timers included) run inside.
#pragma once

#include <cstdint>

#include "os/Services.h"
#include "ui/Runtime.h"

namespace platform {

// Returns once `seconds` have passed, waiting on a manual-reset waitable timer named after the
// program ("<exe name>Timer"). Where the timer cannot be made or armed (Windows 95 has none),
// or the wait on it fails, the rest of the time passes in a wait measured on the elapsed-time
// clock instead: the wait always ends. It also ends as soon as the program ends.
void WaitSeconds(const os::Services& os, ui::Runtime& runtime, std::int32_t seconds);

// Returns once `milliseconds` have passed since the elapsed-time clock (GetTickCount) read
// `start`, serving window messages meanwhile; at once when they already have, or when the
// program has ended.
void WaitElapsed(const os::Services& os, ui::Runtime& runtime, std::uint32_t start, double milliseconds);

}  // namespace platform
