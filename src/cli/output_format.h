// The form and the place of a calculation's output: --format
// report|csv|json, -o/--output FILE and --lf.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "common/calculation.h"
#include "common/result_writer.h"

namespace orcalc::cli {

enum class OutputFormat {
  Report,  // the results window's report, exactly (CR LF unless --lf)
  Csv,     // one record per figure (csv_figures.h)
  Json,    // one object (json_writer.h)
};

struct OutputOptions {
  OutputFormat format = OutputFormat::Report;
  std::optional<std::string> path;  // -o/--output; standard output without
  bool lf = false;                  // --lf: the report with LF line ends
};

inline constexpr KnownOption kFormatOption = {"format", true};
inline constexpr KnownOption kOutputOption = {"output", true};
inline constexpr KnownOption kLfOption = {"lf", false};

// The output options given. --format may be given twice: once with the
// output's form (report, csv or json) and once with a model file's
// (mps, lp or sheet), which is left to the model reader. Any other value,
// or two different forms of output, is a usage error. A target of -o that
// exists and must not be replaced (a folder, a read-only file) is refused
// here, before any calculation, with FileError.
OutputOptions OutputOptionsOf(const Arguments& arguments);

// Writes the figures of a run through a ResultWriter.
using FigureSource = std::function<void(ResultWriter&)>;

// The text the options choose: the report (nothing without one), or the
// figures as CSV or JSON.
std::string ChosenOutput(const CalculationOutcome& outcome, const OutputOptions& options,
                         const FigureSource& figures);

// Each message as one line on standard error, then the chosen output to
// standard output or into the -o file (created or replaced through the
// guarded writer, also when empty). Returns the exit status: 0 without
// messages, 1 with, 2 when the output could not be written.
// `report_name` names the report in the message when standard output
// fails ("the report", "the listing").
int EmitChosen(const CalculationOutcome& outcome, const OutputOptions& options,
               const FigureSource& figures, std::string_view report_name = "the report");

// Writes `bytes` where the options say; false, with the reason on standard
// error, when that failed.
bool WriteChosen(std::string_view bytes, const OutputOptions& options,
                 std::string_view report_name = "the report");

}  // namespace orcalc::cli
