// The Windows family the program runs on.
#pragma once

#include <cstdint>
#include <string>

#include "os/Kernel32.h"

namespace power {

struct OSInfo {
  std::int32_t Family = 0;   // 0 other, 1 Windows 95/98/Me, 2 NT family
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

}  // namespace power
