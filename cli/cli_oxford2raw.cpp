// The Oxford import parameters dialog, answered from the parameter options:
// each option given is typed into its field, the anode before the wavelength
// so that --lambda has the last word; the other fields keep what the dialog
// proposed. Fields that give no scan stop the conversion with the dialog's
// own message.
#include "cli/cli_platform.h"
#include "ui/dialog_answers.h"

namespace talvo {

void Cli_Platform::Show_Oxford2Raw(Store& store, const std::string&) {
  Answer_Oxford2Raw(store, *this, Dialog_Answers{parameters, preserve_range});
}

}  // namespace talvo
