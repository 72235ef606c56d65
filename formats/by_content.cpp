#include "formats/by_content.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/failure.h"
#include "core/numbers.h"
#include "core/registry.h"
#include "core/store.h"
#include "formats/diffracplus/signature.h"
#include "formats/format_table.h"
#include "formats/text/lines.h"

namespace talvo {

namespace {

std::string_view Text_Of(const Input_File& file, std::size_t limit = std::string_view::npos) {
  std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text.substr(0, limit);
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::optional<std::string_view> Binary_Type(const Input_File& file) {
  const std::string_view text = Text_Of(file, 8);
  if (text.substr(0, 7) == "RAW1.01" || text.substr(0, 7) == "RAW4.00") return "raw-any";
  Store scratch;
  switch (File_Signature(file, scratch)) {
    case signature::Raw1:
    case signature::Raw2:
    case signature::Raw3:
      return "raw-any";
    case signature::Dif1:
    case signature::Dif2:
    case signature::Dif3:
      return "dif";
    case signature::Raw_Ascii:
      return "auto";
    default:
      return std::nullopt;
  }
}

// A zip archive is known by the names of its members, which its directory
// holds uncompressed: nothing is inflated to tell.
std::optional<std::string_view> Archive_Type(const Input_File& file) {
  const std::string_view bytes = Text_Of(file);
  if (bytes.substr(0, 4) != std::string_view("PK\x03\x04", 4)) return std::nullopt;
  if (Contains(bytes, "RawData") && Contains(bytes, "Experiment")) return "brml";
  if (Contains(bytes, "Profile") && Contains(bytes, "Data0/")) return "rasx";
  throw Failure(file.name + " is a zip archive that holds neither a Bruker BRML nor a Rigaku RASX measurement.");
}

std::optional<std::string_view> Markup_Type(const Input_File& file) {
  const std::string_view head = Text_Of(file, 4096);
  const auto first = head.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos || head[first] != '<') return std::nullopt;
  if (Contains(head, "<xrdMeasurements")) return "xrdml";
  throw Failure(file.name + " is an XML file, but not an XRDML measurement.");
}

bool Is_Uxd_Keyword(std::string_view line) {
  static const char* const keywords[] = {"_FILEVERSION", "_SAMPLE", "_D-I",      "_2THETA",   "_COUNTS", "_CPS",
                                         "_DRIVE",       "_START",  "_STEPSIZE", "_STEPTIME", "_WL1"};
  for (const char* keyword : keywords)
    if (line.rfind(keyword, 0) == 0) return true;
  return false;
}

bool Begins_With(std::string_view line, std::string_view word) {
  return line.substr(0, word.size()) == word;
}

// The numbers of a line, or nothing when a word of it is not a number.
std::optional<std::vector<double>> Numbers_Of(std::string_view line) {
  std::vector<double> numbers;
  for (const auto word : Words_Of(line)) {
    const Leading number = Parse_Leading_Number(word);
    if (!number.found || number.length != word.size()) return std::nullopt;
    numbers.push_back(number.value);
  }
  return numbers;
}

std::string Peak_List_Or_Scan(const std::string& name) {
  const Registry& registry = Format_Table();
  std::string choices;
  for (const char* key : {"text-di", "diamond", "xye"}) {
    const Input_Type* type = registry.Input_By_Key(key);
    if (type == nullptr) continue;
    if (!choices.empty()) choices += key == std::string_view("xye") ? " or " : ", ";
    choices.append("\"").append(type->name).append("\" (--from ").append(key).append(")");
  }
  return name + " holds columns of numbers that may be a peak list or a scan, which its content does not tell " +
         "apart: choose its type, " + choices + ".";
}

// Numeric text: the formatted-text scan, Oxford's five columns, xye's
// columns, or a peak list that only its type can tell from a scan.
std::optional<std::string_view> Numeric_Type(const Input_File& file, const std::vector<std::string_view>& lines) {
  std::size_t first = 0;  // header lines end at the first line of numbers alone
  while (first < lines.size() && (Is_Blank_Line(lines[first]) || !Numbers_Of(lines[first]))) ++first;
  std::vector<std::vector<double>> rows;
  for (std::size_t i = first; i < lines.size(); ++i) {
    if (Is_Blank_Line(lines[i])) continue;
    auto numbers = Numbers_Of(lines[i]);
    if (!numbers) return std::nullopt;  // text among the numbers
    rows.push_back(std::move(*numbers));
  }
  if (rows.size() < 2) return std::nullopt;
  const auto width = [&](std::size_t k) { return rows[k].size(); };
  if (first == 1 && rows.size() >= 4 && width(0) == 1 && width(1) == 1 && rows[1][0] == std::floor(rows[1][0]) &&
      width(2) == 2)
    return "text-raw";
  const bool wavelength = width(0) == 1;
  const std::size_t from = wavelength ? 1 : 0;
  if (rows.size() - from < 2) return std::nullopt;
  const std::size_t columns = width(from);
  for (std::size_t k = from; k < rows.size(); ++k)
    if (width(k) != columns) return std::nullopt;
  if (columns == 5) return "oxford";
  if (columns == 9) throw Failure(Peak_List_Or_Scan(file.name));
  if (columns == 3 || columns == 4 || (columns == 2 && wavelength)) return "xye";
  if (columns != 2) return std::nullopt;
  // Pairs: a scan steps evenly upwards; a peak list need not.
  double smallest = HUGE_VAL, largest = 0;
  for (std::size_t k = from + 1; k < rows.size(); ++k) {
    const double step = rows[k][0] - rows[k - 1][0];
    if (!(step > 0)) throw Failure(Peak_List_Or_Scan(file.name));
    smallest = std::min(smallest, step);
    largest = std::max(largest, step);
  }
  if (rows.size() - from < 10 || largest > 10 * smallest) throw Failure(Peak_List_Or_Scan(file.name));
  return "xye";
}

std::optional<std::string_view> Text_Type(const Input_File& file) {
  const std::string_view head = Text_Of(file, 4096);
  if (Contains(head, "*RAS_HEADER_START") || Contains(head, "*RAS_DATA_START")) return "ras";
  const auto lines = Split_Lines(file.bytes);
  std::size_t uxd_keywords = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (i == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (Is_Uxd_Keyword(line)) ++uxd_keywords;
    if (i > 0 && Begins_With(line, "BANK")) return "gsas";
  }
  if (uxd_keywords >= 2) return "uxd";
  return Numeric_Type(file, lines);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The extensions files of each type carry, beyond the type's pattern.
bool Extension_Names(std::string_view key, const Input_Type& type, const std::string& extension) {
  if (Lower(std::string(type.pattern)) == "*." + extension) return true;
  struct Alias {
    std::string_view key;
    std::string_view extensions;
  };
  static const Alias aliases[] = {{"auto", " raw "},
                                  {"gsas", " gss gsa gda fxye fxy esd cwn raw "},
                                  {"xye", " xy dat txt csv "},
                                  {"text-raw", " txt "},
                                  {"oxford", " dat "}};
  for (const auto& alias : aliases)
    if (alias.key == key && Contains(alias.extensions, " " + extension + " ")) return true;
  return false;
}

}  // namespace

std::string_view Type_By_Content(const Input_File& file) {
  if (auto type = Binary_Type(file)) return *type;
  if (auto type = Archive_Type(file)) return *type;
  if (auto type = Markup_Type(file)) return *type;
  if (auto type = Text_Type(file)) return *type;
  throw Failure(file.name + ": its content matches none of the types Talvo reads; choose its type " +
                "(talvo-convert --list-types lists them).");
}

Read_Result Read_By_Content(const Input_File& file, Store& store) {
  const std::string_view key = Type_By_Content(file);
  const Input_Type* type = Format_Table().Input_By_Key(key);
  if (type == nullptr)
    throw Failure(file.name + " is of the type \"" + std::string(key) + "\", which this build of Talvo does not read.");
  const Signature_Rule* rule = Rule_For(*type, Format_Table().signature(file, store));
  if (rule == nullptr || !rule->reader) throw Failure(rule != nullptr && rule->refusal ? rule->refusal : file.name);
  Read_Result result = rule->reader->read(file, store);
  store.Extras.Source_Type = type->name;
  result.import_dialog = type->import_dialog;
  const auto dot = file.name.find_last_of('.');
  const std::string extension = dot == std::string::npos ? "" : Lower(file.name.substr(dot + 1));
  if (!Extension_Names(key, *type, extension))
    result.warnings.push_back(
        {file.name + " was read as \"" + std::string(type->name) + "\", the type its content shows.", true});
  return result;
}

}  // namespace talvo
