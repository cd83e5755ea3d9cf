#include "os/fake/Comdlg32.h"

namespace os::fake {

std::int32_t Comdlg32::GetOpenFileNameA(OpenFileName& ofn) {
  Log(comdlg32::GetOpenFileNameA{ofn});
  if (dialogAnswers.empty()) return 0;
  DialogAnswer answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  ofn.lpstrFile = answer.folder + answer.file + std::string(1, '\0');
  ofn.nFileOffset = static_cast<std::uint16_t>(answer.folder.size());
  ofn.lpstrFileTitle = answer.file;
  return 1;
}

}  // namespace os::fake
