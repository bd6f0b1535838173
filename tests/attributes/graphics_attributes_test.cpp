// Display attributes: default tables, colour-number lookups, monochrome stages, layer bounds.
#include "attributes/graphics_attributes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace vardo {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TgraAttribute StartedAttributes() {
  TgraAttribute a;
  SetUpStartAttributes(a);
  return a;
}

TEST(TgraAttribute, ConstructionAllocatesTablesAndInitialises) {
  TgraAttribute a;
  EXPECT_EQ(a.dspLay.size(), 256u);
  EXPECT_EQ(a.dspCol.size(), 265u);
  EXPECT_EQ(a.dspTyp.size(), 50u);
  EXPECT_FALSE(a.DispMode);
  EXPECT_FALSE(a.PrintMode);
  EXPECT_EQ(a.Sikii0, -1);
  EXPECT_EQ(a.Sikii1, -1);
  EXPECT_EQ(a.Sikii2, -1);
  EXPECT_EQ(a.BkColor, 0);
  EXPECT_EQ(a.BackColor, 0xFFFFFFu);
  EXPECT_EQ(a.ForeColor, 0x000000u);
  EXPECT_EQ(a.GrayColor, 0x808080u);
  EXPECT_FALSE(a.DispHojo);
  EXPECT_FALSE(a.DispKijun);
  EXPECT_TRUE(a.DisplayHatch);
  EXPECT_TRUE(a.DisplayHasen);
  for (const auto& l : a.dspLay)
    EXPECT_EQ(l.sta, 1);
  for (const auto& t : a.dspTyp)
    EXPECT_EQ(t.seg, 0);
}

TEST(TgraAttribute, StartUpSetsSwitchesAndKeepsTables) {
  const TgraAttribute fresh;
  const TgraAttribute a = StartedAttributes();
  EXPECT_FALSE(a.GetDisplayMode());
  EXPECT_EQ(a.GetBackColorNo(), 0);
  EXPECT_EQ(a.GetBackColor(), 0xFFFFFFu);
  EXPECT_EQ(a.GetForeColor(), 0x000000u);
  EXPECT_EQ(a.GetGrayColor(), 0x808080u);
  EXPECT_EQ(a.GetDispHojo(), 1);
  EXPECT_EQ(a.GetDispKijun(), 0);
  EXPECT_TRUE(a.DisplayHatch);
  EXPECT_TRUE(a.DisplayHasen);
  ASSERT_EQ(a.dspCol.size(), fresh.dspCol.size());
  for (std::size_t i = 0; i < a.dspCol.size(); ++i) {
    EXPECT_EQ(a.dspCol[i].color, fresh.dspCol[i].color) << "entry " << i;
    EXPECT_EQ(a.dspCol[i].width, fresh.dspCol[i].width) << "entry " << i;
    EXPECT_EQ(a.dspCol[i].ten_r, fresh.dspCol[i].ten_r) << "entry " << i;
  }
}

TEST(TgraAttribute, DefaultColourTable) {
  struct Case {
    int32_t number;
    uint32_t color;
  } cases[] = {
      {1, 0xC0C000},   {2, 0x000000},   {3, 0x00C000},   {4, 0x00C0C0},   {5, 0xC000C0},
      {6, 0xFF0000},   {7, 0x808000},   {8, 0x8000FF},   {9, 0xFF80FF},   {101, 0x000000},
      {102, 0x0000FF}, {103, 0x00FF00}, {104, 0xFF0000}, {105, 0x00FFFF}, {106, 0xFF00FF},
      {107, 0xFFFF00}, {108, 0x000000}, {109, 0x8000C0}, {110, 0x4080C0}, {111, 0x0080FF},
      {112, 0x80C080}, {113, 0xFF8000}, {114, 0xFF4080}, {115, 0xC0C0C0}, {116, 0x808080},
      {117, 0x000000}, {200, 0x000000}, {356, 0x000000},
  };
  const TgraAttribute a = StartedAttributes();
  for (const auto& c : cases)
    EXPECT_EQ(a.GetAttrColcol(c.number), c.color) << c.number;
}

TEST(TgraAttribute, SxfColoursWithoutOwnColourTakeForeColor) {
  TgraAttribute a = StartedAttributes();
  a.ForeColor = 0x123456;
  a.SetDefaultColor();
  for (int32_t n = 117; n <= 356; ++n)
    EXPECT_EQ(a.GetAttrColcol(n), 0x123456u) << n;
  EXPECT_EQ(a.GetAttrColcol(116), 0x808080u);
  EXPECT_EQ(a.GetAttrColcol(108), 0x000000u);
  EXPECT_EQ(a.GetAttrColcol(1), 0xC0C000u);
}

TEST(TgraAttribute, DefaultWidthsAndRadii) {
  struct Case {
    int32_t number;
    double width;
    double ten_r;
  } cases[] = {
      {1, 0.1, 0.2},  {2, 0.15, 0.3},   {3, 0.2, 0.4},    {4, 0.25, 0.5},
      {5, 0.3, 0.5},  {6, 0.35, 0.5},   {7, 0.4, 0.5},    {8, 0.5, 0.5},
      {9, 0.01, 0.2}, {101, 0.18, 0.2}, {117, 0.18, 0.2}, {356, 0.18, 0.2},
  };
  const TgraAttribute a = StartedAttributes();
  for (const auto& c : cases) {
    EXPECT_EQ(a.GetAttrColwid(c.number), c.width) << c.number;
    EXPECT_EQ(a.GetAttrColten(c.number), c.ten_r) << c.number;
  }
}

TEST(TgraAttribute, NumbersWithoutEntryGiveBackgroundAndFallbacks) {
  TgraAttribute a = StartedAttributes();
  for (int32_t n : {0, 10, 100, 357, -1, 92, kMin, kMax}) {
    EXPECT_EQ(a.GetAttrColcol(n), 0xFFFFFFu) << n;
    EXPECT_EQ(a.GetAttrColwid(n), 0.0) << n;
    EXPECT_EQ(a.GetAttrColten(n), 0.1) << n;
  }
  // The background is returned as it is, never passed through the monochrome conversion.
  a.BackColor = 0x00FF00;
  a.SetPrintMode(true, 0, 0, 0);
  EXPECT_EQ(a.GetAttrColcol(10), 0x00FF00u);
}

TEST(TgraAttribute, ColourNumbersReachTheirEntries) {
  struct Case {
    int32_t number;
    std::size_t index;
  } cases[] = {{1, 0}, {9, 8}, {101, 9}, {117, 25}, {356, 264}};
  TgraAttribute a = StartedAttributes();
  for (const auto& c : cases) {
    a.dspCol[c.index] = TdspColor{.color = 0x010203, .width = 1.25, .ten_r = 2.5};
    EXPECT_EQ(a.GetAttrColcol(c.number), 0x010203u) << c.number;
    EXPECT_EQ(a.GetAttrColwid(c.number), 1.25) << c.number;
    EXPECT_EQ(a.GetAttrColten(c.number), 2.5) << c.number;
  }
}

TEST(TgraAttribute, MonochromeCheckBoxTurnsEveryTableColourBlack) {
  TgraAttribute a = StartedAttributes();
  a.SetPrintMode(true, 0, 0, 0);
  for (int32_t n : {1, 108, 115})
    EXPECT_EQ(a.GetAttrColcol(n), 0x000000u) << n;
  for (int32_t n = 1; n <= 9; ++n)
    EXPECT_EQ(a.GetAttrColcol(n), 0x000000u) << n;
  for (int32_t n = 101; n <= 356; ++n)
    EXPECT_EQ(a.GetAttrColcol(n), 0x000000u) << n;
  a.dspCol[0].color = 0xFFFFFF;
  EXPECT_EQ(a.GetAttrColcol(1), 0x000000u);  // white stays white, then goes black
  a.SetPrintMode(false, 0, 0, 0);
  EXPECT_EQ(a.GetAttrColcol(8), 0x8000FFu);
  EXPECT_EQ(a.GetAttrColcol(1), 0xFFFFFFu);
}

TEST(TgraAttribute, MonochromeStages) {
  struct Case {
    const char* what;
    int32_t number;
    uint32_t color;
    int32_t sk0, sk1, sk2;
    uint32_t result;
  } cases[] = {
      {"all stages off", 1, 0xC0C0C0, -1, -1, -1, 0xC0C0C0},
      {"pen colour ignores Sikii2", 9, 0xC0C0C0, -1, -1, 100, 0xC0C0C0},
      {"SXF colour ignores Sikii1", 101, 0xC0C0C0, -1, 100, -1, 0xC0C0C0},
      {"lifted past 255 saturates", 1, 0xC0C0C0, 64, -1, -1, 0xFFFFFF},
      {"reaching 255 does not", 1, 0xC0C0C0, 63, -1, -1, 0x000000},
      {"white stays white", 1, 0xFFFFFF, 0, -1, -1, 0xFFFFFF},
      {"one channel short is black", 1, 0x00FFFF, 0, -1, -1, 0x000000},
      {"huge threshold whitens", 115, 0x000000, kMax, -1, -1, 0xFFFFFF},
      {"near white goes black", 9, 0xC0C0C0, -1, 63, -1, 0x000000},
      {"short of white stays", 9, 0xC0C0C0, -1, 62, -1, 0xC0C0C0},
      {"one channel short stays", 101, 0xC0C0BF, -1, -1, 63, 0xC0C0BF},
      {"SXF near white goes black", 101, 0xC0C0C0, -1, -1, 63, 0x000000},
      {"huge threshold blackens", 356, 0x010203, -1, -1, kMax, 0x000000},
      {"black after stage one stays", 1, 0x808080, 0, 254, -1, 0x000000},
      {"stage two sees stage one's white", 1, 0xC0C0C0, 64, 0, -1, 0x000000},
  };
  for (const auto& c : cases) {
    TgraAttribute a = StartedAttributes();
    const int32_t i = c.number <= 9 ? c.number - 1 : c.number - 92;
    a.dspCol[i].color = c.color;
    a.SetPrintMode(true, c.sk0, c.sk1, c.sk2);
    EXPECT_EQ(a.GetAttrColcol(c.number), c.result) << c.what;
  }
}

TEST(TgraAttribute, PrintModeRoundTrip) {
  TgraAttribute a;
  a.SetPrintMode(true, 7, -1, kMin);
  int32_t sk0 = 0, sk1 = 0, sk2 = 0;
  EXPECT_TRUE(a.GetPrintMode(sk0, sk1, sk2));
  EXPECT_EQ(sk0, 7);
  EXPECT_EQ(sk1, -1);
  EXPECT_EQ(sk2, kMin);
  a.SetPrintMode(false, 0, 1, 2);
  EXPECT_FALSE(a.GetPrintMode(sk0, sk1, sk2));
  EXPECT_EQ(sk0, 0);
  EXPECT_EQ(sk1, 1);
  EXPECT_EQ(sk2, 2);
}

TEST(TgraAttribute, LayerStateInsideAndOutsideTable) {
  TgraAttribute a = StartedAttributes();
  a.dspLay[0].sta = 3;
  a.dspLay[255].sta = 2;
  struct Case {
    int32_t index;
    int32_t state;
  } cases[] = {{0, 3}, {255, 2}, {17, 1}, {-1, 1}, {256, 1}, {kMin, 1}, {kMax, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(a.GetAttrLayerState(c.index), c.state) << c.index;
}

TEST(TgraAttribute, SwitchesStoreNonZeroAsOne) {
  TgraAttribute a;
  struct Case {
    int32_t n;
    int32_t stored;
  } cases[] = {{0, 0}, {1, 1}, {5, 1}, {-1, 1}, {kMin, 1}};
  for (const auto& c : cases) {
    a.SetDispHojo(c.n);
    a.SetDispKijun(c.n);
    EXPECT_EQ(a.GetDispHojo(), c.stored) << c.n;
    EXPECT_EQ(a.GetDispKijun(), c.stored) << c.n;
  }
  a.SetDisplayMode(true);
  EXPECT_TRUE(a.GetDisplayMode());
  a.SetGrayColor(0x404040);
  EXPECT_EQ(a.GetGrayColor(), 0x404040u);
}

TEST(TgraAttribute, OnlyWhiteBackgroundSchemeIsSelectable) {
  TgraAttribute a;
  a.BkColor = 0;
  a.BackColor = 0x111111;
  a.ForeColor = 0x222222;
  a.SetBackColor(3);
  EXPECT_EQ(a.GetBackColorNo(), 0);
  EXPECT_EQ(a.GetBackColor(), 0x111111u);
  EXPECT_EQ(a.GetForeColor(), 0x222222u);
  a.SetBackColor(0);
  EXPECT_EQ(a.GetBackColor(), 0xFFFFFFu);
  EXPECT_EQ(a.GetForeColor(), 0x000000u);
}

TEST(TgraAttribute, OtherSchemeLeavesEveryColourForeground) {
  TgraAttribute a;
  a.BkColor = 1;
  a.ForeColor = 0xABCDEF;
  a.SetDefaultColor();
  for (int32_t n : {1, 8, 101, 115, 356})
    EXPECT_EQ(a.GetAttrColcol(n), 0xABCDEFu) << n;
}

TEST(TgraAttribute, DataInitRestoresDefaultsButKeepsDisplaySwitches) {
  TgraAttribute a = StartedAttributes();
  a.SetPrintMode(true, 1, 2, 3);
  a.SetDisplayMode(true);
  a.GrayColor = 0;
  a.DisplayHatch = false;
  a.DisplayHasen = false;
  a.dspCol[0] = TdspColor{.color = 0x010101, .width = 9.0, .ten_r = 9.0};
  a.dspLay[5].sta = 3;
  a.dspTyp[2].seg = 4;
  a.DataInit();
  int32_t sk0 = 0, sk1 = 0, sk2 = 0;
  EXPECT_FALSE(a.GetPrintMode(sk0, sk1, sk2));
  EXPECT_EQ(sk0, -1);
  EXPECT_EQ(sk1, -1);
  EXPECT_EQ(sk2, -1);
  EXPECT_FALSE(a.GetDisplayMode());
  EXPECT_EQ(a.GetGrayColor(), 0x808080u);
  EXPECT_TRUE(a.DisplayHatch);
  EXPECT_TRUE(a.DisplayHasen);
  EXPECT_EQ(a.GetAttrColcol(1), 0xC0C000u);
  EXPECT_EQ(a.GetAttrColwid(1), 0.1);
  EXPECT_EQ(a.GetAttrColten(1), 0.2);
  EXPECT_EQ(a.GetAttrLayerState(5), 1);
  EXPECT_EQ(a.dspTyp[2].seg, 0);
  EXPECT_EQ(a.GetDispHojo(), 1);
}

}  // namespace
}  // namespace vardo
