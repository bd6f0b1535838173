// Filing the black outlines of the view into cells: each segment and each curve goes, piece by
// piece, into the cells its pieces' boxes meet, so a cell holds only what passes through it.
#include "hatch/outline_grid.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vardo {

namespace {

// Shape ids while filing: a segment's index in ends_ (its ends at 2 id and 2 id + 1), or a
// curve's index in curves_ with kCurve set.
constexpr uint32_t kCurve = 0x80000000u;

// The most pieces a curve is filed in; a curve much larger than the view takes pieces longer
// than a cell, each filed in every cell its box meets.
constexpr double kMostCurvePieces = 4096;

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

bool SameView(const ViewState& a, const ViewState& b) {
  return a.ViewXmin == b.ViewXmin && a.ViewYmin == b.ViewYmin && a.ViewXmax == b.ViewXmax &&
         a.ViewYmax == b.ViewYmax && a.ViewScale == b.ViewScale && a.ViewWidth == b.ViewWidth &&
         a.ViewHeight == b.ViewHeight;
}

// The part [t0, t1] of the segment p + t (q - p), 0 <= t <= 1, inside rect; false when none is.
bool ClipSegment(const TGraph_Point& p, const TGraph_Point& q, const DrawRect& rect, double& t0,
                 double& t1) {
  t0 = 0;
  t1 = 1;
  const double d[2] = {q.x - p.x, q.y - p.y};
  const double from[2] = {p.x, p.y};
  const double lo[2] = {rect.xmin, rect.ymin}, hi[2] = {rect.xmax, rect.ymax};
  for (int k = 0; k < 2; ++k) {
    if (d[k] == 0) {
      if (!(from[k] >= lo[k] && from[k] <= hi[k])) return false;
      continue;
    }
    double a = (lo[k] - from[k]) / d[k], b = (hi[k] - from[k]) / d[k];
    if (a > b) std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
  }
  return t0 <= t1;
}

}  // namespace

OutlineGrid::Curve OutlineGrid::CurveOf(const OutlineShape& s) {
  return {s.cx,    s.cy,    s.a,         s.b,   std::cos(s.tilt), std::sin(s.tilt),
          s.start, s.sweep, s.chord_gap, s.full};
}

void OutlineGrid::Refresh(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                          const ViewState& view) {
  if (doc_ != &doc || index_ != &index || !SameView(view_, view) || !(attr_ == attr)) {
    return Rebuild(doc, index, attr, view);
  }
  bool changed = false;
  for (int t = 0; t < kEntityTables; ++t) {
    const EntityTable table = static_cast<EntityTable>(t);
    const size_t kept = index.KeptSince(table, mark_, sizes_[t]);
    if (kept < base_sizes_[t]) return Rebuild(doc, index, attr, view);
    if (kept != sizes_[t] || index.Seen(table) != sizes_[t]) changed = true;
  }
  mark_ = index.Mark();
  if (changed) TakeAppended(doc, index);
}

void OutlineGrid::Rebuild(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                          const ViewState& view) {
  doc_ = &doc;
  index_ = &index;
  attr_ = attr;
  view_ = view;
  mark_ = index.Mark();
  for (int t = 0; t < kEntityTables; ++t)
    base_sizes_[t] = sizes_[t] = index.Seen(static_cast<EntityTable>(t));
  ends_.clear();
  curves_.clear();
  base_.Clear();
  extra_.Clear();
  extra_from_ = {};
  cell_ = kOutlineCellPixels / view.ViewScale;
  DrawRect shown;
  if (!(cell_ > 0) || !std::isfinite(cell_) || view.ViewWidth <= 0 || view.ViewHeight <= 0 ||
      !SurfaceRect(view, view.ViewWidth, 0, view.ViewHeight, shown)) {
    columns_ = rows_ = 0;
    return;
  }
  columns_ = (view.ViewWidth + kOutlineCellPixels - 1) / kOutlineCellPixels;
  rows_ = (view.ViewHeight + kOutlineCellPixels - 1) / kOutlineCellPixels;
  EntitySet found;
  index.Query(shown, found);
  for (int t = 0; t < kEntityTables; ++t) {
    const EntityTable table = static_cast<EntityTable>(t);
    found.ForEach(table, [&](size_t i) {
      Take(doc, table, i);
      return true;
    });
  }
  File({}, base_);
  extra_from_ = {ends_.size(), curves_.size()};
}

void OutlineGrid::TakeAppended(const TJGdata& doc, const EntityIndex& index) {
  ends_.resize(extra_from_.ends);
  curves_.resize(extra_from_.curves);
  extra_.Clear();
  for (int t = 0; t < kEntityTables; ++t) {
    const EntityTable table = static_cast<EntityTable>(t);
    sizes_[t] = index.Seen(table);
    for (size_t i = base_sizes_[t]; i < sizes_[t]; ++i)
      Take(doc, table, i);
  }
  if (ends_.size() > extra_from_.ends || curves_.size() > extra_from_.curves) {
    File(extra_from_, extra_);
  }
}

void OutlineGrid::Take(const TJGdata& doc, EntityTable table, size_t index) {
  if (columns_ <= 0) return;
  // What a cell of the grid can hold: the cells cover the view and a little more.
  const DrawRect grid{view_.ViewXmin, view_.ViewYmax - rows_ * cell_,
                      view_.ViewXmin + columns_ * cell_, view_.ViewYmax};
  made_.clear();
  AppendBlackOutline(doc, attr_, view_, table, index, made_);
  for (const OutlineShape& s : made_) {
    if (s.kind == OutlineShape::Kind::Segment) {
      const DrawRect box{std::min(s.p1.x, s.p2.x), std::min(s.p1.y, s.p2.y),
                         std::max(s.p1.x, s.p2.x), std::max(s.p1.y, s.p2.y)};
      if (!Meets(box, grid)) continue;
      ends_.push_back(s.p1);
      ends_.push_back(s.p2);
    } else {
      if (!Meets(EllipseBox(s), grid)) continue;
      curves_.push_back(CurveOf(s));
    }
  }
}

void OutlineGrid::File(const Part& from, Cells& cells) {
  const size_t count = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
  const double x0 = view_.ViewXmin, y0 = view_.ViewYmax;
  std::vector<uint64_t>& filed = filed_;
  std::vector<uint32_t>& last = last_;
  filed.clear();
  last.assign(count, UINT32_MAX);
  const auto file_box = [&](uint32_t id, double xmin, double ymin, double xmax, double ymax) {
    const double u0 = (xmin - x0) / cell_ - kOutlineCellSlack,
                 u1 = (xmax - x0) / cell_ + kOutlineCellSlack;
    const double v0 = (y0 - ymax) / cell_ - kOutlineCellSlack,
                 v1 = (y0 - ymin) / cell_ + kOutlineCellSlack;
    if (!(u1 >= 0 && u0 < columns_ && v1 >= 0 && v0 < rows_)) return;
    const int c0 = static_cast<int>(std::max(0.0, std::floor(u0)));
    const int c1 = static_cast<int>(std::min(columns_ - 1.0, std::floor(u1)));
    const int r0 = static_cast<int>(std::max(0.0, std::floor(v0)));
    const int r1 = static_cast<int>(std::min(rows_ - 1.0, std::floor(v1)));
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) {
        const size_t cell =
            static_cast<size_t>(r) * static_cast<size_t>(columns_) + static_cast<size_t>(c);
        if (last[cell] == id) continue;
        last[cell] = id;
        filed.push_back(uint64_t{cell} << 32 | id);
      }
    }
  };
  const DrawRect grid{x0 - cell_, y0 - (rows_ + 1) * cell_, x0 + (columns_ + 1) * cell_,
                      y0 + cell_};

  // Segments in pieces no longer than a cell, over the part that lies on the grid.
  for (size_t k = from.ends / 2; k < ends_.size() / 2; ++k) {
    const TGraph_Point& p = ends_[2 * k];
    const TGraph_Point& q = ends_[2 * k + 1];
    double t0 = 0, t1 = 1;
    if (!ClipSegment(p, q, grid, t0, t1)) continue;
    const double length = std::hypot(q.x - p.x, q.y - p.y) * (t1 - t0);
    const double pieces = std::clamp(std::ceil(length / cell_), 1.0, 4.0 * (columns_ + rows_));
    const int n = static_cast<int>(pieces);
    const auto at = [&](int i) {
      const double t = i == n ? t1 : t0 + (t1 - t0) * i / n;
      return TGraph_Point{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t};
    };
    TGraph_Point a = at(0);
    for (int i = 1; i <= n; ++i) {
      const TGraph_Point b = at(i);
      file_box(static_cast<uint32_t>(k), std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
               std::max(a.y, b.y));
      a = b;
    }
  }

  // Curves in pieces of equal angle, each piece's box its chord's grown by how far the curve
  // strays from the chord.
  for (size_t k = from.curves; k < curves_.size(); ++k) {
    const Curve& s = curves_[k];
    const double radius = std::max(std::fabs(s.a), std::fabs(s.b));
    const double pieces = std::clamp(std::ceil(s.sweep * radius / cell_), 1.0, kMostCurvePieces);
    const int n = static_cast<int>(pieces);
    const double step = s.sweep / n;
    const double half = std::sin(step / 4);
    const double stray = 2 * radius * half * half * (1 + 1e-9) + 1e-9 * radius;
    const auto at = [&](int i) {
      const double angle = s.start + step * i;
      const double x = s.a * std::cos(angle), y = s.b * std::sin(angle);
      return TGraph_Point{s.cx + s.cos_tilt * x - s.sin_tilt * y,
                          s.cy + s.sin_tilt * x + s.cos_tilt * y};
    };
    TGraph_Point a = at(0);
    for (int i = 1; i <= n; ++i) {
      const TGraph_Point b = at(i);
      file_box(static_cast<uint32_t>(k) | kCurve, std::min(a.x, b.x) - stray,
               std::min(a.y, b.y) - stray, std::max(a.x, b.x) + stray, std::max(a.y, b.y) + stray);
      a = b;
    }
  }

  // By cell, each cell's shapes in the order they were filed.
  cells.start.assign(count + 1, Range{});
  for (const uint64_t f : filed) {
    Range& next = cells.start[(f >> 32) + 1];
    ++(f & kCurve ? next.curves : next.segments);
  }
  for (size_t c = 0; c < count; ++c) {
    cells.start[c + 1].segments += cells.start[c].segments;
    cells.start[c + 1].curves += cells.start[c].curves;
  }
  cells.segment_ends.resize(2 * size_t{cells.start[count].segments});
  cells.curves.resize(cells.start[count].curves);
  std::vector<Range> next(cells.start.begin(), cells.start.end() - 1);
  for (const uint64_t f : filed) {
    const size_t cell = f >> 32;
    const uint32_t id = static_cast<uint32_t>(f);
    if (id & kCurve) {
      cells.curves[next[cell].curves++] = curves_[id & ~kCurve];
    } else {
      const size_t at = 2 * size_t{next[cell].segments++};
      cells.segment_ends[at] = ends_[2 * size_t{id}];
      cells.segment_ends[at + 1] = ends_[2 * size_t{id} + 1];
    }
  }
}

}  // namespace vardo
