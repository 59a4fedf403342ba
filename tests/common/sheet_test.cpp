#include "common/sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <functional>

#include "files/sheet_file.h"

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

// A generated record: `fields` numbers, some of them empty, then `end`.
std::string Record(int r, int fields, std::string_view end) {
  std::string text;
  for (int c = 0; c < fields; ++c) {
    if (c > 0) text += ',';
    if ((r + c) % 13 != 0) text += std::to_string(r * 31 + c);
  }
  text += end;
  return text;
}

// `count` records, record r `width(r)` fields wide and ended by `end(r)`.
template <typename Width, typename End>
std::string Records(int count, Width width, End end) {
  std::string text;
  for (int r = 0; r < count; ++r) text += Record(r, width(r), end(r));
  return text;
}

// Large files of every kind of line end, at and beyond the limits: the
// cells as generated, or the refusal at the first record or field too many.
TEST(SheetFile, LargeFilesReadAsWrittenUpToTheLimits) {
  auto thirty = [](int) { return 30; };
  auto wide_at = [](int record, int fields) {
    return [=](int r) { return r == record ? fields : 30; };
  };
  auto uneven = [](int r) { return r % 41; };
  auto lf = [](int) { return "\n"; };
  auto mixed = [](int r) { return r == 899 ? "" : std::array{"\r\n", "\n", "\r"}[r % 3]; };
  auto trailing = [](int r) { return r == 799 ? "," : std::array{",\n", ",\r\n"}[r % 2]; };
  // Long records ended by CR LF.
  std::string crlf_at_cuts;
  for (int r = 0; r < 16; ++r) {
    const int size = 5000 + (r == 0) - (r == 15);
    for (int k = 0; k + 2 < size; ++k) crlf_at_cuts += k % 50 == 49 ? ',' : '7';
    crlf_at_cuts += "\r\n";
  }
  std::string one_long_record;
  for (int c = 0; c < 1000; ++c) one_long_record += std::string(79, '5') + ',';
  one_long_record.pop_back();
  std::string crlf_only = "x";
  for (int r = 0; r < 40000; ++r) crlf_only += "\r\n";
  std::string signs = "\xEF\xBB\xBF\t约束符号\t右边\n";
  for (int r = 0; r < 900; ++r)
    signs += "x\t <= \t" + std::to_string(r) + std::string(80, '0') + "\n";

  using P = SheetFileProblem;
  constexpr P kOk = P::None;
  const std::function<int(int)> no_cells;  // the cells are not generated by Records
  const struct {
    const char* name;
    std::string bytes;
    int rows, cols;
    P problem;
    long line;
    std::function<int(int)> width;  // of generated record r, for the cells
  } cases[] = {
      // clang-format off
      {"LF", Records(1000, thirty, lf), 1000, 30, kOk, 0, thirty},
      {"mixed ends, short and empty records, no last end", Records(900, uneven, mixed), 900, 40, kOk, 0, uneven},
      {"trailing separators, ending \"a,\"", Records(800, thirty, trailing), 800, 31, kOk, 0, thirty},
      {"CR ends", Records(700, thirty, [](int) { return "\r"; }), 700, 30, kOk, 0, thirty},
      {"too wide first", Records(1000, wide_at(0, 1001), lf), 0, 0, P::TooManyFields, 1, no_cells},
      {"too wide in the middle", Records(1000, wide_at(517, 1001), lf), 0, 0, P::TooManyFields, 518, no_cells},
      {"too wide last, no last end", Records(1000, wide_at(999, 1001), [](int r) { return r == 999 ? "" : "\n"; }), 0, 0, P::TooManyFields, 1000, no_cells},
      {"1001st record 1001 wide", Records(1001, wide_at(1000, 1001), lf), 0, 0, P::TooManyRecords, 1001, no_cells},
      {"1001st record 1002 wide", Records(1001, wide_at(1000, 1002), lf), 0, 0, P::TooManyFields, 1001, no_cells},
      {"too many records", Records(5000, thirty, lf), 0, 0, P::TooManyRecords, 1001, no_cells},
      {"line ends only", std::string(70000, '\n'), 0, 0, P::TooManyRecords, 1001, no_cells},
      {"CR LF only", crlf_only, 0, 0, P::TooManyRecords, 1001, no_cells},
      {"long records, CR LF", crlf_at_cuts, 16, 100, kOk, 0, no_cells},
      {"one record, no line end", one_long_record, 1, 1000, kOk, 0, no_cells},
      {"tabs, byte-order mark, plain signs", signs, 901, 3, kOk, 0, no_cells},
      {"a quoted field last", Records(900, thirty, lf) + "\"q,1\"\n", 901, 30, kOk, 0, no_cells},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_GT(c.bytes.size(), 64u * 1024);
    const SheetFileResult got = ReadSheetCsv(c.bytes);
    EXPECT_EQ(got.ok, c.problem == kOk);
    EXPECT_EQ(got.problem, c.problem);
    EXPECT_EQ(got.line, c.line);
    if (c.line > 0) {
      EXPECT_TRUE(got.error.starts_with("line " + std::to_string(c.line) + ": "));
    }
    ASSERT_EQ(got.sheet.rows(), c.rows);
    ASSERT_EQ(got.sheet.cols(), c.cols);
    if (!c.width) continue;
    for (int r = 0; r < c.rows; ++r) {
      for (int col = 0; col < c.cols; ++col) {
        const bool filled = col < c.width(r) && (r + col) % 13 != 0;
        ASSERT_EQ(got.sheet.Cell(r, col), filled ? std::to_string(r * 31 + col) : "")
            << "cell " << r << ", " << col;
      }
    }
  }
  // The last quoted record is read as its two fields.
  EXPECT_EQ(ReadSheetCsv(cases[15].bytes).sheet.Cell(900, 0), "q,1");
}

}  // namespace
}  // namespace orcalc
