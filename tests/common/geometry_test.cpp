// Plane geometry: angles, rotation, distances, segment crossing and degree normalisation.
#include "common/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "common/numbers.h"

namespace vardo {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(LineAngle, QuadrantsAndSnaps) {
  struct Case {
    double dx, dy, angle;
  } cases[] = {
      {0, 0, 0},
      {1, 0, 0},
      {0, 1, kPi / 2},
      {-1, 0, kPi},
      {0, -1, 6.28318530717958 - kPi / 2},  // the program's 2*pi constant, not the exact one
      {1, -1e-12, 0},
      {1, 1e-12, 0},
      {1e-15, -1e-15, 0},
      {-1, -1e-12, 6.28318530717958 - kPi + 1e-12},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(LineAngle(c.dx, c.dy), c.angle, 1e-15) << c.dx << ", " << c.dy;
  }
  EXPECT_EQ(LineAngle(1, -1e-12), 0.0);
  EXPECT_EQ(LineAngle(0, -1), -kPi / 2 + 6.28318530717958);
  EXPECT_EQ(LineAngle(-1, 0), kPi);
}

TEST(LineAngle, StaysWithinZeroAndTheTwoPiConstant) {
  for (int k = 0; k < 3600; ++k) {
    const double t = k * (2 * kPi / 3600);
    const double a = LineAngle(std::cos(t), std::sin(t));
    EXPECT_GE(a, 0.0) << k;
    EXPECT_LT(a, 6.28318530717958) << k;
    EXPECT_NEAR(a, k == 0 ? 0 : t, 1e-13) << k;
  }
}

// The contour tracer turns the eight neighbour steps (pixel y downwards) into whole degrees.
TEST(LineAngleDeg, NeighbourStepsRoundToMultiplesOf45) {
  struct Case {
    int dx, dy, deg;
  } cases[] = {{1, 0, 0},    {1, 1, 45},    {0, 1, 90},   {-1, 1, 135},
               {-1, 0, 180}, {-1, -1, 225}, {0, -1, 270}, {1, -1, 315}};
  for (const auto& c : cases) {
    const double deg = LineAngleDeg(c.dx, c.dy);
    EXPECT_NEAR(deg, c.deg, 1e-9) << c.dx << ", " << c.dy;
    EXPECT_EQ(RoundOff(deg) % 360, c.deg);
  }
  EXPECT_EQ(LineAngleDeg(0, 0), 0.0);
}

TEST(Rotation, QuarterTurnAboutOriginAndCentre) {
  EXPECT_NEAR(RotX(1, 0, 0, 0, kPi / 2), 0, 1e-15);
  EXPECT_NEAR(RotY(1, 0, 0, 0, kPi / 2), 1, 1e-15);
  EXPECT_NEAR(RotX(3, 2, 2, 2, kPi / 2), 2, 1e-15);
  EXPECT_NEAR(RotY(3, 2, 2, 2, kPi / 2), 3, 1e-15);
  EXPECT_NEAR(RotX(3, 2, 2, 2, kPi), 1, 1e-15);
  EXPECT_NEAR(RotY(3, 2, 2, 2, kPi), 2, 1e-15);
  EXPECT_EQ(RotX(5, -7, 1, 1, 0), 5);
  EXPECT_EQ(RotY(5, -7, 1, 1, 0), -7);
}

TEST(Distance, Euclidean) {
  EXPECT_EQ(Distance(1, 1, 4, 5), 5);
  EXPECT_EQ(Distance(4, 5, 1, 1), 5);
  EXPECT_EQ(Distance(-2, 3, -2, 3), 0);
}

TEST(IsSamePoint, ToleranceIsInclusive) {
  EXPECT_TRUE(IsSamePoint(0, 0, 1e-10, 0));
  EXPECT_TRUE(IsSamePoint(0, 0, 0, -1e-10));
  EXPECT_FALSE(IsSamePoint(0, 0, 2e-10, 0));
  EXPECT_FALSE(IsSamePoint(0, 0, 0, 2e-10));
  EXPECT_FALSE(IsSamePoint(kNaN, 0, kNaN, 0));
}

struct Seg {
  double x1, y1, x2, y2;
};

struct Crossing {
  int result;
  double X, Y;
};

Crossing Cross(Seg a, Seg b) {
  Crossing c{0, 123.0, 456.0};  // recognisable values show whether X and Y were touched
  c.result = SegCross(c.X, c.Y, a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2);
  return c;
}

TEST(SegCross, CasesInOrder) {
  struct Case {
    Seg a, b;
    int result;
    double X, Y;
  } cases[] = {
      {{0, 0, 2, 2}, {0, 2, 2, 0}, 1, 1, 1},      // plain crossing
      {{0, 0, 1, 1}, {3, 0, 3, 5}, 2, 3, 3},      // B vertical, crossing beyond A
      {{3, 0, 3, 5}, {0, 0, 1, 1}, 2, 3, 3},      // A vertical, crossing beyond B
      {{3, 0, 3, 5}, {0, 1, 4, 5}, 1, 3, 4},      // A vertical, on both
      {{0, 0, 0, 5}, {1, 0, 1, 5}, 0, 123, 456},  // both vertical
      {{0, 0, 0, 5}, {0, 1, 0, 3}, 0, 123, 456},  // both vertical, same line
      {{0, 0, 1, 0}, {0, 1, 1, 1}, 0, 123, 456},  // parallel
      {{0, 0, 4, 2}, {1, 3, 5, 5}, 0, 123, 456},  // parallel, sloped
      {{0, 0, 2, 0}, {2, -1, 2, 1}, 1, 2, 0},     // crossing at an end point
      {{0, 0, 2, 0}, {2 + 0.9e-8, -1, 2 + 0.9e-8, 1}, 1, 2 + 0.9e-8, 0},  // within 1e-8
      {{0, 0, 2, 0}, {2 + 2e-8, -1, 2 + 2e-8, 1}, 2, 2 + 2e-8, 0},        // beyond 1e-8
  };
  for (const auto& c : cases) {
    const Crossing got = Cross(c.a, c.b);
    EXPECT_EQ(got.result, c.result) << "case " << (&c - cases);
    EXPECT_NEAR(got.X, c.X, 1e-12) << "case " << (&c - cases);
    EXPECT_NEAR(got.Y, c.Y, 1e-12) << "case " << (&c - cases);
  }
}

// x1 - x2 counts as zero for -1.5e-8 < d < 0.5e-8: A is then taken as vertical through x1, so
// the crossing with the horizontal line y = 0.5 lies at x1 = 0 exactly; otherwise at -d / 2.
TEST(SegCross, CountsAsZeroIsLopsided) {
  struct Case {
    double d;  // x1 - x2
    bool vertical;
  } cases[] = {{0.0, true},      {0.4e-8, true}, {-1.4e-8, true}, {0.6e-8, false},
               {-1.6e-8, false}, {1e-8, false},  {-1e-8, true},   {0.49e-8, true}};
  for (const auto& c : cases) {
    double X = 99, Y = 99;
    const int r = SegCross(X, Y, 0, 0, -c.d, 1, -1, 0.5, 1, 0.5);
    EXPECT_EQ(r, 1) << c.d;
    if (c.vertical) {
      EXPECT_EQ(X, 0.0) << c.d;
    } else {
      EXPECT_NE(X, 0.0) << c.d;
      EXPECT_NEAR(X, -c.d / 2, 1e-20) << c.d;
    }
  }
}

TEST(SegCross, SlopesAlmostEqualCountAsParallel) {
  EXPECT_EQ(Cross({0, 0, 1, 1}, {0, 1, 1, 2 + 1.4e-8}).result, 0);  // mA - mB = -1.4e-8
  EXPECT_EQ(Cross({0, 0, 1, 1}, {0, 1, 1, 2 + 1.6e-8}).result, 2);  // mA - mB = -1.6e-8
  EXPECT_EQ(Cross({0, 0, 1, 1}, {0, 1, 1, 2 - 0.4e-8}).result, 0);  // mA - mB = 0.4e-8
  EXPECT_EQ(Cross({0, 0, 1, 1}, {0, 1, 1, 2 - 0.6e-8}).result, 2);  // mA - mB = 0.6e-8
}

// Non-finite input must not crash or hit undefined behaviour (run under the sanitizers); the
// answer is whatever the formulas give.
TEST(SegCross, NonFiniteInputIsHarmless) {
  const double odd[] = {kNaN, kInf, -kInf, 1e308, -1e308};
  for (double v : odd) {
    for (int slot = 0; slot < 8; ++slot) {
      double p[8] = {0, 0, 2, 2, 0, 2, 2, 0};
      p[slot] = v;
      double X = 0, Y = 0;
      const int r = SegCross(X, Y, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
      EXPECT_GE(r, 0);
      EXPECT_LE(r, 2);
    }
  }
  double X = 0, Y = 0;
  EXPECT_EQ(SegCross(X, Y, kNaN, 0, 2, 2, 0, 2, 2, 0), 2);
  EXPECT_TRUE(std::isnan(X));
}

double NormalizeByLoop(double a) {
  while (a < 0)
    a += 360;
  while (a >= 360)
    a -= 360;
  return a;
}

TEST(NormalizeDeg, MatchesSteppingLoop) {
  std::mt19937_64 rng(20240517);
  std::uniform_real_distribution<double> wide(-1e6, 1e6);
  std::uniform_real_distribution<double> narrow(-720, 720);
  std::uniform_int_distribution<int> turns(-2000, 2000);
  std::vector<double> values = {0.0,
                                360.0,
                                -360.0,
                                720.0,
                                -720.0,
                                359.999999999,
                                -1e-20,
                                -1e-14,
                                -3e-14,
                                -6e-14,
                                -1e-300,
                                -5e-324,
                                1e-300,
                                359.99999999999994,
                                -359.99999999999994};
  for (int k = 1; k <= 300; ++k)
    values.push_back(-std::pow(10.0, -k));
  for (int k = 0; k < 20000; ++k) {
    values.push_back(wide(rng));
    values.push_back(narrow(rng));
    values.push_back(turns(rng) * 360.0 + narrow(rng) * 1e-12);
  }
  for (double a : values) {
    const double want = NormalizeByLoop(a);
    const double got = NormalizeDeg(a);
    ASSERT_EQ(got, want) << "a = " << a;
    ASSERT_GE(got, 0.0);
    ASSERT_LT(got, 360.0);
    ASSERT_FALSE(std::signbit(got)) << "a = " << a;
  }
}

TEST(NormalizeDeg, TinyNegativeRoundsUpToZeroNotThreeSixty) {
  EXPECT_EQ(NormalizeDeg(-1e-20), 0.0);
  EXPECT_FALSE(std::signbit(NormalizeDeg(-0.0)));
  EXPECT_FALSE(std::signbit(NormalizeDeg(-720.0)));
}

TEST(NormalizeDeg, HugeAndNonFinite) {
  for (double a : {1e17, -1e17, 1e300, -1e300, std::numeric_limits<double>::max()}) {
    const double r = NormalizeDeg(a);
    EXPECT_GE(r, 0.0) << a;
    EXPECT_LT(r, 360.0) << a;
  }
  EXPECT_EQ(NormalizeDeg(kInf), 0.0);
  EXPECT_EQ(NormalizeDeg(-kInf), 0.0);
  EXPECT_EQ(NormalizeDeg(kNaN), 0.0);
}

}  // namespace
}  // namespace vardo
