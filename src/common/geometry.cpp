// Plane geometry helpers: rotation, angles, distances, segment crossing.
#include "common/geometry.h"

#include <algorithm>
#include <cmath>

namespace vardo {

namespace {

constexpr double kTwoPi = 6.28318530717958;  // the program's own constant, a little below 2*pi
constexpr double kRadPerDeg = 0.0174532925199433;
constexpr double kCrossTol = 1e-8;

// d counts as zero when Int(d / 1e-8 + 0.5) = 0, Int truncating toward zero. Truncation gives 0
// exactly for -1 < t < 1, so comparing the same computed t avoids converting to an integer
// (which would be undefined for NaN and huge values) and keeps the rounding of the division and
// the addition. For finite d this is about -1.5e-8 < d < 0.5e-8 (lopsided on purpose); NaN and
// infinities never count as zero.
bool CountsAsZero(double d) {
  const double t = d / kCrossTol + 0.5;
  return t > -1.0 && t < 1.0;
}

bool WithinSpan(double v, double a, double b) {
  return v >= std::min(a, b) - kCrossTol && v <= std::max(a, b) + kCrossTol;
}

}  // namespace

double RotX(double x, double y, double cx, double cy, double ang) {
  return cx + std::cos(ang) * (x - cx) - std::sin(ang) * (y - cy);
}

double RotY(double x, double y, double cx, double cy, double ang) {
  return cy + std::sin(ang) * (x - cx) + std::cos(ang) * (y - cy);
}

double LineAngle(double dx, double dy) {
  if (std::fabs(dx) < 1e-14 && std::fabs(dy) < 1e-14) return 0;
  const double a = std::atan2(dy, dx);
  if (std::fabs(a) <= 1e-10) return 0;
  return a < 0 ? a + kTwoPi : a;
}

double LineAngleDeg(double dx, double dy) {
  return LineAngle(dx, dy) / kRadPerDeg;
}

double Distance(double x1, double y1, double x2, double y2) {
  return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

bool IsSamePoint(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) <= 1e-10 && std::fabs(y1 - y2) <= 1e-10;
}

// No division below can be by an exact zero: every divisor was first found not to count as zero,
// and 0 always counts as zero. Non-finite input just flows through to a NaN or infinite crossing.
int SegCross(double& X, double& Y, double x1, double y1, double x2, double y2, double x3, double y3,
             double x4, double y4) {
  const bool a_vertical = CountsAsZero(x1 - x2);
  const bool b_vertical = CountsAsZero(x3 - x4);
  if (a_vertical && b_vertical) return 0;

  double cx = 0, cy = 0;
  if (a_vertical) {
    const double mB = (y4 - y3) / (x4 - x3);
    cx = x1;
    cy = (x1 - x3) * mB + y3;
  } else if (b_vertical) {
    const double mA = (y2 - y1) / (x2 - x1);
    cx = x3;
    cy = (x3 - x1) * mA + y1;
  } else {
    const double mA = (y2 - y1) / (x2 - x1);
    const double bA = y1 - mA * x1;
    const double mB = (y4 - y3) / (x4 - x3);
    const double bB = y3 - mB * x3;
    if (CountsAsZero(mA - mB)) return 0;
    cx = (bB - bA) / (mA - mB);
    cy = mA * cx + bA;
  }
  X = cx;
  Y = cy;
  const bool on_a = WithinSpan(cx, x1, x2) && WithinSpan(cy, y1, y2);
  const bool on_b = WithinSpan(cx, x3, x4) && WithinSpan(cy, y3, y4);
  return on_a && on_b ? 1 : 2;
}

// Stepping by 360 is exact while |a| is moderate, except the last step up from a negative value,
// which rounds and may land on 360 itself; the remainder reproduces that rounding.
double NormalizeDeg(double a) {
  if (!std::isfinite(a)) return 0;
  double r = std::fmod(a, 360.0);
  if (r < 0) r += 360.0;
  if (r >= 360.0) r -= 360.0;
  return r == 0 ? 0.0 : r;  // -0 becomes +0
}

}  // namespace vardo
