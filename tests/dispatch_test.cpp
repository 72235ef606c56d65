#include "core/dispatch.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "core/messages.h"
#include "fixtures/recording_platform.h"

namespace talvo {
namespace {

using testing::Recorded_Message;
using testing::Recording_Platform;

// Format functions that log their names; readers set the pattern kind the
// test asks for.
class Dispatch : public ::testing::Test {
 protected:
  Dispatch() {
    Main_Window_Load(lists, store);
    auto reader = [this](const char* name) {
      return [this, name](const std::string&, Store& s, Platform&) {
        log.push_back(name);
        s.Is_Peak_List = reads_peak_list ? True16 : False16;
        s.Sample_ID = std::string(32, 'R');
        if (fail_read) throw Failure("bad file");
      };
    };
    auto writer = [this](const char* name) {
      return [this, name](const std::string& path, const Store&, Platform&) {
        log.push_back(std::string(name) + " " + path);
      };
    };
    formats.File_Signature = [this](const std::string&, Store& s) {
      s.File_Sig = {'X', 'X', 'X', 'X'};
      return code;
    };
    formats.Read_Raw1 = reader("Read_Raw1");
    formats.Read_Raw2 = reader("Read_Raw2");
    formats.Read_Raw_Ascii = reader("Read_Raw_Ascii");
    formats.Read_Dif = reader("Read_Dif");
    formats.Read_Uxd = reader("Read_Uxd");
    formats.Read_Text_DI = reader("Read_Text_DI");
    formats.Read_Diamond = reader("Read_Diamond");
    formats.Read_Text_Raw = reader("Read_Text_Raw");
    formats.Read_Xye = reader("Read_Xye");
    formats.Read_Gsas = reader("Read_Gsas");
    formats.Read_Oxford = reader("Read_Oxford");
    formats.Write_Raw2 = writer("Write_Raw2");
    formats.Write_Treor = writer("Write_Treor");
    formats.Write_UFit = writer("Write_UFit");
    formats.Write_Text_Raw = writer("Write_Text_Raw");
    formats.Write_Bmp = writer("Write_Bmp");
    formats.Peaks_To_Scan = [this](Store&, Platform&) { log.push_back("Peaks_To_Scan"); };
  }

  void Convert_With(const std::string& input, int16_t signature, const std::string& output = "Formatted text (RAW)") {
    lists.Input_Choice.Text = input;
    lists.Output_Choice.Text = output;
    code = signature;
    Session session{store, lists, platform, formats};
    Convert(session, "in.dat", "out.dat");
  }

  Store store;
  Type_Lists lists;
  Recording_Platform platform;
  Format_Functions formats;
  std::vector<std::string> log;
  int16_t code = -1;
  bool reads_peak_list = false;
  bool fail_read = false;
};

struct Input_Case {
  const char* type;
  int16_t code;
  const char* reader;   // or nullptr
  const char* message;  // or nullptr
};

TEST_F(Dispatch, EveryInputRowReadsOrRefusesByTypeAndSignature) {
  const std::vector<Input_Case> cases = {
      {"Diffrac-Plus DIF", 1, nullptr, "DIF1 files are no longer supported"},
      {"Diffrac-Plus DIF", 2, "Read_Dif", nullptr},
      {"Diffrac-Plus DIF", 9, nullptr, "Dif v3 files not supported. Please save it first to v2"},
      {"Diffrac-Plus DIF", 4, nullptr, "This file does not appear to be a \"Diffrac-Plus DIF\" file"},
      {"Diffrac-Plus DIF", -1, nullptr, "This file does not appear to be a \"Diffrac-Plus DIF\" file"},
      {"Diffrac-Plus RAW", 3, "Read_Raw1", nullptr},
      {"Diffrac-Plus RAW", 4, "Read_Raw2", nullptr},
      {"Diffrac-Plus RAW", 7, nullptr, "Raw v3 files not supported. Please save it first to v2"},
      {"Diffrac-Plus RAW", 8, nullptr, "This file does not appear to be a \"Diffrac-Plus RAW\" file"},
      {"Diffrac-Plus RAW", -1, nullptr, "This file does not appear to be a \"Diffrac-Plus RAW\" file"},
      {"Universal X-Ray Data", 4, "Read_Uxd", nullptr},
      {"Formatted text (D/I)", 2, "Read_Text_DI", nullptr},
      {"Diamond text (D/I)", -1, "Read_Diamond", nullptr},
      {"Formatted text (RAW)", 4, "Read_Text_Raw", nullptr},  // text types ignore the signature
      {"Mercury text raw data (xye)", -1, "Read_Xye", nullptr},
      {"GSAS text raw data (gsas)", -1, "Read_Gsas", nullptr},
      {"Oxford text raw data (dat)", -1, "Read_Oxford", nullptr},
      {"Automatic (by signature)", 1, nullptr, "DIF1 files are no longer supported"},
      {"Automatic (by signature)", 2, "Read_Dif", nullptr},
      {"Automatic (by signature)", 3, "Read_Raw1", nullptr},
      {"Automatic (by signature)", 4, "Read_Raw2", nullptr},
      {"Automatic (by signature)", 8, "Read_Raw_Ascii", nullptr},
      {"Automatic (by signature)", 7, nullptr, text::Unknown_Signature_Convert},
      {"Automatic (by signature)", 9, nullptr, text::Unknown_Signature_Convert},
      {"Automatic (by signature)", -1, nullptr, text::Unknown_Signature_Convert},
  };
  for (const auto& c : cases) {
    log.clear();
    platform.messages.clear();
    Convert_With(c.type, c.code);
    if (c.reader) {
      EXPECT_EQ(log, (std::vector<std::string>{c.reader, "Write_Text_Raw out.dat"})) << c.type << " " << c.code;
      EXPECT_TRUE(platform.messages.empty()) << c.type << " " << c.code;
    } else {
      EXPECT_TRUE(log.empty()) << c.type << " " << c.code;
      EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{c.message, Icon::None, "Talvo"}}))
          << c.type << " " << c.code;
    }
  }
}

TEST_F(Dispatch, ARefusedInputLeavesTheStoreWhole) {
  Store before = store;
  Convert_With("Diffrac-Plus RAW", 7);
  EXPECT_EQ(store, before);  // File_Sig included
}

TEST_F(Dispatch, AFailedReadKeepsThePreviousPatternAndWritesNothing) {
  Convert_With("Diffrac-Plus RAW", 4);
  store.Sample_ID = std::string(32, 'P');
  const Store before = store;
  log.clear();
  fail_read = true;
  platform.calls.clear();
  Convert_With("Diffrac-Plus RAW", 4, "Diffrac-Plus RAW (Version 2)");
  EXPECT_EQ(log, (std::vector<std::string>{"Read_Raw2"}));  // no writer after a failed read
  EXPECT_EQ(store, before);
  EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{"bad file", Icon::Critical, "Talvo"}}));
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"normal", "message"}));
}

TEST_F(Dispatch, ATextNamingNoTypeReadsNothingAndWritesTheStore) {
  Convert_With("Something typed", 4, "Diffrac-Plus RAW (Version 2)");
  EXPECT_EQ(log, (std::vector<std::string>{"Write_Raw2 out.dat"}));
}

struct Output_Case {
  const char* type;
  bool peak_list;
  std::vector<std::string> log;
  const char* message;
  Icon icon;
  bool event_step;
};

TEST_F(Dispatch, EveryOutputRowWritesOrRefusesByTypeAndKind) {
  const std::vector<Output_Case> cases = {
      {"Diffrac-Plus DIF", false, {}, "I Can't do that!", Icon::Exclamation, false},
      {"Diffrac-Plus DIF", true, {}, "Convertion to DIF not yet available", Icon::None, true},
      {"Diffrac-Plus RAW (Version 2)", false, {"Write_Raw2 out.dat"}, nullptr, Icon::None, true},
      {"Diffrac-Plus RAW (Version 2)", true, {"Peaks_To_Scan", "Write_Raw2 out.dat"}, nullptr, Icon::None, true},
      {"Universal X-Ray Data", false, {}, "I Can't do that!", Icon::Exclamation, false},
      {"Universal X-Ray Data", true, {}, "Convertion from RAW to UXD not yet available", Icon::None, true},
      {"Formatted text (RAW)", false, {"Write_Text_Raw out.dat"}, nullptr, Icon::None, true},
      {"Formatted text (RAW)", true, {}, "Not available at this time, choose U-Fit output.", Icon::Exclamation,
       false},
      {"Treor", false, {}, "I Can't do that!", Icon::Exclamation, false},
      {"Treor", true, {"Write_Treor out.dat"}, nullptr, Icon::None, true},
      {"U-Fit", false, {}, "I Can't do that!", Icon::Exclamation, false},
      {"U-Fit", true, {"Write_UFit out.dat"}, nullptr, Icon::None, true},
      {"Windows Bitmap", false, {"Write_Bmp out.dat"}, nullptr, Icon::None, true},
      {"Windows Bitmap", true, {"Peaks_To_Scan", "Write_Bmp out.dat"}, nullptr, Icon::None, true},
      {"Formatted text (D/I)", false, {}, "Sorry, there was a problem in my kitchen", Icon::Exclamation, false},
      {"Formatted text (D/I)", true, {}, "Sorry, there was a problem in my kitchen", Icon::Exclamation, false},
      {"typed text", true, {}, "Sorry, there was a problem in my kitchen", Icon::Exclamation, false},
  };
  for (const auto& c : cases) {
    log.clear();
    platform.messages.clear();
    platform.calls.clear();
    reads_peak_list = c.peak_list;
    Convert_With("Formatted text (RAW)", -1, c.type);
    std::vector<std::string> expected_log = {"Read_Text_Raw"};
    expected_log.insert(expected_log.end(), c.log.begin(), c.log.end());
    EXPECT_EQ(log, expected_log) << c.type << " " << c.peak_list;
    if (c.message)
      EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{c.message, c.icon, "Talvo"}})) << c.type;
    else
      EXPECT_TRUE(platform.messages.empty()) << c.type;
    const bool events = !platform.calls.empty() && platform.calls.back() == "events";
    EXPECT_EQ(events, c.event_step) << c.type << " " << c.peak_list;
  }
}

TEST_F(Dispatch, PreviewReadsThenShowsTheWindowOrRefuses) {
  const std::vector<Input_Case> cases = {
      {"Diffrac-Plus DIF", 1, nullptr, "DIF1 files are no longer supported"},
      {"Diffrac-Plus DIF", 2, "Read_Dif", nullptr},
      {"Diffrac-Plus DIF", 9, nullptr, "This file does not appear to be a \"Diffrac-Plus DIF\" file"},
      {"Diffrac-Plus RAW", 3, "Read_Raw1", nullptr},
      {"Diffrac-Plus RAW", 4, "Read_Raw2", nullptr},
      {"Diffrac-Plus RAW", 7, nullptr, "Raw v3 files not supported. Please save it first to v2"},
      {"Diffrac-Plus RAW", 8, nullptr, "This file does not appear to be a \"Diffrac-Plus RAW\" file"},
      {"Universal X-Ray Data", -1, "Read_Uxd", nullptr},
      {"Formatted text (D/I)", -1, nullptr, "Convertions from text files not available at this time"},
      {"Diamond text (D/I)", -1, nullptr, "Convertions from text files not available at this time"},
      {"Formatted text (RAW)", -1, "Read_Text_Raw", nullptr},
      {"Mercury text raw data (xye)", -1, "Read_Xye", nullptr},
      {"GSAS text raw data (gsas)", -1, "Read_Gsas", nullptr},
      {"Oxford text raw data (dat)", -1, "Read_Oxford", nullptr},
      {"Automatic (by signature)", 1, nullptr, "DIF1 files are no longer supported"},
      {"Automatic (by signature)", 2, "Read_Dif", nullptr},
      {"Automatic (by signature)", 3, "Read_Raw1", nullptr},
      {"Automatic (by signature)", 4, "Read_Raw2", nullptr},
      {"Automatic (by signature)", 8, nullptr, "Sorry, but I can't recognize this signature"},
      {"Automatic (by signature)", 9, nullptr, "Sorry, but I can't recognize this signature"},
  };
  for (const auto& c : cases) {
    log.clear();
    platform.messages.clear();
    platform.calls.clear();
    lists.Input_Choice.Text = c.type;
    code = c.code;
    Session session{store, lists, platform, formats};
    Preview(session, "in.dat");
    if (c.reader) {
      EXPECT_EQ(log, (std::vector<std::string>{c.reader})) << c.type << " " << c.code;
      EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "preview", "events"})) << c.type;
    } else {
      EXPECT_TRUE(log.empty());
      EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal", "message"})) << c.type;
      EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{c.message, Icon::None, "Talvo"}})) << c.type;
    }
  }
}

TEST_F(Dispatch, PreviewOpensNoWindowAfterAFailedRead) {
  fail_read = true;
  lists.Input_Choice.Text = "Diffrac-Plus RAW";
  code = 4;
  Session session{store, lists, platform, formats};
  Preview(session, "in.dat");
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal", "message"}));
}

TEST(Registry, StartUpListsAndSelections) {
  Type_Lists lists;
  Store store;
  store.Nb_Points = 7;
  Main_Window_Load(lists, store);
  EXPECT_EQ(lists.Input_Choice.Entries.size(), 10u);
  EXPECT_EQ(lists.Output_Choice.Entries.size(), 8u);
  EXPECT_EQ(lists.Input_Choice.Text, "Diffrac-Plus RAW");
  EXPECT_EQ(lists.Output_Choice.Text, "Formatted text (RAW)");
  EXPECT_EQ(store, Store{});
  EXPECT_EQ(store.Nb_Points, 3350);
  EXPECT_TRUE(store.Intensities.empty());
  EXPECT_EQ(Pattern_Of(lists.Output_Choice, lists.Output_Patterns), "*.txt");
  lists.Output_Choice.Text = "U-Fit";
  EXPECT_EQ(Pattern_Of(lists.Output_Choice, lists.Output_Patterns), "*.dif");
  lists.Input_Choice.Text = "Automatic (by signature)";
  EXPECT_EQ(Pattern_Of(lists.Input_Choice, lists.Input_Patterns), "*.*");
  lists.Input_Choice.Text = "nothing";
  EXPECT_EQ(Pattern_Of(lists.Input_Choice, lists.Input_Patterns), "");
}

TEST(Registry, AddComboExtendsThePatternsOfItsList) {
  Type_Lists lists;
  Type_List other{"Some_Choice", {}, {}};
  Add_Combo(lists, lists.Input_Choice, "A", "*.a");
  Add_Combo(lists, other, "B", "*.b");
  Add_Combo(lists, other, "B", "*.b2");  // no check for duplicates
  EXPECT_EQ(lists.Input_Patterns, (std::vector<std::string>{"", "*.a"}));
  EXPECT_EQ(lists.Output_Patterns, (std::vector<std::string>{"", "*.b", "*.b2"}));
}

}  // namespace
}  // namespace talvo
