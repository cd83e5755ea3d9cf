#include "app/Commands.h"

#include "command/HandOver.h"
#include "platform/Program.h"
#include "power/modShutdown.h"
#include "schedule/Trigger.h"
#include "schedule/Watch.h"
#include "ui/Runtime.h"

namespace app {
namespace {

using command::Request;
using schedule::Action;

// The program ends once the current message has been answered.
void PostQuit(session::ProgramState& state, ui::Runtime& runtime) {
  runtime.Post([&state] {
    state.Control.End();
    if (state.main) state.main->Unload();
  });
}

}  // namespace

std::string WhyNotOffered(const session::ProgramState& state, Action action) {
  switch (action) {
    case Action::StandBy:
      return power::StandByOffered(state.os, state.Family) ? "" : "This computer does not offer stand by.";
    case Action::Lock:
      return power::LockOffered(state.os, state.Family) ? "" : "This computer does not offer locking.";
    case Action::Hibernate:
      return power::HibernateAllowed(state.os) ? "" : "Hibernation is switched off on this computer.";
    default:
      return "";
  }
}

std::string WhyRefused(const session::ProgramState& state, const Request& request, int& code) {
  if (request.verb != Request::Verb::Schedule) return "";
  if (std::string why = WhyNotOffered(state, *request.action); !why.empty()) {
    code = command::kNotOffered;
    return why;
  }
  if (request.sound && !state.os.files.FileExists(*request.sound)) {
    code = command::kFileNotFound;
    return "The sound file " + *request.sound + " does not exist.";
  }
  if (request.when && request.when->kind == command::When::Kind::Condition) {
    const schedule::Trigger& condition = request.when->condition;
    if (std::string why = schedule::WhyNotWatched(condition.kind, state.os); !why.empty()) {
      code = command::kNotOffered;
      return why;
    }
    // Armed once to see that it can be (the program runs), then let go.
    std::string refusal;
    if (!schedule::Arm(condition, state.os, refusal)) {
      code = command::kNotFound;
      return refusal;
    }
  }
  return "";
}

// The request goes to the schedule's controller, whose views (the windows) show what it does;
// no control is written here. A schedule takes the options the window shows for what the
// switches leave out.
int CarryOut(session::ProgramState& state, ui::Runtime& runtime, const Request& request, std::string& reply) {
  control::Controller& life = state.Control;
  switch (request.verb) {
    case Request::Verb::Usage:
      reply = command::UsageText();
      return command::kDone;
    case Request::Verb::Status:
      reply = StatusText(state);
      return command::kDone;
    case Request::Verb::Show:
      runtime.Post([&state] {
        if (!state.Control.Leaving() && state.main) state.main->RestoreFromTray();
      });
      return command::kDone;
    case Request::Verb::Quit:
      PostQuit(state, runtime);
      return command::kDone;
    case Request::Verb::Cancel:
      if (life.Armed()) {
        life.Cancel();
        return command::kDone;
      }
      if (life.GetPhase() == control::Phase::Warning) {
        // The warning tells the user of it, with a message box: after this answer has gone.
        runtime.Post([&state] { state.Control.Cancel(); });
        return command::kDone;
      }
      reply = "Nothing to cancel: no schedule is active.";
      return command::kNothingToCancel;
    case Request::Verb::Postpone:
      if (life.Postpone(request.minutes)) return command::kDone;
      reply = "Nothing to postpone: no schedule is active.";
      return command::kNothingToCancel;
    case Request::Verb::Startup:
      reply = "/startup is for Windows to start the program with, not for a running copy.";
      return command::kUsageError;
    case Request::Verb::Schedule:
      break;
  }
  if (request.action == Action::Display && !request.when) {
    // Not a schedule: the display goes off now, whatever is scheduled, as from the menu.
    if (!state.main) {
      reply = "There is no window to turn the display off with.";
      return command::kNotOffered;
    }
    state.main->TurnOffDisplay();
    return command::kDone;
  }
  if (life.GetPhase() != control::Phase::Idle) {
    reply = "A schedule is already active: cancel it first with /a.";
    return command::kAlreadyActive;
  }
  int refused = command::kDone;
  if (std::string why = WhyRefused(state, request, refused); !why.empty()) {
    reply = why;
    return refused;
  }
  const Action action = *request.action;
  const base::LocalTime now = state.os.kernel32.GetLocalTime();
  schedule::Schedule s = state.main ? state.main->OptionsFromWindow() : schedule::Schedule{};
  s.action = action;
  s.forced = request.forced;
  if (request.warning) s.countdown = *request.warning;
  if (request.program) s.program = *request.program;
  if (action == Action::Alarm) {
    s.message = request.message;
    if (request.sound) s.playSound = true, s.soundFile = *request.sound;
  }
  if (!request.when) {
    life.Offer(s);
    return command::kDone;
  }
  const command::When& when = *request.when;
  if (when.kind == command::When::Kind::Condition) {
    s.trigger = when.condition;
  } else if (when.kind == command::When::Kind::After) {
    s.trigger = schedule::Trigger::At(now + std::chrono::seconds(when.seconds));
    s.inSeconds = when.seconds;
  } else {
    s.trigger = schedule::Trigger::At(schedule::MomentAt(
        now, base::DateOf(now) + std::chrono::hours(when.hour) + std::chrono::minutes(when.minute) +
                 std::chrono::seconds(when.second)));
    s.repeat = request.repeat;
    s.noticeMinutes = state.NoticeFor(s.repeat != schedule::kOnce);
  }
  if (std::string refusal; !life.Activate(s, refusal)) {
    reply = refusal;
    return command::kNotFound;  // the program ended since it was looked for
  }
  if (request.tray && state.main) state.main->MinimizeToTray();
  return command::kDone;
}

int CarryOut(session::ProgramState& state, ui::Runtime& runtime, std::uintptr_t kind, const std::string& data,
             std::string& reply) {
  auto args = command::Decode(kind, data);
  if (!args) return command::kUsageError;
  command::Parsed parsed = command::Parse(*args);
  if (!parsed.request) {
    reply = parsed.error;
    return command::kUsageError;
  }
  return CarryOut(state, runtime, *parsed.request, reply);
}

// An exit code: the program ends with it.
Start Ending(int code) { return {code, std::nullopt}; }

Start Begin(session::ProgramState& state) {
  const os::Services& os = state.os;
  const std::vector<std::string> args = command::SplitCommandLine(os.kernel32.GetCommandLineA());
  if (args.empty()) return {std::nullopt, std::nullopt};
  command::Parsed parsed = command::Parse(args);
  if (!parsed.request) {
    command::Tell(os, "quenlar: " + parsed.error + "\n\n" + command::UsageText(), true);
    return Ending(command::kUsageError);
  }
  const Request& request = *parsed.request;
  if (request.verb == Request::Verb::Usage) {
    command::Tell(os, command::UsageText(), false);
    return Ending(command::kDone);
  }
  if (request.verb == Request::Verb::Startup) {
    // Otherwise as with no switches: a copy already running is found as then.
    state.StartedWithWindows = true;
    return {std::nullopt, std::nullopt};
  }
  if (platform::PrevInstance(os.kernel32)) return Ending(command::HandOver(os, args));
  state.FirstCopy = true;
  if (request.verb != Request::Verb::Schedule) {
    command::Tell(os, "Quenlar is not running.", true);
    return Ending(command::kNotRunning);
  }
  state.Family = platform::AskWindowsFamily(os.kernel32);
  int code = command::kDone;
  if (std::string why = WhyRefused(state, request, code); !why.empty()) {
    command::Tell(os, why, true);
    return Ending(code);
  }
  return {std::nullopt, request};
}

// A display turned off at once leaves nothing to wait for: the program ends, as after a
// schedule carried out.
void CarryOutAtStart(session::ProgramState& state, ui::Runtime& runtime, const command::Request& request) {
  std::string reply;
  if (CarryOut(state, runtime, request, reply) != command::kDone) command::Tell(state.os, reply, true);
  if (request.action == Action::Display && !request.when) PostQuit(state, runtime);
}

std::string StatusText(const session::ProgramState& state) {
  const control::Controller& life = state.Control;
  if (life.GetPhase() == control::Phase::Warning)
    return state.ActionText() + " in " + std::to_string(life.WarningLeft()) + " seconds: the warning is up.";
  if (life.Leaving()) return state.ActionText() + ": carried out.";
  if (!life.Armed() || !state.main) return "Idle.";
  const std::string awake = life.KeptAwake() ? "; the computer is kept awake" : "";
  if (life.Schedule().trigger.IsCondition()) return state.main->StatusCaption() + "; " + life.Progress() + awake + ".";
  const auto left = std::chrono::duration_cast<std::chrono::seconds>(state.TargetTime() -
                                                                     state.os.kernel32.GetLocalTime());
  return state.main->StatusCaption() + "; " + std::to_string(std::max<long long>(left.count(), 0)) + " seconds left" +
         awake + ".";
}

}  // namespace app
