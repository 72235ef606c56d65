#include "cli/cli_platform.h"

#include <iostream>

#include "core/regional.h"

namespace talvo {

void Cli_Platform::Show_Message(const std::string& text, Icon icon, const std::string&) {
  std::string line = text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  const char* mark = icon == Icon::Exclamation ? "warning: " : icon == Icon::Critical ? "error: " : "";
  *messages << current_input << ": " << mark << line << '\n';
}

void Cli_Platform::Note(const std::string& text) {
  Show_Message(text, Icon::Exclamation, Program_Title);
}

bool Cli_Platform::Ask_Yes_No(const std::string&, const std::string&) {
  return true;
}

std::optional<std::string> Cli_Platform::Ask_Text(const std::string&, const std::string&, const std::string& proposed) {
  if (auto sample = Parameter("sample")) return *sample;
  return proposed;
}

char Cli_Platform::Decimal_Separator() {
  return Regional_Decimal_Separator();
}

std::string Cli_Platform::Short_Date() {
  return Regional_Short_Date_Today();
}

std::optional<std::string> Cli_Platform::Parameter(const std::string& name) const {
  if (auto found = parameters.find(name); found != parameters.end()) return found->second;
  return std::nullopt;
}

// talvo-convert has no preview command.
void Cli_Platform::Show_Preview(const Store&) {}

}  // namespace talvo
