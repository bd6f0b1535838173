// The view: comparing windows, pixel-to-drawing mappings and remembering the previous view.
#include "common/view_state.h"

namespace vardo {

bool SameWindow(const ViewState& a, const ViewState& b) {
  return a.ViewXmin == b.ViewXmin && a.ViewYmin == b.ViewYmin && a.ViewXmax == b.ViewXmax &&
         a.ViewYmax == b.ViewYmax && a.ViewScale == b.ViewScale && a.ViewWidth == b.ViewWidth &&
         a.ViewHeight == b.ViewHeight;
}

double PixelToDrawX(const ViewState& v, int X) {
  return v.ViewXmin + X / v.ViewScale;
}

double PixelToDrawY(const ViewState& v, int Y) {
  return v.ViewYmax - Y / v.ViewScale;
}

void RememberView(ViewState& v) {
  v.PrevScale = v.ViewScale;
  v.PrevXmin = v.ViewXmin;
  v.PrevYmin = v.ViewYmin;
  v.PrevXmax = v.ViewXmax;
  v.PrevYmax = v.ViewYmax;
}

}  // namespace vardo
