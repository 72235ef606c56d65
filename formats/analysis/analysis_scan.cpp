#include "formats/analysis/analysis_scan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/cp1252.h"
#include "core/failure.h"
#include "core/file_io.h"
#include "core/store.h"
#include "core/text32.h"

namespace talvo::analysis {

namespace {

constexpr int Max_Decimals = 12;

constexpr std::array<double, Max_Decimals + 1> Powers_Of_Ten = {1e0, 1e1, 1e2, 1e3,  1e4,  1e5, 1e6,
                                                                1e7, 1e8, 1e9, 1e10, 1e11, 1e12};

// Fixed notation of a double or float can take 330 digits.
using Number_Buffer = std::array<char, 400>;

template <typename T>
void Append_Chars(std::string& out, T value, std::chars_format format) {
  Number_Buffer buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
  out.append(buffer.data(), result.ptr);
}

void Append_Integer(std::string& out, int64_t value) {
  std::array<char, 24> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
}

int Decimals_In(std::string_view text) {
  const auto point = text.find('.');
  return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

// A value read from a file as a 32-bit item, in its shortest text.
std::string Float_Text(float value) {
  std::string text;
  if (std::isfinite(value) && value > 0) Append_Shortest(text, value);
  return text;
}

std::string Double_Text(double value) {
  std::string text;
  if (std::isfinite(value) && value > 0) Append_Shortest(text, value);
  return text;
}

bool Whole(double value) {
  return value == std::floor(value) && std::fabs(value) < 1e15;
}

[[noreturn]] void Refuse(const std::string& what, const std::string& file_name) {
  throw Failure(what + " Nothing was written to " + file_name + ".");
}

}  // namespace

void Append_Fixed(std::string& out, double value, int decimals) {
  Number_Buffer buffer;
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  const char* first = buffer.data();
  const char* last = result.ptr;
  // -0.001 to two decimals is 0.00, not -0.00.
  if (*first == '-' && std::all_of(first + 1, last, [](char c) { return c == '0' || c == '.'; })) ++first;
  out.append(first, last);
}

void Append_Shortest(std::string& out, double value) {
  Append_Chars(out, value, std::chars_format::fixed);
}
void Append_Shortest(std::string& out, float value) {
  Append_Chars(out, value, std::chars_format::fixed);
}

void Append_Whole_Or_Shortest(std::string& out, double value) {
  if (Whole(value))
    Append_Integer(out, static_cast<int64_t>(value));
  else
    Append_Shortest(out, value);
}

void Append_Whole_Or_Shortest(std::string& out, float value) {
  if (Whole(value))
    Append_Integer(out, static_cast<int64_t>(value));
  else
    Append_Shortest(out, value);
}

int Decimals_Of(double value) {
  if (!std::isfinite(value) || value == 0) return 0;
  const auto single = static_cast<float>(value);
  if (static_cast<double>(single) == value) {
    std::string text;
    Append_Shortest(text, single);
    return std::min(Decimals_In(text), Max_Decimals);
  }
  // A value computed from others (a difference of two angles) is off by a
  // few of its last bits: 0.019999999999999574 was written 0.02.
  const double tolerance = 1e-12 * std::max(std::fabs(value), 1.0);
  for (int d = 0; d < Max_Decimals; ++d) {
    const double p = Powers_Of_Ten[static_cast<std::size_t>(d)];
    if (std::fabs(std::nearbyint(value * p) / p - value) <= tolerance) return d;
  }
  return Max_Decimals;
}

void Append_Shifted_Two(std::string& out, std::string_view degrees) {
  std::string_view sign;
  if (!degrees.empty() && degrees.front() == '-') {
    sign = "-";
    degrees.remove_prefix(1);
  }
  const auto point = degrees.find('.');
  std::string digits(degrees.substr(0, point));
  std::string_view decimals = point == std::string_view::npos ? std::string_view() : degrees.substr(point + 1);
  for (int i = 0; i < 2; ++i) {
    digits += decimals.empty() ? '0' : decimals.front();
    if (!decimals.empty()) decimals.remove_prefix(1);
  }
  const auto first = std::min(digits.find_first_not_of('0'), digits.size() - 1);
  out += sign;
  out.append(digits, first);
  if (!decimals.empty()) {
    out += '.';
    out += decimals;
  }
}

std::string One_Line(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return Trimmed(line);
}

Scan_Out::Scan_Out(const std::string& path, const Store& store) : file_name_(File_Name_Of(path)) {
  n_ = store.Nb_Points;
  if (n_ < 1) Refuse("The scan holds no point.", file_name_);
  if (!Holds_Points(store, n_))
    Refuse("The scan holds " + std::to_string(store.Intensities.empty() ? 0 : store.Intensities.size() - 1) +
               " intensities, fewer than its " + std::to_string(n_) + " points.",
           file_name_);
  const Pattern_Extras& extras = store.Extras;
  intensities_ = store.Intensities.data();
  if (Holds_Per_Point(extras.Counts, n_)) counts_ = extras.Counts.data();
  if (Holds_Per_Point(extras.Angles, n_)) angles_ = extras.Angles.data();
  if (Holds_Per_Point(extras.Uncertainties, n_)) uncertainties_ = extras.Uncertainties.data();
  file_uncertainties_ = uncertainties_ != nullptr;

  for (int32_t k = 1; k <= n_; ++k) {
    if (!std::isfinite(Intensity(k)))
      Refuse("Point " + std::to_string(k) + " of the scan has an intensity that is not a number.", file_name_);
    if (angles_ != nullptr && !std::isfinite(angles_[k]))
      Refuse("Point " + std::to_string(k) + " of the scan has an angle that is not a number.", file_name_);
  }
  // The start as the file gave it: Range_Limits keeps it in double
  // precision where the store's start is the same value as a 32-bit item.
  start_ = static_cast<float>(store.Range_Limits[0]) == store.Start_2Theta ? store.Range_Limits[0]
                                                                           : static_cast<double>(store.Start_2Theta);
  step_ = store.Step_Size;
  decimals_ = std::max(Decimals_Of(start_), n_ > 1 ? Decimals_Of(step_) : 0);
  if (angles_ != nullptr) {
    start_ = angles_[1];
    if (n_ > 1) step_ = (angles_[n_] - angles_[1]) / (n_ - 1);
    const double tolerance = 1e-6 * std::fabs(step_);
    for (int32_t k = 1; k <= n_ && constant_step_; ++k)
      constant_step_ = std::fabs(angles_[k] - (start_ + (k - 1) * step_)) <= tolerance + 1e-12 * std::fabs(angles_[k]);
  } else if (!std::isfinite(start_) || (n_ > 1 && !std::isfinite(step_))) {
    Refuse("The scan's start angle or step is not a number.", file_name_);
  }

  const std::string held_sample = Trimmed(Cp1252_To_Utf8(Blank_Nuls(store.Sample_ID)));
  sample = extras.Sample.empty() ? One_Line(held_sample) : One_Line(extras.Sample);
  source_file = One_Line(extras.Source_File);
  wavelength1 = extras.K_Alpha1 ? Double_Text(*extras.K_Alpha1) : Float_Text(store.Lambda1);
  // A second wavelength is the file's when the reader set one: the start-up
  // value is copper K-alpha 1, which no file gives as a K-alpha 2.
  if (extras.K_Alpha2)
    wavelength2 = Double_Text(*extras.K_Alpha2);
  else if (store.Lambda2 != store.Lambda1 && store.Lambda2 != Store{}.Lambda2)
    wavelength2 = Float_Text(store.Lambda2);
  if (!wavelength2.empty() && extras.K_Ratio) ratio = Double_Text(*extras.K_Ratio);
  counting_time = extras.Counting_Time ? Double_Text(*extras.Counting_Time) : Float_Text(store.Time_Step);
  anode = One_Line(extras.Anode);
}

double Scan_Out::Angle(int32_t k) const {
  return angles_ != nullptr ? angles_[k] : start_ + (k - 1) * step_;
}

double Scan_Out::Intensity(int32_t k) const {
  return counts_ != nullptr ? counts_[k] : static_cast<double>(intensities_[k]);
}

double Scan_Out::Uncertainty(int32_t k) const {
  if (uncertainties_ != nullptr && std::isfinite(uncertainties_[k]) && uncertainties_[k] >= 0) return uncertainties_[k];
  return std::sqrt(std::max(Intensity(k), 1.0));
}

void Scan_Out::Append_Angle(std::string& out, int32_t k) const {
  if (angles_ == nullptr) {
    Append_Fixed(out, start_ + (k - 1) * step_, decimals_);
    return;
  }
  const std::size_t before = out.size();
  Append_Shortest(out, angles_[k]);
  const int missing = decimals_ - Decimals_In(std::string_view(out).substr(before));
  if (missing > 0) {
    if (out.find('.', before) == std::string::npos) out += '.';
    out.append(static_cast<std::size_t>(missing), '0');
  }
}

void Scan_Out::Append_Centidegrees(std::string& out, int32_t k) const {
  std::string degrees;
  Append_Angle(degrees, k);
  Append_Shifted_Two(out, degrees);
}

void Scan_Out::Append_Intensity(std::string& out, int32_t k) const {
  if (counts_ != nullptr)
    Append_Whole_Or_Shortest(out, counts_[k]);
  else
    Append_Whole_Or_Shortest(out, intensities_[k]);
}

void Scan_Out::Append_Uncertainty(std::string& out, int32_t k) const {
  if (uncertainties_ != nullptr && std::isfinite(uncertainties_[k]) && uncertainties_[k] >= 0) {
    Append_Whole_Or_Shortest(out, uncertainties_[k]);
    return;
  }
  // Six significant digits say more than a square root of a count means.
  Number_Buffer buffer;
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), Uncertainty(k), std::chars_format::general, 6);
  out.append(buffer.data(), result.ptr);
}

void Scan_Out::Append_Step(std::string& out) const {
  Append_Fixed(out, step_, decimals_);
}

void Scan_Out::Append_Step_Centidegrees(std::string& out) const {
  std::string degrees;
  Append_Step(degrees);
  Append_Shifted_Two(out, degrees);
}

void Append_Comment_Header(std::string& out, const Scan_Out& scan, bool uncertainty_column) {
  const auto line = [&out](std::string_view label, const std::string& value) {
    if (value.empty()) return;
    out += "# ";
    out += label;
    out += value;
    out += Line_End;
  };
  line("Sample: ", scan.sample);
  line("Source file: ", scan.source_file);
  if (!scan.wavelength1.empty()) {
    std::string wavelengths = scan.wavelength1 + " angstrom (K-alpha1)";
    if (!scan.wavelength2.empty()) wavelengths += ", " + scan.wavelength2 + " angstrom (K-alpha2)";
    if (!scan.ratio.empty()) wavelengths += ", K-alpha2/K-alpha1 ratio " + scan.ratio;
    line("Wavelength: ", wavelengths);
  }
  line("Anode: ", scan.anode);
  if (!scan.counting_time.empty()) line("Counting time: ", scan.counting_time + " s per step");
  if (uncertainty_column)
    line("Uncertainty: ", scan.Uncertainties_From_File() ? std::string("as the source file gives it")
                                                         : std::string("square root of the intensity, at least 1"));
  line("Columns: ", uncertainty_column ? "2-theta (degrees), intensity, uncertainty" : "2-theta (degrees), intensity");
}

}  // namespace talvo::analysis
