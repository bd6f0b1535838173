// The hatch as the form drives it: monochrome, marking clicks, runs with their status texts,
// the abort path, the units of the added lines, and removing them again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "form_fixture.h"

namespace vardo::test {
namespace {

constexpr uint32_t kBlue = 0xFF0000;
constexpr char16_t kMonoHint[] =
    u"□モノクロ化　にチェックを入れてから　ハッチを行う箇所をクリックして下さい。";
constexpr char16_t kDone[] = u"完了しました：ハッチを行う箇所をクリックして下さい。";
constexpr char16_t kAborted[] = u"中断しました：ハッチを行う箇所をクリックして下さい。";
constexpr char16_t kTooDense[] = u"ハッチ線が多すぎるため中断しました：間隔を広げて下さい。";

class HatchOpsTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    WriteDrawing(kSquare);
  }

  // Lines q apart through c that cross the square's inside (its outline lies a pixel within the
  // drawn lines, 1 / 2.7 units at the fitted scale).
  static int LinesAcross(double c, double q) {
    int n = 0;
    for (int k = -200; k <= 200; ++k)
      n += c + k * q > 0.5 && c + k * q < 99.5;
    return n;
  }

  // The lines the runs added, after the square's four.
  std::vector<TEntLine> Added() {
    const std::vector<TEntLine>& all = form().JG->EntLine;
    return std::vector<TEntLine>(all.begin() + 4, all.end());
  }
};

TEST_F(HatchOpsTest, AClickWithoutMonochromeOnlyAsksForIt) {
  HeadlessWindow& w = Open();
  w.Press(kMouseLeft, 200, 150);
  w.Release(200, 150);
  EXPECT_EQ(w.GetText(Control::LabelM), kMonoHint);
  EXPECT_EQ(form().HatX, 0);
  EXPECT_EQ(form().HatY, 0);
  EXPECT_EQ(CountColour(kBlue), 0);
  EXPECT_TRUE(w.Enabled(Control::Button1));
  EXPECT_TRUE(w.Enabled(Control::Button2));
}

TEST_F(HatchOpsTest, AClickNearAnEntitysEndLeavesAPickMark) {
  HeadlessWindow& w = Open();
  w.Select(Control::ComboBox1, 5);  // the mark takes the hatch colour, unlike the square
  const uint32_t mark = static_cast<uint32_t>(form().JG->aCol);
  ASSERT_EQ(CountColour(mark), 0);
  // Lines are picked at their end points: 3 pixels off the square's corner.
  const int x = DrawToPixelX(view(), 0) + 3, y = DrawToPixelY(view(), 0) - 3;
  w.Press(kMouseLeft, x, y);
  w.Release(x, y);
  EXPECT_GT(CountColour(mark), 0);
}

TEST_F(HatchOpsTest, MonochromeDrawsTheDrawingBlackAndAClickFillsTheRegionBlue) {
  HeadlessWindow& w = Open();
  w.Tick(Control::CheckBox1, true);
  EXPECT_TRUE(form().GraAttr.PrintMode);
  EXPECT_EQ(w.Screen().GetPixel(DrawToPixelX(view(), 50), DrawToPixelY(view(), 0)), 0u);
  w.Press(kMouseLeft, 190, 140);
  w.Release(200, 150);
  EXPECT_EQ(form().HatX, 200);
  EXPECT_EQ(form().HatY, 150);
  EXPECT_EQ(w.Screen().GetPixel(200, 150), kBlue);
  // Outside the square nothing is filled.
  EXPECT_NE(w.Screen().GetPixel(2, 150), kBlue);
  w.Tick(Control::CheckBox1, false);
  EXPECT_FALSE(form().GraAttr.PrintMode);
  EXPECT_EQ(CountColour(kBlue), 0);
}

TEST_F(HatchOpsTest, ARunHatchesTheMarkedRegionThroughTheLastClick) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"10");
  const double y0 = PixelToDrawY(view(), form().HatY);
  w.Click(Control::Button3);
  EXPECT_EQ(w.StatusHistory(), (std::vector<std::u16string>{
                                   u"", u"ハッチを行う箇所をクリックして下さい。",
                                   u"ハッチを行う箇所をスキャン中です（[Esc]:中断）",
                                   u"エッジをスキャン中です（[Esc]:中断）", u"エッジ処理中です",
                                   u"ハッチ処理中です（[Esc]:中断）", kDone}));
  const std::vector<TEntLine> lines = Added();
  const int expected = LinesAcross(y0, 10);
  ASSERT_EQ(static_cast<int>(lines.size()), expected);
  EXPECT_EQ(form().AddLineN, expected);
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:" + IntStr(expected) + u"　点:0　円弧:0");
  bool through_click = false;
  for (const TEntLine& l : lines) {
    EXPECT_DOUBLE_EQ(l.y1, l.y2);
    EXPECT_GT(l.y1, 0);
    EXPECT_LT(l.y1, 100);
    EXPECT_NEAR(std::fabs(l.x2 - l.x1), 100, 1.0);
    EXPECT_NEAR(std::remainder(l.y1 - y0, 10.0), 0, 1e-9);
    through_click |= std::fabs(l.y1 - y0) < 1e-9;
  }
  EXPECT_TRUE(through_click);
  EXPECT_TRUE(w.Enabled(Control::Button3));
  // The final redraw shows the lines and no marks.
  EXPECT_EQ(CountColour(kBlue), 0);
}

TEST_F(HatchOpsTest, CrossHatchAddsASecondFamily) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"10");
  w.Tick(Control::CheckBox2, true);
  w.Type(Control::Edit2, u"5");
  w.Type(Control::ComboBox5, u"90");
  const double x0 = PixelToDrawX(view(), form().HatX), y0 = PixelToDrawY(view(), form().HatY);
  w.Click(Control::Button3);
  int vertical = 0;
  for (const TEntLine& l : Added())
    vertical += std::fabs(l.x1 - l.x2) < 1e-9;
  EXPECT_EQ(vertical, LinesAcross(x0, 5));
  EXPECT_EQ(form().AddLineN, LinesAcross(x0, 5) + LinesAcross(y0, 10));
}

TEST_F(HatchOpsTest, AZeroSpacingIsReplacedByOne) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"0");
  const double y0 = PixelToDrawY(view(), form().HatY);
  w.Click(Control::Button3);
  EXPECT_EQ(w.GetText(Control::Edit1), u"1.0");
  EXPECT_EQ(form().AddLineN, LinesAcross(y0, 1));
}

TEST_F(HatchOpsTest, EscHeldAbortsTheRunAndKeepsTheCounters) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.SetEscapeDown(true);
  w.Click(Control::Button3);
  EXPECT_EQ(w.GetText(Control::LabelM), kAborted);
  EXPECT_GE(w.Beeps(), 1);
  EXPECT_TRUE(w.Enabled(Control::Button3));
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:0　点:0　円弧:0");
  EXPECT_EQ(form().AddLineN, 0);
}

// A spacing far finer than the square can hold ends the run before any line, with the reason.
TEST_F(HatchOpsTest, ASpacingTooFineForTheRegionIsRefusedWithoutLines) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"0.00001");
  w.Click(Control::Button3);
  EXPECT_EQ(w.GetText(Control::LabelM), kTooDense);
  EXPECT_EQ(w.Beeps(), 1);
  EXPECT_EQ(form().AddLineN, 0);
  EXPECT_EQ(form().JG->EntLineN(), 4);
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:0　点:0　円弧:0");
  EXPECT_TRUE(w.Enabled(Control::Button3));
}

// The lines of the main family stay when the cross family is refused; the counters and the
// picture show them.
TEST_F(HatchOpsTest, ARefusedCrossFamilyLeavesTheMainFamilyCounted) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"10");
  w.Tick(Control::CheckBox2, true);
  w.Type(Control::Edit2, u"0.00001");
  const double y0 = PixelToDrawY(view(), form().HatY);
  w.Click(Control::Button3);
  const int main = LinesAcross(y0, 10);
  EXPECT_EQ(w.GetText(Control::LabelM), kTooDense);
  EXPECT_EQ(w.Beeps(), 1);
  EXPECT_EQ(form().AddLineN, main);
  EXPECT_EQ(form().JG->EntLineN(), 4 + main);
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:" + IntStr(main) + u"　点:0　円弧:0");
  EXPECT_TRUE(w.Enabled(Control::Button3));
  // Redrawn: the marks are gone and the lines are on the screen.
  EXPECT_EQ(CountColour(kBlue), 0);
  const int row = DrawToPixelY(view(), Added()[0].y1);
  EXPECT_EQ(w.Screen().GetPixel(DrawToPixelX(view(), 50), row), 0u);
  // Delete removes them like the lines of any run.
  w.Key(KeyCode::Delete, false);
  EXPECT_EQ(form().JG->EntLineN(), 4);
}

// A fine spacing over a small region lays every line across it, however many the whole view
// would hold: 0.0015 over the square's 99.3 units.
TEST_F(HatchOpsTest, AFineSpacingLaysEveryLineAcrossTheRegion) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"0.0015");
  const double y0 = PixelToDrawY(view(), form().HatY);
  w.Click(Control::Button3);
  EXPECT_EQ(w.GetText(Control::LabelM), kDone);
  // The outline the run traced: its lowest and highest rows in drawing units.
  double bottom = 1e300, top = -1e300;
  for (const TPolyLineField& c : form().PLN) {
    for (const TPolyField& p : c.p) {
      bottom = std::min(bottom, PixelToDrawY(view(), p.y));
      top = std::max(top, PixelToDrawY(view(), p.y));
    }
  }
  std::vector<double> ys;
  for (const TEntLine& l : Added())
    ys.push_back(l.y1);
  std::sort(ys.begin(), ys.end());
  ASSERT_GT(ys.size(), 66000u);
  EXPECT_EQ(form().AddLineN, static_cast<int>(ys.size()));
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:" + IntStr(form().AddLineN) + u"　点:0　円弧:0");
  // From the outline's bottom to its top, one line every spacing, through the click.
  EXPECT_GT(ys.front(), bottom);
  EXPECT_LT(ys.front() - 0.0015, bottom);
  EXPECT_LT(ys.back(), top);
  EXPECT_GT(ys.back() + 0.0015, top);
  for (size_t i = 1; i < ys.size(); ++i)
    ASSERT_NEAR(ys[i] - ys[i - 1], 0.0015, 1e-9) << i;
  EXPECT_NEAR(std::remainder(ys.front() - y0, 0.0015), 0, 1e-9);
}

TEST_F(HatchOpsTest, AViewChangeAfterMarkingLeavesNothingToHatch) {
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Key(KeyCode::PageUp, false);
  w.Click(Control::Button3);
  EXPECT_EQ(form().AddLineN, 0);
  EXPECT_EQ(w.GetText(Control::LabelM), kDone);
}

TEST_F(HatchOpsTest, DeleteAndEscRemoveEveryRunsLines) {
  for (KeyCode key : {KeyCode::Delete, KeyCode::Escape}) {
    HeadlessWindow& w = Open();
    for (int run = 0; run < 2; ++run) {
      MarkSquare();
      w.Click(Control::Button3);
    }
    ASSERT_GT(form().AddLineN, 0);
    EXPECT_TRUE(w.Key(key, false));
    EXPECT_EQ(form().AddLineN, 0);
    EXPECT_EQ(form().JG->EntN(), 4);
    EXPECT_EQ(form().JG->EntLineN(), 4);
    EXPECT_EQ(w.GetText(Control::LabelN), u"線:0　点:0　円弧:0");
  }
}

TEST_F(HatchOpsTest, DeleteWithNothingAddedKeepsTheMarks) {
  HeadlessWindow& w = Open();
  MarkSquare();
  const int blue = CountColour(kBlue);
  ASSERT_GT(blue, 0);
  w.SetText(Control::LabelN, u"");
  EXPECT_TRUE(w.Key(KeyCode::Delete, false));
  EXPECT_EQ(CountColour(kBlue), blue);
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:0　点:0　円弧:0");
}

TEST_F(HatchOpsTest, ListChangesApplyToTheLinesAddedAfterThem) {
  HeadlessWindow& w = Open();
  w.Select(Control::ComboBox1, 5);
  w.Select(Control::ComboBox2, 19);
  MarkSquare();
  w.Click(Control::Button3);
  ASSERT_FALSE(Added().empty());
  EXPECT_EQ(Added()[0].att.Col, 5);
  EXPECT_EQ(Added()[0].att.Ltp, 31);
  EXPECT_EQ(form().col, 5);
  EXPECT_EQ(form().ltp, 19);
}

// The engine works in paper units; a drawing at 1:100 stores its hatch in file units.
TEST_F(HatchOpsTest, AddedLinesAreInTheDrawingsFileUnits) {
  WriteDrawing(
      "hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc2\r\n"
      "0 0 10000 0\r\n10000 0 10000 10000\r\n10000 10000 0 10000\r\n0 10000 0 0\r\n");
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"10");
  const double y0 = PixelToDrawY(view(), form().HatY);
  w.Click(Control::Button3);
  ASSERT_EQ(static_cast<int>(Added().size()), LinesAcross(y0, 10));
  for (const TEntLine& l : Added()) {
    EXPECT_NEAR(std::fabs(l.x2 - l.x1), 10000, 100);
    EXPECT_GT(l.y1, 0);
    EXPECT_LT(l.y1, 10000);
  }
}

// At -1:50 the square is drawn turned half a turn about the origin, at paper (-100, -100) to
// (0, 0); it is marked and hatched there, the hatch is stored in the group's units, and the grid
// spacing of the settings stays in paper units.
TEST_F(HatchOpsTest, ANegativeScaleIsDrawnTurnedAboutAndHatchedWhereItIsDrawn) {
  WriteDrawing(
      "hs -50 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc2\r\n"
      "0 0 5000 0\r\n5000 0 5000 5000\r\n5000 5000 0 5000\r\n0 5000 0 0\r\n");
  WriteSettings({"50", "50", "480", "480", "1", "10"});
  HeadlessWindow& w = Open();
  EXPECT_DOUBLE_EQ(view().ExtXmin, -100);
  EXPECT_DOUBLE_EQ(view().ExtYmin, -100);
  EXPECT_DOUBLE_EQ(view().ExtXmax, 0);
  EXPECT_DOUBLE_EQ(view().ExtYmax, 0);
  // Grid lines every 10 paper units.
  const int row = DrawToPixelY(view(), -55);
  EXPECT_EQ(w.Screen().GetPixel(DrawToPixelX(view(), -20), row), 0xC0C0C0u);
  EXPECT_EQ(w.Screen().GetPixel(DrawToPixelX(view(), -15), row), 0xFFFFFFu);

  w.Tick(Control::CheckBox1, true);
  const int x = DrawToPixelX(view(), -50), y = DrawToPixelY(view(), -50);
  w.Press(kMouseLeft, x, y);
  w.Release(x, y);
  w.Type(Control::Edit1, u"10");
  const double y0 = PixelToDrawY(view(), form().HatY);
  w.Click(Control::Button3);
  ASSERT_EQ(static_cast<int>(Added().size()), LinesAcross(-y0, 10));
  for (const TEntLine& l : Added()) {
    EXPECT_NEAR(l.y1, l.y2, 1e-9);
    EXPECT_GT(l.y1, 0);
    EXPECT_LT(l.y1, 5000);
    EXPECT_NEAR(std::fabs(l.x2 - l.x1), 5000, 50);
    EXPECT_NEAR(std::remainder(l.y1 / -50 - y0, 10.0), 0, 1e-9);
  }
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());
  EXPECT_EQ(SettingsLines().at(5), "10");
}

TEST_F(HatchOpsTest, PaperUnitDrawingsStoreTheHatchAsItIs) {
  WriteDrawing(
      "hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nbz\r\nlg0\r\nly0\r\nlc2\r\n"
      "0 0 100 0\r\n100 0 100 100\r\n100 100 0 100\r\n0 100 0 0\r\n");
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"10");
  w.Click(Control::Button3);
  ASSERT_FALSE(Added().empty());
  EXPECT_NEAR(std::fabs(Added()[0].x2 - Added()[0].x1), 100, 1.0);
}

// Pieces that the document drops as degenerate once in file units are not counted, so that
// Delete never removes an entity of the host's drawing.
TEST_F(HatchOpsTest, OnlyLinesTheDocumentTookAreCounted) {
  WriteDrawing(
      "hs 1e-13 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc2\r\n"
      "0 0 1e-11 0\r\n1e-11 0 1e-11 1e-11\r\n1e-11 1e-11 0 1e-11\r\n0 1e-11 0 0\r\n");
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"10");
  w.Click(Control::Button3);
  EXPECT_EQ(form().AddLineN, 0);
  w.Key(KeyCode::Delete, false);
  EXPECT_EQ(form().JG->EntLineN(), 4);
}

// The redraw culls with the entity index and draws in bands on several threads; as hatch
// lines come with runs and go with Delete, and at zoomed views where most of them lie outside,
// it shows what the plain walk over every entity shows.
TEST_F(HatchOpsTest, TheRedrawShowsWhatThePlainWalkShowsAsHatchComesAndGoes) {
  HeadlessWindow& w = Open();
  auto expect_plain_picture = [&](const char* step) {
    const Surface fast = w.Screen();
    form().PlainRedraw = true;
    form().Redraw();
    form().PlainRedraw = false;
    EXPECT_EQ(w.Screen(), fast) << step;
  };
  MarkSquare();
  w.Type(Control::Edit1, u"3");
  w.Click(Control::Button3);
  ASSERT_GT(form().AddLineN, 10);
  expect_plain_picture("after the first run");
  w.Wheel(false, DrawToPixelX(view(), 20), DrawToPixelY(view(), 80));
  w.Wheel(false, DrawToPixelX(view(), 20), DrawToPixelY(view(), 80));
  expect_plain_picture("zoomed in");
  EXPECT_TRUE(w.Key(KeyCode::Delete, false));
  expect_plain_picture("after Delete");
  // A second run in another direction: its lines take the indices of the removed ones.
  EXPECT_TRUE(w.Key(KeyCode::Home, false));
  MarkSquare();
  w.Type(Control::ComboBox4, u"60");
  w.Click(Control::Button3);
  ASSERT_GT(form().AddLineN, 10);
  expect_plain_picture("after the second run");
  w.Wheel(false, DrawToPixelX(view(), 90), DrawToPixelY(view(), 10));
  expect_plain_picture("zoomed in again");
}

}  // namespace
}  // namespace vardo::test
