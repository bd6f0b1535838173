// Whole-text substitution codes: a text that is one code is drawn as the drawing's name, a date,
// an era date, the scale or a fixed string in its place.
#pragma once

#include <string>
#include <string_view>

#include "common/local_time.h"
#include "document/model.h"

namespace vardo {

// The values the codes show, set once at start-up by the form, which owns them.
struct TextCodeValues {
  std::u16string ZumenName;  // the drawing file as the exchange file names it
  LocalDateTime ZumenDate;   // its modification time, or the start-up time
  std::u16string CodeTime = u"0:00";
  std::u16string CodeM1 = u"%m1";
  std::u16string CodeM2 = u"%m2";
  double ScaleNum = 1.0;
  double ScaleDen = 1.0;
};

// The values as start-up sets them for a drawing: its file name, the file's date (the time now
// when there is no such file), and the scale of the current layer group.
TextCodeValues StartTextCodes(const TJGdata& doc);

// A text after its codes are applied.
struct ExpandedText {
  std::u16string text;
  double D = 0;            // the spacing, refitted by the widened date codes
  bool code_text = false;  // a code: drawn as one plain run, "^" included
};

// The text to draw for st, with character width B and spacing D (paper millimetres) as they
// are after the trailing markers. now is the moment the drawing counts as made at; the codes
// beginning "_" and "=" show values.ZumenDate instead. A text that is no code comes back as it
// is, not a code text.
ExpandedText ExpandTextCode(std::u16string_view st, double B, double D,
                            const TextCodeValues& values, const LocalDateTime& now);

}  // namespace vardo
