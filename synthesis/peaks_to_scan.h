// A step scan synthesised from the peak list of the store.
#pragma once

namespace talvo {

class Platform;
struct Store;

void Peaks_To_Scan(Store& store, Platform& platform);

}  // namespace talvo
