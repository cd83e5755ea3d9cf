// Text and number conversions with the classic BASIC run-time rules the program's files and
// text boxes rely on: numeric prefixes, banker's rounding, Boolean and check-box texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// The number a text begins with. Blanks, tabs and line feeds are skipped wherever they stand
// (also inside the number); then an optional sign, digits, at most one full stop and an optional
// exponent. Reading stops at the first character that cannot continue the number. A text that
// does not begin with a number reads as 0.
double Val(std::string_view text);
// The same without an exponent: an optional sign, digits and at most one full stop ("1.4e2"
// reads 1.4).
double DecimalVal(std::string_view text);

// The whole number a text begins with: read as Val reads it, except that the number ends at a
// full stop or an exponent, so "2.5" reads as 2 and "1e2" as 1.
double WholeVal(std::string_view text);

// True when the whole text (blanks around it allowed) is one number.
bool IsNumeric(std::string_view text);

// Nearest integer, an exact half going to the even neighbour. Throws ui-independent
// base::Overflow when the result does not fit.
std::int16_t CInt(double value);
std::int32_t CLng(double value);
double RoundHalfEven(double value);

struct Overflow : std::exception {
  const char* what() const noexcept override { return "Overflow"; }
};

// "True"/"False" in any letter case, or a number (zero is False). Anything else is unusable.
std::optional<bool> ParseBoolean(std::string_view text);

// A check-box value: a number whose nearest whole value is 0, 1 or 2. Anything else is unusable.
std::optional<int> ParseCheckValue(std::string_view text);

// "True" / "False", as Boolean values are written to text.
std::string BooleanText(bool value);

// Upper case in the Windows-1252 code page (ASCII letters and the accented Latin letters).
std::string UCase(std::string_view text);
// Lower case of the ASCII letters alone, for texts compared without regard to case (switches,
// file names); every other byte stays as it is.
std::string Lower(std::string_view text);

// A number in its shortest decimal form: 2, 1.4, 0.25, -3.
std::string NumberText(double value);

}  // namespace base
