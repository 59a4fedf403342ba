#include "cli/run_limits.h"

#include <charconv>
#include <string>

#include "cli/cli_io.h"
#include "parallel/thread_pool.h"

namespace orcalc::cli {
namespace {

constexpr int kMostThreads = 256;

}  // namespace

Args TakeThreadsOption(Args args) {
  std::optional<std::string_view> value;
  while (!args.empty()) {
    if (args[0] == "--threads") {
      if (args.size() < 2) throw UsageError("--threads needs a value");
      value = args[1];
      args = args.subspan(2);
    } else if (args[0].starts_with("--threads=")) {
      value = args[0].substr(std::string_view("--threads=").size());
      args = args.subspan(1);
    } else {
      break;
    }
  }
  if (value) SetPivotThreads(ParseWholeNumber("threads", *value, 1, kMostThreads));
  return args;
}

std::optional<double> MaxSeconds(const Arguments& arguments) {
  const std::optional<std::string> text = arguments.Value(kMaxSecondsOption.name);
  if (!text) return std::nullopt;
  double seconds = 0;
  const char* first = text->data();
  const char* last = first + text->size();
  const auto [end, error] = std::from_chars(first, last, seconds);
  // NaN fails both comparisons.
  if (text->empty() || error != std::errc() || end != last || !(seconds > 0) ||
      !(seconds <= kMostSeconds)) {
    throw UsageError(
        "--max-seconds takes a number of seconds greater than 0 and at most 1e9, got '" + *text +
        "'");
  }
  return seconds;
}

void ApplyTimeLimit(std::optional<double> seconds, Progress& progress) {
  if (seconds) progress.SetTimeLimit(*seconds);
}

namespace {

void PrintStopped(const Arguments& arguments) {
  PrintError("stopped after " + *arguments.Value(kMaxSecondsOption.name) +
             " seconds (--max-seconds); no report");
}

}  // namespace

int EmitLimitedOutcome(const CalculationOutcome& outcome, const Arguments& arguments) {
  if (!outcome.stopped) return EmitOutcome(outcome);
  PrintStopped(arguments);
  return kExitTimeLimit;
}

int EmitLimitedOutcome(const CalculationOutcome& outcome, const Arguments& arguments,
                       const OutputOptions& options, const FigureSource& figures) {
  if (!outcome.stopped) return EmitChosen(outcome, options, figures);
  PrintStopped(arguments);
  const std::string output = ChosenOutput(outcome, options, figures);
  if ((!output.empty() || options.path) && !WriteChosen(output, options)) return kExitFailure;
  return kExitTimeLimit;
}

}  // namespace orcalc::cli
