// The entity renderer: pass order and stop polling, solids, lines, circles, arcs, points and
// marks, texts, dimensions.
#include "render/renderer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <numbers>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

// Draws one table in index order, or only the entities of it that only holds, polling after
// every tenth entity drawn and once at the end; false as soon as a poll asks to stop.
template <typename Entity, typename Draw>
bool DrawPass(const std::vector<Entity>& table, EntityTable kind, const EntitySet* only,
              const StopPoll& stop, Draw draw) {
  if (only == nullptr) {
    for (size_t i = 0; i < table.size(); ++i) {
      draw(table[i]);
      if (i % 10 == 0 && CheckStop(stop)) return false;
    }
    return !CheckStop(stop);
  }
  // Found entities lie apart in their table: each is fetched one entity ahead of its drawing.
  size_t drawn = 0;
  const Entity* next = nullptr;
  auto draw_next = [&] {
    draw(*next);
    return !(drawn++ % 10 == 0 && CheckStop(stop));
  };
  const bool finished = only->ForEach(kind, [&](size_t i) {
    if (i >= table.size()) return true;
    __builtin_prefetch(&table[i]);
    if (next != nullptr && !draw_next()) return false;
    next = &table[i];
    return true;
  });
  if (!finished || (next != nullptr && !draw_next())) return false;
  return !CheckStop(stop);
}

// --- solids ---

template <typename Solid>
void SolidPenAndBrush(Graphics& g, int32_t dcol, const Solid& e) {
  const uint32_t colour = SolidColour(g.attr(), e.att, e.Color);
  g.GraPen(colour, 0, 0);
  g.GraBrush(colour, 1);
  OverridePenAndBrush(g, dcol);
}

bool Monochrome(const TgraAttribute& attr) {
  int32_t sk0 = 0, sk1 = 0, sk2 = 0;
  return attr.GetPrintMode(sk0, sk1, sk2);
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
  if (Monochrome(g.attr())) {
    g.canvas().pen().color = 0x000000;
    g.canvas().pen().style = PenStyle::Solid;
  }
}

double Radians(double degrees) {
  return degrees / 180 * kPi;
}

}  // namespace

uint32_t SolidColour(const TgraAttribute& attr, const TEntAttr& att, int32_t Color) {
  return att.Col == 10 ? ScreenColour(Color) : AttrColour(attr, LayerIndex(att), att.Col);
}

bool LineDrawnBlack(const TgraAttribute& attr, const TEntAttr& att) {
  return Monochrome(attr) ||
         (AttrColour(attr, LayerIndex(att), att.Col) == 0 && SolidLineType(att.Ltp));
}

bool MarkDrawnBlack(const TgraAttribute& attr, const TEntAttr& att) {
  return AttrColour(attr, LayerIndex(att), att.Col) == 0;
}

bool LeavesOutAuxiliary(const TgraAttribute& attr) {
  return attr.GetDispHojo() == 0;
}

bool DimLineShown(bool hojof, const TEntLine& lin) {
  return !(hojof && (lin.att.Col == 9 || lin.att.Ltp == 9));
}

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

double MarkPenWidth(const TgraAttribute& attr, int wid, int col) {
  return wid != 0 ? wid * 0.01 : attr.GetAttrColwid(col);
}

MarkFigure MarkFigureOf(const TgraAttribute& attr, double view_scale, int code, int wid, int col,
                        double size, double angle, double x, double y) {
  const double w = MarkPenWidth(attr, wid, col);
  const double u = size > 1e-10 ? size : 1.0;
  // One pixel, the least a point may measure; nothing is visible at a scale without pixels.
  const double one_pixel = view_scale > 0 ? 1 / view_scale : 0;

  // The figure's local frame: scaled by u, turned by angle, moved to (x, y).
  auto at = [&](double p, double q) -> TGraph_Point {
    return {x + RotX(p * u, q * u, 0, 0, angle), y + RotY(p * u, q * u, 0, 0, angle)};
  };
  auto polar = [&](double radius, double degrees) {
    return at(radius * std::cos(Radians(degrees)), radius * std::sin(Radians(degrees)));
  };
  MarkFigure f;
  auto add = [&f]() -> MarkPart& { return f.parts[static_cast<size_t>(f.count++)]; };
  auto line = [&](TGraph_Point a, TGraph_Point b) {
    MarkPart& part = add();
    part.kind = MarkPartKind::Line;
    part.n = 2;
    part.p[0] = a;
    part.p[1] = b;
  };
  auto circle = [&](double r) {
    MarkPart& part = add();
    part.kind = MarkPartKind::Circle;
    part.n = 1;
    part.p[0] = {x, y};
    part.r = r;
  };
  auto arc = [&](TGraph_Point centre, double r, double start) {
    MarkPart& part = add();
    part.kind = MarkPartKind::Arc;
    part.n = 1;
    part.p[0] = centre;
    part.r = r;
    part.tilt = angle;
    part.start = start;
    part.sweep = kPi / 2;
  };
  auto polygon = [&](std::initializer_list<std::pair<double, double>> local, MarkBrush brush) {
    MarkPart& part = add();
    part.kind = MarkPartKind::Polygon;
    part.brush = brush;
    for (const auto& [p, q] : local)
      part.p[static_cast<size_t>(part.n++)] = at(p, q);
  };
  const auto arrowhead = {std::pair{0.0, 0.0}, std::pair{-7.5, 1.25}, std::pair{-7.5, -1.25}};
  const auto square = {std::pair{-1.25, -1.25}, std::pair{1.25, -1.25}, std::pair{1.25, 1.25},
                       std::pair{-1.25, 1.25}};

  switch (code) {
    case 0:
      circle(std::max(w / 2 + attr.GetAttrColten(col), one_pixel));
      return f;
    case 1:
      polygon(arrowhead, MarkBrush::Background);
      return f;
    case 2:
      polygon(square, MarkBrush::Background);
      return f;
    case 5:
      polygon(square, MarkBrush::Colour);
      return f;
    case 6:
      polygon(arrowhead, MarkBrush::Colour);
      return f;
    case 8: {
      const double r = 1.25 * std::sqrt(2.0);
      arc(at(r, 0), r * u, kPi / 2);
      arc(at(-r, 0), r * u, 3 * kPi / 2);
      return f;
    }
    case 9:
      line(at(0, 0), at(-7.5, 1.25));
      line(at(0, 0), at(-7.5, -1.25));
      return f;
    case 10:
      line(polar(2.5, 45), polar(2.5, 225));
      return f;
    case 11:
      polygon(arrowhead, MarkBrush::Clear);  // an outline
      return f;
    case -1:
      line(at(0, 1.25), at(0, -1.25));
      line(polar(1.25, 30), polar(1.25, 210));
      line(polar(1.25, 150), polar(1.25, 330));
      return f;
    case -3:
      circle(std::max(attr.GetAttrColwid(col) * u, one_pixel));
      return f;
    case -4:
      line(at(0, 1.25), at(0, -1.25));
      line(at(-1.25, 0), at(1.25, 0));
      return f;
    case -5:
      line(at(-1.25, -1.25), at(1.25, -1.25));
      line(at(1.25, -1.25), at(1.25, 1.25));
      line(at(1.25, 1.25), at(-1.25, 1.25));
      line(at(-1.25, 1.25), at(-1.25, -1.25));
      return f;
    case -6: {
      const double r = 5.0 / 3.0;
      line(polar(r, 90), polar(r, 210));
      line(polar(r, 210), polar(r, 330));
      line(polar(r, 330), polar(r, 90));
      return f;
    }
    case -7:
      line(polar(1.25, 45), polar(1.25, 225));
      line(polar(1.25, 135), polar(1.25, 315));
      return f;
  }
  // Codes 3, 4, 7, -2 and every unknown code.
  circle(1.25 * u);
  return f;
}

void GraMark(Graphics& g, int code, int wid, int32_t dcol, int col, int layer, double size,
             double angle, double x, double y) {
  g.GraAttrPen(layer, col, 1, MarkPenWidth(g.attr(), wid, col));
  OverridePen(g, dcol);
  const MarkFigure f =
      MarkFigureOf(g.attr(), g.view().ViewScale, code, wid, col, size, angle, x, y);
  for (int i = 0; i < f.count; ++i) {
    const MarkPart& part = f.parts[static_cast<size_t>(i)];
    const TGraph_Point& a = part.p[0];
    switch (part.kind) {
      case MarkPartKind::Line:
        g.GraLine(a.x, a.y, part.p[1].x, part.p[1].y);
        break;
      case MarkPartKind::Circle:
        g.GraEllipse(a.x, a.y, part.r, 1, 0);
        break;
      case MarkPartKind::Arc:
        g.GraArc(a.x, a.y, part.r, 1, part.tilt, part.start, part.sweep);
        break;
      case MarkPartKind::Polygon:
        // Without a brush set-up the brush stays clear, as the pen set-up left it.
        if (part.brush != MarkBrush::Clear) {
          if (part.brush == MarkBrush::Background) {
            g.GraAttrBrush(-1, -1, 1);
          } else {
            g.GraAttrBrush(layer, col, 1);
          }
          OverridePenAndBrush(g, dcol);
        }
        g.GraPts.assign(part.p.begin(), part.p.begin() + part.n);
        g.GraPolygon();
        g.GraPts.clear();
        break;
    }
  }
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
  if (DimLineShown(hojof, e.lin)) GLDrawLine(doc, g, dcol, e.lin);
  if (!(hojof && e.txt.att.Col == 9)) GLDrawText(doc, g, dcol, e.txt);
}

// --- the whole document ---

namespace {

// The passes of GLDrawALL in their fixed order, over every entity or only those of only.
void DrawPasses(const TJGdata& doc, Graphics& g, const StopPoll& stop, const EntitySet* only) {
  const int32_t dcol = -1;
  const bool hojof = LeavesOutAuxiliary(g.attr());
  auto with = [&](auto drawer) { return [&, drawer](const auto& e) { drawer(doc, g, dcol, e); }; };
  auto pass = [&](const auto& table, EntityTable kind, auto draw) {
    return DrawPass(table, kind, only, stop, draw);
  };
  if (!pass(doc.EntText, kTableText, with(GLDrawImage))) return;
  if (!pass(doc.EntSld2, kTableSld2, with(GLDrawSolid2))) return;
  if (!pass(doc.EntSld3, kTableSld3, with(GLDrawSolid3))) return;
  if (!pass(doc.EntSld4, kTableSld4, with(GLDrawSolid4))) return;
  if (!pass(doc.EntSldC, kTableSldC, with(GLDrawSolidC))) return;
  if (!pass(doc.EntSldE, kTableSldE, with(GLDrawSolidE))) return;
  if (!pass(doc.EntSldO, kTableSldO, with(GLDrawSolidO))) return;
  if (!pass(doc.EntSldG, kTableSldG, with(GLDrawSolidG))) return;
  g.canvas().brush().style = BrushStyle::Clear;
  if (!pass(doc.EntLine, kTableLine, with(GLDrawLine))) return;
  if (!pass(doc.EntCirc, kTableCirc, with(GLDrawCirc))) return;
  if (!pass(doc.EntArc, kTableArc, with(GLDrawArc))) return;
  if (!pass(doc.EntPnt, kTablePnt, with(GLDrawPnt))) return;
  if (!pass(doc.EntMark, kTableMark, with(GLDrawMark))) return;
  if (!pass(doc.EntText, kTableText, with(GLDrawText))) return;
  pass(doc.EntDim, kTableDim, [&](const TEntDim& e) { GLDrawDim(doc, g, hojof, dcol, e); });
}

// Rows per band below which more threads cost more than they save.
constexpr int kMinBandRows = 16;

// The bands of a threaded redraw and who draws which: each thread takes the next band not yet
// taken, so a thread whose bands hold little takes more of them.
class BandedDraw {
 public:
  BandedDraw(const TJGdata& doc, const Graphics& g, const DrawWalk& walk, int bands)
      : doc_(doc), g_(g), walk_(walk), bands_(bands) {}

  // Draws bands until none is left or a stop was seen.
  void Work(const StopPoll& poll) {
    for (int band = next_++; band < bands_ && !stopped_; band = next_++)
      Draw(band, poll);
  }

  // A poll for the threads that must not call the caller's: they learn of a stop through it.
  StopPoll SharedPoll() {
    return [this] { return stopped_.load(std::memory_order_relaxed); };
  }
  // The calling thread's poll: asks the caller's and passes a stop on to the others.
  StopPoll CallerPoll(const StopPoll& stop) {
    return [this, &stop] {
      if (!stopped_ && CheckStop(stop)) stopped_ = true;
      return stopped_.load(std::memory_order_relaxed);
    };
  }

 private:
  void Draw(int band, const StopPoll& poll) {
    Surface& surface = g_.canvas().surface();
    const int height = surface.Height();
    const int top = static_cast<int>(int64_t{height} * band / bands_);
    const int bottom = static_cast<int>(int64_t{height} * (band + 1) / bands_);
    Canvas canvas = g_.canvas();
    canvas.ClipRows(top, bottom);
    Graphics g = g_.OnCanvas(canvas);
    EntitySet found;
    DrawRect rect;
    const bool culled =
        walk_.index != nullptr && SurfaceRect(g.view(), surface.Width(), top, bottom, rect);
    if (culled) walk_.index->Query(rect, found);
    DrawPasses(doc_, g, poll, culled ? &found : nullptr);
  }

  const TJGdata& doc_;
  const Graphics& g_;
  const DrawWalk& walk_;
  const int bands_;
  std::atomic<int> next_{0};
  std::atomic<bool> stopped_{false};
};

// Waits for the threads while polling stop, so that Esc still ends the redraw promptly once
// the calling thread has run out of bands.
void JoinPolling(std::vector<std::thread>& threads, std::atomic<int>& running, std::mutex& mutex,
                 std::condition_variable& done, const StopPoll& poll) {
  {
    std::unique_lock<std::mutex> lock(mutex);
    while (running > 0) {
      done.wait_for(lock, std::chrono::milliseconds(5));
      lock.unlock();
      poll();
      lock.lock();
    }
  }
  for (std::thread& t : threads)
    t.join();
}

}  // namespace

int DrawThreads() {
  // Asking the system is not free on every platform, and the answer does not change.
  static const int threads =
      static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  return threads;
}

void GLDrawALL(const TJGdata& doc, Graphics& g, const StopPoll& stop, const DrawWalk& walk) {
  const int height = g.canvas().surface().Height();
  const int threads = std::clamp(std::min(walk.threads, height / kMinBandRows), 1, 64);
  if (threads == 1 && walk.index == nullptr) {
    DrawPasses(doc, g, stop, nullptr);
    return;
  }
  // Once the bands are handed out, the other threads learn of a stop only at their own polls.
  if (CheckStop(stop)) return;
  // Two bands a thread even out drawings that crowd into part of the view.
  BandedDraw banded(doc, g, walk, threads == 1 ? 1 : 2 * threads);
  const StopPoll shared = banded.SharedPoll();
  std::mutex mutex;
  std::condition_variable done;
  std::atomic<int> running{0};
  std::vector<std::thread> helpers;
  for (int t = 1; t < threads; ++t) {
    ++running;
    try {
      helpers.emplace_back([&] {
        banded.Work(shared);
        std::lock_guard<std::mutex> lock(mutex);
        --running;
        done.notify_one();
      });
    } catch (const std::system_error&) {
      --running;  // no more threads to be had: the ones there are take the remaining bands
      break;
    }
  }
  const StopPoll caller = banded.CallerPoll(stop);
  banded.Work(caller);
  JoinPolling(helpers, running, mutex, done, caller);
}

}  // namespace vardo
