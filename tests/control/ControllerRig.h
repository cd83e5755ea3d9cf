// The controller on its own, against the fake system and with no window: a listener and host
// that note each move and notice, and drive the trigger timer's ticks on the virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/Controller.h"
#include "os/fake/FakeServices.h"

namespace control_test {

namespace kernel32 = os::fake::kernel32;
namespace user32 = os::fake::user32;
using control::Phase;
using schedule::Action;
using schedule::Trigger;

constexpr std::uint32_t kAwake = os::kEsContinuous | os::kEsSystemRequired;
constexpr std::uint32_t kReleased = os::kEsContinuous;

inline schedule::Schedule On(const Trigger& trigger) {
  schedule::Schedule s;
  s.trigger = trigger;
  return s;
}

// Tells each move as "from>to", and carries out what the host is asked.
struct Rig : control::Listener, control::Host {
  Rig() {
    clock.SetWallClock(base::MakeLocalTime({2026, 12, 9, 22, 0, 0}));
    life.Listen(*this);
    life.SetHost(this);
  }
  void Moved(control::Transition, Phase from, Phase to) override {
    moves += control::PhaseName(from) + ">" + control::PhaseName(to) + ";";
  }
  bool WaitSeconds(int seconds) override {
    clock.AdvanceMs(seconds * 1000u);
    return true;
  }
  void TellFailure(const std::string& text) override { told = text; }
  void Told(const std::string& text) override { notices.push_back(text); }
  void TurnOffDisplay() override { moves += "display off;"; }

  schedule::Schedule In(int seconds, Action action = Action::Shutdown) {
    schedule::Schedule s;
    s.action = action;
    s.countdown = 30;
    s.trigger = Trigger::At(clock.Now() + std::chrono::seconds(seconds));
    return s;
  }
  void Activate(const schedule::Schedule& s) {
    std::string refusal;
    ASSERT_TRUE(life.Activate(s, refusal)) << refusal;
  }
  // The trigger timer's half-second ticks for `ms` or until the schedule leaves Armed.
  void Run(std::uint64_t ms) {
    for (std::uint64_t at = 0; at < ms && life.Armed(); at += 500) {
      clock.AdvanceMs(500);
      life.Tick();
    }
  }
  std::vector<std::uint32_t> AwakeRequests() {
    std::vector<std::uint32_t> flags;
    for (const auto& call : fake.log.Of<kernel32::SetThreadExecutionState>()) flags.push_back(call.flags);
    return flags;
  }

  os::fake::VirtualClock clock;
  os::fake::FakeServices fake{clock};
  os::Services os = fake.Services();
  platform::WindowsFamily family = platform::WindowsFamily::NT;
  control::Controller life{os, family};
  std::string moves, told;
  std::vector<std::string> notices;
};

}  // namespace control_test
