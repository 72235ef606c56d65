// "Bruker BRML": the zip archives of Bruker's DIFFRAC.SUITE.
#pragma once

#include "core/input_file.h"

namespace talvo {

struct Store;

// Each ExperimentN/RawDataM.xml of the archive is one range: the 2-theta and
// the count of each <Datum> row, the time per step, the scan's name as its
// drive, the wavelengths, the anode, the sample name and the start time.
// The one the conversion asks for fills the store.
Read_Result Read_Brml(const Input_File& source, Store& store);

}  // namespace talvo
