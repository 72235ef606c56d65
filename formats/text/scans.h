// Step scans in text: formatted scans and xye.
#pragma once

#include <string>

#include "formats/text/xye.h"  // Read_Xye, read with the scans

namespace talvo {

class Platform;
struct Store;

void Read_Text_Raw(const std::string& path, Store& store, Platform& platform);

}  // namespace talvo
