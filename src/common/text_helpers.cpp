// Character classes and text widths in half-width units, path pieces and Japanese era dates.
#include "common/text_helpers.h"

#include <climits>
#include <cstdint>

#include "common/numbers.h"
#include "common/strings.h"

namespace vardo {

namespace {

bool IsHigh(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

bool PairAt(std::u16string_view s, size_t i) {
  return i + 1 < s.size() && IsHigh(s[i]) && IsLow(s[i + 1]);
}

int ClampCount(int64_t n) {
  return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

bool HasNul(std::u16string_view s) {
  return s.find(u'\0') != std::u16string_view::npos;
}

// Start of the file name: just after the last folder separator.
size_t FileNameStart(std::u16string_view path) {
  const size_t sep = path.find_last_of(u"\\/");
  return sep == std::u16string_view::npos ? 0 : sep + 1;
}

struct EraStart {
  int64_t first_day;  // yyyymmdd
  int year_offset;
  const char16_t* name;
};

// Newest first, 令和 excluded: the era table as read from 平成 downwards.
constexpr EraStart kEras[] = {
    {19890108, 1988, u"平成"},
    {19261225, 1925, u"昭和"},
    {19120730, 1911, u"大正"},
    {18681023, 1867, u"明治"},
};
constexpr EraStart kReiwa = {20190501, 2018, u"令和"};

Era MakeEra(const EraStart& e, int year) {
  return {e.name, IntStr(year - e.year_offset)};
}

Era EraWithoutReiwa(int64_t ymd, int year) {
  for (const EraStart& e : kEras) {
    if (ymd >= e.first_day) return MakeEra(e, year);
  }
  return {};
}

}  // namespace

bool IsHalfWidth(std::u16string_view ch) {
  return (ch >= u" " && ch <= u"~") || (ch >= u"\uFF61" && ch <= u"\uFF9F");
}

bool IsHalfWidth(char16_t unit) {
  return (unit >= u' ' && unit <= u'~') || (unit >= 0xFF61 && unit <= 0xFF9F);
}

int SurrogateKind(std::u16string_view s) {
  if (s.empty()) return 0;
  if (IsHigh(s[0])) return 1;
  if (IsLow(s[0])) return 2;
  return 0;
}

int SurrogatePos(std::u16string_view s, int i) {
  if (i < 0 || static_cast<size_t>(i) >= s.size()) return -1;
  const size_t target = static_cast<size_t>(i);
  size_t k = 0;
  while (k < target)
    k += PairAt(s, k) ? 2 : 1;
  if (k == target) return PairAt(s, k) ? 1 : 0;
  return 2;  // the scan stepped over target as the low unit of a pair
}

std::vector<std::u16string_view> Characters(std::u16string_view s) {
  std::vector<std::u16string_view> chars;
  chars.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const size_t n = PairAt(s, i) ? 2 : 1;
    chars.push_back(s.substr(i, n));
    i += n;
  }
  return chars;
}

int HalfWidthCount(std::u16string_view s) {
  int64_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsHalfWidth(s[i])) {
      n += 1;
      continue;
    }
    n += 2;
    if (PairAt(s, i)) ++i;
  }
  return ClampCount(n);
}

int GapUnits(std::u16string_view s) {
  int64_t n = 0;
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] < u' ') continue;
    if (IsHalfWidth(s[i])) {
      n += 1;
      continue;
    }
    n += 2;
    if (PairAt(s, i)) ++i;
  }
  return ClampCount(n);
}

double TextRunLength(std::u16string_view s, double w, double sp) {
  return HalfWidthCount(s) * (w + sp) / 2;
}

PathPieces SplitPath(std::u16string_view path) {
  PathPieces pieces;
  int k = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    const char16_t c = path[i];
    if (!IsSeparator(c)) {
      pieces.part[static_cast<size_t>(k)].push_back(c);
      continue;
    }
    if (i + 1 < path.size() && path[i + 1] == c) ++i;  // "\\" or "//" is one separator
    if (k < kSplitPathMax) {
      ++k;
    } else {
      pieces.part[kSplitPathMax].clear();
    }
  }
  pieces.last = k;
  return pieces;
}

std::u16string NthWord(std::u16string_view s, int n) {
  int count = 0;
  size_t word_start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u' ') continue;
    if (++count == n) return std::u16string(s.substr(word_start, i - word_start));
    word_start = i + 1;
  }
  return std::u16string(s.substr(word_start));
}

std::u16string PathFileName(std::u16string_view path) {
  if (DelBlanks(path).empty() || HasNul(path)) return {};
  return std::u16string(path.substr(FileNameStart(path)));
}

std::u16string PathChangeExt(std::u16string_view path, std::u16string_view ext) {
  if (path.empty() || HasNul(path) || HasNul(ext)) return {};
  const size_t name_start = FileNameStart(path);
  const size_t dot = path.rfind(u'.');
  const size_t stem_end =
      (dot != std::u16string_view::npos && dot >= name_start) ? dot : path.size();
  std::u16string out(path.substr(0, stem_end));
  if (ext.empty()) return out;
  if (ext.front() != u'.') out.push_back(u'.');
  out.append(ext);
  return out;
}

EraDateTexts EraDate(const DateYMD& date) {
  const int64_t ymd = int64_t{date.year} * 10000 + int64_t{date.month} * 100 + date.day;
  EraDateTexts texts;
  texts.year = IntStr(date.year);
  texts.era_without_reiwa = EraWithoutReiwa(ymd, date.year);
  texts.era_with_reiwa =
      ymd >= kReiwa.first_day ? MakeEra(kReiwa, date.year) : texts.era_without_reiwa;
  return texts;
}

}  // namespace vardo
