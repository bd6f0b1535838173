// SaveTempFile: "hq" for an empty buffer, CR LF, the output encoding (UTF-8 with a
// byte-order mark, CP932, UTF-8 when CP932 lacks a character) and the atomic replacement.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::PathText;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Saves d's buffer into a new folder and answers the file's bytes.
std::string Saved(TJGdata& d) {
  TempDir dir;
  const auto file = dir.File("JWC_TEMP.TXT");
  EXPECT_TRUE(d.SaveTempFile(PathText(file)));
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"JWC_TEMP.TXT"});  // no temporary file left
  return ReadBytes(file);
}

TEST(SaveTempFile, EmptyBufferWritesHq) {
  TJGdata d;
  EXPECT_EQ(Saved(d), "hq\r\n");
  d.MojiCode = true;
  EXPECT_EQ(Saved(d), "\xEF\xBB\xBFhq\r\n");
}

TEST(SaveTempFile, EveryLineEndsWithCrLf) {
  TJGdata d;
  d.SendMem(u"hd");
  d.SendMem(u"");
  d.SendMem(u"0 0 1 1");
  EXPECT_EQ(Saved(d), "hd\r\n\r\n0 0 1 1\r\n");
}

TEST(SaveTempFile, AnsiCodePageIsCp932) {
  TJGdata d;
  d.SendMem(u"cn\"$<ＭＳ ゴシック>");
  d.SendMem(u"ch 0 0 1 0 \"寸法表示ソフト ｱｲｳ");
  EXPECT_EQ(
      Saved(d),
      "cn\"$<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>\r\n"
      "ch 0 0 1 0 \"\x90\xA1\x96\x40\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67 \xB1\xB2\xB3\r\n");
}

TEST(SaveTempFile, Utf8WhenTheInputWasUtf8) {
  TJGdata d;
  d.MojiCode = true;
  d.SendMem(u"ch 0 0 1 0 \"寸法 é");
  EXPECT_EQ(Saved(d),
            "\xEF\xBB\xBF"
            "ch 0 0 1 0 \"寸法 é\r\n");
}

TEST(SaveTempFile, WholeFileInUtf8WhenCp932LacksACharacter) {
  for (const std::u16string& text : {std::u16string(u"é"), std::u16string(u"한"),
                                     std::u16string(u"😀"), std::u16string(u"\xD800")}) {
    TJGdata d;
    d.SendMem(u"ch 0 0 1 0 \"寸法");  // encodable, but the whole file changes
    d.SendMem(u"ch 0 0 1 0 \"" + text);
    d.SendMem(u"lg0");
    std::string expected =
        "\xEF\xBB\xBF"
        "ch 0 0 1 0 \"寸法\r\nch 0 0 1 0 \"";
    expected += text == u"\xD800" ? "\xEF\xBF\xBD" : test::U8(text);  // a lone surrogate: U+FFFD
    expected += "\r\nlg0\r\n";
    EXPECT_EQ(Saved(d), expected) << test::U8(text);
  }
}

TEST(SaveTempFile, ReplacesAnExistingFile) {
  TempDir dir;
  const auto file = dir.File("JWC_TEMP.TXT");
  WriteBytes(file, std::string(100000, 'x'));
  TJGdata d;
  d.SendMem(u"hd");
  ASSERT_TRUE(d.SaveTempFile(PathText(file)));
  EXPECT_EQ(ReadBytes(file), "hd\r\n");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

TEST(SaveTempFile, LargeOutputIsComplete) {
  TJGdata d;
  std::string expected;
  for (int i = 0; i < 100000; ++i) {
    std::string line = "0 0 " + std::to_string(i) + " 1";
    d.SendMem(test::U16(line));
    expected += line + "\r\n";
  }
  EXPECT_EQ(Saved(d), expected);
}

TEST(SaveTempFile, MissingFolderFailsAndCreatesNothing) {
  TempDir dir;
  TJGdata d;
  d.SendMem(u"hd");
  EXPECT_FALSE(d.SaveTempFile(PathText(dir.File("no such folder") / "JWC_TEMP.TXT")));
  EXPECT_TRUE(dir.Names().empty());
}

TEST(SaveTempFile, ReadOnlyFolderFailsAndLeavesNoTemporaryFile) {
#ifdef _WIN32
  GTEST_SKIP() << "folder permissions are POSIX here";
#else
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempDir dir;
  const auto folder = dir.File("ro");
  std::filesystem::create_directory(folder);
  WriteBytes(folder / "JWC_TEMP.TXT", "old\r\n");
  std::filesystem::permissions(
      folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  TJGdata d;
  d.SendMem(u"hd");
  EXPECT_FALSE(d.SaveTempFile(PathText(folder / "JWC_TEMP.TXT")));
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  // The old file stays, and nothing was added.
  EXPECT_EQ(names, std::vector<std::string>{"JWC_TEMP.TXT"});
#endif
}

TEST(SaveTempFile, FailedWriteKeepsTheExistingTargetAndTellsWhy) {
  // The writer's temporary file sits beside the target with the suffix ".vardo-tmp"; a
  // non-empty folder of that name makes the temporary file impossible to create.
  TempDir dir;
  const auto file = dir.File("JWC_TEMP.TXT");
  WriteBytes(file, "old contents\r\n");
  const auto blocker = dir.File("JWC_TEMP.TXT.vardo-tmp");
  std::filesystem::create_directory(blocker);
  WriteBytes(blocker / "keep", "x");
  TJGdata d;
  d.SendMem(u"hd");
  std::error_code error;
  EXPECT_FALSE(d.SaveTempFile(PathText(file), &error));
  EXPECT_TRUE(error) << "no reason given";
  EXPECT_EQ(ReadBytes(file), "old contents\r\n");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"JWC_TEMP.TXT", "JWC_TEMP.TXT.vardo-tmp"}));
  EXPECT_EQ(ReadBytes(blocker / "keep"), "x");  // not ours: left alone
}

TEST(SaveTempFile, TargetThatIsAFolderFails) {
  TempDir dir;
  const auto target = dir.File("JWC_TEMP.TXT");
  std::filesystem::create_directory(target);
  WriteBytes(target / "inside", "x");  // a non-empty folder cannot be removed
  TJGdata d;
  d.SendMem(u"hd");
  EXPECT_FALSE(d.SaveTempFile(PathText(target)));
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"JWC_TEMP.TXT"});  // no temporary file left
  EXPECT_EQ(ReadBytes(target / "inside"), "x");
}

}  // namespace
}  // namespace vardo

namespace vardo {
namespace {

// A drawing read and set up as start-up does, with one hatch line in colour 5 and type 2.
TJGdata HatchedDrawing() {
  TJGdata d = test::Read("lg2\nly3\nlc4\nlt1\n0 0 1 0\nci 5 5 2\n");
  d.S_Init();
  d.A_LGrp(d.CurLGrp);
  d.A_Lay(d.CurLay);
  d.A_Col(5, 1);
  d.A_Ltp(2, 1);
  d.A_Attr(1);
  d.A_Line(0, 0, 10, 10);
  return d;
}

TEST(CommitTempFile, WritesHdTheEntitiesAndTheHostLayer) {
  TJGdata d = HatchedDrawing();
  EXPECT_EQ(test::FileLines(test::CommitBytes(d)),
            (std::vector<std::string>{"hd", "lg2", "ly3", "lc4", "lt1", "0 0 1 0", "ci 5 5 2",
                                      "lc5", "lt2", "z1", "0 0 10 10"}));
}

// A commit that could not be saved leaves the document as it was: the same commit again gives
// the same bytes, and a hatch line added meanwhile keeps the attributes set for it.
TEST(CommitTempFile, AFailedCommitCanBeMadeAgain) {
  TempDir dir;
  const auto file = dir.File("JWC_TEMP.TXT");
  WriteBytes(file, "host\r\n");
  const auto blocker = dir.File("JWC_TEMP.TXT.vardo-tmp");
  std::filesystem::create_directory(blocker);
  WriteBytes(blocker / "keep", "x");

  TJGdata d = HatchedDrawing();
  int saving = 0;
  std::error_code error;
  EXPECT_FALSE(d.CommitTempFile(
      PathText(file), {}, [&] { ++saving; }, &error));
  EXPECT_EQ(saving, 1);
  EXPECT_TRUE(error);
  EXPECT_EQ(ReadBytes(file), "host\r\n");
  EXPECT_EQ(d.t_MemN(), 0);

  d.A_Line(20, 20, 30, 30);
  std::filesystem::remove_all(blocker);
  ASSERT_TRUE(d.CommitTempFile(PathText(file)));
  TJGdata fresh = HatchedDrawing();
  fresh.A_Line(20, 20, 30, 30);
  EXPECT_EQ(ReadBytes(file), test::CommitBytes(fresh));
  EXPECT_EQ(test::FileLines(ReadBytes(file)).back(), "20 20 30 30");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

}  // namespace
}  // namespace vardo
