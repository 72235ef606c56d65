// The synthesis parameters dialog, answered from the parameter options: the
// dialog opens on the store, each option is typed into its field, and the
// dialog closes. A value the dialog refuses stops the conversion.
#include "cli/cli_platform.h"
#include "core/failure.h"
#include "ui/p_dif2raw.h"

namespace talvo {

void Cli_Platform::Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) {
  P_dif2raw dialog(store, *this, opening);
  dialog.Form_Load();
  auto type = [&](const char* name, std::string& field) {
    if (auto text = Parameter(name)) field = *text;
  };
  type("start", dialog.T_Start);
  type("end", dialog.T_End);
  type("step", dialog.T_SSize);
  type("time", dialog.T_Time);
  // The anode fills Lambda1 as it is typed; a wavelength given too is typed
  // after it and wins.
  if (auto anode = Parameter("anode")) {
    dialog.T_Anode = *anode;
    dialog.T_Anode_Change();
  }
  type("lambda", dialog.T_Lambda);
  if (auto profile = Parameter("profile")) dialog.O_Function = Profile_Named(*profile).value_or(Profile::None);
  type("fwhm", dialog.T_FWHM);
  type("background", dialog.T_Bkg);
  type("noise", dialog.T_Noise);
  if (preserve_range) dialog.Ch_range_limits = true;
  if (auto refusal = dialog.Form_Unload()) throw Failure(refusal->text);
}

}  // namespace talvo
