// Handing a command line to the copy of the program that already runs, and carrying out what
// it asks there. The copies talk through the running copy's main window, found by its window
// class: the switches go to it with WM_COPYDATA, and its answer is the exit code, with a text
// for the caller to show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "command/Switches.h"
#include "os/Services.h"

namespace command {

// The main window's class of its own, by which a later copy finds the running one.
constexpr const char* kMainWindowClass = "QuenlarMain";
// What dwData carries: "QNL" and the exchange's version, 1.
constexpr std::uintptr_t kCopyDataKind = 0x514E4C01;
// How long a copy waits for the running one to answer; how long for its window to be there.
constexpr std::uint32_t kAnswerTimeoutMs = 5000;
constexpr std::uint32_t kFindTimeoutMs = 3000;
// What a message may hold at most: it comes from any program of the session.
constexpr std::size_t kLongestPayload = 32 * 1024;

// The arguments as they travel: each ended by a NUL.
std::string Encode(const std::vector<std::string>& args);
// The arguments of a message, or nothing when it is not one of ours: another kind, too long,
// not made of NUL-ended arguments.
std::optional<std::vector<std::string>> Decode(std::uintptr_t kind, const std::string& data);

// Writes a text where the caller sees it: its console or redirected output; where there is
// none (a shortcut started the program), a message box, for an error or an answer the user
// asked for.
void Tell(const os::Services& os, const std::string& text, bool error);

// The later copy's part: finds the running copy's window (waiting a little for a copy still
// starting), sends the arguments, shows the answer's text, and returns the answer as the exit
// code. Nothing of the program's own windows is made.
int HandOver(const os::Services& os, const std::vector<std::string>& args);

}  // namespace command
