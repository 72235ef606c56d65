// Little-endian fields of a binary file held in memory.
//
// Every getter checks its bounds; a field past the end throws Failure with
// `what_ends` naming the file and the record that is cut short.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/failure.h"

namespace talvo {

class Bytes_View {
 public:
  Bytes_View(std::span<const uint8_t> bytes, std::string file_name) : bytes_(bytes), file_name_(std::move(file_name)) {}

  std::size_t size() const { return bytes_.size(); }
  const std::string& file_name() const { return file_name_; }

  // Throws when [offset, offset + count) is not inside the file.
  void Need(std::size_t offset, std::size_t count, const std::string& what) const {
    if (offset > bytes_.size() || count > bytes_.size() - offset)
      throw Failure(file_name_ + " ends inside " + what + " (byte " + std::to_string(bytes_.size()) + " of the " +
                    std::to_string(offset + count) + " needed).");
  }

  int16_t I16(std::size_t offset, const std::string& what) const {
    Need(offset, 2, what);
    return static_cast<int16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  int32_t I32(std::size_t offset, const std::string& what) const {
    Need(offset, 4, what);
    return static_cast<int32_t>(U32(offset));
  }
  float F32(std::size_t offset, const std::string& what) const {
    Need(offset, 4, what);
    const uint32_t bits = U32(offset);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
  }
  template <std::size_t N>
  void Copy(std::size_t offset, std::array<uint8_t, N>& record, const std::string& what) const {
    Need(offset, N, what);
    std::memcpy(record.data(), bytes_.data() + offset, N);
  }
  template <std::size_t N>
  void Copy(std::size_t offset, std::array<char, N>& record, const std::string& what) const {
    Need(offset, N, what);
    std::memcpy(record.data(), bytes_.data() + offset, N);
  }
  std::string Text(std::size_t offset, std::size_t count, const std::string& what) const {
    Need(offset, count, what);
    return std::string(reinterpret_cast<const char*>(bytes_.data()) + offset, count);
  }

 private:
  uint32_t U32(std::size_t offset) const {
    return static_cast<uint32_t>(bytes_[offset]) | (static_cast<uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes_[offset + 2]) << 16) | (static_cast<uint32_t>(bytes_[offset + 3]) << 24);
  }

  std::span<const uint8_t> bytes_;
  std::string file_name_;
};

// Little-endian fields written into a record or an output buffer.
inline void Put_I16(uint8_t* at, int16_t value) {
  const auto bits = static_cast<uint16_t>(value);
  at[0] = static_cast<uint8_t>(bits);
  at[1] = static_cast<uint8_t>(bits >> 8);
}
inline void Put_F32(uint8_t* at, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace talvo
