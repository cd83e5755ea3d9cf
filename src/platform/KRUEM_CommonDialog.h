// The system's file-open dialog, as the main window's file pickers use it: the caller puts the
// filter and the title into the record, ShowOpen fills in the rest and reads the answer back.
// The record lives as long as the dialog object, so the next dialog starts with the last name
// chosen.
#pragma once

#include <string>
#include <vector>

#include "os/Comdlg32.h"

namespace platform {

struct SelectedFile {
  int FileCount = 0;
  std::vector<std::string> FileNames;  // without the folder
  std::string FolderPath;              // ending with "\"
  bool Cancelled = true;
};

constexpr std::uint32_t kOfnHideReadOnly = 0x4;
constexpr std::uint32_t kOfnFileMustExist = 0x1000;
constexpr std::uint32_t kOfnExplorer = 0x80000;
constexpr std::uint32_t kOfnLongNames = 0x200000;

// Builds a filter string from description and pattern pairs, each part followed by a NUL.
std::string MakeFilter(const std::vector<std::pair<std::string, std::string>>& pairs);

class CommonDialog {
 public:
  explicit CommonDialog(os::Comdlg32& comdlg32) : comdlg32_(comdlg32) {}

  os::OpenFileName OFN;  // the caller sets lpstrFilter and lpstrTitle

  // Shows the dialog owned by `owner`. A file name list of more than 200 names is a run-time
  // error.
  SelectedFile ShowOpen(os::HWnd owner, bool centerOnOwner);

 private:
  os::Comdlg32& comdlg32_;
};

}  // namespace platform
