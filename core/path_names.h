// Path names as the user writes them: folders, names, base names and
// extensions, and the name of an output made from an input's.
//
// "\" and "/" both separate folders, on every system, so that a path typed
// for either reads the same. The base of a name is the text before its first
// "." (a "." in a folder is no extension). Nothing here looks at the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

bool Is_Separator(char c);
// The place of the last separator; npos when there is none.
std::size_t Last_Separator(std::string_view path);
// The path up to and with its last separator; empty when it has none.
std::string Folder_Of(std::string_view path);
// The last component of a path, for messages.
std::string File_Name_Of(const std::string& path);
// The text before the first "." of a name, or the whole name.
std::string Base_Of(std::string_view name);

// A folder as the start of a path: it ends in a separator, the last one it
// holds, else the last one of `hint`, else the system's.
std::string As_Folder(std::string_view folder, std::string_view hint);

// A path cut into its folder, the base of its name, and the rest of the name
// from its first "." on: folder + base + extension is the path again.
struct Path_Parts {
  std::string folder;     // up to and with the last separator; may be empty
  std::string base;       // the name before its first "."
  std::string extension;  // "", ".", ".txt", ".tar.gz"
  std::string Path() const { return folder + base + extension; }
};
Path_Parts Split_Path(std::string_view path);

// The extension an output keeps: none when it holds "*" or is a lone ".".
std::string Kept_Extension(std::string_view extension);

// The output an output name gives for an input of base `input_base`: the
// name's folder and extension (as Kept_Extension keeps it), and its base,
// unless that is empty or holds "*", or the input is one of a batch: then
// the input's base.
std::string Output_Path(const Path_Parts& out, std::string_view input_base, bool batch);

// The output of range `number` of a file that holds several: the range
// number after the base name ("out/sample.txt" gives "out/sample-2.txt").
std::string Range_Output(const std::string& outfile, int32_t number);

}  // namespace talvo
