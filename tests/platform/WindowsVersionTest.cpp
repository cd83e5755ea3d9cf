// Which Windows the program runs on: the classification of the version numbers, and the
// family's names.
#include "platform/WindowsVersion.h"

#include <gtest/gtest.h>

#include "os/fake/FakeServices.h"

namespace {

using platform::ClassifyVersion;

TEST(ClassifyVersion, TellsTheFamiliesAndReleasesApart) {
  struct Case {
    std::uint32_t platform, major, minor;
    int family, release;
  } cases[] = {
      {1, 4, 0, 1, 1},  {1, 4, 10, 1, 2}, {1, 4, 90, 1, 3}, {1, 4, 20, 1, 0}, {2, 3, 51, 2, 4}, {2, 4, 0, 2, 4},
      {2, 5, 0, 2, 5},  {2, 5, 1, 2, 6},  {2, 5, 2, 2, 0},  {2, 6, 0, 2, 0}, {0, 3, 11, 0, 0}, {3, 5, 0, 0, 0},
  };
  for (const auto& c : cases) {
    platform::OSInfo info = ClassifyVersion(c.platform, c.major, c.minor, 1234);
    EXPECT_EQ(info.Family, c.family) << c.platform << " " << c.major << "." << c.minor;
    EXPECT_EQ(info.Release, c.release) << c.platform << " " << c.major << "." << c.minor;
    EXPECT_EQ(info.Build, 1234);
  }
  EXPECT_EQ(ClassifyVersion(1, 4, 90, 0).VersionText, "4.90");
  EXPECT_EQ(ClassifyVersion(2, 5, 1, 0).VersionText, "5.1");
}

TEST(GetOSName, NamesTheFamilyAndAFailedQueryReadsAsOther) {
  os::fake::CallLog log;
  os::fake::VirtualClock clock;
  os::fake::Kernel32 fake(log, clock);
  auto family = [](os::Kernel32& kernel32) { return platform::AskWindowsFamily(kernel32); };
  EXPECT_EQ(platform::GetOSName(family(fake)), "Windows NT");
  EXPECT_EQ(platform::GetOSType(family(fake)), 0);
  EXPECT_EQ(log.All().back(), os::fake::Call(os::fake::kernel32::GetVersionExA{148}));
  fake.version.dwPlatformId = 1;
  EXPECT_EQ(platform::GetOSName(family(fake)), "Windows 9x|ME");
  EXPECT_EQ(platform::GetOSType(family(fake)), 1);
  struct Refusing : os::fake::Kernel32 {
    using os::fake::Kernel32::Kernel32;
    std::int32_t GetVersionExA(os::OsVersionInfo& info) override {
      info.dwPlatformId = 2;  // garbage left behind by a failed call must not count
      return 0;
    }
  } refusing(log, clock);
  EXPECT_EQ(platform::GetOSName(family(refusing)), "Windows 32");
  EXPECT_EQ(platform::GetOSType(family(refusing)), 2);
  EXPECT_EQ(platform::GetOSInfo(refusing).VersionText, "0.0");
}

}  // namespace
