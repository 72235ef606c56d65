// The noise of synthesised scans: a fixed-seed sequence of 32-bit floats in
// [0, 1), the same at every program start and continuing from call to call.
#pragma once

#include <cstdint>
#include <random>

namespace talvo {

class Noise_Sequence {
 public:
  // The next value, made from 24 random bits so that it is exact in a float
  // and never 1 (a float uniform distribution can round up to 1.0).
  float Next() { return static_cast<float>(engine_() >> 8) * 0x1p-24f; }

 private:
  std::mt19937 engine_;  // default seed: the same sequence on every platform
};

// The one sequence of the program, used by every synthesis.
Noise_Sequence& Program_Noise();

}  // namespace talvo
