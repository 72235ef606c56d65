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

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& text, Icon icon = Icon::Critical) : std::runtime_error(text), icon_(icon) {}
  Icon icon() const { return icon_; }

 private:
  Icon icon_;
};

}  // namespace talvo
