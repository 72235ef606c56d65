// Oxford text scans in.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Read_Oxford(const std::string& path, Store& store, Platform& platform);

}  // namespace talvo
