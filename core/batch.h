// A batch of conversions as the front ends without a window run it
// (talvo-convert, the Python module): the name of each output, and every
// input converted, on several threads where its files cannot depend on one
// another, with what each file said handed back in input order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/dispatch.h"
#include "core/registry.h"

namespace talvo {

// Where the outputs go, as the user named it, and the pattern of the output
// type ("*.txt"), which gives the extension of an output named after its
// input.
struct Output_Option {
  std::string text;
  bool given = false;
  std::string pattern;
};

// The output path of one input: the option names a file, a folder (ending
// in a separator, or one that exists) or a pattern such as *.txt, relative
// to the current folder. In a batch, or when it gives no base, the output
// takes the input's base name. Without it the output lies beside the input,
// with the input's base name and the output type's extension.
std::string Output_Path_For(const std::string& infile, const Output_Option& output, bool batch);

// The platform of each file of a batch. `make` gives the platform that
// file `file` (an index into the calls) is converted with, on the thread
// that converts it; `done` gets it back with the file's outcome on the
// calling thread, file after file in input order.
struct Batch_Platforms {
  std::function<std::unique_ptr<Platform>(std::size_t file)> make;
  std::function<void(std::size_t file, Platform& platform, Outcome outcome)> done;
};

// With `jobs` above 1, and types whose files cannot depend on one another,
// the files are converted on that many threads, each from a store of its
// own; what is written and handed back is what one file after another, on
// one store, gives.
Outcome Convert_Batch(const Registry& registry, std::string_view input_type, std::string_view output_type,
                      const std::vector<Conversion_Call>& calls, const Batch_Platforms& platforms, unsigned jobs);

}  // namespace talvo
