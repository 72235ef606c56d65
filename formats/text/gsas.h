// GSAS raw-data scans with uncertainties in.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Read_Gsas(const std::string& path, Store& store, Platform& platform);

}  // namespace talvo
