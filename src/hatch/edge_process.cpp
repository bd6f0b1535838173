// Edge processing: every traced pixel chain becomes the polyline of its digital straight runs.
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "common/geometry.h"
#include "hatch/hatch.h"

namespace vardo {

namespace {

int DirectionOfAngle(double dx, double dy) {
  // The angle lies in [0, 360], so truncating after adding a half rounds it.
  const int degrees = static_cast<int>(LineAngleDeg(dx, dy) + 0.5);
  return degrees == 360 ? 0 : degrees;
}

// Step directions in degrees, pixel coordinates (y downwards). Traced chains only step to
// neighbours, whose directions are looked up; anything else is computed.
class StepDirections {
 public:
  StepDirections() {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx)
        unit_[(dy + 1) * 3 + dx + 1] = DirectionOfAngle(dx, dy);
    }
  }
  int operator()(const TPolyField& a, const TPolyField& b) const {
    // In double: contours handed in from elsewhere may hold any coordinates.
    const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    if (std::fabs(dx) <= 1 && std::fabs(dy) <= 1) {
      return unit_[static_cast<int>(dy + 1) * 3 + static_cast<int>(dx + 1)];
    }
    return DirectionOfAngle(dx, dy);
  }

 private:
  int unit_[9] = {};
};

// Length of the step pattern starting at s: steps in one direction v, then steps in one other
// direction w. j receives the number of leading v steps.
size_t PatternLength(const std::vector<int>& d, size_t s, size_t& j) {
  const size_t m = d.size();
  const int v = d[s];
  j = 1;
  bool have_w = false;
  int w = 0;
  size_t l = 0;
  for (size_t e = s + 1; e < m; ++e) {
    if (d[e] == v) {
      if (have_w) return e - s;
      ++j;
    } else if (!have_w) {
      have_w = true;
      w = d[e];
      l = 1;
    } else if (d[e] == w) {
      ++l;
      if (j > 1 && l > 1) return j;  // the pattern is v repeated j times
    } else {
      return e - s;  // a third direction
    }
  }
  return m - s;
}

// Where the run starting at s ends: after the repetitions of its pattern including a final
// partial one, or after the leading v steps when the pattern does not repeat.
size_t RunEnd(const std::vector<int>& d, size_t s) {
  size_t j = 0;
  const size_t len = PatternLength(d, s, j);
  const size_t m = d.size();
  size_t t = s + len, i = 0, repeats = 0;
  while (t < m && d[t] == d[s + i]) {
    ++t;
    if (++i == len) {
      i = 0;
      ++repeats;
    }
  }
  return repeats == 0 ? s + j : t;
}

}  // namespace

void ProcessEdges(PolyLines& PLN) {
  const PolyLines aPLN = std::move(PLN);
  PLN.clear();
  const StepDirections direction;
  std::vector<int> d;
  for (const TPolyLineField& c : aPLN) {
    const std::vector<TPolyField>& p = c.p;
    const size_t n = p.size();
    if (n <= 2 || (n == 3 && p[0] == p[2])) continue;
    const size_t m = n - 1;
    d.resize(m);
    for (size_t i = 0; i < m; ++i)
      d[i] = direction(p[i], p[i + 1]);
    TPolyLineField o;
    o.p.push_back(p[0]);
    for (size_t s = 0; s < m;) {
      s = RunEnd(d, s);
      o.p.push_back(p[s]);
    }
    PLN.push_back(std::move(o));
  }
}

}  // namespace vardo
