// Exchange-file writer: change-only attribute commands, entity commands, the atomic save.
#include <cmath>
#include <tuple>

#include "common/file_io.h"
#include "common/geometry.h"
#include "common/numbers.h"
#include "common/strings.h"
#include "document/model.h"
#include "document/text_codec.h"

namespace vardo {

namespace {

constexpr std::u16string_view kTextKeywords[] = {u"ch", u"cv", u"cs", u"cr", u"co",
                                                 u"cp", u"ct", u"ck", u"cz", u"c2"};

bool Degenerate(double x1, double y1, double x2, double y2) {
  return std::fabs(x2 - x1) < 1e-10 && std::fabs(y2 - y1) < 1e-10;
}

// The writer's rule for the corners of a solid: closer than 1e-10 in both directions they are
// one corner, and the solid is written with fewer corners or not at all.
bool SameCornerOnWriting(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) < 1e-10 && std::fabs(ay - by) < 1e-10;
}

// One upper-case hexadecimal digit for layer groups and layers (more digits for values the
// reader never produces).
void AppendHex(std::u16string& out, int v) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  unsigned u = static_cast<unsigned>(v);
  char buf[8];
  int n = 0;
  do {
    buf[n++] = kHex[u & 15];
    u >>= 4;
  } while (u != 0);
  while (n > 0)
    out.push_back(static_cast<char16_t>(buf[--n]));
}

// Appends " " and each value.
void AppendFloats(std::u16string& out, std::initializer_list<double> values) {
  for (double v : values) {
    out.push_back(u' ');
    AppendFloatStr(out, v);
  }
}

}  // namespace

// The overrides of S_EntAll, resolved once: -1 keeps the entity's own value.
struct TJGdata::Overrides {
  int lgrp = -1, lay = -1, col = -1, ltp = -1, wid = -1, text_col = -1, mbs = -1, solid_rgb = 0;
};

void TJGdata::S_Init() {
  w_FlgLGrp = w_FlgLay = w_FlgCol = w_FlgLtp = w_FlgWid = true;
  w_FlgMjs = w_FlgMbs = w_FlgFont = w_FlgPCol = w_FlgSCol = true;
  w_LGrp = 0, w_Lay = 0, w_Col = 1, w_Ltp = 1, w_Wid = 0;
  w_Mjs = 1, w_MjsW = 2.0, w_MjsH = 2.0, w_MjsD = 0.0, w_MjsC = 1;
  w_Mbs = 0;
  w_Font = u"<ＭＳ ゴシック>";
  w_PtCol = 1;
  w_SlCol = 0;
}

void TJGdata::S_LGrp(int v) {
  if (!w_FlgLGrp && v == w_LGrp) return;
  line_ = u"lg";
  AppendHex(line_, v);
  SendMem(line_);
  w_LGrp = v;
  w_FlgLGrp = false;
  w_FlgLay = true;  // a layer command always follows a layer group command
}

void TJGdata::S_Lay(int v) {
  if (!w_FlgLay && v == w_Lay) return;
  line_ = u"ly";
  AppendHex(line_, v);
  SendMem(line_);
  w_Lay = v;
  w_FlgLay = false;
}

void TJGdata::S_Col(int c, int m) {
  if (m == 1) c = MapColNo(c);
  if (!w_FlgCol && c == w_Col) return;
  line_ = u"lc";
  AppendIntStr(line_, c);
  SendMem(line_);
  w_Col = c;
  w_FlgCol = w_FlgSCol = false;
}

void TJGdata::S_SCol(int c) {
  if (c < 0 || c > 16777215) c = 0;
  if (!w_FlgCol && w_Col == 10 && !w_FlgSCol && c == w_SlCol) return;
  line_ = u"lc10 ";
  AppendIntStr(line_, c);
  SendMem(line_);
  w_SlCol = c;
  w_Col = 10;
  w_FlgCol = w_FlgSCol = false;
}

void TJGdata::S_Ltp(int t, int m) {
  if (m == 1) t = MapLtpNo(t);
  if (!w_FlgLtp && t == w_Ltp) return;
  line_ = u"lt";
  AppendIntStr(line_, t);
  SendMem(line_);
  w_Ltp = t;
  w_FlgLtp = false;
}

void TJGdata::S_Wid(int w) {
  if (!WidF) return;
  if (w == -1) w = CurWid;
  if (w < 0 || w > 30000) w = 0;
  if (!w_FlgWid && w == w_Wid) return;
  line_ = u"lw";
  AppendIntStr(line_, w);
  SendMem(line_);
  w_Wid = w;
  w_FlgWid = false;
}

void TJGdata::S_Mjs(int s, int c, double w, double h, double d, int m) {
  if (m == 1) c = MapColNo(c);
  if (s < 0 || s > 10) {
    s = CurMjs;
    if (s == 0) w = CurMjsW, h = CurMjsH, d = CurMjsD, c = CurMjsC;
  }
  bool changed = w_FlgMjs || s != w_Mjs ||
                 (s == 0 && (w != w_MjsW || h != w_MjsH || d != w_MjsD || c != w_MjsC));
  if (!changed) return;
  line_ = u"cn";
  AppendIntStr(line_, s);
  if (s == 0) {
    AppendFloats(line_, {w, h, d, static_cast<double>(c)});
    w_MjsW = w, w_MjsH = h, w_MjsD = d, w_MjsC = c;
  }
  SendMem(line_);
  w_Mjs = s;
  w_FlgMjs = false;
}

void TJGdata::S_Mbs(int m) {
  if (m < 0 || m > 8) m = 0;
  if (!w_FlgMbs && m == w_Mbs) return;
  line_ = u"cc";
  AppendIntStr(line_, m);
  SendMem(line_);
  w_Mbs = m;
  w_FlgMbs = false;
}

void TJGdata::S_Font(std::u16string_view name) {
  if (name.empty() || name == u"<>") name = CurFont;
  if (!w_FlgFont && name == w_Font) return;
  line_ = u"cn\"$";
  line_.append(name);
  SendMem(line_);
  w_Font = name;
  w_FlgFont = false;
}

void TJGdata::S_PCol(int c, int m) {
  if (m == 1) c = MapColNo(c);
  if (!w_FlgPCol && c == w_PtCol) return;
  line_ = u"pn";
  AppendIntStr(line_, c);
  SendMem(line_);
  w_PtCol = c;
  w_FlgPCol = false;
}

void TJGdata::S_Attr(int bits) {
  if (bits & 1) SendMem(u"z1");
  if (bits & 2) SendMem(u"z2");
  if (bits & 4) SendMem(u"z3");
  if ((bits & 8) && !(bits & 16)) SendMem(u"z4");
  if (bits & 16) SendMem(u"z5");
}

// --- which geometry gets written: shared by the command writers and S_EntAll ---

namespace {

bool LineWritable(double x1, double y1, double x2, double y2) {
  return !Degenerate(x1, y1, x2, y2);
}
bool CircleWritable(double r) {
  return r > 1e-10;
}
bool ArcWritable(double r, double he) {
  return r > 1e-10 && std::fabs(he) > 1e-10;
}
bool TextWritable(std::u16string_view st, double x2, double y2) {
  return !(std::fabs(x2) <= 1e-10 && std::fabs(y2) <= 1e-10) && !DelBlanks(st).empty();
}
bool DimWritable(double lx1, double ly1, double lx2, double ly2, double tx2, double ty2) {
  return !Degenerate(lx1, ly1, lx2, ly2) && !(std::fabs(tx2) <= 1e-10 && std::fabs(ty2) <= 1e-10);
}
bool Solid2Writable(double x1, double y1, double x2, double y2) {
  return !SameCornerOnWriting(x1, y1, x2, y2);
}
bool Solid3Writable(double x1, double y1, double x2, double y2, double x3, double y3) {
  return !SameCornerOnWriting(x1, y1, x2, y2) && !SameCornerOnWriting(x2, y2, x3, y3) &&
         !SameCornerOnWriting(x3, y3, x1, y1);
}
bool SolidCWritable(double r, double he, int fl) {
  return ArcWritable(r, he) && (fl == 0 || fl == 5 || fl == 100 || fl == -1);
}
bool SolidDWritable(double r, double he, int fl) {
  return ArcWritable(r, he) && (fl == 0 || fl == 100);
}
bool RingWritable(double r, double he, double ri) {
  return ArcWritable(r, he) && ri > 1e-10 && ri < r - 1e-10;
}

// What S_Solid4 makes of four corners: a three-corner solid, nothing, or all four.
enum class Solid4Shape { kThree, kNone, kFour };
Solid4Shape ReduceSolid4(double& x1, double& y1, double& x2, double& y2, double& x3, double& y3,
                         double x4, double y4) {
  if (SameCornerOnWriting(x2, y2, x1, y1)) {
    x2 = x3, y2 = y3, x3 = x4, y3 = y4;
    return Solid4Shape::kThree;
  }
  if (SameCornerOnWriting(x3, y3, x1, y1)) return Solid4Shape::kNone;
  if (SameCornerOnWriting(x4, y4, x1, y1)) return Solid4Shape::kThree;
  if (SameCornerOnWriting(x3, y3, x2, y2)) {
    x3 = x4, y3 = y4;
    return Solid4Shape::kThree;
  }
  if (SameCornerOnWriting(x4, y4, x2, y2)) return Solid4Shape::kNone;
  if (SameCornerOnWriting(x4, y4, x3, y3)) return Solid4Shape::kThree;
  return Solid4Shape::kFour;
}

bool Solid4Writable(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                    double y4) {
  switch (ReduceSolid4(x1, y1, x2, y2, x3, y3, x4, y4)) {
    case Solid4Shape::kThree:
      return Solid3Writable(x1, y1, x2, y2, x3, y3);
    case Solid4Shape::kNone:
      return false;
    case Solid4Shape::kFour:
      break;
  }
  return true;
}

}  // namespace

void TJGdata::S_Line(double x1, double y1, double x2, double y2) {
  if (!LineWritable(x1, y1, x2, y2)) return;
  line_.clear();
  AppendFloatStr(line_, x1);
  AppendFloats(line_, {y1, x2, y2});
  SendMem(line_);
}

void TJGdata::S_Ten(double x, double y) {
  line_ = u"pt";
  AppendFloats(line_, {x, y});
  SendMem(line_);
}

void TJGdata::S_Mark(double x, double y, double size, double angle, int code) {
  if (code < -7 || code > 11) code = -3;
  if (std::fabs(size) <= 1e-10) size = 1.0;
  line_ = u"pt";
  AppendFloats(line_, {x, y, size, angle});
  line_.push_back(u' ');
  AppendIntStr(line_, code);
  SendMem(line_);
}

void TJGdata::S_Circle(double x, double y, double r) {
  if (!CircleWritable(r)) return;
  line_ = u"ci";
  AppendFloats(line_, {x, y, r});
  SendMem(line_);
}

void TJGdata::S_Arc(double x, double y, double r, double sa, double ea, double he, double ka) {
  if (!ArcWritable(r, he)) return;
  line_ = u"ci";
  AppendFloats(line_, {x, y, r, sa, ea, he, ka});
  SendMem(line_);
}

void TJGdata::S_Text(int no, std::u16string_view st, double x1, double y1, double x2, double y2) {
  if (!TextWritable(st, x2, y2)) return;
  line_ = (no >= 1 && no <= 9) ? kTextKeywords[no] : kTextKeywords[0];
  AppendFloats(line_, {x1, y1, x2, y2});
  line_ += u" \"";
  line_.append(st);
  SendMem(line_);
}

void TJGdata::S_Dim(std::u16string_view st, double lx1, double ly1, double lx2, double ly2,
                    double tx1, double ty1, double tx2, double ty2) {
  if (!DimWritable(lx1, ly1, lx2, ly2, tx2, ty2)) return;
  std::u16string text(st);
  if (DelBlanks(st).empty()) {
    // The line's length to the nearest 1e-10; a length too large for that rounding stays as
    // it is.
    double length = Distance(lx1, ly1, lx2, ly2);
    if (!std::isfinite(length)) length = std::hypot(lx2 - lx1, ly2 - ly1);  // squares overflowed
    double rounded = std::trunc(length / 1e-10 + 0.5) * 1e-10;
    text = FloatStr(std::isfinite(rounded) ? rounded : length);
  }
  SendMem(u"msg");
  line_.clear();
  AppendFloatStr(line_, lx1);
  AppendFloats(line_, {ly1, lx2, ly2});
  SendMem(line_);
  line_ = u"cs";
  AppendFloats(line_, {tx1, ty1, tx2, ty2});
  line_ += u" \"";
  line_ += text;
  SendMem(line_);
}

void TJGdata::S_Solid2(double x1, double y1, double x2, double y2) {
  if (!Solid2Writable(x1, y1, x2, y2)) return;
  line_ = u"sl";
  AppendFloats(line_, {x1, y1, x2, y2});
  SendMem(line_);
}

void TJGdata::S_Solid3(double x1, double y1, double x2, double y2, double x3, double y3) {
  if (!Solid3Writable(x1, y1, x2, y2, x3, y3)) return;
  line_ = u"sl";
  AppendFloats(line_, {x1, y1, x2, y2, x3, y3});
  SendMem(line_);
}

void TJGdata::S_Solid4(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                       double y4) {
  switch (ReduceSolid4(x1, y1, x2, y2, x3, y3, x4, y4)) {
    case Solid4Shape::kThree:
      return S_Solid3(x1, y1, x2, y2, x3, y3);
    case Solid4Shape::kNone:
      return;
    case Solid4Shape::kFour:
      break;
  }
  line_ = u"sl";
  AppendFloats(line_, {x1, y1, x2, y2, x3, y3, x4, y4});
  SendMem(line_);
}

void TJGdata::S_SolidC(double x, double y, double r, double he, double ka, double sa, double da,
                       int fl) {
  if (!SolidCWritable(r, he, fl)) return;
  line_ = u"sc";
  AppendFloats(line_, {x, y, r, he, ka, sa, da});
  line_.push_back(u' ');
  AppendIntStr(line_, fl);
  SendMem(line_);
}

void TJGdata::S_SolidD(double x, double y, double r, double he, double ka, double sa, double da,
                       int fl) {
  if (!SolidDWritable(r, he, fl)) return;
  line_ = u"se";
  AppendFloats(line_, {x, y, r, he, ka, sa, da});
  line_.push_back(u' ');
  AppendIntStr(line_, fl);
  SendMem(line_);
}

void TJGdata::S_SolidO(double x, double y, double r, double he, double ka, double sa, double da,
                       double ri) {
  if (!RingWritable(r, he, ri)) return;
  line_ = u"so";
  AppendFloats(line_, {x, y, r, he, ka, sa, da, ri});
  SendMem(line_);
}

void TJGdata::S_SolidG(double x, double y, double r, double he, double ka, double sa, double da,
                       double ri) {
  if (!RingWritable(r, he, ri)) return;
  line_ = u"sg";
  AppendFloats(line_, {x, y, r, he, ka, sa, da, ri});
  SendMem(line_);
}

bool TJGdata::EntityWritable(const TEntNo& en) const {
  const size_t k = static_cast<size_t>(en.no);
  switch (en.yn) {
    case kEntLine: {
      const TEntLine& e = EntLine[k];
      return LineWritable(e.x1, e.y1, e.x2, e.y2);
    }
    case kEntCirc:
      return CircleWritable(EntCirc[k].cr);
    case kEntArc:
      return ArcWritable(EntArc[k].cr, EntArc[k].he);
    case kEntText: {
      const TEntText& e = EntText[k];
      return TextWritable(e.st, e.x2, e.y2);
    }
    case kEntPnt:
    case kEntMark:
      return true;
    case kEntDim: {
      const TEntDim& e = EntDim[k];
      return DimWritable(e.lin.x1, e.lin.y1, e.lin.x2, e.lin.y2, e.txt.x2, e.txt.y2);
    }
    case kEntSld2: {
      const TEntSld2& e = EntSld2[k];
      return Solid2Writable(e.x1, e.y1, e.x2, e.y2);
    }
    case kEntSld3: {
      const TEntSld3& e = EntSld3[k];
      return Solid3Writable(e.x1, e.y1, e.x2, e.y2, e.x3, e.y3);
    }
    case kEntSld4: {
      const TEntSld4& e = EntSld4[k];
      return Solid4Writable(e.x1, e.y1, e.x2, e.y2, e.x3, e.y3, e.x4, e.y4);
    }
    case kEntSldC:
      return SolidCWritable(EntSldC[k].cr, EntSldC[k].he, EntSldC[k].fl);
    case kEntSldE:
      return SolidDWritable(EntSldE[k].cr, EntSldE[k].he, EntSldE[k].fl);
    case kEntSldO:
      return RingWritable(EntSldO[k].cr, EntSldO[k].he, EntSldO[k].ri);
    case kEntSldG:
      return RingWritable(EntSldG[k].cr, EntSldG[k].he, EntSldG[k].ri);
    default:
      return false;  // blocks are not written
  }
}

// --- whole entities ---

void TJGdata::WriteLayer(const TEntAttr& att, const Overrides& o) {
  S_LGrp(o.lgrp >= 0 ? o.lgrp : att.LGrp);
  S_Lay(o.lay >= 0 ? o.lay : att.Lay);
}

void TJGdata::WriteLineAttrs(const TEntAttr& att, const Overrides& o) {
  S_Col(o.col != -1 ? o.col : att.Col, 0);
  S_Ltp(o.ltp != -1 ? o.ltp : att.Ltp, 0);
  S_Wid(o.wid != -1 ? o.wid : att.Wid);
}

void TJGdata::WriteSolidColour(const TEntAttr& att, int color, const Overrides& o) {
  int col = o.col != -1 ? o.col : att.Col;
  if (col != 10) return S_Col(col, 0);
  S_SCol(o.col == 10 ? o.solid_rgb : color);
}

void TJGdata::WriteTextStyle(const TEntText& t, const Overrides& o) {
  if (o.text_col != -1) {
    S_Mjs(0, o.text_col, t.mw, t.mh, t.md, 0);
  } else {
    S_Mjs(t.cn, t.att.Col, t.mw, t.mh, t.md, 0);
  }
  S_Mbs(o.mbs != -1 ? o.mbs : t.cc);
  S_Font(t.fo);
}

void TJGdata::S_EntLine(const TEntLine& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteLineAttrs(e.att, o);
  S_Attr(e.att.Attr);
  S_Line(e.x1, e.y1, e.x2, e.y2);
}

void TJGdata::S_EntCirc(const TEntCircle& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteLineAttrs(e.att, o);
  S_Attr(e.att.Attr);
  S_Circle(e.cx, e.cy, e.cr);
}

void TJGdata::S_EntArc(const TEntArc& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteLineAttrs(e.att, o);
  S_Attr(e.att.Attr);
  S_Arc(e.cx, e.cy, e.cr, e.sa, e.ea, e.he, e.ka);
}

void TJGdata::S_EntPnt(const TEntPnt& e, const Overrides& o) {
  WriteLayer(e.att, o);
  S_PCol(o.col != -1 ? o.col : e.att.Col, 0);
  S_Wid(o.wid != -1 ? o.wid : e.att.Wid);
  S_Attr(e.att.Attr);
  S_Ten(e.px, e.py);
}

void TJGdata::S_EntMark(const TEntMark& e, const Overrides& o) {
  WriteLayer(e.att, o);
  S_PCol(o.col != -1 ? o.col : e.att.Col, 0);
  S_Wid(o.wid != -1 ? o.wid : e.att.Wid);
  S_Attr(e.att.Attr);
  S_Mark(e.px, e.py, e.bai, e.ang, e.cod);
}

void TJGdata::S_EntText(const TEntText& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteTextStyle(e, o);
  S_Attr(e.att.Attr);
  S_Text(e.no, e.st, e.x1, e.y1, e.x2, e.y2);
}

void TJGdata::S_EntDim(const TEntDim& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteLineAttrs(e.lin.att, o);
  WriteTextStyle(e.txt, o);
  S_Attr(e.att.Attr);
  S_Dim(e.txt.st, e.lin.x1, e.lin.y1, e.lin.x2, e.lin.y2, e.txt.x1, e.txt.y1, e.txt.x2, e.txt.y2);
}

void TJGdata::S_EntSld2(const TEntSld2& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteSolidColour(e.att, e.Color, o);
  S_Wid(o.wid != -1 ? o.wid : e.att.Wid);
  S_Attr(e.att.Attr);
  S_Solid2(e.x1, e.y1, e.x2, e.y2);
}

void TJGdata::S_EntSld3(const TEntSld3& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteSolidColour(e.att, e.Color, o);
  S_Attr(e.att.Attr);
  S_Solid3(e.x1, e.y1, e.x2, e.y2, e.x3, e.y3);
}

void TJGdata::S_EntSld4(const TEntSld4& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteSolidColour(e.att, e.Color, o);
  S_Attr(e.att.Attr);
  S_Solid4(e.x1, e.y1, e.x2, e.y2, e.x3, e.y3, e.x4, e.y4);
}

void TJGdata::S_EntSldC(const TEntSldC& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteSolidColour(e.att, e.Color, o);
  S_Attr(e.att.Attr);
  S_SolidC(e.cx, e.cy, e.cr, e.he, e.ka, e.sa, e.da, e.fl);
}

void TJGdata::S_EntSldE(const TEntSldC& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteSolidColour(e.att, e.Color, o);
  S_Wid(o.wid != -1 ? o.wid : e.att.Wid);
  S_Attr(e.att.Attr);
  S_SolidD(e.cx, e.cy, e.cr, e.he, e.ka, e.sa, e.da, e.fl);
}

void TJGdata::S_EntSldO(const TEntSldD& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteSolidColour(e.att, e.Color, o);
  S_Attr(e.att.Attr);
  S_SolidO(e.cx, e.cy, e.cr, e.he, e.ka, e.sa, e.da, e.ri);
}

void TJGdata::S_EntSldG(const TEntSldD& e, const Overrides& o) {
  WriteLayer(e.att, o);
  WriteSolidColour(e.att, e.Color, o);
  S_Attr(e.att.Attr);
  S_SolidG(e.cx, e.cy, e.cr, e.he, e.ka, e.sa, e.da, e.ri);
}

void TJGdata::S_EntAll(int a1, int a2, int a3, int a4, int a5, int a6, int a7, int a8,
                       const StopPoll& stop) {
  Overrides o;
  o.lgrp = (a1 >= 0 && a1 <= 15) ? a1 : -1;
  o.lay = (a2 >= 0 && a2 <= 15) ? a2 : -1;
  o.col = a3, o.ltp = a4, o.wid = a5, o.text_col = a6, o.mbs = a7, o.solid_rgb = a8;

  if (Zusun) SendMem(u"bz");
  const size_t count = EntNo.size();
  for (size_t i = 0; i < count; ++i) {
    if (i % 100 == 0 && CheckStop(stop)) {
      StopGaibu();
      break;
    }
    const TEntNo& en = EntNo[i];
    // An entity whose geometry would be dropped writes nothing at all: its attribute commands
    // alone would become the host's current settings when the file is next read.
    if (!EntityWritable(en)) continue;
    const size_t k = static_cast<size_t>(en.no);
    switch (en.yn) {
      case kEntLine:
        S_EntLine(EntLine[k], o);
        break;
      case kEntCirc:
        S_EntCirc(EntCirc[k], o);
        break;
      case kEntArc:
        S_EntArc(EntArc[k], o);
        break;
      case kEntText:
        S_EntText(EntText[k], o);
        break;
      case kEntPnt:
        S_EntPnt(EntPnt[k], o);
        break;
      case kEntMark:
        S_EntMark(EntMark[k], o);
        break;
      case kEntDim:
        S_EntDim(EntDim[k], o);
        break;
      case kEntSld2:
        S_EntSld2(EntSld2[k], o);
        break;
      case kEntSld3:
        S_EntSld3(EntSld3[k], o);
        break;
      case kEntSld4:
        S_EntSld4(EntSld4[k], o);
        break;
      case kEntSldC:
        S_EntSldC(EntSldC[k], o);
        break;
      case kEntSldE:
        S_EntSldE(EntSldE[k], o);
        break;
      case kEntSldO:
        S_EntSldO(EntSldO[k], o);
        break;
      case kEntSldG:
        S_EntSldG(EntSldG[k], o);
        break;
      default:
        break;  // blocks are not written
    }
  }
  S_LGrp(CurLGrp);
  S_Lay(CurLay);
}

bool TJGdata::SaveTempFile(std::u16string_view file_name, std::error_code* error) {
  return WriteFileAtomic(ToPath(file_name), TempFileBytes(), error);
}

auto TJGdata::WriterState() {
  return std::tie(w_FlgLGrp, w_FlgLay, w_FlgCol, w_FlgLtp, w_FlgWid, w_FlgMjs, w_FlgMbs, w_FlgFont,
                  w_FlgPCol, w_FlgSCol, w_LGrp, w_Lay, w_Col, w_Ltp, w_Wid, w_Mjs, w_MjsW, w_MjsH,
                  w_MjsD, w_MjsC, w_Mbs, w_Font, w_PtCol, w_SlCol);
}

bool TJGdata::CommitTempFile(std::u16string_view file_name, const StopPoll& stop,
                             const std::function<void()>& saving, std::error_code* error) {
  const auto before = std::apply([](const auto&... v) { return std::tuple(v...); }, WriterState());
  StopGaibu();
  SendMem(u"hd");
  S_EntAll(-1, -1, -1, -1, -1, -1, -1, 0, stop);
  if (saving) saving();
  const bool saved = SaveTempFile(file_name, error);
  StopGaibu();
  WriterState() = before;
  return saved;
}

std::string TJGdata::TempFileBytes() const {
  const std::u16string_view kEmpty = u"hq";
  const size_t count = t_Mem.empty() ? 1 : t_Mem.size();
  auto line_at = [&](size_t i) { return t_Mem.empty() ? kEmpty : t_Mem[i]; };

  std::string bytes;
  size_t chars = 0;
  for (size_t i = 0; i < count; ++i)
    chars += line_at(i).size() + 2;
  bytes.reserve(chars + kUtf8Bom.size());
  bool utf8 = MojiCode;
  if (!utf8) {
    // A character the code page has no form for would be lost: then the whole file goes out
    // as UTF-8 with a byte-order mark, which the host reads as well.
    AnsiCodec ansi;
    for (size_t i = 0; i < count && !utf8; ++i) {
      utf8 = !ansi.Encode(line_at(i), bytes);
      bytes += "\r\n";
    }
  }
  if (utf8) {
    bytes.assign(kUtf8Bom);
    for (size_t i = 0; i < count; ++i) {
      EncodeUtf8(line_at(i), bytes);
      bytes += "\r\n";
    }
  }
  return bytes;
}

}  // namespace vardo
