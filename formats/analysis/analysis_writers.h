// The writers of today's analysis formats, one file each: a step scan out
// as xye, two-column text, CSV, GSAS FXYE or powder CIF, for refinement and
// indexing programs and spreadsheets. They take scans of any length.
#pragma once

#include <string>

namespace talvo {

class Platform;
struct Store;

void Write_Xye(const std::string& path, const Store& store, Platform& platform);
void Write_Xy(const std::string& path, const Store& store, Platform& platform);
void Write_Csv(const std::string& path, const Store& store, Platform& platform);
void Write_Fxye(const std::string& path, const Store& store, Platform& platform);
void Write_Cif(const std::string& path, const Store& store, Platform& platform);

}  // namespace talvo
