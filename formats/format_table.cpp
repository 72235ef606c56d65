// Every input and output type, in list order, with what the program does
// with each. Adding an input type is its reader in its format's file and one
// entry here.
#include "formats/format_table.h"

#include "core/file_io.h"
#include "core/messages.h"
#include "core/store.h"
#include "formats/analysis/analysis_writers.h"
#include "formats/bitmap/bmp.h"
#include "formats/bruker/raw_any.h"
#include "formats/by_content.h"
#include "formats/diffracplus/dif.h"
#include "formats/diffracplus/raw.h"
#include "formats/diffracplus/signature.h"
#include "formats/diffracplus/uxd.h"
#include "formats/rigaku/ras.h"
#include "formats/text/gsas.h"
#include "formats/text/oxford.h"
#include "formats/text/peak_lists.h"
#include "formats/text/peak_writers.h"
#include "formats/text/scans.h"
#include "formats/text/text_raw_writer.h"
#include "synthesis/peaks_to_scan.h"
#if TALVO_WITH_ARCHIVES
#include "formats/bruker/brml.h"
#include "formats/panalytical/xrdml.h"
#include "formats/rigaku/rasx.h"
#endif

namespace talvo {

namespace {

namespace sig = signature;

Signature_Rule Reads(int16_t code, const char* name, Reader_Fn read, bool busy = true) {
  return {code, Reader{name, std::move(read), busy}, nullptr, nullptr};
}
Signature_Rule Refuses(int16_t code, const char* refusal) {
  return {code, std::nullopt, refusal, nullptr};
}

const Signature_Rule Dif1_Refused = Refuses(sig::Dif1, text::Dif1_Not_Supported);
const Signature_Rule Dif2_Read = Reads(sig::Dif2, "Read_Dif", Read_Dif);
const Signature_Rule Raw1_Read = Reads(sig::Raw1, "Read_Raw1", Read_Raw1);
const Signature_Rule Raw2_Read = Reads(sig::Raw2, "Read_Raw2", Read_Raw2, false);  // leaves the pointer alone

Signature_Rule With_Preview_Refusal(Signature_Rule rule, const char* refusal) {
  rule.preview_refusal = refusal;
  return rule;
}

// The XML and zip formats, left out of a build without pugixml and libzip.
std::vector<Input_Type> Archive_Types() {
#if TALVO_WITH_ARCHIVES
  return {
      {.key = "xrdml",
       .name = "XRDML (PANalytical)",
       .pattern = "*.xrdml",
       .rules = {Reads(Any_Code, "Read_Xrdml", Read_Xrdml)},
       .layer = Layer::Today},
      {.key = "rasx",
       .name = "Rigaku RASX",
       .pattern = "*.rasx",
       .rules = {Reads(Any_Code, "Read_Rasx", Read_Rasx)},
       .layer = Layer::Today},
      {.key = "brml",
       .name = "Bruker BRML",
       .pattern = "*.brml",
       .rules = {Reads(Any_Code, "Read_Brml", Read_Brml)},
       .layer = Layer::Today},
  };
#else
  return {};
#endif
}

std::vector<Input_Type> Input_Types() {
  const auto preview_refuses = With_Preview_Refusal;
  std::vector<Input_Type> types = {
      {.key = "dif",
       .name = "Diffrac-Plus DIF",
       .pattern = "*.dif",
       .rules = {Dif1_Refused, Dif2_Read, preview_refuses(Refuses(sig::Dif3, text::Dif3_Not_Supported), text::Not_Dif),
                 Refuses(Any_Code, text::Not_Dif)},
       .peak_lists = true},
      {.key = "raw",
       .name = "Diffrac-Plus RAW",
       .pattern = "*.raw",
       .rules = {Raw1_Read, Raw2_Read, Refuses(sig::Raw3, text::Raw3_Not_Supported), Refuses(Any_Code, text::Not_Raw)}},
      {.key = "uxd",
       .name = "Universal X-Ray Data",
       .pattern = "*.uxd",
       .rules = {Reads(Any_Code, "Read_Uxd", Read_Uxd)},
       .peak_lists = true,
       .uses_held_wavelength = true},
      {.key = "text-di",
       .name = "Formatted text (D/I)",
       .pattern = "*.txt",
       .rules = {preview_refuses(Reads(Any_Code, "Read_Text_DI", Read_Text_DI), text::Text_Preview_Unavailable)},
       .peak_lists = true},
      {.key = "diamond",
       .name = "Diamond text (D/I)",
       .pattern = "*.txt",
       .rules = {preview_refuses(Reads(Any_Code, "Read_Diamond", Read_Diamond), text::Text_Preview_Unavailable)},
       .peak_lists = true},
      {.key = "text-raw",
       .name = "Formatted text (RAW)",
       .pattern = "*.txt",
       .rules = {Reads(Any_Code, "Read_Text_Raw", Read_Text_Raw)}},
      {.key = "gsas",
       .name = "GSAS text raw data (gsas)",
       .pattern = "*.gsas",
       .rules = {Reads(Any_Code, "Read_Gsas", Read_Gsas)},
       .import_dialog = true},
      {.key = "xye",
       .name = "Mercury text raw data (xye)",
       .pattern = "*.xye",
       .rules = {Reads(Any_Code, "Read_Xye", Read_Xye)}},
      {.key = "oxford",
       .name = "Oxford text raw data (dat)",
       .pattern = "*.dat",
       .rules = {Reads(Any_Code, "Read_Oxford", Read_Oxford)},
       .import_dialog = true},
      {.key = "auto",
       .name = "Automatic (by signature)",
       .pattern = "*.*",
       .rules = {Dif1_Refused, Dif2_Read, Raw1_Read, Raw2_Read,
                 preview_refuses(Reads(sig::Raw_Ascii, "Read_Raw_Ascii", Read_Raw_Ascii),
                                 text::Unknown_Signature_Preview),
                 preview_refuses(Refuses(Any_Code, text::Unknown_Signature_Convert), text::Unknown_Signature_Preview)},
       .peak_lists = true},
      // Today's types.
      // Bruker RAW of every version and Rigaku RAS, each range of a file
      // read, the one asked for stored.
      {.key = "raw-any",
       .name = Raw_Any_Type,
       .pattern = "*.raw",
       .rules = {Reads(Any_Code, "Read_Raw_Any", Read_Raw_Any)},
       .layer = Layer::Today},
      {.key = "ras",
       .name = Ras_Type,
       .pattern = "*.ras",
       .rules = {Reads(Any_Code, "Read_Ras", Read_Ras)},
       .layer = Layer::Today},
  };
  for (auto& type : Archive_Types()) types.push_back(std::move(type));
  // Last: every type above, found from the file's content.
  types.push_back({.key = "any",
                   .name = "Any type (by content)",
                   .pattern = "*.*",
                   .rules = {Reads(Any_Code, "Read_By_Content", Read_By_Content)},
                   .peak_lists = true,
                   .uses_held_wavelength = true,
                   .layer = Layer::Today});
  return types;
}

// The peak-list formats refuse a step scan; the step-scan formats take a
// scan directly and synthesise one from a peak list first.
const Output_Rule Cannot_Do_That = {nullptr, false, text::Cannot_Do_That, Icon::Exclamation, false};
Output_Rule Writes(Writer_Fn writer, bool synthesise = false) {
  return {std::move(writer), synthesise};
}
Output_Rule Not_Yet(const char* message) {
  return {nullptr, false, message, Icon::None, true};
}
Output_Rule Warns(const char* message) {
  return {nullptr, false, message, Icon::Exclamation, false};
}

// A scan format of today: a peak list is synthesised into a scan first.
Output_Type Analysis_Output(std::string_view key, std::string_view name, std::string_view pattern, Writer_Fn writer) {
  return {.key = key,
          .name = name,
          .pattern = pattern,
          .scan = Writes(writer),
          .peaks = Writes(writer, true),
          .layer = Layer::Today,
          .file_angles = true};
}

std::vector<Output_Type> Output_Types() {
  return {
      {"dif", "Diffrac-Plus DIF", "*.dif", Cannot_Do_That, Not_Yet(text::Dif_Not_Yet)},
      {"raw2", "Diffrac-Plus RAW (Version 2)", "*.raw", Writes(Write_Raw2), Writes(Write_Raw2, true)},
      {"uxd", "Universal X-Ray Data", "*.uxd", Cannot_Do_That, Not_Yet(text::Uxd_Not_Yet)},
      {"text-di", "Formatted text (D/I)", "*.txt", Warns(text::Kitchen), Warns(text::Kitchen)},
      {"text-raw", "Formatted text (RAW)", "*.txt", Writes(Write_Text_Raw), Warns(text::Choose_UFit)},
      {"treor", "Treor", "*.tre", Cannot_Do_That, Writes(Write_Treor)},
      {"ufit", "U-Fit", "*.dif", Cannot_Do_That, Writes(Write_UFit)},
      {"bmp", "Windows Bitmap", "*.bmp", Writes(Write_Bmp), Writes(Write_Bmp, true)},
      // Today's analysis formats: any length, the file's own angles.
      Analysis_Output("xye", "xye (2θ, intensity, uncertainty)", "*.xye", Write_Xye),
      Analysis_Output("xy", "Two-column text (2θ, intensity)", "*.xy", Write_Xy),
      Analysis_Output("csv", "CSV (2θ, intensity, uncertainty)", "*.csv", Write_Csv),
      Analysis_Output("fxye", "GSAS FXYE", "*.fxye", Write_Fxye),
      Analysis_Output("cif", "Powder CIF (pdCIF)", "*.cif", Write_Cif),
  };
}

}  // namespace

const Registry& Format_Table() {
  static const Registry registry = {
      Input_Types(),
      Output_Types(),
      Load_Input_File,
      [](const Input_File& file, Store& store) { return File_Signature(file, store); },
      {Prepare_Synthesis, Synthesise_Scan},
  };
  return registry;
}

}  // namespace talvo
