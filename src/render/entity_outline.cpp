// Exact outlines of the entities the renderer draws in solid black, kind by kind as it draws
// them: the same scales, angles and figures, the curves as curves rather than chords.
#include "render/entity_outline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/geometry.h"
#include "render/renderer.h"

namespace vardo {

namespace {

constexpr double kPi = std::numbers::pi;

double Radians(double degrees) {
  return degrees / 180 * kPi;
}

bool Finite(const TGraph_Point& p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// The point of the ellipse at parameter angle t, turned as the renderer turns it.
TGraph_Point EllipsePoint(double cx, double cy, double a, double b, double tilt, double t) {
  const double p = a * std::cos(t), q = b * std::sin(t);
  return {cx + (std::cos(tilt) * p - std::sin(tilt) * q),
          cy + (std::sin(tilt) * p + std::cos(tilt) * q)};
}

// The least and greatest cosine over the angles start .. start + sweep (sweep >= 0).
void CosineRange(double start, double sweep, bool full, double& lo, double& hi) {
  if (full) {
    lo = -1;
    hi = 1;
    return;
  }
  const double end = start + sweep;
  lo = std::min(std::cos(start), std::cos(end));
  hi = std::max(std::cos(start), std::cos(end));
  if (std::ceil(start / (2 * kPi)) * 2 * kPi <= end) hi = 1;
  if (std::ceil((start - kPi) / (2 * kPi)) * 2 * kPi + kPi <= end) lo = -1;
}

class Outline {
 public:
  explicit Outline(std::vector<OutlineShape>& out) : out_(out) {}

  void Segment(const TGraph_Point& p1, const TGraph_Point& p2) {
    if (!Finite(p1) || !Finite(p2) || (p1.x == p2.x && p1.y == p2.y)) return;
    OutlineShape s;
    s.p1 = p1;
    s.p2 = p2;
    out_.push_back(s);
  }

  // The edges of a closed ring, as a filled polygon is outlined.
  void Ring(const TGraph_Point* p, int n) {
    if (n < 3) return;
    for (int i = 0; i < n; ++i)
      Segment(p[i], p[(i + 1) % n]);
  }

  // The arc drawn as GraArc (or, when full, GraEllipse) draws it in chords.
  void Ellipse(double cx, double cy, double a, double b, double tilt, double start, double sweep,
               bool full) {
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(a) || !std::isfinite(b) ||
        !std::isfinite(tilt) || !std::isfinite(start) || !std::isfinite(sweep)) {
      return;
    }
    if (sweep < 0) {
      start += sweep;
      sweep = -sweep;
    }
    if (sweep >= 2 * kPi) full = true;
    if (a == 0 && b == 0) return;
    if (a == 0 || b == 0) {
      // Flattened to a line: the stretch of the other axis the angles cover.
      const bool along_x = b == 0;
      const double shift = along_x ? 0 : kPi / 2;
      double lo = 0, hi = 0;
      CosineRange(start - shift, sweep, full, lo, hi);
      const double r = along_x ? a : b;
      const double t1 = along_x ? 0 : kPi / 2;
      Segment(EllipsePoint(cx, cy, r * lo, r * lo, tilt, t1),
              EllipsePoint(cx, cy, r * hi, r * hi, tilt, t1));
      return;
    }
    OutlineShape s;
    s.kind = OutlineShape::Kind::Ellipse;
    s.cx = cx;
    s.cy = cy;
    s.a = a;
    s.b = b;
    s.tilt = tilt;
    s.start = full ? 0 : start;
    s.sweep = full ? 2 * kPi : sweep;
    s.full = full;
    const double step = full ? kEllipseChordStep : sweep / kEllipseChords;
    s.chord_gap = std::max(std::fabs(a), std::fabs(b)) * (1 - std::cos(std::min(step, kPi) / 2));
    out_.push_back(s);
  }

  // GraSolidArc's shapes: kind and extra as it takes them.
  void SolidArc(int kind, double cx, double cy, double r, double flat, double tilt, double start,
                double sweep, double extra) {
    const double b = r * flat;
    const bool whole = std::fabs(extra - 100) <= 1e-12;
    if ((kind == kSolidArcFilled || kind == kSolidArcOutline) && whole) {
      Ellipse(cx, cy, r, b, tilt, 0, 0, true);
      return;
    }
    if (kind != kSolidArcFilled && kind != kSolidArcOutline && kind != kSolidArcRing &&
        kind != kSolidArcRingParallel) {
      return;
    }
    Ellipse(cx, cy, r, b, tilt, start, sweep, false);
    if (kind == kSolidArcOutline) return;
    const TGraph_Point a0 = EllipsePoint(cx, cy, r, b, tilt, start);
    const TGraph_Point a72 = EllipsePoint(cx, cy, r, b, tilt, start + sweep);
    if (kind == kSolidArcFilled) {
      if (std::fabs(extra) <= 1e-12) {
        Segment(a72, {cx, cy});
        Segment({cx, cy}, a0);
      } else if (std::fabs(extra - 5) <= 1e-12) {
        Segment(a72, a0);
      } else {
        const TGraph_Point k = SolidArcCorner(cx, cy, a0, a72, tilt, start, sweep);
        Segment(a72, k);
        Segment(k, a0);
      }
      return;
    }
    const double ri = extra;
    const double inner_b = kind == kSolidArcRing ? ri * flat : b - r + ri;
    Ellipse(cx, cy, ri, inner_b, tilt, start, sweep, false);
    Segment(a72, EllipsePoint(cx, cy, ri, inner_b, tilt, start + sweep));
    Segment(EllipsePoint(cx, cy, ri, inner_b, tilt, start), a0);
  }

  void Mark(const MarkFigure& f) {
    for (int i = 0; i < f.count; ++i) {
      const MarkPart& part = f.parts[static_cast<size_t>(i)];
      const TGraph_Point& c = part.p[0];
      switch (part.kind) {
        case MarkPartKind::Line:
          Segment(part.p[0], part.p[1]);
          break;
        case MarkPartKind::Circle:
          Ellipse(c.x, c.y, part.r, part.r, 0, 0, 0, true);
          break;
        case MarkPartKind::Arc:
          Ellipse(c.x, c.y, part.r, part.r, part.tilt, part.start, part.sweep, false);
          break;
        case MarkPartKind::Polygon:
          Ring(part.p.data(), part.n);
          break;
      }
    }
  }

 private:
  std::vector<OutlineShape>& out_;
};

template <typename Entity>
const Entity* At(const std::vector<Entity>& table, size_t index) {
  return index < table.size() ? &table[index] : nullptr;
}

void LineOutline(const TJGdata& doc, const TgraAttribute& attr, const TEntLine& e, Outline& o) {
  if (!LineDrawnBlack(attr, e.att)) return;
  const double s = doc.ScaleOf(e.att.LGrp);
  o.Segment({e.x1 / s, e.y1 / s}, {e.x2 / s, e.y2 / s});
}

template <typename Solid>
bool SolidBlack(const TgraAttribute& attr, const Solid& e) {
  return SolidColour(attr, e.att, e.Color) == 0;
}

// What GraSolidArc takes besides the shape: the flag of "sc" and "se" solids, the inner radius
// of "so" and "sg" ones (a length, so scaled like the others).
double SolidArcExtra(const TEntSldC& e, double) {
  return e.fl;
}
double SolidArcExtra(const TEntSldD& e, double s) {
  return e.ri / s;
}

template <typename Solid>
void SolidArcOutline(const TJGdata& doc, const TgraAttribute& attr, const Solid* e, int kind,
                     Outline& o) {
  if (!e || !SolidBlack(attr, *e)) return;
  const double s = doc.ScaleOf(e->att.LGrp);
  o.SolidArc(kind, e->cx / s, e->cy / s, e->cr / s, e->he, e->ka, e->sa, e->da,
             SolidArcExtra(*e, s));
}

}  // namespace

void AppendBlackOutline(const TJGdata& doc, const TgraAttribute& attr, const ViewState& view,
                        EntityTable table, size_t i, std::vector<OutlineShape>& out) {
  Outline o(out);
  switch (table) {
    case kTableLine:
      if (const TEntLine* e = At(doc.EntLine, i)) LineOutline(doc, attr, *e, o);
      return;
    case kTableCirc:
      if (const TEntCircle* e = At(doc.EntCirc, i); e && LineDrawnBlack(attr, e->att)) {
        const double s = doc.ScaleOf(e->att.LGrp);
        o.Ellipse(e->cx / s, e->cy / s, e->cr / s, e->cr / s, 0, 0, 0, true);
      }
      return;
    case kTableArc:
      if (const TEntArc* e = At(doc.EntArc, i); e && LineDrawnBlack(attr, e->att)) {
        const double s = doc.ScaleOf(e->att.LGrp);
        const double r = e->cr / s;
        const double sweep = NormalizeDeg(e->ea - e->sa);
        const bool full = std::fabs(sweep) <= 1e-10;
        o.Ellipse(e->cx / s, e->cy / s, r, r * e->he, Radians(e->ka), Radians(NormalizeDeg(e->sa)),
                  Radians(sweep), full);
      }
      return;
    case kTablePnt:
      if (const TEntPnt* e = At(doc.EntPnt, i); e && MarkDrawnBlack(attr, e->att)) {
        const double s = doc.ScaleOf(e->att.LGrp);
        o.Mark(MarkFigureOf(attr, view.ViewScale, 0, e->att.Wid, e->att.Col, 1, 0, e->px / s,
                            e->py / s));
      }
      return;
    case kTableMark:
      if (const TEntMark* e = At(doc.EntMark, i); e && MarkDrawnBlack(attr, e->att)) {
        const double s = doc.ScaleOf(e->att.LGrp);
        o.Mark(MarkFigureOf(attr, view.ViewScale, e->cod, e->att.Wid, e->att.Col, e->bai,
                            Radians(e->ang), e->px / s, e->py / s));
      }
      return;
    case kTableDim:
      if (const TEntDim* e = At(doc.EntDim, i);
          e && DimLineShown(LeavesOutAuxiliary(attr), e->lin)) {
        LineOutline(doc, attr, e->lin, o);
      }
      return;
    case kTableSld2:
      if (const TEntSld2* e = At(doc.EntSld2, i); e && SolidBlack(attr, *e)) {
        const double s = doc.ScaleOf(e->att.LGrp);
        o.Segment({e->x1 / s, e->y1 / s}, {e->x2 / s, e->y2 / s});
      }
      return;
    case kTableSld3:
      if (const TEntSld3* e = At(doc.EntSld3, i); e && SolidBlack(attr, *e)) {
        const double s = doc.ScaleOf(e->att.LGrp);
        const TGraph_Point p[] = {
            {e->x1 / s, e->y1 / s}, {e->x2 / s, e->y2 / s}, {e->x3 / s, e->y3 / s}};
        o.Ring(p, 3);
      }
      return;
    case kTableSld4:
      if (const TEntSld4* e = At(doc.EntSld4, i); e && SolidBlack(attr, *e)) {
        const double s = doc.ScaleOf(e->att.LGrp);
        const TGraph_Point p[] = {{e->x1 / s, e->y1 / s},
                                  {e->x2 / s, e->y2 / s},
                                  {e->x3 / s, e->y3 / s},
                                  {e->x4 / s, e->y4 / s}};
        o.Ring(p, 4);
      }
      return;
    case kTableSldC:
      SolidArcOutline(doc, attr, At(doc.EntSldC, i), kSolidArcFilled, o);
      return;
    case kTableSldE:
      SolidArcOutline(doc, attr, At(doc.EntSldE, i), kSolidArcOutline, o);
      return;
    case kTableSldO:
      SolidArcOutline(doc, attr, At(doc.EntSldO, i), kSolidArcRing, o);
      return;
    case kTableSldG:
      SolidArcOutline(doc, attr, At(doc.EntSldG, i), kSolidArcRingParallel, o);
      return;
    case kTableText:
    case kEntityTables:
      return;
  }
}

}  // namespace vardo
