// The view: fitting, zooming, panning, gestures, wheel, keys, repaint and resizing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "form_fixture.h"

namespace vardo::test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrid = 0xC0C0C0;
constexpr uint32_t kBlue = 0xFF0000;

class ViewTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    WriteDrawing(kSquare);
  }

  double CentreX() { return (view().ViewXmin + view().ViewXmax) / 2; }
  double CentreY() { return (view().ViewYmin + view().ViewYmax) / 2; }

  void Drag(unsigned buttons, int x1, int y1, int x2, int y2) {
    window().Press(buttons, x1, y1);
    window().Move((x1 + x2) / 2, (y1 + y2) / 2);
    window().Move(x2, y2);
    window().Release(x2, y2);
  }

  static void ExpectSameView(const ViewState& a, const ViewState& b) {
    EXPECT_DOUBLE_EQ(a.ViewXmin, b.ViewXmin);
    EXPECT_DOUBLE_EQ(a.ViewYmin, b.ViewYmin);
    EXPECT_DOUBLE_EQ(a.ViewXmax, b.ViewXmax);
    EXPECT_DOUBLE_EQ(a.ViewYmax, b.ViewYmax);
    EXPECT_DOUBLE_EQ(a.ViewScale, b.ViewScale);
  }

  // The window spans exactly the paint box at the scale.
  void ExpectInvariant() {
    EXPECT_NEAR(view().ViewXmax - view().ViewXmin, view().ViewWidth / view().ViewScale, 1e-9);
    EXPECT_NEAR(view().ViewYmax - view().ViewYmin, view().ViewHeight / view().ViewScale, 1e-9);
  }
};

TEST_F(ViewTest, ShowFitsTheExtentsWithAMargin) {
  Open(400, 300);
  // 100 x 100 units in 400 x 300 pixels: the height limits, 90 % of it.
  EXPECT_DOUBLE_EQ(view().ViewScale, 300 / 100.0 * 0.9);
  EXPECT_DOUBLE_EQ(CentreX(), 50);
  EXPECT_DOUBLE_EQ(CentreY(), 50);
  EXPECT_EQ(view().ViewWidth, 400);
  EXPECT_EQ(view().ViewHeight, 300);
  ExpectInvariant();
  // The square's corner is drawn where the view maps it, the frame along the edge.
  EXPECT_EQ(window().Screen().GetPixel(0, 0), 0xFFFF00u);
  EXPECT_NE(window().Screen().GetPixel(DrawToPixelX(view(), 50), DrawToPixelY(view(), 0)), kWhite);
  ASSERT_TRUE(form().RepBmp.has_value());
  EXPECT_EQ(*form().RepBmp, window().Screen());
}

TEST_F(ViewTest, TwoButtonDragShorterThanSixPixelsRecentresOnThePressPoint) {
  Open(400, 300);
  const double scale = view().ViewScale;
  const double px = PixelToDrawX(view(), 100), py = PixelToDrawY(view(), 80);
  Drag(kMouseLeft | kMouseRight, 100, 80, 105, 200);
  EXPECT_DOUBLE_EQ(view().ViewScale, scale);
  EXPECT_NEAR(CentreX(), px, 1e-9);
  EXPECT_NEAR(CentreY(), py, 1e-9);
  EXPECT_FALSE(form().DrawRB1);
  EXPECT_EQ(form().MouseBtnState, 0u);
}

TEST_F(ViewTest, RightDownDragZoomsToTheRectangle) {
  Open(400, 300);
  const double scale = view().ViewScale;
  const double cx = PixelToDrawX(view(), 150), cy = PixelToDrawY(view(), 125);
  Drag(kMouseLeft | kMouseRight, 100, 100, 200, 150);
  EXPECT_DOUBLE_EQ(view().ViewScale, scale * 4);
  EXPECT_NEAR(CentreX(), cx, 1e-9);
  EXPECT_NEAR(CentreY(), cy, 1e-9);
  ExpectInvariant();
}

TEST_F(ViewTest, LeftUpDragHalvesTheScaleWhateverTheRectangle) {
  Open(400, 300);
  for (int size : {10, 150}) {
    const double scale = view().ViewScale;
    Drag(kMouseLeft | kMouseRight, 200, 200, 200 - size, 200 - size);
    EXPECT_DOUBLE_EQ(view().ViewScale, scale / 2) << size;
  }
}

TEST_F(ViewTest, RightUpDragFitsTheDrawing) {
  Open(400, 300);
  const ViewState fitted = view();
  window().Key(KeyCode::PageUp, false);
  Drag(kMouseLeft | kMouseRight, 100, 200, 200, 100);
  ExpectSameView(view(), fitted);
}

TEST_F(ViewTest, LeftDownDragTwiceReturnsToTheViewBeforeTheFirst) {
  Open(400, 300);
  window().Key(KeyCode::PageUp, false);
  const ViewState zoomed = view();
  Drag(kMouseLeft | kMouseRight, 200, 100, 100, 200);
  EXPECT_NE(view().ViewScale, zoomed.ViewScale);
  Drag(kMouseLeft | kMouseRight, 200, 100, 100, 200);
  ExpectSameView(view(), zoomed);
}

TEST_F(ViewTest, RubberBandFollowsThePointerAndLeavesNoTrace) {
  Open(400, 300);
  const Surface before = window().Screen();
  window().Press(kMouseLeft | kMouseRight, 50, 50);
  window().Move(150, 120);
  EXPECT_TRUE(form().DrawRB1);
  EXPECT_NE(window().Screen(), before);
  // Each move erases the band it drew last, so drawing the last band once more leaves nothing.
  window().Move(250, 200);
  form().DrawRubberBand();
  EXPECT_EQ(window().Screen(), before);
}

TEST_F(ViewTest, MiddleDragPansByTheDragAndPreviewsWithTheScreenCopy) {
  Open(400, 300);
  const ViewState start = view();
  const uint32_t corner = window().Screen().GetPixel(DrawToPixelX(view(), 0), 200);
  window().Press(kMouseMiddle, 100, 100);
  EXPECT_TRUE(form().WrkBmpFlag);
  window().Move(130, 110);
  // The picture follows the pointer.
  EXPECT_EQ(window().Screen().GetPixel(DrawToPixelX(view(), 0) + 30, 210), corner);
  window().Release(130, 110);
  EXPECT_FALSE(form().WrkBmpFlag);
  EXPECT_NEAR(view().ViewXmin, start.ViewXmin - 30 / start.ViewScale, 1e-9);
  EXPECT_NEAR(view().ViewYmax, start.ViewYmax + 10 / start.ViewScale, 1e-9);
  EXPECT_DOUBLE_EQ(view().ViewScale, start.ViewScale);
}

TEST_F(ViewTest, PanWithoutAScreenCopyStillPans) {
  Open(400, 300);
  const double xmin = view().ViewXmin;
  window().FailBitmaps(1);
  window().Press(kMouseMiddle, 100, 100);
  EXPECT_FALSE(form().WrkBmpFlag);
  const Surface before = window().Screen();
  window().Move(150, 100);
  EXPECT_EQ(window().Screen(), before);
  window().Release(150, 100);
  EXPECT_NEAR(view().ViewXmin, xmin - 50 / view().ViewScale, 1e-9);
}

TEST_F(ViewTest, WheelZoomsAboutThePointerOnlyOverThePaintBox) {
  Open(400, 300);
  const double scale = view().ViewScale;
  const double wx = PixelToDrawX(view(), 100), wy = PixelToDrawY(view(), 50);
  window().Wheel(false, 100, 50);
  EXPECT_DOUBLE_EQ(view().ViewScale, scale * 1.5);
  EXPECT_NEAR(PixelToDrawX(view(), 100), wx, 1e-9);
  EXPECT_NEAR(PixelToDrawY(view(), 50), wy, 1e-9);
  window().Wheel(true, 100, 50);
  EXPECT_DOUBLE_EQ(view().ViewScale, scale);

  // Over the control column, and beyond the window, a notch changes nothing.
  const ViewState before = view();
  window().Wheel(false, 400 + 20, 50);
  window().Wheel(true, -1, 50);
  ExpectSameView(view(), before);
}

TEST_F(ViewTest, WheelOnThePaintBoxEdgeCounts) {
  Open(400, 300);
  const double scale = view().ViewScale;
  window().Wheel(false, 400, 300);
  EXPECT_DOUBLE_EQ(view().ViewScale, scale * 1.5);
}

TEST_F(ViewTest, PageKeysZoomByOneAndAHalfAboutTheCentre) {
  Open(400, 300);
  const double scale = view().ViewScale;
  const double cx = PixelToDrawX(view(), 200), cy = PixelToDrawY(view(), 150);
  EXPECT_TRUE(window().Key(KeyCode::PageUp, false));
  EXPECT_DOUBLE_EQ(view().ViewScale, scale * 1.5);
  EXPECT_NEAR(PixelToDrawX(view(), 200), cx, 1e-9);
  EXPECT_NEAR(PixelToDrawY(view(), 150), cy, 1e-9);
  EXPECT_TRUE(window().Key(KeyCode::PageDown, false));
  EXPECT_NEAR(view().ViewScale, scale, 1e-12);
}

struct ArrowCase {
  KeyCode key;
  bool shift;
  double dx, dy;  // shift of the window in widths and heights
};

class ArrowKeyTest : public ViewTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(ArrowKeyTest, ShiftsTheWindowWhenThePointerIsOverThePaintBox) {
  const ArrowCase& c = GetParam();
  Open(400, 300);
  const ViewState start = view();
  const double w = start.ViewXmax - start.ViewXmin, h = start.ViewYmax - start.ViewYmin;
  window().PointAt(10, 10);
  EXPECT_TRUE(window().Key(c.key, c.shift));
  EXPECT_NEAR(view().ViewXmin, start.ViewXmin + c.dx * w, 1e-9);
  EXPECT_NEAR(view().ViewYmax, start.ViewYmax + c.dy * h, 1e-9);
  EXPECT_DOUBLE_EQ(view().PrevXmin, start.ViewXmin);

  // Outside the paint box the key is not the form's.
  const ViewState moved = view();
  window().PointAt(-5, 10);
  EXPECT_FALSE(window().Key(c.key, c.shift));
  ExpectSameView(view(), moved);
}

INSTANTIATE_TEST_SUITE_P(Keys, ArrowKeyTest,
                         ::testing::Values(ArrowCase{KeyCode::Left, false, -0.5, 0},
                                           ArrowCase{KeyCode::Right, false, 0.5, 0},
                                           ArrowCase{KeyCode::Up, false, 0, 0.5},
                                           ArrowCase{KeyCode::Down, false, 0, -0.5},
                                           ArrowCase{KeyCode::Left, true, -0.1, 0},
                                           ArrowCase{KeyCode::Down, true, 0, -0.1}));

TEST_F(ViewTest, KeysOverTheControlColumnGoToTheFocusedControl) {
  Open(400, 300);
  const ViewState before = view();
  window().PointAt(400 + 100, 40);
  for (KeyCode key : {KeyCode::PageUp, KeyCode::Home, KeyCode::Left, KeyCode::Delete}) {
    EXPECT_FALSE(window().Key(key, false));
  }
  ExpectSameView(view(), before);
  // The shared edge belongs to the column.
  window().PointAt(400, 40);
  EXPECT_FALSE(window().Key(KeyCode::PageUp, false));
}

TEST_F(ViewTest, InsertAndEndCentreOnTheDrawingKeepingTheScale) {
  Open(400, 300);
  for (KeyCode key : {KeyCode::Insert, KeyCode::End}) {
    window().Wheel(false, 10, 10);
    const double scale = view().ViewScale;
    EXPECT_TRUE(window().Key(key, false));
    EXPECT_DOUBLE_EQ(view().ViewScale, scale);
    EXPECT_NEAR(CentreX(), 50, 1e-9);
    EXPECT_NEAR(CentreY(), 50, 1e-9);
  }
}

TEST_F(ViewTest, HomeFitsTheDrawing) {
  Open(400, 300);
  const ViewState fitted = view();
  window().Wheel(false, 10, 10);
  EXPECT_TRUE(window().Key(KeyCode::Home, false));
  ExpectSameView(view(), fitted);
}

TEST_F(ViewTest, OtherKeysPassOn) {
  Open(400, 300);
  EXPECT_FALSE(window().Key(KeyCode::Other, false));
}

TEST_F(ViewTest, ResizingKeepsCentreAndScaleAndShowsTheOldPicture) {
  Open(400, 300);
  const ViewState start = view();
  const Surface old = window().Screen();
  window().ResizePaintBox(500, 260);
  EXPECT_DOUBLE_EQ(view().ViewScale, start.ViewScale);
  EXPECT_NEAR(CentreX(), 50, 1e-9);
  EXPECT_NEAR(CentreY(), 50, 1e-9);
  EXPECT_EQ(view().ViewWidth, 500);
  ExpectInvariant();
  // No new rendering: the back buffer is copied in, the new part shows the repaint frame, in the
  // frame colour and never in the marking blue a hatch run would trace.
  EXPECT_EQ(window().Screen().GetPixel(123, 45), old.GetPixel(123, 45));
  int frame = 0, blue = 0;
  for (int x = 400; x < 500; ++x) {
    frame += window().Screen().GetPixel(x, 100) == 0xFFFF00;
    blue += window().Screen().GetPixel(x, 100) == kBlue;
  }
  EXPECT_EQ(frame, 1);
  EXPECT_EQ(blue, 0);
  EXPECT_EQ(window().Screen().GetPixel(450, 100), kWhite);
  // The window grew with its paint box, and the form keeps the new size.
  EXPECT_EQ(form().Fmw, 480 + 100);
  EXPECT_EQ(form().Fmh, 480 - 40);
}

// A window restored from its icon reports its old size again: the picture, marks included,
// stays as it was.
TEST_F(ViewTest, ASizeThatDidNotChangeKeepsThePicture) {
  Open(400, 300);
  MarkSquare();
  const Surface marked = window().Screen();
  ASSERT_GT(CountColour(kBlue), 0);
  window().ResizePaintBox(400, 300);
  EXPECT_EQ(window().Screen(), marked);
}

TEST_F(ViewTest, AFailedBackBufferRefitsTheDrawingOnTheNextPaint) {
  Open(400, 300);
  const ViewState fitted = view();
  window().FailBitmaps(1);
  window().Key(KeyCode::PageUp, false);
  EXPECT_FALSE(form().RepBmp.has_value());
  // A wider paint box gets a new surface, painted: the same fit, as the height decides it.
  window().ResizePaintBox(500, 300);
  EXPECT_DOUBLE_EQ(view().ViewScale, fitted.ViewScale);
  EXPECT_NEAR(CentreX(), 50, 1e-9);
  EXPECT_NEAR(CentreY(), 50, 1e-9);
  EXPECT_TRUE(form().RepBmp.has_value());
}

TEST_F(ViewTest, ARepaintRemovesMarksAndTheBand) {
  Open(400, 300);
  const Surface clean = window().Screen();
  window().Press(kMouseLeft | kMouseRight, 50, 50);
  window().Move(150, 150);
  form().PaintBox1Paint();
  EXPECT_FALSE(form().DrawRB1);
  EXPECT_EQ(window().Screen(), clean);
}

struct GridCase {
  const char* name;
  double lines;  // grid spacings across the wider side of the window
  bool drawn;
};

class GridTest : public ViewTest, public ::testing::WithParamInterface<GridCase> {};

TEST_P(GridTest, DrawnUpToAHundredLinesWithItsOriginMarkAlways) {
  const GridCase& c = GetParam();
  std::string drawing(kSquare);
  drawing += "hp1 3 4\r\nhp2 30 40\r\n";
  WriteDrawing(drawing);
  Open(400, 300);
  form().grdn = (view().ViewXmax - view().ViewXmin) / c.lines;
  form().Redraw();
  EXPECT_EQ(CountColour(kGrid) > 0, c.drawn);
  // The origin mark: a blue cross at the grid origin (3, 4).
  EXPECT_EQ(window().Screen().GetPixel(DrawToPixelX(view(), 3) + 3, DrawToPixelY(view(), 4)),
            kBlue);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridTest,
                         ::testing::Values(GridCase{"Hundred", 99.9, true},
                                           GridCase{"HundredAndOne", 101, false},
                                           GridCase{"ZeroSpacing", INFINITY, false},
                                           GridCase{"NegativeSpacing", -10, false}),
                         [](const ::testing::TestParamInfo<GridCase>& info) {
                           return info.param.name;
                         });

TEST_F(ViewTest, TheOriginMarkIsRedAndTheGridOriginMarkNeedsAnOrigin) {
  Open(400, 300);
  form().grd = 1;
  form().Redraw();
  const int ox = DrawToPixelX(view(), 0), oy = DrawToPixelY(view(), 0);
  EXPECT_EQ(window().Screen().GetPixel(ox + 3, oy - 3), 255u);
  EXPECT_GT(CountColour(kGrid), 0);
  EXPECT_EQ(CountColour(kBlue), 0);
}

TEST_F(ViewTest, ExtremeZoomKeepsAUsableView) {
  Open(100, 80);
  const double fitted = view().ViewScale;
  for (bool up : {false, true}) {
    for (int i = 0; i < 2000; ++i)
      window().Wheel(up, 10, 20);
    const ViewState& v = view();
    EXPECT_TRUE(std::isfinite(v.ViewScale) && v.ViewScale > 0) << up;
    EXPECT_TRUE(std::isfinite(v.ViewXmin) && std::isfinite(v.ViewXmax)) << up;
    EXPECT_GT(v.ViewXmax, v.ViewXmin) << up;
    EXPECT_GT(v.ViewYmax, v.ViewYmin) << up;
    window().Press(kMouseLeft | kMouseRight, 10, 10);
    window().Release(300, 250);
    window().Press(kMouseMiddle, 10, 10);
    window().Release(300, 250);
  }
  window().Key(KeyCode::Home, false);
  EXPECT_DOUBLE_EQ(view().ViewScale, fitted);
}

TEST_F(ViewTest, StrayReleasesAndPressesDoNoHarm) {
  Open(400, 300);
  const ViewState start = view();
  window().Release(10, 10);
  window().Move(20, 20);
  ExpectSameView(view(), start);
  window().Press(kMouseLeft | kMouseRight, 10, 10);
  window().Key(KeyCode::Home, false);
  window().Move(-2000000000, 2000000000);
  window().Press(kMouseMiddle, 2147483647, -2147483647);
  window().Move(-2147483647, 2147483647);
  window().Release(-2147483647, 2147483647);
  EXPECT_EQ(form().MouseBtnState, 0u);
  EXPECT_TRUE(std::isfinite(view().ViewXmin));
}

// Two coincident points far from the origin: the fit cannot be a window of 1e-10 there, as
// doubles have no such resolution at 1e8.
TEST_F(ViewTest, APointLikeDrawingFarAwayStillGetsAWindow) {
  WriteDrawing("pt 100000000 -100000000\r\npt 100000000 -100000000\r\n");
  Open(400, 300);
  EXPECT_TRUE(std::isfinite(view().ViewScale));
  EXPECT_GT(view().ViewXmax, view().ViewXmin);
  EXPECT_GT(view().ViewYmax, view().ViewYmin);
  EXPECT_NEAR(CentreX(), 1e8, 1);
  EXPECT_NEAR(CentreY(), -1e8, 1);
  // The edges hold what doubles can hold at 1e8.
  EXPECT_NEAR(view().ViewXmax - view().ViewXmin, 400 / view().ViewScale, 1e-7);
}

TEST_F(ViewTest, AOnePixelPaintBoxWorks) {
  Open(1, 1);
  EXPECT_GT(view().ViewScale, 0);
  window().Key(KeyCode::PageUp, false);
  window().ResizePaintBox(1, 1);
  window().Wheel(false, 0, 0);
  Drag(kMouseLeft | kMouseRight, 0, 0, 1, 1);
  EXPECT_TRUE(std::isfinite(view().ViewScale));
}

}  // namespace
}  // namespace vardo::test
