// orcalc-cli sensitivity.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "lp/sensitivity_command.h"

namespace orcalc::cli {

int RunSensitivity(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true}, {"constraints", true}, {"max", false}, {"min", false}, {"csv", false}};
  const Arguments arguments(args, kOptions);
  RejectBothSenses(arguments);
  const std::string path = SheetPath(arguments);
  const Sheet sheet = ReadSheetFile(path);

  return EmitOutcome(lp::CalculateSensitivity(
      LpRequestOption(arguments, sheet), sheet,
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report));
}

}  // namespace orcalc::cli
