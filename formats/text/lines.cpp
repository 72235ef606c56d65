#include "formats/text/lines.h"

namespace talvo {

std::vector<std::string_view> Split_Lines(std::span<const uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] != '\r' && text[pos] != '\n') {
      ++pos;
      continue;
    }
    lines.push_back(text.substr(start, pos - start));
    std::size_t end = pos;
    while (end < text.size() && text[end] == '\r') ++end;
    // Several CRs not followed by LF are as many CR line ends.
    if (end < text.size() && text[end] == '\n')
      pos = end + 1;
    else
      pos = pos + 1;
    start = pos;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string_view> Words_Of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  const auto separator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
  while (pos < line.size()) {
    while (pos < line.size() && separator(line[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !separator(line[pos])) ++pos;
    if (pos > start) words.push_back(line.substr(start, pos - start));
  }
  return words;
}

bool Is_Blank_Line(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace talvo
