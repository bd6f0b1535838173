// The inline "^" codes: which characters are drawn in which style, colour and face, and where
// the special placements put them.
#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "render/text.h"
#include "text_scene.h"

namespace vardo {
namespace {

using test::DrawnGlyph;
using test::RecordingScene;

// Characters 2 mm high, full-width cells 2 mm wide, no spacing, at scale 10 from (1, 5) mm: a
// half-width character advances 10 pixels, a full-width one 20; an ordinary glyph's cell has
// its top-left corner on pixel row 30 and is 20 pixels high with a font width of 10.
const TextFont kFont = {0, u"Face", 2, 2, 0};
const TextOrigin kStart = {1, 5, 0};

std::vector<DrawnGlyph> Walk(std::u16string_view text, RecordingScene& scene,
                             TextOrigin at = kStart) {
  DrawTextInline(scene.text, kFont, at, text);
  return scene.glyphs.Drawn();
}

std::string Narrow(std::u16string_view s) {
  return std::string(s.begin(), s.end());
}

TEST(DrawTextInline, StyleCodesStartWithTheTextAfterThem) {
  struct Case {
    std::u16string text;
    std::u16string drawn;
    std::vector<int> styles;  // TextStyleBits per drawn character
  };
  const Case cases[] = {
      {u"AB^!CD^#E", u"ABCDE", {0, 0, 1, 1, 0}},
      {u"^/A^_B^-C^#D", u"ABCD", {2, 6, 14, 0}},
      {u"A^!^!B", u"AB", {0, 1}},
      {u"A^%B", u"AB", {0, 0}},
      {u"^*A^!B^^C^!D", u"A^!BCD", {0, 0, 0, 0, 0, 1}},
      {u"^*A^^^!B", u"AB", {0, 1}},
      {u"A^xB", u"A^xB", {0, 0, 0, 0}},
      {u"A^", u"A^", {0, 0}},
      {u"A^u", u"A^u", {0, 0, 0}},
      {u"A^u^!B", u"A^uB", {0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    RecordingScene scene(300, 100, 10);
    const std::vector<DrawnGlyph> g = Walk(c.text, scene);
    EXPECT_EQ(scene.glyphs.Chars(), c.drawn) << Narrow(c.text);
    ASSERT_EQ(g.size(), c.styles.size()) << Narrow(c.text);
    for (size_t i = 0; i < g.size(); ++i) {
      const int style =
          (g[i].font.weight == 700 ? kTextBold : 0) | (g[i].font.italic ? kTextItalic : 0) |
          (g[i].font.underline ? kTextUnderline : 0) | (g[i].font.strike_out ? kTextStrikeOut : 0);
      EXPECT_EQ(style, c.styles[i]) << Narrow(c.text) << " character " << i;
      EXPECT_EQ(g[i].x, 10 + 10 * static_cast<int>(i)) << Narrow(c.text) << " character " << i;
    }
  }
}

TEST(DrawTextInline, ColourCodesChangeThePenUntilRestored) {
  RecordingScene scene(300, 100, 10);
  const uint32_t start = 0x123456;
  const uint32_t colour3 = scene.attr.GetAttrColcol(3);
  scene.canvas.pen().color = start;
  const std::vector<DrawnGlyph> g = Walk(u"A^$3BC^%D^$9E", scene);
  ASSERT_EQ(scene.glyphs.Chars(), u"ABCDE");
  EXPECT_EQ(g[0].colour, start);
  EXPECT_EQ(g[1].colour, colour3);
  EXPECT_EQ(g[2].colour, colour3);
  EXPECT_EQ(g[3].colour, start);
  EXPECT_EQ(g[4].colour, scene.attr.GetAttrColcol(9));
  // The last colour stays on the canvas for whatever is drawn next.
  EXPECT_EQ(scene.canvas.pen().color, scene.attr.GetAttrColcol(9));

  RecordingScene restored(300, 100, 10);
  restored.canvas.pen().color = start;
  restored.canvas.brush().color = 0xABCDEF;
  Walk(u"^$3A^%B", restored);
  EXPECT_EQ(restored.canvas.brush().color, start);

  // Colour numbers outside 1..9 and a "$" at the end are text.
  for (std::u16string text : {u"^$0A", u"^$xA", u"A^$", u"^$^A"}) {
    RecordingScene literal(300, 100, 10);
    literal.canvas.pen().color = start;
    Walk(text, literal);
    std::u16string expected = text;
    EXPECT_EQ(literal.glyphs.Chars(), expected);
    for (const DrawnGlyph& d : literal.glyphs.Drawn())
      EXPECT_EQ(d.colour, start) << Narrow(text);
  }
}

TEST(DrawTextInline, FaceCodesSwitchToGothicAndBack) {
  RecordingScene scene(300, 100, 10);
  const std::vector<DrawnGlyph> g = Walk(u"A^\\\"B^&C^\\xD^\\", scene);
  ASSERT_EQ(scene.glyphs.Chars(), u"ABCD");
  EXPECT_EQ(g[0].font.face, u"Face");
  EXPECT_EQ(g[1].font.face, u"ＭＳ ゴシック");
  EXPECT_EQ(g[2].font.face, u"Face");
  EXPECT_EQ(g[3].font.face, u"Face");  // any other character after "\" is swallowed
  EXPECT_EQ(g[3].x, 40);
}

// Where each special placement puts the character after it and where the pen goes on.
TEST(DrawTextInline, SpecialPlacements) {
  struct Glyph {
    char16_t ch;
    int x, y, height, width;
  };
  struct Case {
    std::u16string text;
    std::vector<Glyph> glyphs;
  };
  const Case cases[] = {
      // After a full-width character (the pen 3 mm on, the gap back to its cell 1 mm).
      {u"あ^uいう", {{u'あ', 10, 30, 20, 10}, {u'い', 30, 30, 10, 5}, {u'う', 40, 30, 20, 10}}},
      {u"あ^dいう", {{u'あ', 10, 30, 20, 10}, {u'い', 30, 40, 10, 5}, {u'う', 40, 30, 20, 10}}},
      {u"あ^cいう", {{u'あ', 10, 30, 20, 10}, {u'い', 30, 35, 10, 5}, {u'う', 40, 30, 20, 10}}},
      {u"あ^oいう", {{u'あ', 10, 30, 20, 10}, {u'い', 15, 35, 10, 5}, {u'う', 30, 30, 20, 10}}},
      {u"あ^nいう", {{u'あ', 10, 30, 20, 10}, {u'い', 10, 30, 20, 10}, {u'う', 30, 30, 20, 10}}},
      {u"あ^bいう", {{u'あ', 10, 30, 20, 10}, {u'い', 15, 30, 20, 10}, {u'う', 30, 30, 20, 10}}},
      {u"あ^Bいう", {{u'あ', 10, 30, 20, 10}, {u'い', 14, 30, 20, 10}, {u'う', 30, 30, 20, 10}}},
      {u"あ^wい",
       {{u'あ', 10, 30, 20, 10},
        {u'^', 30, 30, 20, 10},
        {u'w', 40, 30, 20, 10},
        {u'い', 50, 30, 20, 10}}},
      {u"^oあ", {{u'あ', 5, 35, 10, 5}}},
      // After a half-width character (the pen 2 mm on, the gap back 0.5 mm).
      {u"A^uBC", {{u'A', 10, 30, 20, 10}, {u'B', 20, 30, 10, 10}, {u'C', 30, 30, 20, 10}}},
      {u"A^dBC", {{u'A', 10, 30, 20, 10}, {u'B', 20, 40, 10, 10}, {u'C', 30, 30, 20, 10}}},
      {u"A^cBC", {{u'A', 10, 30, 20, 10}, {u'B', 20, 35, 10, 10}, {u'C', 30, 30, 20, 10}}},
      {u"A^oBC", {{u'A', 10, 30, 20, 10}, {u'B', 12, 35, 10, 5}, {u'C', 20, 30, 20, 10}}},
      {u"A^nBC", {{u'A', 10, 30, 20, 10}, {u'B', 10, 30, 20, 10}, {u'C', 20, 30, 20, 10}}},
      {u"A^bBC", {{u'A', 10, 30, 20, 10}, {u'B', 12, 30, 20, 10}, {u'C', 20, 30, 20, 10}}},
      {u"A^BBC", {{u'A', 10, 30, 20, 10}, {u'B', 12, 30, 20, 10}, {u'C', 20, 30, 20, 10}}},
      {u"A^w12C",
       {{u'A', 10, 30, 20, 10},
        {u'1', 10, 35, 10, 5},
        {u'2', 15, 35, 10, 5},
        {u'C', 20, 30, 20, 10}}},
      {u"A^w1あ", {{u'A', 10, 30, 20, 10}, {u'1', 12, 35, 10, 5}, {u'あ', 20, 30, 20, 10}}},
  };
  for (const Case& c : cases) {
    RecordingScene scene(300, 100, 10);
    const std::vector<DrawnGlyph> g = Walk(c.text, scene);
    ASSERT_EQ(g.size(), c.glyphs.size()) << Narrow(c.text);
    for (size_t i = 0; i < g.size(); ++i) {
      const Glyph& e = c.glyphs[i];
      EXPECT_EQ(g[i].ch, static_cast<char32_t>(e.ch)) << Narrow(c.text) << " #" << i;
      EXPECT_EQ(g[i].x, e.x) << Narrow(c.text) << " #" << i;
      EXPECT_EQ(g[i].y, e.y) << Narrow(c.text) << " #" << i;
      EXPECT_EQ(g[i].font.height, e.height) << Narrow(c.text) << " #" << i;
      EXPECT_EQ(g[i].font.width, e.width) << Narrow(c.text) << " #" << i;
    }
  }
}

// Placements follow the text's direction: going up, "up" is to the left.
TEST(DrawTextInline, PlacementsTurnWithTheText) {
  RecordingScene scene(300, 100, 10);
  const std::vector<DrawnGlyph> g = Walk(u"A^uB", scene, {10, 1, std::numbers::pi / 2});
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[1].font.escapement, 900);
  EXPECT_EQ(g[1].x, 80);
  EXPECT_EQ(g[1].y, 80);
}

}  // namespace
}  // namespace vardo
