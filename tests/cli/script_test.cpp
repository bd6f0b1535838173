// Scenarios through the headless shell: every command, the print formats, errors naming their
// line, and how a scenario ends.
#include "cli/script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "common/temp_folder.h"
#include "document/model.h"

namespace vardo {
namespace {

constexpr std::string_view kSquare =
    "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc2\r\n"
    "0 0 100 0\r\n100 0 100 100\r\n100 100 0 100\r\n0 100 0 0\r\n";

class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.empty()) << "no temporary folder";
    std::ofstream(dir_ / "JWC_TEMP.TXT", std::ios::binary) << kSquare;
  }

  // Runs the scenario; out_ and err_ hold what it wrote.
  int Run(const std::string& scenario) {
    std::istringstream in(scenario);
    out_.str("");
    err_.str("");
    return RunScenario(in, dir_.u16string(), out_, err_);
  }

  std::string Read(const char* name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // The hatch lines a scenario run on the drawing leaves in JWC_TEMP.TXT after the square's four
  // sides, once with "snap on" and then once with "snap off" after its first line, indexed by
  // the box's state; empty when a run failed.
  std::array<std::vector<TEntLine>, 2> HatchWithSnapOnAndOff(const std::string& drawing,
                                                             const std::string& first,
                                                             const std::string& rest) {
    std::array<std::vector<TEntLine>, 2> runs;
    for (const bool snap : {true, false}) {
      std::ofstream(dir_ / "JWC_TEMP.TXT", std::ios::binary | std::ios::trunc) << drawing;
      const int status = Run(first + "\nsnap " + (snap ? "on" : "off") + "\n" + rest);
      EXPECT_EQ(status, 0) << err_.str();
      TJGdata doc;
      doc.ReadTempBytes(Read("JWC_TEMP.TXT"));
      EXPECT_GT(doc.EntLineN(), 8) << (snap ? "snap on" : "snap off");
      if (status != 0 || doc.EntLineN() <= 8) return {};
      runs[snap].assign(doc.EntLine.begin() + 4, doc.EntLine.end());
    }
    return runs;
  }

  // The print view line of the square fitted into a w x h paint box.
  static std::string FittedView(int w, int h) {
    const double s = std::min(w / 100.0, h / 100.0) * 0.9;
    return FloatStrA(50 - w / 2.0 / s) + " " + FloatStrA(50 - h / 2.0 / s) + " " +
           FloatStrA(50 + w / 2.0 / s) + " " + FloatStrA(50 + h / 2.0 / s) + " " + FloatStrA(s);
  }

  TempFolder folder_{"vardo-script-"};
  const std::filesystem::path& dir_ = folder_.path();
  std::ostringstream out_, err_;
};

TEST_F(ScriptTest, PrintsWhatTheWindowShows) {
  ASSERT_EQ(Run("size 400 300\nshow\nprint status\nprint counters\nprint message\nprint hat\n"
                "print edits\nprint view\n"),
            0)
      << err_.str();
  EXPECT_EQ(out_.str(),
            "ハッチを行う箇所をクリックして下さい。\n線:0　点:0　円弧:0\n\n0 0\n1|0|1|0\n" +
                FittedView(400, 300) + "\n");
  EXPECT_EQ(err_.str(), "");
}

TEST_F(ScriptTest, PrintsTheTimingsOfStartUpAndOfTheLastRedraw) {
  ASSERT_EQ(Run("size 1600 1000\nprint timings\nshow\nprint timings\n"), 0) << err_.str();
  std::istringstream lines(out_.str());
  std::string before, after;
  std::getline(lines, before);
  std::getline(lines, after);
  EXPECT_EQ(before, "read 0.0 index 0.0 extents 0.0 redraw 0.0");
  // Four names, each with its milliseconds to one decimal.
  std::istringstream fields(after);
  std::string name, ms;
  double redraw = -1;
  for (const char* expected : {"read", "index", "extents", "redraw"}) {
    ASSERT_TRUE(fields >> name >> ms) << after;
    EXPECT_EQ(name, expected) << after;
    ASSERT_TRUE(
        ms.size() >= 3 && ms[ms.size() - 2] == '.' &&
        std::all_of(ms.begin(), ms.end(), [](char c) { return c == '.' || std::isdigit(c); }))
        << after;
    redraw = std::stod(ms);
  }
  EXPECT_FALSE(fields >> name) << after;
  // Clearing and copying a million and a half pixels takes well over a twentieth of a
  // millisecond.
  EXPECT_GT(redraw, 0) << after;
}

TEST_F(ScriptTest, ARunThenOkWritesBothFilesAndEndsTheScenario) {
  ASSERT_EQ(Run("size 400 300\n"
                "show\n"
                "# mark the square and hatch it every 10 mm at 90 degrees\n"
                "\n"
                "mono on\n"
                "click 200 150\n"
                "spacing 10\n"
                "angle 90\n"
                "run\n"
                "print hat\n"
                "print counters\n"
                "ok\n"
                "print status\n"
                "this line is never read\n"),
            0)
      << err_.str();
  EXPECT_EQ(out_.str(), "200 150\n線:9　点:0　円弧:0\n");
  const std::string written = Read("JWC_TEMP.TXT");
  EXPECT_EQ(written.substr(0, 4), "hd\r\n");
  EXPECT_NE(Read("VardoHatch.dat").find("\r\n90\r\n"), std::string::npos);
}

// "snap" ticks or clears "端点補正". The view is panned so that the square's left side is on the
// screen and its right side beyond the paint box's right edge: with the box ticked the left ends
// lie exactly on the side, without it a pixel inside; the ends at the paint box's edge have no
// line to go to and are the same either way. OK saves the box as the settings' fifteenth line.
TEST_F(ScriptTest, SnapTicksTheEndCorrection) {
  const auto runs = HatchWithSnapOnAndOff(
      std::string(kSquare), "size 400 300\nshow",
      "pointer 200 150\nkey Left\nmono on\nclick 300 150\nspacing 10\nangle 0\nrun\nok\n");
  ASSERT_FALSE(runs[0].empty());
  // The run with the box cleared came last.
  const std::string dat = Read("VardoHatch.dat");
  EXPECT_TRUE(dat.ends_with("\r\n0\r\n")) << dat;
  // Fitted at 2.7 pixels a unit, then panned by half the view: x runs from about -98 to 50.
  const double pixel = 1 / 2.7;
  ASSERT_EQ(runs[0].size(), runs[1].size());
  for (size_t i = 0; i < runs[0].size(); ++i) {
    const TEntLine& pixel_ends = runs[0][i];
    const TEntLine& snapped = runs[1][i];
    ASSERT_EQ(pixel_ends.y1, pixel_ends.y2) << i;
    EXPECT_EQ(snapped.y1, pixel_ends.y1) << i;
    EXPECT_EQ(snapped.y2, pixel_ends.y2) << i;
    const double left = std::min(pixel_ends.x1, pixel_ends.x2);
    EXPECT_GT(left, 0.1 * pixel) << i;
    EXPECT_LT(left, 2 * pixel) << i;
    EXPECT_NEAR(std::min(snapped.x1, snapped.x2), 0, 1e-9) << i;
    const double right = std::max(pixel_ends.x1, pixel_ends.x2);
    EXPECT_NEAR(right, 50, 2 * pixel) << i;
    EXPECT_EQ(std::max(snapped.x1, snapped.x2), right) << i;
  }
}

// A line of text across the square bounds the hatch below it with its glyphs' pixels (a hatch
// line through a gap between letters runs on to the top). Glyphs are no lines of the drawing,
// so with "snap on" the ends against them stay where the pixels put them, while the ends on the
// square's sides move onto them.
TEST_F(ScriptTest, SnapLeavesTheEndsAgainstATextWhereThePixelsPutThem) {
  // The click is at (50.3, 20), below the text.
  const auto runs = HatchWithSnapOnAndOff(
      std::string(kSquare) + "cn0 5 5 0 2\r\nch 2 50 96 0 \"ABCDEFGHIJKLMNOP\r\n",
      "size 400 300\nshow", "mono on\nclick 200 231\nspacing 10\nangle 90\nrun\nok\n");
  ASSERT_FALSE(runs[0].empty());
  const double pixel = 1 / 2.7;
  ASSERT_EQ(runs[0].size(), runs[1].size());
  int at_text = 0;
  for (size_t i = 0; i < runs[0].size(); ++i) {
    const TEntLine& pixel_ends = runs[0][i];
    const TEntLine& snapped = runs[1][i];
    ASSERT_EQ(pixel_ends.x1, pixel_ends.x2) << i;
    EXPECT_EQ(snapped.x1, pixel_ends.x1) << i;
    EXPECT_EQ(snapped.x2, pixel_ends.x2) << i;
    for (const auto& [end, moved] :
         {std::pair{pixel_ends.y1, snapped.y1}, std::pair{pixel_ends.y2, snapped.y2}}) {
      const double side = end < 50 ? 0 : 100;
      if (std::fabs(end - side) < 2 * pixel) {
        EXPECT_NEAR(moved, side, 1e-9) << i;
      } else {
        ++at_text;
        EXPECT_EQ(moved, end) << i;
      }
    }
  }
  EXPECT_GT(at_text, 5);
}

TEST_F(ScriptTest, OkWithNothingAddedShowsTheRefusal) {
  ASSERT_EQ(Run("show\nok\nprint message\ncancel\n"), 0);
  EXPECT_EQ(out_.str(), "作図していません。\n");
  EXPECT_EQ(Read("JWC_TEMP.TXT"), kSquare);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "VardoHatch.dat"));
}

TEST_F(ScriptTest, WithoutOkTheWindowClosesAndNothingIsWritten) {
  ASSERT_EQ(Run("show\nmono on\nclick 400 300\nrun\nspacing 3\n"), 0);
  EXPECT_EQ(Read("JWC_TEMP.TXT"), kSquare);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "VardoHatch.dat"));
}

TEST_F(ScriptTest, TextArgumentsKeepTheirBlanksAndMayBeEmpty) {
  ASSERT_EQ(Run("show\nspacing  2.5\nangle\ncross-spacing x y\ncross-angle -45\nprint edits\n"), 0);
  EXPECT_EQ(out_.str(), " 2.5||x y|-45\n");
}

TEST_F(ScriptTest, GesturesKeysAndWheelReachTheForm) {
  ASSERT_EQ(Run("size 400 300\nshow\n"
                "wheel down 200 150\nprint view\n"
                "key PageDown\nprint view\n"
                "pointer 500 10\nkey PageUp\nprint view\n"
                "pointer 10 10\nkey Left shift\nkey Home\nprint view\n"
                "press left+right 100 100\nmove 150 120\nrelease 200 150\nprint view\n"
                "press middle 10 10\nmove 20 20\nrelease 20 20\n"
                "esc down\nesc up\ncross on\ncross off\ncolour 3\nlinetype 20\n"
                "key Delete\nkey Escape\n"),
            0)
      << err_.str();
  std::istringstream lines(out_.str());
  std::string zoomed, back, over_column, home, window;
  std::getline(lines, zoomed);
  std::getline(lines, back);
  std::getline(lines, over_column);
  std::getline(lines, home);
  std::getline(lines, window);
  EXPECT_TRUE(zoomed.ends_with(" " + FloatStrA(2.7 * 1.5))) << zoomed;
  EXPECT_NE(zoomed, back);
  EXPECT_EQ(over_column, back);  // a key over the control column is not the form's
  EXPECT_EQ(home, FittedView(400, 300));
  EXPECT_TRUE(window.ends_with(" " + FloatStrA(2.7 * 4))) << window;
}

TEST_F(ScriptTest, SizeAfterShowResizesThePaintBox) {
  // The centre and the scale of the 400 x 300 fit stay; the window widens.
  ASSERT_EQ(Run("size 400 300\nshow\nsize 600 300\nprint view\n"), 0);
  const double s = 2.7;
  EXPECT_EQ(out_.str(), FloatStrA(50 - 300 / s) + " " + FloatStrA(50 - 150 / s) + " " +
                            FloatStrA(50 + 300 / s) + " " + FloatStrA(50 + 150 / s) + " " +
                            FloatStrA(s) + "\n");
}

TEST_F(ScriptTest, ScreenshotWritesAPng) {
  const std::filesystem::path png = dir_ / "shot.png";
  ASSERT_EQ(Run("size 64 48\nshow\nscreenshot " + png.string() + "\n"), 0) << err_.str();
  std::ifstream in(png, std::ios::binary);
  std::string head(8, '\0');
  in.read(head.data(), 8);
  EXPECT_EQ(head, "\x89PNG\r\n\x1A\n");
}

TEST_F(ScriptTest, AScreenshotThatCannotBeWrittenNamesTheLine) {
  EXPECT_EQ(Run("show\nscreenshot " + (dir_ / "no/such/dir/a.png").string() + "\n"), 2);
  EXPECT_TRUE(err_.str().starts_with("vardo-script: line 2: cannot write ")) << err_.str();
}

TEST_F(ScriptTest, CrLfLinesAndAByteOrderMarkAreRead) {
  ASSERT_EQ(Run("\xEF\xBB\xBFsize 400 300\r\nshow\r\nprint hat\r\n"), 0) << err_.str();
  EXPECT_EQ(out_.str(), "0 0\n");
}

struct BadLine {
  const char* line;
  const char* message;
};
// Test names show the line rather than the bytes of the struct.
void PrintTo(const BadLine& c, std::ostream* os) {
  *os << c.line;
}

class ScriptErrorTest : public ScriptTest, public ::testing::WithParamInterface<BadLine> {};

TEST_P(ScriptErrorTest, NamesTheLineAndStops) {
  const BadLine& c = GetParam();
  EXPECT_EQ(Run(std::string("# first\nshow\n") + c.line + "\nprint hat\n"), 2);
  EXPECT_EQ(err_.str(), std::string("vardo-script: line 3: ") + c.message + "\n");
  EXPECT_EQ(out_.str(), "");
  EXPECT_EQ(Read("JWC_TEMP.TXT"), kSquare);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScriptErrorTest,
    ::testing::Values(
        BadLine{"jump 1 2", "unknown command \"jump\""},
        BadLine{"Show", "unknown command \"Show\""}, BadLine{"show now", "bad argument to show"},
        BadLine{"size 0 10", "bad argument to size"},
        BadLine{"size 10 16385", "bad argument to size"},
        BadLine{"size 10", "bad argument to size"},
        BadLine{"press up 1 2", "bad argument to press"},
        BadLine{"press left+ 1 2", "bad argument to press"},
        BadLine{"press left 1", "bad argument to press"},
        BadLine{"click 1 x", "bad argument to click"},
        BadLine{"move 1 2 3", "bad argument to move"},
        BadLine{"release 1.5 2", "bad argument to release"},
        BadLine{"pointer 99999999999 2", "bad argument to pointer"},
        BadLine{"wheel sideways 1 2", "bad argument to wheel"},
        BadLine{"key F1", "bad argument to key"}, BadLine{"key Home ctrl", "bad argument to key"},
        BadLine{"esc maybe", "bad argument to esc"}, BadLine{"mono", "bad argument to mono"},
        BadLine{"cross yes", "bad argument to cross"}, BadLine{"snap 1", "bad argument to snap"},
        BadLine{"colour x", "bad argument to colour"},
        BadLine{"linetype", "bad argument to linetype"}, BadLine{"run now", "bad argument to run"},
        BadLine{"screenshot", "bad argument to screenshot"},
        BadLine{"print", "bad argument to print"},
        BadLine{"print nothing", "bad argument to print"}));

}  // namespace
}  // namespace vardo
