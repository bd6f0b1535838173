// Exchange-file writer, whole drawings: S_EntAll's order and change-only attribute
// commands, "bz", blocks, degenerate entities, the stop poll, the overrides a1..a8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/model.h"
#include "document_test_util.h"

namespace vardo {
namespace {

using test::Joined;
using test::OutLines;
using test::Read;
using Lines = std::vector<std::string>;

// The lines of the file a commit writes.
Lines Commit(TJGdata& d, const StopPoll& stop = {}) {
  return test::FileLines(test::CommitBytes(d, stop));
}

Lines CommitOf(std::string_view file) {
  TJGdata d = Read(file);
  return Commit(d);
}

// Every entity kind, with attribute changes between them.
constexpr std::string_view kAllKinds =
    "lg1\nly2\nlc3\nlt4\nlw1\n"
    "z1\n0 0 100 0\n"
    "0 100 100 100\n"
    "ci 50 50 10\n"
    "lc5\nci 50 50 20 0 90 0.5 30\n"
    "pn6\npt 1 2\n"
    "pt 3 4 1.5 45 2\n"
    "cn3\ncc4\ncn\"$<Font A>\n"
    "ch 10 20 5 0 \"Hello  world\n"
    "cn0 2.5 2.5 0 2\n"
    "cv 10 30 0 5 \"V\n"
    "msg\n0 -10 100 -10\ncs 40 -12 1 0 \"100\n"
    "lc10 255\n"
    "sl 0 0 10 0\n"
    "sl 0 0 10 0 10 10\n"
    "sl 0 0 10 0 10 10 0 10\n"
    "sc 0 0 5 1 0 0 3.14159 0\n"
    "se 0 0 5 1 0 0 3.14159 100\n"
    "so 0 0 5 1 0 0 3.14159 2\n"
    "sg 0 0 5 1 0 0 3.14159 2\n"
    "BL 5 5 blockname\n"
    "ly3\nlg0\nz2\n0 0 1 1\n";

// clang-format off
const Lines kAllKindsWritten = {
    "hd",
    "lg1", "ly2", "lc3", "lt4", "lw1",  // first-time flags force every command once
    "z1", "0 0 100 0",
    "0 100 100 100",  // unchanged attributes: nothing before it
    "ci 50 50 10",
    "lc5", "ci 50 50 20 0 90 0.5 30",
    "pn6", "pt 1 2",
    "pt 3 4 1.5 45 2",
    "cn3", "cc4", "cn\"$<Font A>", "ch 10 20 5 0 \"Hello  world",
    "cn0 2.5 2.5 0 2", "cv 10 30 0 5 \"V",
    "msg", "0 -10 100 -10", "cs 40 -12 1 0 \"100",
    "lc10 255", "sl 0 0 10 0",
    "sl 0 0 10 0 10 10",
    "sl 0 0 10 0 10 10 0 10",
    "sc 0 0 5 1 0 0 3.14159 0",
    "se 0 0 5 1 0 0 3.14159 100",
    "so 0 0 5 1 0 0 3.14159 2",
    "sg 0 0 5 1 0 0 3.14159 2",
    // The block is not written. The last line has colour 10, already current.
    "lg0", "ly3", "z2", "0 0 1 1",
    "lg1", "ly2",  // the host's layer group and layer close the output
};
// clang-format on

TEST(WriterEntAll, EveryKindInTheSpecifiedOrder) {
  EXPECT_EQ(Joined(CommitOf(kAllKinds)), Joined(kAllKindsWritten));
}

TEST(WriterEntAll, EmptyDocumentWritesTheHostLayer) {
  EXPECT_EQ(CommitOf(""), (Lines{"hd", "lg0", "ly0"}));
  EXPECT_EQ(CommitOf("lg3\nly4\nlg5\nly6\n"), (Lines{"hd", "lg3", "ly4"}));
  EXPECT_EQ(CommitOf("lgc\nlyd\n"), (Lines{"hd", "lgC", "lyD"}));
}

TEST(WriterEntAll, PaperUnitsFirst) {
  EXPECT_EQ(CommitOf("bz\n"), (Lines{"hd", "bz", "lg0", "ly0"}));
  EXPECT_EQ(CommitOf("bz\n0 0 1 1\n"), (Lines{"hd", "bz", "lg0", "ly0", "lc1", "lt1", "0 0 1 1"}));
}

TEST(WriterEntAll, TwoLinesWithTheSameAttributes) {
  EXPECT_EQ(CommitOf("0 0 1 1\n1 1 2 2\n"),
            (Lines{"hd", "lg0", "ly0", "lc1", "lt1", "0 0 1 1", "1 1 2 2"}));
  EXPECT_EQ(CommitOf("lw0\n0 0 1 1\n1 1 2 2\n"),
            (Lines{"hd", "lg0", "ly0", "lc1", "lt1", "lw0", "0 0 1 1", "1 1 2 2"}));
  // Each with its own attribute bits.
  EXPECT_EQ(CommitOf("z1\n0 0 1 1\nz4\nz5\n1 1 2 2\n"),
            (Lines{"hd", "lg0", "ly0", "lc1", "lt1", "z1", "0 0 1 1", "z5", "1 1 2 2"}));
}

TEST(WriterEntAll, LayerAlwaysFollowsTheLayerGroup) {
  EXPECT_EQ(CommitOf("lg1\nly5\n0 0 1 1\nlg2\n0 0 2 2\nlg1\n0 0 3 3\n"),
            (Lines{"hd", "lg1", "ly5", "lc1", "lt1", "0 0 1 1", "lg2", "ly5", "0 0 2 2", "lg1",
                   "ly5", "0 0 3 3"}));
}

TEST(WriterEntAll, WidthsOnlyWhenTheFileHadThem) {
  TJGdata d = Read("0 0 1 1\n");
  d.EntLine[0].att.Wid = 5;
  EXPECT_EQ(Commit(d), (Lines{"hd", "lg0", "ly0", "lc1", "lt1", "0 0 1 1"}));
  // Points, marks, two-point solids and "se" solids write widths; the other solids do not.
  EXPECT_EQ(
      CommitOf("lw2\npt 1 1\nlw3\npt 1 1 1 0 1\nlw4\nsl 0 0 1 1\nlw5\nsl 0 0 1 0 1 1\n"
               "lw6\nse 0 0 1 1 0 0 1 0\nlw7\nsc 0 0 1 1 0 0 1 0\n"),
      (Lines{"hd", "lg0", "ly0", "pn1", "lw2", "pt 1 1", "lw3", "pt 1 1 1 0 1", "lc1", "lw4",
             "sl 0 0 1 1", "sl 0 0 1 0 1 1", "lw6", "se 0 0 1 1 0 0 1 0", "sc 0 0 1 1 0 0 1 0"}));
}

TEST(WriterEntAll, TextStylesAndFonts) {
  // Style 3: "cn3" and no colour; explicit size 2.5 x 2.5, spacing 0, colour 2: "cn0 2.5 2.5 0 2".
  EXPECT_EQ(CommitOf("cn3\nch 0 0 1 0 \"a\ncn0 2.5 2.5 0 2\nch 0 0 1 0 \"b\n"),
            (Lines{"hd", "lg0", "ly0", "cn3", "cc0", "cn\"$<ＭＳ ゴシック>", "ch 0 0 1 0 \"a",
                   "cn0 2.5 2.5 0 2", "ch 0 0 1 0 \"b"}));
  // A text whose font is empty is written with the host's font.
  TJGdata d = Read("cn\"$<host>\nch 0 0 1 0 \"a\n");
  d.EntText[0].fo.clear();
  d.CurFont = u"<other>";
  EXPECT_EQ(Commit(d), (Lines{"hd", "lg0", "ly0", "cn1", "cc0", "cn\"$<other>", "ch 0 0 1 0 \"a"}));
}

TEST(WriterEntAll, DimensionWithEmptyTextWritesTheLength) {
  EXPECT_EQ(CommitOf("msg\n0 0 100 0\ncs 0 0 1 0 \"\n"),
            (Lines{"hd", "lg0", "ly0", "lc1", "lt1", "cn1", "cc0", "cn\"$<ＭＳ ゴシック>", "msg",
                   "0 0 100 0", "cs 0 0 1 0 \"100"}));
}

TEST(WriterEntAll, DimensionAttributesComeFromLineTextAndItself) {
  TJGdata d = Read("msg\nlc4\nlt2\nz1\n0 0 100 0\nlc5\nz2\ncc3\ncs 0 0 1 0 \"x\n");
  EXPECT_EQ(Commit(d), (Lines{"hd", "lg0", "ly0", "lc4", "lt2", "cn1", "cc3",
                              "cn\"$<ＭＳ ゴシック>", "z2", "msg", "0 0 100 0", "cs 0 0 1 0 \"x"}));
}

TEST(WriterEntAll, SolidColourOrLineColour) {
  EXPECT_EQ(CommitOf("lc10 255\nsl 0 0 1 1\nlc10 65280\nsl 0 0 2 2\nlc3\nsl 0 0 3 3\n"
                     "lc10\nsl 0 0 4 4\n"),
            (Lines{"hd", "lg0", "ly0", "lc10 255", "sl 0 0 1 1", "lc10 65280", "sl 0 0 2 2", "lc3",
                   "sl 0 0 3 3", "lc10 65280", "sl 0 0 4 4"}));
  // An RGB value out of range is written as 0.
  TJGdata d = Read("lc10 255\nsl 0 0 1 1\n");
  d.EntSld2[0].Color = -5;
  EXPECT_EQ(Commit(d), (Lines{"hd", "lg0", "ly0", "lc10 0", "sl 0 0 1 1"}));
}

TEST(WriterEntAll, BlocksAreNotWritten) {
  EXPECT_EQ(CommitOf("lg2\nBL 1 1 b\n"), (Lines{"hd", "lg2", "ly0"}));
}

TEST(WriterEntAll, DegenerateEntitiesWriteNothingAtAll) {
  // The entity's attribute bits are not attached to the next entity, and its attribute commands
  // are not written either. ("sl" with a third corner 1e-11 from the first is four corners to
  // the reader, whose tolerance is 1e-12, and P3 = P1 to the writer, whose tolerance is 1e-10.)
  for (const char* entity :
       {"5 5 5 5", "ci 0 0 0", "ci 0 0 1 0 90 0 0", "ch 0 0 1 0 \" \xE3\x80\x80", "ch 0 0 0 0 \"t",
        "msg\n1 1 1 1\ncs 0 0 1 0 \"x", "msg\n0 0 1 1\ncs 0 0 0 0 \"x", "sl 1 1 1 1",
        "sl 0 0 1 0 0 0", "sl 0 0 1 0 1e-11 0 1 1", "sc 0 0 1 1 0 0 1 1", "se 0 0 1 1 0 0 1 5",
        "so 0 0 1 1 0 0 1 1", "sg 0 0 1 1 0 0 1 0"}) {
    SCOPED_TRACE(entity);
    std::string file =
        "\xEF\xBB\xBF"
        "lg5\nlc7\nlt3\ncn5\ncc2\ncn\"$<f>\nz1\n";
    file += entity;
    file += "\nlg0\nlc1\nlt1\n0 0 1 1\n";
    EXPECT_EQ(CommitOf(file), (Lines{"hd", "lg0", "ly0", "lc1", "lt1", "0 0 1 1", "lg5", "ly0"}));
  }
}

TEST(WriterEntAll, HatchLineAddedByTheShell) {
  TJGdata d = Read("lg2\nly3\nlc4\n0 0 1 0\n");
  d.S_Init();
  d.A_LGrp(d.CurLGrp);
  d.A_Lay(d.CurLay);
  d.A_Col(5, 1);
  d.A_PCol(5, 1);
  d.A_Ltp(1, 1);
  d.A_Attr(1);
  d.A_Line(0, 0, 10, 10);
  d.A_Line(5, 5, 5 + 1e-11, 5);  // dropped by A_Line
  test::TempDir dir;
  ASSERT_TRUE(d.CommitTempFile(test::PathText(dir.File("JWC_TEMP.TXT"))));
  EXPECT_EQ(test::FileLines(test::ReadBytes(dir.File("JWC_TEMP.TXT"))),
            (Lines{"hd", "lg2", "ly3", "lc4", "lt1", "0 0 1 0", "lc5", "z1", "0 0 10 10"}));
}

// --- the stop poll ---

std::string ManyLines(int n) {
  std::string file;
  for (int i = 0; i < n; ++i)
    file += "0 0 " + std::to_string(i + 1) + " 0\n";
  return file;
}

TEST(WriterEntAll, StopIsPolledEveryHundredEntities) {
  TJGdata d = Read(ManyLines(250));
  std::vector<int> seen;
  Lines lines = Commit(d, [&] {
    seen.push_back(d.t_MemN());
    return false;
  });
  EXPECT_EQ(seen.size(), 3u);  // at entities 0, 100 and 200
  ASSERT_EQ(lines.size(), 5u + 250u);
  EXPECT_EQ(seen[0], 1);            // "hd" only
  EXPECT_EQ(seen[1], 1 + 4 + 100);  // hd, lg, ly, lc, lt and 100 lines
}

TEST(WriterEntAll, StopAtTheStartLeavesOnlyTheClosingLayer) {
  TJGdata d = Read("lg3\nly4\n" + ManyLines(5));
  EXPECT_EQ(Commit(d, [] { return true; }), (Lines{"lg3", "ly4"}));  // "hd" gone too
}

TEST(WriterEntAll, StopLaterEmptiesTheBufferAndMayLeaveItEmpty) {
  TJGdata d = Read(ManyLines(250));
  int calls = 0;
  EXPECT_EQ(Commit(d, [&] { return ++calls == 2; }), Lines{"hq"});
  EXPECT_EQ(calls, 2);
  // A host layer that differs from the last one written is still appended.
  TJGdata e = Read("lg3\nly4\nlg0\nly0\n" + ManyLines(150));
  calls = 0;
  EXPECT_EQ(Commit(e, [&] { return ++calls == 2; }), (Lines{"lg3", "ly4"}));
}

// --- overrides ---

TEST(WriterEntAll, OverridesReplaceTheEntitiesOwnValues) {
  TJGdata d =
      Read("lw1\nlg1\nly1\nlc1\nlt1\n0 0 1 1\nch 0 0 1 0 \"t\npt 1 1\nlc10 255\nsl 0 0 1 1\n");
  d.S_Init();
  d.S_EntAll(3, 4, 5, 6, 2, -1, 7, 0);
  EXPECT_EQ(OutLines(d), (Lines{"lg3", "ly4", "lc5", "lt6", "lw2", "0 0 1 1", "cn1", "cc7",
                                "cn\"$<ＭＳ ゴシック>", "ch 0 0 1 0 \"t", "pn5", "pt 1 1",
                                "sl 0 0 1 1", "lg1", "ly1"}));
}

TEST(WriterEntAll, TextColourAndSolidColourOverrides) {
  TJGdata d = Read("lg2\nch 0 0 1 0 \"t\nlc10 255\nsl 0 0 1 1\n0 0 2 2\n");
  d.S_Init();
  // Layer group 16 and layer -5 are no overrides; colour 10 makes solids take a8.
  d.S_EntAll(16, -5, 10, -1, -1, 4, -1, 0x00FF00);
  EXPECT_EQ(OutLines(d), (Lines{"lg2", "ly0", "cn0 3 3 0 4", "cc0", "cn\"$<ＭＳ ゴシック>",
                                "ch 0 0 1 0 \"t", "lc10 65280", "sl 0 0 1 1", "lt1", "0 0 2 2"}));
}

}  // namespace
}  // namespace vardo
