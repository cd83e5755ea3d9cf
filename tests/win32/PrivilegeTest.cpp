// The real privilege calls under Wine: the program's own token, the shutdown privilege switched
// on and off again, and the previous state read back through the program's record.
#include <gtest/gtest.h>

#include "os/win32/RealServices.h"

namespace {

class RealPrivilege : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(real.advapi32.OpenProcessToken(real.kernel32.GetCurrentProcess(),
                                             os::kTokenAdjustPrivileges | os::kTokenQuery, token),
              1);
    ASSERT_EQ(real.advapi32.LookupPrivilegeValueA("", os::kSeShutdownName, luid), 1);
  }
  void TearDown() override {
    if (token) {
      EXPECT_EQ(real.kernel32.CloseHandle(token), 1);
    }
  }
  os::TokenPrivileges Shutdown(std::uint32_t attributes) const { return {1, {{{luid, attributes}}}}; }

  os::win32::RealServices real;
  os::Handle token = 0;
  os::Luid luid;
};

TEST_F(RealPrivilege, TheShutdownPrivilegeSwitchesOnAndOffWithItsPreviousState) {
  EXPECT_EQ(real.kernel32.GetCurrentProcess(), os::kCurrentProcess);
  EXPECT_NE(luid, os::Luid{}) << "the system knows the privilege";
  os::TokenPrivileges previous;
  std::uint32_t length = 0;
  ASSERT_EQ(real.advapi32.AdjustTokenPrivileges(token, false, Shutdown(os::kSePrivilegeEnabled), 16, previous, length), 1);
  ASSERT_EQ(real.advapi32.AdjustTokenPrivileges(token, false, Shutdown(0), 16, previous, length), 1);
  ASSERT_EQ(previous.PrivilegeCount, 1u) << "switching it off changed it";
  EXPECT_EQ(previous.Privileges[0].Luid, luid);
  EXPECT_TRUE(previous.Privileges[0].Attributes & os::kSePrivilegeEnabled) << "it was on";
  EXPECT_EQ(length, os::kTokenPrivilegesSize);
}

TEST_F(RealPrivilege, ACallWithoutRoomForThePreviousStateStillAdjusts) {
  os::TokenPrivileges untouched{7, {}};
  std::uint32_t length = 99;
  EXPECT_EQ(real.advapi32.AdjustTokenPrivileges(token, false, Shutdown(os::kSePrivilegeEnabled), 0, untouched, length), 1);
  EXPECT_EQ(real.advapi32.AdjustTokenPrivileges(token, false, Shutdown(0), 0, untouched, length), 1);
  EXPECT_EQ(untouched.PrivilegeCount, 7u) << "nothing written where no room was given";
  EXPECT_EQ(length, 99u);
}

}  // namespace
