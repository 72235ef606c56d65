// Peak lists in text: formatted D/I and Diamond listings.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Read_Text_DI(const std::string& path, Store& store, Platform& platform);
void Read_Diamond(const std::string& path, Store& store, Platform& platform);

}  // namespace talvo
