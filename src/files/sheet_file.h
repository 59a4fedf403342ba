// Sheet files: the whole grid as CSV, header row and column included.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/sheet.h"
#include "files/text_decoding.h"

namespace orcalc {

// What a sheet file may hold: far more than any sheet window lays out
// (502 rows, 507 columns), and little enough that reading one costs little.
inline constexpr std::size_t kSheetFileMaxBytes = std::size_t{64} * 1024 * 1024;
inline constexpr int kSheetFileMaxRecords = 1000;
inline constexpr int kSheetFileMaxFields = 1000;  // in one record

enum class SheetFileProblem {
  None,
  NotText,         // not valid UTF-8, or not well-formed CSV
  Empty,           // no record at all (nothing, or a byte-order mark only)
  TooLarge,        // more than kSheetFileMaxBytes
  TooManyRecords,  // more than kSheetFileMaxRecords
  TooManyFields,   // a record with more than kSheetFileMaxFields
  ReadFailed,      // the bytes could not be read
  NotRegular,      // the path names a folder, device, pipe or socket
  OpenFailed,      // the file could not be opened
};

// The label of the record after a linear program's last constraint row that
// gives each variable's type, one field per variable.
inline constexpr std::string_view kVariableTypesLabel = "变量类型";

struct SheetFileResult {
  bool ok = false;
  Sheet sheet{0, 0};
  // The fields after the label of a last record labelled
  // kVariableTypesLabel, which is not part of the sheet; absent without one.
  std::optional<std::vector<std::string>> variable_types;
  SheetFileProblem problem = SheetFileProblem::None;
  std::string error;  // what is wrong (naming the line or the limit), when !ok
  SheetTextFault fault = SheetTextFault::None;  // for NotText
  long line = 0;         // the line the problem was found on, when it has one
  int error_number = 0;  // errno, for ReadFailed and OpenFailed
};

// Cell (r, c) is record r, field c; rows = records, columns = the largest
// field count; missing fields are empty. Records end at CR LF, LF or CR
// outside quotes. The bytes may be UTF-8 (an optional byte-order mark is
// ignored), UTF-16 with a byte-order mark, or GB18030/GBK; fields are
// separated by commas, or by semicolons or tabs when the first record has
// no comma but one of those. In a column headed "约束符号" a sign in plain
// form ("<=", ">=", "=", ...) reads as " ≤ ", " ≥ " or " ═ ". A last record
// labelled kVariableTypesLabel is taken off the sheet into variable_types
// (the sheet keeps its columns). A file beyond
// the limits above, or with no record, is refused before any sheet is made.
SheetFileResult ReadSheetCsv(std::string_view bytes);

// Fills `buffer` with at most `size` further bytes of a file; returns how
// many (0 at its end), or -1 when reading failed (errno then says why).
using ReadBytes = std::function<long(char* buffer, std::size_t size)>;

// The same, reading the file piece by piece: reading stops as soon as the
// file proves larger than kSheetFileMaxBytes, so an endless source costs no
// more than that. `expected_size`, when known (a regular file's size), only
// saves growing the buffer.
SheetFileResult ReadSheetCsvFrom(const ReadBytes& read, std::size_t expected_size = 0);

// Reads all of a file into `bytes` as ReadSheetCsvFrom does, within
// kSheetFileMaxBytes: ok (with an empty sheet) once the file has ended,
// otherwise the refusal (TooLarge or ReadFailed).
SheetFileResult ReadBytesWithin(const ReadBytes& read, std::size_t expected_size,
                                std::string& bytes);

// The refusal of a file larger than kSheetFileMaxBytes.
SheetFileResult RefuseTooLarge();

// UTF-8, LF line ends, every record with all the sheet's columns, a field
// quoted only when it holds a comma, a double quote, CR, LF, a semicolon or a
// tab (or, first in the file,
// starts with what would read as a byte-order mark); a record that is a
// single empty field is written as "".
std::string WriteSheetCsv(const Sheet& sheet);
// The same followed by a record of kVariableTypesLabel and `variable_types`,
// unless that is empty.
std::string WriteSheetCsv(const Sheet& sheet, const std::vector<std::string>& variable_types);

// Whether `bytes` is well-formed UTF-8; on failure `bad_offset` is the
// offset of the first byte that is not.
bool IsValidUtf8(std::string_view bytes, std::size_t* bad_offset = nullptr);

}  // namespace orcalc
