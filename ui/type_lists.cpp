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

namespace {

// The system's types first, in the registry's order, then today's.
template <typename Type>
void Fill(Type_Lists& lists, Type_List& list, const std::vector<Type>& types) {
  for (const Layer layer : {Layer::System, Layer::Today})
    for (const auto& type : types) {
      if (type.layer != layer) continue;
      if (layer == Layer::Today && list.Separator_Before == 0) list.Separator_Before = list.Entries.size();
      Add_Combo(lists, list, std::string(type.name), std::string(type.pattern));
    }
}

}  // namespace

void Main_Window_Load(Type_Lists& lists, Store& store, const Registry& registry) {
  Fill(lists, lists.Input_Choice, registry.inputs);
  lists.Input_Choice.Text = Start_Up_Input(registry);
  Fill(lists, lists.Output_Choice, registry.outputs);
  lists.Output_Choice.Text = Start_Up_Output(registry);
  store = Store{};
}

std::string Pattern_Of(const Type_List& list, const std::vector<std::string>& patterns) {
  for (std::size_t i = 0; i < list.Entries.size(); ++i)
    if (list.Entries[i] == list.Text && i + 1 < patterns.size()) return patterns[i + 1];
  return "";
}

}  // namespace talvo
