// Convert and Preview: one input file through a reader into the store, then
// the store through a writer or into the preview window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/platform.h"
#include "core/registry.h"
#include "core/store.h"

namespace talvo {

using Signature_Fn = std::function<int16_t(const std::string& path, Store& store)>;
using Reader = std::function<void(const std::string& path, Store& store, Platform& platform)>;
using Writer = std::function<void(const std::string& path, const Store& store, Platform& platform)>;
using Synthesis = std::function<void(Store& store, Platform& platform)>;

// The readers, writers and the synthesis the dispatch tables name.
struct Format_Functions {
  Signature_Fn File_Signature;
  Reader Read_Raw1, Read_Raw2, Read_Raw_Ascii, Read_Dif, Read_Uxd, Read_Text_DI, Read_Diamond, Read_Text_Raw,
      Read_Xye, Read_Gsas, Read_Oxford;
  Writer Write_Raw2, Write_Treor, Write_UFit, Write_Text_Raw, Write_Bmp;
  Synthesis Peaks_To_Scan;
};

// What one conversion works on: the store, the two type lists whose texts
// select reader and writer, the platform, and the format functions.
struct Session {
  Store& store;
  Type_Lists& lists;
  Platform& platform;
  const Format_Functions& formats;
};

void Convert(Session& session, const std::string& infile, const std::string& outfile);
void Preview(Session& session, const std::string& infile);

}  // namespace talvo
