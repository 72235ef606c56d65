// The bitmap export without a window: the curve painted into an image.
#include "cli/cli_platform.h"
#include "core/not_built.h"

namespace talvo {

void Cli_Platform::Show_Bmp_Saver(const Store&, const std::string&) { Not_Built("The bitmap export"); }

}  // namespace talvo
