#include "os/win32/Text.h"

#include <windows.h>

#include "base/Utf8.h"

namespace boundary {

bool WideApi() {
  static const bool wide = (GetVersion() & 0x80000000u) == 0;
  return wide;
}

std::string ToCodePage(std::string_view utf8, bool* exact) {
  std::wstring units = base::Utf16(utf8);
  std::string out;
  if (!units.empty()) {
    int length = static_cast<int>(units.size());
    int size = WideCharToMultiByte(CP_ACP, 0, units.data(), length, nullptr, 0, nullptr, nullptr);
    out.resize(size > 0 ? size : 0);
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, units.data(), length, out.data(), size, nullptr, nullptr);
  }
  if (exact) *exact = FromCodePage(out) == utf8;
  return out;
}

std::string FromCodePage(std::string_view ansi) {
  if (ansi.empty()) return {};
  int length = static_cast<int>(ansi.size());
  int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::wstring units(size > 0 ? size : 0, L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, units.data(), size);
  return base::Utf8(units);
}

}  // namespace boundary
