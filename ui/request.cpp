#include "ui/request.h"

#include <algorithm>

#include "core/failure.h"
#include "core/messages.h"
#include "core/path_names.h"

namespace talvo {

namespace {

// The output field's parts; a name without a folder lies in the input's.
Path_Parts Output_Parts(const std::string& in_folder, std::string_view out) {
  Path_Parts parts = Split_Path(out);
  if (parts.folder.empty()) parts.folder = in_folder;
  return parts;
}

// An input field that holds double quotes: blank-separated items, of which a
// quoted one may hold blanks. Empty items are dropped. As in an unquoted
// field, the names after the folder make a list as soon as they hold a blank
// of their own, so `"C:\My Data" a.raw ` with its trailing blank still asks.
struct Quoted_Field {
  std::vector<std::string> items;
  int blanks_after_first = 0;  // blanks outside quotes after the first item
};

Quoted_Field Quoted_Items(std::string_view field) {
  Quoted_Field parsed;
  std::size_t i = 0;
  while (i < field.size()) {
    while (i < field.size() && field[i] == ' ') {
      if (!parsed.items.empty()) ++parsed.blanks_after_first;
      ++i;
    }
    if (i >= field.size()) break;
    std::string item;
    if (field[i] == '"') {
      const std::size_t close = field.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? field.size() : close;
      item = std::string(field.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? field.size() : close + 1;
    } else {
      const std::size_t end = std::min(field.find_first_of(" \"", i), field.size());
      item = std::string(field.substr(i, end - i));
      i = end;
    }
    if (!item.empty()) parsed.items.push_back(item);
  }
  return parsed;
}

Conversion_Request Empty_Input() {
  Conversion_Request request;
  request.empty_input = true;
  return request;
}

Conversion_Request Build(const std::string& in_folder, const std::vector<std::string>& names, bool is_list,
                         std::string_view out) {
  Conversion_Request request;
  request.is_list = is_list;
  const Path_Parts parts = Output_Parts(in_folder, out);
  if (names.empty()) {
    if (!is_list) request.calls.push_back({in_folder, Output_Path(parts, "", false)});
    return request;
  }
  for (const auto& name : names)
    request.calls.push_back({in_folder + name, Output_Path(parts, Base_Of(name), is_list)});
  return request;
}

Conversion_Request Split_Quoted(std::string_view in, std::string_view out) {
  const Quoted_Field parsed = Quoted_Items(in);
  const auto& items = parsed.items;
  if (items.empty()) return Empty_Input();
  if (items.size() == 1) {
    const std::string& path = items.front();
    const std::string folder = Folder_Of(path);
    return Build(folder, {path.substr(folder.size())}, false, out);
  }
  const std::vector<std::string> names(items.begin() + 1, items.end());
  return Build(As_Folder(items.front(), names.front()), names, parsed.blanks_after_first > 1 || names.size() > 1, out);
}

std::string Without_Quotes(std::string_view field) {
  std::string text(field);
  std::erase(text, '"');
  return text;
}

}  // namespace

Conversion_Request Split_Request(std::string_view in, std::string_view out_field) {
  const std::string out = Without_Quotes(out_field);
  if (in.empty()) return Empty_Input();
  if (in.find('"') != std::string_view::npos) return Split_Quoted(in, out);
  const auto blank = in.find(' ');
  if (blank == std::string_view::npos) {
    const std::string folder = Folder_Of(in);
    return Build(folder, {std::string(in.substr(folder.size()))}, false, out);
  }
  // A folder followed by names: a list as soon as the names hold a blank.
  const std::string_view names_text = in.substr(blank + 1);
  const std::string folder = As_Folder(in.substr(0, blank), names_text);
  const bool is_list = names_text.find(' ') != std::string_view::npos;
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i <= names_text.size()) {
    const std::size_t end = std::min(names_text.find(' ', i), names_text.size());
    if (end > i) names.emplace_back(names_text.substr(i, end - i));
    i = end + 1;
  }
  if (!is_list && names.empty()) names.emplace_back();
  Conversion_Request request = Build(folder, names, is_list, out);
  request.unquoted_blank = true;
  return request;
}

std::string Hinted_Failure_Text(const Failure& failure) {
  std::string text = failure.what();
  if (failure.kind() == Failure_Kind::Input_Missing) text += " A path that holds blanks is written in double quotes.";
  return text;
}

void Run_Request(Platform& platform, std::string_view in_field, std::string_view out_field,
                 const std::function<bool(const Conversion_Call&, const Failure_Text&)>& convert) {
  const Conversion_Request request = Split_Request(in_field, out_field);
  if (request.empty_input) {
    platform.Show_Message(text::Select_Input, Icon::Exclamation, text::Error_Title);
    return;
  }
  if (request.is_list && !platform.Ask_Yes_No(text::Multiple_Files, Program_Title)) return;
  For_Each_File(platform, request.calls, [&](const Conversion_Call& call) {
    return convert(call, request.unquoted_blank ? Failure_Text(Hinted_Failure_Text) : Failure_Text());
  });
}

}  // namespace talvo
