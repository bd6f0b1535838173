// The native rasterizer: the faces drawings name drawn with the installed Japanese fonts, with
// the cell metrics, rotation, vertical forms and styles of the platform's logical fonts. Glyph
// shapes differ between fonts, so these tests check placement and extents, not bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "glyph_masks.h"
#include "render/font_match.h"
#include "render/glyph.h"

namespace vardo {
namespace {

using test::Font;
using test::InkAt;
using test::InkBox;
using test::InkCount;
using test::InkOf;
using test::MaskPicture;
using test::SameMask;

class GlyphFreeType : public testing::Test {
 protected:
  std::unique_ptr<GlyphRasterizer> r = CreateGlyphRasterizer();
};

TEST(FaceClassTest, ReadsGothicOrMinchoAndPitchFromTheName) {
  struct Case {
    std::u16string name;
    FaceClass expected;
  } cases[] = {
      {u"ＭＳ ゴシック", {false, false}},
      {u"ＭＳ 明朝", {true, false}},
      {u"ＭＳ Ｐゴシック", {false, true}},
      {u"ＭＳ Ｐ明朝", {true, true}},
      {u"MS Gothic", {false, false}},
      {u"MS PMincho", {true, true}},
      {u"MS UI Gothic", {false, true}},
      {u"ＨＧ正楷書体-PRO", {true, false}},
      {u"HGP創英角ｺﾞｼｯｸUB", {false, true}},
      {u"DejaVu Serif", {true, false}},
      {u"DejaVu Sans", {false, false}},
      {u"NoSuchFace", {false, false}},
      {u"", {false, false}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ClassifyFace(cases[i].name), cases[i].expected) << "case " << i;
  }
}

TEST(FontMatcherTest, GivesEachClassItsOwnJapaneseFace) {
  FontMatcher matcher;
  std::vector<std::string> files;
  for (const char16_t* name :
       {u"ＭＳ ゴシック", u"ＭＳ 明朝", u"ＭＳ Ｐゴシック", u"ＭＳ Ｐ明朝"}) {
    const std::vector<FontFile> found = matcher.Match(name, false, false);
    ASSERT_FALSE(found.empty());
    files.push_back(found.back().path + "#" + std::to_string(found.back().index));
  }
  for (size_t i = 0; i < files.size(); ++i)
    for (size_t j = i + 1; j < files.size(); ++j)
      EXPECT_NE(files[i], files[j]);
  // A face that is installed is taken at its word, ahead of its class's face.
  const std::vector<FontFile> named = matcher.Match(u"IPAPMincho", false, false);
  ASSERT_EQ(named.size(), 1u);
  EXPECT_EQ(named.front().path, matcher.Match(u"ＭＳ Ｐ明朝", false, false).back().path);
}

TEST_F(GlyphFreeType, DrawsKanjiAndLatinInsideTheirCellsInEveryFace) {
  for (const char16_t* face : {u"ＭＳ ゴシック", u"ＭＳ 明朝", u"ＭＳ Ｐゴシック", u"ＭＳ Ｐ明朝",
                               u"@ＭＳ ゴシック", u"NoSuchFace", u"DejaVu Sans"}) {
    for (const char32_t ch : {U'漢', U'字', U'あ', U'A', U'g', U'1'}) {
      SCOPED_TRACE(testing::Message() << "face length " << std::u16string(face).size() << " char "
                                      << static_cast<uint32_t>(ch));
      const FontDescription f = Font(face, 24);
      const GlyphMask m = r->Rasterize(f, ch);
      const TextExtent e = r->Measure(f, ch);
      ASSERT_TRUE(m.IsWellFormed());
      const InkBox ink = InkOf(m);
      ASSERT_FALSE(ink.empty());
      EXPECT_EQ(e.height, 24);
      // The ink lies in the cell; a glyph may overhang its advance by a pixel.
      EXPECT_GE(ink.left, 0) << MaskPicture(m);
      EXPECT_GE(ink.top, 0) << MaskPicture(m);
      EXPECT_LE(ink.right, e.width + 1) << MaskPicture(m);
      EXPECT_LE(ink.bottom, e.height) << MaskPicture(m);
      EXPECT_GT(ink.height(), 24 / 4);
    }
  }
}

TEST_F(GlyphFreeType, DifferentCharactersAndFacesGiveDifferentGlyphs) {
  const FontDescription gothic = Font(u"ＭＳ ゴシック", 32);
  const FontDescription mincho = Font(u"ＭＳ 明朝", 32);
  const GlyphMask kan = r->Rasterize(gothic, U'漢');
  const GlyphMask ji = r->Rasterize(gothic, U'字');
  EXPECT_FALSE(SameMask(kan, ji));
  EXPECT_FALSE(SameMask(kan, r->Rasterize(mincho, U'漢')));
  // A box drawn for every missing character would have the same ink for both.
  EXPECT_NE(InkCount(kan), InkCount(ji));
}

TEST_F(GlyphFreeType, HeightAndWidthFollowTheLogicalFont) {
  // A positive height is the whole cell; a negative one the em, to which the cell adds leading.
  EXPECT_EQ(r->Measure(Font(u"ＭＳ ゴシック", 40), U'漢').height, 40);
  const TextExtent em40 = r->Measure(Font(u"ＭＳ ゴシック", -40), U'漢');
  EXPECT_GT(em40.height, 40);
  EXPECT_LT(em40.height, 48);
  EXPECT_EQ(em40.width, 40);  // a full-width character is one em wide
  EXPECT_LE(InkOf(r->Rasterize(Font(u"ＭＳ ゴシック", -40), U'漢')).height(), 40);

  // The width is the average (half-width) character width of the fixed-pitch face: Latin
  // advances by it and full-width characters by twice it, whatever the height.
  for (const int width : {6, 10, 17, 30}) {
    const FontDescription f = Font(u"ＭＳ ゴシック", 24, width);
    EXPECT_EQ(r->Measure(f, U'A').width, width);
    EXPECT_NEAR(r->Measure(f, U'漢').width, 2 * width, 1);
    EXPECT_EQ(r->Measure(f, U'漢').height, 24);
    const InkBox ink = InkOf(r->Rasterize(f, U'漢'));
    EXPECT_LE(ink.right, 2 * width + 1);
    EXPECT_GT(ink.width(), 2 * width * 3 / 4);
  }
  // Width 0 keeps the face's own proportions.
  EXPECT_NEAR(r->Measure(Font(u"ＭＳ ゴシック", -40), U'A').width, 20, 1);
}

TEST_F(GlyphFreeType, EscapementTurnsTheCellAboutItsTopLeftCorner) {
  const FontDescription upright = Font(u"ＭＳ ゴシック", 30, 0, 0);
  for (const char32_t ch : {U'漢', U'A', U'一'}) {
    const InkBox a = InkOf(r->Rasterize(upright, ch));
    // Pixel (x, y) of the upright cell goes to (y, -x) at 90 degrees anticlockwise (y down),
    // to (-x, -y) at 180 and to (-y, x) at 270: a pixel turned covers the cell's other corner.
    struct Case {
      int escapement;
      InkBox expected;
    } cases[] = {
        {900, {a.top, -a.right, a.bottom, -a.left}},
        {1800, {-a.right, -a.bottom, -a.left, -a.top}},
        {-900, {-a.bottom, a.left, -a.top, a.right}},
        {2700, {-a.bottom, a.left, -a.top, a.right}},
    };
    for (const Case& c : cases) {
      const GlyphMask m = r->Rasterize(Font(u"ＭＳ ゴシック", 30, 0, c.escapement), ch);
      const InkBox b = InkOf(m);
      SCOPED_TRACE(testing::Message()
                   << "escapement " << c.escapement << " char " << static_cast<uint32_t>(ch) << "\n"
                   << MaskPicture(m));
      EXPECT_NEAR(b.left, c.expected.left, 1);
      EXPECT_NEAR(b.top, c.expected.top, 1);
      EXPECT_NEAR(b.right, c.expected.right, 1);
      EXPECT_NEAR(b.bottom, c.expected.bottom, 1);
    }
  }
  // At 30 degrees the ink stays within the turned cell and climbs along the baseline: the
  // cell's far end lies above its top-left corner.
  const TextExtent cell = r->Measure(upright, U'一');
  const GlyphMask m = r->Rasterize(Font(u"ＭＳ ゴシック", 30, 0, 300), U'一');
  const InkBox b = InkOf(m);
  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  EXPECT_GE(b.left, -1) << MaskPicture(m);
  EXPECT_LE(b.right, static_cast<int>(cell.width * c + cell.height * s) + 2) << MaskPicture(m);
  EXPECT_GE(b.top, static_cast<int>(-cell.width * s) - 2) << MaskPicture(m);
  EXPECT_LE(b.bottom, static_cast<int>(cell.height * c) + 2) << MaskPicture(m);
  // The horizontal stroke of 一 rises to the right.
  int left_row = INT_MAX, right_row = INT_MAX;
  for (int y = b.top; y < b.bottom; ++y) {
    if (InkAt(m, b.left, y)) left_row = std::min(left_row, y);
    if (InkAt(m, b.right - 1, y)) right_row = std::min(right_row, y);
  }
  EXPECT_LT(right_row + 5, left_row) << MaskPicture(m);
}

TEST_F(GlyphFreeType, VerticalFacesStandFullWidthCharactersUpright) {
  // Down the column (escapement 270 degrees): 一 in a vertical face is still a horizontal
  // stroke, in a horizontal face it is turned with the column; Latin lies along the column in
  // both.
  const auto ink = [&](const char16_t* face, char32_t ch) {
    return InkOf(r->Rasterize(Font(face, 32, 0, 2700), ch));
  };
  EXPECT_GT(ink(u"@ＭＳ ゴシック", U'一').width(), 3 * ink(u"@ＭＳ ゴシック", U'一').height());
  EXPECT_GT(ink(u"ＭＳ ゴシック", U'一').height(), 3 * ink(u"ＭＳ ゴシック", U'一').width());
  EXPECT_GT(ink(u"@ＭＳ ゴシック", U'l').width(), 3 * ink(u"@ＭＳ ゴシック", U'l').height());
  EXPECT_GT(ink(u"ＭＳ ゴシック", U'l').width(), 3 * ink(u"ＭＳ ゴシック", U'l').height());

  // An upright glyph keeps its shape: the vertical face at 270 degrees draws what the
  // horizontal face draws at 0, within the column's cell.
  const InkBox flat = InkOf(r->Rasterize(Font(u"ＭＳ ゴシック", 32), U'漢'));
  const InkBox up = ink(u"@ＭＳ ゴシック", U'漢');
  EXPECT_NEAR(up.width(), flat.width(), 1);
  EXPECT_NEAR(up.height(), flat.height(), 1);
  EXPECT_GE(up.left, -32);
  EXPECT_LE(up.right, 0);
  EXPECT_GE(up.top, 0);
  EXPECT_LE(up.bottom, 32);

  // The ideographic comma sits at the lower left of a horizontal cell and, in its vertical form,
  // at the upper right of the column's cell (which spans x -32..0 and y 0..32 here).
  const InkBox across = InkOf(r->Rasterize(Font(u"ＭＳ ゴシック", 32), U'、'));
  EXPECT_LT(across.right, 16);
  EXPECT_GT(across.top, 16);
  const InkBox down = ink(u"@ＭＳ ゴシック", U'、');
  EXPECT_GT(down.left, -16);
  EXPECT_LT(down.bottom, 16);
}

TEST_F(GlyphFreeType, BoldItalicUnderlineAndStrikeOutAsAsked) {
  const FontDescription plain = Font(u"ＭＳ ゴシック", 40);
  FontDescription bold = plain;
  bold.weight = 700;
  EXPECT_GT(InkCount(r->Rasterize(bold, U'漢')), InkCount(r->Rasterize(plain, U'漢')) * 11 / 10);
  EXPECT_GE(r->Measure(bold, U'A').width, r->Measure(plain, U'A').width);

  // The upright stroke of "l" leans right: its top row of ink starts further right than its
  // bottom row.
  FontDescription italic = plain;
  italic.italic = true;
  const GlyphMask slanted = r->Rasterize(italic, U'l');
  const InkBox s = InkOf(slanted);
  const auto first_ink = [&](int y) {
    for (int x = s.left; x < s.right; ++x)
      if (InkAt(slanted, x, y)) return x;
    return INT_MAX;
  };
  EXPECT_GT(first_ink(s.top), first_ink(s.bottom - 1) + 2) << MaskPicture(slanted);

  // Underline and strike-out are full rows across the advance, below and above the baseline;
  // the glyph's own ink stays.
  const TextExtent cell = r->Measure(plain, U'A');
  const GlyphMask glyph = r->Rasterize(plain, U'A');
  const int baseline = InkOf(glyph).bottom;
  const auto full_row = [&](const GlyphMask& m, int from, int to) {
    for (int y = from; y < to; ++y) {
      bool full = true;
      for (int x = 0; x < cell.width && full; ++x)
        full = InkAt(m, x, y);
      if (full) return y;
    }
    return -1;
  };
  FontDescription underlined = plain;
  underlined.underline = true;
  const GlyphMask u = r->Rasterize(underlined, U'A');
  EXPECT_GE(full_row(u, baseline, cell.height), baseline) << MaskPicture(u);
  EXPECT_EQ(full_row(glyph, 0, cell.height), -1);
  FontDescription struck = plain;
  struck.strike_out = true;
  const GlyphMask so = r->Rasterize(struck, U'A');
  const int strike = full_row(so, 0, cell.height);
  EXPECT_GT(strike, baseline / 3) << MaskPicture(so);
  EXPECT_LT(strike, baseline) << MaskPicture(so);
  for (const GlyphMask* m : {&u, &so}) {
    int lost = 0;
    for (int y = 0; y < glyph.height; ++y)
      for (int x = 0; x < glyph.width; ++x)
        lost += glyph.At(x, y) && !InkAt(*m, glyph.left + x, glyph.top + y) ? 1 : 0;
    EXPECT_EQ(lost, 0) << MaskPicture(*m);
  }
  // A space has no ink, but its underline has.
  EXPECT_EQ(InkCount(r->Rasterize(plain, U' ')), 0);
  EXPECT_GT(InkCount(r->Rasterize(underlined, U' ')), 0);
}

TEST_F(GlyphFreeType, AnyDescriptionGivesAWellFormedMask) {
  const int sizes[] = {INT_MIN, -100000, -1, 0, 1, 2, 100000, INT_MAX};
  for (const int h : sizes) {
    for (const int w : sizes) {
      FontDescription f = Font(u"ＭＳ 明朝", h, w, h ^ w);
      f.weight = w;
      const GlyphMask m = r->Rasterize(f, U'漢');
      EXPECT_TRUE(m.IsWellFormed());
      EXPECT_LE(m.width, 4 * kMaxGlyphPixels);
      EXPECT_LE(m.height, 4 * kMaxGlyphPixels);
      const TextExtent e = r->Measure(f, U'漢');
      EXPECT_GE(e.height, 0);
      EXPECT_LE(e.height, 2 * kMaxGlyphPixels);
    }
  }
  // Characters no font has are empty, not boxes; odd face names still draw.
  EXPECT_EQ(InkCount(r->Rasterize(Font(u"ＭＳ ゴシック", 20), U'\U0010FFFD')), 0);
  EXPECT_GT(InkCount(r->Rasterize(Font(u"@@@", 20), U'漢')), 0);
  EXPECT_GT(InkCount(r->Rasterize(Font(std::u16string(300, u'@'), 20), U'漢')), 0);
}

TEST_F(GlyphFreeType, GivesTheSameMaskEveryTimeFromManyThreads) {
  struct Ask {
    FontDescription font;
    char32_t ch;
  };
  std::vector<Ask> asks;
  const char32_t text[] = U"漢字かなカナAbg1、ー";
  for (const char16_t* face : {u"ＭＳ ゴシック", u"ＭＳ Ｐ明朝", u"@ＭＳ 明朝"})
    for (const int escapement : {0, 450, 2700})
      for (const int height : {12, 31})
        for (const char32_t ch : std::u32string_view(text))
          asks.push_back({Font(face, height, 0, escapement), ch});
  std::vector<GlyphMask> expected;
  {
    const std::unique_ptr<GlyphRasterizer> fresh = CreateGlyphRasterizer();
    for (const Ask& a : asks)
      expected.push_back(fresh->Rasterize(a.font, a.ch));
  }
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < asks.size(); ++i) {
          const size_t k = (i * 7 + static_cast<size_t>(t) * 13) % asks.size();
          if (!SameMask(r->Rasterize(asks[k].font, asks[k].ch), expected[k])) ++wrong;
          if (r->Measure(asks[k].font, asks[k].ch).height != asks[k].font.height) ++wrong;
        }
      }
    });
  }
  for (std::thread& t : threads)
    t.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace vardo
