// The entity renderer: the whole drawing document drawn kind by kind through the primitives.
#pragma once

#include <array>
#include <cstdint>

#include "common/view_state.h"
#include "document/model.h"
#include "render/entity_index.h"
#include "render/graphics.h"
#include "render/text.h"

namespace vardo {

// How GLDrawALL goes through the drawing. Every way gives the same pixels; the default, the
// plain walk over every entity on the calling thread, is the reference the others are held to.
struct DrawWalk {
  // Visit only what the index finds for the surface: a zoomed view costs what it shows. The
  // index must describe the document as it stands.
  const EntityIndex* index = nullptr;
  // Threads that draw bands of rows at the same time, each through a canvas limited to its
  // band; the calling thread is one of them and the only one that calls the stop poll.
  int threads = 1;
};

// The threads a redraw can keep busy on this machine.
int DrawThreads();

// Draws every entity of the document in a fixed order of kinds: image placeholders, solids,
// lines, circles, arcs, points, marks, texts, dimensions (block inserts are not shown). stop is
// polled after every tenth entity of a kind that is drawn and after each kind; once it answers
// true the rest stays undrawn (the bands still being drawn by other threads end at their next
// tenth entity). With culling or threads, stop is polled once before anything is drawn, and
// the canvas's pen and brush are left as they were. An empty stop never stops.
void GLDrawALL(const TJGdata& doc, Graphics& g, const StopPoll& stop, const DrawWalk& walk = {});

// The drawers of one entity each. Coordinates are divided by the entity's layer-group scale
// (TJGdata::ScaleOf). dcol >= 0 overrides the pen colour (for solids and marks the brush colour
// too) after the set-up from the attributes; -1 keeps the attributes' colours. The simplified
// display is the only one: one-pixel pens, line types shown solid or dotted.
void GLDrawSolid2(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSld2& e);
void GLDrawSolid3(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSld3& e);
void GLDrawSolid4(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSld4& e);
void GLDrawSolidC(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldC& e);
void GLDrawSolidE(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldC& e);
void GLDrawSolidO(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldD& e);
void GLDrawSolidG(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldD& e);
void GLDrawLine(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntLine& e);
void GLDrawCirc(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntCircle& e);
// Record angles in degrees; an arc whose sweep comes to 0 is the full ellipse.
void GLDrawArc(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntArc& e);
void GLDrawPnt(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntPnt& e);
void GLDrawMark(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntMark& e);
// Glyph by glyph through the text pipeline; image texts are left to GLDrawImage.
void GLDrawText(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntText& e);
// The dimension's line and text; hojof leaves out auxiliary parts (colour or line type 9).
void GLDrawDim(const TJGdata& doc, Graphics& g, bool hojof, int32_t dcol, const TEntDim& e);

// One part of a point or mark figure, in drawing coordinates.
enum class MarkPartKind { Line, Circle, Arc, Polygon };
enum class MarkBrush { Clear, Background, Colour };  // what a polygon is filled with
struct MarkPart {
  MarkPartKind kind = MarkPartKind::Line;
  MarkBrush brush = MarkBrush::Clear;
  int n = 0;                        // points used: a line's two ends, a polygon's 3 or 4 corners,
  std::array<TGraph_Point, 4> p{};  // the centre of a circle or arc
  double r = 0;                     // circles and arcs (flatness 1)
  double tilt = 0, start = 0, sweep = 0;  // arcs, radians
};
struct MarkFigure {
  std::array<MarkPart, 4> parts;
  int count = 0;
};

// The figure GraMark draws, part by part in drawing order; view_scale (pixels per drawing
// unit) sets the one-pixel least radius of points.
MarkFigure MarkFigureOf(const TgraAttribute& attr, double view_scale, int code, int wid, int col,
                        double size, double angle, double x, double y);

// The point and mark figures (code 0 a point, the others the mark codes) at (x, y) in drawing
// coordinates: wid in hundredths of a millimetre (0 = the colour's width), dcol the override
// colour, col the colour number, layer the layer index, size the scale factor of the figure
// (at most 1e-10 counts as 1) and angle its direction in radians.
void GraMark(Graphics& g, int code, int wid, int32_t dcol, int col, int layer, double size,
             double angle, double x, double y);

// Layer index LGrp * 16 + Lay of an entity, for the pen and brush set-ups.
int LayerIndex(const TEntAttr& att);

// The colour a solid is filled and outlined in: colour 10 is the solid's own RGB value Color,
// shown as it is even in monochrome; any other the attributes' colour.
uint32_t SolidColour(const TgraAttribute& attr, const TEntAttr& att, int32_t Color);

// Whether GLDrawALL draws with a solid black pen (no override colour): the pens of lines,
// circles, arcs and dimension lines (monochrome makes every one black and solid), and of points
// and marks (their colour on their layer).
bool LineDrawnBlack(const TgraAttribute& attr, const TEntAttr& att);
bool MarkDrawnBlack(const TgraAttribute& attr, const TEntAttr& att);
// The hojof GLDrawALL hands GLDrawDim: whether auxiliary parts are left out.
bool LeavesOutAuxiliary(const TgraAttribute& attr);
// Whether GLDrawDim draws a dimension's line.
bool DimLineShown(bool hojof, const TEntLine& lin);

// A text's baseline in drawing coordinates: the start point moved by the base-point code (by the
// length of the stored text, before any substitution), and the end point the direction vector
// further on.
TextBaseline PlaceText(const TJGdata& doc, const TEntText& e);

// A text's font: the style markers at the end of its face name ("!" bold, "/" italic, both in
// either order) and its "<" ">" wrapping taken off, "@" put before the face of vertical text;
// height, width and spacing exchanged for vertical text.
TextFont TextFontOf(const TEntText& e);

}  // namespace vardo
