// Filing the black outlines of the view into cells: a segment goes into the cells it crosses, row
// by row, and a curve into the cells its box meets when small, else those of its pieces' boxes, so
// a cell holds only what passes through or close by it.
#include "hatch/outline_grid.h"

#include <algorithm>
#include <cmath>

namespace vardo {

namespace {

// Shape ids while filing: a segment's index in ends_ (its ends at 2 id and 2 id + 1), or a
// curve's index in curves_ with kCurve set.
constexpr uint32_t kCurve = 0x80000000u;

// The most pieces a curve is filed in; a curve much larger than the view takes pieces longer
// than a cell, each filed in every cell its box meets.
constexpr double kMostCurvePieces = 4096;

// The box of a whole ellipse, a little wider for the rounding of cosines and sines.
DrawRect CurveBox(const OutlineGrid::Curve& s) {
  const double c = std::fabs(s.cos_tilt), sn = std::fabs(s.sin_tilt);
  const double a = std::fabs(s.a), b = std::fabs(s.b);
  const double slack = 1e-9 * (std::fabs(s.cx) + std::fabs(s.cy) + a + b);
  const double hx = a * c + b * sn + slack, hy = a * sn + b * c + slack;
  return {s.cx - hx, s.cy - hy, s.cx + hx, s.cy + hy};
}

bool Meets(const DrawRect& a, const DrawRect& b) {
  return a.xmin <= b.xmax && a.xmax >= b.xmin && a.ymin <= b.ymax && a.ymax >= b.ymin;
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
                          const ViewState& view, const std::atomic<bool>* stop) {
  Refresh(doc, index, attr, view, {0, 0, view.ViewWidth - 1, view.ViewHeight - 1}, stop);
}

void OutlineGrid::Refresh(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                          const ViewState& view, const PixelRect& near,
                          const std::atomic<bool>* stop) {
  stop_ = stop;
  const auto bring_up_to_date = [&] {
    if (doc_ != &doc || index_ != &index || !SameWindow(view_, view) || !(attr_ == attr)) {
      return Rebuild(doc, index, attr, view, near, false);
    }
    bool changed = false;
    for (int t = 0; t < kEntityTables; ++t) {
      const EntityTable table = static_cast<EntityTable>(t);
      const size_t kept = index.KeptSince(table, mark_, sizes_[t]);
      if (kept < base_sizes_[t]) return Rebuild(doc, index, attr, view, near, true);
      if (kept != sizes_[t] || index.Seen(table) != sizes_[t]) changed = true;
    }
    const CellRange need = CellsNear(near);
    if (need.column0 < cover_.column0 || need.column1 > cover_.column1 || need.row0 < cover_.row0 ||
        need.row1 > cover_.row1) {
      return Rebuild(doc, index, attr, view, near, true);
    }
    mark_ = index.Mark();
    if (changed) TakeAppended(doc, index);
  };
  gave_up_ = false;
  bring_up_to_date();
  if (gave_up_) Forget();
  stop_ = nullptr;
}

void OutlineGrid::Forget() {
  doc_ = nullptr;
  index_ = nullptr;
  columns_ = rows_ = 0;
  cover_ = {};
  ends_.clear();
  curves_.clear();
  base_.Clear();
  extra_.Clear();
  extra_from_ = {};
}

OutlineGrid::CellRange OutlineGrid::CellsNear(const PixelRect& near) const {
  // Cell k holds the pixels k n to k n + n - 1 of its row or column, n = kOutlineCellPixels.
  const auto cell = [](int pixel) {
    return pixel >= 0 ? pixel / kOutlineCellPixels : -((-pixel - 1) / kOutlineCellPixels) - 1;
  };
  if (near.x1 < near.x0 || near.y1 < near.y0) return {};
  return {std::max(cell(near.x0), 0), std::max(cell(near.y0), 0),
          std::min(cell(near.x1) + 1, columns_), std::min(cell(near.y1) + 1, rows_)};
}

DrawRect OutlineGrid::CoverRect(int grow) const {
  return {view_.ViewXmin + (cover_.column0 - grow) * cell_,
          view_.ViewYmax - (cover_.row1 + grow) * cell_,
          view_.ViewXmin + (cover_.column1 + grow) * cell_,
          view_.ViewYmax - (cover_.row0 - grow) * cell_};
}

void OutlineGrid::Rebuild(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                          const ViewState& view, const PixelRect& near, bool widen) {
  const CellRange before = cover_;
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
  cover_ = {};
  cell_ = kOutlineCellPixels / view.ViewScale;
  if (!(cell_ > 0) || !std::isfinite(cell_) || view.ViewWidth <= 0 || view.ViewHeight <= 0 ||
      !std::isfinite(view.ViewXmin) || !std::isfinite(view.ViewYmax)) {
    columns_ = rows_ = 0;
    return;
  }
  columns_ = (view.ViewWidth + kOutlineCellPixels - 1) / kOutlineCellPixels;
  rows_ = (view.ViewHeight + kOutlineCellPixels - 1) / kOutlineCellPixels;
  // The cells asked for, with those the grid held before in the same view.
  cover_ = CellsNear(near);
  if (widen && before.column0 < before.column1 && before.row0 < before.row1) {
    cover_ = {std::min(cover_.column0, before.column0), std::min(cover_.row0, before.row0),
              std::max(cover_.column1, before.column1), std::max(cover_.row1, before.row1)};
  }
  if (cover_.column0 >= cover_.column1 || cover_.row0 >= cover_.row1) {
    cover_ = {};
  } else {
    // Every entity that can draw into the cells covered: its box meets theirs, grown by what
    // the pixels may add.
    const DrawRect covered = CoverRect(0);
    const double margin = kEntityMarginPixels / view.ViewScale;
    EntitySet found;
    index.Query({covered.xmin - margin, covered.ymin - margin, covered.xmax + margin,
                 covered.ymax + margin},
                found);
    size_t taken = 0;
    for (int t = 0; t < kEntityTables; ++t) {
      const EntityTable table = static_cast<EntityTable>(t);
      const bool all = found.ForEach(table, [&](size_t i) {
        Take(doc, table, i);
        return !Stopping(++taken);
      });
      if (!all) return;
    }
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
    for (size_t i = base_sizes_[t]; i < sizes_[t]; ++i) {
      if (Stopping(i)) return;
      Take(doc, table, i);
    }
  }
  if (ends_.size() > extra_from_.ends || curves_.size() > extra_from_.curves) {
    File(extra_from_, extra_);
  }
}

void OutlineGrid::Take(const TJGdata& doc, EntityTable table, size_t index) {
  if (columns_ <= 0) return;
  // What the cells the grid covers can hold.
  const DrawRect grid = CoverRect(0);
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
      const Curve curve = CurveOf(s);
      if (!Meets(CurveBox(curve), grid)) continue;
      curves_.push_back(curve);
    }
  }
}

void OutlineGrid::File(const Part& from, CellShapes& cells) {
  const size_t count = CellCount();
  const double x0 = view_.ViewXmin, y0 = view_.ViewYmax, per_unit = 1 / cell_;
  // Positions on the grid, in cells: columns rightwards, rows downwards.
  const auto column_of = [&](double x) { return (x - x0) * per_unit; };
  const auto row_of = [&](double y) { return (y0 - y) * per_unit; };
  // Only the cells the grid covers take shapes: columns c_from .. c_end - 1, rows r_from ..
  // r_end - 1.
  const int c_from = cover_.column0, c_end = cover_.column1, r_from = cover_.row0,
            r_end = cover_.row1;
  const auto first = [](double at, int from) {
    return std::max(static_cast<double>(from), std::floor(at - kOutlineCellSlack));
  };
  const auto last = [](double at, int end) {
    return std::min(end - 1.0, std::floor(at + kOutlineCellSlack));
  };
  // Calls file(id, cell) for every cell of every shape from the part on, each cell of a shape
  // once.
  const auto walk = [&](auto&& file) {
    // Every cell a box meets.
    const auto file_box = [&](uint32_t id, double u0, double v0, double u1, double v1) {
      if (!(u1 + kOutlineCellSlack >= c_from && u0 - kOutlineCellSlack < c_end &&
            v1 + kOutlineCellSlack >= r_from && v0 - kOutlineCellSlack < r_end)) {
        return;
      }
      const int c1 = static_cast<int>(last(u1, c_end)), r1 = static_cast<int>(last(v1, r_end));
      for (int r = static_cast<int>(first(v0, r_from)); r <= r1; ++r) {
        for (int c = static_cast<int>(first(u0, c_from)); c <= c1; ++c)
          file(id, Cell(c, r));
      }
    };
    const DrawRect grid = CoverRect(1);

    // Segments row by row: in each row, the columns of the part of the segment the row holds.
    for (size_t k = from.ends / 2; k < ends_.size() / 2; ++k) {
      if (Stopping(k)) return;
      const TGraph_Point& p = ends_[2 * k];
      const TGraph_Point& q = ends_[2 * k + 1];
      double t0 = 0, t1 = 1;
      if (!ClipSegment(p, q, grid, t0, t1)) continue;
      const double au = column_of(p.x + (q.x - p.x) * t0), av = row_of(p.y + (q.y - p.y) * t0);
      const double bu = column_of(p.x + (q.x - p.x) * t1), bv = row_of(p.y + (q.y - p.y) * t1);
      if (!std::isfinite(au) || !std::isfinite(av) || !std::isfinite(bu) || !std::isfinite(bv)) {
        continue;
      }
      const uint32_t id = static_cast<uint32_t>(k);
      const double umin = std::min(au, bu), umax = std::max(au, bu);
      const double vmin = std::min(av, bv), vmax = std::max(av, bv);
      if (!(umax + kOutlineCellSlack >= c_from && umin - kOutlineCellSlack < c_end &&
            vmax + kOutlineCellSlack >= r_from && vmin - kOutlineCellSlack < r_end)) {
        continue;
      }
      const double slope = (bu - au) / (bv - av);  // columns a row; used only when av != bv
      const int r1 = static_cast<int>(last(vmax, r_end));
      for (int r = static_cast<int>(first(vmin, r_from)); r <= r1; ++r) {
        double u0 = umin, u1 = umax;
        if (av != bv) {
          const double lo = std::max(vmin, r - kOutlineCellSlack);
          const double hi = std::min(vmax, r + 1 + kOutlineCellSlack);
          const double ulo = au + (lo - av) * slope, uhi = au + (hi - av) * slope;
          u0 = std::clamp(std::min(ulo, uhi), umin, umax);
          u1 = std::clamp(std::max(ulo, uhi), umin, umax);
        }
        if (!(u1 + kOutlineCellSlack >= c_from && u0 - kOutlineCellSlack < c_end)) continue;
        const int c1 = static_cast<int>(last(u1, c_end));
        for (int c = static_cast<int>(first(u0, c_from)); c <= c1; ++c)
          file(id, Cell(c, r));
      }
    }

    // Curves: a small one in every cell of its box; a larger one in pieces of equal angle, each
    // piece's box its chord's grown by how far the curve strays from the chord, each cell once.
    std::vector<uint32_t>& last_in = last_;
    last_in.assign(count, UINT32_MAX);
    for (size_t k = from.curves; k < curves_.size(); ++k) {
      if (Stopping(k)) return;
      const Curve& s = curves_[k];
      const uint32_t id = static_cast<uint32_t>(k) | kCurve;
      const DrawRect box = CurveBox(s);
      if (box.xmax - box.xmin <= cell_ && box.ymax - box.ymin <= cell_) {
        file_box(id, column_of(box.xmin), row_of(box.ymax), column_of(box.xmax), row_of(box.ymin));
        continue;
      }
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
        const double u0 = column_of(std::min(a.x, b.x) - stray);
        const double u1 = column_of(std::max(a.x, b.x) + stray);
        const double v0 = row_of(std::max(a.y, b.y) + stray);
        const double v1 = row_of(std::min(a.y, b.y) - stray);
        a = b;
        if (!(u1 + kOutlineCellSlack >= c_from && u0 - kOutlineCellSlack < c_end &&
              v1 + kOutlineCellSlack >= r_from && v0 - kOutlineCellSlack < r_end)) {
          continue;
        }
        const int c1 = static_cast<int>(last(u1, c_end)), r1 = static_cast<int>(last(v1, r_end));
        for (int r = static_cast<int>(first(v0, r_from)); r <= r1; ++r) {
          for (int c = static_cast<int>(first(u0, c_from)); c <= c1; ++c) {
            const size_t cell = Cell(c, r);
            if (last_in[cell] == id) continue;
            last_in[cell] = id;
            file(id, cell);
          }
        }
      }
    }
  };

  // Every (cell, shape) met, then filed by cell, each cell's shapes in the order they come.
  std::vector<Filing>& met = met_;
  met.clear();
  walk([&](uint32_t id, size_t cell) { met.push_back({static_cast<uint32_t>(cell), id}); });
  if (Stopping(0)) return;
  cells.start.assign(count + 1, Range{});
  for (const Filing& f : met) {
    Range& next = cells.start[f.cell + 1];
    ++(f.id & kCurve ? next.curves : next.segments);
  }
  for (size_t c = 0; c < count; ++c) {
    cells.start[c + 1].segments += cells.start[c].segments;
    cells.start[c + 1].curves += cells.start[c].curves;
  }
  cells.segments.resize(cells.start[count].segments);
  cells.curves.resize(cells.start[count].curves);
  std::vector<Range>& next = next_;
  next.assign(cells.start.begin(), cells.start.end() - 1);
  for (const Filing& f : met) {
    if (f.id & kCurve) {
      cells.curves[next[f.cell].curves++] = f.id & ~kCurve;
    } else {
      cells.segments[next[f.cell].segments++] = f.id;
    }
  }
}

}  // namespace vardo
