// orcalc-cli sensitivity.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/model_input.h"
#include "cli/output_format.h"
#include "integer/integer_texts.h"
#include "integer/variable_types.h"
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
  std::optional<std::vector<std::string>> record;
  const Sheet sheet = model ? std::move(model->sheet) : ReadSheetFile(options.path, record);
  const lp::LpRequest request = model ? ModelRequest(*model) : LpRequestFor(options, sheet);
  // An optimum's ranges say nothing of a whole-number solution's.
  std::vector<integer::VariableType> types =
      model ? model->types : std::vector<integer::VariableType>{};
  if (record) {
    integer::VariableTypesRead read = integer::ReadVariableTypes(*record, request.variables);
    if (!read.error.empty()) throw FileError(SheetFileName(options.path) + ": " + read.error);
    types = std::move(read.types);
  }
  if (integer::AnyWhole(types)) {
    CalculationOutcome refused;
    refused.messages.emplace_back(integer::kSensitivityNotForIntegerMessage);
    return EmitChosen(refused, output, [&](ResultWriter& out) {
      lp::WriteSensitivityResult(out, refused, lp::SensitivityRun{});
    });
  }

  lp::SensitivityRun run;
  const CalculationOutcome outcome = lp::CalculateSensitivity(
      request, sheet,
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report, &run);
  return EmitChosen(outcome, output,
                    [&](ResultWriter& out) { lp::WriteSensitivityResult(out, outcome, run); });
}

}  // namespace orcalc::cli
