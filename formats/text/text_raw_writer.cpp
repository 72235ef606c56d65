// "Formatted text (RAW)" scans out: six labelled header lines, then one line
// per point, fields separated by TAB, Windows-1252 with CR LF after every
// line (the é of line 4 is byte 0xE9):
//   Mesure<TAB><Sample_ID, 32 characters>
//   Nombre de points<TAB>3
//   Secondes par pas<TAB>1.0                       "##.0"
//   Largeur du pas en 2 Théta<TAB>.020             "##.000"
//   Lambda<TAB>1.54051                             seven significant digits
//   2 Theta<TAB><Sample_ID, 32 characters>
//   10.00<TAB>5.0                                  "##0.00", "#####0.0"
// The angle is a 64-bit accumulator from Start_2Theta, plus Step_Size after
// each line. This is not the layout Read_Text_Raw reads.
#include "formats/text/text_raw_writer.h"

#include "core/busy.h"
#include "core/failure.h"
#include "core/file_io.h"
#include "core/numbers.h"
#include "core/platform.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/number_pattern.h"

namespace talvo {

void Write_Text_Raw(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const std::string name = File_Name_Of(path);
  const int32_t n = store.Nb_Points;
  if (n > Max_Points) throw Failure(Too_Many_Points(n, name));
  if (n > 0 && !Holds_Points(store, n))
    throw Failure("The scan holds " + std::to_string(store.Intensities.empty() ? 0 : store.Intensities.size() - 1) +
                  " intensities, fewer than its " + std::to_string(n) + " points. Nothing was written to " + name +
                  ".");
  const char separator = platform.Decimal_Separator();
  const std::string sample = Blank_Nuls(store.Sample_ID);
  std::string text;
  text.reserve(200 + static_cast<std::size_t>(n > 0 ? n : 0) * 20);
  text += "Mesure\t" + sample + "\r\n";
  text += "Nombre de points\t" + std::to_string(n) + "\r\n";
  text += "Secondes par pas\t" + Format_Number(store.Time_Step, "##.0", separator) + "\r\n";
  text += "Largeur du pas en 2 Th\xE9ta\t" + Format_Number(store.Step_Size, "##.000", separator) + "\r\n";
  text += "Lambda\t" + General_Number(store.Lambda1, 7, separator) + "\r\n";
  text += "2 Theta\t" + sample + "\r\n";
  static const Number_Pattern angle_pattern("##0.00");
  static const Number_Pattern intensity_pattern("#####0.0");
  // Each line is put together in `line`, then appended at once.
  std::string line(angle_pattern.Max_Length() + intensity_pattern.Max_Length() + 3, '\0');
  double angle = store.Start_2Theta;
  for (int32_t i = 1; i <= n; ++i) {
    char* end = angle_pattern.Put(line.data(), angle, separator);
    *end++ = '\t';
    end = intensity_pattern.Put(end, store.Intensities[i], separator);
    *end++ = '\r';
    *end++ = '\n';
    text.append(line.data(), end);
    angle += store.Step_Size;
  }
  Write_File_Atomically(path, text);
  busy.Normal();
}

}  // namespace talvo
