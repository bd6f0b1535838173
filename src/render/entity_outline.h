// The exact lines and curves an entity is drawn with in solid black, in drawing coordinates:
// what bounds the regions marked on a monochrome screen, before the pixels round it.
#pragma once

#include <cstddef>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "common/view_state.h"
#include "document/model.h"
#include "render/entity_index.h"
#include "render/graphics.h"

namespace vardo {

// A segment, or an arc of the ellipse (cx, cy) + R(tilt) (a cos t, b sin t) for parameter
// angles t from start to start + sweep (sweep >= 0; the whole ellipse when full). a and b keep
// their signs; neither is 0 (an ellipse flattened to a line comes as a segment).
struct OutlineShape {
  enum class Kind { Segment, Ellipse } kind = Kind::Segment;
  TGraph_Point p1, p2;  // segment ends
  double cx = 0, cy = 0, a = 0, b = 0, tilt = 0, start = 0, sweep = 0;
  bool full = false;
  // How far the chords on the screen may stray from the exact curve (0 for a segment).
  double chord_gap = 0;
};

// Appends the shapes GLDrawALL draws entity index of a table with in solid black under attr
// and view (the view sets the least radius of points): lines, circles, arcs and dimension
// lines; the edges of solids (not those in a colour of their own); points and marks. Texts and
// their images add nothing, nor does anything drawn in another colour or dotted, nor an index
// beyond its table.
void AppendBlackOutline(const TJGdata& doc, const TgraAttribute& attr, const ViewState& view,
                        EntityTable table, size_t index, std::vector<OutlineShape>& out);

}  // namespace vardo
