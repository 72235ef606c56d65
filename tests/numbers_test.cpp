#include "core/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/cp1252.h"
#include "core/text32.h"

namespace talvo {
namespace {

TEST(Leading_Number, TakesTheLongestLeadingDecimalNumber) {
  EXPECT_DOUBLE_EQ(Leading_Number("12.5"), 12.5);
  EXPECT_DOUBLE_EQ(Leading_Number("  -3.25e2xyz"), -325);
  EXPECT_DOUBLE_EQ(Leading_Number("+7"), 7);
  EXPECT_DOUBLE_EQ(Leading_Number(".5"), 0.5);
  EXPECT_DOUBLE_EQ(Leading_Number("5."), 5);
  EXPECT_DOUBLE_EQ(Leading_Number("1,5"), 1);  // "," is no decimal point
  EXPECT_DOUBLE_EQ(Leading_Number("1.5.7"), 1.5);
  EXPECT_DOUBLE_EQ(Leading_Number("2e"), 2);  // an exponent needs digits
  EXPECT_DOUBLE_EQ(Leading_Number("2e+"), 2);
  EXPECT_DOUBLE_EQ(Leading_Number("1E3"), 1000);
}

TEST(Leading_Number, TextWithoutANumberGivesZeroAndSaysSo) {
  for (const char* text : {"", "   ", "-", "+", ".", "-.", "abc", "e5", ",5"}) {
    const Leading number = Parse_Leading_Number(text);
    EXPECT_FALSE(number.found) << text;
    EXPECT_EQ(number.value, 0) << text;
  }
}

TEST(Leading_Number, OverflowGivesInfinityAndUnderflowZero) {
  EXPECT_TRUE(std::isinf(Leading_Number("1e999")));
  EXPECT_LT(Leading_Number("-1e999"), 0);
  EXPECT_EQ(Leading_Number("1e-999"), 0);
  EXPECT_EQ(Leading_Number("0.000e999"), 0);
}

TEST(Comma_To_Dot, ReplacesOnlyTheFirstComma) {
  EXPECT_EQ(Comma_To_Dot("12,5"), "12.5");
  EXPECT_EQ(Comma_To_Dot("12.5"), "12.5");
  EXPECT_EQ(Comma_To_Dot(","), ".");
  EXPECT_EQ(Comma_To_Dot("1,5,7"), "1.5,7");
  EXPECT_DOUBLE_EQ(Leading_Number(Comma_To_Dot("1,5,7")), 1.5);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(*Round_To_Int16(44.5), 44);
  EXPECT_EQ(*Round_To_Int16(45.5), 46);
  EXPECT_EQ(*Round_To_Int16(-2.5), -2);
  EXPECT_EQ(*Round_To_Int16(32767.4), 32767);
  EXPECT_FALSE(Round_To_Int16(32767.5));
  EXPECT_FALSE(Round_To_Int16(NAN));
  EXPECT_EQ(*Round_To_Int32(3384.5), 3384);
  EXPECT_FALSE(Round_To_Int32(1e308));
}

TEST(General_Number, ShowsSignificantDigitsOfTheItemWidth) {
  EXPECT_EQ(General_Number(0.3f, 7, '.'), "0.3");  // a 32-bit 0.3 is 0.300000011920929
  EXPECT_EQ(General_Number(0.3f, 15, '.'), "0.300000011920929");
  EXPECT_EQ(General_Number(1.54051f, 7, ','), "1,54051");
  EXPECT_EQ(General_Number(10.02 - 10.00, 15, '.'), "0.0199999999999996");
  EXPECT_EQ(General_Number(70, 15, '.'), "70");
  EXPECT_EQ(General_Number(0.00001, 7, '.'), "1E-05");
  EXPECT_EQ(General_Number(0, 7, '.'), "0");
}

TEST(Text32, CutsOrPadsWithBlanksAndKeepsBytes) {
  EXPECT_EQ(Fit32("Quartz"), "Quartz" + std::string(26, ' '));
  EXPECT_EQ(Fit32(std::string(40, 'x')), std::string(32, 'x'));
  const std::string with_nuls("ab\0\0", 4);
  EXPECT_EQ(Fit32(with_nuls).substr(0, 4), with_nuls);
  EXPECT_EQ(Blank_Nuls(std::string(3, '\0')), "   ");
}

TEST(Cp1252, RoundTripsThroughUtf8) {
  EXPECT_EQ(Cp1252_To_Utf8("Th\xE9ta"), "Th\u00e9ta");
  EXPECT_EQ(Cp1252_To_Utf8("\x80"), "\u20ac");
  EXPECT_EQ(Utf8_To_Cp1252("D\u00e9signation \u20ac"), "D\xE9signation \x80");
  EXPECT_EQ(Utf8_To_Cp1252("\u4e2d"), "?");
  EXPECT_EQ(Utf8_To_Cp1252("\xC3"), "?");  // cut short
}

}  // namespace
}  // namespace talvo
