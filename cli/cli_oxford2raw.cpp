// The Oxford import parameters dialog, answered from the parameter options.
#include "cli/cli_platform.h"
#include "core/not_built.h"

namespace talvo {

void Cli_Platform::Show_Oxford2Raw(Store&) { Not_Built("The Oxford import parameters dialog"); }

}  // namespace talvo
