// "Two-column text (2θ, intensity)": the "#" header lines of the xye file
// without the uncertainty's, then 2-theta and intensity per line,
// blank-separated, CR LF:
//   # Columns: 2-theta (degrees), intensity
//   10.00 120
#include "core/busy.h"
#include "core/file_io.h"
#include "formats/analysis/analysis_scan.h"
#include "formats/analysis/analysis_writers.h"

namespace talvo {

void Write_Xy(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const analysis::Scan_Out scan(path, store);
  std::string text;
  text.reserve(400 + static_cast<std::size_t>(scan.Count()) * 24);
  analysis::Append_Comment_Header(text, scan, false);
  analysis::Append_Point_Lines(text, scan, ' ', false);
  Write_File_Atomically(path, text);
  busy.Normal();
}

}  // namespace talvo
