// "XRDML (PANalytical)": the XML measurement files of PANalytical (Malvern
// Panalytical) diffractometers, schema versions 1.0 to 2.x.
#pragma once

#include "core/input_file.h"

namespace talvo {

struct Store;

// Every <scan> of every <xrdMeasurement> is one range; the one the
// conversion asks for fills the store: its 2Theta positions (start and end,
// or one position per point), its <counts> or <intensities> (counts per
// second become counts with the counting time), the counting time, the
// wavelengths and their ratio, the anode, the sample id and the scan's date.
Read_Result Read_Xrdml(const Input_File& source, Store& store);

}  // namespace talvo
