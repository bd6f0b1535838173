// Whole-text substitution codes: file-name pieces, dates and times in many forms, era dates,
// scales and fixed strings.
#include "render/text_codes.h"

#include <array>
#include <cmath>

#include "common/numbers.h"
#include "common/strings.h"
#include "common/text_helpers.h"

namespace vardo {

namespace {

// How a value of one character is brought to two.
enum class Widening { None, LeadSpace, LeadZero, TrailSpace };

std::u16string Widen(std::u16string s, Widening w) {
  if (s.size() != 1) return s;
  switch (w) {
    case Widening::LeadSpace:
      return u" " + s;
    case Widening::LeadZero:
      return u"0" + s;
    case Widening::TrailSpace:
      return s + u" ";
    case Widening::None:
      break;
  }
  return s;
}

std::u16string Number(int v, Widening w = Widening::None) {
  return Widen(IntStr(v), w);
}

// "yyyy": the year with at least four digits.
std::u16string Year4(int year) {
  std::u16string s = IntStr(year);
  if (year >= 0 && s.size() < 4) s.insert(0, 4 - s.size(), u'0');
  return s;
}

// What the prefix of a number code makes of a one-digit value: "$" leaves it (or, for era
// years, adds a space after it), "&" and "_" put a space before it, "%" and "=" a zero.
Widening WideningOf(char16_t prefix, Widening dollar = Widening::None) {
  switch (prefix) {
    case u'&':
    case u'_':
      return Widening::LeadSpace;
    case u'%':
    case u'=':
      return Widening::LeadZero;
  }
  return dollar;
}

bool IsPrefix(char16_t c) {
  return c == u'$' || c == u'&' || c == u'%' || c == u'_' || c == u'=';
}

bool IsNowPrefix(char16_t c) {
  return c == u'$' || c == u'&' || c == u'%';
}

constexpr std::array<const char16_t*, 7> kWeekdays = {u"日", u"月", u"火", u"水",
                                                      u"木", u"金", u"土"};
constexpr std::array<const char16_t*, 7> kWeekdaysLatin = {u"SUN", u"MON", u"TUE", u"WED",
                                                           u"THU", u"FRI", u"SAT"};
constexpr std::array<const char16_t*, 12> kMonthsLatin = {
    u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN", u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC"};

// The era year as the era codes show it: the first year of an era is "元" and never widened.
std::u16string EraYear(const Era& era, Widening w) {
  if (era.year == u"1") return u"元";
  return Widen(era.year, w);
}

// "yyyy/", month and day each widened by a lead space, joined by "/".
std::u16string SlashDate(const LocalDateTime& t) {
  return Year4(t.year) + u"/" + Number(t.month, Widening::LeadSpace) + u"/" +
         Number(t.day, Widening::LeadSpace);
}

std::u16string ZeroDate(const LocalDateTime& t) {
  return Year4(t.year) + u"/" + Number(t.month, Widening::LeadZero) + u"/" +
         Number(t.day, Widening::LeadZero);
}

std::u16string ZeroTime(const LocalDateTime& t) {
  return Number(t.hour, Widening::LeadZero) + u":" + Number(t.minute, Widening::LeadZero) + u":" +
         Number(t.second, Widening::LeadZero);
}

Era EraOf(const LocalDateTime& t, bool with_reiwa) {
  const EraDateTexts texts = EraDate({t.year, t.month, t.day});
  return with_reiwa ? texts.era_with_reiwa : texts.era_without_reiwa;
}

std::u16string Weekday(const LocalDateTime& t) {
  return kWeekdays[static_cast<size_t>(DayOfWeek(t.year, t.month, t.day))];
}

// Int(v) of the scale codes: towards zero, kept as a double so that a scale of 0 cannot
// overflow (it shows as infinity).
std::u16string Tenths(double v) {
  return FloatStr(std::trunc(v + 0.5) / 10);
}

struct Expansion {
  bool matched = false;
  std::u16string text;
  bool fit = false;  // a "j" or "J" date, widened by the code parameter
};

Expansion Match(std::u16string text, bool fit = false) {
  return {true, std::move(text), fit};
}

class CodeExpander {
 public:
  CodeExpander(const TextCodeValues& values, const LocalDateTime& now)
      : values_(values), now_(now) {}

  Expansion Expand(std::u16string_view s) const {
    if (s.starts_with(u"&fs")) return Match(FileStemWord(s.substr(3), s));
    // Document variables: this system has none, so the text stays as it is (still a code).
    if (s.starts_with(u"%%")) return Match(std::u16string(s));
    if (s.size() < 2 || !IsPrefix(s[0])) return {};
    const char16_t p = s[0];
    const std::u16string_view letters = s.substr(1);
    if (Expansion e = FileName(p, letters); e.matched) return e;
    if (Expansion e = DateTime(p, letters); e.matched) return e;
    if (Expansion e = EraCode(p, letters); e.matched) return e;
    if (p == u'%') return Fixed(letters);
    return {};
  }

 private:
  const LocalDateTime& Moment(char16_t prefix) const {
    return IsNowPrefix(prefix) ? now_ : values_.ZumenDate;
  }

  std::u16string FileStem() const { return PathChangeExt(PathFileName(values_.ZumenName), u""); }

  // "&fs" and a number: the file name without extension, for 1..9 only its word of that number.
  std::u16string FileStemWord(std::u16string_view rest, std::u16string_view whole) const {
    const int k = ValInt(rest);
    if (k < 1 || k > 99999) return std::u16string(whole);
    std::u16string stem = FileStem();
    return k <= 9 ? NthWord(stem, k) : stem;
  }

  Expansion FileName(char16_t p, std::u16string_view letters) const {
    const bool now_prefix = IsNowPrefix(p);
    if (now_prefix && letters == u"F") return Match(values_.ZumenName);
    if (now_prefix && letters.size() == 2 && letters[0] == u'F' && letters[1] >= u'1' &&
        letters[1] <= u'9') {
      const PathPieces pieces = SplitPath(values_.ZumenName);
      const int index = pieces.last - (letters[1] - u'0');
      return Match(pieces.part[static_cast<size_t>(index < 0 ? 0 : index)]);
    }
    if (p == u'%' && letters == u"f") return Match(PathFileName(values_.ZumenName));
    if ((p == u'$' || p == u'&') && letters == u"f") return Match(FileStem());
    if (p == u'%' && letters.size() == 2 && letters[0] == u'f') {
      const char16_t h = letters[1];
      const int k = h >= u'1' && h <= u'9' ? h - u'0' : h >= u'a' && h <= u'f' ? h - u'a' + 10 : 0;
      if (k > 0) return Match(CopyZ(FileStem(), 0, k));
    }
    return {};
  }

  Expansion DateTime(char16_t p, std::u16string_view letters) const {
    const LocalDateTime& t = Moment(p);
    const bool now_prefix = IsNowPrefix(p);
    const Widening w = WideningOf(p);
    if (letters == u"F" || letters == u"f") {
      if (now_prefix) return {};
      const bool with_time = letters == u"F";
      std::u16string date = p == u'_' ? SlashDate(t) : ZeroDate(t);
      if (with_time) date += u" " + ZeroTime(t);
      return Match(date);
    }
    if (letters == u"j") return Match(SlashDate(t), true);
    if (letters == u"J") {
      const Era era = EraOf(t, true);
      return Match(era.name + EraYear(era, Widening::None) + u"年" +
                       Number(t.month, Widening::LeadSpace) + u"月" +
                       Number(t.day, Widening::LeadSpace) + u"日",
                   true);
    }
    if (letters == u"y") return Match(Number(t.year % 100, w));
    if (letters == u"Y")
      return Match(Widen(EraOf(t, false).year, WideningOf(p, Widening::TrailSpace)));
    if (letters == u"m") return Match(Number(t.month, w));
    if (letters == u"d") return Match(Number(t.day, w));
    if (letters == u"w" || letters == u"W") return Match(Weekday(t));
    if (letters == u"ma") {
      const bool valid = t.month >= 1 && t.month <= 12;
      return Match(valid ? kMonthsLatin[static_cast<size_t>(t.month - 1)] : u"");
    }
    if (letters == u"wa") {
      return Match(kWeekdaysLatin[static_cast<size_t>(DayOfWeek(t.year, t.month, t.day))]);
    }
    if (letters == u"n") return Match(t.hour < 12 ? u"AM" : u"PM");
    if (letters == u"N") return Match(t.hour < 12 ? u"前" : u"後");
    if (letters == u"h") return Match(Number(t.hour % 12, w));
    if (letters == u"H") return Match(Number(t.hour, w));
    if (letters == u"M") return Match(Number(t.minute, w));
    if (letters == u"S") return Match(Number(t.second, w));
    if (letters == u"T") return Match(values_.CodeTime);
    return {};
  }

  Expansion EraCode(char16_t p, std::u16string_view letters) const {
    static constexpr std::u16string_view kYearOnly[] = {u"E",      u"G",      u"GＧE",   u"GGＥ",
                                                        u"GGE",    u"GＧＥE", u"GＧEＥ", u"GＧEE",
                                                        u"GGＥＥ", u"GGＥE",  u"GGEＥ",  u"GGEE"};
    const Era era = EraOf(Moment(p), true);
    const std::u16string year = EraYear(era, WideningOf(p, Widening::TrailSpace));
    for (std::u16string_view code : kYearOnly) {
      if (letters == code) return Match(year);
    }
    if (letters == u"GＧ") return Match(era.name);
    if (letters == u"GＧＥ") return Match(era.name + year);
    if (letters == u"GＧＥＥ") return Match(era.name + year + u"年");
    return {};
  }

  Expansion Fixed(std::u16string_view letters) const {
    if (letters == u"mm") return Match(values_.CodeM1 + u"　" + values_.CodeM2);
    if (letters == u"m1") return Match(values_.CodeM1);
    if (letters == u"m2") return Match(values_.CodeM2);
    // A layer group without a usable scale is shown as 1:1, as it is drawn, instead of as a
    // division by zero.
    const double s = TJGdata::UsableScale(values_.ScaleNum);
    const double r = s / values_.ScaleDen;
    if (letters == u"SS") return Match(s >= 1 ? u"1/" + FloatStr(s) : Tenths(10 / s) + u"/1");
    if (letters == u"SP") {
      return Match(r >= 1 ? u"1/" + FloatStr(r) : Tenths(10 * values_.ScaleDen / s) + u"/1");
    }
    if (letters == u"ss") return Match(s >= 1 ? FloatStr(s) : Tenths(10 / s));
    if (letters == u"sp") return Match(r >= 1 ? FloatStr(r) : Tenths(10 * values_.ScaleDen / s));
    return {};
  }

  const TextCodeValues& values_;
  const LocalDateTime& now_;
};

// The widening parameter of a "j" or "J" date code: 1..9 when the text is such a code followed
// by at most six characters that read as that number, else 0. The text is cut to the code.
int CodeParameter(std::u16string& text) {
  static constexpr std::u16string_view kDateCodes[] = {u"$J", u"$j", u"&J", u"&j", u"%J",
                                                       u"%j", u"=J", u"=j", u"_J", u"_j"};
  const std::u16string_view head = std::u16string_view(text).substr(0, 2);
  bool date_code = false;
  for (std::u16string_view code : kDateCodes)
    date_code = date_code || head == code;
  const size_t rest = text.size() - head.size();
  if (!date_code || rest < 1 || rest > 6) return 0;
  const int value = ValInt(std::u16string_view(text).substr(2));
  text.resize(2);
  return value >= 1 && value <= 9 ? value : 0;
}

}  // namespace

TextCodeValues StartTextCodes(const TJGdata& doc) {
  TextCodeValues values;
  values.ZumenName = doc.ZumenFile;
  const int group = doc.CurLGrp;
  values.ScaleNum = (group >= 0 && group < 16) ? doc.LGrpScale[static_cast<size_t>(group)] : 1.0;
  if (values.ZumenName.empty() || !FileDate(values.ZumenName, values.ZumenDate)) {
    values.ZumenDate = LocalNow();
  }
  return values;
}

ExpandedText ExpandTextCode(std::u16string_view st, double B, double D,
                            const TextCodeValues& values, const LocalDateTime& now) {
  std::u16string text(st);
  const int P = CodeParameter(text);
  const Expansion e = CodeExpander(values, now).Expand(text);
  if (!e.matched) return {std::u16string(st), D, false};
  ExpandedText out{e.text, D, true};
  if (e.fit && P > 0) {
    // The spacing of the whole text plus P half-width cells, spread over its gaps.
    const double spacing = TextRunLength(out.text, D, 0) + P * (B + D) / 2;
    const int gaps = GapUnits(out.text);
    if (gaps > 0) out.D = 2 * spacing / gaps;
  }
  return out;
}

}  // namespace vardo
