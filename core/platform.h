// Everything that belongs to the platform, behind one interface.
//
// Core code never shows a window. The desktop program implements this with
// Qt, talvo-convert with standard error and its options, and the tests with
// a recording implementation that scripts answers. All texts crossing this
// interface are UTF-8.
#pragma once

#include <optional>
#include <string>

namespace talvo {

struct Store;

enum class Icon { None, Exclamation, Critical };

// Why the synthesis parameters dialog opens: for the synthesis that runs when
// it closes, or from the menu, to set the values a later synthesis opens on.
enum class Dif2Raw_Opening { Before_Synthesis, From_Menu };

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box with an OK button.
  virtual void Show_Message(const std::string& text, Icon icon, const std::string& title) = 0;
  // The Yes/No question, no icon; true for Yes.
  virtual bool Ask_Yes_No(const std::string& text, const std::string& title) = 0;
  // The question box with a prompt, a title and a proposed answer; empty
  // when the user cancels.
  virtual std::optional<std::string> Ask_Text(const std::string& prompt, const std::string& title,
                                              const std::string& proposed) = 0;

  // The application-wide mouse pointer: one state, busy or normal.
  virtual void Set_Busy(bool busy) = 0;
  // Let pending user-interface events run once.
  virtual void Do_Events() = 0;

  // A remark about a file that was read all the same, which the window
  // keeps to itself; talvo-convert prints it as a warning.
  virtual void Note(const std::string& text) { (void)text; }

  // Regional settings.
  virtual char Decimal_Separator() = 0;
  virtual std::string Short_Date() = 0;

  // Modal dialogs and windows over the store. A dialog returns when it has
  // stored its fields. A front end that cannot accept the values it was
  // given (talvo-convert with a bad option) throws Failure instead.
  virtual void Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) = 0;
  // The import dialog of a GSAS or Oxford scan; `lines` is the text of the
  // file read (Windows-1252), shown beside the fields.
  virtual void Show_Oxford2Raw(Store& store, const std::string& lines) = 0;
  virtual void Show_Preview(const Store& store) = 0;
  // The bitmap window: draws the scan's curve and saves it as `path`.
  virtual void Show_BMPSaver(const Store& store, const std::string& path) = 0;
};

// The title of every message that has none of its own.
inline constexpr const char* Program_Title = "Talvo";

}  // namespace talvo
