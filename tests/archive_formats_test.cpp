// The XML and zip formats (XRDML, Bruker BRML, Rigaku RASX): real files as
// their instruments wrote them, and the variants of each layout built as
// text and as zip archives by the tests.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/failure.h"
#include "core/store.h"
#include "core/text32.h"
#include "fixtures/read_file.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zip_builder.h"
#include "formats/archive/xml.h"
#include "formats/bruker/brml.h"
#include "formats/panalytical/xrdml.h"
#include "formats/rigaku/rasx.h"

namespace talvo {
namespace {

using testing::Read_Fn;

// `range` 0 asks for none: the first, with a warning when there are more.
Store Read_Bytes_As(Read_Fn reader, const std::vector<uint8_t>& bytes, int32_t range = 0,
                    Read_Result* result = nullptr) {
  Store store;
  store.Extras.Range_Wanted = range;
  const Read_Result read = reader(Input_File{"in", "in", bytes}, store);
  if (result) *result = read;
  return store;
}
std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

struct Real_Archive {
  const char* file;
  Read_Fn reader;
  int32_t points;
  double start, step, time;
  float first, last, lambda1, lambda2;
  const char* sample;
  const char* anode;
  const char* date;
  const char* type;
};

const Real_Archive Real_Archives[] = {
    {"datalab_CG20396_jdb12-1.xrdml", Read_Xrdml, 7181, 5.00835563, (124.99526689 - 5.00835563) / 7180, 62.23, 1678,
     113, 1.5405980f, 1.5444260f, "", "Cu", "2020-10-08T14:14:22+01:00", "XRDML (PANalytical)"},
    {"rigakuxrd_RM20220915Si01.rasx", Read_Rasx, 2151, 8.5, 0.01, 0.6, 591, 524, 1.540593f, 1.544414f, "RM20220915Si01",
     "Cu", "2022-11-10T17:20:52Z", "Rigaku RASX"},
    {"nomad_23-012-AG_2thomegascan_long.brml", Read_Brml, 2001, 44, 0.002, 1, 3, 2, 1.5406f, 1.54439f,
     "Commander Sample ID", "Cu", "2023-01-26T15:23:09.837152+01:00", "Bruker BRML"},
};

// Whole counts of up to 15 digits are read digit by digit, the rest by the
// general parser: both give the value the text names.
TEST(Archive_Formats, NumberTextsOfCountsAndAngles) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"162", 162.0},
      {" 007\t", 7.0},
      {"+5", 5.0},
      {"999999999999999", 999999999999999.0},
      {"9007199254740993", 9007199254740992.0},  // 16 digits: rounded to the nearest double
      {"-5", -5.0},
      {"12.5", 12.5},
      {"1e3", 1000.0},
      {"12a", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(xml::Number(text), expected) << '"' << text << '"';
}

TEST(Archive_Formats, RealFilesReadAsTheyStateThemselves) {
  for (const auto& real : Real_Archives) {
    SCOPED_TRACE(real.file);
    Store store;
    const auto result = testing::Read_Path(real.reader, std::string(TALVO_TEST_DATA) + "/real/" + real.file, store);
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(store.Is_Peak_List, False16);
    ASSERT_EQ(store.Nb_Points, real.points);
    ASSERT_EQ(store.Intensities.size(), static_cast<std::size_t>(real.points) + 1);
    EXPECT_EQ(store.Intensities[1], real.first);
    EXPECT_EQ(store.Intensities.back(), real.last);
    EXPECT_NEAR(store.Range_Limits[0], real.start, 1e-9);
    EXPECT_NEAR(store.Range_Limits[1], real.start + (real.points - 1) * real.step, 1e-6);
    EXPECT_EQ(store.Start_2Theta, static_cast<float>(real.start));
    EXPECT_NEAR(store.Step_Size, real.step, 1e-9);
    EXPECT_FLOAT_EQ(store.Time_Step, static_cast<float>(real.time));
    EXPECT_EQ(store.Lambda1, real.lambda1);
    EXPECT_EQ(store.Lambda2, real.lambda2);
    EXPECT_EQ(store.Sample_ID, Fit32(real.sample));
    const auto& extras = store.Extras;
    EXPECT_EQ(extras.Anode, real.anode);
    EXPECT_EQ(extras.Date, real.date);
    EXPECT_EQ(extras.Source_Type, real.type);
    EXPECT_EQ(extras.Sample, real.sample);
    EXPECT_NEAR(extras.K_Alpha1.value_or(0), real.lambda1, 1e-7);
    EXPECT_NEAR(extras.Counting_Time.value_or(0), real.time, 1e-12);
    EXPECT_EQ(extras.Range_Count, 1);
    ASSERT_EQ(extras.Counts.size(), store.Intensities.size());
    EXPECT_EQ(extras.Counts[1], real.first);
  }
}

// The real BRML file gives each point's angle; an attenuated point's count
// is already multiplied by its absorption factor (8.3 at 45.82 degrees).
TEST(Archive_Formats, RealBrmlKeepsTheAnglesAndTheCorrectedCounts) {
  Store store;
  testing::Read_Path(Read_Brml, std::string(TALVO_TEST_DATA) + "/real/nomad_23-012-AG_2thomegascan_long.brml", store);
  ASSERT_EQ(store.Extras.Angles.size(), 2002u);
  EXPECT_EQ(store.Extras.Angles[2], 44.002);
  EXPECT_EQ(store.Extras.Angles[911], 45.82);
  EXPECT_EQ(store.Extras.Counts[911], 495559.8);
  EXPECT_EQ(store.Max_Intensity, 495559.8f);
  EXPECT_EQ(store.Extras.K_Ratio, 0.5);
}

// XRDML documents: one measurement whose scans are `scans`.
std::string Xrdml(const std::string& scans, const std::string& version = "1.5", const std::string& sample = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xrdMeasurements xmlns=\"http://www.xrdml.com/XRDMeasurement/" +
         version + "\">" + sample +
         "<xrdMeasurement measurementType=\"Scan\"><usedWavelength><kAlpha1>0.7093</kAlpha1><kAlpha2>0.71359</kAlpha2>"
         "<ratioKAlpha2KAlpha1>0.5</ratioKAlpha2KAlpha1></usedWavelength><incidentBeamPath><xRayTube>"
         "<anodeMaterial>Mo</anodeMaterial></xRayTube></incidentBeamPath>" +
         scans + "</xrdMeasurement></xrdMeasurements>";
}
std::string Scan(const std::string& axis, const std::string& points) {
  return "<scan scanAxis=\"" + axis + "\"><header><startTimeStamp>2024-01-02T03:04:05</startTimeStamp></header>" +
         "<dataPoints>" + points + "</dataPoints></scan>";
}
const std::string From_10_To_11 =
    "<positions axis=\"2Theta\" unit=\"deg\"><startPosition>10</startPosition><endPosition>11</endPosition>"
    "</positions><positions axis=\"Omega\"><startPosition>5</startPosition><endPosition>5.5</endPosition></positions>";
const std::string Counts_5 = "<counts unit=\"counts\">10 20 30 40 50</counts>";
const std::string Time_2 = "<commonCountingTime unit=\"seconds\">2.0</commonCountingTime>";

struct Xrdml_Case {
  const char* what;
  std::string document;
  int32_t range;
  int32_t points;
  double start, step;
  std::vector<float> counts;   // first and last
  std::vector<double> angles;  // the file's angles of points 1 and 2, or none
  double time;                 // 1: none given
  int32_t ranges;
};

TEST(Archive_Formats, XrdmlLayoutsOfEveryVersion) {
  const Xrdml_Case cases[] = {
      {"version 1.5, counts",
       Xrdml(Scan("Gonio", From_10_To_11 + Time_2 + Counts_5)),
       1,
       5,
       10,
       0.25,
       {10, 50},
       {},
       2,
       1},
      {"version 1.0, intensities",
       Xrdml(Scan("2Theta-Omega", From_10_To_11 + Time_2 + "<intensities unit=\"counts\">7 8 9 10 11</intensities>"),
             "1.0"),
       1,
       5,
       10,
       0.25,
       {7, 11},
       {},
       2,
       1},
      {"counts per second times the common time",
       Xrdml(Scan("Gonio", From_10_To_11 + Time_2 + "<intensities unit=\"counts/s\">1.5 2 3 4 5.25</intensities>"),
             "1.3"),
       1,
       5,
       10,
       0.25,
       {3, 10.5},
       {},
       2,
       1},
      {"counts per second times each point's time",
       Xrdml(Scan("Gonio", From_10_To_11 + "<countingTimes>1 2 3 4 5</countingTimes>" +
                               "<intensities unit=\"counts/s\">10 10 10 10 10</intensities>")),
       1,
       5,
       10,
       0.25,
       {10, 50},
       {},
       1,
       1},
      {"a position per point, not evenly spaced",
       Xrdml(Scan("2Theta", "<positions axis=\"2Theta\"><listPositions>20 20.5 21.5 23 25</listPositions></positions>" +
                                Counts_5),
             "2.1"),
       1,
       5,
       20,
       1.25,
       {10, 50},
       {20, 20.5},
       1,
       1},
      {"first scan of two by default",
       Xrdml(Scan("Gonio", From_10_To_11 + Counts_5) + Scan("Gonio", From_10_To_11 + "<counts>1 2 3</counts>")),
       0,
       5,
       10,
       0.25,
       {10, 50},
       {},
       1,
       2},
      {"second scan of two",
       Xrdml(Scan("Gonio", From_10_To_11 + Counts_5) +
             Scan("Gonio",
                  "<positions axis=\"2Theta\"><startPosition>30</startPosition>"
                  "<endPosition>30.2</endPosition></positions>" +
                      std::string("<counts>1 2 3</counts>"))),
       2,
       3,
       30,
       0.1,
       {1, 3},
       {},
       1,
       2},
      {"rocking curve beside the powder scan, the powder scan read",
       Xrdml(Scan("Omega",
                  "<positions axis=\"2Theta\"><commonPosition>30</commonPosition></positions>"
                  "<positions axis=\"Omega\"><startPosition>14</startPosition><endPosition>16</endPosition>"
                  "</positions><counts>1 2 3</counts>") +
             Scan("Gonio", From_10_To_11 + Counts_5)),
       2,
       5,
       10,
       0.25,
       {10, 50},
       {},
       1,
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Read_Result result;
    const Store store = Read_Bytes_As(Read_Xrdml, Bytes(c.document), c.range, &result);
    ASSERT_EQ(store.Nb_Points, c.points);
    EXPECT_EQ(store.Intensities[1], c.counts[0]);
    EXPECT_EQ(store.Intensities.back(), c.counts[1]);
    EXPECT_EQ(store.Start_2Theta, static_cast<float>(c.start));
    EXPECT_NEAR(store.Step_Size, c.step, 1e-12);
    EXPECT_FLOAT_EQ(store.Time_Step, static_cast<float>(c.time));
    EXPECT_EQ(store.Lambda1, 0.7093f);
    EXPECT_EQ(store.Lambda2, 0.71359f);
    EXPECT_EQ(store.Extras.Anode, "Mo");
    EXPECT_EQ(store.Extras.Range_Count, c.ranges);
    EXPECT_EQ(result.warnings.size(), c.ranges > 1 && c.range == 0 ? 1u : 0u);
    if (c.angles.empty()) {
      EXPECT_TRUE(store.Extras.Angles.empty());
    } else {
      ASSERT_EQ(store.Extras.Angles.size(), static_cast<std::size_t>(c.points) + 1);
      EXPECT_EQ(store.Extras.Angles[1], c.angles[0]);
      EXPECT_EQ(store.Extras.Angles[2], c.angles[1]);
      EXPECT_EQ(store.Range_Limits[1], 25);
    }
  }
}

TEST(Archive_Formats, XrdmlSampleIdInWindows1252AndTheWholeNameBeside) {
  const std::string sample = "<sample><id>Quarz \xC3\xBC 2024 mit einem sehr langen Namen</id><name>x</name></sample>";
  const Store store = Read_Bytes_As(Read_Xrdml, Bytes(Xrdml(Scan("Gonio", From_10_To_11 + Counts_5), "1.5", sample)));
  EXPECT_EQ(store.Sample_ID, "Quarz \xFC 2024 mit einem sehr lang");
  EXPECT_EQ(store.Extras.Sample, "Quarz \xC3\xBC 2024 mit einem sehr langen Namen");
}

// Position-sensitive detectors write scans longer than a system scan holds.
TEST(Archive_Formats, LongScansAreReadWhole) {
  std::string counts;
  for (int k = 0; k < 40000; ++k) counts += std::to_string(k % 977) + ' ';
  const Store store =
      Read_Bytes_As(Read_Xrdml, Bytes(Xrdml(Scan("Gonio", From_10_To_11 + "<counts>" + counts + "</counts>"))));
  EXPECT_EQ(store.Nb_Points, 40000);
  EXPECT_EQ(store.Intensities[40000], static_cast<float>(39999 % 977));
}

// Zip formats built from their members.
std::string Conditions(const std::string& axis, const std::string& count, const std::string& speed = "2") {
  return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><MeasurementConditions><GeneralInformation>"
         "<SampleName>Si</SampleName></GeneralInformation><HWConfigurations><XrayGenerator><TargetName>Co</TargetName>"
         "<WavelengthKalpha1>1.78897</WavelengthKalpha1><WavelengthKalpha2>1.79285</WavelengthKalpha2></XrayGenerator>"
         "</HWConfigurations><ScanInformation><AxisName>" +
         axis + "</AxisName><Step>0.02</Step><Speed>" + speed +
         "</Speed><SpeedUnit>deg/min</SpeedUnit><StartTime>2024</StartTime><DataCount>" + count +
         "</DataCount></ScanInformation></MeasurementConditions>";
}
const std::string Profile_3 =
    "\xEF\xBB\xBF"
    "20.00\t100\t1\r\n20.02\t200\t10\r\n20.04\t300\t1\r\n";

std::string Raw_Data(const std::string& rows, const std::string& name = "Coupled TwoTheta/Theta",
                     const std::string& points = "3") {
  return "<?xml version=\"1.0\"?><RawData><TimeStampStarted>2024-05-06</TimeStampStarted><DataRoutes><DataRoute>"
         "<ScanInformation VisibleName=\"" +
         name + "\"><MeasurementPoints>" + points +
         "</MeasurementPoints><TimePerStep>0.5</TimePerStep>"
         "</ScanInformation>" +
         rows +
         "</DataRoute></DataRoutes><FixedInformation><Instrument><Tube><WaveLengthAlpha1 Value=\"1.5406\"/>"
         "<WaveLengthAlpha2 Value=\"1.54439\"/><WaveLengthRatio Value=\"0.5\"/><TubeMaterial>Cu</TubeMaterial></Tube>"
         "</Instrument><InfoItem Name=\"SampleName\" Value=\"Corundum\"/></FixedInformation></RawData>";
}
const std::string Rows_3 = "<Datum>1,1,30,15,7</Datum><Datum>1,1,30.05,15.025,8</Datum><Datum>1,1,30.1,15.05,9</Datum>";

struct Zip_Case {
  const char* what;
  Read_Fn reader;
  std::vector<testing::Zip_Member> members;
  int32_t range;
  int32_t points;
  double start, step, time;
  float first, second, last, lambda1;
  int32_t ranges;
};

TEST(Archive_Formats, ZipLayouts) {
  const Zip_Case cases[] = {
      {"RASX: attenuation factors multiply, 0.02 degrees at 2 per minute are 0.6 s",
       Read_Rasx,
       {{"root.xml", "<Root/>"},
        {"Data0/Profile0.txt", Profile_3},
        {"Data0/MesurementConditions0.xml", Conditions("TwoThetaTheta", "3")}},
       1,
       3,
       20,
       0.02,
       0.6,
       100,
       2000,
       300,
       1.78897f,
       1},
      {"RASX: two profiles, the second",
       Read_Rasx,
       {{"Data1/Profile0.txt", "40\t5\r\n40.5\t6\r\n"},
        {"Data1/MesurementConditions0.xml", Conditions("2Theta", "2", "30")},
        {"Data0/Profile0.txt", Profile_3},
        {"Data0/MesurementConditions0.xml", Conditions("TwoThetaTheta", "3")}},
       2,
       2,
       40,
       0.5,
       0.04,
       5,
       6,
       6,
       1.78897f,
       2},
      {"BRML: third value 2-theta, last the count, without data views",
       Read_Brml,
       {{"Experiment0/RawData0.xml", Raw_Data(Rows_3)}},
       1,
       3,
       30,
       0.05,
       0.5,
       7,
       8,
       9,
       1.5406f,
       1},
      {"BRML: the data views place 2-theta and the count",
       Read_Brml,
       {{"Experiment0/RawData0.xml",
         Raw_Data("<Datum>30,1,2,0</Datum><Datum>30.5,1,3,0</Datum><Datum>31,1,4,0</Datum>"
                  "<DataViews><RawDataView Start=\"1\" Length=\"1\" LogicName=\"MeasuredTime\"/>"
                  "<RawDataView Start=\"0\" Length=\"1\"><Varying><FieldDefinitions FieldName=\"TwoTheta\"/>"
                  "</Varying></RawDataView><RawDataView xsi:type=\"RecordedRawDataView\" Start=\"2\"/></DataViews>")}},
       1,
       3,
       30,
       0.5,
       0.5,
       2,
       3,
       4,
       1.5406f,
       1},
      {"BRML: second of two raw data files",
       Read_Brml,
       {{"Experiment0/RawData0.xml", Raw_Data(Rows_3)},
        {"Experiment0/RawData1.xml",
         Raw_Data("<Datum>1,1,50,25,1</Datum><Datum>1,1,50.2,25.1,2</Datum>", "Locked Coupled", "2")}},
       2,
       2,
       50,
       0.2,
       0.5,
       1,
       2,
       2,
       1.5406f,
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Store store = Read_Bytes_As(c.reader, testing::Zip_File(c.members), c.range);
    ASSERT_EQ(store.Nb_Points, c.points);
    EXPECT_EQ(store.Intensities[1], c.first);
    EXPECT_EQ(store.Intensities[2], c.second);
    EXPECT_EQ(store.Intensities.back(), c.last);
    EXPECT_EQ(store.Start_2Theta, static_cast<float>(c.start));
    EXPECT_NEAR(store.Step_Size, c.step, 1e-12);
    EXPECT_FLOAT_EQ(store.Time_Step, static_cast<float>(c.time));
    EXPECT_EQ(store.Lambda1, c.lambda1);
    EXPECT_EQ(store.Extras.Range_Count, c.ranges);
    EXPECT_EQ(store.Extras.Range_Wanted, c.range);
  }
}

}  // namespace
}  // namespace talvo
