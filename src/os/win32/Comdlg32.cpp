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

namespace {

// Asks with the record of either kind, its texts `Text`s, and gives back the file name(s) and
// the title as the dialog wrote them, whole (the names may be separated by NULs).
template <typename Record, typename Text>
BOOL Ask(OpenFileName& ofn, DWORD firstForm, const Text& filter, Text& file, Text& title, const Text& caption,
         auto open) {
  Record record{};
  // The first form is larger in 64-bit Windows, where pointers and handles are.
  record.lStructSize = ofn.lStructSize == kOpenFileNameSize ? firstForm : ofn.lStructSize;
  record.hwndOwner = reinterpret_cast<HWND>(ofn.hwndOwner);
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = ofn.nFilterIndex;
  record.lpstrFile = file.data();
  record.nMaxFile = static_cast<DWORD>(file.size());
  record.lpstrFileTitle = title.data();
  record.nMaxFileTitle = static_cast<DWORD>(title.size());
  record.lpstrTitle = caption.c_str();
  record.Flags = ofn.Flags;
  BOOL ok = open(&record);
  ofn.nFilterIndex = record.nFilterIndex;
  if (ok) ofn.nFileOffset = record.nFileOffset;
  return ok;
}

// A buffer of `room` characters at least, holding the text and a NUL.
template <typename Text>
Text Room(Text text, std::size_t room) {
  text.resize(std::max<std::size_t>(room, text.size() + 1), 0);
  return text;
}

}  // namespace

// The names come back whole in UTF-8, with the name's offset counted in UTF-8 bytes.
std::int32_t Comdlg32::GetOpenFileNameA(OpenFileName& ofn) {
  if (boundary::WideApi()) {
    std::wstring file = Room(Wide(ofn.lpstrFile), ofn.nMaxFile);
    std::wstring title = Room(Wide(ofn.lpstrFileTitle), std::max<std::size_t>(ofn.nMaxFileTitle, 1));
    BOOL ok = Ask<OPENFILENAMEW>(ofn, OPENFILENAME_SIZE_VERSION_400W, Wide(ofn.lpstrFilter), file, title, Wide(ofn.lpstrTitle),
                                 WIDE("comdlg32.dll", GetOpenFileNameW));
    if (ok) {
      ofn.nFileOffset = static_cast<std::uint16_t>(base::Utf8(std::wstring_view(file).substr(0, ofn.nFileOffset)).size());
      ofn.lpstrFile = base::Utf8(file);
      ofn.lpstrFileTitle = FromWide(title.c_str());
    }
    return ok;
  }
  std::string file = Room(Ansi(ofn.lpstrFile), ofn.nMaxFile);
  std::string title = Room(Ansi(ofn.lpstrFileTitle), std::max<std::size_t>(ofn.nMaxFileTitle, 1));
  BOOL ok = Ask<OPENFILENAMEA>(ofn, OPENFILENAME_SIZE_VERSION_400A, Ansi(ofn.lpstrFilter), file, title, Ansi(ofn.lpstrTitle),
                               Resolve<decltype(&::GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA"));
  if (ok) {
    ofn.nFileOffset = static_cast<std::uint16_t>(boundary::FromCodePage(file.substr(0, ofn.nFileOffset)).size());
    ofn.lpstrFile = boundary::FromCodePage(file);
    ofn.lpstrFileTitle = boundary::FromCodePage(title.c_str());
  }
  return ok;
}

}  // namespace os::win32
