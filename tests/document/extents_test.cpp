// Drawing extents GetMinMaxZahyo: seeding, small drawings, every kind's points, arcs,
// scales, clamping.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::Read;

struct Box {
  double x1, y1, x2, y2;
};

Box Extents(const TJGdata& d) {
  ViewState v;
  d.GetMinMaxZahyo(v);
  return {v.ExtXmin, v.ExtYmin, v.ExtXmax, v.ExtYmax};
}

Box ExtentsOf(std::string_view file) {
  return Extents(Read(file));
}

void ExpectBox(const Box& got, const Box& want, double tol = 1e-9) {
  EXPECT_NEAR(got.x1, want.x1, tol);
  EXPECT_NEAR(got.y1, want.y1, tol);
  EXPECT_NEAR(got.x2, want.x2, tol);
  EXPECT_NEAR(got.y2, want.y2, tol);
}

TEST(Extents, EmptyDocument) {
  ExpectBox(ExtentsOf(""), {-100, -100, 100, 100}, 0);
}

TEST(Extents, OnlyBlocksGiveTheDefaultBox) {
  TJGdata d = Read("BL 500 500 a\nBL 600 600 b\n");
  ViewState v;
  v.ExtXmin = v.ExtYmin = 7, v.ExtXmax = v.ExtYmax = 8;  // whatever an earlier fit left
  v.ViewScale = 3;
  d.GetMinMaxZahyo(v);
  EXPECT_EQ(v.ExtXmin, -100);
  EXPECT_EQ(v.ExtYmin, -100);
  EXPECT_EQ(v.ExtXmax, 100);
  EXPECT_EQ(v.ExtYmax, 100);
  EXPECT_EQ(v.ViewScale, 3);  // nothing else changes
  // One block and one point: two entities, so no widening; the block is not considered.
  ExpectBox(ExtentsOf("BL 500 500 a\npt 5 5\n"), {5, 5, 5, 5}, 0);
}

TEST(Extents, SingleEntityIsWidenedByAHundred) {
  ExpectBox(ExtentsOf("pt 5 5"), {-95, -95, 105, 105}, 0);
  ExpectBox(ExtentsOf("0 0 300 0"), {-100, -100, 300, 100}, 0);
  ExpectBox(ExtentsOf("0 0 10 0"), {-100, -100, 100, 100}, 0);
  ExpectBox(ExtentsOf("ch 3 4 100 0 \"long text"), {-97, -96, 103, 104}, 0);
}

TEST(Extents, TwoPointsGiveTheirBoxExactly) {
  ExpectBox(ExtentsOf("pt 0 0\npt 10 20\n"), {0, 0, 10, 20}, 0);
  ExpectBox(ExtentsOf("pt 1 2 1 0 1\npt -3 -4 5 0 1\n"), {-3, -4, 1, 2}, 0);  // marks
}

TEST(Extents, LayerGroupScaleAndPaperUnits) {
  const std::string scales = "hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 2\n";
  ExpectBox(ExtentsOf(scales + "0 0 1000 0\npt 0 0\n"), {0, 0, 10, 0});
  ExpectBox(ExtentsOf(scales + "bz\n0 0 1000 0\npt 0 0\n"), {0, 0, 1000, 0});
  // Each record with its own group's scale.
  ExpectBox(ExtentsOf(scales + "0 0 1000 0\nlgf\npt 0 -40\n"), {0, -20, 10, 0});
}

TEST(Extents, ScaleThatIsZeroOrNotFiniteCountsAsOne) {
  const std::string scales = "hs 0 -0 x 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
  ExpectBox(ExtentsOf(scales + "0 0 30 0\nlg1\npt 0 -40\nlg2\npt 7 7\n"), {0, -40, 30, 7}, 0);
  TJGdata d = Read("lg3\n0 0 30 0\nlg4\npt 0 -40\nlg5\npt 7 7\n");
  d.LGrpScale[3] = std::numeric_limits<double>::infinity();
  d.LGrpScale[4] = std::numeric_limits<double>::quiet_NaN();
  d.LGrpScale[5] = -std::numeric_limits<double>::infinity();
  ExpectBox(Extents(d), {0, -40, 30, 7}, 0);
  Box b = Extents(d);
  EXPECT_TRUE(std::isfinite(b.x1) && std::isfinite(b.y1) && std::isfinite(b.x2) &&
              std::isfinite(b.y2));
}

// Divided as given, a negative scale turns the group half a turn about the origin: its minimum
// comes from the stored maximum.
TEST(Extents, NegativeScaleTurnsTheGroupAbout) {
  const std::string scales = "hs -50 -1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
  ExpectBox(ExtentsOf(scales + "0 0 5000 2500\npt 0 0\n"), {-100, -50, 0, 0});
  // A quarter arc from 0 to 90 degrees ends up in the third quadrant.
  ExpectBox(ExtentsOf(scales + "ci 0 0 100 0 90 1 0\npt 0 0\n"), {-2, -2, 0, 0});
  ExpectBox(ExtentsOf(scales + "lg1\npt 3 -4\nlg0\npt 100 100\n"), {-3, -2, -2, 4});
}

TEST(Extents, CircleAddsItsAxisPoints) {
  ExpectBox(ExtentsOf("ci 0 0 5\npt 0 0\n"), {-5, -5, 5, 5});
}

TEST(Extents, ArcsAddEndPointsAndTheAxisPointsTheyPass) {
  struct Case {
    const char* arc;
    Box box;  // with a point at the origin
  } cases[] = {
      {"ci 0 0 10 0 90 1 0", {0, 0, 10, 10}},
      {"ci 0 0 10 350 10 1 0",
       {0, -10 * std::sin(10 * std::numbers::pi / 180), 10,
        10 * std::sin(10 * std::numbers::pi / 180)}},
      {"ci 0 0 10 30 390 1 0", {-10, -10, 10, 10}},  // a full ellipse
      {"ci 0 0 10 45 45 1 0", {-10, -10, 10, 10}},   // end = start: full
      {"ci 0 0 10 90 0 1 0", {-10, -10, 10, 10}},    // 270 degrees through 180, 270 and 0
      {"ci 0 0 10 -90 0 1 0", {0, -10, 10, 0}},      // negative start
      {"ci 0 0 10 100 170 1 0",
       {10 * std::cos(170 * std::numbers::pi / 180), 0, 0,
        10 * std::sin(100 * std::numbers::pi / 180)}},  // no axis
      {"ci 0 0 10 0 360 0.5 0", {-10, -5, 10, 5}},      // flattened
      {"ci 0 0 10 0 0 0.5 90", {-5, -10, 5, 10}},       // tilted by 90 degrees
      {"ci 0 0 10 180 270 1 0", {-10, -10, 0, 0}},
      {"ci 0 0 10 720 810 1 0", {0, 0, 10, 10}},  // angles beyond 360
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arc);
    ExpectBox(ExtentsOf(std::string(c.arc) + "\npt 0 0\n"), c.box);
  }
}

TEST(Extents, TiltedEllipseUsesItsAxisPointsOnly) {
  // Tilted by 45 degrees, the four axis points lie on the diagonals: the box is smaller than
  // the true hull, and no correction is made.
  const double h = 10 * std::sqrt(0.5);
  ExpectBox(ExtentsOf("ci 0 0 10 0 0 0.5 45\npt 0 0\n"), {-h, -h, h, h});
}

TEST(Extents, CircularSolidsInRadians) {
  constexpr double pi = std::numbers::pi;
  struct Case {
    std::string solid;
    Box box;
  } cases[] = {
      {"sc 0 0 10 1 0 " + std::to_string(pi / 2) + " " + std::to_string(-pi / 2) + " 0",
       {0, 0, 10, 10}},  // sa = pi/2, da = -pi/2 covers 0 to 90 degrees
      {"se 0 0 10 1 0 0 1.5707963267949 0", {0, 0, 10, 10}},
      {"so 0 0 10 1 0 0 6.28318530717959 5", {-10, -10, 10, 10}},  // the inner radius is ignored
      {"sg 0 0 10 0.5 1.5707963267949 0 0 5", {-5, -10, 5, 10}},   // tilt in radians: full
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.solid);
    ExpectBox(ExtentsOf(c.solid + "\npt 0 0\n"), c.box, 1e-6);
  }
}

TEST(Extents, TextsAddTheirStartPointAndImageSize) {
  ExpectBox(ExtentsOf("ch 3 4 100 50 \"a long text that goes far\npt 0 0\n"), {0, 0, 3, 4}, 0);
  ExpectBox(ExtentsOf("ch 3 4 1 0 \"^@BMpicture.bmp,20,10\npt 0 0\n"), {0, 0, 23, 14}, 0);
  ExpectBox(ExtentsOf("ch 3 4 1 0 \"^@BMpicture.bmp,7\npt 0 0\n"), {0, 0, 10, 11}, 0);
  ExpectBox(ExtentsOf("ch 3 4 1 0 \"^@BMno comma\npt 0 0\n"), {0, 0, 3, 4}, 0);
  // Scaled with the text's group.
  ExpectBox(ExtentsOf("hs 2 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\nch 4 4 1 0 \"^@BMp,20,10\npt 0 0\n"),
            {0, 0, 12, 7}, 0);
}

TEST(Extents, DimensionsAddTheirLineAndTextStart) {
  ExpectBox(ExtentsOf("msg\n0 -10 100 -10\ncs 40 5 1 0 \"100\npt 0 0\n"), {0, -10, 100, 5}, 0);
  // The seed (dimensions come before solids in the seed order) takes the scale of the
  // dimension's line, the widening the dimension's own.
  ExpectBox(ExtentsOf("hs 2 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\nmsg\nlg1\n400 0 100 0\nlg0\n"
                      "cs 40 20 1 0 \"x\nsl 0 0 0 1\n"),
            {0, 0, 400, 10}, 0);
}

TEST(Extents, SolidCorners) {
  ExpectBox(ExtentsOf("sl 0 0 10 5\nsl -1 0 0 0 0 7\nsl 0 0 1 0 1 1 0 -9\n"), {-1, -9, 10, 7}, 0);
}

TEST(Extents, HugeCoordinatesAreCutAtTheLimit) {
  ExpectBox(ExtentsOf("pt 3e8 0\npt 0 0\n"), {0, 0, 1e8, 0}, 0);
  ExpectBox(ExtentsOf("pt 0 0\npt -3e8 -5e9\n"), {-1e8, -1e8, 0, 0}, 0);
  ExpectBox(ExtentsOf("0 0 1e300 -1e300\n0 0 1 1\n"), {0, -1e8, 1e8, 1}, 0);
  ExpectBox(ExtentsOf("ci 0 0 1e200\npt 0 0\n"), {-1e8, -1e8, 1e8, 1e8}, 0);
  // A coordinate within the limit only after the scale: not cut.
  ExpectBox(ExtentsOf("hs 10 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\npt 5e8 0\npt 0 0\n"), {0, 0, 5e7, 0},
            0);
}

TEST(Extents, EveryKindContributes) {
  // Each entity lies alone in a different direction; the box must reach all of them.
  TJGdata d = Read(
      "0 0 1 1\nci 100 0 1\nci 0 100 1 0 90 1 0\npt -100 0\npt 0 -100 1 0 1\n"
      "ch 200 200 1 0 \"t\nmsg\n-200 0 -201 0\ncs -150 -150 1 0 \"x\n"
      "sl 300 0 301 0\nsl 0 300 1 300 1 301\nsl -300 0 -301 0 -301 1 -300 1\n"
      "sc 0 -300 1 1 0 4.71238898038469 1 0\nse 400 0 1 1 0 0 1 0\nso 0 400 2 1 0 0 2 1\n"
      "sg -400 0 2 1 0 1.5707963 3.1415926 1\n");
  Box b = Extents(d);
  EXPECT_NEAR(b.x1, -402, 1e-9);
  EXPECT_NEAR(b.x2, 401, 1e-9);
  EXPECT_NEAR(b.y1, -301, 1e-9);
  EXPECT_NEAR(b.y2, 402, 1e-9);
}

}  // namespace
}  // namespace vardo
