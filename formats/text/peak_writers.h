// Treor and U-Fit peak files out.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Write_Treor(const std::string& path, const Store& store, Platform& platform);
void Write_UFit(const std::string& path, const Store& store, Platform& platform);

}  // namespace talvo
