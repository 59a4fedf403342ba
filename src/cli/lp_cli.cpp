// orcalc-cli layout lp, orcalc-cli lp.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/model_input.h"
#include "cli/run_limits.h"
#include "files/sheet_file.h"
#include "lp/lp_commands.h"
#include "lp/lp_result.h"
#include "models/model_report.h"
#include "models/model_result.h"

namespace orcalc::cli {

int RunLayoutLp(Args args) {
  static constexpr KnownOption kOptions[] = {{"vars", true}, {"constraints", true}, {"max", false}};
  const Arguments arguments(args, kOptions);
  if (!arguments.positionals().empty()) {
    throw UsageError("layout lp takes no file, got '" + arguments.positionals().front() + "'");
  }
  const int m = RequiredCount(arguments, "vars");
  const int n = RequiredCount(arguments, "constraints");
  Sheet sheet;  // a fresh grid, as the window starts with
  lp::LayOutSheet(sheet, m, n, arguments.Has("max") ? lp::Sense::Maximise : lp::Sense::Minimise);
  if (!WriteOutput(WriteSheetCsv(sheet))) {
    PrintOutputError("the sheet");
    return kExitFailure;
  }
  return kExitOk;
}

int RunLp(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true},    {"constraints", true}, {"max", false}, {"min", false},
      kMaxSecondsOption, kFormatOption,         kOutputOption,  kLfOption};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  const LpFileKind kind = LpFileKindOf(arguments, options.path);
  RequireNoSheetOptions(arguments, kind);
  const std::optional<double> max_seconds = MaxSeconds(arguments);
  const OutputOptions output = OutputOptionsOf(arguments);
  Progress progress;
  if (kind != LpFileKind::Sheet) {
    const models::ModelSheet model = ReadModelSheet(options.path, kind);
    lp::LpRequest request = ModelRequest(model);
    ApplyTimeLimit(max_seconds, progress);
    request.progress = &progress;
    std::optional<lp::SolvedLp> solved;
    const CalculationOutcome outcome = models::CalculateModel(model, request, &solved);
    return EmitLimitedOutcome(outcome, arguments, output, [&](ResultWriter& out) {
      lp::WriteLpResult(out, {outcome, solved, ResultStatus::TimeLimit}, [&](ResultWriter& more) {
        models::WriteModelFigures(more, model, solved);
      });
    });
  }
  lp::LpRequest request;
  lp::LpIntake intake;
  {
    const Sheet sheet = ReadSheetFile(options.path);
    request = LpRequestFor(options, sheet);
    ApplyTimeLimit(max_seconds, progress);
    request.progress = &progress;
    intake = lp::ReadLpSheet(sheet, request.variables, request.constraints, request.sense);
  }  // the sheet's cells (8 MB at 500 × 500) freed for the tableau and the report
  // The figures need the solved problem; the report alone does not.
  std::optional<lp::SolvedLp> solved;
  const CalculationOutcome outcome = lp::SolveAndReport(
      request, intake, output.format == OutputFormat::Report ? nullptr : &solved);
  return EmitLimitedOutcome(outcome, arguments, output, [&](ResultWriter& out) {
    lp::WriteLpResult(out, {outcome, solved, ResultStatus::TimeLimit});
  });
}

}  // namespace orcalc::cli
