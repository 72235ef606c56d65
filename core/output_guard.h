// Checks made on an output path before its input is read, so that a
// conversion that cannot end well stops before any dialog or window opens.
#pragma once

#include <optional>
#include <string>

namespace talvo {

// The message refusing `outfile` as the output of `infile`, or nothing when
// the conversion may go ahead: the output must not be the input itself
// (under any spelling of its path, through a link, or on a file system that
// ignores case), and its folder must exist and accept new files. An empty
// `infile` checks the output alone, for a pattern that was not read from a
// file.
std::optional<std::string> Output_Refusal(const std::string& infile, const std::string& outfile);

}  // namespace talvo
