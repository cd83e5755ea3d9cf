#include "os/SafeReplace.h"

#include <algorithm>

namespace os {
namespace {

// How many names a save tries for its temporary file before it gives up.
constexpr int kNames = 100;
// What the names of the temporary file and of an old file stepping aside add to the file's.
constexpr const char* kTemporary = ".new";
constexpr const char* kAside = ".old";

// `base`, then `base` followed by 1, 2, ...
std::string NameNumber(const std::string& base, int n) { return n == 0 ? base : base + std::to_string(n); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `name` is one this program gives: `base` alone or followed by digits, in any case.
bool IsNumberedName(const std::string& name, const std::string& base) {
  if (name.size() < base.size()) return false;
  if (!std::equal(base.begin(), base.end(), name.begin(), [](char a, char b) { return Lower(a) == Lower(b); }))
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(base.size()), name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// Removes what earlier saves left under the names numbered from `base`; a file that is
// read-only or held open by another program stays, and the save goes on without it.
void RemoveLeftovers(FileOperations& files, const std::string& base) {
  for (const std::string& name : files.FilesBeginningWith(base))
    if (IsNumberedName(name, base)) files.Delete(name);
}

// Windows 95/98/Me cannot replace a file in one step. The old file steps aside, the new one
// takes its place, and only then does the old one go; if the new one cannot move in, the old
// one comes back.
bool StepAside(FileOperations& files, const std::string& temporary, const std::string& path) {
  if (!files.Exists(path)) return files.Move(temporary, path);
  const std::string asideBase = path + kAside;
  std::string aside;
  for (int n = 0; n < kNames && aside.empty(); ++n)
    if (!files.Exists(NameNumber(asideBase, n))) aside = NameNumber(asideBase, n);
  if (aside.empty() || !files.Move(path, aside)) return false;
  if (!files.Move(temporary, path)) {
    files.Move(aside, path);
    return false;
  }
  files.Delete(aside);
  return true;
}

}  // namespace

bool SafeReplace(FileOperations& files, const std::string& path, const std::string& contents) {
  const std::string temporaryBase = path + kTemporary;
  RemoveLeftovers(files, temporaryBase);
  // An old file that stepped aside (Windows 95/98/Me) is stale once the file itself is there;
  // without it, it may be the only copy left, and stays.
  if (files.Exists(path)) RemoveLeftovers(files, path + kAside);
  std::string temporary;
  for (int n = 0; n < kNames && temporary.empty(); ++n) {
    const std::string name = NameNumber(temporaryBase, n);
    if (files.CreateNew(name, contents))
      temporary = name;
    else if (!files.Exists(name))  // not a taken name: the folder or the disk refuses the file
      return files.Exists(path) && files.Overwrite(path, contents);
  }
  if (temporary.empty()) return false;
  bool replaced = false;
  switch (files.MoveReplacing(temporary, path)) {
    case FileOperations::Replaced::Yes:
      return true;
    case FileOperations::Replaced::No:
      break;
    case FileOperations::Replaced::NotSupported:
      replaced = StepAside(files, temporary, path);
      break;
  }
  if (!replaced) files.Delete(temporary);
  return replaced;
}

}  // namespace os
