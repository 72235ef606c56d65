#include "formats/text/peak_writers.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/numbers.h"
#include "core/store.h"
#include "core/text32.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Read_Text;
using testing::Recording_Platform;
using testing::Temp_Dir;

using Write_Fn = void (*)(const std::string&, const Store&, Platform&);

Store Peak_List(const std::vector<Peak>& peaks, const std::string& title = "Quartz") {
  Store store;
  store.Is_Peak_List = True16;
  Set_Dif_Title(store, title);
  store.Nb_Peaks = static_cast<int16_t>(peaks.size());
  for (std::size_t k = 0; k < peaks.size(); ++k) store.Peaks[k + 1] = peaks[k];
  return store;
}

std::string Write(Write_Fn writer, const Store& store, char separator = '.') {
  Temp_Dir dir;
  Recording_Platform platform;
  platform.separator = separator;
  writer(dir.Path("OUT"), store, platform);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal"}));
  return Read_Text(dir.Path("OUT"));
}

const std::string Quartz_Title = "Quartz                          \r\n";
const std::string Keywords = "  CHOICE=4,\r\n  VOL=-2000,\r\n  END*\r\n";

TEST(Write_Treor, TitlePeakLinesAndKeywordBlock) {
  const Store store = Peak_List({{35.88977, 100}, {45.30331, 45.3}, {5.0, 5.2}});
  EXPECT_EQ(Write(Write_Treor, store), Quartz_Title +
                                           "   35.8898          100\r\n"
                                           "   45.3033           45\r\n"
                                           "   5.0000            5\r\n" +
                                           Keywords);
  EXPECT_EQ(Write(Write_Treor, Peak_List({})), Quartz_Title + Keywords);
  EXPECT_EQ(Write(Write_Treor, store, ','), Quartz_Title +
                                                "   35,8898          100\r\n"
                                                "   45,3033           45\r\n"
                                                "   5,0000            5\r\n" +
                                                Keywords);
}

std::string Treor_Intensity(double intensity) {
  const std::string file = Write(Write_Treor, Peak_List({{1, intensity}}));
  const std::string line = file.substr(34, file.find("\r\n", 34) - 34);
  return line.substr(std::string("   1.0000          ").size());
}

TEST(Write_Treor, IntensityColumnByValue) {
  EXPECT_EQ(Treor_Intensity(9.4), "  9");
  EXPECT_EQ(Treor_Intensity(0), "  0");
  EXPECT_EQ(Treor_Intensity(10), " 10");
  EXPECT_EQ(Treor_Intensity(99.4), " 99");
  EXPECT_EQ(Treor_Intensity(100), "100");
  EXPECT_EQ(Treor_Intensity(9.6), "  10");  // rounding up across a threshold widens the column
  EXPECT_EQ(Treor_Intensity(99.7), " 100");
  EXPECT_EQ(Treor_Intensity(11 * (100.0 / 11)), " 100");  // not exactly 100
  EXPECT_EQ(Treor_Intensity(250.2), " 250");
  EXPECT_EQ(Treor_Intensity(8.5), "  9");  // a half goes away from zero
  EXPECT_EQ(Treor_Intensity(62.5), " 63");
}

TEST(Write_UFit, TitleEmptyLineAndCommaSeparatedPeaks) {
  const Store store = Peak_List({{35.88977, 45.3}, {45.30331, 100}, {123.4565, 0.05}});
  EXPECT_EQ(Write(Write_UFit, store), Quartz_Title +
                                          "\r\n"
                                          "35.890, 45.3, 0\r\n"
                                          "45.303, 100.0, 0\r\n"
                                          "123.457, 0.1, 0\r\n");
  EXPECT_EQ(Write(Write_UFit, store, ','), Quartz_Title +
                                               "\r\n"
                                               "35,890, 45,3, 0\r\n"
                                               "45,303, 100,0, 0\r\n"
                                               "123,457, 0,1, 0\r\n");
  EXPECT_EQ(Write(Write_UFit, Peak_List({})), Quartz_Title + "\r\n");
}

TEST(Peak_Writers, ANulPaddedTitleIsWrittenWithBlanks) {
  Store store = Peak_List({{20, 100}});
  store.Dif_Header.fill(0);  // the start-up header
  std::string expected_title(32, ' ');
  EXPECT_EQ(Write(Write_Treor, store).substr(0, 34), expected_title + "\r\n");
  EXPECT_EQ(Write(Write_UFit, store).substr(0, 34), expected_title + "\r\n");
  store.Dif_Header[4] = 'Q';
  EXPECT_EQ(Write(Write_UFit, store).substr(0, 34), "Q" + std::string(31, ' ') + "\r\n");
}

// The two files read back, line by line, by the leading-number rule.
std::vector<Peak> Parse_Peaks(const std::string& file, int skip_lines, int peaks) {
  std::istringstream lines(file);
  std::string line;
  for (int i = 0; i < skip_lines; ++i) std::getline(lines, line);
  std::vector<Peak> read;
  for (int k = 0; k < peaks && std::getline(lines, line); ++k) {
    const Leading position = Parse_Leading_Number(line);
    std::string rest = line.substr(position.length);
    if (!rest.empty() && rest[0] == ',') rest.erase(0, 1);
    read.push_back({position.value, Leading_Number(rest)});
  }
  return read;
}

TEST(Peak_Writers, FilesReadBackToThePrintedPrecision) {
  std::vector<Peak> peaks;
  for (int k = 1; k <= 40; ++k) peaks.push_back({5 + k * 2.345678901, (k * 37 % 101) + k / 7.0});
  const Store store = Peak_List(peaks);
  const auto treor = Parse_Peaks(Write(Write_Treor, store), 1, 40);
  const auto ufit = Parse_Peaks(Write(Write_UFit, store), 2, 40);
  ASSERT_EQ(treor.size(), 40u);
  ASSERT_EQ(ufit.size(), 40u);
  for (int k = 0; k < 40; ++k) {
    EXPECT_NEAR(treor[k].Position, peaks[k].Position, 0.00005 + 1e-12);
    EXPECT_NEAR(treor[k].Intensity, peaks[k].Intensity, 0.5 + 1e-12);
    EXPECT_NEAR(ufit[k].Position, peaks[k].Position, 0.0005 + 1e-12);
    EXPECT_NEAR(ufit[k].Intensity, peaks[k].Intensity, 0.05 + 1e-12);
  }
}

}  // namespace
}  // namespace talvo
