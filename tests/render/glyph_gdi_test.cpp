// The Windows rasterizer: its masks and measurements agree with GDI's own text extents, turn
// with the escapement, and show the Japanese faces drawings name as real, distinct kanji.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>

#include "glyph_masks.h"
#include "render/glyph.h"

namespace vardo {
namespace {

using test::Font;
using test::InkBox;
using test::InkCount;
using test::InkOf;
using test::MaskPicture;
using test::SameMask;

// The extent GDI itself gives one character of the font, asked afresh.
SIZE GdiExtent(const FontDescription& f, char32_t ch) {
  LOGFONTW lf{};
  lf.lfHeight = f.height;
  lf.lfWidth = f.width;
  lf.lfEscapement = f.escapement;
  lf.lfWeight = f.weight;
  for (size_t i = 0; i < f.face.size() && i < LF_FACESIZE - 1; ++i)
    lf.lfFaceName[i] = static_cast<wchar_t>(f.face[i]);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HFONT font = CreateFontIndirectW(&lf);
  const HGDIOBJ old = SelectObject(dc, font);
  const wchar_t text[] = {static_cast<wchar_t>(ch)};
  SIZE size{};
  GetTextExtentPoint32W(dc, text, 1, &size);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return size;
}

class GlyphGdi : public testing::Test {
 protected:
  std::unique_ptr<GlyphRasterizer> r = CreateGlyphRasterizer();
};

TEST_F(GlyphGdi, MasksLieInTheCellThatGdiMeasuresTurnedByTheEscapement) {
  for (const FontDescription& base :
       {Font(u"ＭＳ ゴシック", 32), Font(u"ＭＳ 明朝", -24, 9), Font(u"ＭＳ Ｐゴシック", 20)}) {
    for (const char32_t ch : {U'漢', U'字', U'あ', U'A', U'g'}) {
      for (const int escapement : {0, 300, 900, 1800, 2700}) {
        FontDescription f = base;
        f.escapement = escapement;
        const SIZE gdi = GdiExtent(f, ch);
        const TextExtent e = r->Measure(f, ch);
        const GlyphMask m = r->Rasterize(f, ch);
        SCOPED_TRACE(testing::Message()
                     << "height " << f.height << " char " << static_cast<uint32_t>(ch)
                     << " escapement " << escapement << "\n"
                     << MaskPicture(m));
        EXPECT_EQ(e.width, gdi.cx);
        EXPECT_EQ(e.height, gdi.cy);
        ASSERT_TRUE(m.IsWellFormed());
        const InkBox ink = InkOf(m);
        ASSERT_FALSE(ink.empty());
        // The corners of the cell turned anticlockwise about its top-left corner (y down).
        const double a = escapement * std::numbers::pi / 1800;
        const double c = std::cos(a), s = std::sin(a);
        const double xs[] = {0, gdi.cx * c, gdi.cy * s, gdi.cx * c + gdi.cy * s};
        const double ys[] = {0, -gdi.cx * s, gdi.cy * c, gdi.cy * c - gdi.cx * s};
        const double slack = 1.5;  // a glyph may overhang its advance by a pixel
        EXPECT_GE(ink.left, *std::min_element(xs, xs + 4) - slack);
        EXPECT_LE(ink.right, *std::max_element(xs, xs + 4) + slack);
        EXPECT_GE(ink.top, *std::min_element(ys, ys + 4) - slack);
        EXPECT_LE(ink.bottom, *std::max_element(ys, ys + 4) + slack);
      }
    }
  }
}

TEST_F(GlyphGdi, DrawsTheJapaneseFacesOfDrawingsAsRealKanji) {
  // Without a Japanese face every kanji is the same box; the faces drawings name must reach one.
  for (const char16_t* face :
       {u"ＭＳ ゴシック", u"ＭＳ 明朝", u"ＭＳ Ｐゴシック", u"ＭＳ Ｐ明朝"}) {
    const FontDescription f = Font(face, 32);
    const GlyphMask kan = r->Rasterize(f, U'漢');
    const GlyphMask ji = r->Rasterize(f, U'字');
    const GlyphMask ichi = r->Rasterize(f, U'一');
    EXPECT_FALSE(SameMask(kan, ji)) << MaskPicture(kan);
    EXPECT_NE(InkCount(kan), InkCount(ji)) << MaskPicture(kan) << "\n" << MaskPicture(ji);
    // 一 is one horizontal stroke, far wider than high; a box would be as high as the others.
    EXPECT_GT(InkOf(ichi).width(), 3 * InkOf(ichi).height()) << MaskPicture(ichi);
    EXPECT_GT(InkOf(kan).height(), 32 / 2);
  }
  // Each name reaches a face of its own kind: Mincho strokes differ from Gothic ones, and the
  // proportional faces give "i" less room than the fixed-pitch ones.
  EXPECT_FALSE(SameMask(r->Rasterize(Font(u"ＭＳ ゴシック", 32), U'漢'),
                        r->Rasterize(Font(u"ＭＳ 明朝", 32), U'漢')));
  EXPECT_FALSE(SameMask(r->Rasterize(Font(u"ＭＳ Ｐゴシック", 32), U'漢'),
                        r->Rasterize(Font(u"ＭＳ Ｐ明朝", 32), U'漢')));
  for (const auto& [fixed, proportional] :
       {std::pair{u"ＭＳ ゴシック", u"ＭＳ Ｐゴシック"}, std::pair{u"ＭＳ 明朝", u"ＭＳ Ｐ明朝"}}) {
    EXPECT_LT(r->Measure(Font(proportional, 32), U'i').width,
              r->Measure(Font(fixed, 32), U'i').width);
  }
}

TEST_F(GlyphGdi, VerticalFacesStandKanjiUprightDownTheColumn) {
  const InkBox down = InkOf(r->Rasterize(Font(u"@ＭＳ ゴシック", 32, 0, 2700), U'一'));
  EXPECT_GT(down.width(), 3 * down.height());
  const InkBox turned = InkOf(r->Rasterize(Font(u"ＭＳ ゴシック", 32, 0, 2700), U'一'));
  EXPECT_GT(turned.height(), 3 * turned.width());
}

}  // namespace
}  // namespace vardo
