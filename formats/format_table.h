// The readers, writers and the synthesis behind the dispatch tables.
#pragma once

#include "core/dispatch.h"

namespace talvo {

const Format_Functions& Format_Table();

}  // namespace talvo
