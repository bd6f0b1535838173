// Whole-file reads and atomic writes: exact bytes, replacement, Unicode paths, failures.
#include "common/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/temp_folder.h"

namespace vardo {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;

// A fresh folder under the system's temporary folder, removed with its contents.
class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()) << "no temporary folder"; }

  // The (ASCII) names in the folder, sorted, for checking that no temporary file stays behind.
  std::string Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names)
      joined += name + ";";
    return joined;
  }

  TempFolder folder_{"vardo-io-"};
  const fs::path& dir_ = folder_.path();
};

// Bytes a text-mode stream would change on Windows: CR LF, a lone LF, Ctrl-Z, NUL.
constexpr std::string_view kTrickyBytes = "hd\r\nlc 1\n\x1A\0end\r"sv;

TEST_F(FileIoTest, WriteThenReadKeepsEveryByte) {
  const fs::path file = dir_ / "JWC_TEMP.TXT";
  ASSERT_TRUE(WriteFileAtomic(file, kTrickyBytes));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(file, bytes));
  EXPECT_EQ(bytes, kTrickyBytes);
  EXPECT_EQ(fs::file_size(file), kTrickyBytes.size());
}

TEST_F(FileIoTest, ReadsBeyondOneChunk) {
  std::string big(200000, 'x');
  for (size_t i = 0; i < big.size(); i += 997)
    big[i] = static_cast<char>(i % 251);
  const fs::path file = dir_ / "big.txt";
  ASSERT_TRUE(WriteFileAtomic(file, big));
  std::string bytes = "stale";
  ASSERT_TRUE(ReadFileBytes(file, bytes));
  EXPECT_TRUE(bytes == big) << "read " << bytes.size() << " of " << big.size() << " bytes";
}

TEST_F(FileIoTest, ReplacesExistingFileAndLeavesNoTemporary) {
  const fs::path file = dir_ / "out.txt";
  ASSERT_TRUE(WriteFileAtomic(file, "a much longer first version"));
  ASSERT_TRUE(WriteFileAtomic(file, "hq\r\n"));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(file, bytes));
  EXPECT_EQ(bytes, "hq\r\n");
  EXPECT_EQ(Listing(), "out.txt;");
}

TEST_F(FileIoTest, EmptyFile) {
  const fs::path file = dir_ / "empty.txt";
  ASSERT_TRUE(WriteFileAtomic(file, ""));
  EXPECT_TRUE(FileExists(file));
  std::string bytes = "stale";
  ASSERT_TRUE(ReadFileBytes(file, bytes));
  EXPECT_EQ(bytes, "");
}

// Paths arrive as UTF-16 text; Japanese names and a character outside the BMP must reach the
// file system intact, which on Windows means the wide-character calls.
TEST_F(FileIoTest, UnicodePathFromUtf16Text) {
  const std::u16string name = u"図面\U0002000B.txt";
  const fs::path file = dir_ / ToPath(name);
  EXPECT_EQ(file.filename().u16string(), name);
  ASSERT_TRUE(WriteFileAtomic(file, "ok"));
  EXPECT_TRUE(FileExists(file));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(file, bytes));
  EXPECT_EQ(bytes, "ok");
  ASSERT_TRUE(fs::directory_iterator(dir_) != fs::directory_iterator());
  EXPECT_EQ(fs::directory_iterator(dir_)->path().filename().u16string(), name);
}

TEST_F(FileIoTest, MissingFile) {
  const fs::path file = dir_ / "none.txt";
  EXPECT_FALSE(FileExists(file));
  std::string bytes = "stale";
  EXPECT_FALSE(ReadFileBytes(file, bytes));
  EXPECT_EQ(bytes, "");
}

TEST_F(FileIoTest, FolderIsNoFile) {
  EXPECT_FALSE(FileExists(dir_));
  std::string bytes = "stale";
  EXPECT_FALSE(ReadFileBytes(dir_, bytes));
  EXPECT_EQ(bytes, "");
}

TEST_F(FileIoTest, WriteIntoMissingFolderFailsAndCreatesNothing) {
  EXPECT_FALSE(WriteFileAtomic(dir_ / "no-such-folder" / "out.txt", "x"));
  EXPECT_EQ(Listing(), "");
}

// The rename is the step that fails when the target is a folder with contents: the temporary
// file must not be left behind.
TEST_F(FileIoTest, FailedReplaceLeavesNoTemporary) {
  const fs::path target = dir_ / "busy";
  fs::create_directory(target);
  ASSERT_TRUE(WriteFileAtomic(target / "inside.txt", "keep"));
  EXPECT_FALSE(WriteFileAtomic(target, "x"));
  EXPECT_EQ(Listing(), "busy;");
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(target / "inside.txt", bytes));
  EXPECT_EQ(bytes, "keep");
}

}  // namespace
}  // namespace vardo

namespace vardo {
namespace {

// Drawing file names come from the exchange file; a damaged one must name a missing file, not
// stop the program.
TEST(ToPath, LoneSurrogatesNeverThrow) {
  for (std::u16string name :
       {std::u16string(u"a\xD800.txt"), std::u16string(u"\xDC00"), std::u16string(u"x\xD83D")}) {
    std::filesystem::path p;
    EXPECT_NO_THROW(p = ToPath(name));
    EXPECT_FALSE(FileExists(p));
  }
  EXPECT_EQ(ToPath(u"\U0002000B.txt").u16string(), u"\U0002000B.txt");
}

}  // namespace
}  // namespace vardo
