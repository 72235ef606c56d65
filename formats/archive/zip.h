// Zip archives read from memory (libzip): the member names, and one
// member's bytes, never more than a fixed limit. Nothing is extracted to
// disk, so a member name is only a name, "../" and all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct zip;

namespace talvo {

// No member Talvo reads is larger than this, whatever its header claims.
constexpr std::size_t Zip_Member_Limit = std::size_t{256} << 20;  // 256 MiB

class Zip_Archive {
 public:
  // Opens the archive held by `bytes`, which must outlive it; throws
  // Failure naming `file_name` when the bytes are no readable zip archive.
  Zip_Archive(std::span<const uint8_t> bytes, const std::string& file_name);
  ~Zip_Archive();
  Zip_Archive(const Zip_Archive&) = delete;
  Zip_Archive& operator=(const Zip_Archive&) = delete;

  // The names of the members, in the archive's order.
  const std::vector<std::string>& Names() const { return names_; }
  bool Holds(const std::string& name) const;

  // The bytes of member `name`, inflated in bounded blocks. Throws Failure
  // when the member is missing, encrypted, damaged, or claims or inflates
  // to more than `limit` bytes.
  std::vector<uint8_t> Read(const std::string& name, std::size_t limit = Zip_Member_Limit) const;

 private:
  struct Closer {
    void operator()(zip* archive) const;
  };
  std::unique_ptr<zip, Closer> archive_;
  std::string file_name_;
  std::vector<std::string> names_;
};

}  // namespace talvo
