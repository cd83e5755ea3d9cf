#include "control/Controller.h"

#include <algorithm>
#include <chrono>

#include "power/modShutdown.h"
#include "ui/Error.h"

namespace control {
namespace {

using schedule::Action;

// A condition postponed: nothing is watched until the minutes have passed (by the tick count,
// which putting the clock forward or back does not move), then the condition is armed afresh.
// One that can no longer be armed (the program it waited for has ended) is met at that moment.
class PostponedWatch : public schedule::Watch {
 public:
  PostponedWatch(const os::Services& os, const schedule::Trigger& trigger, int minutes)
      : os_(os), trigger_(trigger), start_(os.kernel32.GetTickCount()), delay_(minutes * 60000u) {}
  bool Fired() override {
    if (met_) return true;
    if (!armed_) {
      if (os_.kernel32.GetTickCount() - start_ < delay_) return false;
      std::string refusal;
      armed_ = schedule::Arm(trigger_, os_, refusal);
      if (!armed_) return met_ = true;
    }
    return met_ = armed_->Fired();
  }
  std::string Progress() const override {
    if (armed_) return armed_->Progress();
    const std::uint32_t left = (delay_ - std::min(delay_, os_.kernel32.GetTickCount() - start_) + 59999) / 60000;
    return "postponed, watched again in " + std::to_string(left) + " min";
  }

 private:
  const os::Services& os_;
  schedule::Trigger trigger_;
  std::uint32_t start_;
  std::uint32_t delay_;  // ms
  std::unique_ptr<schedule::Watch> armed_;
  bool met_ = false;
};

}  // namespace

std::string PhaseName(Phase phase) {
  switch (phase) {
    case Phase::Idle: return "idle";
    case Phase::Armed: return "armed";
    case Phase::Warning: return "warning";
    case Phase::Performing: return "performing";
    case Phase::AlarmShowing: return "alarm showing";
    case Phase::Ending: return "ending";
  }
  return "";
}

Controller::~Controller() { KeepAwake(false); }

void Controller::Listen(Listener& listener) {
  if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end()) listeners_.push_back(&listener);
}

void Controller::StopListening(Listener& listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

std::string Controller::Progress() const { return phase_ == Phase::Armed && watch_ ? watch_->Progress() : ""; }

// Each listener hears of the move, except one that stopped listening while an earlier one was
// told (a window unloaded meanwhile).
void Controller::Move(Transition how, Phase to) {
  const Phase from = phase_;
  phase_ = to;
  KeepAwake(to == Phase::Armed && schedule_.keepAwake);
  const std::vector<Listener*> told = listeners_;
  for (Listener* listener : told)
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) listener->Moved(how, from, to);
}

// A Windows without the request (95, NT 4.0) cannot be kept awake: the schedule waits all the same.
void Controller::KeepAwake(bool keep) {
  if (keep == keptAwake_) return;
  try {
    const std::uint32_t flags = keep ? os::kEsContinuous | os::kEsSystemRequired : os::kEsContinuous;
    keptAwake_ = os_.kernel32.SetThreadExecutionState(flags) != 0 && keep;
  } catch (const std::exception&) {
    keptAwake_ = false;
  }
}

bool Controller::Activate(const schedule::Schedule& schedule, std::string& refusal) {
  if (Leaving()) return false;
  auto watch = schedule::Arm(schedule.trigger, os_, refusal);
  if (!watch) return false;
  Activate(schedule, std::move(watch));
  return true;
}

void Controller::Activate(const schedule::Schedule& schedule, std::unique_ptr<schedule::Watch> watch) {
  if (Leaving() || !watch) return;
  if (phase_ == Phase::Armed) Cancel();
  schedule_ = schedule;
  schedule_.keepAwake = schedule.keepAwake || schedule.trigger.IsCondition();
  postponed_ = false;
  watch_ = std::move(watch);
  Move(Transition::Activate, Phase::Armed);
}

void Controller::Offer(const schedule::Schedule& schedule) {
  const std::vector<Listener*> told = listeners_;
  for (Listener* listener : told)
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) listener->Offered(schedule);
}

bool Controller::Cancel() {
  if (phase_ == Phase::Armed) {
    watch_.reset();
    Move(Transition::Cancel, Phase::Idle);
    return true;
  }
  if (phase_ == Phase::Warning) {
    Move(Transition::Cancel, Phase::Ending);
    return true;
  }
  return false;
}

void Controller::Tick() {
  if (phase_ != Phase::Armed || !watch_ || !watch_->Fired()) return;
  watch_.reset();
  if (!schedule::WarnsFirst(schedule_.action) || schedule_.countdown == 0) {
    Move(Transition::Fire, Phase::Performing);
    Perform();
    return;
  }
  warningLeft_ = schedule_.countdown;
  Move(Transition::Fire, Phase::Warning);
}

bool Controller::Postpone(int minutes) {
  if (phase_ != Phase::Armed && phase_ != Phase::Warning) return false;
  if (schedule_.trigger.IsCondition()) {
    watch_ = std::make_unique<PostponedWatch>(os_, schedule_.trigger, minutes);
  } else {
    schedule_.trigger.moment = std::max(os_.kernel32.GetLocalTime(), schedule_.trigger.moment) + std::chrono::minutes(minutes);
    std::string refusal;
    watch_ = schedule::Arm(schedule_.trigger, os_, refusal);  // a moment is always armed
  }
  postponed_ = true;
  Move(Transition::Postpone, Phase::Armed);
  return true;
}

// Starts the chosen program hidden, with "Open"; a file whose type has no "Open" verb (a file
// picked with "All Files") starts with its type's default verb instead.
void Controller::StartProgram(const std::string& path) {
  if (os_.shell32.ShellExecuteA(0, "Open", path, "", "", os::kSwHide) == os::kSeErrNoAssoc)
    os_.shell32.ShellExecuteA(0, "", path, "", "", os::kSwHide);
}

// A failure of Shutdown, Restart or Log Off ends in a forced shutdown, so that the computer
// goes down as the user asked. Hibernate, Stand by, Lock, the display and the alarm are not
// replaced by anything: the user who asked for them must not lose the work of every open
// program. Any request that did not happen is told, naming that request. The display is turned
// off through the host's window; a controller without a host has none to ask.
void Controller::Perform() {
  if (phase_ == Phase::Warning) Move(Transition::Perform, Phase::Performing);
  if (phase_ != Phase::Performing) return;
  const schedule::Schedule s = schedule_;
  power::Refusal refusal;
  std::string request = schedule::PlainName(s.action);  // the request that did not happen
  std::string failure;                                  // the run-time error, when that is why
  try {
    // The chosen program starts whenever a path is set, ticked or not, one second ahead.
    if (!s.program.empty() && s.action != Action::Alarm) {
      StartProgram(s.program);
      if (host_ && !host_->WaitSeconds(1)) return;  // the program was ended meanwhile: nothing more is done
    }
    if (s.action == Action::Alarm)
      Move(Transition::Perform, Phase::AlarmShowing);  // the alarm window's turn
    else if (s.action == Action::Display && host_)
      host_->TurnOffDisplay();
    else if (s.action == Action::Display)
      failure = "There is no window to ask Windows with.";
    else
      power::Perform(os_, family_, s.action, s.forced, refusal);
  } catch (const std::exception& error) {
    refusal = {};
    if (!schedule::LeavesWindows(s.action)) {
      failure = ui::DescribeError(error);
    } else {
      request = schedule::PlainName(Action::Shutdown);
      power::ExitWin(os_, family_, os::kEwxShutdown, true, &refusal);  // its own failure reaches the caller
    }
  }
  if (phase_ == Phase::Performing) Move(Transition::Perform, Phase::Ending);
  if ((refusal.refused || refusal.notOffered || !failure.empty()) && host_)
    host_->TellFailure(power::FailureText(os_.kernel32, request, refusal, failure));
}

void Controller::Done() {
  if (phase_ == Phase::AlarmShowing) Move(Transition::Done, Phase::Ending);
}

void Controller::End() {
  if (phase_ == Phase::Ending) return;
  watch_.reset();
  Move(Transition::End, Phase::Ending);
}

}  // namespace control
