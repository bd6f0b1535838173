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
// Before looking the whole way along the line, look this many times the reach: most ends lie
// that close to their geometry, and a short look asks the index for few entities.
constexpr double kFirstLook = 2;

// One crossing of the line end + t (dx, dy) with a shape: t, and the sine of the angle between
// the line and the shape there (the end lies |t| times that from the shape's tangent).
template <typename Visit>
void SegmentCrossing(const OutlineShape& s, const HatchPoint& end, double dx, double dy,
                     Visit&& visit) {
  const double vx = s.p2.x - s.p1.x, vy = s.p2.y - s.p1.y;
  const double den = dx * vy - dy * vx;
  if (den == 0 || !std::isfinite(den)) return;
  const double wx = s.p1.x - end.x, wy = s.p1.y - end.y;
  const double along = (wx * dy - wy * dx) / den;  // position on the segment, 0 to 1
  if (!(along >= -kSegmentSlack && along <= 1 + kSegmentSlack)) return;
  const double t = (wx * vy - wy * vx) / den;
  visit(t, std::fabs(den) / std::hypot(vx, vy));
}

// Whether the parameter angle lies on the arc from start over sweep (sweep >= 0).
bool OnArc(const OutlineShape& s, double angle) {
  if (s.full) return true;
  double from_start = std::fmod(angle - s.start, 2 * kPi);
  if (from_start < 0) from_start += 2 * kPi;
  return from_start <= s.sweep + kAngleSlack || from_start >= 2 * kPi - kAngleSlack;
}

template <typename Visit>
void EllipseCrossings(const OutlineShape& s, const HatchPoint& end, double dx, double dy,
                      Visit&& visit) {
  // In the ellipse's own frame (centre at the origin, first axis along x) scaled to the unit
  // circle, the line is P + t U and the crossings solve |P + t U| = 1.
  const double c = std::cos(s.tilt), sn = std::sin(s.tilt);
  const double ex = end.x - s.cx, ey = end.y - s.cy;
  const double ux = c * dx + sn * dy, uy = -sn * dx + c * dy;
  const double Px = (c * ex + sn * ey) / s.a, Py = (-sn * ex + c * ey) / s.b;
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
    if (!std::isfinite(t)) continue;
    const double angle = std::atan2(Py + t * Uy, Px + t * Ux);
    if (!OnArc(s, angle)) continue;
    // The tangent there, in the unscaled frame.
    const double tx = -s.a * std::sin(angle), ty = s.b * std::cos(angle);
    const double length = std::hypot(tx, ty);
    if (!(length > 0)) continue;
    visit(t, std::fabs(ux * ty - uy * tx) / length);
  }
}

}  // namespace

EndSnap::EndSnap(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                 const ViewState& view, double file_scale)
    : doc_(doc), index_(index), attr_(attr), view_(view), file_scale_(file_scale) {
  pixel_ = view.ViewScale > 0 ? 1 / view.ViewScale : 0;
}

bool EndSnap::InsideView(double x, double y) const {
  // As the renderer clips: a point on an edge of the window lies outside it.
  constexpr double kClipTol = 1e-12;
  return x - view_.ViewXmin >= kClipTol && x - view_.ViewXmax <= -kClipTol &&
         y - view_.ViewYmin >= kClipTol && y - view_.ViewYmax <= -kClipTol;
}

bool EndSnap::NearestCrossing(const HatchPoint& end, double dx, double dy, int outward,
                              double travel, Crossing& best) {
  // Every crossing within travel lies on the exact geometry, which the entities' boxes hold
  // but for what depends on pixels (the query's margin).
  const double x1 = end.x - travel * dx, y1 = end.y - travel * dy;
  const double x2 = end.x + travel * dx, y2 = end.y + travel * dy;
  const double margin = kEntityMarginPixels * pixel_;
  index_.Query({std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
                std::max(y1, y2) + margin},
               candidates_);
  shapes_.clear();
  for (int t = 0; t < kEntityTables; ++t) {
    const EntityTable table = static_cast<EntityTable>(t);
    if (table == kTableText) continue;  // texts bound no hatch end
    candidates_.ForEach(table, [&](size_t i) {
      AppendBlackOutline(doc_, attr_, view_, table, i, shapes_);
      return true;
    });
  }
  bool found = false;
  for (const OutlineShape& s : shapes_) {
    auto visit = [&](double t, double sine) {
      if (!(std::fabs(t) <= travel)) return;
      if (!InsideView(end.x + t * dx, end.y + t * dy)) return;
      const double nearer = std::fabs(t) - std::fabs(best.t);
      if (found && (nearer > 0 || (nearer == 0 && t * outward <= 0))) return;
      const double curve = s.kind == OutlineShape::Kind::Ellipse ? kSnapCurveReachPixels : 0;
      best = {t, std::fabs(t) * sine, (kSnapReachPixels + curve) * pixel_ + s.chord_gap};
      found = true;
    };
    if (s.kind == OutlineShape::Kind::Segment) {
      SegmentCrossing(s, end, dx, dy, visit);
    } else {
      EllipseCrossings(s, end, dx, dy, visit);
    }
  }
  return found;
}

bool EndSnap::MovedEnd(const HatchPoint& end, double cos_a, double sin_a, int outward,
                       HatchPoint& moved) {
  if (!(pixel_ > 0) || !std::isfinite(end.x) || !std::isfinite(end.y)) return false;
  Crossing best;
  const double first = kFirstLook * kSnapReachPixels * pixel_;
  if (!NearestCrossing(end, cos_a, sin_a, outward, first, best) &&
      !NearestCrossing(end, cos_a, sin_a, outward, kSnapTravelPixels * pixel_, best)) {
    return false;
  }
  if (!(best.reach <= best.allowed)) return false;
  moved = {end.x + best.t * cos_a, end.y + best.t * sin_a};
  return std::isfinite(moved.x) && std::isfinite(moved.y);
}

void EndSnap::MovePiece(HatchPoint& p, HatchPoint& q, double cos_a, double sin_a) {
  const double before = (q.x - p.x) * cos_a + (q.y - p.y) * sin_a;
  if (!(before != 0)) return;
  const int forward = before > 0 ? 1 : -1;
  HatchPoint p2 = p, q2 = q;
  const bool moved_p = MovedEnd(p, cos_a, sin_a, -forward, p2);
  const bool moved_q = MovedEnd(q, cos_a, sin_a, forward, q2);
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
