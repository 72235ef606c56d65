// UXD peak lists in.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Read_Uxd(const std::string& path, Store& store, Platform& platform);

}  // namespace talvo
