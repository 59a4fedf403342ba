// orcalc-cli steps lp and steps goal: the tableaux of the calculation lp or
// goal makes.
#include <utility>

#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/run_limits.h"
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"
#include "steps/goal_steps_command.h"
#include "steps/step_render.h"
#include "steps/steps_command.h"

namespace orcalc::cli {
namespace {

steps::StepsFormat FormatOf(const Arguments& arguments) {
  const std::string format = arguments.Value("format").value_or("text");
  if (format == "text") return steps::StepsFormat::Text;
  if (format == "csv") return steps::StepsFormat::Csv;
  if (format == "html") return steps::StepsFormat::Html;
  if (format == "latex") return steps::StepsFormat::Latex;
  throw UsageError("--format takes text, html, latex or csv, got '" + format + "'");
}

// The messages of the calculation, then the steps; the exit status as lp's.
int EmitSteps(CalculationOutcome outcome, const std::string& steps) {
  outcome.report = steps;
  return EmitOutcome(outcome);
}

}  // namespace

int RunStepsLp(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true},       {"constraints", true}, {"max", false},   {"min", false},
      {"fractions", false}, {"decimals", false},   {"format", true}, kMaxSecondsOption};
  const Arguments arguments(args, kOptions);
  if (arguments.Has("fractions") && arguments.Has("decimals"))
    throw UsageError("--fractions and --decimals exclude each other");
  const steps::StepsFormat format = FormatOf(arguments);
  const LpOptions options = LpOptionsOf(arguments);
  const std::optional<double> max_seconds = MaxSeconds(arguments);

  const Sheet sheet = ReadSheetFile(options.path);
  lp::LpRequest request = LpRequestFor(options, sheet);
  Progress progress;
  ApplyTimeLimit(max_seconds, progress);
  request.progress = &progress;
  steps::StepsOptions steps_options;
  steps_options.fractions = !arguments.Has("decimals");
  steps::StepsOutcome outcome = steps::CalculateSteps(std::move(request), sheet, steps_options);
  if (!outcome.document) return EmitLimitedOutcome(outcome.calculation, arguments);
  return EmitSteps(std::move(outcome.calculation), steps::Render(*outcome.document, format));
}

int RunStepsGoal(Args args) {
  static constexpr KnownOption kOptions[] = {{"goals", true},      {"vars", true},
                                             {"fractions", false}, {"decimals", false},
                                             {"format", true},     kMaxSecondsOption};
  const Arguments arguments(args, kOptions);
  if (arguments.Has("fractions") && arguments.Has("decimals"))
    throw UsageError("--fractions and --decimals exclude each other");
  const steps::StepsFormat format = FormatOf(arguments);
  const GivenCounts given = GivenCountOptions(arguments, "goals");
  const std::optional<double> max_seconds = MaxSeconds(arguments);
  const std::string path = SheetPath(arguments);
  const Sheet sheet = ReadSheetFile(path);

  goal::GoalRequest request = GoalRequestFor(given, sheet, path);
  Progress progress;
  ApplyTimeLimit(max_seconds, progress);
  request.progress = &progress;
  steps::ReplayOptions replay;
  replay.fractions = !arguments.Has("decimals");
  replay.should_stop = [&] { return progress.ShouldStop(); };
  steps::GoalStepsOutcome run = steps::CalculateGoalSteps(request, sheet, replay);
  if (!run.steps) return EmitLimitedOutcome(run.outcome, arguments);
  return EmitSteps(std::move(run.outcome), steps::Render(*run.steps, format));
}

}  // namespace orcalc::cli
