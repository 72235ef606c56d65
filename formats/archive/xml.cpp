#include "formats/archive/xml.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/failure.h"

namespace talvo::xml {

namespace {

bool Is_Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && Is_Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Is_Blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Quoted_Word(std::string_view word) {
  if (word.size() > 20) return "\"" + std::string(word.substr(0, 20)) + "...\"";
  return "\"" + std::string(word) + "\"";
}

}  // namespace

pugi::xml_document Parse(std::span<const uint8_t> bytes, const std::string& where) {
  pugi::xml_document document;
  // parse_doctype keeps the declaration as a node, so that it can be seen and
  // refused; pugixml never reads an entity's definition either way.
  const unsigned options = pugi::parse_default | pugi::parse_doctype;
  const pugi::xml_parse_result result = document.load_buffer(bytes.data(), bytes.size(), options, pugi::encoding_auto);
  if (!result)
    throw Failure(where + " is not well-formed XML (" + result.description() + " at byte " +
                  std::to_string(result.offset) + "); nothing was read.");
  for (const pugi::xml_node node : document.children())
    if (node.type() == pugi::node_doctype)
      throw Failure(where +
                    " holds a document type declaration (<!DOCTYPE>), which no instrument file needs and "
                    "which could make a reader expand or fetch entities; nothing was read.");
  if (!document.document_element()) throw Failure(where + " holds no XML element; nothing was read.");
  return document;
}

std::string_view Local_Name(pugi::xml_node node) {
  const std::string_view name = node.name();
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(pugi::xml_node node, std::string_view name) {
  for (const pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element && Local_Name(child) == name) return child;
  return {};
}

std::vector<pugi::xml_node> Children(pugi::xml_node node, std::string_view name) {
  std::vector<pugi::xml_node> found;
  for (const pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element && Local_Name(child) == name) found.push_back(child);
  return found;
}

pugi::xml_node Descendant(pugi::xml_node node, std::string_view name) {
  return node.find_node([name](pugi::xml_node candidate) {
    return candidate.type() == pugi::node_element && Local_Name(candidate) == name;
  });
}

std::string_view Text(pugi::xml_node node) {
  return Trimmed(node.child_value());
}

std::optional<double> Number(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // Counts are whole numbers: up to 15 digits, each one is exact as a double.
  if (text.size() <= 15) {
    uint64_t whole = 0;
    std::size_t k = 0;
    for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k) whole = whole * 10 + (text[k] - '0');
    if (k == text.size()) return static_cast<double>(whole);
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Too large is infinite; too small to hold is zero.
    const bool negative = text.front() == '-';
    const auto e = text.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
    if (tiny) return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
  if (error != std::errc()) return std::nullopt;
  return value;
}

std::vector<double> Numbers(std::string_view text, const std::string& where, const std::string& what, char separator) {
  std::vector<double> values;
  values.reserve(text.size() / 8);  // a guess: short numbers and their blanks
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    if (separator == 0) {
      while (at < text.size() && Is_Blank(text[at])) ++at;
      if (at == text.size()) break;
      end = at;
      while (end < text.size() && !Is_Blank(text[end])) ++end;
    } else {
      end = text.find(separator, at);
      if (end == std::string_view::npos) end = text.size();
    }
    const std::string_view word = text.substr(at, end - at);
    const auto value = Number(word);
    if (!value)
      throw Failure(where + ": " + Quoted_Word(Trimmed(word)) + " among " + what +
                    " is not a number; nothing was read.");
    values.push_back(*value);
    at = end + (separator == 0 ? 0 : 1);
    if (separator != 0 && end == text.size()) break;
  }
  return values;
}

}  // namespace talvo::xml
