// Filling the peak table from a list read in file order, shared by the UXD
// and the text peak-list readers: the 500-peak limit, the maximum rounded as
// it is read, the scaling of the strongest peak to about 100, d-spacings
// turned into 2-theta, and the range from the first and the last peak.
#pragma once

#include <cstdint>
#include <string>

namespace talvo {

struct Store;

class Peak_Table_Fill {
 public:
  Peak_Table_Fill(Store& store, std::string file_name);

  // Puts the next record into the next slot.
  void Add(double position, double intensity);
  int16_t Count() const { return count_; }

  // Multiplies every intensity by 100 / M, M being the largest intensity
  // rounded to a whole number as it was read.
  void Scale();
  // Replaces every position, taken as a d-spacing, by its 2-theta at Lambda1.
  void To_Two_Theta();
  // Nb_Peaks, Is_Peak_List, Range_Limits (first and last position, in
  // increasing order) and Max_Intensity.
  void Finish();

 private:
  Store& store_;
  std::string file_name_;
  int16_t count_ = 0;
  int32_t max_ = 0;  // 32 bits, so UXD intensities from 32767.5 on still round
};

}  // namespace talvo
