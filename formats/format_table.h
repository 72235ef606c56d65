// The program's file types, in the order of the window's lists.
#pragma once

#include "core/registry.h"

namespace talvo {

const Registry& Format_Table();

}  // namespace talvo
