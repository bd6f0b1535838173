// Exchange-file writer, command writers: formats, change-only conditions, first-time
// flags, value ranges and the degenerate-geometry rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::OutLines;
using Lines = std::vector<std::string>;

// The lines written since the last call, and the buffer emptied.
Lines Take(TJGdata& d) {
  Lines lines = OutLines(d);
  d.StopGaibu();
  return lines;
}

class Writer : public ::testing::Test {
 protected:
  void SetUp() override { d.S_Init(); }
  TJGdata d;
};

TEST_F(Writer, InitResetsTheWriterState) {
  d.w_FlgLGrp = d.w_FlgCol = d.w_FlgSCol = false;
  d.w_LGrp = 5, d.w_Lay = 6, d.w_Col = 7, d.w_Ltp = 8, d.w_Wid = 9, d.w_Mjs = 0;
  d.w_MjsW = d.w_MjsH = d.w_MjsD = 9.0, d.w_MjsC = 9, d.w_Mbs = 4, d.w_Font = u"x";
  d.w_PtCol = 3, d.w_SlCol = 99;
  d.S_Init();
  EXPECT_TRUE(d.w_FlgLGrp && d.w_FlgLay && d.w_FlgCol && d.w_FlgLtp && d.w_FlgWid && d.w_FlgMjs &&
              d.w_FlgMbs && d.w_FlgFont && d.w_FlgPCol && d.w_FlgSCol);
  EXPECT_EQ(d.w_LGrp, 0);
  EXPECT_EQ(d.w_Lay, 0);
  EXPECT_EQ(d.w_Col, 1);
  EXPECT_EQ(d.w_Ltp, 1);
  EXPECT_EQ(d.w_Wid, 0);
  EXPECT_EQ(d.w_Mjs, 1);
  EXPECT_EQ(d.w_MjsW, 2.0);
  EXPECT_EQ(d.w_MjsH, 2.0);
  EXPECT_EQ(d.w_MjsD, 0.0);
  EXPECT_EQ(d.w_MjsC, 1);
  EXPECT_EQ(d.w_Mbs, 0);
  EXPECT_EQ(d.w_Font, u"<ＭＳ ゴシック>");
  EXPECT_EQ(d.w_PtCol, 1);
  EXPECT_EQ(d.w_SlCol, 0);
  EXPECT_EQ(d.t_MemN(), 0);
}

TEST_F(Writer, SendMemAppendsOneLine) {
  d.SendMem(u"hd");
  d.SendMem(u"");
  d.SendMem(u"寸法");
  EXPECT_EQ(Take(d), (Lines{"hd", "", "寸法"}));
}

TEST_F(Writer, LayerGroupAndLayer) {
  d.S_LGrp(0);  // the first-time flag forces the default value
  d.S_Lay(0);
  d.S_LGrp(0);
  d.S_Lay(0);
  EXPECT_EQ(Take(d), (Lines{"lg0", "ly0"}));
  d.S_LGrp(10);
  d.S_Lay(0);  // a layer group command always brings the layer command after it
  d.S_Lay(15);
  d.S_LGrp(10);
  d.S_Lay(15);
  EXPECT_EQ(Take(d), (Lines{"lgA", "ly0", "lyF"}));
  EXPECT_EQ(d.w_LGrp, 10);
  EXPECT_EQ(d.w_Lay, 15);
  EXPECT_FALSE(d.w_FlgLGrp);
  EXPECT_FALSE(d.w_FlgLay);
}

TEST_F(Writer, HexDigitsForEveryGroupAndLayer) {
  const char* digits = "0123456789ABCDEF";
  for (int v = 0; v < 16; ++v) {
    d.S_LGrp(v);
    d.S_Lay(15 - v);
    EXPECT_EQ(Take(d), (Lines{std::string("lg") + digits[v], std::string("ly") + digits[15 - v]}))
        << v;
  }
}

TEST_F(Writer, Colour) {
  d.S_Col(1, 0);  // equal to the initial value, written for the flag
  d.S_Col(1, 0);
  d.S_Col(5, 0);
  d.S_Col(256, 0);
  EXPECT_EQ(Take(d), (Lines{"lc1", "lc5", "lc256"}));
  EXPECT_FALSE(d.w_FlgCol);
  EXPECT_FALSE(d.w_FlgSCol);  // a colour command clears the solid-colour flag too
  // Mode 1 maps a list index: 10 is SXF colour 1 = 101; 0 is the host's colour.
  d.CurCol = 7;
  d.S_Col(10, 1);
  d.S_Col(0, 1);
  d.S_Col(7, 0);
  EXPECT_EQ(Take(d), (Lines{"lc101", "lc7"}));
}

TEST_F(Writer, SolidColour) {
  d.S_SCol(0);  // flags set: written even for the initial value
  d.S_SCol(0);
  d.S_SCol(255);
  d.S_SCol(255);
  d.S_SCol(-1);        // out of range: 0
  d.S_SCol(16777216);  // out of range: 0, unchanged
  d.S_SCol(16777215);
  EXPECT_EQ(Take(d), (Lines{"lc10 0", "lc10 255", "lc10 0", "lc10 16777215"}));
  EXPECT_EQ(d.w_Col, 10);
  EXPECT_EQ(d.w_SlCol, 16777215);
  // Another colour in between brings the solid colour back.
  d.S_Col(3, 0);
  d.S_SCol(16777215);
  EXPECT_EQ(Take(d), (Lines{"lc3", "lc10 16777215"}));
  // "lc10" by S_Col leaves the remembered RGB value: the same value is not written again.
  d.S_Col(4, 0);
  d.S_Col(10, 0);
  d.S_SCol(16777215);
  EXPECT_EQ(Take(d), (Lines{"lc4", "lc10"}));
  // The colour flag alone forces it.
  d.w_FlgCol = true;
  d.S_SCol(16777215);
  EXPECT_EQ(Take(d), (Lines{"lc10 16777215"}));
}

TEST_F(Writer, LineType) {
  d.S_Ltp(1, 0);
  d.S_Ltp(1, 0);
  d.S_Ltp(62, 0);
  d.CurLtp = 4;
  d.S_Ltp(19, 1);  // SXF line type 1
  d.S_Ltp(10, 1);
  d.S_Ltp(0, 1);
  EXPECT_EQ(Take(d), (Lines{"lt1", "lt62", "lt31", "lt11", "lt4"}));
}

TEST_F(Writer, WidthOnlyWithWidF) {
  d.S_Wid(0);
  d.S_Wid(5);
  EXPECT_EQ(Take(d), Lines{});
  d.WidF = true;
  d.CurWid = 3;
  d.S_Wid(0);  // first time
  d.S_Wid(0);
  d.S_Wid(-1);  // the host's width
  d.S_Wid(30000);
  d.S_Wid(30001);  // out of range: 0
  d.S_Wid(-5);     // out of range: 0, unchanged
  EXPECT_EQ(Take(d), (Lines{"lw0", "lw3", "lw30000", "lw0"}));
}

TEST_F(Writer, TextStyle) {
  d.S_Mjs(1, 9, 9, 9, 9, 0);  // first time; style 1 writes no size and no colour
  d.S_Mjs(1, 5, 1, 1, 1, 0);
  d.S_Mjs(3, 5, 1, 1, 1, 0);
  EXPECT_EQ(Take(d), (Lines{"cn1", "cn3"}));
  d.S_Mjs(0, 2, 2.5, 2.5, 0, 0);
  d.S_Mjs(0, 2, 2.5, 2.5, 0, 0);
  d.S_Mjs(0, 3, 2.5, 2.5, 0, 0);    // colour changed
  d.S_Mjs(0, 3, 2.5, 2.5, 0.5, 0);  // spacing changed
  d.S_Mjs(0, 3, 2.5, 4, 0.5, 0);    // height changed
  d.S_Mjs(0, 3, 1, 4, 0.5, 0);      // width changed
  d.S_Mjs(10, 3, 1, 4, 0.5, 0);
  d.S_Mjs(0, 3, 1, 4, 0.5, 0);  // back to style 0 with the same size: the style changed
  EXPECT_EQ(Take(d), (Lines{"cn0 2.5 2.5 0 2", "cn0 2.5 2.5 0 3", "cn0 2.5 2.5 0.5 3",
                            "cn0 2.5 4 0.5 3", "cn0 1 4 0.5 3", "cn10", "cn0 1 4 0.5 3"}));
  EXPECT_EQ(d.w_MjsW, 1.0);
  EXPECT_EQ(d.w_MjsC, 3);
}

TEST_F(Writer, TextStyleOutOfRangeBecomesTheHostStyle) {
  d.CurMjs = 4;
  d.S_Mjs(11, 9, 9, 9, 9, 0);
  d.S_Mjs(-1, 9, 9, 9, 9, 0);
  EXPECT_EQ(Take(d), (Lines{"cn4"}));
  d.CurMjs = 0;
  d.CurMjsW = 1.5, d.CurMjsH = 2.5, d.CurMjsD = 0.25, d.CurMjsC = 6;
  d.S_Mjs(11, 9, 9, 9, 9, 0);
  d.S_Mjs(0, 6, 1.5, 2.5, 0.25, 0);
  EXPECT_EQ(Take(d), (Lines{"cn0 1.5 2.5 0.25 6"}));
}

TEST_F(Writer, TextStyleModeOneMapsTheColour) {
  d.S_Mjs(0, 10, 1, 1, 0, 1);
  EXPECT_EQ(Take(d), (Lines{"cn0 1 1 0 101"}));
}

TEST_F(Writer, BasePoint) {
  d.S_Mbs(0);
  d.S_Mbs(9);  // out of range: 0
  d.S_Mbs(8);
  d.S_Mbs(-1);  // out of range: 0
  d.S_Mbs(0);
  EXPECT_EQ(Take(d), (Lines{"cc0", "cc8", "cc0"}));
}

TEST_F(Writer, Font) {
  d.S_Font(u"<ＭＳ ゴシック>");  // first time
  d.S_Font(u"<ＭＳ ゴシック>");
  d.S_Font(u"<ＭＳ 明朝>");
  EXPECT_EQ(Take(d), (Lines{"cn\"$<ＭＳ ゴシック>", "cn\"$<ＭＳ 明朝>"}));
  // Empty and "<>" stand for the host's font.
  d.CurFont = u"<host>";
  d.S_Font(u"");
  d.S_Font(u"<>");
  d.S_Font(u"<host>");
  EXPECT_EQ(Take(d), (Lines{"cn\"$<host>"}));
  d.CurFont.clear();
  d.S_Font(u"<>");
  EXPECT_EQ(Take(d), (Lines{"cn\"$"}));
}

TEST_F(Writer, PointColour) {
  d.S_PCol(1, 0);
  d.S_PCol(1, 0);
  d.S_PCol(2, 0);
  d.S_PCol(265, 1);
  EXPECT_EQ(Take(d), (Lines{"pn1", "pn2", "pn356"}));
}

TEST_F(Writer, AttributeBits) {
  struct Case {
    int bits;
    Lines lines;
  } cases[] = {
      {0, {}},
      {1, {"z1"}},
      {2, {"z2"}},
      {4, {"z3"}},
      {8, {"z4"}},
      {16, {"z5"}},
      {24, {"z5"}},  // 8 and 16: only z5
      {31, {"z1", "z2", "z3", "z5"}},
      {15, {"z1", "z2", "z3", "z4"}},
      {32, {}},
  };
  for (const auto& c : cases) {
    d.S_Attr(c.bits);
    EXPECT_EQ(Take(d), c.lines) << c.bits;
  }
}

TEST_F(Writer, NumberFormat) {
  d.S_Line(0.1, 100, 0.0001, 1e-5);
  d.S_Line(2.0 / 3.0, -1.5, 1e20, 0);
  d.S_Line(1e15, 999999999999999, -0.00005, 0);
  EXPECT_EQ(Take(d), (Lines{"0.1 100 0.0001 1E-5", "0.666666666666667 -1.5 1E20 0",
                            "1E15 999999999999999 -5E-5 0"}));
}

TEST_F(Writer, LineDropsDegenerateSegments) {
  d.S_Line(5, 5, 5 + 1e-11, 5 - 1e-11);
  d.S_Line(5, 5, 5, 5);
  d.S_Line(0, 0, 1e-9, 0);
  d.S_Line(0, 0, 0, -2e-10);
  EXPECT_EQ(Take(d), (Lines{"0 0 1E-9 0", "0 0 0 -2E-10"}));
}

TEST_F(Writer, PointAndMark) {
  d.S_Ten(1.5, -2);
  d.S_Ten(0, 0);  // always written
  d.S_Mark(1, 2, 1.5, 30, 3);
  d.S_Mark(1, 2, 0, 30, -7);      // zero size: 1
  d.S_Mark(1, 2, 1e-10, 30, 11);  // |size| <= 1e-10: 1
  d.S_Mark(1, 2, -2, 30, -8);     // code out of range: -3
  d.S_Mark(1, 2, 2e-10, 0, 12);
  EXPECT_EQ(Take(d), (Lines{"pt 1.5 -2", "pt 0 0", "pt 1 2 1.5 30 3", "pt 1 2 1 30 -7",
                            "pt 1 2 1 30 11", "pt 1 2 -2 30 -3", "pt 1 2 2E-10 0 -3"}));
}

TEST_F(Writer, CircleAndArc) {
  d.S_Circle(1, 2, 5);
  d.S_Circle(1, 2, 1e-10);  // not written
  d.S_Circle(1, 2, -5);     // not written
  d.S_Circle(1, 2, 2e-10);
  d.S_Arc(1, 2, 5, 0, 90, 1, 0);
  d.S_Arc(1, 2, 5, 10, 20, -0.5, 45);   // negative flatness is written
  d.S_Arc(1, 2, 5, 10, 20, 1e-10, 45);  // flat: not written
  d.S_Arc(1, 2, 0, 10, 20, 1, 45);      // no radius: not written
  EXPECT_EQ(Take(d),
            (Lines{"ci 1 2 5", "ci 1 2 2E-10", "ci 1 2 5 0 90 1 0", "ci 1 2 5 10 20 -0.5 45"}));
}

TEST_F(Writer, TextKeywordsAndConditions) {
  const char* keywords[] = {"ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
  for (int no = 0; no < 10; ++no) {
    d.S_Text(no, u"t", 1, 2, 3, 4);
    EXPECT_EQ(Take(d), (Lines{std::string(keywords[no]) + " 1 2 3 4 \"t"})) << no;
  }
  for (int no : {-1, 10, 99}) {
    d.S_Text(no, u"t", 1, 2, 3, 4);
    EXPECT_EQ(Take(d), (Lines{"ch 1 2 3 4 \"t"})) << no;
  }
  d.S_Text(0, u"  a  b  ", 0, 0, 0, 1e-9);  // blanks kept, no closing quote
  d.S_Text(0, u"\"quoted\"", 0, 0, 1, 0);
  d.S_Text(0, u"寸法", 0, 0, 1, 0);
  EXPECT_EQ(Take(d),
            (Lines{"ch 0 0 0 1E-9 \"  a  b  ", "ch 0 0 1 0 \"\"quoted\"", "ch 0 0 1 0 \"寸法"}));
  // Not written: no direction, or nothing left after removing blanks, U+3000 and controls.
  d.S_Text(0, u"t", 5, 5, 0, 0);
  d.S_Text(0, u"t", 5, 5, 1e-10, -1e-10);
  d.S_Text(0, u"", 0, 0, 1, 0);
  d.S_Text(0, u" \u3000\t\x01\x1F ", 0, 0, 1, 0);
  EXPECT_EQ(Take(d), Lines{});
}

TEST_F(Writer, Dimension) {
  d.S_Dim(u"100", 0, 0, 100, 0, 0, -5, 1, 0);
  EXPECT_EQ(Take(d), (Lines{"msg", "0 0 100 0", "cs 0 -5 1 0 \"100"}));
  // An empty or blank text becomes the line's length, to the nearest 1e-10.
  d.S_Dim(u"", 0, 0, 100, 0, 0, 0, 1, 0);
  d.S_Dim(u" \u3000", 0, 0, 3, 4, 0, 0, 0, 1);
  d.S_Dim(u"", 0, 0, 1, 1, 0, 0, 1, 0);
  d.S_Dim(u"", 0, 0, 1e-10, 2e-10, 0, 0, 1, 0);
  EXPECT_EQ(Take(d), (Lines{"msg", "0 0 100 0", "cs 0 0 1 0 \"100", "msg", "0 0 3 4",
                            "cs 0 0 0 1 \"5", "msg", "0 0 1 1", "cs 0 0 1 0 \"1.4142135624", "msg",
                            "0 0 1E-10 2E-10", "cs 0 0 1 0 \"2E-10"}));
  // Not written: a degenerate line or a text without direction.
  d.S_Dim(u"x", 1, 1, 1, 1, 0, 0, 1, 0);
  d.S_Dim(u"x", 0, 0, 1, 0, 0, 0, 0, 0);
  EXPECT_EQ(Take(d), Lines{});
}

TEST_F(Writer, DimensionLengthOfAHugeLine) {
  d.S_Dim(u"", 0, 0, 1e150, 0, 0, 0, 1, 0);
  EXPECT_EQ(Take(d), (Lines{"msg", "0 0 1E150 0", "cs 0 0 1 0 \"1E150"}));
  // A length beyond the double range (Distance overflows) still writes the three lines; what
  // its text says is not specified.
  d.S_Dim(u"", 0, 0, 1e300, 0, 0, 0, 1, 0);
  Lines lines = Take(d);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "0 0 1E300 0");
}

TEST_F(Writer, TwoAndThreeCornerSolids) {
  d.S_Solid2(0, 0, 5, 5);
  d.S_Solid2(0, 0, 5e-11, -5e-11);  // equal corners: below 1e-10
  d.S_Solid2(0, 0, 1e-9, 0);
  d.S_Solid3(0, 0, 5, 0, 5, 5);
  d.S_Solid3(0, 0, 0, 0, 5, 5);  // P1 = P2
  d.S_Solid3(0, 0, 5, 5, 5, 5);  // P2 = P3
  d.S_Solid3(0, 0, 5, 5, 0, 0);  // P3 = P1
  EXPECT_EQ(Take(d), (Lines{"sl 0 0 5 5", "sl 0 0 1E-9 0", "sl 0 0 5 0 5 5"}));
}

TEST_F(Writer, FourCornerSolidRules) {
  struct Case {
    double c[8];
    Lines lines;
  } cases[] = {
      {{0, 0, 10, 0, 10, 10, 0, 10}, {"sl 0 0 10 0 10 10 0 10"}},
      {{0, 0, 0, 0, 10, 0, 10, 10}, {"sl 0 0 10 0 10 10"}},    // P2 = P1: (P1, P3, P4)
      {{0, 0, 10, 0, 0, 0, 10, 10}, {}},                       // P3 = P1: nothing
      {{0, 0, 10, 0, 10, 10, 0, 0}, {"sl 0 0 10 0 10 10"}},    // P4 = P1: (P1, P2, P3)
      {{0, 0, 10, 0, 10, 0, 10, 10}, {"sl 0 0 10 0 10 10"}},   // P3 = P2: (P1, P2, P4)
      {{0, 0, 10, 0, 10, 10, 10, 0}, {}},                      // P4 = P2: nothing
      {{0, 0, 10, 0, 10, 10, 10, 10}, {"sl 0 0 10 0 10 10"}},  // P4 = P3: (P1, P2, P3)
      // The chains end in S_Solid3, which drops what is still degenerate.
      {{0, 0, 0, 0, 10, 10, 10, 10}, {}},                  // P2 = P1, then P3 = P4
      {{0, 0, 0, 0, 0, 0, 10, 10}, {}},                    // P2 = P1, then P1 = P3
      {{0, 0, 10, 0, 10, 0, 0, 0}, {}},                    // P4 = P1, then P2 = P3 of the three
      {{0, 0, 5, 5, 10, 10, 0, 0}, {"sl 0 0 5 5 10 10"}},  // collinear corners are kept
      // Corners closer than 1e-10 are equal; 1e-10 apart they are not.
      {{0, 0, 5e-11, 0, 10, 0, 10, 10}, {"sl 0 0 10 0 10 10"}},
      {{0, 0, 1e-10, 0, 10, 0, 10, 10}, {"sl 0 0 1E-10 0 10 0 10 10"}},
  };
  for (const auto& c : cases) {
    d.S_Solid4(c.c[0], c.c[1], c.c[2], c.c[3], c.c[4], c.c[5], c.c[6], c.c[7]);
    EXPECT_EQ(Take(d), c.lines) << c.c[0] << " " << c.c[1] << " " << c.c[2] << " " << c.c[3] << " "
                                << c.c[4] << " " << c.c[5] << " " << c.c[6] << " " << c.c[7];
  }
}

TEST_F(Writer, CircularSolids) {
  for (int fl : {0, 5, 100, -1, 1, 99, 4})
    d.S_SolidC(1, 2, 3, 0.5, 0.1, 0.2, -0.3, fl);
  EXPECT_EQ(Take(d), (Lines{"sc 1 2 3 0.5 0.1 0.2 -0.3 0", "sc 1 2 3 0.5 0.1 0.2 -0.3 5",
                            "sc 1 2 3 0.5 0.1 0.2 -0.3 100", "sc 1 2 3 0.5 0.1 0.2 -0.3 -1"}));
  for (int fl : {0, 100, 5, -1, 1})
    d.S_SolidD(1, 2, 3, 0.5, 0.1, 0.2, 0.3, fl);
  EXPECT_EQ(Take(d), (Lines{"se 1 2 3 0.5 0.1 0.2 0.3 0", "se 1 2 3 0.5 0.1 0.2 0.3 100"}));
  // Radius and flatness.
  d.S_SolidC(1, 2, 1e-10, 0.5, 0, 0, 1, 0);
  d.S_SolidC(1, 2, 3, 1e-10, 0, 0, 1, 0);
  d.S_SolidD(1, 2, 0, 0.5, 0, 0, 1, 0);
  d.S_SolidC(1, 2, 3, -0.5, 0, 0, 1, 0);
  EXPECT_EQ(Take(d), (Lines{"sc 1 2 3 -0.5 0 0 1 0"}));
}

TEST_F(Writer, RingSolids) {
  d.S_SolidO(1, 2, 3, 0.5, 0.1, 0.2, 0.3, 1.5);
  d.S_SolidG(1, 2, 3, 0.5, 0.1, 0.2, 0.3, 2.5);
  d.S_SolidO(1, 2, 3, 0.5, 0, 0, 1, 3);          // ri = r
  d.S_SolidG(1, 2, 3, 0.5, 0, 0, 1, 3 - 5e-11);  // within 1e-10 of r
  d.S_SolidO(1, 2, 3, 0.5, 0, 0, 1, 1e-10);      // ri too small
  d.S_SolidG(1, 2, 3, 0.5, 0, 0, 1, -1);
  d.S_SolidO(1, 2, 1e-10, 0.5, 0, 0, 1, 0);  // r too small
  d.S_SolidG(1, 2, 3, 0, 0, 0, 1, 1);        // flat
  d.S_SolidO(1, 2, 3, 0.5, 0, 0, 1, 2e-10);
  EXPECT_EQ(Take(d), (Lines{"so 1 2 3 0.5 0.1 0.2 0.3 1.5", "sg 1 2 3 0.5 0.1 0.2 0.3 2.5",
                            "so 1 2 3 0.5 0 0 1 2E-10"}));
}

}  // namespace
}  // namespace vardo
