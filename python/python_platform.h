// The platform of the Python module: every message is kept for the caller,
// which raises the refusal as an exception and hands the warnings on;
// questions and dialogs are answered from keyword arguments, as
// talvo-convert answers them from its options. Nothing here touches the
// interpreter, so a conversion runs with the interpreter's lock released.
#pragma once

#include <string>
#include <vector>

#include "core/platform.h"
#include "ui/dialog_answers.h"

namespace talvo {

class Python_Platform : public Platform {
 public:
  struct Message {
    std::string text;
    Icon icon = Icon::None;
  };

  Dialog_Answers answers;
  std::vector<Message> messages;  // in the order they were shown

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
  void Show_Preview(const Store&) override {}
  void Show_BMPSaver(const Store& store, const std::string& path) override;
};

}  // namespace talvo
