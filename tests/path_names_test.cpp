// The path names both front ends build their outputs' names from.
#include "core/path_names.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(Path_Names, SplitCutsAtTheLastSeparatorAndTheNamesFirstDot) {
  struct Case {
    const char* path;
    const char* folder;
    const char* base;
    const char* extension;
  };
  const Case cases[] = {
      {R"(C:\DATA.D\A.B.RAW)", R"(C:\DATA.D\)", "A", ".B.RAW"},  // a "." in a folder is no extension
      {R"(C:\DATA/a.raw)", R"(C:\DATA/)", "a", ".raw"},          // the last separator of either kind
      {"/x/y", "/x/", "y", ""},
      {"name.", "", "name", "."},
      {".hidden", "", "", ".hidden"},
      {"out/", "out/", "", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    const Path_Parts parts = Split_Path(c.path);
    EXPECT_EQ(parts.folder, c.folder) << c.path;
    EXPECT_EQ(parts.base, c.base) << c.path;
    EXPECT_EQ(parts.extension, c.extension) << c.path;
    EXPECT_EQ(parts.Path(), c.path);
    EXPECT_EQ(Folder_Of(c.path) + File_Name_Of(c.path), c.path);
  }
}

TEST(Path_Names, AnOutputTakesItsInputsBaseWhereItsOwnIsMissingOrInABatch) {
  struct Case {
    const char* out;
    bool batch;
    const char* path;  // for an input of base "a"
  };
  const Case cases[] = {
      {"/o/b.txt", false, "/o/b.txt"}, {"/o/b.txt", true, "/o/a.txt"}, {"/o/*.txt", false, "/o/a.txt"},
      {"/o/.txt", false, "/o/a.txt"},  {"/o/b.*", false, "/o/b"},      {"/o/b.", false, "/o/b"},
      {"/o/b*c.x", false, "/o/a.x"},   {"x.y.z", false, "x.y.z"},      {"", false, "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Output_Path(Split_Path(c.out), "a", c.batch), c.path) << c.out;
}

TEST(Path_Names, AFolderEndsInTheSeparatorItUses) {
  const char native = As_Folder("x", "").back();
  EXPECT_TRUE(native == '/' || native == '\\');
  struct Case {
    const char* folder;
    const char* hint;
    std::string result;
  };
  const Case table[] = {
      {R"(C:\DATA)", "a.raw", R"(C:\DATA\)"},
      {"/home/me", R"(sub\a.raw)", "/home/me/"},  // its own separator before the hint's
      {"data", R"(sub\a.raw)", R"(data\)"},
      {"/", "a.raw", "/"},
      {R"(C:\)", "a.raw", R"(C:\)"},
      {"data", "a.raw", std::string("data") + native},
  };
  for (const auto& c : table) EXPECT_EQ(As_Folder(c.folder, c.hint), c.result) << c.folder << " | " << c.hint;
}

}  // namespace
}  // namespace talvo
