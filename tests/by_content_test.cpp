// The type a file's content shows, for "Any type (by content)".
#include "formats/by_content.h"

#include <gtest/gtest.h>

#include <string>

#include "core/failure.h"
#include "core/file_io.h"

namespace talvo {
namespace {

Input_File Text_File(const std::string& name, const std::string& text) {
  return {name, name, std::vector<uint8_t>(text.begin(), text.end())};
}

std::string Type_Or_Refusal(const Input_File& file) {
  try {
    return std::string(Type_By_Content(file));
  } catch (const Failure& failure) {
    return failure.what();
  }
}

TEST(By_Content, EverySampleAndRealFileIsTakenForItsType) {
  const std::pair<const char*, const char*> files[] = {
      {TALVO_SAMPLES "/quartz.raw", "raw-any"},
      {TALVO_SAMPLES "/quartz-v1.raw", "raw-any"},
      {TALVO_SAMPLES "/quartz-text.raw", "auto"},
      {TALVO_SAMPLES "/quartz.dif", "dif"},
      {TALVO_SAMPLES "/quartz.uxd", "uxd"},
      {TALVO_SAMPLES "/quartz.gsas", "gsas"},
      {TALVO_SAMPLES "/quartz.dat", "oxford"},
      {TALVO_SAMPLES "/quartz.xye", "xye"},
      {TALVO_SAMPLES "/quartz-scan.txt", "text-raw"},
      {TALVO_TEST_DATA "/real/BT86_.UXD", "uxd"},
      {TALVO_TEST_DATA "/real/esd_Quinoli.gda", "gsas"},
      {TALVO_TEST_DATA "/real/stdnotype_PBSO4.CWN", "gsas"},
      {TALVO_TEST_DATA "/real/dash_Tutorial_4.xye", "xye"},
      {TALVO_TEST_DATA "/real/easydiff_D1A_ILL_hashtitle.xye", "xye"},
      {TALVO_TEST_DATA "/real/datalab_example_evadiffract.xy", "xye"},
  };
  for (const auto& [path, key] : files) EXPECT_EQ(Type_Or_Refusal(Load_Input_File(path)), key) << path;
}

TEST(By_Content, ContentThatDoesNotTellItsTypeIsRefusedWithTheChoices) {
  const std::string choice =
      " holds columns of numbers that may be a peak list or a scan, which its content does not tell apart: choose "
      "its type, \"Formatted text (D/I)\" (--from text-di), \"Diamond text (D/I)\" (--from diamond) or \"Mercury "
      "text raw data (xye)\" (--from xye).";
  const std::pair<Input_File, std::string> cases[] = {
      {Load_Input_File(TALVO_SAMPLES "/quartz-di.txt"), "quartz-di.txt" + choice},
      {Load_Input_File(TALVO_SAMPLES "/quartz-diamond.txt"), "quartz-diamond.txt" + choice},
      {Text_File("few.txt", "t\n10 1\n20 5\n30 2\n"), "few.txt" + choice},  // too few pairs to be a scan
      {Text_File("z.txt", "hello\nworld\n"),
       "z.txt: its content matches none of the types Talvo reads; choose its type (talvo-convert --list-types lists "
       "them)."},
      {Text_File("a.zip", std::string("PK\x03\x04", 4) + "other/member.txt"),
       "a.zip is a zip archive that holds neither a Bruker BRML nor a Rigaku RASX measurement."},
      {Text_File("a.xml", "<?xml version=\"1.0\"?><html/>"), "a.xml is an XML file, but not an XRDML measurement."},
  };
  for (const auto& [file, message] : cases) EXPECT_EQ(Type_Or_Refusal(file), message);
}

TEST(By_Content, SignaturesRootElementsMembersAndKeywordsNameTheType) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string("RAW1.01\0\0\0\0\0", 12), "raw-any"},
      {std::string("RAW4.00\0\0\0\0\0", 12), "raw-any"},
      {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<xrdMeasurements xmlns=\"x\">", "xrdml"},
      {std::string("PK\x03\x04", 4) + "....Experiment0/RawData0.xml", "brml"},
      {std::string("PK\x03\x04", 4) + "....Data0/Profile0.txt", "rasx"},
      {"*RAS_DATA_START\n*RAS_HEADER_START\n", "ras"},
      {"title\n# comment\nBANK 1 10 10 CONS 500 1 0 0 FXYE\n", "gsas"},
      {"; c\n_FILEVERSION=1\n_SAMPLE='x'\n", "uxd"},
  };
  for (const auto& [text, key] : cases) EXPECT_EQ(Type_Or_Refusal(Text_File("f", text)), key) << text;
}

}  // namespace
}  // namespace talvo
