// The scan's curve out as a Windows bitmap.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Write_Bmp(const std::string& path, const Store& store, Platform& platform);

}  // namespace talvo
