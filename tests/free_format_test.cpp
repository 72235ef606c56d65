#include "formats/text/free_format.h"

#include <gtest/gtest.h>

#include "core/failure.h"

namespace talvo {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

TEST(Text_Input, NumbersEndAtBlanksCommasAndLineEnds) {
  const auto bytes = Bytes("1.5 2,3\r\n-4e2\r\n  .5,  +7\r\n");
  Text_Input in(bytes, "a.txt");
  EXPECT_DOUBLE_EQ(in.Read_Number(), 1.5);
  EXPECT_DOUBLE_EQ(in.Read_Number(), 2);
  EXPECT_DOUBLE_EQ(in.Read_Number(), 3);
  EXPECT_DOUBLE_EQ(in.Read_Number(), -400);
  EXPECT_DOUBLE_EQ(in.Read_Number(), 0.5);
  EXPECT_DOUBLE_EQ(in.Read_Number(), 7);
  EXPECT_TRUE(in.At_End());  // the last line end went with the last number
}

TEST(Text_Input, BlanksBeforeACommaAreOneDelimiterWithIt) {
  const auto bytes = Bytes("1.5 ,25\t, 3  4\r\n");
  Text_Input in(bytes, "a.txt");
  EXPECT_DOUBLE_EQ(in.Read_Number(), 1.5);
  EXPECT_DOUBLE_EQ(in.Read_Number(), 25);
  EXPECT_DOUBLE_EQ(in.Read_Number(), 3);
  EXPECT_DOUBLE_EQ(in.Read_Number(), 4);
  EXPECT_TRUE(in.At_End());
}

TEST(Text_Input, TheDelimiterIsConsumedSoALineReadTakesTheRest) {
  const auto bytes = Bytes("1.0 rest of line\r\nnext\r\n2.0\r\nafter\r\n");
  Text_Input in(bytes, "a.txt");
  EXPECT_DOUBLE_EQ(in.Read_Number(), 1.0);
  EXPECT_EQ(in.Read_Line(), "rest of line");
  EXPECT_EQ(in.Read_Line(), "next");
  EXPECT_DOUBLE_EQ(in.Read_Number(), 2.0);
  EXPECT_EQ(in.Read_Line(), "after");  // 2.0 ended its line
}

TEST(Text_Input, TextFieldsEndAtCommasOrTheirClosingQuote) {
  const auto bytes = Bytes("  _SAMPLE='My quartz', x\r\n\"a, b\" , c\r\nlast");
  Text_Input in(bytes, "a.uxd");
  EXPECT_EQ(in.Read_Text_Field(), "_SAMPLE='My quartz'");
  EXPECT_EQ(in.Read_Text_Field(), "x");
  EXPECT_EQ(in.Read_Text_Field(), "a, b");
  EXPECT_EQ(in.Read_Text_Field(), "c");
  EXPECT_EQ(in.Read_Text_Field(), "last");
  EXPECT_TRUE(in.At_End());
}

TEST(Text_Input, LineEndsOfEveryKindSeparateLines) {
  const auto bytes = Bytes("a\nb\rc\r\nd");
  Text_Input in(bytes, "a.txt");
  EXPECT_EQ(in.Read_Line(), "a");
  EXPECT_EQ(in.Read_Line(), "b");
  EXPECT_EQ(in.Read_Line(), "c");
  EXPECT_EQ(in.Read_Line(), "d");
  EXPECT_TRUE(in.At_End());
}

TEST(Text_Input, ReadingPastTheEndFailsWithTheFileAndWhatWasExpected) {
  const auto bytes = Bytes("5\r\n\r\n  \r\n");
  Text_Input in(bytes, "QTZ.TXT");
  EXPECT_DOUBLE_EQ(in.Read_Number(), 5);
  EXPECT_FALSE(in.At_End());
  EXPECT_TRUE(in.Only_Blanks_Remain());
  try {
    in.Read_Number("the counting time");
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "QTZ.TXT ends where the counting time was expected (line 4).");
  }
}

TEST(Text_Input, AFieldThatIsNoNumberIsNamedWithItsLine) {
  const auto bytes = Bytes("1\r\n2 abc\r\n");
  Text_Input in(bytes, "A.RAW");
  in.Read_Number();
  in.Read_Number();
  try {
    in.Read_Number("an intensity");
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "A.RAW: an intensity was expected on line 2, but it holds \"abc\".");
  }
}

}  // namespace
}  // namespace talvo
