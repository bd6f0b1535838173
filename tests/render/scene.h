// A small view onto a white surface with the start-up display attributes, for drawing tests.
#pragma once

#include <cstdint>

#include "attributes/graphics_attributes.h"
#include "common/view_state.h"
#include "render/canvas.h"
#include "render/graphics.h"
#include "render/surface.h"

namespace vardo::test {

// The view shows drawing x from xmin and y from ymin at scale pixels per unit; with scale 1 and
// the origin at 0 the drawing point (x, y) is the pixel (x, height - y).
struct Scene {
  explicit Scene(int width, int height, double scale = 1, double xmin = 0, double ymin = 0)
      : surface(width, height) {
    SetUpStartAttributes(attr);
    view.ViewScale = scale;
    view.ViewXmin = xmin;
    view.ViewYmin = ymin;
    view.ViewWidth = width;
    view.ViewHeight = height;
    view.ViewXmax = xmin + width / scale;
    view.ViewYmax = ymin + height / scale;
    canvas.pen() = {0x000000, 0, PenStyle::Solid, PenMode::Copy};
    canvas.brush().style = BrushStyle::Clear;
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  uint32_t At(int x, int y) const { return surface.GetPixel(x, y); }

  Surface surface;
  Canvas canvas{surface};
  ViewState view;
  TgraAttribute attr;
  Graphics g{canvas, view, attr};
};

// Bounds (inclusive) of the pixels that are not white; empty when there are none.
struct InkBox {
  bool empty = true;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool operator==(const InkBox&) const = default;
};

inline InkBox InkOf(const Surface& s) {
  InkBox box;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (s.GetPixel(x, y) == Surface::kWhite) continue;
      if (box.empty) box = {false, x, y, x, y};
      box.x0 = x < box.x0 ? x : box.x0;
      box.x1 = x > box.x1 ? x : box.x1;
      box.y0 = y < box.y0 ? y : box.y0;
      box.y1 = y > box.y1 ? y : box.y1;
    }
  }
  return box;
}

}  // namespace vardo::test
