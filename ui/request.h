// The conversion request: the main window's two name fields turned into one
// (input file, output file) pair per file to convert.
//
// The input field holds one path, or a folder followed by file names of that
// folder, separated by blanks (the form the file dialog gives for a multiple
// selection). An item may stand in double quotes, so that a path with blanks
// can be named. The output field gives a path, a folder ending in a
// separator, or a name such as *.raw: in a batch every output takes its
// input's base name, and the output field gives only folder and extension.
// Double quotes in the output field only group: they are dropped.
// "\" and "/" both separate folders; a rebuilt path keeps the one found.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dispatch.h"
#include "core/platform.h"

namespace talvo {

struct Conversion_Request {
  bool empty_input = false;     // nothing to convert: the "You must select" warning
  bool is_list = false;         // ask "Do you really want multiple file conversions ?" first
  bool unquoted_blank = false;  // the input field cut a path at a blank outside quotes
  std::vector<Conversion_Call> calls;
};

Conversion_Request Split_Request(std::string_view in_field, std::string_view out_field);

// The whole request as the window runs it: the "You must select" warning
// for an empty input, the multiple-file question for a list, then for each
// call, through For_Each_File, the event step and `convert`, which returns
// false to end the batch (the program is closing). `convert` shows its
// failures in the words of the Failure_Text it is given (the session's):
// when the input field holds an unquoted blank, the message that an input
// does not exist adds a reminder of the quotes, Hinted_Failure_Text;
// otherwise it is empty and each failure shows its own text.
void Run_Request(Platform& platform, std::string_view in_field, std::string_view out_field,
                 const std::function<bool(const Conversion_Call&, const Failure_Text&)>& convert);

// A failure's text, and for an input that does not exist the reminder that a
// path holding blanks is written in double quotes (it was most likely cut at
// a blank).
std::string Hinted_Failure_Text(const Failure& failure);

}  // namespace talvo
