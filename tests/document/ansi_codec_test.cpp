// The ANSI code page codec: Shift-JIS (code page 932) both ways, bad bytes, unmappable text.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "document/text_codec.h"

namespace vardo {
namespace {

// Both directions append: the output starts with a marker that must survive.
template <typename String>
String Marked(std::basic_string_view<typename String::value_type> text) {
  String s(1, '<');
  s += text;
  return s;
}

std::u16string Decoded(std::string_view bytes) {
  AnsiCodec codec;
  std::u16string out = u"<";
  codec.Decode(bytes, out);
  return out;
}

struct DecodeCase {
  const char* name;
  std::string_view bytes;
  std::u16string_view text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

class AnsiDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(AnsiDecode, Appends) {
  EXPECT_EQ(Decoded(GetParam().bytes), Marked<std::u16string>(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, AnsiDecode,
    ::testing::Values(
        DecodeCase{"Empty", "", u""}, DecodeCase{"Ascii", "hd 1.5\t-2", u"hd 1.5\t-2"},
        DecodeCase{"Hiragana", "\x82\xA0\x82\xA2", u"あい"},
        // Trail bytes 0x5C and 0x40 are ASCII values: they must stay inside their character.
        DecodeCase{"TrailByteInAsciiRange", "\x83\x5C\x95\x5C\x83\x40", u"ソ表ァ"},
        DecodeCase{"HalfWidthKatakana", "\xB1\xDE", u"ｱﾞ"},
        DecodeCase{"MixedWithAscii", "ch 0 0 1 0 \x93\x68\x82\xE8x", u"ch 0 0 1 0 塗りx"},
        DecodeCase{"LeadByteAtEnd", "a\x82", u"a\uFFFD"},
        // A lead byte whose partner is no trail byte spoils only itself.
        DecodeCase{"LeadByteBeforeControl", "\x82\rb", u"\uFFFD\rb"},
        DecodeCase{"LeadByteBeforeSpace", "\x82 \x82\xA0", u"\uFFFD あ"},
        DecodeCase{"UnassignedDoubleByte", "\x85\x40", u"\uFFFD@"}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodeCase {
  const char* name;
  std::u16string_view text;
  std::string_view bytes;
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
  *os << c.name;
}

class AnsiEncode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(AnsiEncode, Appends) {
  AnsiCodec codec;
  std::string out = "<";
  ASSERT_TRUE(codec.Encode(GetParam().text, out));
  EXPECT_EQ(out, Marked<std::string>(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, AnsiEncode,
    ::testing::Values(EncodeCase{"Empty", u"", ""}, EncodeCase{"Ascii", u"lc 1\r", "lc 1\r"},
                      EncodeCase{"Kanji", u"塗りハッチ",
                                 "\x93\x68\x82\xE8\x83\x6E\x83\x62\x83\x60"},
                      EncodeCase{"TrailByteInAsciiRange", u"ソ表", "\x83\x5C\x95\x5C"},
                      EncodeCase{"HalfWidthKatakana", u"ｱﾞ", "\xB1\xDE"},
                      EncodeCase{"Mixed", u"ch 図面1",
                                 "ch \x90\x7D\x96\xCA"
                                 "1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnmappableCase {
  const char* name;
  std::u16string_view text;
};

void PrintTo(const UnmappableCase& c, std::ostream* os) {
  *os << c.name;
}

class AnsiEncodeRefuses : public ::testing::TestWithParam<UnmappableCase> {};

// A character the code page lacks must be reported, never replaced by '?' or a look-alike.
TEST_P(AnsiEncodeRefuses, CharacterWithoutForm) {
  AnsiCodec codec;
  std::string out;
  EXPECT_FALSE(codec.Encode(GetParam().text, out)) << "encoded as: " << out;
}

INSTANTIATE_TEST_SUITE_P(Cp932, AnsiEncodeRefuses,
                         ::testing::Values(UnmappableCase{"Hangul", u"a한b"},
                                           // Best-fit tables would turn these into 'e' and '-'.
                                           UnmappableCase{"AccentedLatin", u"caf\u00E9"},
                                           UnmappableCase{"EnDash", u"1\u20132"},
                                           UnmappableCase{"SurrogatePair", u"x\U0001F600"},
                                           UnmappableCase{"LoneSurrogate", u"x\xD800y"},
                                           UnmappableCase{"AfterMappableText", u"あいう\u00E9"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Long runs of double-byte text cross every internal batch size intact, both ways; the odd
// single byte in front shifts character boundaries off any even batch edge.
TEST(AnsiCodec, LongRunsRoundTrip) {
  std::u16string text = u"ｱ";
  std::string bytes = "\xB1";
  for (int i = 0; i < 70000; ++i) {
    text += u"あ";
    bytes += "\x82\xA0";
  }
  text += u"z";
  bytes += "z";

  AnsiCodec codec;
  std::string encoded;
  ASSERT_TRUE(codec.Encode(text, encoded));
  EXPECT_TRUE(encoded == bytes) << "encoded size " << encoded.size() << ", expected "
                                << bytes.size();
  std::u16string decoded;
  codec.Decode(bytes, decoded);
  EXPECT_TRUE(decoded == text) << "decoded size " << decoded.size() << ", expected " << text.size();
}

// One codec serves a whole file line by line: a refused line must not disturb the next.
TEST(AnsiCodec, ReusableAfterRefusal) {
  AnsiCodec codec;
  std::string out;
  EXPECT_FALSE(codec.Encode(u"한", out));
  out.clear();
  ASSERT_TRUE(codec.Encode(u"亜", out));
  EXPECT_EQ(out, "\x88\x9F");
  std::u16string text;
  codec.Decode("\x82", text);
  codec.Decode("\x82\xA0", text);
  EXPECT_EQ(text, u"\uFFFDあ");
}

}  // namespace
}  // namespace vardo
