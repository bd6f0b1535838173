// Pieces the fuzz targets share: a scratch folder per process and a reader of the input bytes.
#pragma once

#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace vardo::fuzz {

// A program folder made once per process and removed at its end.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix)
      : path_(std::filesystem::temp_directory_path() / (prefix + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

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
