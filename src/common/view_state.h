// The view: window and scale, drawing extents and the previous view, shared by reference.
#pragma once

#include <cmath>
#include <functional>

namespace vardo {

struct ViewState {
  double ViewXmin = 0, ViewYmin = 0, ViewXmax = 0, ViewYmax = 0;
  double ViewScale = 0;  // pixels per drawing unit
  int ViewWidth = 0, ViewHeight = 0;
  double ExtXmin = 0, ExtYmin = 0, ExtXmax = 0, ExtYmax = 0;
  double PrevXmin = 0, PrevYmin = 0, PrevXmax = 0, PrevYmax = 0, PrevScale = 0;
};

// Whether a and b show the same window at the same scale on a paint box of the same size (the
// extents and the previous view aside).
bool SameWindow(const ViewState& a, const ViewState& b);

// Paint-box pixel to drawing coordinates (y grows upwards in the drawing, downwards on screen).
double PixelToDrawX(const ViewState& v, int X);
double PixelToDrawY(const ViewState& v, int Y);

// A pixel offset clamped to a billion pixels either way (NaN gives 0), halves rounded away from
// zero: far enough off-screen that nothing visible changes, near enough that sums stay in range.
// Within the clamp a conversion that truncates towards zero does the rounding.
inline int ClampedPixel(double v) {
  constexpr double kPixelLimit = 1e9;
  if (std::isnan(v)) return 0;
  if (v > kPixelLimit) v = kPixelLimit;
  if (v < -kPixelLimit) v = -kPixelLimit;
  return static_cast<int>(v >= 0 ? v + 0.5 : v - 0.5);
}

// Drawing coordinates to paint-box pixels, rounding halves away from zero and clamped, so
// extreme zoom or huge coordinates never overflow. Inline: the drawing loops map every point.
inline int DrawToPixelX(const ViewState& v, double x) {
  return ClampedPixel((x - v.ViewXmin) * v.ViewScale);
}
inline int DrawToPixelY(const ViewState& v, double y) {
  return v.ViewHeight - ClampedPixel((y - v.ViewYmin) * v.ViewScale);
}

// The step "remember the view": the current window and scale become the previous view.
void RememberView(ViewState& v);

// Answers whether Esc is held down at this moment; long loops poll it and stop early.
using StopPoll = std::function<bool()>;

// The poll asked once: true when there is a poll and it says stop.
inline bool CheckStop(const StopPoll& stop) {
  return stop && stop();
}

}  // namespace vardo
