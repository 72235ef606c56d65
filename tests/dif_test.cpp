#include "formats/diffracplus/dif.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/bytes.h"
#include "core/failure.h"
#include "core/store.h"
#include "fixtures/dif_builder.h"
#include "fixtures/read_file.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"
#include "formats/diffracplus/angles.h"

namespace talvo {
namespace {

using testing::Dif_Builder;
using testing::Dif_Peak;
using testing::Recording_Platform;
using testing::Temp_Dir;

class Dif : public ::testing::Test {
 protected:
  Temp_Dir dir;
  Recording_Platform platform;
  Store store;

  void Read(const std::vector<uint8_t>& bytes) { testing::Read_Path(Read_Dif, dir.Write("QTZ.DIF", bytes), store); }
  std::string Failure_Of(const std::vector<uint8_t>& bytes) {
    try {
      Read(bytes);
    } catch (const Failure& failure) {
      return failure.what();
    }
    return "";
  }
};

std::vector<Dif_Peak> Peaks(int count, float from = 10) {
  std::vector<Dif_Peak> peaks;
  for (int i = 0; i < count; ++i) peaks.push_back({from + 0.1f * static_cast<float>(i), 1.0f + static_cast<float>(i)});
  return peaks;
}

TEST_F(Dif, ThreePeaksAreScaledToTheStrongestAndFramedByTwiceTheWidth) {
  Read(Dif_Builder().Block({{20, 50}, {30, 200}, {40, 25}}).Bytes());
  EXPECT_EQ(store.Is_Peak_List, True16);
  ASSERT_EQ(store.Nb_Peaks, 3);
  EXPECT_EQ(store.Peaks[1], (Peak{20, 25}));
  EXPECT_EQ(store.Peaks[2], (Peak{30, 100}));
  EXPECT_EQ(store.Peaks[3], (Peak{40, 12.5}));
  EXPECT_EQ(store.Range_Limits[0], 20 - 2 * static_cast<double>(0.3f));
  EXPECT_EQ(store.Range_Limits[1], 40 + 2 * static_cast<double>(0.3f));
  EXPECT_EQ(store.Max_Intensity, 100);
  EXPECT_EQ(store.Nb_Ranges, 0);
  EXPECT_EQ(store.Sample_ID, "Quartz peaks" + std::string(20, '\0'));
  EXPECT_EQ(Dif_Title(store), store.Sample_ID);
  EXPECT_EQ(store.Lambda1, 1.54056f);
  EXPECT_EQ(store.Lambda2, 1.54439f);
  EXPECT_EQ(std::string(store.File_Sig.begin(), store.File_Sig.end()), "DIF2");
  EXPECT_EQ(store.Dif_Block_Header[2], 0);  // the block type
  EXPECT_EQ(store.Dif_Block_Header[6], 3);
}

TEST_F(Dif, ScanItemsAreLeftAlone) {
  store.Intensities = {0, 5, 6};
  store.Nb_Points = 2;
  store.Step_Size = 0.05;
  const Store before = store;
  Read(Dif_Builder().Block({{20, 50}}).Bytes());
  EXPECT_EQ(store.Intensities, before.Intensities);
  EXPECT_EQ(store.Nb_Points, 2);
  EXPECT_EQ(store.Step_Size, 0.05);
}

TEST_F(Dif, PeaksInDecreasingAngleGiveTheRangeInIncreasingOrder) {
  Read(Dif_Builder().Block({{40, 5}, {30, 10}, {20, 1}}).Bytes());
  EXPECT_EQ(store.Peaks[1].Position, 40);  // the table keeps the file order
  EXPECT_EQ(store.Range_Limits[0], 20 - 2 * static_cast<double>(0.3f));
  EXPECT_EQ(store.Range_Limits[1], 40 + 2 * static_cast<double>(0.3f));
}

TEST_F(Dif, NoPositiveIntensityLeavesTheIntensitiesAsRead) {
  Read(Dif_Builder().Block({{20, 0}, {30, -4}}).Bytes());
  EXPECT_EQ(store.Peaks[1].Intensity, 0);
  EXPECT_EQ(store.Peaks[2].Intensity, -4);
  EXPECT_EQ(store.Max_Intensity, 100);
}

TEST_F(Dif, ExtraBlockHeaderBytesAreSkippedOnlyPast96) {
  for (int16_t length : {int16_t{96}, int16_t{80}, int16_t{-5}}) {
    // A header length of 96 or less: the records follow the extension.
    auto bytes = Dif_Builder().Block({{25, 10}}, 0, length).Bytes();
    Read(bytes);
    EXPECT_EQ(store.Peaks[1], (Peak{25, 100})) << length;
  }
  Read(Dif_Builder().Block({{25, 10}, {26, 20}}, 0, 120).Bytes());
  EXPECT_EQ(store.Peaks[1], (Peak{25, 50}));
  EXPECT_EQ(store.Peaks[2], (Peak{26, 100}));
}

TEST_F(Dif, BlocksOfBothTypesFollowEachOtherInTheTable) {
  Read(Dif_Builder(2).Block({{20, 10}, {21, 20}}).Block({{30, 40}, {31, 80}}, 1, 100).Bytes());
  ASSERT_EQ(store.Nb_Peaks, 4);
  EXPECT_EQ(store.Peaks[2], (Peak{21, 25}));
  EXPECT_EQ(store.Peaks[3], (Peak{30, 50}));
  EXPECT_EQ(store.Peaks[4], (Peak{31, 100}));
  EXPECT_EQ(store.Nb_Ranges, 0);
  EXPECT_EQ(store.Range_Limits[1], 31 + 2 * static_cast<double>(0.3f));
}

TEST_F(Dif, AnUnknownBlockTypeEndsTheRead) {
  Read(Dif_Builder(3).Block({{20, 10}}).Block({{30, 40}}, 7).Block({{40, 50}}).Bytes());
  EXPECT_EQ(store.Nb_Peaks, 1);
  EXPECT_EQ(store.Nb_Ranges, -1);
  EXPECT_EQ(store.Peaks[1], (Peak{20, 100}));
}

TEST_F(Dif, OneBlockIsReadWhenTheHeaderAnnouncesNone) {
  Read(Dif_Builder(0).Block({{20, 10}}).Block({{30, 10}}).Bytes());
  EXPECT_EQ(store.Nb_Peaks, 1);
  EXPECT_EQ(store.Nb_Ranges, -1);
}

TEST_F(Dif, FiveHundredPeaksFitAndFiveHundredAndOneDoNot) {
  Read(Dif_Builder(2).Block(Peaks(300)).Block(Peaks(200, 50), 1).Bytes());
  EXPECT_EQ(store.Nb_Peaks, 500);
  EXPECT_EQ(store.Peaks[500].Position, 50 + 0.1f * 199);
  EXPECT_EQ(Failure_Of(Dif_Builder(2).Block(Peaks(300)).Block(Peaks(201, 50)).Bytes()),
            "QTZ.DIF holds more than 500 peaks (block 2 brings the count to 501); a peak list holds at most 500.");
}

TEST_F(Dif, FilesAtTheLimitsFailWithTheirReason) {
  EXPECT_EQ(Failure_Of(Dif_Builder().Block({}).Bytes()), "QTZ.DIF holds no peak.");
  EXPECT_EQ(Failure_Of(Dif_Builder().Block({}, 3).Bytes()), "QTZ.DIF holds no peak.");
  EXPECT_EQ(Failure_Of(Dif_Builder().Block({{20, 1}, {0, 1}}).Bytes()),
            "QTZ.DIF: peak 2 lies at 2-theta 0, outside 0 to 180 degrees.");
  EXPECT_EQ(Failure_Of(Dif_Builder().Block({{180, 1}}).Bytes()),
            "QTZ.DIF: peak 1 lies at 2-theta 180, outside 0 to 180 degrees.");
  EXPECT_EQ(Failure_Of(Dif_Builder().Block({{std::nanf(""), 1}}).Bytes()),
            "QTZ.DIF: peak 1 lies at 2-theta NaN, outside 0 to 180 degrees.");
  EXPECT_EQ(Failure_Of(Dif_Builder().Block({{20, 1}, {30, std::nanf("")}}).Bytes()),
            "QTZ.DIF: peak 2 has an intensity that is not a number.");
  EXPECT_EQ(Failure_Of(Dif_Builder().Block({{20, HUGE_VALF}}).Bytes()),
            "QTZ.DIF: peak 1 has an intensity that is not a number.");

  auto bytes = Dif_Builder().Bytes();
  bytes.resize(200);
  EXPECT_EQ(Failure_Of(bytes), "QTZ.DIF ends inside its 256-byte DIF header (byte 200 of the 256 needed).");
  EXPECT_EQ(Failure_Of(Dif_Builder().Bytes()),
            "QTZ.DIF ends inside the header of block 1 (byte 256 of the 322 needed).");
  bytes = Dif_Builder().Block({{20, 1}, {30, 1}}).Bytes();
  bytes.resize(bytes.size() - 1);
  EXPECT_EQ(Failure_Of(bytes), "QTZ.DIF ends inside the 2 peak records of block 1 (byte 383 of the 384 needed).");
  bytes = Dif_Builder().Block({{20, 1}}, 0, 500).Bytes();
  bytes.resize(256 + 300);
  EXPECT_EQ(Failure_Of(bytes), "QTZ.DIF: the 500-byte header of block 1 runs past the end of the file (556 bytes).");
  bytes = Dif_Builder().Block({{20, 1}}, 0, 96, 2).Bytes();
  EXPECT_NE(Failure_Of(bytes).find("ends inside the 2 peak records of block 1"), std::string::npos);
}

TEST(Skip_Bytes, SkipsNothingBelowOneAndChecksTheEnd) {
  const std::vector<uint8_t> bytes(10);
  const Bytes_View file(bytes, "X.DIF");
  EXPECT_EQ(Skip_Bytes(file, 4, 0, "x"), 4u);
  EXPECT_EQ(Skip_Bytes(file, 4, -7, "x"), 4u);
  EXPECT_EQ(Skip_Bytes(file, 4, 6, "x"), 10u);
  EXPECT_THROW(Skip_Bytes(file, 4, 7, "x"), Failure);
}

TEST(Angles, TwoThetaAndDSpacingAreInverse) {
  const float lambda = 1.54051f;
  EXPECT_DOUBLE_EQ(TwoTheta_To_D(20, lambda), lambda / (2 * std::sin(10 * 3.14159265358979 / 180)));
  for (double t : {0.5, 20.0, 90.0, 150.0, 179.5}) EXPECT_NEAR(D_To_2Theta(TwoTheta_To_D(t, lambda), lambda), t, 1e-9);
}

}  // namespace
}  // namespace talvo
