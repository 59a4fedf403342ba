// The commands of orcalc-cli. Each takes the arguments after its name and
// returns the exit status; usage mistakes throw UsageError, unreadable or
// refused sheet files FileError. Every option is checked before the sheet
// file is opened.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "cli/sheet_counts.h"
#include "common/sheet.h"
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"

namespace orcalc::cli {

using Args = std::span<const std::string_view>;

int RunLayoutLp(Args args);
int RunLp(Args args);
int RunSensitivity(Args args);
int RunLayoutGoal(Args args);
int RunGoal(Args args);
int RunStats(Args args);
int RunGraph(Args args);
int RunStepsLp(Args args);
int RunStepsGoal(Args args);
int RunExport(Args args);

// The one sheet file a calculating command takes.
std::string SheetPath(const Arguments& arguments);

// A count given by `option`, or nothing when absent.
std::optional<int> GivenCount(const Arguments& arguments, std::string_view option);

// A count that must be given.
int RequiredCount(const Arguments& arguments, std::string_view option);

// The options of the commands on a linear-programming sheet.
struct LpOptions {
  std::string path;
  GivenCounts counts;              // --constraints, --vars
  std::optional<lp::Sense> sense;  // --max or --min
};

// The sheet file, the counts and the sense given; a usage error when both
// --max and --min are.
LpOptions LpOptionsOf(const Arguments& arguments);
// The sense given; without --max or --min the sheet's sense cell decides.
lp::Sense SenseFor(const LpOptions& options, const Sheet& sheet);
// A linear program's size and sense: the counts given or what the sheet's
// shape holds (see CountsFor), and SenseFor.
lp::LpRequest LpRequestFor(const LpOptions& options, const Sheet& sheet);
// A goal program's size: the counts given (--goals, --vars) or what the
// sheet's shape at `path` holds (see CountsFor).
goal::GoalRequest GoalRequestFor(const GivenCounts& given, const Sheet& sheet,
                                 const std::string& path);

}  // namespace orcalc::cli
