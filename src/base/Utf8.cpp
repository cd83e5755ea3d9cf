#include "base/Utf8.h"

#include <cstdint>

namespace base {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUnits(std::wstring& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<wchar_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::wstring Utf16(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto byte = static_cast<std::uint8_t>(utf8[i]);
    if (byte < 0x80) {
      out.push_back(static_cast<wchar_t>(byte));
      ++i;
      continue;
    }
    int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
    if (byte > 0xF4) length = 0;
    char32_t c = length == 2 ? byte & 0x1F : length == 3 ? byte & 0x0F : byte & 0x07;
    bool valid = length != 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      auto next = static_cast<std::uint8_t>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and what lies beyond Unicode's last character.
    if (valid && ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
                  (c >= 0xD800 && c <= 0xDFFF)))
      valid = false;
    if (!valid) {
      out.push_back(static_cast<wchar_t>(kReplacement));
      ++i;
      continue;
    }
    AppendUnits(out, c);
    i += length;
  }
  return out;
}

std::string Utf8(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(utf16[i]));
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size()) {
      auto low = static_cast<char32_t>(static_cast<std::uint16_t>(utf16[i + 1]));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
  }
  return out;
}

std::size_t CharacterStart(std::string_view utf8, std::size_t at) {
  if (at >= utf8.size()) return utf8.size();
  // A character is at most four bytes: a lead byte and up to three continuation bytes.
  for (int back = 0; back < 3 && at > 0 && (static_cast<std::uint8_t>(utf8[at]) & 0xC0) == 0x80; ++back) --at;
  return at;
}

std::string Utf8(char32_t character) {
  std::string out;
  AppendUtf8(out, (character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF ? kReplacement : character);
  return out;
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<std::uint8_t>(c) >= 0x80) return false;
  return true;
}

std::string Head(std::string_view utf8, std::size_t most) {
  if (utf8.size() <= most) return std::string(utf8);
  std::size_t end = most;
  // Back over the continuation bytes of the character the cut falls in, and its first byte.
  while (end > 0 && (static_cast<std::uint8_t>(utf8[end]) & 0xC0) == 0x80) --end;
  return std::string(utf8.substr(0, end));
}

}  // namespace base
