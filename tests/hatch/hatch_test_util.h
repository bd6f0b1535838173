// Scripted window services for the hatch engine tests.
#pragma once

#include <limits>

#include "hatch/hatch.h"

namespace vardo::test {

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
