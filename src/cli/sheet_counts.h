// The counts of a calculating command: each given by its option, checked
// before the sheet file is read, or else taken from the shape of the sheet
// read. A file too narrow or too short to be the smallest sheet of the
// command's kind is refused in a dimension whose count comes from its
// shape; a count given by its option reads the grid as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "common/sheet.h"
#include "common/sheet_layout.h"

namespace orcalc::cli {

// The kind of sheet a command reads: its layout, and its name in messages.
struct ExpectedSheet {
  SheetLayout layout;
  std::string_view name;
};

inline constexpr ExpectedSheet kLinearProgrammingSheet{kLpSheetLayout, "linear-programming sheet"};
inline constexpr ExpectedSheet kGoalProgrammingSheet{kGoalSheetLayout, "goal-programming sheet"};

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

// The counts given, and those not given from the sheet's shape, kept within
// 0..500. Throws FileError, naming the file at `path`, when a count comes
// from a shape narrower or shorter than the smallest sheet of `kind`
// (widths before records).
SheetCounts CountsFor(const GivenCounts& given, const Sheet& sheet, const ExpectedSheet& kind,
                      const std::string& path);

}  // namespace orcalc::cli
