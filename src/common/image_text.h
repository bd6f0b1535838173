// Reader of image texts: texts that carry a picture ("^@BM" name "," numbers...).
#pragma once

#include <string>
#include <string_view>

namespace vardo {

struct ImageText {
  std::u16string name;
  double f1 = 0, f2 = 0, f3 = 0, f4 = 0, f5 = 1, f6 = 0;  // f1, f2: width and height
  int i7 = -1, i8 = -1, i9 = -1;
};

// True when st begins with "^@BM" and contains at least one ",".
bool IsImageText(std::u16string_view st);

// The fields of an image text, with the defaults for missing ones.
ImageText ReadImageText(std::u16string_view st);

}  // namespace vardo
