#include "formats/text/peak_table.h"

#include <cmath>
#include <utility>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "formats/diffracplus/angles.h"

namespace talvo {

namespace {

std::string Shown(double value) {
  return General_Number(value, 15, '.');
}

}  // namespace

Peak_Table_Fill::Peak_Table_Fill(Store& store, std::string file_name)
    : store_(store), file_name_(std::move(file_name)) {}

void Peak_Table_Fill::Add(double position, double intensity) {
  if (count_ == Max_Peaks)
    throw Failure(file_name_ + " holds more than " + std::to_string(Max_Peaks) + " peaks; a peak list holds at most " +
                  std::to_string(Max_Peaks) + ".");
  ++count_;
  store_.Peaks[count_] = {position, intensity};
  if (intensity > max_) {
    const auto rounded = Round_To_Int32(intensity);
    if (!rounded)
      throw Failure(file_name_ + ": the intensity " + Shown(intensity) + " of peak " + std::to_string(count_) +
                    " is too large to be scaled.");
    max_ = *rounded;
  }
}

void Peak_Table_Fill::Scale() {
  if (max_ == 0)
    throw Failure(file_name_ + ": no peak has an intensity above 0.5, so the list cannot be scaled to 100.");
  const double factor = 100.0 / max_;
  for (int k = 1; k <= count_; ++k) store_.Peaks[k].Intensity *= factor;
}

void Peak_Table_Fill::To_Two_Theta() {
  const double lambda = store_.Lambda1;
  for (int k = 1; k <= count_; ++k) {
    double& position = store_.Peaks[k].Position;
    const double x = lambda / (2 * position);
    if (!(x > 0 && x < 1))
      throw Failure(file_name_ + ": the d-spacing " + Shown(position) + " of peak " + std::to_string(k) +
                    " has no diffraction angle at the wavelength " + General_Number(lambda, 7, '.') +
                    " angstrom (a d-spacing must exceed half the wavelength).");
    position = D_To_2Theta(position, store_.Lambda1);
  }
}

void Peak_Table_Fill::Finish() {
  store_.Nb_Peaks = count_;
  store_.Is_Peak_List = True16;
  store_.Range_Limits = {store_.Peaks[1].Position, store_.Peaks[count_].Position};
  if (store_.Range_Limits[0] > store_.Range_Limits[1]) std::swap(store_.Range_Limits[0], store_.Range_Limits[1]);
  store_.Max_Intensity = 100.0;
}

}  // namespace talvo
