// What the writers of today's analysis formats (xye, two-column text, CSV,
// GSAS FXYE, powder CIF) share: the points to write, the facts their headers
// give, and the number texts.
//
// The points: intensity k is Extras.Counts[k] where the file gave counts,
// else Intensities[k]; angle k is Extras.Angles[k] where the file listed its
// angles, else start + (k - 1) * step in double precision; uncertainty k is
// Extras.Uncertainties[k] where the file gave them, else sqrt(max(count, 1)).
// No point limit: a scan is written whole, however long.
//
// Numbers are written with "." whatever the regional settings. Computed
// angles take as many decimals as the start and the step were written with
// (a step of 0.0001 keeps 4 decimals); the file's own angles are written in
// their shortest exact text, with at least those decimals. Whole counts are
// written as whole numbers; other values in their shortest exact text.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

struct Store;

namespace analysis {

class Scan_Out {
 public:
  // Throws Failure naming the output file when the store holds no scan to
  // write: no point, fewer intensities than points, or a value that is not
  // a finite number.
  Scan_Out(const std::string& path, const Store& store);

  int32_t Count() const { return n_; }
  const std::string& File_Name() const { return file_name_; }

  // Point k, k = 1..Count(). The Put_ functions write its text at `p`
  // (at most Max_Number_Text bytes) and return the end.
  double Intensity(int32_t k) const;
  double Uncertainty(int32_t k) const;
  char* Put_Angle(char* p, int32_t k) const;
  char* Put_Centidegrees(char* p, int32_t k) const;
  char* Put_Intensity(char* p, int32_t k) const;
  char* Put_Uncertainty(char* p, int32_t k) const;
  void Append_Angle(std::string& out, int32_t k) const;
  void Append_Centidegrees(std::string& out, int32_t k) const;

  // The scale: true when every point lies on start + (k - 1) * step. The
  // step of a scan whose angles the file lists is their mean step.
  bool Constant_Step() const { return constant_step_; }
  void Append_Step(std::string& out) const;
  void Append_Step_Centidegrees(std::string& out) const;

  // True when the uncertainties are the file's, false when they are
  // sqrt(max(count, 1)).
  bool Uncertainties_From_File() const { return file_uncertainties_; }

  // Header facts, as text (UTF-8, one line each); empty where not known.
  std::string sample;         // the sample's name
  std::string source_file;    // the file the scan was read from
  std::string wavelength1;    // K-alpha 1, angstrom
  std::string wavelength2;    // K-alpha 2, angstrom
  std::string ratio;          // K-alpha 2 / K-alpha 1 intensity ratio
  std::string counting_time;  // seconds per step
  std::string anode;          // element symbol

 private:
  std::string file_name_;
  int32_t n_ = 0;
  const float* intensities_ = nullptr;
  const double* counts_ = nullptr;         // or nullptr
  const double* angles_ = nullptr;         // or nullptr
  const double* uncertainties_ = nullptr;  // or nullptr
  double start_ = 0;
  double step_ = 0;
  int decimals_ = 0;  // of the angles
  // Computed angles as whole numbers of 10^-decimals_ degrees, where start
  // and step are such numbers (as they were written): point k is
  // grid_start_ + (k - 1) * grid_step_, with no rounding to show.
  bool grid_ = false;
  int64_t grid_start_ = 0;
  int64_t grid_step_ = 0;
  bool constant_step_ = true;
  bool file_uncertainties_ = false;
};

// Every line of these files ends in CR LF, as the program's other text files.
inline constexpr std::string_view Line_End = "\r\n";

// The "#" lines the xye and two-column files begin with: sample, source
// file, wavelengths, counting time, where the uncertainties come from (with
// the uncertainty column) and the columns.
void Append_Comment_Header(std::string& out, const Scan_Out& scan, bool uncertainty_column);

// The longest number text: a double in fixed notation.
inline constexpr std::size_t Max_Number_Text = 400;

// The text of a file grown as it is written, through a pointer: Room()
// gives a pointer with `room` bytes free after what is written, Took(end)
// says where the text now ends, Finish() cuts it there.
class Text_Out {
 public:
  Text_Out(std::string& text, std::size_t room) : text_(text), used_(text.size()), room_(room) {}
  char* Room() {
    if (text_.size() - used_ < room_) text_.resize(std::max({2 * text_.size(), used_ + room_, text_.capacity()}));
    return text_.data() + used_;
  }
  void Took(const char* end) { used_ = static_cast<std::size_t>(end - text_.data()); }
  void Finish() { text_.resize(used_); }

 private:
  std::string& text_;
  std::size_t used_;
  std::size_t room_;
};

inline char* Put_Line_End(char* p) {
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

// One line per point: angle, intensity and (with `uncertainty`) its
// uncertainty, `separator` between them, CR LF after each.
void Append_Point_Lines(std::string& out, const Scan_Out& scan, char separator, bool uncertainty);

// Number texts, "." as decimal point.
char* Put_Fixed(char* p, double value, int decimals);
char* Put_Shortest(char* p, double value);
char* Put_Shortest(char* p, float value);
char* Put_Whole_Or_Shortest(char* p, double value);
char* Put_Whole_Or_Shortest(char* p, float value);
void Append_Fixed(std::string& out, double value, int decimals);
void Append_Shortest(std::string& out, double value);  // fixed notation, reads back to the same double
void Append_Shortest(std::string& out, float value);   // fixed notation, reads back to the same float
void Append_Whole_Or_Shortest(std::string& out, double value);
void Append_Whole_Or_Shortest(std::string& out, float value);
// The decimals `value` was written with in the file it came from: the
// shortest text of a value a 32-bit item holds, else the fewest decimals
// that give it back to within its last bits (at most 12).
int Decimals_Of(double value);
// "12.3456" in degrees as "1234.56" in centidegrees: the decimal point moved
// two places in the text, so no rounding of a product shows.
void Append_Shifted_Two(std::string& out, std::string_view degrees);
// A whole number of 10^-decimals units: 1002 with 2 decimals is "10.02",
// with -1 decimals "10020". At most 24 decimals; Put_Scaled may write up to
// 50 bytes at `p`, past the text it returns the end of.
char* Put_Scaled(char* p, int64_t value, int decimals);

// The text with every control character (line ends, tabs) made a blank, so
// that a header fact stays on its line.
std::string One_Line(std::string_view text);

}  // namespace analysis
}  // namespace talvo
