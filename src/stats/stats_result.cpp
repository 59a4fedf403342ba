#include "stats/stats_result.h"

#include <optional>
#include <utility>

#include "common/common_texts.h"
#include "stats/stats_texts.h"

namespace orcalc::stats {

std::vector<KeyedMessage> StatsNotices(const StatsRun& run, const CalculationOutcome& outcome) {
  std::vector<KeyedMessage> notices;
  if (run.no_column) {
    notices.push_back({"no_column", kNoColumnMessage});
  } else if (run.cell_overflow) {
    for (const std::string& text : outcome.messages)
      notices.push_back({kCellOverflowKeyword, text});
  } else {
    const Moments& moments = run.moments;
    for (std::size_t i = 0; i < moments.messages.size(); ++i)
      notices.push_back({moments.message_keywords[i], moments.messages[i]});
    if (run.numeric_overflow) notices.push_back({kNumericOverflowKeyword, kNumericOverflowMessage});
  }
  return notices;
}

void WriteStatsResult(ResultWriter& out, const StatsRun& run, const CalculationOutcome& outcome) {
  const ResultStatus status = run.no_column       ? ResultStatus::NoColumn
                              : run.cell_overflow ? ResultStatus::Overflow
                                                  : ResultStatus::Done;
  out.BeginObject();
  out.Text("status", StatusKeyword(status));
  out.Number("count", static_cast<double>(run.samples.size()));
  WriteNumbers(out, "samples", run.samples);
  const Moments& m = run.moments;
  const std::pair<const char*, const std::optional<double>*> figures[] = {
      {"mean", &m.mean},
      {"standard_deviation", &m.standard_deviation},
      {"average_deviation", &m.average_deviation},
      {"variance", &m.variance},
      {"skewness", &m.skewness},
      {"kurtosis", &m.kurtosis},
      {"minimum", &m.minimum},
      {"maximum", &m.maximum},
      {"median", &m.median}};
  for (const auto& [key, value] : figures) {
    if (*value) {
      out.Number(key, **value);
    } else {
      out.Null(key);
    }
  }
  WriteMessages(out, StatsNotices(run, outcome));
  out.EndObject();
}

}  // namespace orcalc::stats
