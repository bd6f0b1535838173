// The entity renderer: pass order and stop polling, solids, lines, circles, arcs, points and
// marks, texts, dimensions.
#include "render/renderer.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>

#include "common/geometry.h"
#include "common/image_text.h"
#include "common/text_helpers.h"
#include "render/image.h"

namespace vardo {

namespace {

constexpr double kPi = std::numbers::pi;

void OverridePen(Graphics& g, int32_t dcol) {
  if (dcol >= 0) g.canvas().pen().color = ScreenColour(dcol);
}

void OverridePenAndBrush(Graphics& g, int32_t dcol) {
  if (dcol < 0) return;
  g.canvas().pen().color = ScreenColour(dcol);
  g.canvas().brush().color = ScreenColour(dcol);
}

bool Stopped(const StopPoll& stop) {
  return stop && stop();
}

// Draws one table in index order, polling after every tenth entity and once at the end; false
// as soon as a poll asks to stop.
template <typename Entity, typename Draw>
bool DrawPass(const std::vector<Entity>& table, const StopPoll& stop, Draw draw) {
  for (size_t i = 0; i < table.size(); ++i) {
    draw(table[i]);
    if (i % 10 == 0 && Stopped(stop)) return false;
  }
  return !Stopped(stop);
}

// --- solids ---

// Colour 10 is the solid's own RGB value, shown as it is even in monochrome.
template <typename Solid>
void SolidPenAndBrush(Graphics& g, int32_t dcol, const Solid& e) {
  if (e.att.Col == 10) {
    const uint32_t colour = ScreenColour(e.Color);
    g.GraPen(colour, 0, 0);
    g.GraBrush(colour, 1);
  } else {
    const int layer = LayerIndex(e.att);
    g.GraAttrPen(layer, e.att.Col, 1, 0);
    g.GraAttrBrush(layer, e.att.Col, 1);
  }
  OverridePenAndBrush(g, dcol);
}

void DrawSolidRing(const TJGdata& doc, Graphics& g, std::initializer_list<TGraph_Point> points,
                   const TEntAttr& att, bool filled) {
  const double s = doc.ScaleOf(att.LGrp);
  g.GraPts.clear();
  for (const TGraph_Point& p : points)
    g.GraPts.push_back({p.x / s, p.y / s});
  if (filled) {
    g.GraPolygon();
  } else {
    g.GraPolyline();
  }
  g.GraPts.clear();
}

template <typename Solid>
void DrawSolidArc(const TJGdata& doc, Graphics& g, int32_t dcol, const Solid& e, int kind,
                  double extra) {
  SolidPenAndBrush(g, dcol, e);
  const double s = doc.ScaleOf(e.att.LGrp);
  g.GraSolidArc(kind, e.cx / s, e.cy / s, e.cr / s, e.he, e.ka, e.sa, e.da, extra);
}

// --- lines, circles and arcs ---

void LinePen(Graphics& g, int32_t dcol, const TEntAttr& att) {
  const double width = att.Wid != 0 ? att.Wid * 0.01 : g.attr().GetAttrColwid(att.Col);
  g.GraAttrPen(LayerIndex(att), att.Col, att.Ltp, width);
  OverridePen(g, dcol);
  int32_t sk0 = 0, sk1 = 0, sk2 = 0;
  if (g.attr().GetPrintMode(sk0, sk1, sk2)) {
    g.canvas().pen().color = 0x000000;
    g.canvas().pen().style = PenStyle::Solid;
  }
}

double Radians(double degrees) {
  return degrees / 180 * kPi;
}

}  // namespace

int LayerIndex(const TEntAttr& att) {
  const int64_t index = int64_t{att.LGrp} * 16 + att.Lay;
  return static_cast<int>(std::clamp<int64_t>(index, INT32_MIN, INT32_MAX));
}

void GLDrawSolid2(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSld2& e) {
  SolidPenAndBrush(g, dcol, e);
  DrawSolidRing(doc, g, {{e.x1, e.y1}, {e.x2, e.y2}}, e.att, false);
}

void GLDrawSolid3(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSld3& e) {
  SolidPenAndBrush(g, dcol, e);
  DrawSolidRing(doc, g, {{e.x1, e.y1}, {e.x2, e.y2}, {e.x3, e.y3}}, e.att, true);
}

void GLDrawSolid4(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSld4& e) {
  SolidPenAndBrush(g, dcol, e);
  DrawSolidRing(doc, g, {{e.x1, e.y1}, {e.x2, e.y2}, {e.x3, e.y3}, {e.x4, e.y4}}, e.att, true);
}

void GLDrawSolidC(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldC& e) {
  DrawSolidArc(doc, g, dcol, e, kSolidArcFilled, e.fl);
}

void GLDrawSolidE(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldC& e) {
  DrawSolidArc(doc, g, dcol, e, kSolidArcOutline, e.fl);
}

void GLDrawSolidO(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldD& e) {
  DrawSolidArc(doc, g, dcol, e, kSolidArcRing, e.ri / doc.ScaleOf(e.att.LGrp));
}

void GLDrawSolidG(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntSldD& e) {
  DrawSolidArc(doc, g, dcol, e, kSolidArcRingParallel, e.ri / doc.ScaleOf(e.att.LGrp));
}

void GLDrawLine(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntLine& e) {
  LinePen(g, dcol, e.att);
  const double s = doc.ScaleOf(e.att.LGrp);
  g.GraLine(e.x1 / s, e.y1 / s, e.x2 / s, e.y2 / s);
}

void GLDrawCirc(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntCircle& e) {
  LinePen(g, dcol, e.att);
  const double s = doc.ScaleOf(e.att.LGrp);
  g.GraEllipse(e.cx / s, e.cy / s, e.cr / s, 1, 0);
}

void GLDrawArc(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntArc& e) {
  LinePen(g, dcol, e.att);
  const double s = doc.ScaleOf(e.att.LGrp);
  const double start = NormalizeDeg(e.sa);
  const double sweep = NormalizeDeg(e.ea - e.sa);
  const double tilt = Radians(e.ka);
  if (std::fabs(sweep) <= 1e-10) {
    g.GraEllipse(e.cx / s, e.cy / s, e.cr / s, e.he, tilt);
    return;
  }
  g.GraArc(e.cx / s, e.cy / s, e.cr / s, e.he, tilt, Radians(start), Radians(sweep));
}

// --- points and marks ---

void GLDrawPnt(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntPnt& e) {
  const double s = doc.ScaleOf(e.att.LGrp);
  GraMark(g, 0, e.att.Wid, dcol, e.att.Col, LayerIndex(e.att), 1, 0, e.px / s, e.py / s);
}

void GLDrawMark(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntMark& e) {
  const double s = doc.ScaleOf(e.att.LGrp);
  GraMark(g, e.cod, e.att.Wid, dcol, e.att.Col, LayerIndex(e.att), e.bai, Radians(e.ang), e.px / s,
          e.py / s);
}

void GraMark(Graphics& g, int code, int wid, int32_t dcol, int col, int layer, double size,
             double angle, double x, double y) {
  const TgraAttribute& attr = g.attr();
  const double w = wid != 0 ? wid * 0.01 : attr.GetAttrColwid(col);
  g.GraAttrPen(layer, col, 1, w);
  OverridePen(g, dcol);
  const double u = size > 1e-10 ? size : 1.0;
  // One pixel, the least a point may measure; nothing is visible at a scale without pixels.
  const double scale = g.view().ViewScale;
  const double one_pixel = scale > 0 ? 1 / scale : 0;

  // The figure's local frame: scaled by u, turned by angle, moved to (x, y).
  auto at = [&](double p, double q) -> TGraph_Point {
    return {x + RotX(p * u, q * u, 0, 0, angle), y + RotY(p * u, q * u, 0, 0, angle)};
  };
  auto polar = [&](double radius, double degrees) {
    return at(radius * std::cos(Radians(degrees)), radius * std::sin(Radians(degrees)));
  };
  auto line = [&](TGraph_Point a, TGraph_Point b) { g.GraLine(a.x, a.y, b.x, b.y); };
  auto circle = [&](double r) { g.GraEllipse(x, y, r, 1, 0); };
  auto polygon = [&](std::initializer_list<std::pair<double, double>> local) {
    g.GraPts.clear();
    for (const auto& [p, q] : local)
      g.GraPts.push_back(at(p, q));
    g.GraPolygon();
    g.GraPts.clear();
  };
  auto background_brush = [&] {
    g.GraAttrBrush(-1, -1, 1);
    OverridePenAndBrush(g, dcol);
  };
  auto colour_brush = [&] {
    g.GraAttrBrush(layer, col, 1);
    OverridePenAndBrush(g, dcol);
  };
  const auto arrowhead = {std::pair{0.0, 0.0}, std::pair{-7.5, 1.25}, std::pair{-7.5, -1.25}};
  const auto square = {std::pair{-1.25, -1.25}, std::pair{1.25, -1.25}, std::pair{1.25, 1.25},
                       std::pair{-1.25, 1.25}};

  switch (code) {
    case 0:
      circle(std::max(w / 2 + attr.GetAttrColten(col), one_pixel));
      return;
    case 1:
      background_brush();
      polygon(arrowhead);
      return;
    case 2:
      background_brush();
      polygon(square);
      return;
    case 5:
      colour_brush();
      polygon(square);
      return;
    case 6:
      colour_brush();
      polygon(arrowhead);
      return;
    case 8: {
      const double r = 1.25 * std::sqrt(2.0);
      const TGraph_Point c1 = at(r, 0);
      const TGraph_Point c2 = at(-r, 0);
      g.GraArc(c1.x, c1.y, r * u, 1, angle, kPi / 2, kPi / 2);
      g.GraArc(c2.x, c2.y, r * u, 1, angle, 3 * kPi / 2, kPi / 2);
      return;
    }
    case 9:
      line(at(0, 0), at(-7.5, 1.25));
      line(at(0, 0), at(-7.5, -1.25));
      return;
    case 10:
      line(polar(2.5, 45), polar(2.5, 225));
      return;
    case 11:
      polygon(arrowhead);  // the clear brush of the pen set-up: an outline
      return;
    case -1:
      line(at(0, 1.25), at(0, -1.25));
      line(polar(1.25, 30), polar(1.25, 210));
      line(polar(1.25, 150), polar(1.25, 330));
      return;
    case -3:
      circle(std::max(attr.GetAttrColwid(col) * u, one_pixel));
      return;
    case -4:
      line(at(0, 1.25), at(0, -1.25));
      line(at(-1.25, 0), at(1.25, 0));
      return;
    case -5:
      line(at(-1.25, -1.25), at(1.25, -1.25));
      line(at(1.25, -1.25), at(1.25, 1.25));
      line(at(1.25, 1.25), at(-1.25, 1.25));
      line(at(-1.25, 1.25), at(-1.25, -1.25));
      return;
    case -6: {
      const double r = 5.0 / 3.0;
      line(polar(r, 90), polar(r, 210));
      line(polar(r, 210), polar(r, 330));
      line(polar(r, 330), polar(r, 90));
      return;
    }
    case -7:
      line(polar(1.25, 45), polar(1.25, 225));
      line(polar(1.25, 135), polar(1.25, 315));
      return;
  }
  // Codes 3, 4, 7, -2 and every unknown code.
  circle(1.25 * u);
}

// --- texts and dimensions ---

TextBaseline PlaceText(const TJGdata& doc, const TEntText& e) {
  const double s = doc.ScaleOf(e.att.LGrp);
  double width = TextRunLength(e.st, e.mw, e.md);
  double height = e.mh;
  if (e.no == 1) std::swap(width, height);
  const int cc = e.cc >= 0 && e.cc <= 8 ? e.cc : 0;
  const double dx = cc % 3 == 0 ? 0 : cc % 3 == 1 ? -width / 2 : -width;
  const double dy = cc / 3 == 0 ? 0 : cc / 3 == 1 ? -height / 2 : -height;
  const double angle = LineAngle(e.x2, e.y2);
  TextBaseline b;
  b.bx = e.x1 / s + RotX(dx, dy, 0, 0, angle);
  b.by = e.y1 / s + RotY(dx, dy, 0, 0, angle);
  b.ex = e.x2 / s + b.bx;
  b.ey = e.y2 / s + b.by;
  return b;
}

TextFont TextFontOf(const TEntText& e) {
  TextFont font;
  std::u16string_view face = e.fo;
  if (face.ends_with(u"!/") || face.ends_with(u"/!")) {
    face.remove_suffix(2);
    font.style = kTextBold | kTextItalic;
  } else if (face.ends_with(u"/")) {
    face.remove_suffix(1);
    font.style = kTextItalic;
  } else if (face.ends_with(u"!")) {
    face.remove_suffix(1);
    font.style = kTextBold;
  }
  if (face.starts_with(u"<")) face.remove_prefix(1);
  if (face.ends_with(u">")) face.remove_suffix(1);
  const bool vertical = e.no == 1;
  font.face = vertical ? u"@" + std::u16string(face) : std::u16string(face);
  font.A = vertical ? e.mw : e.mh;
  font.B = vertical ? e.mh : e.mw;
  font.D = e.md;
  return font;
}

void GLDrawText(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntText& e) {
  if (IsImageText(e.st)) return;
  g.GraAttrPen(LayerIndex(e.att), e.att.Col, 1, 0);
  if (dcol >= 0) {
    g.canvas().pen().color = ScreenColour(dcol);
    g.canvas().font_color() = ScreenColour(dcol);
  }
  DrawTextString(g, TextFontOf(e), PlaceText(doc, e), e.st);
}

void GLDrawDim(const TJGdata& doc, Graphics& g, bool hojof, int32_t dcol, const TEntDim& e) {
  if (!(hojof && (e.lin.att.Col == 9 || e.lin.att.Ltp == 9))) GLDrawLine(doc, g, dcol, e.lin);
  if (!(hojof && e.txt.att.Col == 9)) GLDrawText(doc, g, dcol, e.txt);
}

// --- the whole document ---

void GLDrawALL(const TJGdata& doc, Graphics& g, const StopPoll& stop) {
  const int32_t dcol = -1;
  const bool hojof = g.attr().GetDispHojo() == 0;
  auto with = [&](auto drawer) { return [&, drawer](const auto& e) { drawer(doc, g, dcol, e); }; };
  if (!DrawPass(doc.EntText, stop, with(GLDrawImage))) return;
  if (!DrawPass(doc.EntSld2, stop, with(GLDrawSolid2))) return;
  if (!DrawPass(doc.EntSld3, stop, with(GLDrawSolid3))) return;
  if (!DrawPass(doc.EntSld4, stop, with(GLDrawSolid4))) return;
  if (!DrawPass(doc.EntSldC, stop, with(GLDrawSolidC))) return;
  if (!DrawPass(doc.EntSldE, stop, with(GLDrawSolidE))) return;
  if (!DrawPass(doc.EntSldO, stop, with(GLDrawSolidO))) return;
  if (!DrawPass(doc.EntSldG, stop, with(GLDrawSolidG))) return;
  g.canvas().brush().style = BrushStyle::Clear;
  if (!DrawPass(doc.EntLine, stop, with(GLDrawLine))) return;
  if (!DrawPass(doc.EntCirc, stop, with(GLDrawCirc))) return;
  if (!DrawPass(doc.EntArc, stop, with(GLDrawArc))) return;
  if (!DrawPass(doc.EntPnt, stop, with(GLDrawPnt))) return;
  if (!DrawPass(doc.EntMark, stop, with(GLDrawMark))) return;
  if (!DrawPass(doc.EntText, stop, with(GLDrawText))) return;
  DrawPass(doc.EntDim, stop, [&](const TEntDim& e) { GLDrawDim(doc, g, hojof, dcol, e); });
}

}  // namespace vardo
