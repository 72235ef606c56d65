// The batch of talvo-convert: every input converted, its messages printed
// in input order, the outcome that of the whole batch.
#pragma once

#include <string_view>
#include <vector>

#include "cli/cli_platform.h"
#include "core/batch.h"
#include "core/dispatch.h"
#include "core/registry.h"

namespace talvo {

// With `jobs` above 1, and types whose files cannot depend on one another,
// the files are converted on that many threads, each from a store of its
// own; what is written, printed and returned is what a run of one file
// after another gives.
Outcome Convert_Batch(const Registry& registry, std::string_view input_type, std::string_view output_type,
                      const std::vector<Conversion_Call>& calls, const Cli_Platform& platform, unsigned jobs);

}  // namespace talvo
