#include "ui/name_fields.h"

#include "core/path_names.h"

namespace talvo {

std::string Browse_Text(const std::vector<std::string>& paths, bool quote) {
  auto item = [quote](std::string text) {
    if (quote && text.find(' ') != std::string::npos) return '"' + text + '"';
    return text;
  };
  if (paths.empty()) return "";
  if (paths.size() == 1) return item(paths.front());
  // The folder without its last separator, except for a root ("/", "C:\").
  const std::string& first = paths.front();
  const auto at = Last_Separator(first);
  std::string folder = at == std::string::npos ? "" : first.substr(0, at);
  if (at != std::string::npos && (folder.empty() || folder.back() == ':')) folder += first[at];
  std::string text = item(folder);
  for (const auto& path : paths) text += ' ' + item(File_Name_Of(path));
  return text;
}

std::string Preview_Path(std::string_view in) {
  std::string path(in);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
  if (path.empty() || path == "*.*") return "";
  return path;
}

}  // namespace talvo
