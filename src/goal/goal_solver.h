// Level-by-level goal programming on a condensed exchange tableau.
//
// Only nonbasic columns are stored: row i holds a basic variable, column j
// a nonbasic one, and a pivot exchanges the two. Each priority level is
// minimised in turn; when a level is optimal every column that would worsen
// it is removed, so lower levels can never undo a higher one.
//
// Rows and columns are 0-based here; variable identifiers are 1-based:
// Xj is j, D(i)- is N+i and D(i)+ is N+M+i (i, j from 1).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/progress.h"
#include "goal/goal_kernels.h"
#include "goal/goal_model.h"
#include "parallel/cache_aligned.h"

namespace orcalc::goal {

// The pivot check: a pivot value below this stops the calculation.
inline constexpr double kSmallestPivot = 0.00001;
// Most pivots one calculation may make (the count is 16-bit).
inline constexpr int kPivotLimit = 32767;
// Round-off in an evaluation entry, relative to the magnitudes it is made of.
inline constexpr double kEvalRoundOff = 1e-11;
// Round-off in an evaluation entry summed afresh from the tableau, relative
// to the magnitudes of its terms.
inline constexpr double kSumRoundOff = 1e-12;
// A basic value within this fraction of everything that went into it is 0.
inline constexpr double kValueRoundOff = 1e-11;
// A goal's equation may miss by this fraction of its terms' magnitudes.
inline constexpr double kEquationRoundOff = 1e-7;
// A tableau entry below this fraction of its column's largest magnitude is
// round-off.
inline constexpr double kEntryRoundOff = 1e-9;
// Largest tableau (goals × columns rounded up to a multiple of 4) whose
// entries' round-off is bounded entry by entry.
inline constexpr std::size_t kEntryErrorCells = 4096;
// Round-off an entry carries in from the exchanges that built it: this
// fraction of its row's error factor times its column's error scale.
inline constexpr double kEntryNoise = 1e-13;

enum class GoalOutcome {
  Optimal,        // every level minimised
  PivotTooSmall,  // no usable pivot (also an objective without a lower bound)
  Cycling,        // a level came back to a basis it had already had, even
                  // after switching to the smallest-index rule
  PivotLimit,     // one more pivot would exceed the limit
  RoundOff,       // round-off decided a level's end, or drove a value negative
  Overflow,       // an evaluation entry or its round-off bound was not finite
  Stopped,        // the caller asked the solver to stop
};

struct GoalTableau {
  int goals = 0;      // M: rows
  int variables = 0;  // N
  int levels = 0;     // L
  int columns = 0;    // N + M
  // Doubles per stored row: columns, rounded up to whole cache lines so
  // that threads exchanging different blocks of columns share none.
  std::size_t stride = 0;

  CacheAlignedVector<double> coef;  // goals × stride, row by row
  std::vector<double> row_value;
  std::vector<int> row_var;
  std::vector<double> row_weight;
  std::vector<std::int16_t> row_level;
  std::vector<int> col_var;
  std::vector<double> col_weight;
  std::vector<std::int16_t> col_level;
  std::vector<double> eval;  // stride long
  std::int16_t pivots = 0;

  // kKeepColumn for removed columns and for the padding, 0 for live ones.
  // This is the one record of a removal: every weight, whatever its value,
  // is a weight.
  std::vector<std::uint64_t> keep;

  // The level whose evaluation row `eval` holds (0 before the first), and
  // per column the magnitudes that make up its entry as the tableau stands:
  // Σ |coef(i,j) × row_weight(i)| over the rows at that level, plus
  // |col_weight(j)| when the column's own variable is at that level. An
  // evaluation entry within kEvalRoundOff of them (of 1 at least) counts
  // as 0.
  int level = 0;
  std::vector<double> eval_scale;  // stride long
  // Per column, a bound on everything that went into its evaluation entry
  // during the level: its magnitudes when the row was built, then what each
  // exchange subtracted. Round-off in the entry is a tiny fraction of it.
  std::vector<double> eval_bound;  // stride long
  // Per row, a bound on everything that went into its value: |b| at the
  // start, then what each exchange subtracted or divided.
  std::vector<double> value_bound;
  // The round-off the tableau entries carry in from earlier exchanges, kept
  // in factored form: entry (i,j) carries about kEntryNoise ×
  // row_error_factor(i) × column_error_scale(j). The factors are 0 and each
  // column's largest magnitude at the start (the data are exact); an
  // exchange adds, per row, its multiplier times the pivot row's factor
  // and, per column, its pivot row entry times the pivot column's scale, so
  // an entry that no exchange touched, or that only small ones did, is
  // judged by its own history rather than by its column's largest entry.
  std::vector<double> row_error_factor;
  std::vector<double> column_error_scale;  // stride long
  // The same factor for the evaluation row of t.level, built from its rows'
  // factors and updated by each exchange like a row.
  double eval_error_factor = 0;
  // On tableaus of at most kEntryErrorCells cells, where a second pass over
  // the entries costs little, the round-off each entry carries in is also
  // bounded entry by entry, in units of kEntryNoise (goals × stride, row by
  // row; empty on larger tableaus), and likewise each evaluation entry's
  // (stride long).
  std::vector<double> entry_error;
  std::vector<double> eval_error;
  // The round-off bound of everything else.
  double tolerance = 1e-8;
  // Scratch for an exchange: the pivot column as it stood (goals long).
  std::vector<double> pivot_column;
  // When `certified_signs` is set, the sign (-1, 0 or 1) of each live
  // column's evaluation entry as the level's certificate gives it at the
  // basis as it stands, from the program as read (stride long): the
  // certificate in long double where it is clear of its round-off and
  // agrees with the tableau, otherwise exact. These signs then decide the
  // level's end and the entering column in place of the doubles. Every
  // exchange and every new evaluation row clears the flag.
  std::vector<std::int8_t> certified_sign;
  bool certified_signs = false;
  // Set for the rest of a level once it comes back to a basis it had
  // already had: from then on the column whose variable has the smallest
  // identifier among the improving ones enters, and among the rows whose
  // ratios tie the one whose variable has the smallest identifier leaves,
  // which cannot come back to a basis.
  bool smallest_index = false;

  double EvalTolerance(int j) const {
    return kEvalRoundOff * std::max(1.0, eval_scale[static_cast<std::size_t>(j)]);
  }

  double& Coef(int i, int j) {
    return coef[static_cast<std::size_t>(i) * stride + static_cast<std::size_t>(j)];
  }
  double Coef(int i, int j) const {
    return coef[static_cast<std::size_t>(i) * stride + static_cast<std::size_t>(j)];
  }
  bool Removed(int j) const { return keep[static_cast<std::size_t>(j)] == kKeepColumn; }
  // Between two rows whose ratios tie, whether row i leaves rather than row
  // r: the smaller variable identifier under the smallest-index rule,
  // otherwise the higher priority (lower level), then the larger weight.
  bool LeavesOnTie(int i, int r) const {
    const auto ii = static_cast<std::size_t>(i), ri = static_cast<std::size_t>(r);
    if (smallest_index) return row_var[ii] < row_var[ri];
    return row_level[ii] < row_level[ri] ||
           (row_level[ii] == row_level[ri] && row_weight[ii] > row_weight[ri]);
  }
};

struct GoalSnapshot {
  std::int16_t pivots = 0;
  // achievement[k-1]: Σ row_value × row_weight over the rows at level k.
  std::vector<double> achievement;
  // solution[t-1]: the value of variable t (0 when nonbasic).
  std::vector<double> solution;
};

struct GoalResult {
  GoalOutcome outcome = GoalOutcome::Optimal;
  GoalSnapshot final;  // the tableau as it stands when the solver stops
};

// The starting tableau. A goal with a target of 0 or more starts with D(i)-
// basic; one with a negative target starts with D(i)+ basic (its row
// negated) so that no basic variable starts below 0.
GoalTableau StartTableau(const GoalModel& model);

// The evaluation row of `level` over the live columns, with its magnitudes.
void BuildEvaluationRow(GoalTableau& t, int level);

// The magnitudes of the evaluation row of t.level as the tableau stands
// (Exchange keeps them up to date).
void UpdateEvaluationScale(GoalTableau& t);

// Whether no live column has an evaluation entry above its round-off bound.
bool LevelOptimal(const GoalTableau& t);

// Entering column: the largest evaluation entry; near-equal entries go to
// the larger level, then the smaller weight, then the lower index. Under
// the smallest-index rule, the improving column whose variable has the
// smallest identifier. -1 when no column qualifies.
int ChooseEntering(const GoalTableau& t);

// Leaving row for column p: the smallest ratio row_value / coef over rows
// with an entry above round-off (the round-off bound, or kEntryRoundOff of
// the column's largest magnitude when that is less) and a ratio below 1e9;
// ratios within the round-off bound of each other go to the smaller level,
// then the larger weight, then the lower index (under the smallest-index
// rule, to the smallest variable identifier). -1 when no row qualifies.
int ChooseLeaving(const GoalTableau& t, int p);

// The pivot on row r, column p: swaps the two variables, updates the
// tableau, then sets basic values within round-off of 0 to exactly 0.
// Does not count the pivot. Allocates nothing.
void Exchange(GoalTableau& t, int r, int p);

// How the tableau's doubles judge live column j's evaluation entry: 1
// improving, -1 worsening, 0 round-off both ways, 2 undecided.
int TableauSign(const GoalTableau& t, int j);

// End of a level: removes every live column whose evaluation entry is
// below the round-off bound's negative. Whether any live column remains.
bool EndLevel(GoalTableau& t);

// Snapshot in one pass over rows and levels, reusing `out`'s storage.
void TakeSnapshot(const GoalTableau& t, GoalSnapshot& out);
GoalSnapshot TakeSnapshot(const GoalTableau& t);

// One step of the method as it was taken, for a replay of its tableaux:
// a pivot, or the end of a level.
struct GoalStepRecord {
  int level = 0;  // the level being minimised
  int row = -1;   // the pivot's row and column (0-based); -1 at a level's end
  int column = -1;
  bool smallest_index = false;  // chosen by the smallest-index rule
  std::vector<int> removed;     // at a level's end: the columns it removed
};

struct SolveOptions {
  int pivot_limit = kPivotLimit;  // lowered by tests only
  // Told the level and the pivots made; asked before every pivot whether
  // to stop. Null runs to the end.
  Progress* progress = nullptr;
  // Called after every exchange with the tableau; tests use it to compare
  // runs.
  std::function<void(const GoalTableau&)> after_exchange = nullptr;
  // Told each pivot before it is made and each level's end; null records
  // nothing. It changes no choice.
  std::function<void(const GoalStepRecord&)> on_step = nullptr;
};

// Minimises level 1, then 2, … up to L. After every pivot `on_pivot` gets
// the snapshot of that moment. On programs that fit FitsExactDecisions
// (goal_exact.h), the end of every level with costs is certified in exact
// arithmetic from the program as read, and so are the ratio tests whose
// smallest ratios lie within round-off of each other, basic values driven
// below -tolerance, and the final values when the doubles break a goal's
// equation. Stops with RoundOff when a basic value goes below -tolerance
// (in truth, where decided exactly), a level's end is undecided by
// round-off or cannot be certified, or the answer breaks a goal's equation
// beyond round-off, and with Overflow when an evaluation entry or its bound
// is not finite.
GoalResult SolveGoals(const GoalModel& model,
                      const std::function<void(const GoalSnapshot&)>& on_pivot,
                      const SolveOptions& options = {});

}  // namespace orcalc::goal
