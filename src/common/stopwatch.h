// Stopwatch: wall time since a start, for the timings the tools report.
#pragma once

#include <chrono>

namespace vardo {

class Stopwatch {
 public:
  // Milliseconds since the stopwatch was made.
  double Millis() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
        .count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace vardo
