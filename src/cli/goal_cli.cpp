// orcalc-cli layout goal, orcalc-cli goal.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/run_limits.h"
#include "files/sheet_file.h"
#include "goal/goal_commands.h"
#include "goal/goal_result.h"

namespace orcalc::cli {

int RunLayoutGoal(Args args) {
  static constexpr KnownOption kOptions[] = {{"goals", true}, {"vars", true}};
  const Arguments arguments(args, kOptions);
  if (!arguments.positionals().empty()) {
    throw UsageError("layout goal takes no file, got '" + arguments.positionals().front() + "'");
  }
  const int goals = RequiredCount(arguments, "goals");
  const int variables = RequiredCount(arguments, "vars");
  Sheet sheet;
  goal::LayOutSheet(sheet, goals, variables);
  if (!WriteOutput(WriteSheetCsv(sheet))) {
    PrintOutputError("the sheet");
    return kExitFailure;
  }
  return kExitOk;
}

int RunGoal(Args args) {
  static constexpr KnownOption kOptions[] = {{"goals", true}, {"vars", true}, kMaxSecondsOption,
                                             kFormatOption,   kOutputOption,  kLfOption};
  const Arguments arguments(args, kOptions);
  const GivenCounts given = GivenCountOptions(arguments, "goals");
  const std::optional<double> max_seconds = MaxSeconds(arguments);
  const OutputOptions output = OutputOptionsOf(arguments);
  const std::string path = SheetPath(arguments);
  const Sheet sheet = ReadSheetFile(path);

  goal::GoalRequest request = GoalRequestFor(given, sheet, path);
  Progress progress;
  ApplyTimeLimit(max_seconds, progress);
  request.progress = &progress;
  goal::GoalRun run;
  const CalculationOutcome outcome =
      goal::Calculate(request, sheet, output.format == OutputFormat::Report ? nullptr : &run);
  return EmitLimitedOutcome(outcome, arguments, output, [&](ResultWriter& out) {
    goal::WriteGoalResult(out, run, outcome, ResultStatus::TimeLimit);
  });
}

}  // namespace orcalc::cli
