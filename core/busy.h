// The busy pointer of a reader or writer: busy from construction until
// Normal(). When a failure unwinds first, the dispatcher sets it back.
#pragma once

#include "core/platform.h"

namespace talvo {

class Busy_Pointer {
 public:
  explicit Busy_Pointer(Platform& platform) : platform_(platform) { platform_.Set_Busy(true); }
  void Normal() { platform_.Set_Busy(false); }

 private:
  Platform& platform_;
};

}  // namespace talvo
