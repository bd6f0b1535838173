// Drawing document model: initial values, the order list, setters, A_Line, colour
// and line-type mappings, screen colours, the scale rule.
#include <gtest/gtest.h>

#include <limits>

#include "document/model.h"

namespace vardo {
namespace {

TEST(Model, NewDocumentHasTheInitialValues) {
  TJGdata d;
  EXPECT_EQ(d.EntN(), 0);
  EXPECT_EQ(d.EntLineN() + d.EntCircN() + d.EntTextN() + d.EntDimN() + d.EntBlkN(), 0);
  EXPECT_EQ(d.t_MemN(), 0);
  for (double s : d.LGrpScale)
    EXPECT_EQ(s, 1.0);
  EXPECT_EQ(d.ZumenXsize, 1189.0);
  EXPECT_EQ(d.ZumenYsize, 841.0);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_EQ(d.Mojisyu[k].w, 3.0);
    EXPECT_EQ(d.Mojisyu[k].h, 3.0);
    EXPECT_EQ(d.Mojisyu[k].d, 0.0);
    EXPECT_EQ(d.Mojisyu[k].c, 2);
  }
  EXPECT_EQ(d.w_Font, u"<ＭＳ ゴシック>");
  EXPECT_EQ(d.w_Col, 1);
  EXPECT_EQ(d.w_Ltp, 1);
  EXPECT_EQ(d.w_Mjs, 1);
  EXPECT_EQ(d.w_MjsW, 2.0);
  EXPECT_EQ(d.w_PtCol, 1);
  EXPECT_EQ(d.CurCol, 1);
  EXPECT_EQ(d.CurLtp, 1);
  EXPECT_EQ(d.CurMjs, 1);
  EXPECT_TRUE(d.CurFont.empty());
  EXPECT_FALSE(d.MojiCode);
  EXPECT_FALSE(d.Zusun);
  EXPECT_FALSE(d.WidF);
  EXPECT_EQ(d.IPointN, 0);
  EXPECT_EQ(d.EntSunLine.att.Col, 1);
  EXPECT_EQ(d.EntSunLine.att.Ltp, 1);
  EXPECT_EQ(d.EntSunLine.x2, 1.0);
  EXPECT_TRUE(d.w_FlgLGrp && d.w_FlgSCol);
}

TEST(Model, DataInitResetsAnUsedDocument) {
  TJGdata d;
  d.A_Line(0, 0, 1, 1);
  d.SendMem(u"hd");
  d.w_Col = 9;
  d.LGrpScale[3] = 5;
  d.DataInit();
  EXPECT_EQ(d.EntN(), 0);
  EXPECT_EQ(d.EntLineN(), 0);
  EXPECT_EQ(d.t_MemN(), 0);
  EXPECT_EQ(d.w_Col, 1);
  EXPECT_EQ(d.LGrpScale[3], 1.0);
}

TEST(Model, ALineAddsOrDropsDegenerateSegments) {
  TJGdata d;
  d.A_Line(5, 5, 5 + 1e-11, 5);
  EXPECT_EQ(d.EntN(), 0);
  d.A_Line(0, 0, 1e-9, 0);
  ASSERT_EQ(d.EntN(), 1);
  EXPECT_EQ(d.EntNo[0].yn, kEntLine);
  EXPECT_EQ(d.EntNo[0].no, 0);
  EXPECT_EQ(d.EntLine[0].x2, 1e-9);
  EXPECT_EQ(d.EntLine[0].CrvNo, 0);
}

TEST(Model, ALineTakesTheCurrentAttributes) {
  TJGdata d;
  d.A_LGrp(3);
  d.A_Lay(4);
  d.A_Col(5, 0);
  d.A_Ltp(6, 0);
  d.A_Attr(24);
  d.w_Wid = 2;
  d.w_IPNo = 7;
  d.A_Line(0, 0, 1, 1);
  const TEntAttr& a = d.EntLine[0].att;
  EXPECT_EQ(a.LGrp, 3);
  EXPECT_EQ(a.Lay, 4);
  EXPECT_EQ(a.Col, 5);
  EXPECT_EQ(a.Ltp, 6);
  EXPECT_EQ(a.Attr, 16);  // 8 and 16: 16 wins
  EXPECT_EQ(a.Wid, 2);
  EXPECT_EQ(a.IPNo, 7);
}

TEST(Model, AttrSetter) {
  TJGdata d;
  struct Case {
    int b, attr;
  } cases[] = {{24, 16}, {1, 1}, {8, 8}, {31, 23}, {7, 7}, {32, 0}, {-1, 23}};
  for (const auto& c : cases) {
    d.A_Attr(c.b);
    EXPECT_EQ(d.w_Attr, c.attr) << c.b;
  }
}

TEST(Model, ColourAndLineTypeMappings) {
  TJGdata d;
  d.CurCol = 4;
  d.CurLtp = 3;
  EXPECT_EQ(d.MapColNo(0), 4);
  EXPECT_EQ(d.MapColNo(-2), 4);
  EXPECT_EQ(d.MapColNo(9), 9);
  EXPECT_EQ(d.MapColNo(10), 101);
  EXPECT_EQ(d.MapColNo(265), 356);
  EXPECT_EQ(d.MapLtpNo(0), 3);
  EXPECT_EQ(d.MapLtpNo(9), 9);
  EXPECT_EQ(d.MapLtpNo(10), 11);
  EXPECT_EQ(d.MapLtpNo(18), 19);
  EXPECT_EQ(d.MapLtpNo(19), 31);
  EXPECT_EQ(d.MapLtpNo(50), 62);
  d.A_Col(10, 1);
  EXPECT_EQ(d.w_Col, 101);
  EXPECT_EQ(d.aCol, 0);
  d.A_PCol(2, 1);
  EXPECT_EQ(d.w_PtCol, 2);
  d.A_Col(1, 0);
  EXPECT_EQ(d.aCol, 0 + 256 * 192 + 65536 * 192);
  d.A_Ltp(19, 1);
  EXPECT_EQ(d.w_Ltp, 31);
  d.A_Ltp(19, 0);
  EXPECT_EQ(d.w_Ltp, 19);
}

TEST(Model, ScreenColours) {
  auto rgb = [](int r, int g, int b) { return r + 256 * g + 65536 * b; };
  EXPECT_EQ(TJGdata::GetColorDisp(1), rgb(0, 192, 192));
  EXPECT_EQ(TJGdata::GetColorDisp(6), rgb(0, 0, 255));
  EXPECT_EQ(TJGdata::GetColorDisp(8), rgb(255, 0, 128));
  EXPECT_EQ(TJGdata::GetColorDisp(9), rgb(255, 128, 255));
  EXPECT_EQ(TJGdata::GetColorDisp(102), rgb(255, 0, 0));
  EXPECT_EQ(TJGdata::GetColorDisp(110), rgb(192, 128, 64));
  EXPECT_EQ(TJGdata::GetColorDisp(116), rgb(128, 128, 128));
  for (int c : {0, 10, 100, 117, 356, -1})
    EXPECT_EQ(TJGdata::GetColorDisp(c), 0) << c;
}

TEST(Model, OrderListAndTablesStayInStep) {
  TJGdata d;
  for (int i = 0; i < 1500; ++i)
    d.A_Line(0, 0, i + 1, 0);
  // The clear-hatch operation drops the newest 600 lines from the end.
  d.EntNo.resize(900);
  d.EntLine.resize(900);
  d.A_Line(0, 0, -1, 0);
  ASSERT_EQ(d.EntN(), 901);
  EXPECT_EQ(d.EntNo[900].no, 900);
  EXPECT_EQ(d.EntLine[900].x2, -1.0);
}

TEST(Model, ScaleOf) {
  TJGdata d;
  d.LGrpScale[1] = 50;
  d.LGrpScale[2] = 0;
  d.LGrpScale[3] = -5;
  d.LGrpScale[4] = std::numeric_limits<double>::infinity();
  d.LGrpScale[5] = std::numeric_limits<double>::quiet_NaN();
  d.LGrpScale[6] = -0.0;
  d.LGrpScale[7] = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(d.ScaleOf(0), 1.0);
  EXPECT_EQ(d.ScaleOf(1), 50.0);
  EXPECT_EQ(d.ScaleOf(2), 1.0);
  EXPECT_EQ(d.ScaleOf(3), -5.0);
  EXPECT_EQ(d.ScaleOf(4), 1.0);
  EXPECT_EQ(d.ScaleOf(5), 1.0);
  EXPECT_EQ(d.ScaleOf(6), 1.0);
  EXPECT_EQ(d.ScaleOf(7), 1.0);
  EXPECT_EQ(d.ScaleOf(16), 1.0);
  EXPECT_EQ(d.ScaleOf(-1), 1.0);
  d.Zusun = true;
  EXPECT_EQ(d.ScaleOf(1), 1.0);
  EXPECT_EQ(d.ScaleOf(3), 1.0);
}

}  // namespace
}  // namespace vardo
