// The system's file-open dialog, as the main window's file pickers use it: the caller puts the
// filter and the title into the record, ShowOpen fills in the rest, centres the dialog with a
// one-shot hook, and reads the answer back. The record lives as long as the dialog object, so
// the next dialog starts with the last name chosen.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "os/Services.h"

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

// Where a window goes to stand centred over an area (both as left, top, right, bottom): the
// half sizes are taken with their fractions, and the result to the nearest pixel, an exact
// half to the even neighbour. Only the left and top of the answer are meaningful.
os::Rect CenterOver(const os::Rect& area, const os::Rect& window);

class CommonDialog {
 public:
  explicit CommonDialog(os::Services services) : os_(services) {}
  // A hook that never saw its dialog goes with the object.
  ~CommonDialog();
  CommonDialog(const CommonDialog&) = delete;
  CommonDialog& operator=(const CommonDialog&) = delete;

  os::OpenFileName OFN;  // the caller sets lpstrFilter and lpstrTitle

  // Shows the dialog owned by `owner`, centred over it, or on the screen when centerOnOwner
  // is false. A multiple choice of more than 200 names is a run-time error.
  SelectedFile ShowOpen(os::HWnd owner, bool centerOnOwner);

 private:
  // The hook procedures, one of them installed for the thread just before the dialog opens.
  // At the first window activation they see (the dialog's), they centre that window over the
  // owner (or on the screen) without sizing or activating it, and remove their own hook.
  // Every other event goes on to the hooks installed before.
  std::intptr_t CBTCenterOwner(os::Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t CBTCenterScreen(os::Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t CenterOnActivation(os::Handle hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam,
                                   bool overOwner);

  os::Services os_;
  os::HWnd owner_ = 0;          // for the hook procedure
  std::set<os::Handle> hooks_;  // the hooks installed and not yet removed
};

}  // namespace platform
