// Tolerant number conversion and locale-independent number formatting.
#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace vardo {

namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

size_t SkipBlanks(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ')
    ++i;
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
  while (i < n && IsDigit(s[i]))
    ++i, ++int_digits;
  if (i < n && s[i] == u'.') {
    ++i;
    while (i < n && IsDigit(s[i]))
      ++i, ++frac_digits;
  }
  if (int_digits + frac_digits == 0) return 0.0;
  if (i < n && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
    size_t exp_digits = 0;
    while (i < n && IsDigit(s[i]))
      ++i, ++exp_digits;
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
  for (size_t k = 0; k < len; ++k)
    buf[k] = static_cast<char>(s[start + k]);

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

namespace {

// Writes FloatStr's text of v into buf (at least 32 chars) and returns its length.
size_t FormatFloat(double v, char* buf) {
  char* out = buf;
  auto put = [&out](const char* s) {
    while (*s)
      *out++ = *s++;
  };
  if (std::isnan(v)) {
    put("NAN");
    return static_cast<size_t>(out - buf);
  }
  if (std::isinf(v)) {
    put(v > 0 ? "INF" : "-INF");
    return static_cast<size_t>(out - buf);
  }
  if (v == 0.0) {
    *out++ = '0';
    return 1;
  }

  // The digits rounded to 15 significant places. The shortest round-trip form, when it has at
  // most 15 digits, is that rounding already (no other 15-digit decimal lies as close to v),
  // and it is much cheaper than a fixed-precision conversion.
  char sci[40];
  char* end = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific).ptr;
  size_t mantissa_digits = 0;
  for (const char* p = sci; *p != 'e'; ++p)
    mantissa_digits += (*p >= '0' && *p <= '9');
  if (mantissa_digits > 15) {
    end = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14).ptr;
  }
  const char* p = sci;
  if (*p == '-') {
    *out++ = '-';
    ++p;
  }
  char digits[16];
  int nd = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits[nd++] = *p;
  }
  int exponent = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
  while (nd > 1 && digits[nd - 1] == '0')
    --nd;

  if (exponent >= -4 && exponent < 15) {
    if (exponent < 0) {
      *out++ = '0';
      *out++ = '.';
      for (int k = 0; k < -exponent - 1; ++k)
        *out++ = '0';
      for (int k = 0; k < nd; ++k)
        *out++ = digits[k];
    } else {
      for (int k = 0; k <= exponent || k < nd; ++k) {
        if (k == exponent + 1) *out++ = '.';
        *out++ = k < nd ? digits[k] : '0';
      }
    }
    return static_cast<size_t>(out - buf);
  }
  *out++ = digits[0];
  if (nd > 1) {
    *out++ = '.';
    for (int k = 1; k < nd; ++k)
      *out++ = digits[k];
  }
  *out++ = 'E';
  out = std::to_chars(out, out + 8, exponent).ptr;
  return static_cast<size_t>(out - buf);
}

}  // namespace

std::string FloatStrA(double v) {
  char buf[32];
  return std::string(buf, FormatFloat(v, buf));
}

void AppendFloatStr(std::u16string& out, double v) {
  char buf[32];
  size_t n = FormatFloat(v, buf);
  out.append(buf, buf + n);
}

void AppendIntStr(std::u16string& out, int v) {
  char buf[16];
  char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  out.append(buf, end);
}

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string IntStr(int v) {
  return Widen(IntStrA(v));
}

std::u16string FloatStr(double v) {
  return Widen(FloatStrA(v));
}

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
