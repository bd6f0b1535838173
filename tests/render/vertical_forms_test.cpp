// Vertical faces: the characters that stand upright, and the vertical forms read from a font's
// GSUB table (built here byte by byte, in every layout the reader must follow).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/vertical_forms.h"

namespace vardo {
namespace {

TEST(VerticalText, StandsJapaneseUprightAndLaysLatinAlongTheColumn) {
  struct Case {
    char32_t ch;
    bool upright;
  } cases[] = {
      {U'漢', true}, {U'あ', true},  {U'ア', true},          {U'、', true},  {U'。', true},
      {U'Ａ', true}, {U'１', true},  {U'※', true},           {U'〒', true},  {U'㎡', true},
      {U'𠮷', true}, {U'ァ', true},  {U'A', false},          {U'1', false},  {U' ', false},
      {U'ｱ', false}, {U'ー', false}, {U'「', false},         {U'（', false}, {U'～', false},
      {U'α', false}, {U'\0', false}, {U'\U0010FFFF', false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsUprightInVerticalText(c.ch), c.upright) << static_cast<uint32_t>(c.ch);
}

// Big-endian table bytes with offsets patched in once their targets are known.
struct Writer {
  std::vector<uint8_t> d;
  size_t Here() const { return d.size(); }
  size_t U16(size_t v) {
    d.push_back(static_cast<uint8_t>(v >> 8));
    d.push_back(static_cast<uint8_t>(v));
    return d.size() - 2;
  }
  void U32(uint32_t v) {
    U16(v >> 16);
    U16(v & 0xFFFF);
  }
  void Patch16(size_t at, size_t v) {
    d[at] = static_cast<uint8_t>(v >> 8);
    d[at + 1] = static_cast<uint8_t>(v);
  }
};

constexpr uint32_t Tag(const char (&t)[5]) {
  return uint32_t(uint8_t(t[0])) << 24 | uint32_t(uint8_t(t[1])) << 16 |
         uint32_t(uint8_t(t[2])) << 8 | uint8_t(t[3]);
}

// Coverage format 1 (a list) or 2 (one range from first to last).
void Coverage(Writer& w, const std::vector<uint16_t>& glyphs) {
  w.U16(1);
  w.U16(glyphs.size());
  for (const uint16_t g : glyphs)
    w.U16(g);
}
void CoverageRange(Writer& w, uint16_t first, uint16_t last) {
  w.U16(2);
  w.U16(1);
  w.U16(first);
  w.U16(last);
  w.U16(0);
}

// Single substitution format 1 (a delta) over a list.
void SingleByDelta(Writer& w, uint16_t delta, const std::vector<uint16_t>& glyphs) {
  const size_t start = w.Here();
  w.U16(1);
  const size_t coverage = w.U16(0);
  w.U16(delta);
  w.Patch16(coverage, w.Here() - start);
  Coverage(w, glyphs);
}

// Single substitution format 2 (a list of substitutes); the coverage is written by cover().
template <typename Cover>
void SingleByList(Writer& w, const std::vector<uint16_t>& substitutes, Cover cover) {
  const size_t start = w.Here();
  w.U16(2);
  const size_t coverage = w.U16(0);
  w.U16(substitutes.size());
  for (const uint16_t g : substitutes)
    w.U16(g);
  w.Patch16(coverage, w.Here() - start);
  cover(w);
}

// A GSUB table: "liga" maps 5 to 99 (not a vertical form); "vert" maps 10 and 11 by a delta,
// 20..22 by a list over a range, and, through an extension lookup, 10 again (the earlier
// lookup wins) and 30.
std::vector<uint8_t> SampleGsub() {
  Writer w;
  w.U32(0x00010000);
  w.U16(0);  // script list, not read
  const size_t feature_list_at = w.U16(0);
  const size_t lookup_list_at = w.U16(0);

  const size_t features = w.Here();
  w.Patch16(feature_list_at, features);
  w.U16(2);
  w.U32(Tag("liga"));
  const size_t liga = w.U16(0);
  w.U32(Tag("vert"));
  const size_t vert = w.U16(0);
  w.Patch16(liga, w.Here() - features);
  w.U16(0);
  w.U16(1);
  w.U16(0);
  w.Patch16(vert, w.Here() - features);
  w.U16(0);
  w.U16(2);
  w.U16(2);
  w.U16(1);

  const size_t lookups = w.Here();
  w.Patch16(lookup_list_at, lookups);
  w.U16(3);
  const size_t lookup_at[3] = {w.U16(0), w.U16(0), w.U16(0)};

  // Lookup 0: the ligature feature's.
  size_t lookup = w.Here();
  w.Patch16(lookup_at[0], lookup - lookups);
  w.U16(1);
  w.U16(0);
  w.U16(1);
  size_t subtable_at = w.U16(0);
  w.Patch16(subtable_at, w.Here() - lookup);
  SingleByDelta(w, 94, {5});

  // Lookup 1: two subtables of single substitutions.
  lookup = w.Here();
  w.Patch16(lookup_at[1], lookup - lookups);
  w.U16(1);
  w.U16(0);
  w.U16(2);
  subtable_at = w.U16(0);
  const size_t second_at = w.U16(0);
  w.Patch16(subtable_at, w.Here() - lookup);
  SingleByDelta(w, 100, {10, 11});
  w.Patch16(second_at, w.Here() - lookup);
  SingleByList(w, {200, 201, 202}, [](Writer& c) { CoverageRange(c, 20, 22); });

  // Lookup 2: an extension holding a single substitution.
  lookup = w.Here();
  w.Patch16(lookup_at[2], lookup - lookups);
  w.U16(7);
  w.U16(0);
  w.U16(1);
  subtable_at = w.U16(0);
  const size_t extension = w.Here();
  w.Patch16(subtable_at, extension - lookup);
  w.U16(1);
  w.U16(1);
  w.U32(8);
  SingleByList(w, {300, 301}, [](Writer& c) { Coverage(c, {10, 30}); });
  return w.d;
}

TEST(VerticalForms, ReadsTheVerticalSubstitutionsOfEveryLayout) {
  const VerticalForms forms = VerticalForms::FromGsub(SampleGsub());
  struct Case {
    uint32_t glyph, form;
  } cases[] = {{10, 110}, {11, 111}, {20, 200}, {21, 201}, {22, 202},     {30, 301},
               {5, 5},    {0, 0},    {12, 12},  {23, 23},  {70000, 70000}};
  for (const Case& c : cases)
    EXPECT_EQ(forms.Substitute(c.glyph), c.form) << c.glyph;
}

TEST(VerticalForms, ReadsWhatIsThereOfATruncatedOrCorruptTable) {
  const std::vector<uint8_t> whole = SampleGsub();
  for (size_t size = 0; size < whole.size(); ++size) {
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(size));
    const VerticalForms forms = VerticalForms::FromGsub(cut);
    EXPECT_EQ(forms.Substitute(5), 5u);
  }
  // Every byte flipped in turn: nothing read outside the table, no endless walk.
  for (size_t i = 0; i < whole.size(); ++i) {
    std::vector<uint8_t> bad = whole;
    bad[i] ^= 0xFF;
    VerticalForms::FromGsub(bad).Substitute(10);
  }
  EXPECT_TRUE(VerticalForms::FromGsub({}).empty());
}

}  // namespace
}  // namespace vardo
