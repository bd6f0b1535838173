// The text-code values the start sequence sets: the drawing's name and date, fixed code texts
// and the scale of the current layer group.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>

#include "form_fixture.h"

namespace vardo::test {
namespace {

using TextCodesTest = FormTest;

LocalDateTime Local(std::time_t t) {
  const std::tm tm = *std::localtime(&t);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

TEST_F(TextCodesTest, TheDrawingsFileDateHasTwoSecondResolution) {
  WriteFile("drawing.drw", "x");
  const std::time_t odd = 1700000001;  // an odd second
  std::filesystem::last_write_time(
      Path("drawing.drw"),
      std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(odd)));
  std::string drawing = "file=" + Path("drawing.drw").string() + "\r\n";
  drawing += "hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n";
  WriteDrawing(drawing);
  Open();
  const TextCodeValues& codes = form().TextCodes;
  EXPECT_EQ(codes.ZumenName, Path("drawing.drw").u16string());
  EXPECT_EQ(codes.ZumenDate, Local(odd - 1));
  EXPECT_EQ(codes.CodeTime, u"0:00");
  EXPECT_EQ(codes.CodeM1, u"%m1");
  EXPECT_EQ(codes.CodeM2, u"%m2");
  EXPECT_DOUBLE_EQ(codes.ScaleNum, 100);
  EXPECT_DOUBLE_EQ(codes.ScaleDen, 1);
}

// A name that is no file, or that no path can be formed from (a lone surrogate from a UTF-16
// exchange file), gives the start-up time.
TEST_F(TextCodesTest, ANameThatIsNoFileGivesTheStartUpTime) {
  for (const char16_t* name : {u"missing.drw", u"a\xD800.drw"}) {
    std::u16string text =
        u"\xFEFF"
        u"file=";
    text += name;
    text += u"\r\n";
    std::string bytes;
    for (char16_t c : text) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
    WriteDrawing(bytes);
    const std::time_t before = std::time(nullptr);
    Open();
    const LocalDateTime& date = form().TextCodes.ZumenDate;
    const LocalDateTime earliest = Local(before);
    EXPECT_EQ(form().TextCodes.ZumenName, name);
    EXPECT_GE(date.year, earliest.year);
    EXPECT_GT(date.month, 0);
    EXPECT_GT(date.day, 0);
  }
}

}  // namespace
}  // namespace vardo::test
