#include "cli/batch.h"

#include <sstream>

namespace talvo {

namespace {

// The platform of one file: its messages kept until the files before it
// have been printed.
struct File_Platform : Cli_Platform {
  explicit File_Platform(const Cli_Platform& prototype) : Cli_Platform(prototype) {}
  std::ostringstream buffer;
};

}  // namespace

Outcome Convert_Batch(const Registry& registry, std::string_view input_type, std::string_view output_type,
                      const std::vector<Conversion_Call>& calls, const Cli_Platform& platform, unsigned jobs) {
  Batch_Platforms platforms;
  platforms.make = [&](std::size_t file) {
    auto one = std::make_unique<File_Platform>(platform);
    one->messages = &one->buffer;
    one->current_input = calls[file].infile;
    return std::unique_ptr<Platform>(std::move(one));
  };
  platforms.done = [&](std::size_t, Platform& one, Outcome) {
    *platform.messages << static_cast<File_Platform&>(one).buffer.str() << std::flush;
  };
  return Convert_Batch(registry, input_type, output_type, calls, platforms, jobs);
}

}  // namespace talvo
