// Read, write, read again (Parts 2.2 to 2.4): the written file reads back to a document that
// writes the same bytes, and the output keeps the input's encoding family.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::RoundTrip;

// Every entity kind, header and control records the writer does not repeat, a block, two
// degenerate entities, Japanese text and font in CP932.
constexpr std::string_view kFixtureCp932 =
    "file=C:\\cad\\\x90\x7D\x96\xCA 1.drw\r\n"  // 図面
    "hk 0\r\nhs 100 50 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nhzs 420 297\r\n"
    "hcw 1 2 3 4 5 6 7 8 9 10\r\nhcc 1 2 3 4 5 6 7 8 9 10\r\n"
    "hp1 10 20\r\nhp2ci 30 40\r\n"
    "lg1\r\nly2\r\nlc3\r\nlt4\r\nlw1\r\n"
    "z1\r\nhhp1\r\n0 0 100 0\r\n"
    "pl\r\n0 100 100 100\r\n100 100 100 200\r\n#\r\n"
    "ci 50 50 10\r\n"
    "lc5\r\nci 50 50 20 0 90 0.5 30\r\n"
    "pn6\r\npt 1 2\r\npt 3 4 1.5 45 2\r\n"
    "cn3\r\ncc4\r\ncn\"$\x81\x83\x82\x6C\x82\x72 \x96\xBE\x92\xA9\x81\x84\r\n"  // ＜ＭＳ 明朝＞
    "ch 10 20 5 0 \"\x90\xA1\x96\x40 \x95\x5C\x8E\xA6\r\n"                      // 寸法 表示
    "cn0 2.5 2.5 0 2\r\ncv 10 30 0 5 \"V  \r\n"
    "msg\r\n0 -10 100 -10\r\ncs 40 -12 1 0 \"\r\n"  // empty text: the length is written
    "lc10 255\r\n"
    "sl 0 0 10 0\r\nsl 0 0 10 0 10 10\r\nsl 0 0 10 0 10 10 0 10\r\n"
    "sc 0 0 5 1 0 0 3.14159 0\r\nse 0 0 5 1 0 0 3.14159 100\r\n"
    "so 0 0 5 1 0 0 3.14159 2\r\nsg 0 0 5 1 0 0 3.14159 2\r\n"
    "BL 5 5 blockname\r\n"
    "z3\r\n5 5 5 5\r\n"  // degenerate: dropped with its bits
    "ly3\r\nlg0\r\nz2\r\n0 0 0.1 0.666666666666667\r\n"
    "ci 0 0 0\r\n";  // degenerate

constexpr std::string_view kFixtureCp932Written =
    "hd\r\n"
    "lg1\r\nly2\r\nlc3\r\nlt4\r\nlw1\r\n"
    "z1\r\n0 0 100 0\r\n"
    "0 100 100 100\r\n100 100 100 200\r\n"
    "ci 50 50 10\r\n"
    "lc5\r\nci 50 50 20 0 90 0.5 30\r\n"
    "pn6\r\npt 1 2\r\npt 3 4 1.5 45 2\r\n"
    "cn3\r\ncc4\r\ncn\"$\x81\x83\x82\x6C\x82\x72 \x96\xBE\x92\xA9\x81\x84\r\n"
    "ch 10 20 5 0 \"\x90\xA1\x96\x40 \x95\x5C\x8E\xA6\r\n"
    "cn0 2.5 2.5 0 2\r\ncv 10 30 0 5 \"V  \r\n"
    "msg\r\n0 -10 100 -10\r\ncs 40 -12 1 0 \"100\r\n"
    "lc10 255\r\n"
    "sl 0 0 10 0\r\nsl 0 0 10 0 10 10\r\nsl 0 0 10 0 10 10 0 10\r\n"
    "sc 0 0 5 1 0 0 3.14159 0\r\nse 0 0 5 1 0 0 3.14159 100\r\n"
    "so 0 0 5 1 0 0 3.14159 2\r\nsg 0 0 5 1 0 0 3.14159 2\r\n"
    "lg0\r\nly3\r\nz2\r\n0 0 0.1 0.666666666666667\r\n"
    "lg1\r\nly2\r\n";

TEST(RoundTrip, EveryKindReachesAFixedPointAtOnce) {
  const std::string first = RoundTrip(kFixtureCp932);
  EXPECT_EQ(first, kFixtureCp932Written);
  const std::string second = RoundTrip(first);
  EXPECT_EQ(second, first);
  EXPECT_EQ(RoundTrip(second), second);
}

TEST(RoundTrip, ReadingTheOutputGivesTheSameEntities) {
  TJGdata a = test::Read(kFixtureCp932);
  TJGdata b = test::Read(RoundTrip(kFixtureCp932));
  // The block and the two degenerate entities are gone; everything else is as read.
  EXPECT_EQ(b.EntN(), a.EntN() - 3);
  ASSERT_EQ(b.EntTextN(), 2);
  EXPECT_EQ(b.EntText[0].st, a.EntText[0].st);
  EXPECT_EQ(b.EntText[0].fo, u"＜ＭＳ 明朝＞");
  EXPECT_EQ(b.EntText[1].st, u"V  ");
  ASSERT_EQ(b.EntDimN(), 1);
  EXPECT_EQ(b.EntDim[0].txt.st, u"100");
  EXPECT_EQ(b.EntSld2[0].Color, 255);
  EXPECT_EQ(b.EntLine.back().y2, a.EntLine.back().y2);
  EXPECT_EQ(b.CurLGrp, 1);
  EXPECT_EQ(b.CurLay, 2);
}

TEST(RoundTrip, SecondAndThirdWritesAgreeForOddInputs) {
  // Inputs whose first write differs from what they say (the host's layer is not the first
  // entity's, a dimension's bits move to its line, styles out of range, fonts "<>"), written
  // twice more.
  for (std::string_view input : {
           "lg5\nly6\nlg0\nly0\n0 0 1 1\n", "z1\nmsg\n0 0 1 0\ncs 0 0 1 0 \"x\n",
           "msg\n0 0 1 0\nz2\ncs 0 0 1 0 \"x\n", "cn0 1 2 3 4\ncn11\nch 0 0 1 0 \"t\n",
           "cn7\ncn\"$<>\nch 0 0 1 0 \"t\ncn\"$\nch 0 0 1 0 \"u\n",
           "lc10 99\n0 0 1 1\nlc10 -5\nsl 0 0 1 1\n", "pt 0 0 0 0 99\npt 1 1 1e-11 0 -8\n",
           "bz\nlw40000\n0 0 1 1\n",
           "ch 0 0 1 0 \"\x81\n",  // an undecodable byte becomes U+FFFD: UTF-8 from then on
       }) {
    SCOPED_TRACE(input);
    const std::string first = RoundTrip(input);
    const std::string second = RoundTrip(first);
    EXPECT_EQ(RoundTrip(second), second);
  }
}

TEST(RoundTrip, RandomDrawingsReachAFixedPointOnTheSecondWrite) {
  std::mt19937 rng(2024);
  const char* records[] = {
      "lg3",
      "ly5",
      "lga",
      "lc2",
      "lc10 255",
      "lt2",
      "lw1",
      "pn4",
      "cn0 1 2 0 3",
      "cn4",
      "cc5",
      "cn\"$<f g>",
      "z1",
      "z4",
      "z5",
      "pl",
      "#",
      "msg",
      "hhp2",
      "bz",
      "0 0 1 1",
      "0 0 0 0",
      "1e-11 0 0 0",
      "ci 1 1 2",
      "ci 1 1 0",
      "ci 0 0 3 10 20 0.5 5",
      "pt 1 1",
      "pt 1 1 2 3 4",
      "ch 0 0 1 0 \"a b",
      "cs 1 1 0 1 \"",
      "ch 0 0 0 0 \"x",
      "BL 1 1 b",
      "sl 0 0 1 1",
      "sl 0 0 1 0 1 1",
      "sl 0 0 1 0 1 1 0 1",
      "sl 0 0 1e-11 0 1 1 0 1",
      "sc 0 0 1 1 0 0 1 0",
      "se 0 0 1 1 0 0 1 5",
      "so 0 0 2 1 0 0 1 1",
      "sg 0 0 2 1 0 0 1 3",
  };
  for (int round = 0; round < 200; ++round) {
    std::string input;
    const int n = 1 + static_cast<int>(rng() % 30);
    for (int k = 0; k < n; ++k) {
      input += records[rng() % std::size(records)];
      input += "\n";
    }
    SCOPED_TRACE(input);
    const std::string second = RoundTrip(RoundTrip(input));
    ASSERT_EQ(RoundTrip(second), second);
  }
}

TEST(RoundTrip, Utf8InputStaysUtf8WithByteOrderMark) {
  const std::string out = RoundTrip(
      "\xEF\xBB\xBF"
      "cn\"$<ＭＳ 明朝>\r\nch 0 0 1 0 \"寸法 é\r\n");
  EXPECT_EQ(out,
            "\xEF\xBB\xBF"
            "hd\r\nlg0\r\nly0\r\ncn1\r\ncc0\r\ncn\"$<ＭＳ 明朝>\r\n"
            "ch 0 0 1 0 \"寸法 é\r\n");
  // Also when every character is ASCII, and when nothing at all is written.
  EXPECT_EQ(RoundTrip("\xEF\xBB\xBF"
                      "0 0 1 1\r\n"),
            "\xEF\xBB\xBF"
            "hd\r\nlg0\r\nly0\r\nlc1\r\nlt1\r\n0 0 1 1\r\n");
  EXPECT_EQ(RoundTrip("\xEF\xBB\xBF"),
            "\xEF\xBB\xBF"
            "hd\r\nlg0\r\nly0\r\n");
}

TEST(RoundTrip, Cp932InputStaysCp932) {
  const std::string out = RoundTrip("ch 0 0 1 0 \"\x90\xA1\x96\x40\xB1\r\n");
  EXPECT_EQ(out,
            "hd\r\nlg0\r\nly0\r\ncn1\r\ncc0\r\ncn\"$<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62"
            "\x83\x4E>\r\nch 0 0 1 0 \"\x90\xA1\x96\x40\xB1\r\n");
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

TEST(RoundTrip, Utf16InputIsWrittenInCp932WhenItFits) {
  EXPECT_EQ(RoundTrip(Utf16Le(u"ch 0 0 1 0 \"寸法\r\n")),
            "hd\r\nlg0\r\nly0\r\ncn1\r\ncc0\r\ncn\"$<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62"
            "\x83\x4E>\r\nch 0 0 1 0 \"\x90\xA1\x96\x40\r\n");
}

TEST(RoundTrip, CharacterOutsideCp932MakesTheOutputUtf8) {
  const std::string out = RoundTrip(Utf16Le(u"ch 0 0 1 0 \"caf\u00E9 寸法\r\n"));
  EXPECT_EQ(out,
            "\xEF\xBB\xBF"
            "hd\r\nlg0\r\nly0\r\ncn1\r\ncc0\r\ncn\"$<ＭＳ ゴシック>\r\n"
            "ch 0 0 1 0 \"café 寸法\r\n");
  // Read back, it is a UTF-8 file and stays one.
  EXPECT_EQ(RoundTrip(out), out);
}

}  // namespace
}  // namespace vardo
