// Bruker Diffrac-Plus RAW step scans: version 1 and 2 in, version 2 out,
// and the ".RAW" text export in.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Read_Raw1(const std::string& path, Store& store, Platform& platform);
void Read_Raw2(const std::string& path, Store& store, Platform& platform);
void Read_Raw_Ascii(const std::string& path, Store& store, Platform& platform);
void Write_Raw2(const std::string& path, const Store& store, Platform& platform);

}  // namespace talvo
