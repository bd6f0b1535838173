// Pieces the fuzz targets share: a reader of the input bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vardo::fuzz {

// The fuzzer's bytes, read one at a time; zeros once they run out.
class ByteSource {
 public:
  ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
  template <size_t N>
  std::string_view Pick(const std::array<std::string_view, N>& from) {
    return from[Next() % N];
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace vardo::fuzz
