// Exchange-file reader, file framing: byte-order marks, the ANSI code page (CP932),
// undecodable bytes, NUL, line ends, missing and unreadable files.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::Read;
using test::ReadInto;
using test::TempDir;
using test::U8;

std::string Utf16Bytes(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    bytes += big_endian ? hi : lo;
    bytes += big_endian ? lo : hi;
  }
  return bytes;
}

TEST(ReaderEncoding, Utf8WithByteOrderMark) {
  TJGdata d = Read(
      "\xEF\xBB\xBF"
      "ci 0 0 5\r\nch 0 0 1 0 \"寸法 é 😀\r\n");
  EXPECT_TRUE(d.MojiCode);
  EXPECT_EQ(d.EntCircN(), 1);  // the mark is not part of the first field
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].st, u"寸法 é 😀");
}

TEST(ReaderEncoding, OnlyAByteOrderMark) {
  TJGdata d = Read("\xEF\xBB\xBF");
  EXPECT_TRUE(d.MojiCode);
  EXPECT_EQ(d.EntN(), 0);
  TJGdata e = Read("\xFF\xFE");
  EXPECT_FALSE(e.MojiCode);
  EXPECT_EQ(e.EntN(), 0);
}

TEST(ReaderEncoding, Utf16LittleAndBigEndian) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "big endian" : "little endian");
    TJGdata d = Read(Utf16Bytes(u"ci 0 0 5\r\nch 0 0 1 0 \"寸法 é 😀\r\nlc3", big));
    EXPECT_FALSE(d.MojiCode);
    EXPECT_EQ(d.EntCircN(), 1);
    ASSERT_EQ(d.EntTextN(), 1);
    EXPECT_EQ(d.EntText[0].st, u"寸法 é 😀");
    EXPECT_EQ(d.w_Col, 3);  // the last line without a break
  }
}

TEST(ReaderEncoding, Utf16OddLengthAndLoneSurrogates) {
  std::string bytes = Utf16Bytes(
      u"ch 0 0 1 0 \"a\xD800"
      u"b\xDC00\r\nci 0 0 5",
      false);
  bytes += 'x';  // one byte too many
  TJGdata d = Read(bytes);
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].st,
            u"a\xD800"
            u"b\xDC00");  // kept as read
  // The odd byte becomes U+FFFD: the last line is a circle whose radius is not a number.
  ASSERT_EQ(d.EntCircN(), 1);
  EXPECT_EQ(d.EntCirc[0].cr, 0.0);
}

TEST(ReaderEncoding, AnsiCodePageIsCp932) {
  // "ch 0 0 1 0 " + quote + 寸法 + full-width blank + ｱ, and the font ＜ＭＳ 明朝＞.
  TJGdata d = Read(
      "cn\"$\x81\x83\x82\x6C\x82\x72 \x96\xBE\x92\xA9\x81\x84\r\n"
      "ch 0 0 1 0 \"\x90\xA1\x96\x40\x81\x40\xB1\r\n");
  EXPECT_FALSE(d.MojiCode);
  EXPECT_EQ(d.w_Font, u"＜ＭＳ 明朝＞");
  ASSERT_EQ(d.EntTextN(), 1);
  EXPECT_EQ(d.EntText[0].st, u"寸法\u3000ｱ");
}

TEST(ReaderEncoding, UndecodableBytesBecomeReplacementCharacters) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string st;
  } cases[] = {
      {"cp932 lead byte at the end", "ch 0 0 1 0 \"a\x81", u"a\uFFFD"},
      // Single bytes such as 0x80 or 0xFD differ between code-page tables; an unassigned pair
      // is undecodable in every one.
      {"cp932 pair that is no character", "ch 0 0 1 0 \"\x85\x40x", u"\uFFFD\u0040x"},
      {"cp932 lead byte before a blank", "ch 0 0 1 0 \"\x81 x", u"\uFFFD x"},
      {"cp932 lead byte before a line end", "ch 0 0 1 0 \"\x81\r\n", u"\uFFFD"},
      {"utf-8 missing continuation",
       "\xEF\xBB\xBF"
       "ch 0 0 1 0 \"a\xC3(b",
       u"a\uFFFD(b"},
      {"utf-8 truncated at the end",
       "\xEF\xBB\xBF"
       "ch 0 0 1 0 \"a\xE3\x81",
       u"a\uFFFD"},
      {"utf-8 overlong",
       "\xEF\xBB\xBF"
       "ch 0 0 1 0 \"\xC0\xAF",
       u"\uFFFD\uFFFD"},
      {"utf-8 surrogate",
       "\xEF\xBB\xBF"
       "ch 0 0 1 0 \"\xED\xA0\x80z",
       u"\uFFFDz"},
      {"utf-8 beyond U+10FFFF",
       "\xEF\xBB\xBF"
       "ch 0 0 1 0 \"\xF4\x90\x80\x80",
       u"\uFFFD"},
      {"utf-8 lone continuation",
       "\xEF\xBB\xBF"
       "ch 0 0 1 0 \"\x80\xBF",
       u"\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TJGdata d = Read(c.bytes);
    ASSERT_EQ(d.EntTextN(), 1);
    EXPECT_EQ(d.EntText[0].st, c.st);
  }
}

TEST(ReaderEncoding, RandomBytesNeverCrash) {
  using namespace std::string_literals;
  std::mt19937 rng(12345);
  const std::string prefixes[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  const std::string pieces[] = {"ci ", "ch ",  "sl ",   "\"", "=",   " ",   "\t",   "\r",   "\n",
                                "1",   "-2.5", "1e999", "lg", "hp3", "msg", "\x81", "\xFF", "\0"s};
  for (int round = 0; round < 400; ++round) {
    std::string bytes = prefixes[round % 4];
    int n = static_cast<int>(rng() % 60);
    for (int k = 0; k < n; ++k) {
      if (rng() % 3 == 0) {
        bytes += static_cast<char>(rng() & 0xFF);
      } else {
        bytes += pieces[rng() % std::size(pieces)];
      }
    }
    TJGdata d = Read(bytes);
    EXPECT_LE(d.EntN(), 60);
  }
}

TEST(ReaderEncoding, NulEndsTheText) {
  using namespace std::string_literals;
  EXPECT_EQ(Read("ci 0 0 1\n\0ci 0 0 2\n"s).EntCircN(), 1);
  TJGdata d = Read("ci 0 0 1\0 2\nci 0 0 2\n"s);
  ASSERT_EQ(d.EntCircN(), 1);
  EXPECT_EQ(d.EntCirc[0].cr, 1.0);
  EXPECT_EQ(Read("\xEF\xBB\xBF"
                 "ci 0 0 1\n\0ci 0 0 2\n"s)
                .EntCircN(),
            1);
  EXPECT_EQ(Read(Utf16Bytes(u"ci 0 0 1\n\0ci 0 0 2\n"s, false)).EntCircN(), 1);
  EXPECT_EQ(Read(Utf16Bytes(u"ci 0 0 1\n\0ci 0 0 2\n"s, true)).EntCircN(), 1);
  EXPECT_EQ(Read("\0ci 0 0 1\n"s).EntN(), 0);
}

TEST(ReaderEncoding, LineEnds) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"CR LF", "ci 0 0 1\r\nci 0 0 2\r\nci 0 0 3\r\n"},
      {"LF", "ci 0 0 1\nci 0 0 2\nci 0 0 3\n"},
      {"CR", "ci 0 0 1\rci 0 0 2\rci 0 0 3\r"},
      {"mixed, no break at the end", "ci 0 0 1\rci 0 0 2\nci 0 0 3"},
      {"empty lines between", "\r\n\rci 0 0 1\n\r\n\nci 0 0 2\r\r\rci 0 0 3\r\n\r\n"},
      {"LF CR counts twice", "ci 0 0 1\n\rci 0 0 2\n\rci 0 0 3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TJGdata d = Read(c.bytes);
    ASSERT_EQ(d.EntCircN(), 3);
    EXPECT_EQ(d.EntCirc[0].cr, 1.0);
    EXPECT_EQ(d.EntCirc[2].cr, 3.0);
  }
  // UTF-16 and UTF-8 files split the same way.
  EXPECT_EQ(Read(Utf16Bytes(u"ci 0 0 1\rci 0 0 2\nci 0 0 3", false)).EntCircN(), 3);
  EXPECT_EQ(Read("\xEF\xBB\xBF"
                 "ci 0 0 1\rci 0 0 2\nci 0 0 3")
                .EntCircN(),
            3);
}

TEST(ReaderEncoding, MissingEmptyNameAndUnreadableFileLeaveTheDefaults) {
  TempDir dir;
  const TJGdata fresh;
  for (const std::u16string& name :
       {std::u16string(), test::PathText(dir.File("missing.txt")), test::PathText(dir.path())}) {
    SCOPED_TRACE(U8(name));
    TJGdata d;
    d.MojiCode = true;
    d.OpenTempFile(name);
    EXPECT_FALSE(d.MojiCode);
    EXPECT_EQ(d.EntN(), 0);
    EXPECT_EQ(d.w_Font, fresh.w_Font);
    EXPECT_EQ(d.CurCol, fresh.CurCol);
  }
}

TEST(ReaderEncoding, EmptyFile) {
  TJGdata d = Read("");
  EXPECT_FALSE(d.MojiCode);
  EXPECT_EQ(d.EntN(), 0);
}

}  // namespace
}  // namespace vardo
