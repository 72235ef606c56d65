// The one exception type of readers and writers.
//
// A reader or writer that cannot finish throws Failure with the text the
// user is to see; the dispatcher catches it, shows it once and goes on as
// after any refusal. The text names the file and says what is wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace talvo {

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace talvo
