#include "core/path_names.h"

namespace talvo {

namespace {

#ifdef _WIN32
constexpr char Native_Separator = '\\';
#else
constexpr char Native_Separator = '/';
#endif

}  // namespace

bool Is_Separator(char c) {
  return c == '\\' || c == '/';
}

std::size_t Last_Separator(std::string_view path) {
  return path.find_last_of("\\/");
}

std::string Folder_Of(std::string_view path) {
  const auto at = Last_Separator(path);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string File_Name_Of(const std::string& path) {
  const auto at = Last_Separator(path);
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string Base_Of(std::string_view name) {
  return std::string(name.substr(0, name.find('.')));
}

std::string As_Folder(std::string_view folder, std::string_view hint) {
  std::string out(folder);
  if (!out.empty() && Is_Separator(out.back())) return out;
  char separator = Native_Separator;
  if (auto at = Last_Separator(folder); at != std::string_view::npos)
    separator = folder[at];
  else if (auto at_hint = Last_Separator(hint); at_hint != std::string_view::npos)
    separator = hint[at_hint];
  return out + separator;
}

Path_Parts Split_Path(std::string_view path) {
  Path_Parts parts;
  parts.folder = Folder_Of(path);
  const std::string_view name = path.substr(parts.folder.size());
  const auto dot = name.find('.');
  parts.base = std::string(name.substr(0, dot));
  if (dot != std::string_view::npos) parts.extension = std::string(name.substr(dot));
  return parts;
}

std::string Kept_Extension(std::string_view extension) {
  if (extension == "." || extension.find('*') != std::string_view::npos) return "";
  return std::string(extension);
}

std::string Output_Path(const Path_Parts& out, std::string_view input_base, bool batch) {
  const bool named_after_input = batch || out.base.empty() || out.base.find('*') != std::string::npos;
  return out.folder + (named_after_input ? std::string(input_base) : out.base) + Kept_Extension(out.extension);
}

std::string Range_Output(const std::string& outfile, int32_t number) {
  Path_Parts parts = Split_Path(outfile);
  parts.base.append("-").append(std::to_string(number));  // appended: GCC 12 misreads the "+" chain
  return parts.Path();
}

}  // namespace talvo
