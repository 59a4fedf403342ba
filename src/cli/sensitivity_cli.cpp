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

  lp::LpRequest request;
  request.variables = CountOption(arguments, "vars", sheet.cols() - 3);
  request.constraints = CountOption(arguments, "constraints", sheet.rows() - 2);
  request.sense = SenseOption(arguments, sheet);
  return EmitOutcome(lp::CalculateSensitivity(
      request, sheet,
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report));
}

}  // namespace orcalc::cli
