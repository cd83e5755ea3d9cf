// The call log the fakes share: comparison as values, the filtered views, the failure messages,
// and a call made to fail.
#include "os/fake/FakeServices.h"

#include <gtest/gtest.h>

#include "base/RuntimeError.h"

namespace {

namespace advapi32 = os::fake::advapi32;
namespace kernel32 = os::fake::kernel32;
namespace powrprof = os::fake::powrprof;
namespace shell32 = os::fake::shell32;
namespace user32 = os::fake::user32;
using os::fake::Call;
using os::fake::Calls;
using testing::PrintToString;

class CallLogTest : public ::testing::Test {
 protected:
  os::fake::VirtualClock clock;
  os::fake::FakeServices fake{clock};
};

TEST_F(CallLogTest, CallsAreEqualOnlyWithTheSameKindAndArguments) {
  EXPECT_EQ(Call(user32::SetForegroundWindow{7}), Call(user32::SetForegroundWindow{7}));
  EXPECT_NE(Call(user32::SetForegroundWindow{7}), Call(user32::SetForegroundWindow{8}));
  EXPECT_NE(Call(powrprof::IsPwrHibernateAllowed{}), Call(powrprof::IsPwrSuspendAllowed{}))
      << "two kinds without arguments differ";
  EXPECT_NE(Call(kernel32::GetExitCodeProcess{5}), Call(kernel32::CloseHandle{5})) << "equal arguments, other kinds";
}

TEST_F(CallLogTest, TheViewsKeepTheOrderOfTheCalls) {
  fake.powrprof.IsPwrSuspendAllowed();
  fake.user32.SetForegroundWindow(1);
  fake.kernel32.CloseHandle(9);
  fake.user32.SetForegroundWindow(2);
  EXPECT_EQ(fake.log.All(), (Calls{powrprof::IsPwrSuspendAllowed{}, user32::SetForegroundWindow{1},
                                   kernel32::CloseHandle{9}, user32::SetForegroundWindow{2}}));
  EXPECT_EQ((fake.log.Only<kernel32::CloseHandle, user32::SetForegroundWindow>()),
            (Calls{user32::SetForegroundWindow{1}, kernel32::CloseHandle{9}, user32::SetForegroundWindow{2}}));
  EXPECT_EQ(fake.log.Of<user32::SetForegroundWindow>(),
            (std::vector{user32::SetForegroundWindow{1}, user32::SetForegroundWindow{2}}));
  EXPECT_EQ(fake.log.Count<user32::SetForegroundWindow>(), 2u);
  EXPECT_EQ(fake.log.Count<kernel32::OpenProcess>(), 0u);
  fake.log.Clear();
  EXPECT_TRUE(fake.log.All().empty());
}

TEST_F(CallLogTest, AFailedComparisonShowsEachCallWithItsArguments) {
  EXPECT_EQ(PrintToString(Call(kernel32::OpenProcess{0x1F0FFF, false, 4000})), "OpenProcess(2035711, false, 4000)");
  EXPECT_EQ(PrintToString(Call(kernel32::CreateProcessA{"a \"b\"\\c\r\n\x01", 2})),
            R"(CreateProcessA("a \"b\"\\c\r\n\x01", 2))");
  EXPECT_EQ(PrintToString(Call(powrprof::IsPwrSuspendAllowed{})), "IsPwrSuspendAllowed()");
  os::NotifyIconData icon{88, 0x10, 1, 7, 512, 0x20, "tip", "", 0, "", 0};
  EXPECT_EQ(PrintToString(Call(shell32::Shell_NotifyIconA{0, icon})), R"(Shell_NotifyIconA(0, {88, 16, 1, 7, 512, 32, "tip", "", 0, "", 0}))");
  EXPECT_EQ(PrintToString(user32::MsgWaitForMultipleObjects{{4, 8}, false, 100, 0xFF}),
            "MsgWaitForMultipleObjects([4, 8], false, 100, 255)")
      << "a record prints the same outside a call";
  os::TokenPrivileges state{1, {{{{0x13, 0}, 2}}}};
  EXPECT_EQ(PrintToString(Call(advapi32::AdjustTokenPrivileges{0x100, false, state, 16})),
            "AdjustTokenPrivileges(256, false, {1, [{{19, 0}, 2}]}, 16)");
}

TEST_F(CallLogTest, ACallMadeToFailIsLoggedAndRaisesTheMissingEntryPointError) {
  fake.powrprof.ThrowOn<powrprof::IsPwrHibernateAllowed>();
  try {
    fake.powrprof.IsPwrHibernateAllowed();
    ADD_FAILURE() << "no error raised";
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.Number(), base::kFunctionNotAvailable);
    EXPECT_STREQ(error.what(), "Can't find DLL entry point IsPwrHibernateAllowed");
  }
  EXPECT_EQ(fake.powrprof.IsPwrSuspendAllowed(), 1) << "the library's other calls still answer";
  EXPECT_EQ(fake.log.All(), (Calls{powrprof::IsPwrHibernateAllowed{}, powrprof::IsPwrSuspendAllowed{}}));
}

// The program's token as the fake keeps it: the shutdown privilege switched on and off again,
// the way a shutdown request brackets itself.
class FakeToken : public CallLogTest {
 protected:
  os::Handle Open(std::uint32_t access = os::kTokenAdjustPrivileges | os::kTokenQuery) {
    os::Handle token = 0;
    EXPECT_EQ(fake.advapi32.OpenProcessToken(fake.kernel32.GetCurrentProcess(), access, token), 1);
    return token;
  }
  os::TokenPrivileges Shutdown(std::uint32_t attributes) {
    os::Luid luid;
    EXPECT_EQ(fake.advapi32.LookupPrivilegeValueA("", os::kSeShutdownName, luid), 1);
    return {1, {{{luid, attributes}}}};
  }
  os::TokenPrivileges previous;
  std::uint32_t length = 0;
};

TEST_F(FakeToken, SwitchingOnAndOffReportsThePreviousStateAndLeavesNoHandleOpen) {
  os::Handle token = Open();
  ASSERT_EQ(fake.advapi32.AdjustTokenPrivileges(token, false, Shutdown(os::kSePrivilegeEnabled), 16, previous, length), 1);
  EXPECT_TRUE(fake.advapi32.Enabled(os::kSeShutdownName));
  EXPECT_EQ(previous, Shutdown(0)) << "it was off";
  EXPECT_EQ(length, 16u);
  ASSERT_EQ(fake.advapi32.AdjustTokenPrivileges(token, false, Shutdown(0), 16, previous, length), 1);
  EXPECT_FALSE(fake.advapi32.Enabled(os::kSeShutdownName));
  EXPECT_EQ(previous, Shutdown(os::kSePrivilegeEnabled)) << "it was on";
  ASSERT_EQ(fake.advapi32.AdjustTokenPrivileges(token, false, Shutdown(0), 16, previous, length), 1);
  EXPECT_EQ(previous.PrivilegeCount, 0u) << "switching off what is off changes nothing";
  fake.kernel32.CloseHandle(token);
  EXPECT_EQ(fake.kernel32.OpenHandles(), 0u);
  EXPECT_EQ(fake.advapi32.AdjustTokenPrivileges(token, false, Shutdown(2), 16, previous, length), 0)
      << "a closed token adjusts nothing";
  EXPECT_FALSE(fake.advapi32.Enabled(os::kSeShutdownName));
}

TEST_F(FakeToken, ATokenWithoutTheRightsOrAShortBufferChangesNothing) {
  os::Handle adjustOnly = Open(os::kTokenAdjustPrivileges);
  EXPECT_EQ(fake.advapi32.AdjustTokenPrivileges(adjustOnly, false, Shutdown(2), 16, previous, length), 0)
      << "the previous state needs the right to query";
  EXPECT_EQ(fake.advapi32.AdjustTokenPrivileges(adjustOnly, false, Shutdown(2), 0, previous, length), 1);
  EXPECT_TRUE(fake.advapi32.Enabled(os::kSeShutdownName));
  os::Handle queryOnly = Open(os::kTokenQuery);
  EXPECT_EQ(fake.advapi32.AdjustTokenPrivileges(queryOnly, false, Shutdown(0), 16, previous, length), 0);
  os::Handle token = Open();
  EXPECT_EQ(fake.advapi32.AdjustTokenPrivileges(token, false, Shutdown(0), 8, previous, length), 0);
  EXPECT_EQ(length, 16u) << "the length the previous state needs";
  EXPECT_TRUE(fake.advapi32.Enabled(os::kSeShutdownName));
  fake.advapi32.tokenOpens = false;
  os::Handle none = 0;
  EXPECT_EQ(fake.advapi32.OpenProcessToken(fake.kernel32.GetCurrentProcess(), 0x28, none), 0);
  EXPECT_EQ(none, 0u);
  os::Luid luid;
  EXPECT_EQ(fake.advapi32.LookupPrivilegeValueA("", "SeNoSuchPrivilege", luid), 0);
  EXPECT_EQ(fake.advapi32.LookupPrivilegeValueA("\\\\OTHER", os::kSeShutdownName, luid), 0) << "only this computer";
}

}  // namespace
