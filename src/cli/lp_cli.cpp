// orcalc-cli layout lp, orcalc-cli lp.
#include <charconv>

#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/model_input.h"
#include "cli/run_limits.h"
#include "common/sheet_layout.h"
#include "files/sheet_file.h"
#include "integer/integer_commands.h"
#include "integer/integer_result.h"
#include "lp/lp_commands.h"
#include "lp/lp_result.h"
#include "models/model_report.h"
#include "models/model_result.h"

namespace orcalc::cli {
namespace {

// The most --max-nodes takes.
constexpr long kMostNodes = 1000000000;

long MaxNodes(const Arguments& arguments) {
  const std::optional<std::string> text = arguments.Value("max-nodes");
  if (!text) return integer::kDefaultNodeLimit;
  long nodes = 0;
  const char* last = text->data() + text->size();
  const auto [end, error] = std::from_chars(text->data(), last, nodes);
  if (text->empty() || error != std::errc() || end != last || nodes < 1 || nodes > kMostNodes) {
    throw UsageError("--max-nodes takes a whole number from 1 to 1000000000, got '" + *text + "'");
  }
  return nodes;
}

// The lists' form, and numbers within the most variables a sheet has,
// before the sheet file is read.
void CheckVariableLists(const Arguments& arguments) {
  std::vector<integer::VariableType> most(static_cast<std::size_t>(kMaxCount));
  for (const char* option : {"integer", "binary"}) {
    const std::optional<std::string> list = arguments.Value(option);
    if (list && !integer::ApplyVariableList(*list, integer::VariableType::Integer, most)) {
      throw UsageError(std::string("--") + option +
                       " takes variable numbers and ranges such as 1,3-5, got '" + *list + "'");
    }
  }
}

// --integer, then --binary, over `types`.
void ApplyTypeOptions(const Arguments& arguments, std::vector<integer::VariableType>& types) {
  for (const auto& [option, type] : {std::pair{"integer", integer::VariableType::Integer},
                                     std::pair{"binary", integer::VariableType::Binary}}) {
    const std::optional<std::string> list = arguments.Value(option);
    if (list && !integer::ApplyVariableList(*list, type, types)) {
      throw UsageError(std::string("--") + option + " takes variable numbers from 1 to " +
                       std::to_string(types.size()) + " and ranges such as 1,3-5, got '" + *list +
                       "'");
    }
  }
}

// The file's types record for m variables, then --integer, then --binary.
std::vector<integer::VariableType> TypesFor(const Arguments& arguments,
                                            const std::optional<std::vector<std::string>>& record,
                                            int m, const std::string& path) {
  integer::VariableTypesRead read =
      integer::ReadVariableTypes(record.value_or(std::vector<std::string>{}), m);
  if (!read.error.empty()) throw FileError(SheetFileName(path) + ": " + read.error);
  ApplyTypeOptions(arguments, read.types);
  return read.types;
}

// A model file: by branch and bound when its integer variables (or the
// options) make any χ integer.
int RunModel(const Arguments& arguments, const models::ModelSheet& model,
             const integer::IntegerRequest& request, const OutputOptions& output) {
  if (integer::AnyWhole(request.types)) {
    std::optional<integer::SolvedInteger> solved;
    const CalculationOutcome outcome = models::CalculateIntegerModel(model, request, &solved);
    return EmitLimitedOutcome(outcome, arguments, output, [&](ResultWriter& out) {
      integer::WriteIntegerResult(
          out, {outcome, solved, ResultStatus::TimeLimit}, [&](ResultWriter& more) {
            const bool found = solved && solved->result.incumbent;
            models::WriteModelFigures(more, model, found ? &*solved->result.incumbent : nullptr);
          });
    });
  }
  std::optional<lp::SolvedLp> solved;
  const CalculationOutcome outcome = models::CalculateModel(model, request.lp, &solved);
  return EmitLimitedOutcome(outcome, arguments, output, [&](ResultWriter& out) {
    lp::WriteLpResult(out, {outcome, solved, ResultStatus::TimeLimit},
                      [&](ResultWriter& more) { models::WriteModelFigures(more, model, solved); });
  });
}

}  // namespace

int RunLayoutLp(Args args) {
  static constexpr KnownOption kOptions[] = {{"vars", true}, {"constraints", true}, {"max", false}};
  const Arguments arguments(args, kOptions);
  if (!arguments.positionals().empty()) {
    throw UsageError("layout lp takes no file, got '" + arguments.positionals().front() + "'");
  }
  const int m = RequiredCount(arguments, "vars");
  const int n = RequiredCount(arguments, "constraints");
  Sheet sheet;  // a fresh grid, as the window starts with
  lp::LayOutSheet(sheet, m, n, arguments.Has("max") ? lp::Sense::Maximise : lp::Sense::Minimise);
  if (!WriteOutput(WriteSheetCsv(sheet))) {
    PrintOutputError("the sheet");
    return kExitFailure;
  }
  return kExitOk;
}

int RunLp(Args args) {
  static constexpr KnownOption kOptions[] = {
      {"vars", true},   {"constraints", true}, {"max", false},    {"min", false}, {"integer", true},
      {"binary", true}, {"max-nodes", true},   kMaxSecondsOption, kFormatOption,  kOutputOption,
      kLfOption};
  const Arguments arguments(args, kOptions);
  const LpOptions options = LpOptionsOf(arguments);
  const LpFileKind kind = LpFileKindOf(arguments, options.path);
  RequireNoSheetOptions(arguments, kind);
  const std::optional<double> max_seconds = MaxSeconds(arguments);
  integer::IntegerRequest request;
  request.node_limit = MaxNodes(arguments);
  CheckVariableLists(arguments);
  const OutputOptions output = OutputOptionsOf(arguments);
  Progress progress;
  if (kind != LpFileKind::Sheet) {
    const models::ModelSheet model = ReadModelSheet(options.path, kind);
    request.lp = ModelRequest(model);
    ApplyTimeLimit(max_seconds, progress);
    request.lp.progress = &progress;
    request.types = model.types;
    ApplyTypeOptions(arguments, request.types);
    return RunModel(arguments, model, request, output);
  }
  lp::LpIntake intake;
  {
    std::optional<std::vector<std::string>> record;
    const Sheet sheet = ReadSheetFile(options.path, record);
    request.lp = LpRequestFor(options, sheet);
    request.types = TypesFor(arguments, record, request.lp.variables, options.path);
    ApplyTimeLimit(max_seconds, progress);
    request.lp.progress = &progress;
    intake = lp::ReadLpSheet(sheet, request.lp.variables, request.lp.constraints, request.lp.sense);
  }  // the sheet's cells (8 MB at 500 × 500) freed for the tableau and the report
  if (integer::AnyWhole(request.types)) {
    std::optional<integer::SolvedInteger> solved;
    const CalculationOutcome outcome = integer::SolveAndReport(
        request, intake, output.format == OutputFormat::Report ? nullptr : &solved);
    return EmitLimitedOutcome(outcome, arguments, output, [&](ResultWriter& out) {
      integer::WriteIntegerResult(out, {outcome, solved, ResultStatus::TimeLimit});
    });
  }
  // The figures need the solved problem; the report alone does not.
  std::optional<lp::SolvedLp> solved;
  const CalculationOutcome outcome = lp::SolveAndReport(
      request.lp, intake, output.format == OutputFormat::Report ? nullptr : &solved);
  return EmitLimitedOutcome(outcome, arguments, output, [&](ResultWriter& out) {
    lp::WriteLpResult(out, {outcome, solved, ResultStatus::TimeLimit});
  });
}

}  // namespace orcalc::cli
