// orcalc-cli sensitivity.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/model_input.h"
#include "cli/output_format.h"
#include "sensitivity/sensitivity_command.h"
#include "sensitivity/sensitivity_result.h"

namespace orcalc::cli {

int RunSensitivity(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true}, {"constraints", true}, {"max", false}, {"min", false},
      {"csv", false}, kFormatOption,         kOutputOption,  kLfOption};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  const LpFileKind kind = LpFileKindOf(arguments, options.path);
  RequireNoSheetOptions(arguments, kind);
  const OutputOptions output = OutputOptionsOf(arguments);
  if (arguments.Has("csv") && output.format != OutputFormat::Report)
    throw UsageError("--csv is a report of its own; it excludes --format csv and --format json");
  std::optional<models::ModelSheet> model;
  if (kind != LpFileKind::Sheet) model = ReadModelSheet(options.path, kind);
  const Sheet sheet = model ? std::move(model->sheet) : ReadSheetFile(options.path);

  lp::SensitivityRun run;
  const CalculationOutcome outcome = lp::CalculateSensitivity(
      model ? ModelRequest(*model) : LpRequestFor(options, sheet), sheet,
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report, &run);
  return EmitChosen(outcome, output,
                    [&](ResultWriter& out) { lp::WriteSensitivityResult(out, outcome, run); });
}

}  // namespace orcalc::cli
