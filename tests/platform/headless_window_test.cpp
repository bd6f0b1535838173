// The headless shell: its layout, controls, pointer, Esc key, bitmaps and closing.
#include <gtest/gtest.h>

#include <string>

#include "app/form_layout.h"
#include "platform/headless/headless_window.h"

namespace vardo {
namespace {

// A folder that does not exist: the form starts with defaults and an empty drawing, and the
// tests here never close through OK, so nothing is written.
constexpr char16_t kProgram[] = u"/nonexistent-vardo-folder/VardoHatch.exe";

TEST(HeadlessLayoutTest, PaintBoxAtTheClientTopLeftAndTheControlColumnBesideIt) {
  HeadlessWindow w(kProgram, 300, 200);
  const ScreenRect bounds = w.GetBounds();
  EXPECT_EQ(bounds.width, 300 + kControlColumnWidth);
  EXPECT_EQ(bounds.height, 200 + kStatusLineHeight + kButtonPanelHeight);
  w.SetBounds({40, 30, 600, 500});
  const ScreenRect box = w.PaintBoxRect();
  EXPECT_EQ(box.left, 40);
  EXPECT_EQ(box.top, 30);
  EXPECT_EQ(box.width, 300);
  EXPECT_EQ(box.height, 200);
  const ScreenRect column = w.ControlColumnRect();
  EXPECT_EQ(column.left, 340);
  EXPECT_EQ(column.top, 30);
  EXPECT_EQ(column.width, kControlColumnWidth);
  EXPECT_EQ(column.height, 200);  // the status line runs under both
}

TEST(HeadlessLayoutTest, PointerStartsAtThePaintBoxCentreAndIsKeptRelativeToIt) {
  HeadlessWindow w(kProgram, 300, 200);
  w.SetBounds({40, 30, 600, 500});
  EXPECT_EQ(w.CursorPos().x, 40 + 150);
  EXPECT_EQ(w.CursorPos().y, 30 + 100);
  w.PointAt(-10, 250);
  EXPECT_EQ(w.CursorPos().x, 30);
  EXPECT_EQ(w.CursorPos().y, 280);
  // Far positions saturate rather than overflow.
  w.SetBounds({2147483000, 0, 600, 500});
  w.PointAt(2147483000, 0);
  EXPECT_EQ(w.CursorPos().x, 2147483647);
}

TEST(HeadlessLayoutTest, ResizingThePaintBoxResizesTheWindowWithinLimits) {
  HeadlessWindow w(kProgram, 300, 200);
  const ScreenRect before = w.GetBounds();
  w.ResizePaintBox(350, 0);
  EXPECT_EQ(w.PaintBoxRect().width, 350);
  EXPECT_EQ(w.PaintBoxRect().height, 1);
  EXPECT_EQ(w.GetBounds().width, before.width + 50);
  EXPECT_EQ(w.GetBounds().height, before.height - 199);
  w.ResizePaintBox(100000, 5);
  EXPECT_EQ(w.PaintBoxRect().width, HeadlessWindow::kMaxPaintSize);
}

TEST(HeadlessShowTest, ShowLaysTheSurfaceAndPaintsIt) {
  HeadlessWindow w(kProgram, 120, 90);
  EXPECT_EQ(w.Screen().Width(), 0);
  w.Show();
  EXPECT_TRUE(w.Shown());
  EXPECT_EQ(w.Screen().Width(), 120);
  EXPECT_EQ(w.Screen().Height(), 90);
  ASSERT_TRUE(w.form().RepBmp.has_value());
  EXPECT_EQ(*w.form().RepBmp, w.Screen());
  // The form placed the window from its (default) settings.
  EXPECT_EQ(w.GetBounds().left, 50);
  EXPECT_EQ(w.GetBounds().width, 480);
}

TEST(HeadlessControlTest, ListsSelectNothingOutsideTheirItems) {
  HeadlessWindow w(kProgram, 100, 100);
  w.Show();
  w.SetItemIndex(Control::ComboBox1, 266);
  EXPECT_EQ(w.GetItemIndex(Control::ComboBox1), -1);
  w.SetItemIndex(Control::ComboBox1, 265);
  EXPECT_EQ(w.GetItemIndex(Control::ComboBox1), 265);
  w.ClearItems(Control::ComboBox1);
  EXPECT_EQ(w.GetItemIndex(Control::ComboBox1), -1);
  EXPECT_TRUE(w.Items(Control::ComboBox1).empty());
}

TEST(HeadlessControlTest, AngleListsHoldTheirItemsAndShowTheSelectedOne) {
  HeadlessWindow w(kProgram, 100, 100);
  ASSERT_EQ(w.Items(Control::ComboBox4).size(), kAngleItems.size());
  w.SetItemIndex(Control::ComboBox4, 4);
  EXPECT_EQ(w.GetText(Control::ComboBox4), u"90");
  w.Type(Control::ComboBox5, u"12.5");
  EXPECT_EQ(w.GetText(Control::ComboBox5), u"12.5");
}

TEST(HeadlessControlTest, SelectRunsTheListsChangeHandler) {
  HeadlessWindow w(kProgram, 100, 100);
  w.Show();
  w.Select(Control::ComboBox1, 7);
  EXPECT_EQ(w.form().col, 7);
  EXPECT_EQ(w.form().JG->w_Col, 7);
  w.Select(Control::ComboBox2, 12);
  EXPECT_EQ(w.form().ltp, 12);
  EXPECT_EQ(w.form().JG->w_Ltp, 13);
}

TEST(HeadlessControlTest, TickRunsTheMonochromeHandlerOnlyOnAChange) {
  HeadlessWindow w(kProgram, 100, 100);
  w.Show();
  w.Tick(Control::CheckBox2, true);
  EXPECT_TRUE(w.Checked(Control::CheckBox2));
  EXPECT_FALSE(w.form().GraAttr.PrintMode);
  w.Tick(Control::CheckBox1, true);
  EXPECT_TRUE(w.form().GraAttr.PrintMode);
  // SetChecked alone is no click.
  w.SetChecked(Control::CheckBox1, false);
  EXPECT_TRUE(w.form().GraAttr.PrintMode);
  w.Tick(Control::CheckBox1, false);
  EXPECT_TRUE(w.form().GraAttr.PrintMode);
}

TEST(HeadlessControlTest, ADisabledButtonIgnoresClicks) {
  HeadlessWindow w(kProgram, 100, 100);
  w.Show();
  w.SetEnabled(Control::Button1, false);
  w.Click(Control::Button1);
  EXPECT_TRUE(w.Messages().empty());
  w.SetEnabled(Control::Button1, true);
  w.Click(Control::Button1);
  EXPECT_EQ(w.Messages().size(), 1u);
}

TEST(HeadlessControlTest, StatusHistoryKeepsEveryCaption) {
  HeadlessWindow w(kProgram, 100, 100);
  w.SetText(Control::LabelM, u"a");
  w.SetText(Control::LabelN, u"n");
  w.SetText(Control::LabelM, u"b");
  EXPECT_EQ(w.StatusHistory(), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(HeadlessEscapeTest, TheKeyGoesDownAfterTheGivenNumberOfPolls) {
  HeadlessWindow w(kProgram, 100, 100);
  EXPECT_FALSE(w.EscapeHeld());
  w.HoldEscapeAfterPolls(2);
  EXPECT_FALSE(w.EscapeHeld());
  EXPECT_FALSE(w.EscapeHeld());
  EXPECT_TRUE(w.EscapeHeld());
  EXPECT_TRUE(w.EscapeHeld());
  w.WaitEscapeUp();
  EXPECT_FALSE(w.EscapeHeld());
  w.HoldEscapeAfterPolls(0);
  w.SetEscapeDown(false);
  EXPECT_FALSE(w.EscapeHeld());
  w.SetEscapeDown(true);
  EXPECT_TRUE(w.EscapeHeld());
}

TEST(HeadlessBitmapTest, TheGivenNumberOfBitmapsFail) {
  HeadlessWindow w(kProgram, 100, 100);
  w.FailBitmaps(1);
  Surface bitmap(3, 3);
  EXPECT_FALSE(w.CreateBitmap(bitmap, 10, 10));
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_TRUE(w.CreateBitmap(bitmap, 10, 10));
  EXPECT_EQ(bitmap.Width(), 10);
}

TEST(HeadlessCloseTest, ClosingRunsFormCloseOnceAndEndsTheEvents) {
  HeadlessWindow w(kProgram, 100, 100);
  w.Show();
  ASSERT_NE(w.form().JG, nullptr);
  w.Click(Control::Button2);
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(w.form().JG, nullptr);
  w.Close();
  w.Show();
  w.Press(kMouseLeft, 10, 10);
  w.Release(10, 10);
  EXPECT_FALSE(w.Key(KeyCode::Home, false));
  EXPECT_EQ(w.form().JG, nullptr);
}

}  // namespace
}  // namespace vardo
