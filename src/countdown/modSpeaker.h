// The computer's internal speaker: a tone of a given frequency and length, made the way the
// Windows family allows.
#pragma once

#include <cstdint>

#include "os/Services.h"
#include "platform/WindowsVersion.h"
#include "ui/Runtime.h"

namespace countdown {

// The lowest frequency the interval timer can make: below it the divisor does not fit.
constexpr std::int16_t kLowestPortFrequency = 37;

// The interval timer's divisor for a frequency of 37 Hz or more: 1193280 / frequency, to the
// nearest whole number (halves to even).
std::int16_t SpeakerDivisor(std::int16_t frequency);

// Sounds the speaker for `duration` milliseconds and returns when the tone is over. On the NT
// family through Beep; where Beep returns early (Windows versions without a speaker service,
// Wine), the rest of the duration passes with window messages served. On Windows 95/98/Me
// through the ports (PortTone), or, below 37 Hz, the plain beep. Elsewhere the plain beep.
// `family` is the one the program asked at start-up.
void SpeakerTone(const os::Services& os, ui::Runtime& runtime, platform::WindowsFamily family, std::int16_t frequency,
                 float duration);

// The port path: programs channel 2 of the interval timer, switches the speaker on, serves
// window messages until the duration has passed, then switches the speaker off. The speaker
// is off again whenever this returns, also when the program has ended during the tone.
void PortTone(const os::Services& os, ui::Runtime& runtime, std::int16_t frequency, float duration);

}  // namespace countdown
