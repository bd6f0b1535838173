// Image texts: recognition and the fields with their defaults.
#include "common/image_text.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(IsImageText, NeedsMarkAndComma) {
  EXPECT_TRUE(IsImageText(u"^@BMpic.bmp,100"));
  EXPECT_TRUE(IsImageText(u"^@BM,"));
  EXPECT_FALSE(IsImageText(u"^@BMpic.bmp"));
  EXPECT_FALSE(IsImageText(u"^@Bm,1"));
  EXPECT_FALSE(IsImageText(u" ^@BM,1"));
  EXPECT_FALSE(IsImageText(u"^@B,1"));
  EXPECT_FALSE(IsImageText(u""));
}

struct Expected {
  const char16_t* text;
  const char16_t* name;
  double f1, f2, f3, f4, f5, f6;
  int i7, i8, i9;
};

TEST(ReadImageText, FieldsAndDefaults) {
  const Expected cases[] = {
      // not an image text: all defaults
      {u"plain", u"", 0, 0, 0, 0, 1, 0, -1, -1, -1},
      {u"^@BMpic.bmp", u"", 0, 0, 0, 0, 1, 0, -1, -1, -1},
      // one number: square
      {u"^@BMpic.bmp,100", u"pic.bmp", 100, 100, 0, 0, 1, 0, -1, -1, -1},
      {u"^@BM図.jpg,2.5", u"図.jpg", 2.5, 2.5, 0, 0, 1, 0, -1, -1, -1},
      {u"^@BMpic,", u"pic", 0, 0, 0, 0, 1, 0, -1, -1, -1},
      // two numbers
      {u"^@BMpic,100,50", u"pic", 100, 50, 0, 0, 1, 0, -1, -1, -1},
      // six numbers: the integers keep their defaults
      {u"^@BMpic,1,2,3,4,5,6", u"pic", 1, 2, 3, 4, 5, 6, -1, -1, -1},
      // seven numbers: i8 and i9 become 0
      {u"^@BMpic,1,2,3,4,5,6,7", u"pic", 1, 2, 3, 4, 5, 6, 7, 0, 0},
      {u"^@BMpic,1,2,3,4,5,6,7,8", u"pic", 1, 2, 3, 4, 5, 6, 7, 8, 0},
      {u"^@BMpic,1,2,3,4,5,6,7,8,9,10,11", u"pic", 1, 2, 3, 4, 5, 6, 7, 8, 9},
      // an explicit -1 in i7 leaves i8 and i9 alone; in i8 it becomes 0
      {u"^@BMpic,1,2,3,4,5,6,-1", u"pic", 1, 2, 3, 4, 5, 6, -1, -1, -1},
      {u"^@BMpic,1,2,3,4,5,6,3,-1,-1", u"pic", 1, 2, 3, 4, 5, 6, 3, 0, 0},
      // unreadable numbers read as 0; a trailing comma opens an empty field
      {u"^@BMpic,abc,1,2", u"pic", 0, 1, 2, 0, 1, 0, -1, -1, -1},
      {u"^@BMpic,1,2,3,4,", u"pic", 1, 2, 3, 4, 0, 0, -1, -1, -1},
      {u"^@BMpic,1,2,3,4,5,6,", u"pic", 1, 2, 3, 4, 5, 6, 0, 0, 0},
      {u"^@BMpic,1,2,3,4,5,6,7.5", u"pic", 1, 2, 3, 4, 5, 6, 0, 0, 0},
      {u"^@BM,1e2, 3", u"", 100, 3, 0, 0, 1, 0, -1, -1, -1},
      {u"^@BMa b,1 ,2", u"a b", 0, 2, 0, 0, 1, 0, -1, -1, -1},
  };
  for (const auto& c : cases) {
    const ImageText img = ReadImageText(c.text);
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(img.name, c.name);
    EXPECT_EQ(img.f1, c.f1);
    EXPECT_EQ(img.f2, c.f2);
    EXPECT_EQ(img.f3, c.f3);
    EXPECT_EQ(img.f4, c.f4);
    EXPECT_EQ(img.f5, c.f5);
    EXPECT_EQ(img.f6, c.f6);
    EXPECT_EQ(img.i7, c.i7);
    EXPECT_EQ(img.i8, c.i8);
    EXPECT_EQ(img.i9, c.i9);
  }
}

}  // namespace
}  // namespace vardo
