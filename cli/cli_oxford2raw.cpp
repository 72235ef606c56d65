// The Oxford import parameters dialog, answered from the parameter options:
// each option given is typed into its field, the anode before the wavelength
// so that --lambda has the last word; the other fields keep what the dialog
// proposed. Fields that give no scan stop the conversion with the dialog's
// own message.
#include "cli/cli_platform.h"
#include "core/failure.h"
#include "ui/p_oxford2raw.h"

namespace talvo {

void Cli_Platform::Show_Oxford2Raw(Store& store, const std::string&) {
  P_oxford2raw dialog(store, *this);
  dialog.Form_Load();
  if (auto anode = Parameter("anode")) dialog.T_Anode_Change(*anode);
  if (auto lambda = Parameter("lambda")) dialog.T_Lambda = *lambda;
  if (auto time = Parameter("time")) dialog.T_Time = *time;
  if (auto step = Parameter("step")) dialog.T_SSize = *step;
  if (auto start = Parameter("start")) dialog.T_Start = *start;
  if (auto end = Parameter("end")) dialog.T_End = *end;
  if (auto refused = dialog.Form_Unload()) throw Failure(*refused);
}

}  // namespace talvo
