#include "cli/bitmap_module.h"

#include "core/failure.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <vector>
#endif

#ifndef TALVO_BITMAP_MODULE_DIR
#define TALVO_BITMAP_MODULE_DIR "../lib/talvo"
#endif

namespace talvo {

#ifndef _WIN32

namespace {

constexpr const char* Module_Name = "talvo-bitmap.so";
using Save_Fn = bool (*)(const Steps&, const std::string&, std::string&);

std::filesystem::path Executable_Folder() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  return std::filesystem::path(std::string(buffer.data(), static_cast<std::size_t>(length))).parent_path();
}

// The module beside the program (a build tree) or where it is installed,
// relative to the program; loaded once for the whole run.
struct Module {
  Save_Fn save = nullptr;
  std::string missing;

  Module() {
    const std::filesystem::path folder = Executable_Folder();
    std::string errors;
    for (const auto& candidate : {folder / Module_Name, folder / TALVO_BITMAP_MODULE_DIR / Module_Name}) {
      void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle == nullptr) {
        const char* error = dlerror();
        if (std::filesystem::exists(candidate) && error != nullptr) errors += std::string(" ") + error;
        continue;
      }
      save = reinterpret_cast<Save_Fn>(dlsym(handle, "Talvo_Save_Bitmap"));
      if (save != nullptr) return;
    }
    missing = "This talvo-convert cannot write bitmaps: its module " + std::string(Module_Name) +
              " was not found beside it or in " + TALVO_BITMAP_MODULE_DIR + "." + errors + " Nothing was written.";
  }
};

}  // namespace

Bitmap_Writer Bitmap_Module_Writer() {
  return [](const Steps& steps, const std::string& path) {
    static const Module module;
    if (module.save == nullptr) throw Failure(module.missing);
    std::string failure;
    if (!module.save(steps, path, failure)) throw Failure(failure);
  };
}

#else

Bitmap_Writer Bitmap_Module_Writer() {
  return {};
}

#endif

}  // namespace talvo
