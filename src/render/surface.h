// The pixel surface: W x H colour values 0x00BBGGRR, origin top-left, y downwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vardo {

class Surface {
 public:
  // What a read outside the surface answers: no colour value has its top byte set.
  static constexpr uint32_t kOutside = 0xFFFFFFFF;
  static constexpr uint32_t kWhite = 0x00FFFFFF;

  Surface() = default;
  // A surface that could not be had (too large) stays 0 x 0.
  Surface(int width, int height, uint32_t fill = kWhite) { Resize(width, height, fill); }

  // Lays the surface anew at the given size with every pixel set to fill. A width or height
  // below 1 gives the empty 0 x 0 surface. False when the memory cannot be had; the surface is
  // then empty.
  bool Resize(int width, int height, uint32_t fill = kWhite);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  uint32_t GetPixel(int x, int y) const { return Contains(x, y) ? pixels_[Index(x, y)] : kOutside; }
  void SetPixel(int x, int y, uint32_t colour) {
    if (Contains(x, y)) pixels_[Index(x, y)] = colour;
  }
  void Fill(uint32_t colour);

  // Direct access for the engines that walk every pixel; y must lie in 0 .. Height() - 1.
  uint32_t* Row(int y) { return pixels_.data() + Index(0, y); }
  const uint32_t* Row(int y) const { return pixels_.data() + Index(0, y); }
  // Rows one after another without padding; null when the surface is empty.
  uint32_t* Pixels() { return pixels_.empty() ? nullptr : pixels_.data(); }
  const uint32_t* Pixels() const { return pixels_.empty() ? nullptr : pixels_.data(); }

  bool operator==(const Surface&) const = default;

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace vardo
