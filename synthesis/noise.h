// The noise of synthesised scans: a fixed-seed sequence of 32-bit floats in
// [0, 1), the same at every program start and continuing from call to call.
#pragma once

#include <cstdint>
#include <random>

namespace talvo {

class Noise_Sequence {
 public:
  Noise_Sequence() = default;
  // Another sequence, the same for the same seed.
  explicit Noise_Sequence(uint32_t seed) : engine_(seed) {}

  // The next value, made from 24 random bits so that it is exact in a float
  // and never 1 (a float uniform distribution can round up to 1.0).
  float Next() { return static_cast<float>(engine_() >> 8) * 0x1p-24f; }

 private:
  std::mt19937 engine_;  // default seed: the same sequence on every platform
};

// The sequence of the calling thread, used by every synthesis it runs. The
// window and talvo-convert synthesise on one thread only, so theirs is the
// one sequence of the run; threads of a program that embeds the engine each
// draw from their own, and never from one another's.
Noise_Sequence& Program_Noise();

}  // namespace talvo
