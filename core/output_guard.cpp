#include "core/output_guard.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "core/file_io.h"

namespace talvo {

namespace {

namespace fs = std::filesystem;

std::string Shown(const fs::path& path) {
  const auto text = path.u8string();
  return Full_Path_Of(std::string(text.begin(), text.end()));
}

bool Accepts_New_Files(const fs::path& folder) {
#ifdef _WIN32
  return _waccess(folder.c_str(), 2) == 0;
#else
  return access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

}  // namespace

std::optional<std::string> Output_Refusal(const std::string& infile, const std::string& outfile) {
  const fs::path in = Path_From_Utf8(infile), out = Path_From_Utf8(outfile);
  std::error_code error;
  // A missing input is the reader's to report: the folder of an output named
  // after a mistyped input says nothing useful.
  if (!infile.empty()) {
    if (!fs::exists(in, error)) return std::nullopt;
    if (fs::equivalent(in, out, error))
      return Shown(out) + " is the file being converted: it cannot also be its output.";
  }
  if (fs::is_directory(out, error)) return Shown(out) + " is a folder, not a file: it cannot be written.";
  const fs::path folder = out.has_parent_path() ? out.parent_path() : fs::path(".");
  const std::string name = File_Name_Of(outfile);
  if (!fs::is_directory(folder, error))
    return "The folder " + Shown(folder) + " does not exist: " + name + " cannot be written.";
  if (!Accepts_New_Files(folder))
    return "The folder " + Shown(folder) + " cannot be written to: " + name + " cannot be written.";
  return std::nullopt;
}

}  // namespace talvo
