// Reader of image texts: texts that carry a picture ("^@BM" name "," numbers...).
#include "common/image_text.h"

#include <array>

#include "common/numbers.h"

namespace vardo {

namespace {

constexpr std::u16string_view kImageMark = u"^@BM";
constexpr size_t kNumberFields = 9;  // f1 ... f6, i7, i8, i9

}  // namespace

bool IsImageText(std::u16string_view st) {
  return st.starts_with(kImageMark) && st.find(u',') != std::u16string_view::npos;
}

ImageText ReadImageText(std::u16string_view st) {
  ImageText img;
  if (!IsImageText(st)) return img;

  std::u16string_view rest = st.substr(kImageMark.size());
  const size_t name_end = rest.find(u',');
  img.name = std::u16string(rest.substr(0, name_end));
  rest.remove_prefix(name_end + 1);
  if (rest.find(u',') == std::u16string_view::npos) {
    img.f1 = img.f2 = ValFloat(rest);
    return img;
  }

  // Every "," opens one more field, so a trailing "," yields an empty field (which reads as 0).
  std::array<std::u16string_view, kNumberFields> fields;
  size_t count = 0;
  while (count < kNumberFields) {
    const size_t comma = rest.find(u',');
    fields[count++] = rest.substr(0, comma);
    if (comma == std::u16string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }

  double* const floats[] = {&img.f1, &img.f2, &img.f3, &img.f4, &img.f5, &img.f6};
  int* const ints[] = {&img.i7, &img.i8, &img.i9};
  for (size_t k = 0; k < count; ++k) {
    if (k < 6) {
      *floats[k] = ValFloat(fields[k]);
    } else {
      *ints[k - 6] = ValInt(fields[k]);
    }
  }

  if (img.i7 != -1) {
    if (img.i8 == -1) img.i8 = 0;
    if (img.i9 == -1) img.i9 = 0;
  }
  return img;
}

}  // namespace vardo
