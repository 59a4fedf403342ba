// The commands of orcalc-cli. Each takes the arguments after its name and
// returns the exit status; usage mistakes throw UsageError, unreadable sheet
// files FileError.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "common/sheet.h"
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

// The one sheet file a calculating command takes.
std::string SheetPath(const Arguments& arguments);

// A count given by `option`, or `fallback` kept within 0..500.
int CountOption(const Arguments& arguments, std::string_view option, int fallback);

// A count that must be given.
int RequiredCount(const Arguments& arguments, std::string_view option);

// --max and --min of the commands on a linear-programming sheet: a usage
// error when both are given.
void RejectBothSenses(const Arguments& arguments);
// The sense they choose; without either, the sheet's sense cell decides.
lp::Sense SenseOption(const Arguments& arguments, const Sheet& sheet);
// A linear program's size and sense: --vars and --constraints, or what the
// sheet holds, and SenseOption.
lp::LpRequest LpRequestOption(const Arguments& arguments, const Sheet& sheet);

}  // namespace orcalc::cli
