// One file's output depends on that file and the user's settings only: the
// file converted before it in the same run leaves nothing in it.
#include <gtest/gtest.h>

#include <string>

#include "fixtures/format_session.h"
#include "fixtures/temp_dir.h"
#include "ui/p_dif2raw.h"

namespace talvo {
namespace {

using testing::Format_Session;
using testing::Read_Bytes;
using testing::Temp_Dir;

struct Case {
  const char* sample;
  const char* type;
};

// B alone, and B after a RAW version 2 file A whose uninterpreted header
// bytes are not zero, written to RAW version 2: the same bytes.
TEST(Isolation, AFileConvertsAloneAsItDoesAfterAnother) {
  const std::string a = TALVO_SAMPLES "/quartz.raw";
  for (const Case& b : {Case{"quartz-v1.raw", "Diffrac-Plus RAW"}, Case{"quartz.dif", "Diffrac-Plus DIF"},
                        Case{"quartz-scan.txt", "Formatted text (RAW)"}}) {
    Temp_Dir dir;
    const std::string input = std::string(TALVO_SAMPLES "/") + b.sample;
    Format_Session alone, after;
    for (Format_Session* session : {&alone, &after}) {
      session->store.Noise_Height = 0;  // the noise differs from run to run
      // The synthesis dialog answered alike, whatever it proposes.
      session->platform.on_dif2raw = [platform = &session->platform](Store& store) {
        P_dif2raw dialog(store, *platform);
        dialog.Form_Load();
        dialog.T_SSize = "0.01";
        dialog.T_Time = "1";
        ASSERT_FALSE(dialog.Form_Unload());
      };
    }
    ASSERT_EQ(alone.Convert(b.type, "Diffrac-Plus RAW (Version 2)", input, dir.Path("alone.raw")), Outcome::Converted);
    ASSERT_EQ(after.Convert("Diffrac-Plus RAW", "Diffrac-Plus RAW (Version 2)", a, dir.Path("a.raw")),
              Outcome::Converted);
    ASSERT_EQ(after.Convert(b.type, "Diffrac-Plus RAW (Version 2)", input, dir.Path("after.raw")), Outcome::Converted);
    EXPECT_EQ(Read_Bytes(dir.Path("alone.raw")), Read_Bytes(dir.Path("after.raw"))) << b.sample;
  }
}

}  // namespace
}  // namespace talvo
