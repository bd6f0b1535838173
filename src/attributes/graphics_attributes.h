// Display attributes: screen colours, pen widths, point radii, layer states, monochrome display.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vardo {

// Screen colours are 0x00BBGGRR values, red in the low byte.
struct TdspColor {
  uint32_t color = 0;
  double width = 0.0;  // pen width, millimetres on paper
  double ten_r = 0.0;  // radius of a point entity, millimetres on paper
  bool operator==(const TdspColor&) const = default;
};

// Indexed by LGrp * 16 + Lay.
struct TdspLayer {
  int32_t sta = 0;  // 1 = normal
  double sca = 0.0;
  std::u16string gna;
  std::u16string nam;
  bool operator==(const TdspLayer&) const = default;
};

struct TdspLtype {
  int32_t seg = 0;  // pattern elements in use
  double amp = 0.0;
  std::array<double, 32> pa{};
  double pit = 0.0;
  bool operator==(const TdspLtype&) const = default;
};

class TgraAttribute {
 public:
  // Allocates the three tables and fills them with the defaults (DataInit).
  TgraAttribute();

  bool DispMode = false;   // false: the simplified display
  bool PrintMode = false;  // monochrome conversion
  int32_t Sikii0 = -1;     // black-or-white threshold; -1 = stage off
  int32_t Sikii1 = -1;     // white-to-black threshold for pen colours 1..9; -1 = stage off
  int32_t Sikii2 = -1;     // white-to-black threshold for SXF colours; -1 = stage off
  int32_t BkColor = 0;     // background scheme, 0 = white background
  uint32_t BackColor = 0xFFFFFF;
  uint32_t ForeColor = 0x000000;
  uint32_t GrayColor = 0x808080;
  bool DispHojo = false;
  bool DispKijun = false;
  std::vector<TdspLayer> dspLay;
  std::vector<TdspColor> dspCol;
  std::vector<TdspLtype> dspTyp;
  bool DisplayHatch = true;
  bool DisplayHasen = true;

  bool operator==(const TgraAttribute&) const = default;

  void SetDisplayMode(bool m) { DispMode = m; }
  bool GetDisplayMode() const { return DispMode; }
  void SetPrintMode(bool m, int32_t sk0, int32_t sk1, int32_t sk2);
  bool GetPrintMode(int32_t& sk0, int32_t& sk1, int32_t& sk2) const;
  // Only scheme 0 (white background, black foreground) exists; other numbers change nothing.
  void SetBackColor(int32_t n);
  int32_t GetBackColorNo() const { return BkColor; }
  uint32_t GetBackColor() const { return BackColor; }
  uint32_t GetForeColor() const { return ForeColor; }
  void SetGrayColor(uint32_t n) { GrayColor = n; }
  uint32_t GetGrayColor() const { return GrayColor; }
  void SetDispHojo(int32_t n) { DispHojo = n != 0; }
  int32_t GetDispHojo() const { return DispHojo ? 1 : 0; }
  void SetDispKijun(int32_t n) { DispKijun = n != 0; }
  int32_t GetDispKijun() const { return DispKijun ? 1 : 0; }

  void SetDefaultColor();
  void SetDefaultWidth();
  void SetDefaultTenR();
  void SetDefaultLayer();
  void SetDefaultLtype();
  // Resets modes, thresholds, colours and tables; leaves DispHojo and DispKijun as they are.
  void DataInit();

  // Screen colour of colour number jn after the monochrome conversion; BackColor when jn has
  // no entry.
  uint32_t GetAttrColcol(int32_t jn) const;
  // Pen width in mm of colour number jn; 0.0 when jn has no entry.
  double GetAttrColwid(int32_t jn) const;
  // Point radius in mm of colour number jn; 0.1 when jn has no entry.
  double GetAttrColten(int32_t jn) const;
  // State of layer index n; 1 for an index outside the table.
  int32_t GetAttrLayerState(int32_t n) const;

 private:
  // Entry of colour number jn: 1..9 give 0..8, 101..356 give 9..264, anything else -1.
  int32_t GetColIndex(int32_t jn) const;
};

// The start-up calls of the main form, shared with the command-line tools that draw without it.
void SetUpStartAttributes(TgraAttribute& attr);

}  // namespace vardo
