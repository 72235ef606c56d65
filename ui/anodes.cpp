#include "ui/anodes.h"

#include <array>

namespace talvo {

namespace {

constexpr std::array<Anode, 9> Anodes = {{
    {"AG", 0.55936, 0},
    {"MO", 0.70926, 0.71073},
    {"ZN", 1.4351, 0},
    {"CU", 1.54051, 1.5419},
    {"NI", 1.65784, 0},
    {"CO", 1.78892, 0},
    {"FE", 1.93597, 0},
    {"MN", 2.10174, 0},
    {"CR", 2.28962, 0},
}};

}  // namespace

const Anode* Find_Anode(const std::string& text) {
  std::string code = text;
  for (char& c : code)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const auto& anode : Anodes)
    if (code == anode.code) return &anode;
  return nullptr;
}

}  // namespace talvo
