#include "core/dispatch.h"

#include <optional>
#include <vector>

#include "core/failure.h"
#include "core/messages.h"
#include "core/output_guard.h"

namespace talvo {

namespace {

constexpr int16_t Any = 0;  // no signature code is 0: the row matches every code

// One row of an input table: for an input type and a signature code, either
// a reader (by member of Format_Functions) or a refusal message.
struct Input_Row {
  const char* type;
  int16_t code;  // Any matches every code not listed before it
  Reader Format_Functions::*reader;
  const char* message;
};

using F = Format_Functions;

const std::vector<Input_Row> Convert_Table = {
    {"Diffrac-Plus DIF", 1, nullptr, text::Dif1_Not_Supported},
    {"Diffrac-Plus DIF", 2, &F::Read_Dif, nullptr},
    {"Diffrac-Plus DIF", 9, nullptr, text::Dif3_Not_Supported},
    {"Diffrac-Plus DIF", Any, nullptr, text::Not_Dif},
    {"Diffrac-Plus RAW", 3, &F::Read_Raw1, nullptr},
    {"Diffrac-Plus RAW", 4, &F::Read_Raw2, nullptr},
    {"Diffrac-Plus RAW", 7, nullptr, text::Raw3_Not_Supported},
    {"Diffrac-Plus RAW", Any, nullptr, text::Not_Raw},
    {"Universal X-Ray Data", Any, &F::Read_Uxd, nullptr},
    {"Formatted text (D/I)", Any, &F::Read_Text_DI, nullptr},
    {"Diamond text (D/I)", Any, &F::Read_Diamond, nullptr},
    {"Formatted text (RAW)", Any, &F::Read_Text_Raw, nullptr},
    {"Mercury text raw data (xye)", Any, &F::Read_Xye, nullptr},
    {"GSAS text raw data (gsas)", Any, &F::Read_Gsas, nullptr},
    {"Oxford text raw data (dat)", Any, &F::Read_Oxford, nullptr},
    {"Automatic (by signature)", 1, nullptr, text::Dif1_Not_Supported},
    {"Automatic (by signature)", 2, &F::Read_Dif, nullptr},
    {"Automatic (by signature)", 3, &F::Read_Raw1, nullptr},
    {"Automatic (by signature)", 4, &F::Read_Raw2, nullptr},
    {"Automatic (by signature)", 8, &F::Read_Raw_Ascii, nullptr},
    {"Automatic (by signature)", Any, nullptr, text::Unknown_Signature_Convert},
};

// "Formatted text (RAW)", GSAS and Oxford are read as Convert reads them, so
// the window never shows an earlier file's pattern under this file's name.
const std::vector<Input_Row> Preview_Table = {
    {"Diffrac-Plus DIF", 1, nullptr, text::Dif1_Not_Supported},
    {"Diffrac-Plus DIF", 2, &F::Read_Dif, nullptr},
    {"Diffrac-Plus DIF", Any, nullptr, text::Not_Dif},
    {"Diffrac-Plus RAW", 3, &F::Read_Raw1, nullptr},
    {"Diffrac-Plus RAW", 4, &F::Read_Raw2, nullptr},
    {"Diffrac-Plus RAW", 7, nullptr, text::Raw3_Not_Supported},
    {"Diffrac-Plus RAW", Any, nullptr, text::Not_Raw},
    {"Universal X-Ray Data", Any, &F::Read_Uxd, nullptr},
    {"Formatted text (D/I)", Any, nullptr, text::Text_Preview_Unavailable},
    {"Diamond text (D/I)", Any, nullptr, text::Text_Preview_Unavailable},
    {"Formatted text (RAW)", Any, &F::Read_Text_Raw, nullptr},
    {"Mercury text raw data (xye)", Any, &F::Read_Xye, nullptr},
    {"GSAS text raw data (gsas)", Any, &F::Read_Gsas, nullptr},
    {"Oxford text raw data (dat)", Any, &F::Read_Oxford, nullptr},
    {"Automatic (by signature)", 1, nullptr, text::Dif1_Not_Supported},
    {"Automatic (by signature)", 2, &F::Read_Dif, nullptr},
    {"Automatic (by signature)", 3, &F::Read_Raw1, nullptr},
    {"Automatic (by signature)", 4, &F::Read_Raw2, nullptr},
    {"Automatic (by signature)", Any, nullptr, text::Unknown_Signature_Preview},
};

const Input_Row* Find_Row(const std::vector<Input_Row>& table, const std::string& type, int16_t code) {
  for (const auto& row : table)
    if (type == row.type && (row.code == code || row.code == Any)) return &row;
  return nullptr;
}

enum class Kind { Message, Warning };

// One row of the output table, for a step scan (P false) or a peak list.
struct Output_Row {
  const char* type;
  bool peak_list;
  bool synthesise;
  Writer Format_Functions::*writer;
  const char* message;
  Kind kind;
  bool event_step;  // let events run after the message
};

const std::vector<Output_Row> Output_Table = {
    {"Diffrac-Plus DIF", false, false, nullptr, text::Cannot_Do_That, Kind::Warning, false},
    {"Diffrac-Plus DIF", true, false, nullptr, text::Dif_Not_Yet, Kind::Message, true},
    {"Diffrac-Plus RAW (Version 2)", false, false, &F::Write_Raw2, nullptr, Kind::Message, false},
    {"Diffrac-Plus RAW (Version 2)", true, true, &F::Write_Raw2, nullptr, Kind::Message, false},
    {"Universal X-Ray Data", false, false, nullptr, text::Cannot_Do_That, Kind::Warning, false},
    {"Universal X-Ray Data", true, false, nullptr, text::Uxd_Not_Yet, Kind::Message, true},
    {"Formatted text (RAW)", false, false, &F::Write_Text_Raw, nullptr, Kind::Message, false},
    {"Formatted text (RAW)", true, false, nullptr, text::Choose_UFit, Kind::Warning, false},
    {"Treor", false, false, nullptr, text::Cannot_Do_That, Kind::Warning, false},
    {"Treor", true, false, &F::Write_Treor, nullptr, Kind::Message, false},
    {"U-Fit", false, false, nullptr, text::Cannot_Do_That, Kind::Warning, false},
    {"U-Fit", true, false, &F::Write_UFit, nullptr, Kind::Message, false},
    {"Windows Bitmap", false, false, &F::Write_Bmp, nullptr, Kind::Message, false},
    {"Windows Bitmap", true, true, &F::Write_Bmp, nullptr, Kind::Message, false},
};

const Output_Row Kitchen_Row = {"", false, false, nullptr, text::Kitchen, Kind::Warning, false};

const Output_Row& Find_Output(const std::string& type, bool peak_list) {
  for (const auto& row : Output_Table)
    if (type == row.type && row.peak_list == peak_list) return row;
  return Kitchen_Row;
}

void Refuse(Platform& platform, const char* message, Kind kind = Kind::Message) {
  platform.Show_Message(message, kind == Kind::Warning ? Icon::Exclamation : Icon::None, Program_Title);
}

void Report(Platform& platform, const Failure& failure) {
  platform.Set_Busy(false);
  platform.Show_Message(failure.what(), failure.icon(), Program_Title);
}

// Classifies the file and runs the reader its row names, on a copy of the
// store that is kept only when the reader finished. False when the file was
// refused or failed; the user has been told.
bool Read_Input(Session& session, const std::vector<Input_Row>& table, const std::string& infile) {
  Store work = session.store;
  const int16_t code = session.formats.File_Signature(infile, work);
  const Input_Row* row = Find_Row(table, session.lists.Input_Choice.Text, code);
  if (row == nullptr) return true;  // a typed text that names no type: nothing is read
  if (row->message != nullptr) {
    session.platform.Set_Busy(false);
    Refuse(session.platform, row->message);
    return false;
  }
  const Reader& reader = session.formats.*(row->reader);
  reader(infile, work, session.platform);
  session.store = std::move(work);
  return true;
}

}  // namespace

void Convert(Session& session, const std::string& infile, const std::string& outfile) {
  if (auto refusal = Output_Refusal(infile, outfile))
    return session.platform.Show_Message(*refusal, Icon::Critical, Program_Title);
  try {
    if (!Read_Input(session, Convert_Table, infile)) return;
    const Output_Row& row = Find_Output(session.lists.Output_Choice.Text, session.store.Is_Peak_List != 0);
    if (row.message != nullptr) {
      Refuse(session.platform, row.message, row.kind);
      if (row.event_step) session.platform.Do_Events();
      return;
    }
    if (row.synthesise) {
      Store work = session.store;
      session.formats.Peaks_To_Scan(work, session.platform);
      session.store = std::move(work);
    }
    const Writer& writer = session.formats.*(row.writer);
    writer(outfile, session.store, session.platform);
    session.platform.Do_Events();
  } catch (const Failure& failure) {
    Report(session.platform, failure);
  }
}

void Preview(Session& session, const std::string& infile) {
  try {
    session.platform.Set_Busy(true);
    if (!Read_Input(session, Preview_Table, infile)) return;
    session.platform.Show_Preview(session.store);
    session.platform.Do_Events();
  } catch (const Failure& failure) {
    Report(session.platform, failure);
  }
}

}  // namespace talvo
