// Sheet files as spreadsheets write them (other encodings, separators and
// plain signs), the shape checks that open them in a window, and blocks of
// cells on the clipboard.
#include <gtest/gtest.h>

#include "common/cell_block.h"
#include "common/test_support.h"
#include "files/sheet_file.h"
#include "files/text_decoding.h"
#include "goal/goal_commands.h"
#include "goal/goal_sheet_file.h"
#include "lp/lp_sheet_file.h"

namespace orcalc {
namespace {

TEST(SheetDialects, EncodingsAndSeparatorsGiveTheSameSheet) {
  const SheetFileResult plain = ReadSheetCsv(TestData("lp_example.csv"));
  ASSERT_TRUE(plain.ok) << plain.error;
  // GB18030 with CR LF and "<=", UTF-16 (little-endian mark) with
  // semicolons, UTF-8 with tabs and bare "≤".
  for (const char* name :
       {"lp_example_gb18030.csv", "lp_example_utf16.csv", "lp_example_tabs.csv"}) {
    const SheetFileResult r = ReadSheetCsv(TestData(name));
    ASSERT_TRUE(r.ok) << name << ": " << r.error;
    EXPECT_EQ(WriteSheetCsv(r.sheet), WriteSheetCsv(plain.sheet)) << name;
  }
  // Big-endian UTF-16 with a character outside the basic plane.
  const SheetFileResult big =
      ReadSheetCsv(std::string("\xFE\xFF\x00"
                               "a\x00;\xD8\x3D\xDE\x00",
                               10));
  ASSERT_TRUE(big.ok) << big.error;
  EXPECT_EQ(big.sheet.Cell(0, 1), "\xF0\x9F\x98\x80");
}

TEST(SheetDialects, SeparatorComesFromTheFirstRecord) {
  // A comma anywhere outside quotes in the first record keeps commas; quoted
  // separators do not count; the first of semicolon and tab wins.
  const std::tuple<const char*, int> files[] = {
      {"a;b,c\nd;e\n", 2}, {"\"x,y\";b;c\n", 3}, {"a\tb;c\n", 2}, {"a;b\tc\n", 2}, {"abc\n", 1}};
  for (const auto& [text, cols] : files) EXPECT_EQ(ReadSheetCsv(text).sheet.cols(), cols) << text;
  EXPECT_EQ(DetectFieldSeparator("a;b\tc"), ';');
  // Written files quote semicolons and tabs, so a one-column sheet whose
  // texts hold them reads back the same.
  Sheet sheet(2, 1);
  sheet.SetCell(0, 0, "a;b");
  sheet.SetCell(1, 0, "c\td");
  EXPECT_EQ(ReadSheetCsv(WriteSheetCsv(sheet)).sheet, sheet);
}

TEST(SheetDialects, PlainSignsInTheSignColumnOnly) {
  const SheetFileResult r =
      ReadSheetCsv(",约束符号,x\n1, <= ,<=\n2,>=,=\n3,＝,\n4,≥ ,\n5,═,\n6,=<,\n7,,\n");
  ASSERT_TRUE(r.ok);
  const char* const signs[] = {" ≤ ", " ≥ ", " ═ ", " ≥ ", " ═ ", "=<", ""};
  for (int row = 1; row <= 7; ++row) EXPECT_EQ(r.sheet.Cell(row, 1), signs[row - 1]) << row;
  // Another column keeps its text.
  EXPECT_EQ(r.sheet.Cell(1, 2), "<=");
  EXPECT_EQ(r.sheet.Cell(2, 2), "=");
}

TEST(SheetDialects, UnreadableFilesNameTheLine) {
  // A quote never closed or followed by more text. Not GB18030 either: a
  // lone 0xFF, a lead byte at the end, a lone 0x80 after a valid pair; a file marked
  // as UTF-8 is not decoded as anything else; UTF-16 with a broken
  // surrogate or an odd length.
  const std::pair<std::string, const char*> files[] = {
      {"a\nb\n\"never closed\n", "line 3: a quoted field is not closed"},
      {"\"a\"b\n", "line 1"},
      {"ok\nok\n\xFF\n", "line 3: the file is neither UTF-8 nor GB18030"},
      {"x\n\xED\xA0\x80", "line 2: the file is neither"},
      {"a\n\x81", "line 2: the file is neither"},
      // clang-format off
      {"\xEF\xBB\xBF" "a\n\xB3\xCC", "line 2: the file is not valid UTF-8"},
      // Found past long runs of ASCII, beyond valid characters.
      {"\xEF\xBB\xBF" "0123456789,约束方程\n0123456789abcdef\xE2\x82,1\n", "line 2: the file is not valid UTF-8"},
      {std::string("\xFF\xFE" "a\x00\n\x00\x00\xDC", 8), "line 2: the file is not valid UTF-16"},
      {std::string("\xFF\xFE" "a\x00\n", 5), "not valid UTF-16"},
      // clang-format on
  };
  for (const auto& [bytes, error] : files) {
    const SheetFileResult r = ReadSheetCsv(bytes);
    EXPECT_FALSE(r.ok) << error;
    EXPECT_NE(r.error.find(error), std::string::npos) << r.error;
  }
}

TEST(SheetShapes, WindowsOpenOnlyTheirOwnKind) {
  const Sheet lp = ReadSheetCsv(TestData("lp_example.csv")).sheet;
  const lp::LpSheetFit fit = lp::FitLpSheet(lp);
  EXPECT_TRUE(fit.mismatch.empty()) << fit.mismatch;
  EXPECT_EQ(fit.variables, 2);
  EXPECT_EQ(fit.constraints, 2);
  EXPECT_EQ(fit.sense, lp::Sense::Maximise);

  Sheet goal;
  goal::LayOutSheet(goal, 2, 3);
  EXPECT_TRUE(goal::FitGoalSheet(goal).mismatch.empty());
  EXPECT_EQ(goal::FitGoalSheet(goal).goals, 2);
  EXPECT_EQ(goal::FitGoalSheet(goal).variables, 3);
  // Each kind in the other window: with headers that are not the layout's,
  // a sheet fits only when its sign column holds signs (the window then
  // tells the other kind by its laid-out headers).
  EXPECT_TRUE(fit.as_laid_out);
  EXPECT_FALSE(lp::FitLpSheet(goal).as_laid_out);
  goal.SetCell(2, goal.cols() - 2, "2");  // a weight where an LP sheet has its signs
  EXPECT_EQ(lp::FitLpSheet(goal).mismatch,
            "不是线性规划表格：第 3 行第 9 列应为约束符号，文件中是“2”");
  EXPECT_NE(goal::FitGoalSheet(lp).mismatch, "");
  // A header named freely fits; a sign cell holding a number does not.
  Sheet renamed = lp;
  renamed.SetCell(3, 0, "约束方程9");
  EXPECT_EQ(lp::FitLpSheet(renamed).mismatch, "");
  EXPECT_FALSE(lp::FitLpSheet(renamed).as_laid_out);
  renamed.SetCell(3, 3, "<=");
  EXPECT_EQ(lp::FitLpSheet(renamed).mismatch, "");
  renamed.SetCell(3, 3, "1");
  EXPECT_EQ(lp::FitLpSheet(renamed).mismatch,
            "不是线性规划表格：第 4 行第 4 列应为约束符号，文件中是“1”");
  EXPECT_NE(lp::FitLpSheet(Sheet(1, 1)).mismatch, "");
}

TEST(SheetShapes, SenseCellDecides) {
  const std::pair<const char*, lp::Sense> cells[] = {
      {" Max ", lp::Sense::Maximise}, {"MAX", lp::Sense::Maximise},
      {"m a x", lp::Sense::Maximise}, {" Min ", lp::Sense::Minimise},
      {"", lp::Sense::Minimise},      {"Maximum", lp::Sense::Minimise}};
  for (const auto& [text, sense] : cells) {
    Sheet sheet(2, 3);
    sheet.SetCell(1, 2, text);
    EXPECT_EQ(lp::SenseFromSheet(sheet), sense) << text;
  }
}

TEST(CellBlocks, CopyAndPasteTexts) {
  Sheet sheet(3, 3);
  sheet.SetCell(1, 1, "1.5");
  sheet.SetCell(1, 2, " ≤ ");
  sheet.SetCell(2, 2, "-4");
  EXPECT_EQ(BlockText(sheet, 1, 1, 2, 2), "1.5\t ≤ \r\n\t-4");
  // What copy gives comes back as the same fields.
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(ParseBlockText(BlockText(sheet, 1, 1, 2, 2)), (Rows{{"1.5", " ≤ "}, {"", "-4"}}));
  // A spreadsheet's block: trailing line end, LF or CR rows, commas without
  // tabs, quoted fields.
  EXPECT_EQ(ParseBlockText("1\t2\r\n3\t4\r\n"), (Rows{{"1", "2"}, {"3", "4"}}));
  EXPECT_EQ(ParseBlockText("1,2\n\n3\r"), (Rows{{"1", "2"}, {""}, {"3"}}));
  EXPECT_EQ(ParseBlockText("\"a\"\"b\"\t,"), (Rows{{"a\"b", ","}}));
  EXPECT_TRUE(ParseBlockText("").empty());
}

TEST(CellBlocks, PastedTextsAreWhatTheEditorsCouldWrite) {
  const std::pair<const char*, const char*> numbers[] = {
      {" 12 ", "12"}, {"-.5", "-.5"}, {".5", "0.5"}, {"5.", "5.0"},
      {"5-", "5-"},   {"", ""},       {"-", "-"}};
  for (const auto& [text, stored] : numbers)
    EXPECT_EQ(PastedNumberText(text).value_or("?"), stored);
  for (const char* bad : {"1e5", "1,5", "1.2.3", "--1", "x", "１"})
    EXPECT_FALSE(PastedNumberText(bad)) << bad;
  const std::pair<const char*, const char*> signs[] = {
      {"<=", " ≤ "}, {" ≥ ", " ≥ "}, {"=", " ═ "}, {"  ", ""}};
  for (const auto& [text, stored] : signs) EXPECT_EQ(PastedSignText(text).value_or("?"), stored);
  EXPECT_FALSE(PastedSignText("5"));
}

}  // namespace
}  // namespace orcalc
