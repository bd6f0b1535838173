// The screen the drawing benchmarks draw on: 1920 x 1080 pixels, drawing units as pixels.
#pragma once

#include "common/view_state.h"

namespace vardo::bench {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A view of width x height pixels that shows drawing units as pixels: x 0..width, y 0..height.
inline ViewState PixelView(int width, int height) {
  ViewState v;
  v.ViewScale = 1;
  v.ViewWidth = width;
  v.ViewHeight = height;
  v.ViewXmax = width;
  v.ViewYmax = height;
  return v;
}

// The whole benchmark screen as such a view.
inline ViewState FullView() {
  return PixelView(kWidth, kHeight);
}

}  // namespace vardo::bench
