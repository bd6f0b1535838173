// What the glyph tests ask for and measure: fonts, where a mask's ink lies, how much there is,
// and a picture of it for failure messages.
#pragma once

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "render/glyph.h"

namespace vardo::test {

// A logical font of the face at the height, width and escapement, otherwise as described.
inline FontDescription Font(std::u16string face, int height, int width = 0, int escapement = 0) {
  FontDescription f;
  f.face = std::move(face);
  f.height = height;
  f.width = width;
  f.escapement = escapement;
  return f;
}

// The bounds of a mask's set pixels relative to the cell's top-left corner, right and bottom
// excluded; empty when nothing is set.
struct InkBox {
  int left = INT_MAX;
  int top = INT_MAX;
  int right = INT_MIN;
  int bottom = INT_MIN;

  bool empty() const { return right <= left || bottom <= top; }
  int width() const { return empty() ? 0 : right - left; }
  int height() const { return empty() ? 0 : bottom - top; }
};

inline InkBox InkOf(const GlyphMask& m) {
  InkBox box;
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      if (!m.At(x, y)) continue;
      box.left = std::min(box.left, m.left + x);
      box.right = std::max(box.right, m.left + x + 1);
      box.top = std::min(box.top, m.top + y);
      box.bottom = std::max(box.bottom, m.top + y + 1);
    }
  }
  return box;
}

inline int InkCount(const GlyphMask& m) {
  int count = 0;
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x)
      count += m.At(x, y) ? 1 : 0;
  return count;
}

// Whether the pixel at (x, y) relative to the cell's corner is set.
inline bool InkAt(const GlyphMask& m, int x, int y) {
  const int mx = x - m.left, my = y - m.top;
  return mx >= 0 && my >= 0 && mx < m.width && my < m.height && m.At(mx, my);
}

// '#' ink, '.' none, 'O' the cell's corner when it falls inside the mask.
inline std::string MaskPicture(const GlyphMask& m) {
  std::string text = "mask at (" + std::to_string(m.left) + ", " + std::to_string(m.top) + ")";
  for (int y = 0; y < m.height; ++y) {
    text += '\n';
    for (int x = 0; x < m.width; ++x) {
      const bool corner = m.left + x == 0 && m.top + y == 0;
      text += m.At(x, y) ? '#' : corner ? 'O' : '.';
    }
  }
  return text;
}

inline bool SameMask(const GlyphMask& a, const GlyphMask& b) {
  if (a.left != b.left || a.top != b.top || a.width != b.width || a.height != b.height)
    return false;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

}  // namespace vardo::test
