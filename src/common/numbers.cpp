// Tolerant number conversion and locale-independent number formatting.
#include "common/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

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

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

double ValFloat(std::u16string_view s) {
  size_t i = SkipBlanks(s);
  const size_t n = s.size();
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';

  // The grammar is checked here, not left to from_chars, which would also take "inf", "nan"
  // and hexadecimal forms.
  const size_t start = i;
  // The significant digits (leading zeros skipped) gather into the mantissa as they are read;
  // more than 15 leave the fast path below, so the gathering stops before it could overflow.
  uint64_t mantissa = 0;
  int digits = 0;
  auto take = [&](char16_t c) {
    const unsigned d = static_cast<unsigned>(c - u'0');
    if (digits == 0 && d == 0) return;
    if (++digits <= 16) mantissa = mantissa * 10 + d;
  };
  const size_t int_begin = i;
  for (; i < n && IsDigit(s[i]); ++i)
    take(s[i]);
  size_t frac_length = 0;
  const bool has_point = i < n && s[i] == u'.';
  if (has_point) {
    const size_t frac_begin = ++i;
    for (; i < n && IsDigit(s[i]); ++i)
      take(s[i]);
    frac_length = i - frac_begin;
  }
  if (i - int_begin == static_cast<size_t>(has_point)) return 0.0;  // no digit at all
  int exponent = 0;
  bool exponent_small = true;
  if (i < n && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    bool exp_negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) exp_negative = s[i++] == u'-';
    const size_t exp_begin = i;
    for (; i < n && IsDigit(s[i]); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (s[i] - u'0');
    }
    if (i == exp_begin) return 0.0;
    if (exp_negative) exponent = -exponent;
    exponent_small = exponent > -100000 && exponent < 100000;
  }
  if (i != n) return 0.0;
  // Capped: beyond the cap only from_chars below can read the number anyway.
  const int frac_digits = static_cast<int>(std::min<size_t>(frac_length, 100000));

  // Up to 15 significant digits scaled by an exact power of ten: one correctly rounded
  // operation on exact operands gives the correctly rounded value.
  const int power = exponent - frac_digits;
  if (digits <= 15 && exponent_small && power >= -22 && power <= 22) {
    double v = static_cast<double>(mantissa);
    v = power < 0 ? v / kExactPow10[-power] : v * kExactPow10[power];
    return negative ? -v : v;
  }

  // Everything else through from_chars on the narrowed, already validated text.
  std::string narrow(n - start, '\0');
  for (size_t k = start; k < n; ++k)
    narrow[k - start] = static_cast<char>(s[k]);
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), v);
  if (ec != std::errc() || ptr != narrow.data() + narrow.size() || !std::isfinite(v)) return 0.0;
  return negative ? -v : v;
}

std::string IntStrA(int v) {
  char buf[16];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, ptr);
}

namespace {

// The common case of coordinates with a few decimals (1234.567): v is m / 10^k for an integer
// m of at most 15 digits and a small k. The division of two exact doubles is correctly rounded,
// so when it gives back v, m * 10^-k reads back as v, and as no other decimal of at most 15
// digits does, it is v rounded to 15 digits. Writes the fixed form into buf and returns its
// length, or 0 when v is not such a number (then the general path decides).
size_t FormatShortDecimal(double v, char* buf) {
  const double magnitude = std::fabs(v);
  if (!(magnitude >= 1e-4 && magnitude < 1e15)) return 0;
  for (int k = 0; k <= 8; ++k) {
    const double scaled = std::nearbyint(v * kExactPow10[k]);
    if (std::fabs(scaled) >= 1e15) return 0;
    if (scaled / kExactPow10[k] != v) continue;
    char digits[24];
    const int64_t m = static_cast<int64_t>(scaled);
    char* end = std::to_chars(digits, digits + sizeof digits, m < 0 ? -m : m).ptr;
    int nd = static_cast<int>(end - digits);
    int frac = k;
    while (frac > 0 && digits[nd - 1] == '0')
      --nd, --frac;  // no trailing zeros
    char* out = buf;
    if (m < 0) *out++ = '-';
    const int whole = nd - frac;
    if (whole <= 0) {
      *out++ = '0';
      *out++ = '.';
      for (int z = 0; z < -whole; ++z)
        *out++ = '0';
      for (int d = 0; d < nd; ++d)
        *out++ = digits[d];
    } else {
      for (int d = 0; d < nd; ++d) {
        if (d == whole) *out++ = '.';
        *out++ = digits[d];
      }
    }
    return static_cast<size_t>(out - buf);
  }
  return 0;
}

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

  if (size_t n = FormatShortDecimal(v, buf)) return n;

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
