#include "os/fake/Comdlg32.h"

namespace os::fake {

std::int32_t Comdlg32::GetOpenFileNameA(OpenFileName& ofn) {
  Log(comdlg32::GetOpenFileNameA{ofn});
  Rect at;
  auto owner = user32_.windowRects.find(ofn.hwndOwner);
  if (owner != user32_.windowRects.end()) at = owner->second;
  user32_.windowRects[kDialogWindow] = {at.left, at.top, at.left + dialogWidth, at.top + dialogHeight};
  if (activatesDialog) user32_.ActivateWindow(kDialogWindow);
  lastDialogRect = user32_.windowRects[kDialogWindow];
  user32_.windowRects.erase(kDialogWindow);

  if (dialogAnswers.empty()) return 0;
  DialogAnswer answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  if (answer.moreFiles.empty()) {
    ofn.lpstrFile = answer.folder + answer.file + std::string(1, '\0');
    ofn.nFileOffset = static_cast<std::uint16_t>(answer.folder.size());
    ofn.lpstrFileTitle = answer.file;
    return 1;
  }
  // The folder (with a trailing "\" only at a drive's root), then each name, each followed
  // by a NUL, and one more NUL at the end; no file title.
  std::string folder = answer.folder;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  ofn.lpstrFile = folder + '\0' + answer.file + '\0';
  for (const std::string& name : answer.moreFiles) ofn.lpstrFile += name + '\0';
  ofn.lpstrFile += '\0';
  ofn.nFileOffset = static_cast<std::uint16_t>(folder.size() + 1);
  ofn.lpstrFileTitle.clear();
  return 1;
}

}  // namespace os::fake
