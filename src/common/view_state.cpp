// The view: pixel mappings in both directions and remembering the previous view.
#include "common/view_state.h"

#include <cmath>

#include "common/numbers.h"

namespace vardo {

namespace {

// Far enough off-screen that nothing visible changes, near enough that sums stay in range.
constexpr double kPixelLimit = 1e9;

int ClampedRound(double v) {
  if (std::isnan(v)) return 0;
  if (v > kPixelLimit) v = kPixelLimit;
  if (v < -kPixelLimit) v = -kPixelLimit;
  return RoundOff(v);
}

}  // namespace

double PixelToDrawX(const ViewState& v, int X) {
  return v.ViewXmin + X / v.ViewScale;
}

double PixelToDrawY(const ViewState& v, int Y) {
  return v.ViewYmax - Y / v.ViewScale;
}

int DrawToPixelX(const ViewState& v, double x) {
  return ClampedRound((x - v.ViewXmin) * v.ViewScale);
}

int DrawToPixelY(const ViewState& v, double y) {
  return v.ViewHeight - ClampedRound((y - v.ViewYmin) * v.ViewScale);
}

void RememberView(ViewState& v) {
  v.PrevScale = v.ViewScale;
  v.PrevXmin = v.ViewXmin;
  v.PrevYmin = v.ViewYmin;
  v.PrevXmax = v.ViewXmax;
  v.PrevYmax = v.ViewYmax;
}

}  // namespace vardo
