// A BRML file is a zip archive; its scans are in ExperimentN/RawDataM.xml:
//
//   <RawData>
//     <TimeStampStarted>2023-01-26T15:23:09.8+01:00</TimeStampStarted>
//     <DataRoutes><DataRoute>
//       <ScanInformation ScanName="TwoThetaOmegaScan" VisibleName="2Theta-Omega">
//         <MeasurementPoints>2001</MeasurementPoints>
//         <TimePerStep>1</TimePerStep>
//         <ScanAxes><ScanAxisInfo AxisId="TwoTheta"><Start>44</Start>...
//       <SubScans><SubScanInfo MeasuredSteps="2001" .../></SubScans>
//       <Datum>1,1,44,18.028,-0.12937,0,2.63482,3</Datum>     (one per point)
//       <DataViews>                 what each value of a Datum is:
//         <RawDataView Start="0" LogicName="MeasuredTime"/>
//         <RawDataView Start="1" LogicName="AbsorptionFactor"/>
//         <RawDataView Start="2" Length="2"> ... <FieldDefinitions FieldName="TwoTheta"/>
//                                                <FieldDefinitions FieldName="Theta"/>
//         <RawDataView xsi:type="RecordedRawDataView" Start="7"/>   the count
//     <FixedInformation> ... <InfoItem Name="SampleName" Value="..."/>
//       <Tube><WaveLengthAlpha1 Value="1.5406"/><WaveLengthAlpha2 Value="1.54439"/>
//         <WaveLengthRatio Value="0.5"/><TubeMaterial>Cu</TubeMaterial>
//
// Without data views, 2-theta is the third value of a Datum and the count the
// last. The count is already corrected by the absorption factor.
#include "formats/bruker/brml.h"

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

constexpr std::string_view Type_Name = "Bruker BRML";

// "Experiment0/RawData2.xml" as (0, 2); empty for any other name.
std::optional<std::pair<int, int>> Raw_Data_Numbers(const std::string& name) {
  int experiment = 0, raw = 0;
  if (std::sscanf(name.c_str(), "Experiment%d/RawData%d.xml", &experiment, &raw) != 2) return std::nullopt;
  if (experiment < 0 || raw < 0) return std::nullopt;
  if (name != "Experiment" + std::to_string(experiment) + "/RawData" + std::to_string(raw) + ".xml")
    return std::nullopt;
  return std::pair{experiment, raw};
}

std::optional<double> Value_Of(pugi::xml_node node) {
  return xml::Number(node.attribute("Value").value());
}

// Where 2-theta and the count sit in a Datum row, from the route's data
// views.
struct Columns {
  std::optional<std::size_t> two_theta, count;
};

Columns Columns_Of(pugi::xml_node route) {
  Columns columns;
  for (const pugi::xml_node view : xml::Children(xml::Child(route, "DataViews"), "RawDataView")) {
    const auto start = xml::Number(view.attribute("Start").value());
    if (!start || *start < 0 || *start > 1e6 || *start != std::floor(*start)) continue;
    const auto first = static_cast<std::size_t>(*start);
    const std::string_view type = view.attribute("xsi:type").value();
    if (type == "RecordedRawDataView" && !columns.count) columns.count = first;
    const pugi::xml_node varying = xml::Child(view, "Varying");
    std::size_t k = 0;
    for (const pugi::xml_node field : xml::Children(varying, "FieldDefinitions")) {
      if (std::string_view(field.attribute("FieldName").value()) == "TwoTheta" && !columns.two_theta)
        columns.two_theta = first + k;
      ++k;
    }
  }
  return columns;
}

Scan_Range Range_Of(pugi::xml_node route, const std::string& where) {
  Scan_Range range;
  const pugi::xml_node scan = xml::Child(route, "ScanInformation");
  std::string drive = scan.attribute("VisibleName").value();
  while (!drive.empty() && drive.back() == ' ') drive.pop_back();
  range.drive = drive.empty() ? std::string(scan.attribute("ScanName").value()) : drive;
  if (const auto time = xml::Number(xml::Child(scan, "TimePerStep")); time && std::isfinite(*time) && *time >= 0)
    range.counting_time = *time;

  const Columns columns = Columns_Of(route);
  const std::size_t angle_column = columns.two_theta.value_or(2);
  std::size_t row = 0;
  for (const pugi::xml_node datum : xml::Children(route, "Datum")) {
    ++row;
    const auto values = xml::Numbers(xml::Text(datum), where, "the values of point " + std::to_string(row), ',');
    const std::size_t count_column = values.empty() ? 0 : columns.count.value_or(values.size() - 1);
    if (values.size() < 3 || angle_column >= values.size() || count_column >= values.size())
      throw Failure(where + ": point " + std::to_string(row) + " holds " + std::to_string(values.size()) +
                    " values, too few for its 2-theta and its count; nothing was read.");
    range.angles.push_back(values[angle_column]);
    range.counts.push_back(values[count_column]);
  }

  // The steps measured (fewer than planned when the scan was stopped), or
  // the points planned.
  std::optional<double> stated;
  for (const pugi::xml_node sub : xml::Children(xml::Child(route, "SubScans"), "SubScanInfo"))
    if (const auto steps = xml::Number(sub.attribute("MeasuredSteps").value())) stated = stated.value_or(0) + *steps;
  if (!stated) stated = xml::Number(xml::Child(scan, "MeasurementPoints"));
  if (stated && *stated != static_cast<double>(range.counts.size()))
    throw Failure(where + " holds " + Points_Text(range.counts.size()) + ", but its scan announces " +
                  std::to_string(static_cast<long long>(std::clamp(*stated, -1e15, 1e15))) + "; nothing was read.");
  const std::size_t n = range.counts.size();
  if (n > 0) {
    range.start = range.angles.front();
    range.step = n > 1 ? (range.angles.back() - range.angles.front()) / static_cast<double>(n - 1) : 0.0;
  }
  return range;
}

Measurement Measurement_Of(pugi::xml_node root) {
  Measurement measurement;
  const pugi::xml_node fixed = xml::Child(root, "FixedInformation");
  const pugi::xml_node tube = xml::Descendant(fixed, "Tube");
  measurement.k_alpha1 = Value_Of(xml::Child(tube, "WaveLengthAlpha1"));
  measurement.k_alpha2 = Value_Of(xml::Child(tube, "WaveLengthAlpha2"));
  measurement.k_ratio = Value_Of(xml::Child(tube, "WaveLengthRatio"));
  measurement.anode = xml::Text(xml::Child(tube, "TubeMaterial"));
  if (!measurement.k_alpha1) measurement.k_alpha1 = Value_Of(xml::Descendant(fixed, "WaveLength"));
  const pugi::xml_node item = fixed.find_node([](pugi::xml_node node) {
    return xml::Local_Name(node) == "InfoItem" && std::string_view(node.attribute("Name").value()) == "SampleName";
  });
  measurement.sample = item.attribute("Value").value();
  measurement.date = xml::Text(xml::Child(root, "TimeStampStarted"));
  return measurement;
}

struct Brml_Range {
  Scan_Range range;
  Measurement measurement;
};

}  // namespace

Read_Result Read_Brml(const Input_File& source, Store& store) {
  const std::string& name = source.name;
  const Zip_Archive archive(source.bytes, name);
  std::vector<std::pair<std::pair<int, int>, std::string>> members;
  for (const auto& member : archive.Names())
    if (const auto numbers = Raw_Data_Numbers(member)) members.push_back({*numbers, member});
  if (members.empty())
    throw Failure(name + " holds no Experiment0/RawData0.xml: it is not a Bruker BRML file; nothing was read.");
  std::sort(members.begin(), members.end());

  std::vector<Brml_Range> read;
  for (const auto& [numbers, member] : members) {
    const std::string where = name + ": " + member;
    const auto bytes = archive.Read(member);
    const pugi::xml_document document = xml::Parse(bytes, where);
    const pugi::xml_node root = document.document_element();
    if (xml::Local_Name(root) != "RawData")
      throw Failure(where + " holds <" + std::string(root.name()) + ">, not <RawData>; nothing was read.");
    const Measurement measurement = Measurement_Of(root);
    const auto routes = xml::Children(xml::Child(root, "DataRoutes"), "DataRoute");
    int number = 0;
    for (const pugi::xml_node route : routes) {
      if (!xml::Child(route, "Datum")) continue;  // a route without points
      ++number;
      read.push_back(
          {Range_Of(route, number == 1 ? where : where + " (data route " + std::to_string(number) + ")"), measurement});
    }
  }
  std::vector<Scan_Range> ranges;
  for (auto& one : read) ranges.push_back(std::move(one.range));
  Read_Result result;
  result.warnings = Store_Range(name, ranges, store.Extras.Range_Wanted, store);
  Store_Measurement(read[Stored_Index(store)].measurement, Type_Name, store);
  return result;
}

}  // namespace talvo
