// Lines and pens: the end-pixel rule, Bresenham's choices, dash patterns, wide round pens, XOR,
// and exact clipping at any coordinate.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "render/canvas.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::FromRows;
using test::kBlack;
using test::kRed;
using test::kWhite;
using test::Picture;
using test::Rows;

struct LineCase {
  const char* name;
  int x1, y1, x2, y2;
  std::string picture;
};

TEST(CanvasLine, OnePixelLinesLeaveOutTheEndPixel) {
  const LineCase cases[] = {
      {"horizontal", 0, 0, 7, 0,
       Rows({"#######.", "........", "........", "........", "........", "........"})},
      {"shallow", 1, 1, 7, 4,
       Rows({"........", ".##.....", "...##...", ".....##.", "........", "........"})},
      // Halfway cases round towards the start, so the reverse line takes other pixels.
      {"shallow reversed", 7, 4, 1, 1,
       Rows({"........", "........", "..##....", "....##..", "......##", "........"})},
      {"steep", 2, 0, 4, 5,
       Rows({"..#.....", "..#.....", "...#....", "...#....", "....#...", "........"})},
      {"diagonal up", 0, 5, 5, 0,
       Rows({"........", "....#...", "...#....", "..#.....", ".#......", "#......."})},
      {"vertical up", 6, 5, 6, 0,
       Rows({"........", "......#.", "......#.", "......#.", "......#.", "......#."})},
      {"zero length", 3, 3, 3, 3,
       Rows({"........", "........", "........", "........", "........", "........"})},
  };
  for (const LineCase& c : cases) {
    Surface s(8, 6);
    Canvas canvas(s);
    canvas.MoveTo(c.x1, c.y1);
    canvas.LineTo(c.x2, c.y2);
    EXPECT_EQ(Picture(s), c.picture) << c.name;
    EXPECT_EQ(canvas.PenPos().X, c.x2);
    EXPECT_EQ(canvas.PenPos().Y, c.y2);
  }
}

TEST(CanvasLine, ExtremeCoordinatesSetThePixelsTheLineReallyCrosses) {
  const int lo = INT32_MIN;
  const int hi = INT32_MAX;
  const LineCase cases[] = {
      // Reaches row 1 halfway along, exactly at x = 0.
      {"full width, one row of rise", lo, 0, hi, 1,
       Rows({"........", "########", "........", "........", "........", "........"})},
      {"full diagonal", hi, hi, lo, lo,
       Rows({"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#.."})},
      {"full height", 3, lo, 3, hi,
       Rows({"...#....", "...#....", "...#....", "...#....", "...#....", "...#...."})},
      // The same pixels as the short line from (0, 0) to (8, 4) through the same points.
      {"slope one half through the origin", -(1 << 30), -(1 << 29), 1 << 30, 1 << 29,
       Rows({"##......", "..##....", "....##..", "......##", "........", "........"})},
      {"short line of the same slope", 0, 0, 8, 4,
       Rows({"##......", "..##....", "....##..", "......##", "........", "........"})},
      {"far away", lo, lo, lo + 5, hi,
       Rows({"........", "........", "........", "........", "........", "........"})},
  };
  for (const LineCase& c : cases) {
    Surface s(8, 6);
    Canvas canvas(s);
    canvas.MoveTo(c.x1, c.y1);
    canvas.LineTo(c.x2, c.y2);
    EXPECT_EQ(Picture(s), c.picture) << c.name;
  }
}

// Clipping must not move a pixel: a small surface shows exactly the window of a big one that
// holds the whole line.
TEST(CanvasLine, ClippedLinesMatchUnclippedOnes) {
  struct PenCase {
    int width;
    PenStyle style;
  } pens[] = {{0, PenStyle::Solid},
              {1, PenStyle::DashDot},
              {2, PenStyle::Solid},
              {3, PenStyle::Solid},
              {4, PenStyle::Solid}};
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coordinate(-35, 45);
  const int shift = 40;
  for (const PenCase& pen : pens) {
    for (int i = 0; i < 200; ++i) {
      const int x1 = coordinate(random), y1 = coordinate(random);
      const int x2 = coordinate(random), y2 = coordinate(random);
      Surface small(12, 9);
      Surface big(100, 100);
      Canvas a(small);
      Canvas b(big);
      for (Canvas* c : {&a, &b}) {
        c->pen() = {kBlack, pen.width, pen.style, PenMode::Copy};
      }
      a.MoveTo(x1, y1);
      a.LineTo(x2, y2);
      b.MoveTo(x1 + shift, y1 + shift);
      b.LineTo(x2 + shift, y2 + shift);
      for (int y = 0; y < small.Height(); ++y) {
        for (int x = 0; x < small.Width(); ++x) {
          ASSERT_EQ(small.GetPixel(x, y), big.GetPixel(x + shift, y + shift))
              << "pen " << pen.width << " line " << x1 << "," << y1 << " - " << x2 << "," << y2
              << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(CanvasLine, DashPatternsLeaveTheirGapsUntouched) {
  struct StyleCase {
    PenStyle style;
    const char* row;
  } cases[] = {
      {PenStyle::Solid, "########################"},
      {PenStyle::Dash, "##################rrrrrr"},
      {PenStyle::Dot, "###rrr###rrr###rrr###rrr"},
      {PenStyle::DashDot, "#########rrrrrr###rrrrrr"},
      {PenStyle::DashDotDot, "#########rrr###rrr###rrr"},
      {PenStyle::Clear, "rrrrrrrrrrrrrrrrrrrrrrrr"},
  };
  for (const StyleCase& c : cases) {
    Surface s(24, 1, kRed);
    Canvas canvas(s);
    canvas.pen().style = c.style;
    canvas.MoveTo(0, 0);
    canvas.LineTo(24, 0);
    EXPECT_EQ(Picture(s), Rows({c.row})) << static_cast<int>(c.style);
  }
}

TEST(CanvasLine, DashPatternRunsOnAcrossLineToAndRestartsAtMoveTo) {
  Surface s(16, 2, kRed);
  Canvas canvas(s);
  canvas.pen().style = PenStyle::Dot;
  canvas.MoveTo(0, 0);
  canvas.LineTo(4, 0);
  canvas.LineTo(16, 0);
  canvas.MoveTo(0, 1);
  canvas.LineTo(4, 1);
  canvas.MoveTo(4, 1);
  canvas.LineTo(16, 1);
  EXPECT_EQ(Picture(s), Rows({"###rrr###rrr###r", "###r###rrr###rrr"}));
}

TEST(CanvasLine, WidePensAreCentredWithRoundEndsAndAlwaysSolid) {
  struct WideCase {
    const char* name;
    int width;
    PenStyle style;
    int x1, y1, x2, y2;
    std::string picture;
  } cases[] = {
      {"three across, end included", 3, PenStyle::Solid, 2, 2, 5, 2,
       Rows({"........", ".######.", ".######.", ".######.", "........", "........"})},
      {"dotted style ignored", 3, PenStyle::Dot, 2, 2, 5, 2,
       Rows({"........", ".######.", ".######.", ".######.", "........", "........"})},
      {"two across, up and left of the path", 2, PenStyle::Solid, 2, 2, 5, 2,
       Rows({"........", ".#####..", ".#####..", "........", "........", "........"})},
      {"a round dot four across", 4, PenStyle::Solid, 3, 3, 3, 3,
       Rows({"........", "..##....", ".####...", ".####...", "..##....", "........"})},
      {"three across, from corner to corner of the plane", 3, PenStyle::Solid, INT32_MAX, INT32_MAX,
       INT32_MIN, INT32_MIN,
       Rows({"###.....", "####....", "#####...", ".#####..", "..#####.", "...#####"})},
      {"invisible", 3, PenStyle::Clear, 2, 2, 5, 2,
       Rows({"........", "........", "........", "........", "........", "........"})},
  };
  for (const WideCase& c : cases) {
    Surface s(8, 6);
    Canvas canvas(s);
    canvas.pen().width = c.width;
    canvas.pen().style = c.style;
    canvas.MoveTo(c.x1, c.y1);
    canvas.LineTo(c.x2, c.y2);
    EXPECT_EQ(Picture(s), c.picture) << c.name;
  }
}

Surface Patterned(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      s.SetPixel(x, y, static_cast<uint32_t>(x * 0x25 + y * 0x3B00));
  }
  return s;
}

// One XOR drawing toggles exactly the pixels the same drawing covers in copy mode, each once;
// a second one restores the surface.
TEST(CanvasXor, TogglesEveryCoveredPixelOnceAndTwiceRestores) {
  struct Drawing {
    const char* name;
    void (*draw)(Canvas&);
  } drawings[] = {
      {"thin line",
       [](Canvas& c) {
         c.MoveTo(-3, 1);
         c.LineTo(9, 7);
       }},
      {"three-pixel line",
       [](Canvas& c) {
         c.pen().width = 3;
         c.MoveTo(1, 8);
         c.LineTo(8, 0);
       }},
      {"thin rectangle, solid brush",
       [](Canvas& c) {
         c.brush().style = BrushStyle::Solid;
         c.Rectangle(1, 1, 7, 6);
       }},
      {"three-pixel rubber band",
       [](Canvas& c) {
         c.pen().width = 3;
         c.Rectangle(1, 1, 9, 7);
       }},
      {"two-pixel polyline folding back on itself",
       [](Canvas& c) {
         c.pen().width = 2;
         const TPoint points[] = {{1, 1}, {8, 1}, {8, 6}, {2, 1}};
         c.Polyline(points);
       }},
  };
  const uint32_t colour = 0x00C0FFEE;
  for (const Drawing& d : drawings) {
    Surface covered(10, 8);
    Canvas copy(covered);
    copy.pen().color = kBlack;
    copy.brush() = {kBlack, BrushStyle::Clear};
    d.draw(copy);

    const Surface before = Patterned(10, 8);
    Surface s = before;
    Canvas canvas(s);
    canvas.pen() = {colour, 0, PenStyle::Solid, PenMode::Xor};
    canvas.brush() = {colour, BrushStyle::Clear};
    d.draw(canvas);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 10; ++x) {
        const bool hit = covered.GetPixel(x, y) == kBlack;
        EXPECT_EQ(s.GetPixel(x, y), before.GetPixel(x, y) ^ (hit ? colour : 0))
            << d.name << " at " << x << "," << y;
      }
    }
    canvas.pen() = {colour, 0, PenStyle::Solid, PenMode::Xor};
    canvas.brush() = {colour, BrushStyle::Clear};
    d.draw(canvas);
    EXPECT_EQ(s, before) << d.name;
  }
}

TEST(CanvasXor, RubberBandWithAThreePixelPen) {
  Surface s(10, 8);
  Canvas canvas(s);
  canvas.pen() = {kWhite, 3, PenStyle::Solid, PenMode::Xor};
  canvas.brush().style = BrushStyle::Clear;
  canvas.Rectangle(1, 1, 9, 7);
  EXPECT_EQ(Picture(s), Rows({"##########", "##########", "##########", "###....###", "###....###",
                              "##########", "##########", "##########"}));
  canvas.Rectangle(1, 1, 9, 7);
  EXPECT_EQ(s, Surface(10, 8));
}

TEST(CanvasXor, FilledSelfCrossingPolygonTwiceRestores) {
  const Surface before = Patterned(20, 20);
  Surface s = before;
  Canvas canvas(s);
  canvas.pen() = {0x00123456, 0, PenStyle::Solid, PenMode::Xor};
  canvas.brush() = {0x00654321, BrushStyle::DiagCross};
  const TPoint star[] = {{10, 1}, {15, 17}, {1, 7}, {19, 7}, {5, 17}};
  canvas.Polygon(star);
  EXPECT_NE(s, before);
  canvas.Polygon(star);
  EXPECT_EQ(s, before);
}

TEST(CanvasPixel, WritesAndReadsExactValuesWhateverThePenMode) {
  Surface s(4, 4, kWhite);
  Canvas canvas(s);
  canvas.pen().mode = PenMode::Xor;
  canvas.SetPixel(1, 2, 0x00FF0000);
  EXPECT_EQ(canvas.GetPixel(1, 2), 0x00FF0000u);
  EXPECT_EQ(canvas.GetPixel(4, 0), Surface::kOutside);
  EXPECT_EQ(canvas.GetPixel(INT32_MIN, INT32_MAX), Surface::kOutside);
}

TEST(CanvasPixel, EmptySurfaceTakesEveryOperation) {
  Surface s;
  Canvas canvas(s);
  canvas.pen().width = 3;
  canvas.MoveTo(INT32_MIN, INT32_MIN);
  canvas.LineTo(INT32_MAX, INT32_MAX);
  canvas.pen().width = 0;
  canvas.LineTo(0, 0);
  canvas.Rectangle(0, 0, 5, 5);
  const TPoint points[] = {{0, 0}, {5, 0}, {0, 5}};
  canvas.Polygon(points);
  canvas.Polyline(points);
  canvas.FloodFill(0, 0, kBlack);
  canvas.Draw(0, 0, FromRows({"##"}));
  EXPECT_EQ(s.Width(), 0);
}

}  // namespace
}  // namespace vardo
