#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <map>
#include <regex>

#include "core/dispatch.h"
#include "core/file_io.h"
#include "core/path_names.h"
#include "core/profile.h"
#include "core/registry.h"
#include "formats/format_table.h"
#include "ui/dialog_answers.h"

namespace talvo {

namespace {

// The option as the user typed it, for messages: "-o" rather than "--output".
std::string Typed_Name(const std::string& name, int argc, char** argv) {
  if (name == "--output")
    for (int i = argc - 1; i > 0; --i)
      if (std::string(argv[i]) == "-o") return "-o";
  return name;
}

// CLI11's own failures in the words talvo-convert has always used.
Usage_Error Usage_Error_Of(const CLI::ParseError& error, int argc, char** argv) {
  const std::string what = error.what();
  const std::string name = Typed_Name(what.substr(0, what.find(':')), argc, argv);
  if (what.find("disallowed flag override") != std::string::npos)
    return {"option --" + what.substr(0, what.find(' ')) + " takes no value"};
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) return {"option " + name + " needs a value"};
  return {what};
}

void Check_Parameters(std::map<std::string, std::string>& parameters) {
  if (auto wrong = Check_Answers(parameters)) {
    if (*wrong == "profile") throw Usage_Error{"--profile takes gauss, lorentz or pearson7"};
    throw Usage_Error{"option --" + *wrong + ": \"" + parameters[*wrong] + "\" is not a number"};
  }
}

// The arguments in the order CLI11 takes them (last first), with an empty
// value written "--name=" given as its own argument: CLI11 would otherwise
// take the next word as the value.
std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  bool only_inputs = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!only_inputs && arg.size() > 3 && arg.rfind("--", 0) == 0 && arg.back() == '=' &&
        arg.find('=') == arg.size() - 1) {
      arguments.push_back(arg.substr(0, arg.size() - 1));
      arguments.emplace_back();
    } else {
      arguments.push_back(arg);
    }
    only_inputs = only_inputs || arg == "--";
  }
  return {arguments.rbegin(), arguments.rend()};
}

std::string Type_Name_Of(const std::string& typed, bool input) {
  const auto& types = Format_Table();
  std::string name;
  if (const Input_Type* type = input ? types.Input_By_Key(typed) : nullptr) name = type->name;
  if (const Output_Type* type = input ? nullptr : types.Output_By_Key(typed)) name = type->name;
  if (name.empty())
    throw Usage_Error{"unknown " + std::string(input ? "input" : "output") + " type \"" + typed +
                      "\" (see --list-types)"};
  return name;
}

unsigned Jobs_Of(const std::string& text) {
  static const std::regex whole(R"(\d{1,4})");
  if (!std::regex_match(text, whole) || std::stoi(text) < 1)
    throw Usage_Error{"option -j: \"" + text + "\" is not a number of files to convert at once"};
  return static_cast<unsigned>(std::stoi(text));
}

int32_t Range_Of(const std::string& text) {
  static const std::regex whole(R"(\d{1,9})");
  if (text == "all") return All_Ranges;
  if (!std::regex_match(text, whole) || std::stoi(text) < 1)
    throw Usage_Error{"option --range: \"" + text + "\" is not a range number (1, 2, ...) or all"};
  return std::stoi(text);
}

std::string Pattern_Of_Output(const std::string& name) {
  const Output_Type* type = Format_Table().Output(name);
  return type ? std::string(type->pattern) : "";
}

}  // namespace

Options Parse(int argc, char** argv, Cli_Platform& platform) {
  Options options;
  CLI::App app("talvo-convert");
  app.set_help_flag();
  app.allow_extras();
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("-h,--help", options.help)->disable_flag_override();
  app.add_flag("--version", options.version)->disable_flag_override();
  app.add_flag("--list-types", options.list_types)->disable_flag_override();
  app.add_flag("--preserve-range", platform.preserve_range)->disable_flag_override();
  std::string from, to;
  auto* from_option = app.add_option("--from", from);
  auto* to_option = app.add_option("--to", to);
  auto* output_option = app.add_option("-o,--output", options.output.text);
  std::map<std::string, std::string> typed;
  std::vector<CLI::Option*> parameters;
  for (const char* key : Number_Answers) parameters.push_back(app.add_option("--" + std::string(key), typed[key]));
  for (const char* key : Text_Answers) parameters.push_back(app.add_option("--" + std::string(key), typed[key]));
  std::string jobs;
  auto* jobs_option = app.add_option("-j,--jobs", jobs);
  std::string range;
  auto* range_option = app.add_option("--range", range);
  app.add_option("inputs", options.inputs);
  try {
    app.parse(Arguments(argc, argv));
  } catch (const CLI::ParseError& error) {
    throw Usage_Error_Of(error, argc, argv);
  }
  for (const std::string& extra : app.remaining()) {
    if (extra == "--") break;
    if (extra.size() > 1 && extra[0] == '-') throw Usage_Error{"unknown option " + extra.substr(0, extra.find('='))};
  }
  if (*jobs_option) options.jobs = Jobs_Of(jobs);
  if (*range_option) options.range = Range_Of(range);
  options.from = *from_option ? Type_Name_Of(from, true) : std::string(Start_Up_Input(Format_Table()));
  options.to = *to_option ? Type_Name_Of(to, false) : std::string(Start_Up_Output(Format_Table()));
  options.output.given = output_option->count() > 0;
  options.output.pattern = Pattern_Of_Output(options.to);
  std::map<std::string, std::string> given;
  for (auto* parameter : parameters)
    if (*parameter) given[parameter->get_name().substr(2)] = typed[parameter->get_name().substr(2)];
  Check_Parameters(given);
  for (auto& [key, value] : given) platform.parameters[key] = value;
  return options;
}

}  // namespace talvo
