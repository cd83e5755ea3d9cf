#include "base/Convert.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace base {
namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// How much of a number a reader takes: all of it, no exponent, or the whole part only.
enum class Number { Full, Decimal, Whole };

// Collects the characters of the leading number into `out` (blanks dropped). Returns the
// position after the last character that belongs to it.
std::size_t ScanNumber(std::string_view text, std::string& out, Number kind = Number::Full) {
  std::size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && IsSkipped(text[i])) ++i;
  };
  skip();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
  bool digits = false;
  bool point = false;
  for (;; ++i) {
    skip();
    if (i >= text.size()) break;
    char c = text[i];
    if (IsDigit(c)) {
      out += c;
      digits = true;
    } else if (c == '.' && !point && kind != Number::Whole) {
      out += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  std::size_t end = i;
  if (kind == Number::Full && i < text.size() &&
      (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::string power = "e";
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) power += text[j++];
    bool expDigits = false;
    while (j < text.size() && IsDigit(text[j])) {
      power += text[j++];
      expDigits = true;
    }
    if (expDigits) {
      out += power;
      end = j;
    }
  }
  return end;
}

double LeadingNumber(std::string_view text, Number kind) {
  std::string number;
  if (ScanNumber(text, number, kind) == 0) return 0.0;
  double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace

double Val(std::string_view text) { return LeadingNumber(text, Number::Full); }

double DecimalVal(std::string_view text) { return LeadingNumber(text, Number::Decimal); }

double WholeVal(std::string_view text) { return LeadingNumber(text, Number::Whole); }

bool IsNumeric(std::string_view text) {
  std::string number;
  std::size_t end = ScanNumber(text, number);
  if (end == 0) return false;
  while (end < text.size() && IsSkipped(text[end])) ++end;
  // A number too large for a Double is not one the program can use.
  return end == text.size() && std::isfinite(std::strtod(number.c_str(), nullptr));
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

std::int16_t CInt(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= std::numeric_limits<std::int16_t>::min() && r <= std::numeric_limits<std::int16_t>::max()))
    throw Overflow();
  return static_cast<std::int16_t>(r);
}

std::int32_t CLng(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
    throw Overflow();
  return static_cast<std::int32_t>(r);
}

std::optional<bool> ParseBoolean(std::string_view text) {
  std::string_view t = text;
  while (!t.empty() && IsSkipped(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsSkipped(t.back())) t.remove_suffix(1);
  std::string upper = UCase(t);
  if (upper == "TRUE") return true;
  if (upper == "FALSE") return false;
  if (IsNumeric(t)) return Val(t) != 0.0;
  return std::nullopt;
}

std::optional<int> ParseCheckValue(std::string_view text) {
  if (!IsNumeric(text)) return std::nullopt;
  double r = RoundHalfEven(Val(text));
  if (r == 0.0 || r == 1.0 || r == 2.0) return static_cast<int>(r);
  return std::nullopt;
}

std::string BooleanText(bool value) { return value ? "True" : "False"; }

std::string UCase(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') {
      c = static_cast<unsigned char>(c - 32);
    } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
      c = static_cast<unsigned char>(c - 32);
    } else if (c == 0x9A || c == 0x9C || c == 0x9E) {
      c = static_cast<unsigned char>(c - 16);
    } else if (c == 0xFF) {
      c = 0x9F;
    }
    ch = static_cast<char>(c);
  }
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string NumberText(double value) {
  char buffer[64];
  // Whole numbers are written out in full ("30", not "3e+01") up to fifteen digits.
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value == 0 ? 0.0 : value);
    return buffer;
  }
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

}  // namespace base
