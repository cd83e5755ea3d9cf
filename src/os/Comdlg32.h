// comdlg32: the file-open dialog.
#pragma once

#include <cstdint>
#include <string>

#include "os/Types.h"

namespace os {

// The file-open dialog's record, as far as the program fills and reads it.
struct OpenFileName {
  HWnd hwndOwner = 0;
  std::string lpstrFilter;  // description and pattern pairs, each part followed by a NUL
  std::uint32_t nFilterIndex = 0;
  std::string lpstrFile;    // in: the initial name; out: folder and name(s)
  std::uint32_t nMaxFile = 0;
  std::string lpstrFileTitle;
  std::string lpstrTitle;
  std::uint32_t Flags = 0;
  std::uint16_t nFileOffset = 0;
  bool operator==(const OpenFileName&) const = default;
};

class Comdlg32 {
 public:
  virtual ~Comdlg32() = default;
  virtual std::int32_t GetOpenFileNameA(OpenFileName& ofn) = 0;
};

}  // namespace os
