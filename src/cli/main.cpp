// orcalc-cli: the calculations of the sheet windows from the command line,
// on sheet files (the grid as UTF-8 CSV, header row and column included).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/graph_svg.h"
#include "cli/help.h"
#include "cli/process_memory.h"
#include "cli/run_limits.h"

namespace {

using orcalc::cli::Args;
using orcalc::cli::UsageError;

struct Runner {
  std::string_view name;
  int (*run)(Args);
};

constexpr Runner kRunners[] = {
    {"layout lp", orcalc::cli::RunLayoutLp},
    {"layout goal", orcalc::cli::RunLayoutGoal},
    {"lp", orcalc::cli::RunLp},
    {"sensitivity", orcalc::cli::RunSensitivity},
    {"graph", orcalc::cli::RunGraph},
    {"goal", orcalc::cli::RunGoal},
    {"stats", orcalc::cli::RunStats},
    {"steps lp", orcalc::cli::RunStepsLp},
    {"steps goal", orcalc::cli::RunStepsGoal},
    {"export", orcalc::cli::RunExport},
};

bool AsksForHelp(Args args) {
  for (std::string_view arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

// The command's name ("layout" and "steps" take the next word as well) and
// its arguments.
std::pair<std::string, Args> SplitCommand(Args args) {
  if (args.empty()) throw UsageError("missing a command");
  if ((args[0] == "layout" || args[0] == "steps") && args.size() > 1 && !args[1].starts_with("-")) {
    return {std::string(args[0]) + " " + std::string(args[1]), args.subspan(2)};
  }
  return {std::string(args[0]), args.subspan(1)};
}

int Print(std::string_view text) {
  if (orcalc::cli::WriteOutput(text)) return orcalc::cli::kExitOk;
  orcalc::cli::PrintOutputError("the help");
  return orcalc::cli::kExitFailure;
}

int Dispatch(Args all_args) {
  using namespace orcalc::cli;
  const Args args = TakeThreadsOption(all_args);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) return Print(FullHelp());
  if (!args.empty() && args[0] == "--version") return Print(VersionText());
  if (!args.empty() && args[0] == "help") {
    if (args.size() == 1) return Print(FullHelp());
    const auto [name, rest] = SplitCommand(args.subspan(1));
    const std::string_view usage = CommandUsage(name);
    if (usage.empty() || !rest.empty()) throw UsageError("no help on '" + name + "'");
    return Print(usage);
  }
  const auto [name, rest] = SplitCommand(args);
  for (const Runner& runner : kRunners) {
    if (runner.name != name) continue;
    if (AsksForHelp(rest)) return Print(CommandUsage(name));
    return runner.run(rest);
  }
  if (name == "layout") throw UsageError("layout needs 'lp' or 'goal'");
  if (name == "steps" || name.starts_with("steps ")) throw UsageError("steps needs 'lp' or 'goal'");
  throw UsageError("unknown command '" + name + "'");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orcalc::cli;
  HandPictureRunsOver(argc, argv);
  SetUpHeapForOneRun();
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
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
