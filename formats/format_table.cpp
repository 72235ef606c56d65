#include "formats/format_table.h"

#include "formats/bitmap/bmp.h"
#include "formats/diffracplus/dif.h"
#include "formats/diffracplus/raw.h"
#include "formats/diffracplus/signature.h"
#include "formats/diffracplus/uxd.h"
#include "formats/text/gsas.h"
#include "formats/text/oxford.h"
#include "formats/text/peak_lists.h"
#include "formats/text/peak_writers.h"
#include "formats/text/scans.h"
#include "formats/text/text_raw_writer.h"
#include "synthesis/peaks_to_scan.h"

namespace talvo {

const Format_Functions& Format_Table() {
  static const Format_Functions table = {
      .File_Signature = File_Signature,
      .Read_Raw1 = Read_Raw1,
      .Read_Raw2 = Read_Raw2,
      .Read_Raw_Ascii = Read_Raw_Ascii,
      .Read_Dif = Read_Dif,
      .Read_Uxd = Read_Uxd,
      .Read_Text_DI = Read_Text_DI,
      .Read_Diamond = Read_Diamond,
      .Read_Text_Raw = Read_Text_Raw,
      .Read_Xye = Read_Xye,
      .Read_Gsas = Read_Gsas,
      .Read_Oxford = Read_Oxford,
      .Write_Raw2 = Write_Raw2,
      .Write_Treor = Write_Treor,
      .Write_UFit = Write_UFit,
      .Write_Text_Raw = Write_Text_Raw,
      .Write_Bmp = Write_Bmp,
      .Peaks_To_Scan = Peaks_To_Scan,
  };
  return table;
}

}  // namespace talvo
