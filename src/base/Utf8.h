// The program's texts are UTF-8 from the command line to the settings file; Windows' own texts
// are UTF-16. These convert between the two. A std::wstring here holds UTF-16 code units
// whatever the width of wchar_t (two bytes on Windows, where the units go to the W functions).
#pragma once

#include <string>
#include <string_view>

namespace base {

// UTF-16 code units of a UTF-8 text. A byte that starts no valid sequence (a stray continuation
// byte, an overlong form, a surrogate, beyond U+10FFFF, cut short) becomes U+FFFD, one for
// each such byte, and reading goes on with the next byte.
std::wstring Utf16(std::string_view utf8);

// UTF-8 of UTF-16 code units; a surrogate without its partner becomes U+FFFD.
std::string Utf8(std::wstring_view utf16);

// The byte where the character holding byte `at` begins (at most the text's length), so that a
// text cut there is not cut inside a character.
std::size_t CharacterStart(std::string_view utf8, std::size_t at);

// UTF-8 of one character (U+FFFD for a surrogate or beyond U+10FFFF).
std::string Utf8(char32_t character);

// True when the text is valid UTF-8 holding only characters below 128.
bool IsAscii(std::string_view text);

// The text's first `most` bytes at most, cut before a character that would not fit whole.
std::string Head(std::string_view utf8, std::size_t most);

}  // namespace base
