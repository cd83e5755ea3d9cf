// The real services with texts the ANSI code page cannot hold: a folder and a file of such a
// name, a registry value, the process list and the program's own path, all in UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Utf8.h"
#include "os/win32/RealServices.h"

namespace {

constexpr const char* kFolderName = "Музыка 音楽";

std::string TempFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return base::Utf8(folder);
}

TEST(RealTexts, AFileInAFolderOutsideTheCodePageIsWrittenReplacedAndRead) {
  os::win32::RealServices real;
  const std::string folder = TempFolder() + kFolderName;
  CreateDirectoryW(base::Utf16(folder).c_str(), nullptr);
  const std::string path = folder + "\\слушать 音.qnl";
  EXPECT_TRUE(real.files.ReplaceFileContents(path, "first\r\n"));
  EXPECT_TRUE(real.files.ReplaceFileContents(path, "second\r\n")) << "replaced beside it, and renamed";
  EXPECT_TRUE(real.files.FileExists(path));
  EXPECT_FALSE(real.files.FileExists(folder)) << "a folder is no file";
  EXPECT_EQ(real.files.ReadFile(path, 100), "second\r\n");
  EXPECT_NE(GetFileAttributesW(base::Utf16(path).c_str()), INVALID_FILE_ATTRIBUTES) << "under its own name";
  DeleteFileW(base::Utf16(path).c_str());
  RemoveDirectoryW(base::Utf16(folder).c_str());
}

// The value's size counts its UTF-8 bytes, its ending NUL included, as the program asks for it.
TEST(RealTexts, ARegistryTextComesBackInUtf8WithItsSize) {
  os::win32::RealServices real;
  os::HKey key = 0;
  std::uint32_t disposition = 0;
  ASSERT_EQ(real.advapi32.RegCreateKeyExA(os::kHKeyCurrentUser, "Software\\QuenlarTexts", 0, "", 0, os::kKeyRead | os::kKeyWrite,
                                          key, disposition),
            os::kErrorSuccess);
  const std::string command = std::string("\"C:\\") + kFolderName + "\\quenlar.exe\" /startup";
  EXPECT_EQ(real.advapi32.RegSetValueExA(key, "Quenlar", 0, os::kRegSz, command + '\0'), os::kErrorSuccess);
  std::uint32_t type = 0, length = 0;
  std::string data;
  EXPECT_EQ(real.advapi32.RegQueryValueExA(key, "Quenlar", type, data, length), os::kErrorSuccess);
  EXPECT_EQ(type, os::kRegSz);
  EXPECT_EQ(length, command.size() + 1);
  std::uint32_t tooShort = length - 1;
  EXPECT_EQ(real.advapi32.RegQueryValueExA(key, "Quenlar", type, data, tooShort), os::kErrorMoreData);
  EXPECT_EQ(real.advapi32.RegQueryValueExA(key, "Quenlar", type, data, length), os::kErrorSuccess);
  EXPECT_EQ(data, command + '\0');
  EXPECT_EQ(real.advapi32.RegDeleteValueA(key, "Quenlar"), os::kErrorSuccess);
  real.advapi32.RegCloseKey(key);
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuenlarTexts");
}

TEST(RealTexts, TheProgramsOwnPathAndNameAreUtf8) {
  os::win32::RealServices real;
  wchar_t own[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  EXPECT_EQ(real.kernel32.GetModuleFileNameA(), base::Utf8(own));
  std::vector<os::ProcessEntry> running;
  ASSERT_TRUE(real.kernel32.ListProcesses(running));
  const std::string name = base::Utf8(own).substr(base::Utf8(own).find_last_of('\\') + 1);
  EXPECT_TRUE(std::any_of(running.begin(), running.end(), [&](const os::ProcessEntry& entry) {
    return entry.processId == GetCurrentProcessId() && entry.exeFile == name;
  }));
  bool exact = false;
  EXPECT_EQ(real.kernel32.ToCodePage("plain.exe", exact), "plain.exe");
  EXPECT_TRUE(exact);
  real.kernel32.ToCodePage("音楽", exact);
  EXPECT_EQ(real.kernel32.FromCodePage(real.kernel32.ToCodePage("音楽", exact)) == "音楽", exact);
}

}  // namespace
