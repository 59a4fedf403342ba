// orcalc-cli export: a linear-programming sheet's problem as a model file
// for other solvers.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/model_input.h"
#include "common/calculation.h"
#include "files/file_writer.h"
#include "lp/lp_sheet.h"
#include "models/model_writer.h"

namespace orcalc::cli {
namespace {

models::ModelFormat ExportFormat(const Arguments& arguments) {
  const std::vector<std::string> values = arguments.Values(kFormatOption.name);
  if (values.size() != 1 || (values.front() != "lp" && values.front() != "mps"))
    throw UsageError("export needs one --format, lp or mps");
  return values.front() == "mps" ? models::ModelFormat::Mps : models::ModelFormat::CplexLp;
}

}  // namespace

int RunExport(Args args) {
  static constexpr KnownOption kOptions[] = {{"vars", true}, {"constraints", true},
                                             {"max", false}, {"min", false},
                                             kFormatOption,  {"output", true}};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  const models::ModelFormat format = ExportFormat(arguments);
  const std::optional<std::string> output = arguments.Value("output");
  const Sheet sheet = ReadSheetFile(options.path);
  const lp::LpRequest request = LpRequestFor(options, sheet);
  const lp::LpIntake intake =
      lp::ReadLpSheet(sheet, request.variables, request.constraints, request.sense);
  if (intake.overflow) {
    PrintError(OverflowMessage(*intake.overflow));
    return kExitFailure;
  }
  if (const auto refusal = models::ExportRefusal(intake.problem)) {
    PrintError(*refusal);
    return kExitFailure;
  }
  const std::string text = format == models::ModelFormat::Mps ? models::FreeMpsText(intake.problem)
                                                              : models::CplexLpText(intake.problem);
  if (!output || *output == "-") {
    if (WriteOutput(text)) return kExitOk;
    PrintOutputError("the model");
    return kExitFailure;
  }
  const files::WriteOutcome written = files::WriteFileAtomically(*output, text);
  if (written.ok()) return kExitOk;
  PrintError("cannot write " + *output + ": " + files::DescribeWriteFailure(written));
  return kExitFailure;
}

}  // namespace orcalc::cli
