#include "countdown/modSpeaker.h"

#include "base/Convert.h"
#include "platform/modWaitable.h"

namespace countdown {
namespace {

constexpr std::uint16_t kTimerCommandPort = 0x43;
constexpr std::uint8_t kChannel2SquareWave = 0xB6;  // channel 2, low then high byte, mode 3
constexpr std::uint16_t kChannel2DataPort = 0x42;
constexpr std::uint16_t kSpeakerControlPort = 0x61;
constexpr std::uint8_t kSpeakerOn = 3;       // the timer gate and the speaker
constexpr std::uint8_t kSpeakerOff = 0xFC;
constexpr double kTimerBaseFrequency = 1193280;

}  // namespace

std::int16_t SpeakerDivisor(std::int16_t frequency) { return base::CInt(kTimerBaseFrequency / frequency); }

void SpeakerTone(const os::Services& os, ui::Runtime& runtime, platform::WindowsFamily family, std::int16_t frequency,
                 float duration) {
  switch (platform::GetOSType(family)) {
    case 0: {
      const std::uint32_t start = os.kernel32.GetTickCount();
      const std::int32_t milliseconds = base::CLng(duration);
      os.kernel32.Beep(static_cast<std::uint32_t>(static_cast<std::int32_t>(frequency)),
                       static_cast<std::uint32_t>(milliseconds));
      platform::WaitElapsed(os, runtime, start, milliseconds);
      break;
    }
    case 1:
      if (frequency >= kLowestPortFrequency)
        PortTone(os, runtime, frequency, duration);
      else
        runtime.Beep();
      break;
    default:
      runtime.Beep();
  }
}

void PortTone(const os::Services& os, ui::Runtime& runtime, std::int16_t frequency, float duration) {
  const std::uint32_t start = os.kernel32.GetTickCount();
  const std::int16_t divisor = SpeakerDivisor(frequency);
  os.portio.vbOut(kTimerCommandPort, kChannel2SquareWave);
  os.portio.vbOut(kChannel2DataPort, static_cast<std::uint8_t>(divisor & 0xFF));
  os.portio.vbOut(kChannel2DataPort, static_cast<std::uint8_t>(divisor / 256));
  os.portio.vbOut(kSpeakerControlPort, os.portio.vbInp(kSpeakerControlPort) | kSpeakerOn);
  struct SwitchOff {
    const os::Services& os;
    ~SwitchOff() {
      try {
        os.portio.vbOut(kSpeakerControlPort, os.portio.vbInp(kSpeakerControlPort) & kSpeakerOff);
      } catch (const std::exception&) {
        // The ports answered a moment ago; nothing more can be done here.
      }
    }
  } switchOff{os};
  platform::WaitElapsed(os, runtime, start, duration);
}

}  // namespace countdown
