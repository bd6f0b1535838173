// Substrings with 0-based positions and blank removal on UTF-16 strings.
#include "common/strings.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace vardo {

namespace {

// Positions are ints at the interface; a string too long for one is capped rather than wrapped.
int ClampSize(size_t n) {
  return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

}  // namespace

int StrLen(std::u16string_view s) {
  return ClampSize(s.size());
}

std::u16string CharAt(std::u16string_view s, int i) {
  if (i < 0 || static_cast<size_t>(i) >= s.size()) return {};
  return std::u16string(1, s[static_cast<size_t>(i)]);
}

int PosZ(std::u16string_view sub, std::u16string_view s) {
  if (sub.empty()) return -1;
  const size_t p = s.find(sub);
  if (p == std::u16string_view::npos) return -1;
  return ClampSize(p);
}

std::u16string CopyFrom(std::u16string_view s, int i) {
  const size_t start = static_cast<size_t>(std::max(i, 0));
  if (start >= s.size()) return {};
  return std::u16string(s.substr(start));
}

std::u16string CopyZ(std::u16string_view s, int i, int n) {
  const size_t start = static_cast<size_t>(std::max(i, 0));
  if (start >= s.size() || n <= 0) return {};
  return std::u16string(s.substr(start, static_cast<size_t>(n)));
}

std::u16string DelBlanks(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (char16_t c : s) {
    if (c == u' ' || c == u'\u3000' || c < 0x20) continue;
    out.push_back(c);
  }
  return out;
}

}  // namespace vardo
