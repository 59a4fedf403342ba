#include "cli/output_format.h"

#include <cstdio>

#include "cli/cli_io.h"
#include "common/csv_figures.h"
#include "common/json_writer.h"
#include "files/file_writer.h"

namespace orcalc::cli {
namespace {

std::optional<OutputFormat> FormatNamed(std::string_view name) {
  if (name == "report") return OutputFormat::Report;
  if (name == "csv") return OutputFormat::Csv;
  if (name == "json") return OutputFormat::Json;
  return std::nullopt;
}

bool IsModelFormat(std::string_view name) {
  return name == "mps" || name == "lp" || name == "sheet";
}

std::string WithLineFeeds(std::string_view report) {
  std::string text;
  text.reserve(report.size());
  for (std::size_t at = 0; at < report.size(); ++at) {
    if (report[at] == '\r' && at + 1 < report.size() && report[at + 1] == '\n') continue;
    text.push_back(report[at]);
  }
  return text;
}

}  // namespace

OutputOptions OutputOptionsOf(const Arguments& arguments) {
  OutputOptions options;
  std::optional<std::string> chosen;
  for (const std::string& value : arguments.Values(kFormatOption.name)) {
    if (IsModelFormat(value)) continue;
    const std::optional<OutputFormat> format = FormatNamed(value);
    if (!format) {
      throw UsageError(
          "--format takes report, csv or json (mps, lp or sheet for a model file), "
          "got '" +
          value + "'");
    }
    if (chosen && *chosen != value)
      throw UsageError("--format " + *chosen + " and --format " + value + " exclude each other");
    chosen = value;
    options.format = *format;
  }
  options.lf = arguments.Has(kLfOption.name);
  options.path = arguments.Value(kOutputOption.name);
  if (options.path) {
    if (options.path->empty()) throw UsageError("--output needs a file name");
    const files::WriteOutcome target = files::CheckWriteTarget(*options.path);
    if (!target.ok())
      throw FileError("cannot write " + *options.path + ": " + files::DescribeWriteFailure(target));
  }
  return options;
}

std::string ChosenOutput(const CalculationOutcome& outcome, const OutputOptions& options,
                         const FigureSource& figures) {
  switch (options.format) {
    case OutputFormat::Report:
      if (!outcome.report) return {};
      return options.lf ? WithLineFeeds(*outcome.report) : *outcome.report;
    case OutputFormat::Csv: {
      CsvFigureWriter csv;
      figures(csv);
      return csv.Take();
    }
    case OutputFormat::Json: {
      JsonWriter json;
      figures(json);
      return json.Take();
    }
  }
  return {};
}

bool WriteChosen(std::string_view bytes, const OutputOptions& options,
                 std::string_view report_name) {
  if (!options.path) {
    if (WriteOutput(bytes)) return true;
    PrintOutputError(options.format == OutputFormat::Report ? report_name : "the result");
    return false;
  }
  const files::WriteOutcome written = files::WriteFileAtomically(*options.path, bytes);
  if (written.ok()) return true;
  PrintError("cannot write " + *options.path + ": " + files::DescribeWriteFailure(written));
  return false;
}

int EmitChosen(const CalculationOutcome& outcome, const OutputOptions& options,
               const FigureSource& figures, std::string_view report_name) {
  for (const std::string& message : outcome.messages) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
  }
  std::fflush(stderr);
  // Standard output gets nothing without a report, as before; a file gets
  // what standard output would, so that none is left from an earlier run.
  const std::string output = ChosenOutput(outcome, options, figures);
  if ((!output.empty() || options.path) && !WriteChosen(output, options, report_name))
    return kExitFailure;
  return outcome.messages.empty() ? kExitOk : kExitMessages;
}

}  // namespace orcalc::cli
