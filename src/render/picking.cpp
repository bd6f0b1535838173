// Element picking: the scan over the entity tables and the hit tests of every shape.
#include "render/picking.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <vector>

#include "common/geometry.h"

namespace vardo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kCrossTol = 1e-12;

// Stepping by 2*pi rounds at every step that is not exact, so no remainder reproduces a loop of
// many steps bit for bit. The loops therefore run as written over the few turns real angles make;
// only beyond this bound, where they would take long or (once 2*pi falls below the value's
// precision) never end, an exact remainder first brings the angle within one turn.
constexpr double kSteppedRange = 64 * kTwoPi;

// The angle itself when within the stepped range; otherwise its remainder by 2*pi, with an exact
// multiple mapped to +-2*pi, where stepping would stop on its way towards zero.
double WithinSteppedRange(double a) {
  if (!(std::fabs(a) > kSteppedRange)) return a;
  const double r = std::fmod(a, kTwoPi);
  return r == 0 ? std::copysign(kTwoPi, a) : r;
}

// v counts as zero when Int(v / 1e-12 + 0.5) = 0, Int truncating toward zero: true exactly for
// -1 < t < 1, compared without converting to an integer (undefined for NaN and huge values).
bool CountsAsZero(double v) {
  const double t = v / kCrossTol + 0.5;
  return t > -1.0 && t < 1.0;
}

bool WithinSpan(double v, double a, double b) {
  return v >= std::min(a, b) - kCrossTol && v <= std::max(a, b) + kCrossTol;
}

struct Pt {
  double x = 0, y = 0;
};

// The pick square: centre q, half size h.
struct Probe {
  Pt q;
  double h = 0;
};

struct Snap {
  bool hit = false;
  Pt p;
};

Snap Hit(Pt p) {
  return {true, p};
}

constexpr Snap kMiss{};

// Centre c, first semi-axis r along the direction tilt, second semi-axis b (r times the
// flatness): the point at parameter t is c + R(tilt)·(r·cos t, b·sin t).
struct Ellipse {
  Pt c;
  double r = 0, b = 0, tilt = 0;
};

// The part of an ellipse from parameter start over sweep (negative = clockwise).
struct Arc {
  Ellipse e;
  double start = 0, sweep = 0;
};

bool PickBox(Pt p, const Probe& pr) {
  return std::fabs(p.x - pr.q.x) <= pr.h && std::fabs(p.y - pr.q.y) <= pr.h;
}

Pt PointAt(const Ellipse& e, double t) {
  const double u = e.r * std::cos(t), v = e.b * std::sin(t);
  return {e.c.x + RotX(u, v, 0, 0, e.tilt), e.c.y + RotY(u, v, 0, 0, e.tilt)};
}

// The pick point as seen from an ellipse's centre: distance d, and a, its direction from the
// first axis as the parameter angle whose point lies that way. A negative first semi-axis (a
// radius divided by a negative layer-group scale) puts the point of parameter t opposite its
// direction, so such an ellipse's parameter is the direction plus half a turn.
// hypot rather than a root of squares: coordinates near 1e300 must not overflow to infinity.
struct Bearing {
  double d = 0, a = 0;
};

Bearing BearingOf(const Ellipse& e, Pt q) {
  const double dx = q.x - e.c.x, dy = q.y - e.c.y;
  const double a = LineAngle(dx, dy) - e.tilt;
  return {std::hypot(dx, dy), e.r < 0 ? a + kPi : a};
}

// The radius the distance is compared with: |(r·cos a, b·sin a)|.
double RadiusAt(const Ellipse& e, double a) {
  return std::hypot(e.r * std::cos(a), e.b * std::sin(a));
}

bool OffOutline(double rho, double h, double d) {
  return rho - h > d || rho + h < d;
}

bool InAngularRange(double a, double start, double sweep) {
  const double lo = sweep >= 0 ? start : start + sweep;
  const double hi = sweep >= 0 ? start + sweep : start;
  return FoldAngle(hi - lo) >= FoldAngle(a - lo);
}

Pt StartOf(const Arc& arc) {
  return PointAt(arc.e, arc.start);
}

Pt EndOf(const Arc& arc) {
  return PointAt(arc.e, arc.start + arc.sweep);
}

bool PickEnds(const Arc& arc, const Probe& pr) {
  return PickBox(StartOf(arc), pr) || PickBox(EndOf(arc), pr);
}

// Signed distance of q from the line p1 -> p2, positive to its left.
double LineSide(Pt p1, Pt p2, Pt q) {
  const double al = LineAngle(p2.x - p1.x, p2.y - p1.y);
  return -std::sin(al) * (q.x - p1.x) + std::cos(al) * (q.y - p1.y);
}

// Whether the pick square lies clear of the ellipse's box grown by its half size, with room for
// rounding: every point of the curve lies within the larger semi-axis of the centre, so then
// neither a point of it nor its outline can be hit. Most curves of a drawing are far from a
// click, and this spares them the trigonometry. Not a number anywhere leaves it to the full test.
bool ClearOf(const Ellipse& e, const Probe& pr) {
  const double reach = std::max(std::fabs(e.r), std::fabs(e.b)) + pr.h;
  const double dx = std::fabs(pr.q.x - e.c.x), dy = std::fabs(pr.q.y - e.c.y);
  const double slack = 1e-9 * (reach + std::fabs(e.c.x) + std::fabs(e.c.y) + dx + dy);
  return dx > reach + slack || dy > reach + slack;
}

Snap PickEllipse(const Ellipse& e, const Probe& pr) {
  if (ClearOf(e, pr)) return kMiss;
  const Bearing q = BearingOf(e, pr.q);
  if (OffOutline(RadiusAt(e, q.a), pr.h, q.d)) return kMiss;
  for (double t : {0.0, kPi / 2, kPi, 3 * kPi / 2}) {
    const Pt p = PointAt(e, t);
    if (PickBox(p, pr)) return Hit(p);
  }
  return Hit(e.c);
}

// End points first; on the curve itself the snap point is the centre.
Snap PickArc(const Arc& arc, const Probe& pr) {
  if (ClearOf(arc.e, pr)) return kMiss;
  const Pt s = StartOf(arc);
  if (PickBox(s, pr)) return Hit(s);
  const Pt e = EndOf(arc);
  if (PickBox(e, pr)) return Hit(e);
  const Bearing q = BearingOf(arc.e, pr.q);
  if (OffOutline(RadiusAt(arc.e, q.a), pr.h, q.d)) return kMiss;
  if (!InAngularRange(q.a, arc.start, arc.sweep)) return kMiss;
  return Hit(arc.e.c);
}

Snap PickCurve(bool full, const Arc& arc, const Probe& pr) {
  const double sweep = FoldSweep(arc.sweep);
  if (full || std::fabs(sweep) < 1e-12 || std::fabs(sweep - kTwoPi) < 1e-12) {
    return PickEllipse(arc.e, pr);
  }
  return PickArc({arc.e, arc.start, sweep}, pr);
}

bool InEllipse(const Ellipse& e, const Probe& pr) {
  const Bearing q = BearingOf(e, pr.q);
  return RadiusAt(e, q.a) + pr.h >= q.d;
}

bool InSector(const Arc& arc, const Probe& pr) {
  const Bearing q = BearingOf(arc.e, pr.q);
  if (RadiusAt(arc.e, q.a) + pr.h < q.d) return false;
  if (InAngularRange(q.a, arc.start, arc.sweep)) return true;
  return PickEnds(arc, pr);
}

// The segment lies on the side of the chord where the arc runs, judged by the arc's middle point.
// (Judged by the centre, as the side away from it, it would hold only below half a turn: beyond,
// the centre lies inside the segment, and so does the triangle between the centre and the chord,
// outside the angular range.)
bool InSegment(const Arc& arc, const Probe& pr) {
  const Bearing q = BearingOf(arc.e, pr.q);
  if (RadiusAt(arc.e, q.a) + pr.h < q.d) return false;
  if (!InAngularRange(q.a, arc.start, arc.sweep)) return PickEnds(arc, pr);
  // The segment lies on the chord's far side from the centre.
  const Pt s = StartOf(arc), e = EndOf(arc);
  const double sc = LineSide(s, e, arc.e.c), sq = LineSide(s, e, pr.q);
  return (sc >= 0 && sq <= pr.h) || (sc < 0 && sq >= -pr.h);
}

// The arc's end points and the corner k where the tangents at them meet (the centre when the
// tangents are parallel).
struct Corners {
  Pt s, e, k;
};

Corners TangentCorner(const Arc& arc) {
  Corners c{StartOf(arc), EndOf(arc), arc.e.c};
  const double ta = arc.start + arc.e.tilt + kPi / 2;
  const double tb = arc.start + arc.sweep + arc.e.tilt - kPi / 2;
  double x = 0, y = 0;
  if (LineCross(x, y, c.s.x, c.s.y, c.s.x + 10 * std::cos(ta), c.s.y + 10 * std::sin(ta), c.e.x,
                c.e.y, c.e.x + 10 * std::cos(tb), c.e.y + 10 * std::sin(tb)) != 0) {
    c.k = {x, y};
  }
  return c;
}

// The region between the arc and its two end tangents: outside the ellipse, inside the tangents.
bool InTangentShape(const Arc& arc, const Corners& c, const Probe& pr) {
  const Bearing q = BearingOf(arc.e, pr.q);
  if (RadiusAt(arc.e, q.a) - pr.h > q.d) return false;
  if (!InAngularRange(q.a, arc.start, arc.sweep)) return PickEnds(arc, pr);
  const double sc = LineSide(c.s, c.e, arc.e.c);
  const double s1 = LineSide(c.s, c.k, pr.q), s2 = LineSide(c.k, c.e, pr.q);
  const double h = pr.h;
  return (sc >= 0 && s1 >= -h && s2 >= -h) || (sc < 0 && s1 <= h && s2 <= h);
}

// Between the inner and the outer ellipse (same centre and tilt) and within the range; a sweep of
// whole turns is a full ring.
bool InRing(const Arc& outer, const Arc& inner, const Probe& pr) {
  const Bearing q = BearingOf(outer.e, pr.q);
  if (!(RadiusAt(outer.e, q.a) + pr.h >= q.d && RadiusAt(inner.e, q.a) - pr.h <= q.d)) {
    return false;
  }
  const double turns = std::fabs(outer.sweep) / kTwoPi;
  if (turns - std::floor(turns) < 1e-12) return true;
  if (InAngularRange(q.a, outer.start, outer.sweep)) return true;
  return PickEnds(outer, pr) || PickEnds(inner, pr);
}

// A filled shape is hit anywhere inside; it snaps to what its outline offers, else to its centre.
Snap PickFilled(bool inside, Snap outline, Pt centre) {
  if (!inside) return outline;
  return Hit(outline.hit ? outline.p : centre);
}

Snap PickDisc(const Ellipse& e, const Probe& pr) {
  return PickFilled(InEllipse(e, pr), PickEllipse(e, pr), e.c);
}

Snap PickSector(const Arc& arc, const Probe& pr) {
  return PickFilled(InSector(arc, pr), PickArc(arc, pr), arc.e.c);
}

Snap PickSegment(const Arc& arc, const Probe& pr) {
  return PickFilled(InSegment(arc, pr), PickArc(arc, pr), arc.e.c);
}

Snap PickTangentShape(const Arc& arc, const Probe& pr) {
  const Corners c = TangentCorner(arc);
  for (const Pt& p : {c.s, c.e, c.k}) {
    if (PickBox(p, pr)) return Hit(p);
  }
  return PickFilled(InTangentShape(arc, c, pr), PickArc(arc, pr), arc.e.c);
}

// Only the end points of the two arcs count as their snap points; inside the ring the snap point
// is the centre.
Snap PickRing(const Arc& outer, const Arc& inner, const Probe& pr) {
  const Pt c = outer.e.c;
  for (const Arc* arc : {&outer, &inner}) {
    const Snap s = PickArc(*arc, pr);
    if (s.hit && !IsSamePoint(s.p.x, s.p.y, c.x, c.y)) return s;
  }
  return InRing(outer, inner, pr) ? Hit(c) : kMiss;
}

// --- the entity kinds ---

class Picker {
 public:
  Picker(const TJGdata& doc, const TgraAttribute& attr, Probe pr)
      : doc_(doc), attr_(attr), pr_(pr) {}

  // The kinds in their fixed order; the first hit ends the search.
  bool Run(int& etp, int& eno, Snap& snap) const {
    return Scan(doc_.EntPnt, kEntPnt, &Picker::Point, etp, eno, snap) ||
           Scan(doc_.EntMark, kEntMark, &Picker::Mark, etp, eno, snap) ||
           Scan(doc_.EntLine, kEntLine, &Picker::Line, etp, eno, snap) ||
           Scan(doc_.EntCirc, kEntCirc, &Picker::Circle, etp, eno, snap) ||
           Scan(doc_.EntArc, kEntArc, &Picker::ArcEntity, etp, eno, snap) ||
           Scan(doc_.EntText, kEntText, &Picker::Text, etp, eno, snap) ||
           Scan(doc_.EntDim, kEntDim, &Picker::Dim, etp, eno, snap) ||
           Scan(doc_.EntSld2, kEntSld2, &Picker::Solid2, etp, eno, snap) ||
           Scan(doc_.EntSld3, kEntSld3, &Picker::Solid3, etp, eno, snap) ||
           Scan(doc_.EntSld4, kEntSld4, &Picker::Solid4, etp, eno, snap) ||
           Scan(doc_.EntSldC, kEntSldC, &Picker::SolidC, etp, eno, snap) ||
           Scan(doc_.EntSldE, kEntSldE, &Picker::SolidE, etp, eno, snap) ||
           Scan(doc_.EntSldO, kEntSldO, &Picker::SolidO, etp, eno, snap) ||
           Scan(doc_.EntSldG, kEntSldG, &Picker::SolidG, etp, eno, snap);
  }

 private:
  // linear: lines, circles, arcs and dimension lines, which are auxiliary by line type 9 too.
  bool IsCandidate(const TEntAttr& att, bool linear) const {
    const int64_t layer = int64_t{16} * att.LGrp + att.Lay;
    const bool in_range = layer >= std::numeric_limits<int32_t>::min() &&
                          layer <= std::numeric_limits<int32_t>::max();
    if (attr_.GetAttrLayerState(in_range ? static_cast<int32_t>(layer) : -1) == 3) return false;
    if (attr_.GetDispHojo() != 0) return true;
    return att.Col != 9 && !(linear && att.Ltp == 9);
  }

  // The first of the stored points (x, y pairs) that lies in the pick square.
  Snap PickPoints(const TEntAttr& att, std::initializer_list<Pt> stored) const {
    const double s = doc_.ScaleOf(att.LGrp);
    for (const Pt& p : stored) {
      const Pt w{p.x / s, p.y / s};
      if (PickBox(w, pr_)) return Hit(w);
    }
    return kMiss;
  }

  Snap Point(const TEntPnt& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    return PickPoints(e.att, {{e.px, e.py}});
  }

  Snap Mark(const TEntMark& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    return PickPoints(e.att, {{e.px, e.py}});
  }

  Snap Line(const TEntLine& e) const {
    if (!IsCandidate(e.att, true)) return kMiss;
    return PickPoints(e.att, {{e.x1, e.y1}, {e.x2, e.y2}});
  }

  Snap Circle(const TEntCircle& e) const {
    if (!IsCandidate(e.att, true)) return kMiss;
    const double s = doc_.ScaleOf(e.att.LGrp);
    const double r = e.cr / s;
    return PickCurve(true, {{{e.cx / s, e.cy / s}, r, r, 0}, 0, kTwoPi}, pr_);
  }

  Snap ArcEntity(const TEntArc& e) const {
    if (!IsCandidate(e.att, true)) return kMiss;
    const double s = doc_.ScaleOf(e.att.LGrp);
    const double start = NormalizeDeg(e.sa), sweep = NormalizeDeg(e.ea - e.sa);
    const double r = e.cr / s;
    const Ellipse el{{e.cx / s, e.cy / s}, r, r * e.he, e.ka / 180 * kPi};
    return PickCurve(sweep <= 1e-10, {el, start / 180 * kPi, sweep / 180 * kPi}, pr_);
  }

  // The stored start point, not where the base point puts the text.
  Snap Text(const TEntText& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    return PickPoints(e.att, {{e.x1, e.y1}});
  }

  // The line and the text point each by their own attributes.
  Snap Dim(const TEntDim& e) const {
    if (IsCandidate(e.lin.att, true)) {
      const Snap s = PickPoints(e.lin.att, {{e.lin.x1, e.lin.y1}, {e.lin.x2, e.lin.y2}});
      if (s.hit) return s;
    }
    if (!IsCandidate(e.txt.att, false)) return kMiss;
    return PickPoints(e.txt.att, {{e.txt.x1, e.txt.y1}});
  }

  Snap Solid2(const TEntSld2& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    return PickPoints(e.att, {{e.x1, e.y1}, {e.x2, e.y2}});
  }

  Snap Solid3(const TEntSld3& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    return PickPoints(e.att, {{e.x1, e.y1}, {e.x2, e.y2}, {e.x3, e.y3}});
  }

  Snap Solid4(const TEntSld4& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    return PickPoints(e.att, {{e.x1, e.y1}, {e.x2, e.y2}, {e.x3, e.y3}, {e.x4, e.y4}});
  }

  Snap SolidC(const TEntSldC& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    const Arc arc = OuterArc(e);
    switch (e.fl) {
      case 100:
        return PickDisc(arc.e, pr_);
      case 0:
        return PickSector(arc, pr_);
      case 5:
        return PickSegment(arc, pr_);
      default:
        return PickTangentShape(arc, pr_);
    }
  }

  Snap SolidE(const TEntSldC& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    const Arc arc = OuterArc(e);
    return e.fl != 0 ? PickEllipse(arc.e, pr_) : PickArc(arc, pr_);
  }

  // Inner ellipse similar to the outer one.
  Snap SolidO(const TEntSldD& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    const Arc outer = OuterArc(e);
    const double ri = e.ri / doc_.ScaleOf(e.att.LGrp);
    return PickRing(outer, InnerArc(outer, ri, ri * e.he), pr_);
  }

  // Inner ellipse with the outer one's difference between its semi-axes. The inner flatness
  // (flat·r − r) / ri + 1 times ri is that second semi-axis; taken directly, it needs no division
  // by an inner radius that may be 0.
  Snap SolidG(const TEntSldD& e) const {
    if (!IsCandidate(e.att, false)) return kMiss;
    const Arc outer = OuterArc(e);
    const double ri = e.ri / doc_.ScaleOf(e.att.LGrp);
    return PickRing(outer, InnerArc(outer, ri, outer.e.b - outer.e.r + ri), pr_);
  }

  // One table from index 0; the kind goes to etp before the scan.
  template <class Entity>
  bool Scan(const std::vector<Entity>& table, int kind, Snap (Picker::*test)(const Entity&) const,
            int& etp, int& eno, Snap& snap) const {
    etp = kind;
    for (size_t i = 0; i < table.size(); ++i) {
      snap = (this->*test)(table[i]);
      if (!snap.hit) continue;
      eno = static_cast<int>(i);
      return true;
    }
    return false;
  }

  template <class Solid>
  Arc OuterArc(const Solid& e) const {
    const double s = doc_.ScaleOf(e.att.LGrp);
    const double r = e.cr / s;
    return {{{e.cx / s, e.cy / s}, r, r * e.he, e.ka}, e.sa, e.da};
  }

  static Arc InnerArc(const Arc& outer, double ri, double bi) {
    return {{outer.e.c, ri, bi, outer.e.tilt}, outer.start, outer.sweep};
  }

  const TJGdata& doc_;
  const TgraAttribute& attr_;
  Probe pr_;
};

}  // namespace

bool GetElement2(const TJGdata& doc, const TgraAttribute& attr, double srx, double sry, double sra,
                 int& etp, int& eno, double& picx, double& picy) {
  Snap snap;
  if (!Picker(doc, attr, {{srx, sry}, sra}).Run(etp, eno, snap)) {
    etp = 0;
    eno = 0;
    return false;
  }
  picx = snap.p.x;
  picy = snap.p.y;
  return true;
}

double FoldAngle(double a) {
  a = WithinSteppedRange(a);
  while (a < 0) {
    a += kTwoPi;
  }
  while (a > kTwoPi) {
    a -= kTwoPi;
  }
  return a;
}

double FoldSweep(double a) {
  a = WithinSteppedRange(a);
  while (a < -kTwoPi) {
    a += kTwoPi;
  }
  while (a > kTwoPi) {
    a -= kTwoPi;
  }
  return a;
}

// No division below is by an exact zero: every divisor was first found not to count as zero, and
// 0 always counts as zero.
int LineCross(double& X, double& Y, double x1, double y1, double x2, double y2, double x3,
              double y3, double x4, double y4) {
  const bool first_vertical = CountsAsZero(x1 - x2);
  const bool second_vertical = CountsAsZero(x3 - x4);
  if (first_vertical && second_vertical) return 0;

  double cx = 0, cy = 0;
  if (first_vertical) {
    const double m2 = (y4 - y3) / (x4 - x3);
    cx = x1;
    cy = y3 + (x1 - x3) * m2;
  } else if (second_vertical) {
    const double m1 = (y2 - y1) / (x2 - x1);
    cx = x3;
    cy = y1 + (x3 - x1) * m1;
  } else {
    const double m1 = (y2 - y1) / (x2 - x1), m2 = (y4 - y3) / (x4 - x3);
    const double b1 = y1 - m1 * x1, b2 = y3 - m2 * x3;
    if (CountsAsZero(m1 - m2)) return 0;
    cx = (b2 - b1) / (m1 - m2);
    cy = m1 * cx + b1;
  }
  X = cx;
  Y = cy;
  const bool on_first = WithinSpan(cx, x1, x2) && WithinSpan(cy, y1, y2);
  const bool on_second = WithinSpan(cx, x3, x4) && WithinSpan(cy, y3, y4);
  return on_first && on_second ? 1 : 2;
}

}  // namespace vardo
