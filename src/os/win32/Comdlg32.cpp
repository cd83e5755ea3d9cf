#include "os/win32/Comdlg32.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>

namespace os::win32 {

std::int32_t Comdlg32::GetOpenFileNameA(OpenFileName& ofn) {
  std::string file = ofn.lpstrFile;
  file.resize(std::max<std::size_t>(ofn.nMaxFile, file.size() + 1), '\0');
  std::string title(2048, '\0');
  OPENFILENAMEA record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  record.hwndOwner = reinterpret_cast<HWND>(ofn.hwndOwner);
  record.lpstrFilter = ofn.lpstrFilter.c_str();
  record.nFilterIndex = ofn.nFilterIndex;
  record.lpstrFile = file.data();
  record.nMaxFile = static_cast<DWORD>(file.size());
  record.lpstrFileTitle = title.data();
  record.nMaxFileTitle = static_cast<DWORD>(title.size());
  record.lpstrTitle = ofn.lpstrTitle.c_str();
  record.Flags = ofn.Flags;
  BOOL ok = ::GetOpenFileNameA(&record);
  ofn.nFilterIndex = record.nFilterIndex;
  if (ok) {
    ofn.lpstrFile = file;
    ofn.nFileOffset = record.nFileOffset;
    ofn.lpstrFileTitle = title.c_str();
  }
  return ok;
}

}  // namespace os::win32
