#include "power/modShutdown.h"

#include <gtest/gtest.h>

#include "os/fake/FakeServices.h"

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

  // The family the program asked at start-up.
  platform::WindowsFamily family = platform::WindowsFamily::NT;
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
    EXPECT_TRUE(power::ExitWin(os, family, c.flags, c.force));
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
  EXPECT_FALSE(power::ExitWin(os, family, 1, false, &refusal));
  EXPECT_TRUE(refusal.refused);
  EXPECT_EQ(refusal.error, 1314u) << "read before the privilege calls could overwrite it";
  EXPECT_EQ(fake.log.Count<advapi32::AdjustTokenPrivileges>(), 2u);
  EXPECT_FALSE(fake.advapi32.Enabled("SeShutdownPrivilege"));
  fake.user32.ThrowOn<user32::ExitWindowsEx>();
  EXPECT_THROW(power::ExitWin(os, family, 1, false), base::RuntimeError);
  EXPECT_FALSE(fake.advapi32.Enabled("SeShutdownPrivilege")) << "also when the request raises an error";
}

TEST_F(PowerRequests, SuspendAndLockAskWindowsOnTheNTFamilyOnly) {
  EXPECT_TRUE(power::SuspendPC(os, family, 1, true, false));
  EXPECT_TRUE(power::SuspendPC(os, family, 0, false, false));
  EXPECT_TRUE(power::LockPC(os, family));
  EXPECT_EQ((fake.log.Only<powrprof::SetSuspendState, user32::LockWorkStation>()),
            (Calls{powrprof::SetSuspendState{1, 1, 0}, powrprof::SetSuspendState{0, 0, 0}, user32::LockWorkStation{}}));
  EXPECT_EQ(fake.log.Count<advapi32::OpenProcessToken>(), 0u) << "no privilege for these";
  fake.powrprof.suspendResult = 0;
  power::Refusal refusal;
  EXPECT_FALSE(power::SuspendPC(os, family, 1, false, false, &refusal));
  EXPECT_EQ(refusal.error, 50u);
  fake.user32.ThrowOn<user32::LockWorkStation>();
  EXPECT_THROW(power::LockPC(os, family), base::RuntimeError) << "a system without the function";

  for (auto other : {platform::WindowsFamily::Win9x, platform::WindowsFamily::Other}) {
    family = other;
    fake.log.Clear();
    EXPECT_FALSE(power::SuspendPC(os, family, 0, false, false));
    EXPECT_FALSE(power::LockPC(os, family));
    EXPECT_TRUE(power::ExitWin(os, family, 2, true));
    EXPECT_EQ((fake.log.Only<powrprof::SetSuspendState, user32::LockWorkStation, user32::ExitWindowsEx,
                             advapi32::OpenProcessToken>()),
              (Calls{user32::ExitWindowsEx{6, 0}}))
        << "family " << static_cast<int>(other) << ": only the exit, without privilege";
  }
}

}  // namespace
