// The settings file VardoHatch.dat: one table of its lines, which defaults, reading and writing
// all follow.
#include <algorithm>
#include <type_traits>
#include <variant>
#include <vector>

#include "app/form.h"
#include "app/form_layout.h"
#include "app/text_lines_file.h"
#include "common/file_io.h"
#include "common/numbers.h"

namespace vardo {

namespace {

constexpr int kMinWindowSize = 320;

// One line of the file: the form's field it holds (an integer or a float) and the value the
// field takes when the line is missing.
struct SettingsLine {
  std::variant<int TForm1::*, double TForm1::*> field;
  double default_value;
};

// The lines in file order; integers are written with IntStr, floats with FloatStr.
const SettingsLine kSettingsLines[] = {
    {&TForm1::Fmx, 50},      // window left
    {&TForm1::Fmy, 50},      // window top
    {&TForm1::Fmw, 480},     // window width
    {&TForm1::Fmh, 480},     // window height
    {&TForm1::grd, 0},       // grid on (1) / off
    {&TForm1::grdn, 10.0},   // grid spacing in paper units
    {&TForm1::col, 0},       // line colour list index
    {&TForm1::ltp, 0},       // line type list index
    {&TForm1::wid, -1},      // line width setting
    {&TForm1::hat_cr, 0},    // cross hatch on (1) / off
    {&TForm1::hat_p1, 1.0},  // hatch spacing
    {&TForm1::hat_p2, 0.0},  // hatch angle in degrees
    {&TForm1::hat_p3, 1.0},  // cross-hatch spacing
    {&TForm1::hat_p4, 0.0},  // cross-hatch angle in degrees
    {&TForm1::hat_sn, 1},    // hatch ends moved onto the drawing's lines (1) / left on the pixels
};

template <typename Field>
constexpr bool kIsInteger = std::is_same_v<Field, int TForm1::*>;

void SetDefault(TForm1& form, const SettingsLine& line) {
  std::visit(
      [&](auto field) {
        if constexpr (kIsInteger<decltype(field)>) {
          form.*field = static_cast<int>(line.default_value);
        } else {
          form.*field = line.default_value;
        }
      },
      line.field);
}

void Parse(TForm1& form, const SettingsLine& line, std::u16string_view text) {
  std::visit(
      [&](auto field) {
        if constexpr (kIsInteger<decltype(field)>) {
          form.*field = ValInt(text);
        } else {
          form.*field = ValFloat(text);
        }
      },
      line.field);
}

std::u16string Format(const TForm1& form, const SettingsLine& line) {
  return std::visit(
      [&](auto field) {
        if constexpr (kIsInteger<decltype(field)>) {
          return IntStr(form.*field);
        } else {
          return FloatStr(form.*field);
        }
      },
      line.field);
}

// An index the list does not hold would reach the document as a colour or line-type code that
// does not exist (and overflow for huge values); such an index falls back to the first item.
int ListIndexOrFirst(int index, size_t count) {
  return (index >= 0 && static_cast<size_t>(index) < count) ? index : 0;
}

}  // namespace

void TForm1::SetDefaultSettings() {
  for (const SettingsLine& line : kSettingsLines)
    SetDefault(*this, line);
}

void TForm1::OpenDatFile() {
  SetDefaultSettings();
  grdx = 0, grdy = 0;

  const std::filesystem::path path = ToPath(DatFile);
  if (!FileExists(path)) return;
  std::vector<std::u16string> lines;
  if (!LoadTextLines(path, lines)) return;
  // Lines after the last one the table knows are ignored; missing lines keep their defaults.
  const size_t n = std::min(lines.size(), std::size(kSettingsLines));
  for (size_t i = 0; i < n; ++i)
    Parse(*this, kSettingsLines[i], lines[i]);
  if (Fmw < kMinWindowSize) Fmw = kMinWindowSize;
  if (Fmh < kMinWindowSize) Fmh = kMinWindowSize;
  col = ListIndexOrFirst(col, LineColourItems().size());
  ltp = ListIndexOrFirst(ltp, LineTypeItems().size());
}

void TForm1::SaveDatFile() {
  std::vector<std::u16string> lines;
  for (const SettingsLine& line : kSettingsLines)
    lines.push_back(Format(*this, line));
  // A failed save leaves no settings file (the next start takes the defaults), never a
  // half-written one.
  SaveTextLines(ToPath(DatFile), lines);
}

}  // namespace vardo
