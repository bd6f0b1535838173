// The system's reason for a failed file operation, as a Japanese sentence for the user.
#include "common/error_text.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vardo {

namespace {

struct ErrnoText {
  int code;
  std::u16string_view text;
};

// The reasons a user meets when a file cannot be written.
constexpr ErrnoText kErrnoTexts[] = {
    {ENOSPC, u"ディスクの空き領域が不足しています。"},
#ifdef EDQUOT
    {EDQUOT, u"ディスクの使用量の上限を超えています。"},
#endif
    {EACCES, u"アクセスが拒否されました。"},
    {EPERM, u"この操作は許可されていません。"},
    {EROFS, u"読み取り専用のドライブです。"},
    {EBUSY, u"ファイルは他のプログラムが使用中です。"},
    {ETXTBSY, u"ファイルは他のプログラムが使用中です。"},
    {EISDIR, u"同じ名前のフォルダーがあります。"},
    {ENOTDIR, u"パスの途中にフォルダーではないものがあります。"},
    {ENOENT, u"指定されたパスが見つかりません。"},
    {ENAMETOOLONG, u"ファイル名が長すぎます。"},
    {EFBIG, u"ファイルが大きすぎます。"},
    {EIO, u"入出力エラーが発生しました。"},
    {EMFILE, u"開いているファイルが多すぎます。"},
    {ENFILE, u"開いているファイルが多すぎます。"},
    {ENOMEM, u"メモリが不足しています。"},
};

// The text ends at its first line end or the trailing blanks before it.
std::u16string OneLine(std::u16string text) {
  const size_t end = text.find_first_of(u"\r\n");
  if (end != std::u16string::npos) text.resize(end);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t'))
    text.pop_back();
  return text;
}

std::u16string ErrnoTextOf(int code) {
  for (const ErrnoText& e : kErrnoTexts) {
    if (e.code == code) return std::u16string(e.text);
  }
  // The program never sets a locale, so the C library answers in the "C" locale: ASCII.
  const char* text = std::strerror(code);
  std::u16string out;
  for (const char* p = text; p && *p; ++p)
    out.push_back(static_cast<unsigned char>(*p) < 0x80 ? static_cast<char16_t>(*p) : u'?');
  return OneLine(out);
}

#ifdef _WIN32
// The system's message for a Win32 error code in one language; empty when it has none there.
std::u16string SystemMessage(DWORD code, DWORD language) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, language, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text(buffer, buffer + n);
  LocalFree(buffer);
  return OneLine(text);
}
#endif

}  // namespace

std::u16string ErrorText(const std::error_code& error) {
#ifdef _WIN32
  if (error.category() == std::system_category()) {
    const DWORD code = static_cast<DWORD>(error.value());
    std::u16string text = SystemMessage(code, MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    if (text.empty()) text = SystemMessage(code, 0);
    if (!text.empty()) return text;
    const std::string number = std::to_string(code);
    return u"エラー " + std::u16string(number.begin(), number.end());
  }
#endif
  return ErrnoTextOf(error.value());
}

}  // namespace vardo
