// Primitives pixel by pixel: lines with both end pixels, boxes, polyline runs, polygons and the
// outline switch, ellipses, arcs, circular solids, and the pen and brush set-ups.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "render/graphics.h"
#include "scene.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::InkOf;
using test::kBlack;
using test::kBlue;
using test::kWhite;
using test::Picture;
using test::Rows;
using test::Scene;

constexpr double kPi = std::numbers::pi;
const std::string kBlank =
    Rows({"........", "........", "........", "........", "........", "........"});

// On the 8 x 6 scene the drawing point (x, y) is the pixel (x, 6 - y).
struct LineCase {
  const char* name;
  double x1, y1, x2, y2;
  std::string picture;
};

TEST(GraLine, ClipsMapsAndCoversBothEndPixels) {
  const LineCase cases[] = {
      {"on the left edge of the window", 0, 1, 0, 5, kBlank},
      {"clipped at the left edge", -10, 3, 5, 3,
       Rows({"........", "........", "........", "######..", "........", "........"})},
      {"both ends in one pixel", 2.2, 2.2, 2.4, 2.3,
       Rows({"........", "........", "........", "........", "..#.....", "........"})},
      {"end pixel included", 1, 1, 4, 1,
       Rows({"........", "........", "........", "........", "........", ".####..."})},
      {"outside a corner", -2, 1, 1, -2, kBlank},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), 2, 3, 3, kBlank},
  };
  for (const LineCase& c : cases) {
    Scene scene(8, 6);
    scene.g.GraLine(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(Picture(scene.surface), c.picture) << c.name;
  }
}

TEST(GraLineXY, EndPixelTakesThePenColourEvenWhenXoring) {
  Scene scene(8, 2);
  scene.g.GraPen(kBlue, 0, 0);
  scene.g.GraXorMode();
  scene.g.GraLineXY(1, 1, 5, 1);
  EXPECT_EQ(Picture(scene.surface), Rows({"........", ".????b.."}));
  EXPECT_EQ(scene.At(1, 1), kWhite ^ kBlue);
}

TEST(GraBoxXY, ThinBoxesBecomeLinesAndTinyOnesNothing) {
  struct Case {
    const char* name;
    int x1, y1, x2, y2;
    test::InkBox ink;
    int pixels;
  };
  const Case cases[] = {
      {"narrow: vertical line at the first corner", 10, 10, 12, 40, {false, 10, 10, 10, 40}, 31},
      {"narrow and low: nothing", 10, 10, 12, 11, {}, 0},
      {"low: horizontal line at the first corner", 1, 1, 6, 3, {false, 1, 1, 6, 1}, 6},
      {"rectangle without right and bottom edges", 1, 1, 6, 5, {false, 1, 1, 5, 4}, 14},
  };
  for (const Case& c : cases) {
    Scene scene(16, 44);
    scene.g.GraBoxXY(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(InkOf(scene.surface), c.ink) << c.name;
    int pixels = 0;
    for (int y = 0; y < 44; ++y) {
      for (int x = 0; x < 16; ++x)
        pixels += scene.At(x, y) != kWhite;
    }
    EXPECT_EQ(pixels, c.pixels) << c.name;
  }
}

TEST(GraBox, CornersInsideGiveAPixelBoxCrossingOnesAClippedPolygon) {
  Scene inside(8, 6);
  inside.g.GraBrush(kBlue, 1);
  inside.g.GraBox(1, 1, 5, 5);
  EXPECT_EQ(Picture(inside.surface),
            Rows({"........", ".####...", ".#bb#...", ".#bb#...", ".####...", "........"}));

  Scene crossing(8, 6);
  crossing.g.GraBrush(kBlue, 1);
  crossing.g.GraBox(-3, 1, 3, 5);
  EXPECT_EQ(Picture(crossing.surface),
            Rows({"........", "####....", "bbb#....", "bbb#....", "bbb#....", "####...."}));
  EXPECT_TRUE(crossing.g.GraPts.empty());

  Scene beyond(8, 6);
  beyond.g.GraBox(-3, 1, -1, 5);
  EXPECT_EQ(Picture(beyond.surface), kBlank);
}

TEST(GraPolyline, RunsEndWhereSegmentsLeaveOrEnterTheWindow) {
  struct Case {
    const char* name;
    std::vector<TGraph_Point> points;
    std::string picture;
  };
  const Case cases[] = {
      {"enters, then one run of two segments",
       {{-3, 1}, {2, 1}, {2, 4}, {6, 4}},
       Rows({"........", "........", "..####..", "..#.....", "..#.....", "###....."})},
      {"leaves at the top and comes back",
       {{1, 1}, {4, 1}, {4, 9}, {6, 9}, {6, 2}},
       Rows({"......#.", "....#.#.", "....#.#.", "....#.#.", "....#...", ".####..."})},
      {"two points, the first left of the window",
       {{-2, 3}, {4, 3}},
       Rows({"........", "........", "........", "####....", "........", "........"})},
      {"one point", {{2, 2}}, kBlank},
      {"every point beyond the right edge", {{9, 1}, {12, 5}, {8, 3}}, kBlank},
  };
  for (const Case& c : cases) {
    Scene scene(8, 6);
    scene.g.GraPts = c.points;
    scene.g.GraPolyline();
    EXPECT_EQ(Picture(scene.surface), c.picture) << c.name;
    EXPECT_TRUE(scene.g.GraPixPts.empty()) << c.name;
  }
}

TEST(GraPolygon, FillsWithTheBrushAndOutlinesWithThePen) {
  struct Case {
    const char* name;
    std::vector<TGraph_Point> points;
    std::string picture;
  };
  const Case cases[] = {
      {"square",
       {{1, 1}, {5, 1}, {5, 5}, {1, 5}},
       Rows({"........", ".#####..", ".#bbb#..", ".#bbb#..", ".#bbb#..", ".#####.."})},
      {"two points", {{1, 1}, {5, 5}}, kBlank},
      {"every point left of the window", {{-1, 1}, {-5, 1}, {-3, 5}}, kBlank},
  };
  for (const Case& c : cases) {
    Scene scene(8, 6);
    scene.g.GraBrush(kBlue, 1);
    scene.g.GraPts = c.points;
    scene.g.GraPolygon();
    EXPECT_EQ(Picture(scene.surface), c.picture) << c.name;
    EXPECT_TRUE(scene.g.GraPixPts.empty()) << c.name;
  }
}

// Circles whose right-most point lies on pixel column 10 of a 20 x 20 view at 2000 pixels per
// unit: with radius 100 the first chord is about 17450 pixels long and the circle is outlined.
TEST(GraPolygon, AFirstEdgeOver10000PixelsGivesAnOutline) {
  struct Case {
    double r;
    uint32_t inside;
  };
  for (const Case& c : {Case{100, kWhite}, Case{1, kBlack}}) {
    Scene scene(20, 20, 2000, c.r - 0.005, -0.005);
    scene.g.GraBrush(kBlack, 1);
    scene.g.GraSolidArc(kSolidArcFilled, 0, 0, c.r, 1, 0, 0, 2 * kPi, 100);
    EXPECT_EQ(scene.At(5, 10), c.inside) << "radius " << c.r;
    EXPECT_EQ(scene.At(10, 10), kBlack) << "radius " << c.r;
    EXPECT_EQ(scene.At(15, 10), kWhite) << "radius " << c.r;
    EXPECT_TRUE(scene.g.GraPts.empty());
  }
}

// A ring whose vertices lie 1e12 pixels away keeps its slopes on the surface: the band of slope
// 2 looks the same as one drawn from vertices only 200 pixels away.
TEST(GraPolygon, FarVerticesKeepTheirDirection) {
  auto band = [](double far) {
    auto scene = std::make_unique<Scene>(12, 12);
    scene->g.GraPen(kBlack, 5, 0);  // invisible: the outline would hide the thin band
    scene->g.GraBrush(kBlue, 1);
    scene->g.GraPts = {{2, 2}, {2, 3}, {2 + far, 3 + 2 * far}, {2 + far, 2 + 2 * far}};
    scene->g.GraPolygon();
    return Picture(scene->surface);
  };
  const std::string near = band(100);
  EXPECT_NE(near.find('b'), std::string::npos);
  EXPECT_EQ(band(1e12), near);
  EXPECT_EQ(band(1e200), near);
}

struct ProbeCase {
  const char* name;
  int kind;
  double flat;
  double extra;
  // Drawing points probed: near the centre, halfway out on the diagonal, in the corner beyond
  // the arc.
  uint32_t centre, middle, corner;
};

// Quarter solids of radius 20 from angle 0 to pi/2 about the origin, on a 24 x 24 view whose
// lower-left corner is (-2, -2).
TEST(GraSolidArc, SectorSegmentCornerAndRings) {
  const ProbeCase cases[] = {
      {"sector", kSolidArcFilled, 1, 0, kBlack, kBlack, kWhite},
      {"segment beyond the chord", kSolidArcFilled, 1, 5, kWhite, kBlack, kWhite},
      {"between arc and tangents", kSolidArcFilled, 1, -1, kWhite, kWhite, kBlack},
      {"open arc", kSolidArcOutline, 1, 0, kWhite, kWhite, kWhite},
      {"ring, inner radius 10", kSolidArcRing, 1, 10, kWhite, kBlack, kWhite},
      {"parallel ring, inner radius 10", kSolidArcRingParallel, 1, 10, kWhite, kBlack, kWhite},
      {"ring, inner radius 0", kSolidArcRingParallel, 1, 0, kBlack, kBlack, kWhite},
      {"unknown kind", 102, 1, 0, kWhite, kWhite, kWhite},
  };
  for (const ProbeCase& c : cases) {
    Scene scene(24, 24, 1, -2, -2);
    scene.g.GraBrush(kBlack, 1);
    scene.g.GraSolidArc(c.kind, 0, 0, 20, c.flat, 0, 0, kPi / 2, c.extra);
    // Pixel (X, Y) shows the drawing point (X - 2, 22 - Y).
    EXPECT_EQ(scene.At(5, 19), c.centre) << c.name;
    EXPECT_EQ(scene.At(15, 9), c.middle) << c.name;
    EXPECT_EQ(scene.At(20, 4), c.corner) << c.name;
    EXPECT_TRUE(scene.g.GraPts.empty()) << c.name;
  }
}

// Flatness 0.5: the similar inner ellipse (semi-axes 10 and 5) leaves a hole around (3, 2); the
// parallel one (semi-axes 10 and 0) none.
TEST(GraSolidArc, InnerEllipsesOfTheTwoRingKinds) {
  for (const int kind : {kSolidArcRing, kSolidArcRingParallel}) {
    Scene scene(24, 24, 1, -2, -2);
    scene.g.GraBrush(kBlack, 1);
    scene.g.GraSolidArc(kind, 0, 0, 20, 0.5, 0, 0, kPi / 2, 10);
    EXPECT_EQ(scene.At(5, 20), kind == kSolidArcRing ? kWhite : kBlack) << kind;
    EXPECT_EQ(scene.At(15, 19), kBlack) << kind;
  }
}

TEST(GraSolidArc, FullOutlineLeavesTheInsideAlone) {
  Scene scene(24, 24, 1, -12, -12);
  scene.g.GraBrush(kBlack, 1);
  scene.g.GraSolidArc(kSolidArcOutline, 0, 0, 8, 1, 0, 0, 0, 100);
  EXPECT_EQ(scene.At(12, 12), kWhite);
  EXPECT_EQ(scene.At(20, 12), kBlack);
  EXPECT_EQ(scene.At(4, 12), kBlack);
}

// On the 24 x 24 view centred on the origin, the drawing point (x, y) is the pixel
// (x + 12, 12 - y).
TEST(GraEllipse, ChordsThroughTheAxisEnds) {
  struct Case {
    const char* name;
    double flat, tilt;
    std::vector<std::pair<int, int>> drawn, blank;
  };
  const Case cases[] = {
      {"circle", 1, 0, {{20, 12}, {12, 4}, {4, 12}, {12, 20}}, {{12, 12}, {16, 8}}},
      {"flat ellipse turned upright",
       0.5,
       kPi / 2,
       {{12, 4}, {8, 12}, {12, 20}, {16, 12}},
       {{20, 12}, {4, 12}}},
  };
  for (const Case& c : cases) {
    Scene scene(24, 24, 1, -12, -12);
    scene.g.GraEllipse(0, 0, 8, c.flat, c.tilt);
    for (auto [x, y] : c.drawn)
      EXPECT_EQ(scene.At(x, y), kBlack) << c.name << " at " << x << "," << y;
    for (auto [x, y] : c.blank)
      EXPECT_EQ(scene.At(x, y), kWhite) << c.name << " at " << x << "," << y;
  }
}

TEST(GraArc, RunsCounterClockwiseFromStartOverSweep) {
  Scene scene(24, 24, 1, -12, -12);
  scene.g.GraArc(0, 0, 8, 1, 0, 0, kPi / 2);
  EXPECT_EQ(scene.At(20, 12), kBlack);
  EXPECT_EQ(scene.At(12, 4), kBlack);
  EXPECT_EQ(scene.At(4, 12), kWhite);
  EXPECT_EQ(scene.At(12, 20), kWhite);
}

TEST(PenAndBrush, StyleCodes) {
  const PenStyle pens[] = {PenStyle::Solid,      PenStyle::Dash,  PenStyle::Dot,  PenStyle::DashDot,
                           PenStyle::DashDotDot, PenStyle::Clear, PenStyle::Solid};
  const BrushStyle brushes[] = {BrushStyle::Clear,    BrushStyle::Solid,     BrushStyle::Horizontal,
                                BrushStyle::Vertical, BrushStyle::FDiagonal, BrushStyle::BDiagonal,
                                BrushStyle::Cross,    BrushStyle::DiagCross, BrushStyle::Clear};
  Scene scene(2, 2);
  for (int code = 0; code < 7; ++code) {
    scene.g.GraBrush(kBlue, 1);
    scene.g.GraPen(kBlue, code, 2);
    EXPECT_EQ(scene.canvas.pen().style, pens[code]) << code;
    EXPECT_EQ(scene.canvas.pen().width, 2);
    EXPECT_EQ(scene.canvas.brush().style, BrushStyle::Clear) << "GraPen clears the brush";
  }
  for (int code = 0; code < 9; ++code) {
    scene.g.GraBrush(kBlue, code);
    EXPECT_EQ(scene.canvas.brush().style, brushes[code]) << code;
    EXPECT_EQ(scene.canvas.brush().color, kBlue);
  }
}

TEST(PenAndBrush, AttributePenIsOnePixelSolidOrDotted) {
  struct Case {
    int ltype;
    PenStyle style;
  };
  const Case cases[] = {{1, PenStyle::Solid}, {31, PenStyle::Solid}, {2, PenStyle::Dot},
                        {0, PenStyle::Dot},   {9, PenStyle::Dot},    {32, PenStyle::Dot}};
  Scene scene(2, 2);
  for (const Case& c : cases) {
    scene.g.GraBrush(kBlue, 1);
    scene.g.GraAttrPen(0, 6, c.ltype, 0.5);
    EXPECT_EQ(scene.canvas.pen().style, c.style) << c.ltype;
    EXPECT_EQ(scene.canvas.pen().width, 0);
    EXPECT_EQ(scene.canvas.pen().color, 0xFF0000u);
    EXPECT_EQ(scene.canvas.brush().style, BrushStyle::Clear);
  }
}

TEST(PenAndBrush, AttributeColoursFollowMonochromeAndLayerState) {
  Scene scene(2, 2);
  scene.g.GraAttrBrush(5, 8, 1);
  EXPECT_EQ(scene.canvas.brush().color, 0x8000FFu);
  EXPECT_EQ(scene.canvas.brush().style, BrushStyle::Solid);
  scene.g.GraAttrBrush(-1, -1, 1);
  EXPECT_EQ(scene.canvas.brush().color, 0xFFFFFFu) << "no colour entry: the background";

  scene.attr.SetPrintMode(true, 0, 0, 0);
  scene.g.GraAttrPen(5, 8, 1, 0);
  EXPECT_EQ(scene.canvas.pen().color, 0x000000u);

  scene.attr.dspLay[5].sta = 2;
  scene.g.GraAttrPen(5, 8, 1, 0);
  EXPECT_EQ(scene.canvas.pen().color, scene.attr.GetGrayColor());
}

TEST(GraClear, FillsWithTheBackgroundAndLeavesACopyPenAndClearBrush) {
  Scene scene(6, 4);
  scene.surface.Fill(kBlue);
  scene.g.GraPen(kBlack, 2, 0);  // dotted: its gaps must not survive the clear
  scene.g.GraXorMode();
  scene.g.GraClear(5, 3);
  EXPECT_EQ(Picture(scene.surface), Rows({".....b", ".....b", ".....b", "bbbbbb"}));
  EXPECT_EQ(scene.canvas.pen().mode, PenMode::Copy);
  EXPECT_EQ(scene.canvas.pen().color, 0xFFFFFFu);
  EXPECT_EQ(scene.canvas.brush().style, BrushStyle::Clear);
}

}  // namespace
}  // namespace vardo
