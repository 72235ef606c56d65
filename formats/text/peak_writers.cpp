// Treor (*.tre) and U-Fit (*.dif) peak files, Windows-1252 text with CR LF
// after every line. Both begin with the 32-character list title, blanks
// included; the positions are written as stored, in degrees 2-theta.
//
//   Treor                                  U-Fit
//   <title, 32 characters>                 <title, 32 characters>
//      35.8898          100                (empty line)
//      45.3033          50                 35.890, 100.0, 0
//     ...                                  ...
//     CHOICE=4,
//     VOL=-2000,
//     END*
#include "formats/text/peak_writers.h"

#include "core/busy.h"
#include "core/failure.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/number_pattern.h"

namespace talvo {

namespace {

constexpr const char* Line_End = "\r\n";

void Check_Peak_Count(const Store& store, const std::string& path) {
  if (store.Nb_Peaks < 0 || store.Nb_Peaks > Max_Peaks)
    throw Failure("The peak list claims " + std::to_string(store.Nb_Peaks) + " peaks; nothing was written to " +
                  File_Name_Of(path) + ".");
}

// A title still holding the NUL bytes of the start-up header is written with
// blanks in their place.
std::string Title_Line(const Store& store) {
  return Blank_Nuls(Dif_Title(store)) + Line_End;
}

}  // namespace

void Write_Treor(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  Check_Peak_Count(store, path);
  const char separator = platform.Decimal_Separator();
  static const Number_Pattern position("   0.0000          ");
  static const Number_Pattern below_ten("  0");
  static const Number_Pattern two_digits(" 00");
  std::string text = Title_Line(store);
  for (int k = 1; k <= store.Nb_Peaks; ++k) {
    const Peak& peak = store.Peaks[k];
    position.Append(text, peak.Position, separator);
    // Only an intensity of exactly 100 gets a column of its own; 99.7 comes
    // out of " 00" as " 100", and 100.00000000000001 too.
    if (peak.Intensity < 10)
      below_ten.Append(text, peak.Intensity, separator);
    else if (peak.Intensity == 100)
      text += "100";
    else
      two_digits.Append(text, peak.Intensity, separator);
    text += Line_End;
  }
  text += "  CHOICE=4,\r\n  VOL=-2000,\r\n  END*\r\n";
  Write_File_Atomically(path, text);
  busy.Normal();
}

void Write_UFit(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  Check_Peak_Count(store, path);
  const char separator = platform.Decimal_Separator();
  static const Number_Pattern position("#####0.000");
  static const Number_Pattern intensity("#####0.0");
  std::string text = Title_Line(store) + Line_End;
  for (int k = 1; k <= store.Nb_Peaks; ++k) {
    position.Append(text, store.Peaks[k].Position, separator);
    text += ", ";
    intensity.Append(text, store.Peaks[k].Intensity, separator);
    text += ", 0";
    text += Line_End;
  }
  Write_File_Atomically(path, text);
  busy.Normal();
}

}  // namespace talvo
