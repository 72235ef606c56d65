#include "core/dispatch.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "core/text32.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"
#include "formats/format_table.h"
#include "ui/type_lists.h"

namespace talvo {
namespace {

using testing::Recorded_Message;
using testing::Recording_Platform;

const std::string Title = "Talvo \u2013 in.dat";

// The program's registry with every reader, writer and synthesis step
// replaced by one that logs its name; readers set the pattern kind the test
// asks for, and the signature is the code the test gives.
class Dispatch : public ::testing::Test {
 protected:
  Dispatch() : registry(Format_Table()) {
    for (auto& type : registry.inputs)
      for (auto& rule : type.rules)
        if (rule.reader) rule.reader->read = Logging_Reader(rule.reader->name);
    for (auto& type : registry.outputs)
      for (Output_Rule* rule : {&type.scan, &type.peaks})
        if (rule->writer) rule->writer = Logging_Writer(std::string(type.key));
    registry.signature = [this](const Input_File&, Store& s) {
      s.File_Sig = {'X', 'X', 'X', 'X'};
      return code;
    };
    registry.synthesis = {[this](Store&) { log.push_back("Prepare_Synthesis"); },
                          [this](Store&) { log.push_back("Synthesise_Scan"); }};
    input = dir.Write("in.dat", "some bytes");
  }

  Reader_Fn Logging_Reader(const char* name) {
    return [this, name](const Input_File&, Store& s) {
      log.push_back(name);
      s.Is_Peak_List = reads_peak_list ? True16 : False16;
      s.Sample_ID = std::string(32, 'R');
      if (fail_read) throw Failure("bad file");
      return Read_Result{};
    };
  }
  Writer_Fn Logging_Writer(const std::string& key) {
    return [this, key](const std::string& path, const Store&, Platform&) {
      log.push_back("write " + key + " " + File_Name_Of(path));
    };
  }

  Outcome Convert_With(const std::string& input_type, int16_t signature,
                       const std::string& output_type = "Formatted text (RAW)") {
    code = signature;
    Session session{store, platform, registry};
    return Convert(session, input_type, output_type, input, dir.Path("out.dat"));
  }
  Outcome Preview_With(const std::string& input_type, int16_t signature) {
    code = signature;
    Session session{store, platform, registry};
    return Preview(session, input_type, input);
  }

  testing::Temp_Dir dir;
  std::string input;
  Registry registry;
  Store store;
  Recording_Platform platform;
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
      EXPECT_EQ(log, (std::vector<std::string>{c.reader, "write text-raw out.dat"})) << c.type << " " << c.code;
      EXPECT_TRUE(platform.messages.empty()) << c.type << " " << c.code;
    } else {
      EXPECT_TRUE(log.empty()) << c.type << " " << c.code;
      EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{c.message, Icon::None, Title}}))
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
  EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{"bad file", Icon::Critical, Title}}));
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"normal", "message"}));
}

TEST_F(Dispatch, ATextNamingNoInputTypeIsRefusedAndWritesNothing) {
  Convert_With("Diffrac-Plus RAW", 4);
  const Store before = store;
  log.clear();
  platform.messages.clear();
  EXPECT_EQ(Convert_With("Something typed", 4, "Diffrac-Plus RAW (Version 2)"), Outcome::Refused);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(store, before);
  EXPECT_EQ(platform.messages,
            (std::vector<Recorded_Message>{{"\"Something typed\" is not an input type", Icon::Exclamation, Title}}));
  EXPECT_EQ(Preview_With("diffrac-plus raw", 4), Outcome::Refused);  // names compare whole and with case
  EXPECT_TRUE(log.empty());
}

TEST_F(Dispatch, TheOutcomeSaysWhetherTheFileWasConverted) {
  EXPECT_EQ(Convert_With("Diffrac-Plus RAW", 4), Outcome::Converted);
  EXPECT_EQ(Convert_With("Diffrac-Plus RAW", 7), Outcome::Refused);
  EXPECT_EQ(Convert_With("Diffrac-Plus RAW", 4, "Treor"), Outcome::Refused);
  fail_read = true;
  EXPECT_EQ(Convert_With("Diffrac-Plus RAW", 4), Outcome::Failed);
  EXPECT_EQ(Convert_With("Diffrac-Plus RAW", 4, "Gone"), Outcome::Failed);
}

TEST_F(Dispatch, AMissingInputFileIsAFailureNamingIt) {
  input = dir.Path("MISSING.RAW");
  EXPECT_EQ(Convert_With("Diffrac-Plus RAW", 4), Outcome::Failed);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find("MISSING.RAW"), std::string::npos);
  EXPECT_EQ(platform.messages[0].title, "Talvo \u2013 MISSING.RAW");
  EXPECT_TRUE(log.empty());
}

// What a reader reports besides the pattern is the conversion's to show:
// the question of a sample name, warnings, the import dialog with the text
// already read.
TEST_F(Dispatch, TheConversionAsksWhatTheReaderLeavesToAsk) {
  for (auto& type : registry.inputs)
    for (auto& rule : type.rules)
      if (rule.reader && std::string(rule.reader->name) == "Read_Oxford")
        rule.reader->read = [](const Input_File&, Store& s) {
          s.Sample_ID = std::string(32, 'F');
          Read_Result result;
          result.proposed_sample = "run7" + std::string(28, ' ');
          result.warnings = {{"seen in the window", true}, {"said on the command line only", false}};
          return result;
        };
  std::string dialog_lines;
  platform.on_oxford2raw = [&](Store& s, const std::string& lines) {
    dialog_lines = lines;
    EXPECT_EQ(s.Sample_ID, "Quartz" + std::string(26, ' '));
  };
  platform.text_answer = "Quartz";
  EXPECT_EQ(Convert_With("Oxford text raw data (dat)", -1), Outcome::Converted);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "ask-text", "normal", "message", "note", "events",
                                                      "oxford2raw", "events"}));
  EXPECT_EQ(platform.questions, (std::vector<std::string>{"Quel nom voulez-vous donner \u00e0 l'\u00e9chantillon run7" +
                                                          std::string(28, ' ') + " ?"}));
  EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{"seen in the window", Icon::Exclamation, Title}}));
  EXPECT_EQ(platform.notes, (std::vector<std::string>{"said on the command line only"}));
  EXPECT_EQ(dialog_lines, "some bytes");
}

TEST_F(Dispatch, EachFileIsWrittenWithTheHeaderRecordsOfItsOwnRead) {
  store.Raw2_Header.fill(0x55);
  store.Raw2_Range_Header.fill(0x55);
  Set_Dif_Title(store, "kept title");
  Store seen;
  registry.outputs[1].scan.writer = [&](const std::string&, const Store& s, Platform&) { seen = s; };
  Convert_With("Formatted text (RAW)", -1, "Diffrac-Plus RAW (Version 2)");
  EXPECT_EQ(seen.Raw2_Header, decltype(seen.Raw2_Header){});
  EXPECT_EQ(seen.Raw2_Range_Header, decltype(seen.Raw2_Range_Header){});
  EXPECT_EQ(Dif_Title(seen), Fit32("kept title"));  // the title a list without one keeps
}

// The window's batch: every call through For_Each_File, `go_on` asked before
// each file; converted only when every file was.
Outcome Convert_All(Session& session, std::string_view input_type, std::string_view output_type,
                    const std::vector<Conversion_Call>& calls, const std::function<bool()>& go_on = {}) {
  Outcome all = Outcome::Converted;
  For_Each_File(session.platform, calls, [&](const Conversion_Call& call) {
    if (go_on && !go_on()) return false;
    all = Worse_Of(all, Convert_Call(session, input_type, output_type, call));
    return true;
  });
  return all;
}

TEST_F(Dispatch, ABatchGoesOnAfterARefusalAndSaysWhetherAllConverted) {
  code = 4;
  Session session{store, platform, registry};
  const std::vector<Conversion_Call> calls = {{input, "a.out"}, {dir.Path("none"), "b.out"}, {input, "c.out"}};
  EXPECT_EQ(Convert_All(session, "Diffrac-Plus RAW", "Formatted text (RAW)", calls), Outcome::Failed);
  EXPECT_EQ(log, (std::vector<std::string>{"Read_Raw2", "write text-raw a.out", "Read_Raw2", "write text-raw c.out"}));
  log.clear();
  int asked = 0;
  EXPECT_EQ(Convert_All(session, "Diffrac-Plus RAW", "Formatted text (RAW)", calls, [&] { return ++asked < 2; }),
            Outcome::Converted);
  EXPECT_EQ(log, (std::vector<std::string>{"Read_Raw2", "write text-raw a.out"}));
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
      {"Diffrac-Plus RAW (Version 2)", false, {"write raw2 out.dat"}, nullptr, Icon::None, true},
      {"Diffrac-Plus RAW (Version 2)",
       true,
       {"Prepare_Synthesis", "Synthesise_Scan", "write raw2 out.dat"},
       nullptr,
       Icon::None,
       true},
      {"Universal X-Ray Data", false, {}, "I Can't do that!", Icon::Exclamation, false},
      {"Universal X-Ray Data", true, {}, "Convertion from RAW to UXD not yet available", Icon::None, true},
      {"Formatted text (RAW)", false, {"write text-raw out.dat"}, nullptr, Icon::None, true},
      {"Formatted text (RAW)", true, {}, "Not available at this time, choose U-Fit output.", Icon::Exclamation, false},
      {"Treor", false, {}, "I Can't do that!", Icon::Exclamation, false},
      {"Treor", true, {"write treor out.dat"}, nullptr, Icon::None, true},
      {"U-Fit", false, {}, "I Can't do that!", Icon::Exclamation, false},
      {"U-Fit", true, {"write ufit out.dat"}, nullptr, Icon::None, true},
      {"Windows Bitmap", false, {"write bmp out.dat"}, nullptr, Icon::None, true},
      {"Windows Bitmap",
       true,
       {"Prepare_Synthesis", "Synthesise_Scan", "write bmp out.dat"},
       nullptr,
       Icon::None,
       true},
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
      EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{c.message, c.icon, Title}})) << c.type;
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
    Preview_With(c.type, c.code);
    if (c.reader) {
      EXPECT_EQ(log, (std::vector<std::string>{c.reader})) << c.type << " " << c.code;
      ASSERT_GE(platform.calls.size(), 3u);
      EXPECT_EQ(platform.calls.front(), "busy");
      EXPECT_EQ(std::vector<std::string>(platform.calls.end() - 2, platform.calls.end()),
                (std::vector<std::string>{"preview", "events"}))
          << c.type;
      EXPECT_TRUE(platform.messages.empty()) << c.type;
    } else {
      EXPECT_TRUE(log.empty());
      EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal", "message"})) << c.type;
      EXPECT_EQ(platform.messages, (std::vector<Recorded_Message>{{c.message, Icon::None, Title}})) << c.type;
    }
  }
}

TEST_F(Dispatch, PreviewOpensNoWindowAfterAFailedRead) {
  fail_read = true;
  Preview_With("Diffrac-Plus RAW", 4);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"busy", "normal", "message"}));
}

TEST(Registry, StartUpListsAndSelections) {
  Type_Lists lists;
  Store store;
  store.Nb_Points = 7;
  Main_Window_Load(lists, store, Format_Table());
  // The system's ten inputs and eight outputs keep their places; today's
  // types follow them, below a separator.
  const std::vector<std::string> system_inputs = {"Diffrac-Plus DIF",           "Diffrac-Plus RAW",
                                                  "Universal X-Ray Data",       "Formatted text (D/I)",
                                                  "Diamond text (D/I)",         "Formatted text (RAW)",
                                                  "GSAS text raw data (gsas)",  "Mercury text raw data (xye)",
                                                  "Oxford text raw data (dat)", "Automatic (by signature)"};
  const auto& inputs = lists.Input_Choice.Entries;
  ASSERT_GT(inputs.size(), 10u);
  EXPECT_EQ(std::vector<std::string>(inputs.begin(), inputs.begin() + 10), system_inputs);
  EXPECT_EQ(lists.Input_Choice.Separator_Before, 10u);
  EXPECT_EQ(inputs.size(), Format_Table().inputs.size());
  ASSERT_GE(lists.Output_Choice.Entries.size(), 8u);
  EXPECT_EQ(lists.Output_Choice.Entries[7], "Windows Bitmap");
  EXPECT_EQ(lists.Output_Choice.Separator_Before, lists.Output_Choice.Entries.size() > 8 ? 8u : 0u);
  ASSERT_GE(lists.Output_Choice.Entries.size(), 13u);
  EXPECT_EQ(lists.Output_Choice.Entries[8], "xye (2\xCE\xB8, intensity, uncertainty)");
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

// A batch may convert files at once only where no file can take anything
// from the one before it.
TEST(Registry, FilesAreIndependentUnlessAListIsSynthesisedOrAWavelengthIsHeld) {
  const Registry& types = Format_Table();
  auto independent = [&](const char* in, const char* out) {
    return Files_Independent(*types.Input_By_Key(in), *types.Output_By_Key(out));
  };
  EXPECT_TRUE(independent("raw", "text-raw"));
  EXPECT_TRUE(independent("raw", "raw2"));
  EXPECT_TRUE(independent("oxford", "raw2"));
  EXPECT_TRUE(independent("dif", "treor"));
  EXPECT_FALSE(independent("dif", "raw2"));
  EXPECT_FALSE(independent("auto", "bmp"));
  EXPECT_FALSE(independent("uxd", "text-raw"));
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
