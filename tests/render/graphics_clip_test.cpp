// Region codes and one-pass segment clipping against the view window, at ordinary and extreme
// coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/graphics.h"
#include "scene.h"

namespace vardo {
namespace {

using test::Scene;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The window is (0, 0)-(20, 12).
TEST(ClipCode, EdgesCountAsOutside) {
  const Scene scene(20, 12);
  const Graphics& g = scene.g;
  EXPECT_EQ(g.ClipCode(5, 5), 0);
  EXPECT_EQ(g.ClipCode(0, 5), kClipLeft);
  EXPECT_EQ(g.ClipCode(20, 5), kClipRight);
  EXPECT_EQ(g.ClipCode(5, 0), kClipBelow);
  EXPECT_EQ(g.ClipCode(5, 12), kClipAbove);
  EXPECT_EQ(g.ClipCode(-1, 13), kClipLeft | kClipAbove);
  EXPECT_EQ(g.ClipCode(1e-13, 5), kClipLeft) << "within 1e-12 of the edge";
  EXPECT_EQ(g.ClipCode(kNaN, 5), kClipLeft | kClipRight);
  EXPECT_EQ(g.ClipCode(5, kNaN), kClipBelow | kClipAbove);
  EXPECT_EQ(g.ClipPoint(5, 5), 0);
  EXPECT_EQ(g.ClipPoint(0, 5), 2);
  EXPECT_EQ(g.ClipPoint(kNaN, kNaN), 2);
}

TEST(ClipCheck, InsideCrossingOrBeyondOneEdge) {
  const Scene scene(20, 12);
  EXPECT_EQ(scene.g.ClipCheck(1, 1, 19, 11), 0);
  EXPECT_EQ(scene.g.ClipCheck(-5, 1, 5, 5), 1);
  EXPECT_EQ(scene.g.ClipCheck(-5, 30, 30, -5), 1) << "outside, but not beyond a single edge";
  EXPECT_EQ(scene.g.ClipCheck(-5, 1, -1, 30), 2);
}

struct ClipCase {
  const char* name;
  double x1, y1, x2, y2;
  int result;
  double cx1, cy1, cx2, cy2;  // the segment afterwards
};

TEST(ClipLine, OnePassPerEndPoint) {
  const ClipCase cases[] = {
      {"inside", 1, 1, 5, 5, kClipInside, 1, 1, 5, 5},
      {"on the left edge", 0, 2, 0, 8, kClipInvisible, 0, 2, 0, 8},
      {"enters from the left", -10, 1, 10, 1, kClipClipped, 0, 1, 10, 1},
      {"leaves at the top", 5, 5, 5, 20, kClipClipped, 5, 5, 5, 12},
      {"crosses the whole window", -10, -4, 30, 16, kClipClipped, 0, 1, 20, 11},
      {"crosses right to left", 30, 6, -10, 6, kClipClipped, 20, 6, 0, 6},
      {"cuts a corner", -1, 2, 2, -1, kClipClipped, 0, 1, 1, 0},
      {"passes outside a corner", -2, 1, 1, -2, kClipInvisible, -1, 0, -1, 0},
      {"beyond the right edge", 25, 1, 30, 5, kClipInvisible, 25, 1, 30, 5},
      {"from -1e300 to 1e300", -1e300, 6, 1e300, 6, kClipClipped, 0, 6, 20, 6},
      // The plain products overflow here; the near end still fixes the line.
      {"near end and an end 1e308 away", 2, 2, 5e307, 1e308, kClipClipped, 2, 2, 7, 12},
      {"steep, 2e308 high", 5, -1e308, 7, 1e308, kClipClipped, 6, 0, 6, 12},
      // An end inside the left edge by less than the tolerance stays on the line's end instead
      // of going out along its extension (by the tolerance times a slope of 5e304).
      {"nearly upright, its end just inside an edge", 1e-13, 1, 0.0625, -3e303, kClipClipped, 0, 1,
       0, 0},
  };
  const Scene scene(20, 12);
  for (const ClipCase& c : cases) {
    double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    EXPECT_EQ(scene.g.ClipLine(x1, y1, x2, y2), c.result) << c.name;
    EXPECT_NEAR(x1, c.cx1, 1e-9) << c.name;
    EXPECT_NEAR(y1, c.cy1, 1e-9) << c.name;
    EXPECT_NEAR(x2, c.cx2, 1e-9) << c.name;
    EXPECT_NEAR(y2, c.cy2, 1e-9) << c.name;
  }
}

TEST(ClipLine, EndsFarOnBothSidesGiveFiniteEnds) {
  const Scene scene(20, 12);
  double x1 = -1e300, y1 = -1e300, x2 = 1.7e308, y2 = 1.7e308;
  scene.g.ClipLine(x1, y1, x2, y2);
  EXPECT_TRUE(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2));
}

TEST(ClipLine, PointsThatAreNotFiniteAreInvisible) {
  const Scene scene(20, 12);
  const double bad[] = {kNaN, kInf, -kInf};
  for (double v : bad) {
    double x1 = v, y1 = 5, x2 = 5, y2 = 5;
    EXPECT_EQ(scene.g.ClipLine(x1, y1, x2, y2), kClipInvisible) << v;
    x1 = 5, y1 = 5, x2 = 6, y2 = v;
    EXPECT_EQ(scene.g.ClipLine(x1, y1, x2, y2), kClipInvisible) << v;
  }
}

}  // namespace
}  // namespace vardo
