// "Powder CIF (pdCIF)": one CIF 1.1 data block of the IUCr powder
// dictionary, CR LF:
//   #\#CIF_1.1
//   # Written by Talvo from QTZ.RAW
//   data_QTZ
//   _pd_block_id                      '|Quartz_standard||'
//   _pd_meas_special_details          'Sample: Quartz standard'
//   _diffrn_radiation_wavelength      1.54056        or a loop of K-alpha 1 and 2 with their weights
//   _pd_meas_number_of_points         3
//   _pd_meas_2theta_range_min         10.00          for a constant step; otherwise a
//   _pd_meas_2theta_range_max         10.04          _pd_meas_2theta_scan column in the loop
//   _pd_meas_2theta_range_inc         0.02
//   _pd_meas_step_count_time          1.5
//   loop_
//   _pd_meas_counts_total
//   120(11)
// Whole, non-negative intensities are counts (_pd_meas_counts_total);
// other intensities are _pd_meas_intensity_total. Each value carries its
// standard uncertainty in parentheses, in units of its last decimal, the
// uncertainty rounded to two significant digits up to 19 and to one above.
// CIF 1.1 is ASCII: accented letters become the CIF codes (é is \'e), other
// characters "?".
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

#include "core/busy.h"
#include "core/file_io.h"
#include "formats/analysis/analysis_scan.h"
#include "formats/analysis/analysis_writers.h"

namespace talvo {

namespace {

using analysis::Line_End;
using analysis::Scan_Out;

// Latin-1 letters U+00C0 to U+00FF as CIF writes them.
constexpr std::array<const char*, 64> Latin_Letters = {
    "\\`A", "\\'A", "\\^A",  "\\~A", "\\\"A", "\\%A", "AE",   "\\,C", "\\`E",  "\\'E",  "\\^E",  "\\\"E", "\\`I",
    "\\'I", "\\^I", "\\\"I", "D",    "\\~N",  "\\`O", "\\'O", "\\^O", "\\~O",  "\\\"O", "x",     "\\/O",  "\\`U",
    "\\'U", "\\^U", "\\\"U", "\\'Y", "Th",    "\\ss", "\\`a", "\\'a", "\\^a",  "\\~a",  "\\\"a", "\\%a",  "ae",
    "\\,c", "\\`e", "\\'e",  "\\^e", "\\\"e", "\\`i", "\\'i", "\\^i", "\\\"i", "d",     "\\~n",  "\\`o",  "\\'o",
    "\\^o", "\\~o", "\\\"o", "/",    "\\/o",  "\\`u", "\\'u", "\\^u", "\\\"u", "\\'y",  "th",    "\\\"y"};

const char* Cif_Code(char32_t c) {
  if (c >= 0xC0 && c <= 0xFF) return Latin_Letters[c - 0xC0];
  switch (c) {
    case 0xB0:
      return "\\%";  // degree sign
    case 0xB5:
    case 0x3BC:
      return "\\m";
    case 0x3B1:
      return "\\a";
    case 0x3B2:
      return "\\b";
    case 0x3B3:
      return "\\g";
    case 0x3B8:
      return "\\q";
    case 0x3BB:
      return "\\l";
    case 0x212B:
      return "\\%A";  // angstrom sign
    default:
      return "?";
  }
}

// UTF-8 text as CIF 1.1 holds it: printable ASCII, with codes for letters.
std::string Cif_Ascii(std::string_view utf8) {
  std::string ascii;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      ascii += byte < 0x20 || byte == 0x7F ? ' ' : static_cast<char>(byte);
      ++i;
      continue;
    }
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    char32_t c = length == 1 ? 0 : byte & (0x7F >> length);
    for (std::size_t j = 1; j < length; ++j)
      c = i + j < utf8.size() ? (c << 6) | (static_cast<unsigned char>(utf8[i + j]) & 0x3F) : 0;
    ascii += Cif_Code(c);
    i += length;
  }
  return ascii;
}

bool Quote_Closes_At(std::string_view text, char quote) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == quote && (text[i + 1] == ' ' || text[i + 1] == '\t')) return true;
  return false;
}

bool Starts_With_No_Case(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

// A character string as one CIF value: bare where it can stand so, else
// in single or double quotes (a quote inside is allowed unless a blank
// follows it), else as a text field between lines that begin with ";".
std::string Cif_Value(std::string_view utf8) {
  const std::string text = Cif_Ascii(utf8);
  static constexpr std::array<std::string_view, 5> Reserved = {"data_", "save_", "loop_", "global_", "stop_"};
  const bool bare = !text.empty() && text.find_first_of(" \t") == std::string::npos &&
                    std::string_view("_#$'\"[];").find(text[0]) == std::string_view::npos && text != "?" &&
                    text != "." && std::none_of(Reserved.begin(), Reserved.end(), [&](std::string_view word) {
                      return Starts_With_No_Case(text, word);
                    });
  if (bare) return text;
  if (!Quote_Closes_At(text, '\'')) return '\'' + text + '\'';
  if (!Quote_Closes_At(text, '"')) return '"' + text + '"';
  return std::string(Line_End) + ";" + text + std::string(Line_End) + ";";
}

// The characters a section of a block ID may hold: the letters of CIF's
// codes without their accents ("\\'E" is "E"), blanks and others as "_".
std::string Id_Section(std::string_view ascii) {
  std::string section;
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    const char c = ascii[i];
    if (c == '\\' && i + 1 < ascii.size() &&
        std::string_view("`'^\"~,%/").find(ascii[i + 1]) != std::string_view::npos) {
      ++i;
      continue;
    }
    const bool allowed = std::isalnum(static_cast<unsigned char>(c)) ||
                         std::string_view("#&*.:,-_+/()[]").find(c) != std::string_view::npos;
    section += allowed ? c : '_';
  }
  return section;
}

// The data block's name, from the output file's base name.
std::string Block_Code(const std::string& file_name) {
  std::string code = file_name.substr(0, file_name.rfind('.'));
  if (code.empty()) code = "scan";
  code.resize(std::min<std::size_t>(code.size(), 70));
  for (char& c : code)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') c = '_';
  return code;
}

void Item(std::string& text, std::string_view name, std::string_view value) {
  text += name;
  text.append(name.size() < 34 ? 34 - name.size() : 1, ' ');
  text += value;
  text += Line_End;
}

void Append_Wavelengths(std::string& text, const Scan_Out& scan) {
  if (scan.wavelength1.empty()) return;
  if (scan.wavelength2.empty()) {
    Item(text, "_diffrn_radiation_wavelength", scan.wavelength1);
    return;
  }
  text += "loop_";
  text += Line_End;
  for (const char* name :
       {"_diffrn_radiation_wavelength_id", "_diffrn_radiation_wavelength", "_diffrn_radiation_wavelength_wt"}) {
    text += name;
    text += Line_End;
  }
  text += "1 " + scan.wavelength1 + " 1.0" + std::string(Line_End);
  text += "2 " + scan.wavelength2 + ' ' + (scan.ratio.empty() ? std::string("?") : scan.ratio) + std::string(Line_End);
}

// The value written from `value` to `end` followed by its su in units of
// its last decimal: "1234(35)", "2.0(14)".
char* With_Uncertainty(char* value, char* end, double su) {
  if (!(su > 0) || !std::isfinite(su)) return end;
  const char* point = std::find(value, end, '.');
  const int value_decimals = point == end ? 0 : static_cast<int>(end - point - 1);
  // su = f 10^exponent with 1 <= f < 10.
  int exponent = 0;
  double f = su;
  for (; f >= 10 && exponent < 300; ++exponent) f /= 10;
  for (; f < 1 && exponent > -300; --exponent) f *= 10;
  const int su_decimals = (f < 2 ? 1 : 0) - exponent;  // two digits up to 19, else one
  const int decimals = std::max({value_decimals, su_decimals, 0});
  double scaled = su;
  for (int i = 0; i < decimals && scaled < 1e15; ++i) scaled *= 10;
  scaled = std::nearbyint(scaled);
  if (!(scaled < 1e15)) return end;
  if (decimals > value_decimals) {
    if (point == end) *end++ = '.';
    end = std::fill_n(end, decimals - value_decimals, '0');
  }
  *end++ = '(';
  end = std::to_chars(end, end + 24, static_cast<int64_t>(std::max(scaled, 1.0))).ptr;
  *end++ = ')';
  return end;
}

bool All_Counts(const Scan_Out& scan) {
  for (int32_t k = 1; k <= scan.Count(); ++k) {
    const double value = scan.Intensity(k);
    if (value < 0 || value != std::floor(value)) return false;
  }
  return true;
}

}  // namespace

void Write_Cif(const std::string& path, const Store& store, Platform& platform) {
  Busy_Pointer busy(platform);
  const Scan_Out scan(path, store);
  const int32_t n = scan.Count();
  std::string text;
  text.reserve(1000 + static_cast<std::size_t>(n) * 28);
  text += "#\\#CIF_1.1";
  text += Line_End;
  if (!scan.source_file.empty()) {
    text += "# Written by Talvo from " + Cif_Ascii(scan.source_file);
    text += Line_End;
  }
  text += "data_" + Block_Code(scan.File_Name());
  text += Line_End;
  const std::string block_name = scan.sample.empty() ? Block_Code(scan.File_Name()) : Cif_Ascii(scan.sample);
  Item(text, "_pd_block_id", "'|" + Id_Section(block_name) + "||'");
  if (!scan.sample.empty()) Item(text, "_pd_meas_special_details", Cif_Value("Sample: " + scan.sample));
  Append_Wavelengths(text, scan);
  if (!scan.anode.empty()) Item(text, "_diffrn_radiation_type", Cif_Value(scan.anode + " K\\a"));
  Item(text, "_pd_meas_number_of_points", std::to_string(n));
  if (scan.Constant_Step()) {
    std::string value;
    scan.Append_Angle(value, 1);
    Item(text, "_pd_meas_2theta_range_min", value);
    value.clear();
    scan.Append_Angle(value, n);
    Item(text, "_pd_meas_2theta_range_max", value);
    value.clear();
    scan.Append_Step(value);
    Item(text, "_pd_meas_2theta_range_inc", value);
  }
  if (!scan.counting_time.empty()) Item(text, "_pd_meas_step_count_time", scan.counting_time);

  text += "loop_";
  text += Line_End;
  if (!scan.Constant_Step()) {
    text += "_pd_meas_2theta_scan";
    text += Line_End;
  }
  text += All_Counts(scan) ? "_pd_meas_counts_total" : "_pd_meas_intensity_total";
  text += Line_End;
  analysis::Text_Out out(text, 2 * analysis::Max_Number_Text + 64);
  for (int32_t k = 1; k <= n; ++k) {
    char* p = out.Room();
    if (!scan.Constant_Step()) {
      p = scan.Put_Angle(p, k);
      *p++ = ' ';
    }
    p = With_Uncertainty(p, scan.Put_Intensity(p, k), scan.Uncertainty(k));
    out.Took(analysis::Put_Line_End(p));
  }
  out.Finish();
  Write_File_Atomically(path, text);
  busy.Normal();
}

}  // namespace talvo
