#include "core/dispatch.h"

#include "core/cp1252.h"
#include "core/failure.h"
#include "core/messages.h"
#include "core/output_guard.h"
#include "core/path_names.h"
#include "core/scan_range.h"
#include "core/text32.h"
#include "core/uneven_steps.h"

namespace talvo {

namespace {

constexpr const char* Sample_Question_Title = "Désignation d'échantillon";
constexpr const char* Sample_Question_Prompt = "Quel nom voulez-vous donner à l'échantillon ";

const Output_Rule Kitchen_Rule = {nullptr, false, text::Kitchen, Icon::Exclamation, false};

// The binary header records and the second wavelength belong to the file
// being converted: a RAW version 2 file is written with the uninterpreted
// header bytes of the RAW version 2 file read in the same conversion, or
// with zero bytes when the pattern came from anything else, and with the
// second wavelength of its own file or the start-up one. The DIF header
// stays: its sample field is the title a peak list without one keeps.
void Forget_Previous_File(Store& store) {
  store.Lambda2 = Store{}.Lambda2;
  store.Raw1_Header.fill(0);
  store.Raw2_Header.fill(0);
  store.Raw2_Range_Header.fill(0);
  store.Dif_Block_Header.fill(0);
  Pattern_Extras extras;
  extras.Range_Wanted = store.Extras.Range_Wanted;
  store.Extras = std::move(extras);
}

std::string Not_An_Input_Type(std::string_view text) {
  std::string message = "\"";  // appended piece by piece: GCC 12 misreads the "+" chain
  message.append(text);
  message.append("\" is not an input type");
  return message;
}

// What the conversion says of the file beyond what its reader says.
enum class Angles_Written { From_The_File, From_Start_And_Step };

// Runs the reader on a copy of the store, asks what the file leaves to ask
// (the sample name, the import dialog), and keeps the copy only when all
// of it finished.
void Read(Session& session, const Input_Type& type, const Reader& reader, const Input_File& file,
          const std::string& title, Store& work, Angles_Written angles) {
  Platform& platform = session.platform;
  Forget_Previous_File(work);
  work.Extras.Source_File = file.name;
  if (reader.busy) platform.Set_Busy(true);
  Read_Result result = reader.read(file, work);
  if (work.Extras.Range_Wanted > work.Extras.Range_Count)
    throw No_Such_Range(file.name, work.Extras.Range_Count, work.Extras.Range_Wanted);
  // An output that writes start + k * step misplaces the points of a file
  // whose steps are uneven; the user hears of it with the reader's warnings.
  if (angles == Angles_Written::From_Start_And_Step)
    if (auto uneven = Uneven_Steps_Warning(file.name, work)) result.warnings.push_back({*uneven, true});
  if (result.proposed_sample) {
    const std::string proposed = Cp1252_To_Utf8(*result.proposed_sample);
    const auto answer = platform.Ask_Text(Sample_Question_Prompt + proposed + " ?", Sample_Question_Title, proposed);
    work.Sample_ID = Fit32(Utf8_To_Cp1252(answer.value_or(std::string())));
  }
  if (reader.busy) platform.Set_Busy(false);
  for (const auto& warning : result.warnings) {
    if (warning.in_window)
      platform.Show_Message(warning.text, Icon::Exclamation, title);
    else
      platform.Note(warning.text);
  }
  if (type.import_dialog || result.import_dialog) {
    platform.Do_Events();
    platform.Show_Oxford2Raw(work, std::string(file.bytes.begin(), file.bytes.end()));
  }
}

enum class Table { Convert, Preview };

// Classifies and reads `infile` as `input_type` into the session's store.
// Refused when the type or the file's signature turns it away; the user has
// been told.
Outcome Read_Input(Session& session, Table table, std::string_view input_type, const std::string& infile,
                   const std::string& title, Angles_Written angles = Angles_Written::From_The_File) {
  Platform& platform = session.platform;
  const Input_Type* type = session.registry.Input(input_type);
  if (type == nullptr) {
    platform.Set_Busy(false);
    platform.Show_Message(Not_An_Input_Type(input_type), Icon::Exclamation, title);
    return Outcome::Refused;
  }
  const Input_File file = session.registry.open(infile);
  Store work = session.store;
  const int16_t code = session.registry.signature(file, work);
  const Signature_Rule* rule = Rule_For(*type, code);
  const char* refusal = rule == nullptr ? nullptr : rule->refusal;
  if (table == Table::Preview && rule != nullptr && rule->preview_refusal != nullptr) refusal = rule->preview_refusal;
  if (rule == nullptr || refusal != nullptr || !rule->reader) {
    platform.Set_Busy(false);
    platform.Show_Message(refusal != nullptr ? refusal : text::Kitchen, Icon::None, title);
    return Outcome::Refused;
  }
  Read(session, *type, *rule->reader, file, title, work, angles);
  session.store = std::move(work);
  return Outcome::Converted;
}

Outcome Report(Session& session, const Failure& failure, const std::string& title) {
  Platform& platform = session.platform;
  platform.Set_Busy(false);
  platform.Show_Message(session.failure_text ? session.failure_text(failure) : failure.what(), failure.icon(), title);
  return Outcome::Failed;
}

void Synthesise(Session& session) {
  Store work = session.store;
  session.platform.Set_Busy(true);
  session.registry.synthesis.prepare(work);
  session.platform.Show_Dif2Raw(work, Dif2Raw_Opening::Before_Synthesis);
  session.registry.synthesis.compute(work);
  session.platform.Set_Busy(false);
  session.store = std::move(work);
}

// The output step: the output type's rule for the pattern the store holds,
// its refusal, or its writer (after a synthesis where the rule asks for one).
Outcome Write_Output(Session& session, std::string_view output_type, const std::string& outfile,
                     const std::string& title) {
  Platform& platform = session.platform;
  const Output_Type* type = session.registry.Output(output_type);
  const Output_Rule& rule = type ? Rule_For(*type, session.store.Is_Peak_List != 0) : Kitchen_Rule;
  if (!rule.writer) {
    platform.Show_Message(rule.refusal, rule.icon, title);
    if (rule.event_step) platform.Do_Events();
    return Outcome::Refused;
  }
  if (rule.synthesise) Synthesise(session);
  rule.writer(outfile, session.store, platform);
  platform.Do_Events();
  return Outcome::Converted;
}

}  // namespace

Outcome Worse_Of(Outcome all, Outcome one) {
  return one == Outcome::Failed || (one == Outcome::Refused && all == Outcome::Converted) ? one : all;
}

std::string Title_For(const std::string& path) {
  const std::string name = File_Name_Of(path);
  return name.empty() ? std::string(Program_Title) : std::string(Program_Title) + " \u2013 " + name;
}

Outcome Convert(Session& session, std::string_view input_type, std::string_view output_type, const std::string& infile,
                const std::string& outfile) {
  Platform& platform = session.platform;
  const std::string title = Title_For(infile);
  if (auto refusal = Output_Refusal(infile, outfile)) {
    platform.Show_Message(*refusal, Icon::Critical, title);
    return Outcome::Refused;
  }
  try {
    const Output_Type* type = session.registry.Output(output_type);
    // Only scans carry angles of their own; an output that refuses them
    // writes none.
    const Angles_Written angles = type != nullptr && !type->file_angles && type->scan.writer
                                      ? Angles_Written::From_Start_And_Step
                                      : Angles_Written::From_The_File;
    if (const Outcome read = Read_Input(session, Table::Convert, input_type, infile, title, angles);
        read != Outcome::Converted)
      return read;
    return Write_Output(session, output_type, outfile, title);
  } catch (const Failure& failure) {
    return Report(session, failure, title);
  }
}

Outcome Read_Only(Session& session, std::string_view input_type, const std::string& infile) {
  const std::string title = Title_For(infile);
  try {
    return Read_Input(session, Table::Convert, input_type, infile, title);
  } catch (const Failure& failure) {
    return Report(session, failure, title);
  }
}

Outcome Write_Only(Session& session, std::string_view output_type, const std::string& outfile) {
  Platform& platform = session.platform;
  const std::string title = Title_For(outfile);
  if (auto refusal = Output_Refusal(std::string(), outfile)) {
    platform.Show_Message(*refusal, Icon::Critical, title);
    return Outcome::Failed;
  }
  try {
    return Write_Output(session, output_type, outfile, title);
  } catch (const Failure& failure) {
    const Outcome outcome = Report(session, failure, title);
    return failure.kind() == Failure_Kind::Output_Unwritable ? outcome : Outcome::Refused;
  }
}

Outcome Preview(Session& session, std::string_view input_type, const std::string& infile) {
  Platform& platform = session.platform;
  const std::string title = Title_For(infile);
  try {
    platform.Set_Busy(true);
    if (const Outcome read = Read_Input(session, Table::Preview, input_type, infile, title); read != Outcome::Converted)
      return read;
    platform.Show_Preview(session.store);
    platform.Do_Events();
    return Outcome::Converted;
  } catch (const Failure& failure) {
    return Report(session, failure, title);
  }
}

Outcome Convert_Call(Session& session, std::string_view input_type, std::string_view output_type,
                     const Conversion_Call& call) {
  Pattern_Extras& extras = session.store.Extras;
  if (call.range != All_Ranges) {
    extras.Range_Wanted = call.range;
    return Convert(session, input_type, output_type, call.infile, call.outfile);
  }
  extras.Range_Wanted = 1;
  Outcome all = Convert(session, input_type, output_type, call.infile, Range_Output(call.outfile, 1));
  if (all != Outcome::Converted) return all;
  const int32_t count = extras.Range_Count;
  for (int32_t number = 2; number <= count; ++number) {
    extras.Range_Wanted = number;
    all = Worse_Of(all, Convert(session, input_type, output_type, call.infile, Range_Output(call.outfile, number)));
  }
  extras.Range_Wanted = 0;
  return all;
}

void For_Each_File(Platform& platform, const std::vector<Conversion_Call>& calls,
                   const std::function<bool(const Conversion_Call&)>& convert) {
  for (const auto& call : calls) {
    platform.Do_Events();
    if (!convert(call)) return;
  }
}

}  // namespace talvo
