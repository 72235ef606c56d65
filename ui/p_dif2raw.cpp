#include "ui/p_dif2raw.h"

#include <array>
#include <cmath>

#include "core/numbers.h"
#include "core/platform.h"
#include "core/store.h"
#include "ui/anodes.h"
#include "ui/field_text.h"

namespace talvo {

std::optional<double> Anode_Wavelength(const std::string& code) {
  const Anode* anode = Find_Anode(code);
  return anode ? std::optional<double>(anode->k_alpha1) : std::nullopt;
}

P_dif2raw::P_dif2raw(Store& store, Platform& platform, Dif2Raw_Opening opening)
    : store_(store), platform_(platform), opening_(opening) {}

void P_dif2raw::Form_Load() {
  const char separator = platform_.Decimal_Separator();
  T_Time = Field_Text(store_.Time_Step, separator);
  T_SSize = Field_Text(store_.Step_Size, separator);
  T_Start = Field_Text(store_.Start_2Theta, separator);
  T_End = Field_Text(Round_Half_Even(store_.Nb_Points * store_.Step_Size + static_cast<double>(store_.Start_2Theta)),
                     separator);
  T_Lambda = Field_Text(store_.Lambda1, separator);
  if (store_.Lambda1 == Copper_K_Alpha1) {
    T_Anode = "Cu";
    T_Anode_Change();
  }
  T_Bkg = Field_Text(store_.Bkg_Level, separator);
  T_Noise = Field_Text(store_.Noise_Height, separator);
  T_FWHM = Field_Text(store_.FWHM, separator);
  O_Function = Profile_Of(store_.Profile_Function);
  Ch_range_limits = store_.Preserve_Range != 0;
  platform_.Set_Busy(false);
}

void P_dif2raw::T_Anode_Change() {
  const auto lambda = Anode_Wavelength(T_Anode);
  T_Lambda = lambda ? Field_Text(*lambda, platform_.Decimal_Separator()) : std::string();
}

std::optional<P_dif2raw::Refusal> P_dif2raw::Form_Unload() {
  const char separator = platform_.Decimal_Separator();
  const double step = Field_Number(T_SSize);
  const double start = Field_Number(T_Start);
  const double end = Field_Number(T_End);
  const auto fwhm = static_cast<float>(Field_Number(T_FWHM));

  // A zero step gives no count, and a count outside 1..32767 has no 16-bit
  // slot; it is checked on the quotient itself, before it is narrowed. A
  // negative step with an end below the start is a descending scan. The
  // synthesis divides by the width, and draws only a range whose end, rounded
  // to a whole degree, lies beyond its start in the direction of the step.
  const bool synthesis = opening_ == Dif2Raw_Opening::Before_Synthesis;
  if (step == 0) return Refusal{Field::Step, "The Step Size must not be 0."};
  if (synthesis && fwhm == 0) return Refusal{Field::FWHM, "The FWHM must not be 0."};
  const double quotient = (end - start) / step;
  const auto points = Round_To_Int16(quotient);
  if (!points || *points < 1)
    return Refusal{Field::End, "From the Start angle " + Field_Text(start, separator) + " to the End angle " +
                                   Field_Text(end, separator) + " in steps of " + Field_Text(step, separator) +
                                   " there would be " + Field_Text(std::nearbyint(quotient), separator) +
                                   " points; a scan holds " + Points_Limit() + " points."};
  const double rounded_end = Round_Half_Even(*points * step + start);
  const bool rising = step > 0;
  if (synthesis && !(rising ? rounded_end > start : rounded_end < start))
    return Refusal{Field::End, "The End angle " + Field_Text(end, separator) + " gives a scan ending at " +
                                   Field_Text(rounded_end, separator) +
                                   " degrees (the end is rounded to a whole degree), which is not " +
                                   (rising ? "above" : "below") + " the Start angle " + Field_Text(start, separator) +
                                   (rising ? "" : " for a negative step") + "."};

  store_.Time_Step = static_cast<float>(Field_Number(T_Time));
  store_.Step_Size = step;
  store_.Start_2Theta = static_cast<float>(start);
  store_.Start_Theta = store_.Start_2Theta / 2;
  store_.Range_Limits = {start, rounded_end};
  store_.Nb_Points = *points;
  store_.Lambda1 = static_cast<float>(Field_Number(T_Lambda));
  store_.Bkg_Level = static_cast<float>(Field_Number(T_Bkg));
  store_.Noise_Height = static_cast<float>(Field_Number(T_Noise));
  store_.FWHM = fwhm;
  if (O_Function != Profile::None) store_.Profile_Function = Stored(O_Function);
  store_.Preserve_Range = Ch_range_limits ? True16 : False16;
  platform_.Set_Busy(true);
  return std::nullopt;
}

}  // namespace talvo
