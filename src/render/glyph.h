// Glyphs as one-bit masks, and the interface through which font rasterisers deliver them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vardo {

// The ink of one character: set bits are drawn, clear bits leave the surface as it was.
struct GlyphMask {
  // Position of the mask's first pixel relative to the point the character is drawn at (the
  // top-left corner of its cell); rotated glyphs may reach above or left of that point.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  // Bytes per row; each row holds width bits, the first pixel in the high bit of its first byte.
  int stride = 0;
  std::vector<uint8_t> bits;

  // Whether the stored bits cover width x height; a mask that does not is never drawn.
  bool IsWellFormed() const {
    if (width < 0 || height < 0 || stride < 0) return false;
    if (static_cast<int64_t>(stride) * 8 < width) return false;
    return static_cast<uint64_t>(stride) * static_cast<uint64_t>(height) <= bits.size();
  }
  bool At(int x, int y) const {
    const uint8_t byte =
        bits[static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(x / 8)];
    return ((byte >> (7 - x % 8)) & 1) != 0;
  }
};

// Heights and widths are taken up to this many pixels (texts are drawn at most 1000 pixels
// high), which bounds the memory a mask takes whatever a description says.
constexpr int kMaxGlyphPixels = 1024;

// A logical font as the text renderer asks for it.
struct FontDescription {
  std::u16string face;  // at most 31 UTF-16 units
  int height = 0;       // pixels; negative asks for the character height without leading
  int width = 0;        // average character width in pixels, 0 for the face's own
  int escapement = 0;   // tenths of a degree, anticlockwise
  int orientation = 0;  // tenths of a degree
  int weight = 400;     // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  int charset = 0;

  bool operator==(const FontDescription&) const = default;
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

// Turns characters of a font into masks (no antialiasing) and measures them, as the platform's
// text output draws one character of a logical font: the height is the cell height (the
// character height without internal leading when negative), the width the average character
// width, and the escapement turns the cell about its top-left corner. A face name beginning
// with "@" asks for the vertical form of the face. Implementations may cache; hence the methods
// are not const.
class GlyphRasterizer {
 public:
  virtual ~GlyphRasterizer() = default;

  // The mask of ch in font, placed relative to the top-left corner of its cell; an empty mask
  // when the character has no ink or cannot be drawn.
  virtual GlyphMask Rasterize(const FontDescription& font, char32_t ch) = 0;

  // The same mask to draw at once: a cache hands out the one it keeps instead of a copy.
  virtual std::shared_ptr<const GlyphMask> SharedMask(const FontDescription& font, char32_t ch) {
    return std::make_shared<const GlyphMask>(Rasterize(font, ch));
  }

  // Width and height of ch's cell in font, in pixels.
  virtual TextExtent Measure(const FontDescription& font, char32_t ch) = 0;
};

// The platform's rasterizer (GDI on Windows, FreeType and fontconfig elsewhere) behind a cache
// of masks and measurements. The returned object may be used from several threads at once.
std::unique_ptr<GlyphRasterizer> CreateGlyphRasterizer();

}  // namespace vardo
