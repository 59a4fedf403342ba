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
  EXPECT_EQ(sheet.Cell(2, 1) + sheet.Cell(-1, 0), "21");
  EXPECT_EQ(sheet.ColumnWidth(1), 1700);
  sheet.SetCols(4);  // cells dropped by a narrower sheet do not come back
  EXPECT_EQ(sheet.Cell(1, 1) + sheet.Cell(1, 3), "11");
  EXPECT_EQ(sheet.ColumnWidth(3), Sheet::kDefaultWidth);
  sheet.Resize(-3, -3);
  EXPECT_EQ(sheet.rows() + sheet.cols(), 0);
}

TEST(SheetFile, UnreadableFilesNameTheLine) {
  const std::pair<const char*, const char*> files[] = {
      {"a\nb\n\"never closed\n", "line 3"}, {"\"a\"b\n", "line 1"}, {"ok\nok\n\xFF\xFE\n", "line 3"},
      // Neither UTF-8 nor GB18030: a lone 0x80 after a valid pair.
      {"x\n\xED\xA0\x80", "line 2"}};
  for (const auto& [text, line] : files) {
    const SheetFileResult r = ReadSheetCsv(text);
    EXPECT_TRUE(!r.ok && r.error.find(line) != std::string::npos) << text << ": " << r.error;
  }
}

TEST(SheetFile, ReadsWritesAndRoundTrips) {
  // Byte-order mark, quoting, a line break inside a field, a lone CR ending
  // a record, an empty line that is a record, short records padded.
  const SheetFileResult r = ReadSheetCsv(
      "\xEF\xBB\xBF" "a,\"b,1\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",x\r\r\n约束方程1, ≤ ,4\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(WriteSheetCsv(r.sheet),
            "a,\"b,1\",\"say \"\"hi\"\"\"\n\"two\nlines\",x,\n,,\n约束方程1, ≤ ,4\n");
  EXPECT_EQ(ReadSheetCsv(WriteSheetCsv(r.sheet)).sheet, r.sheet);

  // Rows and columns counted: the last line end starts no record.
  const std::tuple<const char*, int, int> shapes[] = {
      {"", 0, 0}, {"a\n", 1, 1}, {"a\r\n\r\n", 2, 1}, {"a,\n", 1, 2}, {"a,", 1, 2}};
  for (const auto& [text, rows, cols] : shapes)
    EXPECT_EQ(ReadSheetCsv(text).sheet.rows() * 10 + ReadSheetCsv(text).sheet.cols(),
              rows * 10 + cols) << text;

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
