#include "cli/sheet_counts.h"

#include "cli/cli_io.h"
#include "cli/commands.h"
#include "common/numeric_reading.h"

namespace orcalc::cli {
namespace {

std::string Counted(int count, std::string_view noun) {
  std::string text = std::to_string(count) + " " + std::string(noun);
  if (count != 1) text += "s";
  return text;
}

[[noreturn]] void Refuse(const ExpectedSheet& kind, const std::string& path,
                         const std::string& why) {
  throw FileError(SheetFileName(path) + ": not a " + std::string(kind.name) + ": " + why);
}

}  // namespace

GivenCounts GivenCountOptions(const Arguments& arguments, std::string_view rows_option) {
  return {GivenCount(arguments, rows_option), GivenCount(arguments, "vars")};
}

SheetCounts CountsFor(const GivenCounts& given, const Sheet& sheet, const ExpectedSheet& kind,
                      const std::string& path) {
  const SheetLayout& layout = kind.layout;
  if (!given.variables && sheet.cols() < layout.SmallestCols()) {
    Refuse(kind, path,
           "the widest record has " + Counted(sheet.cols(), "field") + ", a sheet has at least " +
               std::to_string(layout.SmallestCols()));
  }
  if (!given.by_rows && sheet.rows() < layout.SmallestRows()) {
    Refuse(kind, path,
           "the file has " + Counted(sheet.rows(), "record") + ", a sheet has at least " +
               std::to_string(layout.SmallestRows()));
  }
  return {given.by_rows.value_or(ClampCount(layout.CountFromRows(sheet.rows()))),
          given.variables.value_or(ClampCount(layout.VariablesFromCols(sheet.cols())))};
}

}  // namespace orcalc::cli
