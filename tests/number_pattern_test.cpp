#include "formats/text/number_pattern.h"

#include <gtest/gtest.h>

#include <cmath>

namespace talvo {
namespace {

TEST(Number_Pattern, DigitsShownAlwaysOrWhenSignificant) {
  EXPECT_EQ(Format_Number(0.02, "##.000", '.'), ".020");
  EXPECT_EQ(Format_Number(1.5, "##.000", '.'), "1.500");
  EXPECT_EQ(Format_Number(1.0, "##.0", '.'), "1.0");
  EXPECT_EQ(Format_Number(0.5, "##.0", '.'), ".5");
  EXPECT_EQ(Format_Number(0.5, "##0.00", '.'), "0.50");
  EXPECT_EQ(Format_Number(10.04, "##0.00", '.'), "10.04");
  EXPECT_EQ(Format_Number(123456.78, "#####0.0", '.'), "123456.8");
  EXPECT_EQ(Format_Number(1234567.0, "#####0.0", '.'), "1234567.0");  // more digits than placeholders
  EXPECT_EQ(Format_Number(7.26, "#####0.0", '.'), "7.3");
  EXPECT_EQ(Format_Number(0.0, "#####0.000", '.'), "0.000");
}

TEST(Number_Pattern, LiteralCharactersStandAsWritten) {
  EXPECT_EQ(Format_Number(35.88977, "   0.0000          ", '.'), "   35.8898          ");
  EXPECT_EQ(Format_Number(5.2, "  0", '.'), "  5");
  EXPECT_EQ(Format_Number(9.6, "  0", '.'), "  10");
  EXPECT_EQ(Format_Number(45.3, " 00", '.'), " 45");
  EXPECT_EQ(Format_Number(5, " 00", '.'), " 05");
  EXPECT_EQ(Format_Number(99.7, " 00", '.'), " 100");
}

TEST(Number_Pattern, RoundsTheExactBinaryValueAndTiesAwayFromZero) {
  EXPECT_EQ(Format_Number(2.675, "0.00", '.'), "2.67");  // stored as 2.67499999...
  EXPECT_EQ(Format_Number(0.125, "0.00", '.'), "0.13");  // exactly half-way
  EXPECT_EQ(Format_Number(62.5, "0", '.'), "63");
  EXPECT_EQ(Format_Number(63.5, "0", '.'), "64");
  EXPECT_EQ(Format_Number(-0.125, "0.00", '.'), "-0.13");
  EXPECT_EQ(Format_Number(1.005, "0.00", '.'), "1.00");  // 1.00499999999999989...
  EXPECT_EQ(Format_Number(9.995, "0.00", '.'), "9.99");
  EXPECT_EQ(Format_Number(99.995, "0.00", '.'), "100.00");  // 99.99500000000000454...
  EXPECT_EQ(Format_Number(0.0001, "0.00", '.'), "0.00");
  EXPECT_EQ(Format_Number(-0.001, "0.00", '.'), "0.00");  // no sign on a value that shows as zero
}

TEST(Number_Pattern, EveryExactTieGoesAwayFromZeroAndNearTiesByTheirBinaryValue) {
  // to_chars alone would give 0, 2, 0.2 and 0.12 for these (ties to even).
  EXPECT_EQ(Format_Number(0.5, "0", '.'), "1");
  EXPECT_EQ(Format_Number(2.5, "  0", '.'), "  3");
  EXPECT_EQ(Format_Number(0.25, "##.0", '.'), ".3");
  EXPECT_EQ(Format_Number(-62.5, "0", '.'), "-63");
  EXPECT_EQ(Format_Number(0.0625, "0.000", '.'), "0.063");
  EXPECT_EQ(Format_Number(4503599627370495.5, "0", '.'), "4503599627370496");  // the last tie below 2^52
  EXPECT_EQ(Format_Number(std::nextafter(0.125, 0.0), "0.00", '.'), "0.12");
  EXPECT_EQ(Format_Number(std::nextafter(0.125, 1.0), "0.00", '.'), "0.13");
  EXPECT_EQ(Format_Number(10.125, "##0.00", '.'), "10.13");
  EXPECT_EQ(Format_Number(1e22, "0.0", '.'), "10000000000000000000000.0");
  EXPECT_EQ(Format_Number(1e-300, "#####0.0", '.'), "0.0");
}

TEST(Number_Pattern, OptionalDecimalsDropTrailingZeros) {
  EXPECT_EQ(Format_Number(1.5, "0.0#", '.'), "1.5");
  EXPECT_EQ(Format_Number(1.25, "0.0#", '.'), "1.25");
  EXPECT_EQ(Format_Number(3.0, "0.", '.'), "3.");
}

TEST(Number_Pattern, WritesTheRegionalSeparator) {
  EXPECT_EQ(Format_Number(0.02, "##.000", ','), ",020");
  EXPECT_EQ(Format_Number(10.0, "##0.00", ','), "10,00");
  EXPECT_EQ(Format_Number(101.2, "0", ','), "101");
}

}  // namespace
}  // namespace talvo
