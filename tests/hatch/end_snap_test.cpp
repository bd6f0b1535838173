// End correction: drawings drawn through the real renderer, marked and hatched through the real
// stages, every moved end checked against the drawing's own geometry written out by hand; the
// ends that must stay; the rules that keep a piece whole; which entities count.
#include "hatch/end_snap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "../render/random_drawing.h"
#include "../render/scene.h"
#include "hatch/hatch.h"
#include "render/canvas.h"
#include "render/renderer.h"

namespace vardo {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kExact = 1e-9;

struct Piece {
  HatchPoint p, q;
};

// The true boundary of a test drawing, in file units: segments and circular arcs (angles in
// degrees, anticlockwise from start over sweep).
struct Boundary {
  struct Segment {
    double x1, y1, x2, y2;
  };
  struct Arc {
    double cx, cy, r, start = 0, sweep = 360;
  };
  std::vector<Segment> segments;
  std::vector<Arc> arcs;

  // Distance of a point from the nearest piece of the boundary.
  double DistanceOf(double x, double y) const {
    double best = INFINITY;
    for (const Segment& s : segments) {
      const double vx = s.x2 - s.x1, vy = s.y2 - s.y1;
      const double u =
          std::clamp(((x - s.x1) * vx + (y - s.y1) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
      best = std::min(best, std::hypot(x - s.x1 - u * vx, y - s.y1 - u * vy));
    }
    for (const Arc& a : arcs) {
      double angle = std::atan2(y - a.cy, x - a.cx) * 180 / kPi - a.start;
      angle = std::fmod(std::fmod(angle, 360) + 360, 360);
      if (angle <= a.sweep + 1e-9) {
        best = std::min(best, std::fabs(std::hypot(x - a.cx, y - a.cy) - a.r));
      }
      for (const double end : {a.start, a.start + a.sweep}) {
        const double ex = a.cx + a.r * std::cos(end * kPi / 180);
        const double ey = a.cy + a.r * std::sin(end * kPi / 180);
        best = std::min(best, std::hypot(x - ex, y - ey));
      }
    }
    return best;
  }
};

// A drawing from exchange-file records, drawn in monochrome on a width x height screen that
// shows drawing x from xmin and y from ymin at scale pixels per paper unit.
class Drawing {
 public:
  Drawing(const std::string& records, int width, int height, double scale, double xmin, double ymin)
      : scene_(width, height, scale, xmin, ymin) {
    doc_.ReadTempBytes(records);
    scene_.attr.SetPrintMode(true, 0, 0, 0);
    scene_.g.GraClear(width, height);
    GLDrawALL(doc_, scene_.g, {});
    index_.Build(doc_, scene_.attr);
  }

  // Marks the region around the drawing point (x, y) (paper units), runs the stages and lays
  // one family through it; the pieces in paper units.
  std::vector<Piece> Hatch(double x, double y, double spacing, double degrees, bool snap,
                           double file_scale = 1) {
    Surface screen = scene_.surface;
    Canvas canvas(screen);
    const int px = DrawToPixelX(scene_.view, x), py = DrawToPixelY(scene_.view, y);
    MarkRegion(canvas, px, py);
    ScanInterior(screen, {});
    PolyLines PLN;
    TraceEdges(screen, PLN, {});
    ProcessEdges(PLN);
    OutlineGrid grid;
    grid.Refresh(doc_, index_, scene_.attr, scene_.view);
    const EndSnap end_snap(grid, file_scale);
    std::vector<Piece> pieces;
    const AddLineFn add = [&](double x1, double y1, double x2, double y2) {
      pieces.push_back({{x1, y1}, {x2, y2}});
    };
    const HatchPassResult r =
        HatchPass(scene_.view, PLN,
                  {px, py, spacing, degrees / 180 * kPi, scene_.view.ViewWidth,
                   scene_.view.ViewHeight, snap ? &end_snap : nullptr},
                  add, {});
    EXPECT_EQ(r.outcome, HatchPassOutcome::Done);
    return pieces;
  }

  double Pixel() const { return 1 / scene_.view.ViewScale; }
  const ViewState& View() const { return scene_.view; }
  TJGdata& Doc() { return doc_; }
  EntityIndex& Index() { return index_; }
  TgraAttribute& Attr() { return scene_.attr; }

 private:
  TJGdata doc_;
  test::Scene scene_;
  EntityIndex index_;
};

// Moves one end of a piece running in +x from it over the outlines of grid, brought up to date
// first; false when it stays.
bool MovedEnd(Drawing& d, OutlineGrid& grid, HatchPoint end, HatchPoint& moved) {
  grid.Refresh(d.Doc(), d.Index(), d.Attr(), d.View());
  return EndSnap(grid, 1).MovedEnd(end, 1, 0, 1, moved);
}

bool MovedEnd(Drawing& d, HatchPoint end, HatchPoint& moved) {
  OutlineGrid grid;
  return MovedEnd(d, grid, end, moved);
}

// The side of the line through a with direction (c, s) that b lies on, as a distance.
double Across(const HatchPoint& a, const HatchPoint& b, double c, double s) {
  return (b.y - a.y) * c - (b.x - a.x) * s;
}

// With the correction every piece keeps its line and order and has both ends on the boundary;
// without it the same pieces end within two pixels of it, none on it.
void ExpectEndsOnBoundary(Drawing& d, const Boundary& b, double x, double y, double degrees,
                          double file_scale) {
  const std::vector<Piece> pixel = d.Hatch(x, y, 10, degrees, false, file_scale);
  const std::vector<Piece> snapped = d.Hatch(x, y, 10, degrees, true, file_scale);
  ASSERT_EQ(snapped.size(), pixel.size());
  ASSERT_GT(pixel.size(), 3u);
  const double c = std::cos(degrees / 180 * kPi), s = std::sin(degrees / 180 * kPi);
  int pixel_ends_on_boundary = 0;
  for (size_t i = 0; i < pixel.size(); ++i) {
    const Piece& before = pixel[i];
    const Piece& after = snapped[i];
    for (const auto& [end, moved] : {std::pair{before.p, after.p}, std::pair{before.q, after.q}}) {
      EXPECT_NEAR(Across(before.p, moved, c, s), 0, 1e-9) << "off its hatch line: piece " << i;
      EXPECT_LE(std::hypot(moved.x - end.x, moved.y - end.y), kSnapTravelPixels * d.Pixel()) << i;
      const double off = b.DistanceOf(moved.x * file_scale, moved.y * file_scale);
      EXPECT_LE(off, kExact * file_scale)
          << "piece " << i << " end (" << moved.x << ", " << moved.y << ")";
      const double pixel_off = b.DistanceOf(end.x * file_scale, end.y * file_scale);
      EXPECT_LT(pixel_off, 2 * d.Pixel() * file_scale) << i;
      pixel_ends_on_boundary += pixel_off <= kExact * file_scale;
    }
    // Same direction as before.
    EXPECT_GT((after.q.x - after.p.x) * c + (after.q.y - after.p.y) * s, 0) << i;
  }
  EXPECT_EQ(pixel_ends_on_boundary, 0);
}

// ---- Shapes hatched with and without the correction -------------------------------------------

struct ShapeCase {
  const char* name;
  std::string records;  // without the header
  Boundary boundary;    // in file units
  double click_x, click_y;
  double degrees;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
  *os << c.name;
}

std::string Square(double lo, double hi) {
  auto n = [](double v) { return std::to_string(v); };
  return n(lo) + " " + n(lo) + " " + n(hi) + " " + n(lo) + "\n" + n(hi) + " " + n(lo) + " " +
         n(hi) + " " + n(hi) + "\n" + n(hi) + " " + n(hi) + " " + n(lo) + " " + n(hi) + "\n" +
         n(lo) + " " + n(hi) + " " + n(lo) + " " + n(lo) + "\n";
}

std::vector<Boundary::Segment> SquareSides(double lo, double hi) {
  return {{lo, lo, hi, lo}, {hi, lo, hi, hi}, {hi, hi, lo, hi}, {lo, hi, lo, lo}};
}

std::vector<Boundary::Segment> Join(std::vector<Boundary::Segment> a,
                                    const std::vector<Boundary::Segment>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every case in file units at 1:1; the 1:50 run multiplies them.
const ShapeCase kShapes[] = {
    {"square_cross_0", Square(0, 100), {SquareSides(0, 100), {}}, 50, 45.3, 0},
    {"square_cross_90", Square(0, 100), {SquareSides(0, 100), {}}, 52.7, 50, 90},
    {"circle_30", "ci 50 50 50\n", {{}, {{50, 50, 50}}}, 50, 50, 30},
    {"triangle_45",
     "0 0 100 0\n100 0 50 90\n50 90 0 0\n",
     {{{0, 0, 100, 0}, {100, 0, 50, 90}, {50, 90, 0, 0}}, {}},
     50,
     30,
     45},
    {"square_with_island",
     Square(0, 100) + Square(30, 70),
     {Join(SquareSides(0, 100), SquareSides(30, 70)), {}},
     15,
     55,
     0},
    {"arc_and_chord",
     "ci 50 20 50 0 180 1 0\n100 20 0 20\n",
     {{{100, 20, 0, 20}}, {{50, 20, 50, 0, 180}}},
     50,
     40,
     60},
    {"solid_island",
     Square(0, 100) + "sl 20 20 80 30 40 80\n",
     {Join(SquareSides(0, 100), {{20, 20, 80, 30}, {80, 30, 40, 80}, {40, 80, 20, 20}}), {}},
     90,
     10,
     30},
};

std::string Scaled(const std::string& records, double factor) {
  // Every number of the test records is a coordinate or radius except an arc's angles and
  // flatness, its fifth to eighth fields.
  std::string out, word;
  auto flush_line = [&](std::vector<std::string>& words) {
    const bool arc = !words.empty() && words[0] == "ci" && words.size() >= 8;
    for (size_t i = 0; i < words.size(); ++i) {
      if (i > 0) out += ' ';
      const std::string& w = words[i];
      const bool number =
          !w.empty() && (std::isdigit(static_cast<unsigned char>(w[0])) || w[0] == '-');
      if (number && !(arc && i >= 4)) {
        out += std::to_string(std::stod(w) * factor);
      } else {
        out += w;
      }
    }
    out += '\n';
    words.clear();
  };
  std::vector<std::string> words;
  for (const char ch : records) {
    if (ch == ' ' || ch == '\n') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (ch == '\n') flush_line(words);
    } else {
      word += ch;
    }
  }
  return out;
}

Boundary Scaled(const Boundary& b, double f) {
  Boundary out;
  for (const auto& s : b.segments)
    out.segments.push_back({s.x1 * f, s.y1 * f, s.x2 * f, s.y2 * f});
  for (const auto& a : b.arcs)
    out.arcs.push_back({a.cx * f, a.cy * f, a.r * f, a.start, a.sweep});
  return out;
}

class ShapeTest : public ::testing::TestWithParam<ShapeCase> {};

// A 400 x 300 screen fitted round the drawing, its pixels falling between round numbers.
TEST_P(ShapeTest, PaperUnitsEndsExactlyOnTheBoundary) {
  const ShapeCase& c = GetParam();
  Drawing d("bz\nlg0\nly0\nlc2\n" + c.records, 400, 300, 2.617, -22.3, -7.9);
  ExpectEndsOnBoundary(d, c.boundary, c.click_x, c.click_y, c.degrees, 1);
}

// At 1:50 without "bz" the file holds 50 times the paper coordinates; the ends are exact there.
TEST_P(ShapeTest, ScaleFiftyEndsExactlyOnTheBoundaryInFileUnits) {
  const ShapeCase& c = GetParam();
  Drawing d("hs 50 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\nlg0\nly0\nlc2\n" + Scaled(c.records, 50), 400,
            300, 2.617, -22.3, -7.9);
  ExpectEndsOnBoundary(d, Scaled(c.boundary, 50), c.click_x, c.click_y, c.degrees, 50);
}

INSTANTIATE_TEST_SUITE_P(Drawings, ShapeTest, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Ends that stay --------------------------------------------------------------------------

// A square running off the right of the screen: the ends at the screen's edge have no geometry
// to go to and stay where the pixels put them; the ends on the left side move onto it.
TEST(EndSnap, EndsAtThePaintBoxEdgeStay) {
  Drawing d("bz\nlg0\nly0\nlc2\n" + Square(0, 300), 200, 150, 2.617, -10.3, -7.9);
  const std::vector<Piece> pixel = d.Hatch(30, 30.3, 10, 0, false);
  const std::vector<Piece> snapped = d.Hatch(30, 30.3, 10, 0, true);
  ASSERT_EQ(snapped.size(), pixel.size());
  ASSERT_GT(pixel.size(), 3u);
  for (size_t i = 0; i < pixel.size(); ++i) {
    EXPECT_NEAR(snapped[i].p.x, 0, kExact) << i;
    EXPECT_EQ(snapped[i].q.x, pixel[i].q.x) << i;
    EXPECT_EQ(snapped[i].q.y, pixel[i].q.y) << i;
  }
}

// A text across the square: its pixels bound the hatch, but it is no line of the drawing, so
// the ends against it stay; the ends on the square's sides move onto them.
TEST(EndSnap, EndsAgainstATextStay) {
  Drawing d(
      "bz\nlg0\nly0\nlc2\n" + Square(0, 100) + "cn0 5 5 0 2\nch 2 50 96 0 \"ABCDEFGHIJKLMNOP\n",
      400, 300, 2.617, -22.3, -7.9);
  const std::vector<Piece> pixel = d.Hatch(50.3, 20, 10, 90, false);
  const std::vector<Piece> snapped = d.Hatch(50.3, 20, 10, 90, true);
  ASSERT_EQ(snapped.size(), pixel.size());
  int at_text = 0;
  for (size_t i = 0; i < pixel.size(); ++i) {
    for (const auto& [end, moved] :
         {std::pair{pixel[i].p, snapped[i].p}, std::pair{pixel[i].q, snapped[i].q}}) {
      const double side = end.y < 50 ? 0 : 100;
      if (std::fabs(end.y - side) < 2 * d.Pixel()) {
        EXPECT_NEAR(moved.y, side, kExact) << i;
      } else {
        ++at_text;
        EXPECT_EQ(moved.y, end.y) << i;
      }
      EXPECT_NEAR(moved.x, end.x, 1e-12) << i;
    }
  }
  EXPECT_GT(at_text, 6);
}

// Two lines closer than a pixel leave a gap the pixels close; the hatch line through the gap
// ends where the pixels stopped it, the others on the lines.
TEST(EndSnap, AGapThePixelsClosedKeepsItsPixelEnd) {
  const double scale = 2.617, xmin = -22.3, ymin = -7.9;
  // The height the hatch line through the click pixel runs at: the gap is centred on it.
  const ViewState v = Drawing("", 400, 300, scale, xmin, ymin).View();
  const double y0 = PixelToDrawY(v, DrawToPixelY(v, 50));
  const double gap = 0.2;  // half a pixel
  const std::string below = std::to_string(y0 - gap / 2), above = std::to_string(y0 + gap / 2);
  Drawing d("bz\nlg0\nly0\nlc2\n0 0 100 0\n100 0 100 " + below + "\n100 " + above +
                " 100 100\n100 100 0 100\n0 100 0 0\n",
            400, 300, scale, xmin, ymin);
  const std::vector<Piece> pixel = d.Hatch(50, 50, 10, 0, false);
  const std::vector<Piece> snapped = d.Hatch(50, 50, 10, 0, true);
  ASSERT_EQ(snapped.size(), pixel.size());
  int through_gap = 0;
  for (size_t i = 0; i < pixel.size(); ++i) {
    EXPECT_NEAR(snapped[i].p.x, 0, kExact) << i;
    if (std::fabs(snapped[i].q.y - y0) < gap / 2) {
      ++through_gap;
      EXPECT_EQ(snapped[i].q.x, pixel[i].q.x);
    } else {
      EXPECT_NEAR(snapped[i].q.x, 100, kExact) << i;
    }
  }
  EXPECT_EQ(through_gap, 1);
}

// A wall of two lines a little over a pixel apart between two rooms: each room's pieces end on
// the wall's line on their own side.
TEST(EndSnap, EachSideOfAThinWallKeepsItsOwnLine) {
  const double pixel = 1 / 2.617;
  const double wall = 50 + 1.3 * pixel;
  const std::string w = std::to_string(wall);
  Drawing d("bz\nlg0\nly0\nlc2\n" + Square(0, 100) + "50 0 50 100\n" + w + " 0 " + w + " 100\n",
            400, 300, 2.617, -22.3, -7.9);
  for (const auto& [x, left] : {std::pair{25.0, true}, std::pair{75.0, false}}) {
    const std::vector<Piece> pieces = d.Hatch(x, 45.3, 10, 0, true);
    ASSERT_GT(pieces.size(), 3u);
    for (const Piece& p : pieces) {
      EXPECT_NEAR(p.p.x, left ? 0 : std::stod(w), kExact);
      EXPECT_NEAR(p.q.x, left ? 50 : 100, kExact);
    }
  }
}

// ---- A piece stays whole ---------------------------------------------------------------------

struct WholeCase {
  const char* name;
  double line2;       // a second vertical line besides x = 5
  double p, q;        // the piece's ends along y = 3
  double file_scale;  // what the pieces are multiplied by in the document
  bool moves;
};

void PrintTo(const WholeCase& c, std::ostream* os) {
  *os << c.name;
}

class WholeTest : public ::testing::TestWithParam<WholeCase> {};

TEST_P(WholeTest, MovesOnlyWhenThePieceStaysAPiece) {
  const WholeCase& c = GetParam();
  // One pixel per unit: ends move up to 1.5 units across a line.
  Drawing d("bz\nlg0\nly0\nlc2\n5 0 5 10\n" + std::to_string(c.line2) + " 0 " +
                std::to_string(c.line2) + " 10\n",
            20, 20, 1, -2.5, -2.5);
  OutlineGrid grid;
  grid.Refresh(d.Doc(), d.Index(), d.Attr(), d.View());
  std::vector<HatchPiece> pieces{{{c.p, 3}, {c.q, 3}}};
  EndSnap(grid, c.file_scale).MovePieces(pieces, 1, 0);
  const HatchPoint& p = pieces[0].p;
  const HatchPoint& q = pieces[0].q;
  if (c.moves) {
    EXPECT_NE(p.x, c.p);
  } else {
    EXPECT_EQ(p.x, c.p);
    EXPECT_EQ(q.x, c.q);
  }
  EXPECT_EQ(p.y, 3);
  EXPECT_EQ(q.y, 3);
}

INSTANTIATE_TEST_SUITE_P(Pieces, WholeTest,
                         ::testing::Values(
                             // Both ends find x = 5: nothing would be left.
                             WholeCase{"both_onto_one_line", 12, 4.6, 4.8, 1, false},
                             // 1e-6 apart: a piece in paper units, but a millionth of that in the
                             // document is below its 1e-10.
                             WholeCase{"degenerate_in_the_document", 5 + 1e-6, 4.9, 5.2, 1, true},
                             WholeCase{"degenerate_in_the_document_scaled", 5 + 1e-6, 4.9, 5.2,
                                       1e-5, false},
                             WholeCase{"grows", 8, 5.5, 7.5, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- What counts as geometry -----------------------------------------------------------------

struct CountsCase {
  const char* name;
  std::string records;  // something at x = 5 across the line y = 3
  bool counts;
};

void PrintTo(const CountsCase& c, std::ostream* os) {
  *os << c.name;
}

class CountsTest : public ::testing::TestWithParam<CountsCase> {};

TEST_P(CountsTest, OnlyWhatIsDrawnBlackInTheViewCounts) {
  const CountsCase& c = GetParam();
  Drawing d("bz\nlg0\nly0\n" + c.records, 20, 20, 1, -2.5, -2.5);
  HatchPoint moved{};
  const bool found = MovedEnd(d, {4.2, 3}, moved);
  EXPECT_EQ(found, c.counts);
  if (found) {
    EXPECT_NEAR(moved.x, 5, kExact);
    EXPECT_EQ(moved.y, 3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entities, CountsTest,
    ::testing::Values(CountsCase{"line", "lc5\nlt2\n5 0 5 10\n", true},
                      CountsCase{"circle", "lc2\nci 0 3 5\n", true},
                      CountsCase{"black_solid", "lc2\nsl 5 0 9 0 5 10\n", true},
                      CountsCase{"solid_of_its_own_black", "lc10 0\nsl 5 0 9 0 5 10\n", true},
                      CountsCase{"solid_of_its_own_colour", "lc10 255\nsl 5 0 9 0 5 10\n", false},
                      CountsCase{"square_mark", "pn2\npt 6.25 3 1 0 -5\n", true},
                      CountsCase{"point", "pn2\npt 6 3\n", true},
                      CountsCase{"point_without_a_colour", "pn10\npt 6 3\n", false},
                      CountsCase{"text", "lc2\nch 5 0 0 10 \"III\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

// The view ends at x = 17.5: a line just beyond it is not drawn and does not count.
TEST(EndSnap, ACrossingOutsideTheViewDoesNotCount) {
  for (const auto& [x, counts] : {std::pair{17.4, true}, std::pair{17.6, false}}) {
    Drawing d("bz\nlg0\nly0\nlc2\n" + std::to_string(x) + " 0 " + std::to_string(x) + " 10\n", 20,
              20, 1, -2.5, -2.5);
    HatchPoint moved{};
    EXPECT_EQ(MovedEnd(d, {17, 3}, moved), counts) << x;
  }
}

// Lines laid after the index last saw the drawing (the hatch being laid) are not on the screen
// it stands for, so they never count.
TEST(EndSnap, LinesTheIndexHasNotSeenDoNotCount) {
  Drawing d("bz\nlg0\nly0\nlc2\n", 20, 20, 1, -2.5, -2.5);
  d.Doc().A_Line(5, 0, 5, 10);
  HatchPoint moved{};
  EXPECT_FALSE(MovedEnd(d, {4.2, 3}, moved));
  d.Index().Update(d.Doc(), d.Attr());
  EXPECT_TRUE(MovedEnd(d, {4.2, 3}, moved));
}

// The outlines kept from run to run follow what the screen shows: lines the index has seen since
// count and removed ones stop counting, also when others have taken their places in the table
// since the last run; a change of display or of view makes them again.
TEST(EndSnap, KeptOutlinesFollowTheDrawing) {
  Drawing d("bz\nlg0\nly0\nlc5\n", 20, 20, 1, -2.5, -2.5);
  OutlineGrid grid;
  const auto snaps_to = [&](HatchPoint end) {
    HatchPoint moved{};
    return MovedEnd(d, grid, end, moved) ? moved.x : -1;
  };
  EXPECT_EQ(snaps_to({4.2, 3}), -1);
  d.Doc().A_Line(5, 0, 5, 10);
  d.Index().Update(d.Doc(), d.Attr());
  EXPECT_NEAR(snaps_to({4.2, 3}), 5, kExact);

  // Removed, and another line in its place before the next run.
  d.Doc().EntLine.clear();
  d.Index().Update(d.Doc(), d.Attr());
  d.Doc().A_Line(5.5, 0, 5.5, 10);
  d.Index().Update(d.Doc(), d.Attr());
  EXPECT_NEAR(snaps_to({4.2, 3}), 5.5, kExact);

  // Not yet on the screen, then on it.
  d.Doc().A_Line(4.6, 0, 4.6, 10);
  EXPECT_NEAR(snaps_to({4.2, 3}), 5.5, kExact);
  d.Index().Update(d.Doc(), d.Attr());
  EXPECT_NEAR(snaps_to({4.2, 3}), 4.6, kExact);
  d.Doc().EntLine.pop_back();
  d.Index().Update(d.Doc(), d.Attr());
  EXPECT_NEAR(snaps_to({4.2, 3}), 5.5, kExact);

  // Out of monochrome the line is drawn in its own colour.
  d.Attr().SetPrintMode(false, 0, 0, 0);
  EXPECT_EQ(snaps_to({4.2, 3}), -1);
  d.Attr().SetPrintMode(true, 0, 0, 0);
  EXPECT_NEAR(snaps_to({4.2, 3}), 5.5, kExact);

  // A line beyond the view counts once the view is moved over it.
  d.Doc().A_Line(20, 0, 20, 10);
  d.Index().Update(d.Doc(), d.Attr());
  EXPECT_EQ(snaps_to({19.2, 3}), -1);
  ViewState moved_view = d.View();
  moved_view.ViewXmin += 12.5;
  moved_view.ViewXmax += 12.5;
  grid.Refresh(d.Doc(), d.Index(), d.Attr(), moved_view);
  HatchPoint moved{};
  EXPECT_TRUE(EndSnap(grid, 1).MovedEnd({19.2, 3}, 1, 0, 1, moved));
  EXPECT_NEAR(moved.x, 20, kExact);
}

// A run fills only the cells its ends can reach; a later run that reaches further widens what
// the grid covers and keeps what it covered.
TEST(EndSnap, TheCellsCoveredGrowWithTheRuns) {
  Drawing d("bz\nlg0\nly0\nlc2\n5 0 5 10\n80 0 80 10\n", 100, 20, 1, -2.5, -2.5);
  OutlineGrid grid;
  const auto snaps_to = [&](HatchPoint end) {
    HatchPoint moved{};
    return EndSnap(grid, 1).MovedEnd(end, 1, 0, 1, moved) ? moved.x : -1;
  };
  grid.Refresh(d.Doc(), d.Index(), d.Attr(), d.View(), {0, 0, 20, 19});
  EXPECT_NEAR(snaps_to({4.2, 3}), 5, kExact);
  EXPECT_EQ(snaps_to({79.2, 3}), -1);
  grid.Refresh(d.Doc(), d.Index(), d.Attr(), d.View(), {70, 0, 90, 19});
  EXPECT_NEAR(snaps_to({79.2, 3}), 80, kExact);
  EXPECT_NEAR(snaps_to({4.2, 3}), 5, kExact);
}

// What the cells find, against every black shape of the drawing tried one by one: for ends near
// the drawing's shapes and anywhere in the view, in any direction, the same crossing or none,
// before and after lines are appended.
TEST(EndSnap, TheCellsFindWhatEveryShapeTriedInTurnFinds) {
  for (const uint32_t seed : {1u, 2u, 3u}) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    TJGdata doc = test::RandomDrawing(rng, 60, 100);
    test::Scene scene(160, 120, 2, -45, -30);
    TgraAttribute& attr = scene.attr;
    attr.SetPrintMode(true, 0, 0, 0);
    const ViewState& view = scene.view;
    EntityIndex index;
    index.Build(doc, attr);
    OutlineGrid grid;
    const double pixel = 1 / view.ViewScale, travel = kSnapTravelPixels * pixel;
    const auto inside = [&](double x, double y) {
      return x - view.ViewXmin >= 1e-12 && x - view.ViewXmax <= -1e-12 &&
             y - view.ViewYmin >= 1e-12 && y - view.ViewYmax <= -1e-12;
    };

    for (const int round : {0, 1}) {
      if (round == 1) {
        for (int i = 0; i < 30; ++i)
          doc.A_Line(unit(rng) * 80 - 45, unit(rng) * 60 - 30, unit(rng) * 80 - 45,
                     unit(rng) * 60 - 30);
        index.Update(doc, attr);
      }
      grid.Refresh(doc, index, attr, view);
      const EndSnap snap(grid, 1);
      std::vector<OutlineShape> shapes;
      for (int t = 0; t < kEntityTables; ++t) {
        for (size_t i = 0; i < index.Seen(static_cast<EntityTable>(t)); ++i)
          AppendBlackOutline(doc, attr, view, static_cast<EntityTable>(t), i, shapes);
      }
      ASSERT_FALSE(shapes.empty());
      int moved_ends = 0;
      for (int k = 0; k < 1500; ++k) {
        HatchPoint end{view.ViewXmin + unit(rng) * (view.ViewXmax - view.ViewXmin),
                       view.ViewYmin + unit(rng) * (view.ViewYmax - view.ViewYmin)};
        if (k % 2 == 0) {
          // A few pixels off a point of a segment's.
          const OutlineShape& s = shapes[rng() % shapes.size()];
          if (s.kind == OutlineShape::Kind::Segment) {
            const double f = unit(rng);
            end = {s.p1.x + f * (s.p2.x - s.p1.x) + (unit(rng) - 0.5) * 6 * pixel,
                   s.p1.y + f * (s.p2.y - s.p1.y) + (unit(rng) - 0.5) * 6 * pixel};
          }
        }
        const double a = unit(rng) * 2 * kPi;
        const double dx = std::cos(a), dy = std::sin(a);
        const int outward = k % 3 == 0 ? -1 : 1;
        struct {
          bool found = false;
          double t = 0, reach = 0, allowed = 0;
        } best;
        for (const OutlineShape& s : shapes) {
          const double allowed =
              s.kind == OutlineShape::Kind::Segment
                  ? kSnapReachPixels * pixel
                  : (kSnapReachPixels + kSnapCurveReachPixels) * pixel + s.chord_gap;
          ForEachCrossing(s, end, dx, dy, [&](double t, double sine) {
            if (!(std::fabs(t) <= travel) || !inside(end.x + t * dx, end.y + t * dy)) return;
            const double reach = std::fabs(t) * sine;
            const bool better =
                !best.found || std::fabs(t) < std::fabs(best.t) ||
                (std::fabs(t) == std::fabs(best.t) && t != best.t && t * outward > 0) ||
                (t == best.t && allowed - reach > best.allowed - best.reach);
            if (better) best = {true, t, reach, allowed};
          });
        }
        const bool expected = best.found && best.reach <= best.allowed;
        HatchPoint moved{};
        ASSERT_EQ(snap.MovedEnd(end, dx, dy, outward, moved), expected)
            << "seed " << seed << " round " << round << " end " << k;
        if (!expected) continue;
        ++moved_ends;
        EXPECT_EQ(moved.x, end.x + best.t * dx) << k;
        EXPECT_EQ(moved.y, end.y + best.t * dy) << k;
      }
      EXPECT_GT(moved_ends, 100) << seed;
    }
  }
}

}  // namespace
}  // namespace vardo
