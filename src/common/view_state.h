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

// Answers whether Esc is held down at this moment; long loops poll it and stop early.
using StopPoll = std::function<bool()>;

}  // namespace vardo
