// Surfaces as small text pictures, so that a failing pixel test shows every pixel at once.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "render/surface.h"

namespace vardo::test {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kGreen = 0x0000FF00;

// '.' white, '#' black, 'b' blue, 'r' red, 'g' green, '?' any other value.
inline char Letter(uint32_t colour) {
  switch (colour) {
    case kWhite:
      return '.';
    case kBlack:
      return '#';
    case kBlue:
      return 'b';
    case kRed:
      return 'r';
    case kGreen:
      return 'g';
  }
  return '?';
}

inline uint32_t Colour(char letter) {
  switch (letter) {
    case '#':
      return kBlack;
    case 'b':
      return kBlue;
    case 'r':
      return kRed;
    case 'g':
      return kGreen;
  }
  return kWhite;
}

// Rows joined with a newline before each, so that expected and actual line up when printed.
inline std::string Rows(std::initializer_list<const char*> rows) {
  std::string text;
  for (const char* row : rows)
    text += std::string("\n") + row;
  return text;
}

inline std::string Picture(const Surface& s) {
  std::string text;
  for (int y = 0; y < s.Height(); ++y) {
    text += '\n';
    for (int x = 0; x < s.Width(); ++x)
      text += Letter(s.GetPixel(x, y));
  }
  return text;
}

inline Surface FromRows(std::initializer_list<const char*> rows) {
  const std::string first = *rows.begin();
  Surface s(static_cast<int>(first.size()), static_cast<int>(rows.size()));
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; row[x] != '\0'; ++x)
      s.SetPixel(x, y, Colour(row[x]));
    ++y;
  }
  return s;
}

}  // namespace vardo::test
