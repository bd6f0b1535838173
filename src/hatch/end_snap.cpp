// End correction of hatch pieces: crossings of a hatch line with the exact outlines of the
// entities near each pixel end, the nearest one chosen, and the rules that keep a piece whole.
#include "hatch/end_snap.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/geometry.h"

namespace vardo {

namespace {

constexpr double kPi = std::numbers::pi;
// Crossings this close to a segment's ends (as a fraction of it) still lie on it, so that a
// line through a corner finds the corner from either side.
constexpr double kSegmentSlack = 1e-12;
// An arc's crossings this close to its end angles (radians) still lie on it.
constexpr double kAngleSlack = 1e-12;
// The shapes gathered for a contour segment reach this many times the reach along the hatch
// line from an end on it: an end across a line at 45 degrees or more to the hatch lies that
// close to it.
constexpr double kFirstLook = 1.5;
// The side of the screen tiles the index is asked for, in pixels.
constexpr int kTilePixels = 16;

// One crossing of the line end + t (dx, dy) with a shape: t, and the sine of the angle between
// the line and the shape there (the end lies |t| times that from the shape's tangent). Only
// crossings wants(t) accepts reach visit; it is asked first, so the sine and the tests of where
// the crossing lies on the shape are spent on them alone.
template <typename Wants, typename Visit>
void SegmentCrossing(const TGraph_Point& p1, const TGraph_Point& p2, const HatchPoint& end,
                     double dx, double dy, Wants&& wants, Visit&& visit) {
  const double vx = p2.x - p1.x, vy = p2.y - p1.y;
  const double den = dx * vy - dy * vx;
  if (den == 0 || !std::isfinite(den)) return;
  const double wx = p1.x - end.x, wy = p1.y - end.y;
  const double along = (wx * dy - wy * dx) / den;  // position on the segment, 0 to 1
  if (!(along >= -kSegmentSlack && along <= 1 + kSegmentSlack)) return;
  const double t = (wx * vy - wy * vx) / den;
  if (!wants(t)) return;
  visit(t, std::fabs(den) / std::hypot(vx, vy));
}

// Whether the parameter angle lies on the arc from start over sweep (sweep >= 0).
bool OnArc(const OutlineShape& s, double angle) {
  if (s.full) return true;
  double from_start = std::fmod(angle - s.start, 2 * kPi);
  if (from_start < 0) from_start += 2 * kPi;
  return from_start <= s.sweep + kAngleSlack || from_start >= 2 * kPi - kAngleSlack;
}

// cos_t and sin_t are the cosine and sine of the ellipse's tilt.
template <typename Wants, typename Visit>
void EllipseCrossings(const OutlineShape& s, double cos_t, double sin_t, const HatchPoint& end,
                      double dx, double dy, Wants&& wants, Visit&& visit) {
  // In the ellipse's own frame (centre at the origin, first axis along x) scaled to the unit
  // circle, the line is P + t U and the crossings solve |P + t U| = 1; a crossing there is
  // (cos, sin) of its parameter angle.
  const double ex = end.x - s.cx, ey = end.y - s.cy;
  const double ux = cos_t * dx + sin_t * dy, uy = -sin_t * dx + cos_t * dy;
  const double Px = (cos_t * ex + sin_t * ey) / s.a, Py = (-sin_t * ex + cos_t * ey) / s.b;
  const double Ux = ux / s.a, Uy = uy / s.b;
  const double A = Ux * Ux + Uy * Uy;
  const double B = Px * Ux + Py * Uy;
  const double C = Px * Px + Py * Py - 1;
  const double disc = B * B - A * C;
  if (!(A > 0) || !(disc >= 0) || !std::isfinite(disc)) return;
  // The root of larger size first without cancellation, the other from the product of roots.
  const double q = -(B + std::copysign(std::sqrt(disc), B));
  const double roots[2] = {q / A, q != 0 ? C / q : q / A};
  for (int i = 0; i < (disc > 0 ? 2 : 1); ++i) {
    const double t = roots[i];
    if (!std::isfinite(t) || !wants(t)) continue;
    const double X = Px + t * Ux, Y = Py + t * Uy;
    if (!s.full && !OnArc(s, std::atan2(Y, X))) continue;
    // The tangent there, in the unscaled frame.
    const double tx = -s.a * Y, ty = s.b * X;
    const double length = std::hypot(tx, ty);
    if (!(length > 0)) continue;
    visit(t, std::fabs(ux * ty - uy * tx) / length);
  }
}

// The box of a whole ellipse, a little wider for the rounding of cosines and sines.
DrawRect EllipseBox(const OutlineShape& s) {
  const double c = std::fabs(std::cos(s.tilt)), sn = std::fabs(std::sin(s.tilt));
  const double a = std::fabs(s.a), b = std::fabs(s.b);
  const double slack = 1e-9 * (std::fabs(s.cx) + std::fabs(s.cy) + a + b);
  const double hx = a * c + b * sn + slack, hy = a * sn + b * c + slack;
  return {s.cx - hx, s.cy - hy, s.cx + hx, s.cy + hy};
}

bool Meets(const DrawRect& a, const DrawRect& b) {
  return a.xmin <= b.xmax && a.xmax >= b.xmin && a.ymin <= b.ymax && a.ymax >= b.ymin;
}

}  // namespace

void ForEachCrossing(const OutlineShape& shape, const HatchPoint& end, double dx, double dy,
                     const std::function<void(double t, double sine)>& visit) {
  const auto every = [](double) { return true; };
  if (shape.kind == OutlineShape::Kind::Segment) {
    SegmentCrossing(shape.p1, shape.p2, end, dx, dy, every, visit);
  } else {
    EllipseCrossings(shape, std::cos(shape.tilt), std::sin(shape.tilt), end, dx, dy, every, visit);
  }
}

EndSnap::EndSnap(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                 const ViewState& view, double file_scale)
    : doc_(doc), index_(index), attr_(attr), view_(view), file_scale_(file_scale) {
  pixel_ = view.ViewScale > 0 && std::isfinite(view.ViewScale) ? 1 / view.ViewScale : 0;
}

void EndSnap::UseContours(const HatchContours& contours) {
  const uint32_t n = static_cast<uint32_t>(contours.SegmentCount());
  HatchPoint first, last, unused;
  if (n > 0) {
    contours.Segment(0, first, unused);
    contours.Segment(n - 1, unused, last);
  }
  const bool same = contours_ && segments_.size() == n && first.x == first_.x &&
                    first.y == first_.y && last.x == last_.x && last.y == last_.y;
  contours_ = &contours;
  if (same) return;
  first_ = first;
  last_ = last;
  segments_.assign(n, Range{});
  near_.clear();
  tile_shapes_.clear();
  // Every segment goes to the tile its middle lies in; the tile's box takes in the segment's.
  tiles_x_ = std::max(1, view_.ViewWidth / kTilePixels + 1);
  tiles_y_ = std::max(1, view_.ViewHeight / kTilePixels + 1);
  tiles_.assign(static_cast<size_t>(tiles_x_) * static_cast<size_t>(tiles_y_), Tile{});
  tile_of_.resize(n);
  for (uint32_t seg = 0; seg < n; ++seg) {
    HatchPoint a, b;
    contours.Segment(seg, a, b);
    const double column = ((a.x + b.x) / 2 - view_.ViewXmin) * view_.ViewScale / kTilePixels;
    const double row = (view_.ViewYmax - (a.y + b.y) / 2) * view_.ViewScale / kTilePixels;
    const int tx =
        std::isfinite(column) ? static_cast<int>(std::clamp(column, 0.0, tiles_x_ - 1.0)) : 0;
    const int ty = std::isfinite(row) ? static_cast<int>(std::clamp(row, 0.0, tiles_y_ - 1.0)) : 0;
    tile_of_[seg] = static_cast<uint32_t>(ty * tiles_x_ + tx);
    DrawRect& box = tiles_[tile_of_[seg]].box;
    const DrawRect near = NearBox(seg);
    box = {std::min(box.xmin, near.xmin), std::min(box.ymin, near.ymin),
           std::max(box.xmax, near.xmax), std::max(box.ymax, near.ymax)};
  }
}

DrawRect EndSnap::NearBox(uint32_t seg) const {
  // An end on the segment lies within its box, so its first look and its reach lie within the
  // box grown by the first look, and a point's one-pixel least radius beyond that.
  HatchPoint a, b;
  contours_->Segment(seg, a, b);
  const double grow = (kFirstLook * kSnapReachPixels + 1.01) * pixel_;
  return {std::min(a.x, b.x) - grow, std::min(a.y, b.y) - grow, std::max(a.x, b.x) + grow,
          std::max(a.y, b.y) + grow};
}

bool EndSnap::ShapeMeets(uint32_t id, const DrawRect& rect) const {
  return Meets(id & kCurve ? curves_[id & ~kCurve].box : line_boxes_[id], rect);
}

void EndSnap::ShapesIn(const DrawRect& rect, std::vector<uint32_t>& out) {
  out.clear();
  index_.Query(rect, found_);
  for (const EntityRef& e : found_) {
    std::vector<Made>& table = entities_[e.table];
    if (e.index >= table.size()) table.resize(std::max(e.index + 1, 2 * table.size()));
    Made& m = table[e.index];
    if (!m.made) {
      made_.clear();
      AppendBlackOutline(doc_, attr_, view_, e.table, e.index, made_);
      m.made = true;
      m.lines = {static_cast<uint32_t>(lines_.size() / 2), 0};
      m.curves = {static_cast<uint32_t>(curves_.size()), 0};
      for (const OutlineShape& shape : made_) {
        if (shape.kind == OutlineShape::Kind::Segment) {
          lines_.push_back(shape.p1);
          lines_.push_back(shape.p2);
          const TGraph_Point& a = shape.p1;
          const TGraph_Point& b = shape.p2;
          line_boxes_.push_back(
              {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
          ++m.lines.count;
        } else {
          curves_.push_back({shape, EllipseBox(shape), std::cos(shape.tilt), std::sin(shape.tilt)});
          ++m.curves.count;
        }
      }
    }
    for (uint32_t k = m.lines.begin; k < m.lines.begin + m.lines.count; ++k)
      out.push_back(k);
    for (uint32_t k = m.curves.begin; k < m.curves.begin + m.curves.count; ++k)
      out.push_back(k | kCurve);
  }
}

const uint32_t* EndSnap::NearSegment(uint32_t seg, uint32_t& count) {
  count = 0;
  if (!contours_ || seg >= segments_.size()) return nullptr;
  Range& r = segments_[seg];
  if (r.begin == kNotYet) {
    Tile& tile = tiles_[tile_of_[seg]];
    if (tile.shapes.begin == kNotYet) {
      ShapesIn(tile.box, far_);
      tile.shapes = {static_cast<uint32_t>(tile_shapes_.size()),
                     static_cast<uint32_t>(far_.size())};
      tile_shapes_.insert(tile_shapes_.end(), far_.begin(), far_.end());
    }
    const DrawRect box = NearBox(seg);
    r.begin = static_cast<uint32_t>(near_.size());
    for (uint32_t k = tile.shapes.begin; k < tile.shapes.begin + tile.shapes.count; ++k) {
      if (ShapeMeets(tile_shapes_[k], box)) near_.push_back(tile_shapes_[k]);
    }
    r.count = static_cast<uint32_t>(near_.size()) - r.begin;
  }
  count = r.count;
  return near_.data() + r.begin;
}

bool EndSnap::InsideView(double x, double y) const {
  // As the renderer clips: a point on an edge of the window lies outside it.
  constexpr double kClipTol = 1e-12;
  return x - view_.ViewXmin >= kClipTol && x - view_.ViewXmax <= -kClipTol &&
         y - view_.ViewYmin >= kClipTol && y - view_.ViewYmax <= -kClipTol;
}

bool EndSnap::Nearest(const HatchPoint& end, double dx, double dy, int outward, double travel,
                      const uint32_t* shapes, uint32_t count, Crossing& best) const {
  bool found = false;
  for (uint32_t k = 0; k < count; ++k) {
    const uint32_t id = shapes[k];
    const Curve* curve = id & kCurve ? &curves_[id & ~kCurve] : nullptr;
    // Whether a crossing at t would be the best so far, before it is known to lie on the shape.
    const auto wants = [&](double t) {
      if (!(std::fabs(t) <= travel)) return false;
      const double nearer = std::fabs(t) - std::fabs(best.t);
      if (found && (nearer > 0 || (nearer == 0 && t * outward <= 0))) return false;
      return InsideView(end.x + t * dx, end.y + t * dy);
    };
    const auto visit = [&](double t, double sine) {
      const double allowed =
          curve ? (kSnapReachPixels + kSnapCurveReachPixels) * pixel_ + curve->s.chord_gap
                : kSnapReachPixels * pixel_;
      best = {t, std::fabs(t) * sine, allowed};
      found = true;
    };
    if (curve) {
      EllipseCrossings(curve->s, curve->cos_tilt, curve->sin_tilt, end, dx, dy, wants, visit);
    } else {
      SegmentCrossing(lines_[2 * id], lines_[2 * id + 1], end, dx, dy, wants, visit);
    }
  }
  return found;
}

bool EndSnap::MovedEnd(const HatchPoint& end, uint32_t seg, double cos_a, double sin_a, int outward,
                       HatchPoint& moved) {
  if (!(pixel_ > 0) || !std::isfinite(end.x) || !std::isfinite(end.y)) return false;
  uint32_t count = 0;
  const uint32_t* near = NearSegment(seg, count);
  const double travel = kSnapTravelPixels * pixel_;
  Crossing best;
  if (!Nearest(end, cos_a, sin_a, outward, travel, near, count, best)) return false;
  if (!(best.reach <= best.allowed)) return false;
  if (std::fabs(best.t) > kFirstLook * kSnapReachPixels * pixel_) {
    // Geometry at a shallow angle, crossed further along than the segment's shapes reach: only
    // a look the whole way along shows whether something else crosses nearer.
    const double x1 = end.x - travel * cos_a, y1 = end.y - travel * sin_a;
    const double x2 = end.x + travel * cos_a, y2 = end.y + travel * sin_a;
    const double margin = 1.01 * pixel_;
    ShapesIn({std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
              std::max(y1, y2) + margin},
             far_);
    if (!Nearest(end, cos_a, sin_a, outward, travel, far_.data(),
                 static_cast<uint32_t>(far_.size()), best) ||
        !(best.reach <= best.allowed)) {
      return false;
    }
  }
  moved = {end.x + best.t * cos_a, end.y + best.t * sin_a};
  return std::isfinite(moved.x) && std::isfinite(moved.y);
}

void EndSnap::MovePiece(HatchPoint& p, uint32_t seg_p, HatchPoint& q, uint32_t seg_q, double cos_a,
                        double sin_a) {
  const double before = (q.x - p.x) * cos_a + (q.y - p.y) * sin_a;
  if (!(before != 0)) return;
  const int forward = before > 0 ? 1 : -1;
  HatchPoint p2 = p, q2 = q;
  const bool moved_p = MovedEnd(p, seg_p, cos_a, sin_a, -forward, p2);
  const bool moved_q = MovedEnd(q, seg_q, cos_a, sin_a, forward, q2);
  if (!moved_p && !moved_q) return;
  const double after = (q2.x - p2.x) * cos_a + (q2.y - p2.y) * sin_a;
  if (!(after * forward > 0)) return;
  if (!(Distance(p2.x, p2.y, q2.x, q2.y) > kShortestHatchPiece)) return;
  const double s = file_scale_;
  if (TJGdata::DegenerateLine(p2.x * s, p2.y * s, q2.x * s, q2.y * s)) return;
  p = p2;
  q = q2;
}

}  // namespace vardo
