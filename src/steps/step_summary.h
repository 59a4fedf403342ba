// One line per table for a list of the steps: the phase, the pivot, the
// variables that enter and leave the basis and the objective's value S.
#pragma once

#include <string>

#include "steps/step_tableau.h"

namespace orcalc::steps {

struct StepSummary {
  std::string title;     // "表 2"; a goal table's "表 2（求 P1 级极小）"
  std::string phase;     // "第一阶段", "第二阶段"; empty with one phase
  std::string pivot;     // "3/2"; empty for a table without a pivot
  std::string entering;  // "χ2"
  std::string leaving;   // "χ4"
  std::string value;     // S (w in phase 1)
};

// The summary of table `index`, its numbers in decimals when `decimals`.
StepSummary SummariseStep(const StepsDocument& doc, std::size_t index, bool decimals);

// The summary of table `number` among every table of the calculation, kept
// or not (doc.summaries), its numbers in decimals.
StepSummary SummariseTable(const StepsDocument& doc, std::size_t number);

// The number as shown: the exact fraction, or in decimals when `decimals`
// (an exact number shown by the decimal it carries).
std::string ShownNumber(const StepNumber& number, bool decimals);

// The sentence under the table, its pivot in decimals when `decimals`.
std::string ShownSentence(const StepsDocument& doc, const StepTableau& table, bool decimals);

// `doc` with every number shown in decimals, for writing out as the window
// shows it.
StepsDocument InDecimals(StepsDocument doc);

}  // namespace orcalc::steps
