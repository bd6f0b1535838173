// Canvas: pen-and-brush drawing onto a Surface with exact, deterministic pixels.
#pragma once

#include <cstdint>
#include <limits>
#include <span>

#include "render/glyph.h"
#include "render/surface.h"

namespace vardo {

// A pixel position (32-bit, origin top-left, y downwards).
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
enum class PenMode { Copy, Xor };

struct Pen {
  uint32_t color = 0;
  // 0 and 1 draw one pixel; w > 1 (at most 1000) draws w pixels across with round ends,
  // always solid.
  int width = 0;
  PenStyle style = PenStyle::Solid;
  PenMode mode = PenMode::Copy;
};

// The hatch styles are 8 x 8 patterns aligned to the surface origin; their gaps stay untouched.
enum class BrushStyle {
  Solid,
  Clear,
  Horizontal,
  Vertical,
  FDiagonal,
  BDiagonal,
  Cross,
  DiagCross
};

struct Brush {
  uint32_t color = Surface::kWhite;
  BrushStyle style = BrushStyle::Solid;
};

// Draws onto a surface it does not own, so one set of drawing code serves the screen and
// off-screen surfaces alike. The pen mode applies to everything the pen and the brush draw;
// pixel writes, flood fill, copies and glyphs always write their colour as it is. Every
// coordinate may take any 32-bit value: the work done is bounded by the surface.
class Canvas {
 public:
  explicit Canvas(Surface& surface) : surface_(&surface) {}

  Surface& surface() const { return *surface_; }
  Pen& pen() { return pen_; }
  const Pen& pen() const { return pen_; }
  Brush& brush() { return brush_; }
  const Brush& brush() const { return brush_; }
  // Colour of the glyphs drawn by DrawGlyph.
  uint32_t& font_color() { return font_color_; }
  uint32_t font_color() const { return font_color_; }

  // Limits what the pen, the brush, pixel writes and glyphs draw to rows top .. bottom - 1, so
  // that canvases on one surface can draw its bands at the same time, each writing only its
  // own rows; every pixel drawn there is the one an unlimited canvas draws. Reads, flood fill
  // and copies are not limited. A new canvas draws on every row.
  void ClipRows(int top, int bottom);

  uint32_t GetPixel(int x, int y) const { return surface_->GetPixel(x, y); }
  void SetPixel(int x, int y, uint32_t colour);

  // Sets the current point and starts the pen's dash pattern afresh.
  void MoveTo(int x, int y);
  // Draws from the current point up to, not including, (x, y), which becomes the current point.
  // The dash pattern runs on from where the previous LineTo left it.
  void LineTo(int x, int y);
  TPoint PenPos() const { return pos_; }
  // MoveTo (x1, y1), LineTo (x2, y2), then (x2, y2) set to the pen colour whatever the mode: a
  // line that covers both of its end pixels.
  void LineWithEnd(int x1, int y1, int x2, int y2);
  // LineWithEnd from each point to the next.
  void LinesWithEnds(std::span<const TPoint> points);

  // Covers columns min(x1, x2) .. max(x1, x2) - 1 and the rows likewise: the one-pixel border
  // of that area in the pen, the inside in the brush (all of it when the pen is invisible).
  void Rectangle(int x1, int y1, int x2, int y2);
  // The connected segments, the last point left out; the current point is not used.
  void Polyline(std::span<const TPoint> points);
  // Fills the pixels whose centres lie inside under the even-odd rule, then outlines the closed
  // ring with the pen.
  void Polygon(std::span<const TPoint> points);

  // Every pixel 4-connected to (x, y) without crossing a pixel of the border colour takes the
  // brush colour. Nothing happens on a border pixel, outside the surface or with a clear brush.
  void FloodFill(int x, int y, uint32_t border);

  // Copies the w x h pixels at (sx, sy) of src to (dx, dy), both clipped; src may be the
  // canvas's own surface, overlapping or not.
  void CopyRect(int dx, int dy, const Surface& src, int sx, int sy, int w, int h);
  // Copies the whole of src with its top-left corner at (x, y).
  void Draw(int x, int y, const Surface& src) {
    CopyRect(x, y, src, 0, 0, src.Width(), src.Height());
  }

  // Sets the mask's ink in the font colour; (x, y) is the top-left corner of the glyph cell.
  void DrawGlyph(int x, int y, const GlyphMask& mask);

 private:
  Surface* surface_;
  Pen pen_;
  Brush brush_;
  uint32_t font_color_ = 0;
  TPoint pos_;
  int style_pos_ = 0;  // position in the dash pattern where the next LineTo starts
  int clip_top_ = 0;
  int clip_bottom_ = std::numeric_limits<int>::max();
};

}  // namespace vardo
