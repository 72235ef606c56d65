#include "core/registry.h"

#include "core/store.h"

namespace talvo {

const std::array<File_Type, 10> Input_Types = {{
    {"dif", "Diffrac-Plus DIF", "*.dif"},
    {"raw", "Diffrac-Plus RAW", "*.raw"},
    {"uxd", "Universal X-Ray Data", "*.uxd"},
    {"text-di", "Formatted text (D/I)", "*.txt"},
    {"diamond", "Diamond text (D/I)", "*.txt"},
    {"text-raw", "Formatted text (RAW)", "*.txt"},
    {"gsas", "GSAS text raw data (gsas)", "*.gsas"},
    {"xye", "Mercury text raw data (xye)", "*.xye"},
    {"oxford", "Oxford text raw data (dat)", "*.dat"},
    {"auto", "Automatic (by signature)", "*.*"},
}};

const std::array<File_Type, 8> Output_Types = {{
    {"dif", "Diffrac-Plus DIF", "*.dif"},
    {"raw2", "Diffrac-Plus RAW (Version 2)", "*.raw"},
    {"uxd", "Universal X-Ray Data", "*.uxd"},
    {"text-di", "Formatted text (D/I)", "*.txt"},
    {"text-raw", "Formatted text (RAW)", "*.txt"},
    {"treor", "Treor", "*.tre"},
    {"ufit", "U-Fit", "*.dif"},
    {"bmp", "Windows Bitmap", "*.bmp"},
}};

void Add_Combo(Type_Lists& lists, Type_List& cmb, const std::string& cmb_text, const std::string& file_ext) {
  cmb.Entries.push_back(cmb_text);
  auto& patterns = cmb.Control_Name == "Input_Choice" ? lists.Input_Patterns : lists.Output_Patterns;
  patterns.resize(cmb.Entries.size() + 1);
  patterns.back() = file_ext;
}

void Main_Window_Load(Type_Lists& lists, Store& store) {
  for (const auto& type : Input_Types)
    Add_Combo(lists, lists.Input_Choice, std::string(type.name), std::string(type.pattern));
  lists.Input_Choice.Text = lists.Input_Choice.Entries[1];
  for (const auto& type : Output_Types)
    Add_Combo(lists, lists.Output_Choice, std::string(type.name), std::string(type.pattern));
  lists.Output_Choice.Text = lists.Output_Choice.Entries[4];
  store = Store{};
}

std::string Pattern_Of(const Type_List& list, const std::vector<std::string>& patterns) {
  for (std::size_t i = 0; i < list.Entries.size(); ++i)
    if (list.Entries[i] == list.Text && i + 1 < patterns.size()) return patterns[i + 1];
  return "";
}

namespace {

template <std::size_t N>
std::string Type_Name(const std::array<File_Type, N>& types, std::string_view name_or_key) {
  for (const auto& type : types)
    if (type.name == name_or_key || type.key == name_or_key) return std::string(type.name);
  return "";
}

}  // namespace

std::string Input_Type_Name(std::string_view name_or_key) { return Type_Name(Input_Types, name_or_key); }
std::string Output_Type_Name(std::string_view name_or_key) { return Type_Name(Output_Types, name_or_key); }

}  // namespace talvo
