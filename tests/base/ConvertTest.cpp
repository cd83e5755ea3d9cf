#include "base/Convert.h"

#include <gtest/gtest.h>

namespace {

TEST(Val, ReadsTheLeadingNumberAndStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(base::Val("30"), 30);
  EXPECT_EQ(base::Val("12abc"), 12);
  EXPECT_EQ(base::Val("  -5"), -5);
  EXPECT_EQ(base::Val("1.4.2"), 1.4);
  EXPECT_EQ(base::Val(".5"), 0.5);
  EXPECT_EQ(base::Val("1 2\t3\n4"), 1234);  // blanks, tabs and line feeds are skipped inside
  EXPECT_EQ(base::Val("2e3x"), 2000);
  EXPECT_EQ(base::Val("2e"), 2);
}

TEST(Val, TextWithoutALeadingNumberReadsAsZero) {
  EXPECT_EQ(base::Val(""), 0);
  EXPECT_EQ(base::Val("abc"), 0);
  EXPECT_EQ(base::Val("-"), 0);
  EXPECT_EQ(base::Val("<html>1.4"), 0);
}

TEST(WholeVal, StopsAtAFullStopOrAnExponent) {
  EXPECT_EQ(base::WholeVal("2.5"), 2);
  EXPECT_EQ(base::WholeVal("1e2"), 1);
  EXPECT_EQ(base::WholeVal("3,5"), 3);
  EXPECT_EQ(base::WholeVal(" -5x"), -5);
  EXPECT_EQ(base::WholeVal(".5"), 0);
  EXPECT_EQ(base::WholeVal("4 2"), 42) << "blanks inside are skipped, as Val skips them";
}

TEST(IsNumeric, WantsTheWholeTextToBeOneNumber) {
  EXPECT_TRUE(base::IsNumeric(" 12 "));
  EXPECT_TRUE(base::IsNumeric("-1"));
  EXPECT_FALSE(base::IsNumeric("12x"));
  EXPECT_FALSE(base::IsNumeric(""));
  EXPECT_FALSE(base::IsNumeric("1e400")) << "too large for a Double";
}

TEST(CInt, RoundsHalvesToTheEvenNeighbourAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(base::CInt(2.5), 2);
  EXPECT_EQ(base::CInt(3.5), 4);
  EXPECT_EQ(base::CInt(-2.5), -2);
  EXPECT_EQ(base::CInt(298.32), 298);
  EXPECT_THROW(base::CInt(99999), base::Overflow);
  EXPECT_THROW(base::CLng(3e9), base::Overflow);
}

TEST(ParseBoolean, AcceptsTheWordsInAnyCaseAndNumbers) {
  EXPECT_EQ(base::ParseBoolean("True"), true);
  EXPECT_EQ(base::ParseBoolean("TRUE"), true);
  EXPECT_EQ(base::ParseBoolean("true"), true);
  EXPECT_EQ(base::ParseBoolean("-1"), true);
  EXPECT_EQ(base::ParseBoolean("False"), false);
  EXPECT_EQ(base::ParseBoolean("0"), false);
  EXPECT_EQ(base::ParseBoolean("yes"), std::nullopt);
  EXPECT_EQ(base::ParseBoolean("1e400"), std::nullopt);
  EXPECT_EQ(base::ParseBoolean(""), std::nullopt);
}

TEST(ParseCheckValue, AcceptsZeroOneAndTwoOnly) {
  EXPECT_EQ(base::ParseCheckValue("0"), 0);
  EXPECT_EQ(base::ParseCheckValue("1"), 1);
  EXPECT_EQ(base::ParseCheckValue("2"), 2);
  EXPECT_EQ(base::ParseCheckValue("5"), std::nullopt);
  EXPECT_EQ(base::ParseCheckValue("x"), std::nullopt);
  EXPECT_EQ(base::ParseCheckValue(""), std::nullopt);
  EXPECT_EQ(base::ParseCheckValue("-1"), std::nullopt);
}

TEST(UCase, UpperCasesAsciiAndAccentedLatinLetters) {
  EXPECT_EQ(base::UCase("06 Dec 2026\r09:05:03 pm"), "06 DEC 2026\r09:05:03 PM");
  EXPECT_EQ(base::UCase("M\xE4r d\xE9\x63"), "M\xC4R D\xC9\x43");  // März, déc
  EXPECT_EQ(base::UCase("\xF7\xDF"), "\xF7\xDF");                  // division sign and sharp s stay
}

TEST(Lower, LowerCasesTheAsciiLettersAlone) {
  EXPECT_EQ(base::Lower("FFmpeg.EXE /AT:11PM"), "ffmpeg.exe /at:11pm");
  EXPECT_EQ(base::Lower("\xC4\xC9[@]"), "\xC4\xC9[@]") << "accented letters and the neighbours of A-Z stay";
}

TEST(NumberText, WritesTheShortestForm) {
  EXPECT_EQ(base::NumberText(1.4), "1.4");
  EXPECT_EQ(base::NumberText(2.0), "2");
  EXPECT_EQ(base::NumberText(30), "30") << "whole numbers in full";
  EXPECT_EQ(base::NumberText(900), "900");
  EXPECT_EQ(base::NumberText(-3), "-3");
  EXPECT_EQ(base::BooleanText(true), "True");
}

}  // namespace
