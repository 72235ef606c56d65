// The output checks made before a conversion reads anything, and writes that
// fail part-way: the input and an existing output stay whole, no dialog or
// window opens for a conversion that cannot end well, and nothing is left.
#include "core/output_guard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "core/file_io.h"
#include "fixtures/format_session.h"
#include "fixtures/raw_builder.h"
#include "ui/request.h"

namespace talvo {
namespace {

namespace fs = std::filesystem;
using testing::Format_Session;
using testing::Raw1_File;
using testing::Raw2_File;
using testing::Raw_Scan;
using testing::Read_Bytes;
using testing::Temp_Dir;

const std::string Dif_Sample = std::string(TALVO_SAMPLES) + "/quartz.dif";

struct Early_Case {
  const char* what;
  const char* from;
  const char* to;
  bool peak_list;
};

const Early_Case Early_Cases[] = {
    {"peak list to RAW version 2", "Diffrac-Plus DIF", "Diffrac-Plus RAW (Version 2)", true},
    {"scan to bitmap", "Diffrac-Plus RAW", "Windows Bitmap", false},
};

std::string Input_For(const Temp_Dir& dir, const Early_Case& c) {
  if (c.peak_list) return dir.Write("QTZ.DIF", Read_Bytes(Dif_Sample));
  return dir.Write("QTZ.RAW", Raw2_File(Raw_Scan{}));
}

TEST(Output_Guard, AMissingFolderIsRefusedBeforeAnyDialogOrWindow) {
  for (const auto& c : Early_Cases) {
    Temp_Dir dir;
    Format_Session session;
    session.Convert(c.from, c.to, Input_For(dir, c), dir.Path("none/out.x"));
    EXPECT_EQ(session.platform.calls, std::vector<std::string>{"message"}) << c.what;
    ASSERT_EQ(session.platform.messages.size(), 1u);
    EXPECT_EQ(session.platform.messages[0].text,
              "The folder " + dir.Path("none") + " does not exist: out.x cannot be written.");
    EXPECT_EQ(session.platform.messages[0].icon, Icon::Critical);
    EXPECT_FALSE(fs::exists(dir.Path("none")));
  }
}

#ifndef _WIN32
TEST(Output_Guard, AReadOnlyFolderIsRefusedBeforeAnyDialogOrWindow) {
  if (geteuid() == 0) GTEST_SKIP() << "every folder is writable to root";
  for (const auto& c : Early_Cases) {
    Temp_Dir dir;
    fs::create_directory(dir.Path("ro"));
    fs::permissions(dir.Path("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    Format_Session session;
    session.Convert(c.from, c.to, Input_For(dir, c), dir.Path("ro/out.x"));
    fs::permissions(dir.Path("ro"), fs::perms::owner_all);
    EXPECT_EQ(session.platform.calls, std::vector<std::string>{"message"}) << c.what;
    EXPECT_EQ(session.platform.messages.at(0).text,
              "The folder " + dir.Path("ro") + " cannot be written to: out.x cannot be written.");
    EXPECT_TRUE(fs::is_empty(dir.Path("ro")));
  }
}
#endif

// Each spelling of the input as its own output: nothing is read, the file
// stays as it was, and the message names it.
TEST(Output_Guard, TheInputIsNeverItsOwnOutput) {
  Temp_Dir dir;
  fs::create_directory(dir.Path("sub"));
  const auto original = Raw1_File(Raw_Scan{});
  const std::string input = dir.Write("x.raw", original);
  std::vector<std::string> outputs = {Split_Request(input, "*.raw").calls.at(0).outfile, input,
                                      dir.Path("sub/../x.raw")};
  std::error_code no_links;  // a system without symbolic links tests the other spellings
  fs::create_symlink(input, dir.Path("link.raw"), no_links);
  if (!no_links) outputs.push_back(dir.Path("link.raw"));
  for (const std::string& output : outputs) {
    Format_Session session;
    session.Convert("Diffrac-Plus RAW", "Diffrac-Plus RAW (Version 2)", input, output);
    EXPECT_EQ(session.platform.calls, std::vector<std::string>{"message"}) << output;
    EXPECT_EQ(session.platform.messages.at(0).text,
              Full_Path_Of(output) + " is the file being converted: it cannot also be its output.");
    EXPECT_EQ(Read_Bytes(input), original) << output;
  }
  EXPECT_TRUE(no_links || fs::is_symlink(dir.Path("link.raw")));
}

TEST(Output_Guard, AnyOtherOutputGoesAhead) {
  Temp_Dir dir;
  const std::string input = dir.Write("x.raw", Raw1_File(Raw_Scan{}));
  EXPECT_EQ(Output_Refusal(input, dir.Write("y.raw", "old")), std::nullopt);
  EXPECT_EQ(Output_Refusal(input, dir.Path("new.raw")), std::nullopt);
  EXPECT_EQ(Output_Refusal(dir.Path("missing.raw"), dir.Path("missing.txt")), std::nullopt);
  EXPECT_EQ(*Output_Refusal(input, dir.Path("")), dir.Path("") + " is a folder, not a file: it cannot be written.");
}

#ifndef _WIN32
// A file-size limit below the output's size: the write fails with EFBIG
// (the signal is ignored, as both programs ignore it), the existing output
// keeps its bytes and no temporary file is left beside it.
TEST(Output_Guard, AWriteCutShortByAFileSizeLimitLeavesTheOldOutputWhole) {
  Temp_Dir dir;
  Raw_Scan scan;
  scan.intensities.assign(2000, 50.0f);
  const std::string input = dir.Write("QTZ.RAW", Raw2_File(scan));
  const std::string output = dir.Write("out.txt", "the old output");
  Format_Session session;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit limit = old_limit;
  limit.rlim_cur = 4000;
  setrlimit(RLIMIT_FSIZE, &limit);
  session.Convert("Diffrac-Plus RAW", "Formatted text (RAW)", input, output);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  ASSERT_EQ(session.platform.messages.size(), 1u);
  EXPECT_EQ(session.platform.messages[0].text, "out.txt cannot be written: file too large.");
  EXPECT_EQ(testing::Read_Text(output), "the old output");
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"QTZ.RAW", "out.txt"}));
}
#endif

}  // namespace
}  // namespace talvo
