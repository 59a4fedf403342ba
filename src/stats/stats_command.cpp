#include "stats/stats_command.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "common/numeric_reading.h"
#include "common/report_text.h"
#include "stats/moment.h"

namespace orcalc::stats {
namespace {

constexpr const char* kNoColumnMessage =
    "您没有选择要统计数据的列！请在要统计的数据列上单击后再统计！";
constexpr const char* kTitle = "统计结果";

// The grid row of sample i: the linear-programming sheet keeps its
// objective in row 1, so its samples start one row lower.
int SampleRow(SheetKind kind, int i) { return kind == SheetKind::LinearProgramming ? i + 1 : i; }

void AddResultLine(ReportText& report, const char* label, const std::optional<double>& value) {
  report.Add(label);
  if (value) report.AddPlain(*value);
  report.EndLine();
}

}  // namespace

CalculationOutcome Calculate(const StatsRequest& request, const Sheet& sheet) {
  CalculationOutcome outcome;
  if (request.column < 1) {
    outcome.messages.emplace_back(kNoColumnMessage);
    return outcome;
  }
  const int N = std::clamp(request.count, 0, kMaxCount);
  const int col = request.column;

  // Cells beyond the sheet read as empty, so as 0.
  std::vector<double> data(static_cast<std::size_t>(N) + 1, 0.0);
  for (int i = 1; i <= N; ++i) {
    const int row = SampleRow(request.kind, i);
    const NumberReading reading = ReadNumberChecked(sheet.Cell(row, col));
    if (reading.overflow) {
      outcome.messages.push_back(OverflowMessage(row, col));
      return outcome;
    }
    data[i] = reading.value;
  }

  ReportText report(request.decimal_separator);
  report.Reserve(64 + static_cast<std::size_t>(N) * 48 + 256);
  report.Add("共有样本数：").AddInt(N).EndLine();
  for (int i = 1; i <= N; ++i) {
    report.Add("第").AddInt(i).Add("个样本值 χ").AddInt(i).Add(" ＝ ").AddPlain(data[i]).EndLine();
  }

  std::optional<double> AVE, ADEV, SDEV, VAR, SKEW, CURT, Minn, Maxx, XMED;
  outcome.messages = MOMENT(data, N, AVE, ADEV, SDEV, VAR, SKEW, CURT, Minn, Maxx, XMED);
  // Sums of huge samples can overflow: such a statistic is no answer.
  for (const auto* value : {&AVE, &ADEV, &SDEV, &VAR, &SKEW, &CURT, &Minn, &Maxx, &XMED}) {
    if (*value && !std::isfinite(**value)) {
      outcome.messages.emplace_back(kNumericOverflowMessage);
      break;
    }
  }

  report.Add("样本数=").AddInt(N).EndLine();
  AddResultLine(report, "平均值=", AVE);
  AddResultLine(report, "标准差=", SDEV);
  AddResultLine(report, "平均差=", ADEV);
  AddResultLine(report, "方  差=", VAR);
  AddResultLine(report, "斜  差=", SKEW);
  AddResultLine(report, "峰  态=", CURT);
  AddResultLine(report, "最小值=", Minn);
  AddResultLine(report, "最大值=", Maxx);
  AddResultLine(report, "中位数=", XMED);

  outcome.report = report.Take();
  outcome.title = kTitle;
  return outcome;
}

}  // namespace orcalc::stats
