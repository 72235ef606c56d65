// "xye (2θ, intensity, uncertainty)": "#" header lines, then one line per
// point, blank-separated, CR LF:
//   # Sample: Quartz standard
//   # Source file: QTZ.RAW
//   # Wavelength: 1.54056 angstrom (K-alpha1), 1.54439 angstrom (K-alpha2)
//   # Counting time: 1.5 s per step
//   # Uncertainty: square root of the intensity, at least 1
//   # Columns: 2-theta (degrees), intensity, uncertainty
//   10.00 120 10.9545
#include "core/busy.h"
#include "core/file_io.h"
#include "formats/analysis/analysis_scan.h"
#include "formats/analysis/analysis_writers.h"

namespace talvo {

void Write_Xye(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const analysis::Scan_Out scan(path, store);
  std::string text;
  text.reserve(400 + static_cast<std::size_t>(scan.Count()) * 32);
  analysis::Append_Comment_Header(text, scan, true);
  analysis::Append_Point_Lines(text, scan, ' ', true);
  Write_File_Atomically(path, text);
  busy.Normal();
}

}  // namespace talvo
