// The Windows family the program runs on, the shutdown privilege, and the power requests:
// leaving Windows, suspending the computer, locking the workstation.
#pragma once

#include <cstdint>
#include <string>

#include "os/Kernel32.h"
#include "os/Services.h"

namespace power {

// The families OSInfo::Family names; 0 is any other.
constexpr std::int32_t kFamily9x = 1;  // Windows 95, 98, Me
constexpr std::int32_t kFamilyNT = 2;  // NT 3.51 and later

struct OSInfo {
  std::int32_t Family = 0;   // kFamily9x, kFamilyNT or 0
  std::int32_t Release = 0;  // 1 95, 2 98, 3 Me, 4 NT 3.51/4.0, 5 2000, 6 XP, 0 any other
  std::int32_t Build = 0;
  std::string VersionText;   // "major.minor", e.g. 5.1
};

// Classifies the numbers the version query reports.
OSInfo ClassifyVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor, std::uint32_t build);

// Asks the system afresh on every call; a failed query reads as all zeros.
OSInfo GetOSInfo(os::Kernel32& kernel32);
// "Windows 32", "Windows 9x|ME" or "Windows NT".
std::string GetOSName(os::Kernel32& kernel32);
// 0 NT family, 1 Windows 95/98/Me, 2 anything else.
std::int32_t GetOSType(os::Kernel32& kernel32);

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
// A function the system lacks is a run-time error.

// Shuts down, restarts or logs off (the EWX_ flags), adding EWX_FORCE when forced. On the NT
// family the shutdown privilege is on during the request and off again after it, whatever
// the request gives.
bool ExitWin(const os::Services& os, std::int32_t flags, bool force, Refusal* refusal = nullptr);
// Hibernates (hibernate 1) or stands by (0), on the NT family only; false at once elsewhere,
// the request not offered.
bool SuspendPC(const os::Services& os, std::int32_t hibernate, bool force, bool disableWake,
               Refusal* refusal = nullptr);
// Locks the workstation, on the NT family only; false at once elsewhere, the request not
// offered.
bool LockPC(const os::Services& os, Refusal* refusal = nullptr);

}  // namespace power
