// What a reader works on, and what it tells the conversion besides the
// pattern it fills.
//
// A reader is a function of the file's bytes and of the session items its
// format uses (the synthesis width, the wavelength already held, the title a
// list without one keeps). It shows no window and asks no question: the
// conversion that runs it does that, from what the reader returns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvo {

struct Input_File {
  std::string path;  // as the user named it, UTF-8
  std::string name;  // the file name, for messages
  std::vector<uint8_t> bytes;
};

struct Read_Result {
  // Something about the file the user should know although it was read.
  // Shown in the window only when `in_window`; talvo-convert prints every one.
  struct Warning {
    std::string text;
    bool in_window = true;
  };
  std::vector<Warning> warnings;
  // The sample name the conversion asks the user to confirm ("[PowderGraph"
  // Oxford files), in Windows-1252 and cut to 32 characters.
  std::optional<std::string> proposed_sample;
  // The scan is completed in the import dialog before it is written, as
  // for a type that always asks (a file read as the type its content shows).
  bool import_dialog = false;
};

}  // namespace talvo
