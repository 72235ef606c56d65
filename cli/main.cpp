// talvo-convert: the conversions of the desktop program, from a command line.
#include <algorithm>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch.h"
#include "cli/cli_platform.h"
#include "cli/options.h"
#include "cli/usage.h"
#include "core/dispatch.h"
#include "formats/format_table.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#ifndef TALVO_VERSION
#define TALVO_VERSION "unknown"
#endif

namespace {

using namespace talvo;

constexpr int Exit_Converted = 0;
constexpr int Exit_Failed = 1;
constexpr int Exit_Usage = 2;

void List_Types() {
  auto list = [](const char* heading, const auto& types) {
    std::cout << heading << '\n';
    for (const auto& type : types) {
      std::string key(type.key), name(type.name);
      key.resize(10, ' ');
      // Padded to 34 characters, not bytes ("2θ" is three bytes); a longer
      // name is kept whole.
      const auto characters = std::count_if(name.begin(), name.end(), [](char c) { return (c & 0xC0) != 0x80; });
      name.append(characters < 34 ? static_cast<std::size_t>(34 - characters) : 1, ' ');
      std::cout << "  " << key << name << type.pattern << '\n';
    }
  };
  list("Input types (--from):", Format_Table().inputs);
  list("Output types (--to):", Format_Table().outputs);
}

// A batch reads and writes buffers of a few hundred kilobytes per file. By
// default the C library maps each such buffer afresh and, on the worker
// threads' heaps, hands freed pages back after every file, so every file
// faults its pages in again: that costs more time in the kernel than the
// conversion itself. Buffers up to 64 MiB come from the heap and stay
// there for the next file.
void Keep_Buffers_Between_Files() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

int Run(const Options& options, const Cli_Platform& platform) {
  const bool batch = options.inputs.size() > 1;
  std::vector<Conversion_Call> calls;
  for (const auto& input : options.inputs)
    calls.push_back({input, Output_Path_For(input, options.output, batch), options.range});
  const unsigned jobs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
  if (batch) Keep_Buffers_Between_Files();
  const Outcome outcome = Convert_Batch(Format_Table(), options.from, options.to, calls, platform, jobs);
  return outcome == Outcome::Converted ? Exit_Converted : Exit_Failed;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit makes the write fail with EFBIG, which is reported
#endif
  Cli_Platform platform;
  Options options;
  try {
    options = Parse(argc, argv, platform);
  } catch (const Usage_Error& error) {
    std::cerr << "talvo-convert: " << error.text << "\nTry 'talvo-convert --help'.\n";
    return Exit_Usage;
  }
  if (options.help) {
    std::cout << talvo::Usage_Text;
    return Exit_Converted;
  }
  if (options.version) {
    std::cout << "talvo-convert " << TALVO_VERSION << '\n';
    return Exit_Converted;
  }
  if (options.list_types) {
    List_Types();
    return Exit_Converted;
  }
  if (options.inputs.empty()) {
    std::cerr << "talvo-convert: no input file\nTry 'talvo-convert --help'.\n";
    return Exit_Usage;
  }
  return Run(options, platform);
}
