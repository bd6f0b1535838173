// Scenes for text tests with deterministic glyph rasterizers: glyphs as filled cells, and a
// recorder that logs every glyph drawn with its font and pixel position. Real fonts differ from
// machine to machine; these make placement exact.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "render/glyph.h"
#include "render/graphics.h"
#include "render/surface.h"
#include "scene.h"

namespace vardo::test {

inline bool IsHalfWidthCode(char32_t ch) {
  return (ch >= 0x20 && ch <= 0x7E) || (ch >= 0xFF61 && ch <= 0xFF9F);
}

// Every glyph is its whole cell, filled: font.width wide for a half-width character and twice
// that for any other, |font.height| high, turned anticlockwise by the escapement about the
// cell's top-left corner (pixels whose centres lie inside the turned cell). Measured widths:
// a quarter of the height for "i", half of it for other half-width characters, all of it for
// the rest.
class BoxGlyphs final : public GlyphRasterizer {
 public:
  GlyphMask Rasterize(const FontDescription& font, char32_t ch) override {
    const double w = IsHalfWidthCode(ch) ? font.width : 2.0 * font.width;
    const double h = std::abs(font.height);
    const double a = font.escapement / 10.0 * 3.14159265358979323846 / 180;
    // Screen directions (y down) of the cell's run and of its height.
    const double along_x = std::cos(a), along_y = -std::sin(a);
    const double down_x = std::sin(a), down_y = std::cos(a);
    const double xs[] = {0, w * along_x, h * down_x, w * along_x + h * down_x};
    const double ys[] = {0, w * along_y, h * down_y, w * along_y + h * down_y};
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    for (int k = 0; k < 4; ++k) {
      x0 = std::min(x0, xs[k]), x1 = std::max(x1, xs[k]);
      y0 = std::min(y0, ys[k]), y1 = std::max(y1, ys[k]);
    }
    GlyphMask m;
    m.left = static_cast<int>(std::floor(x0));
    m.top = static_cast<int>(std::floor(y0));
    m.width = static_cast<int>(std::ceil(x1)) - m.left;
    m.height = static_cast<int>(std::ceil(y1)) - m.top;
    m.stride = (m.width + 7) / 8;
    m.bits.assign(static_cast<size_t>(m.stride) * static_cast<size_t>(m.height), 0);
    for (int j = 0; j < m.height; ++j) {
      for (int i = 0; i < m.width; ++i) {
        const double x = m.left + i + 0.5, y = m.top + j + 0.5;
        const double along = x * along_x + y * along_y;
        const double down = x * down_x + y * down_y;
        if (along < 0 || along >= w || down < 0 || down >= h) continue;
        m.bits[static_cast<size_t>(j * m.stride + i / 8)] |= static_cast<uint8_t>(0x80 >> (i % 8));
      }
    }
    return m;
  }

  TextExtent Measure(const FontDescription& font, char32_t ch) override {
    const int h = std::abs(font.height);
    if (ch == U'i') return {h / 4, h};
    return {IsHalfWidthCode(ch) ? h / 2 : h, h};
  }
};

// One glyph as drawn: its character, font, the pixel its cell's top-left corner went to and the
// colour it was drawn in.
struct DrawnGlyph {
  char32_t ch = 0;
  FontDescription font;
  int x = INT_MIN, y = INT_MIN;  // INT_MIN: it landed outside the surface
  uint32_t colour = 0;
};

inline std::ostream& operator<<(std::ostream& out, const DrawnGlyph& g) {
  return out << "U+" << std::hex << static_cast<uint32_t>(g.ch) << std::dec << " at (" << g.x
             << ", " << g.y << ") h " << g.font.height << " w " << g.font.width << " e "
             << g.font.escapement << " weight " << g.font.weight << " colour " << std::hex
             << g.colour << std::dec;
}

// Logs every glyph drawn onto a white surface. Each glyph is a single pixel at its cell's
// top-left corner; the recorder finds it (and wipes it) before the next glyph is drawn, so that
// glyphs at the same pixel stay apart. Measures like BoxGlyphs.
class GlyphRecorder final : public GlyphRasterizer {
 public:
  explicit GlyphRecorder(Surface& surface) : surface_(surface) {}

  GlyphMask Rasterize(const FontDescription& font, char32_t ch) override {
    Collect();
    drawn_.push_back({ch, font});
    GlyphMask m;
    m.width = m.height = m.stride = 1;
    m.bits = {0x80};
    return m;
  }

  TextExtent Measure(const FontDescription& font, char32_t ch) override {
    measured.push_back(font);
    return BoxGlyphs().Measure(font, ch);
  }

  // The fonts of every measurement.
  std::vector<FontDescription> measured;

  // Every glyph drawn so far.
  const std::vector<DrawnGlyph>& Drawn() {
    Collect();
    return drawn_;
  }

  std::u16string Chars() {
    std::u16string s;
    for (const DrawnGlyph& g : Drawn())
      s += static_cast<char16_t>(g.ch);
    return s;
  }

 private:
  void Collect() {
    if (collected_ == drawn_.size()) return;
    collected_ = drawn_.size();
    for (int y = 0; y < surface_.Height(); ++y) {
      for (int x = 0; x < surface_.Width(); ++x) {
        const uint32_t c = surface_.GetPixel(x, y);
        if (c == Surface::kWhite) continue;
        drawn_.back().x = x, drawn_.back().y = y, drawn_.back().colour = c;
        surface_.SetPixel(x, y, Surface::kWhite);
        return;
      }
    }
  }

  Surface& surface_;
  std::vector<DrawnGlyph> drawn_;
  size_t collected_ = 0;  // glyphs whose pixel has been looked for
};

// A scene whose graphics text draws texts with glyphs that fill their cells.
struct BoxScene : Scene {
  explicit BoxScene(int width, int height, double scale = 1) : Scene(width, height, scale) {}
  BoxGlyphs glyphs;
  Graphics text{canvas, view, attr, {.glyphs = &glyphs, .codes = nullptr, .now = {}}};
};

// A scene whose graphics text records every glyph drawn; codes and now are the text-code values
// and the moment the graphics were made with.
struct RecordingScene : Scene {
  explicit RecordingScene(int width, int height, double scale = 1, TextCodeValues values = {},
                          LocalDateTime moment = {})
      : Scene(width, height, scale), codes(std::move(values)), now(moment) {}
  GlyphRecorder glyphs{surface};
  TextCodeValues codes;
  LocalDateTime now;
  Graphics text{canvas, view, attr, {.glyphs = &glyphs, .codes = &codes, .now = now}};
};

}  // namespace vardo::test
