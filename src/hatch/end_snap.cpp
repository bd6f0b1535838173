// End correction of hatch pieces: crossings of a hatch line with the exact outlines of the
// entities near each pixel end, the nearest one chosen, and the rules that keep a piece whole.
#include "hatch/end_snap.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <numbers>
#include <system_error>
#include <thread>

#include "common/geometry.h"
#include "render/renderer.h"

namespace vardo {

namespace {

constexpr double kPi = std::numbers::pi;
// Crossings this close to a segment's ends (as a fraction of it) still lie on it, so that a
// line through a corner finds the corner from either side.
constexpr double kSegmentSlack = 1e-12;
// How many ends a thread takes at a time.
constexpr size_t kEndsARun = 2048;
// An arc's crossings this close to its end angles (radians) still lie on it.
constexpr double kAngleSlack = 1e-12;

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
  // The position on the segment, 0 to 1, is along / den; compared without dividing.
  const double along = den > 0 ? wx * dy - wy * dx : wy * dx - wx * dy;
  const double size = std::fabs(den);
  if (!(along >= -kSegmentSlack * size && along <= (1 + kSegmentSlack) * size)) return;
  const double t = (wx * vy - wy * vx) / den;
  if (!wants(t)) return;
  visit(t, size / std::sqrt(vx * vx + vy * vy));
}

// Whether the parameter angle lies on the arc from start over sweep (sweep >= 0).
bool OnArc(const OutlineGrid::Curve& s, double angle) {
  if (s.full) return true;
  double from_start = std::fmod(angle - s.start, 2 * kPi);
  if (from_start < 0) from_start += 2 * kPi;
  return from_start <= s.sweep + kAngleSlack || from_start >= 2 * kPi - kAngleSlack;
}

template <typename Wants, typename Visit>
void EllipseCrossings(const OutlineGrid::Curve& s, const HatchPoint& end, double dx, double dy,
                      Wants&& wants, Visit&& visit) {
  const double cos_t = s.cos_tilt, sin_t = s.sin_tilt;
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

// The cells a line crosses from a point, one after another in one direction: Amanatides and
// Woo's walk. Positions t along the line are in drawing units.
class CellWalk {
 public:
  // From the point at grid position (u, v) (in cells), stepping column_step and row_step (+1,
  // -1 or 0) at every column_every and row_every of t.
  CellWalk(double u, double v, int column_step, int row_step, double column_every, double row_every)
      : column_(static_cast<int>(std::floor(u))),
        row_(static_cast<int>(std::floor(v))),
        column_step_(column_step),
        row_step_(row_step),
        column_edge_(Edge(u, column_, column_step, column_every)),
        row_edge_(Edge(v, row_, row_step, row_every)),
        column_every_(column_every),
        row_every_(row_every) {}
  int Column() const { return column_; }
  int Row() const { return row_; }
  // Where the line enters the next cell.
  double Next() const { return std::min(column_edge_, row_edge_); }
  void Step() {
    if (column_edge_ < row_edge_) {
      column_ += column_step_;
      column_edge_ += column_every_;
    } else {
      row_ += row_step_;
      row_edge_ += row_every_;
    }
  }

 private:
  // Where the line leaves the cell along one axis.
  static double Edge(double at, int cell, int step, double every) {
    return step > 0 ? (cell + 1 - at) * every : step < 0 ? (at - cell) * every : INFINITY;
  }
  int column_, row_;
  int column_step_, row_step_;
  double column_edge_, row_edge_;
  double column_every_, row_every_;
};

}  // namespace

PixelRect SnapReach(const PolyLines& PLN) {
  PixelRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const TPolyLineField& line : PLN) {
    for (const TPolyField& p : line.p) {
      box = {std::min(box.x0, p.x), std::min(box.y0, p.y), std::max(box.x1, p.x),
             std::max(box.y1, p.y)};
    }
  }
  if (box.x1 < box.x0) return {};
  // A look ends within the travel of its end, and a pixel further for the rounding.
  constexpr int kReach = static_cast<int>(kSnapTravelPixels) + 2;
  const auto grown = [](int v, int by) {
    return static_cast<int>(std::clamp(static_cast<long long>(v) + by,
                                       static_cast<long long>(INT_MIN),
                                       static_cast<long long>(INT_MAX)));
  };
  return {grown(box.x0, -kReach), grown(box.y0, -kReach), grown(box.x1, kReach),
          grown(box.y1, kReach)};
}

void ForEachCrossing(const OutlineShape& shape, const HatchPoint& end, double dx, double dy,
                     const std::function<void(double t, double sine)>& visit) {
  const auto every = [](double) { return true; };
  if (shape.kind == OutlineShape::Kind::Segment) {
    SegmentCrossing(shape.p1, shape.p2, end, dx, dy, every, visit);
  } else {
    EllipseCrossings(OutlineGrid::CurveOf(shape), end, dx, dy, every, visit);
  }
}

EndSnap::EndSnap(const OutlineGrid& grid, double file_scale)
    : grid_(grid), view_(grid.View()), file_scale_(file_scale) {
  const double scale = view_.ViewScale;
  pixel_ = scale > 0 && std::isfinite(scale) ? 1 / scale : 0;
  per_cell_ = grid.CellLength() > 0 ? 1 / grid.CellLength() : 0;
  segment_allowed_ = kSnapReachPixels * pixel_;
  curve_allowed_ = (kSnapReachPixels + kSnapCurveReachPixels) * pixel_;
}

bool EndSnap::InsideView(double x, double y) const {
  // As the renderer clips: a point on an edge of the window lies outside it.
  constexpr double kClipTol = 1e-12;
  return x - view_.ViewXmin >= kClipTol && x - view_.ViewXmax <= -kClipTol &&
         y - view_.ViewYmin >= kClipTol && y - view_.ViewYmax <= -kClipTol;
}

EndSnap::Direction EndSnap::DirectionOf(double cos_a, double sin_a) const {
  Direction d;
  d.dx = cos_a;
  d.dy = sin_a;
  const double cell = grid_.CellLength();
  d.column_step = cos_a > 0 ? 1 : cos_a < 0 ? -1 : 0;
  d.row_step = sin_a < 0 ? 1 : sin_a > 0 ? -1 : 0;
  d.column_every = d.column_step == 0 ? INFINITY : cell / std::fabs(cos_a);
  d.row_every = d.row_step == 0 ? INFINITY : cell / std::fabs(sin_a);
  return d;
}

void EndSnap::TestCell(int column, int row, Search& s) const {
  if (column < 0 || column >= grid_.Columns() || row < 0 || row >= grid_.Rows()) return;
  const HatchPoint end = s.end;
  const double dx = s.dx, dy = s.dy;
  // Whether a crossing at t can be the best so far, before it is known to lie on the shape. Of
  // two equally near, the one outward wins; at the same place, the one that counts more surely.
  const auto wants = [&](double t) {
    const double away = std::fabs(t);
    if (!(away <= s.limit)) return false;
    if (s.found && away == s.limit && t != s.t && t * s.outward <= 0) return false;
    return InsideView(end.x + t * dx, end.y + t * dy);
  };
  double allowed = 0;
  const auto visit = [&](double t, double sine) {
    const double reach = std::fabs(t) * sine;
    if (s.found && t == s.t && !(allowed - reach > s.allowed - s.reach)) return;
    s.t = t;
    s.reach = reach;
    s.allowed = allowed;
    s.limit = std::fabs(t);
    s.found = true;
  };
  grid_.ForEachIn(
      column, row,
      [&](const TGraph_Point* ends) {
        allowed = segment_allowed_;
        SegmentCrossing(ends[0], ends[1], end, dx, dy, wants, visit);
      },
      [&](const OutlineGrid::Curve& curve) {
        // The line meets the curve, if at all, where it crosses the circle round the ellipse:
        // within radius of the point nearest the centre.
        const double ex = curve.cx - end.x, ey = curve.cy - end.y;
        const double radius = std::max(std::fabs(curve.a), std::fabs(curve.b));
        const double slack = 1e-9 * (radius + std::fabs(ex) + std::fabs(ey));
        if (!(std::fabs(ex * dy - ey * dx) <= radius + slack)) return;
        const double foot = ex * dx + ey * dy;
        if (!(std::fabs(foot) - radius - slack <= s.limit)) return;
        allowed = curve_allowed_ + curve.chord_gap;
        EllipseCrossings(curve, end, dx, dy, wants, visit);
      });
}

bool EndSnap::MovedEnd(const HatchPoint& end, double cos_a, double sin_a, int outward,
                       HatchPoint& moved) const {
  return MovedEnd(end, DirectionOf(cos_a, sin_a), outward, moved);
}

bool EndSnap::MovedEnd(const HatchPoint& end, const Direction& d, int outward,
                       HatchPoint& moved) const {
  if (!(pixel_ > 0) || !std::isfinite(end.x) || !std::isfinite(end.y)) return false;
  // The end's place on the grid; an end further than travel from every cell has nothing near.
  const double u = (end.x - view_.ViewXmin) * per_cell_, v = (view_.ViewYmax - end.y) * per_cell_;
  const double beyond = kSnapTravelPixels / kOutlineCellPixels + 1;
  if (!(u > -beyond && u < grid_.Columns() + beyond && v > -beyond && v < grid_.Rows() + beyond)) {
    return false;
  }
  // The cells along the line, nearest first, out from the end both ways, until the next cell
  // lies further along than the nearest crossing found (or than travel).
  CellWalk ahead(u, v, d.column_step, d.row_step, d.column_every, d.row_every);
  CellWalk behind(u, v, -d.column_step, -d.row_step, d.column_every, d.row_every);
  Search s{end, d.dx, d.dy, outward, kSnapTravelPixels * pixel_};
  const double slack = kOutlineCellSlack * grid_.CellLength();
  for (int column = ahead.Column(), row = ahead.Row();;) {
    TestCell(column, row, s);
    CellWalk& walk = ahead.Next() <= behind.Next() ? ahead : behind;
    if (!(walk.Next() <= s.limit + slack)) break;
    walk.Step();
    column = walk.Column();
    row = walk.Row();
  }
  if (!s.found || !(s.reach <= s.allowed)) return false;
  moved = {end.x + s.t * d.dx, end.y + s.t * d.dy};
  return std::isfinite(moved.x) && std::isfinite(moved.y);
}

void EndSnap::MovePieces(std::vector<HatchPiece>& pieces, double cos_a, double sin_a) const {
  const size_t ends = 2 * pieces.size();
  const auto end_at = [&](size_t e) -> const HatchPoint& {
    return e % 2 == 0 ? pieces[e / 2].p : pieces[e / 2].q;
  };
  // The ends in the order of their cells.
  const int columns = std::max(grid_.Columns(), 1), rows = std::max(grid_.Rows(), 1);
  const size_t keys = std::max<size_t>(grid_.CellCount(), 1);
  std::vector<uint32_t> key(ends);
  std::vector<uint32_t> start(keys + 1, 0);
  for (size_t e = 0; e < ends; ++e) {
    const HatchPoint& at = end_at(e);
    const double u = (at.x - view_.ViewXmin) * per_cell_, v = (view_.ViewYmax - at.y) * per_cell_;
    // Ends off the grid (or not numbers) are worked through with the nearest cell's.
    const int c = std::isfinite(u) ? static_cast<int>(std::clamp(u, 0.0, columns - 1.0)) : 0;
    const int r = std::isfinite(v) ? static_cast<int>(std::clamp(v, 0.0, rows - 1.0)) : 0;
    key[e] = grid_.Columns() > 0 ? static_cast<uint32_t>(grid_.Cell(c, r)) : 0;
    ++start[key[e] + 1];
  }
  for (size_t k = 0; k < keys; ++k)
    start[k + 1] += start[k];
  // Each end copied to where it is worked through, with the side away from its piece (0 for
  // a piece that runs nowhere along its line, whose ends stay), so that the threads read the
  // ends one after another.
  struct Sorted {
    HatchPoint at;
    uint32_t end = 0;
    int outward = 0;
  };
  std::vector<Sorted> order(ends);
  for (size_t e = 0; e < ends; ++e) {
    const HatchPiece& piece = pieces[e / 2];
    const double along = (piece.q.x - piece.p.x) * cos_a + (piece.q.y - piece.p.y) * sin_a;
    const int forward = along > 0 ? 1 : along < 0 ? -1 : 0;
    order[start[key[e]]++] = {end_at(e), static_cast<uint32_t>(e), e % 2 == 0 ? -forward : forward};
  }

  // Each end's crossing, kept in the order worked through so that each thread writes its own
  // stretch. The ends are handed out in runs to as many threads as the machine has, which take
  // the next run as they finish one.
  std::vector<HatchPoint> moved(ends);
  std::vector<uint8_t> found(ends, 0);
  std::atomic<size_t> next{0};
  const Direction direction = DirectionOf(cos_a, sin_a);
  const auto work = [&] {
    for (size_t from; (from = next.fetch_add(kEndsARun)) < ends;) {
      for (size_t k = from; k < std::min(from + kEndsARun, ends); ++k) {
        const Sorted& s = order[k];
        if (s.outward != 0) found[k] = MovedEnd(s.at, direction, s.outward, moved[k]);
      }
    }
  };
  std::vector<std::thread> helpers;
  const size_t threads = std::min(static_cast<size_t>(DrawThreads()), ends / kEndsARun + 1);
  for (size_t t = 1; t < threads; ++t) {
    try {
      helpers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the ones there are take the remaining runs
    }
  }
  work();
  for (std::thread& t : helpers)
    t.join();

  // Where each end was worked through.
  std::vector<uint32_t>& place = key;
  for (size_t k = 0; k < ends; ++k)
    place[order[k].end] = static_cast<uint32_t>(k);
  for (size_t i = 0; i < pieces.size(); ++i) {
    HatchPiece& piece = pieces[i];
    const uint32_t kp = place[2 * i], kq = place[2 * i + 1];
    if (!found[kp] && !found[kq]) continue;
    const HatchPoint p2 = found[kp] ? moved[kp] : piece.p;
    const HatchPoint q2 = found[kq] ? moved[kq] : piece.q;
    const double before = (piece.q.x - piece.p.x) * cos_a + (piece.q.y - piece.p.y) * sin_a;
    const double after = (q2.x - p2.x) * cos_a + (q2.y - p2.y) * sin_a;
    if (!(after * before > 0)) continue;
    if (!(Distance(p2.x, p2.y, q2.x, q2.y) > kShortestHatchPiece)) continue;
    const double s = file_scale_;
    if (TJGdata::DegenerateLine(p2.x * s, p2.y * s, q2.x * s, q2.y * s)) continue;
    piece = {p2, q2};
  }
}

}  // namespace vardo
