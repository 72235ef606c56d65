#include "formats/archive/zip.h"

#include <zip.h>

#include <algorithm>
#include <array>

#include "core/failure.h"

namespace talvo {

namespace {

std::string Mebibytes(std::size_t bytes) {
  return std::to_string(bytes >> 20) + " MiB";
}

struct File_Closer {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

void Zip_Archive::Closer::operator()(zip* archive) const {
  zip_discard(archive);  // read only: nothing to write back
}

Zip_Archive::Zip_Archive(std::span<const uint8_t> bytes, const std::string& file_name) : file_name_(file_name) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
  const int code = zip_error_code_zip(&error);
  zip_error_fini(&error);
  if (archive == nullptr) {
    if (source) zip_source_free(source);
    // An archive begins with the header of its first member; one that does
    // but cannot be opened lost its end (the central directory).
    const bool begins_as_zip =
        bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == 3 && bytes[3] == 4;
    if (code == ZIP_ER_NOZIP && !begins_as_zip) throw Failure(file_name + " is not a zip archive; nothing was read.");
    throw Failure(file_name + " is a damaged or cut-short zip archive; nothing was read.");
  }
  archive_.reset(archive);
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    names_.emplace_back(name ? name : "");
  }
}

Zip_Archive::~Zip_Archive() = default;

bool Zip_Archive::Holds(const std::string& name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

std::vector<uint8_t> Zip_Archive::Read(const std::string& name, std::size_t limit) const {
  const auto found = std::find(names_.begin(), names_.end(), name);
  if (found == names_.end()) throw Failure(file_name_ + " holds no member " + name + "; nothing was read.");
  const auto index = static_cast<zip_uint64_t>(found - names_.begin());
  const std::string member = file_name_ + ": the member " + name;

  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_.get(), index, ZIP_FL_ENC_RAW, &stat) != 0)
    throw Failure(member + " cannot be read (the archive is damaged); nothing was read.");
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE)
    throw Failure(member + " is encrypted; nothing was read.");
  if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > limit)
    throw Failure(member + " claims " + std::to_string(stat.size) + " bytes, more than the " + Mebibytes(limit) +
                  " Talvo reads from one member; nothing was read.");

  std::unique_ptr<zip_file_t, File_Closer> file(zip_fopen_index(archive_.get(), index, 0));
  if (!file)
    throw Failure(member +
                  " cannot be opened (damaged, or compressed in a way Talvo does not read); nothing was read.");
  std::vector<uint8_t> bytes;
  // What the header claims is only a hint: the bytes are counted as they come.
  if ((stat.valid & ZIP_STAT_SIZE) != 0) bytes.reserve(std::min<zip_uint64_t>(stat.size, zip_uint64_t{16} << 20));
  std::array<uint8_t, 1 << 16> block;
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), block.data(), block.size());
    if (got < 0) throw Failure(member + " is damaged (it does not inflate to its stated bytes); nothing was read.");
    if (got == 0) break;
    if (bytes.size() + static_cast<std::size_t>(got) > limit)
      throw Failure(member + " inflates to more than the " + Mebibytes(limit) +
                    " Talvo reads from one member; nothing was read.");
    bytes.insert(bytes.end(), block.begin(), block.begin() + got);
  }
  return bytes;
}

}  // namespace talvo
