// Edge processing: pixel chains reduced to the ends of their straight runs.
#include <gtest/gtest.h>

#include <vector>

#include "hatch/hatch.h"

namespace vardo {
namespace {

// A chain from (10, 20) taking one pixel step per direction (degrees, y downwards).
std::vector<TPolyField> Chain(const std::vector<int>& directions) {
  std::vector<TPolyField> p{{10, 20}};
  for (int d : directions) {
    TPolyField next = p.back();
    next.x += d == 0 || d == 45 || d == 315 ? 1 : d == 135 || d == 180 || d == 225 ? -1 : 0;
    next.y += d == 45 || d == 90 || d == 135 ? 1 : d == 225 || d == 270 || d == 315 ? -1 : 0;
    p.push_back(next);
  }
  return p;
}

std::vector<int> Repeat(std::initializer_list<std::pair<int, int>> runs) {
  std::vector<int> d;
  for (auto [count, direction] : runs)
    d.insert(d.end(), count, direction);
  return d;
}

struct RunCase {
  const char* name;
  std::vector<int> directions;
  std::vector<size_t> kept;  // indices into the chain
};

void PrintTo(const RunCase& c, std::ostream* os) {
  *os << c.name;
}

class ProcessEdgesRuns : public ::testing::TestWithParam<RunCase> {};

TEST_P(ProcessEdgesRuns, KeepsTheRunEnds) {
  const RunCase& c = GetParam();
  const std::vector<TPolyField> chain = Chain(c.directions);
  std::vector<TPolyField> expected;
  for (size_t i : c.kept)
    expected.push_back(chain[i]);
  PolyLines PLN{TPolyLineField{chain}};
  ProcessEdges(PLN);
  ASSERT_EQ(PLN.size(), 1u);
  EXPECT_EQ(PLN[0].p, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, ProcessEdgesRuns,
    ::testing::Values(
        RunCase{"RectangleRing", Repeat({{5, 90}, {9, 0}, {5, 270}, {9, 180}}), {0, 5, 14, 19, 28}},
        RunCase{
            "SlopeOneThird", Repeat({{2, 0}, {1, 45}, {2, 0}, {1, 45}, {2, 0}, {1, 45}}), {0, 9}},
        RunCase{"SplitAfterTheLeadingSteps", {0, 0, 45, 45, 0}, {0, 2, 4, 5}},
        RunCase{"PatternOfFourRepeated", {0, 45, 45, 45, 0, 45, 45, 45}, {0, 8}},
        RunCase{"FinalPartialRepetitionIncluded", {0, 0, 45, 0, 0, 45, 0}, {0, 7}},
        RunCase{"UnrepeatedPatternKeepsOnlyItsLeadingSteps", {0, 0, 45, 90}, {0, 2, 3, 4}},
        RunCase{"LastVertexIsTheLastPoint", {0, 0, 0, 45}, {0, 3, 4}},
        RunCase{"ThreeStraightPoints", {315, 315}, {0, 2}},
        RunCase{
            "EveryStepTurns", {0, 45, 90, 135, 180, 225, 270, 315}, {0, 1, 2, 3, 4, 5, 6, 7, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProcessEdges, DropsShortContoursAndSpursKeepsOrder) {
  PolyLines PLN{
      TPolyLineField{{{1, 1}, {1, 1}}},          // isolated pixel
      TPolyLineField{{{0, 0}, {1, 0}, {2, 0}}},  // kept
      TPolyLineField{{{5, 5}, {6, 6}, {5, 5}}},  // a, b, a
      TPolyLineField{},
      TPolyLineField{{{3, 3}}},
      TPolyLineField{{{7, 0}, {8, 0}, {8, 1}}},  // kept
  };
  ProcessEdges(PLN);
  ASSERT_EQ(PLN.size(), 2u);
  EXPECT_EQ(PLN[0].p, (std::vector<TPolyField>{{0, 0}, {2, 0}}));
  EXPECT_EQ(PLN[1].p, (std::vector<TPolyField>{{7, 0}, {8, 0}, {8, 1}}));
}

TEST(ProcessEdges, LongerStepsAndExtremeCoordinates) {
  PolyLines PLN{
      TPolyLineField{{{0, 0}, {5, 0}, {10, 0}, {10, 7}}},
      TPolyLineField{{{-2147483647 - 1, 0}, {2147483647, 0}, {2147483647, 2147483647}}},
  };
  ProcessEdges(PLN);
  ASSERT_EQ(PLN.size(), 2u);
  EXPECT_EQ(PLN[0].p, (std::vector<TPolyField>{{0, 0}, {10, 0}, {10, 7}}));
  EXPECT_EQ(PLN[1].n(), 3);
}

TEST(ProcessEdges, TracedRectangleBecomesFivePoints) {
  Surface s(14, 8);
  for (int y = 1; y < 7; ++y) {
    for (int x = 2; x < 12; ++x)
      s.SetPixel(x, y, kHatchMarkColor);
  }
  ScanInterior(s, {});
  PolyLines PLN;
  TraceEdges(s, PLN, {});
  ProcessEdges(PLN);
  ASSERT_EQ(PLN.size(), 1u);
  EXPECT_EQ(PLN[0].p, (std::vector<TPolyField>{{2, 1}, {2, 6}, {11, 6}, {11, 1}, {2, 1}}));
}

}  // namespace
}  // namespace vardo
