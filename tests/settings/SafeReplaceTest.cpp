// The steps that replace the settings file, on a simulated disk that refuses what Windows
// refuses: a read-only or held file cannot be deleted or replaced, a name cannot be made twice.
#include "os/SafeReplace.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

constexpr const char* kFile = "C:\\Quenlar\\settings.qnl";

class Disk : public os::FileOperations {
 public:
  struct Entry {
    std::string contents;
    bool readOnly = false;
    bool held = false;  // open in another program that shares it with no one
    bool folder = false;
  };
  std::map<std::string, Entry> entries;
  bool full = false;            // nothing new can be written
  bool folderClosed = false;    // no new file can be made in the folder
  bool movesReplacing = true;   // false: Windows 95/98/Me
  bool temporaryStuck = false;  // the new file cannot be moved

  std::string At(const std::string& path) const { return entries.at(path).contents; }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& [name, entry] : entries) names.insert(name);
    return names;
  }

  bool CreateNew(const std::string& path, const std::string& contents) override {
    if (full || folderClosed || entries.count(path)) return false;
    entries[path] = {contents};
    return true;
  }
  bool Exists(const std::string& path) override { return entries.count(path) != 0; }
  bool Delete(const std::string& path) override {
    auto it = entries.find(path);
    if (it == entries.end() || it->second.readOnly || it->second.held || it->second.folder) return false;
    entries.erase(it);
    return true;
  }
  std::vector<std::string> FilesBeginningWith(const std::string& prefix) override {
    std::vector<std::string> found;
    for (const auto& [name, entry] : entries)
      if (!entry.folder && name.compare(0, prefix.size(), prefix) == 0) found.push_back(name);
    return found;
  }
  Replaced MoveReplacing(const std::string& from, const std::string& to) override {
    if (!movesReplacing) return Replaced::NotSupported;
    auto target = entries.find(to);
    if (target != entries.end() && (target->second.readOnly || target->second.held || target->second.folder))
      return Replaced::No;
    entries[to] = entries.at(from);
    entries.erase(from);
    return Replaced::Yes;
  }
  bool Move(const std::string& from, const std::string& to) override {
    if (entries.count(to) || entries.at(from).held || (temporaryStuck && from.find(".new") != std::string::npos))
      return false;
    entries[to] = entries.at(from);
    entries.erase(from);
    return true;
  }
  bool Overwrite(const std::string& path, const std::string& contents) override {
    auto it = entries.find(path);
    if (full || it == entries.end() || it->second.readOnly || it->second.held || it->second.folder) return false;
    it->second.contents = contents;
    return true;
  }
};

const std::string kNew = std::string(kFile) + ".new";

TEST(SafeReplace, AReadOnlyLeftoverDoesNotStopTheSaveAndTheOthersAreRemoved) {
  for (bool win9x : {false, true}) {
    Disk disk;
    disk.movesReplacing = !win9x;
    disk.entries[kFile] = {"old"};
    disk.entries[kNew] = {"True\r\nFal", true};  // cut off mid-write, then made read-only
    disk.entries[kNew + "1"] = {"x"};
    disk.entries[kNew + "7"] = {"y", false, true};  // still held by the one who left it
    disk.entries[kNew + "er"] = {"not ours"};
    disk.entries[std::string(kFile) + ".old"] = {"stale"};
    EXPECT_TRUE(os::SafeReplace(disk, kFile, "new")) << win9x;
    EXPECT_EQ(disk.At(kFile), "new");
    EXPECT_EQ(disk.Names(), (std::set<std::string>{kFile, kNew, kNew + "7", kNew + "er"}))
        << "what could be removed is gone; the temporary file took the old one's place";
  }
}

TEST(SafeReplace, WhenEveryNameIsTakenOrTheDiskRefusesTheOldFileStays) {
  Disk full;
  full.entries[kFile] = {"old"};
  full.full = true;
  EXPECT_FALSE(os::SafeReplace(full, kFile, "new"));
  EXPECT_EQ(full.Names(), std::set<std::string>{kFile});

  Disk taken;
  taken.entries[kFile] = {"old"};
  taken.entries[kNew] = {"", false, false, true};
  for (int n = 1; n < 100; ++n) taken.entries[kNew + std::to_string(n)] = {"", true};
  EXPECT_FALSE(os::SafeReplace(taken, kFile, "new"));
  EXPECT_EQ(taken.At(kFile), "old");
}

TEST(SafeReplace, InAFolderThatTakesNoNewFileAFileTheUserMayChangeIsWrittenInPlace) {
  Disk disk;
  disk.folderClosed = true;
  disk.entries[kFile] = {"old, and longer"};
  EXPECT_TRUE(os::SafeReplace(disk, kFile, "new"));
  EXPECT_EQ(disk.At(kFile), "new");
  EXPECT_EQ(disk.Names(), std::set<std::string>{kFile});

  disk.entries[kFile].readOnly = true;
  EXPECT_FALSE(os::SafeReplace(disk, kFile, "newer"));
  EXPECT_EQ(disk.At(kFile), "new");
  disk.entries.clear();
  EXPECT_FALSE(os::SafeReplace(disk, kFile, "new")) << "no file to write over, none can be made";
  EXPECT_TRUE(disk.Names().empty());
}

TEST(SafeReplace, AFileThatCannotBeReplacedStaysAndTheTemporaryFileGoes) {
  for (bool win9x : {false, true}) {
    Disk disk;
    disk.movesReplacing = !win9x;
    disk.entries[kFile] = {"old", false, true};
    EXPECT_FALSE(os::SafeReplace(disk, kFile, "new")) << win9x;
    EXPECT_EQ(disk.Names(), std::set<std::string>{kFile});
    EXPECT_EQ(disk.At(kFile), "old");
  }
}

TEST(SafeReplace, OnWindows9xTheOldFileComesBackWhenTheNewOneCannotMoveIn) {
  const std::string stale = std::string(kFile) + ".old";
  Disk disk;
  disk.movesReplacing = false;
  disk.entries[kFile] = {"old"};
  disk.entries[stale] = {"stale", true};  // read-only: the old file steps aside under another name
  disk.temporaryStuck = true;
  EXPECT_FALSE(os::SafeReplace(disk, kFile, "new"));
  EXPECT_EQ(disk.At(kFile), "old");
  EXPECT_EQ(disk.Names(), (std::set<std::string>{kFile, stale}));

  disk.temporaryStuck = false;
  EXPECT_TRUE(os::SafeReplace(disk, kFile, "new"));
  EXPECT_EQ(disk.At(kFile), "new");
  EXPECT_EQ(disk.Names(), (std::set<std::string>{kFile, stale}));
}

TEST(SafeReplace, WithoutTheFileAnOldCopyThatSteppedAsideIsKept) {
  const std::string aside = std::string(kFile) + ".old";
  for (bool win9x : {false, true}) {
    Disk disk;
    disk.movesReplacing = !win9x;
    disk.entries[aside] = {"the only copy of the last settings"};
    EXPECT_TRUE(os::SafeReplace(disk, kFile, "new"));
    EXPECT_EQ(disk.At(kFile), "new");
    EXPECT_EQ(disk.Names(), (std::set<std::string>{kFile, aside}));
  }
}

}  // namespace
