// talvo-convert's command line: parameter values read whole, CLI11's
// failures in the program's own words, and the name of each output.
#include "cli/options.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace talvo {
namespace {

struct Parsed {
  Options options;
  Cli_Platform platform;
  std::string error;  // the usage error, or empty
};

Parsed Parse_Words(std::initializer_list<const char*> words) {
  std::vector<std::string> text = {"talvo-convert"};
  text.insert(text.end(), words.begin(), words.end());
  std::vector<char*> argv;
  for (auto& word : text) argv.push_back(word.data());
  Parsed parsed;
  try {
    parsed.options = Parse(static_cast<int>(argv.size()), argv.data(), parsed.platform);
  } catch (const Usage_Error& error) {
    parsed.error = error.text;
  }
  return parsed;
}

TEST(Options, NumbersAreReadWholeWithAPointOrACommaAsDecimalSeparator) {
  struct Case {
    std::initializer_list<const char*> words;
    const char* key;
    const char* value;  // as the dialog gets it
  };
  const Case cases[] = {
      {{"--step", "0,02", "a.raw"}, "step", "0.02"},
      {{"--step=0.02", "a.raw"}, "step", "0.02"},
      {{"--start", "-5", "a.raw"}, "start", "-5"},
      {{"--lambda", "1.5406e0", "a.raw"}, "lambda", "1.5406e0"},
      {{"--fwhm", ".1", "--fwhm", "0.2", "a.raw"}, "fwhm", "0.2"},  // the last one given
  };
  for (const auto& c : cases) {
    const Parsed parsed = Parse_Words(c.words);
    EXPECT_EQ(parsed.error, "") << *c.words.begin();
    EXPECT_EQ(parsed.platform.Parameter(c.key), c.value) << *c.words.begin();
    EXPECT_EQ(parsed.options.inputs, std::vector<std::string>{"a.raw"});
  }
}

TEST(Options, EachUsageErrorNamesTheOptionAndTheValue) {
  struct Case {
    std::initializer_list<const char*> words;
    const char* error;
  };
  const Case cases[] = {
      {{"--fwhm", "0.2x", "a.raw"}, "option --fwhm: \"0.2x\" is not a number"},
      {{"--step", "1,5,0", "a.raw"}, "option --step: \"1,5,0\" is not a number"},
      {{"--step", "1.000,5", "a.raw"}, "option --step: \"1.000,5\" is not a number"},
      {{"--time", "", "a.raw"}, "option --time: \"\" is not a number"},
      {{"--noise=", "a.raw"}, "option --noise: \"\" is not a number"},
      {{"--background", " 5", "a.raw"}, "option --background: \" 5\" is not a number"},
      {{"--end", "inf", "a.raw"}, "option --end: \"inf\" is not a number"},
      {{"a.raw", "--from"}, "option --from needs a value"},
      {{"a.raw", "-o"}, "option -o needs a value"},
      {{"--bogus=3", "a.raw"}, "unknown option --bogus"},
      {{"--preserve-range=yes", "a.raw"}, "option --preserve-range takes no value"},
      {{"--profile", "cauchy", "a.raw"}, "--profile takes gauss, lorentz or pearson7"},
      {{"--to", "nothing", "a.raw"}, "unknown output type \"nothing\" (see --list-types)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse_Words(c.words).error, c.error) << *c.words.begin();
}

TEST(Options, TypesKeysAndInputsAfterTheSeparator) {
  const Parsed parsed = Parse_Words({"--from", "auto", "--to", "bmp", "--preserve-range", "--", "-x.raw", "b.raw"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.from, "Automatic (by signature)");
  EXPECT_EQ(parsed.options.to, "Windows Bitmap");
  EXPECT_EQ(parsed.options.output.pattern, "*.bmp");
  EXPECT_TRUE(parsed.platform.preserve_range);
  EXPECT_EQ(parsed.options.inputs, (std::vector<std::string>{"-x.raw", "b.raw"}));
}

TEST(Options, OutputPaths) {
  struct Case {
    const char* infile;
    const char* o;  // nullptr: no -o
    bool batch;
    const char* outfile;
  };
  const Case cases[] = {
      {"/data/a.raw", nullptr, false, "/data/a.txt"},  // beside the input, the type's extension
      {"data/a.b.raw", nullptr, true, "data/a.txt"},
      {"/data/a.raw", "b.txt", false, "b.txt"},  // relative: the current folder
      {"/data/a.raw", "*.csv", false, "a.csv"},
      {"/data/a.raw", "*.csv", true, "a.csv"},
      {"/data/a.raw", "out/", false, "out/a.txt"},
      {"/data/a.raw", "out/*.x2", true, "out/a.x2"},
      {"/data/a.raw", "/out/b.txt", false, "/out/b.txt"},
      {"/data/a.raw", "/out/b.txt", true, "/out/a.txt"},
      {"/data/a.raw", "RESULT", false, "RESULT"},
      {"/data/a.raw", "*.*", false, "a"},
  };
  for (const auto& c : cases) {
    const Output_Option output{c.o ? c.o : "", c.o != nullptr, "*.txt"};
    EXPECT_EQ(Output_Path_For(c.infile, output, c.batch), c.outfile) << c.infile << " -o " << (c.o ? c.o : "none");
  }
}

}  // namespace
}  // namespace talvo
