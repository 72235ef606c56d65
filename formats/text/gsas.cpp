// GSAS raw-data scans with standard uncertainties ("ESD" records):
//   line 1      the title, whose first 32 characters name the sample
//   line 2      the bank line, read by columns (1-based, inclusive):
//                 1-4 "BANK", 5-7 bank number, 8-12 a whole number,
//                 13-17 the number of data records R, 19-23 the bin type,
//                 25-34 the start and 36-45 the step in centidegrees 2-theta,
//                 47 and 49 one digit each, 51-53 "ESD"
//   then R records of five intensity/uncertainty pairs, each number
//   right-aligned in 8 columns over 80. The counts as written and their
//   uncertainties go to the extras too.
// Leading points without counts are dropped and the start moved past them.
// Every point is read, however many: the import dialog's count limits the
// points written.
// The wavelength is not in the file: molybdenum K-alpha 1 is proposed, and
// the import dialog asks for the counting time, the range and the wavelength.
// A file whose second line is no such bank line is read as GSAS itself
// writes it, by gsas_free.cpp.
#include "formats/text/gsas.h"

#include <cmath>
#include <vector>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/text/free_format.h"
#include "formats/text/gsas_free.h"

namespace talvo {

namespace {

constexpr const char* Bank_Line_Message =
    "Erreur innatendue : deuxième ligne de gsas ne commence pas par \"BANK\" ou ne finit pas par \"ESD\"";

constexpr std::size_t Record_Width = 80;

// Columns first..last (1-based, inclusive) of a line, blank where the line is
// shorter.
std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
  std::string cut = first <= line.size() ? line.substr(first - 1, last - first + 1) : std::string();
  cut.resize(last - first + 1, ' ');
  return cut;
}

// A record as read has lost the blanks in front of its first number: put
// back as many as bring the end of that number to column 8. A first blank
// beyond column 9 leaves the record as it is.
std::string Realigned(std::string record) {
  record.resize(Record_Width, ' ');
  const auto blank = record.find(' ');
  const std::size_t b = blank == std::string::npos ? 0 : blank + 1;
  if (b > 9) return record;
  record.insert(0, 9 - b, ' ');
  record.resize(Record_Width);
  return record;
}

// The wavelength is not in the file: the import dialog proposes this one.
void Propose_Molybdenum(Store& store) {
  store.Lambda1 = Molybdenum_K_Alpha1;
  store.Lambda2 = Molybdenum_K_Alpha1;
}

}  // namespace

Read_Result Read_Gsas(const Input_File& source, Store& store) {
  Text_Input in(source.bytes, source.name);
  const std::string title = in.At_End() ? std::string() : in.Read_Line();
  const std::string bank = in.Only_Blanks_Remain() ? std::string() : in.Read_Text_Field();
  if (Columns(bank, 1, 4) != "BANK" || Columns(bank, 51, 53) != "ESD") {
    auto result = Read_Gsas_Free(source.bytes, in.file_name(), store);
    if (!result) throw Failure(Bank_Line_Message, Icon::None);
    Propose_Molybdenum(store);
    return *result;
  }

  store.Sample_ID = Fit32(title);
  const int32_t records = Round_To_Int32(Leading_Number(Columns(bank, 13, 17))).value_or(0);
  store.Range_Limits[0] = Leading_Number(Columns(bank, 25, 34)) / 100;
  store.Step_Size = Leading_Number(Columns(bank, 36, 45)) / 100;
  store.Time_Step = 1.0f;
  store.Max_Intensity = 0.0;
  store.Nb_Points = 0;

  std::vector<float> kept(1, 0.0f);  // slot 0 holds no point
  std::vector<double> counts(1, 0.0), sigmas(1, 0.0);
  bool dropping = true;
  int32_t dropped = 0;
  // A file that ends before its R records keeps the points it holds.
  for (int32_t r = 1; r <= records && !in.Only_Blanks_Remain(); ++r) {
    const std::string record = Realigned(in.Read_Text_Field("a data record"));
    for (std::size_t k = 1; k <= 5; ++k) {
      const double value = Gsas_Value(std::string_view(record).substr(16 * k - 16, 8));
      const auto intensity = static_cast<float>(value);
      if (dropping) {
        if (!(intensity > 0)) {
          ++dropped;
          continue;
        }
        dropping = false;
        store.Range_Limits[0] = dropped * store.Step_Size + store.Range_Limits[0];
      }
      kept.push_back(intensity);
      counts.push_back(value);
      sigmas.push_back(Gsas_Value(std::string_view(record).substr(16 * k - 8, 8)));
    }
  }
  if (dropping)
    throw Failure(in.file_name() +
                  " holds no intensity above 0 in the records its bank line announces; nothing was "
                  "read.");
  store.Nb_Points = static_cast<int32_t>(kept.size() - 1);
  store.Intensities = std::move(kept);
  store.Extras.Counts = std::move(counts);
  store.Extras.Uncertainties = std::move(sigmas);
  Set_Scan_Items(store);
  Read_Result result;
  if (auto warning = Gsas_Early_End(in.file_name(), records, Gsas_Records_After_Line_2(source.bytes)))
    result.warnings.push_back(*warning);
  Propose_Molybdenum(store);
  return result;
}

}  // namespace talvo
