// Whole runs in the headless shell: an exchange file of our own goes in, the user marks, hatches
// and ends the run, and the rewritten JWC_TEMP.TXT is read back and checked line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "document/model.h"
#include "form_fixture.h"

namespace vardo::test {
namespace {

constexpr char16_t kDone[] = u"完了しました：ハッチを行う箇所をクリックして下さい。";
constexpr char16_t kNoCounters[] = u"線:0　点:0　円弧:0";

std::string Num(double v) {
  return FloatStrA(v);
}

// The four sides of the square [lo, hi] x [lo, hi], anticlockwise, in file units.
std::string SquareLines(double lo, double hi) {
  const std::string a = Num(lo), b = Num(hi);
  return a + " " + a + " " + b + " " + a + "\r\n" + b + " " + a + " " + b + " " + b + "\r\n" + b +
         " " + b + " " + a + " " + b + "\r\n" + a + " " + b + " " + a + " " + a + "\r\n";
}

// Layer-group scales: group 0 at s0, group 1 at s1, the rest 1.
std::string ScaleRecord(double s0, double s1) {
  std::string line = "hs " + Num(s0) + " " + Num(s1);
  for (int k = 2; k < 16; ++k)
    line += " 1";
  return line + "\r\n";
}

// A hatch piece seen across its family: its position across the lines and its two ends along
// them, in paper units.
struct Piece {
  double across = 0, from = 0, to = 0;
};

bool IsHorizontal(const TEntLine& l) {
  return std::fabs(l.y2 - l.y1) < std::fabs(l.x2 - l.x1);
}

// A line of an axis-parallel family in paper units (file units divided by factor).
Piece PieceOf(const TEntLine& l, bool horizontal, double factor) {
  if (horizontal) {
    EXPECT_NEAR(l.y1, l.y2, 1e-9 * factor);
    return {l.y1 / factor, std::min(l.x1, l.x2) / factor, std::max(l.x1, l.x2) / factor};
  }
  EXPECT_NEAR(l.x1, l.x2, 1e-9 * factor);
  return {l.x1 / factor, std::min(l.y1, l.y2) / factor, std::max(l.y1, l.y2) / factor};
}

class EndToEndTest : public FormTest {
 protected:
  // Monochrome on, then a click at the pixel nearest the drawing point (x, y) in paper units.
  void MarkAt(double x, double y) {
    two_pixels_ = 2 / view().ViewScale;
    window().Tick(Control::CheckBox1, true);
    const int px = DrawToPixelX(view(), x), py = DrawToPixelY(view(), y);
    window().Press(kMouseLeft, px, py);
    window().Release(px, py);
  }

  // The pass-through point of the last click, in paper units.
  double ClickX() { return PixelToDrawX(view(), form().HatX); }
  double ClickY() { return PixelToDrawY(view(), form().HatY); }

  void Hatch(std::u16string_view spacing, std::u16string_view angle) {
    window().Type(Control::Edit1, spacing);
    window().Type(Control::ComboBox4, angle);
    window().Click(Control::Button3);
  }

  // The exchange file as written, read back by the document reader.
  std::unique_ptr<TJGdata> ReadBack() {
    auto doc = std::make_unique<TJGdata>();
    doc->ReadTempBytes(ReadFile("JWC_TEMP.TXT"));
    return doc;
  }

  // Checks a family of lines q apart through c (across them) inside the square [lo, hi]: each
  // line is c + q k for a k no other line has, runs from one side to the other (exactly when
  // its ends were moved onto the sides, else from within two pixels inside one side to within
  // two pixels inside the other), and every k whose line crosses the square is there.
  void ExpectFamilyFillsSquare(const std::vector<Piece>& pieces, double c, double q, double lo,
                               double hi, bool snapped) {
    const double tol = two_pixels_;
    std::map<long, int> seen;
    for (const Piece& p : pieces) {
      const double k = std::round((p.across - c) / q);
      EXPECT_NEAR(p.across, c + q * k, 1e-9) << "off the family through the click";
      ++seen[std::lround(k)];
      EXPECT_GT(p.across, lo);
      EXPECT_LT(p.across, hi);
      if (snapped) {
        EXPECT_NEAR(p.from, lo, 1e-9) << "does not start on the side";
        EXPECT_NEAR(p.to, hi, 1e-9) << "does not end on the side";
        continue;
      }
      EXPECT_GT(p.from, lo) << "starts outside the square";
      EXPECT_LE(p.from, lo + tol) << "starts short of the outline";
      EXPECT_LT(p.to, hi) << "ends outside the square";
      EXPECT_GE(p.to, hi - tol) << "ends short of the outline";
    }
    std::map<long, int> expected;
    for (long k = -1000; k <= 1000; ++k) {
      const double across = c + q * static_cast<double>(k);
      if (across <= lo || across >= hi) continue;
      // The click is chosen so that no line grazes a side of the square.
      ASSERT_GT(std::min(across - lo, hi - across), 2 * tol) << k;
      expected[k] = 1;
    }
    EXPECT_EQ(seen, expected);
  }

  // The square hatched at 10 and 0 with a cross family at 5 and 90.
  void CrossHatchSquare(bool snapped);
  // Two concentric circles hatched at 10 and 0 from a click in the ring.
  void HatchAnnulus(bool snapped);

  double two_pixels_ = 0;  // two pixels of the screen the marks were made on, in paper units
};

// ---- One square hatched at spacing 10 and angle 0, in the units of each kind of drawing ------

struct SquareCase {
  const char* name;
  std::string drawing;   // the host's exchange file
  double square_lo = 0;  // the square's sides in file units
  double square_hi = 0;
  int hatch_group = 0;  // the layer group the hatch is written in
  double factor = 1;    // file units per paper unit of the hatch
};

void PrintTo(const SquareCase& c, std::ostream* os) {
  *os << c.name;
}

class SquareHatchTest : public EndToEndTest, public ::testing::WithParamInterface<SquareCase> {
 protected:
  void HatchSquare(const SquareCase& c, bool snapped);
};

// With the end correction off the ends lie on the pixels as they always have; with it on, on
// the square's sides.
TEST_P(SquareHatchTest, HorizontalLinesEveryTenUnitsFromOutlineToOutline) {
  for (const bool snapped : {false, true}) {
    SCOPED_TRACE(snapped ? "corrected" : "pixel ends");
    HatchSquare(GetParam(), snapped);
  }
}

void SquareHatchTest::HatchSquare(const SquareCase& c, bool snapped) {
  WriteDrawing(c.drawing);
  HeadlessWindow& w = Open();
  w.Tick(Control::CheckBox3, snapped);
  // Lines 10 apart through a click near y = 45 stay clear of the sides at 0 and 100.
  MarkAt(50, 45);
  const double y0 = ClickY();
  Hatch(u"10", u"0");
  EXPECT_EQ(w.GetText(Control::LabelM), kDone);
  const int added = form().AddLineN;
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:" + IntStr(added) + u"　点:0　円弧:0");
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());

  const std::string bytes = ReadFile("JWC_TEMP.TXT");
  EXPECT_EQ(bytes.substr(0, 4), "hd\r\n") << "no byte-order mark for an ANSI drawing";
  const std::unique_ptr<TJGdata> doc = ReadBack();
  ASSERT_EQ(doc->EntN(), 4 + added);
  ASSERT_EQ(doc->EntLineN(), 4 + added);
  // The host's square comes back first, unchanged.
  const double lo = c.square_lo, hi = c.square_hi;
  const double sides[4][4] = {
      {lo, lo, hi, lo}, {hi, lo, hi, hi}, {hi, hi, lo, hi}, {lo, hi, lo, lo}};
  for (int i = 0; i < 4; ++i) {
    const TEntLine& l = doc->EntLine[i];
    EXPECT_EQ((std::vector<double>{l.x1, l.y1, l.x2, l.y2}),
              (std::vector<double>(sides[i], sides[i] + 4)))
        << i;
    EXPECT_EQ(l.att.Col, 2);
    EXPECT_EQ(l.att.Attr, 0);
  }
  std::vector<Piece> pieces;
  for (int i = 4; i < doc->EntLineN(); ++i) {
    const TEntLine& l = doc->EntLine[i];
    EXPECT_EQ(l.att.LGrp, c.hatch_group);
    EXPECT_EQ(l.att.Attr, 1);
    ASSERT_TRUE(IsHorizontal(l)) << i;
    pieces.push_back(PieceOf(l, true, c.factor));
  }
  ExpectFamilyFillsSquare(pieces, y0, 10, 0, 100, snapped);
}

INSTANTIATE_TEST_SUITE_P(
    Drawings, SquareHatchTest,
    ::testing::Values(
        SquareCase{"paper_units", ScaleRecord(1, 1) + "lg0\r\nly0\r\nlc2\r\n" + SquareLines(0, 100),
                   0, 100, 0, 1},
        // At 1:50 the file holds 50 times the paper coordinates, the hatch included.
        SquareCase{"scale_50", ScaleRecord(50, 1) + "lg0\r\nly0\r\nlc2\r\n" + SquareLines(0, 5000),
                   0, 5000, 0, 50},
        // "bz": the file is in paper units whatever the scale.
        SquareCase{"scale_50_bz",
                   ScaleRecord(50, 1) + "bz\r\nlg0\r\nly0\r\nlc2\r\n" + SquareLines(0, 100), 0, 100,
                   0, 1},
        // The host's current group (the first "lg") is at 1:50 while the square is at 1:1: the
        // hatch goes to the current group in its units.
        SquareCase{"current_group_at_50",
                   ScaleRecord(1, 50) + "lg1\r\nly0\r\nlg0\r\nly0\r\nlc2\r\n" + SquareLines(0, 100),
                   0, 100, 1, 50}),
    [](const ::testing::TestParamInfo<SquareCase>& info) { return std::string(info.param.name); });

// ---- Other regions and families ---------------------------------------------------------------

TEST_F(EndToEndTest, CrossHatchAtNinetyAddsAVerticalFamily) {
  for (const bool snapped : {false, true}) {
    SCOPED_TRACE(snapped ? "corrected" : "pixel ends");
    CrossHatchSquare(snapped);
  }
}

void EndToEndTest::CrossHatchSquare(bool snapped) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open();
  w.Tick(Control::CheckBox3, snapped);
  // Clear of the sides for both spacings: 10 across y, 5 across x.
  MarkAt(52.5, 45);
  const double x0 = ClickX(), y0 = ClickY();
  w.Tick(Control::CheckBox2, true);
  w.Type(Control::Edit2, u"5");
  w.Type(Control::ComboBox5, u"90");
  Hatch(u"10", u"0");
  const int added = form().AddLineN;
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());

  const std::unique_ptr<TJGdata> doc = ReadBack();
  ASSERT_EQ(doc->EntLineN(), 4 + added);
  std::vector<Piece> horizontal, vertical;
  for (int i = 4; i < doc->EntLineN(); ++i) {
    const TEntLine& l = doc->EntLine[i];
    const bool h = IsHorizontal(l);
    // The main family is laid first, then the cross family.
    if (h) {
      EXPECT_TRUE(vertical.empty()) << "horizontal line after the cross family: " << i;
    }
    (h ? horizontal : vertical).push_back(PieceOf(l, h, 1));
  }
  ASSERT_FALSE(horizontal.empty());
  ASSERT_FALSE(vertical.empty());
  ExpectFamilyFillsSquare(horizontal, y0, 10, 0, 100, snapped);
  ExpectFamilyFillsSquare(vertical, x0, 5, 0, 100, snapped);
}

// Each click sets the making of the outlines going; removing the hatch and zooming right after
// a click stop it before the drawing and the view change, and the run after them ends its
// lines on the square as a run in a fresh window does.
TEST_F(EndToEndTest, OutlinesMadeWhileTheUserClicksFollowWhatChangesMeanwhile) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open();
  MarkAt(50, 45);
  Hatch(u"10", u"0");
  ASSERT_GT(form().AddLineN, 0);
  MarkAt(50, 45);
  EXPECT_TRUE(w.Key(KeyCode::Delete, false));
  EXPECT_EQ(form().AddLineN, 0);
  MarkAt(50, 45);
  w.Wheel(true, DrawToPixelX(view(), 50), DrawToPixelY(view(), 50));
  MarkAt(52.5, 45);
  const double y0 = ClickY();
  Hatch(u"10", u"0");
  EXPECT_EQ(w.GetText(Control::LabelM), kDone);
  const int added = form().AddLineN;
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());

  const std::unique_ptr<TJGdata> doc = ReadBack();
  ASSERT_EQ(doc->EntLineN(), 4 + added);
  std::vector<Piece> pieces;
  for (int i = 4; i < doc->EntLineN(); ++i)
    pieces.push_back(PieceOf(doc->EntLine[i], true, 1));
  ExpectFamilyFillsSquare(pieces, y0, 10, 0, 100, true);
}

// Two concentric circles: a click in the ring hatches the ring and leaves the hole empty; the
// ends lie on the circles once corrected.
TEST_F(EndToEndTest, AnAnnulusIsHatchedInTheRingOnly) {
  for (const bool snapped : {false, true}) {
    SCOPED_TRACE(snapped ? "corrected" : "pixel ends");
    HatchAnnulus(snapped);
  }
}

void EndToEndTest::HatchAnnulus(bool snapped) {
  constexpr double kCx = 50, kCy = 50, kOuter = 50, kInner = 20;
  WriteDrawing(ScaleRecord(1, 1) + "lg0\r\nly0\r\nlc2\r\nci 50 50 50\r\nci 50 50 20\r\n");
  HeadlessWindow& w = Open();
  w.Tick(Control::CheckBox3, snapped);
  // Rows 10 apart through y near 55 pass the centre 5, 15, 25, ... units off: clear of both
  // circles' tops and bottoms.
  MarkAt(15, 55);
  const double y0 = ClickY();
  Hatch(u"10", u"0");
  const int added = form().AddLineN;
  // The ring's outlines lie a pixel off the drawn circles and are reduced to straight runs;
  // those stay within two pixels of the circles too.
  const double tol = two_pixels_;
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());

  const std::unique_ptr<TJGdata> doc = ReadBack();
  ASSERT_EQ(doc->EntLineN(), added);
  std::map<long, int> per_row;
  for (const TEntLine& l : doc->EntLine) {
    ASSERT_TRUE(IsHorizontal(l));
    const Piece p = PieceOf(l, true, 1);
    const double k = std::round((p.across - y0) / 10);
    EXPECT_NEAR(p.across, y0 + 10 * k, 1e-9);
    ++per_row[std::lround(k)];
    const double dy = p.across - kCy;
    // Each end lies on one of the two circles, inside the ring.
    for (const double x : {p.from, p.to}) {
      const double r = std::hypot(x - kCx, dy);
      if (snapped) {
        EXPECT_TRUE(std::fabs(r - kOuter) < 1e-9 || std::fabs(r - kInner) < 1e-9)
            << "end at radius " << r;
        continue;
      }
      EXPECT_TRUE((r > kOuter - tol && r < kOuter) || (r > kInner && r < kInner + tol))
          << "end at radius " << r;
    }
    // The piece's nearest point to the centre is outside the hole.
    const double nearest_x = std::clamp(kCx, p.from, p.to);
    EXPECT_GT(std::hypot(nearest_x - kCx, dy), kInner - (snapped ? 1e-9 : 0))
        << "through the hole at row " << dy;
  }
  // Rows that cross the hole give two pieces, the others one.
  std::map<long, int> expected;
  for (long k = -20; k <= 20; ++k) {
    const double dy = std::fabs(y0 + 10 * static_cast<double>(k) - kCy);
    if (dy < kOuter) expected[k] = dy < kInner ? 2 : 1;
  }
  EXPECT_EQ(per_row, expected);
}

// ---- How a run ends
// ------------------------------------------------------------------------------

TEST_F(EndToEndTest, OkIsRefusedUntilAHatchIsAddedAndThenWritesIt) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open();
  w.Click(Control::Button1);
  EXPECT_FALSE(w.Closed());
  EXPECT_EQ(w.Messages(), std::vector<std::u16string>{u"作図していません。"});
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), kSquare);
  EXPECT_FALSE(Exists("VardoHatch.dat"));

  MarkAt(50, 45);
  Hatch(u"10", u"0");
  const int added = form().AddLineN;
  ASSERT_GT(added, 0);
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());
  EXPECT_EQ(w.Messages().size(), 1u);
  EXPECT_EQ(ReadBack()->EntLineN(), 4 + added);
  EXPECT_EQ(SettingsLines().size(), 15u);
}

// ---- OK when the exchange file cannot be written ------------------------------------------

// What stands in the way of the write; it sits where the writer makes its temporary file.
struct WriteObstacle {
  const char* name;
  bool disk_full;  // a link to a device that is always full, else a folder with a file in it
  std::u16string_view reason;  // the system's reason as the message gives it (POSIX systems)
};

void PrintTo(const WriteObstacle& o, std::ostream* os) {
  *os << o.name;
}

class FailedWriteTest : public EndToEndTest, public ::testing::WithParamInterface<WriteObstacle> {
 protected:
  static constexpr std::string_view kTemporary = "JWC_TEMP.TXT.vardo-tmp";

  // The names in the program folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// The run as a user lives it: OK fails, the user is told why and keeps the hatch; once the
// obstacle is gone OK writes everything. The test runs as any user, root included, so the
// obstacles are ones that no permission overrides.
TEST_P(FailedWriteTest, TellsWhyKeepsEverythingAndLetsOkBePressedAgain) {
  const WriteObstacle& o = GetParam();
  WriteDrawing(kSquare);
  if (o.disk_full) {
#ifdef _WIN32
    GTEST_SKIP() << "no always-full device here";
#else
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::filesystem::create_symlink("/dev/full", Path(kTemporary));
#endif
  } else {
    std::filesystem::create_directory(Path(kTemporary));
    WriteFile(std::string(kTemporary) + "/keep", "x");
  }
  HeadlessWindow& w = Open();
  MarkAt(50, 45);
  Hatch(u"10", u"0");
  const int added = form().AddLineN;
  ASSERT_GT(added, 0);

  w.Click(Control::Button1);
  EXPECT_FALSE(w.Closed());
  EXPECT_FALSE(form().OKflag);
  ASSERT_EQ(w.Messages().size(), 1u);
  const std::u16string& message = w.Messages()[0];
  const std::u16string_view head = u"JWC_TEMP.TXT を書き込めませんでした。\n理由：";
  const std::u16string_view tail =
      u"\n作図したハッチはそのままです。原因を取り除いてからもう一度ＯＫを押すか、"
      u"キャンセルで終了して下さい。";
  EXPECT_TRUE(message.starts_with(head) && message.ends_with(tail))
      << FloatStrA(static_cast<double>(message.size()));
#ifndef _WIN32
  EXPECT_EQ(message, std::u16string(head) + std::u16string(o.reason) + std::u16string(tail));
#endif
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), kSquare);
  EXPECT_FALSE(Exists("VardoHatch.dat"));
  const std::vector<std::string> left =
      o.disk_full ? std::vector<std::string>{"JWC_TEMP.TXT"}
                  : std::vector<std::string>{"JWC_TEMP.TXT", std::string(kTemporary)};
  EXPECT_EQ(Names(), left) << "a temporary file was left behind";
  EXPECT_EQ(w.GetText(Control::LabelM), kDone);
  EXPECT_EQ(form().AddLineN, added);

  std::filesystem::remove_all(Path(kTemporary));
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());
  EXPECT_EQ(w.Messages().size(), 1u);
  EXPECT_EQ(ReadBack()->EntLineN(), 4 + added);
  EXPECT_EQ(SettingsLines().size(), 15u);
  EXPECT_EQ(Names(), (std::vector<std::string>{"JWC_TEMP.TXT", "VardoHatch.dat"}));
}

INSTANTIATE_TEST_SUITE_P(Obstacles, FailedWriteTest,
                         ::testing::Values(WriteObstacle{"disk_full", true,
                                                         u"ディスクの空き領域が不足しています。"},
                                           WriteObstacle{"folder_in_the_way", false,
                                                         u"同じ名前のフォルダーがあります。"}),
                         [](const ::testing::TestParamInfo<WriteObstacle>& info) {
                           return std::string(info.param.name);
                         });

struct UnwrittenEnding {
  const char* name;
  bool delete_then_ok;  // Delete, then OK (refused), then Cancel; otherwise Cancel at once
};

void PrintTo(const UnwrittenEnding& e, std::ostream* os) {
  *os << e.name;
}

class UnwrittenEndingTest : public EndToEndTest,
                            public ::testing::WithParamInterface<UnwrittenEnding> {};

// Two runs with changed settings, then an ending that must leave both files as they were.
TEST_P(UnwrittenEndingTest, LeavesBothFilesByteForByte) {
  WriteDrawing(kSquare);
  WriteSettings({"10", "20", "500", "400", "0", "2.5", "3", "4", "-1", "0", "1", "0", "1", "0"});
  const std::string drawing = ReadFile("JWC_TEMP.TXT");
  const std::string settings = ReadFile("VardoHatch.dat");
  HeadlessWindow& w = Open();
  w.Select(Control::ComboBox1, 5);
  w.Tick(Control::CheckBox2, true);
  for (int run = 0; run < 2; ++run) {
    MarkAt(50, 45);
    Hatch(u"10", u"30");
    ASSERT_EQ(w.GetText(Control::LabelM), kDone);
  }
  ASSERT_GT(form().AddLineN, 0);
  if (GetParam().delete_then_ok) {
    w.Key(KeyCode::Delete, false);
    EXPECT_EQ(w.GetText(Control::LabelN), kNoCounters);
    w.Click(Control::Button1);
    EXPECT_FALSE(w.Closed());
    EXPECT_EQ(w.Messages(), std::vector<std::u16string>{u"作図していません。"});
  }
  w.Click(Control::Button2);
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), drawing);
  EXPECT_EQ(ReadFile("VardoHatch.dat"), settings);
}

INSTANTIATE_TEST_SUITE_P(Endings, UnwrittenEndingTest,
                         ::testing::Values(UnwrittenEnding{"delete_ok_cancel", true},
                                           UnwrittenEnding{"cancel", false}),
                         [](const ::testing::TestParamInfo<UnwrittenEnding>& info) {
                           return std::string(info.param.name);
                         });

// ---- Texts bound the hatch ---------------------------------------------------------------------

// A text inside the region is drawn glyph by glyph in black, so the fill leaves its glyphs out
// and the hatch lines stop at them: every line through the text is cut into pieces, and no
// piece crosses a stroke of a glyph. The traced outlines may be two pixels off, so a piece may
// skim along a glyph's edge or end two pixels into it, but never run through a stroke that
// stands five pixels tall across its path.
TEST_F(EndToEndTest, TextGlyphsInsideARegionStayUnhatched) {
  WriteDrawing("\xEF\xBB\xBF" + ScaleRecord(1, 1) + "lg0\r\nly0\r\nlc2\r\n" + SquareLines(0, 100) +
               "cn0 12 12 0 2\r\nch 20 44 60 0 \"図面HA\r\n");
  HeadlessWindow& w = Open();
  MarkAt(50, 20);
  const Surface marked = w.Screen();
  auto glyph = [&](int x, int y) { return marked.GetPixel(x, y) == 0x000000; };
  // The text's box: x 20..56 (six half cells of 6 mm), y 44..56.
  const int left = DrawToPixelX(view(), 20), right = DrawToPixelX(view(), 56);
  const int top = DrawToPixelY(view(), 56), bottom = DrawToPixelY(view(), 44);
  int glyph_pixels = 0, first_row = bottom, last_row = top;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (!glyph(x, y)) continue;
      ++glyph_pixels;
      first_row = std::min(first_row, y);
      last_row = std::max(last_row, y);
    }
  }
  EXPECT_GT(glyph_pixels, 200);
  EXPECT_GT(last_row - first_row, (bottom - top) / 2) << "glyphs, not a three-pixel baseline";

  Hatch(u"1", u"0");
  const TJGdata& doc = *form().JG;
  const int added = form().AddLineN;
  ASSERT_GT(added, 0);
  std::map<double, int> pieces_per_row;
  int strokes_passed = 0;
  for (size_t i = doc.EntLine.size() - static_cast<size_t>(added); i < doc.EntLine.size(); ++i) {
    const Piece p = PieceOf(doc.EntLine[i], true, 1);
    ++pieces_per_row[p.across];
    const int y = DrawToPixelY(view(), p.across);
    const int from = DrawToPixelX(view(), p.from) + 2, to = DrawToPixelX(view(), p.to) - 2;
    for (int x = from; x <= to; ++x) {
      bool stroke = true;
      for (int dy = -2; dy <= 2; ++dy)
        stroke = stroke && glyph(x, y + dy);
      EXPECT_FALSE(stroke) << "the piece at y = " << p.across << " crosses a glyph at pixel " << x;
    }
    for (int x = left; x <= right; ++x)
      strokes_passed += glyph(x, y) && glyph(x, y - 2) && glyph(x, y + 2);
  }
  int cut_rows = 0;
  for (const auto& [y, n] : pieces_per_row)
    cut_rows += y > 46 && y < 54 && n >= 3;
  EXPECT_GE(cut_rows, 5) << "lines through the text are cut at its glyphs";
  EXPECT_GT(strokes_passed, 20) << "the rows checked do meet strokes of the glyphs";
}

// ---- Encoding
// ------------------------------------------------------------------------------------

TEST_F(EndToEndTest, AUtf8DrawingStaysUtf8WithItsJapaneseText) {
  const std::string bom = "\xEF\xBB\xBF";
  WriteDrawing(bom + ScaleRecord(1, 1) + "lg0\r\nly0\r\nlc2\r\n" + SquareLines(0, 100) +
               "cn\"$ＭＳ 明朝\r\ncn0 3 3 0 2\r\nch 0 -10 30 0 \"塗りハッチの試験 ①\r\n");
  HeadlessWindow& w = Open();
  MarkAt(50, 45);
  Hatch(u"10", u"0");
  const int added = form().AddLineN;
  ASSERT_GT(added, 0);
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());

  const std::string bytes = ReadFile("JWC_TEMP.TXT");
  EXPECT_EQ(bytes.substr(0, 7), bom + "hd\r\n");
  EXPECT_NE(bytes.find("\r\ncn\"$ＭＳ 明朝\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nch 0 -10 30 0 \"塗りハッチの試験 ①\r\n"), std::string::npos);
  const std::unique_ptr<TJGdata> doc = ReadBack();
  EXPECT_TRUE(doc->MojiCode);
  ASSERT_EQ(doc->EntTextN(), 1);
  EXPECT_EQ(doc->EntText[0].st, u"塗りハッチの試験 ①");
  EXPECT_EQ(doc->EntText[0].fo, u"ＭＳ 明朝");
  EXPECT_EQ(doc->EntLineN(), 4 + added);
}

}  // namespace
}  // namespace vardo::test
