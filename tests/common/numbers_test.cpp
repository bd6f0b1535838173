// Number conversion and formatting: the exact edges the exchange file relies on.
#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace vardo {
namespace {

TEST(ValInt, ReadsWholeStringOrGivesZero) {
  struct Case {
    const char16_t* text;
    int value;
  } cases[] = {
      {u"12", 12},
      {u"   12", 12},
      {u"12 ", 0},
      {u"1.5", 0},
      {u"$a", 10},
      {u"$A", 10},
      {u"$", 0},
      {u"", 0},
      {u"2147483648", 0},
      {u"-2147483648", INT32_MIN},
      {u"2147483647", INT32_MAX},
      {u"$FFFFFFFF", -1},
      {u"$123456789", 0},
      {u"0x1f", 31},
      {u"X10", 16},
      {u"-$1", -1},
      {u"+7", 7},
      {u"-", 0},
      {u"0x", 0},
      {u"0", 0},
      {u"007", 7},
      {u"1e3", 0},
      {u"\t5", 0},
      {u"99999999999999999999", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ValInt(c.text), c.value) << std::u16string(c.text).size();
}

TEST(ValFloat, ReadsDecimalPointOnly) {
  struct Case {
    const char16_t* text;
    double value;
  } cases[] = {
      {u"1.5", 1.5}, {u".5", 0.5},  {u"1.", 1.0},        {u"1.5e3", 1500}, {u"1,5", 0},
      {u"1e", 0},    {u"abc", 0},   {u"  -2.25", -2.25}, {u"2.5 ", 0},     {u"+3", 3},
      {u".", 0},     {u"-", 0},     {u"1E-5", 1e-5},     {u"1e+2", 100},   {u"inf", 0},
      {u"nan", 0},   {u"1e400", 0}, {u"-1e400", 0},      {u"0x10", 0},     {u"", 0},
      {u"１", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ValFloat(c.text), c.value);
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
  for (const auto& c : cases)
    EXPECT_EQ(FloatStr(c.value), c.text) << c.value;
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

namespace vardo {
namespace {

// An independent reading of the general format: printf's 15 significant digits, trailing
// zeros removed, fixed notation from 1E-4 up to below 1E15.
std::string ReferenceFloatStr(double v) {
  if (v == 0) return "0";
  char sci[64];
  std::snprintf(sci, sizeof sci, "%.14e", v);
  std::string text(sci);
  const size_t e = text.find('e');
  const int exponent = std::stoi(text.substr(e + 1));
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  std::string out = v < 0 ? "-" : "";
  if (exponent < -4 || exponent >= 15) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    return out + "E" + std::to_string(exponent);
  }
  if (exponent < 0) return out + "0." + std::string(-exponent - 1, '0') + digits;
  if (digits.size() <= static_cast<size_t>(exponent) + 1) {
    return out + digits + std::string(exponent + 1 - digits.size(), '0');
  }
  return out + digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
}

TEST(FloatStr, AgreesWithReferenceOnManyValues) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> scale(-20, 20), decimals(0, 9);
  std::uniform_int_distribution<int64_t> mantissa(-999999999999999, 999999999999999);
  for (int i = 0; i < 200000; ++i) {
    double v;
    switch (i % 3) {
      case 0:
        v = unit(rng) * std::pow(10.0, scale(rng));
        break;  // arbitrary doubles
      case 1:
        v = static_cast<double>(mantissa(rng) % 100000000) / std::pow(10.0, decimals(rng));
        break;  // coordinates with a few decimals
      default:
        v = static_cast<double>(mantissa(rng)) / std::pow(10.0, decimals(rng) + 6);
        break;
    }
    ASSERT_EQ(FloatStrA(v), ReferenceFloatStr(v)) << std::hexfloat << v;
  }
}

}  // namespace
}  // namespace vardo

namespace vardo {
namespace {

TEST(ValFloat, AgreesWithStrtodOnManyNumbers) {
  std::mt19937_64 rng(11);
  std::uniform_int_distribution<int> len(1, 20), digit(0, 9), frac(0, 12), exp(-30, 30), form(0, 3);
  for (int i = 0; i < 100000; ++i) {
    std::string text = form(rng) == 0 ? "-" : "";
    for (int k = len(rng); k > 0; --k)
      text.push_back(static_cast<char>('0' + digit(rng)));
    if (int f = frac(rng); f > 0) {
      text.push_back('.');
      while (f-- > 0)
        text.push_back(static_cast<char>('0' + digit(rng)));
    }
    if (form(rng) == 1) text += "e" + std::to_string(exp(rng));
    ASSERT_EQ(ValFloat(Widen(text)), std::strtod(text.c_str(), nullptr)) << text;
  }
}

}  // namespace
}  // namespace vardo
