// XML documents of the instrument formats (pugixml), read as hostile input:
// a document type declaration is refused, so no entity is ever expanded or
// fetched; elements are found by their local name, whatever namespace
// prefix a writer gives them; numbers are read in the C locale.
#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace talvo::xml {

// The document held by `bytes`. Throws Failure naming `where` (the file, or
// the file and its member) when the bytes are no well-formed XML or hold a
// document type declaration.
pugi::xml_document Parse(std::span<const uint8_t> bytes, const std::string& where);

// The element's name without its namespace prefix.
std::string_view Local_Name(pugi::xml_node node);

// The first child element, the child elements, and the first element below
// `node` in document order, of local name `name`.
pugi::xml_node Child(pugi::xml_node node, std::string_view name);
std::vector<pugi::xml_node> Children(pugi::xml_node node, std::string_view name);
pugi::xml_node Descendant(pugi::xml_node node, std::string_view name);

// The element's text without surrounding blanks; empty for no element.
std::string_view Text(pugi::xml_node node);

// The text as one number ("1.5406", "-2e-3", "nan", "inf"): empty when it is
// anything else. A number too large for a double becomes infinite.
std::optional<double> Number(std::string_view text);
inline std::optional<double> Number(pugi::xml_node node) {
  return Number(Text(node));
}

// Numbers separated by `separator` or by blanks and line ends when it is 0.
// Throws Failure naming `where` and `what` at the first word that is no
// number.
std::vector<double> Numbers(std::string_view text, const std::string& where, const std::string& what,
                            char separator = 0);

}  // namespace talvo::xml
