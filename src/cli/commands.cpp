#include "cli/commands.h"

#include <algorithm>

#include "common/numeric_reading.h"
#include "lp/lp_sheet_file.h"

namespace orcalc::cli {

std::string SheetPath(const Arguments& arguments) {
  const auto& files = arguments.positionals();
  if (files.empty())
    throw UsageError("missing the sheet file (SHEET.csv, or - for standard input)");
  if (files.size() > 1) throw UsageError("one sheet file only, got '" + files[1] + "' as well");
  return files.front();
}

int CountOption(const Arguments& arguments, std::string_view option, int fallback) {
  if (const auto value = arguments.Value(option)) return ParseCount(option, *value);
  return ClampCount(fallback);
}

int RequiredCount(const Arguments& arguments, std::string_view option) {
  const auto value = arguments.Value(option);
  if (!value) throw UsageError("missing --" + std::string(option) + " N");
  return ParseCount(option, *value);
}

void RejectBothSenses(const Arguments& arguments) {
  if (arguments.Has("max") && arguments.Has("min"))
    throw UsageError("--max and --min exclude each other");
}

lp::Sense SenseOption(const Arguments& arguments, const Sheet& sheet) {
  if (arguments.Has("max")) return lp::Sense::Maximise;
  if (arguments.Has("min")) return lp::Sense::Minimise;
  return lp::SenseFromSheet(sheet);
}

lp::LpRequest LpRequestOption(const Arguments& arguments, const Sheet& sheet) {
  lp::LpRequest request;
  request.variables = CountOption(arguments, "vars", sheet.cols() - 3);
  request.constraints = CountOption(arguments, "constraints", sheet.rows() - 2);
  request.sense = SenseOption(arguments, sheet);
  return request;
}

}  // namespace orcalc::cli
