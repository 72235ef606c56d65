#include "synthesis/noise.h"

namespace talvo {

Noise_Sequence& Program_Noise() {
  static Noise_Sequence sequence;
  return sequence;
}

}  // namespace talvo
