// The shutdown privilege and the power requests: leaving Windows, suspending the computer,
// locking the workstation; and carrying out a schedule's action with them.
#pragma once

#include <cstdint>
#include <string>

#include "os/Services.h"
#include "platform/WindowsVersion.h"
#include "schedule/Action.h"

namespace power {

// Switches "SeShutdownPrivilege" of the program's own token on or off (off always writes the
// attributes 0). No step's result is looked at; nothing is reported.
void SetShutdownPriv(const os::Services& os, bool enable);

// A request Windows refused, with the error it gave; or one this Windows does not offer at
// all, which was not made.
struct Refusal {
  bool refused = false;
  std::uint32_t error = 0;
  bool notOffered = false;
};

// The operations below return true when Windows accepted the request. When Windows was asked
// and refused, the refusal (the GetLastError code right after the call) goes into `refusal`.
// A function the system lacks is a run-time error. `family` is the one the program asked at
// start-up.

// Shuts down, restarts or logs off (the EWX_ flags), adding EWX_FORCE when forced. On the NT
// family the shutdown privilege is on during the request and off again after it, whatever
// the request gives.
bool ExitWin(const os::Services& os, platform::WindowsFamily family, std::int32_t flags, bool force,
             Refusal* refusal = nullptr);
// Hibernates (hibernate 1) or stands by (0), on the NT family only; false at once elsewhere,
// the request not offered.
bool SuspendPC(const os::Services& os, platform::WindowsFamily family, std::int32_t hibernate, bool force,
               bool disableWake, Refusal* refusal = nullptr);
// Locks the workstation, on the NT family only; false at once elsewhere, the request not
// offered.
bool LockPC(const os::Services& os, platform::WindowsFamily family, Refusal* refusal = nullptr);

// Carries out one of the six power actions (the alarm and the display are none of them: nothing
// happens for them)
// with the request it stands for: shut down (EWX_SHUTDOWN), restart, log off, hibernate, stand
// by or lock, forced where the request knows of it.
bool Perform(const os::Services& os, platform::WindowsFamily family, schedule::Action action, bool forced,
             Refusal& refusal);

// What this computer offers. Stand by: where Windows says the computer can stand by, on the NT
// family (Windows 95, 98 and Me return from the request at once without standing by), with the
// function that asks for it. Lock: on the NT family, where user32 has LockWorkStation (NT 4.0
// has not). Hibernate: where hibernation is switched on. A system without the power-management
// library offers neither stand-by nor hibernation.
bool StandByOffered(const os::Services& os, platform::WindowsFamily family);
bool LockOffered(const os::Services& os, platform::WindowsFamily family);
bool HibernateAllowed(const os::Services& os);

// What the user is told of a request that did not happen: "<request> could not be performed",
// then why: Windows refused it (with Windows' own text for the error), this Windows does not
// offer it, or the run-time error `failure`.
std::string FailureText(os::Kernel32& kernel32, const std::string& request, const Refusal& refusal,
                        const std::string& failure);

}  // namespace power
