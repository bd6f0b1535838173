// Hatch generation: lines through marked regions, vertex crossings, the crossing order, the
// segment index against testing every segment, and bounded work on hostile input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "hatch/hatch.h"
#include "hatch_test_util.h"
#include "render/canvas.h"

namespace vardo {
namespace {

using test::ScriptedWindow;

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Piece {
  double x1, y1, x2, y2;
};

struct Collector {
  std::vector<Piece> pieces;
  AddLineFn Sink() {
    return [this](double x1, double y1, double x2, double y2) {
      pieces.push_back({x1, y1, x2, y2});
    };
  }
};

// Pixels are drawing units; drawing y = ymax - row.
ViewState View(int width, int height, double xmin = 0, double ymax = -1, double scale = 1) {
  ViewState v;
  v.ViewScale = scale;
  v.ViewWidth = width;
  v.ViewHeight = height;
  v.ViewXmin = xmin;
  v.ViewYmax = ymax < 0 ? height / scale : ymax;
  v.ViewXmax = xmin + width / scale;
  v.ViewYmin = v.ViewYmax - height / scale;
  return v;
}

// Marks the region at (x, y) and runs the stages before hatching.
PolyLines Outline(Surface& s, int x, int y) {
  Canvas c(s);
  MarkRegion(c, x, y);
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ProcessEdges(PLN);
  return PLN;
}

// A black square outline whose inside is columns and rows 50 .. 149 of a 200 x 200 screen.
Surface SquareScreen() {
  Surface s(200, 200);
  Canvas c(s);
  c.pen() = Pen{};
  c.brush().style = BrushStyle::Clear;
  c.Rectangle(49, 49, 151, 151);
  return s;
}

// Chains of axis-parallel and diagonal runs, some closed, so that lines through their vertices
// both pass through and touch them.
PolyLines RandomContours(std::mt19937& rng, int count) {
  std::uniform_int_distribution<int> coord(0, 199), run(1, 12), dir(0, 7), len(2, 12);
  const int dx[] = {1, 1, 0, -1, -1, -1, 0, 1}, dy[] = {0, 1, 1, 1, 0, -1, -1, -1};
  PolyLines PLN;
  for (int i = 0; i < count; ++i) {
    TPolyLineField c;
    c.p.push_back({coord(rng), coord(rng)});
    for (int k = len(rng); k > 0; --k) {
      const int d = dir(rng), r = run(rng);
      c.p.push_back({c.p.back().x + dx[d] * r, c.p.back().y + dy[d] * r});
    }
    if (i % 2 == 0) c.p.push_back(c.p.front());
    PLN.push_back(c);
  }
  return PLN;
}

TEST(HatchPass, SquareAtAngleZeroGivesHorizontalLinesFromOutlineToOutline) {
  Surface s = SquareScreen();
  const PolyLines PLN = Outline(s, 100, 95);
  ASSERT_EQ(PLN.size(), 1u);
  Collector out;
  const HatchPassResult r =
      HatchPass(View(200, 200), PLN, {.HatX = 100, .HatY = 95, .q = 10, .a = 0, .W = 200, .H = 200},
                out.Sink(), {});
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  // The click's row first, then upwards, then downwards.
  const int rows[] = {95, 85, 75, 65, 55, 105, 115, 125, 135, 145};
  ASSERT_EQ(out.pieces.size(), std::size(rows));
  EXPECT_EQ(r.lines, 10);
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Piece& p = out.pieces[i];
    EXPECT_NEAR(p.x1, 50, 1e-9) << i;
    EXPECT_NEAR(p.x2, 149, 1e-9) << i;
    EXPECT_NEAR(p.y1, 200 - rows[i], 1e-9) << i;
    EXPECT_NEAR(p.y2, 200 - rows[i], 1e-9) << i;
  }
}

TEST(HatchPass, SquareAtAngleNinetyGivesVerticalLinesBottomToTop) {
  Surface s = SquareScreen();
  const PolyLines PLN = Outline(s, 95, 100);
  Collector out;
  const HatchPassResult r = HatchPass(
      View(200, 200), PLN, {.HatX = 95, .HatY = 100, .q = 10, .a = kPi / 2, .W = 200, .H = 200},
      out.Sink(), {});
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  ASSERT_EQ(out.pieces.size(), 10u);
  std::vector<int> columns;
  for (const Piece& p : out.pieces) {
    EXPECT_NEAR(p.x1, p.x2, 1e-9);
    EXPECT_NEAR(p.y1, 200 - 149, 1e-9);
    EXPECT_NEAR(p.y2, 200 - 50, 1e-9);
    columns.push_back(static_cast<int>(std::lround(p.x1)));
  }
  EXPECT_EQ(columns, (std::vector<int>{95, 85, 75, 65, 55, 105, 115, 125, 135, 145}));
}

TEST(HatchPass, WithoutContoursOnlyTheClicksLineIsLookedAt) {
  ScriptedWindow win;
  Collector out;
  const HatchPassResult r =
      HatchPass(View(200, 200), {}, {.HatX = 100, .HatY = 95, .q = 10, .a = 0, .W = 200, .H = 200},
                out.Sink(), win.Services());
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  EXPECT_TRUE(out.pieces.empty());
  EXPECT_EQ(win.polls, 1);
}

// Every line across the view, walked as the pass walks: the line through the click, then q apart
// by repeated addition on either side until one misses the view.
std::vector<Piece> EveryLineAcrossTheView(const ViewState& view, const PolyLines& PLN,
                                          const HatchPassInput& in) {
  Collector out;
  HatchContours contours(view, PLN);
  const double len = static_cast<double>(in.W) * in.W + static_cast<double>(in.H) * in.H;
  const double x0 = PixelToDrawX(view, in.HatX), y0 = PixelToDrawY(view, in.HatY);
  HatchLine(view, contours, x0, y0, len, in.a, out.Sink());
  for (const double side : {kPi / 2, -kPi / 2}) {
    const double dx = in.q * std::cos(in.a + side), dy = in.q * std::sin(in.a + side);
    double x = x0, y = y0;
    do {
      x += dx;
      y += dy;
    } while (HatchLine(view, contours, x, y, len, in.a, out.Sink()) != -1);
  }
  return out.pieces;
}

TEST(HatchPass, LaysExactlyThePiecesOfEveryLineAcrossTheView) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pixel(0, 199);
  std::uniform_real_distribution<double> angle(-kPi, kPi), spacing(0.7, 9);
  for (int round = 0; round < 24; ++round) {
    const ViewState view = View(200, 200, -31.25, 170, round % 3 == 0 ? 0.8 : 1.7);
    // A few regions at one end of the view, the click anywhere, often far from them.
    PolyLines PLN = RandomContours(rng, 6);
    for (TPolyLineField& c : PLN) {
      for (TPolyField& p : c.p)
        p.x = p.x / 4 + (round % 2 == 0 ? 0 : 150);
    }
    // Now and then the click lies outside the view, as after the window shrank: lines near it
    // miss the view and end the walk before the regions.
    const int outside = round % 5 == 4 ? 200 + pixel(rng) : 0;
    const HatchPassInput in{.HatX = pixel(rng),
                            .HatY = pixel(rng) + outside,
                            .q = spacing(rng),
                            .a = round % 4 == 0 ? 0 : angle(rng),
                            .W = 200,
                            .H = 200};
    const std::vector<Piece> expected = EveryLineAcrossTheView(view, PLN, in);
    Collector out;
    const HatchPassResult r = HatchPass(view, PLN, in, out.Sink(), {});
    EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
    ASSERT_EQ(out.pieces.size(), expected.size()) << "round " << round;
    EXPECT_EQ(r.lines, static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
      const Piece& p = out.pieces[i];
      const Piece& e = expected[i];
      ASSERT_TRUE(p.x1 == e.x1 && p.y1 == e.y1 && p.x2 == e.x2 && p.y2 == e.y2)
          << "round " << round << ", piece " << i;
    }
  }
}

TEST(HatchPass, EscAfterALineBeepsAndKeepsTheLinesSoFar) {
  Surface s = SquareScreen();
  const PolyLines PLN = Outline(s, 100, 95);
  ScriptedWindow win{.held_from = 3};
  Collector out;
  const HatchPassResult r =
      HatchPass(View(200, 200), PLN, {.HatX = 100, .HatY = 95, .q = 10, .a = 0, .W = 200, .H = 200},
                out.Sink(), win.Services());
  EXPECT_EQ(r.outcome, HatchPassOutcome::Stopped);
  EXPECT_EQ(win.beeps, 1);
  EXPECT_EQ(r.lines, 4);
  EXPECT_EQ(out.pieces.size(), 4u);
}

// ---- Vertices
// ------------------------------------------------------------------------------------

struct VertexCase {
  const char* name;
  std::vector<TPolyField> contour;
  std::vector<double> xs;  // the pieces' ends along the line, in pairs
};

void PrintTo(const VertexCase& c, std::ostream* os) {
  *os << c.name;
}

class HatchLineVertices : public ::testing::TestWithParam<VertexCase> {};

TEST_P(HatchLineVertices, ThroughCountsOnceTouchingTwice) {
  const VertexCase& c = GetParam();
  const ViewState view = View(100, 100);
  const HatchContours contours(view, {TPolyLineField{c.contour}});
  Collector out;
  // Row 20 is drawing y 80.
  const int pairs = HatchLine(view, contours, 50, 80, 20000, 0, out.Sink());
  ASSERT_EQ(out.pieces.size() * 2, c.xs.size());
  EXPECT_EQ(pairs, static_cast<int>(c.xs.size() / 2));
  for (size_t i = 0; i < out.pieces.size(); ++i) {
    EXPECT_NEAR(out.pieces[i].x1, c.xs[2 * i], 1e-9);
    EXPECT_NEAR(out.pieces[i].x2, c.xs[2 * i + 1], 1e-9);
    EXPECT_NEAR(out.pieces[i].y1, 80, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, HatchLineVertices,
    ::testing::Values(
        // Left and right corners of a diamond lie on the line, which passes through them.
        VertexCase{"DiamondCorners", {{20, 10}, {10, 20}, {20, 30}, {30, 20}, {20, 10}}, {10, 30}},
        // A notch from the top whose tip just reaches the line.
        VertexCase{"NotchTipTouches",
                   {{10, 10}, {10, 30}, {40, 30}, {40, 10}, {30, 10}, {25, 20}, {20, 10}, {10, 10}},
                   {10, 25, 25, 40}},
        // The same notch reaching below the line: crossed twice, the middle left out.
        VertexCase{"NotchCrossed",
                   {{10, 10}, {10, 30}, {40, 30}, {40, 10}, {30, 10}, {25, 25}, {20, 10}, {10, 10}},
                   {10, 70.0 / 3, 80.0 / 3, 40}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HatchLine, MissingTheViewIsMinusOne) {
  const ViewState view = View(100, 100);
  const HatchContours contours(view, {TPolyLineField{{{20, 10}, {10, 20}, {20, 30}}}});
  Collector out;
  EXPECT_EQ(HatchLine(view, contours, 50, 150, 20000, 0, out.Sink()), -1);
  EXPECT_EQ(HatchLine(view, contours, 50, 50, 20000, 0, out.Sink()), 0);
  // An odd last crossing is dropped: the open chain crosses row 15 once.
  EXPECT_EQ(HatchLine(view, contours, 50, 85, 20000, 0, out.Sink()), 0);
  EXPECT_TRUE(out.pieces.empty());
}

// ---- Crossing order
// ------------------------------------------------------------------------------

// The selection sort as written: swaps only on a strictly smaller key.
void SelectionSort(std::vector<HatchPoint>& c, double x, double y, double a) {
  auto key = [&](const HatchPoint& p) {
    return x + std::cos(a) * (p.x - x) + std::sin(a) * (p.y - y);
  };
  for (size_t i = 0; i + 1 < c.size(); ++i) {
    double m = key(c[i]);
    size_t j = c.size();
    for (size_t h = i + 1; h < c.size(); ++h) {
      if (key(c[h]) < m) {
        m = key(c[h]);
        j = h;
      }
    }
    if (j != c.size()) std::swap(c[i], c[j]);
  }
}

bool Same(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

TEST(SortCrossings, EqualKeysComeOutInTheSelectionSortsOrder) {
  // Keys 1, 1, 0: the 0 is swapped with the first 1, which then lies behind the second.
  std::vector<HatchPoint> c{{1, 10}, {1, 20}, {0, 0}};
  SortCrossings(c, 0, 0, 0);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].y, 0);
  EXPECT_EQ(c[1].y, 20);
  EXPECT_EQ(c[2].y, 10);
}

TEST(SortCrossings, MatchesTheSelectionSortWithTiesAndNaN) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> small(0, 5);
  std::uniform_real_distribution<double> angle(-4, 4);
  for (size_t n : {0u, 1u, 2u, 5u, 31u, 32u, 33u, 64u, 200u, 1000u}) {
    for (int round = 0; round < 8; ++round) {
      std::vector<HatchPoint> c(n);
      for (size_t i = 0; i < n; ++i) {
        c[i] = {static_cast<double>(small(rng)), static_cast<double>(i)};
        if (round == 7 && small(rng) == 0) c[i].x = kNaN;
      }
      // Angle 0 makes the key the x coordinate, so ties are plentiful; other angles mix in y.
      const double a = round < 4 ? 0 : angle(rng);
      std::vector<HatchPoint> expected = c;
      SelectionSort(expected, 0.5, -2, a);
      SortCrossings(c, 0.5, -2, a);
      for (size_t i = 0; i < n; ++i) {
        ASSERT_TRUE(Same(c[i].x, expected[i].x) && c[i].y == expected[i].y)
            << "n " << n << ", round " << round << ", position " << i;
      }
    }
  }
}

// ---- The segment index
// ---------------------------------------------------------------------------

TEST(HatchContours, IndexFindsTheSameCrossingsAsTestingEverySegment) {
  std::mt19937 rng(5);
  const double angles[] = {0, kPi / 2, kPi / 4, -kPi / 4, kPi, 3 * kPi / 2, 0.3, 2.1, -1.234};
  for (const double scale : {1.0, 0.37, 3.0}) {
    const ViewState view = View(220, 210, -12.5, 80, scale);
    const PolyLines PLN = RandomContours(rng, 20);
    const HatchContours all(view, PLN);
    for (const double a : angles) {
      for (const double q : {0.5, 40.0}) {
        HatchContours indexed(view, PLN);
        const double len = 220.0 * 220 + 210.0 * 210;
        indexed.IndexAcross(a, len, q);
        ASSERT_TRUE(indexed.Indexed());
        // Through every vertex, just beside it (where only the crossing tolerance finds the
        // segments ending there) and a step of q away.
        std::vector<HatchPoint> through;
        const double nx = std::cos(a + kPi / 2), ny = std::sin(a + kPi / 2);
        for (const TPolyLineField& c : PLN) {
          for (const TPolyField& p : c.p) {
            const HatchPoint v{PixelToDrawX(view, p.x), PixelToDrawY(view, p.y)};
            for (const double d : {0.0, 0.6e-8, -0.6e-8, 1.2e-8, -1.2e-8, 2e-8, -2e-8, q}) {
              through.push_back({v.x + d * nx, v.y + d * ny});
            }
          }
        }
        size_t tested_indexed = 0, tested_all = 0;
        for (const HatchPoint& v : through) {
          const HatchProbe probe = MakeHatchProbe(v.x, v.y, len, a);
          std::vector<HatchPoint> expected, got;
          tested_all += all.Crossings(probe, expected);
          tested_indexed += indexed.Crossings(probe, got);
          ASSERT_EQ(got.size(), expected.size()) << "scale " << scale << ", angle " << a;
          for (size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(got[i].x, expected[i].x);
            ASSERT_EQ(got[i].y, expected[i].y);
          }
        }
        EXPECT_LT(tested_indexed, tested_all / 2) << "angle " << a << ", q " << q;
      }
    }
  }
}

TEST(HatchContours, NoIndexWithoutFiniteCoordinates) {
  ViewState view = View(100, 100);
  view.ViewXmin = kInf;
  HatchContours contours(view, {TPolyLineField{{{1, 1}, {5, 5}}}});
  contours.IndexAcross(0, 20000, 1);
  EXPECT_FALSE(contours.Indexed());
  std::vector<HatchPoint> out;
  EXPECT_EQ(contours.Crossings(MakeHatchProbe(0, 50, 20000, 0), out), 1u);
}

// ---- Bounded work
// --------------------------------------------------------------------------------

struct BoundCase {
  const char* name;
  double q, a;
  HatchPassOutcome outcome;
};

void PrintTo(const BoundCase& c, std::ostream* os) {
  *os << c.name;
}

class HatchPassBounds : public ::testing::TestWithParam<BoundCase> {};

TEST_P(HatchPassBounds, FinishesAndReports) {
  const BoundCase& c = GetParam();
  Surface s = SquareScreen();
  const PolyLines PLN = Outline(s, 100, 95);
  ScriptedWindow win;
  Collector out;
  const HatchPassResult r = HatchPass(
      View(200, 200), PLN, {.HatX = 100, .HatY = 95, .q = c.q, .a = c.a, .W = 200, .H = 200},
      out.Sink(), win.Services());
  EXPECT_EQ(r.outcome, c.outcome);
  EXPECT_EQ(r.lines, static_cast<int>(out.pieces.size()));
  if (c.outcome != HatchPassOutcome::Done) {
    EXPECT_TRUE(out.pieces.empty());
    EXPECT_EQ(win.polls, 0);
  }
  for (const Piece& p : out.pieces) {
    for (double v : {p.x1, p.x2, 200 - p.y1, 200 - p.y2}) {
      EXPECT_GE(v, 50 - 1e-6);
      EXPECT_LE(v, 149 + 1e-6);
    }
  }
}

// The square's outline runs through rows 50 and 149: 99 units across.
constexpr double kSquareExtent = 99;

INSTANTIATE_TEST_SUITE_P(
    Hostile, HatchPassBounds,
    ::testing::Values(BoundCase{"TinySpacing", 1e-300, 0, HatchPassOutcome::TooDense},
                      BoundCase{"JustTooDense", kSquareExtent / kMaxHatchLines * 0.999, 0,
                                HatchPassOutcome::TooDense},
                      BoundCase{"HugeSpacing", 1e300, 0, HatchPassOutcome::Done},
                      BoundCase{"InfiniteSpacing", kInf, 0, HatchPassOutcome::Done},
                      BoundCase{"HugeAngle", 10, 1e300, HatchPassOutcome::Done},
                      BoundCase{"ZeroSpacing", 0, 0, HatchPassOutcome::Unusable},
                      BoundCase{"NegativeSpacing", -1, 0, HatchPassOutcome::Unusable},
                      BoundCase{"NaNSpacing", kNaN, 0, HatchPassOutcome::Unusable},
                      BoundCase{"InfiniteAngle", 10, kInf, HatchPassOutcome::Unusable},
                      BoundCase{"NaNAngle", 10, kNaN, HatchPassOutcome::Unusable}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HatchPass, HugeSpacingLaysOnlyTheLineThroughTheClick) {
  Surface s = SquareScreen();
  const PolyLines PLN = Outline(s, 100, 95);
  Collector out;
  HatchPass(View(200, 200), PLN, {.HatX = 100, .HatY = 95, .q = 1e300, .a = 0, .W = 200, .H = 200},
            out.Sink(), {});
  ASSERT_EQ(out.pieces.size(), 1u);
  EXPECT_NEAR(out.pieces[0].y1, 105, 1e-9);
}

TEST(HatchPass, HugeAngleStillHatchesTheRegion) {
  Surface s = SquareScreen();
  const PolyLines PLN = Outline(s, 100, 95);
  Collector out;
  const HatchPassResult r =
      HatchPass(View(200, 200), PLN,
                {.HatX = 100, .HatY = 95, .q = 10, .a = 1e300, .W = 200, .H = 200}, out.Sink(), {});
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  EXPECT_GE(out.pieces.size(), 9u);
}

TEST(HatchPass, JustBelowTheLimitIsLaid) {
  Surface s = SquareScreen();
  const PolyLines PLN = Outline(s, 100, 95);
  ScriptedWindow win;
  const HatchPassResult r = HatchPass(View(200, 200), PLN,
                                      {.HatX = 100,
                                       .HatY = 95,
                                       .q = kSquareExtent / kMaxHatchLines * 1.001,
                                       .a = 0,
                                       .W = 200,
                                       .H = 200},
                                      {}, win.Services());
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  EXPECT_GT(r.lines, 0.998 * kMaxHatchLines);
  EXPECT_LE(r.lines, kMaxHatchLines);
  // One poll per line laid; the lines along the outline's top and bottom may cut nothing.
  EXPECT_NEAR(win.polls, r.lines, 4);
}

// A line 1e-6 off the horizontal across a horizontal chain 170 units above the click: the chain
// lies across a width of only 1.8e-4, which a spacing of 1e-9 fills with 180,000 lines, but
// walking to it one spacing at a time would take 1.7e11 steps.
TEST(HatchPass, AFineSpacingFarFromTheRegionsReachesThemAndEnds) {
  const PolyLines PLN{{{{10, 20}, {190, 20}}}};
  ScriptedWindow win;
  const HatchPassResult r = HatchPass(
      View(200, 200), PLN, {.HatX = 100, .HatY = 190, .q = 1e-9, .a = 1e-6, .W = 200, .H = 200}, {},
      win.Services());
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  EXPECT_GT(win.polls, 170000);
  EXPECT_LT(win.polls, 190000);
}

// The lines fit the bound, but three regions side by side give each line six crossings.
TEST(HatchPass, TooManyCrossingsAreRefused) {
  PolyLines PLN;
  for (int left : {10, 70, 130}) {
    PLN.push_back({{{left, 50}, {left, 149}, {left + 50, 149}, {left + 50, 50}, {left, 50}}});
  }
  const double q = kSquareExtent * 6 / kMaxHatchCrossings * 0.95;
  ASSERT_LT(kSquareExtent / q, kMaxHatchLines);
  ScriptedWindow win;
  const HatchPassResult r =
      HatchPass(View(200, 200), PLN, {.HatX = 100, .HatY = 95, .q = q, .a = 0, .W = 200, .H = 200},
                {}, win.Services());
  EXPECT_EQ(r.outcome, HatchPassOutcome::TooDense);
  EXPECT_EQ(win.polls, 0);
}

TEST(HatchPass, StepThatNoLongerMovesTheLineEndsTheWalk) {
  // Near 1e17 a double steps by 16, so adding a spacing of 1 changes nothing.
  ScriptedWindow win;
  const HatchPassResult r =
      HatchPass(View(200, 200, 1e17, 1e17), {},
                {.HatX = 100, .HatY = 95, .q = 1, .a = 0, .W = 200, .H = 200}, {}, win.Services());
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  EXPECT_LE(win.polls, 3);
}

TEST(HatchPass, UnusableView) {
  for (ViewState v : {View(200, 200, 0, -1, 0), View(200, 200, kNaN), View(200, 200, 0, -1, kInf),
                      View(200, 200, 0, -1, 1e-320)}) {
    Collector out;
    const HatchPassResult r = HatchPass(
        v, {}, {.HatX = 1, .HatY = 1, .q = 1, .a = 0, .W = 200, .H = 200}, out.Sink(), {});
    EXPECT_EQ(r.outcome, HatchPassOutcome::Unusable);
    EXPECT_TRUE(out.pieces.empty());
  }
}

// ---- Pathological screens
// ------------------------------------------------------------------------

TEST(HatchPass, TensOfThousandsOfTinyRegionsEachGetTheirPiece) {
  // 2 x 2 blue cells between black grid lines; lines along the cells' top rows.
  Surface s(600, 450, kHatchBorderColor);
  for (int y = 0; y < 450; ++y) {
    for (int x = 0; x < 600; ++x) {
      if (x % 3 != 0 && y % 3 != 0) s.SetPixel(x, y, kHatchMarkColor);
    }
  }
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ProcessEdges(PLN);
  Collector out;
  const HatchPassResult r =
      HatchPass(View(600, 450), PLN, {.HatX = 1, .HatY = 1, .q = 3, .a = 0, .W = 600, .H = 450},
                out.Sink(), {});
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  ASSERT_EQ(out.pieces.size(), 200u * 150u);
  for (const Piece& p : out.pieces) {
    ASSERT_NEAR(p.x2 - p.x1, 1, 1e-9);
    ASSERT_EQ(std::lround(p.x1) % 3, 1);
    ASSERT_EQ(std::lround(450 - p.y1) % 3, 1);
  }
}

TEST(HatchPass, RegionTouchingEveryEdgeIsHatchedAroundItsHole) {
  Surface s(200, 150);
  Canvas c(s);
  c.brush().style = BrushStyle::Clear;
  c.Rectangle(60, 40, 141, 111);  // black outline at columns 60, 140 and rows 40, 110
  const PolyLines PLN = Outline(s, 5, 5);
  ASSERT_EQ(PLN.size(), 2u);
  Collector out;
  const HatchPassResult r = HatchPass(
      View(200, 150), PLN, {.HatX = 5, .HatY = 5, .q = 7, .a = 30 * kPi / 180, .W = 200, .H = 150},
      out.Sink(), {});
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  EXPECT_GT(out.pieces.size(), 20u);
  for (const Piece& p : out.pieces) {
    for (double x : {p.x1, p.x2})
      ASSERT_TRUE(x > -1e-6 && x < 199 + 1e-6) << x;
    for (double y : {p.y1, p.y2})
      ASSERT_TRUE(y > 1 - 1e-6 && y < 150 + 1e-6) << y;
    const double mx = (p.x1 + p.x2) / 2, my = 150 - (p.y1 + p.y2) / 2;
    EXPECT_FALSE(mx > 60 && mx < 140 && my > 40 && my < 110)
        << "piece across the hole: " << p.x1 << "," << p.y1 << " - " << p.x2 << "," << p.y2;
  }
}

TEST(HatchPass, CheckerboardFinishesInsideTheView) {
  Surface s(121, 91);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if ((x + y) % 2 == 0) s.SetPixel(x, y, kHatchMarkColor);
    }
  }
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ProcessEdges(PLN);
  Collector out;
  const HatchPassResult r =
      HatchPass(View(121, 91), PLN, {.HatX = 60, .HatY = 45, .q = 2.5, .a = 0.3, .W = 121, .H = 91},
                out.Sink(), {});
  EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
  EXPECT_GT(out.pieces.size(), 0u);
  for (const Piece& p : out.pieces) {
    for (double x : {p.x1, p.x2})
      ASSERT_TRUE(x > -1e-6 && x < 121 + 1e-6);
    for (double y : {p.y1, p.y2})
      ASSERT_TRUE(y > -1e-6 && y < 91 + 1e-6);
  }
}

}  // namespace
}  // namespace vardo
