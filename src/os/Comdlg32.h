// comdlg32: the file-open dialog.
#pragma once

#include <cstdint>
#include <string>

#include "os/Types.h"

namespace os {

// The file-open dialog's record, as far as the program fills and reads it. Its texts are UTF-8;
// the sizes offered count characters, and nFileOffset the bytes before the name.
struct OpenFileName {
  std::uint32_t lStructSize = 0;  // kOpenFileNameSize: the record's first form
  HWnd hwndOwner = 0;
  std::string lpstrFilter;  // description and pattern pairs, each part followed by a NUL
  std::uint32_t nFilterIndex = 0;
  std::string lpstrFile;    // in: the initial name; out: folder and name(s)
  std::uint32_t nMaxFile = 0;
  std::string lpstrFileTitle;   // out: the chosen file's name alone
  std::uint32_t nMaxFileTitle = 0;
  std::string lpstrTitle;
  std::uint32_t Flags = 0;
  std::uint16_t nFileOffset = 0;
  bool operator==(const OpenFileName&) const = default;
};

// The size of the record's first form in 32-bit Windows, which every version takes.
constexpr std::uint32_t kOpenFileNameSize = 76;

class Comdlg32 {
 public:
  virtual ~Comdlg32() = default;
  virtual std::int32_t GetOpenFileNameA(OpenFileName& ofn) = 0;
};

}  // namespace os
