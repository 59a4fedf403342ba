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
  sheet.SetCell(-1, 0, "x");  // outside: ignored

  sheet.Resize(5, 2);
  EXPECT_EQ(sheet.Cell(2, 1), "21");
  EXPECT_EQ(sheet.Cell(-1, 0), "");
  EXPECT_EQ(sheet.ColumnWidth(1), 1700);
  sheet.SetCols(4);
  EXPECT_EQ(sheet.Cell(1, 3), "") << "cells dropped by a narrower sheet do not come back";
  EXPECT_EQ(sheet.Cell(1, 1), "11");
  EXPECT_EQ(sheet.ColumnWidth(3), Sheet::kDefaultWidth);
  sheet.Resize(-3, -3);
  EXPECT_EQ(sheet.rows() + sheet.cols(), 0);
}

TEST(SheetFile, ReadsQuotingLineBreaksAndRaggedRecords) {
  const SheetFileResult r = ReadSheetCsv(
      "\xEF\xBB\xBF"
      "a,\"b,1\",\"say \"\"hi\"\"\"\r\n"
      "\"two\nlines\",x\r"  // a lone CR ends a record
      "\r\n"
      "约束方程1, ≤ ,4\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.sheet.rows(), 4);
  EXPECT_EQ(r.sheet.cols(), 3);
  EXPECT_EQ(r.sheet.Cell(0, 0), "a");
  EXPECT_EQ(r.sheet.Cell(0, 2), "say \"hi\"");
  EXPECT_EQ(r.sheet.Cell(1, 0), "two\nlines");
  EXPECT_EQ(r.sheet.Cell(2, 0), "");  // the empty line is a record
  EXPECT_EQ(r.sheet.Cell(3, 1), " ≤ ");

  // Rows and columns counted: the last line end starts no record.
  const std::tuple<const char*, int, int> shapes[] = {
      {"", 0, 0}, {"a\n", 1, 1}, {"a\r\n\r\n", 2, 1}, {"a,\n", 1, 2}, {"a,", 1, 2}};
  for (const auto& [text, rows, cols] : shapes) {
    const Sheet sheet = ReadSheetCsv(text).sheet;
    EXPECT_EQ(sheet.rows() * 10 + sheet.cols(), rows * 10 + cols) << text;
  }
}

TEST(SheetFile, UnreadableFilesNameTheLine) {
  const std::pair<const char*, const char*> files[] = {
      {"a\nb\n\"never closed\n", "line 3"},
      {"\"a\"b\n", "line 1"},
      {"ok\nok\n\xFF\xFE\n", "line 3"},
      {"\xE4\xB8", "line 1"},         // truncated sequence
      {"\xC0\x80", "line 1"},         // overlong
      {"x\n\xED\xA0\x80", "line 2"},  // surrogate
  };
  for (const auto& [text, line] : files) {
    const SheetFileResult r = ReadSheetCsv(text);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_NE(r.error.find(line), std::string::npos) << r.error;
  }
}

TEST(SheetFile, WritesMinimalQuotingAndRoundTrips) {
  const Sheet sheet =
      ReadSheetCsv(",\"χ1\",约束\n\"a,b\",\"say \"\"x\"\"\",\"two\nlines\"\n,,\n").sheet;
  EXPECT_EQ(WriteSheetCsv(sheet), ",χ1,约束\n\"a,b\",\"say \"\"x\"\"\",\"two\nlines\"\n,,\n");
  EXPECT_EQ(ReadSheetCsv(WriteSheetCsv(sheet)).sheet, sheet);

  // A first cell that starts like a byte-order mark, single empty fields and
  // a lone CR survive the round trip.
  Sheet tricky(3, 1);
  tricky.SetCell(0, 0, "\xEF\xBB\xBFx");
  tricky.SetCell(2, 0, "\r");
  EXPECT_EQ(WriteSheetCsv(tricky), "\"\xEF\xBB\xBFx\"\n\"\"\n\"\r\"\n");
  EXPECT_EQ(ReadSheetCsv(WriteSheetCsv(tricky)).sheet, tricky);
}

}  // namespace
}  // namespace orcalc
