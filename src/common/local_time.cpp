// Local dates and times: now, a file's modification date, and the weekday of a date.
#include "common/local_time.h"

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "common/file_io.h"

namespace vardo {

namespace {

bool ToLocal(std::time_t t, LocalDateTime& out) {
  std::tm tm{};
#ifdef _WIN32
  if (localtime_s(&tm, &t) != 0) return false;
#else
  if (localtime_r(&t, &tm) == nullptr) return false;
#endif
  out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  return true;
}

}  // namespace

LocalDateTime LocalNow() {
  LocalDateTime now;
  ToLocal(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()), now);
  return now;
}

bool FileDate(std::u16string_view text, LocalDateTime& date) {
  const std::filesystem::path path = ToPath(text);
  if (!FileExists(path)) return false;
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(path, ec);
  if (ec) return false;
  const auto since_epoch = std::chrono::file_clock::to_sys(written).time_since_epoch();
  const auto seconds = std::chrono::floor<std::chrono::seconds>(since_epoch).count();
  if (!ToLocal(static_cast<std::time_t>(seconds), date)) return false;
  date.second -= date.second % 2;
  return true;
}

int DayOfWeek(int year, int month, int day) {
  // Days since 1970-01-01 (a Thursday) by the civil-from-days inverse, in 64 bits so that any
  // int input is safe.
  int64_t y = int64_t{year} + (int64_t{month} - 1) / 12;
  int64_t m = (int64_t{month} - 1) % 12;
  if (m < 0) {
    m += 12;
    --y;
  }
  m += 1;
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = era * 146097 + doe - 719468 + (int64_t{day} - 1);
  const int64_t weekday = (days + 4) % 7;
  return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

}  // namespace vardo
