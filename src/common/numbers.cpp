// Tolerant number conversion and locale-independent number formatting.
#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace vardo {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

size_t SkipBlanks(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  return i;
}

}  // namespace

int ValInt(std::u16string_view s) {
  size_t i = SkipBlanks(s);
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  if (i >= s.size()) return 0;

  bool hex = false;
  if (s[i] == u'$' || s[i] == u'x' || s[i] == u'X') {
    hex = true;
    ++i;
  } else if (s[i] == u'0' && i + 1 < s.size() && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return 0;

  if (hex) {
    uint32_t v = 0;
    size_t digits = 0;
    for (; i < s.size(); ++i, ++digits) {
      int d = HexValue(s[i]);
      if (d < 0 || digits == 8) return 0;
      v = (v << 4) | static_cast<uint32_t>(d);
    }
    if (negative) v = 0u - v;
    return static_cast<int>(v);
  }

  int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (!IsDigit(s[i])) return 0;
    v = v * 10 + (s[i] - u'0');
    if (v > int64_t{2147483648}) return 0;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max()) return 0;
  return static_cast<int>(v);
}

double ValFloat(std::u16string_view s) {
  size_t i = SkipBlanks(s);
  const size_t n = s.size();
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';

  // Validate the grammar ourselves: from_chars would also take "inf", "nan" and hex forms.
  const size_t start = i;
  size_t int_digits = 0, frac_digits = 0;
  while (i < n && IsDigit(s[i])) ++i, ++int_digits;
  if (i < n && s[i] == u'.') {
    ++i;
    while (i < n && IsDigit(s[i])) ++i, ++frac_digits;
  }
  if (int_digits + frac_digits == 0) return 0.0;
  if (i < n && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
    size_t exp_digits = 0;
    while (i < n && IsDigit(s[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return 0.0;
  }
  if (i != n) return 0.0;

  // Narrow the validated text; a leading "." or an exponent "+" needs no special care,
  // from_chars takes both. Short numbers stay on the stack.
  const size_t len = n - start;
  char small[64];
  std::vector<char> large;
  char* buf = small;
  if (len > sizeof small) {
    large.resize(len);
    buf = large.data();
  }
  for (size_t k = 0; k < len; ++k) buf[k] = static_cast<char>(s[start + k]);

  double v = 0.0;
  auto [ptr, ec] = std::from_chars(buf, buf + len, v);
  if (ec != std::errc() || ptr != buf + len || !std::isfinite(v)) return 0.0;
  return negative ? -v : v;
}

std::string IntStrA(int v) {
  char buf[16];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, ptr);
}

std::string FloatStrA(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  if (v == 0.0) return "0";

  // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]xx
  char sci[40];
  auto [end, ec] = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14);
  (void)ec;
  const char* p = sci;
  std::string out;
  if (*p == '-') {
    out.push_back('-');
    ++p;
  }
  char digits[16];
  int nd = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits[nd++] = *p;
  }
  int exponent = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
  while (nd > 1 && digits[nd - 1] == '0') --nd;

  if (exponent >= -4 && exponent < 15) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<size_t>(-exponent - 1), '0');
      out.append(digits, static_cast<size_t>(nd));
    } else if (nd <= exponent + 1) {
      out.append(digits, static_cast<size_t>(nd));
      out.append(static_cast<size_t>(exponent + 1 - nd), '0');
    } else {
      out.append(digits, static_cast<size_t>(exponent + 1));
      out.push_back('.');
      out.append(digits + exponent + 1, static_cast<size_t>(nd - exponent - 1));
    }
    return out;
  }
  out.push_back(digits[0]);
  if (nd > 1) {
    out.push_back('.');
    out.append(digits + 1, static_cast<size_t>(nd - 1));
  }
  out.push_back('E');
  out += IntStrA(exponent);
  return out;
}

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string IntStr(int v) { return Widen(IntStrA(v)); }

std::u16string FloatStr(double v) { return Widen(FloatStrA(v)); }

int RoundOff(double v) {
  if (std::isnan(v)) return 0;
  double r = v >= 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
  if (r >= 2147483647.0) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

double SnapTo(double v, double step) {
  double r = std::trunc(std::fabs(v) / step + 0.5) * step;
  return v < 0 ? -r : r;
}

void SwapDouble(double& a, double& b) {
  double t = a;
  a = b;
  b = t;
}

}  // namespace vardo
