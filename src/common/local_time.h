// Local dates and times: now, a file's modification date, and the weekday of a date.
#pragma once

#include <string_view>

namespace vardo {

// A local date and time, to the second.
struct LocalDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const LocalDateTime&) const = default;
};

// The local time now.
LocalDateTime LocalNow();

// A file's modification time in local time, with the two-second resolution of file dates (odd
// seconds and fractions dropped). False when the file does not exist, has no usable time, or
// the text names no path this system can form (the drawing's own text, so anything goes).
bool FileDate(std::u16string_view path, LocalDateTime& date);

// Day of the week of a date in the proleptic Gregorian calendar, 0 = Sunday .. 6 = Saturday.
// Any year, month and day are accepted: the month is carried into the year and the day counts
// on from the first of the month.
int DayOfWeek(int year, int month, int day);

}  // namespace vardo
