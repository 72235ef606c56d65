#include "core/batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "core/file_io.h"
#include "core/path_names.h"
#include "core/store.h"

namespace talvo {

namespace {

// One store for the whole batch, each file's platform made before the file
// and handed back after it.
Outcome One_After_Another(const Registry& registry, std::string_view input_type, std::string_view output_type,
                          const std::vector<Conversion_Call>& calls, const Batch_Platforms& platforms) {
  Store store;
  Outcome all = Outcome::Converted;
  for (std::size_t k = 0; k < calls.size(); ++k) {
    const std::unique_ptr<Platform> platform = platforms.make(k);
    Session session{store, *platform, registry};
    platform->Do_Events();
    const Outcome one = Convert_Call(session, input_type, output_type, calls[k]);
    platforms.done(k, *platform, one);
    all = Worse_Of(all, one);
  }
  return all;
}

struct File_Result {
  std::unique_ptr<Platform> platform;
  Outcome outcome = Outcome::Converted;
  bool done = false;
};

// Workers take the next file; the calling thread hands each file back as
// soon as the files before it have been handed back.
Outcome At_Once(const Registry& registry, std::string_view input_type, std::string_view output_type,
                const std::vector<Conversion_Call>& calls, const Batch_Platforms& platforms, unsigned jobs) {
  std::vector<File_Result> results(calls.size());
  std::mutex lock;
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t k = next++; k < calls.size(); k = next++) {
      std::unique_ptr<Platform> platform = platforms.make(k);
      Store store;
      Session session{store, *platform, registry};
      const Outcome outcome = Convert_Call(session, input_type, output_type, calls[k]);
      const std::lock_guard<std::mutex> guard(lock);
      results[k] = {std::move(platform), outcome, true};
      finished.notify_all();
    }
  };
  std::vector<std::jthread> workers;
  for (unsigned j = 0; j < jobs; ++j) {
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // the threads already started, or this one, do the work
    }
  }
  if (workers.empty()) work();
  Outcome all = Outcome::Converted;
  for (std::size_t k = 0; k < results.size(); ++k) {
    std::unique_lock<std::mutex> guard(lock);
    finished.wait(guard, [&] { return results[k].done; });
    File_Result result = std::move(results[k]);
    guard.unlock();
    platforms.done(k, *result.platform, result.outcome);
    all = Worse_Of(all, result.outcome);
  }
  return all;
}

}  // namespace

// The policy of the front ends without a window: a name without a folder
// lies in the current folder, and an output named by its folder alone, or
// not named, takes the output type's extension.
std::string Output_Path_For(const std::string& infile, const Output_Option& output, bool batch) {
  const std::string in_base = Base_Of(File_Name_Of(infile));
  const std::string type_extension = Kept_Extension(Split_Path(output.pattern).extension);
  if (!output.given) return Folder_Of(infile) + in_base + type_extension;

  std::string out = output.text;
  std::error_code error;
  if (!out.empty() && !Is_Separator(out.back()) && std::filesystem::is_directory(Path_From_Utf8(out), error))
    out += '/';
  if (File_Name_Of(out).empty()) return out + in_base + type_extension;
  return Output_Path(Split_Path(out), in_base, batch);
}

Outcome Convert_Batch(const Registry& registry, std::string_view input_type, std::string_view output_type,
                      const std::vector<Conversion_Call>& calls, const Batch_Platforms& platforms, unsigned jobs) {
  const Input_Type* input = registry.Input(input_type);
  const Output_Type* output = registry.Output(output_type);
  const bool independent = input != nullptr && output != nullptr && Files_Independent(*input, *output);
  jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, calls.size()));
  if (!independent || jobs <= 1) return One_After_Another(registry, input_type, output_type, calls, platforms);
  return At_Once(registry, input_type, output_type, calls, platforms, jobs);
}

}  // namespace talvo
