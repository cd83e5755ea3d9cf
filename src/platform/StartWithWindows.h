// Whether Windows starts the program when the user logs on. The entry is a value of the user's
// own Run key, HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run: it belongs to the
// user alone (a copy installed for every user is started for each user who asks for it, and
// writing it needs no administrator), it needs no COM and no shell link (as a shortcut in the
// Startup folder would), and every Windows the program runs on reads it at logon.
#pragma once

#include <string>

#include "os/Services.h"

namespace platform {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Quenlar";
// What the program is given when Windows starts it.
constexpr const char* kStartupSwitch = "/startup";

// The command the entry holds: the running program's full path in quotes, then /startup. Empty
// when the path holds a "?": no file name has one, and Windows 95, 98 and Me give it in place of
// what their code page cannot write, a path no entry could start.
std::string StartupCommand(os::Kernel32& kernel32);

// True when the entry is there and starts this program where it now is. An entry that names
// another path (the program was moved, or another copy wrote it) is not this program's.
bool StartsWithWindows(const os::Services& os);

// Writes the entry (`on`) or removes it. False, with the reason in a sentence, when that could
// not be done; removing an entry that is not there is done. Never throws.
bool SetStartWithWindows(const os::Services& os, bool on, std::string& reason);

}  // namespace platform
