#include "cli/sheet_counts.h"

#include "cli/commands.h"
#include "common/numeric_reading.h"

namespace orcalc::cli {

GivenCounts GivenCountOptions(const Arguments& arguments, std::string_view rows_option) {
  return {GivenCount(arguments, rows_option), GivenCount(arguments, "vars")};
}

SheetCounts CountsFor(const GivenCounts& given, const Sheet& sheet, const SheetLayout& layout) {
  return {given.by_rows.value_or(ClampCount(layout.CountFromRows(sheet.rows()))),
          given.variables.value_or(ClampCount(layout.VariablesFromCols(sheet.cols())))};
}

}  // namespace orcalc::cli
