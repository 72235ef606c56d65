// Convert and Preview: one input file through a reader into the store, then
// the store through a writer or into the preview window.
//
// The input and output types are display names, as the window's lists hold
// them; talvo-convert turns its keys into names first. A conversion shows
// every refusal and failure itself and says how it ended.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/path_names.h"  // Range_Output
#include "core/platform.h"
#include "core/registry.h"
#include "core/store.h"

namespace talvo {

class Failure;

// The text a failure shows; empty: the failure's own.
using Failure_Text = std::function<std::string(const Failure&)>;

// What one conversion works on: the store that lasts between files, the
// platform, the registry of types, and how its failures are worded.
struct Session {
  Store& store;
  Platform& platform;
  const Registry& registry;
  Failure_Text failure_text = {};
};

enum class Outcome { Converted, Refused, Failed };

// The outcome of a batch so far and one more file: a failure over a
// refusal over a conversion.
Outcome Worse_Of(Outcome all, Outcome one);

Outcome Convert(Session& session, std::string_view input_type, std::string_view output_type, const std::string& infile,
                const std::string& outfile);
Outcome Preview(Session& session, std::string_view input_type, const std::string& infile);

// Every range of the file, each to its own output (talvo-convert --range all).
constexpr int32_t All_Ranges = -1;

// The two halves of Convert on their own, for a front end that holds a
// pattern between them. Read_Only classifies and reads `infile` into the
// store as Convert does, with Convert's refusals, and writes nothing.
// Write_Only writes the store as Convert's output step does: Refused when
// the output type or its writer refuses the pattern, Failed when the file
// cannot be written (a folder that is missing or read-only, a full disk).
Outcome Read_Only(Session& session, std::string_view input_type, const std::string& infile);
Outcome Write_Only(Session& session, std::string_view output_type, const std::string& outfile);

struct Conversion_Call {
  std::string infile;
  std::string outfile;
  // The range of a file with several: 1-based, 0 for the first with a
  // warning that names how many the file holds, or All_Ranges.
  int32_t range = 0;
  bool operator==(const Conversion_Call&) const = default;
};

// Converts the call's file, reading the range it asks for; under
// All_Ranges each range of the file in turn, to Range_Output's names,
// the outcome being the worst of them.
Outcome Convert_Call(Session& session, std::string_view input_type, std::string_view output_type,
                     const Conversion_Call& call);

// The batch loop of the window and of talvo-convert: pending events run once
// before each file, then `convert`, which returns false to end the batch
// (the program is closing). A refused or failed file does not stop it.
void For_Each_File(Platform& platform, const std::vector<Conversion_Call>& calls,
                   const std::function<bool(const Conversion_Call&)>& convert);

// The title of the boxes a conversion of `path` shows: the program's, with
// the file's name.
std::string Title_For(const std::string& path);

}  // namespace talvo
