// talvo._talvo: the engine calls behind the Python module `talvo`. Every
// read, write, conversion and synthesis runs with the interpreter's lock
// released, on a store and a platform of its own, so threads of one
// interpreter convert at once. talvo/__init__.py turns what these calls
// return into patterns and exceptions.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/batch.h"
#include "core/cp1252.h"
#include "core/dispatch.h"
#include "core/failure.h"
#include "core/file_io.h"
#include "core/store.h"
#include "core/text32.h"
#include "formats/format_table.h"
#include "formats/text/peak_table.h"
#include "python/python_platform.h"
#include "synthesis/noise.h"
#include "synthesis/peaks_to_scan.h"

namespace py = pybind11;

namespace talvo {

namespace {

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

// A pattern as the store holds it; the Python pattern keeps it so that a
// pattern written as it was read gives the bytes talvo-convert writes (the
// uninterpreted header bytes of its file included).
struct Held_Store {
  Store store;
};

// What a Python pattern shows of a store.
struct Shown_Pattern {
  bool peaks = false;
  std::vector<double> two_theta, intensity;
  std::optional<std::vector<double>> uncertainty;
  double wavelength = 0, time_per_step = 0;
  std::string sample;
};

std::string Trimmed_Text32(const std::string& text32) {
  std::string text = Cp1252_To_Utf8(Blank_Nuls(text32));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The points of a scan: as many as it announces and holds.
int32_t Shown_Points(const Store& store) {
  return std::max<int32_t>(0, std::min<int32_t>(store.Nb_Points, static_cast<int32_t>(store.Intensities.size()) - 1));
}

// The whole sample name where the file gives one, else the 32-character
// item: the title of a peak list, the sample of a scan.
std::string Shown_Sample(const Store& store) {
  if (!store.Extras.Sample.empty()) return store.Extras.Sample;
  const bool titled =
      store.Is_Peak_List != 0 && Dif_Title(store).find_first_not_of(std::string(" \0", 2)) != std::string::npos;
  return Trimmed_Text32(titled ? Dif_Title(store) : store.Sample_ID);
}

Shown_Pattern Shown(const Store& store) {
  Shown_Pattern shown;
  shown.peaks = store.Is_Peak_List != 0;
  const Pattern_Extras& extras = store.Extras;
  if (shown.peaks) {
    const int n = std::clamp<int>(store.Nb_Peaks, 0, Max_Peaks);
    for (int k = 1; k <= n; ++k) {
      shown.two_theta.push_back(store.Peaks[k].Position);
      shown.intensity.push_back(store.Peaks[k].Intensity);
    }
  } else {
    const int32_t n = Shown_Points(store);
    const bool angles = Holds_Per_Point(extras.Angles, n), counts = Holds_Per_Point(extras.Counts, n);
    const double start = store.Start_2Theta;
    shown.two_theta.resize(static_cast<std::size_t>(n));
    shown.intensity.resize(static_cast<std::size_t>(n));
    for (int32_t k = 1; k <= n; ++k) {
      shown.two_theta[k - 1] = angles ? extras.Angles[k] : start + (k - 1) * store.Step_Size;
      shown.intensity[k - 1] = counts ? extras.Counts[k] : store.Intensities[k];
    }
    if (Holds_Per_Point(extras.Uncertainties, n))
      shown.uncertainty = std::vector<double>(extras.Uncertainties.begin() + 1, extras.Uncertainties.end());
  }
  shown.wavelength = extras.K_Alpha1.value_or(store.Lambda1);
  shown.time_per_step = extras.Counting_Time.value_or(store.Time_Step);
  shown.sample = Shown_Sample(store);
  return shown;
}

std::vector<double> With_Slot_0(const std::vector<double>& values) {
  std::vector<double> slots(values.size() + 1, 0.0);
  std::copy(values.begin(), values.end(), slots.begin() + 1);
  return slots;
}

// The store of a pattern: the store it was read into, with every item the
// caller changed since set from what it holds now. A pattern made from
// arrays starts from the start-up store.
Store Store_Of(const Held_Store* held, const Shown_Pattern& now) {
  Store store = held ? held->store : Store{};
  const std::optional<Shown_Pattern> was = held ? std::optional(Shown(held->store)) : std::nullopt;
  const bool kind_changed = !was || was->peaks != now.peaks;
  const bool angles_changed = kind_changed || was->two_theta != now.two_theta;
  const bool counts_changed = kind_changed || was->intensity != now.intensity;
  const std::size_t n = now.intensity.size();
  if (now.two_theta.size() != n)
    throw py::value_error("two_theta holds " + std::to_string(now.two_theta.size()) + " values and intensity " +
                          std::to_string(n) + ": a pattern has one of each per point.");
  if (now.peaks && (angles_changed || counts_changed)) {
    if (n == 0) throw py::value_error("A peak list needs at least one peak.");
    Peak_Table_Fill fill(store, "The pattern");
    for (std::size_t k = 0; k < n; ++k) fill.Add(now.two_theta[k], now.intensity[k]);
    fill.Finish();
    store.Max_Intensity = *std::max_element(now.intensity.begin(), now.intensity.end());
  } else if (!now.peaks && (angles_changed || counts_changed)) {
    if (n == 0) throw py::value_error("A scan needs at least one point.");
    store.Is_Peak_List = False16;
    store.Nb_Points = static_cast<int32_t>(std::min<std::size_t>(n, INT32_MAX));
    if (counts_changed) {
      store.Intensities.assign(n + 1, 0.0f);
      for (std::size_t k = 0; k < n; ++k) store.Intensities[k + 1] = static_cast<float>(now.intensity[k]);
      store.Extras.Counts = With_Slot_0(now.intensity);
      store.Max_Intensity = Largest_Intensity(store.Intensities, store.Nb_Points);
    }
    if (angles_changed) {
      const double first = now.two_theta.front(), last = now.two_theta.back();
      store.Start_2Theta = static_cast<float>(first);
      store.Start_Theta = static_cast<float>(first / 2);
      if (n > 1) store.Step_Size = (last - first) / static_cast<double>(n - 1);
      store.Range_Limits = {first, last};
      store.Extras.Angles = With_Slot_0(now.two_theta);
    }
  }
  if (!was || was->uncertainty != now.uncertainty) {
    if (now.uncertainty && now.uncertainty->size() != n)
      throw py::value_error("uncertainty holds " + std::to_string(now.uncertainty->size()) +
                            " values for a pattern of " + std::to_string(n) + " points.");
    store.Extras.Uncertainties = now.uncertainty ? With_Slot_0(*now.uncertainty) : std::vector<double>{};
  }
  if (!was || was->wavelength != now.wavelength) {
    store.Lambda1 = static_cast<float>(now.wavelength);
    store.Extras.K_Alpha1 = now.wavelength;
  }
  if (!was || was->time_per_step != now.time_per_step) {
    store.Time_Step = static_cast<float>(now.time_per_step);
    store.Extras.Counting_Time = now.time_per_step;
  }
  if (!was || was->sample != now.sample) {
    store.Sample_ID = Fit32(Utf8_To_Cp1252(now.sample));
    if (now.peaks) Set_Dif_Title(store, store.Sample_ID);
    store.Extras.Sample = now.sample;
  }
  return store;
}

std::vector<double> Values_Of(const py::handle& object) {
  const Array array = Array::ensure(object);
  if (!array) throw py::type_error("expected a sequence of numbers");
  if (array.ndim() != 1) throw py::value_error("expected a one-dimensional sequence of numbers");
  return std::vector<double>(array.data(), array.data() + array.size());
}

py::array_t<double> Array_Of(const std::vector<double>& values) {
  py::array_t<double> array(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), array.mutable_data());
  return array;
}

Shown_Pattern Pattern_Fields(const py::handle& pattern) {
  Shown_Pattern now;
  now.peaks = pattern.attr("kind").cast<std::string>() == "peaks";
  now.two_theta = Values_Of(pattern.attr("two_theta"));
  now.intensity = Values_Of(pattern.attr("intensity"));
  if (const py::object u = pattern.attr("uncertainty"); !u.is_none()) now.uncertainty = Values_Of(u);
  now.wavelength = pattern.attr("wavelength").cast<double>();
  now.time_per_step = pattern.attr("time_per_step").cast<double>();
  now.sample = pattern.attr("sample").cast<std::string>();
  return now;
}

const Held_Store* Held_Of(const py::handle& pattern) {
  const py::object held = pattern.attr("_store");
  return held.is_none() ? nullptr : held.cast<const Held_Store*>();
}

py::dict Metadata_Of(const Store& store, const std::string& type_name, const std::string& path) {
  const Pattern_Extras& extras = store.Extras;
  py::dict metadata;
  metadata["type"] = type_name;
  if (const Input_Type* type = Format_Table().Input(type_name)) metadata["key"] = std::string(type->key);
  metadata["path"] = path;
  if (store.Is_Peak_List != 0) {
    metadata["peaks"] = static_cast<int>(store.Nb_Peaks);
  } else {
    metadata["points"] = store.Nb_Points;
    metadata["start"] = static_cast<double>(store.Start_2Theta);
    metadata["step"] = store.Step_Size;
  }
  metadata["range_limits"] = py::make_tuple(store.Range_Limits[0], store.Range_Limits[1]);
  metadata["max_intensity"] = store.Max_Intensity;
  metadata["lambda1"] = static_cast<double>(store.Lambda1);
  metadata["lambda2"] = static_cast<double>(extras.K_Alpha2.value_or(store.Lambda2));
  if (extras.K_Alpha1) metadata["k_alpha1"] = *extras.K_Alpha1;
  if (extras.K_Alpha2) metadata["k_alpha2"] = *extras.K_Alpha2;
  if (extras.K_Ratio) metadata["k_ratio"] = *extras.K_Ratio;
  if (!extras.Anode.empty()) metadata["anode"] = extras.Anode;
  if (!extras.Date.empty()) metadata["date"] = extras.Date;
  if (!extras.Source_Type.empty()) metadata["source_type"] = extras.Source_Type;
  metadata["sample_id"] = Trimmed_Text32(store.Sample_ID);
  metadata["range"] = extras.Range_Wanted;
  metadata["ranges"] = extras.Range_Count;
  return metadata;
}

py::list Texts_Of(const std::vector<Python_Platform::Message>& messages) {
  py::list texts;
  for (const auto& message : messages) texts.append(message.text);
  return texts;
}

// The fields of a pattern for talvo/__init__.py to make a Pattern of. The
// arrays of a scan are filled in place: a scan of 32 767 points is read in
// little more time than the engine takes.
py::dict Pattern_Dict(Store store, const std::string& type_name, const std::string& path,
                      const std::vector<Python_Platform::Message>& warnings) {
  py::dict fields;
  const Pattern_Extras& extras = store.Extras;
  const bool peaks = store.Is_Peak_List != 0;
  if (peaks) {
    const Shown_Pattern shown = Shown(store);
    fields["two_theta"] = Array_Of(shown.two_theta);
    fields["intensity"] = Array_Of(shown.intensity);
    fields["uncertainty"] = py::none();
  } else {
    const int32_t n = Shown_Points(store);
    py::array_t<double> two_theta(n), intensity(n);
    double* angle = two_theta.mutable_data();
    double* count = intensity.mutable_data();
    if (Holds_Per_Point(extras.Angles, n))
      std::copy(extras.Angles.begin() + 1, extras.Angles.end(), angle);
    else
      for (int32_t k = 0; k < n; ++k) angle[k] = static_cast<double>(store.Start_2Theta) + k * store.Step_Size;
    if (Holds_Per_Point(extras.Counts, n))
      std::copy(extras.Counts.begin() + 1, extras.Counts.end(), count);
    else
      std::copy(store.Intensities.begin() + 1, store.Intensities.begin() + 1 + n, count);
    fields["two_theta"] = two_theta;
    fields["intensity"] = intensity;
    fields["uncertainty"] =
        Holds_Per_Point(extras.Uncertainties, n)
            ? py::object(Array_Of(std::vector<double>(extras.Uncertainties.begin() + 1, extras.Uncertainties.end())))
            : py::none();
  }
  fields["wavelength"] = extras.K_Alpha1.value_or(store.Lambda1);
  fields["time_per_step"] = extras.Counting_Time.value_or(store.Time_Step);
  fields["sample"] = Shown_Sample(store);
  fields["kind"] = peaks ? "peaks" : "scan";
  fields["metadata"] = Metadata_Of(store, type_name, path);
  fields["warnings"] = Texts_Of(warnings);
  fields["_store"] = Held_Store{std::move(store)};
  return fields;
}

// A keyword argument's answer as the dialog field takes it: numbers written
// so that they read back as the same double.
Dialog_Answers Answers_Of(const py::dict& given, bool preserve_range) {
  Dialog_Answers answers;
  answers.preserve_range = preserve_range;
  for (const auto& [key, value] : given) {
    const std::string name = key.cast<std::string>();
    if (py::isinstance<py::bool_>(value))
      throw py::type_error(name + " takes a number or a text, not " + py::repr(value).cast<std::string>());
    answers.values[name] = py::isinstance<py::str>(value)
                               ? value.cast<std::string>()
                               : py::repr(py::float_(py::reinterpret_borrow<py::object>(value))).cast<std::string>();
  }
  if (auto wrong = Check_Answers(answers.values)) {
    const std::string& value = answers.values[*wrong];
    if (*wrong == "profile") throw py::value_error("profile takes gauss, lorentz or pearson7, not \"" + value + "\"");
    throw py::value_error(*wrong + ": \"" + value + "\" is not a number");
  }
  return answers;
}

std::string Lower_Extension(const std::string& path) {
  std::string extension = Path_From_Utf8(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool Pattern_Matches(std::string_view pattern, const std::string& extension) {
  std::string wanted = "*" + extension;
  if (pattern.size() != wanted.size()) return false;
  return std::equal(pattern.begin(), pattern.end(), wanted.begin(),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// The input types to try for a file named `path`: those whose pattern names
// its extension, then those that recognise any file by its content, in the
// registry's order.
std::vector<std::string> Input_Candidates(const std::string& path) {
  const std::string extension = Lower_Extension(path);
  std::vector<std::string> names;
  for (const auto& type : Format_Table().inputs)
    if (!extension.empty() && Pattern_Matches(type.pattern, extension)) names.emplace_back(type.name);
  for (const auto& type : Format_Table().inputs)
    if (type.pattern == "*.*") names.emplace_back(type.name);
  return names;
}

std::string Input_Name(const std::string& typed) {
  if (const Input_Type* type = Format_Table().Input_By_Key(typed)) return std::string(type->name);
  throw py::value_error("unknown input type \"" + typed + "\" (see talvo.input_types())");
}

std::string Output_Name(const std::string& typed) {
  if (const Output_Type* type = Format_Table().Output_By_Key(typed)) return std::string(type->name);
  throw py::value_error("unknown output type \"" + typed + "\" (see talvo.output_types())");
}

// The output type for a file named `path`: the first whose pattern names
// its extension and which writes a pattern of this kind; failing that, the
// first whose pattern names it, whose refusal is then the answer.
std::string Output_For(const std::string& path, bool peaks) {
  const std::string extension = Lower_Extension(path);
  const Output_Type* first = nullptr;
  for (const auto& type : Format_Table().outputs) {
    if (extension.empty() || !Pattern_Matches(type.pattern, extension)) continue;
    if (Rule_For(type, peaks).writer) return std::string(type.name);
    if (first == nullptr) first = &type;
  }
  if (first != nullptr) return std::string(first->name);
  throw py::value_error("no output type writes \"" + extension +
                        "\" files: name one with type= (see talvo.output_types())");
}

struct Read_Outcome {
  Outcome outcome = Outcome::Failed;
  Store store;
  std::vector<Python_Platform::Message> messages;
  std::string type_name;
};

Read_Outcome Read_As(const std::string& path, const std::string& type_name, int32_t range,
                     const Dialog_Answers& answers) {
  Python_Platform platform;
  platform.answers = answers;
  Read_Outcome read;
  read.store.Extras.Range_Wanted = range;
  Session session{read.store, platform, Format_Table()};
  read.outcome = Read_Only(session, type_name, path);
  read.messages = std::move(platform.messages);
  read.type_name = type_name;
  return read;
}

// Reads with the type named, or with each candidate in turn until one reads
// the file; when none does, the first candidate's refusal is the answer.
Read_Outcome Read_Any(const std::string& path, const std::optional<std::string>& type_name, int32_t range,
                      const Dialog_Answers& answers) {
  if (type_name) return Read_As(path, *type_name, range, answers);
  std::optional<Read_Outcome> first;
  for (const std::string& candidate : Input_Candidates(path)) {
    Read_Outcome read = Read_As(path, candidate, range, answers);
    if (read.outcome == Outcome::Converted) return read;
    if (!first) first = std::move(read);
  }
  return first ? std::move(*first) : Read_As(path, std::string(Format_Table().inputs.back().name), range, answers);
}

std::string Refusal_Of(const std::vector<Python_Platform::Message>& messages) {
  return messages.empty() ? std::string("The file was not read.") : messages.back().text;
}

// (None, fields) for a pattern read, (message, None) for a refusal.
py::tuple Py_Read(const std::string& path, const std::optional<std::string>& type, int32_t range, const py::dict& given,
                  bool preserve_range) {
  const std::optional<std::string> type_name = type ? std::optional(Input_Name(*type)) : std::nullopt;
  const Dialog_Answers answers = Answers_Of(given, preserve_range);
  Read_Outcome read;
  {
    py::gil_scoped_release unlocked;
    read = Read_Any(path, type_name, range, answers);
  }
  if (read.outcome != Outcome::Converted) return py::make_tuple(Refusal_Of(read.messages), py::none());
  return py::make_tuple(py::none(), Pattern_Dict(std::move(read.store), read.type_name, path, read.messages));
}

// (status, message, warnings): status "written", "refused" or "failed".
py::tuple Py_Write(const py::handle& pattern, const std::string& path, const std::optional<std::string>& type,
                   const py::dict& given, bool preserve_range) {
  const Dialog_Answers answers = Answers_Of(given, preserve_range);
  Shown_Pattern now = Pattern_Fields(pattern);
  Store store = Store_Of(Held_Of(pattern), now);
  const std::string type_name = type ? Output_Name(*type) : Output_For(path, store.Is_Peak_List != 0);
  Python_Platform platform;
  platform.answers = answers;
  Outcome outcome;
  {
    py::gil_scoped_release unlocked;
    Session session{store, platform, Format_Table()};
    outcome = Write_Only(session, type_name, path);
  }
  const char* status = outcome == Outcome::Converted ? "written" : outcome == Outcome::Refused ? "refused" : "failed";
  auto& messages = platform.messages;
  const std::string message = outcome == Outcome::Converted ? std::string() : Refusal_Of(messages);
  if (outcome != Outcome::Converted && !messages.empty()) messages.pop_back();
  return py::make_tuple(status, message, Texts_Of(messages));
}

// (None, fields) for the scan, (message, None) when the parameters give none.
py::tuple Py_Synthesise(const py::handle& pattern, const py::dict& given, bool preserve_range,
                        std::optional<uint32_t> seed) {
  const Dialog_Answers answers = Answers_Of(given, preserve_range);
  Shown_Pattern now = Pattern_Fields(pattern);
  if (!now.peaks) throw py::value_error("synthesise takes a peak list; this pattern is a scan");
  Store store = Store_Of(Held_Of(pattern), now);
  Python_Platform platform;
  platform.answers = answers;
  std::optional<std::string> refusal;
  {
    py::gil_scoped_release unlocked;
    Noise_Sequence noise = seed ? Noise_Sequence(*seed) : Noise_Sequence();
    try {
      Prepare_Synthesis(store);
      platform.Show_Dif2Raw(store, Dif2Raw_Opening::Before_Synthesis);
      Synthesise_Scan_With(store, noise);
      store.Is_Peak_List = False16;
    } catch (const Failure& failure) {
      refusal = failure.what();
    }
  }
  if (refusal) return py::make_tuple(*refusal, py::none());
  return py::make_tuple(py::none(), Pattern_Dict(std::move(store), "", "", {}));
}

// One (input, output, status, messages) per input, in input order.
py::list Py_Convert(const std::vector<std::string>& inputs, const std::string& from, const std::string& to,
                    const std::optional<std::string>& output, std::optional<unsigned> jobs, int32_t range,
                    const py::dict& given, bool preserve_range) {
  const std::string input_name = Input_Name(from), output_name = Output_Name(to);
  const Dialog_Answers answers = Answers_Of(given, preserve_range);
  const Output_Type* output_type = Format_Table().Output(output_name);
  const Output_Option option{output.value_or(std::string()), output.has_value(), std::string(output_type->pattern)};
  std::vector<Conversion_Call> calls;
  for (const auto& input : inputs) calls.push_back({input, Output_Path_For(input, option, inputs.size() > 1), range});
  const unsigned threads = jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::vector<Python_Platform::Message>> messages(calls.size());
  std::vector<Outcome> outcomes(calls.size(), Outcome::Failed);
  {
    py::gil_scoped_release unlocked;
    Batch_Platforms platforms;
    platforms.make = [&](std::size_t) {
      auto platform = std::make_unique<Python_Platform>();
      platform->answers = answers;
      return std::unique_ptr<Platform>(std::move(platform));
    };
    platforms.done = [&](std::size_t file, Platform& platform, Outcome outcome) {
      messages[file] = std::move(static_cast<Python_Platform&>(platform).messages);
      outcomes[file] = outcome;
    };
    Convert_Batch(Format_Table(), input_name, output_name, calls, platforms, threads);
  }
  py::list results;
  for (std::size_t k = 0; k < calls.size(); ++k) {
    const char* status = outcomes[k] == Outcome::Converted ? "converted"
                         : outcomes[k] == Outcome::Refused ? "refused"
                                                           : "failed";
    results.append(py::make_tuple(calls[k].infile, calls[k].outfile, status, Texts_Of(messages[k])));
  }
  return results;
}

template <typename Types>
py::list Type_List(const Types& types) {
  py::list list;
  for (const auto& type : types)
    list.append(py::make_tuple(std::string(type.key), std::string(type.name), std::string(type.pattern),
                               type.layer == Layer::System ? "system" : "today"));
  return list;
}

}  // namespace

}  // namespace talvo

PYBIND11_MODULE(_talvo, module) {
  using namespace talvo;
  module.doc() = "The engine calls behind the talvo module; use talvo, not this.";
  // A pattern the engine cannot hold (more than 500 peaks, ...).
  py::register_exception_translator([](std::exception_ptr raised) {
    try {
      if (raised) std::rethrow_exception(raised);
    } catch (const Failure& failure) {
      PyErr_SetString(PyExc_ValueError, failure.what());
    }
  });
  py::class_<Held_Store>(module, "_Store", "The store a pattern was read into (opaque).");
  module.def("read", &talvo::Py_Read, py::arg("path"), py::arg("type"), py::arg("range"), py::arg("answers"),
             py::arg("preserve_range"));
  module.def("write", &talvo::Py_Write, py::arg("pattern"), py::arg("path"), py::arg("type"), py::arg("answers"),
             py::arg("preserve_range"));
  module.def("synthesise", &talvo::Py_Synthesise, py::arg("pattern"), py::arg("answers"), py::arg("preserve_range"),
             py::arg("seed"));
  module.def("convert", &talvo::Py_Convert, py::arg("inputs"), py::arg("from_"), py::arg("to"), py::arg("output"),
             py::arg("jobs"), py::arg("range"), py::arg("answers"), py::arg("preserve_range"));
  module.def("input_types", [] { return Type_List(Format_Table().inputs); });
  module.def("output_types", [] { return Type_List(Format_Table().outputs); });
  module.attr("version") = TALVO_VERSION;
  module.attr("all_ranges") = All_Ranges;
}
