// Drawing primitives: region-code clipping, pixel mapping, pens and brushes from attributes,
// lines, boxes, polylines, polygons, ellipses, arcs and circular solids.
#include "render/graphics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "common/geometry.h"
#include "common/numbers.h"

namespace vardo {

namespace {

constexpr double kClipTol = 1e-12;
constexpr double kChordStep = kEllipseChordStep;
constexpr int kChords = kEllipseChords;
constexpr double kHalfPi = 1.5707963267948966;
// A first polygon edge longer than this many pixels makes the polygon an outline.
constexpr double kOutlineSwitch = 10000;
// Filled rings reaching further than this many pixels from the view origin are clipped to this
// band: far inside the integer range, far outside any surface.
constexpr double kPixelBand = 1e8;

bool Finite(double a, double b) {
  return std::isfinite(a) && std::isfinite(b);
}

bool Within(double value, double target) {
  return std::fabs(value - target) <= 1e-12;
}

// Where the line through (ua, va) and (ub, vb) reaches e along its first axis: the other
// coordinate. Taken from the end nearer to e, so that a far-off other end costs no precision
// (from the far end the result would carry that end's rounding error, however near the edge
// lies); in halves where the plain product would overflow. e is held to the segment's span: an
// end that lies inside an edge by less than the clipping tolerance stays where it is instead of
// being carried out along the line's extension (by the tolerance times the slope, which for a
// nearly upright line is a long way).
double Interpolate(double e, double ua, double va, double ub, double vb) {
  e = std::clamp(e, std::min(ua, ub), std::max(ua, ub));
  if (std::fabs(e - ub) < std::fabs(e - ua)) {
    std::swap(ua, ub);
    std::swap(va, vb);
  }
  const double du = ub - ua;
  const double product = (e - ua) * (vb - va);
  if (std::isfinite(du) && std::isfinite(product)) return product / du + va;
  const double t = (e * 0.5 - ua * 0.5) / (ub * 0.5 - ua * 0.5);
  return 2 * (va * 0.5 + t * (vb * 0.5 - va * 0.5));
}

PenStyle PenStyleOf(int code) {
  switch (code) {
    case 1:
      return PenStyle::Dash;
    case 2:
      return PenStyle::Dot;
    case 3:
      return PenStyle::DashDot;
    case 4:
      return PenStyle::DashDotDot;
    case 5:
      return PenStyle::Clear;
  }
  return PenStyle::Solid;
}

BrushStyle BrushStyleOf(int code) {
  switch (code) {
    case 1:
      return BrushStyle::Solid;
    case 2:
      return BrushStyle::Horizontal;
    case 3:
      return BrushStyle::Vertical;
    case 4:
      return BrushStyle::FDiagonal;
    case 5:
      return BrushStyle::BDiagonal;
    case 6:
      return BrushStyle::Cross;
    case 7:
      return BrushStyle::DiagCross;
  }
  return BrushStyle::Clear;
}

// The ellipse with semi-axes a and b, the first turned by tilt, centred on (cx, cy); the cosine
// and sine of the tilt are taken once rather than for every point.
class Ellipse {
 public:
  Ellipse(double cx, double cy, double a, double b, double tilt)
      : cx_(cx), cy_(cy), a_(a), b_(b), cos_(std::cos(tilt)), sin_(std::sin(tilt)) {}

  // The point at the parameter angle whose cosine and sine are given: (a cos t, b sin t) turned
  // about the origin with the very arithmetic of RotX and RotY, then moved to the centre.
  TGraph_Point At(double cos_t, double sin_t) const {
    const double p = a_ * cos_t;
    const double q = b_ * sin_t;
    return {cx_ + (0.0 + cos_ * p - sin_ * q), cy_ + (0.0 + sin_ * p + cos_ * q)};
  }

 private:
  double cx_, cy_, a_, b_, cos_, sin_;
};

// Cosines and sines of the angles a full ellipse walks: 0, then kChordStep added again and
// again. Every full ellipse walks the same angles, so they are taken once.
struct FullWalk {
  double cos[kChords + 1];
  double sin[kChords + 1];
};

const FullWalk& FullEllipseWalk() {
  static const FullWalk walk = [] {
    FullWalk w{};
    double t = 0;
    for (int i = 0; i <= kChords; ++i) {
      w.cos[i] = std::cos(t);
      w.sin[i] = std::sin(t);
      t += kChordStep;
    }
    return w;
  }();
  return walk;
}

// Visits count points of the ellipse from parameter angle start on by repeated addition of
// step, so that every caller walks exactly the same angles.
template <typename Visit>
void WalkEllipse(const Ellipse& e, double start, double step, int count, Visit&& visit) {
  if (start == 0 && step == kChordStep && count <= kChords + 1) {
    const FullWalk& walk = FullEllipseWalk();
    for (int i = 0; i < count; ++i)
      visit(e.At(walk.cos[i], walk.sin[i]));
    return;
  }
  double t = start;
  for (int i = 0; i < count; ++i) {
    visit(e.At(std::cos(t), std::sin(t)));
    t += step;
  }
}

void AppendEllipsePoints(std::vector<TGraph_Point>& out, double cx, double cy, double a, double b,
                         double tilt, double start, double step, int count) {
  WalkEllipse(Ellipse(cx, cy, a, b, tilt), start, step, count,
              [&](const TGraph_Point& p) { out.push_back(p); });
}

// The half-plane clips of a ring: keeps the part on the inside of one edge, adding the points
// where the ring crosses it. Where the ring winds round a point inside the band stays the same,
// so an even-odd fill of the clipped ring covers the same pixels there.
struct BandEdge {
  bool vertical;  // an edge x = limit (else y = limit)
  double limit;
  bool keep_below;  // keep coordinates at or below the limit (else at or above)
};

bool Inside(const TGraph_Point& p, const BandEdge& e) {
  const double c = e.vertical ? p.x : p.y;
  return e.keep_below ? c <= e.limit : c >= e.limit;
}

TGraph_Point Crossing(const TGraph_Point& a, const TGraph_Point& b, const BandEdge& e) {
  if (e.vertical) return {e.limit, Interpolate(e.limit, a.x, a.y, b.x, b.y)};
  return {Interpolate(e.limit, a.y, a.x, b.y, b.x), e.limit};
}

std::vector<TGraph_Point> ClipRing(const std::vector<TGraph_Point>& ring, const BandEdge& e) {
  std::vector<TGraph_Point> out;
  for (size_t i = 0; i < ring.size(); ++i) {
    const TGraph_Point& prev = ring[(i + ring.size() - 1) % ring.size()];
    const TGraph_Point& cur = ring[i];
    const bool cur_in = Inside(cur, e);
    if (cur_in != Inside(prev, e)) out.push_back(Crossing(prev, cur, e));
    if (cur_in) out.push_back(cur);
  }
  return out;
}

}  // namespace

uint32_t AttrColour(const TgraAttribute& attr, int layer, int col) {
  if (attr.GetAttrLayerState(layer) != 1) return attr.GetGrayColor();
  return attr.GetAttrColcol(col);
}

TGraph_Point SolidArcCorner(double cx, double cy, const TGraph_Point& a0, const TGraph_Point& a72,
                            double tilt, double start, double sweep) {
  const double ta = start + tilt + kHalfPi;
  const double tb = tilt + start + sweep - kHalfPi;
  double kx = cx, ky = cy;
  const int crossing =
      SegCross(kx, ky, a0.x, a0.y, a0.x + 10 * std::cos(ta), a0.y + 10 * std::sin(ta), a72.x, a72.y,
               a72.x + 10 * std::cos(tb), a72.y + 10 * std::sin(tb));
  if (crossing == 0 || !Finite(kx, ky)) return {cx, cy};
  return {kx, ky};
}

// --- geometry and clipping ---

int Graphics::ClipCode(double x, double y) const {
  const ViewState& v = *view_;
  int code = 0;
  if (std::isnan(x)) {
    code |= kClipLeft | kClipRight;
  } else {
    if (x - v.ViewXmin < kClipTol) code |= kClipLeft;
    if (x - v.ViewXmax > -kClipTol) code |= kClipRight;
  }
  if (std::isnan(y)) {
    code |= kClipBelow | kClipAbove;
  } else {
    if (y - v.ViewYmin < kClipTol) code |= kClipBelow;
    if (y - v.ViewYmax > -kClipTol) code |= kClipAbove;
  }
  return code;
}

int Graphics::ClipPoint(double x, double y) const {
  return ClipCode(x, y) == 0 ? 0 : 2;
}

int Graphics::ClipCheck(double x1, double y1, double x2, double y2) const {
  const int c1 = ClipCode(x1, y1);
  const int c2 = ClipCode(x2, y2);
  if (c1 == 0 && c2 == 0) return 0;
  return (c1 & c2) != 0 ? 2 : 1;
}

int Graphics::ClipLine(double& x1, double& y1, double& x2, double& y2) const {
  if (!Finite(x1, y1) || !Finite(x2, y2)) return kClipInvisible;
  const int c1 = ClipCode(x1, y1);
  const int c2 = ClipCode(x2, y2);
  if (c1 == 0 && c2 == 0) return kClipInside;
  if ((c1 & c2) != 0) return kClipInvisible;

  // Both end points move along the unclipped segment, in one pass each.
  const TGraph_Point a{x1, y1};
  const TGraph_Point b{x2, y2};
  const bool moves_x = std::fabs(b.x - a.x) > kClipTol;
  const bool moves_y = std::fabs(b.y - a.y) > kClipTol;
  const ViewState& v = *view_;
  auto clip_end = [&](double& x, double& y) {
    int code = ClipCode(x, y);
    auto to_x = [&](double edge) {
      x = edge;
      y = Interpolate(edge, a.x, a.y, b.x, b.y);
      code = ClipCode(x, y);
    };
    auto to_y = [&](double edge) {
      y = edge;
      x = Interpolate(edge, a.y, a.x, b.y, b.x);
      code = ClipCode(x, y);
    };
    if ((code & kClipLeft) != 0 && moves_x) to_x(v.ViewXmin);
    if ((code & kClipRight) != 0 && moves_x) to_x(v.ViewXmax);
    if ((code & kClipBelow) != 0 && moves_y) to_y(v.ViewYmin);
    if ((code & kClipAbove) != 0 && moves_y) to_y(v.ViewYmax);
  };
  clip_end(x1, y1);
  clip_end(x2, y2);
  // A segment passing outside a corner has collapsed onto it.
  if (std::fabs(x2 - x1) < kClipTol && std::fabs(y2 - y1) < kClipTol) return kClipInvisible;
  return kClipClipped;
}

// --- pens and brushes ---

void Graphics::GraClear(int width, int height) {
  Pen& pen = canvas_->pen();
  pen.mode = PenMode::Copy;
  pen.width = 1;
  // Our dotted gaps are transparent, so a dotted pen left from before would leave the border
  // partly uncleared.
  pen.style = PenStyle::Solid;
  pen.color = attr_->GetBackColor();
  canvas_->brush() = {attr_->GetBackColor(), BrushStyle::Solid};
  canvas_->Rectangle(0, 0, width, height);
  canvas_->brush().style = BrushStyle::Clear;
}

void Graphics::GraPen(uint32_t colour, int style, int width) {
  canvas_->brush().style = BrushStyle::Clear;
  Pen& pen = canvas_->pen();
  pen.color = colour;
  pen.width = width;
  pen.style = PenStyleOf(style);
}

void Graphics::GraBrush(uint32_t colour, int style) {
  canvas_->brush() = {colour, BrushStyleOf(style)};
}

void Graphics::GraXorMode() {
  canvas_->pen().mode = PenMode::Xor;
}

void Graphics::GraAttrPen(int layer, int col, int ltype, double /*width*/) {
  canvas_->brush().style = BrushStyle::Clear;
  Pen& pen = canvas_->pen();
  pen.color = AttrColour(layer, col);
  pen.width = 0;
  pen.style = SolidLineType(ltype) ? PenStyle::Solid : PenStyle::Dot;
}

void Graphics::GraAttrBrush(int layer, int col, int style) {
  GraBrush(AttrColour(layer, col), style);
}

// --- pixel drawing ---

void Graphics::GraLineXY(int x1, int y1, int x2, int y2) {
  canvas_->LineWithEnd(x1, y1, x2, y2);
}

void Graphics::GraBoxXY(int x1, int y1, int x2, int y2) {
  const int64_t w = std::llabs(int64_t{x1} - x2);
  const int64_t h = std::llabs(int64_t{y1} - y2);
  if (w <= 2 && h <= 2) return;
  if (w <= 2) {
    GraLineXY(x1, y1, x1, y2);
    return;
  }
  if (h <= 2) {
    GraLineXY(x1, y1, x2, y1);
    return;
  }
  canvas_->Rectangle(x1, y1, x2, y2);
}

void Graphics::GraPolylineXY() {
  canvas_->Polyline(GraPixPts);
}

void Graphics::GraPolygonXY() {
  canvas_->Polygon(GraPixPts);
}

// --- drawing coordinates ---

void Graphics::GraLine(double x1, double y1, double x2, double y2) {
  if (ClipLine(x1, y1, x2, y2) == kClipInvisible) return;
  GraLineXY(PixelX(x1), PixelY(y1), PixelX(x2), PixelY(y2));
}

void Graphics::GraBox(double x1, double y1, double x2, double y2) {
  switch (ClipCheck(x1, y1, x2, y2)) {
    case 0:
      GraBoxXY(PixelX(x1), PixelY(y1), PixelX(x2), PixelY(y2));
      return;
    case 1:
      GraPts = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
      GraPolygon();
      GraPts.clear();
      return;
  }
}

void Graphics::GraPolyline() {
  if (GraPts.size() < 2) return;
  int all = kClipLeft | kClipRight | kClipBelow | kClipAbove;
  for (const TGraph_Point& p : GraPts)
    all &= ClipCode(p.x, p.y);
  if (all != 0) return;

  GraPixPts.clear();
  auto flush = [&] {
    if (GraPixPts.size() > 1) GraPolylineXY();
    GraPixPts.clear();
  };
  for (size_t k = 1; k < GraPts.size(); ++k) {
    double x1 = GraPts[k - 1].x, y1 = GraPts[k - 1].y;
    double x2 = GraPts[k].x, y2 = GraPts[k].y;
    const int result = ClipLine(x1, y1, x2, y2);
    if (result == kClipInvisible) {
      flush();
      continue;
    }
    if (GraPixPts.empty()) GraPixPts.push_back({PixelX(x1), PixelY(y1)});
    GraPixPts.push_back({PixelX(x2), PixelY(y2)});
    // A segment that leaves or enters the window ends its run.
    if (result == kClipClipped) flush();
  }
  flush();
}

void Graphics::GraPolygon() {
  if (GraPts.size() < 3) return;
  int all = kClipLeft | kClipRight | kClipBelow | kClipAbove;
  for (const TGraph_Point& p : GraPts) {
    all &= ClipCode(p.x, p.y);
    // A ring with a point beyond the range of doubles has no shape to draw.
    if (!Finite(p.x, p.y)) return;
  }
  if (all != 0) return;

  const TGraph_Point p0 = GraPts[0];
  const TGraph_Point p1 = GraPts[1];
  if (Distance(p0.x, p0.y, p1.x, p1.y) * view_->ViewScale > kOutlineSwitch) {
    GraPts.push_back(p0);
    GraPolyline();
    return;
  }
  MapRingToPixels();
  GraPolygonXY();
  GraPixPts.clear();
}

void Graphics::MapRingToPixels() {
  const ViewState& v = *view_;
  const double scale = v.ViewScale;
  bool far = false;
  for (const TGraph_Point& p : GraPts) {
    if (!(std::fabs((p.x - v.ViewXmin) * scale) <= kPixelBand) ||
        !(std::fabs((p.y - v.ViewYmin) * scale) <= kPixelBand)) {
      far = true;
    }
  }
  GraPixPts.clear();
  if (!far || !(scale > 0 && std::isfinite(scale))) {
    for (const TGraph_Point& p : GraPts)
      GraPixPts.push_back({PixelX(p.x), PixelY(p.y)});
    return;
  }
  std::vector<TGraph_Point> ring = GraPts;
  const double reach = kPixelBand / scale;
  const BandEdge edges[] = {{true, v.ViewXmin - reach, false},
                            {true, v.ViewXmin + reach, true},
                            {false, v.ViewYmin - reach, false},
                            {false, v.ViewYmin + reach, true}};
  for (const BandEdge& e : edges)
    ring = ClipRing(ring, e);
  for (const TGraph_Point& p : ring)
    GraPixPts.push_back({PixelX(p.x), PixelY(p.y)});
}

void Graphics::GraEllipse(double cx, double cy, double r, double flat, double tilt) {
  Chords(cx, cy, r, flat, tilt, 0, kChordStep);
}

void Graphics::GraArc(double cx, double cy, double r, double flat, double tilt, double start,
                      double sweep) {
  Chords(cx, cy, r, flat, tilt, start, sweep / kChords);
}

void Graphics::Chords(double cx, double cy, double r, double flat, double tilt, double start,
                      double step) {
  const Ellipse e(cx, cy, r, r * flat, tilt);
  if (EllipseInside(cx, cy, r, r * flat)) {
    // No chord needs clipping: every point is mapped once, and the chords go to the canvas in
    // one call.
    GraPixPts.clear();
    WalkEllipse(e, start, step, kChords + 1, [&](const TGraph_Point& p) {
      GraPixPts.push_back({PixelX(p.x), PixelY(p.y)});
    });
    canvas_->LinesWithEnds(GraPixPts);
    GraPixPts.clear();
    return;
  }
  TGraph_Point prev;
  bool first = true;
  WalkEllipse(e, start, step, kChords + 1, [&](const TGraph_Point& next) {
    if (!first) GraLine(prev.x, prev.y, next.x, next.y);
    prev = next;
    first = false;
  });
}

bool Graphics::EllipseInside(double cx, double cy, double a, double b) const {
  const ViewState& v = *view_;
  // No point lies further from the centre than |a| + |b|; the margin covers the rounding of
  // the points and of the comparisons many times over.
  const double slack =
      1e-9 * (std::fabs(cx) + std::fabs(cy) + std::fabs(v.ViewXmin) + std::fabs(v.ViewXmax) +
              std::fabs(v.ViewYmin) + std::fabs(v.ViewYmax));
  const double reach = (std::fabs(a) + std::fabs(b)) * (1 + 1e-6) + slack + 2 * kClipTol;
  return cx - reach > v.ViewXmin && cx + reach < v.ViewXmax && cy - reach > v.ViewYmin &&
         cy + reach < v.ViewYmax;
}

void SolidArcRing(int kind, double cx, double cy, double r, double flat, double tilt, double start,
                  double sweep, double extra, std::vector<TGraph_Point>& ring) {
  const double step = sweep / kChords;
  const double b = r * flat;
  ring.clear();
  auto arc = [&] { AppendEllipsePoints(ring, cx, cy, r, b, tilt, start, step, kChords + 1); };
  switch (kind) {
    case kSolidArcFilled:
      if (Within(extra, 100)) {
        AppendEllipsePoints(ring, cx, cy, r, b, tilt, 0, kChordStep, kChords);
        return;
      }
      arc();
      if (Within(extra, 0)) {
        ring.push_back({cx, cy});
      } else if (!Within(extra, 5)) {
        ring.push_back(SolidArcCorner(cx, cy, ring.front(), ring.back(), tilt, start, sweep));
      }
      return;
    case kSolidArcOutline:
      if (Within(extra, 100)) {
        AppendEllipsePoints(ring, cx, cy, r, b, tilt, 0, kChordStep, kChords + 1);
      } else {
        arc();
      }
      return;
    case kSolidArcRing:
    case kSolidArcRingParallel: {
      arc();
      const double ri = extra;
      // The parallel inner ellipse keeps the outer one's difference between its semi-axes;
      // taken as a length rather than as a flatness ratio, ri = 0 stays finite.
      const double inner_b = kind == kSolidArcRing ? ri * flat : b - r + ri;
      AppendEllipsePoints(ring, cx, cy, ri, inner_b, tilt, start + sweep, -step, kChords + 1);
      return;
    }
  }
}

void Graphics::GraSolidArc(int kind, double cx, double cy, double r, double flat, double tilt,
                           double start, double sweep, double extra) {
  SolidArcRing(kind, cx, cy, r, flat, tilt, start, sweep, extra, GraPts);
  // An unknown kind leaves no points, which neither call draws.
  if (kind == kSolidArcOutline) {
    GraPolyline();
  } else {
    GraPolygon();
  }
  GraPts.clear();
}

}  // namespace vardo
