#include "stats/stats_command.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "common/numeric_reading.h"
#include "common/report_text.h"
#include "stats/moment.h"
#include "stats/stats_result.h"
#include "stats/stats_texts.h"

namespace orcalc::stats {
namespace {

// The grid row of sample i: the linear-programming sheet keeps its
// objective in row 1, so its samples start one row lower.
int SampleRow(SheetKind kind, int i) { return kind == SheetKind::LinearProgramming ? i + 1 : i; }

void AddResultLine(ReportText& report, const char* label, const std::optional<double>& value) {
  report.Add(label);
  if (value) report.AddPlain(*value);
  report.EndLine();
}

}  // namespace

CalculationOutcome Calculate(const StatsRequest& request, const Sheet& sheet, StatsRun* run) {
  CalculationOutcome outcome;
  if (request.column < 1) {
    if (run) run->no_column = true;
    outcome.messages.emplace_back(kNoColumnMessage);
    return outcome;
  }
  const int N = ClampCount(request.count);
  const int col = request.column;

  // Cells beyond the sheet read as empty, so as 0.
  std::vector<double> samples(static_cast<std::size_t>(N), 0.0);
  CellReader cells(sheet);
  for (int i = 1; i <= N; ++i) {
    const int row = SampleRow(request.kind, i);
    if (!cells.Read(row, col, samples[static_cast<std::size_t>(i - 1)])) {
      outcome.messages.push_back(OverflowMessage(*cells.overflow()));
      if (run) run->cell_overflow = true;
      return outcome;
    }
  }

  ReportText report(request.decimal_separator);
  report.Reserve(64 + static_cast<std::size_t>(N) * 48 + 256);
  report.Add("共有样本数：").AddInt(N).EndLine();
  for (int i = 1; i <= N; ++i) {
    report.Add("第")
        .AddInt(i)
        .Add("个样本值 χ")
        .AddInt(i)
        .Add(" ＝ ")
        .AddPlain(samples[static_cast<std::size_t>(i - 1)])
        .EndLine();
  }

  const Moments moments = ComputeMoments(samples);
  outcome.messages = moments.messages;
  if (run) run->moments = moments;
  // Sums of huge samples can overflow: such a statistic is no answer.
  const std::optional<double>* const statistics[] = {
      &moments.mean,     &moments.average_deviation, &moments.standard_deviation,
      &moments.variance, &moments.skewness,          &moments.kurtosis,
      &moments.minimum,  &moments.maximum,           &moments.median};
  for (const std::optional<double>* value : statistics) {
    if (*value && !std::isfinite(**value)) {
      outcome.messages.emplace_back(kNumericOverflowMessage);
      if (run) run->numeric_overflow = true;
      break;
    }
  }

  report.Add("样本数=").AddInt(N).EndLine();
  AddResultLine(report, "平均值=", moments.mean);
  AddResultLine(report, "标准差=", moments.standard_deviation);
  AddResultLine(report, "平均差=", moments.average_deviation);
  AddResultLine(report, "方  差=", moments.variance);
  AddResultLine(report, "斜  差=", moments.skewness);
  AddResultLine(report, "峰  态=", moments.kurtosis);
  AddResultLine(report, "最小值=", moments.minimum);
  AddResultLine(report, "最大值=", moments.maximum);
  AddResultLine(report, "中位数=", moments.median);

  outcome.report = report.Take();
  outcome.title = kStatsTitle;
  if (run) run->samples = std::move(samples);
  return outcome;
}

}  // namespace orcalc::stats
