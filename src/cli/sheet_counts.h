// The counts of a calculating command: each given by its option, checked
// before the sheet file is read, or else taken from the shape of the sheet
// read.
#pragma once

#include <optional>
#include <string_view>

#include "cli/arguments.h"
#include "common/sheet.h"
#include "common/sheet_layout.h"

namespace orcalc::cli {

struct SheetCounts {
  int by_rows = 0;    // constraints or goals
  int variables = 0;  // the coefficient columns
};

struct GivenCounts {
  std::optional<int> by_rows;
  std::optional<int> variables;
};

// `rows_option` (--constraints or --goals) and --vars, when given. Throws
// UsageError.
GivenCounts GivenCountOptions(const Arguments& arguments, std::string_view rows_option);

// The counts given, and those not given from the shape of `sheet` laid out
// as `layout`, kept within 0..500.
SheetCounts CountsFor(const GivenCounts& given, const Sheet& sheet, const SheetLayout& layout);

}  // namespace orcalc::cli
