// Random drawings with every entity kind, for tests that compare two ways of drawing or
// finding them.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "document/model.h"
#include "render/graphics.h"
#include "text_scene.h"

namespace vardo::test {

// About count entities of every kind spread over a square of side extent about the origin, a
// few far off or unbounded; layer groups with scales other than 1 and, for some seeds, "bz".
// Every colour kind (pen colours, SXF colours, numbers without an entry, own RGB solids) and
// line type (solid, dotted, others) appears; texts with markers, inline and substitution codes,
// vertical, turned and styled faces, image texts.
inline TJGdata RandomDrawing(std::mt19937& rng, int count, double extent) {
  std::uniform_real_distribution<double> unit(0, 1);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  auto coord = [&] {
    const int kind = pick(40);
    if (kind == 0) return (unit(rng) - 0.5) * 1e12;  // far off
    if (kind == 1) return extent * (unit(rng) < 0.5 ? -3 : 3);
    return (unit(rng) - 0.5) * extent;
  };
  auto size = [&] { return unit(rng) * extent / 10; };
  auto angle = [&] { return unit(rng) * 720 - 360; };
  TJGdata doc;
  doc.Zusun = pick(5) == 0;
  static constexpr std::array<double, 8> kScales = {1, 1, 50, 0.5, 3, 100, 0.01, 1};
  for (int g = 0; g < 16; ++g)
    doc.LGrpScale[g] = kScales[static_cast<size_t>(g % 8)];
  auto att = [&] {
    static constexpr std::array<int, 8> kColours = {1, 2, 5, 9, 0, 103, 112, 400};
    static constexpr std::array<int, 5> kTypes = {1, 2, 31, 5, 1};
    TEntAttr a;
    a.LGrp = pick(16);
    a.Lay = pick(16);
    a.Col = kColours[static_cast<size_t>(pick(8))];
    a.Ltp = kTypes[static_cast<size_t>(pick(5))];
    a.Wid = pick(3) == 0 ? pick(60) - 10 : 0;
    return a;
  };
  auto solid_att = [&] {
    TEntAttr a = att();
    if (pick(3) == 0) a.Col = 10;
    return a;
  };
  auto colour = [&] { return static_cast<int>(rng() & 0xFFFFFF); };
  static const std::array<std::u16string, 14> kTexts = {
      u"ABC",  u"日本語", u"",   u"x",  u"$F",         u"^@BMa.bmp,3,2", u"^@BMb.bmp,-4",
      u"A^uB", u"12・・", u"  ", u"%f", u"ab^$3cd^oX", u"WWW^2",         u"^!x^/y^wab"};
  auto text = [&](TEntText& t) {
    t.att = att();
    t.no = pick(4) == 0 ? 1 : 0;
    t.cc = pick(10) - 1;
    t.mw = (unit(rng) - 0.2) * extent / 20;
    t.mh = unit(rng) * extent / 20;
    t.md = (unit(rng) - 0.5) * extent / 100;
    t.x1 = coord(), t.y1 = coord();
    t.x2 = (unit(rng) - 0.5) * extent / 4, t.y2 = (unit(rng) - 0.5) * extent / 4;
    t.st = kTexts[static_cast<size_t>(pick(static_cast<int>(kTexts.size())))];
    static const std::array<std::u16string, 4> kFaces = {u"<ＭＳ ゴシック>", u"@face", u"@@x!/",
                                                         u"f/"};
    t.fo = kFaces[static_cast<size_t>(pick(4))];
  };
  for (int i = 0; i < count; ++i) {
    switch (pick(15)) {
      case 0:
      case 1:
      case 2: {
        const double x = coord(), y = coord();
        doc.EntLine.push_back({att(), 0, x, y, x + (unit(rng) - 0.5) * size() * 4,
                               y + (unit(rng) - 0.5) * size() * 4});
        break;
      }
      case 3:
        doc.EntCirc.push_back({att(), coord(), coord(), size()});
        break;
      case 4: {
        const double sa = angle();
        doc.EntArc.push_back({att(), coord(), coord(), size(), sa, pick(6) == 0 ? sa : angle(),
                              unit(rng) * 1.5, angle()});
        break;
      }
      case 5:
        doc.EntPnt.push_back({att(), coord(), coord()});
        break;
      case 6: {
        TEntMark m;
        m.att = att();
        m.px = coord(), m.py = coord();
        m.bai = pick(4) == 0 ? 0 : unit(rng) * extent / 50;
        m.ang = angle();
        m.cod = pick(21) - 8;
        doc.EntMark.push_back(m);
        break;
      }
      case 7: {
        TEntText t;
        text(t);
        doc.EntText.push_back(t);
        break;
      }
      case 8: {
        TEntDim d;
        d.att = att();
        const double x = coord(), y = coord();
        d.lin = {att(), 0, x, y, x + size(), y + size()};
        text(d.txt);
        doc.EntDim.push_back(d);
        break;
      }
      case 9: {
        const double x = coord(), y = coord();
        doc.EntSld2.push_back({solid_att(), colour(), x, y, x + size(), y - size()});
        break;
      }
      case 10: {
        const double x = coord(), y = coord();
        doc.EntSld3.push_back(
            {solid_att(), colour(), x, y, x + size(), y + size() / 3, x - size() / 2, y + size()});
        break;
      }
      case 11: {
        const double x = coord(), y = coord(), w = size(), h = size();
        doc.EntSld4.push_back(
            {solid_att(), colour(), x, y, x + w, y, x + w * 1.2, y + h, x, y + h});
        break;
      }
      case 12:
      case 13: {
        static constexpr std::array<int, 5> kFlags = {0, 5, 100, 3, 0};
        TEntSldC c;
        c.att = solid_att();
        c.Color = colour();
        c.cx = coord(), c.cy = coord(), c.cr = size();
        c.he = unit(rng) * 1.5, c.ka = unit(rng) * 7, c.sa = unit(rng) * 7;
        c.da = (unit(rng) - 0.5) * 13;
        c.fl = kFlags[static_cast<size_t>(pick(5))];
        (pick(2) == 0 ? doc.EntSldC : doc.EntSldE).push_back(c);
        break;
      }
      case 14: {
        TEntSldD d;
        d.att = solid_att();
        d.Color = colour();
        d.cx = coord(), d.cy = coord(), d.cr = size();
        d.he = unit(rng) * 1.5, d.ka = unit(rng) * 7, d.sa = unit(rng) * 7;
        d.da = (unit(rng) - 0.5) * 13;
        d.ri = d.cr * unit(rng);
        (pick(2) == 0 ? doc.EntSldO : doc.EntSldG).push_back(d);
        break;
      }
    }
  }
  return doc;
}

// Text services that draw every glyph as its filled cell, with a drawing name long enough that a
// file-name code draws far beyond its own length.
struct RandomTextServices {
  RandomTextServices() {
    codes.ZumenName = u"C:\\図面\\工区\\a rather long drawing name for a site.drw";
  }
  BoxGlyphs glyphs;
  TextCodeValues codes;
  TextServices services{.glyphs = &glyphs, .codes = &codes, .now = {2024, 5, 1, 13, 4, 5}};
};

}  // namespace vardo::test
