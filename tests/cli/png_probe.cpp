// Reads a PNG back for the vardo-render tests: its size, its distinct colours and chosen pixels,
// each colour as the screen value 0x00BBGGRR in six hex digits.
#include <png.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

namespace {

bool ParseInt(const char* arg, long& value) {
  const char* end = arg + std::strlen(arg);
  const auto [ptr, ec] = std::from_chars(arg, end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

// png_probe FILE [X Y]...: the line "W H", the line "colours" with every colour that occurs
// (sorted), then one line per requested pixel ("outside" beyond the picture).
int main(int argc, char** argv) {
  if (argc < 2 || argc % 2 != 0) {
    std::fprintf(stderr, "usage: png_probe FILE [X Y]...\n");
    return 2;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, argv[1])) {
    std::fprintf(stderr, "png_probe: cannot read %s\n", argv[1]);
    return 2;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    std::fprintf(stderr, "png_probe: cannot decode %s\n", argv[1]);
    return 2;
  }
  const long width = image.width, height = image.height;
  auto at = [&](long x, long y) -> uint32_t {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return rgb[i] | (rgb[i + 1] << 8) | (rgb[i + 2] << 16);
  };
  std::printf("%ld %ld\ncolours", width, height);
  std::set<uint32_t> colours;
  for (long y = 0; y < height; ++y) {
    for (long x = 0; x < width; ++x)
      colours.insert(at(x, y));
  }
  for (uint32_t c : colours)
    std::printf(" %06X", c);
  std::printf("\n");
  for (int i = 2; i + 1 < argc; i += 2) {
    long x = 0, y = 0;
    if (!ParseInt(argv[i], x) || !ParseInt(argv[i + 1], y)) {
      std::fprintf(stderr, "png_probe: bad pixel %s %s\n", argv[i], argv[i + 1]);
      return 2;
    }
    if (x < 0 || y < 0 || x >= width || y >= height) {
      std::printf("outside\n");
    } else {
      std::printf("%06X\n", at(x, y));
    }
  }
  return 0;
}
