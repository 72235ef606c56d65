#include "ui/type_lists.h"

#include "core/registry.h"
#include "core/store.h"

namespace talvo {

void Add_Combo(Type_Lists& lists, Type_List& cmb, const std::string& cmb_text, const std::string& file_ext) {
  cmb.Entries.push_back(cmb_text);
  auto& patterns = cmb.Control_Name == "Input_Choice" ? lists.Input_Patterns : lists.Output_Patterns;
  patterns.resize(cmb.Entries.size() + 1);
  patterns.back() = file_ext;
}

void Main_Window_Load(Type_Lists& lists, Store& store, const Registry& registry) {
  for (const auto& type : registry.inputs)
    Add_Combo(lists, lists.Input_Choice, std::string(type.name), std::string(type.pattern));
  if (lists.Input_Choice.Entries.size() > 1) lists.Input_Choice.Text = lists.Input_Choice.Entries[1];
  for (const auto& type : registry.outputs)
    Add_Combo(lists, lists.Output_Choice, std::string(type.name), std::string(type.pattern));
  if (lists.Output_Choice.Entries.size() > 4) lists.Output_Choice.Text = lists.Output_Choice.Entries[4];
  store = Store{};
}

std::string Pattern_Of(const Type_List& list, const std::vector<std::string>& patterns) {
  for (std::size_t i = 0; i < list.Entries.size(); ++i)
    if (list.Entries[i] == list.Text && i + 1 < patterns.size()) return patterns[i + 1];
  return "";
}

}  // namespace talvo
