// End correction: hatch pieces found on the screen's pixels get their ends moved, along their
// own hatch line, onto the exact crossings with the drawing's lines and curves that bound them.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
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

// Calls visit(t, sine) for every crossing of the line end + t (dx, dy) (a unit direction) with
// the shape: t, and the sine of the angle between the line and the shape there.
void ForEachCrossing(const OutlineShape& shape, const HatchPoint& end, double dx, double dy,
                     const std::function<void(double t, double sine)>& visit);

// One run's end correction. The entity index is asked once per tile of the screen that holds
// contour segments; each segment then keeps the shapes of its tile that lie near it, and every
// end on that segment is judged against those alone.
class EndSnap {
 public:
  // Works on the entities index knows (as its last Build or Update saw doc: what the screen
  // shows, not the hatch being laid), as GLDrawALL draws them under attr in view. Pieces go
  // into the document multiplied by file_scale, which decides when a piece becomes degenerate
  // there.
  EndSnap(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
          const ViewState& view, double file_scale);

  // The contours the pieces that follow were cut from: their ends name its segments. contours
  // must outlive the pieces. The families of one run are cut from the same traced contours, so
  // what was gathered for the first serves the next.
  void UseContours(const HatchContours& contours);

  // Moves each end of the piece p-q, which lies on a hatch line of direction (cos_a, sin_a) and
  // ends on contour segments seg_p and seg_q, onto the crossing of that line with black drawing
  // geometry nearest to it, when that crossing lies inside the view, within kSnapTravelPixels
  // along the line, and its geometry passes within kSnapReachPixels of the end (curves
  // kSnapCurveReachPixels and their chords' gap further); an end with no such crossing stays.
  // When the moved piece would turn round or become degenerate (at most kShortestHatchPiece
  // long, or dropped by A_Line once scaled) both ends stay.
  void MovePiece(HatchPoint& p, uint32_t seg_p, HatchPoint& q, uint32_t seg_q, double cos_a,
                 double sin_a);

  // The crossing one end moves to; outward is +1 or -1, the side (along the direction) away
  // from its piece, which wins when two crossings lie equally near. False when none qualifies.
  bool MovedEnd(const HatchPoint& end, uint32_t seg, double cos_a, double sin_a, int outward,
                HatchPoint& moved);

 private:
  // A curve with its box. Shapes are named by ids: a segment's index in lines_ (its ends at
  // 2 id and 2 id + 1), or a curve's index in curves_ with kCurve set.
  struct Curve {
    OutlineShape s;
    DrawRect box;
    double cos_tilt = 1, sin_tilt = 0;
  };
  static constexpr uint32_t kCurve = 0x80000000u;
  struct Crossing {
    double t = 0;        // position along the line from the end
    double reach = 0;    // how far the geometry passes from the end
    double allowed = 0;  // how far it may pass and still count
  };
  static constexpr uint32_t kNotYet = UINT32_MAX;
  struct Range {
    uint32_t begin = kNotYet, count = 0;
  };
  // An entity's shapes, once made.
  struct Made {
    bool made = false;
    Range lines, curves;
  };
  // Tiles of the screen: the box round the near boxes of the segments in each, and its shapes
  // (in tile_shapes_) once asked for.
  struct Tile {
    DrawRect box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    Range shapes;
  };

  // The shapes of the entities the index finds meeting the rectangle, each entity's made once.
  void ShapesIn(const DrawRect& rect, std::vector<uint32_t>& out);
  bool ShapeMeets(uint32_t id, const DrawRect& rect) const;
  // The shapes near a contour segment: every shape with a crossing within the first look of an
  // end on it, or passing within reach of one.
  const uint32_t* NearSegment(uint32_t seg, uint32_t& count);
  // A segment's box grown by what its ends may look at.
  DrawRect NearBox(uint32_t seg) const;
  // The nearest crossing among the shapes within travel of the end, whether it counts or not;
  // false when there is none.
  bool Nearest(const HatchPoint& end, double dx, double dy, int outward, double travel,
               const uint32_t* shapes, uint32_t count, Crossing& best) const;
  bool InsideView(double x, double y) const;

  const TJGdata& doc_;
  const EntityIndex& index_;
  const TgraAttribute& attr_;
  ViewState view_;
  double file_scale_;
  double pixel_ = 0;  // one pixel in drawing units
  const HatchContours* contours_ = nullptr;
  HatchPoint first_, last_;  // the contours' first and last points, to know them again

  std::vector<TGraph_Point> lines_;   // the shapes made so far: segments' ends
  std::vector<DrawRect> line_boxes_;  // and boxes
  std::vector<Curve> curves_;         // and curves
  std::array<std::vector<Made>, kEntityTables> entities_;
  int tiles_x_ = 0, tiles_y_ = 0;
  std::vector<Tile> tiles_;
  std::vector<uint32_t> tile_shapes_;
  std::vector<uint32_t> tile_of_;  // each contour segment's tile
  std::vector<Range> segments_;    // each contour segment's shapes, in near_
  std::vector<uint32_t> near_;
  std::vector<EntityRef> found_;
  std::vector<uint32_t> far_;
  std::vector<OutlineShape> made_;
};

}  // namespace vardo
