// Every RAW version under one type. The version is told by the file's first
// bytes; versions 1 and 2 are read exactly as the Diffrac-Plus RAW type reads
// them, versions 3 and 4 by their own readers, which store the range the
// conversion asks for.
#include "formats/bruker/raw_any.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <string_view>

#include "core/cp1252.h"
#include "core/failure.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/diffracplus/raw.h"

namespace talvo {

namespace {

bool Begins_With(const Input_File& source, std::string_view signature) {
  return source.bytes.size() >= signature.size() &&
         std::string_view(reinterpret_cast<const char*>(source.bytes.data()), signature.size()) == signature;
}

// Versions 1 and 2 are read as far as their first range, as the system's
// type reads them; another range cannot be had from them.
Read_Result First_Range_Only(Read_Result (*reader)(const Input_File&, Store&), const char* version,
                             const Input_File& source, Store& store) {
  const int32_t wanted = store.Extras.Range_Wanted;
  if (wanted != 0 && wanted != 1)
    throw Failure(source.name + " is a RAW " + version + " file, of which only the first range is read; there is " +
                  "no range " + std::to_string(wanted) + " to convert.");
  Read_Result result = reader(source, store);
  store.Extras.Source_Type = Raw_Any_Type;
  return result;
}

bool Usable(double value) {
  return std::isfinite(value) && value > 0 && value < 1e6;
}

// "CU" as "Cu": element symbols are written capitalised.
std::string Element(const std::string& text) {
  std::string symbol;
  for (const char c : text)
    if (std::isalpha(static_cast<unsigned char>(c)) != 0)
      symbol += static_cast<char>(symbol.empty() ? std::toupper(static_cast<unsigned char>(c))
                                                 : std::tolower(static_cast<unsigned char>(c)));
  return symbol;
}

}  // namespace

double Raw_F64(const Bytes_View& file, std::size_t offset, const std::string& what) {
  const std::string bytes = file.Text(offset, 8, what);
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<uint8_t>(bytes[static_cast<std::size_t>(i)]);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}

std::vector<double> Raw_Counts(const Bytes_View& file, std::size_t at, std::size_t n) {
  const std::string what = "the counts";
  file.Need(at, 4 * n, what);
  std::vector<double> counts;
  counts.reserve(n);
  for (std::size_t i = 0; i < n; ++i) counts.push_back(file.F32(at + 4 * i, what));
  return counts;
}

std::string Header_Text(const std::string& field) {
  std::string text = field.substr(0, field.find('\0'));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

Read_Result Read_Raw_Any(const Input_File& source, Store& store) {
  if (Begins_With(source, "RAW1.01")) return Read_Raw3(source, store);
  if (Begins_With(source, "RAW4.00")) return Read_Raw4(source, store);
  if (source.bytes.size() > 4 && Begins_With(source, "RAW "))
    return First_Range_Only(Read_Raw1, "version 1", source, store);
  if (source.bytes.size() > 4 && Begins_With(source, "RAW2"))
    return First_Range_Only(Read_Raw2, "version 2", source, store);
  throw Failure(source.name +
                " is not a Bruker RAW file: it begins with none of \"RAW \", \"RAW2\", \"RAW1.01\" (version 3) and "
                "\"RAW4.00\" (version 4).");
}

Read_Result Store_Raw_Measurement(const std::string& file_name, const Raw_Measurement& measurement, Store& store) {
  Read_Result result;
  result.warnings = Store_Range(file_name, measurement.ranges, store.Extras.Range_Wanted, store);

  // The wavelength of the anode's lines where the file gives them, else the
  // one its ranges were measured with.
  const double lambda1 = Usable(measurement.k_alpha1) ? measurement.k_alpha1 : measurement.used_lambda;
  if (Usable(lambda1)) {
    store.Lambda1 = static_cast<float>(lambda1);
    store.Lambda2 = Usable(measurement.k_alpha2) ? static_cast<float>(measurement.k_alpha2) : store.Lambda1;
  }
  Pattern_Extras& extras = store.Extras;
  if (Usable(measurement.k_alpha1)) extras.K_Alpha1 = measurement.k_alpha1;
  if (Usable(measurement.k_alpha2)) extras.K_Alpha2 = measurement.k_alpha2;
  if (Usable(measurement.k_ratio)) extras.K_Ratio = measurement.k_ratio;
  extras.Anode = Element(measurement.anode);
  extras.Sample = Cp1252_To_Utf8(measurement.sample);
  extras.Date = measurement.date;
  extras.Source_Type = Raw_Any_Type;
  store.Sample_ID = Fit32(measurement.sample);
  return result;
}

}  // namespace talvo
