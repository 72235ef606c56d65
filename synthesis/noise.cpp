#include "synthesis/noise.h"

namespace talvo {

Noise_Sequence& Program_Noise() {
  thread_local Noise_Sequence sequence;
  return sequence;
}

}  // namespace talvo
