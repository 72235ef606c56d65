// "Rigaku RASX": the zip archives of Rigaku's SmartLab Studio.
#pragma once

#include "core/input_file.h"

namespace talvo {

struct Store;

// Each DataN/ProfileM.txt of the archive is one range, described by its
// DataN/MesurementConditionsM.xml: the profile's angles and intensities
// (times its attenuation factors), the scan axis, the counting time per
// step from the scan speed, the wavelengths, the anode, the sample name
// and the start time. The one the conversion asks for fills the store.
Read_Result Read_Rasx(const Input_File& source, Store& store);

}  // namespace talvo
