// Element picking: scan order, candidates, snap points, the hit tests of every shape, scales and
// extreme values.
#include "render/picking.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "common/geometry.h"

namespace vardo {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kH = 0.5;  // five pixels at ten pixels per millimetre
constexpr double kUntouched = -12345.0;
constexpr double kR2 = 7.0710678118654755;  // 10 / sqrt(2): the 45 degree point of radius 10

TEntAttr Att(int col = 1, int ltp = 1, int lgrp = 0, int lay = 0) {
  TEntAttr a;
  a.Col = col;
  a.Ltp = ltp;
  a.LGrp = lgrp;
  a.Lay = lay;
  return a;
}

struct Picked {
  bool hit = false;
  int etp = -1, eno = -1;
  double x = kUntouched, y = kUntouched;
};

// One click and what it should give: a miss, or a hit snapping to (sx, sy).
struct Click {
  const char* name;
  double x, y;
  bool hit;
  double sx = 0, sy = 0;
};

class Picking : public ::testing::Test {
 protected:
  Picking() { SetUpStartAttributes(attr); }

  Picked Pick(double x, double y, double h = kH) const {
    Picked p;
    p.hit = GetElement2(doc, attr, x, y, h, p.etp, p.eno, p.x, p.y);
    return p;
  }

  // Every click against the one entity of kind etp with index eno.
  void ExpectClicks(int etp, int eno, const std::vector<Click>& clicks) const {
    for (const Click& c : clicks) {
      SCOPED_TRACE(c.name);
      const Picked p = Pick(c.x, c.y);
      EXPECT_EQ(p.hit, c.hit);
      if (!c.hit) {
        EXPECT_EQ(p.etp, 0);
        EXPECT_EQ(p.eno, 0);
        continue;
      }
      EXPECT_EQ(p.etp, etp);
      EXPECT_EQ(p.eno, eno);
      EXPECT_NEAR(p.x, c.sx, 1e-9);
      EXPECT_NEAR(p.y, c.sy, 1e-9);
    }
  }

  // Appends to a table the way the reader does: order entry first, then the record.
  template <class Record>
  int Add(std::vector<Record>& table, int kind, const Record& r) {
    doc.SetEntNo(kind, static_cast<int>(table.size()));
    table.push_back(r);
    return static_cast<int>(table.size()) - 1;
  }

  int AddPoint(double x, double y, TEntAttr att = Att()) {
    TEntPnt e;
    e.att = att, e.px = x, e.py = y;
    return Add(doc.EntPnt, kEntPnt, e);
  }
  int AddMark(double x, double y, TEntAttr att = Att()) {
    TEntMark e;
    e.att = att, e.px = x, e.py = y, e.bai = 1, e.cod = 1;
    return Add(doc.EntMark, kEntMark, e);
  }
  int AddLine(double x1, double y1, double x2, double y2, TEntAttr att = Att()) {
    TEntLine e;
    e.att = att, e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2;
    return Add(doc.EntLine, kEntLine, e);
  }
  int AddCircle(double cx, double cy, double r, TEntAttr att = Att()) {
    TEntCircle e;
    e.att = att, e.cx = cx, e.cy = cy, e.cr = r;
    return Add(doc.EntCirc, kEntCirc, e);
  }
  int AddArc(double cx, double cy, double r, double sa, double ea, double he = 1, double ka = 0,
             TEntAttr att = Att()) {
    TEntArc e;
    e.att = att, e.cx = cx, e.cy = cy, e.cr = r, e.sa = sa, e.ea = ea, e.he = he, e.ka = ka;
    return Add(doc.EntArc, kEntArc, e);
  }
  int AddText(double x1, double y1, TEntAttr att = Att()) {
    TEntText e;
    e.att = att, e.x1 = x1, e.y1 = y1, e.x2 = 20, e.y2 = 0, e.cc = 4, e.mw = e.mh = 3;
    e.st = u"ABCDEF";
    return Add(doc.EntText, kEntText, e);
  }
  int AddDim(double x1, double y1, double x2, double y2, TEntAttr line_att, double tx, double ty,
             TEntAttr text_att) {
    TEntDim e;
    e.att = line_att;
    e.lin.att = line_att, e.lin.x1 = x1, e.lin.y1 = y1, e.lin.x2 = x2, e.lin.y2 = y2;
    e.txt.att = text_att, e.txt.no = 2, e.txt.x1 = tx, e.txt.y1 = ty, e.txt.x2 = 10;
    e.txt.st = u"100";
    return Add(doc.EntDim, kEntDim, e);
  }
  int AddSolid2(double x1, double y1, double x2, double y2, TEntAttr att = Att()) {
    TEntSld2 e;
    e.att = att, e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2;
    return Add(doc.EntSld2, kEntSld2, e);
  }
  int AddSolid3(double x1, double y1, double x2, double y2, double x3, double y3,
                TEntAttr att = Att()) {
    TEntSld3 e;
    e.att = att, e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2, e.x3 = x3, e.y3 = y3;
    return Add(doc.EntSld3, kEntSld3, e);
  }
  int AddSolid4(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                double y4, TEntAttr att = Att()) {
    TEntSld4 e;
    e.att = att, e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2, e.x3 = x3, e.y3 = y3, e.x4 = x4,
    e.y4 = y4;
    return Add(doc.EntSld4, kEntSld4, e);
  }
  static TEntSldC SldC(double cx, double cy, double r, double he, double ka, double sa, double da,
                       int fl, TEntAttr att = Att()) {
    TEntSldC e;
    e.att = att, e.cx = cx, e.cy = cy, e.cr = r, e.he = he, e.ka = ka, e.sa = sa, e.da = da;
    e.fl = fl;
    return e;
  }
  static TEntSldD SldD(double cx, double cy, double r, double he, double ka, double sa, double da,
                       double ri, TEntAttr att = Att()) {
    TEntSldD e;
    e.att = att, e.cx = cx, e.cy = cy, e.cr = r, e.he = he, e.ka = ka, e.sa = sa, e.da = da;
    e.ri = ri;
    return e;
  }
  int AddSolidC(const TEntSldC& e) { return Add(doc.EntSldC, kEntSldC, e); }
  int AddSolidE(const TEntSldC& e) { return Add(doc.EntSldE, kEntSldE, e); }
  int AddSolidO(const TEntSldD& e) { return Add(doc.EntSldO, kEntSldO, e); }
  int AddSolidG(const TEntSldD& e) { return Add(doc.EntSldG, kEntSldG, e); }

  // One entity of the kind that a click at (ox, oy) hits; the snap point goes to (sx, sy).
  void AddKindAt(int kind, double ox, double oy, TEntAttr att, double& sx, double& sy) {
    sx = ox, sy = oy;
    switch (kind) {
      case kEntPnt:
        AddPoint(ox, oy, att);
        return;
      case kEntMark:
        AddMark(ox, oy, att);
        return;
      case kEntLine:
        AddLine(ox, oy, ox + 5, oy + 5, att);
        return;
      case kEntCirc:  // snaps to its rightmost point
        AddCircle(ox - 3, oy, 3, att);
        return;
      case kEntArc:  // snaps to its start point
        AddArc(ox - 3, oy, 3, 0, 90, 1, 0, att);
        return;
      case kEntText:
        AddText(ox, oy, att);
        return;
      case kEntDim:
        AddDim(ox, oy, ox + 5, oy, att, ox + 50, oy + 50, att);
        return;
      case kEntSld2:
        AddSolid2(ox, oy, ox + 5, oy, att);
        return;
      case kEntSld3:
        AddSolid3(ox, oy, ox + 5, oy, ox, oy + 5, att);
        return;
      case kEntSld4:
        AddSolid4(ox, oy, ox + 5, oy, ox + 5, oy + 5, ox, oy + 5, att);
        return;
      case kEntSldC:  // inside a disc, far from its outline: its centre
        AddSolidC(SldC(ox, oy, 2, 1, 0, 0, kTwoPi, 100, att));
        return;
      case kEntSldE:  // its rightmost point
        AddSolidE(SldC(ox - 3, oy, 3, 1, 0, 0, kTwoPi, 1, att));
        return;
      case kEntSldO:  // inside a full ring: its centre
        AddSolidO(SldD(ox - 2, oy, 3, 1, 0, 0, kTwoPi, 1, att));
        sx = ox - 2;
        return;
      case kEntSldG:
        AddSolidG(SldD(ox - 2, oy, 3, 1, 0, 0, kTwoPi, 1, att));
        sx = ox - 2;
        return;
    }
    FAIL() << "no such kind " << kind;
  }

  TJGdata doc;
  TgraAttribute attr;
};

// The kinds in the order they are scanned.
constexpr int kScanOrder[] = {kEntPnt,  kEntMark, kEntLine, kEntCirc, kEntArc,  kEntText, kEntDim,
                              kEntSld2, kEntSld3, kEntSld4, kEntSldC, kEntSldE, kEntSldO, kEntSldG};

void ClearKind(TJGdata& doc, int kind) {
  switch (kind) {
    case kEntPnt:
      return doc.EntPnt.clear();
    case kEntMark:
      return doc.EntMark.clear();
    case kEntLine:
      return doc.EntLine.clear();
    case kEntCirc:
      return doc.EntCirc.clear();
    case kEntArc:
      return doc.EntArc.clear();
    case kEntText:
      return doc.EntText.clear();
    case kEntDim:
      return doc.EntDim.clear();
    case kEntSld2:
      return doc.EntSld2.clear();
    case kEntSld3:
      return doc.EntSld3.clear();
    case kEntSld4:
      return doc.EntSld4.clear();
    case kEntSldC:
      return doc.EntSldC.clear();
    case kEntSldE:
      return doc.EntSldE.clear();
    case kEntSldO:
      return doc.EntSldO.clear();
    case kEntSldG:
      return doc.EntSldG.clear();
  }
}

// --- scan order and results ---

TEST_F(Picking, MissGivesKindAndIndexZeroAndLeavesThePointAlone) {
  EXPECT_FALSE(Pick(0, 0).hit);
  AddLine(10, 10, 20, 10);
  AddCircle(50, 50, 5);
  const Picked p = Pick(0, 0);
  EXPECT_FALSE(p.hit);
  EXPECT_EQ(p.etp, 0);
  EXPECT_EQ(p.eno, 0);
  EXPECT_EQ(p.x, kUntouched);
  EXPECT_EQ(p.y, kUntouched);
}

// Every kind has a hit under the click at index 1 (index 0 lies far away); taking the kinds away
// one by one walks through the scan order.
TEST_F(Picking, KindsAreScannedInTheirFixedOrder) {
  std::vector<std::pair<double, double>> snaps;
  for (int kind : kScanOrder) {
    double sx = 0, sy = 0;
    AddKindAt(kind, 1000, 1000, Att(), sx, sy);
    AddKindAt(kind, 0, 0, Att(), sx, sy);
    snaps.emplace_back(sx, sy);
  }
  for (size_t i = 0; i < std::size(kScanOrder); ++i) {
    SCOPED_TRACE(kScanOrder[i]);
    const Picked p = Pick(0, 0);
    EXPECT_TRUE(p.hit);
    EXPECT_EQ(p.etp, kScanOrder[i]);
    EXPECT_EQ(p.eno, 1);
    EXPECT_NEAR(p.x, snaps[i].first, 1e-12);
    EXPECT_NEAR(p.y, snaps[i].second, 1e-12);
    ClearKind(doc, kScanOrder[i]);
  }
  EXPECT_FALSE(Pick(0, 0).hit);
}

TEST_F(Picking, PointEntityWinsOverANearerLineEnd) {
  AddLine(0, 0, 10, 0);
  AddPoint(0.4, 0.4);
  const Picked p = Pick(0.05, 0);
  EXPECT_TRUE(p.hit);
  EXPECT_EQ(p.etp, kEntPnt);
  EXPECT_EQ(p.x, 0.4);
  EXPECT_EQ(p.y, 0.4);
}

TEST_F(Picking, ShortLineSnapsToItsFirstEndPoint) {
  AddLine(5, 5, 5.2, 5.1);
  ExpectClicks(kEntLine, 0,
               {{"both ends in the square", 5.1, 5.05, true, 5, 5},
                {"only the second end", 5.6, 5.3, true, 5.2, 5.1}});
}

TEST_F(Picking, PickSquareIncludesItsBoundary) {
  AddLine(10, 0, 20, 0);
  const double diag = kH / std::sqrt(2.0);
  ExpectClicks(kEntLine, 0,
               {{"right edge", 10.5, 0, true, 10, 0},
                {"left edge", 9.5, 0, true, 10, 0},
                {"bottom edge", 10, -0.5, true, 10, 0},
                {"diagonal at the half size", 10 + diag, diag, true, 10, 0},
                {"corner", 10.5, 0.5, true, 10, 0},
                {"opposite corner", 9.5, -0.5, true, 10, 0},
                {"just beyond the right edge", 10.5 + 1e-9, 0, false},
                {"just beyond the top edge", 10, 0.5 + 1e-9, false},
                {"just beyond the corner", 10.5 + 1e-9, 0.5, false},
                {"second end", 19.6, 0.3, true, 20, 0}});
}

TEST_F(Picking, PickSizeMayBeZeroOrHuge) {
  AddPoint(0.1, 0.2);
  AddPoint(1e200, -1e200);
  EXPECT_TRUE(Pick(0.1, 0.2, 0).hit);
  EXPECT_FALSE(Pick(0.1, std::nextafter(0.2, 1.0), 0).hit);
  EXPECT_FALSE(Pick(0.1, std::nextafter(0.2, 1.0), 5e-324).hit);
  doc.EntPnt.erase(doc.EntPnt.begin());
  const Picked p = Pick(0, 0, 1e300);
  EXPECT_TRUE(p.hit);
  EXPECT_EQ(p.x, 1e200);
  EXPECT_EQ(p.y, -1e200);
}

// --- circles, arcs, texts, dimensions, corner solids ---

TEST_F(Picking, CircleSnapsToAQuadrantPointOrItsCentre) {
  AddCircle(0, 0, 10);
  ExpectClicks(kEntCirc, 0,
               {{"near the rightmost point", 10.2, 0.1, true, 10, 0},
                {"near the top", -0.1, 9.8, true, 0, 10},
                {"near the leftmost point", -10, 0.3, true, -10, 0},
                {"near the bottom", 0.4, -10.4, true, 0, -10},
                {"on the curve between", kR2, kR2, true, 0, 0},
                {"half size outside the curve", 10.5, 0, true, 10, 0},
                {"within half size of the curve", 6, 8.4, true, 0, 0},
                {"at the centre", 0, 0, false},
                {"inside", 3, 3, false},
                {"outside", 11, 0, false}});
}

TEST_F(Picking, ArcSnapsToItsEndPointsOrItsCentre) {
  struct Case {
    const char* name;
    double sa, ea, he, ka;
    std::vector<Click> clicks;
  } cases[] = {
      {"first quadrant",
       0,
       90,
       1,
       0,
       {{"on the curve", kR2, kR2, true, 0, 0},
        {"near the start", 10, 0.3, true, 10, 0},
        {"near the end", 0.3, 10, true, 0, 10},
        {"on the circle outside the range", -kR2, -kR2, false},
        {"on the circle beyond the end", -kR2, kR2, false},
        {"off the curve", 1.2 * kR2, 1.2 * kR2, false}}},
      {"across zero degrees",
       350,
       10,
       1,
       0,
       {{"at zero degrees", 10, 0, true, 0, 0},
        {"opposite", -10, 0, false},
        {"near the end", 9.848, 1.736, true, 10 * std::cos(kPi / 18), 10 * std::sin(kPi / 18)}}},
      {"negative start",
       -90,
       0,
       1,
       0,
       {{"in the fourth quadrant", kR2, -kR2, true, 0, 0}, {"in the first", kR2, kR2, false}}},
      {"tilted",
       0,
       90,
       1,
       45,
       {{"at 90 degrees", 0, 10, true, 0, 0}, {"at -45", kR2, -kR2, false}}},
      {"flattened ellipse turned upright",
       0,
       90,
       0.5,
       90,
       {{"near the start", 0.2, 9.8, true, 0, 10},
        {"near the end", -5.3, 0.2, true, -5, 0},
        {"other end of the first axis", 0, -10, false}}},
      // The second semi-axis is the larger: the curve reaches twice as far along it.
      {"upper half of an ellipse twice as high as wide",
       0,
       180,
       2,
       0,
       {{"half size beyond the top", 0, 20.5, true, 0, 0},
        {"within half size of the top", 0.3, 20.45, true, 0, 0},
        {"beyond half size of the top", 0, 20.6, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.EntArc.clear();
    AddArc(0, 0, 10, c.sa, c.ea, c.he, c.ka);
    ExpectClicks(kEntArc, 0, c.clicks);
  }
}

// sa = ea (modulo 360) means the full ellipse; 1 degree of sweep is a short arc.
TEST_F(Picking, ArcWithEqualAnglesIsTheFullEllipse) {
  const double c30 = std::cos(kPi / 6), s30 = std::sin(kPi / 6);
  const std::vector<Click> full = {
      {"near the first axis point", 8.5, 5.2, true, 10 * c30, 10 * s30},
      {"near the second axis point", -2.4, 4.5, true, -5 * s30, 5 * c30},
      {"near the opposite second axis point", 2.4, -4.5, true, 5 * s30, -5 * c30},
      {"at the centre", 0, 0, false}};
  for (double sa : {40.0, 400.0}) {
    SCOPED_TRACE(sa);
    doc.EntArc.clear();
    AddArc(0, 0, 10, sa, 40, 0.5, 30);
    ExpectClicks(kEntArc, 0, full);
  }
  doc.EntArc.clear();
  AddArc(0, 0, 10, 40, 40, 2, 0);
  ExpectClicks(kEntArc, 0,
               {{"near the top of an ellipse twice as high as wide", 0.3, 20.45, true, 0, 20},
                {"beyond half size of the top", 0, 20.6, false}});
  doc.EntArc.clear();
  AddArc(0, 0, 10, 40, 41, 0.5, 30);
  ExpectClicks(kEntArc, 0, {{"second axis point, out of range", -2.4, 4.5, false}});
}

TEST_F(Picking, TextSnapsToItsStoredStartPointNotItsAlignedPosition) {
  AddText(5, 5);  // centred on its base point: drawn from about -5 to 15
  ExpectClicks(kEntText, 0,
               {{"start point", 5.3, 4.8, true, 5, 5},
                {"middle of the text line", 15, 5, false},
                {"left of the start", -5, 5, false}});
}

TEST_F(Picking, SolidsSnapToTheFirstCornerInTheSquare) {
  AddSolid2(0, 0, 10, 0);
  AddSolid3(20, 0, 30, 0, 20.3, 0.2);
  AddSolid4(40, 0, 50, 0, 50, 10, 40, 10);
  ExpectClicks(kEntSld2, 0, {{"second point", 10.1, 0, true, 10, 0}});
  ExpectClicks(kEntSld3, 0,
               {{"first and third corner", 20.2, 0.1, true, 20, 0},
                {"third corner only", 20.6, 0.4, true, 20.3, 0.2},
                {"between the corners", 25, 0, false}});
  ExpectClicks(kEntSld4, 0,
               {{"third corner", 49.9, 10.1, true, 50, 10},
                {"fourth corner", 40.2, 10, true, 40, 10},
                {"inside", 45, 5, false}});
}

// --- circular solids ---

TEST_F(Picking, FilledDiscIsHitAnywhereInside) {
  AddSolidC(SldC(0, 0, 10, 1, 0, 0, kTwoPi, 100));
  AddSolidE(SldC(30, 0, 10, 1, 0, 0, kTwoPi, 100));  // the same, outlined only
  ExpectClicks(kEntSldC, 0,
               {{"far inside", 2, 3, true, 0, 0},
                {"at the centre", 0, 0, true, 0, 0},
                {"near the rightmost point", 10.2, 0, true, 10, 0},
                {"near the leftmost point", -9.8, 0.1, true, -10, 0},
                {"on the outline between", kR2, -kR2, true, 0, 0},
                {"outside", 11, 0, false}});
  ExpectClicks(kEntSldE, 0,
               {{"inside the outline", 32, 3, false},
                {"near the rightmost point", 40.2, 0, true, 40, 0},
                {"on the outline between", 30 + kR2, kR2, true, 30, 0}});
}

TEST_F(Picking, OutlinedArcSolidIsPickedLikeAnArc) {
  AddSolidE(SldC(0, 0, 10, 1, 0, kPi / 2, -kPi / 2, 0));  // clockwise from 90 to 0 degrees
  ExpectClicks(kEntSldE, 0,
               {{"on the curve", kR2, kR2, true, 0, 0},
                {"near the start", 0.1, 10.1, true, 0, 10},
                {"near the end", 10.1, 0.1, true, 10, 0},
                {"on the circle outside the range", -kR2, kR2, false},
                {"inside", 3, 3, false}});
}

TEST_F(Picking, SectorIsHitInsideItsAngularRange) {
  struct Case {
    const char* name;
    double sa, da;
  } cases[] = {{"anticlockwise", 0, kPi / 2}, {"clockwise", kPi / 2, -kPi / 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.EntSldC.clear();
    AddSolidC(SldC(0, 0, 10, 1, 0, c.sa, c.da, 0));
    const bool anticlockwise = c.da > 0;
    const double sx = anticlockwise ? 10 : 0, sy = anticlockwise ? 0 : 10;
    ExpectClicks(kEntSldC, 0,
                 {{"inside", 3, 3, true, 0, 0},
                  {"on the curve", kR2, kR2, true, 0, 0},
                  {"near the start", sx + 0.2, sy + 0.1, true, sx, sy},
                  {"opposite quadrant", -3, -3, false},
                  {"next quadrant", -3, 3, false},
                  {"outside the curve", 11, 1, false}});
  }
}

TEST_F(Picking, SegmentIsHitBetweenItsChordAndItsArc) {
  AddSolidC(SldC(0, 0, 10, 1, 0, 0, kPi / 2, 5));
  // The chord runs from (10, 0) to (0, 10): x + y = 10.
  ExpectClicks(kEntSldC, 0,
               {{"beyond the chord", 6, 6, true, 0, 0},
                {"within half size inside the chord", 4.8, 4.8, true, 0, 0},
                {"more than half size inside the chord", 4.5, 4.5, false},
                {"near the centre", 2, 2, false},
                {"outside the range", -3, -3, false},
                {"near the start", 10.2, 0.1, true, 10, 0}});

  doc.EntSldC.clear();
  AddSolidC(SldC(0, 0, 10, 1, 0, 0, -kPi / 2, 5));
  ExpectClicks(kEntSldC, 0,
               {{"clockwise, beyond the chord", 6, -6, true, 0, 0},
                {"clockwise, near the centre", 2, -2, false}});
}

// The side of the chord away from the centre counts, whatever the sweep: over more than half a
// turn the part around the centre is not picked.
TEST_F(Picking, MajorSegmentCountsTheChordSideAwayFromTheCentre) {
  AddSolidC(SldC(0, 0, 10, 1, 0, 0, 3 * kPi / 2, 5));
  // The chord runs from (10, 0) to (0, -10): x - y = 10; the centre lies on its upper left.
  ExpectClicks(kEntSldC, 0,
               {{"at the centre", 0, 0, false},
                {"inside the range", -5, 5, false},
                {"on the curve", -10, 0.1, true, 0, 0},
                {"near the end", 0.1, -10.2, true, 0, -10}});
}

TEST_F(Picking, TangentShapeIsHitBetweenArcAndTangents) {
  AddSolidC(SldC(0, 0, 10, 1, 0, 0, kPi / 2, 1));
  // Tangents x = 10 at the start and y = 10 at the end meet at (10, 10).
  ExpectClicks(kEntSldC, 0,
               {{"near the corner", 10.2, 9.9, true, 10, 10},
                {"between arc and corner", 9, 9, true, 0, 0},
                {"on the arc", kR2, kR2, true, 0, 0},
                {"near the start", 10.2, 0.1, true, 10, 0},
                {"inside the circle", 5, 5, false},
                {"outside a tangent", 11, 5, false},
                {"outside the range", -9, -9, false}});
}

// Over half a turn the end tangents are parallel and the corner falls back to the centre; the
// lines count as parallel on a 1e-12 scale of their slopes, finer than the hatch engine's 1e-8.
TEST_F(Picking, TangentShapeCornerIsTheCentreWhenTangentsAreParallel) {
  struct Case {
    const char* name;
    double da;
    bool centre_is_corner;
  } cases[] = {{"half a turn", kPi, true},
               {"1e-14 more", kPi + 1e-14, true},
               {"1e-10 more", kPi + 1e-10, false},
               {"1e-3 more", kPi + 1e-3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.EntSldC.clear();
    AddSolidC(SldC(0, 0, 10, 1, 0, 0.3, c.da, 1));
    if (c.centre_is_corner) {
      ExpectClicks(kEntSldC, 0, {{"at the centre", 0.1, 0.1, true, 0, 0}});
    } else {
      ExpectClicks(kEntSldC, 0, {{"at the centre", 0.1, 0.1, false}});
    }
    ExpectClicks(kEntSldC, 0, {{"near the centre", 0.7, 0, false}});
  }
}

TEST_F(Picking, RingIsHitBetweenItsEllipsesOrAtItsEndPoints) {
  AddSolidO(SldD(0, 0, 10, 1, 0, 0, kPi / 2, 5));
  ExpectClicks(kEntSldO, 0,
               {{"between the ellipses", 5, 5, true, 0, 0},
                {"on the outer curve", kR2, kR2, true, 0, 0},
                {"near the outer start", 10.2, 0.1, true, 10, 0},
                {"near the outer end", 0.1, 10.2, true, 0, 10},
                {"near the inner start", 5.2, 0.1, true, 5, 0},
                {"near the inner end", 0.2, 4.9, true, 0, 5},
                {"inside the inner ellipse", 2, 2, false},
                {"outside the range", -5, -5, false},
                {"below the start", 8, -0.8, false}});
}

TEST_F(Picking, RingOfWholeTurnsIsFull) {
  struct Case {
    const char* name;
    double da;
    bool full;
  } cases[] = {{"one turn", kTwoPi, true},
               {"no sweep", 0, true},
               {"two turns back", -2 * kTwoPi, true},
               {"one and a half turns", 3 * kPi, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.EntSldO.clear();
    AddSolidO(SldD(0, 0, 10, 1, 0, 0, c.da, 5));
    ExpectClicks(kEntSldO, 0, {{"third quadrant", -5, -5, c.full, 0, 0}});
  }
}

// Similar inner ellipse (SldO): second semi-axis 6 * 0.5 = 3. Parallel inner ellipse (SldG): the
// outer difference of 5 kept, 6 - 5 = 1.
TEST_F(Picking, RingInnerEllipseSimilarOrParallel) {
  AddSolidO(SldD(0, 0, 10, 0.5, 0, 0, kTwoPi, 6));
  AddSolidG(SldD(30, 0, 10, 0.5, 0, 0, kTwoPi, 6));
  ExpectClicks(kEntSldO, 0,
               {{"inside the similar inner", 0, 2, false}, {"beyond it", 0, 2.8, true, 0, 0}});
  ExpectClicks(kEntSldG, 0,
               {{"beyond the parallel inner", 30, 2, true, 30, 0},
                {"inside it", 30, 0.4, false},
                {"outside the outer", 30, 5.6, false}});
}

TEST_F(Picking, ParallelRingWithoutInnerRadiusIsHitInside) {
  AddSolidG(SldD(0, 0, 10, 0.5, 0, 0, kTwoPi, 0));
  ExpectClicks(kEntSldG, 0, {{"on the first axis", 8, 0, true, 0, 0}, {"outside", 11, 0, false}});
}

// --- candidates ---

TEST_F(Picking, HiddenLayersAreSkipped) {
  AddPoint(0, 0, Att(1, 1, 1, 2));
  AddPoint(0.1, 0, Att(1, 1, 0, 0));
  attr.dspLay[16 * 1 + 2].sta = 3;
  Picked p = Pick(0, 0);
  EXPECT_EQ(p.etp, kEntPnt);
  EXPECT_EQ(p.eno, 1);
  for (int state : {0, 2, 4}) {
    attr.dspLay[16 * 1 + 2].sta = state;
    p = Pick(0, 0);
    EXPECT_EQ(p.eno, 0) << state;
  }
}

// Colour 9 is auxiliary for every kind, line type 9 for lines, circles, arcs and dimension lines.
TEST_F(Picking, AuxiliaryEntitiesTakePartOnlyWhileShown) {
  struct Case {
    const char* name;
    TEntAttr att;
    bool linear_hidden, other_hidden;
  } cases[] = {{"colour 9", Att(9, 1), true, true},
               {"line type 9", Att(1, 9), true, false},
               {"colour 8, line type 8", Att(8, 8), false, false},
               {"hidden layer", Att(1, 1, 3, 4), true, true}};
  for (const Case& c : cases) {
    for (int kind : kScanOrder) {
      const bool linear =
          kind == kEntLine || kind == kEntCirc || kind == kEntArc || kind == kEntDim;
      for (bool hojo : {true, false}) {
        SCOPED_TRACE(std::string(c.name) + ", kind " + std::to_string(kind) +
                     (hojo ? ", auxiliary shown" : ", auxiliary not shown"));
        doc.DataInit();
        attr.SetDefaultLayer();
        attr.dspLay[16 * 3 + 4].sta = 3;
        attr.SetDispHojo(hojo ? 1 : 0);
        double sx = 0, sy = 0;
        AddKindAt(kind, 0, 0, c.att, sx, sy);
        const bool by_layer = c.att.LGrp == 3;
        const bool hidden = by_layer || (!hojo && (linear ? c.linear_hidden : c.other_hidden));
        const Picked p = Pick(0, 0);
        EXPECT_EQ(p.hit, !hidden);
        EXPECT_EQ(p.etp, hidden ? 0 : kind);
      }
    }
  }
}

TEST_F(Picking, ExtremeLayerNumbersCountAsVisible) {
  AddPoint(0, 0, Att(1, 1, INT_MAX, INT_MAX));
  AddPoint(1, 0, Att(1, 1, INT_MIN, INT_MIN));
  attr.dspLay[0].sta = 3;
  attr.dspLay[255].sta = 3;
  EXPECT_EQ(Pick(0, 0).eno, 0);
  EXPECT_EQ(Pick(1, 0).eno, 1);
}

// The line part of a dimension by the line's attributes, the text point by the text's.
TEST_F(Picking, DimensionPartsGoByTheirOwnAttributes) {
  doc.LGrpScale[2] = 100;
  AddDim(1000, 0, 2000, 0, Att(1, 1, 2), 15, 30, Att(1, 1, 0));
  ExpectClicks(kEntDim, 0,
               {{"first line end", 10.1, 0, true, 10, 0},
                {"second line end", 20, 0.2, true, 20, 0},
                {"text point", 15, 30, true, 15, 30},
                {"stored line end", 1000, 0, false}});

  attr.SetDispHojo(0);
  struct Case {
    const char* name;
    TEntAttr line, text;
    bool line_hit, text_hit;
  } cases[] = {
      {"line of line type 9", Att(1, 9, 2), Att(1, 1), false, true},
      {"line of colour 9", Att(9, 1, 2), Att(1, 1), false, true},
      {"text of colour 9", Att(1, 1, 2), Att(9, 1), true, false},
      {"text of line type 9", Att(1, 1, 2), Att(1, 9), true, true},
      {"text on a hidden layer", Att(1, 1, 2), Att(1, 1, 0, 7), true, false},
  };
  attr.dspLay[7].sta = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.EntDim.clear();
    AddDim(1000, 0, 2000, 0, c.line, 15, 30, c.text);
    ExpectClicks(
        kEntDim, 0,
        {{"line end", 10, 0, c.line_hit, 10, 0}, {"text point", 15, 30, c.text_hit, 15, 30}});
  }
}

// --- scales and extreme values ---

TEST_F(Picking, CoordinatesAreDividedByTheLayerGroupScale) {
  doc.LGrpScale[2] = 100;
  doc.LGrpScale[3] = 0;
  doc.LGrpScale[4] = -5;
  AddPoint(1000, 500, Att(1, 1, 2));
  AddPoint(4, 4, Att(1, 1, 3));
  AddPoint(6, 6, Att(1, 1, 4));
  AddCircle(0, 100, 1000, Att(1, 1, 2));
  AddArc(0, 2000, 1000, 0, 90, 1, 0, Att(1, 1, 2));
  AddSolidO(SldD(0, 5000, 1000, 1, 0, 0, kTwoPi, 500, Att(1, 1, 2)));
  ExpectClicks(kEntPnt, 0, {{"scaled point", 10, 5, true, 10, 5}});
  ExpectClicks(kEntPnt, 1, {{"scale 0 counts as 1", 4, 4, true, 4, 4}});
  ExpectClicks(kEntPnt, 2,
               {{"negative scale divides as given", -1.2, -1.2, true, -1.2, -1.2},
                {"not where it is stored", 6, 6, false}});
  ExpectClicks(kEntCirc, 0,
               {{"scaled radius", 10.2, 1, true, 10, 1}, {"stored radius", 1000, 1, false}});
  ExpectClicks(kEntArc, 0, {{"scaled arc end", 0.2, 29.9, true, 0, 30}});
  ExpectClicks(kEntSldO, 0,
               {{"between scaled radii", 7, 50, true, 0, 50},
                {"inside the scaled inner radius", 3, 50, false}});

  doc.Zusun = true;
  ExpectClicks(kEntPnt, 0, {{"stored point with bz", 1000, 500, true, 1000, 500}});
  ExpectClicks(kEntCirc, 0, {{"stored radius with bz", 1000, 100, true, 1000, 100}});
}

// Divided by a negative scale, a group's entities are turned half a turn about the origin:
// curves are picked where they are drawn, their angular ranges turned with them.
TEST_F(Picking, ANegativeScaleTurnsCurvesAbout) {
  doc.LGrpScale[5] = -1;
  // Stored in the first quadrant of their centres, drawn in the third.
  AddArc(0, 0, 10, 0, 90, 1, 0, Att(1, 1, 5));
  AddSolidC(SldC(100, 0, 10, 1, 0, 0, kPi / 2, 0, Att(1, 1, 5)));
  // The upper half of a ring, drawn as the lower half around (0, -200).
  AddSolidO(SldD(0, 200, 10, 1, 0, 0, kPi, 5, Att(1, 1, 5)));
  ExpectClicks(kEntArc, 0,
               {{"on the drawn arc", -kR2, -kR2, true, 0, 0},
                {"at its drawn start", -10, 0.2, true, -10, 0},
                {"where it is stored", kR2, kR2, false}});
  ExpectClicks(kEntSldC, 0,
               {{"inside the drawn sector", -104, -4, true, -100, 0},
                {"the quadrant it would fill unturned", -96, 4, false}});
  ExpectClicks(kEntSldO, 0,
               {{"inside the drawn half ring", 0, -207.5, true, 0, -200},
                {"the half it would fill unturned", 0, -192.5, false}});
}

TEST_F(Picking, HugeCoordinatesNeitherOverflowNorHang) {
  AddLine(1e300, -1e300, -1e300, 1e300);
  AddPoint(1e308, 1e308, Att(1, 1, 1));
  doc.LGrpScale[1] = 1e-300;  // the point goes to infinity
  AddCircle(1e300, 0, 1e300);
  // The circle passes through the origin; its distance from the centre must not overflow.
  ExpectClicks(
      kEntCirc, 0,
      {{"on the huge circle", 0, 0, true, 1e300, 0}, {"far inside it", 1e300, 1e299, false}});
}

TEST_F(Picking, HugeAnglesNeitherHangNorLoseTheShape) {
  AddArc(0, 0, 10, 1e300, -1e300, 1, 1e300);
  AddSolidC(SldC(100, 0, 10, 1, 1e300, 1e300, -1e300, 100));
  AddSolidC(SldC(200, 0, 10, 1, 1e300, 1e300, 1e300, 0));
  AddSolidO(SldD(300, 0, 10, 1, 1e300, 1e300, 1e300, 5));
  EXPECT_FALSE(Pick(0, 50).hit);
  ExpectClicks(kEntSldC, 0, {{"inside the disc", 102, 3, true, 100, 0}});
  EXPECT_FALSE(Pick(200, 50).hit);
  ExpectClicks(kEntSldO, 0, {{"inside the ring of whole turns", 300, -7, true, 300, 0}});
}

// --- helpers shared with the shapes ---

double FoldAngleByLoop(double a) {
  while (a < 0) {
    a += kTwoPi;
  }
  while (a > kTwoPi) {
    a -= kTwoPi;
  }
  return a;
}

double FoldSweepByLoop(double a) {
  while (a < -kTwoPi) {
    a += kTwoPi;
  }
  while (a > kTwoPi) {
    a -= kTwoPi;
  }
  return a;
}

std::vector<double> SampleAngles(double turns, int n) {
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> any(-turns * kTwoPi, turns * kTwoPi);
  std::uniform_int_distribution<int> whole(static_cast<int>(-turns), static_cast<int>(turns));
  std::vector<double> values;
  for (int k = 0; k < n; ++k) {
    values.push_back(any(rng));
    values.push_back(whole(rng) * kTwoPi);
    values.push_back(whole(rng) * kTwoPi + any(rng) * 1e-14);
  }
  return values;
}

// Within 64 turns the folds step exactly like the loops, rounding at every step included.
TEST(FoldAngle, MatchesTheSteppingLoopsWithinSixtyFourTurns) {
  std::vector<double> values = SampleAngles(64, 20000);
  for (double a : {0.0, kTwoPi, -kTwoPi, 2 * kTwoPi, -2 * kTwoPi, kPi, -kPi, 3 * kPi, -3 * kPi,
                   1e-300, -1e-300, -1e-20, -5e-324, 64 * kTwoPi, -64 * kTwoPi}) {
    values.push_back(a);
  }
  for (double a : values) {
    if (std::fabs(a) > 64 * kTwoPi) continue;  // the samples' small offsets may step over
    const double angle = FoldAngle(a), sweep = FoldSweep(a);
    ASSERT_EQ(angle, FoldAngleByLoop(a)) << "a = " << a;
    ASSERT_EQ(sweep, FoldSweepByLoop(a)) << "a = " << a;
    ASSERT_GE(angle, 0.0);
    ASSERT_LE(angle, kTwoPi);
    ASSERT_GE(sweep, -kTwoPi);
    ASSERT_LE(sweep, kTwoPi);
  }
}

// Beyond, a remainder replaces the steps; it is exact, while every step of the loop may round.
TEST(FoldAngle, StaysWithinTheLoopsRoundingBeyond) {
  for (double a : SampleAngles(3000, 100)) {
    if (std::fabs(a) <= 64 * kTwoPi) continue;
    const double steps = std::fabs(a) / kTwoPi + 1;
    const double ulp = std::nextafter(std::fabs(a), 2 * std::fabs(a)) - std::fabs(a);
    const double tolerance = steps * ulp;
    const double angle = FoldAngle(a), sweep = FoldSweep(a);
    // Near a whole turn the loop and the remainder may land on either end of the range.
    const double angle_gap = std::fabs(angle - FoldAngleByLoop(a));
    EXPECT_TRUE(angle_gap <= tolerance || std::fabs(angle_gap - kTwoPi) <= tolerance) << a;
    const double sweep_gap = std::fabs(sweep - FoldSweepByLoop(a));
    EXPECT_TRUE(sweep_gap <= tolerance || std::fabs(sweep_gap - kTwoPi) <= tolerance) << a;
    EXPECT_GE(angle, 0.0);
    EXPECT_LE(angle, kTwoPi);
    EXPECT_GE(sweep, -kTwoPi);
    EXPECT_LE(sweep, kTwoPi);
  }
}

TEST(FoldAngle, WholeTurnsStopWhereTheLoopsStop) {
  EXPECT_EQ(FoldAngle(kTwoPi), kTwoPi);
  EXPECT_EQ(FoldAngle(2 * kTwoPi), kTwoPi);
  EXPECT_EQ(FoldAngle(-kTwoPi), 0.0);
  EXPECT_EQ(FoldAngle(128 * kTwoPi), kTwoPi);
  EXPECT_EQ(FoldAngle(-128 * kTwoPi), 0.0);
  EXPECT_EQ(FoldSweep(-2 * kTwoPi), -kTwoPi);
  EXPECT_EQ(FoldSweep(128 * kTwoPi), kTwoPi);
  EXPECT_EQ(FoldSweep(-128 * kTwoPi), -kTwoPi);
  EXPECT_EQ(FoldSweep(-kTwoPi), -kTwoPi);
}

TEST(FoldAngle, HugeAndNonFinite) {
  constexpr double kMax = std::numeric_limits<double>::max();
  for (double a : {1e17, -1e17, 1e300, -1e300, kMax, -kMax}) {
    const double angle = FoldAngle(a), sweep = FoldSweep(a);
    EXPECT_GE(angle, 0.0) << a;
    EXPECT_LE(angle, kTwoPi) << a;
    EXPECT_GE(sweep, -kTwoPi) << a;
    EXPECT_LE(sweep, kTwoPi) << a;
  }
  constexpr double kInf = std::numeric_limits<double>::infinity();
  for (double a : {kInf, -kInf, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_TRUE(std::isnan(FoldAngle(a))) << a;
    EXPECT_TRUE(std::isnan(FoldSweep(a))) << a;
  }
}

// A difference counts as zero when Int(v / 1e-12 + 0.5) = 0: for -1.5e-12 < v < 0.5e-12.
TEST(LineCross, ParallelVerticalAndBoundingBoxes) {
  struct Case {
    const char* name;
    double x1, y1, x2, y2, x3, y3, x4, y4;
    int result;
    double X, Y;
  } cases[] = {
      {"crossing", 0, 0, 2, 2, 0, 2, 2, 0, 1, 1, 1},
      {"crossing beyond a segment", 0, 0, 1, 1, 3, 0, 3, 5, 2, 3, 3},
      {"both vertical", 0, 0, 0, 5, 1, 0, 1, 5, 0, 0, 0},
      {"parallel", 0, 0, 1, 0, 0, 1, 1, 1, 0, 0, 0},
      {"first vertical", 2, -1, 2, 1, 0, 0, 4, 2, 1, 2, 1},
      {"second vertical", 0, 0, 4, 2, 2, -1, 2, 1, 1, 2, 1},
      {"x1 - x2 = -1.4e-12 is vertical", 0, 0, 1.4e-12, 10, -1, 5, 1, 5, 1, 0, 5},
      {"x1 - x2 = 0.4e-12 is vertical", 0, 0, -0.4e-12, 10, -1, 5, 1, 5, 1, 0, 5},
      {"x1 - x2 = 0.6e-12 is not", 0, 0, -0.6e-12, 10, -1, 5, 1, 5, 1, -3e-13, 5},
      {"x1 - x2 = -1.6e-12 is not", 0, 0, 1.6e-12, 10, -1, 5, 1, 5, 1, 8e-13, 5},
      {"slopes 0.4e-12 apart are parallel", 0, 0, 1, 1, 0, 1, 1, 2 - 0.4e-12, 0, 0, 0},
      {"slopes -1.4e-12 apart are parallel", 0, 0, 1, 1, 0, 1, 1, 2 + 1.4e-12, 0, 0, 0},
      {"slopes 0.6e-12 apart are not", 0, 0, 1, 1, 0, 1, 1, 2 - 0.6e-12, 2, 1 / 0.6e-12,
       1 / 0.6e-12},
      {"slopes -1.6e-12 apart are not", 0, 0, 1, 1, 0, 1, 1, 2 + 1.6e-12, 2, -1 / 1.6e-12,
       -1 / 1.6e-12},
      {"crossing 0.5e-12 beyond an end", 0, 0, 1, 0, 1 + 0.5e-12, -1, 1 + 0.5e-12, 1, 1,
       1 + 0.5e-12, 0},
      {"crossing 2e-12 beyond an end", 0, 0, 1, 0, 1 + 2e-12, -1, 1 + 2e-12, 1, 2, 1 + 2e-12, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    double X = kUntouched, Y = kUntouched;
    EXPECT_EQ(LineCross(X, Y, c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4), c.result);
    if (c.result == 0) {
      EXPECT_EQ(X, kUntouched);
      EXPECT_EQ(Y, kUntouched);
      continue;
    }
    // The slopes near 1e-12 carry the rounding of their end points: a relative 1e-3.
    EXPECT_NEAR(X, c.X, std::fabs(c.X) * 1e-3 + 1e-15);
    EXPECT_NEAR(Y, c.Y, std::fabs(c.Y) * 1e-3 + 1e-12);
  }
}

}  // namespace
}  // namespace vardo
