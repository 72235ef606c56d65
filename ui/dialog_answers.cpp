#include "ui/dialog_answers.h"

#include <regex>

#include "core/failure.h"
#include "core/profile.h"
#include "ui/p_dif2raw.h"
#include "ui/p_oxford2raw.h"

namespace talvo {

std::optional<std::string> Dialog_Answers::Value(const std::string& name) const {
  if (auto found = values.find(name); found != values.end()) return found->second;
  return std::nullopt;
}

bool Is_Whole_Number(const std::string& text) {
  static const std::regex number(R"([+-]?(\d+([.,]\d*)?|[.,]\d+)([eE][+-]?\d+)?)");
  return std::regex_match(text, number);
}

std::optional<std::string> Check_Answers(std::map<std::string, std::string>& values) {
  for (const char* key : Number_Answers) {
    auto found = values.find(key);
    if (found == values.end()) continue;
    std::string& value = found->second;
    if (!Is_Whole_Number(value)) return key;
    if (auto comma = value.find(','); comma != std::string::npos) value[comma] = '.';
  }
  if (auto profile = values.find("profile"); profile != values.end()) {
    if (!Profile_Named(profile->second)) return "profile";
  }
  return std::nullopt;
}

void Answer_Dif2Raw(Store& store, Platform& platform, Dif2Raw_Opening opening, const Dialog_Answers& answers) {
  P_dif2raw dialog(store, platform, opening);
  dialog.Form_Load();
  auto type = [&](const char* name, std::string& field) {
    if (auto text = answers.Value(name)) field = *text;
  };
  type("start", dialog.T_Start);
  type("end", dialog.T_End);
  type("step", dialog.T_SSize);
  type("time", dialog.T_Time);
  // The anode fills Lambda1 as it is typed; a wavelength given too is typed
  // after it and wins.
  if (auto anode = answers.Value("anode")) {
    dialog.T_Anode = *anode;
    dialog.T_Anode_Change();
  }
  type("lambda", dialog.T_Lambda);
  if (auto profile = answers.Value("profile")) dialog.O_Function = Profile_Named(*profile).value_or(Profile::None);
  type("fwhm", dialog.T_FWHM);
  type("background", dialog.T_Bkg);
  type("noise", dialog.T_Noise);
  if (answers.preserve_range) dialog.Ch_range_limits = true;
  if (auto refusal = dialog.Form_Unload()) throw Failure(refusal->text);
}

// The anode before the wavelength, so that a wavelength given has the last
// word.
void Answer_Oxford2Raw(Store& store, Platform& platform, const Dialog_Answers& answers) {
  P_oxford2raw dialog(store, platform);
  dialog.Form_Load();
  if (auto anode = answers.Value("anode")) dialog.T_Anode_Change(*anode);
  if (auto lambda = answers.Value("lambda")) dialog.T_Lambda = *lambda;
  if (auto time = answers.Value("time")) dialog.T_Time = *time;
  if (auto step = answers.Value("step")) dialog.T_SSize = *step;
  if (auto start = answers.Value("start")) dialog.T_Start = *start;
  if (auto end = answers.Value("end")) dialog.T_End = *end;
  if (auto refused = dialog.Form_Unload()) throw Failure(*refused);
}

}  // namespace talvo
