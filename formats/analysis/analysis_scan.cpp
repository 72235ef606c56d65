#include "formats/analysis/analysis_scan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

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

char* Put_Fixed(char* p, double value, int decimals) {
  char* const begin = p;
  p = std::to_chars(p, p + Max_Number_Text, value, std::chars_format::fixed, decimals).ptr;
  // -0.001 to two decimals is 0.00, not -0.00.
  if (*begin == '-' && std::all_of(begin + 1, p, [](char c) { return c == '0' || c == '.'; })) {
    std::memmove(begin, begin + 1, static_cast<std::size_t>(p - begin - 1));
    --p;
  }
  return p;
}

char* Put_Shortest(char* p, double value) {
  return std::to_chars(p, p + Max_Number_Text, value, std::chars_format::fixed).ptr;
}
// The shortest decimals of a float between 2^-36 and 2^24 that is not a
// whole number, in integer arithmetic: value = M / 2^q exactly, and the
// decimal D / 10^d reads back to it when it lies strictly within half a unit
// of M's last bit: 2 |D 2^q - M 10^d| < 10^d, in units of 2^-q. The fewest decimals for
// which the nearest D does is the shortest text, as std::to_chars gives it,
// in a quarter of the time. Empty for other values.
char* Put_Shortest_Fraction(char* p, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  if (biased == 0 || biased == 0xFF) return nullptr;  // subnormal, infinite or NaN
  const uint64_t mantissa = (bits & 0x7FFFFF) | 0x800000;
  const int q = 150 - biased;  // value = mantissa / 2^q
  // A power of two has a nearer neighbour below: left to std::to_chars.
  if (q <= 0 || q > 60 || mantissa == 0x800000) return nullptr;
  const uint64_t unit = uint64_t{1} << q, half = unit >> 1;
  // Whole numbers are std::to_chars's; and no whole number lies within half
  // a unit of a value that is not one.
  if ((mantissa & (unit - 1)) == 0) return nullptr;
  uint64_t power = 10;
  for (int d = 1; d <= 9; ++d, power *= 10) {
    const uint64_t scaled = mantissa * power;  // below 2^54
    const uint64_t below = scaled >> q, rest = scaled & (unit - 1);
    // The nearest D, a half to the even one, and how far it lies in 2^-q units.
    const bool up = rest > half || (rest == half && (below & 1) != 0);
    const uint64_t off = up ? unit - rest : rest;
    if (2 * off < power) {
      if (bits >> 31) *p++ = '-';
      return Put_Scaled(p, static_cast<int64_t>(below + (up ? 1 : 0)), d);
    }
  }
  return nullptr;
}

char* Put_Shortest(char* p, float value) {
  if (char* end = Put_Shortest_Fraction(p, value)) return end;
  return std::to_chars(p, p + Max_Number_Text, value, std::chars_format::fixed).ptr;
}

char* Put_Whole_Or_Shortest(char* p, double value) {
  return Whole(value) ? std::to_chars(p, p + 24, static_cast<int64_t>(value)).ptr : Put_Shortest(p, value);
}
char* Put_Whole_Or_Shortest(char* p, float value) {
  return Whole(value) ? std::to_chars(p, p + 24, static_cast<int64_t>(value)).ptr : Put_Shortest(p, value);
}

template <typename T>
void Append_With(std::string& out, char* (*put)(char*, T), T value) {
  std::array<char, Max_Number_Text> buffer;
  out.append(buffer.data(), put(buffer.data(), value));
}

void Append_Fixed(std::string& out, double value, int decimals) {
  std::array<char, Max_Number_Text> buffer;
  out.append(buffer.data(), Put_Fixed(buffer.data(), value, decimals));
}
void Append_Shortest(std::string& out, double value) {
  Append_With<double>(out, Put_Shortest, value);
}
void Append_Shortest(std::string& out, float value) {
  Append_With<float>(out, Put_Shortest, value);
}
void Append_Whole_Or_Shortest(std::string& out, double value) {
  Append_With<double>(out, Put_Whole_Or_Shortest, value);
}
void Append_Whole_Or_Shortest(std::string& out, float value) {
  Append_With<float>(out, Put_Whole_Or_Shortest, value);
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
  // A difference of angles near 150 is off by about 3e-14 whatever its size;
  // a value far below a unit is not rounded to nothing.
  const double tolerance = std::min(1e-12 * std::max(std::fabs(value), 1.0), 1e-3 * std::fabs(value));
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

// "00" to "99", for two digits at a time.
constexpr std::array<char, 200> Digit_Pairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

char* Put_Scaled(char* p, int64_t value, int decimals) {
  for (; decimals < 0; ++decimals) value *= 10;
  if (value < 0) *p++ = '-';
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  // The digits right-aligned at `end`, two at a time from the last, with
  // zeros in front up to one before the decimals; 24 bytes after `end`
  // let both parts be copied as blocks of fixed size.
  std::array<char, 72> digits{};
  char* const end = digits.data() + 40;
  char* first = end;
  while (magnitude >= 100) {
    const std::size_t pair = 2 * static_cast<std::size_t>(magnitude % 100);
    magnitude /= 100;
    *--first = Digit_Pairs[pair + 1];
    *--first = Digit_Pairs[pair];
  }
  *--first = static_cast<char>('0' + magnitude % 10);
  if (magnitude >= 10) *--first = static_cast<char>('0' + magnitude / 10);
  while (end - first <= decimals) *--first = '0';
  const auto integer = static_cast<std::size_t>(end - decimals - first);  // at most 21
  std::memcpy(p, first, 24);
  p += integer;
  if (decimals > 0) {
    *p++ = '.';
    std::memcpy(p, end - decimals, 24);
    p += decimals;
  }
  return p;
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
  // A step that is a quotient (a range divided by its points) has no end of
  // decimals: six significant digits of it, or the start's decimals.
  int step_decimals = n_ > 1 ? Decimals_Of(step_) : 0;
  if (step_decimals == Max_Decimals && step_ != 0)
    step_decimals = std::clamp(5 - static_cast<int>(std::floor(std::log10(std::fabs(step_)))), 0, Max_Decimals);
  decimals_ = std::max(Decimals_Of(start_), step_decimals);
  if (angles_ != nullptr) {
    start_ = angles_[1];
    if (n_ > 1) step_ = (angles_[n_] - angles_[1]) / (n_ - 1);
    const double tolerance = 1e-6 * std::fabs(step_);
    for (int32_t k = 1; k <= n_ && constant_step_; ++k)
      constant_step_ = std::fabs(angles_[k] - (start_ + (k - 1) * step_)) <= tolerance + 1e-12 * std::fabs(angles_[k]);
  } else if (!std::isfinite(start_) || (n_ > 1 && !std::isfinite(step_))) {
    Refuse("The scan's start angle or step is not a number.", file_name_);
  } else {
    const double p = Powers_Of_Ten[static_cast<std::size_t>(decimals_)];
    const double first = std::nearbyint(start_ * p), step = n_ > 1 ? std::nearbyint(step_ * p) : 0;
    const double last = first + (n_ - 1) * step;
    // Start and step are such numbers but for their binary representation
    // (a step of 0.02 as a 32-bit item is 0.0199999995): the grid's last
    // point lies within a hundredth of the last decimal of start + (n - 1) * step.
    grid_ = std::fabs(first - start_ * p) <= 1e-3 && std::fabs(step - step_ * (n_ > 1 ? p : 0)) * n_ <= 1e-2 &&
            std::fabs(first) < 1e15 && std::fabs(last) < 1e15;
    grid_start_ = static_cast<int64_t>(first);
    grid_step_ = static_cast<int64_t>(step);
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

double Scan_Out::Intensity(int32_t k) const {
  return counts_ != nullptr ? counts_[k] : static_cast<double>(intensities_[k]);
}

double Scan_Out::Uncertainty(int32_t k) const {
  if (uncertainties_ != nullptr && std::isfinite(uncertainties_[k]) && uncertainties_[k] >= 0) return uncertainties_[k];
  return std::sqrt(std::max(Intensity(k), 1.0));
}

char* Scan_Out::Put_Angle(char* p, int32_t k) const {
  if (grid_) return Put_Scaled(p, grid_start_ + (k - 1) * grid_step_, decimals_);
  if (angles_ == nullptr) return Put_Fixed(p, start_ + (k - 1) * step_, decimals_);
  // An uneven file's angle with the step's decimals or more: the fewest within
  // two units of its last bit, so that an angle a reader computed
  // (4998.443206 centidegrees / 100 is 49.984432059999996) keeps the text the
  // file had; the shortest exact text where none is.
  const double angle = angles_[k];
  // Angles on a constant step are the start and the step's decimals.
  if (constant_step_) return Put_Fixed(p, angle, decimals_);
  const double near = 2 * (std::nextafter(std::fabs(angle), HUGE_VAL) - std::fabs(angle));
  double power = Powers_Of_Ten[static_cast<std::size_t>(decimals_)];
  for (int d = decimals_; d <= 17; ++d, power *= 10)
    if (std::fabs(std::nearbyint(angle * power) / power - angle) <= near) return Put_Fixed(p, angle, d);
  char* const begin = p;
  p = Put_Shortest(p, angle);
  int missing = decimals_ - Decimals_In(std::string_view(begin, static_cast<std::size_t>(p - begin)));
  if (missing > 0 && std::find(begin, p, '.') == p) *p++ = '.';
  for (; missing > 0; --missing) *p++ = '0';
  return p;
}

char* Scan_Out::Put_Centidegrees(char* p, int32_t k) const {
  if (grid_) return Put_Scaled(p, grid_start_ + (k - 1) * grid_step_, decimals_ - 2);
  std::array<char, Max_Number_Text> degrees;
  const char* end = Put_Angle(degrees.data(), k);
  std::string shifted;
  Append_Shifted_Two(shifted, std::string_view(degrees.data(), static_cast<std::size_t>(end - degrees.data())));
  std::memcpy(p, shifted.data(), shifted.size());
  return p + shifted.size();
}

char* Scan_Out::Put_Intensity(char* p, int32_t k) const {
  return counts_ != nullptr ? Put_Whole_Or_Shortest(p, counts_[k]) : Put_Whole_Or_Shortest(p, intensities_[k]);
}

char* Scan_Out::Put_Uncertainty(char* p, int32_t k) const {
  if (uncertainties_ != nullptr && std::isfinite(uncertainties_[k]) && uncertainties_[k] >= 0)
    return Put_Whole_Or_Shortest(p, uncertainties_[k]);
  // Six significant digits say more than a square root of a count means.
  // The root is at least 1: its integer digits leave the decimals.
  const double root = Uncertainty(k);
  if (root < 1e6) {
    const int decimals = root < 10 ? 5 : root < 100 ? 4 : root < 1000 ? 3 : root < 1e4 ? 2 : root < 1e5 ? 1 : 0;
    auto scaled = static_cast<int64_t>(std::nearbyint(root * Powers_Of_Ten[static_cast<std::size_t>(decimals)]));
    int shown = decimals;
    for (; shown > 0 && scaled % 10 == 0; --shown) scaled /= 10;
    return Put_Scaled(p, scaled, shown);
  }
  return std::to_chars(p, p + Max_Number_Text, root, std::chars_format::general, 6).ptr;
}

void Scan_Out::Append_Angle(std::string& out, int32_t k) const {
  std::array<char, Max_Number_Text> buffer;
  out.append(buffer.data(), Put_Angle(buffer.data(), k));
}

void Scan_Out::Append_Centidegrees(std::string& out, int32_t k) const {
  std::array<char, Max_Number_Text> buffer;
  out.append(buffer.data(), Put_Centidegrees(buffer.data(), k));
}

void Scan_Out::Append_Step(std::string& out) const {
  Append_Fixed(out, step_, decimals_);
}

void Scan_Out::Append_Step_Centidegrees(std::string& out) const {
  std::string degrees;
  Append_Step(degrees);
  Append_Shifted_Two(out, degrees);
}

void Append_Point_Lines(std::string& out, const Scan_Out& scan, char separator, bool uncertainty) {
  Text_Out text(out, 3 * Max_Number_Text + 8);
  for (int32_t k = 1; k <= scan.Count(); ++k) {
    char* p = scan.Put_Angle(text.Room(), k);
    *p++ = separator;
    p = scan.Put_Intensity(p, k);
    if (uncertainty) {
      *p++ = separator;
      p = scan.Put_Uncertainty(p, k);
    }
    text.Took(Put_Line_End(p));
  }
  text.Finish();
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
