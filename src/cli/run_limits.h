// The options that bound how a calculation runs rather than what it
// computes: the number of threads a pivot uses (a global option, before
// the command) and the time a solve may take (--max-seconds).
#pragma once

#include <optional>
#include <string_view>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/output_format.h"
#include "common/calculation.h"
#include "common/progress.h"

namespace orcalc::cli {

// The run was stopped by --max-seconds: no report.
inline constexpr int kExitTimeLimit = 3;

inline constexpr KnownOption kMaxSecondsOption = {"max-seconds", true};

// The longest --max-seconds: about 32 years, well within what the clock
// counts in nanoseconds.
inline constexpr double kMostSeconds = 1e9;

// Takes the leading "--threads N" (or "--threads=N") options off `args` and
// sizes the pivot pool with the last; the rest of the arguments.
Args TakeThreadsOption(Args args);

// --max-seconds: a number of seconds above 0 and at most kMostSeconds, or
// nothing when absent.
std::optional<double> MaxSeconds(const Arguments& arguments);

// Sets the time limit, when there is one, on `progress`.
void ApplyTimeLimit(std::optional<double> seconds, Progress& progress);

// The outcome as EmitOutcome writes it; a run stopped by its time limit
// writes one line on standard error and no report.
int EmitLimitedOutcome(const CalculationOutcome& outcome, const Arguments& arguments);

// The same in the output chosen (EmitChosen); a run stopped by its time
// limit writes no report, but its figures (status "time_limit") as CSV or
// JSON.
int EmitLimitedOutcome(const CalculationOutcome& outcome, const Arguments& arguments,
                       const OutputOptions& options, const FigureSource& figures);

}  // namespace orcalc::cli
