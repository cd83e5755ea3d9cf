// Starting a command line and waiting for it to end while the windows stay responsive.
#pragma once

#include <cstdint>
#include <string>

#include "os/Services.h"
#include "ui/Runtime.h"

namespace power {

constexpr std::uint16_t kShowMinimized = 2;  // minimized, with the focus

// The command that switches hibernation on: "POWERCFG.EXE /HIBERNATE ON", the program named by
// its full path in the system folder (quoted when that path holds a blank), so that no file of
// that name beside the program or in the current folder runs in its place. Empty when the
// system folder is unknown: the command is then not to be started at all.
std::string HibernateOnCommand(os::Kernel32& kernel32);

// Starts the command line minimized and returns once its process has ended. Returns false
// when the command could not be started at all (no such program); nothing is raised.
bool ShellWait(const os::Services& services, ui::Runtime& runtime, const std::string& commandLine);

// Waits for the process with this id to end, delivering window messages meanwhile, and
// returns its exit code (0 when the process cannot be opened).
std::uint32_t WaitProcess(const os::Services& services, ui::Runtime& runtime, std::uint32_t processId);

// Waits on a process handle, the same way. The wait sleeps in the system between messages: it
// uses no processor time while the process runs. It ends early when the program ends.
std::uint32_t WaitProcessHandle(const os::Services& services, ui::Runtime& runtime, os::Handle process);

}  // namespace power
