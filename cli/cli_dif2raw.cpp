// The synthesis parameters dialog, answered from the parameter options: the
// dialog opens on the store, each option is typed into its field, and the
// dialog closes. A value the dialog refuses stops the conversion.
#include "cli/cli_platform.h"
#include "ui/dialog_answers.h"

namespace talvo {

void Cli_Platform::Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) {
  Answer_Dif2Raw(store, *this, opening, Dialog_Answers{parameters, preserve_range});
}

}  // namespace talvo
