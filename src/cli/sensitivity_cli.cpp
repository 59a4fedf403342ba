// orcalc-cli sensitivity.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "integer/integer_texts.h"
#include "integer/variable_types.h"
#include "sensitivity/sensitivity_command.h"

namespace orcalc::cli {

int RunSensitivity(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true}, {"constraints", true}, {"max", false}, {"min", false}, {"csv", false}};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  std::optional<std::vector<std::string>> record;
  const Sheet sheet = ReadSheetFile(options.path, record);
  const lp::LpRequest request = LpRequestFor(options, sheet);
  if (record) {
    // An optimum's ranges say nothing of a whole-number solution's.
    const integer::VariableTypesRead types = integer::ReadVariableTypes(*record, request.variables);
    if (!types.error.empty()) throw FileError(SheetFileName(options.path) + ": " + types.error);
    if (integer::AnyWhole(types.types)) {
      CalculationOutcome refused;
      refused.messages.emplace_back(integer::kSensitivityNotForIntegerMessage);
      return EmitOutcome(refused);
    }
  }
  return EmitOutcome(lp::CalculateSensitivity(
      request, sheet,
      arguments.Has("csv") ? lp::SensitivityFormat::Csv : lp::SensitivityFormat::Report));
}

}  // namespace orcalc::cli
