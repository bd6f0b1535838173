// Fuzz target: documents drawn with GLDrawALL into a small surface at any view, then one pick.
// The first bytes choose the view (scale 1e-12..1e12, offsets up to 1e300), the surface size
// (1..64 pixels a side), monochrome, a stop after some polls, the layer-group scales (0 and
// negative among them), the text-code values and the moment of drawing (any date, valid or
// not); the rest is an exchange file or, by a flag, entities decoded directly with coordinates
// that may be huge, infinite or NaN, and texts built from inline codes, trailing markers and
// substitution codes at sizes that mostly show as glyphs, drawn with the platform's fonts. A
// whole drawing is drawn again culled by the entity index and in bands on up to eight threads,
// and must come out the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include "attributes/graphics_attributes.h"
#include "common/local_time.h"
#include "document/model.h"
#include "render/canvas.h"
#include "render/entity_index.h"
#include "render/glyph.h"
#include "render/graphics.h"
#include "render/picking.h"
#include "render/renderer.h"
#include "render/surface.h"
#include "render/text_codes.h"

namespace {

using namespace vardo;

// Reads the input front to back; past its end every read gives zeros.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }
  uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  int I8() { return static_cast<int8_t>(U8()); }
  int I16() { return static_cast<int16_t>(U8() | (U8() << 8)); }

  // A mantissa of 1..2 with a sign, times ten to an exponent from 0 up to max_exp; the top
  // exponent byte values give 0.
  double Magnitude(int max_exp) {
    const int e = U8();
    const int m = U8();
    if (e >= 250) return 0;
    const double value = (1 + (m >> 1) / 128.0) * std::pow(10.0, e % (max_exp + 1));
    return (m & 1) != 0 ? -value : value;
  }

  // Mostly ordinary drawing coordinates, sometimes extreme ones, sometimes any bit pattern.
  double Coordinate() {
    const uint8_t kind = U8();
    if (kind < 160) return I16() / 8.0;
    if (kind < 240) return Magnitude(308) * (kind < 200 ? 1e-300 : 1);
    double raw = 0;
    uint8_t bits[sizeof raw];
    for (uint8_t& b : bits)
      b = U8();
    std::memcpy(&raw, bits, sizeof raw);
    return raw;
  }

  std::string Rest() {
    std::string out(reinterpret_cast<const char*>(data_ + pos_), size_ - std::min(pos_, size_));
    pos_ = size_;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

TEntAttr Attr(Bytes& in) {
  TEntAttr att;
  att.LGrp = in.U8() % 20;  // a few groups beyond the sixteen
  att.Lay = in.U8() % 20;
  const uint8_t col = in.U8();
  att.Col = col < 128 ? col % 12 : col + 100;  // pen colours, 10, SXF colours, none
  att.Ltp = in.U8() % 64;
  att.Wid = in.I8();
  return att;
}

// Whole texts that are image texts or substitution codes, and pieces that texts are built from:
// characters of each class, inline codes, trailing markers.
constexpr const char16_t* kWholeTexts[] = {
    u"^@BMpic.bmp,20,10",
    u"^@BMx,1e300,-5",
    u"%SS",
    u"%SP",
    u"$J3",
    u"_J",
    u"=F",
    u"%F2",
    u"&fs2",
    u"%fa",
    u"%%a^!",
    u"$GＧＥＥ",
    u"$wa",
    u"_h",
    u"&fs99999",
    u"$J123456",
    u"%mm",
    u"$T",
};
constexpr const char16_t* kPieces[] = {
    u"A",  u"寸法", u"ｱ",  u"\U0001F600", u"\xD800", u"\xDC00", u" ",  u"\t",    u"^!",
    u"^/", u"^_",   u"^-", u"^#",         u"^$3",    u"^$0",    u"^$", u"^\\\"", u"^\\",
    u"^&", u"^%",   u"^*", u"^^",         u"^u",     u"^d",     u"^o", u"^n",    u"^b",
    u"^B", u"^c",   u"^w", u"^",          u"・",     u"･",      u"^2", u"^9",    u"12",
};
constexpr const char16_t* kFaces[] = {
    u"ＭＳ ゴシック", u"ＭＳ 明朝!/", u"<@ＭＳ Ｐ明朝>!", u"Unknown/", u"@", u"", u"@@x",
};

std::u16string Text(Bytes& in) {
  const uint8_t kind = in.U8();
  if (kind < 64) return kWholeTexts[kind % std::size(kWholeTexts)];
  std::u16string text;
  for (int n = kind % 24; n > 0; --n)
    text += kPieces[in.U8() % std::size(kPieces)];
  return text;
}

// A character size: mostly one that shows as glyphs at this scale (6 to 1000 pixels, sometimes
// negative), else any coordinate.
double TextSize(Bytes& in, double scale) {
  const uint8_t kind = in.U8();
  if (kind >= 192) return in.Coordinate();
  const double pixels = 4 + in.U8() * 4.0;
  return (kind % 4 == 0 ? -pixels : pixels) / scale;
}

// A spacing: none, tiny enough for measured advances, ordinary, negative, or any coordinate.
double TextSpacing(Bytes& in, double scale) {
  switch (in.U8() % 5) {
    case 0:
      return 0;
    case 1:
      return 0.005;
    case 2:
      return in.U8() / scale;
    case 3:
      return -(in.U8() / scale);
  }
  return in.Coordinate();
}

TEntText TextEntity(Bytes& in, double scale) {
  TEntText t;
  t.att = Attr(in);
  t.no = in.U8() % 10;
  t.cc = in.I8() % 10;
  t.mw = TextSize(in, scale), t.mh = TextSize(in, scale), t.md = TextSpacing(in, scale);
  t.x1 = in.Coordinate(), t.y1 = in.Coordinate();
  t.x2 = in.Coordinate(), t.y2 = in.Coordinate();
  t.fo = kFaces[in.U8() % std::size(kFaces)];
  t.st = Text(in);
  return t;
}

template <typename Solid>
void SolidArc(Bytes& in, Solid& s) {
  s.att = Attr(in);
  s.Color = static_cast<int>(in.U8() * 0x10101u);
  s.cx = in.Coordinate(), s.cy = in.Coordinate(), s.cr = in.Coordinate();
  s.he = in.Coordinate(), s.ka = in.Coordinate(), s.sa = in.Coordinate(), s.da = in.Coordinate();
}

void DecodeEntities(Bytes& in, TJGdata& doc, double scale) {
  for (int n = 0; n < 200 && !in.empty(); ++n) {
    switch (in.U8() % 15) {
      case 0:
        doc.EntLine.push_back(
            {Attr(in), 0, in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()});
        break;
      case 1:
        doc.EntCirc.push_back({Attr(in), in.Coordinate(), in.Coordinate(), in.Coordinate()});
        break;
      case 2:
        doc.EntArc.push_back({Attr(in), in.Coordinate(), in.Coordinate(), in.Coordinate(),
                              in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()});
        break;
      case 3:
        doc.EntText.push_back(TextEntity(in, scale));
        break;
      case 4:
        doc.EntPnt.push_back({Attr(in), in.Coordinate(), in.Coordinate()});
        break;
      case 5:
        doc.EntMark.push_back({Attr(in), in.Coordinate(), in.Coordinate(), in.Coordinate(),
                               in.Coordinate(), in.I8()});
        break;
      case 6: {
        TEntDim d;
        d.att = Attr(in);
        d.lin = {Attr(in), 0, in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()};
        d.txt = TextEntity(in, scale);
        doc.EntDim.push_back(d);
        break;
      }
      case 7:
        doc.EntSld2.push_back({Attr(in), static_cast<int>(in.U8() * 0x10101u), in.Coordinate(),
                               in.Coordinate(), in.Coordinate(), in.Coordinate()});
        break;
      case 8:
        doc.EntSld3.push_back({Attr(in), static_cast<int>(in.U8() * 0x10101u), in.Coordinate(),
                               in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate(),
                               in.Coordinate()});
        break;
      case 9:
        doc.EntSld4.push_back({Attr(in), static_cast<int>(in.U8() * 0x10101u), in.Coordinate(),
                               in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate(),
                               in.Coordinate(), in.Coordinate(), in.Coordinate()});
        break;
      case 10:
      case 11: {
        TEntSldC s;
        SolidArc(in, s);
        static const int kFlags[] = {100, 0, 5, 1, -3};
        s.fl = kFlags[in.U8() % 5];
        (n % 2 == 0 ? doc.EntSldC : doc.EntSldE).push_back(s);
        break;
      }
      default: {
        TEntSldD s;
        SolidArc(in, s);
        s.ri = in.Coordinate();
        (n % 2 == 0 ? doc.EntSldO : doc.EntSldG).push_back(s);
        break;
      }
    }
  }
}

// Any date and time, valid or not: the code texts must cope with whatever a clock or a file
// system answers.
LocalDateTime Moment(Bytes& in) {
  return {in.I16(), in.I8(), in.I8(), in.I8(), in.I8(), in.I8()};
}

TextCodeValues CodeValues(Bytes& in, const double (&group_scales)[16]) {
  static const char16_t* const kNames[] = {
      u"C:\\plans\\first floor.drw", u"", u"   ", u"\\\\server\\a", u"x\xD800.drw", u"a/b//c/",
  };
  TextCodeValues values;
  values.ZumenName = kNames[in.U8() % std::size(kNames)];
  values.ZumenDate = Moment(in);
  values.ScaleNum = group_scales[in.U8() % 16];
  values.ScaleDen = (in.U8() & 1) != 0 ? 1 : in.Coordinate();
  return values;
}

// The platform's rasterizer, made once: fonts are slow to open and every input draws texts.
GlyphRasterizer& Glyphs() {
  static const std::unique_ptr<GlyphRasterizer> glyphs = CreateGlyphRasterizer();
  return *glyphs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  const int width = in.U8() % 64 + 1;
  const int height = in.U8() % 64 + 1;
  const uint8_t flags = in.U8();
  const int exponent = in.U8() % 25 - 12;
  const double scale = (1 + in.U8() / 256.0) * std::pow(10.0, exponent);
  const double xmin = in.Magnitude(300);
  const double ymin = in.Magnitude(300);
  const int stop_after = in.U8();
  const int pick_x = in.U8() % 80 - 8;
  const int pick_y = in.U8() % 80 - 8;
  double group_scales[16];
  for (double& s : group_scales) {
    const uint8_t b = in.U8();
    s = b < 64 ? 0 : b < 128 ? -(b / 16.0) : b < 240 ? b / 100.0 : in.Magnitude(300);
  }

  const TextCodeValues codes = CodeValues(in, group_scales);
  const LocalDateTime now = Moment(in);

  TJGdata doc;
  if ((flags & 2) != 0) {
    DecodeEntities(in, doc, scale);
  } else {
    doc.ReadTempBytes(in.Rest());
  }
  if ((flags & 4) != 0) std::memcpy(doc.LGrpScale.data(), group_scales, sizeof group_scales);
  if ((flags & 8) != 0) doc.Zusun = !doc.Zusun;

  TgraAttribute attr;
  SetUpStartAttributes(attr);
  if ((flags & 1) != 0) attr.SetPrintMode(true, 0, 0, 0);
  ViewState view;
  view.ViewScale = scale;
  view.ViewXmin = xmin;
  view.ViewYmin = ymin;
  view.ViewWidth = width;
  view.ViewHeight = height;
  view.ViewXmax = xmin + width / scale;
  view.ViewYmax = ymin + height / scale;

  // The frame and origin marks of a redraw, then the drawing.
  auto draw = [&](Surface& surface, const StopPoll& stop, const DrawWalk& walk) {
    Canvas canvas(surface);
    Graphics g(canvas, view, attr, {.glyphs = &Glyphs(), .codes = &codes, .now = now});
    g.GraClear(width, height);
    g.GraPen(0xFFFF00, 0, 0);
    g.GraBoxXY(0, 0, width - 1, height - 1);
    g.GraPen(255, 0, 2);
    const double a = 5 / scale;
    g.GraLine(-a, -a, a, a);
    g.GraLine(-a, a, a, -a);
    GLDrawALL(doc, g, stop, walk);
    if (!g.GraPts.empty() || !g.GraPixPts.empty()) std::abort();
  };
  Surface surface(width, height);
  int polls = 0;
  const StopPoll stop = [&] { return (flags & 16) != 0 && ++polls > stop_after; };
  draw(surface, stop, DrawWalk());
  // Every drawn colour is a screen colour; the top byte marks reads outside the surface.
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((surface.GetPixel(x, y) >> 24) != 0) std::abort();
    }
  }
  // Culled and drawn in bands on several threads, a whole drawing is the plain walk's.
  if ((flags & 16) == 0) {
    EntityIndex index;
    index.Build(doc, attr);
    Surface fast(width, height);
    draw(fast, StopPoll(), {&index, 1 + (flags >> 5)});
    if (!(fast == surface)) std::abort();
  }

  const double a = 5 / scale;
  int etp = 0, eno = 0;
  double picx = 0, picy = 0;
  const bool hit = GetElement2(doc, attr, PixelToDrawX(view, pick_x), PixelToDrawY(view, pick_y), a,
                               etp, eno, picx, picy);
  if (!hit && (etp != 0 || eno != 0)) std::abort();
  return 0;
}
