// "CSV (2θ, intensity, uncertainty)": comma-separated values as RFC 4180
// has them, one header row, CR LF after every row, "." as decimal point;
// no field needs quotes:
//   two_theta,intensity,uncertainty
//   10.00,120,10.9545
#include "core/busy.h"
#include "core/file_io.h"
#include "formats/analysis/analysis_scan.h"
#include "formats/analysis/analysis_writers.h"

namespace talvo {

void Write_Csv(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const analysis::Scan_Out scan(path, store);
  std::string text;
  text.reserve(40 + static_cast<std::size_t>(scan.Count()) * 32);
  text += "two_theta,intensity,uncertainty";
  text += analysis::Line_End;
  analysis::Append_Point_Lines(text, scan, ',', true);
  Write_File_Atomically(path, text);
  busy.Normal();
}

}  // namespace talvo
