#include "goal/goal_solver.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "goal/goal_certificate.h"
#include "goal/goal_exact.h"
#include "goal/goal_exact_decisions.h"
#include "goal/goal_kernels.h"
#include "simplex/basis_history.h"

namespace orcalc::goal {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// Roundings in each entry an exchange updates: product, quotient, difference.
constexpr double kExchangeRoundings = 3;
// The arithmetic's unit round-off.
constexpr double kUnitRoundOff = 0x1p-53;

// Column j's evaluation entry summed afresh from the tableau as it stands.
double EvaluationAfresh(const GoalTableau& t, int j) {
  double sum = 0;
  for (int i = 0; i < t.goals; ++i) {
    if (t.row_level[Index(i)] == t.level) sum += t.Coef(i, j) * t.row_weight[Index(i)];
  }
  if (t.col_level[Index(j)] == t.level) sum -= t.col_weight[Index(j)];
  return sum;
}

// The round-off bound of column j's evaluation entry. An entry that the
// exchanges left within round-off of everything that went into it, while
// the tableau as it stands sums to a value within the bound, is round-off
// itself: its bound then covers it.
double EntryTolerance(const GoalTableau& t, int j) {
  const double tol = t.EvalTolerance(j);
  const double e = std::fabs(t.eval[Index(j)]);
  if (e <= tol || e > kEvalRoundOff * t.eval_bound[Index(j)]) return tol;
  return std::fabs(EvaluationAfresh(t, j)) <= tol ? e : tol;
}

// The round-off each entry carries in, entry by entry and in units of the
// arithmetic's rounding, through the exchange on row r and column p
// (called before the tableau changes): entry (i,j)
// takes its multiplier times the pivot row's, the pivot row entry over P
// times its own pivot column entry's, the product of both over P times the
// pivot's, and the rounding of the product, the quotient and the
// difference; the pivot row and column are divided by P.
void CarryEntryErrors(GoalTableau& t, int r, int p) {
  const std::size_t width = Index(t.columns);
  const std::size_t pj = Index(p);
  const double P = std::fabs(t.Coef(r, p));
  const double* const pivot_row = &t.coef[Index(r) * t.stride];
  double* const pivot_error = &t.entry_error[Index(r) * t.stride];
  const double pivot_error_p = pivot_error[pj];
  // A row other than r, or the evaluation row, with its values and errors.
  auto carry = [&](const double* row, double* error) {
    const double m = std::fabs(row[pj]) / P;
    const double error_p = error[pj];
    for (std::size_t j = 0; j < width; ++j) {
      if (j == pj) continue;
      const double c = std::fabs(pivot_row[j]);
      const double carried = m * pivot_error[j] + c / P * error_p + m * c / P * pivot_error_p;
      error[j] += carried + kExchangeRoundings * m * c + std::fabs(row[j]);
    }
    error[pj] = (error_p + m * pivot_error_p) / P + m;
  };
  for (int i = 0; i < t.goals; ++i) {
    if (i != r) carry(&t.coef[Index(i) * t.stride], &t.entry_error[Index(i) * t.stride]);
  }
  if (t.level > 0) carry(t.eval.data(), t.eval_error.data());
  for (std::size_t j = 0; j < width; ++j) {
    if (j == pj) continue;
    const double c = std::fabs(pivot_row[j]) / P;
    pivot_error[j] = (pivot_error[j] + c * pivot_error_p) / P + c;
  }
  pivot_error[pj] = pivot_error_p / (P * P) + 1 / P;
}

// How an evaluation entry within the round-off bound reads once judged by
// the round-off it may carry itself: a fraction of everything that went
// into it, plus what its tableau entries carried in from the exchanges (the
// smallest of the bounds kept: the level's weights times its column's
// largest entry, the factored bound and, on small tableaus, the entry's
// own). The entry summed afresh from the tableau as it stands is judged
// the same way, by the magnitudes of its terms and its rows' entries; it
// catches an entry that the exchanges reached by cancelling large terms,
// whose bound then hides a small but real value or left exactly 0.
enum class SmallEntry {
  Zero,       // round-off both ways
  Positive,   // above 0 within both bounds: the level is not optimal
  Negative,   // below 0 within both bounds: the column worsens the level
  Undecided,  // the two bounds do not meet or leave the sign open, or the
              // entry carries more round-off than the tolerance allows
};

// Σ |weight| over the rows of the level in force.
double LevelWeights(const GoalTableau& t) {
  double weights = 0;
  for (int i = 0; i < t.goals; ++i) {
    if (t.row_level[Index(i)] == t.level) weights += std::fabs(t.row_weight[Index(i)]);
  }
  return weights;
}

// Whether live column j's evaluation entry is within its round-off bound.
bool SmallEntryAt(const GoalTableau& t, int j) {
  return !t.Removed(j) && std::fabs(t.eval[Index(j)]) <= EntryTolerance(t, j);
}

// Judges column j's entry, which must be a small one.
SmallEntry JudgeSmallEntry(const GoalTableau& t, int j, double weights) {
  const std::size_t col = Index(j);
  double largest = 0;
  for (int i = 0; i < t.goals; ++i) largest = std::max(largest, std::fabs(t.Coef(i, j)));
  const double column_noise = kEntryNoise * weights * largest;
  double kept_noise =
      std::min(column_noise, kEntryNoise * t.column_error_scale[col] * t.eval_error_factor);
  if (!t.eval_error.empty()) kept_noise = std::min(kept_noise, kEntryNoise * t.eval_error[col]);

  // What the level's rows carry in, each by the smallest of its bounds.
  double carried = 0;
  for (int i = 0; i < t.goals; ++i) {
    if (t.row_level[Index(i)] != t.level) continue;
    double noise = std::min(largest, t.row_error_factor[Index(i)] * t.column_error_scale[col]);
    if (!t.entry_error.empty()) noise = std::min(noise, t.entry_error[Index(i) * t.stride + col]);
    carried += std::fabs(t.row_weight[Index(i)]) * noise;
  }
  // Where each entry has its own bound: even at the arithmetic's bare
  // rounding, without the margin of kEntryNoise, what the rows carry exceeds
  // the tolerance; the exchanges cancelled what the entry was made of, and
  // its sign is unknown.
  if (!t.entry_error.empty() && kUnitRoundOff * carried > t.EvalTolerance(j)) {
    return SmallEntry::Undecided;
  }

  const double e = t.eval[col];
  const double kept_bound = kEvalRoundOff * t.eval_bound[col] + kept_noise;
  const double afresh = EvaluationAfresh(t, j);
  const double afresh_bound = kSumRoundOff * t.eval_scale[col] + kEntryNoise * carried;
  if (std::fabs(e) <= kept_bound && std::fabs(afresh) <= afresh_bound) return SmallEntry::Zero;
  // An entry as kept that may be off by more than the tolerance tells
  // nothing: the exchanges cancelled what went into it.
  if (kept_bound > t.EvalTolerance(j)) return SmallEntry::Undecided;
  // The true value lies within both bounds: decided when what they have in
  // common lies on one side of 0.
  const double low = std::max(e - kept_bound, afresh - afresh_bound);
  const double high = std::min(e + kept_bound, afresh + afresh_bound);
  if (low <= high && low > 0) return SmallEntry::Positive;
  if (low <= high && high < 0) return SmallEntry::Negative;
  return SmallEntry::Undecided;
}

// The column whose small entry is the largest of those judged positive; -1
// when there is none.
int SmallPositiveColumn(const GoalTableau& t) {
  const double weights = LevelWeights(t);
  int p = -1;
  for (int j = 0; j < t.columns; ++j) {
    if (!SmallEntryAt(t, j) || (p >= 0 && t.eval[Index(j)] <= t.eval[Index(p)])) continue;
    if (JudgeSmallEntry(t, j, weights) == SmallEntry::Positive) p = j;
  }
  return p;
}

// Whether the end of the level rests on the round-off bound's lower limit
// only: a live column's small entry cannot be judged. Such a level may not
// be optimal, or its removals may let a lower level worsen it.
bool LevelEndUndecided(const GoalTableau& t) {
  if (t.certified_signs) return false;
  const double weights = LevelWeights(t);
  for (int j = 0; j < t.columns; ++j) {
    if (SmallEntryAt(t, j) && JudgeSmallEntry(t, j, weights) == SmallEntry::Undecided) return true;
  }
  return false;
}

// Whether every live evaluation entry and its round-off bound are finite
// numbers: an overflow there would turn every comparison into nonsense.
bool EvaluationFinite(const GoalTableau& t) {
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j)) continue;
    if (!std::isfinite(t.eval[Index(j)]) || !std::isfinite(t.eval_scale[Index(j)]) ||
        !std::isfinite(t.eval_bound[Index(j)]))
      return false;
  }
  return true;
}

// Whether the pivot on row r and column p fails the pivot check (or there
// is none).
bool UnusablePivot(const GoalTableau& t, int p, int r) {
  return p < 0 || r < 0 || t.Coef(r, p) < kSmallestPivot;
}

// The program as read, for the decisions made from it afresh, and whether
// it is small enough for them (FitsExactDecisions).
struct ExactChecks {
  const GoalModel& model;
  bool on;  // the program fits FitsExactDecisions
};

// One pivot of the level: chooses the column and the row, exchanges and
// reports; Optimal when the level goes on, otherwise why the calculation
// stops. Where the exact arithmetic is on and no usable pivot is found on
// the doubles, the level's signs are first decided exactly and no pivot is
// made; the level then goes on by them.
GoalOutcome PivotOnce(GoalTableau& t, const std::function<void(const GoalSnapshot&)>& on_pivot,
                      int pivot_limit, const SolveOptions& options, const ExactChecks& exact,
                      BasisHistory& history, GoalSnapshot& snapshot) {
  Progress* const progress = options.progress;
  if (ShouldStop(progress)) return GoalOutcome::Stopped;
  const int p = ChooseEntering(t);
  int r = p < 0 ? -1 : ChooseLeaving(t, p);
  if (exact.on && p >= 0 &&
      (t.certified_signs || t.smallest_index || LeavingWithinRoundOff(t, p, r))) {
    r = ExactLeaving(exact.model, t, p);
  }
  if (exact.on && UnusablePivot(t, p, r)) {
    // A column that entered on its doubles may improve nothing in truth:
    // once the exact signs decide, the level goes on from the same basis.
    if (!t.certified_signs) {
      return CertifyLevel(exact.model, t) ? GoalOutcome::Optimal : GoalOutcome::RoundOff;
    }
    // Among rows whose ratios tie exactly, one whose pivot passes the check
    // is as good a choice as the one the tie rules name.
    if (p >= 0) r = ExactLeaving(exact.model, t, p, true);
  }
  if (UnusablePivot(t, p, r)) return GoalOutcome::PivotTooSmall;
  if (t.pivots >= pivot_limit) return GoalOutcome::PivotLimit;

  const int leaving = t.row_var[Index(r)];
  const int entering = t.col_var[Index(p)];
  if (options.on_step) options.on_step({t.level, r, p, t.smallest_index, {}});
  Exchange(t, r, p);
  ++t.pivots;
  // No basic variable may go negative beyond round-off: one that does
  // shows that a comparison within round-off chose the wrong row, or that
  // the exchanges drifted; the exact values tell which.
  bool negative = false;
  for (double value : t.row_value) negative = negative || value < -t.tolerance;
  if (negative && exact.on) negative = !RepairNegativeValues(exact.model, t);
  if (progress) progress->SetPivots(t.pivots);
  if (options.after_exchange) options.after_exchange(t);
  TakeSnapshot(t, snapshot);
  if (on_pivot) on_pivot(snapshot);
  history.Exchange(leaving, entering);
  if (!history.Insert()) {
    if (t.smallest_index) return GoalOutcome::Cycling;
    t.smallest_index = true;
    history.Restart();
  }
  if (!EvaluationFinite(t)) return GoalOutcome::Overflow;
  if (negative) return GoalOutcome::RoundOff;
  return GoalOutcome::Optimal;
}

// The smallest-index rule's entering column: of the columns that improve
// the level (as the exact signs say, or by their entries as ChooseEntering
// judges them), the one whose variable has the smallest identifier.
int SmallestIndexEntering(const GoalTableau& t) {
  const double weights = LevelWeights(t);
  int p = -1;
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j) || (p >= 0 && t.col_var[Index(j)] > t.col_var[Index(p)])) continue;
    const bool improves =
        t.certified_signs
            ? t.certified_sign[Index(j)] > 0
            : t.eval[Index(j)] > EntryTolerance(t, j) ||
                  (SmallEntryAt(t, j) && JudgeSmallEntry(t, j, weights) == SmallEntry::Positive);
    if (improves) p = j;
  }
  return p;
}

// Tells `on_step` of the columns the end of t.level removed.
void RecordLevelEnd(const GoalTableau& t, const std::vector<std::uint64_t>& kept_before,
                    const std::function<void(const GoalStepRecord&)>& on_step) {
  GoalStepRecord record;
  record.level = t.level;
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j) && kept_before[Index(j)] != kKeepColumn) record.removed.push_back(j);
  }
  on_step(record);
}

// Runs the levels; the outcome. The tableau is left as it stands. On
// programs that fit, the end of every level that has costs is certified by
// the level's duals (in long double, or exactly where that cannot decide),
// whose signs then decide; a level whose end the doubles cannot judge is
// otherwise given up as round-off.
GoalOutcome RunLevels(GoalTableau& t, const std::function<void(const GoalSnapshot&)>& on_pivot,
                      int pivot_limit, const SolveOptions& options, const ExactChecks& exact) {
  Progress* const progress = options.progress;
  GoalSnapshot snapshot;
  // The bases of the level so far (variable identifiers are members).
  BasisHistory history(t.variables + 2 * t.goals + 1);
  for (int level = 1; level <= t.levels; ++level) {
    if (progress) progress->SetPhase(ProgressPhase::GoalLevel, level);
    BuildEvaluationRow(t, level);
    t.smallest_index = false;
    history.SetCurrent(t.row_var);
    history.Restart();
    if (!EvaluationFinite(t)) return GoalOutcome::Overflow;
    for (;;) {
      while (!LevelOptimal(t)) {
        const GoalOutcome outcome =
            PivotOnce(t, on_pivot, pivot_limit, options, exact, history, snapshot);
        if (outcome != GoalOutcome::Optimal) return outcome;
      }
      if (!exact.on || !LevelHasCosts(t) || t.certified_signs) break;
      if (!CertifyLevelInLongDouble(exact.model, t) && !CertifyLevel(exact.model, t)) {
        return GoalOutcome::RoundOff;
      }
    }
    if (LevelEndUndecided(t)) return GoalOutcome::RoundOff;
    const std::vector<std::uint64_t> kept_before =
        options.on_step ? t.keep : std::vector<std::uint64_t>{};
    const bool survivor = EndLevel(t);
    if (options.on_step) RecordLevelEnd(t, kept_before, options.on_step);
    if (!survivor) break;
  }
  return GoalOutcome::Optimal;
}

// Whether the values of a snapshot satisfy every goal's equation
// a·X + D- − D+ = b within round-off of its terms.
bool MeetsEquations(const GoalModel& model, const GoalSnapshot& s) {
  const int M = model.constraint_count;
  const int N = model.variable_count;
  for (int i = 0; i < M; ++i) {
    const double dn = s.solution[Index(N + i)];
    const double dp = s.solution[Index(N + M + i)];
    double sum = dn - dp - model.target[Index(i)];
    double terms = std::fabs(dn) + std::fabs(dp) + std::fabs(model.target[Index(i)]);
    for (int j = 0; j < N; ++j) {
      const double term = model.Coefficient(i, j) * s.solution[Index(j)];
      sum += term;
      terms += std::fabs(term);
    }
    if (!(std::fabs(sum) <= kEquationRoundOff * terms)) return false;
  }
  return true;
}

// Every array of the tableau at its size, the padding columns removed.
void SizeTableau(GoalTableau& t) {
  const std::size_t M = Index(t.goals);
  t.coef.assign(M * t.stride, 0.0);
  t.row_value.resize(M);
  t.row_var.resize(M);
  t.row_weight.resize(M);
  t.row_level.resize(M);
  t.col_var.resize(Index(t.columns));
  t.col_weight.resize(Index(t.columns));
  t.col_level.resize(Index(t.columns));
  t.eval.assign(t.stride, 0.0);
  t.keep.assign(t.stride, kKeepColumn);

  t.eval_scale.assign(t.stride, 0.0);
  t.eval_bound.assign(t.stride, 0.0);
  t.value_bound.resize(M);
  t.row_error_factor.assign(M, 0.0);
  t.column_error_scale.assign(t.stride, 0.0);
  t.pivot_column.resize(M);
  t.certified_sign.assign(t.stride, 0);
  // The size that decides is counted in rows of whole groups of four
  // columns, whatever the stride.
  if (M * ((Index(t.columns) + 3) & ~std::size_t{3}) <= kEntryErrorCells) {
    t.entry_error.assign(M * t.stride, 0.0);
    t.eval_error.assign(t.stride, 0.0);
  }
}

// Goal i's row: one of its deviations basic, the other in column N + i.
void StartGoalRow(GoalTableau& t, const GoalModel& model, int i) {
  const int M = t.goals;
  const int N = t.variables;
  const std::size_t g = Index(i);
  const int column = N + i;
  const int negative_id = N + i + 1;
  const int positive_id = N + M + i + 1;
  t.Coef(i, column) = -1;
  if (model.target[g] >= 0) {
    for (int j = 0; j < N; ++j) t.Coef(i, j) = model.Coefficient(i, j);
    t.row_value[g] = model.target[g];
    t.row_var[g] = negative_id;
    t.row_weight[g] = model.neg_weight[g];
    t.row_level[g] = model.neg_level[g];
    t.col_var[Index(column)] = positive_id;
    t.col_weight[Index(column)] = model.pos_weight[g];
    t.col_level[Index(column)] = model.pos_level[g];
  } else {
    // D(i)+ = −b(i) + Σ a(i,j)·Xj + D(i)- ≥ 0 starts basic instead.
    for (int j = 0; j < N; ++j) t.Coef(i, j) = -model.Coefficient(i, j);
    t.row_value[g] = -model.target[g];
    t.row_var[g] = positive_id;
    t.row_weight[g] = model.pos_weight[g];
    t.row_level[g] = model.pos_level[g];
    t.col_var[Index(column)] = negative_id;
    t.col_weight[Index(column)] = model.neg_weight[g];
    t.col_level[Index(column)] = model.neg_level[g];
  }
}

// The round-off bounds of the data as read: each value's own size, each
// column's largest entry.
void StartBounds(GoalTableau& t) {
  for (int i = 0; i < t.goals; ++i) {
    t.value_bound[Index(i)] = std::fabs(t.row_value[Index(i)]);
    for (int j = 0; j < t.columns; ++j) {
      double& scale = t.column_error_scale[Index(j)];
      scale = std::max(scale, std::fabs(t.Coef(i, j)));
    }
  }
}

// What an exchange on column p with pivot P adds to the columns' bounds
// and round-off scales, and what it needs to know of the level.
ColumnBounds ExchangeBounds(GoalTableau& t, int p, double P) {
  const std::size_t pj = Index(p);
  const double eval_p = t.eval[pj];
  ColumnBounds bounds;
  bounds.eval_bound = t.eval_bound.data();
  bounds.bound_weight = std::fabs(eval_p / P);
  bounds.pivot_bound = (t.eval_bound[pj] + std::fabs(eval_p)) / std::fabs(P);
  bounds.error_scale = t.column_error_scale.data();
  bounds.pivot_error_scale = t.column_error_scale[pj];
  bounds.columns = t.columns;
  bounds.eval_scale = t.eval_scale.data();
  bounds.row_weight = t.row_weight.data();
  bounds.row_level = t.row_level.data();
  bounds.col_weight = t.col_weight.data();
  bounds.col_level = t.col_level.data();
  bounds.level = t.level;
  return bounds;
}

// The rows' own bounds after an exchange on row r with pivot P (the pivot
// column as it stood is in t.pivot_column): value(i) -= coef(i,p) ×
// value(r) / P, value(r) becomes value(r) / P, where `moved` is |value(r) /
// P| from before. Row i's round-off takes its multiplier coef(i,p) / P
// times the pivot row's factor, plus the rounding of the product, the
// quotient and the difference; the pivot row's is divided by P. A basic
// value within round-off of what went into it is then 0; a small positive
// value made of small terms is kept. A small negative one shows a ratio
// tie taken within the round-off bound and is set to 0 as before.
void UpdateRowBounds(GoalTableau& t, int r, double P, double moved, double eval_p) {
  const std::size_t ri = Index(r);
  const double* const column = t.pivot_column.data();
  for (int i = 0; i < t.goals; ++i) {
    if (i != r) t.value_bound[Index(i)] += std::fabs(column[Index(i)]) * moved;
  }
  t.value_bound[ri] = t.value_bound[ri] / std::fabs(P);
  const double pivot_factor = t.row_error_factor[ri] + kExchangeRoundings;
  for (int i = 0; i < t.goals; ++i) {
    if (i != r) t.row_error_factor[Index(i)] += std::fabs(column[Index(i)] / P) * pivot_factor;
  }
  t.row_error_factor[ri] = t.row_error_factor[ri] / std::fabs(P);
  if (t.level > 0) t.eval_error_factor += std::fabs(eval_p / P) * pivot_factor;
  for (int i = 0; i < t.goals; ++i) {
    double& value = t.row_value[Index(i)];
    const double limit =
        value < 0 ? t.tolerance : std::min(t.tolerance, kValueRoundOff * t.value_bound[Index(i)]);
    if (std::fabs(value) <= limit) {
      value = 0;
    }
  }
}

}  // namespace

GoalTableau StartTableau(const GoalModel& model) {
  GoalTableau t;
  t.goals = model.constraint_count;
  t.variables = model.variable_count;
  t.levels = model.level_count;
  t.columns = t.variables + t.goals;
  t.stride = (Index(t.columns) + kExchangeBlockColumns - 1) / kExchangeBlockColumns *
             kExchangeBlockColumns;
  SizeTableau(t);
  for (int j = 0; j < t.variables; ++j) {
    t.col_var[Index(j)] = j + 1;
    t.col_weight[Index(j)] = 0;
    t.col_level[Index(j)] = 0;
  }
  for (int i = 0; i < t.goals; ++i) StartGoalRow(t, model, i);
  StartBounds(t);
  for (int j = 0; j < t.columns; ++j) t.keep[Index(j)] = 0;
  return t;
}

void BuildEvaluationRow(GoalTableau& t, int level) {
  for (std::size_t j = 0; j < t.stride; ++j) {
    if (t.keep[j] == 0) t.eval[j] = 0;
  }
  for (int i = 0; i < t.goals; ++i) {
    if (t.row_level[Index(i)] != level) continue;
    AddWeightedRow(t.eval.data(), &t.coef[Index(i) * t.stride], t.row_weight[Index(i)],
                   t.keep.data(), t.stride);
  }
  for (int j = 0; j < t.columns; ++j) {
    if (!t.Removed(j) && t.col_level[Index(j)] == level) {
      t.eval[Index(j)] = t.eval[Index(j)] - t.col_weight[Index(j)];
    }
  }
  t.level = level;
  t.certified_signs = false;
  if (!t.eval_error.empty()) {
    std::fill(t.eval_error.begin(), t.eval_error.end(), 0.0);
    for (int i = 0; i < t.goals; ++i) {
      if (t.row_level[Index(i)] != level) continue;
      const double weight = std::fabs(t.row_weight[Index(i)]);
      for (int j = 0; j < t.columns; ++j) {
        t.eval_error[Index(j)] += weight * t.entry_error[Index(i) * t.stride + Index(j)];
      }
    }
  }
  t.eval_error_factor = 0;
  for (int i = 0; i < t.goals; ++i) {
    if (t.row_level[Index(i)] == level) {
      t.eval_error_factor += std::fabs(t.row_weight[Index(i)]) * t.row_error_factor[Index(i)];
    }
  }
  UpdateEvaluationScale(t);
  for (std::size_t j = 0; j < t.stride; ++j) {
    if (t.keep[j] == 0) t.eval_bound[j] = t.eval_scale[j];
  }
}

void UpdateEvaluationScale(GoalTableau& t) {
  for (std::size_t j = 0; j < t.stride; ++j) {
    if (t.keep[j] == 0) t.eval_scale[j] = 0;
  }
  for (int i = 0; i < t.goals; ++i) {
    if (t.row_level[Index(i)] != t.level) continue;
    AddWeightedMagnitudes(t.eval_scale.data(), &t.coef[Index(i) * t.stride], t.row_weight[Index(i)],
                          t.keep.data(), t.stride);
  }
  for (int j = 0; j < t.columns; ++j) {
    if (!t.Removed(j) && t.col_level[Index(j)] == t.level) {
      t.eval_scale[Index(j)] += std::fabs(t.col_weight[Index(j)]);
    }
  }
}

bool LevelOptimal(const GoalTableau& t) {
  if (t.certified_signs) {
    for (int j = 0; j < t.columns; ++j) {
      if (!t.Removed(j) && t.certified_sign[Index(j)] > 0) return false;
    }
    return true;
  }
  for (int j = 0; j < t.columns; ++j) {
    // EntryTolerance is never below EvalTolerance.
    if (t.Removed(j) || t.eval[Index(j)] <= t.EvalTolerance(j)) continue;
    if (t.eval[Index(j)] > EntryTolerance(t, j)) return false;
  }
  return SmallPositiveColumn(t) < 0;
}

int ChooseEntering(const GoalTableau& t) {
  if (t.smallest_index) return SmallestIndexEntering(t);
  int p = -1;
  double p_tolerance = 0;  // EntryTolerance(t, p)
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j)) continue;
    const double e = t.eval[Index(j)];
    const double tolerance = EntryTolerance(t, j);
    if (t.certified_signs ? t.certified_sign[Index(j)] <= 0 : std::fabs(e) <= tolerance) continue;
    if (p < 0) {
      if (e > -9999) p = j, p_tolerance = tolerance;
      continue;
    }
    // Two entries compare within the round-off of the larger.
    const double tol = std::max(tolerance, p_tolerance);
    const double d = e - t.eval[Index(p)];
    bool take = d > tol;
    if (!take && std::fabs(d) <= tol) {
      const auto level_j = t.col_level[Index(j)];
      const auto level_p = t.col_level[Index(p)];
      take = level_j > level_p ||
             (level_j == level_p && t.col_weight[Index(j)] < t.col_weight[Index(p)]);
    }
    if (take) p = j, p_tolerance = tolerance;
  }
  // With no entry above its bound, a small one judged positive enters.
  if (!t.certified_signs && (p < 0 || !(t.eval[Index(p)] > p_tolerance))) {
    const int small = SmallPositiveColumn(t);
    if (small >= 0) return small;
  }
  return p;
}

int ChooseLeaving(const GoalTableau& t, int p) {
  const double tol = t.tolerance;
  // Entries count from the round-off bound, or from a fraction of the
  // column's largest magnitude when its entries are small.
  double largest = 0;
  for (int i = 0; i < t.goals; ++i) largest = std::max(largest, std::fabs(t.Coef(i, p)));
  const double floor = std::min(tol, kEntryRoundOff * largest);
  int r = -1;
  double qr = 0;
  for (int i = 0; i < t.goals; ++i) {
    const double c = t.Coef(i, p);
    if (!(c > floor)) continue;
    const double q = t.row_value[Index(i)] / c;
    if (!(q < 1000000000)) continue;
    if (r < 0) {
      r = i;
      qr = q;
      continue;
    }
    const double d = q - qr;
    const double tq = tol * std::max(std::fabs(q), std::fabs(qr));
    bool take = d < -tq;
    if (!take && std::fabs(d) <= tq) take = t.LeavesOnTie(i, r);
    if (take) {
      r = i;
      qr = q;
    }
  }
  return r;
}

void Exchange(GoalTableau& t, int r, int p) {
  const std::size_t ri = Index(r);
  const std::size_t pj = Index(p);
  std::swap(t.row_var[ri], t.col_var[pj]);
  std::swap(t.row_weight[ri], t.col_weight[pj]);
  std::swap(t.row_level[ri], t.col_level[pj]);
  const double P = t.Coef(r, p);
  t.certified_signs = false;

  // The carried round-off of each entry, from the tableau before the
  // exchange.
  if (!t.entry_error.empty()) CarryEntryErrors(t, r, p);

  // The exchange; in the same pass over each column, what it subtracts
  // from each evaluation entry goes into the entry's bound (eval(j) -=
  // coef(r,j) × eval(p) / P; eval(p) becomes -eval(p) / P), and the
  // columns' round-off scales grow: column j takes its pivot row entry over
  // P times the pivot column's scale, after its scale has grown to cover
  // that entry; the pivot column is divided by P. After the exchange the
  // evaluation row's scale is summed afresh from the level's rows. Column p
  // was live and stays so: it now holds the variable that left. Beside the
  // columns, the rows' own bounds.
  const ColumnBounds bounds = ExchangeBounds(t, p, P);
  const double eval_p = t.eval[pj];
  const double moved = std::fabs(t.row_value[ri] / P);
  auto row_work = [&t, r, P, moved, eval_p] { UpdateRowBounds(t, r, P, moved, eval_p); };

  ExchangeArgs args;
  args.coef = t.coef.data();
  args.stride = t.stride;
  args.rows = t.goals;
  args.row_value = t.row_value.data();
  args.eval = t.eval.data();
  args.keep = t.keep.data();
  args.r = r;
  args.p = p;
  args.pivot_column = t.pivot_column.data();
  args.row_work = [](void* context) { (*static_cast<decltype(row_work)*>(context))(); };
  args.row_work_context = &row_work;
  ExchangeTableau(args, bounds);
}

int TableauSign(const GoalTableau& t, int j) {
  const double e = t.eval[Index(j)];
  const double tolerance = EntryTolerance(t, j);
  if (e > tolerance) return 1;
  if (e < -tolerance) return -1;
  switch (JudgeSmallEntry(t, j, LevelWeights(t))) {
    case SmallEntry::Positive:
      return 1;
    case SmallEntry::Negative:
      return -1;
    case SmallEntry::Zero:
      return 0;
    case SmallEntry::Undecided:
      break;
  }
  return 2;
}

bool EndLevel(GoalTableau& t) {
  const double weights = LevelWeights(t);
  bool survivor = false;
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j)) continue;
    const bool worsens =
        t.certified_signs
            ? t.certified_sign[Index(j)] < 0
            : t.eval[Index(j)] < -EntryTolerance(t, j) ||
                  (SmallEntryAt(t, j) && JudgeSmallEntry(t, j, weights) == SmallEntry::Negative);
    if (worsens) {
      t.keep[Index(j)] = kKeepColumn;
    } else {
      survivor = true;
    }
  }
  return survivor;
}

void TakeSnapshot(const GoalTableau& t, GoalSnapshot& out) {
  out.pivots = t.pivots;
  out.achievement.assign(Index(std::max(t.levels, 0)), 0.0);
  out.solution.assign(Index(t.variables + 2 * t.goals), 0.0);
  for (int i = 0; i < t.goals; ++i) {
    const std::size_t g = Index(i);
    const int level = t.row_level[g];
    if (level >= 1 && level <= t.levels) {
      out.achievement[Index(level - 1)] += t.row_value[g] * t.row_weight[g];
    }
    out.solution[Index(t.row_var[g] - 1)] = t.row_value[g];
  }
}

GoalSnapshot TakeSnapshot(const GoalTableau& t) {
  GoalSnapshot snapshot;
  TakeSnapshot(t, snapshot);
  return snapshot;
}

GoalResult SolveGoals(const GoalModel& model,
                      const std::function<void(const GoalSnapshot&)>& on_pivot,
                      const SolveOptions& options) {
  GoalTableau t = StartTableau(model);
  GoalResult result;
  const ExactChecks exact{model, FitsExactDecisions(model)};
  result.outcome =
      RunLevels(t, on_pivot, std::clamp(options.pivot_limit, 0, kPivotLimit), options, exact);
  TakeSnapshot(t, result.final);
  // An answer whose values break a goal's equation beyond round-off is not
  // one the method can vouch for, unless the basis it ended on, certified
  // level by level, gives values that meet them: the doubles drifted, and
  // the final block shows the exact values instead.
  if (result.outcome == GoalOutcome::Optimal && !MeetsEquations(model, result.final)) {
    if (exact.on && TakeExactValues(model, t)) TakeSnapshot(t, result.final);
    if (!MeetsEquations(model, result.final)) result.outcome = GoalOutcome::RoundOff;
  }
  return result;
}

}  // namespace orcalc::goal
