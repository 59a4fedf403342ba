// The exercise on a table of exact fractions: the user picks the pivot, the
// choice is judged as a teacher would (the column must improve the
// objective, the row must give the smallest ratio among the positive
// entries), and a sound pivot is made, the following table built from the
// user's one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "steps/step_tableau.h"

namespace orcalc::steps {

enum class PivotVerdict {
  Accepted,
  NotImproving,      // the column's σ_j does not improve the objective
  NotPositive,       // the entry is 0 or negative
  RatioNotSmallest,  // another row's ratio is smaller
  Barred,            // phase 2 keeps the column out (an artificial variable would turn positive)
  NotExact,          // a table in decimals
};

struct PivotJudgement {
  PivotVerdict verdict = PivotVerdict::Accepted;
  std::string sentence;  // why not, in one sentence; empty when accepted
};

// `pick` (a row of the table, a column of doc.columns) judged on `table`.
PivotJudgement JudgePivot(const StepsDocument& doc, const StepTableau& table, StepPivot pick);

// The textbook's choice on `table`: the column whose σ_j improves the
// objective most, then the row of the smallest ratio (the first of equals).
// None when no column improves or the column has no positive entry.
std::optional<StepPivot> TextbookPivot(const StepsDocument& doc, const StepTableau& table);

// Marks `pick` on `table` (its θ column and the sentence under it) and
// returns the table after the pivot, in the same phase. `pick` must have
// been accepted.
StepTableau PerformPivot(const StepsDocument& doc, StepTableau& table, StepPivot pick);

// The tables an accepted pick leads to: the next one, and when that one
// ends phase 1 with every artificial variable at 0, the first table of
// phase 2 after it (artificial columns left out, the costs as entered,
// the columns that would bring an artificial variable back barred).
// `ending` says why the method stops at the last one (empty: it goes on).
struct ExerciseStep {
  std::vector<StepTableau> tables;
  std::string ending;
};
ExerciseStep TakeExerciseStep(const StepsDocument& doc, StepTableau& table, StepPivot pick);

// Why the method stops at `table`, when it does: no column improves, or
// the improving column has no positive entry; empty otherwise.
std::string ExerciseEnding(const StepsDocument& doc, const StepTableau& table);

}  // namespace orcalc::steps
