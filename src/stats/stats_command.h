// The statistics command over a Sheet.
#pragma once

#include <string>

#include "common/calculation.h"
#include "common/sheet.h"
#include "common/sheet_layout.h"

namespace orcalc::stats {

// Which sheet the samples come from: the linear-programming sheet reads grid
// rows i+1 (below the objective row), the goal sheet rows i.
using orcalc::SheetKind;

struct StatsRequest {
  int column = 0;  // the recorded column gCol
  int count = 0;   // N from the count box, 0..500 (kept within that range)
  SheetKind kind = SheetKind::LinearProgramming;
  std::string decimal_separator = ".";
};

// The report (title "统计结果") and the messages in order; with a recorded
// column below 1, only the no-column message and no report. Cells beyond the
// sheet read as empty, so as 0. At the first sample cell (in sample order)
// whose number overflows a double: only that cell's overflow message, no
// report. A statistic that is not finite (the sums overflowed) adds
// kNumericOverflowMessage after the statistics' own messages.
// When `run` is given, it receives the figures behind the report.
struct StatsRun;
CalculationOutcome Calculate(const StatsRequest& request, const Sheet& sheet,
                             StatsRun* run = nullptr);

}  // namespace orcalc::stats
