// Checked Win32 calls and the text conversions between the form's UTF-16 strings and the wide
// strings of the Windows API.
#pragma once

#include <windows.h>

#include <source_location>
#include <string>
#include <string_view>

namespace vardo {

// Reports a failed Win32 call with where it was made and GetLastError; the caller goes on as
// the program always does when the system refuses something: quietly, without the result.
void ReportWin32Failure(const char* what, DWORD error, const std::source_location& where);

// Passes the result of a Win32 call through, reporting it when it is zero, false or null.
template <typename T>
T Check(T result, const char* what,
        const std::source_location& where = std::source_location::current()) {
  if (!result) ReportWin32Failure(what, GetLastError(), where);
  return result;
}

// wchar_t is 16 bits on Windows, so a UTF-16 string is a wide string unit for unit.
inline std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string Utf16(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

// The text of any window: a caption, an edit's contents, the edit part of a combo box.
std::u16string WindowText(HWND hwnd);

}  // namespace vardo
