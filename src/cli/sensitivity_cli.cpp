// orcalc-cli sensitivity.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "lp/lp_sheet_file.h"
#include "lp/sensitivity_command.h"

namespace orcalc::cli {

int RunSensitivity(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true}, {"constraints", true}, {"max", false}, {"min", false}, {"csv", false}};
  const Arguments arguments(args, kOptions);
  if (arguments.Has("max") && arguments.Has("min"))
    throw UsageError("--max and --min exclude each other");
  const std::string path = SheetPath(arguments);
  const Sheet sheet = ReadSheetFile(path);

  lp::LpRequest request;
  request.variables = CountOption(arguments, "vars", sheet.cols() - 3);
  request.constraints = CountOption(arguments, "constraints", sheet.rows() - 2);
  // Without --max or --min the sheet's sense cell decides, as for lp.
  request.sense = arguments.Has("max")   ? lp::Sense::Maximise
                  : arguments.Has("min") ? lp::Sense::Minimise
                                         : lp::SenseFromSheet(sheet);
  return EmitOutcome(lp::CalculateSensitivity(
      request, sheet,
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report));
}

}  // namespace orcalc::cli
