// The pixel surface: sizing and whole-surface fills.
#include "render/surface.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace vardo {

bool Surface::Resize(int width, int height, uint32_t fill) {
  width_ = 0;
  height_ = 0;
  pixels_.clear();
  if (width < 1 || height < 1) return true;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  try {
    pixels_.assign(count, fill);
  } catch (const std::bad_alloc&) {
    pixels_ = {};
    return false;
  } catch (const std::length_error&) {
    pixels_ = {};
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

void Surface::Fill(uint32_t colour) {
  std::fill(pixels_.begin(), pixels_.end(), colour);
}

}  // namespace vardo
