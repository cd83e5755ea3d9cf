// Replacing a file's contents so that a failure at any step leaves the old file as it was: the
// new contents go into a temporary file beside it, which then takes the old file's place. The
// temporary file gets a name no other file has ("<file>.new", else "<file>.new1", ...), so a
// leftover that cannot be removed never stops a save; leftovers of earlier saves are removed
// where they can be. Where Windows cannot replace a file in one step (95/98/Me) the old file
// steps aside as "<file>.old" (or "<file>.old1", ...) until the new one is in place. In a folder
// that takes no new file but holds a file the user may change (Program Files, where the
// installer lets every user change the settings file alone), the new contents are written over
// the old in place. The steps are written against the few file operations they need, so that
// they run alike on Windows and on a simulated disk.
#pragma once

#include <string>
#include <vector>

namespace os {

class FileOperations {
 public:
  virtual ~FileOperations() = default;
  // Makes a file where there was none, writes the contents and makes sure they are on the
  // disk. False when it cannot (the name is taken, the folder or the disk refuses); a file
  // that was made but could not be written is removed again.
  virtual bool CreateNew(const std::string& path, const std::string& contents) = 0;
  // Whether a file or folder has this name.
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // The full paths of the files (not folders) in the folder of `prefix` whose names begin
  // with its last part, in any letter case.
  virtual std::vector<std::string> FilesBeginningWith(const std::string& prefix) = 0;
  enum class Replaced { Yes, No, NotSupported };
  // Moves `from` onto `to` in one step, replacing the file there, and makes sure it is on the
  // disk. NotSupported where the system has no such move (Windows 95/98/Me).
  virtual Replaced MoveReplacing(const std::string& from, const std::string& to) = 0;
  // Moves `from` to `to`, where nothing may be yet.
  virtual bool Move(const std::string& from, const std::string& to) = 0;
  // Writes the contents over an existing file, which stays the same file (its permissions
  // too), and makes sure they are on the disk. Room for longer contents is taken before the
  // old contents are touched. False when the file cannot be opened for writing.
  virtual bool Overwrite(const std::string& path, const std::string& contents) = 0;
};

// Returns false when the new contents could not take the old file's place; the old file then
// stays as it was and no temporary file of this save is left.
bool SafeReplace(FileOperations& files, const std::string& path, const std::string& contents);

}  // namespace os
