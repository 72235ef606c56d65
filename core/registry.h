// The registry of file types: every input and output type the program knows,
// in list order, each declared once with everything the program does with
// it. The window's type lists, talvo-convert's keys, the dispatcher, the fuzz
// targets and the tests all take their rows from here.
//
// An input type says, for each signature code of its file, which reader
// runs or which refusal is shown; Preview follows the same rules except
// where a rule names a refusal of its own for it. An output type says what
// becomes of a step scan and of a peak list: a writer (after synthesis when
// a peak list must become a scan first) or a refusal.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/input_file.h"
#include "core/platform.h"

namespace talvo {

struct Store;

using Signature_Fn = std::function<int16_t(const Input_File& file, Store& store)>;
using Reader_Fn = std::function<Read_Result(const Input_File& file, Store& store)>;
using Writer_Fn = std::function<void(const std::string& path, const Store& store, Platform& platform)>;

// A reader as the conversion runs it. Most readers show the busy pointer
// while they read; Read_Raw2 leaves the pointer as it is.
struct Reader {
  const char* name = nullptr;
  Reader_Fn read;
  bool busy = true;
};

// The system's own types, or the types labs need today, which the window
// lists after the system's, below a separator, so that the system's rows
// keep their positions.
enum class Layer { System, Today };

constexpr int16_t Any_Code = 0;  // no signature code is 0: matches every code not listed before it

struct Signature_Rule {
  int16_t code = Any_Code;
  std::optional<Reader> reader;           // the reader, or nothing for a refusal
  const char* refusal = nullptr;          // the refusal text when there is no reader
  const char* preview_refusal = nullptr;  // Preview refuses with this instead of reading or refusing
};

struct Input_Type {
  std::string_view key;               // talvo-convert's short name
  std::string_view name;              // display name: the type's identity everywhere
  std::string_view pattern;           // file dialog filter
  std::vector<Signature_Rule> rules;  // the first rule whose code matches applies
  // The scan read is completed in the import dialog (counting time, range,
  // wavelength) before it is written.
  bool import_dialog = false;
  // A file of this type may hold a peak list, which a step-scan output
  // synthesises from the settings the store holds.
  bool peak_lists = false;
  // The reader uses a wavelength the store holds from an earlier file.
  bool uses_held_wavelength = false;
  Layer layer = Layer::System;
};

struct Output_Rule {
  Writer_Fn writer;         // or nothing for a refusal
  bool synthesise = false;  // a peak list becomes a scan first
  const char* refusal = nullptr;
  Icon icon = Icon::None;
  bool event_step = false;  // let events run after the refusal
};

struct Output_Type {
  std::string_view key;
  std::string_view name;
  std::string_view pattern;
  Output_Rule scan;   // for a step scan
  Output_Rule peaks;  // for a peak list
  Layer layer = Layer::System;
  // Writes the file's own angle of each point where the pattern has them
  // (Extras.Angles), rather than start + k * step.
  bool file_angles = false;
};

// The synthesis of a scan from the peak list: the dialog's fields are
// prepared from the store, the dialog runs, then the scan is computed.
struct Synthesis_Steps {
  std::function<void(Store& store)> prepare;
  std::function<void(Store& store)> compute;
};

using Open_Fn = std::function<Input_File(const std::string& path)>;

struct Registry {
  std::vector<Input_Type> inputs;
  std::vector<Output_Type> outputs;
  Open_Fn open;  // reads an input file whole, or throws Failure naming it
  Signature_Fn signature;
  Synthesis_Steps synthesis;

  // By display name, compared whole and with case, as the window's lists
  // give it; nullptr when the text names no type.
  const Input_Type* Input(std::string_view name) const;
  const Output_Type* Output(std::string_view name) const;
  // By display name or by talvo-convert's key.
  const Input_Type* Input_By_Key(std::string_view name_or_key) const;
  const Output_Type* Output_By_Key(std::string_view name_or_key) const;
};

// The types the window selects at start-up, by their positions in the
// lists (the input at position 1, the output at position 4), which are also
// talvo-convert's defaults.
std::string_view Start_Up_Input(const Registry& registry);
std::string_view Start_Up_Output(const Registry& registry);

// The rule that applies to a file of signature `code`; nullptr when none does.
const Signature_Rule* Rule_For(const Input_Type& type, int16_t code);

// True when no file of a batch of these types can depend on an earlier one:
// its reader uses nothing an earlier file leaves, and no synthesis (whose
// dialog proposes the settings held and whose noise is one sequence for
// the whole run) can follow. Such files may be converted in any order.
bool Files_Independent(const Input_Type& input, const Output_Type& output);

// An output type's rule for the kind of pattern the store holds.
inline const Output_Rule& Rule_For(const Output_Type& type, bool peak_list) {
  return peak_list ? type.peaks : type.scan;
}

}  // namespace talvo
