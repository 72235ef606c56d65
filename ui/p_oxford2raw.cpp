#include "ui/p_oxford2raw.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/platform.h"
#include "core/store.h"
#include "ui/anodes.h"
#include "ui/field_text.h"

namespace talvo {

namespace {

// The file's per-point items of the first n points, the ones the dialog
// keeps; the angles only while the user keeps the file's start and step.
void Keep_Points(Pattern_Extras& extras, int32_t n, bool angles) {
  if (!angles) extras.Angles.clear();
  for (auto* values : {&extras.Angles, &extras.Counts, &extras.Uncertainties})
    if (values->size() > static_cast<std::size_t>(n) + 1) values->resize(static_cast<std::size_t>(n) + 1);
}

}  // namespace

P_oxford2raw::P_oxford2raw(Store& store, Platform& platform, std::string lines)
    : store_(store), platform_(platform), lines_(std::move(lines)) {
  const auto held = store.Intensities.empty() ? 0 : static_cast<int64_t>(store.Intensities.size()) - 1;
  points_read_ = static_cast<int32_t>(std::clamp<int64_t>(held, 0, std::max(store.Nb_Points, 0)));
}

void P_oxford2raw::Form_Load() {
  const char separator = platform_.Decimal_Separator();
  T_Time = Field_Text(store_.Time_Step, separator);
  T_SSize = Field_Text(store_.Step_Size, separator);
  T_Start = Field_Text(store_.Start_2Theta, separator);
  T_End = Field_Text(std::nearbyint(store_.Nb_Points * store_.Step_Size + store_.Start_2Theta), separator);
  T_Lambda = Field_Text(store_.Lambda1, separator);
  T_Spid = store_.Sample_ID;
  loaded_start_ = T_Start;
  loaded_step_ = T_SSize;
  if (store_.Lambda1 == Copper_K_Alpha1) {
    // The lookup proposes the mean wavelength, but the caption stays that
    // of the K-alpha 1 line the store held.
    T_Anode_Change("Cu");
    E_Lambda = "Lambda K1";
  }
  platform_.Set_Busy(false);
}

void P_oxford2raw::T_Anode_Change(const std::string& text) {
  T_Anode = text;
  E_Lambda = "Lambda";
  // For molybdenum and copper this dialog proposes the mean K-alpha
  // wavelength; for the others, K-alpha 1.
  if (const Anode* anode = Find_Anode(text)) {
    const bool mean = anode->k_alpha_mean != 0;
    E_Lambda = mean ? "Lambda Moy" : "Lambda K1";
    T_Lambda = Field_Text(mean ? anode->k_alpha_mean : anode->k_alpha1, platform_.Decimal_Separator());
    return;
  }
  E_Lambda = "Lambda K1";
  T_Lambda.clear();
}

std::optional<std::string> P_oxford2raw::Form_Unload() {
  const double time = Field_Number(T_Time);
  const double step = Field_Number(T_SSize);
  const double start = Field_Number(T_Start);
  const double end = Field_Number(T_End);
  const double lambda = Field_Number(T_Lambda);

  // Only what gives no count is refused: a step of 0, and a count that a
  // 16-bit slot cannot hold or that leaves no point, checked before it is
  // cut to 16 bits. An end that rounds to a whole degree at or behind the
  // start still gives its count. A file of more points than that keeps
  // them all (up to the points read) for the outputs without the limit;
  // the writers with it refuse such a scan themselves.
  if (step == 0) return "Step Size: the step size must not be 0.";
  const double count = std::nearbyint((end - start) / step);
  const int32_t most = points_read_ > Max_Points ? std::numeric_limits<int32_t>::max() : Max_Points;
  if (!(count >= 1 && count <= most)) {
    std::string points = std::isfinite(count) ? Field_Text(count, '.') + " points" : "no whole number of points";
    return "End angle: from the start angle to the end angle in steps of this size the scan would have " + points +
           "; it must have " + Points_Limit(1, most) + ".";
  }
  const bool same_angles = T_Start == loaded_start_ && T_SSize == loaded_step_;

  store_.Time_Step = static_cast<float>(time);
  store_.Step_Size = step;
  store_.Start_2Theta = static_cast<float>(start);
  store_.Start_Theta = store_.Start_2Theta / 2;
  store_.Range_Limits[0] = start;
  // A wider range than the file's, or the rounding of the end angle, must
  // not announce points that were never read.
  store_.Nb_Points = std::min(static_cast<int32_t>(count), points_read_);
  store_.Range_Limits[1] = std::nearbyint(store_.Nb_Points * step + start);
  Keep_Points(store_.Extras, store_.Nb_Points, same_angles);
  store_.Lambda1 = static_cast<float>(lambda);
  platform_.Set_Busy(true);
  return std::nullopt;
}

}  // namespace talvo
