// Scans whose file lists each point's angle, written where an output knows
// only a start and a step: how far the angles written stray from the file's.
#pragma once

#include <optional>
#include <string>

namespace talvo {

struct Store;

// The warning for a scan whose own angles (Extras.Angles) depart from the
// angles written from Start_2Theta and Step_Size by more than half the step
// at some point; empty when none does, or the file gives no angles. The
// angles written are those of the formatted text writer: a 64-bit sum from
// the 32-bit start, plus the step after each point.
std::optional<std::string> Uneven_Steps_Warning(const std::string& file_name, const Store& store);

}  // namespace talvo
