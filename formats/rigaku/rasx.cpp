// A RASX file is a zip archive:
//
//   Data0/Profile0.txt                 UTF-8 text with a byte-order mark, one
//                                      line per point: 2-theta TAB intensity TAB
//                                      attenuation factor, CR LF
//   Data0/MesurementConditions0.xml    (spelt so) the measurement conditions:
//     <MeasurementConditions>
//       <GeneralInformation><SampleName>...</SampleName>...
//       <HWConfigurations><XrayGenerator><TargetName>Cu</TargetName>
//         <WavelengthKalpha1>1.540593</WavelengthKalpha1><WavelengthKalpha2>...
//       <ScanInformation><AxisName>TwoThetaTheta</AxisName><Mode>CONTINUOUS</Mode>
//         <Start>8.5</Start><Stop>30</Stop><Step>0.01</Step><Speed>1</Speed>
//         <SpeedUnit>deg/min</SpeedUnit><StartTime>...</StartTime>
//         <DataCount>2151</DataCount>
//   root.xml                           the list of members and their hashes
//
// The intensity of a point is its count times its attenuation factor (1
// where no attenuator was in the beam).
#include "formats/rigaku/rasx.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/failure.h"
#include "core/scan_range.h"
#include "core/store.h"
#include "formats/archive/measurement.h"
#include "formats/archive/xml.h"
#include "formats/archive/zip.h"

namespace talvo {

namespace {

constexpr std::string_view Type_Name = "Rigaku RASX";

// "Data3/Profile0.txt" as (3, 0); empty for any other name.
std::optional<std::pair<int, int>> Profile_Numbers(const std::string& name) {
  int data = 0, profile = 0;
  char tail[5] = {};
  if (std::sscanf(name.c_str(), "Data%d/Profile%d.%4s", &data, &profile, tail) != 3) return std::nullopt;
  if (std::string_view(tail) != "txt" || data < 0 || profile < 0) return std::nullopt;
  if (name != "Data" + std::to_string(data) + "/Profile" + std::to_string(profile) + ".txt") return std::nullopt;
  return std::pair{data, profile};
}

struct Profile {
  std::vector<double> angles, counts;
};

Profile Profile_Of(const std::vector<uint8_t>& bytes, const std::string& where) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  Profile profile;
  std::size_t line_number = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
    const auto values = xml::Numbers(line, where, "line " + std::to_string(line_number));
    if (values.size() < 2 || values.size() > 3)
      throw Failure(where + ": line " + std::to_string(line_number) + " holds " + std::to_string(values.size()) +
                    " numbers, not an angle, an intensity and an attenuation factor; nothing was read.");
    profile.angles.push_back(values[0]);
    profile.counts.push_back(values.size() == 3 ? values[1] * values[2] : values[1]);
  }
  return profile;
}

struct Rasx_Range {
  Scan_Range range;
  Measurement measurement;
};

Rasx_Range Range_Of(const Zip_Archive& archive, const std::string& file_name, int data, int number) {
  const std::string profile_name = "Data" + std::to_string(data) + "/Profile" + std::to_string(number) + ".txt";
  const std::string where = file_name + ": " + profile_name;
  Profile profile = Profile_Of(archive.Read(profile_name), where);

  Rasx_Range read;
  Scan_Range& range = read.range;
  const std::string suffix = std::to_string(data) + "/MesurementConditions" + std::to_string(number) + ".xml";
  std::string conditions_name = "Data" + suffix;
  if (!archive.Holds(conditions_name))
    conditions_name = "Data" + std::to_string(data) + "/MeasurementConditions" + std::to_string(number) + ".xml";
  if (!archive.Holds(conditions_name))
    throw Failure(file_name + " holds no measurement conditions (Data" + suffix + ") for " + profile_name +
                  "; nothing was read.");
  const auto bytes = archive.Read(conditions_name);
  const pugi::xml_document document = xml::Parse(bytes, file_name + ": " + conditions_name);
  const pugi::xml_node root = document.document_element();
  if (xml::Local_Name(root) != "MeasurementConditions")
    throw Failure(file_name + ": " + conditions_name + " holds <" + std::string(root.name()) +
                  ">, not the measurement conditions; nothing was read.");

  const pugi::xml_node scan = xml::Child(root, "ScanInformation");
  range.drive = xml::Text(xml::Child(scan, "AxisName"));
  if (const auto stated = xml::Number(xml::Child(scan, "DataCount")))
    if (*stated != static_cast<double>(profile.counts.size()))
      throw Failure(where + " holds " + Points_Text(profile.counts.size()) + ", but its measurement " +
                    "conditions announce " + std::string(xml::Text(xml::Child(scan, "DataCount"))) +
                    "; nothing was read.");
  const std::size_t n = profile.counts.size();
  if (n > 0) {
    range.start = profile.angles.front();
    range.step = n > 1 ? (profile.angles.back() - profile.angles.front()) / static_cast<double>(n - 1) : 0.0;
  }
  const auto step = xml::Number(xml::Child(scan, "Step"));
  const auto speed = xml::Number(xml::Child(scan, "Speed"));
  const std::string_view unit = xml::Text(xml::Child(scan, "SpeedUnit"));
  if (step && speed) range.counting_time = Time_Per_Step(*step, *speed, unit);
  if (speed && (unit == "sec" || unit == "s") && std::isfinite(*speed) && *speed > 0) range.counting_time = *speed;
  range.counts = std::move(profile.counts);
  range.angles = std::move(profile.angles);

  const pugi::xml_node general = xml::Child(root, "GeneralInformation");
  const pugi::xml_node generator = xml::Child(xml::Child(root, "HWConfigurations"), "XrayGenerator");
  Measurement& measurement = read.measurement;
  measurement.k_alpha1 = xml::Number(xml::Child(generator, "WavelengthKalpha1"));
  measurement.k_alpha2 = xml::Number(xml::Child(generator, "WavelengthKalpha2"));
  measurement.anode = xml::Text(xml::Child(generator, "TargetName"));
  measurement.sample = xml::Text(xml::Child(general, "SampleName"));
  measurement.date = xml::Text(xml::Child(scan, "StartTime"));
  return read;
}

}  // namespace

Read_Result Read_Rasx(const Input_File& source, Store& store) {
  const std::string& name = source.name;
  const Zip_Archive archive(source.bytes, name);
  std::vector<std::pair<int, int>> profiles;
  for (const auto& member : archive.Names())
    if (const auto numbers = Profile_Numbers(member)) profiles.push_back(*numbers);
  if (profiles.empty())
    throw Failure(name + " holds no Data0/Profile0.txt: it is not a Rigaku RASX file; nothing was read.");
  std::sort(profiles.begin(), profiles.end());

  std::vector<Rasx_Range> read;
  for (const auto& [data, number] : profiles) read.push_back(Range_Of(archive, name, data, number));
  std::vector<Scan_Range> ranges;
  for (auto& one : read) ranges.push_back(std::move(one.range));
  Read_Result result;
  result.warnings = Store_Range(name, ranges, store.Extras.Range_Wanted, store);
  Store_Measurement(read[Stored_Index(store)].measurement, Type_Name, store);
  return result;
}

}  // namespace talvo
