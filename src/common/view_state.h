// The view: window and scale, drawing extents and the previous view, shared by reference.
#pragma once

#include <functional>

namespace vardo {

struct ViewState {
  double ViewXmin = 0, ViewYmin = 0, ViewXmax = 0, ViewYmax = 0;
  double ViewScale = 0;  // pixels per drawing unit
  int ViewWidth = 0, ViewHeight = 0;
  double ExtXmin = 0, ExtYmin = 0, ExtXmax = 0, ExtYmax = 0;
  double PrevXmin = 0, PrevYmin = 0, PrevXmax = 0, PrevYmax = 0, PrevScale = 0;
};

// Paint-box pixel to drawing coordinates (y grows upwards in the drawing, downwards on screen).
double PixelToDrawX(const ViewState& v, int X);
double PixelToDrawY(const ViewState& v, int Y);

// Drawing coordinates to paint-box pixels, rounding halves away from zero. Values far beyond
// the screen are clamped (to about a billion pixels) before they become integers, so extreme
// zoom or huge coordinates never overflow.
int DrawToPixelX(const ViewState& v, double x);
int DrawToPixelY(const ViewState& v, double y);

// The step "remember the view": the current window and scale become the previous view.
void RememberView(ViewState& v);

// Answers whether Esc is held down at this moment; long loops poll it and stop early.
using StopPoll = std::function<bool()>;

}  // namespace vardo
