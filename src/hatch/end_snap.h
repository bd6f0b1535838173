// End correction: hatch pieces found on the screen's pixels get their ends moved, along their
// own hatch line, onto the exact crossings with the drawing's lines and curves that bound them.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/view_state.h"
#include "hatch/hatch.h"
#include "hatch/outline_grid.h"
#include "render/entity_outline.h"

namespace vardo {

// How far (across the drawing's line, in pixels) the geometry that drew a boundary may lie from
// a pixel end and still be the geometry that end belongs to: half a pixel of rounding where the
// line is drawn, the pixel between it and the traced outline, and the half pixel the outline's
// straight runs may stray from the pixels they join.
inline constexpr double kSnapReachPixels = 2;

// What a curve may lie further off: the outline's straight runs cut inside it by up to about a
// pixel more.
inline constexpr double kSnapCurveReachPixels = 1;

// How far along its hatch line an end may move, in pixels: lines that meet the hatch at a
// shallow angle lie further from the pixel end along it than across it.
inline constexpr double kSnapTravelPixels = 24;

// The pixels the ends of pieces cut from the contours PLN, and the looks along their lines, can
// reach: the contours' box grown by the travel.
PixelRect SnapReach(const PolyLines& PLN);

// Calls visit(t, sine) for every crossing of the line end + t (dx, dy) (a unit direction) with
// the shape: t, and the sine of the angle between the line and the shape there.
void ForEachCrossing(const OutlineShape& shape, const HatchPoint& end, double dx, double dy,
                     const std::function<void(double t, double sine)>& visit);

// One run's end correction, over the outlines of a grid brought up to date for the screen the
// run works on: what the screen shows, not the hatch being laid.
class EndSnap {
 public:
  // Pieces go into the document multiplied by file_scale, which decides when a piece becomes
  // degenerate there.
  EndSnap(const OutlineGrid& grid, double file_scale);

  // Moves each end of every piece, which lies on a hatch line of direction (cos_a, sin_a),
  // onto the crossing of that line with black drawing geometry nearest to it, when that
  // crossing lies inside the view, within kSnapTravelPixels along the line, and its geometry
  // passes within kSnapReachPixels of the end (curves kSnapCurveReachPixels and their chords'
  // gap further); an end with no such crossing stays. When a moved piece would turn round or
  // become degenerate (at most kShortestHatchPiece long, or dropped by A_Line once scaled) both
  // its ends stay. The ends are worked through cell by cell, so that neighbours share what
  // they read.
  void MovePieces(std::vector<HatchPiece>& pieces, double cos_a, double sin_a) const;

  // The crossing one end moves to; outward is +1 or -1, the side (along the direction) away
  // from its piece, which wins when two crossings lie equally near. False when none qualifies.
  bool MovedEnd(const HatchPoint& end, double cos_a, double sin_a, int outward,
                HatchPoint& moved) const;

 private:
  // What every end worked through along one direction shares: the direction and how far apart
  // (along it) the lines between cells lie.
  struct Direction {
    double dx = 1, dy = 0;
    int column_step = 0, row_step = 0;
    double column_every = 0, row_every = 0;
  };
  // One end's look along its line, and the nearest crossing found so far.
  struct Search {
    HatchPoint end;
    double dx = 1, dy = 0;
    int outward = 1;
    double limit = 0;  // how far along a crossing may lie and still count: travel, then |t|
    bool found = false;
    double t = 0;        // the crossing's position along the line from the end
    double reach = 0;    // how far its geometry passes from the end
    double allowed = 0;  // how far it may pass and still count
  };
  Direction DirectionOf(double cos_a, double sin_a) const;
  bool MovedEnd(const HatchPoint& end, const Direction& d, int outward, HatchPoint& moved) const;
  // Tests the shapes of one cell, keeping in s the crossing nearest the end within its limit.
  void TestCell(int column, int row, Search& s) const;
  bool InsideView(double x, double y) const;

  const OutlineGrid& grid_;
  const ViewState& view_;
  double file_scale_;
  double pixel_ = 0;                                // one pixel in drawing units
  double per_cell_ = 0;                             // cells a drawing unit
  double segment_allowed_ = 0, curve_allowed_ = 0;  // how far geometry may pass from an end
};

}  // namespace vardo
