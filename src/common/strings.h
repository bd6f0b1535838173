// Substrings with 0-based positions and blank removal on UTF-16 strings.
#pragma once

#include <string>
#include <string_view>

namespace vardo {

int StrLen(std::u16string_view s);
// The one-unit string at position i; empty when i lies outside s.
std::u16string CharAt(std::u16string_view s, int i);
// Position of the first occurrence of sub in s; -1 when absent or when sub is empty.
int PosZ(std::u16string_view sub, std::u16string_view s);
// The units from position i to the end; empty when i >= length (a negative i counts as 0).
std::u16string CopyFrom(std::u16string_view s, int i);
// At most n units from position i; empty when i >= length or n <= 0.
std::u16string CopyZ(std::u16string_view s, int i, int n);
// s without U+0020, U+3000 and every unit below U+0020.
std::u16string DelBlanks(std::u16string_view s);

}  // namespace vardo
