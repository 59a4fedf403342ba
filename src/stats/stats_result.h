// The figures of the statistics for scripts.
#pragma once

#include <vector>

#include "common/calculation.h"
#include "common/result_status.h"
#include "common/result_writer.h"
#include "stats/moment.h"

namespace orcalc::stats {

// What Calculate hands out besides its outcome.
struct StatsRun {
  bool no_column = false;      // no column chosen: nothing read
  bool cell_overflow = false;  // a sample too large for a double: nothing computed
  bool numeric_overflow = false;
  std::vector<double> samples;  // as read, in order
  Moments moments;
};

// The messages of the run with their keywords: "no_column",
// "cell_overflow", "too_few_samples", "zero_variance", "numeric_overflow".
std::vector<KeyedMessage> StatsNotices(const StatsRun& run, const CalculationOutcome& outcome);

// One object: "status" ("done", "no_column" or "overflow" for a sample cell
// too large), "count", "samples", "mean", "standard_deviation",
// "average_deviation", "variance", "skewness", "kurtosis", "minimum",
// "maximum", "median" (null where not computed), "messages".
void WriteStatsResult(ResultWriter& out, const StatsRun& run, const CalculationOutcome& outcome);

}  // namespace orcalc::stats
