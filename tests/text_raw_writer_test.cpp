#include "formats/text/text_raw_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/failure.h"
#include "core/store.h"
#include "core/text32.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

using testing::Read_Text;
using testing::Recording_Platform;
using testing::Temp_Dir;

Store Scan(std::vector<float> intensities) {
  Store store;
  store.Sample_ID = Fit32("Quartz");
  store.Nb_Points = static_cast<int32_t>(intensities.size());
  intensities.insert(intensities.begin(), 0.0f);
  store.Intensities = intensities;
  store.Time_Step = 1.0f;
  store.Step_Size = 0.02;
  store.Lambda1 = 1.54051f;
  store.Start_2Theta = 10.0f;
  return store;
}

std::string Write(const Store& store, char separator = '.') {
  Temp_Dir dir;
  Recording_Platform platform;
  platform.separator = separator;
  Write_Text_Raw(dir.Path("OUT.TXT"), store, platform);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal"}));
  return Read_Text(dir.Path("OUT.TXT"));
}

const std::string Sample = "Quartz                          ";

std::string Header(const std::string& points, const std::string& time, const std::string& step,
                   const std::string& lambda) {
  return "Mesure\t" + Sample + "\r\nNombre de points\t" + points + "\r\nSecondes par pas\t" + time +
         "\r\nLargeur du pas en 2 Th\xE9ta\t" + step + "\r\nLambda\t" + lambda + "\r\n2 Theta\t" + Sample + "\r\n";
}

TEST(Write_Text_Raw, SixLabelledLinesThenOneLinePerPoint) {
  const Store store = Scan({5, 7.26f, 6});
  EXPECT_EQ(Write(store), Header("3", "1.0", ".020", "1.54051") + "10.00\t5.0\r\n10.02\t7.3\r\n10.04\t6.0\r\n");
  EXPECT_EQ(Write(store, ','), Header("3", "1,0", ",020", "1,54051") + "10,00\t5,0\r\n10,02\t7,3\r\n10,04\t6,0\r\n");
  EXPECT_EQ(Write(Scan({})), Header("0", "1.0", ".020", "1.54051"));
}

TEST(Write_Text_Raw, PatternsAndSevenSignificantDigitsOfTheWavelength) {
  Store store = Scan({123456.78f});
  store.Step_Size = 1.5;
  store.Time_Step = 0.5f;
  store.Lambda1 = 0.70926f;
  EXPECT_EQ(Write(store), Header("1", ".5", "1.500", "0.70926") + "10.00\t123456.8\r\n");
  store.Lambda1 = 1.0f;
  store.Time_Step = 12.25f;
  EXPECT_EQ(Write(store), Header("1", "12.3", "1.500", "1") + "10.00\t123456.8\r\n");
}

TEST(Write_Text_Raw, TheAngleAccumulatesFromTheWidenedStart) {
  Store store = Scan({1, 2, 3, 4});
  store.Step_Size = 0.015;
  // Summed: 10.045000000000002 on line 4; 10 + 3 * 0.015 would give 10.04.
  EXPECT_EQ(Write(store).substr(Header("4", "1.0", ".015", "1.54051").size()),
            "10.00\t1.0\r\n10.02\t2.0\r\n10.03\t3.0\r\n10.05\t4.0\r\n");
  store = Scan({1, 2});
  store.Start_2Theta = 0.1f;  // 0.100000001490116 widened, so 0.105000001... next
  store.Step_Size = 0.005;
  EXPECT_EQ(Write(store).substr(Header("2", "1.0", ".005", "1.54051").size()), "0.10\t1.0\r\n0.11\t2.0\r\n");
}

TEST(Write_Text_Raw, ANulPaddedSampleIsWrittenWithBlanks) {
  Store store = Scan({1});
  store.Sample_ID = std::string("Q\0\0", 3) + std::string(29, '\0');
  const std::string file = Write(store);
  EXPECT_EQ(file.substr(0, 7 + 32 + 2), "Mesure\tQ" + std::string(31, ' ') + "\r\n");
  EXPECT_EQ(file.find('\0'), std::string::npos);
}

TEST(Write_Text_Raw, RefusesAScanItCannotWriteWhole) {
  Temp_Dir dir;
  Recording_Platform platform;
  Store too_long = Scan({1});
  too_long.Nb_Points = 32768;
  too_long.Intensities.assign(32769, 1.0f);
  try {
    Write_Text_Raw(dir.Path("OUT.TXT"), too_long, platform);
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.what(), Too_Many_Points(32768, "OUT.TXT"));
  }
  const Store start_up;  // 3350 points and no intensities
  try {
    Write_Text_Raw(dir.Path("OUT.TXT"), start_up, platform);
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(),
                 "The scan holds 0 intensities, fewer than its 3350 points. Nothing was written to OUT.TXT.");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("OUT.TXT")));
}

}  // namespace
}  // namespace talvo
