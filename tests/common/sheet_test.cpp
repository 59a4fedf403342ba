#include "common/sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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
  sheet.SetCols(4);  // cells dropped by a narrower sheet do not come back
  EXPECT_EQ(sheet.Cell(1, 1), "11");
  EXPECT_EQ(sheet.Cell(1, 3), "");
  EXPECT_EQ(sheet.ColumnWidth(3), Sheet::kDefaultWidth);
  sheet.Resize(-3, -3);
  EXPECT_EQ(sheet.rows(), 0);
  EXPECT_EQ(sheet.cols(), 0);
}

TEST(SheetFile, ReadsWritesAndRoundTrips) {
  // Byte-order mark, quoting, a line break inside a field, a lone CR ending
  // a record, an empty line that is a record, short records padded.
  const SheetFileResult r = ReadSheetCsv(
      "\xEF\xBB\xBF"
      "a,\"b,1\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",x\r\r\n约束方程1, ≤ ,4\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(WriteSheetCsv(r.sheet),
            "a,\"b,1\",\"say \"\"hi\"\"\"\n\"two\nlines\",x,\n,,\n约束方程1, ≤ ,4\n");
  EXPECT_EQ(ReadSheetCsv(WriteSheetCsv(r.sheet)).sheet, r.sheet);

  // Rows and columns counted: the last line end starts no record.
  const std::tuple<const char*, int, int> shapes[] = {
      {"\n", 1, 1}, {"a\n", 1, 1}, {"a\r\n\r\n", 2, 1}, {"a,\n", 1, 2}, {"a,", 1, 2}};
  for (const auto& [text, rows, cols] : shapes) {
    const Sheet sheet = ReadSheetCsv(text).sheet;
    EXPECT_EQ(sheet.rows(), rows) << text;
    EXPECT_EQ(sheet.cols(), cols) << text;
  }

  // A first cell that starts like a byte-order mark, single empty fields and
  // a lone CR survive the round trip.
  Sheet tricky(3, 1);
  tricky.SetCell(0, 0, "\xEF\xBB\xBFx");
  tricky.SetCell(2, 0, "\r");
  EXPECT_EQ(WriteSheetCsv(tricky), "\"\xEF\xBB\xBFx\"\n\"\"\n\"\r\"\n");
  EXPECT_EQ(ReadSheetCsv(WriteSheetCsv(tricky)).sheet, tricky);
}

// What a sheet file may hold: 1000 records of 1000 fields, 64 MB; a file
// with no record is refused too. Each refusal names the limit.
TEST(SheetFile, LimitsAreRefusedBeforeTheSheetIsMade) {
  const std::string thousand_fields = std::string(999, ',') + "\n";
  std::string thousand_records;
  for (int i = 0; i < 1000; ++i) thousand_records += "1\n";
  const Sheet largest = ReadSheetCsv(thousand_fields + thousand_records.substr(2)).sheet;
  EXPECT_EQ(largest.rows(), 1000);
  EXPECT_EQ(largest.cols(), 1000);

  const std::pair<std::string, SheetFileProblem> refused[] = {
      {"", SheetFileProblem::Empty},
      {"\xEF\xBB\xBF", SheetFileProblem::Empty},
      {"," + thousand_fields, SheetFileProblem::TooManyFields},
      {thousand_records + "1", SheetFileProblem::TooManyRecords},
      {std::string(kSheetFileMaxBytes + 1, 'x'), SheetFileProblem::TooLarge},
  };
  for (const auto& [bytes, problem] : refused) {
    const SheetFileResult r = ReadSheetCsv(bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.problem, problem);
    EXPECT_NE(r.error, "");
  }
  EXPECT_NE(ReadSheetCsv("," + thousand_fields).error.find("1000 fields"), std::string::npos);

  // Read piece by piece, an endless source stops just past the limit.
  std::size_t given = 0;
  const SheetFileResult endless = ReadSheetCsvFrom([&](char* buffer, std::size_t size) -> long {
    std::memset(buffer, '1', size);
    given += size;
    return static_cast<long>(size);
  });
  EXPECT_EQ(endless.problem, SheetFileProblem::TooLarge);
  EXPECT_EQ(given, kSheetFileMaxBytes + 1);
  // Small pieces make the same sheet as the whole text; a failing source is
  // named as such.
  const std::string text = "a,b\n\"c\nd\",e\n";
  std::size_t at = 0;
  const SheetFileResult pieces = ReadSheetCsvFrom([&](char* buffer, std::size_t size) -> long {
    const std::size_t n = std::min<std::size_t>({size, 3, text.size() - at});
    text.copy(buffer, n, at);
    at += n;
    return static_cast<long>(n);
  });
  EXPECT_EQ(pieces.sheet, ReadSheetCsv(text).sheet);
  const SheetFileResult failing = ReadSheetCsvFrom([](char*, std::size_t) -> long {
    errno = EIO;
    return -1;
  });
  EXPECT_EQ(failing.problem, SheetFileProblem::ReadFailed);
}

}  // namespace
}  // namespace orcalc
