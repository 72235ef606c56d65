// The bank line, blank-separated:
//   BANK ibank nchan nrec bintyp bcoef1 bcoef2 [bcoef3 bcoef4] [type]
// nchan points in nrec records. Bin type CONST (or CONS) gives the start and
// the step in centidegrees 2-theta in bcoef1 and bcoef2. The type word names
// the record layout:
//   ESD       five count / uncertainty pairs in 8-character fields
//   STD, none ten 8-character count fields, each either a plain count or a
//             2-character counter number and a 6-character count
//   FXYE      one point per line: x, count, uncertainty
// The bin types SLOG, TIME_MAP and RALF, the type ALT, and every bank after
// a TIME_MAP block are time-of-flight data, which has no 2-theta scale.
// The bank line is the first line after the title that begins with "BANK",
// whatever stands before it (comments, the instrument parameter file, the
// monitor count, time maps).
#include "formats/text/gsas_free.h"

#include <cmath>
#include <vector>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/lines.h"

namespace talvo {

namespace {

enum class Layout { Esd, Std, Fxye };

struct Bank {
  std::string line;
  std::string bin_type;
  std::string type;  // "" when the line has no type word
  int64_t points = 0;
  int64_t records = 0;
  double start = 0;  // degrees
  double step = 0;
};

bool Begins_With(std::string_view line, std::string_view prefix) {
  return line.substr(0, prefix.size()) == prefix;
}

// A whole word that is a number, or empty.
std::optional<double> Number_Word(std::string_view word) {
  const Leading number = Parse_Leading_Number(word);
  if (!number.found || number.length != word.size() || !std::isfinite(number.value)) return std::nullopt;
  return number.value;
}

[[noreturn]] void Refuse(const std::string& file_name, const std::string& reason) {
  throw Failure(file_name + " " + reason + "; nothing was read.");
}

Bank Bank_Of(std::string_view line, const std::string& file_name) {
  const auto words = Words_Of(line);
  Bank bank;
  bank.line = std::string(line);
  if (words.size() < 7 || words[0] != "BANK")
    Refuse(file_name, "has a bank line that does not read: \"" + bank.line + "\"");
  const auto points = Number_Word(words[2]);
  const auto records = Number_Word(words[3]);
  const auto start = Number_Word(words[5]);
  const auto step = Number_Word(words[6]);
  if (!points || !records || !start || !step || *points < 0 || *records < 0 || *points != std::floor(*points) ||
      *records != std::floor(*records) || *points > 1e9 || *records > 1e9)
    Refuse(file_name,
           "has a bank line that does not give its point count, record count, start and step: \"" + bank.line + "\"");
  bank.points = static_cast<int64_t>(*points);
  bank.records = static_cast<int64_t>(*records);
  bank.bin_type = std::string(words[4]);
  bank.start = *start / 100;
  bank.step = *step / 100;
  if (words.size() > 7 && !Number_Word(words.back())) bank.type = std::string(words.back());
  return bank;
}

bool Is_Angle_Scan(const Bank& bank) {
  return (bank.bin_type == "CONST" || bank.bin_type == "CONS") && bank.type != "ALT";
}

bool Is_Time_Of_Flight_Line(std::string_view line) {
  const auto words = Words_Of(line);
  if (words.size() < 5) return false;
  const auto bin_type = words[4];
  return words.back() == "ALT" || bin_type == "SLOG" || bin_type == "TIME_MAP" || bin_type == "RALF";
}

// Empty for a type word GSAS does not write.
std::optional<Layout> Layout_Of(const Bank& bank) {
  if (bank.type == "ESD") return Layout::Esd;
  if (bank.type == "STD" || bank.type.empty()) return Layout::Std;
  if (bank.type == "FXYE") return Layout::Fxye;
  return std::nullopt;
}

std::string_view Field(std::string_view record, std::size_t first, std::size_t width) {
  return first < record.size() ? record.substr(first, width) : std::string_view();
}

// "(I2,F6.0)": a counter number in front of the count makes two words of the
// 8 characters; a plain count is one.
std::string_view Std_Count(std::string_view field) {
  return Words_Of(field).size() == 2 ? field.substr(2) : field;
}

// The points of a bank: counts, and where the layout gives them, the
// uncertainty and (FXYE) the angle of each, point 1 first.
struct Bank_Data {
  std::vector<double> counts;
  std::vector<double> sigmas;
  std::vector<double> angles;  // degrees
  bool angles_read = true;     // every FXYE x is a number
  int64_t records_found = 0;

  void Resize(std::size_t n) {
    for (auto* values : {&counts, &sigmas, &angles})
      if (values->size() > n) values->resize(n);
  }
};

// Appends the record's points; returns how many of them stand in the line
// rather than past its end.
std::size_t Add_Record(std::string_view record, Layout layout, Bank_Data& data) {
  const auto present = [&record](std::size_t first) { return first < record.size() ? 1 : 0; };
  std::size_t written = 0;
  switch (layout) {
    case Layout::Esd:
      for (std::size_t k = 0; k < 5; ++k) {
        data.counts.push_back(Gsas_Value(Field(record, 16 * k, 8)));
        data.sigmas.push_back(Gsas_Value(Field(record, 16 * k + 8, 8)));
        written += present(16 * k);
      }
      break;
    case Layout::Std:
      for (std::size_t k = 0; k < 10; ++k) {
        data.counts.push_back(Gsas_Value(Std_Count(Field(record, 8 * k, 8))));
        written += present(8 * k);
      }
      break;
    case Layout::Fxye: {
      // x in centidegrees, the count, its uncertainty.
      const auto words = Words_Of(record);
      const auto x = words.empty() ? std::nullopt : Number_Word(words[0]);
      data.angles_read = data.angles_read && x.has_value();
      data.angles.push_back(x.value_or(0) / 100);
      data.counts.push_back(words.size() > 1 ? Gsas_Value(words[1]) : 0.0);
      data.sigmas.push_back(words.size() > 2 ? Gsas_Value(words[2]) : 0.0);
      written = 1;
      break;
    }
  }
  return written;
}

// The records after the bank line at `at`, up to the next bank or the end.
Bank_Data Read_Records(const std::vector<std::string_view>& lines, std::size_t at, const Bank& bank, Layout layout) {
  Bank_Data data;
  std::size_t last_written = 0;
  for (std::size_t i = at + 1; i < lines.size() && data.records_found < bank.records; ++i) {
    if (Begins_With(lines[i], "BANK")) break;
    if (Is_Blank_Line(lines[i])) continue;
    ++data.records_found;
    const std::size_t before = data.counts.size();
    last_written = before + Add_Record(lines[i], layout, data);
  }
  // The last record of a file cut short ends where its line ends.
  if (data.records_found < bank.records) data.Resize(last_written);
  // Fields after the last point fill the last record; they are not data.
  if (static_cast<int64_t>(data.counts.size()) > bank.points) data.Resize(static_cast<std::size_t>(bank.points));
  if (!data.angles_read) data.angles.clear();
  return data;
}

// Slot 0 empty, then the values from point dropped + 1 on; empty stays empty.
std::vector<double> Kept(const std::vector<double>& values, std::size_t dropped) {
  if (values.empty()) return {};
  std::vector<double> kept(1, 0.0);
  kept.insert(kept.end(), values.begin() + static_cast<std::ptrdiff_t>(dropped), values.end());
  return kept;
}

void Fill_Store(const std::string& title, const Bank& bank, const Bank_Data& data, std::size_t dropped, Store& store) {
  store.Sample_ID = Fit32(title);
  store.Range_Limits[0] = static_cast<double>(dropped) * bank.step + bank.start;
  store.Step_Size = bank.step;
  store.Time_Step = 1.0f;
  store.Intensities.assign(1, 0.0f);
  for (std::size_t k = dropped; k < data.counts.size(); ++k)
    store.Intensities.push_back(static_cast<float>(data.counts[k]));
  store.Extras.Counts = Kept(data.counts, dropped);
  store.Extras.Uncertainties = Kept(data.sigmas, dropped);
  store.Extras.Angles = Kept(data.angles, dropped);
  store.Nb_Points = static_cast<int32_t>(store.Intensities.size() - 1);
  Set_Scan_Items(store);
}

std::optional<std::size_t> First_Bank_Line(const std::vector<std::string_view>& lines) {
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (Begins_With(lines[i], "BANK")) return i;
  return std::nullopt;
}

}  // namespace

double Gsas_Value(std::string_view field) {
  const double value = Leading_Number(field);
  return std::isfinite(static_cast<float>(value)) ? value : 0.0;
}

std::optional<Read_Result> Read_Gsas_Free(std::span<const uint8_t> bytes, const std::string& file_name, Store& store) {
  const auto lines = Split_Lines(bytes);
  const auto first = First_Bank_Line(lines);
  if (!first) return std::nullopt;
  std::string other_bin_type;
  bool time_of_flight = false;
  bool after_time_map = false;  // a time map gives the banks after it time-of-flight bins
  for (std::size_t at = 1; at < lines.size(); ++at) {
    if (Begins_With(lines[at], "TIME_MAP")) after_time_map = true;
    if (!Begins_With(lines[at], "BANK")) continue;
    // A time-of-flight bank line need not carry the coefficients of an
    // angle scan ("BANK 1 2000 400 TIME_MAP 1").
    if (after_time_map || Is_Time_Of_Flight_Line(lines[at])) {
      time_of_flight = true;
      continue;
    }
    const Bank bank = Bank_Of(lines[at], file_name);
    if (!Is_Angle_Scan(bank)) {
      if (other_bin_type.empty()) other_bin_type = bank.bin_type;
      continue;
    }
    const auto layout = Layout_Of(bank);
    if (!layout) return std::nullopt;
    const Bank_Data data = Read_Records(lines, at, bank, *layout);
    std::size_t dropped = 0;
    while (dropped < data.counts.size() && !(static_cast<float>(data.counts[dropped]) > 0)) ++dropped;
    if (dropped == data.counts.size())
      Refuse(file_name, "holds no intensity above 0 in the records its bank line announces");
    Read_Result result;
    if (auto warning = Gsas_Early_End(file_name, bank.records, data.records_found)) result.warnings.push_back(*warning);
    Fill_Store(std::string(lines[0]), bank, data, dropped, store);
    return result;
  }
  if (time_of_flight) Refuse(file_name, "holds time-of-flight data, not an angle scan");
  Refuse(file_name,
         "has no bank of a constant step in 2-theta (bin type CONST); its bin type is \"" + other_bin_type + "\"");
}

int32_t Gsas_Records_After_Line_2(std::span<const uint8_t> bytes) {
  const auto lines = Split_Lines(bytes);
  int32_t records = 0;
  for (std::size_t i = 2; i < lines.size(); ++i)
    if (!Is_Blank_Line(lines[i])) ++records;
  return records;
}

std::optional<Read_Result::Warning> Gsas_Early_End(const std::string& file_name, int64_t announced, int64_t found) {
  if (found >= announced) return std::nullopt;
  return Read_Result::Warning{file_name + " ends after " + std::to_string(found) + " of the " +
                                  std::to_string(announced) +
                                  " data records its bank line announces; the points of those records were kept.",
                              true};
}

}  // namespace talvo
