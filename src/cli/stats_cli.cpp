// orcalc-cli stats.
#include <cstdint>
#include <limits>

#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/output_format.h"
#include "common/numeric_reading.h"
#include "common/sheet_layout.h"
#include "stats/stats_command.h"
#include "stats/stats_result.h"

namespace orcalc::cli {

int RunStats(Args args) {
  static constexpr KnownOption kOptions[] = {{"goal", false}, {"column", true}, {"count", true},
                                             kFormatOption,   kOutputOption,    kLfOption};
  const Arguments arguments(args, kOptions);
  const std::optional<std::string> column = arguments.Value("column");
  if (!column) throw UsageError("stats needs --column C");
  // The recorded column is a 16-bit value; below 1 means no column chosen.
  const int recorded = ParseWholeNumber("column", *column, std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max());
  const std::optional<int> count = GivenCount(arguments, "count");
  const OutputOptions output = OutputOptionsOf(arguments);
  const Sheet sheet = ReadSheetFile(SheetPath(arguments));

  stats::StatsRequest request;
  request.column = recorded;
  request.kind = arguments.Has("goal") ? stats::SheetKind::GoalProgramming
                                       : stats::SheetKind::LinearProgramming;
  // The samples start in the first constraint (goal) row.
  const SheetLayout& layout =
      request.kind == stats::SheetKind::GoalProgramming ? kGoalSheetLayout : kLpSheetLayout;
  request.count = count.value_or(ClampCount(layout.CountFromRows(sheet.rows())));
  stats::StatsRun run;
  const CalculationOutcome outcome = stats::Calculate(request, sheet, &run);
  return EmitChosen(outcome, output,
                    [&](ResultWriter& out) { stats::WriteStatsResult(out, run, outcome); });
}

}  // namespace orcalc::cli
