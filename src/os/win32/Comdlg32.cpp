#include "os/win32/Comdlg32.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstddef>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {

#ifndef _WIN64
// The first form ends with lpTemplateName (what OPENFILENAME_SIZE_VERSION_400A measures).
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName) == kOpenFileNameSize,
              "the record's first form is 76 bytes");
#endif

std::int32_t Comdlg32::GetOpenFileNameA(OpenFileName& ofn) {
  std::string file = ofn.lpstrFile;
  file.resize(std::max<std::size_t>(ofn.nMaxFile, file.size() + 1), '\0');
  std::string title = ofn.lpstrFileTitle;
  title.resize(std::max<std::size_t>(ofn.nMaxFileTitle, 1), '\0');
  OPENFILENAMEA record{};
  // The first form is larger in 64-bit Windows, where pointers and handles are.
  record.lStructSize = ofn.lStructSize == kOpenFileNameSize ? OPENFILENAME_SIZE_VERSION_400A : ofn.lStructSize;
  record.hwndOwner = reinterpret_cast<HWND>(ofn.hwndOwner);
  record.lpstrFilter = ofn.lpstrFilter.c_str();
  record.nFilterIndex = ofn.nFilterIndex;
  record.lpstrFile = file.data();
  record.nMaxFile = static_cast<DWORD>(file.size());
  record.lpstrFileTitle = title.data();
  record.nMaxFileTitle = static_cast<DWORD>(title.size());
  record.lpstrTitle = ofn.lpstrTitle.c_str();
  record.Flags = ofn.Flags;
  BOOL ok = Resolve<decltype(&::GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA")(&record);
  ofn.nFilterIndex = record.nFilterIndex;
  if (ok) {
    ofn.lpstrFile = file;
    ofn.nFileOffset = record.nFileOffset;
    ofn.lpstrFileTitle = title.c_str();
  }
  return ok;
}

}  // namespace os::win32
