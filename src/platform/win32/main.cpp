// VardoHatch.exe: the main window over the exchange file beside the program, until it closes.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_check.h"
#include "platform/win32/win32_window.h"

namespace {

// The program file's full path, however long.
std::u16string ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n =
        vardo::Check(GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())),
                     "GetModuleFileNameW");
    if (n == 0) return {};
    if (n < buffer.size()) return vardo::Utf16(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vardo::Win32Window window(ProgramPath());
  if (!window.Handle()) return 1;
  window.Show();
  window.Run();
  return 0;
}
