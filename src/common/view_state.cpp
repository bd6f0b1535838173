// The view: pixel-to-drawing mappings and remembering the previous view.
#include "common/view_state.h"

namespace vardo {

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
