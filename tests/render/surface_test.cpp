// The pixel surface: reads give back what was written, outside reads are never a colour.
#include "render/surface.h"

#include <gtest/gtest.h>

#include <climits>

namespace vardo {
namespace {

TEST(Surface, ReadsBackEveryWrittenValue) {
  Surface s(3, 2, 0x00123456);
  s.SetPixel(2, 1, 0x00FF0000);
  s.SetPixel(0, 0, 0);
  EXPECT_EQ(s.GetPixel(2, 1), 0x00FF0000u);
  EXPECT_EQ(s.GetPixel(0, 0), 0u);
  EXPECT_EQ(s.GetPixel(1, 0), 0x00123456u);
  // Rows lie one after another without padding.
  EXPECT_EQ(s.Row(1)[2], 0x00FF0000u);
  EXPECT_EQ(s.Pixels()[1 * 3 + 2], 0x00FF0000u);
  s.Row(0)[1] = 7;
  EXPECT_EQ(s.GetPixel(1, 0), 7u);
}

TEST(Surface, OutsideReadsAsNoColourAndIgnoresWrites) {
  Surface s(3, 2, 0);
  const Surface before = s;
  for (auto [x, y] :
       {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}) {
    EXPECT_EQ(s.GetPixel(x, y), Surface::kOutside) << x << "," << y;
    s.SetPixel(x, y, 0x00FF0000);
  }
  EXPECT_EQ(s, before);
}

TEST(Surface, ResizeLaysTheSurfaceAnew) {
  Surface s(2, 2, 0);
  ASSERT_TRUE(s.Resize(4, 3, 0x00ABCDEF));
  EXPECT_EQ(s.Width(), 4);
  EXPECT_EQ(s.Height(), 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(s.GetPixel(x, y), 0x00ABCDEFu);
  }
  s.Fill(5);
  EXPECT_EQ(s.GetPixel(3, 2), 5u);
}

TEST(Surface, EmptySizesAreSafe) {
  for (auto [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}, {-3, 4}, {INT_MIN, INT_MIN}}) {
    Surface s(w, h);
    EXPECT_EQ(s.Width(), 0);
    EXPECT_EQ(s.Height(), 0);
    EXPECT_EQ(s.Pixels(), nullptr);
    EXPECT_EQ(s.GetPixel(0, 0), Surface::kOutside);
    s.SetPixel(0, 0, 1);
  }
}

TEST(Surface, ImpossibleSizeLeavesItEmpty) {
  Surface s(2, 2);
  EXPECT_FALSE(s.Resize(INT_MAX, INT_MAX));
  EXPECT_EQ(s.Width(), 0);
  EXPECT_EQ(s.Height(), 0);
  EXPECT_EQ(s.GetPixel(0, 0), Surface::kOutside);
}

}  // namespace
}  // namespace vardo
