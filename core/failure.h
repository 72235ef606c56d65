// The one exception type of readers and writers.
//
// A reader or writer that cannot finish throws Failure with the text the
// user is to see; the dispatcher catches it, shows it once and goes on as
// after any refusal. The text names the file and says what is wrong. Most
// failures show the critical icon; a few messages keep a plainer box.
#pragma once

#include <stdexcept>
#include <string>

#include "core/platform.h"

namespace talvo {

// What a failure is about, where a front end words it apart from the rest:
// an input file that does not exist, or one that cannot be read; an output
// that the file system would not take (as against a pattern that a writer
// refuses to write).
enum class Failure_Kind { Other, Input_Missing, Input_Unreadable, Output_Unwritable };

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& text, Icon icon = Icon::Critical) : std::runtime_error(text), icon_(icon) {}
  Failure(Failure_Kind kind, const std::string& text) : std::runtime_error(text), kind_(kind) {}
  Icon icon() const { return icon_; }
  Failure_Kind kind() const { return kind_; }

 private:
  Icon icon_ = Icon::Critical;
  Failure_Kind kind_ = Failure_Kind::Other;
};

}  // namespace talvo
