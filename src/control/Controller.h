// The schedule's life, from its activation to the action: which phase it is in, the watch of
// its trigger, the warning's postpone, the computer kept awake while it waits, and the action
// carried out. The windows are its views: they ask it for each change and are told of every
// change it makes, wherever the request came from (a button, the tray's menu, the command line).
//
//   Idle    --activate-->  Armed      --cancel-->   Idle
//   Armed   --fire------>  Warning    (with a countdown), or Performing (none, or the alarm)
//   Armed   --postpone-->  Armed      (later)
//   Warning --postpone-->  Armed
//   Warning --cancel---->  Ending
//   Warning --perform--->  Performing --> Ending, or AlarmShowing --done--> Ending
//   any     --end------->  Ending     (the program closes)
//
// A schedule that repeats goes back to Armed, for its next occurrence, wherever a single one
// would end (the warning cancelled, the action done, the alarm closed), except after a request
// that leaves Windows; an occurrence missed while the computer slept is skipped (Armed to Armed).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "os/Services.h"
#include "platform/WindowsVersion.h"
#include "schedule/Schedule.h"
#include "schedule/Watch.h"

namespace control {

enum class Phase { Idle, Armed, Warning, Performing, AlarmShowing, Ending };
// What moved the schedule from one phase to the next (or within Armed: a postpone).
enum class Transition { Activate, Cancel, Fire, Postpone, Perform, Done, End, Skip };

// How late a moment may be seen before it counts as missed, and the warning a missed moment of
// a single schedule gets at the least, so that it never happens unseen.
constexpr std::chrono::seconds kMissedAfter{120};
constexpr int kLeastLateWarning = 30;
// The wake timer goes off this long before the moment.
constexpr std::chrono::seconds kWakeAhead{60};

// The phase's name, for the status and the notes ("armed", "warning").
std::string PhaseName(Phase phase);

// A view of the schedule's life.
class Listener {
 public:
  // The schedule moved from `from` to `to` (a postpone while armed moves from Armed to Armed).
  virtual void Moved(Transition /*how*/, Phase /*from*/, Phase /*to*/) {}
  // A schedule given from elsewhere without a time, to be shown for the user to activate.
  virtual void Offered(const schedule::Schedule& /*schedule*/) {}
  // A notice for the user, in passing (the tray's balloon): the action is near, or an
  // occurrence was missed.
  virtual void Told(const std::string& /*text*/) {}

 protected:
  ~Listener() = default;
};

// What carrying the action out needs of the program around it.
class Host {
 public:
  // Waits, serving input and timers meanwhile; false when the program ended during the wait.
  virtual bool WaitSeconds(int seconds) = 0;
  // Tells the user of a request that did not happen.
  virtual void TellFailure(const std::string& text) = 0;
  // Asks Windows to turn the display off, through the program's own window.
  virtual void TurnOffDisplay() = 0;

 protected:
  ~Host() = default;
};

class Controller {
 public:
  Controller(const os::Services& os, const platform::WindowsFamily& family) : os_(os), family_(family) {}
  ~Controller();
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  void Listen(Listener& listener);
  void StopListening(Listener& listener);
  void SetHost(Host* host) { host_ = host; }

  Phase GetPhase() const { return phase_; }
  // Armed: the trigger is watched.
  bool Armed() const { return phase_ == Phase::Armed; }
  // The program is on its way out: the schedule fired (or the program is closing), and once the
  // warning, the action or the alarm is over it ends.
  bool Leaving() const { return phase_ != Phase::Idle && phase_ != Phase::Armed; }
  // The schedule activated last (also once it has fired or been cancelled).
  const schedule::Schedule& Schedule() const { return schedule_; }
  // Postponed since it was activated.
  bool Postponed() const { return postponed_; }
  // A repeating schedule is active, or was until its action left Windows: it is to be
  // activated again when the program next starts. Not once the program was closed otherwise.
  bool RepeatGoesOn() const {
    return schedule_.repeat != schedule::kOnce && phase_ != Phase::Idle && !ended_;
  }
  // A repeating schedule's time of day, as activated.
  std::chrono::seconds RepeatTime() const { return timeOfDay_; }
  // The computer is kept from sleeping now, for this schedule.
  bool KeptAwake() const { return keptAwake_; }
  // How far an armed condition has come ("CPU below 10 % for 3 of 5 min"); empty otherwise.
  std::string Progress() const;
  // The warning's seconds left, as the countdown last told them.
  int WarningLeft() const { return warningLeft_; }
  // The warning's length: the schedule's countdown, or more for a moment that was missed.
  int WarningLength() const { return warningLength_; }
  void SetWarningLeft(int seconds) { warningLeft_ = seconds; }

  // Idle -> Armed: arms the schedule's trigger. A trigger that cannot be armed changes nothing:
  // false, with the reason. A condition always keeps the computer awake.
  bool Activate(const schedule::Schedule& schedule, std::string& refusal);
  // The same with the trigger armed already (the conditions' window arms its own).
  void Activate(const schedule::Schedule& schedule, std::unique_ptr<schedule::Watch> watch);
  // A schedule to be shown for the user to activate (nothing is armed).
  void Offer(const schedule::Schedule& schedule);
  // Armed -> Idle (deactivated), Warning -> Ending (the warning cancelled); false otherwise.
  bool Cancel();
  // Armed: asks the watch. Fired, the schedule moves to Warning, or with no countdown (and for
  // the alarm) is carried out at once. A moment seen more than kMissedAfter late, after the
  // computer slept or the clock was put forward past it, was missed: a repeating schedule skips
  // to its next occurrence and tells so, a single one is carried out through a warning of
  // kLeastLateWarning seconds at the least. The notice ahead is told here too.
  void Tick();
  // The computer has resumed from sleep or hibernation: the next look counts as late, and a
  // schedule that woke the computer keeps it awake until its action is done.
  void Resumed();
  // Armed or Warning -> Armed, `minutes` later: a moment moves to that much after the later of
  // now and itself; a condition is watched afresh once the minutes have passed (one that can
  // no longer be armed, a program that has ended, counts as met then). False when neither.
  bool Postpone(int minutes);
  // Warning or Performing (fired without a countdown) -> Performing -> AlarmShowing or Ending:
  // the program to start a second before, then the power request, the display turned off
  // through the host, or the alarm window's turn.
  // A Shutdown, Restart or Log Off that fails ends in a forced shutdown; what did not happen is
  // told through the host.
  void Perform();
  // AlarmShowing -> Ending: the alarm was closed.
  void Done();
  // Any phase -> Ending: the program closes.
  void End();

 private:
  void Move(Transition how, Phase to);
  void KeepAwake(bool keep);
  // Armed for the next occurrence of a repeating schedule, after `how`; false for a single one.
  bool Rearm(Transition how);
  // Armed, after `how`, for the repeating schedule's first occurrence at or after `from`.
  void ArmNext(base::LocalTime from, Transition how);
  // Whether this look follows a gap: the computer slept, the program stood still, or the clock
  // was put forward (UTC against the tick count, so that summer time is no gap).
  bool Looked();
  void NoticeAhead();
  void Tell(const std::string& text);
  // The wake timer set for the armed moment, or stopped.
  void WakeFor(std::optional<base::LocalTime> moment);
  void StartProgram(const std::string& path);

  const os::Services& os_;
  const platform::WindowsFamily& family_;
  Host* host_ = nullptr;
  std::vector<Listener*> listeners_;
  Phase phase_ = Phase::Idle;
  schedule::Schedule schedule_;
  std::unique_ptr<schedule::Watch> watch_;
  bool postponed_ = false;
  bool keptAwake_ = false;
  int warningLeft_ = 0;
  int warningLength_ = 0;
  std::chrono::seconds timeOfDay_{0};  // a repeating schedule's, as activated
  bool noticed_ = false;               // the notice ahead told for this target
  // The last look's clocks, for gaps and jumps.
  bool looked_ = false;
  bool resumed_ = false;
  std::chrono::sys_seconds lastUtc_{};
  std::uint32_t lastTick_ = 0;
  // The wake timer, made when first needed, and the local moment it is set for.
  os::Handle wakeTimer_ = 0;
  std::optional<base::LocalTime> wakeAt_;
  bool wakeRefusalTold_ = false;
  bool wokeForIt_ = false;
  bool ended_ = false;  // closed from any phase (End)  // the computer resumed for this schedule: kept awake until done
};

}  // namespace control
