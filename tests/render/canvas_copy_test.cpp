// Pixel copies between surfaces and glyph masks drawn in the font colour.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "render/canvas.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::FromRows;
using test::kBlue;
using test::kWhite;
using test::Picture;
using test::Rows;

TEST(CanvasCopy, CopiesClippedAtAnOffset) {
  const Surface src = FromRows({"#rb", "gb#"});
  struct Case {
    const char* name;
    int dx, dy, sx, sy, w, h;
    std::string picture;
  } cases[] = {
      {"whole, inside", 2, 1, 0, 0, 3, 2,
       Rows({"........", "..#rb...", "..gb#...", "........", "........", "........"})},
      {"above and left", -1, -1, 0, 0, 3, 2,
       Rows({"b#......", "........", "........", "........", "........", "........"})},
      {"bottom-right corner", 6, 5, 0, 0, 3, 2,
       Rows({"........", "........", "........", "........", "........", "......#r"})},
      {"part of the source, oversized", 0, 0, 1, 0, 5, 5,
       Rows({"rb......", "b#......", "........", "........", "........", "........"})},
      {"source origin before the source", 0, 0, -1, -1, 3, 3,
       Rows({"........", ".#r.....", ".gb.....", "........", "........", "........"})},
      {"extreme offsets", INT_MAX, INT_MIN, 0, 0, 3, 2,
       Rows({"........", "........", "........", "........", "........", "........"})},
      {"extreme source and size", 0, 0, INT_MIN, INT_MIN, INT_MAX, INT_MAX,
       Rows({"........", "........", "........", "........", "........", "........"})},
      {"negative size", 2, 1, 0, 0, -3, 2,
       Rows({"........", "........", "........", "........", "........", "........"})},
  };
  for (const Case& c : cases) {
    Surface dst(8, 6);
    Canvas canvas(dst);
    canvas.CopyRect(c.dx, c.dy, src, c.sx, c.sy, c.w, c.h);
    EXPECT_EQ(Picture(dst), c.picture) << c.name;
  }
  Surface dst(8, 6);
  Canvas canvas(dst);
  canvas.Draw(2, 1, src);
  EXPECT_EQ(Picture(dst), cases[0].picture);
}

// Copying within one surface reads every source pixel before it is overwritten.
TEST(CanvasCopy, OverlappingCopyWithinOneSurface) {
  const Surface start =
      FromRows({"#rbg.#rb", "gb#r.gb#", "rr..##bb", "#.#.#.#.", "bgrb#gr.", "..##..##"});
  const int shifts[][2] = {{1, 1}, {-1, -1}, {2, 0}, {-2, 0}, {0, 3}, {0, -3}, {3, -2}};
  for (const auto& shift : shifts) {
    Surface s = start;
    Canvas canvas(s);
    canvas.CopyRect(1 + shift[0], 1 + shift[1], s, 1, 1, 6, 4);
    Surface want = start;
    Canvas(want).CopyRect(1 + shift[0], 1 + shift[1], start, 1, 1, 6, 4);
    EXPECT_EQ(Picture(s), Picture(want)) << shift[0] << "," << shift[1];
  }
}

// The mask "#...#" / ".###." / "#.#.#", placed one column left of and two rows below the point
// it is drawn at.
GlyphMask SampleMask() {
  GlyphMask mask;
  mask.left = -1;
  mask.top = 2;
  mask.width = 5;
  mask.height = 3;
  mask.stride = 1;
  mask.bits = {0x88, 0x70, 0xA8};
  return mask;
}

TEST(CanvasGlyph, DrawsTheInkInTheFontColourAndNothingElse) {
  struct Case {
    const char* name;
    int x, y;
    std::string picture;
  } cases[] = {
      {"inside", 2, 1,
       Rows({"........", "........", "........", ".br..b..", "..bbb...", ".b.b.b.."})},
      {"clipped at the top-left", -2, -3,
       Rows({"b.......", ".b......", "........", "..r.....", "........", "........"})},
      {"clipped at the bottom-right", 7, 2,
       Rows({"........", "........", "........", "..r.....", "......b.", ".......b"})},
      {"far away", INT_MIN, INT_MAX,
       Rows({"........", "........", "........", "..r.....", "........", "........"})},
  };
  for (const Case& c : cases) {
    // The red pixel under a clear bit of the inside case shows the background is kept.
    Surface s = FromRows({"........", "........", "........", "..r.....", "........", "........"});
    Canvas canvas(s);
    canvas.font_color() = kBlue;
    canvas.pen().mode = PenMode::Xor;  // glyphs ignore the pen
    canvas.DrawGlyph(c.x, c.y, SampleMask());
    EXPECT_EQ(Picture(s), c.picture) << c.name;
  }
}

// Masks of whole bytes of ink, of nothing and of both, at every clipping: the pixels are those
// of the mask read bit by bit.
TEST(CanvasGlyph, EveryInkBitAndNoOtherIsSetAtAnyPosition) {
  std::mt19937 random(4711);
  std::uniform_int_distribution<int> byte_kind(0, 2), any_byte(0, 255), size(1, 40),
      position(-45, 45);
  for (int n = 0; n < 300; ++n) {
    GlyphMask mask;
    mask.width = size(random);
    mask.height = size(random);
    mask.left = position(random) / 4;
    mask.top = position(random) / 4;
    mask.stride = (mask.width + 7) / 8 + (n % 3 == 0 ? 1 : 0);
    for (int k = 0; k < mask.stride * mask.height; ++k) {
      const int kind = byte_kind(random);
      mask.bits.push_back(kind == 0   ? 0
                          : kind == 1 ? 0xFF
                                      : static_cast<uint8_t>(any_byte(random)));
    }
    const int x = position(random), y = position(random);
    Surface drawn(30, 20, kWhite);
    Canvas canvas(drawn);
    canvas.font_color() = kBlue;
    canvas.DrawGlyph(x, y, mask);
    Surface expected(30, 20, kWhite);
    for (int j = 0; j < mask.height; ++j) {
      for (int i = 0; i < mask.width; ++i) {
        if (mask.At(i, j)) expected.SetPixel(x + mask.left + i, y + mask.top + j, kBlue);
      }
    }
    ASSERT_EQ(Picture(drawn), Picture(expected))
        << "mask " << mask.width << " x " << mask.height << " at " << x << "," << y;
  }
}

TEST(CanvasGlyph, IllFormedMasksDrawNothing) {
  GlyphMask short_bits = SampleMask();
  short_bits.bits.pop_back();
  GlyphMask narrow_rows = SampleMask();
  narrow_rows.width = 9;
  GlyphMask negative = SampleMask();
  negative.height = -1;
  for (const GlyphMask& mask : {short_bits, narrow_rows, negative}) {
    Surface s(8, 6);
    Canvas canvas(s);
    canvas.font_color() = kBlue;
    canvas.DrawGlyph(2, 1, mask);
    EXPECT_EQ(s, Surface(8, 6, kWhite));
  }
}

}  // namespace
}  // namespace vardo
