// The pixel mappings of the view in both directions.
#include "common/view_state.h"

#include <gtest/gtest.h>

#include <climits>

namespace vardo {
namespace {

ViewState View(double xmin, double ymin, double scale, int width, int height) {
  ViewState v;
  v.ViewXmin = xmin;
  v.ViewYmin = ymin;
  v.ViewScale = scale;
  v.ViewWidth = width;
  v.ViewHeight = height;
  v.ViewXmax = xmin + width / scale;
  v.ViewYmax = ymin + height / scale;
  return v;
}

TEST(ViewState, PixelAndDrawingMappingsAgree) {
  ViewState v = View(0, 0, 2, 200, 200);  // ViewYmax = 100
  EXPECT_DOUBLE_EQ(PixelToDrawX(v, 10), 5);
  EXPECT_DOUBLE_EQ(PixelToDrawY(v, 20), 90);
  EXPECT_EQ(DrawToPixelX(v, 5), 10);
  EXPECT_EQ(DrawToPixelY(v, 90), 20);
}

TEST(ViewState, HalvesRoundAwayFromZero) {
  ViewState v = View(0, 0, 1, 10, 10);
  EXPECT_EQ(DrawToPixelX(v, 2.5), 3);
  EXPECT_EQ(DrawToPixelX(v, -2.5), -3);
  EXPECT_EQ(DrawToPixelY(v, 2.5), 10 - 3);
}

TEST(ViewState, ExtremeValuesClampWithoutOverflow) {
  ViewState v = View(0, 0, 1e12, 800, 600);
  EXPECT_EQ(DrawToPixelX(v, 1e300), 1000000000);
  EXPECT_EQ(DrawToPixelX(v, -1e300), -1000000000);
  EXPECT_EQ(DrawToPixelY(v, -1e300), 600 + 1000000000);
  EXPECT_EQ(DrawToPixelY(v, 1e300), 600 - 1000000000);
}

TEST(ViewState, RememberViewCopiesWindowAndScale) {
  ViewState v = View(1, 2, 3, 30, 60);
  RememberView(v);
  EXPECT_EQ(v.PrevXmin, 1);
  EXPECT_EQ(v.PrevYmin, 2);
  EXPECT_EQ(v.PrevXmax, v.ViewXmax);
  EXPECT_EQ(v.PrevYmax, v.ViewYmax);
  EXPECT_EQ(v.PrevScale, 3);
}

}  // namespace
}  // namespace vardo
