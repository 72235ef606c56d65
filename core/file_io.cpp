#include "core/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "core/failure.h"

namespace talvo {

std::filesystem::path Path_From_Utf8(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string File_Name_Of(const std::string& path) {
  const auto cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::vector<uint8_t> Read_Whole_File(const std::string& path) {
  const auto native = Path_From_Utf8(path);
  std::error_code error;
  if (!std::filesystem::exists(native, error)) throw Failure(File_Name_Of(path) + ": the file does not exist.");
  if (std::filesystem::is_directory(native, error)) throw Failure(File_Name_Of(path) + " is a folder, not a file.");
  std::ifstream in(native, std::ios::binary);
  if (!in) throw Failure(File_Name_Of(path) + " cannot be opened for reading.");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw Failure(File_Name_Of(path) + " cannot be read.");
  return bytes;
}

Input_File Load_Input_File(const std::string& path) {
  return {path, File_Name_Of(path), Read_Whole_File(path)};
}

namespace {

std::filesystem::path Temporary_Beside(const std::filesystem::path& target) {
  static std::mt19937 names(std::random_device{}());
  auto temp = target;
  temp += ".talvo-" + std::to_string(names() % 1000000) + ".tmp";
  return temp;
}

}  // namespace

void Write_File_Atomically(const std::string& path, std::string_view bytes) {
  const auto target = Path_From_Utf8(path);
  const std::string cannot = File_Name_Of(path) + " cannot be written";
  std::error_code error;
  if (std::filesystem::is_directory(target, error)) throw Failure(cannot + ": it is a folder.");
  const auto temp = Temporary_Beside(target);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw Failure(cannot + ": the folder does not exist or is not writable.");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(temp, error);
      throw Failure(cannot + ": the disk refused the data.");
    }
  }
  std::filesystem::rename(temp, target, error);
  if (error) {
    std::filesystem::remove(temp, error);
    throw Failure(cannot + ": it cannot be replaced.");
  }
}

}  // namespace talvo
