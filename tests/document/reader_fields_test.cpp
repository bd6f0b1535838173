// Exchange-file reader, framing and header records: field splitting, header records
// and their field counts, attribute and control records, indicated points.
#include <gtest/gtest.h>

#include <string>

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::Read;
using test::U8;

// --- field splitting ---

TEST(ReaderFields, BlanksAndTabsSeparateOnce) {
  struct Case {
    const char* line;
    bool circle;
  } cases[] = {
      {"ci 1 2 3", true},
      {"   ci   1  2   3", true},       // leading and repeated blanks
      {"\tci\t1\t2\t3", true},          // tabs
      {" \t ci \t1 \t 2\t \t3", true},  // mixed runs
      {"ci 1 2 3 ", true},              // trailing blank: no empty last field (decision)
      {"ci 1 2 3 \t  ", true},          // trailing blanks and tabs
      {"ci 1 2 3 4", false},            // n = 5: neither circle nor arc
      {"ci 1 2", false},                // n = 3
      {"ci  1 2 3 0 90 1", false},      // n = 7
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(c.line);
    ASSERT_EQ(d.EntCircN(), c.circle ? 1 : 0);
    EXPECT_EQ(d.EntN(), c.circle ? 1 : 0);
    if (c.circle) {
      EXPECT_EQ(d.EntCirc[0].cx, 1.0);
      EXPECT_EQ(d.EntCirc[0].cy, 2.0);
      EXPECT_EQ(d.EntCirc[0].cr, 3.0);
    }
  }
}

TEST(ReaderFields, TrailingBlanksDoNotMakeALineOfFiveFields) {
  TJGdata d = Read("1 2 3 4 \n  5\t6  7 8\t\n");
  ASSERT_EQ(d.EntLineN(), 2);
  EXPECT_EQ(d.EntLine[0].x1, 1.0);
  EXPECT_EQ(d.EntLine[0].y2, 4.0);
  EXPECT_EQ(d.EntLine[1].x1, 5.0);
  EXPECT_EQ(d.EntLine[1].y2, 8.0);
}

TEST(ReaderFields, QuoteEndsSplittingAndIsDropped) {
  struct Case {
    const char* line;
    bool text;
    const char* st;
  } cases[] = {
      {"ch 1 2 3 4 \"a  b \"c\" = d", true, "a  b \"c\" = d"},  // later quotes and "=" kept
      {"ch 1 2 3 4 \"", true, ""},                              // empty text is still stored
      {"ch 1 2 3 4 \"  lead and trail  ", true, "  lead and trail  "},
      {"ch 1 2 3 4 abc def", true, "abc"},  // unquoted: cut at the first blank
      {"ch 1 2 3 4 a=b c", true, "a=b c"},  // "=" is kept and ends the splitting
      {"ch 1 2 3 4\"x", false, ""},         // the quote joins field 4: n = 5
      {"ch 1 2 3 \"4 5", false, ""},        // n = 5
      {"\"ci 1 2 3", false, ""},            // one field
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(c.line);
    ASSERT_EQ(d.EntTextN(), c.text ? 1 : 0);
    EXPECT_EQ(d.EntN(), c.text ? 1 : 0);
    if (c.text) {
      EXPECT_EQ(U8(d.EntText[0].st), c.st);
    }
  }
}

TEST(ReaderFields, EqualsSignKeepsTheRestInTheField) {
  TJGdata d = Read("1 2 3 x=4 5\n");  // f3 is "x=4 5": a line whose y2 is not a number
  ASSERT_EQ(d.EntLineN(), 1);
  EXPECT_EQ(d.EntLine[0].x2, 3.0);
  EXPECT_EQ(d.EntLine[0].y2, 0.0);
}

TEST(ReaderFields, IdeographicSpaceIsNotASeparator) {
  // UTF-8 with BOM: "ch 1 2 3 4 a", U+3000, "b c".
  TJGdata d = Read(
      "\xEF\xBB\xBF"
      "ch 1 2 3 4 a\xE3\x80\x80"
      "b c\r\n");
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].st, u"a\u3000b");
}

TEST(ReaderFields, EmptyAndBlankLinesAreIgnored) {
  TJGdata d = Read("\n   \n\t\t\n\"\n\r\n");
  EXPECT_EQ(d.EntN(), 0);
  EXPECT_EQ(d.w_Attr, 0);
  EXPECT_EQ(d.ZumenFile, u"");
}

TEST(ReaderFields, FieldsBeyondThe400thAreDropped) {
  // A layer-group name joins every field after f0: 450 words keep only 399 of them.
  std::string line = "lgnA";
  std::string expected = "A";
  for (int k = 1; k <= 450; ++k) {
    line += " w" + std::to_string(k);
    if (k <= 399) expected += " w" + std::to_string(k);
  }
  TJGdata d = Read(line);
  EXPECT_EQ(U8(d.LGrpName[0]), expected);
}

TEST(ReaderFields, ManyFieldsStillMakeTheirRecord) {
  std::string line = "sl 0 0 10 0 10 10 0 10";
  for (int k = 0; k < 600; ++k)
    line += " 7";
  TJGdata d = Read(line);
  ASSERT_EQ(d.EntSld4.size(), 1u);
  EXPECT_EQ(d.EntSld4[0].y4, 10.0);
}

// --- header records ---

TEST(ReaderHeader, EveryHeaderRecord) {
  TJGdata d = Read(
      "file=C:\\cad\\my drawing \"1\".drw\n"
      "hk 12.5\n"
      "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n"
      "hzs 420 297\n"
      "hcw 1 2 3 4 5 6 7 8 9 10\n"
      "hch 11 12 13 14 15 16 17 18 19 20\n"
      "hcd 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1.0\n"
      "hcc 1 2 3 4 5 6 7 8 9 101\n"
      "bz\n"
      "hn -10 -20 30 40\n"
      "hrgb 1 2 3 4 5 6 7 $FF\n");
  EXPECT_EQ(U8(d.ZumenFile), "C:\\cad\\my drawing \"1\".drw");
  EXPECT_EQ(d.Jikukaku, 12.5);
  for (int k = 0; k < 16; ++k)
    EXPECT_EQ(d.LGrpScale[k], k + 1.0) << k;
  EXPECT_EQ(d.ZumenXsize, 420.0);
  EXPECT_EQ(d.ZumenYsize, 297.0);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_EQ(d.Mojisyu[k].w, k) << k;
    EXPECT_EQ(d.Mojisyu[k].h, k + 10.0) << k;
    EXPECT_DOUBLE_EQ(d.Mojisyu[k].d, k / 10.0) << k;
  }
  for (int k = 1; k <= 9; ++k)
    EXPECT_EQ(d.Mojisyu[k].c, k);
  EXPECT_EQ(d.Mojisyu[10].c, 101);
  EXPECT_TRUE(d.Zusun);
  EXPECT_EQ(d.AreaX1, -10.0);
  EXPECT_EQ(d.AreaY1, -20.0);
  EXPECT_EQ(d.AreaX2, 30.0);
  EXPECT_EQ(d.AreaY2, 40.0);
  for (int k = 0; k < 7; ++k)
    EXPECT_EQ(d.RGB[k], k + 1);
  EXPECT_EQ(d.RGB[7], 255);
  EXPECT_EQ(d.RGB[8], 0);
  EXPECT_EQ(d.EntN(), 0);
}

TEST(ReaderHeader, FileNameAnywhereInTheFirstField) {
  EXPECT_EQ(U8(Read("  file=x").ZumenFile), "x");
  EXPECT_EQ(U8(Read("file=").ZumenFile), "");
  EXPECT_EQ(U8(Read("file=C:\\a b\\c d.drw").ZumenFile), "C:\\a b\\c d.drw");
  // f0 contains "file=" after other text: the first five characters are cut all the same.
  EXPECT_EQ(U8(Read("xfile=abc").ZumenFile), "=abc");
}

TEST(ReaderHeader, TooFewFieldsChangeNothing) {
  const TJGdata fresh;
  struct Case {
    const char* line;
  } cases[] = {
      {"hk"},
      {"hs 1 2"},
      {"hs 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2"},  // 15 scales
      {"hzs 420"},
      {"hcw 1 2 3 4 5 6 7 8 9"},
      {"hch 1 2 3 4 5 6 7 8 9"},
      {"hcd 1 2 3 4 5 6 7 8 9"},
      {"hcc 1 2 3 4 5 6 7 8 9"},
      {"hn 1 2"},
      {"hrgb 1 2 3 4 5 6 7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(c.line);
    EXPECT_EQ(d.Jikukaku, 0.0);
    EXPECT_EQ(d.LGrpScale, fresh.LGrpScale);
    EXPECT_EQ(d.ZumenXsize, 1189.0);
    EXPECT_EQ(d.ZumenYsize, 841.0);
    for (int k = 1; k <= 10; ++k) {
      EXPECT_EQ(d.Mojisyu[k].w, 3.0);
      EXPECT_EQ(d.Mojisyu[k].h, 3.0);
      EXPECT_EQ(d.Mojisyu[k].d, 0.0);
      EXPECT_EQ(d.Mojisyu[k].c, 2);
    }
    EXPECT_EQ(d.AreaX1, 0.0);
    EXPECT_EQ(d.AreaX2, 0.0);
    EXPECT_EQ(d.RGB, fresh.RGB);
    EXPECT_EQ(d.EntN(), 0);
  }
}

TEST(ReaderHeader, AShortHeaderOfFourFieldsFallsThroughToALine) {
  // Row 40: any line of exactly four fields not caught earlier is a line.
  for (const char* line : {"hs 1 2 3", "hn 1 2 3", "hcw 1 2 3", "hrgb 1 2 3"}) {
    SCOPED_TRACE(line);
    TJGdata d = Read(line);
    ASSERT_EQ(d.EntLineN(), 1);
    EXPECT_EQ(d.EntLine[0].x1, 0.0);  // the keyword is not a number
    EXPECT_EQ(d.EntLine[0].y1, 1.0);
    EXPECT_EQ(d.EntLine[0].y2, 3.0);
    EXPECT_EQ(d.LGrpScale[0], 1.0);
    EXPECT_EQ(d.AreaX1, 0.0);
  }
}

TEST(ReaderHeader, ExtraFieldsAndNonNumbers) {
  TJGdata d = Read("hk 1 2\nhzs x 297 9\nhrgb 1 2 3 4 5 6 7 8 9 10\n");
  EXPECT_EQ(d.Jikukaku, 1.0);
  EXPECT_EQ(d.ZumenXsize, 0.0);
  EXPECT_EQ(d.ZumenYsize, 297.0);
  EXPECT_EQ(d.RGB[9], 10);
  EXPECT_EQ(d.RGB[10], 0);
}

TEST(ReaderHeader, HrgbValuesBeyond356AreDropped) {
  std::string line = "hrgb";
  for (int k = 1; k <= 398; ++k)
    line += " " + std::to_string(k);
  TJGdata d = Read(line);
  EXPECT_EQ(d.RGB[0], 1);
  EXPECT_EQ(d.RGB[355], 356);
}

TEST(ReaderHeader, NamesOfLayerGroupsAndLayers) {
  TJGdata d = Read(
      "lgnBase plan   one\n"  // before any "lg": group 0
      "lg2\nly5\n"
      "lgnSecond\n"
      "lynWalls  and\tdoors\n"
      "lyn\n");
  EXPECT_EQ(U8(d.LGrpName[0]), "Base plan one");
  EXPECT_EQ(U8(d.LGrpName[2]), "Second");
  EXPECT_EQ(U8(d.LayName[2 * 16 + 5]), "");  // the later empty name replaced it
  TJGdata e = Read("lg2\nly5\nlynWalls  and\tdoors\n");
  EXPECT_EQ(U8(e.LayName[2 * 16 + 5]), "Walls and doors");
}

// --- attribute records ---

TEST(ReaderAttributes, LayerGroupDigitIsHexadecimal) {
  struct Case {
    const char* line;
    int group, state;
  } cases[] = {
      {"lg3 1", 3, 1}, {"lga", 10, 0}, {"lgA 7", 10, 7}, {"lgf", 15, 0},  {"lgF", 15, 0},
      {"lgz", 0, 0},   {"lg", 0, 0},   {"lg12", 1, 0},   {"lg9 x", 9, 0}, {"lg0 -2", 0, -2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(c.line);
    EXPECT_EQ(d.w_LGrp, c.group);
    EXPECT_EQ(d.CurLGrp, c.group);
    EXPECT_FALSE(d.w_FlgLGrp);
    EXPECT_EQ(d.LGrpStat[c.group], c.state);
  }
}

TEST(ReaderAttributes, LayerDigitIsHexadecimalAndStateIsPerGroup) {
  struct Case {
    const char* lines;
    int layer, index, state;
  } cases[] = {
      {"ly3 1", 3, 3, 1},
      {"lyb 2", 11, 11, 2},
      {"lyq 2", 0, 0, 2},
      {"lg2\nlyF 4", 15, 2 * 16 + 15, 4},
      {"lgf\nly1 5", 1, 15 * 16 + 1, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    TJGdata d = Read(c.lines);
    EXPECT_EQ(d.w_Lay, c.layer);
    EXPECT_EQ(d.CurLay, c.layer);
    EXPECT_EQ(d.LayStat[c.index], c.state);
  }
}

TEST(ReaderAttributes, FirstRecordOfEachKindSetsTheHostSettings) {
  TJGdata d = Read(
      "lg3\nly4\nlc5\nlt6\nlw7\ncn8\n"
      "lg9\nly1\nlc2\nlt3\nlw4\ncn5\n");
  EXPECT_EQ(d.CurLGrp, 3);
  EXPECT_EQ(d.CurLay, 4);
  EXPECT_EQ(d.CurCol, 5);
  EXPECT_EQ(d.CurLtp, 6);
  EXPECT_EQ(d.CurWid, 7);
  EXPECT_EQ(d.CurMjs, 8);
  EXPECT_EQ(d.w_LGrp, 9);
  EXPECT_EQ(d.w_Lay, 1);
  EXPECT_EQ(d.w_Col, 2);
  EXPECT_EQ(d.w_Ltp, 3);
  EXPECT_EQ(d.w_Wid, 4);
  EXPECT_EQ(d.w_Mjs, 5);
  EXPECT_FALSE(d.w_FlgLGrp || d.w_FlgLay || d.w_FlgCol || d.w_FlgLtp || d.w_FlgWid || d.w_FlgMjs);
  // The flags of the other kinds are untouched.
  EXPECT_TRUE(d.w_FlgMbs && d.w_FlgFont && d.w_FlgPCol && d.w_FlgSCol);
  EXPECT_TRUE(d.WidF);
}

TEST(ReaderAttributes, WithoutRecordsTheHostSettingsKeepTheirDefaults) {
  TJGdata d = Read("0 0 1 1\n");
  EXPECT_EQ(d.CurLGrp, 0);
  EXPECT_EQ(d.CurLay, 0);
  EXPECT_EQ(d.CurCol, 1);
  EXPECT_EQ(d.CurLtp, 1);
  EXPECT_EQ(d.CurWid, 0);
  EXPECT_EQ(d.CurMjs, 1);
  EXPECT_FALSE(d.WidF);
  EXPECT_TRUE(d.w_FlgLGrp && d.w_FlgCol);
}

TEST(ReaderAttributes, ColourAndSolidColour) {
  struct Case {
    const char* lines;
    int col, slcol;
  } cases[] = {
      {"lc10 255", 10, 255},      {"lc10 7\nlc10", 10, 7},  // "lc10" alone leaves the solid colour
      {"lc10 7\nlc5 99", 5, 7},                             // only colour 10 reads an RGB value
      {"lc10 $FF00", 10, 0xFF00},                           // the value may be hexadecimal
      {"lc10 x", 10, 0},          {"lc", 0, 0},
      {"lc103", 103, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    TJGdata d = Read(c.lines);
    EXPECT_EQ(d.w_Col, c.col);
    EXPECT_EQ(d.w_SlCol, c.slcol);
  }
  TJGdata d = Read("lc3\nlc4\n");
  EXPECT_EQ(d.CurCol, 3);
  EXPECT_EQ(d.w_Col, 4);
}

TEST(ReaderAttributes, LineTypeAndWidth) {
  TJGdata d = Read("lt31\nlw0\n");
  EXPECT_EQ(d.w_Ltp, 31);
  EXPECT_EQ(d.CurLtp, 31);
  EXPECT_EQ(d.w_Wid, 0);
  EXPECT_TRUE(d.WidF);  // any "lw" record, also of width 0
}

TEST(ReaderAttributes, FontRecord) {
  // "cn", a double quote, "$<ＭＳ ゴシック>" in CP932: the blank belongs to the name.
  TJGdata d = Read("cn\"$<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>\r\n");
  EXPECT_EQ(d.w_Font, u"<ＭＳ ゴシック>");
  EXPECT_EQ(d.CurFont, u"<ＭＳ ゴシック>");
  // A later font changes only the current font; an unquoted one is one field.
  TJGdata e = Read("cn\"$first font\ncn$second\ncn\"$\n");
  EXPECT_EQ(U8(e.CurFont), "first font");
  EXPECT_EQ(U8(e.w_Font), "");
  TJGdata f = Read("cn\"$\ncn\"$later\n");  // an empty first name leaves CurFont empty
  EXPECT_EQ(U8(f.CurFont), "later");
  // The font record is not a text-style record.
  EXPECT_TRUE(f.w_FlgMjs);
  EXPECT_EQ(f.w_Mjs, 1);
}

TEST(ReaderAttributes, TextStyleRecords) {
  {
    TJGdata d = Read("cn0 2.5 2.5 0.5 3");
    EXPECT_EQ(d.w_Mjs, 0);
    EXPECT_EQ(d.w_MjsW, 2.5);
    EXPECT_EQ(d.w_MjsH, 2.5);
    EXPECT_EQ(d.w_MjsD, 0.5);
    EXPECT_EQ(d.w_MjsC, 3);
    EXPECT_EQ(d.CurMjs, 0);
    EXPECT_EQ(d.CurMjsW, 2.5);
    EXPECT_EQ(d.CurMjsD, 0.5);
    EXPECT_EQ(d.CurMjsC, 3);
  }
  {
    // Style 0 with too few fields keeps the previous explicit size.
    TJGdata d = Read("cn0 4 5 6 7\ncn3\ncn0 2.5\n");
    EXPECT_EQ(d.w_Mjs, 0);
    EXPECT_EQ(d.w_MjsW, 4.0);
    EXPECT_EQ(d.w_MjsH, 5.0);
    EXPECT_EQ(d.w_MjsD, 6.0);
    EXPECT_EQ(d.w_MjsC, 7);
  }
  {
    // Only the first record sets the host's explicit size.
    TJGdata d = Read("cn3\ncn0 4 5 6 7\n");
    EXPECT_EQ(d.CurMjs, 3);
    EXPECT_EQ(d.CurMjsW, 2.0);
    EXPECT_EQ(d.CurMjsC, 1);
    EXPECT_EQ(d.w_MjsW, 4.0);
  }
  {
    // A size with a style other than 0 is not read.
    TJGdata d = Read("cn2 4 5 6 7\n");
    EXPECT_EQ(d.w_Mjs, 2);
    EXPECT_EQ(d.w_MjsW, 2.0);
    EXPECT_EQ(d.CurMjsW, 2.0);
  }
}

TEST(ReaderAttributes, BasePointDigit) {
  struct Case {
    const char* line;
    int mbs;
  } cases[] = {
      {"cc5", 5}, {"cc8", 8},  {"cc0", 0},  {"cc9", 0},
      {"cc", 0},  {"cc-1", 0}, {"cc12", 1}, {"cca", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(std::string("cc3\n") + c.line);
    EXPECT_EQ(d.w_Mbs, c.mbs);
  }
}

TEST(ReaderAttributes, AttributeBitsGather) {
  struct Case {
    const char* lines;
    int bits;
  } cases[] = {
      {"z1\nz3\nz1", 5},      {"z2", 2}, {"z4", 8}, {"z5", 16},
      {"z4\nz5", 24},   // the reader keeps both
      {"z1 extra", 1},  // f0 is what counts
      {"z6\nz0\nz11\nZ1", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    EXPECT_EQ(Read(c.lines).w_Attr, c.bits);
  }
}

TEST(ReaderAttributes, PointColour) {
  TJGdata d = Read("pn3\n");
  EXPECT_EQ(d.w_PtCol, 3);
  EXPECT_TRUE(d.w_FlgPCol);  // no first-time effect for point colours
  EXPECT_EQ(Read("pn").w_PtCol, 0);
}

// --- polyline groups, dimension flag, end of group ---

TEST(ReaderControl, RecordsThatCloseAPolylineGroup) {
  struct Case {
    const char* record;
    bool closes;
  } cases[] = {
      {"lg1", true},      {"ly1", true},      {"lc2", true},      {"lt2", true},
      {"lw1", true},      {"cn$f", true},     {"cn2", true},      {"cc1", true},
      {"pn2", true},      {"#", true},        {"ci 0 0 1", true},  // any entity but a line
      {"lgnName", false}, {"lynName", false}, {"z1", false},      {"hhp3", false},
      {"hp1 0 0", false}, {"hk 1", false},    {"unknown", false}, {"5 5 6 6", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    TJGdata d = Read(std::string("pl\n0 0 1 1\n") + c.record + "\n0 0 2 2\n");
    ASSERT_GE(d.EntLineN(), 2);
    EXPECT_EQ(d.EntLine[0].CrvNo, 1);
    EXPECT_EQ(d.EntLine.back().CrvNo, c.closes ? 0 : 1);
  }
}

TEST(ReaderControl, PolylineGroupsAreNumbered) {
  TJGdata d = Read("0 0 9 9\npl\n0 0 1 1\n1 1 2 2\n2 2 3 3\n#\n3 3 4 4\npl\n4 4 5 5\n");
  ASSERT_EQ(d.EntLineN(), 6);
  EXPECT_EQ(d.EntLine[0].CrvNo, 0);
  EXPECT_EQ(d.EntLine[1].CrvNo, 1);
  EXPECT_EQ(d.EntLine[2].CrvNo, 1);
  EXPECT_EQ(d.EntLine[3].CrvNo, 1);
  EXPECT_EQ(d.EntLine[4].CrvNo, 0);
  EXPECT_EQ(d.EntLine[5].CrvNo, 2);
  EXPECT_EQ(d.w_CrvNo, 2);
}

TEST(ReaderControl, DimensionFlag) {
  EXPECT_TRUE(Read("msg").w_DimFl);
  EXPECT_FALSE(Read("msg\n#").w_DimFl);
  EXPECT_FALSE(Read("msg\npl").w_DimFl);
  EXPECT_TRUE(Read("msg\nlc3").w_DimFl);  // attribute records leave it
  EXPECT_FALSE(Read("pl\nmsg").w_CrvFl);
  EXPECT_FALSE(Read("msg\npt 1 1").w_DimFl);
}

// --- indicated points ---

TEST(ReaderIndicatedPoints, NumbersAndSuffixes) {
  struct Case {
    const char* line;
    int slot;  // 0: ignored
    int sta;
    double x, y;
  } cases[] = {
      {"hp3ln 10 20", 3, 2, 10, 20}, {"hp1 -5 6.5", 1, 0, -5, 6.5}, {"hp7- 1 2", 7, 1, 1, 2},
      {"hp8ci 1 2", 8, 3, 1, 2},     {"hp9ch 1 2", 9, 4, 1, 2},     {"hp99 1 2", 99, 0, 1, 2},
      {"hp4ln- 1 2", 4, 2, 1, 2},  // "-" then "ln": the later suffix in that order wins
      {"hp4-ch 1 2", 0, 0, 0, 0},  // "ch" wins and leaves "4-", not a number
      {"hp0 1 2", 0, 0, 0, 0},       {"hp100 1 2", 0, 0, 0, 0},     {"hp-3 1 2", 0, 0, 0, 0},
      {"hpx 1 2", 0, 0, 0, 0},       {"hp5 1", 0, 0, 0, 0},  // n < 3
      {"hp6 x y z", 6, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(c.line);
    EXPECT_EQ(d.IPointN, c.slot ? 1 : 0);
    int filled = 0;
    for (const auto& p : d.IPoints)
      filled += p.flg;
    EXPECT_EQ(filled, c.slot ? 1 : 0);
    if (c.slot) {
      const TIndPoint& p = d.IPoints[c.slot];
      EXPECT_TRUE(p.flg);
      EXPECT_EQ(p.sta, c.sta);
      EXPECT_EQ(p.x, c.x);
      EXPECT_EQ(p.y, c.y);
    }
    EXPECT_EQ(d.EntN(), 0);
  }
}

TEST(ReaderIndicatedPoints, RefillingASlotCountsAgain) {
  TJGdata d = Read("hp3 1 2\nhp3ci 5 6\nhp4 0 0\n");
  EXPECT_EQ(d.IPointN, 3);
  EXPECT_EQ(d.IPoints[3].x, 5.0);
  EXPECT_EQ(d.IPoints[3].sta, 3);
}

TEST(ReaderIndicatedPoints, References) {
  struct Case {
    const char* line;
    int no;
  } cases[] = {
      {"hhp12ci", 12}, {"hhp7", 7}, {"hhp5ch", 5},   {"hhp6ln", 6},
      {"hhp", 0},      {"hhpx", 0}, {"hhp8 1 2", 8}, {"hhp9chci", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TJGdata d = Read(c.line);
    EXPECT_EQ(d.w_IPNo, c.no);
    EXPECT_EQ(d.IPointN, 0);
  }
}

TEST(ReaderIndicatedPoints, ReferenceAppliesToTheNextEntityOnly) {
  TJGdata d = Read("z2\nhhp5\n0 0 1 1\n0 0 2 2\n");
  ASSERT_EQ(d.EntLineN(), 2);
  EXPECT_EQ(d.EntLine[0].att.Attr, 2);
  EXPECT_EQ(d.EntLine[0].att.IPNo, 5);
  EXPECT_EQ(d.EntLine[1].att.Attr, 0);
  EXPECT_EQ(d.EntLine[1].att.IPNo, 0);
  EXPECT_EQ(d.w_IPNo, 0);
  EXPECT_EQ(d.w_Attr, 0);
}

TEST(ReaderUnknown, UnrecognisedLinesChangeNothing) {
  const TJGdata fresh;
  for (const char* line :
       {"hd", "hq", "xyz 1 2", "1 2 3", "1 2 3 4 5", "BL 1 2", "sl 1 2 3 4 5 6 7",
        "sc 1 2 3 4 5 6 7", "pt 1 2 3 4", "ch 1 2 3 4", "ci"}) {
    SCOPED_TRACE(line);
    TJGdata d = Read(line);
    EXPECT_EQ(d.EntN(), 0);
    EXPECT_EQ(d.w_Col, fresh.w_Col);
    EXPECT_EQ(d.w_LGrp, fresh.w_LGrp);
    EXPECT_EQ(d.w_FlgCol, true);
  }
}

}  // namespace
}  // namespace vardo
