#include "core/file_io.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "core/failure.h"

namespace talvo {

std::filesystem::path Path_From_Utf8(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string Full_Path_Of(const std::string& path) {
  const auto native = Path_From_Utf8(path);
  std::error_code error;
  const auto absolute = std::filesystem::absolute(native, error);
  const auto text = (error ? native : absolute.lexically_normal()).u8string();
  return std::string(text.begin(), text.end());
}

namespace {

Failure Missing_File(const std::string& path) {
  return Failure(Failure_Kind::Input_Missing, Full_Path_Of(path) + ": the file does not exist.");
}

Failure Unreadable_File(const std::string& path) {
  return Failure(Failure_Kind::Input_Unreadable, Full_Path_Of(path) + " cannot be read.");
}

}  // namespace

std::vector<uint8_t> Read_Whole_File(const std::string& path) {
  const auto native = Path_From_Utf8(path);
  std::error_code error;
  if (!std::filesystem::exists(native, error)) throw Missing_File(path);
  if (std::filesystem::is_directory(native, error))
    throw Failure(Failure_Kind::Input_Unreadable, File_Name_Of(path) + " is a folder, not a file.");
  std::ifstream in(native, std::ios::binary);
  if (!in) throw Unreadable_File(path);
  std::vector<uint8_t> bytes;
  if (const auto size = std::filesystem::file_size(native, error); !error) bytes.reserve(size);  // one allocation
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.insert(bytes.end(), chunk, chunk + in.gcount());
  if (in.bad()) throw Unreadable_File(path);
  return bytes;
}

Input_File Load_Input_File(const std::string& path) {
  return {path, File_Name_Of(path), Read_Whole_File(path)};
}

namespace {

std::filesystem::path Temporary_Beside(const std::filesystem::path& target) {
  thread_local std::mt19937 names(std::random_device{}());  // batches write from several threads
  auto temp = target;
  temp += ".talvo-" + std::to_string(names() % 1000000) + ".tmp";
  return temp;
}

std::FILE* Open_For_Writing(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"wb");
#else
  return std::fopen(path.c_str(), "wb");
#endif
}

// The system's reason for a failed call, as the end of a sentence.
std::string Reason(std::string text) {
  if (text.empty()) text = "the data could not be written";
  text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text + ".";
}

std::string Reason(int error) {
  return Reason(error != 0 ? std::string(std::strerror(error)) : std::string());
}

// Writes all of `bytes` and closes the file; the errno of the first failure,
// or 0 when everything was written.
int Write_And_Close(std::FILE* file, std::string_view bytes) {
  errno = 0;
  int failure = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
    failure = errno != 0 ? errno : EIO;
  if (std::fclose(file) != 0 && failure == 0) failure = errno != 0 ? errno : EIO;
  return failure;
}

}  // namespace

void Write_File_Atomically(const std::string& path, std::string_view bytes) {
  const auto target = Path_From_Utf8(path);
  const std::string cannot = File_Name_Of(path) + " cannot be written";
  std::error_code error;
  if (std::filesystem::is_directory(target, error))
    throw Failure(Failure_Kind::Output_Unwritable, cannot + ": it is a folder.");
  const auto temp = Temporary_Beside(target);
  errno = 0;
  std::FILE* file = Open_For_Writing(temp);
  if (file == nullptr) throw Failure(Failure_Kind::Output_Unwritable, cannot + ": " + Reason(errno));
  if (const int failure = Write_And_Close(file, bytes); failure != 0) {
    std::filesystem::remove(temp, error);
    throw Failure(Failure_Kind::Output_Unwritable, cannot + ": " + Reason(failure));
  }
  std::filesystem::rename(temp, target, error);
  if (error) {
    const std::string reason = Reason(error.message());
    std::filesystem::remove(temp, error);
    throw Failure(Failure_Kind::Output_Unwritable, cannot + ": it cannot be replaced, " + reason);
  }
}

}  // namespace talvo
