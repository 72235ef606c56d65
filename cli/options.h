// The command line of talvo-convert: options, parameter values and the name
// of each output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_platform.h"
#include "core/batch.h"  // Output_Option, Output_Path_For

namespace talvo {

struct Options {
  std::string from;  // display names; the window's start-up types unless given
  std::string to;
  Output_Option output;
  std::vector<std::string> inputs;
  bool help = false, version = false, list_types = false;
  unsigned jobs = 0;  // files converted at once; 0: one per core
  int32_t range = 0;  // --range: 1-based, 0 the first with a warning, All_Ranges each
};

// A command line that cannot be followed; the text names the option and what
// is wrong with it.
struct Usage_Error {
  std::string text;
};

// The options; the parameter values go to `platform` as the dialogs will
// take them (a decimal comma written as a point). Throws Usage_Error.
Options Parse(int argc, char** argv, Cli_Platform& platform);

}  // namespace talvo
