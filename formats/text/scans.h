// Step scans in text: formatted scans and xye.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Read_Text_Raw(const std::string& path, Store& store, Platform& platform);
void Read_Xye(const std::string& path, Store& store, Platform& platform);

}  // namespace talvo
