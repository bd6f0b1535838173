// PNG output: read back with libpng, every pixel must come back exactly.
#include "render/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <vector>

#include "common/temp_folder.h"

namespace vardo {
namespace {

TEST(WritePng, RoundTripsEveryPixelAsEightBitRgb) {
  Surface s(5, 3, 0x00FFFFFF);
  const uint32_t colours[] = {0x00000000, 0x000000FF, 0x0000FF00, 0x00FF0000,
                              0x00123456, 0x00FEDCBA, 0x00010203};
  int i = 0;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x)
      s.SetPixel(x, y, colours[i++ % 7]);
  }
  const TempFolder folder("vardo-png-");
  const auto path = folder.path() / "round_trip.png";
  ASSERT_TRUE(WritePng(s, path));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.string().c_str()));
  EXPECT_EQ(image.width, 5u);
  EXPECT_EQ(image.height, 3u);
  EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const size_t at = (static_cast<size_t>(y) * 5 + x) * 3;
      const uint32_t read = rgb[at] | (rgb[at + 1] << 8) | (rgb[at + 2] << 16);
      EXPECT_EQ(read, s.GetPixel(x, y)) << x << "," << y;
    }
  }
}

TEST(WritePng, RefusesAnEmptySurfaceAndWritesNothing) {
  const TempFolder folder("vardo-png-");
  const auto path = folder.path() / "empty.png";
  EXPECT_FALSE(WritePng(Surface(), path));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(WritePng, FailsWhereTheFileCannotBeWritten) {
  const TempFolder folder("vardo-png-");
  const auto path = folder.path() / "missing_dir" / "out.png";
  EXPECT_FALSE(WritePng(Surface(2, 2), path));
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace vardo
