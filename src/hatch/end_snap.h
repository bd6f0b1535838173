// End correction: hatch pieces found on the screen's pixels get their ends moved, along their
// own hatch line, onto the exact crossings with the drawing's lines and curves that bound them.
#pragma once

#include <vector>

#include "attributes/graphics_attributes.h"
#include "common/view_state.h"
#include "document/model.h"
#include "hatch/hatch.h"
#include "render/entity_index.h"
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

class EndSnap {
 public:
  // Works on the entities index knows (as its last Build or Update saw doc: what the screen
  // shows, not the hatch being laid), as GLDrawALL draws them under attr in view. Pieces go
  // into the document multiplied by file_scale, which decides when a piece becomes degenerate
  // there.
  EndSnap(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
          const ViewState& view, double file_scale);

  // Moves each end of the piece p-q, which lies on a hatch line of direction (cos_a, sin_a),
  // onto the crossing of that line with black drawing geometry nearest to it, when that
  // crossing lies inside the view, within kSnapTravelPixels along the line and its geometry
  // passes within kSnapReachPixels of the end (curves kSnapCurveReachPixels and their chords'
  // gap further); an end with no
  // such crossing stays. When the moved piece would turn round or become degenerate (at most
  // kShortestHatchPiece long, or dropped by A_Line once scaled) both ends stay.
  void MovePiece(HatchPoint& p, HatchPoint& q, double cos_a, double sin_a);

  // The crossing an end moves to; outward is +1 or -1, the side (along the direction) away from
  // its piece, which wins when two crossings lie equally near. False when none qualifies.
  bool MovedEnd(const HatchPoint& end, double cos_a, double sin_a, int outward, HatchPoint& moved);

 private:
  struct Crossing {
    double t = 0;        // position along the line from the end
    double reach = 0;    // how far the geometry passes from the end
    double allowed = 0;  // how far it may pass and still count
  };

  // The nearest crossing within travel of the end, whether it counts or not; false when there
  // is none.
  bool NearestCrossing(const HatchPoint& end, double dx, double dy, int outward, double travel,
                       Crossing& best);
  bool InsideView(double x, double y) const;

  const TJGdata& doc_;
  const EntityIndex& index_;
  const TgraAttribute& attr_;
  ViewState view_;
  double file_scale_;
  double pixel_ = 0;  // one pixel in drawing units
  EntitySet candidates_;
  std::vector<OutlineShape> shapes_;
};

}  // namespace vardo
