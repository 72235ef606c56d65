// The failure of a format whose reader or writer this build does not have.
#pragma once

#include <string>

#include "core/failure.h"

namespace talvo {

[[noreturn]] inline void Not_Built(const std::string& what) {
  throw Failure(what + " is not built yet in this version of Talvo; nothing was read or written.");
}

}  // namespace talvo
