// Marking, the edge scan and contour tracing on small pictures, random pictures and pathological
// screens.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "hatch/hatch.h"
#include "hatch_test_util.h"
#include "render/canvas.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::FromRows;
using test::Picture;
using test::Rows;
using test::ScriptedWindow;

static_assert(test::kWhite == kHatchEraseColor && test::kBlue == kHatchMarkColor &&
              test::kBlack == kHatchBorderColor && test::kRed == kHatchTracedColor);
using test::kBlue;
using test::kWhite;

// The scan's rule written the plain way: judged on an untouched copy, outside counting as white.
Surface ReferenceScan(const Surface& in) {
  Surface out = in;
  auto at = [&](int x, int y) { return in.Contains(x, y) ? in.GetPixel(x, y) : kWhite; };
  for (int y = 0; y < in.Height(); ++y) {
    for (int x = 0; x < in.Width(); ++x) {
      const uint32_t p = at(x, y);
      if (p == at(x - 1, y) && p == at(x + 1, y) && p == at(x, y - 1) && p == at(x, y + 1)) {
        out.SetPixel(x, y, kWhite);
      }
    }
  }
  return out;
}

// Random rectangles of a few colours, so that there are areas to erase and borders to keep.
Surface RandomBlocks(std::mt19937& rng, int w, int h, int blocks) {
  const uint32_t colours[] = {kWhite, kBlue, kHatchBorderColor, 0x0000FF00};
  Surface s(w, h);
  Canvas c(s);
  std::uniform_int_distribution<int> x(-5, w + 5), y(-5, h + 5), colour(0, 3);
  for (int i = 0; i < blocks; ++i) {
    c.pen().style = PenStyle::Clear;
    c.brush() = Brush{colours[colour(rng)], BrushStyle::Solid};
    c.Rectangle(x(rng), y(rng), x(rng), y(rng));
  }
  return s;
}

PolyLines TraceFromTopEachTime(Surface& s) {
  PolyLines out;
  for (;;) {
    size_t from = 0;
    TPolyLineField c;
    if (!TraceOneEdge(s, c, from)) return out;
    out.push_back(c);
  }
}

bool Closed(const TPolyLineField& c) {
  return c.n() >= 2 && c.p.front() == c.p.back();
}

TEST(MarkRegion, FloodsInBlueUpToBlackAndKeepsTheBrush) {
  Surface s = FromRows({
      "..#####..",
      "..#...#..",
      "..#.g.##.",
      "..#####..",
  });
  Canvas c(s);
  MarkRegion(c, 3, 1);
  EXPECT_EQ(Picture(s), Rows({
                            "..#####..",
                            "..#bbb#..",
                            "..#bbb##.",
                            "..#####..",
                        }));
  EXPECT_EQ(c.brush().color, kBlue);
  EXPECT_EQ(c.brush().style, BrushStyle::Solid);
  const Surface marked = s;
  MarkRegion(c, 2, 0);  // on the border itself: nothing
  EXPECT_EQ(s, marked);
  MarkRegion(c, 0, 0);  // the box reaches top and bottom, so the right side stays white
  EXPECT_EQ(Picture(s), Rows({
                            "bb#####..",
                            "bb#bbb#..",
                            "bb#bbb##.",
                            "bb#####..",
                        }));
}

TEST(ScanInterior, LeavesEveryAreaItsOutline) {
  Surface s = FromRows({
      "bbbbb.......",
      "bbbbb..###..",
      "bbbbb..###..",
      "bbbbb..###..",
      ".......###..",
      "......bbbbbb",
      "......bbbbbb",
  });
  ScriptedWindow win;
  EXPECT_FALSE(ScanInterior(s, win.Services()));
  EXPECT_EQ(Picture(s), Rows({
                            "bbbbb.......",
                            "b...b..###..",
                            "b...b..#.#..",
                            "bbbbb..#.#..",
                            ".......###..",
                            "......bbbbbb",
                            "......bbbbbb",
                        }));
  EXPECT_EQ(win.pumps, 7);
  EXPECT_EQ(win.beeps, 0);
}

TEST(ScanInterior, JudgesOnThePictureAsItWasOnRandomPictures) {
  std::mt19937 rng(7);
  // Widths beyond the poll interval cover the joins between pieces of a row.
  for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}, {37, 23}, {600, 17}, {513, 4}}) {
    for (int round = 0; round < 6; ++round) {
      Surface s = RandomBlocks(rng, w, h, 12);
      const Surface expected = ReferenceScan(s);
      ScanInterior(s, {});
      ASSERT_EQ(s, expected) << w << " x " << h << ", round " << round;
    }
  }
}

TEST(ScanInterior, EscBeforeARowBeepsAndEnds) {
  Surface s = FromRows({
      "bbbb",
      "bbbb",
      "bbbb",
      "bbbb",
  });
  const Surface original = s;
  const Surface full = ReferenceScan(s);
  // Polls: row 0, its piece, row 1, its piece, row 2 (held).
  ScriptedWindow win{.held_from = 4};
  EXPECT_TRUE(ScanInterior(s, win.Services()));
  EXPECT_EQ(win.beeps, 1);
  EXPECT_EQ(win.pumps, 2);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(s.GetPixel(x, y), (y < 2 ? full : original).GetPixel(x, y)) << x << "," << y;
    }
  }

  Surface untouched = original;
  ScriptedWindow at_once{.held_from = 0};
  EXPECT_TRUE(ScanInterior(untouched, at_once.Services()));
  EXPECT_EQ(untouched, original);
  EXPECT_EQ(at_once.beeps, 1);
  EXPECT_EQ(at_once.pumps, 0);
}

TEST(ScanInterior, EscWithinARowLeavesItsRestAndLaterRowsStillJudgeOnTheOriginal) {
  // A black pixel in row 1 beyond the first piece of the row: row 2's pixel below it is an
  // outline pixel and must stay blue even though row 1 was left half done.
  Surface s(300, 4, kBlue);
  s.SetPixel(280, 1, kHatchBorderColor);
  const Surface original = s;
  Surface expected = ReferenceScan(s);
  for (int x = 256; x < 300; ++x)
    expected.SetPixel(x, 1, original.GetPixel(x, 1));
  // Polls per row: the row, then one per piece of 256 pixels. Held only for row 1's second piece.
  ScriptedWindow win{.held_from = 5, .held_until = 6};
  EXPECT_FALSE(ScanInterior(s, win.Services()));
  EXPECT_EQ(s, expected);
  EXPECT_EQ(s.GetPixel(280, 2), kBlue);
  EXPECT_EQ(win.beeps, 0);
  EXPECT_EQ(win.pumps, 4);
}

TEST(NextEdgePixel, FirstBlueInTheOrder) {
  NeighbourPixels n;
  n.fill(kWhite);
  EXPECT_EQ(NextEdgePixel(n, {0, 3, 1, 6, 2, 7, 5}), -1);
  n[4] = kBlue;  // the point itself never counts
  EXPECT_EQ(NextEdgePixel(n, {0, 3, 1, 6, 2, 7, 5}), -1);
  n[5] = kBlue;
  n[7] = kBlue;
  n[8] = kHatchTracedColor;
  EXPECT_EQ(NextEdgePixel(n, {0, 3, 1, 6, 2, 7, 5}), 7);
  EXPECT_EQ(NextEdgePixel(n, {5, 2, 8, 1, 7, 0, 6}), 5);
  EXPECT_EQ(NextEdgePixel(n, {8, 3, 1, 6, 2, 7, 5}), 7);
}

struct TraceCase {
  const char* name;
  std::vector<const char*> rows;
  std::vector<std::vector<TPolyField>> contours;
};

void PrintTo(const TraceCase& c, std::ostream* os) {
  *os << c.name;
}

class TraceEdgesCases : public ::testing::TestWithParam<TraceCase> {};

TEST_P(TraceEdgesCases, ContoursInOrderFound) {
  const TraceCase& c = GetParam();
  Surface s(static_cast<int>(std::string(c.rows[0]).size()), static_cast<int>(c.rows.size()));
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x)
      s.SetPixel(x, y, test::Colour(c.rows[y][x]));
  }
  PolyLines PLN{TPolyLineField{{{9, 9}}}};  // stale contents are replaced
  EXPECT_FALSE(TraceEdges(s, PLN, {}));
  ASSERT_EQ(PLN.size(), c.contours.size());
  for (size_t i = 0; i < PLN.size(); ++i)
    EXPECT_EQ(PLN[i].p, c.contours[i]) << "contour " << i;
  EXPECT_EQ(Picture(s).find('b'), std::string::npos) << Picture(s);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TraceEdgesCases,
    ::testing::Values(
        TraceCase{"IsolatedPixelIsItsStartTwice", {"...", ".b.", "..."}, {{{1, 1}, {1, 1}}}},
        TraceCase{"OpenChainEndsAwayFromItsStart",
                  {".......", ".bbbbb.", "...b...", "...b..."},
                  {{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}, {{3, 2}, {3, 3}, {3, 2}}}},
        TraceCase{"FirstStepDownRight", {"b...", ".b..", "..b."}, {{{0, 0}, {1, 1}, {2, 2}}}},
        TraceCase{"SquareRingAnticlockwise",
                  {"bbb", "b.b", "bbb"},
                  {{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}, {1, 0}, {0, 0}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TraceEdges, FilledRectangleBecomesOneClosedRingOf29Points) {
  Surface s(14, 8);
  Canvas c(s);
  c.pen().style = PenStyle::Clear;
  c.brush() = Brush{kBlue, BrushStyle::Solid};
  c.Rectangle(2, 1, 12, 7);  // 10 x 6 pixels
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ASSERT_EQ(PLN.size(), 1u);
  const std::vector<TPolyField>& p = PLN[0].p;
  ASSERT_EQ(PLN[0].n(), 29);
  EXPECT_EQ(p[0], (TPolyField{2, 1}));
  EXPECT_EQ(p[5], (TPolyField{2, 6}));    // down the left side first
  EXPECT_EQ(p[14], (TPolyField{11, 6}));  // then along the bottom
  EXPECT_EQ(p[19], (TPolyField{11, 1}));  // up the right side
  EXPECT_EQ(p[27], (TPolyField{3, 1}));   // back along the top
  EXPECT_EQ(p[28], p[0]);
}

TEST(TraceEdges, AnnulusGivesOuterAndInnerContours) {
  Surface s(16, 16);
  Canvas c(s);
  c.pen().style = PenStyle::Clear;
  c.brush() = Brush{kBlue, BrushStyle::Solid};
  c.Rectangle(2, 2, 14, 14);
  c.brush().color = kWhite;
  c.Rectangle(6, 6, 10, 10);
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ASSERT_EQ(PLN.size(), 2u);
  EXPECT_EQ(PLN[0].n(), 45);  // 44 outline pixels of the 12 x 12 square, closed
  EXPECT_EQ(PLN[1].n(), 17);  // the 16 pixels along the hole's edges, closed
  EXPECT_TRUE(Closed(PLN[0]));
  EXPECT_TRUE(Closed(PLN[1]));
  EXPECT_EQ(PLN[1].p[0], (TPolyField{6, 5}));
}

TEST(TraceEdges, AreaTouchingTheBorderRunsAlongIt) {
  Surface s = FromRows({
      "bbbbb...",
      "bbbbb...",
      "bbbbb...",
      "bbbbb...",
      "bbbbb...",
  });
  ScanInterior(s, {});
  EXPECT_EQ(Picture(s), Rows({
                            "bbbbb...",
                            "b...b...",
                            "b...b...",
                            "b...b...",
                            "bbbbb...",
                        }));
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ASSERT_EQ(PLN.size(), 1u);
  EXPECT_EQ(PLN[0].n(), 17);
  EXPECT_TRUE(Closed(PLN[0]));
  for (int y = 0; y < 5; ++y)
    EXPECT_EQ(PLN[0].p[static_cast<size_t>(y)], (TPolyField{0, y}));
}

TEST(TraceEdges, ResumingTheSearchFindsWhatSearchingFromTheTopFinds) {
  std::mt19937 rng(11);
  std::bernoulli_distribution blue(0.35);
  for (int round = 0; round < 20; ++round) {
    const int w = 20 + round * 7, h = 10 + round * 3;
    Surface s = RandomBlocks(rng, w, h, 10);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (round % 2 == 0 && blue(rng)) s.SetPixel(x, y, kBlue);
      }
    }
    ScanInterior(s, {});
    Surface again = s;
    PolyLines PLN;
    TraceEdges(s, PLN, {});
    const PolyLines expected = TraceFromTopEachTime(again);
    ASSERT_EQ(PLN.size(), expected.size()) << "round " << round;
    for (size_t i = 0; i < PLN.size(); ++i)
      ASSERT_EQ(PLN[i].p, expected[i].p) << i;
    ASSERT_EQ(s, again);
  }
}

TEST(TraceEdges, EscBeforeAContourBeepsAndKeepsWhatWasTraced) {
  Surface s = FromRows({
      "b.b.b",
      ".....",
  });
  PolyLines PLN;
  ScriptedWindow win{.held_from = 1};
  EXPECT_TRUE(TraceEdges(s, PLN, win.Services()));
  EXPECT_EQ(win.beeps, 1);
  ASSERT_EQ(PLN.size(), 1u);
  EXPECT_EQ(Picture(s), Rows({"r.b.b", "....."}));
}

TEST(TraceEdges, NoBlueGivesNoContours) {
  Surface s = FromRows({"#.g", "..r"});
  const Surface before = s;
  PolyLines PLN{TPolyLineField{{{1, 1}, {1, 1}}}};
  EXPECT_FALSE(TraceEdges(s, PLN, {}));
  EXPECT_TRUE(PLN.empty());
  EXPECT_EQ(s, before);
  Surface empty;
  EXPECT_FALSE(TraceEdges(empty, PLN, {}));
  EXPECT_FALSE(ScanInterior(empty, {}));
}

// ---- Pathological screens: correct results, bounded work, no crash -----------------------------

TEST(PathologicalScreens, WholeSurfaceBlueBecomesItsBorderRing) {
  Surface s(300, 200, kBlue);
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ASSERT_EQ(PLN.size(), 1u);
  EXPECT_EQ(PLN[0].n(), 2 * (300 + 200) - 4 + 1);
  ProcessEdges(PLN);
  ASSERT_EQ(PLN.size(), 1u);
  EXPECT_EQ(PLN[0].p, (std::vector<TPolyField>{{0, 0}, {0, 199}, {299, 199}, {299, 0}, {0, 0}}));
}

TEST(PathologicalScreens, CheckerboardKeepsEveryPixelAndTracesThemAll) {
  Surface s(301, 203);
  long blue_pixels = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if ((x + y) % 2 == 0) {
        s.SetPixel(x, y, kBlue);
        ++blue_pixels;
      }
    }
  }
  const Surface before = s;
  ScanInterior(s, {});
  EXPECT_EQ(s, before);
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  long points = 0, distinct_starts = 0;
  for (const TPolyLineField& c : PLN) {
    points += c.n() - (Closed(c) ? 1 : 0);
    ++distinct_starts;
  }
  EXPECT_EQ(points, blue_pixels);  // every blue pixel lies on exactly one contour
  EXPECT_GT(distinct_starts, 1);
  EXPECT_EQ(Picture(s).find('b'), std::string::npos);
}

TEST(PathologicalScreens, TensOfThousandsOfTinyRegions) {
  // 2 x 2 blue cells between one-pixel black grid lines.
  Surface s(600, 450, kHatchBorderColor);
  for (int y = 0; y < 450; ++y) {
    for (int x = 0; x < 600; ++x) {
      if (x % 3 != 0 && y % 3 != 0) s.SetPixel(x, y, kBlue);
    }
  }
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ASSERT_EQ(PLN.size(), 200u * 150u);
  for (const TPolyLineField& c : PLN)
    ASSERT_EQ(c.n(), 5);
  ProcessEdges(PLN);
  ASSERT_EQ(PLN.size(), 200u * 150u);
  EXPECT_EQ(PLN[0].p, (std::vector<TPolyField>{{1, 1}, {1, 2}, {2, 2}, {2, 1}, {1, 1}}));
}

}  // namespace
}  // namespace vardo
