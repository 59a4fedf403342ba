// orcalc-cli graph: the graphical method's corners and optimum as text, and
// its picture as SVG.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/graph_svg.h"
#include "cli/model_input.h"
#include "cli/output_format.h"
#include "geometry/graph_command.h"
#include "geometry/graph_result.h"
#include "geometry/graph_text.h"

namespace orcalc::cli {
namespace {

void RequireTwoVariables(int variables) {
  if (variables != 2) {
    throw UsageError("graph draws problems in 2 variables, not " + std::to_string(variables) +
                     " (see --vars)");
  }
}

}  // namespace

int RunGraph(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true}, {"constraints", true}, {"max", false}, {"min", false},
      {"svg", true},  kFormatOption,         kOutputOption,  kLfOption};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  const LpFileKind kind = LpFileKindOf(arguments, options.path);
  RequireNoSheetOptions(arguments, kind);
  if (options.counts.variables) RequireTwoVariables(*options.counts.variables);
  const std::optional<std::string> svg = arguments.Value("svg");
  if (svg && !CanDrawPictures()) {
    throw UsageError("--svg needs an orcalc-cli built with the Qt windows (ORCALC_GUI=ON)");
  }
  const OutputOptions output = OutputOptionsOf(arguments);
  std::optional<models::ModelSheet> model;
  if (kind != LpFileKind::Sheet) model = ReadModelSheet(options.path, kind);
  std::optional<std::vector<std::string>> record;
  const Sheet sheet = model ? std::move(model->sheet) : ReadSheetFile(options.path, record);

  const lp::LpRequest counted = model ? ModelRequest(*model) : LpRequestFor(options, sheet);
  RequireTwoVariables(counted.variables);
  const lp::GraphRequest request{counted.variables, counted.constraints, counted.sense};
  std::vector<integer::VariableType> types =
      model ? model->types : std::vector<integer::VariableType>{};
  if (record) {
    integer::VariableTypesRead read = integer::ReadVariableTypes(*record, counted.variables);
    if (!read.error.empty()) throw FileError(SheetFileName(options.path) + ": " + read.error);
    types = std::move(read.types);
  }
  const lp::GraphCalculation calculation = lp::CalculateGraph(request, sheet, types);
  CalculationOutcome outcome;
  outcome.messages = calculation.messages;
  if (calculation.geometry) outcome.report = lp::GraphListing(*calculation.geometry);
  if (calculation.geometry && calculation.geometry->lattice)
    *outcome.report += lp::GraphLatticeListing(*calculation.geometry->lattice);
  const int status = EmitChosen(
      outcome, output, [&](ResultWriter& out) { lp::WriteGraphResult(out, calculation); },
      "the listing");
  if (!calculation.geometry || status != kExitOk) return status;
  std::string error;
  if (svg && !WriteGraphSvg(*svg, *calculation.geometry, error)) {
    PrintError("cannot write " + *svg + ": " + error);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace orcalc::cli
