// Vertical faces: which characters stand upright in a vertical column, and a font's own
// vertical forms of its glyphs.
#include "render/vertical_forms.h"

#include <algorithm>
#include <iterator>

namespace vardo {
namespace {

struct Range {
  char32_t first;
  char32_t last;
};

// Characters set upright in vertical Japanese text (Unicode's vertical orientation U and Tu),
// in order. The brackets, dashes and colons between them (orientation Tr) stay out: a font draws
// its vertical form of them upright, and without one they follow the column.
constexpr Range kUpright[] = {
    {0x00A7, 0x00A7},   {0x00A9, 0x00A9}, {0x00AE, 0x00AE}, {0x00B1, 0x00B1}, {0x00BC, 0x00BE},
    {0x00D7, 0x00D7},   {0x00F7, 0x00F7}, {0x02EA, 0x02EB}, {0x1100, 0x11FF}, {0x1401, 0x167F},
    {0x18B0, 0x18FF},   {0x2016, 0x2016}, {0x2020, 0x2021}, {0x2030, 0x2031}, {0x203B, 0x203C},
    {0x2042, 0x2042},   {0x2047, 0x2049}, {0x2051, 0x2051}, {0x2065, 0x2065}, {0x20DD, 0x20E0},
    {0x20E2, 0x20E4},   {0x2100, 0x2101}, {0x2103, 0x2109}, {0x210F, 0x210F}, {0x2113, 0x2114},
    {0x2116, 0x2117},   {0x211E, 0x2123}, {0x2125, 0x2125}, {0x2127, 0x2127}, {0x2129, 0x2129},
    {0x212E, 0x212E},   {0x2135, 0x213F}, {0x2145, 0x214A}, {0x214C, 0x214D}, {0x214F, 0x2189},
    {0x218C, 0x218F},   {0x221E, 0x221E}, {0x2234, 0x2235}, {0x2300, 0x2307}, {0x230C, 0x231F},
    {0x2324, 0x2328},   {0x232B, 0x232B}, {0x237D, 0x239A}, {0x23BE, 0x23CD}, {0x23CF, 0x23CF},
    {0x23D1, 0x23DB},   {0x23E2, 0x2422}, {0x2424, 0x24FF}, {0x25A0, 0x2619}, {0x2620, 0x2767},
    {0x2776, 0x2793},   {0x2B12, 0x2B2F}, {0x2B50, 0x2B59}, {0x2BB8, 0x2BFF}, {0x2E80, 0x3007},
    {0x3012, 0x3013},   {0x3020, 0x302F}, {0x3031, 0x309F}, {0x30A1, 0x30FB}, {0x30FD, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7FF}, {0xE000, 0xFAFF}, {0xFE10, 0xFE1F}, {0xFE30, 0xFE48},
    {0xFE50, 0xFE57},   {0xFE5F, 0xFE62}, {0xFE67, 0xFE6F}, {0xFF01, 0xFF07}, {0xFF0A, 0xFF0C},
    {0xFF0E, 0xFF19},   {0xFF1F, 0xFF3A}, {0xFF3C, 0xFF3C}, {0xFF3E, 0xFF3E}, {0xFF40, 0xFF5A},
    {0xFFE0, 0xFFE2},   {0xFFE4, 0xFFE7}, {0xFFF0, 0xFFF8}, {0xFFFC, 0xFFFD}, {0x1F000, 0x1FAFF},
    {0x20000, 0x3FFFD},
};

constexpr uint32_t Tag(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 |
         uint8_t(d);
}

// Walks a GSUB table. Reads beyond the end answer 0, so a malformed table ends every walk early
// instead of reading outside it, and a budget of steps bounds the work a table whose counts and
// offsets loop back into itself can cause.
class GsubReader {
 public:
  explicit GsubReader(std::span<const uint8_t> d) : d_(d) {}

  std::vector<std::pair<uint16_t, uint16_t>> VerticalPairs() {
    constexpr uint16_t kSingle = 1;
    constexpr uint16_t kExtension = 7;
    const size_t feature_list = U16(6);
    const size_t lookup_list = U16(8);
    if (feature_list == 0 || lookup_list == 0) return {};

    std::vector<bool> wanted(65536, false);  // lookup indices of the vertical features
    const uint16_t feature_count = U16(feature_list);
    for (size_t i = 0; i < feature_count && Step(); ++i) {
      const size_t record = feature_list + 2 + 6 * i;
      const uint32_t tag = U32(record);
      if (tag != Tag('v', 'e', 'r', 't') && tag != Tag('v', 'r', 't', '2')) continue;
      const size_t feature = feature_list + U16(record + 4);
      const uint16_t count = U16(feature + 2);
      for (size_t j = 0; j < count && Step(); ++j)
        wanted[U16(feature + 4 + 2 * j)] = true;
    }

    const uint16_t lookup_count = U16(lookup_list);
    for (size_t index = 0; index < lookup_count && Step(); ++index) {
      if (!wanted[index]) continue;
      const size_t lookup = lookup_list + U16(lookup_list + 2 + 2 * index);
      const uint16_t type = U16(lookup);
      const uint16_t subtables = U16(lookup + 4);
      for (size_t k = 0; k < subtables && Step(); ++k) {
        size_t subtable = lookup + U16(lookup + 6 + 2 * k);
        if (type == kExtension) {
          if (U16(subtable) != 1 || U16(subtable + 2) != kSingle) continue;
          subtable += U32(subtable + 4);
        } else if (type != kSingle) {
          continue;
        }
        ReadSingleSubstitution(subtable);
      }
    }
    return std::move(pairs_);
  }

 private:
  uint16_t U16(size_t at) const {
    if (at + 2 > d_.size() || at + 2 < at) return 0;
    return static_cast<uint16_t>(d_[at] << 8 | d_[at + 1]);
  }
  uint32_t U32(size_t at) const { return uint32_t{U16(at)} << 16 | U16(at + 2); }
  bool Step() {
    if (steps_ == 0) return false;
    --steps_;
    return true;
  }

  // The glyphs of a coverage table in coverage-index order.
  std::vector<uint16_t> ReadCoverage(size_t at) {
    std::vector<uint16_t> glyphs;
    const uint16_t format = U16(at);
    const uint16_t count = U16(at + 2);
    if (format == 1) {
      for (size_t i = 0; i < count && Step(); ++i)
        glyphs.push_back(U16(at + 4 + 2 * i));
    } else if (format == 2) {
      std::vector<std::pair<uint32_t, uint16_t>> indexed;  // coverage index, glyph
      for (size_t i = 0; i < count && Step(); ++i) {
        const size_t r = at + 4 + 6 * i;
        const uint16_t first = U16(r);
        const uint16_t last = U16(r + 2);
        const uint16_t start_index = U16(r + 4);
        for (uint32_t g = first; g <= last && Step(); ++g)
          indexed.emplace_back(start_index + (g - first), static_cast<uint16_t>(g));
      }
      std::sort(indexed.begin(), indexed.end());
      for (const auto& [index, glyph] : indexed)
        glyphs.push_back(glyph);
    }
    return glyphs;
  }

  // The pairs of one single-substitution subtable (formats 1 and 2).
  void ReadSingleSubstitution(size_t at) {
    const uint16_t format = U16(at);
    const std::vector<uint16_t> covered = ReadCoverage(at + U16(at + 2));
    if (format == 1) {
      const uint16_t delta = U16(at + 4);
      for (const uint16_t g : covered)
        pairs_.emplace_back(g, static_cast<uint16_t>(g + delta));
    } else if (format == 2) {
      const size_t count = std::min<size_t>(U16(at + 4), covered.size());
      for (size_t i = 0; i < count; ++i)
        pairs_.emplace_back(covered[i], U16(at + 6 + 2 * i));
    }
  }

  std::span<const uint8_t> d_;
  // Far more than any font needs: the substitution tables of large fonts take some thousands.
  size_t steps_ = size_t{1} << 21;
  std::vector<std::pair<uint16_t, uint16_t>> pairs_;
};

}  // namespace

bool IsUprightInVerticalText(char32_t ch) {
  const auto it = std::upper_bound(std::begin(kUpright), std::end(kUpright), ch,
                                   [](char32_t c, const Range& r) { return c < r.first; });
  return it != std::begin(kUpright) && ch <= std::prev(it)->last;
}

VerticalForms VerticalForms::FromGsub(std::span<const uint8_t> gsub) {
  VerticalForms forms;
  forms.pairs_ = GsubReader(gsub).VerticalPairs();
  // The first substitution found for a glyph is the one that applies.
  std::stable_sort(forms.pairs_.begin(), forms.pairs_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  forms.pairs_.erase(std::unique(forms.pairs_.begin(), forms.pairs_.end(),
                                 [](const auto& a, const auto& b) { return a.first == b.first; }),
                     forms.pairs_.end());
  return forms;
}

uint32_t VerticalForms::Substitute(uint32_t glyph) const {
  const auto it = std::lower_bound(pairs_.begin(), pairs_.end(), glyph,
                                   [](const auto& p, uint32_t g) { return p.first < g; });
  return it != pairs_.end() && it->first == glyph ? it->second : glyph;
}

}  // namespace vardo
