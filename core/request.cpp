#include "core/request.h"

#include <algorithm>

#include "core/file_io.h"
#include "core/messages.h"

namespace talvo {

namespace {

#ifdef _WIN32
constexpr char Native_Separator = '\\';
#else
constexpr char Native_Separator = '/';
#endif

bool Is_Separator(char c) {
  return c == '\\' || c == '/';
}

std::size_t Last_Separator(std::string_view text) {
  return text.find_last_of("\\/");
}

// A folder as the start of a path: ends in the separator it uses.
std::string As_Folder(std::string_view folder, std::string_view hint) {
  std::string out(folder);
  if (!out.empty() && Is_Separator(out.back())) return out;
  char separator = Native_Separator;
  if (auto at = Last_Separator(folder); at != std::string_view::npos)
    separator = folder[at];
  else if (auto at_hint = Last_Separator(hint); at_hint != std::string_view::npos)
    separator = hint[at_hint];
  return out + separator;
}

// The base of an input name: the text before its first ".", or the whole
// name when it has none.
std::string Base_Of(std::string_view name) {
  return std::string(name.substr(0, name.find('.')));
}

struct Output_Parts {
  std::string folder;
  std::string base;
  std::string extension;
  std::string Path() const { return extension.empty() ? folder + base : folder + base + "." + extension; }
};

Output_Parts Split_Output(const std::string& in_folder, std::string_view first_name, std::string_view out) {
  Output_Parts parts;
  std::string_view name = out;
  if (auto at = Last_Separator(out); at != std::string_view::npos) {
    parts.folder = std::string(out.substr(0, at + 1));
    name = out.substr(at + 1);
  } else {
    parts.folder = in_folder;
  }
  if (auto dot = name.find('.'); dot != std::string_view::npos) {
    parts.extension = std::string(name.substr(dot + 1));
    parts.base = std::string(name.substr(0, dot));
  } else {
    parts.base = std::string(name);
  }
  if (parts.base.empty() || parts.base.find('*') != std::string::npos) parts.base = Base_Of(first_name);
  if (parts.extension.find('*') != std::string::npos) parts.extension.clear();
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
  if (names.empty()) {
    if (!is_list) request.calls.push_back({in_folder, Split_Output(in_folder, "", out).Path()});
    return request;
  }
  Output_Parts parts = Split_Output(in_folder, names.front(), out);
  for (const auto& name : names) {
    if (is_list) parts.base = Base_Of(name);
    request.calls.push_back({in_folder + name, parts.Path()});
  }
  return request;
}

Conversion_Request Split_Quoted(std::string_view in, std::string_view out) {
  const Quoted_Field parsed = Quoted_Items(in);
  const auto& items = parsed.items;
  if (items.empty()) return Empty_Input();
  if (items.size() == 1) {
    const std::string& path = items.front();
    const auto at = Last_Separator(path);
    const std::string folder = at == std::string::npos ? "" : path.substr(0, at + 1);
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

// The platform of one conversion whose input was named by a field with an
// unquoted blank: the message that the input does not exist gets a reminder
// of the quotes, since the path was most likely cut at the blank.
class Quote_Hint_Platform : public Platform {
 public:
  Quote_Hint_Platform(Platform& inner, const std::string& infile)
      : inner_(inner), missing_(Missing_File_Text(infile)) {}
  void Show_Message(const std::string& text, Icon icon, const std::string& title) override {
    inner_.Show_Message(text == missing_ ? text + " A path that holds blanks is written in double quotes." : text, icon,
                        title);
  }
  bool Ask_Yes_No(const std::string& text, const std::string& title) override { return inner_.Ask_Yes_No(text, title); }
  std::optional<std::string> Ask_Text(const std::string& prompt, const std::string& title,
                                      const std::string& proposed) override {
    return inner_.Ask_Text(prompt, title, proposed);
  }
  void Set_Busy(bool busy) override { inner_.Set_Busy(busy); }
  void Do_Events() override { inner_.Do_Events(); }
  char Decimal_Separator() override { return inner_.Decimal_Separator(); }
  std::string Short_Date() override { return inner_.Short_Date(); }
  void Note(const std::string& text) override { inner_.Note(text); }
  void Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) override { inner_.Show_Dif2Raw(store, opening); }
  void Show_Oxford2Raw(Store& store, const std::string& lines) override { inner_.Show_Oxford2Raw(store, lines); }
  void Show_Preview(const Store& store) override { inner_.Show_Preview(store); }
  void Show_Bmp_Saver(const Store& store, const std::string& path) override { inner_.Show_Bmp_Saver(store, path); }

 private:
  Platform& inner_;
  std::string missing_;
};

}  // namespace

Conversion_Request Split_Request(std::string_view in, std::string_view out_field) {
  const std::string out = Without_Quotes(out_field);
  if (in.empty()) return Empty_Input();
  if (in.find('"') != std::string_view::npos) return Split_Quoted(in, out);
  const auto blank = in.find(' ');
  if (blank == std::string_view::npos) {
    const auto at = Last_Separator(in);
    const std::string folder = at == std::string_view::npos ? "" : std::string(in.substr(0, at + 1));
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

void Run_Request(Platform& platform, std::string_view in_field, std::string_view out_field,
                 const std::function<bool(const Conversion_Call&, Platform&)>& convert) {
  const Conversion_Request request = Split_Request(in_field, out_field);
  if (request.empty_input) {
    platform.Show_Message(text::Select_Input, Icon::Exclamation, text::Error_Title);
    return;
  }
  if (request.is_list && !platform.Ask_Yes_No(text::Multiple_Files, Program_Title)) return;
  For_Each_File(platform, request.calls, [&](const Conversion_Call& call) {
    if (!request.unquoted_blank) return convert(call, platform);
    Quote_Hint_Platform hinted(platform, call.infile);
    return convert(call, hinted);
  });
}

}  // namespace talvo
