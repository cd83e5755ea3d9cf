// What makes a schedule fire: a moment ("In" and "At" both produce one), or a condition the
// program watches for (a program ending, the computer left alone, the processor or the network
// gone quiet). Each kind has its watch (Watch.h).
#pragma once

#include <cstdint>
#include <string>

#include "base/DateTime.h"

namespace schedule {

// The ranges of a condition's values.
constexpr int kLongestQuiet = 999;        // minutes
constexpr int kHighestPercent = 99;       // processor use
constexpr long long kHighestRate = 999999;  // KB/s, a KB being 1024 bytes

struct Trigger {
  enum class Kind { Moment, ProgramEnds, NoInput, ProcessorBelow, NetworkBelow };
  Kind kind = Kind::Moment;
  base::LocalTime moment{};   // Moment: the local date-time, to the second, at which it fires
  std::string program;        // ProgramEnds: the program's file name ("ffmpeg.exe"), or empty
  std::uint32_t processId = 0;  // ProgramEnds without a name: the one process
  int minutes = 0;            // NoInput, ProcessorBelow, NetworkBelow: how long, unbroken
  long long below = 0;        // ProcessorBelow: percent; NetworkBelow: KB/s

  static Trigger At(base::LocalTime moment) { return Of(Kind::Moment, [&](Trigger& t) { t.moment = moment; }); }
  static Trigger WhenEnds(const std::string& program) {
    return Of(Kind::ProgramEnds, [&](Trigger& t) { t.program = program; });
  }
  static Trigger WhenProcessEnds(std::uint32_t id) { return Of(Kind::ProgramEnds, [&](Trigger& t) { t.processId = id; }); }
  static Trigger WhenIdle(int minutes) { return Of(Kind::NoInput, [&](Trigger& t) { t.minutes = minutes; }); }
  static Trigger WhenProcessorBelow(long long percent, int minutes) {
    return Of(Kind::ProcessorBelow, [&](Trigger& t) { t.below = percent, t.minutes = minutes; });
  }
  static Trigger WhenNetworkBelow(long long kilobytesPerSecond, int minutes) {
    return Of(Kind::NetworkBelow, [&](Trigger& t) { t.below = kilobytesPerSecond, t.minutes = minutes; });
  }
  bool IsCondition() const { return kind != Kind::Moment; }
  bool operator==(const Trigger&) const = default;

 private:
  template <typename Fill>
  static Trigger Of(Kind kind, Fill fill) {
    Trigger t;
    t.kind = kind;
    fill(t);
    return t;
  }
};

// A condition shortly, as the window and the status show it: "ffmpeg.exe ends", "process 1234
// ends", "30 min without input", "CPU < 10 % for 5 min", "Net < 50 KB/s for 5 min". Its two
// parts ("CPU < 10 %", "for 5 min") are joined by `between`. Empty for a moment.
std::string Describe(const Trigger& trigger, const std::string& between = " ");

// A program's file name as typed or picked: without quotes, blanks or folder, and with ".exe"
// when it has no extension ("C:\Tools\ffmpeg" is "ffmpeg.exe").
std::string ProgramFileName(std::string text);

// The units of "In".
enum class Unit { Hours, Minutes, Seconds };

// The moment "In" `amount` units from `now` describes, by plain wall-clock arithmetic.
base::LocalTime MomentIn(base::LocalTime now, long long amount, Unit unit);
// The moment "At" the time of day of `timeOfDay` describes: today, or tomorrow when that moment
// has already gone (the present second itself stays today).
base::LocalTime MomentAt(base::LocalTime now, base::LocalTime timeOfDay);

}  // namespace schedule
