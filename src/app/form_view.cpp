// The form's view: full redraw with its back buffer, repaint, zooming and panning, mouse
// gestures, wheel, keys and resizing.
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/form.h"
#include "common/stopwatch.h"
#include "render/canvas.h"
#include "render/graphics.h"
#include "render/picking.h"
#include "render/renderer.h"

namespace vardo {

namespace {

constexpr uint32_t kFrameColour = 0xFFFF00;
constexpr uint32_t kGridColour = 0xC0C0C0;
constexpr uint32_t kGridOriginColour = 0xFF0000;
constexpr uint32_t kOriginColour = 255;
constexpr int kMaxGridLines = 100;
constexpr int kMarkPixels = 5;      // half size of the marks and of the pick square
constexpr int kRecentrePixels = 5;  // a two-button drag this short re-centres

// Edges included; in 64 bits, as a rectangle may reach past the int range.
bool Contains(const ScreenRect& r, ScreenPoint p) {
  const long long right = static_cast<long long>(r.left) + r.width;
  const long long bottom = static_cast<long long>(r.top) + r.height;
  return p.x >= r.left && p.x <= right && p.y >= r.top && p.y <= bottom;
}

int ClampToInt(long long v) {
  return static_cast<int>(
      std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool Finite(double v) {
  return std::isfinite(v);
}

// A view the mappings can work with: finite edges, a positive scale, and a window that has not
// shrunk to a point in the precision of doubles.
bool SoundView(const ViewState& v) {
  return Finite(v.ViewXmin) && Finite(v.ViewXmax) && Finite(v.ViewYmin) && Finite(v.ViewYmax) &&
         Finite(v.ViewScale) && v.ViewScale > 0 && v.ViewXmax > v.ViewXmin &&
         v.ViewYmax > v.ViewYmin;
}

}  // namespace

int TForm1::PaintWidth() const {
  return std::max(1, window_.PaintBoxRect().width);
}

int TForm1::PaintHeight() const {
  return std::max(1, window_.PaintBoxRect().height);
}

StopPoll TForm1::EscPoll() {
  return [this] { return window_.EscapeHeld(); };
}

void TForm1::KeepSoundView(const ViewState& before) {
  if (!SoundView(View)) View = before;
}

void TForm1::SetWindowFromCentre(double cx, double cy) {
  const double hw = View.ViewWidth / 2.0 / View.ViewScale;
  const double hh = View.ViewHeight / 2.0 / View.ViewScale;
  View.ViewXmin = cx - hw;
  View.ViewXmax = cx + hw;
  View.ViewYmin = cy - hh;
  View.ViewYmax = cy + hh;
}

void TForm1::Redraw() {
  if (!FirstDrawFlag || !JG) return;
  // The renderer stops while Esc is held; a new drawing must not end before it starts.
  window_.WaitEscapeUp();
  const Stopwatch drawing;
  DrawRB1 = false;
  const int w = PaintWidth(), h = PaintHeight();
  Canvas canvas(window_.PaintBox());
  Graphics g(canvas, View, GraAttr,
             {.glyphs = Glyphs.get(), .codes = &TextCodes, .now = LocalNow()});
  g.GraClear(w, h);
  g.GraPen(kFrameColour, 0, 0);
  g.GraBoxXY(0, 0, w - 1, h - 1);
  if (grd == 1) DrawGrid(g);
  DrawMarks(g);
  SnapOutlines.Stop();
  EntIndex.Update(*JG, GraAttr);
  GLDrawALL(*JG, g, EscPoll(), PlainRedraw ? DrawWalk() : DrawWalk{&EntIndex, DrawThreads()});
  TakeBackBuffer();
  Timings.redraw = drawing.Millis();
}

void TForm1::DrawGrid(Graphics& g) {
  g.GraPen(kGridColour, 0, 0);
  const double s = grdn / JG->ScaleOf(JG->CurLGrp);
  // A spacing of 0 or below would never advance along the window.
  if (!(s > 0) || !Finite(s)) return;
  if ((View.ViewXmax - View.ViewXmin) / s > kMaxGridLines ||
      (View.ViewYmax - View.ViewYmin) / s > kMaxGridLines) {
    return;
  }
  // At most 100 spacings fit the window; the count also ends the walk where adding s no longer
  // changes a coordinate that lies far from the origin.
  constexpr int kMaxSteps = kMaxGridLines + 2;
  double x = std::trunc((View.ViewXmin - grdx) / s) * s + grdx;
  for (int i = 0; i < kMaxSteps && x < View.ViewXmax; ++i, x += s) {
    g.GraLine(x, View.ViewYmin, x, View.ViewYmax);
  }
  double y = std::trunc((View.ViewYmin - grdy) / s) * s + grdy;
  for (int i = 0; i < kMaxSteps && y < View.ViewYmax; ++i, y += s) {
    g.GraLine(View.ViewXmin, y, View.ViewXmax, y);
  }
}

void TForm1::DrawMarks(Graphics& g) {
  if (grd == 1 && (std::fabs(grdx) > 1e-10 || std::fabs(grdy) > 1e-10)) {
    g.GraPen(kGridOriginColour, 0, 2);
    const double h = kMarkPixels / View.ViewScale;
    g.GraLine(grdx - h, grdy, grdx + h, grdy);
    g.GraLine(grdx, grdy + h, grdx, grdy - h);
  }
  g.GraPen(kOriginColour, 0, 2);
  const double a = kMarkPixels / View.ViewScale;
  g.GraLine(-a, -a, a, a);
  g.GraLine(-a, a, a, -a);
}

void TForm1::TakeBackBuffer() {
  RepBmp.reset();
  const Surface& screen = window_.PaintBox();
  Surface copy;
  if (!window_.CreateBitmap(copy, screen.Width(), screen.Height())) return;
  Canvas(copy).Draw(0, 0, screen);
  RepBmp = std::move(copy);
}

void TForm1::PaintBox1Paint() {
  if (!Ready()) return;
  DrawRB1 = false;
  if (!RepBmp) {
    ZoomAll();
    return;
  }
  const int w = PaintWidth(), h = PaintHeight();
  Canvas canvas(window_.PaintBox());
  Graphics g(canvas, View, GraAttr);
  g.GraClear(w, h);
  // The repaint frame takes the redraw's frame colour: in the marking blue, the parts of it that
  // the back buffer leaves visible after the paint box grew would be traced as marked regions.
  g.GraPen(kFrameColour, 0, 0);
  g.GraBoxXY(0, 0, w - 1, h - 1);
  canvas.Draw(0, 0, *RepBmp);
}

void TForm1::ZoomAll() {
  if (!JG) return;
  const ViewState before = View;
  RememberView(View);
  View.ViewWidth = PaintWidth();
  View.ViewHeight = PaintHeight();
  const Stopwatch measuring;
  JG->GetMinMaxZahyo(View);
  Timings.extents = measuring.Millis();
  double dx = std::fabs(View.ExtXmax - View.ExtXmin);
  double dy = std::fabs(View.ExtYmax - View.ExtYmin);
  if (dx <= 1e-10) dx = 1e-10;
  if (dy <= 1e-10) dy = 1e-10;
  const double cx = (View.ExtXmin + View.ExtXmax) / 2, cy = (View.ExtYmin + View.ExtYmax) / 2;
  FitWindow(cx, cy, dx, dy);
  if (!SoundView(View)) {
    // Extents that are nearly a point far from the origin: as close as doubles can show there.
    const double least = 1e-9 * std::max({1.0, std::fabs(cx), std::fabs(cy)});
    FitWindow(cx, cy, std::max(dx, least), std::max(dy, least));
  }
  KeepSoundView(before);
  Redraw();
}

void TForm1::FitWindow(double cx, double cy, double dx, double dy) {
  View.ViewScale = std::min(View.ViewWidth / dx * 0.9, View.ViewHeight / dy * 0.9);
  SetWindowFromCentre(cx, cy);
}

void TForm1::ZoomAt(int X, int Y, double f) {
  const ScreenRect box = window_.PaintBoxRect();
  ZoomAtPixel(ClampToInt(static_cast<long long>(X) - box.left),
              ClampToInt(static_cast<long long>(Y) - box.top), f);
}

void TForm1::ZoomAtPixel(int px, int py, double f) {
  const ViewState before = View;
  RememberView(View);
  const double wx = PixelToDrawX(View, px);
  const double wy = PixelToDrawY(View, py);
  const double cx = (View.ViewXmin + View.ViewXmax) / 2;
  const double cy = (View.ViewYmin + View.ViewYmax) / 2;
  View.ViewScale *= f;
  const double hw = (View.ViewXmax - View.ViewXmin) / 2 / f;
  const double hh = (View.ViewYmax - View.ViewYmin) / 2 / f;
  const double dx = wx - cx, dy = wy - cy;
  const double ncx = cx + dx - dx / f, ncy = cy + dy - dy / f;
  View.ViewXmin = ncx - hw;
  View.ViewXmax = ncx + hw;
  View.ViewYmin = ncy - hh;
  View.ViewYmax = ncy + hh;
  KeepSoundView(before);
  Redraw();
}

void TForm1::ZoomWindow(double x1, double y1, double x2, double y2) {
  const ViewState before = View;
  RememberView(View);
  View.ViewWidth = PaintWidth();
  View.ViewHeight = PaintHeight();
  double dx = std::fabs(x2 - x1), dy = std::fabs(y2 - y1);
  if (dx <= 0.001) dx = 0.001;
  if (dy <= 0.001) dy = 0.001;
  View.ViewScale = std::min(View.ViewWidth / dx, View.ViewHeight / dy);
  SetWindowFromCentre((x1 + x2) / 2, (y1 + y2) / 2);
  KeepSoundView(before);
  Redraw();
}

void TForm1::ZoomOut(double x1, double y1, double x2, double y2) {
  const ViewState before = View;
  RememberView(View);
  View.ViewWidth = PaintWidth();
  View.ViewHeight = PaintHeight();
  const double w = View.ViewXmax - View.ViewXmin;
  const double h = View.ViewYmax - View.ViewYmin;
  View.ViewScale = std::min(View.ViewWidth / (2 * w), View.ViewHeight / (2 * h));
  SetWindowFromCentre((x1 + x2) / 2, (y1 + y2) / 2);
  KeepSoundView(before);
  Redraw();
}

void TForm1::CenterAt(double x, double y) {
  const ViewState before = View;
  RememberView(View);
  View.ViewWidth = PaintWidth();
  View.ViewHeight = PaintHeight();
  const double sx = x - (View.ViewXmin + View.ViewXmax) / 2;
  const double sy = y - (View.ViewYmin + View.ViewYmax) / 2;
  View.ViewXmin += sx, View.ViewXmax += sx;
  View.ViewYmin += sy, View.ViewYmax += sy;
  KeepSoundView(before);
  Redraw();
}

void TForm1::SwapPreviousView() {
  const ViewState current = View;
  View.ViewXmin = View.PrevXmin, View.ViewYmin = View.PrevYmin;
  View.ViewXmax = View.PrevXmax, View.ViewYmax = View.PrevYmax;
  View.ViewScale = View.PrevScale;
  Redraw();
  View.PrevXmin = current.ViewXmin, View.PrevYmin = current.ViewYmin;
  View.PrevXmax = current.ViewXmax, View.PrevYmax = current.ViewYmax;
  View.PrevScale = current.ViewScale;
}

void TForm1::DrawRubberBand() {
  const uint32_t colour = GraAttr.GetBackColorNo() != 0 ? 255 : 0xFFFF00;
  Canvas canvas(window_.PaintBox());
  Graphics g(canvas, View, GraAttr);
  g.GraXorMode();
  g.GraPen(colour, 0, 3);
  g.GraBrush(0, 0);
  g.GraBoxXY(DrawRBx1, DrawRBy1, DrawRBx2, DrawRBy2);
}

void TForm1::PaintBox1MouseDown(const MouseEvent& e) {
  if (!Ready()) return;
  if ((MouseBtnState & (kMouseLeft | kMouseRight)) == 0) {
    MouseBtnX = e.X;
    MouseBtnY = e.Y;
  }
  MouseBtnState |= e.buttons & (kMouseLeft | kMouseRight | kMouseMiddle);
  if ((MouseBtnState & kMouseMiddle) == 0) return;
  const Surface& screen = window_.PaintBox();
  WrkBmpFlag = window_.CreateBitmap(WrkBmp, screen.Width(), screen.Height());
  if (WrkBmpFlag) {
    Canvas(WrkBmp).Draw(0, 0, screen);
  } else {
    WrkBmp = Surface();
  }
}

void TForm1::PaintBox1MouseMove(const MouseEvent& e) {
  if (!Ready()) return;
  if ((MouseBtnState & (kMouseLeft | kMouseRight)) == (kMouseLeft | kMouseRight)) {
    if (DrawRB1) DrawRubberBand();
    DrawRBx1 = MouseBtnX, DrawRBy1 = MouseBtnY;
    DrawRBx2 = e.X, DrawRBy2 = e.Y;
    DrawRubberBand();
    DrawRB1 = true;
    return;
  }
  if ((MouseBtnState & kMouseMiddle) != 0 && WrkBmpFlag) {
    DrawRB1 = false;
    Canvas canvas(window_.PaintBox());
    Graphics g(canvas, View, GraAttr);
    g.GraClear(PaintWidth(), PaintHeight());
    canvas.Draw(ClampToInt(static_cast<long long>(e.X) - MouseBtnX),
                ClampToInt(static_cast<long long>(e.Y) - MouseBtnY), WrkBmp);
  }
}

void TForm1::PaintBox1MouseUp(const MouseEvent& e) {
  if (!Ready()) return;
  const double sx = PixelToDrawX(View, MouseBtnX), sy = PixelToDrawY(View, MouseBtnY);
  const double ex = PixelToDrawX(View, e.X), ey = PixelToDrawY(View, e.Y);
  const unsigned state = MouseBtnState;
  if ((state & (kMouseLeft | kMouseRight)) == (kMouseLeft | kMouseRight)) {
    if (DrawRB1) DrawRubberBand();
    DrawRB1 = false;
    const double near = kRecentrePixels / View.ViewScale;
    if (std::fabs(ex - sx) <= near || std::fabs(ey - sy) <= near) {
      CenterAt(sx, sy);
    } else if (sx < ex && sy > ey) {
      ZoomWindow(sx, sy, ex, ey);
    } else if (sx > ex && sy < ey) {
      ZoomOut(sx, sy, ex, ey);
    } else if (sx < ex && sy < ey) {
      ZoomAll();
    } else {
      SwapPreviousView();
    }
  } else if ((state & kMouseMiddle) != 0) {
    WrkBmp = Surface();
    WrkBmpFlag = false;
    const ViewState before = View;
    RememberView(View);
    View.ViewXmin += sx - ex, View.ViewXmax += sx - ex;
    View.ViewYmin += sy - ey, View.ViewYmax += sy - ey;
    KeepSoundView(before);
    Redraw();
  } else if ((state & kMouseLeft) != 0) {
    ClickAt(sx, sy, e.X, e.Y);
  }
  MouseBtnState = 0;
}

std::optional<PickedElement> TForm1::PickElement(double x, double y) const {
  if (!JG) return std::nullopt;
  PickedElement e;
  if (!GetElement2(*JG, GraAttr, x, y, kMarkPixels / View.ViewScale, e.etp, e.eno, e.picx,
                   e.picy)) {
    return std::nullopt;
  }
  return e;
}

void TForm1::ClickAt(double sx, double sy, int X, int Y) {
  if (const std::optional<PickedElement> hit = PickElement(sx, sy)) {
    const double h = kMarkPixels / View.ViewScale;
    Canvas canvas(window_.PaintBox());
    Graphics g(canvas, View, GraAttr);
    g.GraPen(static_cast<uint32_t>(JG->aCol), 0, 2);
    g.GraBox(hit->picx - h, hit->picy - h, hit->picx + h, hit->picy + h);
  }
  window_.SetEnabled(Control::Button1, false);
  window_.SetEnabled(Control::Button2, false);
  FillRegion(X, Y);
  window_.SetEnabled(Control::Button1, true);
  window_.SetEnabled(Control::Button2, true);
}

void TForm1::FormMouseWheelDown(WheelEvent& e) {
  if (!Ready() || !Contains(window_.PaintBoxRect(), e.MousePos)) return;
  ZoomAt(e.MousePos.x, e.MousePos.y, mwheel2);
  e.Handled = true;
}

void TForm1::FormMouseWheelUp(WheelEvent& e) {
  if (!Ready() || !Contains(window_.PaintBoxRect(), e.MousePos)) return;
  ZoomAt(e.MousePos.x, e.MousePos.y, 1 / mwheel2);
  e.Handled = true;
}

void TForm1::FormKeyDown(KeyEvent& e) {
  if (!Ready()) return;
  const ScreenPoint pointer = window_.CursorPos();
  // Over the control column the key belongs to the focused control (typing in an edit).
  if (Contains(window_.ControlColumnRect(), pointer)) return;
  switch (e.Key) {
    case KeyCode::PageUp:
    case KeyCode::PageDown:
      ZoomAtPixel(PaintWidth() / 2, PaintHeight() / 2,
                  e.Key == KeyCode::PageUp ? mwheel2 : 1 / mwheel2);
      e.Handled = true;
      return;
    case KeyCode::Insert:
    case KeyCode::End: {
      const ViewState before = View;
      RememberView(View);
      SetWindowFromCentre((View.ExtXmin + View.ExtXmax) / 2, (View.ExtYmin + View.ExtYmax) / 2);
      KeepSoundView(before);
      Redraw();
      e.Handled = true;
      return;
    }
    case KeyCode::Home:
      ZoomAll();
      e.Handled = true;
      return;
    case KeyCode::Left:
    case KeyCode::Right:
    case KeyCode::Up:
    case KeyCode::Down:
      if (!Contains(window_.PaintBoxRect(), pointer)) return;
      ShiftView(e.Key, e.Shift);
      e.Handled = true;
      return;
    case KeyCode::Delete:
    case KeyCode::Escape:
      ClearHatch();
      e.Handled = true;
      return;
    case KeyCode::Other:
      return;
  }
}

void TForm1::ShiftView(KeyCode key, bool fine) {
  const ViewState before = View;
  RememberView(View);
  const double divisor = fine ? 10.0 : 2.0;
  const double dx = (View.ViewXmax - View.ViewXmin) / divisor;
  const double dy = (View.ViewYmax - View.ViewYmin) / divisor;
  if (key == KeyCode::Left) View.ViewXmin -= dx, View.ViewXmax -= dx;
  if (key == KeyCode::Right) View.ViewXmin += dx, View.ViewXmax += dx;
  if (key == KeyCode::Up) View.ViewYmin += dy, View.ViewYmax += dy;
  if (key == KeyCode::Down) View.ViewYmin -= dy, View.ViewYmax -= dy;
  KeepSoundView(before);
  Redraw();
}

void TForm1::FormResize() {
  if (JG) {
    const ScreenRect bounds = window_.GetBounds();
    Fmw = bounds.width;
    Fmh = bounds.height;
  }
  if (!FirstDrawFlag) return;
  const ViewState before = View;
  const double cx = (View.ViewXmin + View.ViewXmax) / 2;
  const double cy = (View.ViewYmin + View.ViewYmax) / 2;
  View.ViewWidth = PaintWidth();
  View.ViewHeight = PaintHeight();
  SetWindowFromCentre(cx, cy);
  KeepSoundView(before);
}

}  // namespace vardo
