// PNG output of surfaces through libpng's simplified writer.
#include "render/png_writer.h"

#include <png.h>

#include <string>
#include <vector>

#include "common/file_io.h"

namespace vardo {

bool WritePng(const Surface& surface, const std::filesystem::path& path) {
  if (surface.Width() == 0) return false;
  std::vector<png_byte> rgb;
  rgb.reserve(static_cast<size_t>(surface.Width()) * surface.Height() * 3);
  for (int y = 0; y < surface.Height(); ++y) {
    const uint32_t* row = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      rgb.push_back(static_cast<png_byte>(row[x] & 0xFF));
      rgb.push_back(static_cast<png_byte>((row[x] >> 8) & 0xFF));
      rgb.push_back(static_cast<png_byte>((row[x] >> 16) & 0xFF));
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.Width());
  image.height = static_cast<png_uint_32>(surface.Height());
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr)) return false;
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr)) {
    return false;
  }
  bytes.resize(size);
  return WriteFileAtomic(path, bytes);
}

}  // namespace vardo
