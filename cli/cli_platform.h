// The platform of talvo-convert: messages go to standard error, questions are
// answered from the command line, and dialogs take their fields from the
// parameter options as if they had been typed.
#pragma once

#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "core/platform.h"

namespace talvo {

class Cli_Platform : public Platform {
 public:
  // Parameter options by name without dashes ("start", "anode", ...), as typed.
  std::map<std::string, std::string> parameters;
  bool preserve_range = false;

  // The input whose messages are being shown, and where they go: standard
  // error, or a buffer of one file of a batch run on several threads.
  std::string current_input;
  std::ostream* messages = &std::cerr;

  void Show_Message(const std::string& text, Icon icon, const std::string& title) override;
  bool Ask_Yes_No(const std::string& text, const std::string& title) override;
  std::optional<std::string> Ask_Text(const std::string& prompt, const std::string& title,
                                      const std::string& proposed) override;
  void Note(const std::string& text) override;
  void Set_Busy(bool) override {}
  void Do_Events() override {}
  char Decimal_Separator() override;
  std::string Short_Date() override;
  void Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) override;
  void Show_Oxford2Raw(Store& store, const std::string& lines) override;
  void Show_Preview(const Store& store) override;
  void Show_BMPSaver(const Store& store, const std::string& path) override;

  std::optional<std::string> Parameter(const std::string& name) const;
};

}  // namespace talvo
