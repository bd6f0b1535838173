// Substrings with 0-based positions and blank removal, including out-of-range positions.
#include "common/strings.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(StrLen, CountsUtf16Units) {
  EXPECT_EQ(StrLen(u""), 0);
  EXPECT_EQ(StrLen(u"lg3"), 3);
  EXPECT_EQ(StrLen(u"図寸"), 2);
  EXPECT_EQ(StrLen(u"\U0002000B"), 2);  // one character outside the BMP is a pair of units
}

TEST(CharAt, OneUnitOrEmptyOutside) {
  EXPECT_EQ(CharAt(u"abc", 0), u"a");
  EXPECT_EQ(CharAt(u"abc", 2), u"c");
  EXPECT_EQ(CharAt(u"abc", 3), u"");
  EXPECT_EQ(CharAt(u"abc", -1), u"");
  EXPECT_EQ(CharAt(u"", 0), u"");
  EXPECT_EQ(CharAt(u"\U0002000B", 1), std::u16string(1, char16_t{0xDC0B}));
}

TEST(PosZ, FirstOccurrenceZeroBased) {
  struct Case {
    const char16_t* sub;
    const char16_t* s;
    int pos;
  } cases[] = {
      {u"lg", u"lgn3", 0},  {u"x", u"abc", -1},    {u"", u"abc", -1},  {u"", u"", -1},
      {u"c", u"abcabc", 2}, {u"abcd", u"abc", -1}, {u"bc", u"abc", 1}, {u"寸", u"図寸mm", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PosZ(c.sub, c.s), c.pos) << "sub index " << (&c - cases);
  }
}

TEST(CopyFrom, TailFromPosition) {
  EXPECT_EQ(CopyFrom(u"hp12", 2), u"12");
  EXPECT_EQ(CopyFrom(u"hp12", 0), u"hp12");
  EXPECT_EQ(CopyFrom(u"hp12", 3), u"2");
  EXPECT_EQ(CopyFrom(u"hp12", 4), u"");
  EXPECT_EQ(CopyFrom(u"hp12", 100), u"");
  EXPECT_EQ(CopyFrom(u"hp12", -3), u"hp12");
}

TEST(CopyZ, AtMostNUnits) {
  struct Case {
    const char16_t* s;
    int i, n;
    const char16_t* out;
  } cases[] = {
      {u"lg3", 2, 1, u"3"},        {u"lg", 2, 1, u""},
      {u"lg3", 0, 2, u"lg"},       {u"lg3", 1, 100, u"g3"},
      {u"lg3", 0, 0, u""},         {u"lg3", 0, -1, u""},
      {u"lg3", -1, 2, u"lg"},      {u"lg3", 1, INT32_MAX, u"g3"},
      {u"lg3", INT32_MAX, 1, u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CopyZ(c.s, c.i, c.n), c.out) << "i=" << c.i << " n=" << c.n;
  }
}

TEST(DelBlanks, RemovesBlanksIdeographicSpacesAndControls) {
  EXPECT_EQ(DelBlanks(u"  \u3000\t\u3000 \r\n"), u"");
  EXPECT_EQ(DelBlanks(u"a b"), u"ab");
  EXPECT_EQ(DelBlanks(u"\x1F図\u3000寸\x7F"), u"図寸\x7F");  // DEL (0x7F) is not below U+0020
  EXPECT_EQ(DelBlanks(u"\u00A0x"), u"\u00A0x");              // only the listed blanks go
  EXPECT_EQ(DelBlanks(u""), u"");
}

}  // namespace
}  // namespace vardo
