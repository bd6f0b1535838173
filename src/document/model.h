// The drawing document TJGdata: entity tables, header values, attribute state, output buffer.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/view_state.h"

namespace vardo {

struct TEntAttr {
  int IPNo = 0;  // indicated point the entity refers to ("hhp"), 0 if none
  int LGrp = 0;  // layer group 0..15
  int Lay = 0;   // layer 0..15
  int Col = 0;   // colour number (point colour for points and marks, text colour for texts)
  int Ltp = 0;   // line-type number
  int Wid = 0;   // line width, 0 = the colour's default
  int Attr = 0;  // attribute bits 1/2/4/8/16 ("z1".."z5")
};

struct TEntLine {
  TEntAttr att;
  int CrvNo = 0;  // polyline group ("pl") the line was read in, 0 if none
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct TEntCircle {
  TEntAttr att;
  double cx = 0, cy = 0, cr = 0;
};

struct TEntArc {
  TEntAttr att;
  double cx = 0, cy = 0, cr = 0;
  double sa = 0, ea = 0;  // start and end parameter angles, degrees
  double he = 0;          // flatness: minor / major axis
  double ka = 0;          // tilt of the major axis, degrees
};

struct TEntText {
  TEntAttr att;
  int no = 0;                     // kind: 0 "ch", 1 "cv", 2 "cs", ... 9 "c2"
  int cc = 0;                     // base-point code 0..8
  int cn = 0;                     // text style, 0 = explicit size
  double mw = 0, mh = 0, md = 0;  // character width, height, spacing (paper mm)
  double x1 = 0, y1 = 0;          // start point
  double x2 = 0, y2 = 0;          // vector from the start to the end of the text line
  std::u16string fo;              // font name
  std::u16string st;              // the text
};

struct TEntPnt {
  TEntAttr att;
  double px = 0, py = 0;
};

struct TEntMark {
  TEntAttr att;
  double px = 0, py = 0, bai = 0, ang = 0;  // position, size factor, angle in degrees
  int cod = 0;
};

struct TEntDim {
  TEntAttr att;
  TEntLine lin;
  TEntText txt;
};

struct TEntBlk {
  TEntAttr att;
  double px = 0, py = 0;
  std::u16string nam;
};

struct TEntSld2 {
  TEntAttr att;
  int Color = 0;  // RGB used when att.Col is 10
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct TEntSld3 {
  TEntAttr att;
  int Color = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
};

struct TEntSld4 {
  TEntAttr att;
  int Color = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
};

// Circular solids "sc" and "se"; angles in radians, da negative = clockwise.
struct TEntSldC {
  TEntAttr att;
  int Color = 0;
  double cx = 0, cy = 0, cr = 0, he = 0, ka = 0, sa = 0, da = 0;
  int fl = 0;  // shape flag
};

// Ring-shaped circular solids "so" and "sg".
struct TEntSldD {
  TEntAttr att;
  int Color = 0;
  double cx = 0, cy = 0, cr = 0, he = 0, ka = 0, sa = 0, da = 0;
  double ri = 0;  // inner radius
};

// One entry of the entity order list: kind code and index into that kind's table.
struct TEntNo {
  int yn = 0;
  int no = 0;
};

// Entity kind codes of the order list.
enum EntKind : int {
  kEntLine = 1,
  kEntCirc = 2,
  kEntArc = 3,
  kEntText = 4,
  kEntPnt = 5,
  kEntMark = 6,
  kEntDim = 7,
  kEntBlk = 8,
  kEntSld2 = 9,
  kEntSld3 = 10,
  kEntSld4 = 11,
  kEntSldC = 12,
  kEntSldE = 13,
  kEntSldO = 14,
  kEntSldG = 15,
};

struct TIndPoint {
  bool flg = false;
  double x = 0, y = 0;
  int sta = 0;  // 0 plain, 1 "-", 2 "ln", 3 "ci", 4 "ch" suffix
};

struct TMojiStyle {
  double w = 3.0, h = 3.0, d = 0.0;
  int c = 2;
};

// The output buffer: lines kept back to back in one string, so that a million lines cost a
// million offsets rather than a million allocations.
class TextLines {
 public:
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::u16string_view operator[](size_t i) const {
    size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::u16string_view(text_).substr(begin, ends_[i] - begin);
  }
  void push_back(std::u16string_view line) {
    text_.append(line);
    ends_.push_back(text_.size());
  }
  void clear() {
    text_.clear();
    ends_.clear();
  }

 private:
  std::u16string text_;
  std::vector<size_t> ends_;
};

class TJGdata {
 public:
  TJGdata();

  // --- model ---
  void DataInit();
  void DataFree();
  void SetEntNo(int yn, int no);
  void SetEntAttr(TEntAttr& att) const;
  static int GetColorDisp(int col);
  int MapColNo(int i) const;
  int MapLtpNo(int i) const;
  void A_LGrp(int v) { w_LGrp = v; }
  void A_Lay(int v) { w_Lay = v; }
  void A_Col(int c, int m);
  void A_PCol(int c, int m);
  void A_Ltp(int t, int m);
  void A_Attr(int b);
  // Appends a line with the current write attributes unless it is degenerate.
  void A_Line(double x1, double y1, double x2, double y2);
  // A line whose ends differ by less than 1e-10 in both coordinates: A_Line drops it.
  static bool DegenerateLine(double x1, double y1, double x2, double y2) {
    return std::fabs(x2 - x1) < 1e-10 && std::fabs(y2 - y1) < 1e-10;
  }
  void StopGaibu() { t_Mem.clear(); }

  // The divisor from stored to drawing coordinates for an entity of layer group lgrp: 1.0 with
  // "bz", otherwise the group's scale as given. A negative scale turns the group's entities
  // half a turn about the origin (radii divided by it come out negative: their magnitude is the
  // radius). A scale of 0 or one that is not finite (a bad "hs" field) would break every
  // division, so it counts as 1.0 (UsableScale); so does a group outside 0..15.
  double ScaleOf(int lgrp) const;
  // A layer-group scale as drawing and the scale codes use it: 0 and values that are not
  // finite count as 1.0.
  static double UsableScale(double s) { return std::isfinite(s) && s != 0 ? s : 1.0; }

  // --- reader ---
  void OpenTempFile(std::u16string_view file_name);
  // Reads the exchange file's bytes (everything OpenTempFile does after loading the file).
  void ReadTempBytes(std::string bytes);

  // --- writer ---
  void S_Init();
  void SendMem(std::u16string_view s) { t_Mem.push_back(s); }
  void S_LGrp(int v);
  void S_Lay(int v);
  void S_Col(int c, int m);
  void S_SCol(int c);
  void S_Ltp(int t, int m);
  void S_Wid(int w);
  void S_Mjs(int s, int c, double w, double h, double d, int m);
  void S_Mbs(int m);
  void S_Font(std::u16string_view name);
  void S_PCol(int c, int m);
  void S_Attr(int bits);
  void S_Line(double x1, double y1, double x2, double y2);
  void S_Ten(double x, double y);
  void S_Mark(double x, double y, double size, double angle, int code);
  void S_Circle(double x, double y, double r);
  void S_Arc(double x, double y, double r, double sa, double ea, double he, double ka);
  void S_Text(int no, std::u16string_view st, double x1, double y1, double x2, double y2);
  void S_Dim(std::u16string_view st, double lx1, double ly1, double lx2, double ly2, double tx1,
             double ty1, double tx2, double ty2);
  void S_Solid2(double x1, double y1, double x2, double y2);
  void S_Solid3(double x1, double y1, double x2, double y2, double x3, double y3);
  void S_Solid4(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                double y4);
  void S_SolidC(double x, double y, double r, double he, double ka, double sa, double da, int fl);
  void S_SolidD(double x, double y, double r, double he, double ka, double sa, double da, int fl);
  void S_SolidO(double x, double y, double r, double he, double ka, double sa, double da,
                double ri);
  void S_SolidG(double x, double y, double r, double he, double ka, double sa, double da,
                double ri);
  // Writes the whole drawing. a1..a8 override layer group, layer, colour, line type, width,
  // text colour, base point and solid RGB colour; -1 (and a8 = 0) keep each entity's own.
  // stop is polled every 100 entities; when it answers true the output is abandoned.
  void S_EntAll(int a1, int a2, int a3, int a4, int a5, int a6, int a7, int a8,
                const StopPoll& stop = {});
  // Writes the output buffer ("hq" when empty) atomically. False when the file could not be
  // written; it then keeps what it held, and error (when given) receives the system's reason.
  bool SaveTempFile(std::u16string_view file_name, std::error_code* error = nullptr);
  // The commit of the whole drawing to the host: "hd", every entity with its own attributes
  // (S_EntAll, polling stop every 100 entities), then the buffer saved to file_name, with saving
  // called just before the save (for a progress text). The buffer is empty before and after,
  // and the writer state comes back as it was, so a commit that failed can be made again with
  // the same result, and the attributes set for entities still to be added stay. False as
  // SaveTempFile.
  bool CommitTempFile(std::u16string_view file_name, const StopPoll& stop = {},
                      const std::function<void()>& saving = {}, std::error_code* error = nullptr);
  // The bytes SaveTempFile writes: the buffer's lines with CR LF, in the input's encoding.
  std::string TempFileBytes() const;

  // --- extents ---
  void GetMinMaxZahyo(ViewState& view) const;

  // --- counts the system names ---
  int EntN() const { return static_cast<int>(EntNo.size()); }
  int EntLineN() const { return static_cast<int>(EntLine.size()); }
  int EntCircN() const { return static_cast<int>(EntCirc.size()); }
  int EntArcN() const { return static_cast<int>(EntArc.size()); }
  int EntTextN() const { return static_cast<int>(EntText.size()); }
  int EntPntN() const { return static_cast<int>(EntPnt.size()); }
  int EntMarkN() const { return static_cast<int>(EntMark.size()); }
  int EntDimN() const { return static_cast<int>(EntDim.size()); }
  int EntBlkN() const { return static_cast<int>(EntBlk.size()); }
  int t_MemN() const { return static_cast<int>(t_Mem.size()); }

  // --- fields ---
  bool w_FlgLGrp = true, w_FlgLay = true, w_FlgCol = true, w_FlgLtp = true, w_FlgWid = true,
       w_FlgMjs = true, w_FlgMbs = true, w_FlgFont = true, w_FlgPCol = true, w_FlgSCol = true;
  int w_IPNo = 0;
  int w_LGrp = 0, w_Lay = 0;
  int w_Col = 1, w_Ltp = 1, w_Wid = 0;
  int w_Mjs = 1;
  double w_MjsW = 2.0, w_MjsH = 2.0, w_MjsD = 0.0;
  int w_MjsC = 1;
  int w_Mbs = 0;
  std::u16string w_Font;
  int w_Attr = 0;
  int w_CrvNo = 0;
  bool w_CrvFl = false;
  bool w_DimFl = false;
  int w_PtCol = 1;
  int w_SlCol = 0;
  bool MojiCode = false;
  double Jikukaku = 0.0;
  std::u16string ZumenFile;
  std::array<double, 16> LGrpScale{};
  double ZumenXsize = 1189.0, ZumenYsize = 841.0;
  std::array<TMojiStyle, 11> Mojisyu{};  // text styles 1..10; entry 0 is not used
  std::array<int, 356> RGB{};
  bool Zusun = false;
  double AreaX1 = 0, AreaY1 = 0, AreaX2 = 0, AreaY2 = 0;
  int CurLGrp = 0, CurLay = 0, CurCol = 1, CurLtp = 1, CurWid = 0, CurMjs = 1;
  double CurMjsW = 2.0, CurMjsH = 2.0, CurMjsD = 0.0;
  int CurMjsC = 1;
  std::u16string CurFont;
  std::array<TIndPoint, 100> IPoints{};
  int IPointN = 0;
  bool WidF = false;
  std::array<int, 16> LGrpStat{};
  std::array<std::u16string, 16> LGrpName{};
  std::array<int, 256> LayStat{};
  std::array<std::u16string, 256> LayName{};

  std::vector<TEntNo> EntNo;
  std::vector<TEntLine> EntLine;
  TEntLine EntSunLine;  // pending dimension line: read after "msg", waiting for its "cs" text
  std::vector<TEntCircle> EntCirc;
  std::vector<TEntArc> EntArc;
  std::vector<TEntText> EntText;
  std::vector<TEntPnt> EntPnt;
  std::vector<TEntMark> EntMark;
  std::vector<TEntDim> EntDim;
  std::vector<TEntBlk> EntBlk;
  std::vector<TEntSld2> EntSld2;
  std::vector<TEntSld3> EntSld3;
  std::vector<TEntSld4> EntSld4;
  std::vector<TEntSldC> EntSldC;
  std::vector<TEntSldC> EntSldE;
  std::vector<TEntSldD> EntSldO;
  std::vector<TEntSldD> EntSldG;

  TextLines t_Mem;

  int aCol = 0;   // screen colour of the colour last set by A_Col or A_PCol
  int aSCol = 0;  // screen colour of the solid colour

 private:
  class Reader;
  friend class Reader;

  // The writer state S_Init sets: the values last written and their first-time flags.
  auto WriterState();

  // Writing one entity of each kind.
  struct Overrides;
  void S_EntLine(const TEntLine& e, const Overrides& o);
  void S_EntCirc(const TEntCircle& e, const Overrides& o);
  void S_EntArc(const TEntArc& e, const Overrides& o);
  void S_EntPnt(const TEntPnt& e, const Overrides& o);
  void S_EntMark(const TEntMark& e, const Overrides& o);
  void S_EntText(const TEntText& e, const Overrides& o);
  void S_EntDim(const TEntDim& e, const Overrides& o);
  void S_EntSld2(const TEntSld2& e, const Overrides& o);
  void S_EntSld3(const TEntSld3& e, const Overrides& o);
  void S_EntSld4(const TEntSld4& e, const Overrides& o);
  void S_EntSldC(const TEntSldC& e, const Overrides& o);
  void S_EntSldE(const TEntSldC& e, const Overrides& o);
  void S_EntSldO(const TEntSldD& e, const Overrides& o);
  void S_EntSldG(const TEntSldD& e, const Overrides& o);
  void WriteLayer(const TEntAttr& att, const Overrides& o);
  void WriteLineAttrs(const TEntAttr& att, const Overrides& o);
  void WriteSolidColour(const TEntAttr& att, int color, const Overrides& o);
  void WriteTextStyle(const TEntText& t, const Overrides& o);
  // False for an entity whose geometry the writer drops (degenerate) and for blocks.
  bool EntityWritable(const TEntNo& en) const;

  std::u16string line_;  // scratch line of the writer
};

}  // namespace vardo
