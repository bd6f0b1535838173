// The drawing document TJGdata: initial values, entity order, attribute setters, added lines.

#include "document/model.h"

namespace vardo {

namespace {

constexpr int Rgb(int r, int g, int b) {
  return r + 256 * g + 65536 * b;
}

}  // namespace

TJGdata::TJGdata() {
  DataInit();
}

void TJGdata::DataInit() {
  // Every field back to its initial value; the tables empty.
  w_FlgLGrp = w_FlgLay = w_FlgCol = w_FlgLtp = w_FlgWid = true;
  w_FlgMjs = w_FlgMbs = w_FlgFont = w_FlgPCol = w_FlgSCol = true;
  w_IPNo = 0;
  w_LGrp = w_Lay = 0;
  w_Col = 1, w_Ltp = 1, w_Wid = 0;
  w_Mjs = 1;
  w_MjsW = 2.0, w_MjsH = 2.0, w_MjsD = 0.0;
  w_MjsC = 1;
  w_Mbs = 0;
  w_Font = u"<ＭＳ ゴシック>";
  w_Attr = 0;
  w_CrvNo = 0;
  w_CrvFl = w_DimFl = false;
  w_PtCol = 1;
  w_SlCol = 0;
  MojiCode = false;
  Jikukaku = 0.0;
  ZumenFile.clear();
  LGrpScale.fill(1.0);
  ZumenXsize = 1189.0, ZumenYsize = 841.0;
  Mojisyu.fill(TMojiStyle{});
  RGB.fill(0);
  Zusun = false;
  AreaX1 = AreaY1 = AreaX2 = AreaY2 = 0.0;
  CurLGrp = 0, CurLay = 0, CurCol = 1, CurLtp = 1, CurWid = 0, CurMjs = 1;
  CurMjsW = 2.0, CurMjsH = 2.0, CurMjsD = 0.0;
  CurMjsC = 1;
  CurFont.clear();
  IPoints.fill(TIndPoint{});
  IPointN = 0;
  WidF = false;
  LGrpStat.fill(0);
  for (auto& s : LGrpName)
    s.clear();
  LayStat.fill(0);
  for (auto& s : LayName)
    s.clear();
  EntSunLine = TEntLine{};
  EntSunLine.att.Col = 1;
  EntSunLine.att.Ltp = 1;
  EntSunLine.x2 = 1.0;
  aCol = aSCol = 0;
  DataFree();
}

void TJGdata::DataFree() {
  EntNo = {};
  EntLine = {};
  EntCirc = {};
  EntArc = {};
  EntText = {};
  EntPnt = {};
  EntMark = {};
  EntDim = {};
  EntBlk = {};
  EntSld2 = {};
  EntSld3 = {};
  EntSld4 = {};
  EntSldC = {};
  EntSldE = {};
  EntSldO = {};
  EntSldG = {};
  t_Mem = {};
}

void TJGdata::SetEntNo(int yn, int no) {
  EntNo.push_back(TEntNo{yn, no});
}

void TJGdata::SetEntAttr(TEntAttr& att) const {
  att.IPNo = w_IPNo;
  att.LGrp = w_LGrp;
  att.Lay = w_Lay;
  att.Col = w_Col;
  att.Ltp = w_Ltp;
  att.Wid = w_Wid;
  att.Attr = w_Attr;
}

int TJGdata::GetColorDisp(int col) {
  switch (col) {
    case 1:
      return Rgb(0, 192, 192);
    case 2:
      return Rgb(0, 0, 0);
    case 3:
      return Rgb(0, 192, 0);
    case 4:
      return Rgb(192, 192, 0);
    case 5:
      return Rgb(192, 0, 192);
    case 6:
      return Rgb(0, 0, 255);
    case 7:
      return Rgb(0, 128, 128);
    case 8:
      return Rgb(255, 0, 128);
    case 9:
      return Rgb(255, 128, 255);
    case 101:
      return Rgb(0, 0, 0);
    case 102:
      return Rgb(255, 0, 0);
    case 103:
      return Rgb(0, 255, 0);
    case 104:
      return Rgb(0, 0, 255);
    case 105:
      return Rgb(255, 255, 0);
    case 106:
      return Rgb(255, 0, 255);
    case 107:
      return Rgb(0, 255, 255);
    case 108:
      return Rgb(0, 0, 0);
    case 109:
      return Rgb(192, 0, 128);
    case 110:
      return Rgb(192, 128, 64);
    case 111:
      return Rgb(255, 128, 0);
    case 112:
      return Rgb(128, 192, 128);
    case 113:
      return Rgb(0, 128, 255);
    case 114:
      return Rgb(128, 64, 255);
    case 115:
      return Rgb(192, 192, 192);
    case 116:
      return Rgb(128, 128, 128);
    default:
      return 0;
  }
}

int TJGdata::MapColNo(int i) const {
  if (i <= 0) return CurCol;
  if (i <= 9) return i;
  return i + 91;
}

int TJGdata::MapLtpNo(int i) const {
  if (i <= 0) return CurLtp;
  if (i <= 9) return i;
  if (i <= 18) return i + 1;
  return i + 12;
}

void TJGdata::A_Col(int c, int m) {
  if (m == 1) c = MapColNo(c);
  w_Col = c;
  aCol = GetColorDisp(c);
}

void TJGdata::A_PCol(int c, int m) {
  if (m == 1) c = MapColNo(c);
  w_PtCol = c;
  aCol = GetColorDisp(c);
}

void TJGdata::A_Ltp(int t, int m) {
  if (m == 1) t = MapLtpNo(t);
  w_Ltp = t;
}

void TJGdata::A_Attr(int b) {
  int v = (b & 1) + (b & 2) + (b & 4);
  if ((b & 16) != 0) {
    v += 16;
  } else if ((b & 8) != 0) {
    v += 8;
  }
  w_Attr = v;
}

void TJGdata::A_Line(double x1, double y1, double x2, double y2) {
  if (DegenerateLine(x1, y1, x2, y2)) return;
  SetEntNo(kEntLine, EntLineN());
  TEntLine& e = EntLine.emplace_back();
  SetEntAttr(e.att);
  e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2;
}

double TJGdata::ScaleOf(int lgrp) const {
  if (Zusun || lgrp < 0 || lgrp > 15) return 1.0;
  return UsableScale(LGrpScale[lgrp]);
}

}  // namespace vardo
