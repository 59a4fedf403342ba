// orcalc-cli sensitivity.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/model_input.h"
#include "sensitivity/sensitivity_command.h"

namespace orcalc::cli {

int RunSensitivity(Args args) {
  static constexpr KnownOption kOptions[] = {{"vars", true}, {"constraints", true}, {"max", false},
                                             {"min", false}, {"csv", false},        kFormatOption};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  const LpFileKind kind = LpFileKindOf(arguments, options.path);
  RequireNoSheetOptions(arguments, kind);
  const lp::SensitivityFormat format =
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report;
  if (kind != LpFileKind::Sheet) {
    const models::ModelSheet model = ReadModelSheet(options.path, kind);
    return EmitOutcome(lp::CalculateSensitivity(ModelRequest(model), model.sheet, format));
  }
  const Sheet sheet = ReadSheetFile(options.path);
  return EmitOutcome(lp::CalculateSensitivity(LpRequestFor(options, sheet), sheet, format));
}

}  // namespace orcalc::cli
