// The decimal separator and the short date follow the numeric and time
// categories as the C library resolves them, each on its own. The test
// builds its locale with localedef, so it counts among the tests that run
// other programs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/regional.h"
#include "fixtures/temp_dir.h"

namespace talvo {
namespace {

const char* const Variables[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LC_CTYPE", "LANG", "LOCPATH"};

// A German locale compiled into a test folder (so the test needs no
// installed locale), and the locale variables put back afterwards.
class Regional : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : Variables) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir_.Path("de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE";
  }
  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i)
      saved_[i] ? setenv(Variables[i], saved_[i]->c_str(), 1) : unsetenv(Variables[i]);
  }
  void Set(const char* all, const char* category, const char* other, const char* lang, const char* name) {
    for (const char* variable : Variables) unsetenv(variable);
    setenv("LOCPATH", dir_.Path("").c_str(), 1);
    auto put = [](const char* variable, const char* value) {
      if (*value) setenv(variable, value, 1);
    };
    put("LC_ALL", all);
    put(name, category);
    put("LC_CTYPE", other);
    put("LANG", lang);
  }

  testing::Temp_Dir dir_;
  std::vector<std::optional<std::string>> saved_;
};

constexpr const char* De = "de_DE.UTF-8";
constexpr const char* Missing = "xx_YY.UTF-8";

struct Case {
  const char* all;
  const char* category;  // LC_NUMERIC or LC_TIME
  const char* other;     // LC_CTYPE, an unrelated category
  const char* lang;
  char separator;
  const char* date;
};

const Case Cases[] = {
    {"", De, Missing, "", ',', "08.12.2026"},  // an uninstalled unrelated category changes nothing
    {"", "", "", De, ',', "08.12.2026"},       // LANG when the category is not set
    {"", "C", Missing, De, '.', "12/08/26"},   // the category before LANG
    {De, "C", "", "", ',', "08.12.2026"},      // LC_ALL before the category
    {Missing, De, "", "", '.', "12/08/26"},    // LC_ALL uninstalled: the C library falls back to "C"
    {"", "", "", "", '.', "12/08/26"},
};

TEST_F(Regional, SeparatorAndDateFollowTheirOwnCategory) {
  std::tm when{};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 11;
  when.tm_mday = 8;
  for (const auto& c : Cases) {
    const std::string what = std::string("LC_ALL=") + c.all + " category=" + c.category + " LANG=" + c.lang;
    Set(c.all, c.category, c.other, c.lang, "LC_NUMERIC");
    EXPECT_EQ(Regional_Decimal_Separator(), c.separator) << what;
    Set(c.all, c.category, c.other, c.lang, "LC_TIME");
    EXPECT_EQ(Regional_Short_Date(when), c.date) << what;
  }
}

}  // namespace
}  // namespace talvo
