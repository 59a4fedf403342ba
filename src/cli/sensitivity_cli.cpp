// orcalc-cli sensitivity.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "sensitivity/sensitivity_command.h"

namespace orcalc::cli {

int RunSensitivity(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true}, {"constraints", true}, {"max", false}, {"min", false}, {"csv", false}};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  const Sheet sheet = ReadSheetFile(options.path);

  return EmitOutcome(lp::CalculateSensitivity(
      LpRequestFor(options, sheet), sheet,
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report));
}

}  // namespace orcalc::cli
