#include "goal/goal_solver.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "goal/goal_kernels.h"

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
    if (t.rowLevel[Index(i)] == t.level) sum += t.Coef(i, j) * t.rowWeight[Index(i)];
  }
  if (t.colLevel[Index(j)] == t.level) sum -= t.colWeight[Index(j)];
  return sum;
}

// The round-off bound of column j's evaluation entry. An entry that the
// exchanges left within round-off of everything that went into it, while
// the tableau as it stands sums to a value within the bound, is round-off
// itself: its bound then covers it.
double EntryTolerance(const GoalTableau& t, int j) {
  const double tol = t.EvalTolerance(j);
  const double e = std::fabs(t.eval[Index(j)]);
  if (e <= tol || e > kEvalRoundOff * t.evalBound[Index(j)]) return tol;
  return std::fabs(EvaluationAfresh(t, j)) <= tol ? e : tol;
}

// The bases one level has passed through, to notice a return to one of
// them. A basis is a set of variables; it is hashed as the exclusive or of
// a random key per variable, and a matching hash is confirmed by rebuilding
// the earlier basis from the level's starting basis and its exchanges.
class BasisHistory {
 public:
  explicit BasisHistory(int variable_count) : keys_(Index(variable_count) + 1) {
    std::uint64_t state = 0x9e3779b97f4a7c15ULL;
    for (auto& key : keys_) key = SplitMix(state);
  }

  void Start(const std::vector<int>& basis) {
    start_ = basis;
    exchanges_.clear();
    seen_.clear();
    hash_ = 0;
    for (int v : basis) hash_ ^= keys_[Index(v)];
    seen_.emplace(hash_, 0);
  }

  // Records one exchange; whether the basis it produced was seen before.
  bool Repeats(int leaving, int entering, const std::vector<int>& basis) {
    hash_ ^= keys_[Index(leaving)] ^ keys_[Index(entering)];
    exchanges_.emplace_back(leaving, entering);
    const auto [first, last] = seen_.equal_range(hash_);
    for (auto it = first; it != last; ++it) {
      if (SameBasis(it->second, basis)) return true;
    }
    seen_.emplace(hash_, static_cast<int>(exchanges_.size()));
    return false;
  }

 private:
  static std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }

  // Whether the basis after `step` exchanges of this level equals `basis`.
  bool SameBasis(int step, const std::vector<int>& basis) const {
    std::vector<char> member(keys_.size(), 0);
    for (int v : start_) member[Index(v)] = 1;
    for (int s = 0; s < step; ++s) {
      member[Index(exchanges_[Index(s)].first)] = 0;
      member[Index(exchanges_[Index(s)].second)] = 1;
    }
    return std::all_of(basis.begin(), basis.end(), [&](int v) { return member[Index(v)] != 0; });
  }

  std::vector<std::uint64_t> keys_;
  std::vector<int> start_;
  std::vector<std::pair<int, int>> exchanges_;        // (leaving, entering)
  std::unordered_multimap<std::uint64_t, int> seen_;  // hash → exchanges made
  std::uint64_t hash_ = 0;
};

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
  double* const pivot_error = &t.entryError[Index(r) * t.stride];
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
    if (i != r) carry(&t.coef[Index(i) * t.stride], &t.entryError[Index(i) * t.stride]);
  }
  if (t.level > 0) carry(t.eval.data(), t.evalError.data());
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
    if (t.rowLevel[Index(i)] == t.level) weights += std::fabs(t.rowWeight[Index(i)]);
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
      std::min(column_noise, kEntryNoise * t.columnErrorScale[col] * t.evalErrorFactor);
  if (!t.evalError.empty()) kept_noise = std::min(kept_noise, kEntryNoise * t.evalError[col]);

  // What the level's rows carry in, each by the smallest of its bounds.
  double carried = 0;
  for (int i = 0; i < t.goals; ++i) {
    if (t.rowLevel[Index(i)] != t.level) continue;
    double noise = std::min(largest, t.rowErrorFactor[Index(i)] * t.columnErrorScale[col]);
    if (!t.entryError.empty()) noise = std::min(noise, t.entryError[Index(i) * t.stride + col]);
    carried += std::fabs(t.rowWeight[Index(i)]) * noise;
  }
  // Where each entry has its own bound: even at the arithmetic's bare
  // rounding, without the margin of kEntryNoise, what the rows carry exceeds
  // the tolerance; the exchanges cancelled what the entry was made of, and
  // its sign is unknown.
  if (!t.entryError.empty() && kUnitRoundOff * carried > t.EvalTolerance(j)) {
    return SmallEntry::Undecided;
  }

  const double e = t.eval[col];
  const double kept_bound = kEvalRoundOff * t.evalBound[col] + kept_noise;
  const double afresh = EvaluationAfresh(t, j);
  const double afresh_bound = kSumRoundOff * t.evalScale[col] + kEntryNoise * carried;
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
    if (!std::isfinite(t.eval[Index(j)]) || !std::isfinite(t.evalScale[Index(j)]) ||
        !std::isfinite(t.evalBound[Index(j)]))
      return false;
  }
  return true;
}

// Runs the levels; the outcome. The tableau is left as it stands.
GoalOutcome RunLevels(GoalTableau& t, const std::function<void(const GoalSnapshot&)>& onPivot,
                      int pivot_limit, const SolveOptions& options) {
  Progress* const progress = options.progress;
  GoalSnapshot snapshot;
  BasisHistory history(t.variables + 2 * t.goals);
  for (int level = 1; level <= t.levels; ++level) {
    if (progress) progress->SetPhase(ProgressPhase::GoalLevel, level);
    BuildEvaluationRow(t, level);
    history.Start(t.rowVar);
    if (!EvaluationFinite(t)) return GoalOutcome::Overflow;
    while (!LevelOptimal(t)) {
      if (ShouldStop(progress)) return GoalOutcome::Stopped;
      const int p = ChooseEntering(t);
      const int r = p < 0 ? -1 : ChooseLeaving(t, p);
      const double pivot = r < 0 ? 0.0 : t.Coef(r, p);
      if (pivot < kSmallestPivot) return GoalOutcome::PivotTooSmall;
      if (t.pivots >= pivot_limit) return GoalOutcome::PivotLimit;

      const int leaving = t.rowVar[Index(r)];
      const int entering = t.colVar[Index(p)];
      Exchange(t, r, p);
      ++t.pivots;
      if (progress) progress->SetPivots(t.pivots);
      if (options.afterExchange) options.afterExchange(t);
      TakeSnapshot(t, snapshot);
      if (onPivot) onPivot(snapshot);
      if (history.Repeats(leaving, entering, t.rowVar)) return GoalOutcome::Cycling;
      if (!EvaluationFinite(t)) return GoalOutcome::Overflow;
      // No basic variable may go negative beyond round-off: one that does
      // shows that a comparison within round-off chose the wrong row.
      for (double value : t.rowValue) {
        if (value < -t.tolerance) return GoalOutcome::RoundOff;
      }
    }
    if (LevelEndUndecided(t)) return GoalOutcome::RoundOff;
    if (!EndLevel(t)) break;
  }
  return GoalOutcome::Optimal;
}

// Whether the values of a snapshot satisfy every goal's equation
// a·X + D- − D+ = b within round-off of its terms.
bool MeetsEquations(const GoalModel& model, const GoalSnapshot& s) {
  const int M = model.constraintCount;
  const int N = model.variableCount;
  for (int i = 0; i < M; ++i) {
    const double dn = s.solution[Index(N + i)];
    const double dp = s.solution[Index(N + M + i)];
    double sum = dn - dp - model.target[Index(i)];
    double terms = std::fabs(dn) + std::fabs(dp) + std::fabs(model.target[Index(i)]);
    for (int j = 0; j < N; ++j) {
      const double term = model.a(i, j) * s.solution[Index(j)];
      sum += term;
      terms += std::fabs(term);
    }
    if (!(std::fabs(sum) <= kEquationRoundOff * terms)) return false;
  }
  return true;
}

}  // namespace

GoalTableau StartTableau(const GoalModel& model) {
  GoalTableau t;
  const int M = model.constraintCount;
  const int N = model.variableCount;
  t.goals = M;
  t.variables = N;
  t.levels = model.levelCount;
  t.columns = N + M;
  t.stride = (Index(t.columns) + 3) & ~std::size_t{3};

  t.coef.assign(Index(M) * t.stride, 0.0);
  t.rowValue.resize(Index(M));
  t.rowVar.resize(Index(M));
  t.rowWeight.resize(Index(M));
  t.rowLevel.resize(Index(M));
  t.colVar.resize(Index(t.columns));
  t.colWeight.resize(Index(t.columns));
  t.colLevel.resize(Index(t.columns));
  t.eval.assign(t.stride, 0.0);
  t.keep.assign(t.stride, kKeepColumn);

  t.evalScale.assign(t.stride, 0.0);
  t.evalBound.assign(t.stride, 0.0);
  t.valueBound.resize(Index(M));
  t.rowErrorFactor.assign(Index(M), 0.0);
  t.columnErrorScale.assign(t.stride, 0.0);
  if (Index(M) * t.stride <= kEntryErrorCells) {
    t.entryError.assign(Index(M) * t.stride, 0.0);
    t.evalError.assign(t.stride, 0.0);
  }

  for (int j = 0; j < N; ++j) {
    t.colVar[Index(j)] = j + 1;
    t.colWeight[Index(j)] = 0;
    t.colLevel[Index(j)] = 0;
  }
  for (int i = 0; i < M; ++i) {
    const std::size_t g = Index(i);
    const int column = N + i;
    const int negative_id = N + i + 1;
    const int positive_id = N + M + i + 1;
    t.Coef(i, column) = -1;
    if (model.target[g] >= 0) {
      for (int j = 0; j < N; ++j) t.Coef(i, j) = model.a(i, j);
      t.rowValue[g] = model.target[g];
      t.rowVar[g] = negative_id;
      t.rowWeight[g] = model.negWeight[g];
      t.rowLevel[g] = model.negLevel[g];
      t.colVar[Index(column)] = positive_id;
      t.colWeight[Index(column)] = model.posWeight[g];
      t.colLevel[Index(column)] = model.posLevel[g];
    } else {
      // D(i)+ = −b(i) + Σ a(i,j)·Xj + D(i)- ≥ 0 starts basic instead.
      for (int j = 0; j < N; ++j) t.Coef(i, j) = -model.a(i, j);
      t.rowValue[g] = -model.target[g];
      t.rowVar[g] = positive_id;
      t.rowWeight[g] = model.posWeight[g];
      t.rowLevel[g] = model.posLevel[g];
      t.colVar[Index(column)] = negative_id;
      t.colWeight[Index(column)] = model.negWeight[g];
      t.colLevel[Index(column)] = model.negLevel[g];
    }
  }
  for (int i = 0; i < M; ++i) {
    t.valueBound[Index(i)] = std::fabs(t.rowValue[Index(i)]);
    for (int j = 0; j < t.columns; ++j) {
      double& scale = t.columnErrorScale[Index(j)];
      scale = std::max(scale, std::fabs(t.Coef(i, j)));
    }
  }
  for (int j = 0; j < t.columns; ++j) t.keep[Index(j)] = t.Removed(j) ? kKeepColumn : 0;
  return t;
}

void BuildEvaluationRow(GoalTableau& t, int level) {
  for (std::size_t j = 0; j < t.stride; ++j) {
    if (t.keep[j] == 0) t.eval[j] = 0;
  }
  for (int i = 0; i < t.goals; ++i) {
    if (t.rowLevel[Index(i)] != level) continue;
    AddWeightedRow(t.eval.data(), &t.coef[Index(i) * t.stride], t.rowWeight[Index(i)],
                   t.keep.data(), t.stride);
  }
  for (int j = 0; j < t.columns; ++j) {
    if (!t.Removed(j) && t.colLevel[Index(j)] == level) {
      t.eval[Index(j)] = t.eval[Index(j)] - t.colWeight[Index(j)];
    }
  }
  t.level = level;
  if (!t.evalError.empty()) {
    std::fill(t.evalError.begin(), t.evalError.end(), 0.0);
    for (int i = 0; i < t.goals; ++i) {
      if (t.rowLevel[Index(i)] != level) continue;
      const double weight = std::fabs(t.rowWeight[Index(i)]);
      for (int j = 0; j < t.columns; ++j) {
        t.evalError[Index(j)] += weight * t.entryError[Index(i) * t.stride + Index(j)];
      }
    }
  }
  t.evalErrorFactor = 0;
  for (int i = 0; i < t.goals; ++i) {
    if (t.rowLevel[Index(i)] == level) {
      t.evalErrorFactor += std::fabs(t.rowWeight[Index(i)]) * t.rowErrorFactor[Index(i)];
    }
  }
  UpdateEvaluationScale(t);
  for (std::size_t j = 0; j < t.stride; ++j) {
    if (t.keep[j] == 0) t.evalBound[j] = t.evalScale[j];
  }
}

void UpdateEvaluationScale(GoalTableau& t) {
  for (std::size_t j = 0; j < t.stride; ++j) {
    if (t.keep[j] == 0) t.evalScale[j] = 0;
  }
  for (int i = 0; i < t.goals; ++i) {
    if (t.rowLevel[Index(i)] != t.level) continue;
    AddWeightedMagnitudes(t.evalScale.data(), &t.coef[Index(i) * t.stride], t.rowWeight[Index(i)],
                          t.keep.data(), t.stride);
  }
  for (int j = 0; j < t.columns; ++j) {
    if (!t.Removed(j) && t.colLevel[Index(j)] == t.level) {
      t.evalScale[Index(j)] += std::fabs(t.colWeight[Index(j)]);
    }
  }
}

bool LevelOptimal(const GoalTableau& t) {
  for (int j = 0; j < t.columns; ++j) {
    if (!t.Removed(j) && t.eval[Index(j)] > EntryTolerance(t, j)) return false;
  }
  return SmallPositiveColumn(t) < 0;
}

int ChooseEntering(const GoalTableau& t) {
  int p = -1;
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j)) continue;
    const double e = t.eval[Index(j)];
    if (std::fabs(e) <= EntryTolerance(t, j)) continue;
    if (p < 0) {
      if (e > -9999) p = j;
      continue;
    }
    // Two entries compare within the round-off of the larger.
    const double tol = std::max(EntryTolerance(t, j), EntryTolerance(t, p));
    const double d = e - t.eval[Index(p)];
    if (d > tol) {
      p = j;
    } else if (std::fabs(d) <= tol) {
      const auto level_j = t.colLevel[Index(j)];
      const auto level_p = t.colLevel[Index(p)];
      if (level_j > level_p ||
          (level_j == level_p && t.colWeight[Index(j)] < t.colWeight[Index(p)])) {
        p = j;
      }
    }
  }
  // With no entry above its bound, a small one judged positive enters.
  if (p < 0 || !(t.eval[Index(p)] > EntryTolerance(t, p))) {
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
    const double q = t.rowValue[Index(i)] / c;
    if (!(q < 1000000000)) continue;
    if (r < 0) {
      r = i;
      qr = q;
      continue;
    }
    const double d = q - qr;
    const double tq = tol * std::max(std::fabs(q), std::fabs(qr));
    bool take = d < -tq;
    if (!take && std::fabs(d) <= tq) {
      const auto level_i = t.rowLevel[Index(i)];
      const auto level_r = t.rowLevel[Index(r)];
      take = level_i < level_r ||
             (level_i == level_r && t.rowWeight[Index(i)] > t.rowWeight[Index(r)]);
    }
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
  std::swap(t.rowVar[ri], t.colVar[pj]);
  std::swap(t.rowWeight[ri], t.colWeight[pj]);
  std::swap(t.rowLevel[ri], t.colLevel[pj]);

  // What the exchange subtracts from each evaluation entry goes into its
  // bound: eval(j) -= coef(r,j) × eval(p) / P; eval(p) becomes -eval(p) / P.
  const double P = t.Coef(r, p);
  const double pivot_bound = (t.evalBound[pj] + std::fabs(t.eval[pj])) / std::fabs(P);
  AddWeightedMagnitudes(t.evalBound.data(), &t.coef[ri * t.stride], std::fabs(t.eval[pj] / P),
                        t.keep.data(), t.stride);
  t.evalBound[pj] = pivot_bound;

  // Likewise for the basic values: value(i) -= coef(i,p) × value(r) / P;
  // value(r) becomes value(r) / P.
  const double moved = std::fabs(t.rowValue[ri] / P);
  for (int i = 0; i < t.goals; ++i) {
    if (i != r) t.valueBound[Index(i)] += std::fabs(t.Coef(i, p)) * moved;
  }
  t.valueBound[ri] = t.valueBound[ri] / std::fabs(P);

  // The carried round-off: row i takes its multiplier coef(i,p) / P times
  // the pivot row's factor, plus the rounding of the product, the quotient
  // and the difference; the pivot row is divided by P. Column j takes its
  // pivot row entry over P times the pivot column's scale, after its scale
  // has grown to cover that entry; the pivot column is divided by P.
  const double pivot_factor = t.rowErrorFactor[ri] + kExchangeRoundings;
  for (int i = 0; i < t.goals; ++i) {
    if (i != r) t.rowErrorFactor[Index(i)] += std::fabs(t.Coef(i, p) / P) * pivot_factor;
  }
  t.rowErrorFactor[ri] = t.rowErrorFactor[ri] / std::fabs(P);
  if (t.level > 0) t.evalErrorFactor += std::fabs(t.eval[pj] / P) * pivot_factor;
  const double pivot_scale = t.columnErrorScale[pj];
  for (int j = 0; j < t.columns; ++j) {
    if (j == p) continue;
    const double entry = std::fabs(t.Coef(r, j));
    double& scale = t.columnErrorScale[Index(j)];
    scale = std::max(scale, entry) + entry / std::fabs(P) * pivot_scale;
  }
  t.columnErrorScale[pj] = pivot_scale / std::fabs(P);
  if (!t.entryError.empty()) CarryEntryErrors(t, r, p);

  ExchangeArgs args;
  args.coef = t.coef.data();
  args.stride = t.stride;
  args.rows = t.goals;
  args.rowValue = t.rowValue.data();
  args.eval = t.eval.data();
  args.keep = t.keep.data();
  args.r = r;
  args.p = p;
  ExchangeTableau(args);

  // The variable that left may carry the removal mark as its weight; its
  // column then counts as removed from now on.
  t.keep[pj] = t.Removed(p) ? kKeepColumn : 0;
  // A basic value within round-off of what went into it is 0; a small
  // positive value made of small terms is kept. A small negative one shows
  // a ratio tie taken within the round-off bound and is set to 0 as before.
  for (int i = 0; i < t.goals; ++i) {
    double& value = t.rowValue[Index(i)];
    const double limit =
        value < 0 ? t.tolerance : std::min(t.tolerance, kValueRoundOff * t.valueBound[Index(i)]);
    if (std::fabs(value) <= limit) {
      value = 0;
    }
  }
  if (t.level > 0) UpdateEvaluationScale(t);
}

bool EndLevel(GoalTableau& t) {
  const double weights = LevelWeights(t);
  bool survivor = false;
  for (int j = 0; j < t.columns; ++j) {
    if (t.Removed(j)) continue;
    if (t.eval[Index(j)] < -EntryTolerance(t, j) ||
        (SmallEntryAt(t, j) && JudgeSmallEntry(t, j, weights) == SmallEntry::Negative)) {
      t.eval[Index(j)] = RemovedMark;
      t.colWeight[Index(j)] = RemovedMark;
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
    const int level = t.rowLevel[g];
    if (level >= 1 && level <= t.levels) {
      out.achievement[Index(level - 1)] += t.rowValue[g] * t.rowWeight[g];
    }
    out.solution[Index(t.rowVar[g] - 1)] = t.rowValue[g];
  }
}

GoalSnapshot TakeSnapshot(const GoalTableau& t) {
  GoalSnapshot snapshot;
  TakeSnapshot(t, snapshot);
  return snapshot;
}

GoalResult SolveGoals(const GoalModel& model,
                      const std::function<void(const GoalSnapshot&)>& onPivot,
                      const SolveOptions& options) {
  GoalTableau t = StartTableau(model);
  GoalResult result;
  result.outcome = RunLevels(t, onPivot, std::clamp(options.pivotLimit, 0, kPivotLimit), options);
  TakeSnapshot(t, result.final);
  // An answer whose values break a goal's equation beyond round-off is not
  // one the method can vouch for.
  if (result.outcome == GoalOutcome::Optimal && !MeetsEquations(model, result.final)) {
    result.outcome = GoalOutcome::RoundOff;
  }
  return result;
}

}  // namespace orcalc::goal
