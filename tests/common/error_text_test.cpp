// The system's reason for a failed write, as the user reads it: Japanese for the common causes,
// one line, never empty.
#include "common/error_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vardo {
namespace {

bool OneLine(const std::u16string& text) {
  return !text.empty() && text.find_first_of(u"\r\n") == std::u16string::npos &&
         text.back() != u' ';
}

#ifdef _WIN32

// The system's own messages: whatever language it has them in, one line each.
TEST(ErrorText, SystemMessagesOnOneLine) {
  for (DWORD code : {ERROR_DISK_FULL, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION,
                     ERROR_WRITE_PROTECT, ERROR_PATH_NOT_FOUND}) {
    const std::u16string text = ErrorText({static_cast<int>(code), std::system_category()});
    EXPECT_TRUE(OneLine(text)) << code;
  }
}

TEST(ErrorText, ACodeTheSystemDoesNotKnowIsNamedByNumber) {
  EXPECT_EQ(ErrorText({0x2FFFFFF0, std::system_category()}), u"エラー 805306352");
}

#else

struct ErrnoCase {
  int code;
  std::u16string_view text;
};

TEST(ErrorText, CommonCausesInJapanese) {
  const ErrnoCase cases[] = {
      {ENOSPC, u"ディスクの空き領域が不足しています。"},
      {EACCES, u"アクセスが拒否されました。"},
      {EPERM, u"この操作は許可されていません。"},
      {EROFS, u"読み取り専用のドライブです。"},
      {EBUSY, u"ファイルは他のプログラムが使用中です。"},
      {EISDIR, u"同じ名前のフォルダーがあります。"},
      {ENOENT, u"指定されたパスが見つかりません。"},
  };
  for (const ErrnoCase& c : cases) {
    EXPECT_EQ(ErrorText({c.code, std::generic_category()}), c.text) << c.code;
    EXPECT_EQ(ErrorText({c.code, std::system_category()}), c.text) << c.code;
  }
}

// Anything rarer gets the C library's words rather than nothing.
TEST(ErrorText, OtherCausesInTheLibrarysWords) {
  const std::u16string text = ErrorText({EXDEV, std::generic_category()});
  EXPECT_TRUE(OneLine(text));
  EXPECT_NE(text, u"同じ名前のフォルダーがあります。");
}

#endif

}  // namespace
}  // namespace vardo
