// The synthesis parameters dialog, answered from the parameter options.
#include "cli/cli_platform.h"
#include "core/not_built.h"

namespace talvo {

void Cli_Platform::Show_Dif2Raw(Store&) { Not_Built("The synthesis parameters dialog"); }

}  // namespace talvo
