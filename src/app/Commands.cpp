#include "app/Commands.h"

#include "app/frmMain.h"
#include "command/HandOver.h"
#include "countdown/frmAction.h"
#include "platform/Program.h"
#include "power/modShutdown.h"
#include "schedule/Trigger.h"
#include "schedule/Watch.h"
#include "ui/Runtime.h"

namespace app {
namespace {

using command::Request;
using schedule::Action;

// The "In" or "At" entry showing a time given on the command line, as the user would have
// entered it, in the largest unit that holds it exactly; an amount the entry cannot hold leaves it.
void ShowWhen(frmMain& main, const command::When& when, base::LocalTime now) {
  if (when.kind == command::When::Kind::At) {
    main.optTime[0].SetValue(true);
    main.ActTime.SetValue(base::DateOf(now) + std::chrono::hours(when.hour) + std::chrono::minutes(when.minute) +
                          std::chrono::seconds(when.second));
    return;
  }
  const long long seconds = when.seconds;
  int unit = -1;
  long long amount = 0;
  if (seconds % 3600 == 0 && seconds / 3600 >= 1 && seconds / 3600 <= 999) {
    unit = 0, amount = seconds / 3600;
  } else if (seconds % 60 == 0 && seconds / 60 >= 1 && seconds / 60 <= 999) {
    unit = 1, amount = seconds / 60;
  } else if (seconds >= 5 && seconds <= 999) {
    unit = 2, amount = seconds;
  }
  if (unit < 0) return;
  main.optTime[1].SetValue(true);
  main.cboTimeUnit.SetListIndex(unit);
  main.txtPeriod.SetText(std::to_string(amount));
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

int CarryOut(frmMain& main, const Request& request, std::string& reply) {
  session::ProgramState& state = main.State();
  ui::Runtime& runtime = main.GetRuntime();
  const bool fired = state.ExitNow || main.Countdown();
  switch (request.verb) {
    case Request::Verb::Usage:
      reply = command::UsageText();
      return command::kDone;
    case Request::Verb::Status:
      reply = StatusText(main);
      return command::kDone;
    case Request::Verb::Show:
      runtime.Post([&main] {
        if (!main.State().ExitNow) main.RestoreFromTray();
      });
      return command::kDone;
    case Request::Verb::Quit:
      runtime.Post([&main] {
        main.State().ExitNow = true;
        main.Unload();
      });
      return command::kDone;
    case Request::Verb::Cancel:
      if (main.ScheduleActive()) {
        main.cmdActivate_Click();
        main.mnu_activate.SetCaption(main.cmdActivate.Caption());
        return command::kDone;
      }
      if (main.Countdown()) {
        runtime.Post([&main] {
          if (countdown::frmAction* warning = main.Countdown()) warning->cmdCancel_Click();
        });
        return command::kDone;
      }
      reply = "Nothing to cancel: no schedule is active.";
      return command::kNothingToCancel;
    case Request::Verb::Schedule:
      break;
  }
  if (main.ScheduleActive() || fired) {
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
  schedule::Schedule s = main.ScheduleFromWindow(now);
  s.action = action;
  s.forced = request.forced;
  if (request.warning) s.countdown = *request.warning;
  if (request.program) s.program = *request.program;
  if (action == Action::Alarm) {
    s.message = request.message;
    if (request.sound) s.playSound = true, s.soundFile = *request.sound;
  }
  if (!request.when) {
    main.ShowSchedule(s);
    return command::kDone;
  }
  const command::When& when = *request.when;
  if (when.kind == command::When::Kind::Condition) {
    s.trigger = when.condition;
  } else {
    ShowWhen(main, when, now);
    s.trigger = schedule::Trigger::At(
        when.kind == command::When::Kind::After
            ? now + std::chrono::seconds(when.seconds)
            : schedule::MomentAt(now, base::DateOf(now) + std::chrono::hours(when.hour) +
                                          std::chrono::minutes(when.minute) + std::chrono::seconds(when.second)));
  }
  if (std::string refusal; !main.Activate(s, refusal)) {
    reply = refusal;
    return command::kNotFound;  // the program ended since it was looked for
  }
  if (request.tray && main.ScheduleActive() && main.Visible()) main.cmdTray_Click();
  return command::kDone;
}

int CarryOut(frmMain& main, std::uintptr_t kind, const std::string& data, std::string& reply) {
  auto args = command::Decode(kind, data);
  if (!args) return command::kUsageError;
  command::Parsed parsed = command::Parse(*args);
  if (!parsed.request) {
    reply = parsed.error;
    return command::kUsageError;
  }
  return CarryOut(main, *parsed.request, reply);
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

void CarryOutAtStart(frmMain& main, const command::Request& request) {
  std::string reply;
  if (CarryOut(main, request, reply) != command::kDone) command::Tell(main.State().os, reply, true);
}

std::string StatusText(frmMain& main) {
  session::ProgramState& state = main.State();
  if (countdown::frmAction* warning = main.Countdown())
    return state.ActionText() + " in " + std::to_string(warning->Remaining()) + " seconds: the warning is up.";
  if (state.ExitNow) return state.ActionText() + ": carried out.";
  if (!main.ScheduleActive()) return "Idle.";
  if (state.Schedule.trigger.IsCondition()) return main.StatusCaption() + "; " + main.ConditionProgress() + ".";
  const auto left = std::chrono::duration_cast<std::chrono::seconds>(state.TargetTime() -
                                                                     state.os.kernel32.GetLocalTime());
  return main.StatusCaption() + "; " + std::to_string(std::max<long long>(left.count(), 0)) + " seconds left.";
}

}  // namespace app
