// The labelled formatted text scan out.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Write_Text_Raw(const std::string& path, const Store& store, Platform& platform);

}  // namespace talvo
