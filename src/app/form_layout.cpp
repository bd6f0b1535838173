// Contents of the line colour and line type lists.
#include "app/form_layout.h"

#include "common/numbers.h"

namespace vardo {

namespace {

void AddNumbered(std::vector<std::u16string>& items, std::u16string_view prefix, int count) {
  for (int i = 1; i <= count; ++i)
    items.push_back(std::u16string(prefix) + IntStr(i));
}

}  // namespace

std::vector<std::u16string> LineColourItems() {
  std::vector<std::u16string> items{u"現在線色"};
  AddNumbered(items, u"線色", 9);
  AddNumbered(items, u"SXF-", 256);
  return items;
}

std::vector<std::u16string> LineTypeItems() {
  std::vector<std::u16string> items{u"現在線種"};
  AddNumbered(items, u"線種", 9);
  AddNumbered(items, u"ランダム線", 5);
  AddNumbered(items, u"倍長線種", 4);
  AddNumbered(items, u"SXF-", 32);
  return items;
}

}  // namespace vardo
