// Local times for the text codes: now, and a file's modification date.
#include "app/text_code_values.h"

#include <chrono>
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

}  // namespace vardo
