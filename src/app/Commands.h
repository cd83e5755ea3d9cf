// A command line carried out by the running program: the first copy started with switches, or
// the copy that runs when a later one hands its switches over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "command/Switches.h"
#include "session/ProgramState.h"
#include "ui/Runtime.h"

namespace app {

// Why this computer does not offer the action ("" when it does): stand-by, locking and
// hibernation depend on the system; nothing is switched on without the user.
std::string WhyNotOffered(const session::ProgramState& state, schedule::Action action);

// Why the request cannot be carried out here (and its exit code in `code`), or "": the action
// not offered, the alarm's sound file missing.
std::string WhyRefused(const session::ProgramState& state, const command::Request& request, int& code);

// Carries out a request and returns its exit code; `reply` is the text for the caller (the
// state, or why the request was refused). A new schedule while one is active is refused; a
// cancel, a show and a quit happen once this event has returned.
int CarryOut(session::ProgramState& state, ui::Runtime& runtime, const command::Request& request, std::string& reply);

// The same for the arguments another copy sent: checked first, as any program may send them.
int CarryOut(session::ProgramState& state, ui::Runtime& runtime, std::uintptr_t kind, const std::string& data,
             std::string& reply);

// The running copy's state: idle, or the action, its moment and the seconds left, and whether
// the computer is kept awake for it.
std::string StatusText(const session::ProgramState& state);

// What the command line asks before any window is made. With no switches: nothing, the program
// starts as always. A refused line (its reason and the usage shown), /?, a request handed to the
// copy already running, or one that asks a copy that does not run: the exit code, the program
// ends. Otherwise the request this copy carries out once its window is up; this copy then is
// the only one running.
struct Start {
  std::optional<int> exitCode;
  std::optional<command::Request> request;
};
Start Begin(session::ProgramState& state);

// The first copy's request, once its window is up; a refusal (none is expected: Begin checked)
// is told as to a later copy.
void CarryOutAtStart(session::ProgramState& state, ui::Runtime& runtime, const command::Request& request);

}  // namespace app
