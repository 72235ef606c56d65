// A step scan synthesised from the peak list of the store, in the two steps
// around the synthesis parameters dialog that the conversion shows between
// them.
#pragma once

namespace talvo {

class Noise_Sequence;
struct Store;

// The scan items the dialog opens on: the start and the point count of the
// range the peak list set.
void Prepare_Synthesis(Store& store);

// Fills the scan items from the peak table over Range_Limits, as the dialog
// left the settings. Throws Failure when they give no scan (a front end
// whose dialog let them through). The noise is drawn from `noise`, or from
// the thread's sequence.
void Synthesise_Scan(Store& store);
void Synthesise_Scan_With(Store& store, Noise_Sequence& noise);

}  // namespace talvo
