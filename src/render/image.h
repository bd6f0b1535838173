// Image placeholders: a picture carried by a text shown as a hatched rectangle of its size.
#pragma once

#include <cstdint>

#include "document/model.h"
#include "render/graphics.h"

namespace vardo {

// For an image text ("^@BM" name "," width "," height ...): the rectangle of the picture's size
// (paper millimetres, not scaled) whose lower-left corner is the text's start point, outlined
// in the text's colour and filled with a backward-diagonal hatch. Other texts draw nothing; the
// picture file is never opened. dcol >= 0 overrides pen and brush colour.
void GLDrawImage(const TJGdata& doc, Graphics& g, int32_t dcol, const TEntText& e);

}  // namespace vardo
