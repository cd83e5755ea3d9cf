#include "power/modShutdown.h"

namespace power {

OSInfo ClassifyVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  OSInfo info;
  info.Build = static_cast<std::int32_t>(build);
  info.VersionText = std::to_string(major) + "." + std::to_string(minor);
  if (platformId == 1) {
    info.Family = kFamily9x;
    info.Release = minor == 0 ? 1 : minor == 10 ? 2 : minor == 90 ? 3 : 0;
  } else if (platformId == 2) {
    info.Family = kFamilyNT;
    info.Release = major < 5 ? 4 : major == 5 && minor == 0 ? 5 : major == 5 && minor == 1 ? 6 : 0;
  }
  return info;
}

OSInfo GetOSInfo(os::Kernel32& kernel32) {
  os::OsVersionInfo version;  // all numbers stay 0 when the query fails
  version.dwOSVersionInfoSize = 148;
  if (kernel32.GetVersionExA(version) == 0) version = os::OsVersionInfo{};
  return ClassifyVersion(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
}

std::string GetOSName(os::Kernel32& kernel32) {
  switch (GetOSInfo(kernel32).Family) {
    case kFamily9x:
      return "Windows 9x|ME";
    case kFamilyNT:
      return "Windows NT";
    default:
      return "Windows 32";
  }
}

std::int32_t GetOSType(os::Kernel32& kernel32) {
  switch (GetOSInfo(kernel32).Family) {
    case kFamilyNT:
      return 0;
    case kFamily9x:
      return 1;
    default:
      return 2;
  }
}

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

bool ExitWin(const os::Services& os, std::int32_t flags, bool force, Refusal* refusal) {
  std::uint32_t effective = static_cast<std::uint32_t>(flags) | (force ? os::kEwxForce : 0);
  if (GetOSInfo(os.kernel32).Family != kFamilyNT) return Accepted(os, os.user32.ExitWindowsEx(effective, 0), refusal);
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

bool SuspendPC(const os::Services& os, std::int32_t hibernate, bool force, bool disableWake, Refusal* refusal) {
  if (GetOSInfo(os.kernel32).Family != kFamilyNT) return NotOffered(refusal);
  return Accepted(os, os.powrprof.SetSuspendState(hibernate != 0, force, disableWake), refusal);
}

bool LockPC(const os::Services& os, Refusal* refusal) {
  if (GetOSInfo(os.kernel32).Family != kFamilyNT) return NotOffered(refusal);
  return Accepted(os, os.user32.LockWorkStation(), refusal);
}

}  // namespace power
