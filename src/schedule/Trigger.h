// What makes a schedule fire: a moment ("In" and "At" both produce one), or a condition the
// program watches for (a program ending, the computer left alone, the processor or the network
// gone quiet). Each kind has its watch (Watch.h).
#pragma once

#include <cstdint>
#include <optional>
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

  static Trigger At(base::LocalTime moment) {
    Trigger t;
    t.moment = moment;
    return t;
  }
  static Trigger WhenEnds(const std::string& program) {
    Trigger t = Condition(Kind::ProgramEnds, 0);
    t.program = program;
    return t;
  }
  static Trigger WhenProcessEnds(std::uint32_t id) {
    Trigger t = Condition(Kind::ProgramEnds, 0);
    t.processId = id;
    return t;
  }
  static Trigger WhenIdle(int minutes) { return Condition(Kind::NoInput, minutes); }
  static Trigger WhenProcessorBelow(long long percent, int minutes) {
    return Condition(Kind::ProcessorBelow, minutes, percent);
  }
  static Trigger WhenNetworkBelow(long long kilobytesPerSecond, int minutes) {
    return Condition(Kind::NetworkBelow, minutes, kilobytesPerSecond);
  }
  bool IsCondition() const { return kind != Kind::Moment; }
  bool operator==(const Trigger&) const = default;

 private:
  static Trigger Condition(Kind kind, int minutes, long long below = 0) {
    Trigger t;
    t.kind = kind;
    t.minutes = minutes;
    t.below = below;
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

// A process id as typed: digits alone, 1 to 4294967295 (at most ten of them). Nothing for any
// other text, "0" and a number past the range among them.
std::optional<std::uint32_t> ProcessId(const std::string& text);

// The units of "In".
enum class Unit { Hours, Minutes, Seconds };
// How many units "In" takes: 1 to kLargestAmount, and no fewer than kLeastSeconds of seconds.
constexpr int kLargestAmount = 999;
constexpr int kLeastSeconds = 5;

// How many seconds one unit is.
constexpr long long SecondsPer(Unit unit) { return unit == Unit::Hours ? 3600 : unit == Unit::Minutes ? 60 : 1; }
// The moment "In" `amount` units from `now` describes, by plain wall-clock arithmetic.
base::LocalTime MomentIn(base::LocalTime now, long long amount, Unit unit);
// The moment "At" the time of day of `timeOfDay` describes: today, or tomorrow when that moment
// has already gone (the present second itself stays today).
base::LocalTime MomentAt(base::LocalTime now, base::LocalTime timeOfDay);

}  // namespace schedule
