// Canvas drawing: clipped Bresenham lines, wide round pens, even-odd polygons, border flood
// fill, pixel copies and glyph masks.
#include "render/canvas.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace vardo {

namespace {

// Line and polygon arithmetic multiplies two 33-bit quantities and adds a little.
__extension__ typedef __int128 Wide;

Wide FloorDiv(Wide n, Wide d) {  // d > 0
  Wide q = n / d;
  if (n % d != 0 && n < 0) --q;
  return q;
}

template <typename Int>
Int CeilDiv(Int n, Int d) {  // d > 0
  Int q = n / d;
  if (n % d != 0 && n > 0) ++q;
  return q;
}

struct P64 {
  int64_t x = 0;
  int64_t y = 0;
};

// Inclusive bounds.
struct Box {
  int64_t x0, y0, x1, y1;
};

// The pixels of rows top .. bottom - 1 of the surface.
Box ClipBox(const Surface& s, int top, int bottom) {
  return {0, std::max(top, 0), s.Width() - 1, std::min(bottom, s.Height()) - 1};
}

bool Inside(P64 p, const Box& box) {
  return p.x >= box.x0 && p.x <= box.x1 && p.y >= box.y0 && p.y <= box.y1;
}

// Pixels k = 0 .. count - 1 of the Bresenham path from a towards b: pixel k lies k steps along
// the major axis (x when |dx| >= |dy|) and t(k) = floor((2kb + a - 1) / 2a) steps along the
// minor one, a and b being the major and minor extents: halfway cases round towards the start.
// Because t(k) is monotone, the pixels inside a box form one run of k, found by division, so the
// work is bounded by the box whatever the coordinates, and clipping never moves a pixel.
//
// A PathRun is that run: pixels k_first .. k_last, the first at (x, y) with the remainder rest;
// each next pixel lies one step along the major axis and, when rest + 2b reaches 2a, one step
// along the minor one as well.
struct PathRun {
  int64_t k_first = 0;
  int64_t k_last = -1;  // below k_first: no pixel
  int64_t x = 0, y = 0;
  int64_t rest = 0;
  int64_t a = 0, b = 0;
  bool x_major = true;
  int64_t x_step = 1, y_step = 1;  // -1 or 1
};

PathRun ClipPath(P64 from, P64 to, int64_t count, const Box& box) {
  PathRun run;
  if (count <= 0) return run;
  const int64_t dx = to.x - from.x;
  const int64_t dy = to.y - from.y;
  run.x_major = std::llabs(dx) >= std::llabs(dy);
  run.a = run.x_major ? std::llabs(dx) : std::llabs(dy);
  run.b = run.x_major ? std::llabs(dy) : std::llabs(dx);
  run.x_step = dx < 0 ? -1 : 1;
  run.y_step = dy < 0 ? -1 : 1;
  const int64_t a = run.a, b = run.b;
  if (a == 0) {
    if (Inside(from, box)) run.k_last = 0, run.x = from.x, run.y = from.y;
    return run;
  }
  const bool x_major = run.x_major;
  const int64_t major0 = x_major ? from.x : from.y;
  const int64_t minor0 = x_major ? from.y : from.x;
  const int64_t major_step = x_major ? run.x_step : run.y_step;
  const int64_t minor_step = x_major ? run.y_step : run.x_step;

  // The common case needs no clipping: the path stays between its end points, and from the
  // first pixel on t starts at 0 with a remainder of a - 1.
  int64_t t = 0;
  run.k_last = count - 1;
  run.rest = a - 1;
  if (!Inside(from, box) || !Inside(to, box)) {
    const int64_t major_lo = x_major ? box.x0 : box.y0;
    const int64_t major_hi = x_major ? box.x1 : box.y1;
    const int64_t minor_lo = x_major ? box.y0 : box.x0;
    const int64_t minor_hi = x_major ? box.y1 : box.x1;
    Wide k_lo = 0;
    Wide k_hi = count - 1;
    if (major_step > 0) {
      k_lo = std::max<Wide>(k_lo, major_lo - major0);
      k_hi = std::min<Wide>(k_hi, major_hi - major0);
    } else {
      k_lo = std::max<Wide>(k_lo, major0 - major_hi);
      k_hi = std::min<Wide>(k_hi, major0 - major_lo);
    }
    const Wide t_lo = minor_step > 0 ? minor_lo - minor0 : minor0 - minor_hi;
    const Wide t_hi = minor_step > 0 ? minor_hi - minor0 : minor0 - minor_lo;
    if (b == 0) {
      if (t_lo > 0 || t_hi < 0) k_hi = -1;
    } else {
      // t(k) >= T  <=>  k >= (2aT - a + 1) / 2b;  t(k) <= T  <=>  k <= (2aT + a) / 2b.
      k_lo = std::max(k_lo, CeilDiv(2 * Wide{a} * t_lo - a + 1, 2 * Wide{b}));
      k_hi = std::min(k_hi, FloorDiv(2 * Wide{a} * t_hi + a, 2 * Wide{b}));
    }
    if (k_lo > k_hi) {
      run.k_last = -1;
      return run;
    }
    const Wide first = 2 * k_lo * b + a - 1;
    run.k_first = static_cast<int64_t>(k_lo);
    run.k_last = static_cast<int64_t>(k_hi);
    t = static_cast<int64_t>(FloorDiv(first, 2 * Wide{a}));
    run.rest = static_cast<int64_t>(first - Wide{t} * 2 * a);
  }
  const int64_t major = major0 + major_step * run.k_first;
  const int64_t minor = minor0 + minor_step * t;
  run.x = x_major ? major : minor;
  run.y = x_major ? minor : major;
  return run;
}

// Visits the pixels of the path from a towards b that lie in box, in order, as visit(x, y, k).
template <typename Visit>
void WalkLine(P64 from, P64 to, int64_t count, const Box& box, Visit&& visit) {
  const PathRun run = ClipPath(from, to, count, box);
  int64_t x = run.x, y = run.y, rest = run.rest;
  for (int64_t k = run.k_first; k <= run.k_last; ++k) {
    visit(x, y, k);
    (run.x_major ? x : y) += run.x_major ? run.x_step : run.y_step;
    rest += 2 * run.b;
    if (rest >= 2 * run.a) {
      rest -= 2 * run.a;
      (run.x_major ? y : x) += run.x_major ? run.y_step : run.x_step;
    }
  }
}

int64_t StepCount(P64 from, P64 to) {
  return std::max(std::llabs(to.x - from.x), std::llabs(to.y - from.y));
}

void Plot(uint32_t& pixel, uint32_t colour, PenMode mode) {
  pixel = mode == PenMode::Xor ? pixel ^ colour : colour;
}

// Dash patterns of one-pixel pens, bit i for the i-th pixel; every pattern repeats within
// kStylePeriod pixels.
constexpr int kStylePeriod = 24;

constexpr uint32_t PatternBits(std::initializer_list<int> runs) {
  uint32_t bits = 0;
  int pos = 0;
  bool on = true;
  while (pos < kStylePeriod) {
    for (int run : runs) {
      for (int i = 0; i < run; ++i, ++pos) {
        if (on) bits |= 1u << pos;
      }
      on = !on;
    }
  }
  return bits;
}

constexpr uint32_t kSolidBits = PatternBits({kStylePeriod});

uint32_t DashBits(PenStyle style) {
  static constexpr uint32_t kDash = PatternBits({18, 6});
  static constexpr uint32_t kDot = PatternBits({3, 3});
  static constexpr uint32_t kDashDot = PatternBits({9, 6, 3, 6});
  static constexpr uint32_t kDashDotDot = PatternBits({9, 3, 3, 3, 3, 3});
  switch (style) {
    case PenStyle::Dash:
      return kDash;
    case PenStyle::Dot:
      return kDot;
    case PenStyle::DashDot:
      return kDashDot;
    case PenStyle::DashDotDot:
      return kDashDotDot;
    case PenStyle::Clear:
      return 0;
    case PenStyle::Solid:
      break;
  }
  return kSolidBits;
}

// Sets the pixels of a run by stepping through the pixel array: one step along the major axis
// per pixel, one along the minor axis whenever the remainder runs over. Most of what is drawn
// goes through here.
void SolidRun(Surface& s, uint32_t colour, const PathRun& run) {
  const int64_t width = s.Width();
  const int64_t x_step = run.x_step;
  const int64_t y_step = run.y_step * width;
  const int64_t major_step = run.x_major ? x_step : y_step;
  const int64_t minor_step = run.x_major ? y_step : x_step;
  const int64_t a2 = 2 * run.a, b2 = 2 * run.b;
  uint32_t* pixels = s.Pixels();
  int64_t at = run.y * width + run.x;
  int64_t rest = run.rest;
  for (int64_t k = run.k_first; k <= run.k_last; ++k) {
    pixels[at] = colour;
    at += major_step;
    rest += b2;
    if (rest >= a2) {
      rest -= a2;
      at += minor_step;
    }
  }
}

// Draws a one-pixel segment whose first pixel sits at position style_pos of the dash pattern,
// and moves style_pos past the segment.
void StrokeThin(Surface& s, const Box& clip, const Pen& pen, P64 from, P64 to, bool include_end,
                int& style_pos) {
  const int64_t count = StepCount(from, to) + (include_end ? 1 : 0);
  const uint32_t dashes = DashBits(pen.style);
  const int start = style_pos;
  style_pos = static_cast<int>((start + count % kStylePeriod) % kStylePeriod);
  if (dashes == kSolidBits && pen.mode == PenMode::Copy) {
    // Most of what is drawn: no pattern to follow, nothing to read back.
    SolidRun(s, pen.color, ClipPath(from, to, count, clip));
    return;
  }
  WalkLine(from, to, count, clip, [&](int64_t x, int64_t y, int64_t k) {
    if ((dashes >> ((start + k) % kStylePeriod)) & 1) {
      Plot(s.Row(static_cast<int>(y))[x], pen.color, pen.mode);
    }
  });
}

// Wider pens than this draw this wide; no caller comes near it, and it bounds the work.
constexpr int kMaxPenWidth = 1000;

// The pixels covered by a wide pen along one or more segments: each pixel of the one-pixel
// path, end pixels included, stamped with a disc w pixels across. The union is painted once,
// so an XOR pen toggles every covered pixel exactly once per drawing call.
class WideStroke {
 public:
  WideStroke(const Box& clip, int width) : clip_(clip) {
    const int w = std::min(width, kMaxPenWidth);
    // Odd widths centre the disc on the pixel, even ones half a pixel up and left of it.
    // In doubled units a pixel offset d lies 2d + c from the centre.
    const int64_t c = w % 2 == 0 ? 1 : 0;
    lo_ = -(w / 2);
    const int hi = (w - 1) / 2;
    for (int dy = lo_; dy <= hi; ++dy) {
      int first = hi + 1;
      int last = lo_ - 1;
      for (int dx = lo_; dx <= hi; ++dx) {
        const int64_t u = 2 * dx + c;
        const int64_t v = 2 * dy + c;
        if (u * u + v * v > int64_t{w} * w) continue;
        first = std::min(first, dx);
        last = std::max(last, dx);
      }
      disc_.push_back({first, last});
    }
    reach_box_ = {clip.x0 - hi, clip.y0 - hi, clip.x1 - lo_, clip.y1 - lo_};
    row_extent_.assign(static_cast<size_t>(std::max<int64_t>(clip.y1 - clip.y0 + 1, 0)), kNoExtent);
  }

  void Add(P64 from, P64 to) {
    int64_t row_min = std::numeric_limits<int64_t>::max();
    int64_t row_max = std::numeric_limits<int64_t>::min();
    WalkLine(from, to, StepCount(from, to) + 1, reach_box_, [&](int64_t x, int64_t y, int64_t) {
      for (size_t i = 0; i < disc_.size(); ++i) {
        const int64_t row = y + lo_ + static_cast<int64_t>(i);
        if (row < clip_.y0 || row > clip_.y1) continue;
        auto& extent = row_extent_[static_cast<size_t>(row - clip_.y0)];
        extent.first = std::min(extent.first, x + disc_[i].first);
        extent.second = std::max(extent.second, x + disc_[i].second);
        row_min = std::min(row_min, row);
        row_max = std::max(row_max, row);
      }
    });
    // Along one straight segment the covered pixels of a row are contiguous, so a segment
    // leaves one span per row.
    for (int64_t row = row_min; row <= row_max; ++row) {
      auto& extent = row_extent_[static_cast<size_t>(row - clip_.y0)];
      const int64_t x0 = std::max<int64_t>(extent.first, clip_.x0);
      const int64_t x1 = std::min<int64_t>(extent.second, clip_.x1);
      if (x0 <= x1) {
        spans_.push_back({static_cast<int>(row), static_cast<int>(x0), static_cast<int>(x1)});
      }
      extent = kNoExtent;
    }
  }

  void Paint(Surface& s, uint32_t colour, PenMode mode) {
    std::sort(spans_.begin(), spans_.end(),
              [](const Span& p, const Span& q) { return p.y != q.y ? p.y < q.y : p.x0 < q.x0; });
    size_t i = 0;
    while (i < spans_.size()) {
      Span merged = spans_[i++];
      while (i < spans_.size() && spans_[i].y == merged.y && spans_[i].x0 <= merged.x1 + 1) {
        merged.x1 = std::max(merged.x1, spans_[i++].x1);
      }
      uint32_t* row = s.Row(merged.y);
      for (int x = merged.x0; x <= merged.x1; ++x) {
        Plot(row[x], colour, mode);
      }
    }
  }

 private:
  struct Span {
    int y, x0, x1;
  };
  static constexpr std::pair<int64_t, int64_t> kNoExtent{std::numeric_limits<int64_t>::max(),
                                                         std::numeric_limits<int64_t>::min()};

  Box clip_;
  int lo_ = 0;                             // offset of the disc's first row and column
  std::vector<std::pair<int, int>> disc_;  // per disc row: first and last column offset
  Box reach_box_{};                        // path pixels whose disc can touch the surface
  std::vector<std::pair<int64_t, int64_t>> row_extent_;  // the current segment's rows
  std::vector<Span> spans_;
};

// Outlines a path with the pen; closed paths return to their first point. One-pixel pens
// leave out each segment's end pixel (the next segment starts there; the last point of an
// open path is not drawn) and run one dash pattern along the whole path.
void StrokePath(Surface& s, const Box& clip, const Pen& pen, const std::vector<P64>& points,
                bool closed) {
  if (pen.style == PenStyle::Clear || points.size() < 2) return;
  const size_t segments = closed ? points.size() : points.size() - 1;
  if (pen.width > 1) {
    WideStroke stroke(clip, pen.width);
    for (size_t i = 0; i < segments; ++i) {
      stroke.Add(points[i], points[(i + 1) % points.size()]);
    }
    stroke.Paint(s, pen.color, pen.mode);
    return;
  }
  int style_pos = 0;
  for (size_t i = 0; i < segments; ++i) {
    StrokeThin(s, clip, pen, points[i], points[(i + 1) % points.size()], false, style_pos);
  }
}

// 8 x 8 hatch patterns, one byte per row, the high bit for column 0.
using HatchRows = uint8_t[8];
constexpr HatchRows kHorizontal = {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00};
constexpr HatchRows kVertical = {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};
constexpr HatchRows kFDiagonal = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
constexpr HatchRows kBDiagonal = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
constexpr HatchRows kCross = {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08};
constexpr HatchRows kDiagCross = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};

const uint8_t* HatchPattern(BrushStyle style) {
  switch (style) {
    case BrushStyle::Horizontal:
      return kHorizontal;
    case BrushStyle::Vertical:
      return kVertical;
    case BrushStyle::FDiagonal:
      return kFDiagonal;
    case BrushStyle::BDiagonal:
      return kBDiagonal;
    case BrushStyle::Cross:
      return kCross;
    case BrushStyle::DiagCross:
      return kDiagCross;
    case BrushStyle::Solid:
    case BrushStyle::Clear:
      break;
  }
  return nullptr;
}

// Fills columns x0 .. x1 of row y (clipped) with the brush.
void FillSpan(Surface& s, const Box& clip, const Brush& brush, PenMode mode, int64_t y, int64_t x0,
              int64_t x1) {
  if (brush.style == BrushStyle::Clear || y < clip.y0 || y > clip.y1) return;
  const int64_t first = std::max<int64_t>(x0, clip.x0);
  const int64_t last = std::min<int64_t>(x1, clip.x1);
  if (first > last) return;
  uint32_t* row = s.Row(static_cast<int>(y));
  const uint8_t* hatch = HatchPattern(brush.style);
  if (hatch == nullptr && mode == PenMode::Copy) {
    std::fill(row + first, row + last + 1, brush.color);
    return;
  }
  const uint8_t hatch_row = hatch != nullptr ? hatch[y % 8] : 0xFF;
  for (int64_t x = first; x <= last; ++x) {
    if ((hatch_row >> (7 - x % 8)) & 1) Plot(row[x], brush.color, mode);
  }
}

void FillBox(Surface& s, const Box& clip, const Brush& brush, PenMode mode, int64_t x0, int64_t y0,
             int64_t x1, int64_t y1) {
  if (x0 > x1) return;
  const int64_t first = std::max<int64_t>(y0, clip.y0);
  const int64_t last = std::min<int64_t>(y1, clip.y1);
  for (int64_t y = first; y <= last; ++y) {
    FillSpan(s, clip, brush, mode, y, x0, x1);
  }
}

// The first column whose pixel centre lies at or right of the edge's crossing with the centre
// line of row y, clamped to 0 .. width. Int must hold the products of the coordinates exactly.
template <typename Int>
int64_t CrossingColumn(P64 p, P64 q, int64_t y, int width) {
  // The crossing minus half a pixel is num / den exactly.
  Int num = (2 * Int{p.x} - 1) * (q.y - p.y) + (2 * Int{y} + 1 - 2 * Int{p.y}) * (q.x - p.x);
  Int den = 2 * Int{q.y - p.y};
  if (den < 0) {
    num = -num;
    den = -den;
  }
  return static_cast<int64_t>(std::clamp<Int>(CeilDiv(num, den), 0, width));
}

// Rings within this reach of the origin keep CrossingColumn's products well inside 64 bits.
constexpr int64_t kNarrowReach = int64_t{1} << 28;

// Fills the pixels whose centres lie inside the ring under the even-odd rule, row by row over
// the surface's rows only.
void FillPolygon(Surface& s, const Box& clip, const Brush& brush, PenMode mode,
                 const std::vector<P64>& points) {
  if (brush.style == BrushStyle::Clear || points.size() < 3 || clip.x0 > clip.x1) return;
  int64_t top = points[0].y;
  int64_t bottom = points[0].y;
  bool narrow = true;
  for (const P64& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
    narrow = narrow && std::llabs(p.x) <= kNarrowReach && std::llabs(p.y) <= kNarrowReach;
  }
  const int64_t first = std::max<int64_t>(top, clip.y0);
  const int64_t last = std::min<int64_t>(bottom - 1, clip.y1);
  std::vector<int64_t> crossings;
  for (int64_t y = first; y <= last; ++y) {
    crossings.clear();
    // Vertex rows are even in doubled units and centre lines odd, so no vertex lies on one.
    const int64_t centre = 2 * y + 1;
    for (size_t i = 0; i < points.size(); ++i) {
      const P64& p = points[i];
      const P64& q = points[(i + 1) % points.size()];
      if ((2 * p.y < centre) != (2 * q.y < centre)) {
        crossings.push_back(narrow ? CrossingColumn<int64_t>(p, q, y, s.Width())
                                   : CrossingColumn<Wide>(p, q, y, s.Width()));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      FillSpan(s, clip, brush, mode, y, crossings[i], crossings[i + 1] - 1);
    }
  }
}

std::vector<P64> ToP64(std::span<const TPoint> points) {
  std::vector<P64> out;
  out.reserve(points.size());
  for (const TPoint& p : points)
    out.push_back({p.X, p.Y});
  return out;
}

// Four pixels side by side: the compiler keeps them in one vector register where it has them.
typedef uint32_t Pixels4 __attribute__((vector_size(16)));

// Writes color to the pixels of eight whose bits are set in byte, the first pixel in the high
// bit. A full byte is stored without reading the surface; any other is blended four pixels at a
// time, the bits spread into lanes of all ones or all zeros.
inline void BlendEight(uint32_t* eight, unsigned byte, uint32_t color) {
  const Pixels4 ink = {color, color, color, color};
  if (byte == 0xFF) {
    std::memcpy(eight, &ink, sizeof ink);
    std::memcpy(eight + 4, &ink, sizeof ink);
    return;
  }
  const Pixels4 spread = {byte, byte, byte, byte};
  constexpr Pixels4 kHigh = {0x80, 0x40, 0x20, 0x10};
  constexpr Pixels4 kLow = {0x08, 0x04, 0x02, 0x01};
  const Pixels4 high = reinterpret_cast<Pixels4>((spread & kHigh) != 0);
  const Pixels4 low = reinterpret_cast<Pixels4>((spread & kLow) != 0);
  Pixels4 a, b;
  std::memcpy(&a, eight, sizeof a);
  std::memcpy(&b, eight + 4, sizeof b);
  a = (a & ~high) | (ink & high);
  b = (b & ~low) | (ink & low);
  std::memcpy(eight, &a, sizeof a);
  std::memcpy(eight + 4, &b, sizeof b);
}

}  // namespace

void Canvas::ClipRows(int top, int bottom) {
  clip_top_ = top;
  clip_bottom_ = bottom;
}

void Canvas::SetPixel(int x, int y, uint32_t colour) {
  if (y >= clip_top_ && y < clip_bottom_) surface_->SetPixel(x, y, colour);
}

void Canvas::MoveTo(int x, int y) {
  pos_ = {x, y};
  style_pos_ = 0;
}

void Canvas::LineTo(int x, int y) {
  const P64 from{pos_.X, pos_.Y};
  const P64 to{x, y};
  pos_ = {x, y};
  if (pen_.style == PenStyle::Clear) return;
  if (pen_.width > 1) {
    WideStroke stroke(ClipBox(*surface_, clip_top_, clip_bottom_), pen_.width);
    stroke.Add(from, to);
    stroke.Paint(*surface_, pen_.color, pen_.mode);
    return;
  }
  StrokeThin(*surface_, ClipBox(*surface_, clip_top_, clip_bottom_), pen_, from, to, false,
             style_pos_);
}

void Canvas::LineWithEnd(int x1, int y1, int x2, int y2) {
  const P64 from{x1, y1};
  const P64 to{x2, y2};
  const Box box = ClipBox(*surface_, clip_top_, clip_bottom_);
  // The common case in one run: a solid copy pen sets the end pixel as LineTo would set the
  // next one.
  if (pen_.width <= 1 && pen_.style == PenStyle::Solid && pen_.mode == PenMode::Copy) {
    const int64_t count = StepCount(from, to);
    SolidRun(*surface_, pen_.color, ClipPath(from, to, count + 1, box));
    pos_ = {x2, y2};
    style_pos_ = static_cast<int>(count % kStylePeriod);
    return;
  }
  MoveTo(x1, y1);
  LineTo(x2, y2);
  SetPixel(x2, y2, pen_.color);
}

void Canvas::LinesWithEnds(std::span<const TPoint> points) {
  for (size_t i = 1; i < points.size(); ++i) {
    const TPoint& from = points[i - 1];
    const TPoint& to = points[i];
    // A one-pixel line that stays on the end pixel of the line before would only set it once
    // more; what it would leave behind is its position and a dash pattern started afresh. (A
    // wide pen would stamp its disc again, which an XOR pen undoes.)
    if (i > 1 && to.X == from.X && to.Y == from.Y && pen_.width <= 1) {
      pos_ = to;
      style_pos_ = 0;
      continue;
    }
    LineWithEnd(from.X, from.Y, to.X, to.Y);
  }
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  const int64_t left = std::min(x1, x2);
  const int64_t top = std::min(y1, y2);
  const int64_t right = int64_t{std::max(x1, x2)} - 1;  // last column covered
  const int64_t bottom = int64_t{std::max(y1, y2)} - 1;
  if (left > right || top > bottom) return;
  if (pen_.style == PenStyle::Clear) {
    FillBox(*surface_, ClipBox(*surface_, clip_top_, clip_bottom_), brush_, pen_.mode, left, top,
            right, bottom);
    return;
  }
  const Box clip = ClipBox(*surface_, clip_top_, clip_bottom_);
  FillBox(*surface_, clip, brush_, pen_.mode, left + 1, top + 1, right - 1, bottom - 1);
  if (left == right || top == bottom) {
    // One pixel thin: the border is a single straight run, drawn once.
    if (pen_.width > 1) {
      StrokePath(*surface_, clip, pen_, {{left, top}, {right, bottom}}, false);
    } else {
      int style_pos = 0;
      StrokeThin(*surface_, clip, pen_, {left, top}, {right, bottom}, true, style_pos);
    }
    return;
  }
  StrokePath(*surface_, clip, pen_, {{left, top}, {right, top}, {right, bottom}, {left, bottom}},
             true);
}

void Canvas::Polyline(std::span<const TPoint> points) {
  StrokePath(*surface_, ClipBox(*surface_, clip_top_, clip_bottom_), pen_, ToP64(points), false);
}

void Canvas::Polygon(std::span<const TPoint> points) {
  const std::vector<P64> ring = ToP64(points);
  const Box clip = ClipBox(*surface_, clip_top_, clip_bottom_);
  FillPolygon(*surface_, clip, brush_, pen_.mode, ring);
  StrokePath(*surface_, clip, pen_, ring, true);
}

void Canvas::FloodFill(int x, int y, uint32_t border) {
  Surface& s = *surface_;
  if (brush_.style == BrushStyle::Clear || !s.Contains(x, y) || s.GetPixel(x, y) == border) {
    return;
  }
  const int width = s.Width();
  const int height = s.Height();
  // Filled pixels may still look fillable (the brush colour need not differ from theirs), so
  // a bit per pixel records what is done.
  std::vector<bool> done(static_cast<size_t>(width) * static_cast<size_t>(height));
  auto index = [width](int px, int py) {
    return static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px);
  };
  auto fillable = [&](const uint32_t* row, int px, int py) {
    return row[px] != border && !done[index(px, py)];
  };
  std::vector<TPoint> seeds{{x, y}};
  while (!seeds.empty()) {
    const TPoint seed = seeds.back();
    seeds.pop_back();
    uint32_t* row = s.Row(seed.Y);
    if (!fillable(row, seed.X, seed.Y)) continue;
    int left = seed.X;
    while (left > 0 && fillable(row, left - 1, seed.Y))
      --left;
    int right = seed.X;
    while (right < width - 1 && fillable(row, right + 1, seed.Y))
      ++right;
    for (int px = left; px <= right; ++px) {
      row[px] = brush_.color;
      done[index(px, seed.Y)] = true;
    }
    // One seed per run of fillable pixels in the rows above and below.
    for (int ny : {seed.Y - 1, seed.Y + 1}) {
      if (ny < 0 || ny >= height) continue;
      const uint32_t* next = s.Row(ny);
      for (int px = left; px <= right; ++px) {
        if (!fillable(next, px, ny)) continue;
        seeds.push_back({px, ny});
        while (px < right && fillable(next, px + 1, ny))
          ++px;
      }
    }
  }
}

void Canvas::CopyRect(int dx, int dy, const Surface& src, int sx, int sy, int w, int h) {
  int64_t dst_x = dx, dst_y = dy, src_x = sx, src_y = sy, cols = w, rows = h;
  if (src_x < 0) {
    dst_x -= src_x;
    cols += src_x;
    src_x = 0;
  }
  if (src_y < 0) {
    dst_y -= src_y;
    rows += src_y;
    src_y = 0;
  }
  if (dst_x < 0) {
    src_x -= dst_x;
    cols += dst_x;
    dst_x = 0;
  }
  if (dst_y < 0) {
    src_y -= dst_y;
    rows += dst_y;
    dst_y = 0;
  }
  cols = std::min({cols, src.Width() - src_x, surface_->Width() - dst_x});
  rows = std::min({rows, src.Height() - src_y, surface_->Height() - dst_y});
  if (cols <= 0 || rows <= 0) return;
  // Within one surface a downward copy must go bottom-up so rows are read before overwritten;
  // memmove takes care of overlap within a row.
  const bool bottom_up = &src == surface_ && dst_y > src_y;
  for (int64_t i = 0; i < rows; ++i) {
    const int64_t r = bottom_up ? rows - 1 - i : i;
    std::memmove(surface_->Row(static_cast<int>(dst_y + r)) + dst_x,
                 src.Row(static_cast<int>(src_y + r)) + src_x,
                 static_cast<size_t>(cols) * sizeof(uint32_t));
  }
}

void Canvas::DrawGlyph(int x, int y, const GlyphMask& mask) {
  if (!mask.IsWellFormed()) return;
  const int64_t origin_x = int64_t{x} + mask.left;
  const int64_t origin_y = int64_t{y} + mask.top;
  const int64_t first_col = std::max<int64_t>(0, -origin_x);
  const int64_t last_col = std::min<int64_t>(mask.width, surface_->Width() - origin_x) - 1;
  const Box clip = ClipBox(*surface_, clip_top_, clip_bottom_);
  const int64_t first_row = std::max<int64_t>(0, clip.y0 - origin_y);
  const int64_t last_row = std::min<int64_t>(mask.height, clip.y1 + 1 - origin_y) - 1;
  if (first_col > last_col) return;
  // A byte of the mask at a time, blank bytes skipped, the bits outside the mask's visible
  // columns cleared. A byte whose eight pixels all lie on the surface blends them in one go,
  // without a branch per pixel; a byte at the surface's edge visits its set bits one by one.
  const int64_t first_byte = first_col / 8, last_byte = last_col / 8;
  const uint8_t first_keep = static_cast<uint8_t>(0xFFu >> (first_col % 8));
  const uint8_t last_keep = static_cast<uint8_t>(0xFFu << (7 - last_col % 8));
  const uint32_t color = font_color_;
  // The rows of a glyph lie a surface width apart, each on memory of its own: asking for all of
  // them first lets their loads overlap instead of waiting for one row after another.
#if defined(__GNUC__)
  for (int64_t j = first_row; j <= last_row; ++j) {
    const uint32_t* row = surface_->Row(static_cast<int>(origin_y + j));
    __builtin_prefetch(row + (origin_x + first_col), 1);
    __builtin_prefetch(row + (origin_x + last_col), 1);
  }
#endif
  for (int64_t j = first_row; j <= last_row; ++j) {
    uint32_t* row = surface_->Row(static_cast<int>(origin_y + j));
    const uint8_t* bits = mask.bits.data() + j * mask.stride;
    for (int64_t b = first_byte; b <= last_byte; ++b) {
      unsigned byte = bits[b];
      if (b == first_byte) byte &= first_keep;
      if (b == last_byte) byte &= last_keep;
      if (byte == 0) continue;
      // The surface column of the byte's first pixel; left of the surface for a clipped first
      // byte, whose visible bits alone are written.
      const int64_t x0 = origin_x + b * 8;
      if (x0 >= 0 && x0 + 8 <= surface_->Width()) {
        BlendEight(row + x0, byte, color);
        continue;
      }
      while (byte != 0) {
        const int bit = std::countl_zero(static_cast<uint8_t>(byte));
        row[x0 + bit] = color;
        byte &= ~(0x80u >> bit);
      }
    }
  }
}

}  // namespace vardo
