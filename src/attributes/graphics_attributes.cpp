// Display attributes: default tables, colour-number lookups and the monochrome conversion.
#include "attributes/graphics_attributes.h"

#include <cstddef>

namespace vardo {
namespace {

constexpr std::size_t kLayerCount = 256;  // 16 layer groups of 16 layers
constexpr std::size_t kColorCount = 265;  // 9 pen colours and 256 SXF colours
constexpr std::size_t kLtypeCount = 50;
constexpr int32_t kLastPenIndex = 8;

struct NumberedColor {
  int32_t number;
  uint32_t color;
};

// The white-background scheme; SXF-8 is white on paper and so black on a white screen.
constexpr NumberedColor kWhiteSchemeColors[] = {
    {1, 0xC0C000},   {2, 0x000000},   {3, 0x00C000},   {4, 0x00C0C0},   {5, 0xC000C0},
    {6, 0xFF0000},   {7, 0x808000},   {8, 0x8000FF},   {9, 0xFF80FF},   {101, 0x000000},
    {102, 0x0000FF}, {103, 0x00FF00}, {104, 0xFF0000}, {105, 0x00FFFF}, {106, 0xFF00FF},
    {107, 0xFFFF00}, {108, 0x000000}, {109, 0x8000C0}, {110, 0x4080C0}, {111, 0x0080FF},
    {112, 0x80C080}, {113, 0xFF8000}, {114, 0xFF4080}, {115, 0xC0C0C0}, {116, 0x808080},
};

// Pen colours 1..9; every other entry keeps the common default.
constexpr double kPenWidths[] = {0.1, 0.15, 0.2, 0.25, 0.3, 0.35, 0.4, 0.5, 0.01};
constexpr double kPenTenR[] = {0.2, 0.3, 0.4, 0.5, 0.5, 0.5, 0.5, 0.5, 0.2};
constexpr double kDefaultWidth = 0.18;
constexpr double kDefaultTenR = 0.2;

// Black-or-white stage: a channel that the threshold lifts past 255 saturates; only a colour
// saturated in all three channels stays white. 64-bit sums keep extreme thresholds exact.
bool Saturates(int64_t channel, int32_t sikii) {
  return channel == 255 || channel + sikii > 255;
}

uint32_t BlackOrWhite(int64_t r, int64_t g, int64_t b, int32_t sikii) {
  const bool white = Saturates(r, sikii) && Saturates(g, sikii) && Saturates(b, sikii);
  return white ? 0xFFFFFFu : 0x000000u;
}

// White-to-black stage: a colour this close to white would vanish on the white screen.
bool NearWhite(int64_t r, int64_t g, int64_t b, int32_t sikii) {
  return r + sikii >= 255 && g + sikii >= 255 && b + sikii >= 255;
}

}  // namespace

TgraAttribute::TgraAttribute() : dspLay(kLayerCount), dspCol(kColorCount), dspTyp(kLtypeCount) {
  DataInit();
}

void TgraAttribute::SetPrintMode(bool m, int32_t sk0, int32_t sk1, int32_t sk2) {
  PrintMode = m;
  Sikii0 = sk0;
  Sikii1 = sk1;
  Sikii2 = sk2;
}

bool TgraAttribute::GetPrintMode(int32_t& sk0, int32_t& sk1, int32_t& sk2) const {
  sk0 = Sikii0;
  sk1 = Sikii1;
  sk2 = Sikii2;
  return PrintMode;
}

void TgraAttribute::SetBackColor(int32_t n) {
  if (n != 0) return;
  BkColor = 0;
  BackColor = 0xFFFFFF;
  ForeColor = 0x000000;
}

void TgraAttribute::SetDefaultColor() {
  for (auto& c : dspCol)
    c.color = ForeColor;
  if (BkColor != 0) return;
  for (const auto& nc : kWhiteSchemeColors) {
    const int32_t i = GetColIndex(nc.number);
    if (i >= 0) dspCol[i].color = nc.color;
  }
}

void TgraAttribute::SetDefaultWidth() {
  for (auto& c : dspCol)
    c.width = kDefaultWidth;
  for (std::size_t i = 0; i < std::size(kPenWidths) && i < dspCol.size(); ++i) {
    dspCol[i].width = kPenWidths[i];
  }
}

void TgraAttribute::SetDefaultTenR() {
  for (auto& c : dspCol)
    c.ten_r = kDefaultTenR;
  for (std::size_t i = 0; i < std::size(kPenTenR) && i < dspCol.size(); ++i) {
    dspCol[i].ten_r = kPenTenR[i];
  }
}

void TgraAttribute::SetDefaultLayer() {
  for (auto& l : dspLay)
    l = TdspLayer{.sta = 1, .sca = 1.0, .gna = {}, .nam = {}};
}

// The simplified display draws every line type as a solid or dotted pen, so the patterns stay
// empty.
void TgraAttribute::SetDefaultLtype() {
  for (auto& t : dspTyp)
    t = TdspLtype{};
}

void TgraAttribute::DataInit() {
  DispMode = false;
  PrintMode = false;
  Sikii0 = -1;
  Sikii1 = -1;
  Sikii2 = -1;
  BkColor = 0;
  BackColor = 0xFFFFFF;
  ForeColor = 0x000000;
  GrayColor = 0x808080;
  SetDefaultLayer();
  SetDefaultColor();
  SetDefaultWidth();
  SetDefaultTenR();
  SetDefaultLtype();
  DisplayHatch = true;
  DisplayHasen = true;
}

uint32_t TgraAttribute::GetAttrColcol(int32_t jn) const {
  const int32_t i = GetColIndex(jn);
  if (i < 0) return BackColor;
  const uint32_t c = dspCol[i].color;
  if (!PrintMode) return c;
  const int32_t t = i <= kLastPenIndex ? Sikii1 : Sikii2;
  if (Sikii0 < 0 && t < 0) return c;

  int64_t r = c & 0xFF;
  int64_t g = (c >> 8) & 0xFF;
  int64_t b = (c >> 16) & 0xFF;
  uint32_t result = c;
  if (Sikii0 >= 0) {
    result = BlackOrWhite(r, g, b, Sikii0);
    r = g = b = result == 0 ? 0 : 255;
  }
  if (t >= 0 && NearWhite(r, g, b, t)) result = 0x000000;
  return result;
}

double TgraAttribute::GetAttrColwid(int32_t jn) const {
  const int32_t i = GetColIndex(jn);
  return i < 0 ? 0.0 : dspCol[i].width;
}

double TgraAttribute::GetAttrColten(int32_t jn) const {
  const int32_t i = GetColIndex(jn);
  return i < 0 ? 0.1 : dspCol[i].ten_r;
}

int32_t TgraAttribute::GetAttrLayerState(int32_t n) const {
  if (n < 0 || static_cast<std::size_t>(n) >= dspLay.size()) return 1;
  return dspLay[n].sta;
}

int32_t TgraAttribute::GetColIndex(int32_t jn) const {
  int32_t i = -1;
  if (jn >= 1 && jn <= 9) i = jn - 1;
  if (jn >= 101 && jn <= 356) i = jn - 92;
  if (i < 0 || static_cast<std::size_t>(i) >= dspCol.size()) return -1;
  return i;
}

void SetUpStartAttributes(TgraAttribute& attr) {
  attr.SetDisplayMode(false);
  attr.SetBackColor(0);
  attr.SetDefaultColor();
  attr.SetDefaultLtype();
  attr.SetDefaultLayer();
  attr.SetDefaultColor();
  attr.SetDefaultWidth();
  attr.SetDefaultTenR();
  attr.SetDispHojo(1);
  attr.SetGrayColor(0x808080);
  attr.SetDispKijun(0);
}

}  // namespace vardo
