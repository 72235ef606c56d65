// Hostile and damaged XML and zip files: each the smallest file that shows
// its fault, converted through the dispatcher. Each is one message naming
// the file, no output file, and the store as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/failure.h"
#include "fixtures/format_session.h"
#include "fixtures/fuzz_entry.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zip_builder.h"
#include "formats/archive/zip.h"

namespace talvo {
namespace {

using testing::Zip_File;
using testing::Zip_Member;
using Bytes = std::vector<uint8_t>;

Bytes Of(const std::string& text) {
  return {text.begin(), text.end()};
}
Bytes Real(const std::string& name) {
  return testing::Read_Bytes(std::string(TALVO_TEST_DATA) + "/real/" + name);
}
Bytes Cut(Bytes bytes, std::size_t keep) {
  bytes.resize(keep);
  return bytes;
}

std::string Xrdml(const std::string& points, const std::string& axis = "Gonio", const std::string& version = "1.5") {
  return "<xrdMeasurements xmlns=\"http://www.xrdml.com/XRDMeasurement/" + version +
         "\"><xrdMeasurement><scan scanAxis=\"" + axis + "\"><dataPoints>" + points +
         "</dataPoints></scan></xrdMeasurement></xrdMeasurements>";
}
const std::string Positions =
    "<positions axis=\"2Theta\"><startPosition>10</startPosition><endPosition>11</endPosition></positions>";

const std::string Laughs =
    "<?xml version=\"1.0\"?><!DOCTYPE xrdMeasurements [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">"
    "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;\">]>" +
    Xrdml(Positions + "<counts>&c;</counts>");
const std::string External =
    "<?xml version=\"1.0\"?><!DOCTYPE xrdMeasurements [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" +
    Xrdml(Positions + "<counts>&x;</counts>");

std::string Conditions(const std::string& count) {
  return "<MeasurementConditions><ScanInformation><AxisName>TwoThetaTheta</AxisName><DataCount>" + count +
         "</DataCount></ScanInformation></MeasurementConditions>";
}
const std::string Profile =
    "\xEF\xBB\xBF"
    "20\t1\t1\r\n20.5\t2\t1\r\n";

std::string Raw_Data(const std::string& rows, const std::string& points) {
  return "<RawData><DataRoutes><DataRoute><ScanInformation VisibleName=\"Locked Coupled\"><MeasurementPoints>" +
         points + "</MeasurementPoints></ScanInformation>" + rows + "</DataRoute></DataRoutes></RawData>";
}

Bytes Claiming(std::vector<Zip_Member> members, const std::string& name, uint32_t size) {
  Bytes archive = Zip_File(members);
  testing::Claim_Size(archive, name, size);
  return archive;
}

const char* const Not_Read = "; nothing was read.";
const std::string Dtd_Refusal =
    " holds a document type declaration (<!DOCTYPE>), which no instrument file needs and which could make a "
    "reader expand or fetch entities; nothing was read.";

struct Hostile {
  const char* what;
  const char* type;
  const char* file;
  Bytes bytes;
  std::string message;
};

TEST(Archive_Hostile, EachFaultIsOneMessageNoFileAndTheStoreAsItWas) {
  const Hostile cases[] = {
      {"entity expansion", "xrdml", "a.xrdml", Of(Laughs), "a.xrdml" + Dtd_Refusal},
      {"external entity naming a local file", "xrdml", "a.xrdml", Of(External), "a.xrdml" + Dtd_Refusal},
      {"cut short", "xrdml", "a.xrdml", Cut(Real("datalab_CG20396_jdb12-1.xrdml"), 20000),
       "a.xrdml is not well-formed XML (Start-end tags mismatch at byte 19999); nothing was read."},
      {"another root", "xrdml", "a.xrdml", Of("<html/>"),
       "a.xrdml is not an XRDML file: its root element is <html>, not <xrdMeasurements>; nothing was read."},
      {"unknown version", "xrdml", "a.xrdml", Of(Xrdml(Positions + "<counts>1</counts>", "Gonio", "3.0")),
       "a.xrdml is written in XRDML version 3.0, which Talvo does not read (it reads versions 1.0 to 2.x); nothing "
       "was read."},
      {"fewer positions than counts", "xrdml", "a.xrdml",
       Of(Xrdml("<positions axis=\"2Theta\"><listPositions>1 2</listPositions></positions><counts>1 2 3</counts>")),
       "a.xrdml: scan 1 lists 2 2Theta positions for 3 counts; nothing was read."},
      {"NaN count", "xrdml", "a.xrdml", Of(Xrdml(Positions + "<counts>1 nan 3</counts>")),
       "a.xrdml: point 2 of its scan has no finite count."},
      {"count too large for any number", "xrdml", "a.xrdml", Of(Xrdml(Positions + "<counts>1 2 1e999</counts>")),
       "a.xrdml: point 3 of its scan has no finite count."},
      {"a word among the counts", "xrdml", "a.xrdml", Of(Xrdml(Positions + "<counts>1 2x 3</counts>")),
       "a.xrdml: scan 1: \"2x\" among its counts is not a number; nothing was read."},
      {"no scan", "xrdml", "a.xrdml", Of("<xrdMeasurements><xrdMeasurement/></xrdMeasurements>"),
       "a.xrdml holds no scan."},
      {"rocking curve", "xrdml", "a.xrdml", Of(Xrdml("<counts>1 2</counts>", "Omega")),
       "a.xrdml: its scan is driven in Omega, not in 2-theta (a rocking curve, pole figure or map, not a powder "
       "pattern)."},
      {"counts per second, no time", "xrdml", "a.xrdml",
       Of(Xrdml(Positions + "<intensities unit=\"counts/s\">1 2</intensities>")),
       "a.xrdml: scan 1 gives counts per second but no counting time; nothing was read."},
      {"not a zip archive", "rasx", "a.rasx", Of(Profile), std::string("a.rasx is not a zip archive") + Not_Read},
      {"archive cut short", "rasx", "a.rasx", Cut(Real("rigakuxrd_RM20220915Si01.rasx"), 9000),
       std::string("a.rasx is a damaged or cut-short zip archive") + Not_Read},
      {"no profile", "rasx", "a.rasx", Zip_File({{"root.xml", "<Root/>"}}),
       "a.rasx holds no Data0/Profile0.txt: it is not a Rigaku RASX file; nothing was read."},
      {"a member outside its folder is only a name", "rasx", "a.rasx",
       Zip_File({{"../Data0/Profile0.txt", Profile}, {"../Data0/MesurementConditions0.xml", Conditions("2")}}),
       "a.rasx holds no Data0/Profile0.txt: it is not a Rigaku RASX file; nothing was read."},
      {"no conditions", "rasx", "a.rasx", Zip_File({{"Data0/Profile0.txt", Profile}}),
       "a.rasx holds no measurement conditions (Data0/MesurementConditions0.xml) for Data0/Profile0.txt; nothing was "
       "read."},
      {"points and announced count disagree", "rasx", "a.rasx",
       Zip_File({{"Data0/Profile0.txt", Profile}, {"Data0/MesurementConditions0.xml", Conditions("3")}}),
       "a.rasx: Data0/Profile0.txt holds 2 points, but its measurement conditions announce 3; nothing was read."},
      {"member claiming 300 MiB", "rasx", "a.rasx",
       Claiming({{"Data0/Profile0.txt", Profile}, {"Data0/MesurementConditions0.xml", Conditions("2")}},
                "Data0/Profile0.txt", 300u << 20),
       "a.rasx: the member Data0/Profile0.txt claims 314572800 bytes, more than the 256 MiB Talvo reads from one "
       "member; nothing was read."},
      {"document type in the conditions", "rasx", "a.rasx",
       Zip_File({{"Data0/Profile0.txt", Profile},
                 {"Data0/MesurementConditions0.xml",
                  "<!DOCTYPE x [<!ENTITY e SYSTEM \"/etc/passwd\">]>" + Conditions("&e;")}}),
       "a.rasx: Data0/MesurementConditions0.xml" + Dtd_Refusal},
      {"points and announced count disagree", "brml", "a.brml",
       Zip_File({{"Experiment0/RawData0.xml", Raw_Data("<Datum>1,1,20,10,5</Datum>", "2")}}),
       "a.brml: Experiment0/RawData0.xml holds 1 point, but its scan announces 2; nothing was read."},
      {"a row without a count", "brml", "a.brml",
       Zip_File({{"Experiment0/RawData0.xml", Raw_Data("<Datum>1,1</Datum>", "1")}}),
       "a.brml: Experiment0/RawData0.xml: point 1 holds 2 values, too few for its 2-theta and its count; nothing was "
       "read."},
      {"an empty value", "brml", "a.brml",
       Zip_File({{"Experiment0/RawData0.xml", Raw_Data("<Datum>1,1,20,,5</Datum>", "1")}}),
       "a.brml: Experiment0/RawData0.xml: \"\" among the values of point 1 is not a number; nothing was read."},
      {"no raw data", "brml", "a.brml", Zip_File({{"Experiment0/DataContainer.xml", "<x/>"}}),
       "a.brml holds no Experiment0/RawData0.xml: it is not a Bruker BRML file; nothing was read."},
      {"archive cut short", "brml", "a.brml", Cut(Real("nomad_23-012-AG_2thomegascan_long.brml"), 600000),
       std::string("a.brml is a damaged or cut-short zip archive") + Not_Read},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.type) + ": " + c.what);
    testing::Temp_Dir dir;
    testing::Format_Session session;
    const Store before = session.store;
    const auto infile = dir.Write(c.file, c.bytes);
    const std::string type(Format_Table().Input_By_Key(c.type)->name);
    EXPECT_NE(session.Convert(type, "Formatted text (RAW)", infile, dir.Path("out.txt")), Outcome::Converted);
    ASSERT_EQ(session.platform.messages.size(), 1u);
    EXPECT_EQ(session.platform.messages[0].text, c.message);
    EXPECT_TRUE(session.store == before);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{c.file});
  }
}

// A member inflating past the limit is stopped while it inflates, whatever
// its header claims.
TEST(Archive_Hostile, MembersAreCountedAsTheyInflate) {
  const std::string big(5000, 'x');
  struct {
    uint32_t claimed;
    const char* message;
  } cases[] = {
      {5000,
       "a.zip: the member m claims 5000 bytes, more than the 0 MiB Talvo reads from one member; nothing was "
       "read."},
      {100, "a.zip: the member m inflates to more than the 0 MiB Talvo reads from one member; nothing was read."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.claimed);
    Bytes archive = Zip_File({{"m", big}});
    testing::Claim_Size(archive, "m", c.claimed);
    try {
      Zip_Archive(archive, "a.zip").Read("m", 4096);
      ADD_FAILURE() << "read";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.what(), std::string(c.message));
    }
  }
}

// Every real file cut short or overwritten, after the good file: refused
// or read, never a crash, a changed store or a stray file.
TEST(Archive_Hostile, DamagedRealFilesLeaveTheStoreAndWriteNothing) {
  const struct {
    const char* file;
    const char* type;
  } reals[] = {{"datalab_CG20396_jdb12-1.xrdml", "XRDML (PANalytical)"},
               {"rigakuxrd_RM20220915Si01.rasx", "Rigaku RASX"},
               {"nomad_23-012-AG_2thomegascan_long.brml", "Bruker BRML"}};
  for (const auto& real : reals) {
    SCOPED_TRACE(real.file);
    const Bytes bytes = Real(real.file);
    const auto good = testing::Fuzz_Convert(real.type, "Formatted text (RAW)", bytes);
    ASSERT_FALSE(good.failed);
    int refused = 0;
    for (const std::size_t keep : {std::size_t{0}, std::size_t{30}, bytes.size() / 2, bytes.size() - 10})
      refused += testing::Fuzz_Convert(real.type, "Formatted text (RAW)", Cut(bytes, keep), good.store).failed;
    for (const std::size_t at : {std::size_t{10}, bytes.size() / 3, bytes.size() - 30}) {
      Bytes copy = bytes;
      copy[at] ^= 0x5A;
      testing::Fuzz_Convert(real.type, "Formatted text (RAW)", copy, good.store);
    }
    EXPECT_EQ(refused, 4);
  }
}

}  // namespace
}  // namespace talvo
