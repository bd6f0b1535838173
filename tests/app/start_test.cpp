// Start-up, the settings file, OK and Cancel, driven through the headless shell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form_layout.h"
#include "form_fixture.h"

namespace vardo::test {
namespace {

using StartTest = FormTest;

TEST_F(StartTest, FirstRunWithoutSettingsShowsTheDefaults) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open();
  const ScreenRect b = w.GetBounds();
  EXPECT_EQ(b.left, 50);
  EXPECT_EQ(b.top, 50);
  EXPECT_EQ(b.width, 480);
  EXPECT_EQ(b.height, 480);
  EXPECT_EQ(w.GetText(Control::Edit1), u"1");
  EXPECT_EQ(w.GetText(Control::ComboBox4), u"0");
  EXPECT_EQ(w.GetText(Control::Edit2), u"1");
  EXPECT_EQ(w.GetText(Control::ComboBox5), u"0");
  EXPECT_FALSE(w.Checked(Control::CheckBox2));
  EXPECT_TRUE(w.Checked(Control::CheckBox3));
  ASSERT_EQ(w.Items(Control::ComboBox1).size(), 266u);
  ASSERT_EQ(w.Items(Control::ComboBox2).size(), 51u);
  EXPECT_EQ(w.GetItemIndex(Control::ComboBox1), 0);
  EXPECT_EQ(w.GetItemIndex(Control::ComboBox2), 0);
  EXPECT_EQ(w.Items(Control::ComboBox1)[0], u"現在線色");
  EXPECT_EQ(w.Items(Control::ComboBox2)[0], u"現在線種");
  EXPECT_EQ(w.GetText(Control::LabelM), u"ハッチを行う箇所をクリックして下さい。");
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:0　点:0　円弧:0");
  EXPECT_EQ(form().grd, 0);
  EXPECT_DOUBLE_EQ(form().grdn, 10.0);
  EXPECT_TRUE(form().FirstDrawFlag);
}

TEST(FormLayoutTest, ListsNumberTheirItemsWithoutLeadingZeros) {
  const std::vector<std::u16string> colours = LineColourItems();
  EXPECT_EQ(colours[1], u"線色1");
  EXPECT_EQ(colours[9], u"線色9");
  EXPECT_EQ(colours[10], u"SXF-1");
  EXPECT_EQ(colours[265], u"SXF-256");
  const std::vector<std::u16string> types = LineTypeItems();
  EXPECT_EQ(types[9], u"線種9");
  EXPECT_EQ(types[10], u"ランダム線1");
  EXPECT_EQ(types[14], u"ランダム線5");
  EXPECT_EQ(types[15], u"倍長線種1");
  EXPECT_EQ(types[18], u"倍長線種4");
  EXPECT_EQ(types[19], u"SXF-1");
  EXPECT_EQ(types[50], u"SXF-32");
}

struct SettingsCase {
  const char* name;
  std::vector<std::string> lines;
  int left, top, width, height;
  int col;
  std::u16string spacing;
};

class SettingsFileTest : public FormTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsFileTest, ReadsWhatItCanAndKeepsTheRest) {
  const SettingsCase& c = GetParam();
  WriteDrawing(kSquare);
  WriteSettings(c.lines);
  HeadlessWindow& w = Open();
  const ScreenRect b = w.GetBounds();
  EXPECT_EQ(b.left, c.left);
  EXPECT_EQ(b.top, c.top);
  EXPECT_EQ(b.width, c.width);
  EXPECT_EQ(b.height, c.height);
  EXPECT_EQ(w.GetItemIndex(Control::ComboBox1), c.col);
  EXPECT_EQ(form().col, c.col);
  EXPECT_EQ(w.GetText(Control::Edit1), c.spacing);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileTest,
    ::testing::Values(
        // Missing lines keep their defaults; the default height passes the minimum check.
        SettingsCase{"ThreeLines", {"100", "120", "640"}, 100, 120, 640, 480, 0, u"1"},
        SettingsCase{"NarrowWindow", {"0", "0", "200", "100"}, 0, 0, 320, 320, 0, u"1"},
        // A line that is no number reads as 0; the window size then rises to the minimum.
        SettingsCase{"Garbage",
                     {"x", "", "wide", "1,5", "?", "ten", "abc", "", "", "", "one"},
                     0,
                     0,
                     320,
                     320,
                     0,
                     u"0"},
        SettingsCase{"ExtraLinesIgnored",
                     {"10", "20", "500", "400", "0", "10", "3", "0", "-1", "0", "2.5", "30", "1",
                      "0", "99", "junk"},
                     10,
                     20,
                     500,
                     400,
                     3,
                     u"2.5"},
        // An index beyond the list would reach the document as a colour that does not exist.
        SettingsCase{"ColourOutsideTheList",
                     {"10", "20", "500", "400", "0", "10", "2147483647"},
                     10,
                     20,
                     500,
                     400,
                     0,
                     u"1"}),
    [](const ::testing::TestParamInfo<SettingsCase>& info) { return info.param.name; });

TEST_F(StartTest, ReadsSettingsWithoutAByteOrderMarkAndWithBareCarriageReturns) {
  WriteDrawing(kSquare);
  WriteFile("VardoHatch.dat", "70\r80\r600\r500\r1\r5\r2\r3\r");
  Open();
  EXPECT_EQ(form().Fmx, 70);
  EXPECT_EQ(form().Fmh, 500);
  EXPECT_EQ(form().grd, 1);
  EXPECT_EQ(form().ltp, 3);
}

TEST_F(StartTest, AGarbageLineTypeIndexFallsBackToTheFirstItem) {
  WriteDrawing(kSquare);
  WriteSettings({"1", "1", "480", "480", "0", "10", "0", "51"});
  HeadlessWindow& w = Open();
  EXPECT_EQ(w.GetItemIndex(Control::ComboBox2), 0);
}

TEST_F(StartTest, TwoIndicatedPointsSwitchTheGridOnAndOkSavesIt) {
  std::string drawing(kSquare);
  drawing += "hp1 10 20\r\nhp2 30 40\r\n";
  WriteDrawing(drawing);
  Open();
  EXPECT_EQ(form().grd, 1);
  EXPECT_DOUBLE_EQ(form().grdx, 10);
  EXPECT_DOUBLE_EQ(form().grdy, 20);
  MarkSquare();
  window().Click(Control::Button3);
  window().Click(Control::Button1);
  ASSERT_TRUE(window().Closed());
  const std::vector<std::string> lines = SettingsLines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[4], "1");
}

// The end correction's line comes after the fourteen others: a file without it (every file
// written before it existed) reads as on. "端点補正" shows the setting; ticking or clearing it
// changes the setting, and OK saves what the box shows.
TEST_F(StartTest, TheEndCorrectionLineReadsAsOnWhenMissingAndFollowsItsBox) {
  const std::vector<std::string> fourteen = {"10", "20", "500", "400", "0", "2.5", "3",
                                             "4",  "-1", "0",   "1",   "0", "1",   "0"};
  struct Case {
    std::vector<std::string> extra;
    int read;   // the setting after start-up
    int saved;  // the box's state at OK
  };
  for (const Case& c :
       {Case{{}, 1, 1}, Case{{"0"}, 0, 0}, Case{{"1"}, 1, 1}, Case{{}, 1, 0}, Case{{"0"}, 0, 1}}) {
    SCOPED_TRACE(std::to_string(c.read) + " -> " + std::to_string(c.saved));
    std::vector<std::string> settings = fourteen;
    settings.insert(settings.end(), c.extra.begin(), c.extra.end());
    WriteDrawing(kSquare);
    WriteSettings(settings);
    HeadlessWindow& w = Open();
    EXPECT_EQ(form().hat_sn, c.read) << settings.size() << " lines";
    EXPECT_EQ(w.Checked(Control::CheckBox3), c.read != 0);
    w.Tick(Control::CheckBox3, c.saved != 0);
    EXPECT_EQ(form().hat_sn, c.saved);
    MarkSquare();
    w.Click(Control::Button3);
    w.Click(Control::Button1);
    ASSERT_TRUE(w.Closed());
    const std::vector<std::string> lines = SettingsLines();
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[14], std::to_string(c.saved));
  }
}

TEST_F(StartTest, OneIndicatedPointLeavesTheGridAsSaved) {
  std::string drawing(kSquare);
  drawing += "hp1 10 20\r\n";
  WriteDrawing(drawing);
  Open();
  EXPECT_EQ(form().grd, 0);
}

// Scale 1:100, grid spacing 10 paper units in the settings: lines every 10 paper units on the
// screen, and 10 again in the settings file after OK.
TEST_F(StartTest, GridSpacingIsPaperUnitsInTheFileAndOnTheScreen) {
  WriteDrawing(
      "hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc2\r\n"
      "0 0 10000 0\r\n10000 0 10000 10000\r\n10000 10000 0 10000\r\n0 10000 0 0\r\n");
  WriteSettings({"50", "50", "480", "480", "1", "10"});
  Open();
  EXPECT_DOUBLE_EQ(form().grdn, 1000);
  const int row = DrawToPixelY(view(), 55);  // between two grid rows
  for (double x : {10.0, 20.0, 90.0}) {
    EXPECT_EQ(window().Screen().GetPixel(DrawToPixelX(view(), x), row), 0xC0C0C0u) << x;
  }
  EXPECT_EQ(window().Screen().GetPixel(DrawToPixelX(view(), 15), row), 0xFFFFFFu);

  MarkSquare();
  window().Click(Control::Button3);
  window().Click(Control::Button1);
  ASSERT_TRUE(window().Closed());
  const std::vector<std::string> lines = SettingsLines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[5], "10");
}

TEST_F(StartTest, OkWritesTheDrawingWithTheHatchAndTheSettings) {
  WriteDrawing(kSquare);
  WriteSettings({"10", "20", "500", "400", "0", "2.5", "3", "4", "-1", "0", "1", "0", "1", "0"});
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Type(Control::Edit1, u"12.5");
  w.Type(Control::ComboBox4, u"30");
  w.Tick(Control::CheckBox2, true);
  w.Type(Control::Edit2, u"7");
  w.Type(Control::ComboBox5, u"-45");
  w.Select(Control::ComboBox1, 12);
  w.Click(Control::Button3);
  w.SetBounds({5, 6, 700, 650});
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());
  EXPECT_EQ(SettingsLines(),
            (std::vector<std::string>{"5", "6", "700", "650", "0", "2.5", "12", "4", "-1", "1",
                                      "12.5", "30", "7", "-45", "1"}));
  const std::string out = ReadFile("JWC_TEMP.TXT");
  EXPECT_EQ(out.substr(0, 4), "hd\r\n");
  // The hatch lines follow the square, in SXF colour 3 (list index 12).
  EXPECT_NE(out.find("lc103\r\n"), std::string::npos);
}

TEST_F(StartTest, OkWritesHdAndBzThenTheHostsEntitiesThenTheHatch) {
  WriteDrawing(
      "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nbz\r\nlg0\r\nly0\r\nlc2\r\n"
      "0 0 100 0\r\n100 0 100 100\r\n100 100 0 100\r\n0 100 0 0\r\n");
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Click(Control::Button3);
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());
  const std::string out = ReadFile("JWC_TEMP.TXT");
  EXPECT_EQ(out.substr(0, 8), "hd\r\nbz\r\n");
  const size_t last_side = out.find("0 100 0 0\r\n");
  ASSERT_NE(last_side, std::string::npos);
  // Every hatch line is written after the square, with its attribute flags.
  EXPECT_NE(out.find("z1\r\n", last_side), std::string::npos);
  EXPECT_EQ(out.find("z1\r\n"), out.find("z1\r\n", last_side));
}

TEST_F(StartTest, OkWithNothingAddedRefusesAndWritesNothing) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open();
  w.Click(Control::Button1);
  EXPECT_FALSE(w.Closed());
  ASSERT_EQ(w.Messages().size(), 1u);
  EXPECT_EQ(w.Messages()[0], u"作図していません。");
  EXPECT_FALSE(form().OKflag);
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), kSquare);
  EXPECT_FALSE(Exists("VardoHatch.dat"));
}

TEST_F(StartTest, RunDeleteOkRefusesBecauseTheCountersAreZeroAgain) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Click(Control::Button3);
  ASSERT_GT(form().AddLineN, 0);
  w.Key(KeyCode::Delete, false);
  w.Click(Control::Button1);
  EXPECT_FALSE(w.Closed());
  EXPECT_EQ(w.Messages().size(), 1u);
}

TEST_F(StartTest, ANegativeSpacingIsStoredAsOne) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open();
  MarkSquare();
  w.Click(Control::Button3);
  w.Type(Control::Edit1, u"-2");
  w.Type(Control::Edit2, u"abc");
  w.Click(Control::Button1);
  ASSERT_TRUE(w.Closed());
  const std::vector<std::string> lines = SettingsLines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[10], "1");
  EXPECT_EQ(lines[12], "1");
}

TEST_F(StartTest, CancelAndTheCloseBoxWriteNothing) {
  for (bool cancel : {true, false}) {
    WriteDrawing(kSquare);
    WriteSettings({"10", "20", "500", "400"});
    const std::string settings = ReadFile("VardoHatch.dat");
    HeadlessWindow& w = Open();
    MarkSquare();
    w.Click(Control::Button3);
    w.Type(Control::Edit1, u"5");
    if (cancel) {
      w.Click(Control::Button2);
    } else {
      w.CloseBox();
    }
    EXPECT_TRUE(w.Closed());
    EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), kSquare) << cancel;
    EXPECT_EQ(ReadFile("VardoHatch.dat"), settings) << cancel;
  }
}

TEST_F(StartTest, AMissingDrawingGivesAnEmptyDocument) {
  HeadlessWindow& w = Open();
  EXPECT_EQ(form().JG->EntN(), 0);
  EXPECT_GT(view().ViewScale, 0);
  EXPECT_EQ(w.GetText(Control::LabelN), u"線:0　点:0　円弧:0");
}

TEST_F(StartTest, EventsBeforeShowAndAfterCloseChangeNothing) {
  WriteDrawing(kSquare);
  HeadlessWindow& w = Open(400, 300, false);
  w.Press(kMouseLeft | kMouseRight, 10, 10);
  w.Release(200, 200);
  EXPECT_FALSE(w.Key(KeyCode::Home, false));
  w.Click(Control::Button3);
  EXPECT_EQ(form().JG, nullptr);
  w.Show();
  const ViewState fitted = view();
  w.Click(Control::Button2);
  w.Key(KeyCode::PageUp, false);
  w.Click(Control::Button3);
  EXPECT_EQ(view().ViewScale, fitted.ViewScale);
  EXPECT_EQ(form().JG, nullptr);
}

}  // namespace
}  // namespace vardo::test
