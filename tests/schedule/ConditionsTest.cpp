// The conditions' watches against the fake system: when each fires, what starts it afresh, the
// counters and ticks that wrap, what cannot be armed, and what this Windows cannot watch.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "os/fake/FakeServices.h"
#include "schedule/Watch.h"

namespace {

using schedule::Trigger;
using namespace std::chrono_literals;

constexpr std::uint64_t kMinute = 60000;

struct Rig {
  os::fake::VirtualClock clock;
  os::fake::FakeServices fake{clock};
  std::unique_ptr<schedule::Watch> watch;
  std::string refusal;

  bool Arm(const Trigger& trigger) {
    watch = schedule::Arm(trigger, fake.Services(), refusal);
    return watch != nullptr;
  }
  // The schedule timer's half-second ticks for `span`, `each` running before every tick: the
  // milliseconds after the start at which the watch fired, or nothing.
  std::optional<std::uint64_t> Run(std::uint64_t span, const std::function<void(std::uint64_t)>& each = {}) {
    for (std::uint64_t at = 500; at <= span; at += 500) {
      clock.AdvanceMs(500);
      if (each) each(at);
      if (watch->Fired()) return at;
    }
    return std::nullopt;
  }
  // Half a second of the processors' time at this use (one processor).
  void Load(int percent) {
    const std::uint64_t total = 5000000, busy = total * percent / 100;
    fake.kernel32.idleTime += total - busy;
    fake.kernel32.kernelTime += total - busy + busy / 2;
    fake.kernel32.userTime += busy - busy / 2;
  }
};

TEST(ProgramEnds, FiresAtTheFirstLookAfterTheLastOfItsProcessesHasEnded) {
  Rig rig;
  auto& k = rig.fake.kernel32;
  k.programs = {{100, "FFmpeg.EXE"}, {200, "ffmpeg.exe"}, {300, "explorer.exe"}, {400, "ffmpeg.exe"}};
  k.programsDenied = {400};  // another user's: watched in the process list
  const std::size_t handlesBefore = k.OpenHandles();
  ASSERT_TRUE(rig.Arm(Trigger::WhenEnds("ffmpeg.exe"))) << rig.refusal;
  EXPECT_EQ(k.OpenHandles(), handlesBefore + 2);
  EXPECT_EQ(rig.watch->Progress(), "ffmpeg.exe still running (3 processes)");
  auto fired = rig.Run(20000, [&](std::uint64_t at) {
    if (at == 3000) k.programs.erase(100);
    if (at == 6000) k.programs.erase(400);
    if (at == 9000) k.programs.erase(200);
  });
  EXPECT_EQ(fired, 9000u) << "sampled each second, from the arming";
  EXPECT_EQ(k.OpenHandles(), handlesBefore) << "every handle let go";

  Rig byId;
  byId.fake.kernel32.programs = {{100, "ffmpeg.exe"}, {200, "ffmpeg.exe"}};
  ASSERT_TRUE(byId.Arm(Trigger::WhenProcessEnds(200)));
  EXPECT_EQ(byId.watch->Progress(), "process 200 still running");
  EXPECT_EQ(byId.Run(5000, [&](std::uint64_t at) { if (at == 2000) byId.fake.kernel32.programs.erase(200); }), 2000u);
}

TEST(ProgramEnds, IsRefusedWhenNotRunningAndNotOfferedWithoutAProcessList) {
  Rig rig;
  rig.fake.kernel32.programs = {{100, "explorer.exe"}};
  EXPECT_FALSE(rig.Arm(Trigger::WhenEnds("ffmpeg.exe")));
  EXPECT_EQ(rig.refusal, "No program named ffmpeg.exe is running.");
  EXPECT_FALSE(rig.Arm(Trigger::WhenProcessEnds(42)));
  EXPECT_EQ(rig.refusal, "No program with the process id 42 is running.");
  rig.fake.kernel32.listFails = true;
  EXPECT_FALSE(rig.Arm(Trigger::WhenEnds("explorer.exe")));
  EXPECT_EQ(rig.refusal, "The running programs could not be listed.");

  Rig nt4;
  nt4.fake.kernel32.programs = {{100, "ffmpeg.exe"}};
  nt4.fake.kernel32.missingFunctions = {{"kernel32.dll", "CreateToolhelp32Snapshot"}};
  EXPECT_EQ(schedule::WhyNotWatched(Trigger::Kind::ProgramEnds, nt4.fake.Services()),
            "This Windows cannot list the running programs.");
  EXPECT_FALSE(nt4.Arm(Trigger::WhenEnds("ffmpeg.exe")));
  EXPECT_EQ(nt4.refusal, "This Windows cannot list the running programs.");
}

TEST(NoInput, CountsFromTheLaterOfArmingAndTheLastInputAcrossTheTickWrap) {
  Rig rig;
  rig.clock.SetElapsedMs(0xFFFFFFFFull - 40000);  // the tick count wraps 40 s after arming
  rig.fake.user32.lastInputTick = 0xFFFFFFFFu - 45000;  // 5 s before the arming
  ASSERT_TRUE(rig.Arm(Trigger::WhenIdle(1)));
  EXPECT_EQ(rig.Run(3 * kMinute), kMinute) << "a minute after arming";

  Rig input;
  input.clock.SetElapsedMs(0xFFFFFFFFull - 40000);
  ASSERT_TRUE(input.Arm(Trigger::WhenIdle(1)));
  auto fired = input.Run(3 * kMinute, [&](std::uint64_t at) {
    if (at == 30000) input.fake.user32.lastInputTick = static_cast<std::uint32_t>(input.clock.ElapsedMs());
    if (at == 59000) {
      EXPECT_EQ(input.watch->Progress(), "No input for 0 of 1 min");
    }
  });
  EXPECT_EQ(fired, 90000u) << "input 30 s in starts the minute afresh";

  Rig win98;
  win98.fake.kernel32.missingFunctions = {{"user32.dll", "GetLastInputInfo"}};
  EXPECT_FALSE(win98.Arm(Trigger::WhenIdle(1)));
  EXPECT_EQ(win98.refusal, "This Windows does not tell when the last input was.");
}

TEST(ProcessorBelow, FiresAfterAnUnbrokenRunAndABusySampleStartsItAfresh) {
  Rig rig;
  ASSERT_TRUE(rig.Arm(Trigger::WhenProcessorBelow(10, 2)));
  auto fired = rig.Run(10 * kMinute, [&](std::uint64_t at) {
    rig.Load(at > 90000 && at <= 91000 ? 10 : 9);  // one second at exactly the threshold
    if (at == 150000) {
      EXPECT_EQ(rig.watch->Progress(), "CPU below 10 % for 0 of 2 min");
    }
  });
  EXPECT_EQ(fired, 91000u + 2 * kMinute) << "the sample at 10 % is busy: two minutes from it";
  EXPECT_EQ(rig.watch->Progress(), "CPU below 10 % for 2 of 2 min");

  Rig xp;
  xp.fake.kernel32.missingFunctions = {{"kernel32.dll", "GetSystemTimes"}};
  EXPECT_FALSE(xp.Arm(Trigger::WhenProcessorBelow(10, 2)));
  EXPECT_EQ(xp.refusal, "This Windows does not tell how busy the processor is.");
}

TEST(NetworkBelow, SumsTheInterfacesThatAreUpLeavesLoopbackOutAndSurvivesTheCounterWrap) {
  for (bool older : {false, true}) {
    Rig rig;
    auto& i = rig.fake.iphlpapi;
    if (older) rig.fake.kernel32.missingFunctions = {{"iphlpapi.dll", "GetIfTable2"}};
    i.interfaces = {{1, os::kIfTypeSoftwareLoopback, true, 0, 0},
                    {2, 6, true, 0xFFFFFFFFull - 10000, 0xFFFFFFFFull - 20000},  // about to wrap
                    {3, 71, false, 0, 0}};                                        // down
    ASSERT_TRUE(rig.Arm(Trigger::WhenNetworkBelow(50, 1)));
    // 50 KB/s is 51200 bytes a second: 25000 a half second is quiet; 6200 more in the five
    // seconds to 20 s are not (256000 in five seconds).
    auto fired = rig.Run(5 * kMinute, [&](std::uint64_t at) {
      i.interfaces[0].received += 10000000;  // loopback traffic never counts
      i.interfaces[2].received += 10000000;  // nor does an interface that is down
      i.interfaces[1].received += at == 20000 ? 19000 : 12800;
      i.interfaces[1].sent += 12200;
    });
    EXPECT_EQ(fired, 20000u + kMinute) << (older ? "32-bit counters" : "64-bit counters");
    EXPECT_EQ(rig.fake.log.Count<os::fake::iphlpapi::GetIfTable>() > 0, older);
    // Read at arming, then every five seconds.
    EXPECT_EQ(rig.fake.log.Count<os::fake::iphlpapi::GetIfTable>() + rig.fake.log.Count<os::fake::iphlpapi::GetIfTable2>(),
              1 + (20000 + kMinute) / 5000);
  }

  Rig win95;
  win95.fake.kernel32.missingFunctions = {{"iphlpapi.dll", "GetIfTable2"}, {"iphlpapi.dll", "GetIfTable"}};
  EXPECT_FALSE(win95.Arm(Trigger::WhenNetworkBelow(50, 1)));
  EXPECT_EQ(win95.refusal, "This Windows does not tell the network's traffic.");
}

TEST(Describe, NamesEachConditionShortly) {
  EXPECT_EQ(schedule::Describe(Trigger::WhenEnds("ffmpeg.exe")), "ffmpeg.exe ends");
  EXPECT_EQ(schedule::Describe(Trigger::WhenProcessEnds(1234), "\r"), "process 1234\rends");
  EXPECT_EQ(schedule::Describe(Trigger::WhenIdle(30)), "30 min without input");
  EXPECT_EQ(schedule::Describe(Trigger::WhenProcessorBelow(10, 5)), "CPU < 10 % for 5 min");
  EXPECT_EQ(schedule::Describe(Trigger::WhenNetworkBelow(50, 5)), "Net < 50 KB/s for 5 min");
  EXPECT_EQ(schedule::ProgramFileName(" \"C:\\Tools\\ffmpeg\" "), "ffmpeg.exe");
  EXPECT_EQ(schedule::ProgramFileName("backup.cmd"), "backup.cmd");
}

TEST(ProcessId, IsDigitsAloneWithinTheRangeOfAnId) {
  EXPECT_EQ(schedule::ProcessId("0042"), 42u);
  EXPECT_EQ(schedule::ProcessId("4294967295"), 4294967295u);
  for (const char* text : {"", "0", "4294967296", "00000000001", "9999999999", " 42", "42 ", "+42", "4a"})
    EXPECT_EQ(schedule::ProcessId(text), std::nullopt) << '"' << text << '"';
}

}  // namespace
