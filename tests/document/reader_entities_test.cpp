// Exchange-file reader, entity records: every kind with its field counts, texts and
// styles, dimensions, solid reductions, per-entity resets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::Read;
using test::U8;

std::vector<int> Kinds(const TJGdata& d) {
  std::vector<int> kinds;
  for (const TEntNo& e : d.EntNo)
    kinds.push_back(e.yn);
  return kinds;
}

TEST(ReaderEntities, EveryKindInOrder) {
  TJGdata d = Read(
      "lg1\nly2\nlc3\nlt4\nlw5\npn6\n"
      "0 0 100 0\n"
      "ci 1 2 5\n"
      "ci 1 2 5 0 90 0.5 30\n"
      "ch 1 2 3 4 \"text\n"
      "pt 7 8\n"
      "pt 7 8 1.5 30 3\n"
      "msg\n0 0 50 0\n"
      "cs 0 1 1 0 \"50\n"
      "BL 9 10 block name\n"
      "sl 0 0 5 5\n"
      "sl 0 0 5 0 5 5\n"
      "sl 0 0 5 0 5 5 0 5\n"
      "sc 1 2 3 0.5 0.1 0.2 0.3 5\n"
      "se 1 2 3 0.5 0.1 0.2 -0.3 100\n"
      "so 1 2 3 0.5 0.1 0.2 0.3 1.5\n"
      "sg 1 2 3 0.5 0.1 0.2 0.3 2.5\n"
      "0 0 0 100\n");
  EXPECT_EQ(Kinds(d), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1}));
  ASSERT_EQ(d.EntN(), 16);
  EXPECT_EQ(d.EntNo[15].no, 1);  // the second line
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(d.EntNo[i].no, 0) << i;

  ASSERT_EQ(d.EntLineN(), 2);
  const TEntLine& l = d.EntLine[0];
  EXPECT_EQ(l.att.LGrp, 1);
  EXPECT_EQ(l.att.Lay, 2);
  EXPECT_EQ(l.att.Col, 3);
  EXPECT_EQ(l.att.Ltp, 4);
  EXPECT_EQ(l.att.Wid, 5);
  EXPECT_EQ(l.att.Attr, 0);
  EXPECT_EQ(l.att.IPNo, 0);
  EXPECT_EQ(l.CrvNo, 0);
  EXPECT_EQ(l.x2, 100.0);
  EXPECT_EQ(d.EntLine[1].y2, 100.0);

  const TEntCircle& c = d.EntCirc[0];
  EXPECT_EQ(c.cx, 1.0);
  EXPECT_EQ(c.cy, 2.0);
  EXPECT_EQ(c.cr, 5.0);
  EXPECT_EQ(c.att.Col, 3);

  const TEntArc& a = d.EntArc[0];
  EXPECT_EQ(a.cr, 5.0);
  EXPECT_EQ(a.sa, 0.0);
  EXPECT_EQ(a.ea, 90.0);
  EXPECT_EQ(a.he, 0.5);
  EXPECT_EQ(a.ka, 30.0);

  const TEntText& t = d.EntText[0];
  EXPECT_EQ(t.no, 0);
  EXPECT_EQ(t.x1, 1.0);
  EXPECT_EQ(t.y1, 2.0);
  EXPECT_EQ(t.x2, 3.0);
  EXPECT_EQ(t.y2, 4.0);
  EXPECT_EQ(U8(t.st), "text");

  EXPECT_EQ(d.EntPnt[0].px, 7.0);
  EXPECT_EQ(d.EntPnt[0].py, 8.0);
  EXPECT_EQ(d.EntPnt[0].att.Col, 6);  // the point colour, not the line colour
  const TEntMark& m = d.EntMark[0];
  EXPECT_EQ(m.bai, 1.5);
  EXPECT_EQ(m.ang, 30.0);
  EXPECT_EQ(m.cod, 3);
  EXPECT_EQ(m.att.Col, 6);

  const TEntDim& dim = d.EntDim[0];
  EXPECT_EQ(dim.lin.x2, 50.0);
  EXPECT_EQ(dim.txt.no, 2);
  EXPECT_EQ(U8(dim.txt.st), "50");

  const TEntBlk& b = d.EntBlk[0];
  EXPECT_EQ(b.px, 9.0);
  EXPECT_EQ(b.py, 10.0);
  EXPECT_EQ(U8(b.nam), "block");  // unquoted: one field

  EXPECT_EQ(d.EntSld2[0].x2, 5.0);
  EXPECT_EQ(d.EntSld3[0].y3, 5.0);
  EXPECT_EQ(d.EntSld4[0].x4, 0.0);
  EXPECT_EQ(d.EntSld4[0].y4, 5.0);

  const TEntSldC& sc = d.EntSldC[0];
  EXPECT_EQ(sc.cx, 1.0);
  EXPECT_EQ(sc.cy, 2.0);
  EXPECT_EQ(sc.cr, 3.0);
  EXPECT_EQ(sc.he, 0.5);
  EXPECT_EQ(sc.ka, 0.1);
  EXPECT_EQ(sc.sa, 0.2);
  EXPECT_EQ(sc.da, 0.3);
  EXPECT_EQ(sc.fl, 5);
  EXPECT_EQ(d.EntSldE[0].da, -0.3);
  EXPECT_EQ(d.EntSldE[0].fl, 100);
  EXPECT_EQ(d.EntSldO[0].ri, 1.5);
  EXPECT_EQ(d.EntSldG[0].ri, 2.5);
  EXPECT_EQ(d.EntSldG[0].da, 0.3);
}

TEST(ReaderEntities, FieldCountsAndFallThroughToTheLine) {
  struct Case {
    const char* line;
    int kind;  // 0: nothing stored
  } cases[] = {
      {"ci 0 0 5", 2},
      {"ci 0 0 5 0 90 1 0", 3},
      {"ci 0 0 5 0 90 1 0 9", 3},
      {"ci 0 0 5 0 90", 0},    // n = 6
      {"ci 0 0 5 0", 0},       // n = 5
      {"ci 0 0 5 0 90 1", 0},  // n = 7
      {"pt 1 2", 5},
      {"pt 1 2 3", 1},  // n = 4
      {"pt 1 2 3 4", 0},
      {"pt 1 2 1.5 30 3", 6},
      {"pt 1 2 1.5 30 3 9", 6},
      {"pt 1", 0},
      {"BL 1 2 b", 8},
      {"BL 1 2", 0},
      {"BL 1 2 b c", 8},
      {"ch 1 2 3 4 t", 4},
      {"ch 1 2 3", 1},
      {"ch 1 2 3 4", 0},
      {"sl 1 2 3 4", 9},
      {"sl 1 2 3", 1},
      {"sl 1 2 3 4 5", 0},
      {"sl 1 2 3 4 5 6", 10},
      {"sl 1 2 3 4 5 6 7", 0},
      {"sl 1 2 3 4 5 6 7 8", 11},
      {"sl 1 2 3 4 5 6 7 8 9", 11},
      {"sc 1 2 3 4 5 6 7 0", 12},
      {"sc 1 2 3 4 5 6 7", 0},
      {"sc 1 2 3", 1},
      {"se 1 2 3 4 5 6 7 0", 13},
      {"so 1 2 3 4 5 6 7 1", 14},
      {"so 1 2 3 4 5 6 7", 0},
      {"sg 1 2 3 4 5 6 7 1 9", 15},
      {"abc def ghi jkl", 1},
      {"1 2 3 4", 1},
      {"1 2 3", 0},
      {"1 2 3 4 5", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(c.line);
    if (c.kind == 0) {
      EXPECT_EQ(d.EntN(), 0);
      continue;
    }
    ASSERT_EQ(d.EntN(), 1);
    EXPECT_EQ(d.EntNo[0].yn, c.kind);
    EXPECT_EQ(d.EntNo[0].no, 0);
  }
}

TEST(ReaderEntities, KeywordLineOfFourFieldsReadsItsKeywordAsZero) {
  TJGdata d = Read("ch 1 2 3\n");
  ASSERT_EQ(d.EntLineN(), 1);
  EXPECT_EQ(d.EntLine[0].x1, 0.0);
  EXPECT_EQ(d.EntLine[0].y1, 1.0);
  EXPECT_EQ(d.EntLine[0].x2, 2.0);
  EXPECT_EQ(d.EntLine[0].y2, 3.0);
}

TEST(ReaderEntities, NonNumbersReadAsZeroAndAreStoredAllTheSame) {
  TJGdata d = Read("ci a b c\nch x y 1 0 \"t\n1e400 -1e999 2 2\n");
  ASSERT_EQ(d.EntCircN(), 1);
  EXPECT_EQ(d.EntCirc[0].cr, 0.0);
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].x1, 0.0);
  ASSERT_EQ(d.EntLineN(), 1);
  EXPECT_EQ(d.EntLine[0].x1, 0.0);  // too large for a double: 0 (decision)
  EXPECT_EQ(d.EntLine[0].y1, 0.0);
  EXPECT_EQ(d.EntLine[0].x2, 2.0);
}

TEST(ReaderEntities, ReaderStoresDegenerateGeometry) {
  TJGdata d = Read("5 5 5 5\nci 0 0 0\n");
  EXPECT_EQ(d.EntLineN(), 1);
  EXPECT_EQ(d.EntCircN(), 1);
}

// --- texts ---

TEST(ReaderTexts, KeywordsGiveTheKind) {
  const char* keywords[] = {"ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
  for (int k = 0; k < 10; ++k) {
    SCOPED_TRACE(keywords[k]);
    TJGdata d = Read(std::string(keywords[k]) + " 1 2 3 4 \"t");
    ASSERT_EQ(d.EntTextN(), 1);
    EXPECT_EQ(d.EntText[0].no, k);
    EXPECT_EQ(d.EntDimN(), 0);
  }
  EXPECT_EQ(Read("cx 1 2 3 4 \"t").EntN(), 0);
  EXPECT_EQ(Read("CH 1 2 3 4 \"t").EntN(), 0);
}

TEST(ReaderTexts, StyleFromTheTextStyleTable) {
  // Style 3 gives style 3's size and colour whatever the "lc" colour.
  TJGdata d = Read(
      "hcw 1 2 3.5 4 5 6 7 8 9 10\n"
      "hch 1 2 4.5 4 5 6 7 8 9 10\n"
      "hcd 1 2 0.25 4 5 6 7 8 9 10\n"
      "hcc 1 2 7 4 5 6 7 8 9 10\n"
      "lc5\ncn3\ncc4\ncn\"$<font>\n"
      "cv 10 20 0 5 \"vertical text\n");
  ASSERT_EQ(d.EntTextN(), 1);
  const TEntText& t = d.EntText[0];
  EXPECT_EQ(t.no, 1);
  EXPECT_EQ(t.cn, 3);
  EXPECT_EQ(t.cc, 4);
  EXPECT_EQ(t.mw, 3.5);
  EXPECT_EQ(t.mh, 4.5);
  EXPECT_EQ(t.md, 0.25);
  EXPECT_EQ(t.att.Col, 7);
  EXPECT_EQ(U8(t.fo), "<font>");
  EXPECT_EQ(t.x2, 0.0);
  EXPECT_EQ(t.y2, 5.0);
  EXPECT_EQ(U8(t.st), "vertical text");
}

TEST(ReaderTexts, DefaultStyleAndFont) {
  TJGdata d = Read("ch 0 0 1 0 \"t");
  const TEntText& t = d.EntText[0];
  EXPECT_EQ(t.cn, 1);
  EXPECT_EQ(t.cc, 0);
  EXPECT_EQ(t.mw, 3.0);
  EXPECT_EQ(t.mh, 3.0);
  EXPECT_EQ(t.md, 0.0);
  EXPECT_EQ(t.att.Col, 2);
  EXPECT_EQ(t.fo, u"<ＭＳ ゴシック>");
}

TEST(ReaderTexts, ExplicitSizeForStyleZeroAndOtherNumbers) {
  for (const char* style :
       {"cn0 2.5 3.5 0.5 4\n", "cn0 2.5 3.5 0.5 4\ncn11\n", "cn0 2.5 3.5 0.5 4\ncn-1\n"}) {
    SCOPED_TRACE(style);
    TJGdata d = Read(std::string("lc6\n") + style + "ch 0 0 1 0 \"t\n");
    const TEntText& t = d.EntText[0];
    EXPECT_EQ(t.mw, 2.5);
    EXPECT_EQ(t.mh, 3.5);
    EXPECT_EQ(t.md, 0.5);
    EXPECT_EQ(t.att.Col, 4);
    EXPECT_EQ(t.cn, d.w_Mjs);
  }
}

TEST(ReaderTexts, JapaneseTextInCp932) {
  // "ch 0 0 10 0 " + quote + 寸法表示ソフト (表 and ソ have the trail byte 0x5C) + "ｱｲｳ".
  TJGdata d = Read(
      "ch 0 0 10 0 \"\x90\xA1\x96\x40\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67 \xB1\xB2\xB3\r\n");
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].st, u"寸法表示ソフト ｱｲｳ");
  EXPECT_FALSE(d.MojiCode);
}

// --- dimensions ---

TEST(ReaderDimensions, MessageLineAndCsMakeOneDimension) {
  TJGdata d = Read("lc3\nmsg\nlc4\n0 0 100 0\nlc5\ncs 0 -5 1 0 \"100\n");
  EXPECT_EQ(d.EntLineN(), 0);
  EXPECT_EQ(d.EntTextN(), 0);
  ASSERT_EQ(d.EntDimN(), 1);
  ASSERT_EQ(d.EntN(), 1);
  EXPECT_EQ(d.EntNo[0].yn, kEntDim);
  const TEntDim& dim = d.EntDim[0];
  EXPECT_EQ(dim.att.Col, 5);
  EXPECT_EQ(dim.lin.att.Col, 4);
  EXPECT_EQ(dim.lin.CrvNo, 0);
  EXPECT_EQ(dim.lin.x1, 0.0);
  EXPECT_EQ(dim.lin.x2, 100.0);
  EXPECT_EQ(dim.txt.no, 2);
  EXPECT_EQ(dim.txt.att.Col, 2);  // text style 1's colour
  EXPECT_EQ(dim.txt.y1, -5.0);
  EXPECT_EQ(U8(dim.txt.st), "100");
  EXPECT_FALSE(d.w_DimFl);
  // The next line is a line again.
  TJGdata e = Read("msg\n0 0 100 0\ncs 0 -5 1 0 \"100\n0 0 5 5\n");
  EXPECT_EQ(e.EntLineN(), 1);
}

TEST(ReaderDimensions, OtherTextKeywordLosesThePendingLine) {
  TJGdata d = Read("msg\n0 0 100 0\nch 0 -5 1 0 \"100\n");
  EXPECT_EQ(d.EntDimN(), 0);
  EXPECT_EQ(d.EntLineN(), 0);
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].no, 0);
  EXPECT_FALSE(d.w_DimFl);
  EXPECT_EQ(d.EntSunLine.x2, 100.0);  // still pending, never used
}

TEST(ReaderDimensions, CsWithoutMessageIsAText) {
  TJGdata d = Read("0 0 100 0\ncs 0 -5 1 0 \"x\n");
  EXPECT_EQ(d.EntDimN(), 0);
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].no, 2);
}

TEST(ReaderDimensions, WithoutPendingLineTheLastOneIsUsed) {
  TJGdata d = Read("msg\ncs 0 0 1 0 \"a\nmsg\n5 5 9 5\ncs 0 0 1 0 \"b\nmsg\ncs 0 0 1 0 \"c\n");
  ASSERT_EQ(d.EntDimN(), 3);
  // At the start: (0, 0)-(1.0, 0) with colour 1 and line type 1.
  EXPECT_EQ(d.EntDim[0].lin.x1, 0.0);
  EXPECT_EQ(d.EntDim[0].lin.x2, 1.0);
  EXPECT_EQ(d.EntDim[0].lin.y2, 0.0);
  EXPECT_EQ(d.EntDim[0].lin.att.Col, 1);
  EXPECT_EQ(d.EntDim[0].lin.att.Ltp, 1);
  EXPECT_EQ(d.EntDim[1].lin.x1, 5.0);
  EXPECT_EQ(d.EntDim[2].lin.x1, 5.0);  // the previous dimension's line
  EXPECT_EQ(d.EntDim[2].lin.x2, 9.0);
}

TEST(ReaderDimensions, ASecondLineReplacesTheFirst) {
  TJGdata d = Read("msg\n0 0 1 0\n0 0 7 0\ncs 0 0 1 0 \"7\n");
  ASSERT_EQ(d.EntDimN(), 1);
  EXPECT_EQ(d.EntLineN(), 0);
  EXPECT_EQ(d.EntDim[0].lin.x2, 7.0);
}

TEST(ReaderDimensions, AttributeBitsAndReferencesGoToTheRecordThatTakesThem) {
  TJGdata d = Read("msg\nz1\nhhp3\n0 0 1 0\nz2\ncs 0 0 1 0 \"a\n");
  ASSERT_EQ(d.EntDimN(), 1);
  EXPECT_EQ(d.EntDim[0].lin.att.Attr, 1);
  EXPECT_EQ(d.EntDim[0].lin.att.IPNo, 3);
  EXPECT_EQ(d.EntDim[0].att.Attr, 2);
  EXPECT_EQ(d.EntDim[0].att.IPNo, 0);
  EXPECT_EQ(d.EntDim[0].txt.att.Attr, 2);
  EXPECT_EQ(d.w_Attr, 0);
}

TEST(ReaderDimensions, EntitiesOtherThanLinesEndTheDimension) {
  for (const char* entity : {"ci 0 0 1", "pt 1 1", "ch 0 0 1 0 \"a", "BL 0 0 b", "sl 0 0 1 1",
                             "sc 0 0 1 1 0 0 1 0", "so 0 0 2 1 0 0 1 1"}) {
    SCOPED_TRACE(entity);
    TJGdata d = Read(std::string("msg\n") + entity + "\n0 0 2 2\ncs 0 0 1 0 \"x\n");
    EXPECT_EQ(d.EntLineN(), 1);  // stored as a line, not kept as a pending one
    EXPECT_EQ(d.EntDimN(), 0);
    // And they close a polyline group.
    TJGdata e = Read(std::string("pl\n") + entity + "\n0 0 2 2\n");
    ASSERT_EQ(e.EntLineN(), 1);
    EXPECT_EQ(e.EntLine[0].CrvNo, 0);
  }
}

// --- solids ---

struct SolidCase {
  const char* line;
  int kind;
  std::vector<double> corners;
};

void ExpectSolid(const TJGdata& d, const SolidCase& c) {
  ASSERT_EQ(d.EntN(), 1);
  ASSERT_EQ(d.EntNo[0].yn, c.kind);
  std::vector<double> got;
  if (c.kind == kEntSld2) {
    const auto& s = d.EntSld2[0];
    got = {s.x1, s.y1, s.x2, s.y2};
  } else if (c.kind == kEntSld3) {
    const auto& s = d.EntSld3[0];
    got = {s.x1, s.y1, s.x2, s.y2, s.x3, s.y3};
  } else {
    const auto& s = d.EntSld4[0];
    got = {s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4};
  }
  EXPECT_EQ(got, c.corners);
}

TEST(ReaderSolids, ThreeCorners) {
  const SolidCase cases[] = {
      {"sl 0 0 0 0 5 5", kEntSld2, {0, 0, 5, 5}},  // P1 = P2
      {"sl 0 0 5 5 5 5", kEntSld2, {0, 0, 5, 5}},  // P2 = P3
      {"sl 1 1 1 1 1 1", kEntSld2, {1, 1, 1, 1}},  // all equal: P1 = P2 first
      {"sl 0 0 5 0 5 5", kEntSld3, {0, 0, 5, 0, 5, 5}},
      {"sl 0 0 5 5 0 0", kEntSld3, {0, 0, 5, 5, 0, 0}},     // P3 = P1 is not a rule
      {"sl 0 0 1e-13 0 5 5", kEntSld2, {0, 0, 5, 5}},       // closer than 1e-12: equal
      {"sl 0 0 1e-12 -1e-12 5 5", kEntSld2, {0, 0, 5, 5}},  // exactly 1e-12: equal
      {"sl 0 0 1e-11 0 5 5", kEntSld3, {0, 0, 1e-11, 0, 5, 5}},
      {"sl 0 0 5 5 5 5.00000000001", kEntSld3, {0, 0, 5, 5, 5, 5.00000000001}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    ExpectSolid(Read(c.line), c);
  }
}

TEST(ReaderSolids, FourCornersFirstRuleThatHolds) {
  const SolidCase cases[] = {
      {"sl 0 0 0 0 0 0 9 9", kEntSld2, {0, 0, 9, 9}},                      // 1: P1 = P2 = P3
      {"sl 0 0 5 5 5 5 5 5", kEntSld2, {0, 0, 5, 5}},                      // 2: P2 = P3 = P4
      {"sl 0 0 0 0 10 10 10 10", kEntSld2, {0, 0, 10, 10}},                // 3: P1 = P2, P3 = P4
      {"sl 0 0 10 0 10 10 0 0", kEntSld3, {0, 0, 10, 0, 10, 10}},          // 4: P4 = P1
      {"sl 0 0 10 0 10 10 10 0", kEntSld3, {0, 0, 10, 0, 10, 10}},         // 4: P4 = P2
      {"sl 0 0 10 0 10 10 10 10", kEntSld3, {0, 0, 10, 0, 10, 10}},        // 4: P4 = P3
      {"sl 0 0 10 0 0 0 5 5", kEntSld3, {0, 0, 10, 0, 5, 5}},              // 5: P3 = P1
      {"sl 0 0 10 0 10 0 5 5", kEntSld3, {0, 0, 10, 0, 5, 5}},             // 5: P3 = P2
      {"sl 0 0 0 0 10 0 5 5", kEntSld3, {0, 0, 10, 0, 5, 5}},              // 6: P2 = P1
      {"sl 0 0 10 0 10 10 0 10", kEntSld4, {0, 0, 10, 0, 10, 10, 0, 10}},  // 7
      // Precedence: P1 = P2 and P4 = P1 is rule 4, which keeps the coinciding corners.
      {"sl 0 0 0 0 5 5 0 0", kEntSld3, {0, 0, 0, 0, 5, 5}},
      // P1 = P3 and P2 = P4 (a folded quadrilateral): rule 4.
      {"sl 0 0 5 5 0 0 5 5", kEntSld3, {0, 0, 5, 5, 0, 0}},
      // The tolerance is 1e-12 here too.
      {"sl 0 0 0 1e-13 10 0 10 10", kEntSld3, {0, 0, 10, 0, 10, 10}},
      {"sl 0 0 0 1e-11 10 0 10 10", kEntSld4, {0, 0, 0, 1e-11, 10, 0, 10, 10}},
      {"sl 0 0 10 0 10 10 1e-13 -1e-13", kEntSld3, {0, 0, 10, 0, 10, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    ExpectSolid(Read(c.line), c);
  }
}

TEST(ReaderSolids, EverySolidTakesTheSolidColour) {
  TJGdata d = Read(
      "lc10 255\nsl 0 0 5 5\nlc3\nsl 0 0 5 0 5 5\nsl 0 0 5 0 5 5 0 5\n"
      "sc 0 0 1 1 0 0 1 0\nse 0 0 1 1 0 0 1 0\nso 0 0 2 1 0 0 1 1\nsg 0 0 2 1 0 0 1 1\n");
  EXPECT_EQ(d.EntSld2[0].att.Col, 10);
  EXPECT_EQ(d.EntSld2[0].Color, 255);
  EXPECT_EQ(d.EntSld3[0].att.Col, 3);
  EXPECT_EQ(d.EntSld3[0].Color, 255);
  EXPECT_EQ(d.EntSld4[0].Color, 255);
  EXPECT_EQ(d.EntSldC[0].Color, 255);
  EXPECT_EQ(d.EntSldE[0].Color, 255);
  EXPECT_EQ(d.EntSldO[0].Color, 255);
  EXPECT_EQ(d.EntSldG[0].Color, 255);
}

// --- per-entity resets ---

TEST(ReaderResets, BitsAndReferenceApplyToExactlyTheNextEntity) {
  struct Case {
    const char* entity;
    int kind;
  } cases[] = {
      {"0 0 1 1", kEntLine},
      {"ci 0 0 1", kEntCirc},
      {"ci 0 0 1 0 90 1 0", kEntArc},
      {"ch 0 0 1 0 \"t", kEntText},
      {"pt 1 1", kEntPnt},
      {"pt 1 1 1 0 1", kEntMark},
      {"BL 0 0 b", kEntBlk},
      {"sl 0 0 1 1", kEntSld2},
      {"sl 0 0 1 0 1 1", kEntSld3},
      {"sl 0 0 1 0 1 1 0 1", kEntSld4},
      {"sc 0 0 1 1 0 0 1 0", kEntSldC},
      {"se 0 0 1 1 0 0 1 0", kEntSldE},
      {"so 0 0 2 1 0 0 1 1", kEntSldO},
      {"sg 0 0 2 1 0 0 1 1", kEntSldG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entity);
    TJGdata d = Read(std::string("lc4\nz1\nz5\nhhp9\n") + c.entity + "\nci 5 5 5\n");
    ASSERT_EQ(d.EntN(), 2);
    ASSERT_EQ(d.EntNo[0].yn, c.kind);
    TEntAttr att;
    switch (c.kind) {
      case kEntLine:
        att = d.EntLine[0].att;
        break;
      case kEntCirc:
        att = d.EntCirc[0].att;
        break;
      case kEntArc:
        att = d.EntArc[0].att;
        break;
      case kEntText:
        att = d.EntText[0].att;
        break;
      case kEntPnt:
        att = d.EntPnt[0].att;
        break;
      case kEntMark:
        att = d.EntMark[0].att;
        break;
      case kEntBlk:
        att = d.EntBlk[0].att;
        break;
      case kEntSld2:
        att = d.EntSld2[0].att;
        break;
      case kEntSld3:
        att = d.EntSld3[0].att;
        break;
      case kEntSld4:
        att = d.EntSld4[0].att;
        break;
      case kEntSldC:
        att = d.EntSldC[0].att;
        break;
      case kEntSldE:
        att = d.EntSldE[0].att;
        break;
      case kEntSldO:
        att = d.EntSldO[0].att;
        break;
      case kEntSldG:
        att = d.EntSldG[0].att;
        break;
    }
    EXPECT_EQ(att.Attr, 17);
    EXPECT_EQ(att.IPNo, 9);
    const TEntCircle& next = d.EntCirc.back();
    EXPECT_EQ(next.att.Attr, 0);
    EXPECT_EQ(next.att.IPNo, 0);
    EXPECT_EQ(next.att.Col, 4);  // layer, colour and the rest stay in force
  }
}

TEST(ReaderResets, LinesKeepTheGroupAndTheDimensionOpen) {
  TJGdata d = Read("pl\n0 0 1 1\nz1\n1 1 2 2\n");
  ASSERT_EQ(d.EntLineN(), 2);
  EXPECT_EQ(d.EntLine[1].CrvNo, 1);
  EXPECT_TRUE(d.w_CrvFl);
}

TEST(ReaderEntities, TablesGrowPastAThousand) {
  std::string text;
  for (int i = 0; i < 2500; ++i)
    text += std::to_string(i) + " 0 " + std::to_string(i) + " 1\n";
  text += "ci 0 0 1\n";
  TJGdata d = Read(text);
  ASSERT_EQ(d.EntLineN(), 2500);
  ASSERT_EQ(d.EntN(), 2501);
  EXPECT_EQ(d.EntLine[2499].x1, 2499.0);
  EXPECT_EQ(d.EntNo[2499].no, 2499);
  EXPECT_EQ(d.EntNo[2500].yn, kEntCirc);
  EXPECT_EQ(d.EntNo[2500].no, 0);
}

}  // namespace
}  // namespace vardo
