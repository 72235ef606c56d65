// A text file held in memory, cut into lines, for the readers that look at a
// file line by line before they read it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace talvo {

// The lines of `bytes`, without their line ends. A line ends at LF, CR LF,
// CR CR LF (as some programs write on Windows) or CR alone. A last line end
// opens no further line.
std::vector<std::string_view> Split_Lines(std::span<const uint8_t> bytes);

// The blank-, tab- or comma-separated words of a line.
std::vector<std::string_view> Words_Of(std::string_view line);

// True when the line holds nothing but blanks and tabs.
bool Is_Blank_Line(std::string_view line);

}  // namespace talvo
