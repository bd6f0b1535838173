// Exchange-file reader: encoding, line framing, field splitting and every record.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/strings.h"
#include "document/model.h"
#include "document/text_codec.h"

namespace vardo {

namespace {

// A line holds at most this many fields; fields beyond it are dropped.
constexpr int kMaxFields = 400;

// How much of a file the table-size estimate looks at.
constexpr size_t kEstimateSample = size_t{4} << 20;

bool StartsWith(std::u16string_view s, std::u16string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// The text after the first k units (f0[k+1..] in 1-based terms).
std::u16string_view After(std::u16string_view s, size_t k) {
  return k >= s.size() ? std::u16string_view() : s.substr(k);
}

// The single unit at position k as a view (empty beyond the end).
std::u16string_view UnitAt(std::u16string_view s, size_t k) {
  return k >= s.size() ? std::u16string_view() : s.substr(k, 1);
}

// "$" followed by one character: how the layer group and layer digits are read.
int HexDigit(std::u16string_view f0, size_t k) {
  char16_t text[2] = {u'$', k < f0.size() ? f0[k] : u'\0'};
  return ValInt(std::u16string_view(text, k < f0.size() ? 2 : 1));
}

// The reader's rule for the corners of a solid: within 1e-12 of each other in both directions
// they are one corner, and the solid is stored as the simpler one it really is.
bool SameCornerOnReading(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= 1e-12 && std::fabs(ay - by) <= 1e-12;
}

int TextKind(std::u16string_view f0) {
  static constexpr std::u16string_view kKeywords[] = {u"ch", u"cv", u"cs", u"cr", u"co",
                                                      u"cp", u"ct", u"ck", u"cz", u"c2"};
  for (int i = 0; i < 10; ++i) {
    if (f0 == kKeywords[i]) return i;
  }
  return -1;
}

// Upper bounds of the table sizes from a cheap look at each line's keyword and field count,
// so the tables are allocated once instead of growing by copies while a big file is read.
struct TableEstimate {
  size_t lines = 0, circs = 0, arcs = 0, texts = 0, pnts = 0, marks = 0, dims = 0, blks = 0;
  size_t sld2 = 0, sld3 = 0, sld4 = 0, sldc = 0, slde = 0, sldo = 0, sldg = 0;

  void Count(std::string_view line) {
    size_t i = 0, n = line.size();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    auto ends_field = [&](char c) { return blank(c) || c == '"' || c == '='; };
    while (i < n && blank(line[i]))
      ++i;
    if (i >= n) return;
    if (std::string_view("hblczpm#Bs").find(line[i]) == std::string_view::npos) {
      ++lines;  // a four-number line, or nothing
      return;
    }
    size_t key_start = i;
    while (i < n && !ends_field(line[i]))
      ++i;
    std::string_view key = line.substr(key_start, i - key_start);
    if (key.size() != 2) {
      dims += key == "msg";
      return;
    }
    // Fields after the keyword, up to ten: enough to tell the record kinds apart.
    int fields = 1;
    while (i < n && fields < 10) {
      while (i < n && blank(line[i]))
        ++i;
      if (i >= n) break;
      if (line[i] == '"' || line[i] == '=') {
        fields = 10;  // a quoted text or "=" field takes the rest of the line
        break;
      }
      ++fields;
      while (i < n && !ends_field(line[i]))
        ++i;
    }
    if (key == "ci") {
      circs += fields == 4, arcs += fields >= 8;
    } else if (key == "pt") {
      pnts += fields == 3, marks += fields >= 6;
    } else if (key[0] == 'c' && fields >= 6) {
      ++texts;
    } else if (key == "BL") {
      ++blks;
    } else if (key == "sl") {
      sld2 += fields >= 5, sld3 += fields >= 7, sld4 += fields >= 9;
    } else if (key == "sc") {
      ++sldc;
    } else if (key == "se") {
      ++slde;
    } else if (key == "so") {
      ++sldo;
    } else if (key == "sg") {
      ++sldg;
    } else if (fields == 4) {
      ++lines;
    }
  }

  // scale: the file's size over the counted part's; a little headroom when it is an estimate.
  void Reserve(TJGdata& d, double scale) const {
    auto up = [scale](size_t n) {
      return scale <= 1.0 ? n : static_cast<size_t>(static_cast<double>(n) * scale * 1.05) + 64;
    };
    d.EntLine.reserve(up(lines));
    d.EntCirc.reserve(up(circs));
    d.EntArc.reserve(up(arcs));
    d.EntText.reserve(up(texts));
    d.EntPnt.reserve(up(pnts));
    d.EntMark.reserve(up(marks));
    d.EntDim.reserve(up(dims));
    d.EntBlk.reserve(up(blks));
    d.EntSld2.reserve(up(sld2));
    d.EntSld3.reserve(up(sld3));
    d.EntSld4.reserve(up(sld4));
    d.EntSldC.reserve(up(sldc));
    d.EntSldE.reserve(up(slde));
    d.EntSldO.reserve(up(sldo));
    d.EntSldG.reserve(up(sldg));
    // Every "sl" line counts in sld2, so the order list needs no more than this.
    d.EntNo.reserve(
        up(lines + circs + arcs + texts + pnts + marks + blks + sld2 + sldc + slde + sldo + sldg));
  }
};

// Calls fn for every line of a text: lines end at CR LF, lone LF or lone CR; text after the
// last break is a last line; a break at the very end adds no empty line.
template <typename Fn>
void ForEachLine(const char16_t* p, size_t n, Fn&& fn) {
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) {
    if (p[i] != u'\r' && p[i] != u'\n') continue;
    fn(p + start, i - start);
    if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) fn(p + start, n - start);
}

// The same for bytes, finding the breaks with memchr (the usual file has short lines ending in
// LF or CR LF).
template <typename Fn>
void ForEachLine(const char* p, size_t n, Fn&& fn) {
  const char* end = p + n;
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* stop = lf ? lf : end;
    // Lone CRs inside the stretch end lines too; a CR right before the LF belongs to it.
    bool crlf = false;
    for (;;) {
      const char* cr =
          static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(stop - p)));
      if (!cr) break;
      fn(p, static_cast<size_t>(cr - p));
      p = cr + 1;
      if (p == lf) {
        crlf = true;
        break;
      }
    }
    if (p < stop || (lf && !crlf)) fn(p, static_cast<size_t>(stop - p));
    if (!lf) break;
    p = lf + 1;
  }
}

// Widens a line of bytes when all of them are ASCII (the usual case); false otherwise. Eight
// bytes at a time: this runs over every byte of the file.
bool WidenAscii(const char* p, size_t n, std::u16string& out) {
  if (out.size() < n) out.resize(n);
  char16_t* dst = out.data();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (w & 0x8080808080808080u) return false;
    for (int k = 0; k < 8; ++k)
      dst[i + k] = static_cast<char16_t>(p[i + k]);
  }
  for (; i < n; ++i) {
    if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
    dst[i] = static_cast<char16_t>(p[i]);
  }
  out.resize(n);
  return true;
}

// Whether a first field can start a keyword record; anything else can only be a line.
bool MayStartKeyword(char16_t c) {
  switch (c) {
    case u'h':
    case u'b':
    case u'l':
    case u'c':
    case u'z':
    case u'p':
    case u'm':
    case u'#':
    case u'B':
    case u's':
      return true;
    default:
      return false;
  }
}

}  // namespace

class TJGdata::Reader {
 public:
  explicit Reader(TJGdata& d) : d_(d) {}

  void ParseLine(std::u16string_view line) {
    Split(line);
    if (n_ == 1 && f_[0].empty()) return;
    Dispatch();
  }

 private:
  // Splits a line into fields: blanks and tabs separate; a double quote (dropped) or "="
  // (kept) ends the splitting, so the rest of the line, blanks included, joins the field.
  // Fields are views into the line; only a quote inside a field ("cn"$font") needs a copy.
  void Split(std::u16string_view line) {
    const size_t len = line.size();
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    // Blank, tab, quote and "=" in one test: all lie at or below "=".
    auto special = [](char16_t c) {
      return c <= u'=' && (c == u' ' || c == u'\t' || c == u'"' || c == u'=');
    };
    int k = 0;
    f0_took_rest_ = false;
    size_t i = 0;
    for (;;) {
      while (i < len && blank(line[i]))
        ++i;
      if (i >= len) break;
      const size_t field_start = i;
      while (i < len && !special(line[i]))
        ++i;
      if (i < len && line[i] == u'"') {
        // The quote is dropped and the rest of the line joins the field.
        if (i == field_start) {
          f_[k] = line.substr(i + 1);
        } else {
          quoted_.assign(line.substr(field_start, i - field_start));
          quoted_.append(line.substr(i + 1));
          f_[k] = quoted_;
        }
        f0_took_rest_ = k == 0;
        n_ = k + 1;
        return;
      }
      if (i < len && line[i] == u'=') {
        f_[k] = line.substr(field_start);
        f0_took_rest_ = k == 0;
        n_ = k + 1;
        return;
      }
      f_[k] = line.substr(field_start, i - field_start);
      // Fields beyond the 400th are dropped.
      if (++k == kMaxFields) break;
    }
    // Blanks at the very end of a line leave no empty last field: "ci 1 2 3 " is a circle.
    if (k == 0) f_[0] = std::u16string_view();
    n_ = k == 0 ? 1 : k;
  }

  double F(int k) const { return ValFloat(f_[k]); }
  int I(int k) const { return ValInt(f_[k]); }

  void Dispatch() {
    const std::u16string_view f0 = f_[0];
    TJGdata& d = d_;
    const int n = n_;

    // Only a first field that took the rest of the line can hold "=".
    if (f0_took_rest_ && f0.find(u"file=") != std::u16string_view::npos) {
      d.ZumenFile = std::u16string(After(f0, 5));
      return;
    }
    // Every keyword starts with one of these; anything else can only be a four-number line.
    if (!MayStartKeyword(f0[0])) {
      if (n == 4) Line();
      return;
    }
    if (f0 == u"hk" && n >= 2) {
      d.Jikukaku = F(1);
    } else if (f0 == u"hs" && n >= 17) {
      for (int k = 0; k < 16; ++k)
        d.LGrpScale[k] = F(k + 1);
    } else if (f0 == u"hzs" && n >= 3) {
      d.ZumenXsize = F(1);
      d.ZumenYsize = F(2);
    } else if (f0 == u"hcw" && n >= 11) {
      for (int k = 1; k <= 10; ++k)
        d.Mojisyu[k].w = F(k);
    } else if (f0 == u"hch" && n >= 11) {
      for (int k = 1; k <= 10; ++k)
        d.Mojisyu[k].h = F(k);
    } else if (f0 == u"hcd" && n >= 11) {
      for (int k = 1; k <= 10; ++k)
        d.Mojisyu[k].d = F(k);
    } else if (f0 == u"hcc" && n >= 11) {
      for (int k = 1; k <= 10; ++k)
        d.Mojisyu[k].c = I(k);
    } else if (f0 == u"bz") {
      d.Zusun = true;
    } else if (f0 == u"hn" && n >= 5) {
      d.AreaX1 = F(1), d.AreaY1 = F(2), d.AreaX2 = F(3), d.AreaY2 = F(4);
    } else if (f0 == u"hrgb" && n >= 9) {
      // The document keeps 356 values; any beyond them are dropped.
      for (int k = 1; k < n && k <= static_cast<int>(d.RGB.size()); ++k)
        d.RGB[k - 1] = I(k);
    } else if (StartsWith(f0, u"lgn")) {
      d.LGrpName[d.w_LGrp & 15] = JoinName();
    } else if (StartsWith(f0, u"lyn")) {
      d.LayName[((d.w_LGrp & 15) * 16 + (d.w_Lay & 15))] = JoinName();
    } else if (StartsWith(f0, u"lg")) {
      int v = HexDigit(f0, 2);
      if (d.w_FlgLGrp) d.CurLGrp = v, d.w_FlgLGrp = false;
      d.w_LGrp = v;
      if (n >= 2) d.LGrpStat[v] = I(1);
      d.w_CrvFl = false;
    } else if (StartsWith(f0, u"ly")) {
      int v = HexDigit(f0, 2);
      if (d.w_FlgLay) d.CurLay = v, d.w_FlgLay = false;
      d.w_Lay = v;
      if (n >= 2) d.LayStat[(d.w_LGrp & 15) * 16 + v] = I(1);
      d.w_CrvFl = false;
    } else if (StartsWith(f0, u"lc")) {
      int v = ValInt(After(f0, 2));
      if (d.w_FlgCol) d.CurCol = v, d.w_FlgCol = false;
      d.w_Col = v;
      if (v == 10 && n >= 2) d.w_SlCol = I(1);
      d.w_CrvFl = false;
    } else if (StartsWith(f0, u"lt")) {
      int v = ValInt(After(f0, 2));
      if (d.w_FlgLtp) d.CurLtp = v, d.w_FlgLtp = false;
      d.w_Ltp = v;
      d.w_CrvFl = false;
    } else if (StartsWith(f0, u"lw")) {
      int v = ValInt(After(f0, 2));
      if (d.w_FlgWid) d.CurWid = v, d.w_FlgWid = false;
      d.w_Wid = v;
      d.WidF = true;
      d.w_CrvFl = false;
    } else if (StartsWith(f0, u"cn$")) {
      std::u16string_view name = After(f0, 3);
      if (d.CurFont.empty()) d.CurFont = name;
      d.w_Font = name;
      d.w_CrvFl = false;
    } else if (StartsWith(f0, u"cn")) {
      TextStyle(f0);
    } else if (StartsWith(f0, u"cc")) {
      int v = ValInt(UnitAt(f0, 2));
      d.w_Mbs = (v >= 0 && v <= 8) ? v : 0;
      d.w_CrvFl = false;
    } else if (f0.size() == 2 && f0[0] == u'z' && f0[1] >= u'1' && f0[1] <= u'5') {
      d.w_Attr |= 1 << (f0[1] - u'1');
    } else if (StartsWith(f0, u"pn")) {
      d.w_PtCol = ValInt(After(f0, 2));
      d.w_CrvFl = false;
    } else if (f0 == u"pl") {
      ++d.w_CrvNo;
      d.w_CrvFl = true;
      d.w_DimFl = false;
    } else if (f0 == u"msg") {
      d.w_DimFl = true;
      d.w_CrvFl = false;
    } else if (f0 == u"#") {
      d.w_CrvFl = false;
      d.w_DimFl = false;
    } else if (StartsWith(f0, u"hp") && n >= 3) {
      IndicatedPoint(f0);
    } else if (StartsWith(f0, u"hhp")) {
      IndicatedPointReference(f0);
    } else {
      Entity(f0, n);
    }
  }

  std::u16string JoinName() const {
    std::u16string name(After(f_[0], 3));
    for (int k = 1; k < n_; ++k) {
      name.push_back(u' ');
      name.append(f_[k]);
    }
    return name;
  }

  void TextStyle(std::u16string_view f0) {
    TJGdata& d = d_;
    int v = ValInt(After(f0, 2));
    bool sized = v == 0 && n_ >= 5;
    if (d.w_FlgMjs) {
      d.CurMjs = v;
      if (sized) d.CurMjsW = F(1), d.CurMjsH = F(2), d.CurMjsD = F(3), d.CurMjsC = I(4);
      d.w_FlgMjs = false;
    }
    d.w_Mjs = v;
    if (sized) d.w_MjsW = F(1), d.w_MjsH = F(2), d.w_MjsD = F(3), d.w_MjsC = I(4);
    d.w_CrvFl = false;
  }

  void IndicatedPoint(std::u16string_view f0) {
    std::u16string_view number = After(f0, 2);
    int sta = 0;
    static constexpr std::u16string_view kSuffixes[] = {u"-", u"ln", u"ci", u"ch"};
    for (int s = 0; s < 4; ++s) {
      size_t pos = f0.find(kSuffixes[s]);
      if (pos == std::u16string_view::npos) continue;
      number = pos >= 2 ? f0.substr(2, pos - 2) : std::u16string_view();
      sta = s + 1;
    }
    int no = ValInt(number);
    if (no < 1 || no > 99) return;
    TIndPoint& p = d_.IPoints[no];
    p.flg = true;
    p.x = F(1);
    p.y = F(2);
    p.sta = sta;
    ++d_.IPointN;
  }

  void IndicatedPointReference(std::u16string_view f0) {
    std::u16string_view number = After(f0, 3);
    for (std::u16string_view suffix : {u"ch", u"ci", u"ln"}) {
      size_t pos = f0.find(suffix);
      if (pos != std::u16string_view::npos && pos >= 4) {
        number = f0.substr(3, pos - 3);
        break;
      }
    }
    d_.w_IPNo = ValInt(number);
  }

  // Fills the common head, appends to the order list; the caller fills the rest.
  template <typename Record>
  Record& Store(std::vector<Record>& table, int kind) {
    d_.SetEntNo(kind, static_cast<int>(table.size()));
    Record& e = table.emplace_back();
    d_.SetEntAttr(e.att);
    return e;
  }

  void EndEntity(bool line) {
    d_.w_Attr = 0;
    d_.w_IPNo = 0;
    if (line) return;
    d_.w_CrvFl = false;
    d_.w_DimFl = false;
  }

  void FillText(TEntText& t, int no) {
    const TJGdata& d = d_;
    t.no = no;
    t.cc = d.w_Mbs;
    t.cn = d.w_Mjs;
    if (d.w_Mjs >= 1 && d.w_Mjs <= 10) {
      const TMojiStyle& m = d.Mojisyu[d.w_Mjs];
      t.mw = m.w, t.mh = m.h, t.md = m.d;
      t.att.Col = m.c;
    } else {
      t.mw = d.w_MjsW, t.mh = d.w_MjsH, t.md = d.w_MjsD;
      t.att.Col = d.w_MjsC;
    }
    t.x1 = F(1), t.y1 = F(2), t.x2 = F(3), t.y2 = F(4);
    t.fo = d.w_Font;
    t.st = f_[5];
  }

  void Entity(std::u16string_view f0, int n) {
    TJGdata& d = d_;
    int text_kind;
    if (f0 == u"ci" && n == 4) {
      TEntCircle& e = Store(d.EntCirc, kEntCirc);
      e.cx = F(1), e.cy = F(2), e.cr = F(3);
    } else if (f0 == u"ci" && n >= 8) {
      TEntArc& e = Store(d.EntArc, kEntArc);
      e.cx = F(1), e.cy = F(2), e.cr = F(3), e.sa = F(4), e.ea = F(5), e.he = F(6), e.ka = F(7);
    } else if (n >= 6 && (text_kind = TextKind(f0)) >= 0) {
      if (text_kind == 2 && d.w_DimFl) {
        TEntDim& e = Store(d.EntDim, kEntDim);
        e.lin = d.EntSunLine;
        e.lin.CrvNo = 0;
        d.SetEntAttr(e.txt.att);
        FillText(e.txt, 2);
      } else {
        FillText(Store(d.EntText, kEntText), text_kind);
      }
    } else if (f0 == u"pt" && n == 3) {
      TEntPnt& e = Store(d.EntPnt, kEntPnt);
      e.att.Col = d.w_PtCol;
      e.px = F(1), e.py = F(2);
    } else if (f0 == u"pt" && n >= 6) {
      TEntMark& e = Store(d.EntMark, kEntMark);
      e.att.Col = d.w_PtCol;
      e.px = F(1), e.py = F(2), e.bai = F(3), e.ang = F(4);
      e.cod = I(5);
    } else if (f0 == u"BL" && n >= 4) {
      TEntBlk& e = Store(d.EntBlk, kEntBlk);
      e.px = F(1), e.py = F(2);
      e.nam = f_[3];
    } else if (f0 == u"sl" && (n == 5 || n == 7 || n >= 9)) {
      Solid(n);
    } else if ((f0 == u"sc" || f0 == u"se") && n >= 9) {
      TEntSldC& e = Store(f0 == u"sc" ? d.EntSldC : d.EntSldE, f0 == u"sc" ? kEntSldC : kEntSldE);
      e.Color = d.w_SlCol;
      e.cx = F(1), e.cy = F(2), e.cr = F(3), e.he = F(4), e.ka = F(5), e.sa = F(6), e.da = F(7);
      e.fl = I(8);
    } else if ((f0 == u"so" || f0 == u"sg") && n >= 9) {
      TEntSldD& e = Store(f0 == u"so" ? d.EntSldO : d.EntSldG, f0 == u"so" ? kEntSldO : kEntSldG);
      e.Color = d.w_SlCol;
      e.cx = F(1), e.cy = F(2), e.cr = F(3), e.he = F(4), e.ka = F(5), e.sa = F(6), e.da = F(7);
      e.ri = F(8);
    } else if (n == 4) {
      Line();
      return;
    } else {
      return;
    }
    EndEntity(false);
  }

  void Line() {
    TJGdata& d = d_;
    if (d.w_DimFl) {
      TEntLine& e = d.EntSunLine;
      d.SetEntAttr(e.att);
      e.CrvNo = 0;
      e.x1 = F(0), e.y1 = F(1), e.x2 = F(2), e.y2 = F(3);
    } else {
      TEntLine& e = Store(d.EntLine, kEntLine);
      e.CrvNo = d.w_CrvFl ? d.w_CrvNo : 0;
      e.x1 = F(0), e.y1 = F(1), e.x2 = F(2), e.y2 = F(3);
    }
    EndEntity(true);
  }

  void Solid2(double x1, double y1, double x2, double y2) {
    TEntSld2& e = Store(d_.EntSld2, kEntSld2);
    e.Color = d_.w_SlCol;
    e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2;
  }

  void Solid3(double x1, double y1, double x2, double y2, double x3, double y3) {
    TEntSld3& e = Store(d_.EntSld3, kEntSld3);
    e.Color = d_.w_SlCol;
    e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2, e.x3 = x3, e.y3 = y3;
  }

  // Solids with coinciding corners are stored as the simpler solid they really are.
  void Solid(int n) {
    if (n == 5) {
      Solid2(F(1), F(2), F(3), F(4));
      return;
    }
    double x1 = F(1), y1 = F(2), x2 = F(3), y2 = F(4), x3 = F(5), y3 = F(6);
    bool e12 = SameCornerOnReading(x1, y1, x2, y2), e23 = SameCornerOnReading(x2, y2, x3, y3);
    if (n == 7) {
      if (e12) {
        Solid2(x1, y1, x3, y3);
      } else if (e23) {
        Solid2(x1, y1, x2, y2);
      } else {
        Solid3(x1, y1, x2, y2, x3, y3);
      }
      return;
    }
    double x4 = F(7), y4 = F(8);
    bool e13 = SameCornerOnReading(x1, y1, x3, y3), e14 = SameCornerOnReading(x1, y1, x4, y4);
    bool e24 = SameCornerOnReading(x2, y2, x4, y4), e34 = SameCornerOnReading(x3, y3, x4, y4);
    if (e12 && e13) {
      Solid2(x1, y1, x4, y4);
    } else if (e23 && e24) {
      Solid2(x1, y1, x2, y2);
    } else if (e12 && e34) {
      Solid2(x1, y1, x3, y3);
    } else if (e14 || e24 || e34) {
      Solid3(x1, y1, x2, y2, x3, y3);
    } else if (e13 || e23) {
      Solid3(x1, y1, x2, y2, x4, y4);
    } else if (e12) {
      Solid3(x1, y1, x3, y3, x4, y4);
    } else {
      TEntSld4& e = Store(d_.EntSld4, kEntSld4);
      e.Color = d_.w_SlCol;
      e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2, e.x3 = x3, e.y3 = y3, e.x4 = x4, e.y4 = y4;
    }
  }

  TJGdata& d_;
  std::u16string quoted_;  // a field joined across a quote
  std::array<std::u16string_view, kMaxFields> f_{};
  int n_ = 0;
  bool f0_took_rest_ = false;  // splitting ended inside the first field
};

void TJGdata::OpenTempFile(std::u16string_view file_name) {
  MojiCode = false;
  if (file_name.empty()) return;
  // Only a regular file is read: a folder of that name opens on some systems and reports an
  // absurd size, which would make reading it throw.
  const auto path = ToPath(file_name);
  if (!FileExists(path)) return;
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return;
  ReadTempBytes(std::move(bytes));
}

void TJGdata::ReadTempBytes(std::string bytes) {
  size_t bom = 0;
  TextEncoding enc = DetectEncoding(bytes, bom);
  MojiCode = enc == TextEncoding::Utf8Bom;
  Reader reader(*this);
  std::u16string line;

  if (enc == TextEncoding::Utf16LE || enc == TextEncoding::Utf16BE) {
    std::u16string text;
    DecodeUtf16(std::string_view(bytes).substr(bom), enc == TextEncoding::Utf16BE, text);
    bytes = std::string();
    text.resize(std::min(text.size(), text.find(u'\0')));
    ForEachLine(text.data(), text.size(),
                [&](const char16_t* p, size_t n) { reader.ParseLine(std::u16string_view(p, n)); });
    return;
  }

  // Byte encodings: NUL ends the text (it never occurs inside a multi-byte character), and
  // CR and LF never do either, so lines are found on the bytes and decoded one by one.
  std::string_view text = std::string_view(bytes).substr(bom);
  text = text.substr(0, std::min(text.size(), text.find('\0')));
  // Only an estimate: lines split at LF alone are good enough for it, and for a big file the
  // first few megabytes, scaled up by size, tell the mix of records well enough.
  TableEstimate estimate;
  std::string_view sample = text.substr(0, kEstimateSample);
  for (std::string_view rest = sample; !rest.empty();) {
    size_t lf = std::min(rest.find('\n'), rest.size());
    estimate.Count(rest.substr(0, lf));
    rest.remove_prefix(std::min(lf + 1, rest.size()));
  }
  estimate.Reserve(*this, static_cast<double>(text.size()) / std::max<size_t>(sample.size(), 1));

  AnsiCodec ansi;
  ForEachLine(text.data(), text.size(), [&](const char* p, size_t n) {
    // ASCII reads the same in every byte encoding.
    if (!WidenAscii(p, n, line)) {
      line.clear();
      if (enc == TextEncoding::Utf8Bom) {
        DecodeUtf8(std::string_view(p, n), line);
      } else {
        ansi.Decode(std::string_view(p, n), line);
      }
    }
    reader.ParseLine(line);
  });
}

}  // namespace vardo
