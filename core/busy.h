// The busy pointer while an operation works: busy from construction until
// Normal(), and set back to normal by the destructor when a failure unwinds
// before that.
#pragma once

#include "core/platform.h"

namespace talvo {

class Busy_Pointer {
 public:
  explicit Busy_Pointer(Platform& platform) : platform_(platform) { platform_.Set_Busy(true); }
  Busy_Pointer(const Busy_Pointer&) = delete;
  Busy_Pointer& operator=(const Busy_Pointer&) = delete;
  ~Busy_Pointer() {
    if (busy_) platform_.Set_Busy(false);
  }

  void Normal() {
    platform_.Set_Busy(false);
    busy_ = false;
  }

 private:
  Platform& platform_;
  bool busy_ = true;
};

}  // namespace talvo
