#include "synthesis/peaks_to_scan.h"

#include "core/not_built.h"

namespace talvo {

void Peaks_To_Scan(Store&, Platform&) { Not_Built("Synthesising a scan from a peak list"); }

}  // namespace talvo
