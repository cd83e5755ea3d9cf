// The speaker tone on each Windows family: Beep and the rest of its time on the NT family, the
// timer chip and speaker gate through the ports on Windows 95/98/Me, the plain beep elsewhere.
#include "countdown/modSpeaker.h"

#include <gtest/gtest.h>

#include "support/Harness.h"

namespace {

namespace kernel32 = os::fake::kernel32;
namespace portio = os::fake::portio;
namespace user32 = os::fake::user32;
using os::fake::Calls;
using platform::WindowsFamily;

class Speaker : public ::testing::Test, public testing_support::Harness {
 protected:
  std::uint64_t Now() { return clock.ElapsedMs(); }
  Calls PortCalls() const { return fake.log.Only<portio::vbInp, portio::vbOut>(); }
  // A tone on the family the program asked at start-up.
  void SpeakerTone(std::int16_t frequency, float duration) {
    countdown::SpeakerTone(os, runtime, family, frequency, duration);
  }
  os::Services os = fake.Services();
  WindowsFamily family = WindowsFamily::NT;
};

TEST(SpeakerDivisor, IsTheBaseFrequencyOverTheToneRoundedToEven) {
  EXPECT_EQ(countdown::SpeakerDivisor(4000), 298);
  EXPECT_EQ(countdown::SpeakerDivisor(1000), 1193);
  EXPECT_EQ(countdown::SpeakerDivisor(37), 32251);
  EXPECT_EQ(countdown::SpeakerDivisor(100), 11933);
}

TEST_F(Speaker, OnNTABeepThatReturnsAtOnceIsFollowedByTheRestOfItsTime) {
  SpeakerTone(4000, 100);
  EXPECT_EQ(fake.log.Of<kernel32::Beep>(), (std::vector{kernel32::Beep{4000, 100}}));
  EXPECT_EQ(Now(), 100u) << "as under Wine, where Beep makes no sound and takes no time";
  EXPECT_EQ(fake.log.Of<user32::MsgWaitForMultipleObjects>().at(0).milliseconds, 100u);

  fake.log.Clear();
  fake.kernel32.beepBlocksMs = 100;
  SpeakerTone(1000, 100.5f);
  EXPECT_EQ(fake.log.Of<kernel32::Beep>(), (std::vector{kernel32::Beep{1000, 100}})) << "halves to even";
  EXPECT_EQ(Now(), 200u);
  EXPECT_EQ(fake.log.Count<user32::MsgWaitForMultipleObjects>(), 0u) << "a Beep that took its time";
  EXPECT_TRUE(PortCalls().empty());
}

TEST_F(Speaker, OnWindows9xTheTimerIsProgrammedAndTheSpeakerGatedKeepingTheOtherBits) {
  family = WindowsFamily::Win9x;
  SpeakerTone(4000, 100);
  EXPECT_EQ(PortCalls(), (Calls{portio::vbOut{0x43, 0xB6}, portio::vbOut{0x42, 42}, portio::vbOut{0x42, 1},
                                portio::vbInp{0x61}, portio::vbOut{0x61, 0x33}, portio::vbInp{0x61},
                                portio::vbOut{0x61, 0x30}}));
  EXPECT_EQ(Now(), 100u) << "the speaker sounds while messages are served";
  EXPECT_EQ(fake.log.Count<kernel32::Beep>(), 0u);

  fake.log.Clear();
  SpeakerTone(1000, 0);
  EXPECT_EQ(fake.log.Of<portio::vbOut>().at(1), (portio::vbOut{0x42, 0xA9}));
  EXPECT_EQ(fake.log.Of<portio::vbOut>().at(2), (portio::vbOut{0x42, 4}));
  EXPECT_EQ(fake.log.Count<user32::MsgWaitForMultipleObjects>(), 0u) << "no time, no wait";
  EXPECT_EQ(fake.portio.ports[0x61], 0x30);
}

TEST_F(Speaker, BelowThirtySevenHertzAndOnOtherSystemsThePlainBeepSounds) {
  family = WindowsFamily::Win9x;
  for (std::int16_t low : {36, 0, -500}) SpeakerTone(low, 100);
  EXPECT_TRUE(PortCalls().empty()) << "no divisor exists: the ports are not touched";
  EXPECT_EQ(backend.Beeps(), 3);
  family = WindowsFamily::Other;
  SpeakerTone(4000, 100);
  EXPECT_EQ(backend.Beeps(), 4);
  EXPECT_EQ(fake.log.Count<kernel32::Beep>(), 0u);
  EXPECT_EQ(Now(), 0u);
}

TEST_F(Speaker, TheSpeakerIsSwitchedOffWhenTheProgramEndsInsideTheTone) {
  family = WindowsFamily::Win9x;
  struct Window : ui::Form {
    explicit Window(ui::Runtime& runtime) : ui::Form(runtime, "frmWindow") {}
    ui::Timer tmrEnd{*this, "tmrEnd"};
  } window(runtime);
  window.tmrEnd.SetInterval(40);
  window.tmrEnd.TimerEvent = [&] { runtime.End(); };  // a Cancel clicked during the tone
  window.Load();
  SpeakerTone(4000, 100);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(fake.log.Of<portio::vbOut>().back(), (portio::vbOut{0x61, 0x30}));
}

}  // namespace
