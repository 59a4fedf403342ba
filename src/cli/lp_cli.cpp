// orcalc-cli layout lp, orcalc-cli lp.
#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/run_limits.h"
#include "common/sheet_file.h"
#include "lp/lp_commands.h"

namespace orcalc::cli {

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
      {"vars", true}, {"constraints", true}, {"max", false}, {"min", false}, kMaxSecondsOption};
  const Arguments arguments(args, kOptions);
  RejectBothSenses(arguments);
  const std::string path = SheetPath(arguments);
  const Sheet sheet = ReadSheetFile(path);

  lp::LpRequest request = LpRequestOption(arguments, sheet);
  Progress progress;
  ApplyTimeLimit(arguments, progress);
  request.progress = &progress;
  return EmitLimitedOutcome(lp::Calculate(request, sheet), arguments);
}

}  // namespace orcalc::cli
