#include "formats/text/number_pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

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

// Reference: the exact decimal expansion (80 decimals is exact for every
// double from 2^-26 on), rounded half up by hand on the digits.
std::string Reference(double value, int decimals) {
  char buffer[512];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 80).ptr;
  std::string digits(buffer, end);
  const std::size_t point = digits.find('.');
  std::string kept = digits.substr(0, point) + digits.substr(point + 1, decimals);
  if (digits[point + 1 + decimals] >= '5') {
    int i = static_cast<int>(kept.size()) - 1;
    for (; i >= 0 && kept[i] == '9'; --i) kept[i] = '0';
    if (i >= 0)
      ++kept[i];
    else
      kept.insert(kept.begin(), '1');
  }
  std::string integer = kept.substr(0, kept.size() - decimals);
  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
  return integer + "." + kept.substr(kept.size() - decimals);
}

TEST(Number_Pattern, AgreesWithTheExactDecimalExpansionOnTiesNearTiesAndOrdinaryValues) {
  std::mt19937_64 random(5);
  for (int decimals = 1; decimals <= 4; ++decimals) {
    const std::string pattern = "0." + std::string(decimals, '0');
    for (int k = 0; k < 8000; ++k) {
      const double tie = (2.0 * k + 1) / (2 * std::pow(10.0, decimals)) + k / 16;
      for (double v : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e9),
                       std::ldexp(static_cast<double>(random() >> 11), -40 + k % 50)}) {
        if (v < 0x1p-26) continue;
        ASSERT_EQ(Format_Number(v, pattern, '.'), Reference(v, decimals)) << std::hexfloat << v;
      }
    }
  }
}

// Ordinary values take a shorter way than very long patterns and very
// large values: the texts agree on both sides of where the ways part, and
// the longest text fits the room Max_Length promises.
TEST(Number_Pattern, LongPatternsAndLargeValuesWriteTheSameDigits) {
  const std::string zeros16(16, '0'), zeros17(17, '0');
  const std::tuple<double, std::string, std::string> cases[] = {
      {0.1, "0." + std::string(15, '0'), "0.100000000000000"},
      {0.1, "0." + std::string(16, '0'), "0.1000000000000000"},
      {0.25, "0.0" + std::string(15, '#'), "0.25"},
      {42, zeros16, "0000000000000042"},
      {42, zeros17, "00000000000000042"},
      {-42.5, zeros17 + ".0", "-00000000000000042.5"},
      {-0.0004, "0.000", "0.000"},
      {4503599627370495.0, "0", "4503599627370495"},  // 2^52 - 1: still the short way
      {4503599627370497.0, "0", "4503599627370497"},  // past it
      {123456.5, "<0.0>", "<123456.5>"},
  };
  for (const auto& [value, pattern, expected] : cases)
    EXPECT_EQ(Format_Number(value, pattern, '.'), expected) << pattern;

  for (const char* pattern : {"0", "#####0.0", "<0.000>", "00000000000000000000.0"}) {
    const Number_Pattern number(pattern);
    for (const double value : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(), -1e300}) {
      std::vector<char> room(number.Max_Length());
      const std::string text(room.data(), number.Put(room.data(), value, '.'));
      EXPECT_EQ(text, number.Format(value, '.'));
      EXPECT_LE(text.size(), room.size());
    }
  }
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
