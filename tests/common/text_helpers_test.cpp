// Character classes, half-width measures, path pieces, words and era dates.
#include "common/text_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace vardo {
namespace {

const std::u16string kPair = u"\U0002000B";  // one character as a high and a low surrogate
const std::u16string kHigh(1, char16_t{0xD840});
const std::u16string kLow(1, char16_t{0xDC0B});

TEST(IsHalfWidth, AsciiPrintableAndHalfWidthKana) {
  struct Case {
    std::u16string ch;
    bool half;
  } cases[] = {
      {u" ", true},      {u"~", true},       {u"A", true},       {u"\t", false},
      {u"\x7F", false},  {u"\u3000", false}, {u"\uFF21", false}, {u"\uFF61", true},
      {u"\uFF9F", true}, {u"\uFF60", false}, {u"\uFFA0", false}, {u"あ", false},
      {kPair, false},    {u"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsHalfWidth(c.ch), c.half) << "code unit " << (c.ch.empty() ? 0 : int(c.ch[0]));
    if (c.ch.size() == 1) {
      EXPECT_EQ(IsHalfWidth(c.ch[0]), c.half);
    }
  }
}

// The class is an ordinal string comparison, so longer texts are judged by their first units.
TEST(IsHalfWidth, ComparesWholeStrings) {
  EXPECT_TRUE(IsHalfWidth(u"ab"));
  EXPECT_FALSE(IsHalfWidth(u"~a"));
  EXPECT_TRUE(IsHalfWidth(u"\uFF61\uFFFF"));
  EXPECT_FALSE(IsHalfWidth(u"\uFF9Fa"));
}

TEST(Surrogates, KindOfFirstUnit) {
  EXPECT_EQ(SurrogateKind(kPair), 1);
  EXPECT_EQ(SurrogateKind(kLow + u"a"), 2);
  EXPECT_EQ(SurrogateKind(u"a" + kPair), 0);
  EXPECT_EQ(SurrogateKind(u""), 0);
}

TEST(Surrogates, PositionWithinWellFormedPairs) {
  // a, pair, lone low, lone high, a, pair, lone high at the end
  const std::u16string s = u"a" + kPair + kLow + kHigh + u"a" + kPair + kHigh;
  const int want[] = {0, 1, 2, 0, 0, 0, 1, 2, 0};
  ASSERT_EQ(s.size(), std::size(want));
  for (int i = 0; i < int(s.size()); ++i)
    EXPECT_EQ(SurrogatePos(s, i), want[i]) << "index " << i;
  EXPECT_EQ(SurrogatePos(s, -1), -1);
  EXPECT_EQ(SurrogatePos(s, int(s.size())), -1);
  EXPECT_EQ(SurrogatePos(u"", 0), -1);
  // A high unit followed by two lows: only the first low belongs to the pair.
  const std::u16string t = kHigh + kLow + kLow;
  EXPECT_EQ(SurrogatePos(t, 1), 2);
  EXPECT_EQ(SurrogatePos(t, 2), 0);
}

// Characters agree with SurrogatePos: a pair where it finds one, every other unit alone.
TEST(Surrogates, CharactersTakePairsWhole) {
  const std::u16string s = u"a" + kPair + kLow + kHigh + u"a" + kHigh + kPair + kHigh;
  const std::vector<std::u16string_view> chars = Characters(s);
  const std::vector<std::u16string> want = {u"a", kPair, kLow, kHigh, u"a", kHigh, kPair, kHigh};
  ASSERT_EQ(chars.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(chars[i], want[i]) << "character " << i;
  EXPECT_TRUE(Characters(u"").empty());
}

TEST(HalfWidthCount, OneOrTwoPerCharacter) {
  struct Case {
    std::u16string s;
    int count;
  } cases[] = {
      {u"abc図", 5},
      {kPair, 2},
      {u"", 0},
      {u"ｱｲ", 2},
      {u"\t", 2},
      {kHigh, 2},
      {kLow + kHigh, 4},
      {u"a" + kPair + u"b", 4},
      {kHigh + kHigh + kLow, 4},  // a lone high, then a pair
  };
  for (const auto& c : cases)
    EXPECT_EQ(HalfWidthCount(c.s), c.count) << c.s.size() << " units";
}

TEST(GapUnits, CharactersBeforeTheLastUnit) {
  struct Case {
    std::u16string s;
    int gaps;
  } cases[] = {
      {u"", 0},       {u"a", 0},         {u"ab", 1},        {u"図寸", 2},
      {u"a\tb", 1},   {u"a" + kPair, 3}, {kPair, 2},        {kPair + u"a", 2},
      {u"ab\r\n", 2}, {u"図", 0},        {u"\x01\x02x", 0}, {u"ｱ図", 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GapUnits(c.s), c.gaps) << c.s.size() << " units";
}

TEST(TextRunLength, HalfWidthUnitsTimesHalfPitch) {
  EXPECT_EQ(TextRunLength(u"abc図", 3, 1), 10);  // 5 units of (3 + 1) / 2
  EXPECT_EQ(TextRunLength(u"", 3, 1), 0);
  EXPECT_EQ(TextRunLength(u"a", 2.5, 0), 1.25);
  EXPECT_EQ(TextRunLength(kPair, 2.5, 0.5), 3);
}

TEST(SplitPath, DriveFolderFile) {
  const PathPieces p = SplitPath(u"C:\\図面\\plan.drw");
  EXPECT_EQ(p.last, 2);
  EXPECT_EQ(p.part[0], u"C:");
  EXPECT_EQ(p.part[1], u"図面");
  EXPECT_EQ(p.part[2], u"plan.drw");
  EXPECT_EQ(p.part[3], u"");
}

TEST(SplitPath, SeparatorsAndDoubles) {
  struct Case {
    const char16_t* path;
    std::vector<std::u16string> parts;
  } cases[] = {
      {u"\\\\server\\share\\a.drw", {u"", u"server", u"share", u"a.drw"}},
      {u"//server/share", {u"", u"server", u"share"}},
      {u"a/b\\c", {u"a", u"b", u"c"}},
      {u"a\\/b", {u"a", u"", u"b"}},     // mixed pair is two separators
      {u"a\\\\\\b", {u"a", u"", u"b"}},  // three backslashes: a double, then a single
      {u"dir\\", {u"dir", u""}},
      {u"", {u""}},
      {u"name", {u"name"}},
  };
  for (const auto& c : cases) {
    const PathPieces p = SplitPath(c.path);
    ASSERT_EQ(p.last + 1, int(c.parts.size())) << std::u16string(c.path).size();
    for (size_t k = 0; k < c.parts.size(); ++k)
      EXPECT_EQ(p.part[k], c.parts[k]) << k;
  }
}

TEST(SplitPath, LastComponentIsReusedPastEighty) {
  std::u16string path = u"c0";
  for (int k = 1; k <= 90; ++k)
    path += u"\\c" + std::u16string(1, char16_t(u'0' + k % 10));
  const PathPieces p = SplitPath(path);
  EXPECT_EQ(p.last, 80);
  EXPECT_EQ(p.part[0], u"c0");
  EXPECT_EQ(p.part[79], u"c9");
  EXPECT_EQ(p.part[80], u"c0");  // the text after the 90th separator only

  const PathPieces q = SplitPath(std::u16string(200, u'/'));  // 100 doubled separators
  EXPECT_EQ(q.last, 80);
  EXPECT_EQ(q.part[80], u"");
}

TEST(NthWord, WordsEndAtBlanks) {
  struct Case {
    const char16_t* s;
    int n;
    const char16_t* word;
  } cases[] = {
      {u"one two three", 1, u"one"},
      {u"one two three", 2, u"two"},
      {u"one two three", 3, u"three"},
      {u"one two three", 9, u"three"},
      {u"one  two", 2, u""},
      {u"one  two", 3, u"two"},
      {u"one two ", 3, u""},
      {u"", 1, u""},
      {u"solo", 1, u"solo"},
      {u"one two", 0, u"two"},
      {u"one two", -1, u"two"},
      {u" lead", 1, u""},
      {u"図面\u3000名 x", 1, u"図面\u3000名"},  // only U+0020 separates words
  };
  for (const auto& c : cases)
    EXPECT_EQ(NthWord(c.s, c.n), c.word) << "n=" << c.n;
}

TEST(PathFileName, TextAfterLastSeparator) {
  struct Case {
    const char16_t* path;
    const char16_t* name;
  } cases[] = {
      {u"C:\\図面\\plan.drw", u"plan.drw"},
      {u"/home/u/plan.drw", u"plan.drw"},
      {u"C:\\dir/mixed\\a b.drw", u"a b.drw"},
      {u"plan.drw", u"plan.drw"},
      {u"C:\\dir\\", u""},
      {u"", u""},
      {u" \u3000\t", u""},
      {u" plan ", u" plan "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PathFileName(c.path), c.name);
  EXPECT_EQ(PathFileName(std::u16string(u"C:\\a\0b.drw", 10)), u"");
}

TEST(PathChangeExt, ReplacesOrRemovesExtension) {
  struct Case {
    const char16_t* path;
    const char16_t* ext;
    const char16_t* out;
  } cases[] = {
      {u"C:\\dir\\plan.drw", u"", u"C:\\dir\\plan"},
      {u"C:\\dir\\plan.drw", u".dat", u"C:\\dir\\plan.dat"},
      {u"C:\\dir\\plan.drw", u"dat", u"C:\\dir\\plan.dat"},
      {u"C:\\dir\\plan", u".dat", u"C:\\dir\\plan.dat"},
      {u"C:\\dir.old\\plan", u"", u"C:\\dir.old\\plan"},  // a dot in a folder is no extension
      {u"C:\\dir.old/plan", u".x", u"C:\\dir.old/plan.x"},
      {u"plan.tar.gz", u"", u"plan.tar"},
      {u"plan.", u"", u"plan"},
      {u".profile", u"", u""},
      {u"", u".dat", u""},
      {u"図面 一.drw", u"", u"図面 一"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PathChangeExt(c.path, c.ext), c.out) << "case " << (&c - cases);
  EXPECT_EQ(PathChangeExt(std::u16string(u"a\0b.drw", 7), u""), u"");
}

TEST(EraDate, BoundariesOfEachEra) {
  struct Case {
    DateYMD date;
    const char16_t* year;
    const char16_t* name;  // without 令和
    const char16_t* era_year;
    const char16_t* reiwa_name;  // with 令和
    const char16_t* reiwa_year;
  } cases[] = {
      {{2024, 6, 1}, u"2024", u"平成", u"36", u"令和", u"6"},
      {{2019, 5, 1}, u"2019", u"平成", u"31", u"令和", u"1"},
      {{2019, 4, 30}, u"2019", u"平成", u"31", u"平成", u"31"},
      {{1989, 1, 8}, u"1989", u"平成", u"1", u"平成", u"1"},
      {{1989, 1, 7}, u"1989", u"昭和", u"64", u"昭和", u"64"},
      {{1926, 12, 25}, u"1926", u"昭和", u"1", u"昭和", u"1"},
      {{1926, 12, 24}, u"1926", u"大正", u"15", u"大正", u"15"},
      {{1912, 7, 30}, u"1912", u"大正", u"1", u"大正", u"1"},
      {{1912, 7, 29}, u"1912", u"明治", u"45", u"明治", u"45"},
      {{1868, 10, 23}, u"1868", u"明治", u"1", u"明治", u"1"},
      {{1868, 10, 22}, u"1868", u"", u"", u"", u""},
      {{1, 1, 1}, u"1", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    const EraDateTexts t = EraDate(c.date);
    const std::string when = std::to_string(c.date.year) + "-" + std::to_string(c.date.month) +
                             "-" + std::to_string(c.date.day);
    EXPECT_EQ(t.year, c.year) << when;
    EXPECT_EQ(t.era_without_reiwa.name, c.name) << when;
    EXPECT_EQ(t.era_without_reiwa.year, c.era_year) << when;
    EXPECT_EQ(t.era_with_reiwa.name, c.reiwa_name) << when;
    EXPECT_EQ(t.era_with_reiwa.year, c.reiwa_year) << when;
  }
}

TEST(EraDate, ExtremeYearsDoNotOverflow) {
  const EraDateTexts hi = EraDate({INT32_MAX, 12, 31});
  EXPECT_EQ(hi.era_with_reiwa.name, u"令和");
  EXPECT_EQ(hi.era_with_reiwa.year, u"2147481629");
  const EraDateTexts lo = EraDate({INT32_MIN, 1, 1});
  EXPECT_EQ(lo.year, u"-2147483648");
  EXPECT_EQ(lo.era_with_reiwa.name, u"");
}

}  // namespace
}  // namespace vardo
