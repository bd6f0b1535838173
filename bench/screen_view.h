// The screen the drawing benchmarks draw on: 1920 x 1080 pixels, drawing units as pixels.
#pragma once

#include "common/view_state.h"

namespace vardo::bench {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The view shows drawing units as pixels: x 0..1920, y 0..1080.
inline ViewState FullView() {
  ViewState v;
  v.ViewScale = 1;
  v.ViewWidth = kWidth;
  v.ViewHeight = kHeight;
  v.ViewXmax = kWidth;
  v.ViewYmax = kHeight;
  return v;
}

}  // namespace vardo::bench
