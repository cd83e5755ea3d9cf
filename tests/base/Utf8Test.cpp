#include "base/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, RoundTripsEveryPlaneThroughUtf16) {
  // Cyrillic and Japanese (a folder name), a character beyond the first plane, and plain ASCII.
  const std::string text = "\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0 \xE9\x9F\xB3\xE6\xA5\xBD \xF0\x9F\x8E\xB5.mp3";
  std::wstring units = base::Utf16(text);
  ASSERT_EQ(units.size(), 6u + 1 + 2 + 1 + 2 + 4);
  EXPECT_EQ(units[0], L'\x041C');
  EXPECT_EQ(units[7], L'\x97F3');
  EXPECT_EQ(units[10], static_cast<wchar_t>(0xD83C));  // the surrogate pair of U+1F3B5
  EXPECT_EQ(units[11], static_cast<wchar_t>(0xDFB5));
  EXPECT_EQ(base::Utf8(units), text);
  EXPECT_EQ(base::Utf8(U'\x1F3B5'), "\xF0\x9F\x8E\xB5") << "one character";
}

TEST(Utf8, EachBadByteBecomesOneReplacementAndReadingGoesOn) {
  // A lone continuation byte, an overlong slash, an encoded surrogate, a cut sequence at the end,
  // and a code page's e acute (0xE9) followed by ASCII.
  std::wstring units = base::Utf16("a\x80" "b\xC0\xAF" "c\xED\xA0\x80" "d\xE9x\xE2\x82");
  EXPECT_EQ(units, std::wstring(L"a\xFFFD" L"b\xFFFD\xFFFD" L"c\xFFFD\xFFFD\xFFFD" L"d\xFFFDx\xFFFD\xFFFD"));
  // A high surrogate without its low half.
  EXPECT_EQ(base::Utf8(std::wstring{static_cast<wchar_t>(0xD800), L'z'}), "\xEF\xBF\xBDz");
  // A cut inside a character moves back to its first byte.
  const std::string name = "a\xE9\x9F\xB3" "b";
  EXPECT_EQ(base::CharacterStart(name, 2), 1u);
  EXPECT_EQ(base::CharacterStart(name, 4), 4u);
  EXPECT_EQ(base::CharacterStart(name, 9), name.size());
  EXPECT_EQ(base::Utf8(char32_t{0xD800}), "\xEF\xBF\xBD");
  EXPECT_EQ(base::Utf8(char32_t{0x110000}), "\xEF\xBF\xBD");
  EXPECT_TRUE(base::IsAscii("C:\\Music\\a b.wav"));
  EXPECT_FALSE(base::IsAscii("caf\xC3\xA9"));
}

// A cut (a tip's length) keeps whole characters only.
TEST(Utf8, AHeadCutsBeforeACharacterThatWouldNotFit) {
  EXPECT_EQ(base::Head("ab\xD0\x9C\xE9\x9F\xB3", 3), "ab");
  EXPECT_EQ(base::Head("ab\xD0\x9C\xE9\x9F\xB3", 4), "ab\xD0\x9C");
  EXPECT_EQ(base::Head("ab\xD0\x9C\xE9\x9F\xB3", 7), "ab\xD0\x9C\xE9\x9F\xB3");
}

}  // namespace
