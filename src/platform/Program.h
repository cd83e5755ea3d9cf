// Facts about the running program: its folder and whether another copy already runs.
#pragma once

#include <string>

#include "os/Kernel32.h"

namespace platform {

// The folder the program was started from, without a trailing "\" (except at a drive root,
// such as "C:\").
std::string AppPath(os::Kernel32& kernel32);

// The program's file name without its folder and extension, as "quenlar".
std::string ExeName(os::Kernel32& kernel32);

// The folder with exactly one trailing "\".
std::string WithTrailingBackslash(const std::string& folder);

// True when another copy of the program runs in this logon session. The first copy holds a
// named mutex for as long as it runs; a later copy finds it already there.
bool PrevInstance(os::Kernel32& kernel32);

constexpr const char* kInstanceMutexName = "Local\\Quenlar.Running";
constexpr const char* kInstanceMutexPlainName = "Quenlar.Running";

}  // namespace platform
