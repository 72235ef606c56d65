// Bruker Diffrac-Plus DIF version 2 peak lists in.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Read_Dif(const std::string& path, Store& store, Platform& platform);

}  // namespace talvo
