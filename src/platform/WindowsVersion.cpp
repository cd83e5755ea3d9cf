#include "platform/WindowsVersion.h"

namespace platform {

OSInfo ClassifyVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  OSInfo info;
  info.Build = static_cast<std::int32_t>(build);
  info.VersionText = std::to_string(major) + "." + std::to_string(minor);
  if (platformId == 1) {
    info.Family = static_cast<std::int32_t>(WindowsFamily::Win9x);
    info.Release = minor == 0 ? 1 : minor == 10 ? 2 : minor == 90 ? 3 : 0;
  } else if (platformId == 2) {
    info.Family = static_cast<std::int32_t>(WindowsFamily::NT);
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

std::string GetOSName(WindowsFamily family) {
  switch (family) {
    case WindowsFamily::Win9x:
      return "Windows 9x|ME";
    case WindowsFamily::NT:
      return "Windows NT";
    default:
      return "Windows 32";
  }
}

std::int32_t GetOSType(WindowsFamily family) {
  switch (family) {
    case WindowsFamily::NT:
      return 0;
    case WindowsFamily::Win9x:
      return 1;
    default:
      return 2;
  }
}

WindowsFamily AskWindowsFamily(os::Kernel32& kernel32) {
  try {
    return static_cast<WindowsFamily>(GetOSInfo(kernel32).Family);
  } catch (const std::exception&) {
    return WindowsFamily::Other;
  }
}

}  // namespace platform
