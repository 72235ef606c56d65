// RAW version 4 ("RAW4.00"), little-endian, packed: a 61-byte file header,
// then typed segments, then for each range a 160-byte range header, its
// sub-header of S bytes and N counts. Further segments may stand before any
// range.
//
//   file header              segment (offsets from its start)
//   0   char[8]  "RAW4.00"   0   int32  type; 0 where a range header stands instead
//   12  char[12] date        4   int32  length, these 8 bytes included
//   24  char[12] time
//
//   text segment (type 10)   hardware segment (type 30)    drive segment (type 50)
//   12  char[24] name        72  double K-alpha average    12  char[24] axis name
//   36  the value, to the    80  double K-alpha1           56  double   its start
//       segment's end        88  double K-alpha2
//                            104 double K-alpha2/K-alpha1 ratio
//                            116 char[4] anode
//
//   range header
//   4   int32    steps N
//   32  char[24] scan type ("Locked Coupled", "Detector Scan", ...)
//   72  double   start angle, degrees 2-theta
//   80  double   step width
//   92  float    counting time per step, s
//   112 double   wavelength used, angstrom
//   136 int32    datum size: 4, a float per count
//   140 int32    sub-header size S; its segments (drives, ...) from 160
//   160 + S      N counts
#include <string>

#include "core/bytes.h"
#include "core/failure.h"
#include "core/store.h"
#include "formats/bruker/raw_any.h"

namespace talvo {

namespace {

namespace v4 {
constexpr std::size_t Date = 12, Time = 24, File_Header = 61;
constexpr std::size_t Type = 0, Length = 4, Segment_Head = 8;
constexpr int32_t Text_Segment = 10, Hardware_Segment = 30, Drive_Segment = 50;
constexpr std::size_t Name = 12, Name_Width = 24, Value = 36;
constexpr std::size_t K_Alpha1 = 80, K_Alpha2 = 88, K_Ratio = 104, Anode = 116, Hardware_Fields = 120;
constexpr std::size_t Steps = 4, Scan_Type = 32, Start = 72, Step = 80, Time_Step = 92, Used_Lambda = 112,
                      Datum_Size = 136, Sub_Header = 140, Range_Header = 160;
}  // namespace v4

struct Segment {
  int32_t type = 0;
  std::size_t at = 0, length = 0;
};

// The segment at `at`, which must end by `end`.
Segment Segment_At(const Bytes_View& file, std::size_t at, std::size_t end) {
  const std::string what = "a segment at byte " + std::to_string(at);
  Segment segment{file.I32(at + v4::Type, what), at, 0};
  const int32_t length = file.I32(at + v4::Length, what);
  if (length < static_cast<int32_t>(v4::Segment_Head) || static_cast<std::size_t>(length) > end - at)
    throw Failure(file.file_name() + ": its segment at byte " + std::to_string(at) + " (type " +
                  std::to_string(segment.type) + ") claims " + std::to_string(length) + " bytes, " +
                  (length < 8 ? std::string("fewer than its own head") : "past the end of the file") + ".");
  segment.length = static_cast<std::size_t>(length);
  return segment;
}

void Read_Segment(const Bytes_View& file, const Segment& segment, Raw_Measurement& measurement) {
  const std::string what = "its segment at byte " + std::to_string(segment.at);
  if (segment.type == v4::Text_Segment && segment.length >= v4::Value) {
    const std::string name = Header_Text(file.Text(segment.at + v4::Name, v4::Name_Width, what));
    const std::string value = Header_Text(file.Text(segment.at + v4::Value, segment.length - v4::Value, what));
    if (name == "SAMPLEID") measurement.sample = value;
  } else if (segment.type == v4::Hardware_Segment && segment.length >= v4::Hardware_Fields) {
    measurement.k_alpha1 = Raw_F64(file, segment.at + v4::K_Alpha1, what);
    measurement.k_alpha2 = Raw_F64(file, segment.at + v4::K_Alpha2, what);
    measurement.k_ratio = Raw_F64(file, segment.at + v4::K_Ratio, what);
    measurement.anode = Header_Text(file.Text(segment.at + v4::Anode, 4, what));
  }
}

// The first axis the sub-header's drive segments name, or "" when they name
// none or are not segments.
std::string First_Drive(const Bytes_View& file, std::size_t at, std::size_t end) {
  while (end - at >= v4::Segment_Head) {
    const int32_t type = file.I32(at + v4::Type, "a sub-header");
    const int32_t length = file.I32(at + v4::Length, "a sub-header");
    if (length < static_cast<int32_t>(v4::Segment_Head) || static_cast<std::size_t>(length) > end - at) break;
    if (type == v4::Drive_Segment && static_cast<std::size_t>(length) >= v4::Name + v4::Name_Width)
      return Header_Text(file.Text(at + v4::Name, v4::Name_Width, "a drive segment"));
    at += static_cast<std::size_t>(length);
  }
  return "";
}

}  // namespace

Read_Result Read_Raw4(const Input_File& source, Store& store) {
  const Bytes_View file(source.bytes, source.name);
  const std::string header = "its 61-byte RAW version 4 header";
  file.Need(0, v4::File_Header, header);
  Raw_Measurement measurement;
  const std::string date = Header_Text(file.Text(v4::Date, 12, header));
  const std::string time = Header_Text(file.Text(v4::Time, 12, header));
  measurement.date = time.empty() ? date : date + " " + time;

  // Each step takes at least the 8 bytes of a segment head or a whole range
  // header, so the walk ends with the file.
  std::size_t at = v4::File_Header;
  while (at < file.size()) {
    if (file.I32(at + v4::Type, "a segment at byte " + std::to_string(at)) != 0) {
      const Segment segment = Segment_At(file, at, file.size());
      Read_Segment(file, segment, measurement);
      at += segment.length;
      continue;
    }
    const std::string range_name = "range " + std::to_string(measurement.ranges.size() + 1);
    const std::string what = "the header of its " + range_name;
    file.Need(at, v4::Range_Header, what);
    const int32_t datum = file.I32(at + v4::Datum_Size, what);
    if (datum != 4)
      throw Failure(source.name + ": its " + range_name + " stores each count in " + std::to_string(datum) +
                    " bytes; a RAW version 4 file read here stores them as 4-byte reals.");
    const int32_t sub_header = file.I32(at + v4::Sub_Header, what);
    const std::size_t sub_start = at + v4::Range_Header;
    if (sub_header < 0 || static_cast<std::size_t>(sub_header) > file.size() - sub_start)
      throw Failure(source.name + ": the header of its " + range_name + " announces a sub-header of " +
                    std::to_string(sub_header) + " bytes, which runs past the end of the file (" +
                    std::to_string(file.size()) + " bytes).");
    const std::size_t data = sub_start + static_cast<std::size_t>(sub_header);
    const int32_t steps = file.I32(at + v4::Steps, what);
    const std::size_t available = (file.size() - data) / 4;
    if (steps < 0 || static_cast<std::size_t>(steps) > available)
      throw Failure(source.name + " ends after " + std::to_string(available) + " of the " + std::to_string(steps) +
                    " counts its " + range_name + " announces.");

    Scan_Range range;
    range.drive = Header_Text(file.Text(at + v4::Scan_Type, v4::Name_Width, what));
    if (range.drive.empty()) range.drive = First_Drive(file, sub_start, data);
    range.start = Raw_F64(file, at + v4::Start, what);
    range.step = Raw_F64(file, at + v4::Step, what);
    range.counting_time = file.F32(at + v4::Time_Step, what);
    if (measurement.ranges.empty()) measurement.used_lambda = Raw_F64(file, at + v4::Used_Lambda, what);
    range.counts = Raw_Counts(file, data, static_cast<std::size_t>(steps));
    measurement.ranges.push_back(std::move(range));
    at = data + 4 * static_cast<std::size_t>(steps);
  }
  return Store_Raw_Measurement(source.name, measurement, store);
}

}  // namespace talvo
