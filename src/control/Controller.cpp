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

Controller::~Controller() {
  KeepAwake(false);
  try {
    WakeFor(std::nullopt);
    if (wakeTimer_) os_.kernel32.CloseHandle(wakeTimer_);
  } catch (const std::exception&) {
  }
}

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
  if (to == Phase::Idle || to == Phase::Ending) wokeForIt_ = false;
  const bool acting = to == Phase::Armed || to == Phase::Warning || to == Phase::Performing;
  KeepAwake((to == Phase::Armed && schedule_.keepAwake) || (wokeForIt_ && acting));
  const bool moment = !schedule_.trigger.IsCondition();
  if (to == Phase::Armed && moment) {
    noticed_ = schedule_.trigger.moment - os_.kernel32.GetLocalTime() <= std::chrono::minutes(schedule_.noticeMinutes);
    looked_ = false;
    Looked();
  }
  const std::vector<Listener*> told = listeners_;
  for (Listener* listener : told)
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) listener->Moved(how, from, to);
  // Last, as it may tell the user: the window shows the new phase first.
  if (phase_ == to)
    WakeFor(to == Phase::Armed && moment && schedule_.wake ? std::optional(schedule_.trigger.moment - kWakeAhead)
                                                          : std::nullopt);
}

void Controller::Tell(const std::string& text) {
  const std::vector<Listener*> told = listeners_;
  for (Listener* listener : told)
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) listener->Told(text);
}

// The timer is set at the absolute moment in UTC (a positive due time in FILETIME units), so
// that it goes off however the computer spends the time until then. A computer that cannot be
// woken (the call succeeds with ERROR_NOT_SUPPORTED) is told so once; the schedule stays.
void Controller::WakeFor(std::optional<base::LocalTime> moment) {
  if (moment == wakeAt_) return;
  wakeAt_ = moment;
  bool set = false;
  try {
    if (!moment) {
      if (wakeTimer_) os_.kernel32.CancelWaitableTimer(wakeTimer_);
      return;
    }
    if (!wakeTimer_) wakeTimer_ = os_.kernel32.CreateWaitableTimerA(false, "");
    std::chrono::sys_seconds utc;
    if (wakeTimer_ && os_.kernel32.TzSpecificLocalTimeToSystemTime(*moment, utc)) {
      constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
      const std::int64_t due = (utc.time_since_epoch().count() + kSecondsFrom1601To1970) * 10000000;
      set = os_.kernel32.SetWaitableTimer(wakeTimer_, due, 0, true) != 0 &&
            os_.kernel32.GetLastError() != os::kErrorNotSupported;
    }
  } catch (const std::exception&) {
    set = false;  // a Windows without waitable timers
  }
  if (set || wakeRefusalTold_ || !host_) return;
  wakeRefusalTold_ = true;
  host_->TellFailure(
      "This computer cannot be woken for the schedule: its hardware or power plan does not allow it. The schedule "
      "stays, and is carried out if the computer is awake then.   ");
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
  schedule::Schedule s = schedule;
  if (s.repeat != schedule::kOnce && !s.trigger.IsCondition()) {
    timeOfDay_ = base::TimeOfDay(s.trigger.moment);
    s.trigger.moment = schedule::NextOccurrence({s.repeat, timeOfDay_}, os_.kernel32.GetLocalTime());
  }
  auto watch = schedule::Arm(s.trigger, os_, refusal);
  if (!watch) return false;
  Activate(s, std::move(watch));
  return true;
}

void Controller::Activate(const schedule::Schedule& schedule, std::unique_ptr<schedule::Watch> watch) {
  if (Leaving() || !watch) return;
  if (phase_ == Phase::Armed) Cancel();
  schedule_ = schedule;
  schedule_.keepAwake = schedule.keepAwake || schedule.trigger.IsCondition();
  if (schedule.trigger.IsCondition()) schedule_.repeat = schedule::kOnce, schedule_.wake = false;
  postponed_ = false;
  wokeForIt_ = false;
  ended_ = false;
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
    if (!Rearm(Transition::Cancel)) Move(Transition::Cancel, Phase::Ending);
    return true;
  }
  return false;
}

bool Controller::Rearm(Transition how) {
  if (schedule_.repeat == schedule::kOnce || schedule_.trigger.IsCondition()) return false;
  postponed_ = false;
  wokeForIt_ = false;
  ArmNext(std::max(os_.kernel32.GetLocalTime(), schedule_.trigger.moment) + std::chrono::seconds(1), how);
  return true;
}

void Controller::ArmNext(base::LocalTime from, Transition how) {
  schedule_.trigger.moment = schedule::NextOccurrence({schedule_.repeat, timeOfDay_}, from);
  std::string refusal;
  watch_ = schedule::Arm(schedule_.trigger, os_, refusal);  // a moment is always armed
  Move(how, Phase::Armed);
}

bool Controller::Looked() {
  const std::chrono::sys_seconds utc = os_.kernel32.GetSystemTime();
  const std::uint32_t tick = os_.kernel32.GetTickCount();
  const std::chrono::milliseconds ticks(static_cast<std::uint32_t>(tick - lastTick_));
  const bool gap = resumed_ || (looked_ && (ticks > kMissedAfter || (utc - lastUtc_) - ticks > kMissedAfter));
  looked_ = true;
  resumed_ = false;
  lastUtc_ = utc;
  lastTick_ = tick;
  return gap;
}

void Controller::NoticeAhead() {
  if (noticed_ || schedule_.noticeMinutes <= 0 || schedule_.trigger.IsCondition()) return;
  const auto left = schedule_.trigger.moment - os_.kernel32.GetLocalTime();
  if (left > std::chrono::minutes(schedule_.noticeMinutes) || left <= std::chrono::seconds(0)) return;
  noticed_ = true;
  const long long minutes = std::max<long long>(1, (left.count() + 59) / 60);
  Tell(schedule::PlainName(schedule_.action) + " in " + std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes") +
       " (" + schedule::ClockTime(schedule_.trigger.moment) + ")");
}

void Controller::Resumed() {
  resumed_ = true;
  if (phase_ == Phase::Armed && schedule_.wake && !schedule_.trigger.IsCondition() &&
      schedule_.trigger.moment - os_.kernel32.GetLocalTime() <= kWakeAhead + std::chrono::minutes(4)) {
    wokeForIt_ = true;
    KeepAwake(true);
  }
  Tick();
}

void Controller::Tick() {
  if (phase_ != Phase::Armed || !watch_) return;
  const bool gap = schedule_.trigger.IsCondition() ? false : Looked();
  // The clock put back by more than a week: the next occurrence is counted from the new time.
  if (schedule_.repeat != schedule::kOnce && !schedule_.trigger.IsCondition() &&
      schedule_.trigger.moment - os_.kernel32.GetLocalTime() > std::chrono::days(8)) {
    ArmNext(os_.kernel32.GetLocalTime(), Transition::Skip);
    return;
  }
  if (!watch_->Fired()) {
    NoticeAhead();
    return;
  }
  const base::LocalTime now = os_.kernel32.GetLocalTime();
  const bool missed = gap && !schedule_.trigger.IsCondition() && now - schedule_.trigger.moment > kMissedAfter;
  if (missed && schedule_.repeat != schedule::kOnce) {
    const std::string what = schedule::PlainName(schedule_.action) + " at " + schedule::ClockTime(schedule_.trigger.moment);
    Rearm(Transition::Skip);
    Tell(what + " was missed; next: " + schedule::DayAndTime(schedule_.trigger.moment));
    return;
  }
  watch_.reset();
  warningLength_ = missed ? std::max(schedule_.countdown, kLeastLateWarning) : schedule_.countdown;
  if (!schedule::WarnsFirst(schedule_.action) || warningLength_ == 0) {
    Move(Transition::Fire, Phase::Performing);
    Perform();
    return;
  }
  warningLeft_ = warningLength_;
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
  const bool failed = refusal.refused || refusal.notOffered || !failure.empty();
  // What leaves Windows ends the program with it; anything else, or a request that failed,
  // lets a repeating schedule wait for its next occurrence.
  if (phase_ == Phase::Performing && ((schedule::LeavesWindows(s.action) && !failed) || !Rearm(Transition::Perform)))
    Move(Transition::Perform, Phase::Ending);
  if ((refusal.refused || refusal.notOffered || !failure.empty()) && host_)
    host_->TellFailure(power::FailureText(os_.kernel32, request, refusal, failure));
}

void Controller::Done() {
  if (phase_ == Phase::AlarmShowing && !Rearm(Transition::Done)) Move(Transition::Done, Phase::Ending);
}

void Controller::End() {
  if (phase_ == Phase::Ending) return;
  ended_ = true;
  watch_.reset();
  Move(Transition::End, Phase::Ending);
}

}  // namespace control
