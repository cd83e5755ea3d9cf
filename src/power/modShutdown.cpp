#include "power/modShutdown.h"

#include "platform/ErrorText.h"

namespace power {

void SetShutdownPriv(const os::Services& os, bool enable) {
  os::Handle process = os.kernel32.GetCurrentProcess();
  os::Handle token = 0;
  os.advapi32.OpenProcessToken(process, os::kTokenAdjustPrivileges | os::kTokenQuery, token);
  os::Luid luid;
  os.advapi32.LookupPrivilegeValueA("", os::kSeShutdownName, luid);
  os::TokenPrivileges wanted{1, {{{luid, enable ? os::kSePrivilegeEnabled : 0}}}};
  os::TokenPrivileges previous;
  std::uint32_t length = 0;
  os.advapi32.AdjustTokenPrivileges(token, false, wanted, os::kTokenPrivilegesSize, previous, length);
  os.kernel32.CloseHandle(token);
}

namespace {

// Whether Windows accepted a request; the error of a refusal is read at once, before any
// other call can overwrite it.
bool Accepted(const os::Services& os, std::int32_t result, Refusal* refusal) {
  if (result != 0) return true;
  if (refusal) *refusal = {true, os.kernel32.GetLastError()};
  return false;
}

// Not offered on this family: the caller learns that nothing was asked.
bool NotOffered(Refusal* refusal) {
  if (refusal) *refusal = {false, 0, true};
  return false;
}

}  // namespace

using platform::WindowsFamily;

bool ExitWin(const os::Services& os, WindowsFamily family, std::int32_t flags, bool force, Refusal* refusal) {
  std::uint32_t effective = static_cast<std::uint32_t>(flags) | (force ? os::kEwxForce : 0);
  if (family != WindowsFamily::NT) return Accepted(os, os.user32.ExitWindowsEx(effective, 0), refusal);
  SetShutdownPriv(os, true);
  bool accepted;
  try {
    accepted = Accepted(os, os.user32.ExitWindowsEx(effective, 0), refusal);
  } catch (...) {
    SetShutdownPriv(os, false);
    throw;
  }
  SetShutdownPriv(os, false);
  return accepted;
}

bool SuspendPC(const os::Services& os, WindowsFamily family, std::int32_t hibernate, bool force, bool disableWake,
               Refusal* refusal) {
  if (family != WindowsFamily::NT) return NotOffered(refusal);
  return Accepted(os, os.powrprof.SetSuspendState(hibernate != 0, force, disableWake), refusal);
}

bool LockPC(const os::Services& os, WindowsFamily family, Refusal* refusal) {
  if (family != WindowsFamily::NT) return NotOffered(refusal);
  return Accepted(os, os.user32.LockWorkStation(), refusal);
}

bool Perform(const os::Services& os, WindowsFamily family, schedule::Action action, bool forced, Refusal& refusal) {
  using schedule::Action;
  switch (action) {
    case Action::Shutdown:
      return ExitWin(os, family, os::kEwxShutdown, forced, &refusal);
    case Action::Restart:
      return ExitWin(os, family, os::kEwxReboot, forced, &refusal);
    case Action::LogOff:
      return ExitWin(os, family, os::kEwxLogoff, forced, &refusal);
    case Action::Hibernate:
      return SuspendPC(os, family, 1, forced, false, &refusal);
    case Action::StandBy:
      return SuspendPC(os, family, 0, forced, false, &refusal);
    case Action::Lock:
      return LockPC(os, family, &refusal);
    case Action::Alarm:
    case Action::Display:
      break;
  }
  return false;
}

bool StandByOffered(const os::Services& os, WindowsFamily family) {
  try {
    return family == WindowsFamily::NT && os.kernel32.GetProcAddress("powrprof.dll", "SetSuspendState") != 0 &&
           os.powrprof.IsPwrSuspendAllowed() != 0;
  } catch (const std::exception&) {
    return false;
  }
}

bool LockOffered(const os::Services& os, WindowsFamily family) {
  return family == WindowsFamily::NT && os.kernel32.GetProcAddress("user32.dll", "LockWorkStation") != 0;
}

bool HibernateAllowed(const os::Services& os) {
  try {
    return os.powrprof.IsPwrHibernateAllowed() != 0;
  } catch (const std::exception&) {
    return false;
  }
}

std::string FailureText(os::Kernel32& kernel32, const std::string& request, const Refusal& refusal,
                        const std::string& failure) {
  std::string text = request + " could not be performed";
  if (refusal.refused) {
    return text + ": Windows refused the request.\r\n\r\n" + platform::ErrorText(kernel32, refusal.error);
  }
  if (refusal.notOffered) return text + ": this version of Windows does not offer it.";
  return text + ".\r\n\r\n" + failure;
}

}  // namespace power
