// The entry by which Windows starts the program at logon, on the fake registry.
#include "platform/StartWithWindows.h"

#include <gtest/gtest.h>

#include "os/fake/FakeServices.h"

namespace {

namespace advapi32 = os::fake::advapi32;
using Value = os::fake::Advapi32::RegValue;

class StartWithWindows : public ::testing::Test {
 protected:
  os::fake::VirtualClock clock;
  os::fake::FakeServices fake{clock};
  os::Services os = fake.Services();
  std::string reason;

  const Value* Entry() {
    auto key = fake.advapi32.registry.find(platform::kRunKey);
    if (key == fake.advapi32.registry.end()) return nullptr;
    auto value = key->second.find("quenlar");
    return value == key->second.end() ? nullptr : &value->second;
  }
  void Store(const Value& value) { fake.advapi32.registry[platform::kRunKey]["Quenlar"] = value; }
};

const std::string kCommand = "\"C:\\Program Files\\Quenlar\\quenlar.exe\" /startup";

TEST_F(StartWithWindows, WritesReadsBackAndRemovesItsEntryClosingEveryKey) {
  EXPECT_FALSE(platform::StartsWithWindows(os)) << "no Run key at all";
  ASSERT_TRUE(platform::SetStartWithWindows(os, true, reason)) << reason;
  ASSERT_TRUE(Entry());
  EXPECT_EQ(*Entry(), (Value{os::kRegSz, kCommand + '\0'})) << "a string stored with its NUL";
  EXPECT_TRUE(fake.advapi32.registry.count("Software\\Microsoft")) << "the keys above made too";
  EXPECT_TRUE(platform::StartsWithWindows(os));

  ASSERT_TRUE(platform::SetStartWithWindows(os, false, reason)) << reason;
  EXPECT_FALSE(Entry());
  EXPECT_FALSE(platform::StartsWithWindows(os));
  EXPECT_TRUE(platform::SetStartWithWindows(os, false, reason)) << "nothing left to remove is done";
  EXPECT_EQ(fake.advapi32.OpenKeys(), 0u);
  EXPECT_EQ(fake.kernel32.OpenHandles(), 0u);
}

TEST_F(StartWithWindows, OnlyAnEntryStartingThisProgramWhereItIsCounts) {
  Store({os::kRegSz, "\"C:\\Old Place\\quenlar.exe\" /startup"});
  EXPECT_FALSE(platform::StartsWithWindows(os)) << "the program was moved";
  ASSERT_TRUE(platform::SetStartWithWindows(os, true, reason));
  EXPECT_EQ(Entry()->data, kCommand + '\0') << "rewritten for where it is now";

  Store({os::kRegSz, "\"c:\\program files\\QUENLAR\\Quenlar.exe\" /StartUp"});
  EXPECT_TRUE(platform::StartsWithWindows(os)) << "paths are the same in any letter case; no NUL stored";
  Store({os::kRegSz, "\"C:\\Program Files\\Quenlar\\quenlar.exe\""});
  EXPECT_FALSE(platform::StartsWithWindows(os)) << "without /startup";
  Store({4, std::string("\x01\0\0\0", 4)});
  EXPECT_FALSE(platform::StartsWithWindows(os)) << "a number, not a command";
  EXPECT_EQ(fake.advapi32.OpenKeys(), 0u);
}

TEST_F(StartWithWindows, FailuresAreReportedWithTheirReasonAndChangeNothing) {
  fake.advapi32.registryWriteError = os::kErrorRegAccessDenied;
  EXPECT_FALSE(platform::SetStartWithWindows(os, true, reason));
  EXPECT_EQ(reason, "Access is denied.");
  EXPECT_FALSE(Entry());

  Store({os::kRegSz, kCommand + '\0'});
  reason.clear();
  EXPECT_FALSE(platform::SetStartWithWindows(os, false, reason));
  EXPECT_EQ(reason, "Access is denied.");
  EXPECT_TRUE(platform::StartsWithWindows(os)) << "still there";
  EXPECT_EQ(fake.advapi32.OpenKeys(), 0u);

  // A folder outside the ANSI code page: Windows names it with "?", which no entry could start.
  fake.advapi32.registryWriteError = os::kErrorSuccess;
  fake.kernel32.moduleFileName = "C:\\Users\\?????\\quenlar.exe";
  reason.clear();
  EXPECT_FALSE(platform::SetStartWithWindows(os, true, reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(fake.log.Count<advapi32::RegSetValueExA>(), 0u);

  // A registry this Windows does not offer: an answer, not an exception.
  fake.kernel32.moduleFileName = "C:\\Program Files\\Quenlar\\quenlar.exe";
  fake.advapi32.ThrowOn<advapi32::RegOpenKeyExA>();
  fake.advapi32.ThrowOn<advapi32::RegCreateKeyExA>();
  EXPECT_FALSE(platform::StartsWithWindows(os));
  reason.clear();
  EXPECT_FALSE(platform::SetStartWithWindows(os, true, reason));
  EXPECT_NE(reason.find("RegCreateKeyExA"), std::string::npos);
}

}  // namespace
