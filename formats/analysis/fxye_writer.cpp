// "GSAS FXYE": GSAS raw data with one point per record, each record a line
// of 80 characters (blank-padded), CR LF:
//   Quartz standard                                    the title
//   BANK 1 3 3 CONS 1000 2 0 0 FXYE                    start and step in centidegrees
//           1000            120        10.9545         x in centidegrees, intensity, uncertainty
// The start and the step of the bank line are the first angle and the mean
// step; the x of each record is the point's own angle, which readers take.
#include <cstring>

#include "core/busy.h"
#include "core/file_io.h"
#include "formats/analysis/analysis_scan.h"
#include "formats/analysis/analysis_writers.h"

namespace talvo {

namespace {

constexpr std::size_t Record_Width = 80;
constexpr std::size_t Field_Width = 15;

// Pads the record begun at `begin` to 80 characters and ends its line.
void End_Record(std::string& text, std::size_t begin) {
  if (text.size() - begin < Record_Width) text.append(Record_Width - (text.size() - begin), ' ');
  text += analysis::Line_End;
}

// The title cut to 80 bytes, without splitting a UTF-8 character.
std::string Title_Of(const analysis::Scan_Out& scan) {
  std::string title = !scan.sample.empty()        ? scan.sample
                      : !scan.source_file.empty() ? scan.source_file
                                                  : scan.File_Name();
  if (title.size() > Record_Width) {
    std::size_t cut = Record_Width;
    while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80) --cut;
    title.resize(cut);
  }
  return title;
}

// Right-aligns the number written from `begin` to `end` in a field of 15
// characters, or puts one blank before it when it is longer.
char* Aligned(char* begin, char* end) {
  const auto length = static_cast<std::size_t>(end - begin);
  const std::size_t blanks = length < Field_Width ? Field_Width - length : 1;
  std::memmove(begin + blanks, begin, length);
  std::memset(begin, ' ', blanks);
  return end + blanks;
}

}  // namespace

void Write_Fxye(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const analysis::Scan_Out scan(path, store);
  const int32_t n = scan.Count();
  std::string text;
  text.reserve(3 * (Record_Width + 2) + static_cast<std::size_t>(n) * (Record_Width + 2));
  std::size_t begin = text.size();
  text += Title_Of(scan);
  End_Record(text, begin);

  begin = text.size();
  text += "BANK 1 " + std::to_string(n) + ' ' + std::to_string(n) + " CONS ";
  scan.Append_Centidegrees(text, 1);
  text += ' ';
  scan.Append_Step_Centidegrees(text);
  text += " 0 0 FXYE";
  End_Record(text, begin);

  analysis::Text_Out out(text, 3 * (analysis::Max_Number_Text + Field_Width) + Record_Width + 2);
  for (int32_t k = 1; k <= n; ++k) {
    char* const record = out.Room();
    char* p = Aligned(record, scan.Put_Centidegrees(record, k));
    p = Aligned(p, scan.Put_Intensity(p, k));
    p = Aligned(p, scan.Put_Uncertainty(p, k));
    if (p - record < static_cast<std::ptrdiff_t>(Record_Width)) {
      std::memset(p, ' ', Record_Width - static_cast<std::size_t>(p - record));
      p = record + Record_Width;
    }
    out.Took(analysis::Put_Line_End(p));
  }
  out.Finish();
  Write_File_Atomically(path, text);
  busy.Normal();
}

}  // namespace talvo
