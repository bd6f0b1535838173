// Vertical faces: which characters stand upright in a vertical column, and a font's own
// vertical forms of its glyphs.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace vardo {

// Whether a vertical face turns ch to stand upright in the column: ideographs, kana, full-width
// forms and the symbols that Japanese text sets upright. Latin, half-width forms and the
// brackets and dashes that follow the column (unless the font has a vertical form for them) lie
// along the column instead.
bool IsUprightInVerticalText(char32_t ch);

// The single substitutions of an OpenType font's "vert" and "vrt2" features: the glyph a vertical
// face draws in place of another (a comma moved to the upper right, a long vowel mark turned).
class VerticalForms {
 public:
  // Reads the substitutions from the bytes of a GSUB table; whatever is malformed or of another
  // kind is left out.
  static VerticalForms FromGsub(std::span<const uint8_t> gsub);

  // The vertical form of glyph, or glyph itself when it has none.
  uint32_t Substitute(uint32_t glyph) const;
  bool empty() const { return pairs_.empty(); }

 private:
  std::vector<std::pair<uint16_t, uint16_t>> pairs_;  // sorted by the first, each first once
};

}  // namespace vardo
