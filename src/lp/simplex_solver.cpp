#include "lp/simplex_solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/basis_history.h"
#include "common/cache_aligned.h"
#include "lp/pivot_kernel.h"

namespace orcalc::lp {
namespace {

using detail::kRowQuantum;

// The tableau T with rows 1..n+2 and columns 1..m+n+1, addressed 1-based as
// the method is written, stored as one zeroed, aligned, row-major block.
class Tableau {
 public:
  Tableau(int rows, int cols)
      : rows_(static_cast<std::size_t>(rows)),
        width_(RoundUp(static_cast<std::size_t>(cols))),
        cells_((rows_ == 0 ? 1 : rows_) * width_ + kRowQuantum, 0.0) {}

  double& operator()(int i, int j) {
    return cells_[static_cast<std::size_t>(i - 1) * width_ + static_cast<std::size_t>(j - 1)];
  }

  std::span<const double> Cells() const { return {cells_.data(), rows_ * width_}; }

  void Pivot(int r, int k, detail::PivotFollowUp& follow_up) {
    detail::PivotTableau(cells_.data(), width_, rows_, width_, static_cast<std::size_t>(r - 1),
                         static_cast<std::size_t>(k - 1), follow_up);
  }

 private:
  static std::size_t RoundUp(std::size_t n) {
    return (n + kRowQuantum - 1) / kRowQuantum * kRowQuantum;
  }

  std::size_t rows_;
  std::size_t width_;
  CacheAlignedVector<double> cells_;  // starts on kTableauAlignment, as the kernel needs
};

class Simplex {
 public:
  Simplex(const LpProblem& problem, const SimplexOptions& options)
      : m_(problem.variables),
        n_(problem.constraints),
        p_(SenseSign(problem.sense)),
        rhs_(m_ + n_ + 1),
        phase_row_(n_ + 2),
        options_(options),
        T_(n_ + 2, m_ + n_ + 1),
        B_(static_cast<std::size_t>(n_) + 2, 0),
        allowed_(static_cast<std::size_t>(m_ + n_) + 1, 1),
        history_(m_ + 2 * n_ + 2),
        objective_start_(static_cast<std::size_t>(m_ + n_) + 1, 0.0),
        recomputed_(static_cast<std::size_t>(m_ + n_) + 1, 0.0),
        magnitudes_(static_cast<std::size_t>(m_ + n_) + 1, 0.0),
        column_largest_(static_cast<std::size_t>(m_ + n_) + 1, 0.0),
        column_copy_(static_cast<std::size_t>(n_) + 2, 0.0),
        rhs_copy_(static_cast<std::size_t>(n_) + 2, 0.0),
        copied_rows_(static_cast<std::size_t>(n_) + 2, 0) {
    SetUp(problem);
  }

  SimplexResult Run();

 private:
  void SetUp(const LpProblem& problem);
  int WrittenEntering();
  int BlandEntering();
  int Entering();
  // Pivots on (r, k); `degenerate` tells whether the pivot leaves the point
  // where it is.
  void Pivot(int r, int k, bool degenerate);
  // Makes column k's entries and the right-hand sides of the constraint
  // rows readable through ColumnEntry and RightHandSide.
  void CopyColumn(int k);
  double ColumnEntry(int i) const { return column_copy_[static_cast<std::size_t>(i - 1)]; }
  double RightHandSide(int i) const { return rhs_copy_[static_cast<std::size_t>(i - 1)]; }
  bool RatioFloor(double* floor);
  // The ratio tests, on the copied column.
  int WrittenLeaving(double floor);
  int BlandLeaving(double floor);
  bool ArtificialAbove();
  bool PhaseEndRestsOnTolerance(bool* finite);
  bool ValuesRestOnTolerance();
  // The member of the basis history that row i's basic variable b is: b
  // itself for columns 1..m+n, one member per row for the artificial
  // variables (every artificial belongs to its row for good, since
  // artificial variables have no columns and never re-enter).
  int HistoryMember(int b, int i) const { return b == rhs_ ? m_ + n_ + i : b; }

  const int m_, n_;
  const double p_;
  const int rhs_;        // m+n+1: the right-hand side column, and the artificial mark
  const int phase_row_;  // n+2
  const SimplexOptions options_;
  Tableau T_;
  std::vector<int> B_;         // B(2..n+1)
  std::vector<char> allowed_;  // columns 1..m+n that may enter
  int r0_ = 1;
  bool bland_ = false;
  BasisHistory history_;      // the bases seen since the last non-degenerate pivot
  double rhs_largest_ = 0.0;  // the largest right-hand side as set up
  // Row 1 as set up (-p*c_j, then 0 for the slack columns), and at the end
  // of a phase the row in force recomputed, the magnitudes of its terms and
  // each column's largest magnitude in the constraint rows; columns 1..m+n.
  std::vector<double> objective_start_, recomputed_, magnitudes_, column_largest_;
  // The entries of column copied_column_ and of the right-hand side column
  // in rows 1..n+2, as the tableau stands (0: no column copied).
  std::vector<double> column_copy_, rhs_copy_;
  std::vector<unsigned char> copied_rows_;  // the pivot's scratch
  int copied_column_ = 0;
  // The entering column chosen during the last pivot for the rule
  // (Bland's or the written one) expected next; -1: none.
  int next_entering_ = -1;
  bool next_by_bland_ = false;
};

// The entering column, by the rule in force: chosen ahead during the last
// pivot when that pivot expected this rule.
int Simplex::Entering() {
  const int ahead = next_entering_;
  next_entering_ = -1;
  if (ahead >= 0 && next_by_bland_ == bland_) return ahead;
  return bland_ ? BlandEntering() : WrittenEntering();
}

void Simplex::Pivot(int r, int k, bool degenerate) {
  // After this pivot Bland's rule stays in force exactly while pivots are
  // degenerate (unless the pivot returns to a basis seen before, which the
  // next Entering notices). The rows the entering rules read (the
  // objective and phase-1 rows) are updated apart; the rule chooses on them
  // while the other rows are updated, and the pivot copies out the chosen
  // column for the ratio test.
  detail::PivotFollowUp follow_up;
  follow_up.lead_rows[0] = 0;
  follow_up.lead_rows[1] = static_cast<std::size_t>(phase_row_ - 1);
  follow_up.context = this;
  follow_up.choose_column = [](void* context) {
    Simplex& self = *static_cast<Simplex*>(context);
    self.next_entering_ = self.next_by_bland_ ? self.BlandEntering() : self.WrittenEntering();
    return self.next_entering_ == 0 ? detail::kNone
                                    : static_cast<std::size_t>(self.next_entering_ - 1);
  };
  follow_up.rhs_column = static_cast<std::size_t>(rhs_ - 1);
  follow_up.column_out = column_copy_.data();
  follow_up.rhs_out = rhs_copy_.data();
  follow_up.copied = copied_rows_.data();
  next_by_bland_ = bland_ && degenerate;
  T_.Pivot(r, k, follow_up);
  copied_column_ =
      follow_up.copied_column == detail::kNone ? 0 : static_cast<int>(follow_up.copied_column) + 1;
}

void Simplex::CopyColumn(int k) {
  if (copied_column_ == k) return;
  for (int i = 2; i <= n_ + 1; ++i) {
    column_copy_[static_cast<std::size_t>(i - 1)] = T_(i, k);
    rhs_copy_[static_cast<std::size_t>(i - 1)] = T_(i, rhs_);
  }
  copied_column_ = k;
}

void Simplex::SetUp(const LpProblem& problem) {
  // Objective row: -p * c_j.
  for (int j = 1; j <= m_; ++j) T_(1, j) = -p_ * problem.objective[static_cast<std::size_t>(j - 1)];
  // Constraint rows in tableau shape: coefficients, the sign code in the
  // row's own slack column m+i-1, the right-hand side in column m+n+1.
  for (int i = 2; i <= n_ + 1; ++i) {
    const int c = i - 2;
    for (int j = 1; j <= m_; ++j) T_(i, j) = problem.Coefficient(c, j - 1);
    T_(i, m_ + i - 1) = problem.signs[static_cast<std::size_t>(c)];
    T_(i, rhs_) = problem.rhs[static_cast<std::size_t>(c)];
  }
  // Starting basis: the slack of a <= row, otherwise an artificial variable
  // whose row is subtracted from the phase-1 row.
  r0_ = 1;
  for (int i = 2; i <= n_ + 1; ++i) {
    if (T_(i, m_ + i - 1) == 1.0) {
      B_[static_cast<std::size_t>(i)] = m_ + i - 1;
    } else {
      B_[static_cast<std::size_t>(i)] = rhs_;
      for (int j = 1; j <= m_ + n_; ++j) T_(phase_row_, j) = T_(phase_row_, j) - T_(i, j);
      r0_ = phase_row_;
    }
  }
  for (int j = 1; j <= m_; ++j) objective_start_[static_cast<std::size_t>(j)] = T_(1, j);
  for (int i = 2; i <= n_ + 1; ++i) rhs_largest_ = std::max(rhs_largest_, std::fabs(T_(i, rhs_)));
}

// The most negative entry of the row in force; a later column replaces the
// current one only when better by more than epsilon. In phase 1, columns
// within epsilon of each other are told apart by the objective row.
int Simplex::WrittenEntering() {
  int k = 0;
  for (int j = 1; j <= m_ + n_; ++j) {
    if (!allowed_[static_cast<std::size_t>(j)]) continue;
    if (k == 0) {
      k = j;
      continue;
    }
    const double d = T_(r0_, j) - T_(r0_, k);
    if (d < -kEpsilon) {
      k = j;
    } else if (d <= kEpsilon && r0_ != 1 && T_(1, j) - T_(1, k) < -kEpsilon) {
      k = j;
    }
  }
  return k;
}

// Bland: the lowest-numbered allowed column below -epsilon.
int Simplex::BlandEntering() {
  for (int j = 1; j <= m_ + n_; ++j) {
    if (allowed_[static_cast<std::size_t>(j)] && T_(r0_, j) < -kEpsilon) return j;
  }
  return 0;
}

// A row takes part in the ratio test for the copied column k when its entry is above
// `floor`: epsilon, or less when the column's entries are small, a fraction
// of its largest magnitude, so that small data still count while round-off
// does not. False when the column holds a number that is not finite.
bool Simplex::RatioFloor(double* floor) {
  if (!options_.relative_ratio_floor) {
    *floor = kEpsilon;
    return true;
  }
  double largest = 0.0;
  bool finite = true;
  for (int i = 2; i <= n_ + 1; ++i) {
    const double a = std::fabs(ColumnEntry(i));
    finite = finite && std::isfinite(a);
    largest = std::max(largest, a);
  }
  // Never above epsilon: a row that the written rule lets take part always
  // does.
  *floor = std::min(kEpsilon, kRatioFloor * largest);
  return finite;
}

// Smallest ratio over the rows with an entry above the floor; ties keep the
// earlier row. 0 when no row takes part.
int Simplex::WrittenLeaving(double floor) {
  int r = 0;
  double best = 0.0;  // row r's ratio
  for (int i = 2; i <= n_ + 1; ++i) {
    if (!(ColumnEntry(i) > floor)) continue;
    const double ratio = RightHandSide(i) / ColumnEntry(i);
    if (r == 0 || ratio < best) {
      r = i;
      best = ratio;
    }
  }
  return r;
}

// Bland: among rows tied (exactly) for the smallest ratio, the one whose
// basic variable is smallest; artificial variables come last, and between
// two of them the earlier row.
int Simplex::BlandLeaving(double floor) {
  int r = 0;
  double best = 0.0;
  for (int i = 2; i <= n_ + 1; ++i) {
    if (!(ColumnEntry(i) > floor)) continue;
    const double t = RightHandSide(i) / ColumnEntry(i);
    if (r == 0 || t < best ||
        (t == best && B_[static_cast<std::size_t>(i)] < B_[static_cast<std::size_t>(r)])) {
      r = i;
      best = t;
    }
  }
  return r;
}

// Whether some row still has an artificial basic variable above epsilon.
bool Simplex::ArtificialAbove() {
  for (int i = 2; i <= n_ + 1; ++i) {
    if (B_[static_cast<std::size_t>(i)] > m_ + n_ && T_(i, rhs_) > kEpsilon) return true;
  }
  return false;
}

// At the end of a phase: whether an allowed column's entry in the row in
// force is negative beyond round-off, so that only the tolerance ended the
// phase. Each entry is recomputed from the rows of the basic variables that
// carry a cost in this phase (the decision variables with -p*c in phase 2,
// the artificial variables with 1 in phase 1):
//   own cost - sum over those rows of cost(B(i)) * T(i, j),
// and round-off is judged against the magnitudes of the terms of that sum
// and against the round-off its entries T(i, j) may carry, a fraction of
// their column's largest magnitude. `finite` is false when the row in force,
// a recomputed entry or a magnitude is not finite.
bool Simplex::PhaseEndRestsOnTolerance(bool* finite) {
  const bool objective = r0_ == 1;
  for (int j = 1; j <= m_ + n_; ++j) {
    const double own = objective ? objective_start_[static_cast<std::size_t>(j)] : 0.0;
    recomputed_[static_cast<std::size_t>(j)] = own;
    magnitudes_[static_cast<std::size_t>(j)] = std::fabs(own);
    column_largest_[static_cast<std::size_t>(j)] = 0.0;
  }
  double costs = 0.0;
  for (int i = 2; i <= n_ + 1; ++i) {
    const int b = B_[static_cast<std::size_t>(i)];
    double cost = 0.0;
    if (objective && b <= m_) cost = objective_start_[static_cast<std::size_t>(b)];
    if (!objective && b > m_ + n_) cost = 1.0;
    costs += std::fabs(cost);
    for (int j = 1; j <= m_ + n_; ++j) {
      const double entry = T_(i, j);
      const double term = cost * entry;
      recomputed_[static_cast<std::size_t>(j)] -= term;
      magnitudes_[static_cast<std::size_t>(j)] += std::fabs(term);
      column_largest_[static_cast<std::size_t>(j)] =
          std::max(column_largest_[static_cast<std::size_t>(j)], std::fabs(entry));
    }
  }
  bool rests = false;
  *finite = std::isfinite(costs);
  for (int j = 1; j <= m_ + n_; ++j) {
    const std::size_t c = static_cast<std::size_t>(j);
    const double noise = kRoundOffFloor * magnitudes_[c] + kEntryNoise * costs * column_largest_[c];
    *finite = *finite && std::isfinite(T_(r0_, j)) && std::isfinite(recomputed_[c]) &&
              std::isfinite(noise);
    rests = rests || (allowed_[c] && recomputed_[c] < -noise);
  }
  return rests;
}

// Whether the point counts as feasible only by the tolerance: a basic value
// in [-epsilon, -round-off), or an artificial variable still basic at a
// value in (round-off, epsilon]; round-off is a fraction of the largest
// right-hand side, now or as set up.
bool Simplex::ValuesRestOnTolerance() {
  double largest = rhs_largest_;
  for (int i = 2; i <= n_ + 1; ++i) largest = std::max(largest, std::fabs(T_(i, rhs_)));
  const double noise = kValueNoise * largest;
  for (int i = 2; i <= n_ + 1; ++i) {
    const double value = T_(i, rhs_);
    if (value >= -kEpsilon && value < -noise) return true;
    if (B_[static_cast<std::size_t>(i)] > m_ + n_ && value > noise && value <= kEpsilon)
      return true;
  }
  return false;
}

SimplexResult Simplex::Run() {
  SimplexResult result;
  result.outcome = SimplexOutcome::Optimal;
  std::vector<int> members;
  for (int i = 2; i <= n_ + 1; ++i)
    members.push_back(HistoryMember(B_[static_cast<std::size_t>(i)], i));
  history_.SetCurrent(members);
  history_.Restart();

  bool tolerance_decided = false;
  Progress* const progress = options_.progress;
  if (progress) progress->SetPhase(r0_ == 1 ? ProgressPhase::Phase2 : ProgressPhase::Phase1);

  long counter = 1;
  for (;;) {
    if (ShouldStop(progress)) {
      result.outcome = SimplexOutcome::Stopped;
      return result;
    }
    if (counter >= options_.iteration_limit) {
      result.outcome = SimplexOutcome::IterationLimit;
      break;
    }
    ++counter;

    const int k = Entering();
    if (k == 0 || !(T_(r0_, k) < -kEpsilon)) {
      // End of a phase.
      bool finite = true;
      tolerance_decided = PhaseEndRestsOnTolerance(&finite) || tolerance_decided;
      if (!finite) {
        result.outcome = SimplexOutcome::Overflow;
        break;
      }
      if (r0_ == 1) break;
      tolerance_decided = ValuesRestOnTolerance() || tolerance_decided;
      bool positive = false;
      for (int j = 1; j <= m_ + n_; ++j) positive = positive || T_(phase_row_, j) > kEpsilon;
      if (positive) {
        // A positive artificial variable means no feasible point was found;
        // otherwise the columns with a positive phase-1 entry would lift an
        // artificial variable off 0, so they may not enter in phase 2.
        if (ArtificialAbove()) {
          result.outcome = SimplexOutcome::Phase1Stuck;
          break;
        }
        for (int j = 1; j <= m_ + n_; ++j) {
          if (T_(phase_row_, j) > kEpsilon) allowed_[static_cast<std::size_t>(j)] = 0;
        }
      }
      r0_ = 1;
      bland_ = false;
      history_.Restart();
      if (progress) progress->SetPhase(ProgressPhase::Phase2);
      continue;
    }

    CopyColumn(k);
    double floor = kEpsilon;
    if (!RatioFloor(&floor)) {
      result.outcome = SimplexOutcome::Overflow;
      break;
    }
    const int r = bland_ ? BlandLeaving(floor) : WrittenLeaving(floor);
    if (r == 0) {
      result.outcome = SimplexOutcome::Unbounded;
      break;
    }

    const bool degenerate = std::fabs(RightHandSide(r)) <= kEpsilon;
    Pivot(r, k, degenerate);
    ++result.pivots;
    if (r0_ != 1) ++result.phase1_pivots;
    if (bland_) ++result.bland_pivots;
    if (progress) progress->SetPivots(result.pivots);
    if (options_.after_pivot) options_.after_pivot(T_.Cells());
    history_.Exchange(HistoryMember(B_[static_cast<std::size_t>(r)], r), k);
    B_[static_cast<std::size_t>(r)] = k;

    if (!options_.anti_cycling) continue;
    if (!degenerate) {
      bland_ = false;
      history_.Restart();
    } else if (!history_.Insert()) {
      bland_ = true;  // a basis seen before: cycling
    }
  }

  // Feasibility: the rows whose artificial variable stays positive.
  for (int i = 2; i <= n_ + 1; ++i) {
    if (T_(i, rhs_) > kEpsilon && B_[static_cast<std::size_t>(i)] > m_ + n_) {
      ++result.infeasible_rows;
    }
  }

  // The point the report shows: every basic variable must be at least 0,
  // and every number of it finite.
  bool broken = false;
  bool finite = result.outcome != SimplexOutcome::Overflow && std::isfinite(T_(1, rhs_));
  for (int i = 2; i <= n_ + 1; ++i) {
    broken = broken || T_(i, rhs_) < -kEpsilon;
    finite = finite && std::isfinite(T_(i, rhs_));
  }
  tolerance_decided = ValuesRestOnTolerance() || tolerance_decided;
  result.constraints_broken = broken;
  result.tolerance_decided = tolerance_decided;
  result.not_finite = !finite;

  result.x.assign(static_cast<std::size_t>(m_), 0.0);
  for (int i = 2; i <= n_ + 1; ++i) {
    const int b = B_[static_cast<std::size_t>(i)];
    if (b <= m_) result.x[static_cast<std::size_t>(b - 1)] = T_(i, rhs_);
  }
  result.objective = p_ * T_(1, rhs_);

  result.basis.reserve(static_cast<std::size_t>(n_));
  for (int i = 2; i <= n_ + 1; ++i) {
    const int b = B_[static_cast<std::size_t>(i)];
    result.basis.push_back(b > m_ + n_ ? kArtificialColumn : b - 1);
  }
  for (int j = 1; j <= m_ + n_; ++j) {
    if (!allowed_[static_cast<std::size_t>(j)]) result.barred.push_back(j - 1);
  }
  return result;
}

}  // namespace

SimplexResult SolveSimplex(const LpProblem& problem, const SimplexOptions& options) {
  return Simplex(problem, options).Run();
}

}  // namespace orcalc::lp
