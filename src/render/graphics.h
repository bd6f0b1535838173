// Drawing primitives in drawing coordinates: clipping to the view window, mapping to pixels,
// lines, boxes, polylines, polygons, ellipses, arcs and circular solids, pens and brushes.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "common/local_time.h"
#include "common/view_state.h"
#include "render/canvas.h"
#include "render/glyph.h"
#include "render/text_codes.h"

namespace vardo {

// A point in drawing coordinates (paper millimetres, y upwards).
struct TGraph_Point {
  double x = 0;
  double y = 0;
};

// A colour value from a document or an override as a screen colour: the top byte is never set,
// because the surface answers reads outside itself with such a value.
inline uint32_t ScreenColour(int32_t value) {
  return static_cast<uint32_t>(value) & 0x00FFFFFF;
}

// Every ellipse and arc is drawn as this many chords; a whole ellipse steps its parameter angle
// by pi / 36 as the program has always stepped it.
inline constexpr int kEllipseChords = 72;
inline constexpr double kEllipseChordStep = 0.0872664625997165;

// Screen colour of a colour number on a layer (layer index LGrp * 16 + Lay): the table colour
// (monochrome applied) on a normal layer, the gray colour on any other.
uint32_t AttrColour(const TgraAttribute& attr, int layer, int col);

// Line types an entity's pen draws solid; every other one is dotted.
inline bool SolidLineType(int ltype) {
  return ltype == 1 || ltype == 31;
}

// Bits of a region code: where a point lies relative to the view window. A point on an edge
// counts as beyond it.
enum ClipBits : int {
  kClipLeft = 1,
  kClipRight = 2,
  kClipBelow = 4,
  kClipAbove = 8,
};

// Results of ClipLine.
enum ClipResult : int {
  kClipInside = 0,
  kClipClipped = 1,
  kClipInvisible = 2,
};

// Kind codes of GraSolidArc.
enum SolidArcKind : int {
  kSolidArcFilled = 101,        // extra: the shape flag (100 full, 0 sector, 5 segment)
  kSolidArcOutline = 111,       // extra: the shape flag (100 full ellipse, else open arc)
  kSolidArcRing = 105,          // extra: the inner radius; inner ellipse similar to the outer
  kSolidArcRingParallel = 106,  // extra: the inner radius; same axis difference as the outer
};

// The points GraSolidArc draws for a kind (SolidArcKind), in drawing coordinates: the ring of a
// filled kind, the open or closed line of the outline kind; none for any other kind. Replaces
// the content of ring.
void SolidArcRing(int kind, double cx, double cy, double r, double flat, double tilt, double start,
                  double sweep, double extra, std::vector<TGraph_Point>& ring);

// The corner of a circular solid drawn with a shape flag other than 100, 0 and 5: where the
// tangents at its arc's ends a0 (parameter angle start) and a72 (start + sweep) meet, or the
// centre (cx, cy) when they do not meet in one point.
TGraph_Point SolidArcCorner(double cx, double cy, const TGraph_Point& a0, const TGraph_Point& a72,
                            double tilt, double start, double sweep);

// What drawing texts needs besides the view and the attributes. The form owns the rasterizer and
// the code values and hands them to whoever draws; now is taken once per drawing, so that every
// part of one redraw shows the same moment. The rasterizer may be shared between threads.
struct TextServices {
  GlyphRasterizer* glyphs = nullptr;      // none: texts show as their baselines
  const TextCodeValues* codes = nullptr;  // none: the values before start-up sets them
  LocalDateTime now;
};

// The primitives every drawing goes through: the redraw, the entity renderer, rubber bands and
// pick marks, and the hatch engine. They read the view and the display attributes on every
// call (both are owned elsewhere and may change between calls) and draw on the canvas with its
// current pen and brush. Pixel coordinates have their origin at the top-left, y downwards.
//
// Work is bounded by the surface whatever the input: clipped segments end inside the window,
// filled polygons are clipped to a band around the surface before they become integers, and
// points that are not finite are never drawn.
class Graphics {
 public:
  Graphics(Canvas& canvas, const ViewState& view, const TgraAttribute& attr,
           const TextServices& text = {})
      : canvas_(&canvas), view_(&view), attr_(&attr), text_(text) {}

  // The same view and attributes drawing on another canvas, with point buffers of its own.
  Graphics OnCanvas(Canvas& canvas) const {
    Graphics g = *this;
    g.canvas_ = &canvas;
    g.GraPts.clear();
    g.GraPixPts.clear();
    return g;
  }

  Canvas& canvas() const { return *canvas_; }
  const ViewState& view() const { return *view_; }
  const TgraAttribute& attr() const { return *attr_; }
  const TextServices& text() const { return text_; }

  // The caller fills GraPts in drawing coordinates, calls GraPolyline or GraPolygon and clears
  // it afterwards. GraPixPts holds pixels for GraPolylineXY and GraPolygonXY; GraPolyline and
  // GraPolygon fill and clear it themselves.
  std::vector<TGraph_Point> GraPts;
  std::vector<TPoint> GraPixPts;

  // --- geometry and clipping ---

  // Region code 0..15 of a point (ClipBits). A NaN coordinate counts as beyond both edges of
  // its axis, so such a point is never taken for a visible one.
  int ClipCode(double x, double y) const;
  // 0 when the point lies inside the window, else 2.
  int ClipPoint(double x, double y) const;
  // 0 when both points lie inside, 2 when both lie beyond one edge, else 1.
  int ClipCheck(double x1, double y1, double x2, double y2) const;
  // Clips the segment in place by one pass of region-code clipping per end point (ClipResult).
  // A segment that passes outside a corner collapses and counts as invisible, and so does one
  // with a coordinate that is not finite.
  int ClipLine(double& x1, double& y1, double& x2, double& y2) const;

  // Pixel position of a drawing point in the current view.
  int PixelX(double x) const { return DrawToPixelX(*view_, x); }
  int PixelY(double y) const { return DrawToPixelY(*view_, y); }

  // --- pens and brushes ---

  // Fills (0, 0)-(width, height) in the background colour and leaves a solid copy-mode pen
  // in that colour and a clear brush.
  void GraClear(int width, int height);
  // Clear brush; pen colour and width; style 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot,
  // 5 invisible, any other solid.
  void GraPen(uint32_t colour, int style, int width);
  // Brush style 1 solid, 2 horizontal, 3 vertical, 4 forward diagonal, 5 backward diagonal,
  // 6 cross, 7 diagonal cross, any other clear.
  void GraBrush(uint32_t colour, int style);
  void GraXorMode();
  // The one-pixel pen of an entity: colour from its layer index (LGrp * 16 + Lay) and colour
  // number, solid for line types 1 and 31, dotted for every other. The width in millimetres is
  // not shown by the simplified display. Clears the brush.
  void GraAttrPen(int layer, int col, int ltype, [[maybe_unused]] double width);
  // Brush in the colour of the layer index and colour number, GraBrush's style codes.
  void GraAttrBrush(int layer, int col, int style);
  uint32_t AttrColour(int layer, int col) const { return vardo::AttrColour(*attr_, layer, col); }

  // --- pixel drawing ---

  // A line that covers both end pixels; the end pixel takes the pen colour whatever the mode.
  void GraLineXY(int x1, int y1, int x2, int y2);
  // A rectangle for rubber bands and small boxes: nothing when both sides are at most two
  // pixels, a line along the first corner's column or row when one side is, else the canvas
  // rectangle.
  void GraBoxXY(int x1, int y1, int x2, int y2);
  void GraPolylineXY();
  void GraPolygonXY();

  // --- drawing coordinates, current pen and brush ---

  void GraLine(double x1, double y1, double x2, double y2);
  // Box with two opposite corners: a pixel box when both lie inside the window, a clipped
  // polygon when it crosses an edge. Replaces the content of GraPts and leaves it empty.
  void GraBox(double x1, double y1, double x2, double y2);
  // The points of GraPts as runs of clipped segments; a segment that leaves or enters the
  // window ends a run.
  void GraPolyline();
  // The ring of GraPts filled with the brush and outlined with the pen. When its first edge is
  // longer than 10000 pixels it is outlined only (GraPts then gets its first point appended).
  void GraPolygon();
  // Ellipse centred on (cx, cy), semi-axes r and r * flat, the first one turned by tilt
  // radians: 72 chords, each clipped by itself.
  void GraEllipse(double cx, double cy, double r, double flat, double tilt);
  // The arc of that ellipse from parameter angle start over sweep (radians): 72 chords.
  void GraArc(double cx, double cy, double r, double flat, double tilt, double start, double sweep);
  // Circular solids (SolidArcKind); any other kind draws nothing. Replaces the content of
  // GraPts and leaves it empty.
  void GraSolidArc(int kind, double cx, double cy, double r, double flat, double tilt, double start,
                   double sweep, double extra);

 private:
  // Maps GraPts into GraPixPts for a fill; far-off rings are clipped to a band around the
  // surface first, so that their shape on the surface survives the conversion to integers.
  void MapRingToPixels();
  // 72 chords of the ellipse from parameter angle start on, by repeated addition of step.
  void Chords(double cx, double cy, double r, double flat, double tilt, double start, double step);

  // Whether every point of the ellipse with semi-axes a and b about (cx, cy) lies inside the
  // window beyond doubt, so that none of its chords needs clipping.
  bool EllipseInside(double cx, double cy, double a, double b) const;

  Canvas* canvas_;
  const ViewState* view_;
  const TgraAttribute* attr_;
  TextServices text_;
};

}  // namespace vardo
