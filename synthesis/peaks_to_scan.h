// A step scan synthesised from the peak list of the store.
#pragma once

namespace talvo {

class Platform;
struct Store;

// Shows the synthesis parameters dialog, then fills the scan items from the
// peak table over Range_Limits. Throws Failure when the parameters give no
// scan (a platform whose dialog let them through).
void Peaks_To_Scan(Store& store, Platform& platform);

}  // namespace talvo
