// Image placeholders: the hatched rectangle standing in for a picture carried by a text.
#include "render/image.h"

#include "common/image_text.h"
#include "render/renderer.h"

namespace vardo {

void GLDrawImage(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntText& e) {
  if (!IsImageText(e.st)) return;
  const ImageText image = ReadImageText(e.st);
  const double s = doc.ScaleOf(e.att.LGrp);
  const double left = e.x1 / s;
  const double bottom = e.y1 / s;
  const int layer = LayerIndex(e.att);
  g.GraAttrPen(layer, e.att.Col, 1, 0);
  g.GraAttrBrush(layer, e.att.Col, 5);
  if (dcol >= 0) {
    g.canvas().pen().color = ScreenColour(dcol);
    g.canvas().brush().color = ScreenColour(dcol);
  }
  g.GraBox(left, bottom, left + image.f1, bottom + image.f2);
}

}  // namespace vardo
