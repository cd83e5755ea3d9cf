// Which Windows the program runs on: the version record as Windows reports it, its
// classification, and the family the program asks once, at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "os/Kernel32.h"

namespace platform {

// The families OSInfo::Family names.
enum class WindowsFamily : std::int32_t {
  Other = 0,  // Win32s, or a platform unknown to the program
  Win9x = 1,  // Windows 95, 98, Me
  NT = 2,     // NT 3.51 and later
};

struct OSInfo {
  std::int32_t Family = 0;   // a WindowsFamily
  std::int32_t Release = 0;  // 1 95, 2 98, 3 Me, 4 NT 3.51/4.0, 5 2000, 6 XP, 0 any other
  std::int32_t Build = 0;
  std::string VersionText;   // "major.minor", e.g. 5.1
};

// Classifies the numbers the version query reports.
OSInfo ClassifyVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor, std::uint32_t build);

// Asks the system; a failed query reads as all zeros.
OSInfo GetOSInfo(os::Kernel32& kernel32);
// "Windows 32", "Windows 9x|ME" or "Windows NT".
std::string GetOSName(WindowsFamily family);
// 0 NT family, 1 Windows 95/98/Me, 2 anything else.
std::int32_t GetOSType(WindowsFamily family);

// The family, asked once when the program starts; a failed query gives Other.
WindowsFamily AskWindowsFamily(os::Kernel32& kernel32);

}  // namespace platform
