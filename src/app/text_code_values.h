// The values the text substitution codes show: drawing name and date, fixed code texts, scale.
#pragma once

#include <string>
#include <string_view>

namespace vardo {

// A local date and time, to the second.
struct LocalDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const LocalDateTime&) const = default;
};

struct TextCodeValues {
  std::u16string ZumenName;  // the drawing file as the exchange file names it
  LocalDateTime ZumenDate;   // its modification time, or the start-up time
  std::u16string CodeTime = u"0:00";
  std::u16string CodeM1 = u"%m1";
  std::u16string CodeM2 = u"%m2";
  double ScaleNum = 1.0;
  double ScaleDen = 1.0;
};

// The local time now.
LocalDateTime LocalNow();

// A file's modification time in local time, with the two-second resolution of file dates (odd
// seconds and fractions dropped). False when the file does not exist, has no usable time, or
// the text names no path this system can form (the drawing's own text, so anything goes).
bool FileDate(std::u16string_view path, LocalDateTime& date);

}  // namespace vardo
