#include "power/modShutdown.h"

#include <gtest/gtest.h>

#include "os/fake/FakeServices.h"

namespace {

using power::ClassifyVersion;

TEST(ClassifyVersion, TellsTheFamiliesAndReleasesApart) {
  struct Case {
    std::uint32_t platform, major, minor;
    int family, release;
  } cases[] = {
      {1, 4, 0, 1, 1},  {1, 4, 10, 1, 2}, {1, 4, 90, 1, 3}, {1, 4, 20, 1, 0}, {2, 3, 51, 2, 4}, {2, 4, 0, 2, 4},
      {2, 5, 0, 2, 5},  {2, 5, 1, 2, 6},  {2, 5, 2, 2, 0},  {2, 6, 0, 2, 0}, {0, 3, 11, 0, 0}, {3, 5, 0, 0, 0},
  };
  for (const auto& c : cases) {
    power::OSInfo info = ClassifyVersion(c.platform, c.major, c.minor, 1234);
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
  EXPECT_EQ(power::GetOSName(fake), "Windows NT");
  EXPECT_EQ(power::GetOSType(fake), 0);
  EXPECT_EQ(log.All().back(), os::fake::Call(os::fake::kernel32::GetVersionExA{148}));
  fake.version.dwPlatformId = 1;
  EXPECT_EQ(power::GetOSName(fake), "Windows 9x|ME");
  EXPECT_EQ(power::GetOSType(fake), 1);
  struct Refusing : os::fake::Kernel32 {
    using os::fake::Kernel32::Kernel32;
    std::int32_t GetVersionExA(os::OsVersionInfo& info) override {
      info.dwPlatformId = 2;  // garbage left behind by a failed call must not count
      return 0;
    }
  } refusing(log, clock);
  EXPECT_EQ(power::GetOSName(refusing), "Windows 32");
  EXPECT_EQ(power::GetOSType(refusing), 2);
  EXPECT_EQ(power::GetOSInfo(refusing).VersionText, "0.0");
}

}  // namespace

namespace {

namespace advapi32 = os::fake::advapi32;
namespace kernel32 = os::fake::kernel32;
namespace powrprof = os::fake::powrprof;
namespace user32 = os::fake::user32;
using os::fake::Calls;

class PowerRequests : public ::testing::Test {
 protected:
  os::fake::VirtualClock clock;
  os::fake::FakeServices fake{clock};
  os::Services os = fake.Services();

  void Family(std::uint32_t platformId) { fake.kernel32.version.dwPlatformId = platformId; }
  // The privilege switched on (true) or off, as SetShutdownPriv asks for it.
  static Calls Privilege(bool on, os::Handle token) {
    return {kernel32::GetCurrentProcess{},
            advapi32::OpenProcessToken{os::kCurrentProcess, 0x28},
            advapi32::LookupPrivilegeValueA{"", "SeShutdownPrivilege"},
            advapi32::AdjustTokenPrivileges{token, false, {1, {{{{0x13, 0}, on ? 2u : 0u}}}}, 16},
            kernel32::CloseHandle{token}};
  }
  Calls PrivilegeCalls() const {
    return fake.log.Only<kernel32::GetCurrentProcess, advapi32::OpenProcessToken, advapi32::LookupPrivilegeValueA,
                         advapi32::AdjustTokenPrivileges, kernel32::CloseHandle, user32::ExitWindowsEx>();
  }
  os::Handle Token(std::size_t n) const { return fake.log.Of<advapi32::AdjustTokenPrivileges>().at(n).tokenHandle; }
};

TEST_F(PowerRequests, ThePrivilegeIsSwitchedWithTheExactCallsAndOffEvenIfNeverOn) {
  power::SetShutdownPriv(os, false);
  EXPECT_FALSE(fake.advapi32.Enabled("SeShutdownPrivilege"));
  power::SetShutdownPriv(os, true);
  EXPECT_TRUE(fake.advapi32.Enabled("SeShutdownPrivilege"));
  Calls expected = Privilege(false, Token(0));
  for (const auto& call : Privilege(true, Token(1))) expected.push_back(call);
  EXPECT_EQ(fake.log.All(), expected);
  EXPECT_EQ(fake.kernel32.OpenHandles(), 0u);
}

TEST_F(PowerRequests, ExitAddsFourWhenForcedAndBracketsTheRequestWithThePrivilegeOnNT) {
  struct Case {
    std::int32_t flags;
    bool force;
    std::uint32_t sent;
  } cases[] = {{1, false, 1}, {2, false, 2}, {0, false, 0}, {1, true, 5}, {2, true, 6}, {0, true, 4}};
  for (const auto& c : cases) {
    fake.log.Clear();
    EXPECT_TRUE(power::ExitWin(os, c.flags, c.force));
    Calls expected = Privilege(true, Token(0));
    expected.push_back(user32::ExitWindowsEx{c.sent, 0});
    for (const auto& call : Privilege(false, Token(1))) expected.push_back(call);
    EXPECT_EQ(PrivilegeCalls(), expected) << c.flags << " " << c.force;
    EXPECT_FALSE(fake.advapi32.Enabled("SeShutdownPrivilege"));
  }
}

TEST_F(PowerRequests, ARefusedExitStillSwitchesThePrivilegeOffAndReportsWindowsError) {
  fake.user32.exitWindowsResult = 0;
  power::Refusal refusal;
  EXPECT_FALSE(power::ExitWin(os, 1, false, &refusal));
  EXPECT_TRUE(refusal.refused);
  EXPECT_EQ(refusal.error, 1314u) << "read before the privilege calls could overwrite it";
  EXPECT_EQ(fake.log.Count<advapi32::AdjustTokenPrivileges>(), 2u);
  EXPECT_FALSE(fake.advapi32.Enabled("SeShutdownPrivilege"));
  fake.user32.ThrowOn<user32::ExitWindowsEx>();
  EXPECT_THROW(power::ExitWin(os, 1, false), base::RuntimeError);
  EXPECT_FALSE(fake.advapi32.Enabled("SeShutdownPrivilege")) << "also when the request raises an error";
}

TEST_F(PowerRequests, SuspendAndLockAskWindowsOnTheNTFamilyOnly) {
  EXPECT_TRUE(power::SuspendPC(os, 1, true, false));
  EXPECT_TRUE(power::SuspendPC(os, 0, false, false));
  EXPECT_TRUE(power::LockPC(os));
  EXPECT_EQ((fake.log.Only<powrprof::SetSuspendState, user32::LockWorkStation>()),
            (Calls{powrprof::SetSuspendState{1, 1, 0}, powrprof::SetSuspendState{0, 0, 0}, user32::LockWorkStation{}}));
  EXPECT_EQ(fake.log.Count<advapi32::OpenProcessToken>(), 0u) << "no privilege for these";
  fake.powrprof.suspendResult = 0;
  power::Refusal refusal;
  EXPECT_FALSE(power::SuspendPC(os, 1, false, false, &refusal));
  EXPECT_EQ(refusal.error, 50u);
  fake.user32.ThrowOn<user32::LockWorkStation>();
  EXPECT_THROW(power::LockPC(os), base::RuntimeError) << "a system without the function";

  for (std::uint32_t other : {1u, 0u}) {
    Family(other);
    fake.log.Clear();
    EXPECT_FALSE(power::SuspendPC(os, 0, false, false));
    EXPECT_FALSE(power::LockPC(os));
    EXPECT_TRUE(power::ExitWin(os, 2, true));
    EXPECT_EQ((fake.log.Only<powrprof::SetSuspendState, user32::LockWorkStation, user32::ExitWindowsEx,
                             advapi32::OpenProcessToken>()),
              (Calls{user32::ExitWindowsEx{6, 0}}))
        << "platform " << other << ": only the exit, without privilege";
  }
}

}  // namespace
