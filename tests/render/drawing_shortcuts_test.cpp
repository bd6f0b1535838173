// The shortcuts of the drawing loops give exactly the pixels and canvas state of the plain
// path: inline pixel mapping, lines with their end pixel, ellipses mapped once per point, and
// polygon edges in 64-bit arithmetic.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "common/geometry.h"
#include "render/canvas.h"
#include "render/graphics.h"
#include "scene.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::kBlack;
using test::kBlue;
using test::Picture;
using test::Scene;

constexpr double kPi = std::numbers::pi;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PixelMapping, AgreesWithTheViewMappingsEverywhere) {
  struct View {
    double scale, xmin, ymin;
    int height;
  };
  const View views[] = {
      {1, 0, 0, 6}, {0.9, -111.1, -55.5, 100}, {1e-12, 1e300, -1e300, 64}, {1e12, -3.25, 7.5, 1}};
  std::vector<double> values = {0,     0.5,       -0.5,      2.5,        -2.5, 0.49999999999999994,
                                1e9,   1e9 - 0.5, 1e9 + 0.5, -1e9 - 0.5, 2e9,  -2e9,
                                1e300, -1e300,    kInf,      -kInf,      kNaN, 5e-324};
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pixel(-5000, 5000);
  for (int i = 0; i < 2000; ++i)
    values.push_back(pixel(rng) + 0.5);
  for (const View& w : views) {
    Scene scene(4, w.height, w.scale, w.xmin, w.ymin);
    for (double value : values) {
      // The value as a pixel offset from the window's corner, and as it is.
      for (double x : {w.xmin + value / w.scale, value}) {
        EXPECT_EQ(scene.g.PixelX(x), DrawToPixelX(scene.view, x)) << x << " at scale " << w.scale;
        EXPECT_EQ(scene.g.PixelY(x), DrawToPixelY(scene.view, x)) << x << " at scale " << w.scale;
      }
    }
  }
}

struct PenCase {
  const char* name;
  Pen pen;
};

const PenCase kPens[] = {
    {"solid", {kBlack, 0, PenStyle::Solid, PenMode::Copy}},
    {"dotted", {kBlack, 0, PenStyle::Dot, PenMode::Copy}},
    {"dash-dot", {kBlack, 1, PenStyle::DashDot, PenMode::Copy}},
    {"xor", {kBlue, 0, PenStyle::Solid, PenMode::Xor}},
    {"wide", {kBlack, 3, PenStyle::Solid, PenMode::Copy}},
    {"wide xor", {kBlue, 2, PenStyle::Solid, PenMode::Xor}},
    {"invisible", {kBlack, 0, PenStyle::Clear, PenMode::Copy}},
};

// Two canvases of 24 x 16 pixels with the same pen. One more LineTo on each afterwards shows a
// difference in the pen position or the dash pattern in the pixels.
struct Pair {
  explicit Pair(const Pen& pen) {
    plain.pen() = pen;
    shortcut.pen() = pen;
  }
  void Continue() {
    plain.LineTo(3, 15);
    shortcut.LineTo(3, 15);
  }
  Surface plain_surface{24, 16};
  Surface shortcut_surface{24, 16};
  Canvas plain{plain_surface};
  Canvas shortcut{shortcut_surface};
};

void PlainLineWithEnd(Canvas& c, const TPoint& from, const TPoint& to) {
  c.MoveTo(from.X, from.Y);
  c.LineTo(to.X, to.Y);
  c.SetPixel(to.X, to.Y, c.pen().color);
}

TEST(CanvasLineWithEnd, SameAsMoveToLineToAndTheEndPixel) {
  const TPoint segments[][2] = {{{2, 3}, {19, 9}},   {{20, 14}, {4, 1}},  {{7, 7}, {7, 7}},
                                {{-5, 2}, {30, 12}}, {{23, 0}, {23, 15}}, {{-9, -9}, {-1, -3}},
                                {{5, 20}, {12, 15}}, {{0, 0}, {1, 1}}};
  for (const PenCase& p : kPens) {
    for (const auto& s : segments) {
      Pair pair(p.pen);
      PlainLineWithEnd(pair.plain, s[0], s[1]);
      pair.shortcut.LineWithEnd(s[0].X, s[0].Y, s[1].X, s[1].Y);
      EXPECT_EQ(Picture(pair.shortcut_surface), Picture(pair.plain_surface))
          << p.name << " from " << s[0].X << "," << s[0].Y << " to " << s[1].X << "," << s[1].Y;
      pair.Continue();
      EXPECT_EQ(Picture(pair.shortcut_surface), Picture(pair.plain_surface))
          << p.name << " then on from " << s[1].X << "," << s[1].Y;
    }
  }
}

TEST(CanvasLinesWithEnds, SameAsOneLineWithEndPerPairRepeatsIncluded) {
  const std::vector<TPoint> paths[] = {
      {{4, 4}, {4, 4}, {4, 4}},
      {{2, 2}, {9, 3}, {9, 3}, {9, 3}, {15, 12}, {15, 12}},
      {{1, 1}, {1, 1}, {2, 1}, {2, 1}, {2, 2}},
      {{-3, 8}, {30, 8}, {30, 8}, {12, -4}},
      {{6, 6}},
  };
  for (const PenCase& p : kPens) {
    for (const std::vector<TPoint>& path : paths) {
      Pair pair(p.pen);
      for (size_t i = 1; i < path.size(); ++i)
        PlainLineWithEnd(pair.plain, path[i - 1], path[i]);
      pair.shortcut.LinesWithEnds(path);
      EXPECT_EQ(Picture(pair.shortcut_surface), Picture(pair.plain_surface))
          << p.name << " along " << path.size() << " points";
      if (path.size() < 2) continue;
      pair.Continue();
      EXPECT_EQ(Picture(pair.shortcut_surface), Picture(pair.plain_surface))
          << p.name << " then on from the last of " << path.size() << " points";
    }
  }
}

// Ellipses as the chords between points of the plain formula, one GraLine each.
struct EllipseCase {
  const char* name;
  double cx, cy, r, flat, tilt, start, sweep;
  bool full;
};

void PlainChords(Graphics& g, const EllipseCase& c) {
  const double step = c.full ? 0.0872664625997165 : c.sweep / 72;
  double t = c.full ? 0 : c.start;
  auto point = [&](double at) {
    const double p = c.r * std::cos(at);
    const double q = c.r * c.flat * std::sin(at);
    return TGraph_Point{c.cx + RotX(p, q, 0, 0, c.tilt), c.cy + RotY(p, q, 0, 0, c.tilt)};
  };
  TGraph_Point prev = point(t);
  for (int i = 0; i < 72; ++i) {
    t += step;
    const TGraph_Point next = point(t);
    g.GraLine(prev.x, prev.y, next.x, next.y);
    prev = next;
  }
}

TEST(GraEllipseAndArc, SameAsChordByChordLines) {
  // The 40 x 30 view shows x -20..20 and y -15..15 at one pixel per unit.
  const EllipseCase cases[] = {
      {"circle inside", 3.3, -2.1, 9.7, 1, 0, 0, 0, true},
      {"point-sized circle", 0.2, 0.4, 0.6, 1, 0, 0, 0, true},
      {"circle across the left edge", -18, 1, 6, 1, 0, 0, 0, true},
      {"circle round the window", 0, 0, 30, 1, 0, 0, 0, true},
      {"circle across every edge", 0.3, -0.2, 24.6, 1, 0, 0, 0, true},
      {"flat ellipse across two edges", 1.1, 0.7, 27.3, 0.3, 0.2, 0, 0, true},
      {"needle far beyond the pixel range", 0.4, 0.1, 1e12, 1e-12, 0.3, 0, 0, true},
      {"turned flat ellipse", 1.5, 2.5, 11, 0.4, 0.7, 0, 0, true},
      {"ellipse touching the top", 0, 10, 5, 1, 0, 0, 0, true},
      {"arc inside", -4, 3, 8, 1, 0, 5.5, 2.2, false},
      {"clockwise flat arc", 2, -3, 9, 0.6, -0.3, 1, -4, false},
      {"arc across the corner", 19, 14, 4, 1, 0, 0, 1.5 * kPi, false},
      {"centre not a number", kNaN, 0, 5, 1, 0, 0, 0, true},
      {"infinite radius", 0, 0, kInf, 1, 0, 0, 0, true},
  };
  for (const PenCase& p : kPens) {
    for (const EllipseCase& c : cases) {
      Scene plain(40, 30, 1, -20, -15);
      Scene shortcut(40, 30, 1, -20, -15);
      plain.canvas.pen() = p.pen;
      shortcut.canvas.pen() = p.pen;
      PlainChords(plain.g, c);
      if (c.full) {
        shortcut.g.GraEllipse(c.cx, c.cy, c.r, c.flat, c.tilt);
      } else {
        shortcut.g.GraArc(c.cx, c.cy, c.r, c.flat, c.tilt, c.start, c.sweep);
      }
      EXPECT_EQ(Picture(shortcut.surface), Picture(plain.surface)) << c.name << ", " << p.name;
    }
  }
}

TEST(CanvasPolygon, SquaresOfAnyReachCoverTheWholeSurface) {
  // Edge arithmetic on rings this far out needs more than 64 bits.
  for (int32_t m : {1 << 20, 1 << 28, (1 << 28) + 1, INT32_MAX}) {
    Surface s(6, 4);
    Canvas c(s);
    c.pen().style = PenStyle::Clear;
    c.brush() = {kBlack, BrushStyle::Solid};
    const TPoint ring[] = {{-m, -m}, {m, -m}, {m, m}, {-m, m}};
    c.Polygon(ring);
    EXPECT_EQ(Picture(s), test::Rows({"######", "######", "######", "######"})) << m;
  }
}

}  // namespace
}  // namespace vardo
