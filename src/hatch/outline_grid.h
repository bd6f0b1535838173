// The exact black outlines of what the screen shows, filed in square cells over the view so that
// the shapes a hatch line meets near a point are found without a search. Kept from one hatch run
// to the next while the drawing, the display attributes and the view stay as they were.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "common/view_state.h"
#include "document/model.h"
#include "render/entity_index.h"
#include "render/entity_outline.h"

namespace vardo {

// A rectangle of paint-box pixels, x0 .. x1 and y0 .. y1 inclusive.
struct PixelRect {
  int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};

// The side of a cell, in pixels.
inline constexpr int kOutlineCellPixels = 4;
// How far (in cells) the boxes filed and the cells looked at reach beyond where the arithmetic
// puts them, so that rounding never keeps a shape from a cell it passes through.
inline constexpr double kOutlineCellSlack = 1e-6;

class OutlineGrid {
 public:
  // An arc of the ellipse (cx, cy) + R(tilt) (a cos t, b sin t), as OutlineShape has it, with
  // its tilt's cosine and sine taken once.
  struct Curve {
    double cx = 0, cy = 0, a = 0, b = 0, cos_tilt = 1, sin_tilt = 0, start = 0, sweep = 0;
    double chord_gap = 0;
    bool full = false;
  };
  static Curve CurveOf(const OutlineShape& s);

  // Brings the grid up to date with the entities index has seen of doc (what the screen shows),
  // drawn under attr in view, for the cells that hold any pixel of near (the ends of a run and
  // whatever their look reaches; the whole view without it). Everything is made again when the
  // view, the attributes, the document or the index are not the ones of the last call, when
  // entities the grid holds were removed from the index since (or it was built again), or when
  // near reaches cells the grid does not cover yet (it then covers those it did and the new
  // ones); entities appended since are filed beside the others, and ones appended and removed
  // again are forgotten. Cells not covered hold nothing. When stop is given and is set while
  // the work goes on, the grid gives up: it holds nothing until a later call makes it afresh.
  void Refresh(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
               const ViewState& view, const PixelRect& near,
               const std::atomic<bool>* stop = nullptr);
  void Refresh(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
               const ViewState& view, const std::atomic<bool>* stop = nullptr);

  const ViewState& View() const { return view_; }
  // The side of a cell in drawing units; the cells' columns run from ViewXmin rightwards and
  // their rows from ViewYmax downwards.
  double CellLength() const { return cell_; }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }

  // The cells numbered row by row, up to CellCount().
  size_t Cell(int column, int row) const {
    return static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column);
  }
  size_t CellCount() const { return static_cast<size_t>(columns_) * static_cast<size_t>(rows_); }

  // Calls segment(ends) (a pointer to a segment's two ends) for every segment and curve(c) for
  // every curve filed in the cell (column, row), a shape that passes through several cells once
  // in each.
  template <typename SegmentVisit, typename CurveVisit>
  void ForEachIn(int column, int row, SegmentVisit&& segment, CurveVisit&& curve) const {
    const size_t cell = Cell(column, row);
    for (const CellShapes* cells : {&base_, &extra_}) {
      if (cells->start.empty()) break;
      const Range& from = cells->start[cell];
      const Range& to = cells->start[cell + 1];
      for (uint32_t k = from.segments; k < to.segments; ++k)
        segment(ends_.data() + 2 * size_t{cells->segments[k]});
      for (uint32_t k = from.curves; k < to.curves; ++k)
        curve(curves_[cells->curves[k]]);
    }
  }

 private:
  // The shapes by cell: cell c holds the segments named (by their index in ends_, two ends
  // each) in segments[start[c].segments .. start[c + 1].segments), and likewise the curves (by
  // their index in curves_). The extra cells are empty until entities are appended.
  struct Range {
    uint32_t segments = 0, curves = 0;
  };
  struct CellShapes {
    std::vector<Range> start;
    std::vector<uint32_t> segments, curves;
    void Clear() {
      start.clear();
      segments.clear();
      curves.clear();
    }
  };
  // Where the shapes of one part of the grid start in ends_ and curves_.
  struct Part {
    size_t ends = 0, curves = 0;
  };

  // Cells column0 .. column1 - 1 of rows row0 .. row1 - 1.
  struct CellRange {
    int column0 = 0, row0 = 0, column1 = 0, row1 = 0;
  };
  CellRange CellsNear(const PixelRect& near) const;
  // The drawing rectangle of the cells covered, grown by grow cells.
  DrawRect CoverRect(int grow) const;
  // Makes everything again for the cells near asks for, and with widen those covered before.
  void Rebuild(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
               const ViewState& view, const PixelRect& near, bool widen);
  // Takes the entities appended since the grid was built afresh, filed in extra_.
  void TakeAppended(const TJGdata& doc, const EntityIndex& index);
  // Adds an entity's shapes that reach the cells covered.
  void Take(const TJGdata& doc, EntityTable table, size_t index);
  // Files the shapes made from the given part onwards into cells.
  void File(const Part& from, CellShapes& cells);
  // Whether the caller of Refresh asked to give up, looked at once every 256 steps k; the work
  // cut short is then forgotten.
  bool Stopping(size_t k) {
    if (k % 256 != 0 || stop_ == nullptr || !stop_->load(std::memory_order_relaxed)) return false;
    gave_up_ = true;
    return true;
  }
  // Holds nothing, to be made afresh by the next Refresh.
  void Forget();

  // What the grid was made for.
  const TJGdata* doc_ = nullptr;
  const EntityIndex* index_ = nullptr;
  TgraAttribute attr_;
  ViewState view_;
  uint64_t mark_ = 0;
  std::array<size_t, kEntityTables> base_sizes_{};  // the tables as the last Rebuild saw them
  std::array<size_t, kEntityTables> sizes_{};       // and as the last Refresh did

  double cell_ = 0;
  int columns_ = 0, rows_ = 0;
  CellRange cover_;                 // the cells that hold shapes
  std::vector<TGraph_Point> ends_;  // every shape once: segments, two ends each
  std::vector<Curve> curves_;       // and curves
  Part extra_from_;                 // where the shapes of appended entities start
  CellShapes base_, extra_;
  // Kept for the next filing: an entity's shapes as made, the shape last filed in each cell,
  // where each cell's next shape goes and the cells each shape meets.
  std::vector<OutlineShape> made_;
  std::vector<uint32_t> last_;
  std::vector<Range> next_;
  struct Filing {
    uint32_t cell, id;
  };
  std::vector<Filing> met_;
  const std::atomic<bool>* stop_ = nullptr;  // during a Refresh
  bool gave_up_ = false;
};

}  // namespace vardo
