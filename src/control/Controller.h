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
#pragma once

#include <cstdint>
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
enum class Transition { Activate, Cancel, Fire, Postpone, Perform, Done, End };

// The phase's name, for the status and the notes ("armed", "warning").
std::string PhaseName(Phase phase);

// A view of the schedule's life.
class Listener {
 public:
  // The schedule moved from `from` to `to` (a postpone while armed moves from Armed to Armed).
  virtual void Moved(Transition /*how*/, Phase /*from*/, Phase /*to*/) {}
  // A schedule given from elsewhere without a time, to be shown for the user to activate.
  virtual void Offered(const schedule::Schedule& /*schedule*/) {}

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
  // The computer is kept from sleeping now, for this schedule.
  bool KeptAwake() const { return keptAwake_; }
  // How far an armed condition has come ("CPU below 10 % for 3 of 5 min"); empty otherwise.
  std::string Progress() const;
  // The warning's seconds left, as the countdown last told them.
  int WarningLeft() const { return warningLeft_; }
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
  // the alarm) is carried out at once.
  void Tick();
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
  void Arm(std::unique_ptr<schedule::Watch> watch);
  void Disarm();
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
};

}  // namespace control
