#include "core/registry.h"

namespace talvo {

namespace {

template <typename Type>
const Type* Find(const std::vector<Type>& types, std::string_view name, bool by_key) {
  for (const auto& type : types)
    if (type.name == name) return &type;
  if (by_key)
    for (const auto& type : types)
      if (type.key == name) return &type;
  return nullptr;
}

}  // namespace

const Input_Type* Registry::Input(std::string_view name) const {
  return Find(inputs, name, false);
}
const Output_Type* Registry::Output(std::string_view name) const {
  return Find(outputs, name, false);
}
const Input_Type* Registry::Input_By_Key(std::string_view name_or_key) const {
  return Find(inputs, name_or_key, true);
}
const Output_Type* Registry::Output_By_Key(std::string_view name_or_key) const {
  return Find(outputs, name_or_key, true);
}

std::string_view Start_Up_Input(const Registry& registry) {
  return registry.inputs.size() > 1 ? registry.inputs[1].name : std::string_view();
}
std::string_view Start_Up_Output(const Registry& registry) {
  return registry.outputs.size() > 4 ? registry.outputs[4].name : std::string_view();
}

const Signature_Rule* Rule_For(const Input_Type& type, int16_t code) {
  for (const auto& rule : type.rules)
    if (rule.code == code || rule.code == Any_Code) return &rule;
  return nullptr;
}

bool Files_Independent(const Input_Type& input, const Output_Type& output) {
  return !input.uses_held_wavelength && !(input.peak_lists && output.peaks.synthesise);
}

}  // namespace talvo
