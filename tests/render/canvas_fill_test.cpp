// Rectangles, polygons, hatch brushes and the border flood fill, pixel by pixel.
#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <random>
#include <vector>

#include "render/canvas.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::FromRows;
using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kRed;
using test::kWhite;
using test::Picture;
using test::Rows;

// A canvas on an 8 x 6 white surface with a black one-pixel pen and a solid red brush.
struct Fixture {
  Surface s{8, 6};
  Canvas canvas{s};
  Fixture() {
    canvas.pen().color = kBlack;
    canvas.brush() = {kRed, BrushStyle::Solid};
  }
};

TEST(CanvasRectangle, LeavesOutRightAndBottomEdges) {
  const std::string framed =
      Rows({"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........"});
  struct Case {
    const char* name;
    PenStyle pen;
    BrushStyle brush;
    int x1, y1, x2, y2;
    std::string picture;
  } cases[] = {
      {"framed", PenStyle::Solid, BrushStyle::Solid, 1, 1, 6, 5, framed},
      {"corners swapped", PenStyle::Solid, BrushStyle::Solid, 6, 5, 1, 1, framed},
      {"invisible pen: the brush covers it all", PenStyle::Clear, BrushStyle::Solid, 1, 1, 6, 5,
       Rows({"........", ".rrrrr..", ".rrrrr..", ".rrrrr..", ".rrrrr..", "........"})},
      {"clear brush", PenStyle::Solid, BrushStyle::Clear, 1, 1, 6, 5,
       Rows({"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"})},
      {"one column", PenStyle::Solid, BrushStyle::Solid, 2, 1, 3, 5,
       Rows({"........", "..#.....", "..#.....", "..#.....", "..#.....", "........"})},
      {"zero width", PenStyle::Solid, BrushStyle::Solid, 2, 1, 2, 5,
       Rows({"........", "........", "........", "........", "........", "........"})},
      {"edges far off on two sides", PenStyle::Solid, BrushStyle::Solid, INT_MIN, 1, 5, INT_MAX,
       Rows({"........", "#####...", "rrrr#...", "rrrr#...", "rrrr#...", "rrrr#..."})},
      {"everything", PenStyle::Solid, BrushStyle::Solid, INT_MIN, INT_MIN, INT_MAX, INT_MAX,
       Rows({"rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr"})},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.canvas.pen().style = c.pen;
    f.canvas.brush().style = c.brush;
    f.canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(Picture(f.s), c.picture) << c.name;
  }
}

TEST(CanvasRectangle, DashPatternRunsAroundTheBorder) {
  Surface s(8, 6, kRed);
  Canvas canvas(s);
  canvas.pen().style = PenStyle::Dot;
  canvas.brush().style = BrushStyle::Clear;
  canvas.Rectangle(0, 0, 8, 6);
  EXPECT_EQ(Picture(s),
            Rows({"###rrr##", "rrrrrrr#", "rrrrrrrr", "rrrrrrrr", "#rrrrrrr", "##rrr###"}));
}

TEST(CanvasPolygon, FillsPixelCentresInsideThenOutlines) {
  struct Case {
    const char* name;
    PenStyle pen;
    std::vector<TPoint> points;
    std::string picture;
  } cases[] = {
      {"square, fill only",
       PenStyle::Clear,
       {{1, 1}, {5, 1}, {5, 4}, {1, 4}},
       Rows({"........", ".rrrr...", ".rrrr...", ".rrrr...", "........", "........"})},
      {"square, outlined",
       PenStyle::Solid,
       {{1, 1}, {5, 1}, {5, 4}, {1, 4}},
       Rows({"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........"})},
      {"triangle",
       PenStyle::Clear,
       {{0, 0}, {8, 0}, {0, 6}},
       Rows({"rrrrrrr.", "rrrrrr..", "rrrrr...", "rrr.....", "rr......", "r......."})},
      // Pixel centres on the diagonal lie on the edge and stay out; only the surface's rows
      // are visited.
      {"huge triangle",
       PenStyle::Clear,
       {{-2000000000, -2000000000}, {2000000000, 2000000000}, {-2000000000, 2000000000}},
       Rows({"........", "r.......", "rr......", "rrr.....", "rrrr....", "rrrrr..."})},
      {"huge triangle, outlined",
       PenStyle::Solid,
       {{-2000000000, -2000000000}, {2000000000, 2000000000}, {-2000000000, 2000000000}},
       Rows({"#.......", "r#......", "rr#.....", "rrr#....", "rrrr#...", "rrrrr#.."})},
      {"huge square",
       PenStyle::Solid,
       {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}},
       Rows({"rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr"})},
      {"two points: a line, no fill",
       PenStyle::Solid,
       {{1, 2}, {6, 2}},
       Rows({"........", "........", ".######.", "........", "........", "........"})},
      {"one point",
       PenStyle::Solid,
       {{1, 2}},
       Rows({"........", "........", "........", "........", "........", "........"})},
      {"none",
       PenStyle::Solid,
       {},
       Rows({"........", "........", "........", "........", "........", "........"})},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.canvas.pen().style = c.pen;
    f.canvas.Polygon(c.points);
    EXPECT_EQ(Picture(f.s), c.picture) << c.name;
  }
}

TEST(CanvasPolygon, EvenOddLeavesTheStarsCentreOpen) {
  Surface s(20, 20);
  Canvas canvas(s);
  canvas.pen().style = PenStyle::Clear;
  canvas.brush() = {kRed, BrushStyle::Solid};
  const TPoint star[] = {{10, 1}, {15, 17}, {1, 7}, {19, 7}, {5, 17}};
  canvas.Polygon(star);
  // Row 10 (centre line 10.5) crosses the edges at 5.9, 7.03, 12.97 and 14.1.
  const std::string row10 = "......r......r......";
  for (int x = 0; x < 20; ++x) {
    EXPECT_EQ(test::Letter(s.GetPixel(x, 10)), row10[x]) << x;
  }
  EXPECT_EQ(s.GetPixel(10, 4), kRed);  // the upper spike
  EXPECT_EQ(s.GetPixel(3, 7), kRed);   // the left spike
  EXPECT_EQ(s.GetPixel(10, 7), kWhite);
}

TEST(CanvasPolyline, LeavesOutTheLastPoint) {
  Fixture f;
  const TPoint points[] = {{0, 0}, {4, 0}, {4, 4}, {1, 1}};
  f.canvas.Polyline(points);
  EXPECT_EQ(Picture(f.s),
            Rows({"#####...", "....#...", "..#.#...", "...##...", "....#...", "........"}));
}

// Each hatch as it lies on the surface's first 8 x 8 pixels.
struct HatchCase {
  BrushStyle style;
  std::vector<const char*> rows;
};

const HatchCase kHatches[] = {
    {BrushStyle::Horizontal,
     {"........", "........", "........", "rrrrrrrr", "........", "........", "........",
      "........"}},
    {BrushStyle::Vertical,
     {"....r...", "....r...", "....r...", "....r...", "....r...", "....r...", "....r...",
      "....r..."}},
    {BrushStyle::FDiagonal,
     {"r.......", ".r......", "..r.....", "...r....", "....r...", ".....r..", "......r.",
      ".......r"}},
    {BrushStyle::BDiagonal,
     {".......r", "......r.", ".....r..", "....r...", "...r....", "..r.....", ".r......",
      "r......."}},
    {BrushStyle::Cross,
     {"....r...", "....r...", "....r...", "rrrrrrrr", "....r...", "....r...", "....r...",
      "....r..."}},
    {BrushStyle::DiagCross,
     {"r......r", ".r....r.", "..r..r..", "...rr...", "...rr...", "..r..r..", ".r....r.",
      "r......r"}},
};

// Wherever a hatched area starts, its pattern is the surface's: pixel (x, y) takes the hatch
// at (x mod 8, y mod 8), and the gaps keep what was there.
TEST(CanvasBrush, HatchesAreAlignedToTheSurfaceAndTransparent) {
  for (const HatchCase& hatch : kHatches) {
    Surface one(13, 11, kGreen);
    Surface pieces(13, 11, kGreen);
    Surface polygon(13, 11, kGreen);
    for (Surface* s : {&one, &pieces, &polygon}) {
      Canvas canvas(*s);
      canvas.pen().style = PenStyle::Clear;
      canvas.brush() = {kRed, hatch.style};
      if (s == &one) canvas.Rectangle(-3, -5, 13, 11);
      if (s == &pieces) {
        canvas.Rectangle(0, 0, 5, 11);
        canvas.Rectangle(5, 0, 13, 3);
        canvas.Rectangle(5, 3, 13, 11);
      }
      if (s == &polygon) {
        const TPoint points[] = {{0, 0}, {13, 0}, {13, 11}, {0, 11}};
        canvas.Polygon(points);
      }
    }
    for (int y = 0; y < 11; ++y) {
      for (int x = 0; x < 13; ++x) {
        const uint32_t want = hatch.rows[y % 8][x % 8] == 'r' ? kRed : kGreen;
        EXPECT_EQ(one.GetPixel(x, y), want)
            << static_cast<int>(hatch.style) << " " << x << "," << y;
      }
    }
    EXPECT_EQ(pieces, one) << static_cast<int>(hatch.style);
    EXPECT_EQ(polygon, one) << static_cast<int>(hatch.style);
  }
}

TEST(CanvasFloodFill, IsFourConnectedSoADiagonalLineCloses) {
  const auto diagonal = {"...#....", "..#.....", ".#......", "#.......", "........", "........"};
  Surface inside = FromRows(diagonal);
  Canvas a(inside);
  a.brush() = {kBlue, BrushStyle::Solid};
  a.FloodFill(0, 0, kBlack);
  EXPECT_EQ(Picture(inside),
            Rows({"bbb#....", "bb#.....", "b#......", "#.......", "........", "........"}));

  Surface outside = FromRows(diagonal);
  Canvas b(outside);
  b.brush() = {kBlue, BrushStyle::Solid};
  b.FloodFill(7, 5, kBlack);
  EXPECT_EQ(Picture(outside),
            Rows({"...#bbbb", "..#bbbbb", ".#bbbbbb", "#bbbbbbb", "bbbbbbbb", "bbbbbbbb"}));
}

TEST(CanvasFloodFill, FillsOverEveryOtherColourUpToTheBorder) {
  const auto box = {"........", ".####...", ".#rb#..g", ".#.g#...", ".####...", "r......."};
  Surface s = FromRows(box);
  Canvas canvas(s);
  canvas.brush() = {kBlue, BrushStyle::Solid};
  canvas.FloodFill(2, 3, kBlack);
  EXPECT_EQ(Picture(s),
            Rows({"........", ".####...", ".#bb#..g", ".#bb#...", ".####...", "r......."}));
  canvas.brush().color = kGreen;
  canvas.FloodFill(7, 5, kBlack);
  EXPECT_EQ(Picture(s),
            Rows({"gggggggg", "g####ggg", "g#bb#ggg", "g#bb#ggg", "g####ggg", "gggggggg"}));
}

TEST(CanvasFloodFill, ChangesNothingOnTheBorderOutsideOrWithAClearBrush) {
  const Surface before =
      FromRows({"...#....", "..#.....", ".#......", "#.......", "........", "........"});
  struct Case {
    const char* name;
    int x, y;
    BrushStyle brush;
  } cases[] = {
      {"on the border colour", 3, 0, BrushStyle::Solid},
      {"left of the surface", -1, 0, BrushStyle::Solid},
      {"below the surface", 0, 6, BrushStyle::Solid},
      {"far away", INT_MIN, INT_MAX, BrushStyle::Solid},
      {"clear brush", 0, 0, BrushStyle::Clear},
  };
  for (const Case& c : cases) {
    Surface s = before;
    Canvas canvas(s);
    canvas.brush() = {kBlue, c.brush};
    canvas.FloodFill(c.x, c.y, kBlack);
    EXPECT_EQ(Picture(s), Picture(before)) << c.name;
  }
}

// The span fill against the plainest 4-connected search, on scattered obstacles of mixed
// colours, with brush colours that do and do not occur on the surface.
TEST(CanvasFloodFill, MatchesAPlainSearch) {
  std::mt19937 random(777);
  const uint32_t colours[] = {kWhite, kWhite, kWhite, kBlack, kBlack, kRed, kBlue};
  std::uniform_int_distribution<int> pick(0, 6);
  for (int round = 0; round < 20; ++round) {
    Surface s(40, 30);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x)
        s.SetPixel(x, y, colours[pick(random)]);
    }
    const int sx = static_cast<int>(random() % 40);
    const int sy = static_cast<int>(random() % 30);
    const uint32_t brush = round % 2 == 0 ? kBlue : kGreen;

    Surface want = s;
    if (want.GetPixel(sx, sy) != kBlack) {
      std::vector<bool> seen(40 * 30);
      std::deque<TPoint> queue{{sx, sy}};
      seen[sy * 40 + sx] = true;
      while (!queue.empty()) {
        const TPoint p = queue.front();
        queue.pop_front();
        want.SetPixel(p.X, p.Y, brush);
        for (TPoint d : {TPoint{1, 0}, TPoint{-1, 0}, TPoint{0, 1}, TPoint{0, -1}}) {
          const int nx = p.X + d.X, ny = p.Y + d.Y;
          if (!s.Contains(nx, ny) || seen[ny * 40 + nx] || s.GetPixel(nx, ny) == kBlack) continue;
          seen[ny * 40 + nx] = true;
          queue.push_back({nx, ny});
        }
      }
    }
    Canvas canvas(s);
    canvas.brush() = {brush, BrushStyle::Solid};
    canvas.FloodFill(sx, sy, kBlack);
    ASSERT_EQ(Picture(s), Picture(want)) << "round " << round;
  }
}

}  // namespace
}  // namespace vardo
