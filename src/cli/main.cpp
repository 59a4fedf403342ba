// orcalc-cli: the calculations of the sheet windows from the command line,
// on sheet files (the grid as UTF-8 CSV, header row and column included).
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/run_limits.h"

namespace {

constexpr std::string_view kUsage =
    "Usage:\n"
    "  orcalc-cli layout lp --vars M --constraints N [--max]\n"
    "  orcalc-cli layout goal --goals M --vars N\n"
    "  orcalc-cli lp [--max|--min] [--vars M] [--constraints N] [--max-seconds S] SHEET.csv\n"
    "  orcalc-cli goal [--goals M] [--vars N] [--max-seconds S] SHEET.csv\n"
    "  orcalc-cli stats [--goal] --column C [--count N] SHEET.csv\n"
    "\n"
    "layout lp / layout goal\n"
    "    print the sheet that OK lays out on a fresh grid, as CSV.\n"
    "lp  solve the linear program of a linear-programming sheet (default:\n"
    "    minimise; M defaults to columns - 3, N to rows - 2).\n"
    "goal\n"
    "    solve the goal program of a goal-programming sheet (M defaults to\n"
    "    rows - 1, N to columns - 7).\n"
    "stats\n"
    "    statistics of column C over N samples (N defaults to rows - 2, or\n"
    "    rows - 1 with --goal for a goal-programming sheet).\n"
    "\n"
    "--threads N (before the command) splits each pivot of a large problem over\n"
    "N threads (default: all cores); the results do not depend on N.\n"
    "--max-seconds S stops lp or goal after S seconds without a report.\n"
    "\n"
    "Counts are whole numbers; larger than 500 counts as 500. SHEET.csv may be\n"
    "- to read standard input. The report goes to standard output exactly as\n"
    "the results window shows it (CR LF line ends); each message the window\n"
    "would show goes to standard error as one line.\n"
    "\n"
    "Exit status: 0 without messages, 1 when a message was shown, 2 on a usage\n"
    "error or a sheet file that cannot be read, 3 when --max-seconds stopped\n"
    "the calculation.\n";

bool WantsHelp(const std::vector<std::string_view>& args) {
  for (std::string_view arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

int Dispatch(const std::vector<std::string_view>& all_args) {
  using namespace orcalc::cli;
  const Args args = TakeThreadsOption(all_args);
  if (args.empty()) throw UsageError("missing a command");
  const std::string_view command = args[0];
  const Args rest = args.subspan(1);
  if (command == "layout") {
    if (rest.empty()) throw UsageError("layout needs 'lp' or 'goal'");
    if (rest[0] == "lp") return RunLayoutLp(rest.subspan(1));
    if (rest[0] == "goal") return RunLayoutGoal(rest.subspan(1));
    throw UsageError("unknown sheet '" + std::string(rest[0]) + "' (lp or goal)");
  }
  if (command == "lp") return RunLp(rest);
  if (command == "goal") return RunGoal(rest);
  if (command == "stats") return RunStats(rest);
  throw UsageError("unknown command '" + std::string(command) + "'");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orcalc::cli;
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (WantsHelp(args) || (args.size() == 1 && args[0] == "help")) {
    return WriteOutput(kUsage) ? kExitOk : kExitFailure;
  }
  try {
    return Dispatch(args);
  } catch (const UsageError& error) {
    PrintError(error.what());
    std::fprintf(stderr, "Try 'orcalc-cli --help'.\n");
    return kExitFailure;
  } catch (const FileError& error) {
    PrintError(error.what());
    return kExitFailure;
  } catch (const std::exception& error) {
    PrintError(error.what());
    return kExitFailure;
  }
}
