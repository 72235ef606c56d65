// XRDML, as PANalytical's Data Collector writes it:
//
//   <xrdMeasurements xmlns="http://www.xrdml.com/XRDMeasurement/1.5">
//     <sample><id>...</id><name>...</name></sample>
//     <xrdMeasurement measurementType="Scan">
//       <usedWavelength><kAlpha1>1.5405980</kAlpha1><kAlpha2>...</kAlpha2>
//         <ratioKAlpha2KAlpha1>0.5000</ratioKAlpha2KAlpha1></usedWavelength>
//       <incidentBeamPath><xRayTube><anodeMaterial>Cu</anodeMaterial>...
//       <scan scanAxis="Gonio">                       (one or more)
//         <header><startTimeStamp>2020-10-08T14:14:22+01:00</startTimeStamp>...
//         <dataPoints>
//           <positions axis="2Theta" unit="deg">
//             <startPosition>5.008</startPosition><endPosition>124.995</endPosition>
//             (or <listPositions>5.008 5.025 ...</listPositions>)
//           </positions>
//           <positions axis="Omega">...</positions>
//           <commonCountingTime unit="seconds">62.230</commonCountingTime>
//             (or <countingTimes>...</countingTimes>, one per point)
//           <counts unit="counts">144 171 ...</counts>
//             (version 1.0 to 1.3: <intensities unit="counts">, or "counts/s")
//
// The scan's drive is its scanAxis: a "Gonio" or "2Theta-Omega" scan is a
// powder pattern, an "Omega" scan a rocking curve, which Store_Range refuses.
#include "formats/panalytical/xrdml.h"

#include <cmath>

#include "core/failure.h"
#include "core/scan_range.h"
#include "core/store.h"
#include "formats/archive/measurement.h"
#include "formats/archive/xml.h"

namespace talvo {

namespace {

constexpr std::string_view Type_Name = "XRDML (PANalytical)";
constexpr std::string_view Schema_Base = "http://www.xrdml.com/XRDMeasurement/";

// The root element is <xrdMeasurements> in the XRDML namespace of a
// version Talvo knows.
void Check_Root(pugi::xml_node root, const std::string& file_name) {
  if (xml::Local_Name(root) != "xrdMeasurements")
    throw Failure(file_name + " is not an XRDML file: its root element is <" + std::string(root.name()) +
                  ">, not <xrdMeasurements>; nothing was read.");
  const std::string_view name = root.name();
  const auto colon = name.find(':');
  const std::string xmlns =
      colon == std::string_view::npos ? std::string("xmlns") : "xmlns:" + std::string(name.substr(0, colon));
  const std::string_view space = root.attribute(xmlns.c_str()).value();
  if (space.empty()) return;  // no namespace: read as the versions all agree
  if (!space.starts_with(Schema_Base))
    throw Failure(file_name + " is not an XRDML file: its root element belongs to " + std::string(space) +
                  "; nothing was read.");
  const std::string_view version = space.substr(Schema_Base.size());
  if (!(version.starts_with("1.") || version.starts_with("2.") || version == "1" || version == "2"))
    throw Failure(file_name + " is written in XRDML version " + std::string(version) +
                  ", which Talvo does not read (it reads versions 1.0 to 2.x); nothing was read.");
}

struct Xrdml_Scan {
  Scan_Range range;
  Measurement measurement;
};

std::string Scan_Name(const std::string& file_name, int number) {
  return file_name + ": scan " + std::to_string(number);
}

pugi::xml_node Two_Theta_Positions(pugi::xml_node points) {
  for (const pugi::xml_node positions : xml::Children(points, "positions"))
    if (std::string_view(positions.attribute("axis").value()) == "2Theta") return positions;
  return {};
}

bool Per_Second(std::string_view unit) {
  return unit == "counts/s" || unit == "cps" || unit == "counts per second";
}

Scan_Range Range_Of(pugi::xml_node scan, const std::string& file_name, int number) {
  const std::string where = Scan_Name(file_name, number);
  Scan_Range range;
  range.drive = scan.attribute("scanAxis").value();
  const pugi::xml_node points = xml::Child(scan, "dataPoints");
  if (!points) throw Failure(where + " holds no <dataPoints>; nothing was read.");

  pugi::xml_node counts = xml::Child(points, "counts");
  if (!counts) counts = xml::Child(points, "intensities");
  if (!counts) throw Failure(where + " holds no <counts> or <intensities>; nothing was read.");
  range.counts = xml::Numbers(xml::Text(counts), where, "its counts");
  const std::size_t n = range.counts.size();
  if (n == 0) throw Failure(where + " holds no count; nothing was read.");

  std::vector<double> times;
  if (const auto common = xml::Child(points, "commonCountingTime")) {
    const auto time = xml::Number(common);
    if (!time || !std::isfinite(*time) || *time < 0)
      throw Failure(where + " gives " + std::string(xml::Text(common)) + " as its counting time; nothing was read.");
    range.counting_time = *time;
  } else if (const auto list = xml::Child(points, "countingTimes")) {
    times = xml::Numbers(xml::Text(list), where, "its counting times");
    if (times.size() != n)
      throw Failure(where + " lists " + std::to_string(times.size()) + " counting times for " + std::to_string(n) +
                    " counts; nothing was read.");
    range.counting_time = times.front();
  }
  if (Per_Second(counts.attribute("unit").value())) {
    if (!range.counting_time) throw Failure(where + " gives counts per second but no counting time; nothing was read.");
    for (std::size_t k = 0; k < n; ++k) range.counts[k] *= times.empty() ? *range.counting_time : times[k];
  }

  const pugi::xml_node positions = Two_Theta_Positions(points);
  const pugi::xml_node list = xml::Child(positions, "listPositions");
  const pugi::xml_node first = xml::Child(positions, "startPosition");
  const pugi::xml_node last = xml::Child(positions, "endPosition");
  if (list) {
    range.angles = xml::Numbers(xml::Text(list), where, "its 2Theta positions");
    if (range.angles.size() != n)
      throw Failure(where + " lists " + std::to_string(range.angles.size()) + " 2Theta positions for " +
                    std::to_string(n) + " counts; nothing was read.");
    range.start = range.angles.front();
    range.step = n > 1 ? (range.angles.back() - range.angles.front()) / static_cast<double>(n - 1) : 0.0;
  } else if (first && last) {
    const auto start = xml::Number(first);
    const auto end = xml::Number(last);
    if (!start || !end) throw Failure(where + " gives a 2Theta start or end that is not a number; nothing was read.");
    range.start = *start;
    range.step = n > 1 ? (*end - *start) / static_cast<double>(n - 1) : 0.0;
  } else if (Is_Two_Theta_Drive(range.drive)) {
    throw Failure(where + " gives no 2Theta start and end, nor a 2Theta position per point; nothing was read.");
  }
  return range;
}

Measurement Measurement_Of(pugi::xml_node measurement) {
  Measurement description;
  const pugi::xml_node wavelength = xml::Child(measurement, "usedWavelength");
  description.k_alpha1 = xml::Number(xml::Child(wavelength, "kAlpha1"));
  description.k_alpha2 = xml::Number(xml::Child(wavelength, "kAlpha2"));
  description.k_ratio = xml::Number(xml::Child(wavelength, "ratioKAlpha2KAlpha1"));
  const pugi::xml_node tube = xml::Child(xml::Child(measurement, "incidentBeamPath"), "xRayTube");
  description.anode = std::string(xml::Text(xml::Child(tube, "anodeMaterial")));
  return description;
}

}  // namespace

Read_Result Read_Xrdml(const Input_File& source, Store& store) {
  const std::string& name = source.name;
  const pugi::xml_document document = xml::Parse(source.bytes, name);
  const pugi::xml_node root = document.document_element();
  Check_Root(root, name);

  const pugi::xml_node sample = xml::Child(root, "sample");
  std::string sample_name(xml::Text(xml::Child(sample, "id")));
  if (sample_name.empty()) sample_name = xml::Text(xml::Child(sample, "name"));

  std::vector<Xrdml_Scan> scans;
  for (const pugi::xml_node measurement : xml::Children(root, "xrdMeasurement")) {
    const Measurement description = Measurement_Of(measurement);
    for (const pugi::xml_node scan : xml::Children(measurement, "scan")) {
      Xrdml_Scan read{Range_Of(scan, name, static_cast<int>(scans.size()) + 1), description};
      read.measurement.sample = sample_name;
      read.measurement.date = xml::Text(xml::Child(xml::Child(scan, "header"), "startTimeStamp"));
      scans.push_back(std::move(read));
    }
  }

  std::vector<Scan_Range> ranges;
  ranges.reserve(scans.size());
  for (auto& scan : scans) ranges.push_back(std::move(scan.range));
  Read_Result result;
  result.warnings = Store_Range(name, ranges, store.Extras.Range_Wanted, store);
  Store_Measurement(scans[Stored_Index(store)].measurement, Type_Name, store);
  return result;
}

}  // namespace talvo
