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

std::optional<int> GivenCount(const Arguments& arguments, std::string_view option) {
  if (const auto value = arguments.Value(option)) return ParseCount(option, *value);
  return std::nullopt;
}

int RequiredCount(const Arguments& arguments, std::string_view option) {
  const auto value = arguments.Value(option);
  if (!value) throw UsageError("missing --" + std::string(option) + " N");
  return ParseCount(option, *value);
}

LpOptions LpOptionsOf(const Arguments& arguments) {
  if (arguments.Has("max") && arguments.Has("min"))
    throw UsageError("--max and --min exclude each other");
  LpOptions options;
  options.counts = GivenCountOptions(arguments, "constraints");
  if (arguments.Has("max")) options.sense = lp::Sense::Maximise;
  if (arguments.Has("min")) options.sense = lp::Sense::Minimise;
  options.path = SheetPath(arguments);
  return options;
}

lp::Sense SenseFor(const LpOptions& options, const Sheet& sheet) {
  return options.sense.value_or(lp::SenseFromSheet(sheet));
}

lp::LpRequest LpRequestFor(const LpOptions& options, const Sheet& sheet) {
  const SheetCounts counts =
      CountsFor(options.counts, sheet, kLinearProgrammingSheet, options.path);
  lp::LpRequest request;
  request.variables = counts.variables;
  request.constraints = counts.by_rows;
  request.sense = SenseFor(options, sheet);
  return request;
}

goal::GoalRequest GoalRequestFor(const GivenCounts& given, const Sheet& sheet,
                                 const std::string& path) {
  const SheetCounts counts = CountsFor(given, sheet, kGoalProgrammingSheet, path);
  goal::GoalRequest request;
  request.goals = counts.by_rows;
  request.variables = counts.variables;
  return request;
}

}  // namespace orcalc::cli
