// Number conversion and formatting: the exact edges the exchange file relies on.
#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vardo {
namespace {

TEST(ValInt, ReadsWholeStringOrGivesZero) {
  struct Case {
    const char16_t* text;
    int value;
  } cases[] = {
      {u"12", 12},        {u"   12", 12},       {u"12 ", 0},          {u"1.5", 0},
      {u"$a", 10},        {u"$A", 10},          {u"$", 0},            {u"", 0},
      {u"2147483648", 0}, {u"-2147483648", INT32_MIN}, {u"2147483647", INT32_MAX},
      {u"$FFFFFFFF", -1}, {u"$123456789", 0},   {u"0x1f", 31},        {u"X10", 16},
      {u"-$1", -1},       {u"+7", 7},           {u"-", 0},            {u"0x", 0},
      {u"0", 0},          {u"007", 7},          {u"1e3", 0},          {u"\t5", 0},
      {u"99999999999999999999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ValInt(c.text), c.value) << std::u16string(c.text).size();
}

TEST(ValFloat, ReadsDecimalPointOnly) {
  struct Case {
    const char16_t* text;
    double value;
  } cases[] = {
      {u"1.5", 1.5},   {u".5", 0.5},     {u"1.", 1.0},      {u"1.5e3", 1500},  {u"1,5", 0},
      {u"1e", 0},      {u"abc", 0},      {u"  -2.25", -2.25}, {u"2.5 ", 0},  {u"+3", 3},
      {u".", 0},       {u"-", 0},        {u"1E-5", 1e-5},   {u"1e+2", 100},    {u"inf", 0},
      {u"nan", 0},     {u"1e400", 0},    {u"-1e400", 0},    {u"0x10", 0},      {u"", 0},
      {u"１", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ValFloat(c.text), c.value);
}

TEST(ValFloat, LongMantissaIsExact) {
  std::u16string s = u"0." + std::u16string(200, u'0') + u"1";
  EXPECT_EQ(ValFloat(s), 1e-201);
}

TEST(FloatStr, GeneralFormatFifteenDigits) {
  struct Case {
    double value;
    const char16_t* text;
  } cases[] = {
      {0.1, u"0.1"},
      {100.0, u"100"},
      {0.0001, u"0.0001"},
      {0.00005, u"5E-5"},
      {0.00001, u"1E-5"},
      {2.0 / 3.0, u"0.666666666666667"},
      {1e20, u"1E20"},
      {-1.5, u"-1.5"},
      {1e15, u"1E15"},
      {999999999999999.0, u"999999999999999"},
      {0.0, u"0"},
      {-0.0, u"0"},
      {0.5, u"0.5"},
      {123456.789, u"123456.789"},
      {1.5e-7, u"1.5E-7"},
      {-2.5e300, u"-2.5E300"},
      {999999999999999.9, u"1E15"},
      {0.000099999999999999999, u"0.0001"},
      {1234567890123456789.0, u"1.23456789012346E18"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatStr(c.value), c.text) << c.value;
}

TEST(FloatStr, ReadsBackThroughValFloat) {
  for (double v : {0.1, 1.0 / 3.0, -12345.678, 1e-300, 6.02214076e23, 1e-5}) {
    double back = ValFloat(FloatStr(v));
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14);
  }
}

TEST(RoundOff, HalvesAwayFromZeroAndClamps) {
  EXPECT_EQ(RoundOff(2.5), 3);
  EXPECT_EQ(RoundOff(-2.5), -3);
  EXPECT_EQ(RoundOff(2.4999), 2);
  EXPECT_EQ(RoundOff(1e300), INT32_MAX);
  EXPECT_EQ(RoundOff(-1e300), INT32_MIN);
  EXPECT_EQ(RoundOff(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(SnapTo, NearestMultipleHalvesAway) {
  EXPECT_EQ(SnapTo(7.5, 5), 10);
  EXPECT_EQ(SnapTo(-7.5, 5), -10);
  EXPECT_EQ(SnapTo(7.4, 5), 5);
}

}  // namespace
}  // namespace vardo
