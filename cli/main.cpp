// talvo-convert: the conversions of the desktop program, from a command line.
#include <csignal>
#include <cstring>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_platform.h"
#include "cli/usage.h"
#include "core/dispatch.h"
#include "core/registry.h"
#include "core/request.h"
#include "core/store.h"
#include "formats/format_table.h"

#ifdef TALVO_CLI_IMAGE
#include "cli/image/cli_image.h"
#endif

#ifndef TALVO_VERSION
#define TALVO_VERSION "unknown"
#endif

namespace {

using namespace talvo;

constexpr int Exit_Converted = 0;
constexpr int Exit_Failed = 1;
constexpr int Exit_Usage = 2;

struct Usage_Error {
  std::string text;
};

const std::set<std::string> Valued_Parameters = {"start", "end",   "step",       "time",  "lambda", "anode",
                                                 "profile", "fwhm", "background", "noise", "sample"};

struct Options {
  std::string from = "Diffrac-Plus RAW";
  std::string to = "Formatted text (RAW)";
  std::string output;
  std::vector<std::string> inputs;
  bool help = false, version = false, list_types = false;
};

Options Parse(int argc, char** argv, Cli_Platform& platform) {
  Options options;
  bool only_inputs = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (only_inputs || arg.empty() || arg[0] != '-' || arg == "-") {
      options.inputs.push_back(arg);
      continue;
    }
    if (arg == "--") {
      only_inputs = true;
      continue;
    }
    std::string name = arg, value;
    bool has_value = false;
    if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      has_value = true;
    }
    auto take_value = [&]() -> std::string {
      if (has_value) return value;
      if (i + 1 >= argc) throw Usage_Error{"option " + name + " needs a value"};
      return argv[++i];
    };
    if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--version") {
      options.version = true;
    } else if (name == "--list-types") {
      options.list_types = true;
    } else if (name == "--from") {
      const std::string type = take_value();
      options.from = Input_Type_Name(type);
      if (options.from.empty()) throw Usage_Error{"unknown input type \"" + type + "\" (see --list-types)"};
    } else if (name == "--to") {
      const std::string type = take_value();
      options.to = Output_Type_Name(type);
      if (options.to.empty()) throw Usage_Error{"unknown output type \"" + type + "\" (see --list-types)"};
    } else if (name == "-o" || name == "--output") {
      options.output = take_value();
    } else if (name == "--preserve-range") {
      if (has_value) throw Usage_Error{"option --preserve-range takes no value"};
      platform.preserve_range = true;
    } else if (name.rfind("--", 0) == 0 && Valued_Parameters.count(name.substr(2))) {
      const std::string key = name.substr(2);
      const std::string text = take_value();
      if (key == "profile" && text != "gauss" && text != "lorentz" && text != "pearson7")
        throw Usage_Error{"--profile takes gauss, lorentz or pearson7"};
      platform.parameters[key] = text;
    } else {
      throw Usage_Error{"unknown option " + name};
    }
  }
  return options;
}

void List_Types() {
  auto list = [](const char* heading, const auto& types) {
    std::cout << heading << '\n';
    for (const auto& type : types) {
      std::string key(type.key), name(type.name);
      key.resize(10, ' ');
      name.resize(30, ' ');
      std::cout << "  " << key << name << type.pattern << '\n';
    }
  };
  list("Input types (--from):", Input_Types);
  list("Output types (--to):", Output_Types);
}

int Run(const Options& options, Cli_Platform& platform) {
  Store store;
  Type_Lists lists;
  Main_Window_Load(lists, store);
  lists.Input_Choice.Text = options.from;
  lists.Output_Choice.Text = options.to;
  Session session{store, lists, platform, Format_Table()};
  const bool batch = options.inputs.size() > 1;
  int status = Exit_Converted;
  for (const auto& input : options.inputs) {
    platform.current_input = input;
    platform.message_shown = false;
    Convert(session, input, Output_Path_For(input, options.output, batch));
    if (platform.message_shown) status = Exit_Failed;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit makes the write fail with EFBIG, which is reported
#endif
  Cli_Platform platform;
#ifdef TALVO_CLI_IMAGE
  platform.save_bitmap = talvo::Save_Bitmap_Image;
#endif
  Options options;
  try {
    options = Parse(argc, argv, platform);
  } catch (const Usage_Error& error) {
    std::cerr << "talvo-convert: " << error.text << "\nTry 'talvo-convert --help'.\n";
    return Exit_Usage;
  }
  if (options.help) {
    std::cout << talvo::Usage_Text;
    return Exit_Converted;
  }
  if (options.version) {
    std::cout << "talvo-convert " << TALVO_VERSION << '\n';
    return Exit_Converted;
  }
  if (options.list_types) {
    List_Types();
    return Exit_Converted;
  }
  if (options.inputs.empty()) {
    std::cerr << "talvo-convert: no input file\nTry 'talvo-convert --help'.\n";
    return Exit_Usage;
  }
  return Run(options, platform);
}
