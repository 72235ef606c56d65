#include "ui/request.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/failure.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "fixtures/temp_dir.h"
#include "formats/format_table.h"
#include "ui/name_fields.h"

namespace talvo {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<Conversion_Call>;
using testing::Recorded_Message;
using testing::Recording_Platform;

Calls Calls_Of(std::string_view in, std::string_view out) {
  return Split_Request(in, out).calls;
}

TEST(Request, OneFileTakesFolderBaseAndExtensionFromTheOutputField) {
  struct Case {
    const char* in;
    const char* out;
    const char* outfile;
  };
  const Case cases[] = {
      {R"(C:\DATA\A.RAW)", R"(C:\OUT\B.TXT)", R"(C:\OUT\B.TXT)"},
      {R"(C:\DATA\A.RAW)", "", R"(C:\DATA\A)"},
      {R"(C:\DATA\A.RAW)", "*.TXT", R"(C:\DATA\A.TXT)"},
      {R"(C:\DATA\A.RAW)", "RESULT", R"(C:\DATA\RESULT)"},
      {R"(C:\DATA\A.RAW)", "X.Y.Z", R"(C:\DATA\X.Y.Z)"},
      {R"(C:\DATA\A.RAW)", "*.*", R"(C:\DATA\A)"},
      {R"(C:\DATA\A.RAW)", R"(C:\OUT\)", R"(C:\OUT\A)"},
      {R"(C:\DATA\A.B.RAW)", "*.TXT", R"(C:\DATA\A.TXT)"},    // the base ends at the first "."
      {R"(C:\DATA.D\A.RAW)", "*.TXT", R"(C:\DATA.D\A.TXT)"},  // a "." in a folder is no extension
      {R"(C:\DATA\A.RAW)", "B.*", R"(C:\DATA\B)"},
      {R"(C:\DATA\NODOT)", "*.TXT", R"(C:\DATA\NODOT.TXT)"},  // no ".": the whole name is the base
      {"/home/me/data/a.raw", "*.txt", "/home/me/data/a.txt"},
      {"/home/me/data/a.raw", "/tmp/out/b.raw", "/tmp/out/b.raw"},
      {"/home/me/data/a.raw", R"(C:\OUT\B.TXT)", R"(C:\OUT\B.TXT)"},
      {R"(C:\DATA/a.raw)", "*.txt", R"(C:\DATA/a.txt)"},                       // the last separator of either kind
      {"/home/me/data/a.raw", R"("my out.txt")", "/home/me/data/my out.txt"},  // quotes only group
      {"/home/me/data/a.raw", R"("/tmp/x ray/"*.txt)", "/tmp/x ray/a.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.in) + " | " + c.out);
    const Conversion_Request request = Split_Request(c.in, c.out);
    EXPECT_FALSE(request.empty_input);
    EXPECT_FALSE(request.is_list);
    EXPECT_EQ(request.calls, (Calls{{c.in, c.outfile}}));
  }
}

TEST(Request, NameWithoutFolderStaysRelativeToTheCurrentFolder) {
  EXPECT_EQ(Calls_Of("A.RAW", ""), (Calls{{"A.RAW", "A"}}));
  EXPECT_EQ(Calls_Of("A.RAW", "*.TXT"), (Calls{{"A.RAW", "A.TXT"}}));
  EXPECT_EQ(Calls_Of("A.RAW", R"(C:\OUT\B.TXT)"), (Calls{{"A.RAW", R"(C:\OUT\B.TXT)"}}));
}

TEST(Request, EmptyInputConvertsNothing) {
  const Conversion_Request request = Split_Request("", R"(C:\OUT\B.TXT)");
  EXPECT_TRUE(request.empty_input);
  EXPECT_TRUE(request.calls.empty());
  EXPECT_TRUE(Split_Request("\"\"", "").empty_input);
}

TEST(Request, ListGivesEveryOutputTheBaseOfItsInput) {
  for (const char* out : {R"(C:\OUT\*.TXT)", R"(C:\OUT\NEW.TXT)"}) {
    SCOPED_TRACE(out);
    const Conversion_Request request = Split_Request(R"(C:\DATA A.RAW B.RAW)", out);
    EXPECT_TRUE(request.is_list);
    EXPECT_EQ(request.calls, (Calls{{R"(C:\DATA\A.RAW)", R"(C:\OUT\A.TXT)"},  //
                                    {R"(C:\DATA\B.RAW)", R"(C:\OUT\B.TXT)"}}));
  }
  // Without a folder in the output field, the outputs go beside the inputs.
  EXPECT_EQ(Calls_Of("/data a.raw b", "*.txt"), (Calls{{"/data/a.raw", "/data/a.txt"}, {"/data/b", "/data/b.txt"}}));
  EXPECT_EQ(Calls_Of("/data a.raw b.raw", ""), (Calls{{"/data/a.raw", "/data/a"}, {"/data/b.raw", "/data/b"}}));
}

TEST(Request, TrailingBlankMakesAListOfOne) {
  const Conversion_Request request = Split_Request(R"(C:\DATA A.RAW )", R"(C:\OUT\*.TXT)");
  EXPECT_TRUE(request.is_list);
  EXPECT_EQ(request.calls, (Calls{{R"(C:\DATA\A.RAW)", R"(C:\OUT\A.TXT)"}}));
}

TEST(Request, FolderAndOneNameIsOneFile) {
  const Conversion_Request request = Split_Request(R"(C:\DATA A.RAW)", "*.TXT");
  EXPECT_FALSE(request.is_list);
  EXPECT_EQ(request.calls, (Calls{{R"(C:\DATA\A.RAW)", R"(C:\DATA\A.TXT)"}}));
}

TEST(Request, ListSkipsEmptyItemsAndKeepsTheFolderSeparator) {
  EXPECT_EQ(Calls_Of(R"(C:\DATA A.RAW  B.RAW)", "*.TXT"),
            (Calls{{R"(C:\DATA\A.RAW)", R"(C:\DATA\A.TXT)"}, {R"(C:\DATA\B.RAW)", R"(C:\DATA\B.TXT)"}}));
  // A dialog gives a root folder with its separator: it is not doubled.
  EXPECT_EQ(Calls_Of(R"(C:\ A.RAW B.RAW)", "*.TXT"),
            (Calls{{R"(C:\A.RAW)", R"(C:\A.TXT)"}, {R"(C:\B.RAW)", R"(C:\B.TXT)"}}));
  EXPECT_EQ(Calls_Of("/ a.raw b.raw", "*.txt"), (Calls{{"/a.raw", "/a.txt"}, {"/b.raw", "/b.txt"}}));
  EXPECT_EQ(Calls_Of("/home/me a.raw b.raw", R"(C:\OUT\*.TXT)"),
            (Calls{{"/home/me/a.raw", R"(C:\OUT\a.TXT)"}, {"/home/me/b.raw", R"(C:\OUT\b.TXT)"}}));
  const Conversion_Request blanks = Split_Request(R"(C:\DATA  )", "*.TXT");
  EXPECT_TRUE(blanks.is_list);
  EXPECT_TRUE(blanks.calls.empty());
}

TEST(Request, QuotedItemsMayHoldBlanks) {
  EXPECT_EQ(Calls_Of(R"("C:\My Data" "a b.raw" c.raw)", R"(C:\OUT\*.TXT)"),
            (Calls{{R"(C:\My Data\a b.raw)", R"(C:\OUT\a b.TXT)"}, {R"(C:\My Data\c.raw)", R"(C:\OUT\c.TXT)"}}));
  EXPECT_TRUE(Split_Request(R"("C:\My Data" "a b.raw" c.raw)", "").is_list);

  const Conversion_Request one = Split_Request(R"("/home/me/x ray/a.raw")", "*.txt");
  EXPECT_FALSE(one.is_list);
  EXPECT_EQ(one.calls, (Calls{{"/home/me/x ray/a.raw", "/home/me/x ray/a.txt"}}));

  // A quoted folder and one name is one file; a trailing blank asks, as unquoted.
  const Conversion_Request pair = Split_Request(R"("/x ray" "a b.raw")", "");
  EXPECT_FALSE(pair.is_list);
  EXPECT_EQ(pair.calls, (Calls{{"/x ray/a b.raw", "/x ray/a b"}}));
  const Conversion_Request trailing = Split_Request(R"("/x ray" a.raw )", "");
  EXPECT_TRUE(trailing.is_list);
  EXPECT_EQ(trailing.calls, (Calls{{"/x ray/a.raw", "/x ray/a"}}));
  // Two names without a blank between them are still two files, each with its base.
  EXPECT_EQ(Calls_Of(R"("/x" "a.raw""b.raw")", "*.txt"), (Calls{{"/x/a.raw", "/x/a.txt"}, {"/x/b.raw", "/x/b.txt"}}));
}

TEST(Request, RunWarnsOnEmptyInputAndConvertsNothing) {
  Recording_Platform platform;
  int converted = 0;
  Run_Request(platform, "", "B.TXT", [&](const Conversion_Call&, const Failure_Text&) { return ++converted, true; });
  EXPECT_EQ(converted, 0);
  EXPECT_EQ(platform.messages,
            (std::vector<Recorded_Message>{{"You must select\ran input file.", Icon::Exclamation, "Error !"}}));
  EXPECT_TRUE(platform.questions.empty());
}

TEST(Request, RunLetsEventsRunBeforeEachFile) {
  Recording_Platform platform;
  Calls seen;
  auto convert = [&](const Conversion_Call& call, const Failure_Text&) {
    platform.calls.push_back("convert " + call.infile);
    seen.push_back(call);
    return true;
  };
  Run_Request(platform, "/data/a.raw", "/out/b.raw", convert);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"events", "convert /data/a.raw"}));
  EXPECT_TRUE(platform.questions.empty());

  platform.calls.clear();
  Run_Request(platform, "/data a.raw b.raw", "/out/*.raw", convert);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"question", "events", "convert /data/a.raw", "events", "convert /data/b.raw"}));
  EXPECT_EQ(platform.questions, (std::vector<std::string>{"Do you really want multiple file conversions ?"}));
}

TEST(Request, RunConvertsNoneOnNoAndStopsWhenAsked) {
  Recording_Platform platform;
  int converted = 0;
  platform.yes_no_answers = {false};
  Run_Request(platform, "/data a.raw b.raw", "",
              [&](const Conversion_Call&, const Failure_Text&) { return ++converted, true; });
  EXPECT_EQ(converted, 0);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"question"}));

  Run_Request(platform, "/data a.raw b.raw c.raw", "",
              [&](const Conversion_Call&, const Failure_Text&) { return ++converted, false; });
  EXPECT_EQ(converted, 1);
}

// A path cut at an unquoted blank names the file it tried and reminds of the
// quotes; a file that exists, or a quoted field, converts as before.
TEST(Request, RunRemindsOfQuotesWhenAnUnquotedBlankCutThePath) {
  testing::Temp_Dir dir;
  fs::create_directories(dir.Path("x ray"));
  dir.Write("x ray/q2.raw", std::string("RAW2"));
  Recording_Platform platform;
  Calls seen;
  // A conversion that reads its input, and shows a failure as the session's text words it.
  auto convert = [&](const Conversion_Call& call, const Failure_Text& text) {
    try {
      Load_Input_File(call.infile);
    } catch (const Failure& failure) {
      platform.Show_Message(text ? text(failure) : failure.what(), Icon::Critical, "Talvo");
    }
    return seen.push_back(call), true;
  };
  Run_Request(platform, dir.Path("x ray/q2.raw"), "*.txt", convert);
  EXPECT_EQ(platform.messages,
            (std::vector<Recorded_Message>{
                {Full_Path_Of(dir.Path("x/ray/q2.raw")) +
                     ": the file does not exist. A path that holds blanks is written in double quotes.",
                 Icon::Critical, "Talvo"}}));
  platform.messages.clear();
  Run_Request(platform, '"' + dir.Path("x ray/q2.raw") + '"', "*.txt", convert);
  dir.Write("a.raw", std::string("RAW2"));
  Run_Request(platform, dir.Path(".") + " a.raw", "", convert);  // a folder and a name that exist
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(seen.size(), 3u);
}

// The reminder follows the kind of the failure, through the dispatcher: a
// missing input gets it, a folder named as input and a damaged file do not.
TEST(Request, TheDispatcherWordsOnlyAMissingInputWithTheReminder) {
  testing::Temp_Dir dir;
  fs::create_directories(dir.Path("x/ray"));
  dir.Write("x/short.raw", std::string("RAW2"));
  const std::string hint = " A path that holds blanks is written in double quotes.";
  const std::pair<std::string, bool> cases[] = {
      {dir.Path("x ray/q2.raw"), true},  // cut at the blank: x/ray/q2.raw does not exist
      {dir.Path("x ray"), false},        // x/ray is a folder
      {dir.Path("x short.raw"), false},  // x/short.raw is too short to read
  };
  for (const auto& [field, hinted] : cases) {
    SCOPED_TRACE(field);
    Recording_Platform platform;
    Store store;
    Run_Request(platform, field, dir.Path("out.txt"), [&](const Conversion_Call& call, const Failure_Text& text) {
      Session session{store, platform, Format_Table(), text};
      Convert(session, "Diffrac-Plus RAW", "Formatted text (RAW)", call.infile, call.outfile);
      return true;
    });
    ASSERT_EQ(platform.messages.size(), 1u);
    const std::string& shown = platform.messages.front().text;
    EXPECT_EQ(shown.size() > hint.size() && shown.ends_with(hint), hinted) << shown;
  }
}

TEST(Request, PreviewPathIsTheWholeFieldWithoutItsQuotes) {
  EXPECT_EQ(Preview_Path(R"(C:\DATA\A.RAW)"), R"(C:\DATA\A.RAW)");
  EXPECT_EQ(Preview_Path(R"(C:\DATA A.RAW B.RAW)"), R"(C:\DATA A.RAW B.RAW)");  // a selection is not split
  EXPECT_EQ(Preview_Path(R"("/home/me/x ray/a.raw")"), "/home/me/x ray/a.raw");
  EXPECT_EQ(Preview_Path(""), "");
  EXPECT_EQ(Preview_Path("*.*"), "");
  EXPECT_EQ(Preview_Path("\"*.*\""), "");
}

TEST(Request, BrowseTextIsWhatTheSplitReadsBack) {
  EXPECT_EQ(Browse_Text({"/data/a.raw"}, true), "/data/a.raw");
  EXPECT_EQ(Browse_Text({"/data/a.raw", "/data/b.raw"}, true), "/data a.raw b.raw");
  EXPECT_EQ(Browse_Text({"/a.raw", "/b.raw"}, true), "/ a.raw b.raw");
  EXPECT_EQ(Browse_Text({R"(C:\a.raw)", R"(C:\b.raw)"}, true), R"(C:\ a.raw b.raw)");
  EXPECT_EQ(Browse_Text({"/x ray/a.raw"}, true), R"("/x ray/a.raw")");
  EXPECT_EQ(Browse_Text({"/x ray/a b.raw", "/x ray/c.raw"}, true), R"("/x ray" "a b.raw" c.raw)");
  EXPECT_EQ(Browse_Text({"/x ray/a b.raw"}, false), "/x ray/a b.raw");  // the output field is never quoted
  EXPECT_EQ(Browse_Text({}, true), "");

  const std::vector<std::string> chosen = {"/x ray/a b.raw", "/x ray/c.raw"};
  EXPECT_EQ(Calls_Of(Browse_Text(chosen, true), "*.txt"),
            (Calls{{"/x ray/a b.raw", "/x ray/a b.txt"}, {"/x ray/c.raw", "/x ray/c.txt"}}));
}

}  // namespace
}  // namespace talvo
