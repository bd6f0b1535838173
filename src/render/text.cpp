// The text pipeline: size guard, mirrored text, trailing markers, choice of drawing path, runs at
// a fixed pitch or with measured advances, and single glyphs placed on the view.
#include "render/text.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "common/geometry.h"
#include "common/text_helpers.h"

namespace vardo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kBaselinePen = 3;   // pixels across the line a text too small or large shows as
constexpr double kMinPixels = 6;  // glyphs smaller than this show as the baseline
constexpr double kMaxPixels = 1000;
constexpr size_t kMaxFaceUnits = 31;  // what a platform font description holds
constexpr int kMeasureHeight = -400;  // character height the measured advances are taken at
constexpr int kHalfTurn = 1800;       // tenths of a degree
constexpr int kFullTurn = 3600;

// The nearest integer with halves to even, clamped to a billion either way (NaN gives 0), as
// glyph positions and font metrics are rounded.
int RoundHalfEven(double v) {
  constexpr double kLimit = 1e9;
  if (std::isnan(v)) return 0;
  if (v > kLimit) v = kLimit;
  if (v < -kLimit) v = -kLimit;
  double r = std::floor(v);
  const double fraction = v - r;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2) != 0)) r += 1;
  return static_cast<int>(r);
}

// A size in paper millimetres that glyphs can show at this scale.
bool Drawable(double size, double scale) {
  const double pixels = std::fabs(size) * scale;
  return std::fabs(size) >= 1e-12 && pixels >= kMinPixels && pixels <= kMaxPixels;
}

void DrawBaseline(Graphics& g, const TextBaseline& line) {
  g.canvas().pen().width = kBaselinePen;
  g.GraLine(line.bx, line.by, line.ex, line.ey);
}

const TextCodeValues& CodeValues(const TextServices& services) {
  static const TextCodeValues kBeforeStartUp;
  return services.codes ? *services.codes : kBeforeStartUp;
}

char32_t CodePoint(std::u16string_view ch) {
  if (ch.size() == 2) {
    return 0x10000 + ((static_cast<char32_t>(ch[0]) - 0xD800) << 10) +
           (static_cast<char32_t>(ch[1]) - 0xDC00);
  }
  return ch[0];
}

// The step from one character to the next along a run.
double Pitch(std::u16string_view ch, double B, double D) {
  return IsHalfWidth(ch) ? (B + D) / 2 : B + D;
}

// Half-width units of the first count characters except the last of them, control characters
// counting as full-width: the gaps the equal-spacing markers spread the removed cells over.
int SpreadUnits(const std::vector<std::u16string_view>& chars, size_t count) {
  int units = 0;
  for (size_t i = 0; i + 1 < count; ++i)
    units += IsHalfWidth(chars[i]) ? 1 : 2;
  return units;
}

// The trailing markers: a final "･" spreads the text over one more half cell, trailing "・"s
// over that many full cells, and a final "^" with a digit N compresses the text by N half
// cells. Returns the text without its markers and changes B and D to match.
std::u16string ApplyTrailingMarkers(std::u16string_view text, int gc, TextFont& font) {
  const std::vector<std::u16string_view> chars = Characters(text);
  double acc = 0;
  int E = 0, K = 0, N = 0;
  bool caret = false;
  for (size_t i = 0; i < chars.size(); ++i) {
    const std::u16string_view c = chars[i];
    const bool last = i + 1 == chars.size();
    if (!last) acc += IsHalfWidth(c) ? font.D / 2 : font.D;
    if (c == u"･" && last) {
      E = 1;
      caret = false;
    } else if (c == u"・") {
      ++K;
      caret = false;
    } else if (c == u"^") {
      N = 0;
      caret = true;
    } else if (caret && c.size() == 1 && c[0] >= u'1' && c[0] <= u'9') {
      N = c[0] - u'0';
      caret = false;
    } else {
      E = K = N = 0;
      caret = false;
    }
  }
  size_t kept = chars.size();
  if (E == 1) {
    --kept;
    const int u = SpreadUnits(chars, kept);
    if (u > 0) font.D = 2 * (font.B / 2 + acc) / u;
  }
  if (K > 0) {
    kept -= std::min(kept, static_cast<size_t>(K));
    const int u = SpreadUnits(chars, kept);
    if (u > 0) font.D = 2 * (K * font.B + acc) / u;
  }
  if (N > 0) {
    kept -= std::min<size_t>(kept, 2);
    if (gc - N >= 2) {
      const double r = static_cast<double>(gc - N) / gc;
      font.B *= r;
      font.D *= r;
    }
  }
  if (kept == chars.size()) return std::u16string(text);
  const size_t units = kept == 0 ? 0
                                 : static_cast<size_t>(chars[kept - 1].data() - text.data()) +
                                       chars[kept - 1].size();
  return std::u16string(text.substr(0, units));
}

// The unit vectors along a run and down its cells, taken once for all the glyphs of the run.
struct RunDirection {
  explicit RunDirection(double angle)
      : ax(std::cos(angle)),
        ay(std::sin(angle)),
        downx(std::cos(angle - kPi / 2)),
        downy(std::sin(angle - kPi / 2)) {}
  double ax, ay, downx, downy;
};

void Advance(TextOrigin& at, const RunDirection& dir, double distance) {
  at.x += dir.ax * distance;
  at.y += dir.ay * distance;
}

// Offset of the cell's top-left corner from the base point before rotation, by base code.
void BaseOffset(int base, double s, double A, double& dx, double& dy) {
  const int column = base % 3, row = base / 3;
  dx = column == 0 ? 0 : column == 1 ? -s / 2 : -s;
  dy = row == 0 ? A : row == 1 ? A / 2 : 0;
}

FontDescription Describe(const TextFont& font, std::u16string_view face, std::u16string_view ch) {
  FontDescription d;
  d.face = std::u16string(face.substr(0, kMaxFaceUnits));
  d.weight = (font.style & kTextBold) != 0 ? 700 : 400;
  d.italic = (font.style & kTextItalic) != 0;
  d.underline = (font.style & kTextUnderline) != 0;
  d.strike_out = (font.style & kTextStrikeOut) != 0;
  d.charset = IsHalfWidth(ch) ? 1 : 77;
  return d;
}

// DrawGlyph with the direction of at.angle given.
void PlaceGlyph(Graphics& g, int base, const TextFont& font, TextOrigin at, const RunDirection& dir,
                std::u16string_view ch) {
  if (ch.empty()) return;
  GlyphRasterizer* glyphs = g.text().glyphs;
  if (!glyphs) return;
  if (base < 0 || base > 8) base = 0;
  double A = font.A;
  if (A < 0) {
    A = -A;
    if (base <= 2) {
      base += 6;
    } else if (base >= 6) {
      base -= 6;
    }
  }
  const double s = ch.size() == 1 ? std::fabs(font.B) / 2 : std::fabs(font.B);
  double dx = 0, dy = 0;
  BaseOffset(base, s, A, dx, dy);
  // (dx, dy) turned by the run's angle.
  const double ax = dir.ax, ay = dir.ay;
  double px = at.x + (ax * dx - ay * dy);
  double py = at.y + (ay * dx + ax * dy);

  // The cell's corners: along the run by s, down from the top by A.
  const double downx = dir.downx, downy = dir.downy;
  const bool visible = g.ClipPoint(px, py) == 0 || g.ClipPoint(px + s * ax, py + s * ay) == 0 ||
                       g.ClipPoint(px + A * downx, py + A * downy) == 0 ||
                       g.ClipPoint(px + s * ax + A * downx, py + s * ay + A * downy) == 0;
  if (!visible) return;

  const double scale = g.view().ViewScale;
  const int height = RoundHalfEven(A * scale);
  const int width = RoundHalfEven(std::fabs(font.B) * scale / 2);
  int escapement = RoundHalfEven(at.angle / kPi * kHalfTurn) % kFullTurn;
  if (escapement < 0) escapement += kFullTurn;
  std::u16string_view face = font.face;
  if (face.starts_with(u"@@")) {
    face.remove_prefix(2);
    escapement = (escapement + kHalfTurn) % kFullTurn;
    const double b = std::fabs(font.B);
    px += b * ax + A * downx;
    py += b * ay + A * downy;
  }

  FontDescription d = Describe(font, face, ch);
  d.height = height;
  d.width = width;
  d.escapement = escapement;
  Canvas& canvas = g.canvas();
  canvas.font_color() = canvas.pen().color;
  canvas.brush().style = BrushStyle::Clear;
  const ViewState& v = g.view();
  const int X = RoundHalfEven((px - v.ViewXmin) * scale);
  const int Y = v.ViewHeight - RoundHalfEven((py - v.ViewYmin) * scale);
  canvas.DrawGlyph(X, Y, *glyphs->SharedMask(d, CodePoint(ch)));
}

}  // namespace

void DrawTextString(Graphics& g, TextFont font, const TextBaseline& line,
                    std::u16string_view text) {
  const int gc = HalfWidthCount(text);
  if (gc == 0) return;
  const double scale = g.view().ViewScale;
  if (!g.text().glyphs || !Drawable(font.A, scale) || !Drawable(font.B, scale)) {
    DrawBaseline(g, line);
    return;
  }
  TextOrigin at{line.bx, line.by, LineAngle(line.ex - line.bx, line.ey - line.by)};
  if (font.B < 0) {
    font.B = -font.B;
    font.D = -font.D;
    at = {line.ex, line.ey, at.angle + kPi};
  }
  const std::u16string shown = ApplyTrailingMarkers(text, gc, font);
  ExpandedText expanded = ExpandTextCode(shown, font.B, font.D, CodeValues(g.text()), g.text().now);
  font.D = expanded.D;
  if (font.D >= 0.0009999999 && font.D <= 0.0100000001) {
    DrawTextProportional(g, font, at, expanded.text);
  } else if (expanded.code_text || expanded.text.find(u'^') == std::u16string::npos) {
    DrawTextRun(g, font, at, expanded.text);
  } else {
    DrawTextInline(g, font, at, expanded.text);
  }
}

void DrawTextRun(Graphics& g, const TextFont& font, TextOrigin at, std::u16string_view text) {
  const RunDirection dir(at.angle);
  for (std::u16string_view ch : Characters(text)) {
    PlaceGlyph(g, 0, font, at, dir, ch);
    Advance(at, dir, Pitch(ch, font.B, font.D));
  }
}

void DrawTextProportional(Graphics& g, const TextFont& font, TextOrigin at,
                          std::u16string_view text) {
  GlyphRasterizer* glyphs = g.text().glyphs;
  if (!glyphs) return;
  const double ratio = font.B / font.A;
  std::u16string_view face = font.face;
  if (face.starts_with(u"@@")) face.remove_prefix(2);
  const RunDirection dir(at.angle);
  for (std::u16string_view ch : Characters(text)) {
    FontDescription measuring = Describe(font, face, ch);
    measuring.height = kMeasureHeight;
    const TextExtent extent = glyphs->Measure(measuring, CodePoint(ch));
    // A character the font cannot measure keeps the fixed pitch of its class.
    const double cell = extent.height > 0
                            ? static_cast<double>(extent.width) / extent.height * font.A * ratio
                            : Pitch(ch, font.B, 0);
    // The glyph keeps the text's character width, the average width its font is made with, so
    // that a narrow letter is drawn as the face shapes it; only the advance is its own.
    PlaceGlyph(g, 0, font, at, dir, ch);
    Advance(at, dir, cell);
  }
}

void DrawGlyph(Graphics& g, int base, const TextFont& font, TextOrigin at, std::u16string_view ch) {
  PlaceGlyph(g, base, font, at, RunDirection(at.angle), ch);
}

}  // namespace vardo
