// Sheet files: the whole grid as UTF-8 CSV, header row and column included.
#pragma once

#include <string>
#include <string_view>

#include "common/sheet.h"

namespace orcalc {

struct SheetFileResult {
  bool ok = false;
  Sheet sheet{0, 0};
  std::string error;  // what is wrong, naming the line, when !ok
};

// Cell (r, c) is record r, field c; rows = records, columns = the largest
// field count; missing fields are empty. Records end at CR LF, LF or CR
// outside quotes. The bytes may be UTF-8 (an optional byte-order mark is
// ignored), UTF-16 with a byte-order mark, or GB18030/GBK; fields are
// separated by commas, or by semicolons or tabs when the first record has
// no comma but one of those. In a column headed "约束符号" a sign in plain
// form ("<=", ">=", "=", ...) reads as " ≤ ", " ≥ " or " ═ ".
SheetFileResult ReadSheetCsv(std::string_view bytes);

// UTF-8, LF line ends, every record with all the sheet's columns, a field
// quoted only when it holds a comma, a double quote, CR, LF, a semicolon or a
// tab (or, first in the file,
// starts with what would read as a byte-order mark); a record that is a
// single empty field is written as "".
std::string WriteSheetCsv(const Sheet& sheet);

// Whether `bytes` is well-formed UTF-8; on failure `bad_offset` is the
// offset of the first byte that is not.
bool IsValidUtf8(std::string_view bytes, std::size_t* bad_offset = nullptr);

}  // namespace orcalc
