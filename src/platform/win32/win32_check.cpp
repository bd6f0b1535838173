// Reporting failed Win32 calls, and reading window texts.
#include "platform/win32/win32_check.h"

#include <cstdio>
#include <vector>

namespace vardo {

void ReportWin32Failure(const char* what, DWORD error, const std::source_location& where) {
  char line[512];
  std::snprintf(line, sizeof line, "%s:%u: %s failed (error %lu)\n", where.file_name(),
                static_cast<unsigned>(where.line()), what, static_cast<unsigned long>(error));
  OutputDebugStringA(line);
  std::fputs(line, stderr);
}

std::u16string WindowText(HWND hwnd) {
  if (!hwnd) return {};
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  SetLastError(ERROR_SUCCESS);
  const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
  if (copied == 0 && GetLastError() != ERROR_SUCCESS) {
    ReportWin32Failure("GetWindowTextW", GetLastError(), std::source_location::current());
  }
  return Utf16(std::wstring_view(buffer.data(), static_cast<size_t>(copied)));
}

}  // namespace vardo
