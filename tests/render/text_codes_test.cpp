// Whole-text substitution codes at a fixed "now" and drawing date: file-name pieces, dates,
// times, era dates, scales, fixed strings, the code parameter and the fit it asks for.
#include "render/text_codes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/local_time.h"

namespace vardo {
namespace {

// A Wednesday at noon, and a Saturday morning.
constexpr LocalDateTime kNow = {2019, 5, 1, 12, 5, 9};
constexpr LocalDateTime kFile = {2005, 3, 5, 7, 8, 9};

TextCodeValues Values(std::u16string name = u"C:\\work\\plans\\one two three.drw") {
  TextCodeValues v;
  v.ZumenName = std::move(name);
  v.ZumenDate = kFile;
  v.ScaleNum = 50;
  return v;
}

struct Case {
  std::u16string st;
  std::u16string shown;
  LocalDateTime now = kNow;
  LocalDateTime file = kFile;
};

void ExpectCodes(const Case* begin, const Case* end, const TextCodeValues& base) {
  for (const Case* c = begin; c != end; ++c) {
    TextCodeValues values = base;
    values.ZumenDate = c->file;
    const ExpandedText e = ExpandTextCode(c->st, 2, 0.5, values, c->now);
    EXPECT_EQ(e.text, c->shown) << "code " << std::string(c->st.begin(), c->st.end());
    EXPECT_TRUE(e.code_text);
    EXPECT_EQ(e.D, 0.5);
  }
}

TEST(ExpandTextCode, FileNamePieces) {
  const Case cases[] = {
      {u"$F", u"C:\\work\\plans\\one two three.drw"},
      {u"%F", u"C:\\work\\plans\\one two three.drw"},
      {u"&F1", u"plans"},
      {u"$F2", u"work"},
      {u"%F3", u"C:"},
      {u"$F9", u"C:"},
      {u"%f", u"one two three.drw"},
      {u"$f", u"one two three"},
      {u"&f", u"one two three"},
      {u"%f3", u"one"},
      {u"%fa", u"one two th"},
      {u"%ff", u"one two three"},
      {u"&fs2", u"two"},
      {u"&fs9", u"three"},
      {u"&fs12", u"one two three"},
      {u"&fs0", u"&fs0"},
      {u"&fs", u"&fs"},
      {u"&fs100000", u"&fs100000"},
  };
  ExpectCodes(std::begin(cases), std::end(cases), Values());

  const Case root[] = {{u"$F1", u"C:"}, {u"$f", u"a"}};
  ExpectCodes(std::begin(root), std::end(root), Values(u"C:\\a.drw"));
  const Case blank[] = {{u"%f", u""}, {u"$f", u""}, {u"%f5", u""}, {u"&fs1", u""}};
  ExpectCodes(std::begin(blank), std::end(blank), Values(u"   "));
}

TEST(ExpandTextCode, DatesAndTimesFromNowOrTheDrawingFile) {
  const Case cases[] = {
      {u"_F", u"2005/ 3/ 5 07:08:09"},
      {u"=F", u"2005/03/05 07:08:09"},
      {u"_f", u"2005/ 3/ 5"},
      {u"=f", u"2005/03/05"},
      {u"$j", u"2019/ 5/ 1"},
      {u"=j", u"2005/ 3/ 5"},
      {u"$y", u"19"},
      {u"_y", u" 5"},
      {u"=y", u"05"},
      {u"$y", u"9", {2009, 1, 1, 0, 0, 0}},
      {u"&y", u" 9", {2009, 1, 1, 0, 0, 0}},
      {u"%y", u"09", {2009, 1, 1, 0, 0, 0}},
      {u"$m", u"5"},
      {u"&m", u" 5"},
      {u"%m", u"05"},
      {u"_m", u" 3"},
      {u"=d", u"05"},
      {u"$d", u"1"},
      {u"$w", u"水"},
      {u"%W", u"水"},
      {u"_w", u"土"},
      {u"$wa", u"WED"},
      {u"=wa", u"SAT"},
      {u"$ma", u"MAY"},
      {u"_ma", u"MAR"},
      {u"$n", u"PM"},
      {u"_n", u"AM"},
      {u"$N", u"後"},
      {u"=N", u"前"},
      {u"$h", u"0"},
      {u"_h", u" 7"},
      {u"=h", u"07"},
      {u"%h", u"11", {2019, 5, 1, 23, 0, 0}},
      {u"$H", u"12"},
      {u"_H", u" 7"},
      {u"=H", u"07"},
      {u"$M", u"5"},
      {u"&M", u" 5"},
      {u"%M", u"05"},
      {u"_M", u" 8"},
      {u"$S", u"9"},
      {u"_S", u" 9"},
      {u"=S", u"09"},
      {u"$T", u"0:00"},
      {u"_T", u"0:00"},
  };
  ExpectCodes(std::begin(cases), std::end(cases), Values());
}

TEST(ExpandTextCode, EraDates) {
  const LocalDateTime reiwa1 = {2019, 5, 1, 0, 0, 0};
  const LocalDateTime heisei31 = {2019, 4, 30, 0, 0, 0};
  const LocalDateTime reiwa2 = {2020, 1, 1, 0, 0, 0};
  const LocalDateTime reiwa6 = {2024, 6, 1, 0, 0, 0};
  const LocalDateTime before_meiji = {1868, 10, 22, 0, 0, 0};
  const Case cases[] = {
      {u"$J", u"令和元年 5月 1日", reiwa1},
      {u"$J", u"平成31年 4月30日", heisei31},
      {u"_J", u"平成17年 3月 5日"},
      {u"_J", u"年10月22日", kNow, before_meiji},
      {u"$Y", u"31", reiwa1},
      {u"$Y", u"36", reiwa6},
      {u"$G", u"元", reiwa1},
      {u"$G", u"6 ", reiwa6},
      {u"%E", u"02", reiwa2},
      {u"$E", u"2 ", reiwa2},
      {u"&E", u" 2", reiwa2},
      {u"=E", u"17"},
      {u"%E", u"元", reiwa1},
      {u"$E", u"元", reiwa1},
      {u"&E", u"元", reiwa1},
      {u"$GＧ", u"令和", reiwa6},
      {u"$GＧＥ", u"令和6 ", reiwa6},
      {u"%GＧＥＥ", u"令和06年", reiwa6},
      {u"$GＧＥＥ", u"令和元年", reiwa1},
      {u"_GＧ", u"", kNow, before_meiji},
      {u"$GGEE", u"6 ", reiwa6},
      {u"$GＧEＥ", u"6 ", reiwa6},
  };
  ExpectCodes(std::begin(cases), std::end(cases), Values());
}

TEST(ExpandTextCode, ScalesAndFixedStrings) {
  TextCodeValues v = Values();
  const Case fixed[] = {
      {u"%SS", u"1/50"}, {u"%ss", u"50"},        {u"%SP", u"1/50"},
      {u"%sp", u"50"},   {u"%mm", u"%m1　%m2"},  {u"%m1", u"%m1"},
      {u"%m2", u"%m2"},  {u"%%name", u"%%name"}, {u"%%a^!b", u"%%a^!b"},
  };
  ExpectCodes(std::begin(fixed), std::end(fixed), v);

  v.ScaleNum = 0.4;
  const Case enlarged[] = {{u"%SS", u"2.5/1"}, {u"%ss", u"2.5"}, {u"%SP", u"2.5/1"}};
  ExpectCodes(std::begin(enlarged), std::end(enlarged), v);

  v.ScaleNum = 100;
  v.ScaleDen = 4;
  const Case ratio[] = {{u"%SP", u"1/25"}, {u"%sp", u"25"}, {u"%SS", u"1/100"}};
  ExpectCodes(std::begin(ratio), std::end(ratio), v);

  // A layer group without a usable scale is shown as 1:1, the scale it is drawn at.
  v.ScaleDen = 1;
  for (double unusable : {0.0, std::nan(""), HUGE_VAL}) {
    v.ScaleNum = unusable;
    const Case one[] = {{u"%SS", u"1/1"}, {u"%ss", u"1"}, {u"%SP", u"1/1"}, {u"%sp", u"1"}};
    ExpectCodes(std::begin(one), std::end(one), v);
  }
}

TEST(ExpandTextCode, TextsThatAreNoCode) {
  for (std::u16string st : {u"", u"A", u"%FF", u"%f0", u"%fg", u"$x", u"F", u"$", u"$F0",
                            u"$J1234567", u"_F1", u"$f1", u"=m1", u"%e"}) {
    const ExpandedText e = ExpandTextCode(st, 2, 0.5, Values(), kNow);
    EXPECT_FALSE(e.code_text) << std::string(st.begin(), st.end());
    EXPECT_EQ(e.text, st);
    EXPECT_EQ(e.D, 0.5);
  }
}

// "$J" with a number 1..9 after it spreads the era date over that many more half cells: the
// spacing of the whole text plus the extra cells at the old pitch, over its gaps.
TEST(ExpandTextCode, CodeParameterWidensTheDate) {
  const LocalDateTime reiwa1 = {2019, 5, 1, 0, 0, 0};
  // "令和元年 5月 1日": 16 half cells, 14 of them before the last character.
  const double widened = 2 * (16 * 0.5 / 2 + 3 * (2 + 0.5) / 2) / 14;
  struct Fit {
    std::u16string st;
    double D;
  };
  const Fit cases[] = {
      {u"$J3", widened}, {u"$J12", 0.5}, {u"$Jx", 0.5}, {u"$J0", 0.5}, {u"$J 3", widened},
  };
  for (const Fit& c : cases) {
    const ExpandedText e = ExpandTextCode(c.st, 2, 0.5, Values(), reiwa1);
    EXPECT_EQ(e.text, u"令和元年 5月 1日");
    EXPECT_TRUE(e.code_text);
    EXPECT_DOUBLE_EQ(e.D, c.D) << std::string(c.st.begin(), c.st.end());
  }
  const ExpandedText slash = ExpandTextCode(u"_j9", 2, 0, Values(), kNow);
  EXPECT_EQ(slash.text, u"2005/ 3/ 5");
  EXPECT_DOUBLE_EQ(slash.D, 2 * (9 * 2 / 2.0) / 9);
  // Widening is only for the "j" and "J" dates; other codes take no parameter.
  EXPECT_FALSE(ExpandTextCode(u"$y3", 2, 0.5, Values(), kNow).code_text);
}

}  // namespace
}  // namespace vardo
