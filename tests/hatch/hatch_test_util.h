// Small text pictures and scripted window services for the hatch engine tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "hatch/hatch.h"
#include "render/surface.h"

namespace vardo::test {

// '.' white, '#' black, 'b' blue, 'r' red, 'g' green, '?' any other value.
inline char Letter(uint32_t colour) {
  switch (colour) {
    case kHatchEraseColor:
      return '.';
    case kHatchBorderColor:
      return '#';
    case kHatchMarkColor:
      return 'b';
    case kHatchTracedColor:
      return 'r';
    case 0x0000FF00:
      return 'g';
  }
  return '?';
}

inline uint32_t Colour(char letter) {
  switch (letter) {
    case '#':
      return kHatchBorderColor;
    case 'b':
      return kHatchMarkColor;
    case 'r':
      return kHatchTracedColor;
    case 'g':
      return 0x0000FF00;
  }
  return kHatchEraseColor;
}

// Rows joined with a newline before each, so that expected and actual line up when printed.
inline std::string Rows(std::initializer_list<const char*> rows) {
  std::string out;
  for (const char* r : rows)
    out += std::string("\n") + r;
  return out;
}

inline Surface Picture(std::initializer_list<const char*> rows) {
  const int h = static_cast<int>(rows.size());
  const int w = h == 0 ? 0 : static_cast<int>(std::string(*rows.begin()).size());
  Surface s(w, h);
  int y = 0;
  for (const char* r : rows) {
    for (int x = 0; x < w; ++x)
      s.SetPixel(x, y, Colour(r[x]));
    ++y;
  }
  return s;
}

inline std::string Text(const Surface& s) {
  std::string out;
  for (int y = 0; y < s.Height(); ++y) {
    out += '\n';
    for (int x = 0; x < s.Width(); ++x)
      out += Letter(s.GetPixel(x, y));
  }
  return out;
}

// Esc is held from poll number held_from (counting from 0) up to, not including, held_until;
// polls, beeps and message pumps are counted.
struct ScriptedWindow {
  long held_from = -1;  // -1: never held
  long held_until = std::numeric_limits<long>::max();
  long polls = 0;
  int beeps = 0;
  int pumps = 0;

  HatchServices Services() {
    return HatchServices{
        [this] {
          const long n = polls++;
          return held_from >= 0 && n >= held_from && n < held_until;
        },
        [this] { ++beeps; },
        [this] { ++pumps; },
    };
  }
};

}  // namespace vardo::test
