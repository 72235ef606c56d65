#include "cli/batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include "core/store.h"

namespace talvo {

namespace {

Outcome One_After_Another(const Registry& registry, std::string_view input_type, std::string_view output_type,
                          const std::vector<Conversion_Call>& calls, Cli_Platform platform) {
  Store store;
  Session session{store, platform, registry};
  std::size_t next = 0;
  return Convert_All(session, input_type, output_type, calls, [&] {
    platform.current_input = calls[next++].infile;
    return true;
  });
}

struct File_Result {
  std::string messages;
  Outcome outcome = Outcome::Converted;
  bool done = false;
};

// Workers take the next file; the calling thread prints each file's
// messages as soon as the files before it have been printed.
Outcome At_Once(const Registry& registry, std::string_view input_type, std::string_view output_type,
                const std::vector<Conversion_Call>& calls, const Cli_Platform& prototype, unsigned jobs) {
  std::vector<File_Result> results(calls.size());
  std::mutex lock;
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t k = next++; k < calls.size(); k = next++) {
      std::ostringstream messages;
      Cli_Platform platform = prototype;
      platform.messages = &messages;
      platform.current_input = calls[k].infile;
      Store store;
      Session session{store, platform, registry};
      const Outcome outcome = Convert_Call(session, input_type, output_type, calls[k]);
      const std::lock_guard<std::mutex> guard(lock);
      results[k] = {messages.str(), outcome, true};
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
  for (auto& result : results) {
    std::unique_lock<std::mutex> guard(lock);
    finished.wait(guard, [&] { return result.done; });
    *prototype.messages << result.messages << std::flush;
    all = Worse_Of(all, result.outcome);
  }
  return all;
}

}  // namespace

Outcome Convert_Batch(const Registry& registry, std::string_view input_type, std::string_view output_type,
                      const std::vector<Conversion_Call>& calls, const Cli_Platform& platform, unsigned jobs) {
  const Input_Type* input = registry.Input(input_type);
  const Output_Type* output = registry.Output(output_type);
  const bool independent = input != nullptr && output != nullptr && Files_Independent(*input, *output);
  jobs = std::min<std::size_t>(jobs, calls.size());
  if (!independent || jobs <= 1) return One_After_Another(registry, input_type, output_type, calls, platform);
  return At_Once(registry, input_type, output_type, calls, platform, jobs);
}

}  // namespace talvo
