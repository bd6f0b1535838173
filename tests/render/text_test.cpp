// The text pipeline: size guard, base points, angles, mirrored and vertical text, trailing
// markers, measured advances, glyph placement and rounding, font names and colours.
#include "render/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "render/renderer.h"
#include "scene.h"
#include "support/picture.h"
#include "text_scene.h"

namespace vardo {
namespace {

using test::BoxScene;
using test::DrawnGlyph;
using test::InkBox;
using test::InkOf;
using test::kBlack;
using test::RecordingScene;

TEntText Text(std::u16string st, double x1, double y1, double x2, double y2, double mw, double mh,
              double md = 0) {
  TEntText e;
  e.att.Col = 2;
  e.st = std::move(st);
  e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2;
  e.mw = mw, e.mh = mh, e.md = md;
  e.fo = u"ＭＳ ゴシック";
  return e;
}

std::vector<int> Xs(RecordingScene& scene) {
  std::vector<int> xs;
  for (const DrawnGlyph& g : scene.glyphs.Drawn())
    xs.push_back(g.x);
  return xs;
}

// 1 mm characters are 5 pixels at scale 5, under the six the guard asks for: the text is its
// baseline, three pixels wide. At scale 6 the glyphs fill their cells right above the baseline.
TEST(DrawTextString, SizeGuardSwitchesBetweenBaselineAndGlyphs) {
  const TJGdata doc;
  const TEntText e = Text(u"AB", 1, 1, 10, 0, 1, 1);
  BoxScene small(40, 20, 5);
  GLDrawText(doc, small.text, -1, e);
  const InkBox line = InkOf(small.surface);
  EXPECT_EQ(line.y0, 14);
  EXPECT_EQ(line.y1, 16);
  EXPECT_EQ(small.At(20, 15), kBlack);

  BoxScene large(40, 20, 6);
  GLDrawText(doc, large.text, -1, e);
  EXPECT_EQ(InkOf(large.surface), (InkBox{false, 6, 8, 11, 13}));
}

TEST(DrawTextString, SizeGuardLimits) {
  struct Case {
    const char* name;
    double mw, mh, scale;
    bool glyphs;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {"six pixels", 1, 1, 6, true},
      {"width under six", 0.9, 1, 6, false},
      {"height under six", 1, 0.9, 6, false},
      {"a thousand pixels", 1000, 1000, 1, true},
      {"height over a thousand", 1000, 1001, 1, false},
      {"width over a thousand", 1001, 1000, 1, false},
      {"below 1e-12 whatever the scale", 1, 1e-13, 1e14, false},
      {"not a number", 1, nan, 6, false},
      {"mirrored width counts by size", -1, 1, 6, true},
  };
  for (const Case& c : cases) {
    RecordingScene scene(100, 100, c.scale);
    TEntText e = Text(u"A", 1, 1, 1, 0, c.mw, c.mh);
    e.cc = 6;  // hanging from the start point, so that even large glyphs start inside the view
    e.y1 = 50 / c.scale;
    GLDrawText(TJGdata(), scene.text, -1, e);
    EXPECT_EQ(!scene.glyphs.Drawn().empty(), c.glyphs) << c.name;
  }
}

// Without a font service a text keeps showing as its baseline.
TEST(DrawTextString, NoRasterizerShowsTheBaseline) {
  test::Scene scene(40, 20, 6);
  GLDrawText(TJGdata(), scene.g, -1, Text(u"AB", 1, 1, 10, 0, 1, 1));
  EXPECT_EQ(InkOf(scene.surface).y0, 13);
  EXPECT_EQ(InkOf(scene.surface).y1, 15);
}

// Three letters 2 mm wide with 1 mm spacing, base code 2: the run length includes the spacing
// after the last letter, so the last cell ends md/2 short of the start point (19.5 mm = pixel
// 78 at scale 4). Base code 4 centres the run and the height on the start point.
TEST(DrawTextString, BasePointsAlignTheRunWithItsLastSpacing) {
  BoxScene right(100, 60, 4);
  TEntText e = Text(u"ABC", 20, 5, 10, 0, 2, 2, 1);
  e.cc = 2;
  GLDrawText(TJGdata(), right.text, -1, e);
  EXPECT_EQ(InkOf(right.surface), (InkBox{false, 62, 32, 77, 39}));

  BoxScene centre(100, 60, 4);
  e.cc = 4;
  GLDrawText(TJGdata(), centre.text, -1, e);
  // Starts at 20 - 2.25 mm, the height's middle at 5 mm (pixel row 40).
  EXPECT_EQ(InkOf(centre.surface), (InkBox{false, 71, 36, 86, 43}));
}

// A text going up: the glyphs lie left of the baseline, turned by 90 degrees, the second above
// the first.
TEST(DrawTextString, AngleTurnsTheGlyphsAndTheRun) {
  BoxScene scene(80, 80, 4);
  GLDrawText(TJGdata(), scene.text, -1, Text(u"AB", 10, 2, 0, 1, 2, 2));
  EXPECT_EQ(InkOf(scene.surface), (InkBox{false, 32, 64, 39, 71}));

  RecordingScene turned(200, 200, 10);
  GLDrawText(TJGdata(), turned.text, -1, Text(u"A", 5, 5, std::sqrt(3.0), 1, 2, 2));
  ASSERT_EQ(turned.glyphs.Drawn().size(), 1u);
  const DrawnGlyph& g = turned.glyphs.Drawn()[0];
  EXPECT_EQ(g.font.escapement, 300);
  // (5, 5) + 2 mm turned by 30 degrees from straight up: (4, 6.732) mm.
  EXPECT_EQ(g.x, 40);
  EXPECT_EQ(g.y, 200 - 67);
}

// A negative width runs from the end point back towards the start, turned by 180 degrees, with
// the width made positive and the spacing negated.
TEST(DrawTextString, MirroredTextRunsBackFromTheEndPoint) {
  RecordingScene scene(200, 200, 10);
  GLDrawText(TJGdata(), scene.text, -1, Text(u"AB", 2, 10, 10, 0, -3, 2, 0.5));
  const std::vector<DrawnGlyph>& g = scene.glyphs.Drawn();
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].font.escapement, 1800);
  EXPECT_EQ(g[0].font.width, 15);
  EXPECT_EQ(g[0].font.height, 20);
  EXPECT_EQ(g[0].x, 120);  // (12, 8) mm: the cell's top-left corner below the baseline
  EXPECT_EQ(g[0].y, 120);
  EXPECT_EQ(g[1].x, 108);  // 10.75 mm: pitch (3 - 0.5) / 2, and 107.5 rounds to even
}

// Vertical text takes the "@" form of its face with height mw and width mh; a stored face that
// already has the "@" is drawn turned by 180 degrees from the opposite corner of each cell.
TEST(DrawTextString, VerticalTextAndTurnedFaces) {
  TEntText e = Text(u"あい", 10, 30, 0, -10, 2, 3);
  e.no = 1;
  e.fo = u"ＭＳ 明朝";
  RecordingScene upright(300, 400, 10);
  GLDrawText(TJGdata(), upright.text, -1, e);
  const std::vector<DrawnGlyph>& a = upright.glyphs.Drawn();
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].font.face, u"@ＭＳ 明朝");
  EXPECT_EQ(a[0].font.escapement, 2700);
  EXPECT_EQ(a[0].font.height, 20);
  EXPECT_EQ(a[0].font.width, 15);
  EXPECT_EQ(a[0].font.charset, 77);
  EXPECT_EQ(a[0].x, 120);
  EXPECT_EQ(a[0].y, 100);
  EXPECT_EQ(a[1].x, 120);
  EXPECT_EQ(a[1].y, 130);

  e.fo = u"@ＭＳ 明朝";
  RecordingScene turned(300, 400, 10);
  GLDrawText(TJGdata(), turned.text, -1, e);
  const std::vector<DrawnGlyph>& b = turned.glyphs.Drawn();
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].font.face, u"ＭＳ 明朝");
  EXPECT_EQ(b[0].font.escapement, 900);
  EXPECT_EQ(b[0].x, 100);
  EXPECT_EQ(b[0].y, 130);
}

// Letters 2 mm wide at scale 10 (10 pixels each) from x = 1 mm: where each glyph starts.
TEST(DrawTextString, TrailingMarkersSpreadOrCompressTheText) {
  struct Case {
    const char* name;
    std::u16string st;
    double md;
    std::u16string drawn;
    std::vector<int> xs;
    int width;
  };
  const Case cases[] = {
      {"two full cells spread over three gaps", u"ABCD・・", 0, u"ABCD", {10, 33, 57, 80}, 10},
      {"a half cell over one gap", u"AB･", 0, u"AB", {10, 30}, 10},
      {"･ not at the end is a character", u"A･B", 0, u"A･B", {10, 20, 30}, 10},
      {"compressed by 2 of 10",
       u"ABCDEFGH^2",
       0.5,
       u"ABCDEFGH",
       {10, 20, 30, 40, 50, 60, 70, 80},
       8},
      {"compression that would leave under 2 cells", u"A^9", 0, u"A", {10}, 10},
      {"markers only", u"・・", 0, u"", {}, 0},
      {"a lone ･", u"･", 0, u"", {}, 0},
  };
  for (const Case& c : cases) {
    RecordingScene scene(300, 100, 10);
    GLDrawText(TJGdata(), scene.text, -1, Text(c.st, 1, 5, 10, 0, 2, 2, c.md));
    EXPECT_EQ(scene.glyphs.Chars(), c.drawn) << c.name;
    EXPECT_EQ(Xs(scene), c.xs) << c.name;
    for (const DrawnGlyph& g : scene.glyphs.Drawn())
      EXPECT_EQ(g.font.width, c.width) << c.name;
  }
}

// Spacing 0.001..0.01 switches to measured advances: "i" measures a quarter of its height, so
// the next character follows after 0.5 mm; its font keeps the text's width (10 pixels), so the
// face draws the narrow letter as it shapes it.
TEST(DrawTextString, TinySpacingSwitchesToMeasuredAdvances) {
  struct Case {
    double md;
    int second_x;
  };
  const Case cases[] = {{0.005, 15}, {0.001, 15}, {0.01, 15}, {0.0009, 20}, {0.011, 20}};
  for (const Case& c : cases) {
    RecordingScene scene(300, 100, 10);
    TEntText e = Text(u"iA^!", 1, 5, 10, 0, 2, 2, c.md);
    e.fo = u"Face!";
    GLDrawText(TJGdata(), scene.text, -1, e);
    const std::vector<DrawnGlyph>& g = scene.glyphs.Drawn();
    const bool measured = c.second_x == 15;
    // Measured advances draw inline codes as text.
    ASSERT_EQ(g.size(), measured ? 4u : 2u) << c.md;
    EXPECT_EQ(g[1].x, c.second_x) << c.md;
    if (!measured) continue;
    EXPECT_EQ(g[0].font.width, 10);
    EXPECT_EQ(g[1].font.width, 10);
    ASSERT_FALSE(scene.glyphs.measured.empty());
    EXPECT_EQ(scene.glyphs.measured[0].height, -400);
    EXPECT_EQ(scene.glyphs.measured[0].face, u"Face");
    EXPECT_EQ(scene.glyphs.measured[0].weight, 700);
  }
}

TEST(DrawTextProportional, MeasuresWithoutTheTurnedPrefix) {
  RecordingScene scene(100, 100, 10);
  DrawTextProportional(scene.text, {0, u"@@Face", 2, 2, 0}, {1, 5, 0}, u"A");
  ASSERT_EQ(scene.glyphs.measured.size(), 1u);
  EXPECT_EQ(scene.glyphs.measured[0].face, u"Face");
  ASSERT_EQ(scene.glyphs.Drawn().size(), 1u);
  EXPECT_EQ(scene.glyphs.Drawn()[0].font.face, u"Face");
}

// The cell's top-left corner from the base point (50, 50) for a half-width cell 4 mm wide and
// 10 mm high at scale 1; a negative height flips the base code top to bottom.
TEST(DrawGlyph, BaseCodesPlaceTheCell) {
  struct Case {
    int base;
    double A;
    int x, y;
  };
  const Case cases[] = {
      {0, 10, 50, 40},  {1, 10, 48, 40},  {2, 10, 46, 40},  {3, 10, 50, 45},  {4, 10, 48, 45},
      {5, 10, 46, 45},  {6, 10, 50, 50},  {7, 10, 48, 50},  {8, 10, 46, 50},  {9, 10, 50, 40},
      {-1, 10, 50, 40}, {0, -10, 50, 50}, {2, -10, 46, 50}, {6, -10, 50, 40}, {4, -10, 48, 45},
  };
  for (const Case& c : cases) {
    RecordingScene scene(100, 100);
    DrawGlyph(scene.text, c.base, {0, u"F", c.A, 8, 0}, {50, 50, 0}, u"A");
    ASSERT_EQ(scene.glyphs.Drawn().size(), 1u) << c.base << " " << c.A;
    EXPECT_EQ(scene.glyphs.Drawn()[0].x, c.x) << c.base << " " << c.A;
    EXPECT_EQ(scene.glyphs.Drawn()[0].y, c.y) << c.base << " " << c.A;
    EXPECT_EQ(scene.glyphs.Drawn()[0].font.height, 10);
  }
}

// Pixel positions, heights and widths round halves to even.
TEST(DrawGlyph, RoundsHalvesToEven) {
  struct Case {
    double x, y, A, B;
    int X, Y, height, width;
  };
  const Case cases[] = {
      {2.5, 50.5, 10, 25, 2, 40, 10, 12},
      {3.5, 51.5, 10, 27, 4, 38, 10, 14},
      {10, 50, 6.5, 8, 10, 44, 6, 4},
      {10, 50, 7.5, 8, 10, 42, 8, 4},
  };
  for (const Case& c : cases) {
    RecordingScene scene(100, 100);
    DrawGlyph(scene.text, 0, {0, u"F", c.A, c.B, 0}, {c.x, c.y, 0}, u"A");
    ASSERT_EQ(scene.glyphs.Drawn().size(), 1u);
    const DrawnGlyph& g = scene.glyphs.Drawn()[0];
    EXPECT_EQ(g.x, c.X) << c.x;
    EXPECT_EQ(g.y, c.Y) << c.y;
    EXPECT_EQ(g.font.height, c.height) << c.A;
    EXPECT_EQ(g.font.width, c.width) << c.B;
  }
}

// Glyphs with no corner inside the view are never rasterized: of letters 1 mm apart from
// x = -3, the one whose cell ends on the left edge is skipped too (the edge counts as outside).
TEST(DrawGlyph, SkipsCellsWithNoCornerInTheView) {
  RecordingScene scene(100, 100, 10);
  DrawTextRun(scene.text, {0, u"F", 2, 2, 0}, {-3, 5, 0}, u"ABCDEF");
  EXPECT_EQ(scene.glyphs.Chars(), u"DEF");
}

// Surrogate pairs are one full-width character: a cell of the full width, drawn once.
TEST(DrawTextRun, SurrogatePairIsOneFullWidthCharacter) {
  RecordingScene scene(200, 100, 10);
  DrawTextRun(scene.text, {0, u"F", 2, 2, 1}, {1, 5, 0}, u"\U00020B9FA");
  const std::vector<DrawnGlyph>& g = scene.glyphs.Drawn();
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].ch, U'\U00020B9F');
  EXPECT_EQ(g[0].font.charset, 77);
  EXPECT_EQ(g[1].x, 40);  // after B + D = 3 mm
  EXPECT_EQ(g[1].font.charset, 1);
}

TEST(TextFontOf, MarkersInTheFaceName) {
  struct Case {
    std::u16string fo;
    int no;
    std::u16string face;
    int style;
  };
  const Case cases[] = {
      {u"ＭＳ ゴシック", 0, u"ＭＳ ゴシック", 0},
      {u"ＭＳ ゴシック!/", 0, u"ＭＳ ゴシック", 3},
      {u"ＭＳ ゴシック/!", 0, u"ＭＳ ゴシック", 3},
      {u"ＭＳ ゴシック!", 0, u"ＭＳ ゴシック", 1},
      {u"ＭＳ ゴシック/", 0, u"ＭＳ ゴシック", 2},
      {u"<ＭＳ 明朝>", 0, u"ＭＳ 明朝", 0},
      {u"<ＭＳ 明朝>!", 0, u"ＭＳ 明朝", 1},
      {u"<Face", 0, u"Face", 0},
      {u"Face>", 1, u"@Face", 0},
      {u"@Face/", 1, u"@@Face", 2},
      {u"!", 0, u"", 1},
  };
  for (const Case& c : cases) {
    TEntText e = Text(u"A", 0, 0, 1, 0, 2, 3, 0.5);
    e.fo = c.fo;
    e.no = c.no;
    const TextFont font = TextFontOf(e);
    EXPECT_EQ(font.face, c.face);
    EXPECT_EQ(font.style, c.style);
    EXPECT_EQ(font.A, c.no == 1 ? 2 : 3);
    EXPECT_EQ(font.B, c.no == 1 ? 3 : 2);
    EXPECT_EQ(font.D, 0.5);
  }
}

// The description handed to the rasterizer: weight, italic, underline and strike-out from the
// style bits, the character set by the character's class, the face cut to 31 units, and the
// pen colour as the glyph colour (the override colour when one is given).
TEST(DrawGlyph, FontDescriptionAndColour) {
  RecordingScene scene(200, 100, 10);
  const std::u16string long_face(40, u'F');
  DrawTextRun(scene.text, {kTextBold | kTextUnderline, long_face, 2, 2, 0}, {1, 5, 0}, u"Aあ");
  const std::vector<DrawnGlyph>& g = scene.glyphs.Drawn();
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].font.face, std::u16string(31, u'F'));
  EXPECT_EQ(g[0].font.weight, 700);
  EXPECT_TRUE(g[0].font.underline);
  EXPECT_FALSE(g[0].font.italic);
  EXPECT_FALSE(g[0].font.strike_out);
  EXPECT_EQ(g[0].font.charset, 1);
  EXPECT_EQ(g[1].font.charset, 77);

  RecordingScene italic(200, 100, 10);
  DrawTextRun(italic.text, {kTextItalic | kTextStrikeOut, u"F", 2, 2, 0}, {1, 5, 0}, u"A");
  EXPECT_EQ(italic.glyphs.Drawn()[0].font.weight, 400);
  EXPECT_TRUE(italic.glyphs.Drawn()[0].font.italic);
  EXPECT_TRUE(italic.glyphs.Drawn()[0].font.strike_out);

  const uint32_t colour3 = scene.attr.GetAttrColcol(3);
  RecordingScene coloured(200, 100, 10);
  TEntText e = Text(u"A", 1, 5, 1, 0, 2, 2);
  e.att.Col = 3;
  GLDrawText(TJGdata(), coloured.text, -1, e);
  GLDrawText(TJGdata(), coloured.text, 0x00FF00, e);
  ASSERT_EQ(coloured.glyphs.Drawn().size(), 2u);
  EXPECT_EQ(coloured.glyphs.Drawn()[0].colour, colour3);
  EXPECT_EQ(coloured.glyphs.Drawn()[1].colour, 0x00FF00u);
}

// Alignment uses the stored text: a file-name code is aligned by its own three cells, then
// drawn as the name in one plain run.
TEST(DrawTextString, CodesAreAlignedByTheStoredTextAndDrawnAsOnePlainRun) {
  TextCodeValues codes;
  codes.ZumenName = u"C:\\dir\\a^!b.drw";
  RecordingScene scene(300, 100, 10, codes);
  TEntText e = Text(u"%f", 20, 5, 10, 0, 2, 2);
  e.cc = 2;
  GLDrawText(TJGdata(), scene.text, -1, e);
  EXPECT_EQ(scene.glyphs.Chars(), u"a^!b.drw");
  EXPECT_EQ(scene.glyphs.Drawn()[0].x, 180);  // 20 mm less the two cells of "%f"
  for (const DrawnGlyph& g : scene.glyphs.Drawn())
    EXPECT_EQ(g.font.weight, 400);
}

// The "^@BM" image texts draw nothing here; without a comma they are texts like any other.
TEST(GLDrawText, ImageTextsAreNotText) {
  RecordingScene scene(300, 100, 10);
  GLDrawText(TJGdata(), scene.text, -1, Text(u"^@BMa.bmp,3", 1, 5, 10, 0, 2, 2));
  EXPECT_TRUE(scene.glyphs.Drawn().empty());
  GLDrawText(TJGdata(), scene.text, -1, Text(u"^@BMa.bmp", 1, 5, 10, 0, 2, 2));
  EXPECT_EQ(scene.glyphs.Chars(), u"^@BMa.bmp");
}

}  // namespace
}  // namespace vardo
