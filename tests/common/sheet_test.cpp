#include "common/sheet.h"

#include <gtest/gtest.h>

#include "common/sheet_file.h"

namespace orcalc {
namespace {

TEST(Sheet, ResizingKeepsEveryCellThatStays) {
  Sheet sheet(3, 4);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) sheet.SetCell(r, c, std::to_string(r * 10 + c));
  sheet.SetColumnWidth(1, 1700);

  sheet.Resize(5, 2);
  EXPECT_EQ(sheet.Cell(2, 1), "21");
  EXPECT_EQ(sheet.Cell(4, 1), "");
  EXPECT_EQ(sheet.Cell(0, 3), "");  // outside now
  EXPECT_EQ(sheet.ColumnWidth(1), 1700);

  sheet.SetCols(4);
  EXPECT_EQ(sheet.Cell(1, 3), "") << "cells dropped by a narrower sheet do not come back";
  EXPECT_EQ(sheet.Cell(1, 1), "11");
  EXPECT_EQ(sheet.ColumnWidth(3), Sheet::kDefaultWidth);
}

TEST(Sheet, OutsideReadsEmptyAndWritesAreIgnored) {
  Sheet sheet(2, 2);
  sheet.SetCell(5, 5, "x");
  sheet.SetCell(-1, 0, "x");
  EXPECT_EQ(sheet.Cell(5, 5), "");
  EXPECT_EQ(sheet.Cell(-1, 0), "");
  sheet.Resize(-3, -3);
  EXPECT_EQ(sheet.rows(), 0);
  EXPECT_EQ(sheet.cols(), 0);
}

Sheet Grid(std::initializer_list<std::initializer_list<const char*>> rows) {
  int cols = 0;
  for (auto& r : rows) cols = std::max<int>(cols, static_cast<int>(r.size()));
  Sheet sheet(static_cast<int>(rows.size()), cols);
  int i = 0;
  for (auto& r : rows) {
    int j = 0;
    for (const char* t : r) sheet.SetCell(i, j++, t);
    ++i;
  }
  return sheet;
}

TEST(SheetFile, ReadsQuotingLineBreaksAndRaggedRecords) {
  SheetFileResult r = ReadSheetCsv(
      "\xEF\xBB\xBF"
      "a,\"b,1\",\"say \"\"hi\"\"\"\r\n"
      "\"two\nlines\",x\r"  // a lone CR ends a record
      "\r\n"
      "约束方程1, ≤ ,4\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.sheet.rows(), 4);
  EXPECT_EQ(r.sheet.cols(), 3);
  EXPECT_EQ(r.sheet.Cell(0, 1), "b,1");
  EXPECT_EQ(r.sheet.Cell(0, 2), "say \"hi\"");
  EXPECT_EQ(r.sheet.Cell(1, 0), "two\nlines");
  EXPECT_EQ(r.sheet.Cell(1, 2), "");
  EXPECT_EQ(r.sheet.Cell(2, 0), "");  // the empty line is a record
  EXPECT_EQ(r.sheet.Cell(3, 0), "约束方程1");
  EXPECT_EQ(r.sheet.Cell(3, 1), " ≤ ");
}

TEST(SheetFile, RecordCounting) {
  EXPECT_EQ(ReadSheetCsv("").sheet.rows(), 0);
  EXPECT_EQ(ReadSheetCsv("a").sheet.rows(), 1);
  EXPECT_EQ(ReadSheetCsv("a\n").sheet.rows(), 1);
  EXPECT_EQ(ReadSheetCsv("a\r\n\r\n").sheet.rows(), 2);
  SheetFileResult trailing = ReadSheetCsv("a,\n");
  EXPECT_EQ(trailing.sheet.cols(), 2);
  SheetFileResult last = ReadSheetCsv("a,");
  EXPECT_EQ(last.sheet.rows(), 1);
  EXPECT_EQ(last.sheet.cols(), 2);
}

TEST(SheetFile, UnreadableFilesNameTheLine) {
  SheetFileResult open_quote = ReadSheetCsv("a\nb\n\"never closed\n");
  EXPECT_FALSE(open_quote.ok);
  EXPECT_NE(open_quote.error.find("line 3"), std::string::npos) << open_quote.error;

  SheetFileResult after_quote = ReadSheetCsv("\"a\"b\n");
  EXPECT_FALSE(after_quote.ok);
  EXPECT_NE(after_quote.error.find("line 1"), std::string::npos);

  SheetFileResult bad_bytes = ReadSheetCsv("ok\nok\n\xFF\xFE\n");
  EXPECT_FALSE(bad_bytes.ok);
  EXPECT_NE(bad_bytes.error.find("line 3"), std::string::npos) << bad_bytes.error;

  EXPECT_FALSE(ReadSheetCsv("\xE4\xB8").ok);          // truncated sequence
  EXPECT_FALSE(ReadSheetCsv("\xC0\x80").ok);          // overlong
  EXPECT_FALSE(ReadSheetCsv("\xED\xA0\x80").ok);      // surrogate
}

TEST(SheetFile, WritesMinimalQuotingAndRoundTrips) {
  Sheet sheet = Grid({{"", "χ1 系数", "约束符号"}, {"a,b", "say \"x\"", "two\nlines"}, {"", "", ""}});
  std::string text = WriteSheetCsv(sheet);
  EXPECT_EQ(text, ",χ1 系数,约束符号\n\"a,b\",\"say \"\"x\"\"\",\"two\nlines\"\n,,\n");
  SheetFileResult back = ReadSheetCsv(text);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.sheet.rows(), sheet.rows());
  for (int r = 0; r < sheet.rows(); ++r)
    for (int c = 0; c < sheet.cols(); ++c) EXPECT_EQ(back.sheet.Cell(r, c), sheet.Cell(r, c));

  Sheet bom = Grid({{"\xEF\xBB\xBFx", "\xEF\xBB\xBF"}});
  EXPECT_EQ(ReadSheetCsv(WriteSheetCsv(bom)).sheet, bom);

  Sheet single = Grid({{"x"}, {""}, {"\r"}});
  EXPECT_EQ(WriteSheetCsv(single), "x\n\"\"\n\"\r\"\n");
  SheetFileResult single_back = ReadSheetCsv(WriteSheetCsv(single));
  ASSERT_TRUE(single_back.ok);
  EXPECT_EQ(single_back.sheet.rows(), 3);
  EXPECT_EQ(single_back.sheet.Cell(2, 0), "\r");
}

}  // namespace
}  // namespace orcalc
