#include "simplex/simplex_solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "parallel/cache_aligned.h"
#include "simplex/basis_factor.h"
#include "simplex/basis_history.h"
#include "simplex/certificate.h"
#include "simplex/pivot_kernel.h"

namespace orcalc::lp {
namespace {

// Ratios this close (relative to the smaller, or absolutely below 1) tie
// under Bland's rule: at a degenerate corner they are zeros that round-off
// has made 1e-17 or so, and telling them apart by that breaks the rule's
// guarantee against cycling.
constexpr double kBlandTie = 1e-12;

// Carrying on, a row tied for the smallest ratio leaves only when its entry
// is at least this share of the largest tied entry.
constexpr double kPivotShare = 1e-3;
// Carrying on, the tableau is rebuilt from the problem as read after this
// many pivots (or as many as it has rows), before their round-off adds up
// to entries that pass for pivots.
constexpr long kRebuildInterval = 100;
// Carrying on, a basis whose values, rebuilt, moved by more than this
// fraction of the largest is left for the method's first basis.
constexpr double kDigitsLost = 1e-6;
// Carrying on, a rebuilt value below 0 by more than this fraction of the
// largest is repaired. The certificate lets a value pass down to 1e-15 of
// the largest (round-off in the written method's values); a rebuilt one
// is good to far less, and on mixed-scale data -4e-10 of a variable can
// be worth 1e-4 of S.
constexpr double kRepairNoise = 1e-18;
// Carrying on, at most this many rounds repair the values found below 0
// once the loop has ended.
constexpr int kRepairRounds = 10;
// The most rounds of reopening a verdict the certificate did not bear out;
// past them the verdict stands unverified (and says so) rather than the
// method going on for ever on a problem round-off keeps spoiling.
constexpr int kCertifyRounds = 64;

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
  double operator()(int i, int j) const {
    return cells_[static_cast<std::size_t>(i - 1) * width_ + static_cast<std::size_t>(j - 1)];
  }

  std::span<const double> Cells() const { return {cells_.data(), rows_ * width_}; }
  void Clear() { std::fill(cells_.begin(), cells_.end(), 0.0); }

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
      : problem_(problem),
        m_(problem.variables),
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
        copied_rows_(static_cast<std::size_t>(n_) + 2, 0),
        noise_(static_cast<std::size_t>(m_ + n_) + 1, 0.0) {
    SetUp(problem);
  }

  SimplexResult Run();

 private:
  void SetUp(const LpProblem& problem);
  // The iteration loop, from where it stands to a verdict.
  SimplexOutcome Loop(SimplexResult& result);
  // At the end of a phase: true with the verdict when the loop ends.
  bool EndPhase(SimplexOutcome* outcome);
  // The point, the flags and the basis of the tableau as it stands.
  void Collect(SimplexOutcome outcome, SimplexResult& result);
  // Checks the verdict on the problem as read; where it does not hold,
  // carries on with relative tolerances while that makes pivots.
  void Certify(SimplexResult& result);
  Certificate Check(const SimplexResult& result) const;
  void Settle(const Certificate& certificate, SimplexResult& result);
  // Before carrying on after `outcome`: phase 1 again when an artificial
  // variable is not really 0.
  void Reopen(SimplexOutcome outcome, SimplexResult& result);
  // Carrying on: the tableau rebuilt from the problem as read for the
  // basis as it stands (false, the tableau untouched, when the basis is
  // singular); the tableau as set up, when the basis reached cannot be
  // trusted; the artificial variables left at 0 after phase 1 pivoted out.
  bool Rebuild();
  void Restart();
  bool ValuesBelowZero() const;
  bool RepairValues(SimplexResult& result);
  bool ValuesMoved(std::span<const double> kept) const;
  void DriveOutArtificials(SimplexResult& result);
  std::vector<int> CurrentBasis() const;
  void StartHistory();
  // The relative rules: each column's round-off in the row in force, and
  // the column that enters.
  void ColumnNoise(bool* finite);
  int RelativeEntering();
  // A basic artificial variable above the round-off of its row's terms at
  // the current point; rows whose artificial variable stays positive so.
  bool ArtificialNotZero(int i) const;
  int RowsNotZero() const;
  void MakePivot(int r, int k, bool degenerate, SimplexResult& result);
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
  int RelativeLeaving(double floor);
  bool ArtificialAbove();
  bool PhaseEndRestsOnTolerance(bool* finite);
  bool ValuesRestOnTolerance();
  // The member of the basis history that row i's basic variable b is: b
  // itself for columns 1..m+n, one member per row for the artificial
  // variables (every artificial belongs to its row for good, since
  // artificial variables have no columns and never re-enter).
  int HistoryMember(int b, int i) const { return b == rhs_ ? m_ + n_ + i : b; }
  // The order in which Bland's rule lets tied rows leave: artificial
  // variables first (each that leaves is gone for good), then by column.
  int Order(int i) const {
    const int b = B_[static_cast<std::size_t>(i)];
    return b == rhs_ ? i - n_ - 2 : b;
  }

  const LpProblem& problem_;
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
  long counter_ = 1;  // the iteration counter, across every loop
  bool tolerance_decided_ = false;
  // Carrying on with tolerances relative to each quantity's scale.
  bool relative_ = false;
  long degenerate_run_ = 0;
  std::vector<double> noise_;  // columns 1..m+n: round-off in the row in force
  // The entering column of an "unbounded" verdict and its entries in the
  // constraint rows.
  int ray_column_ = 0;
  std::vector<double> ray_entries_;
  bool restarted_ = false;
  bool from_start_ = false;  // set back to the first basis since the last pivot
  long since_rebuild_ = 0;   // pivots carried on since the tableau was rebuilt
  int repairs_ = 0;          // rounds of repair after the loop ended
};

// The entering column, by the rule in force: chosen ahead during the last
// pivot when that pivot expected this rule.
int Simplex::Entering() {
  const int ahead = next_entering_;
  next_entering_ = -1;
  if (relative_) return RelativeEntering();
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
  // The relative rule reads every row: it chooses after the pivot.
  if (!relative_)
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
    const bool wins_tie = d <= kEpsilon && r0_ != 1 && T_(1, j) - T_(1, k) < -kEpsilon;
    if (d < -kEpsilon || wins_tie) k = j;
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
    const double tie = kBlandTie * std::max(1.0, std::fabs(best));
    if (r == 0 || t < best - tie || (t <= best + tie && Order(i) < Order(r))) {
      r = i;
      best = t;
    }
  }
  return r;
}

// Carrying on: among the rows tied for the smallest ratio, only those
// whose entry is a fair share of the largest tied entry; of them the first,
// or under Bland's rule the one whose basic variable comes first. At a
// degenerate corner every row with a positive entry ties at 0, and a pivot
// on an entry a millionth of its column's size (still above round-off)
// leaves a basis so ill-conditioned that the next pivots lose every digit.
int Simplex::RelativeLeaving(double floor) {
  double best = 0.0, largest = 0.0;
  int r = 0;
  for (int i = 2; i <= n_ + 1; ++i) {
    if (!(ColumnEntry(i) > floor)) continue;
    const double ratio = std::max(0.0, RightHandSide(i)) / ColumnEntry(i);
    if (r == 0 || ratio < best) best = ratio;
    r = i;
  }
  if (r == 0) return 0;
  const double tie = kBlandTie * std::max(1.0, std::fabs(best));
  auto tied = [&](int i) {
    return ColumnEntry(i) > floor && std::max(0.0, RightHandSide(i)) / ColumnEntry(i) <= best + tie;
  };
  for (int i = 2; i <= n_ + 1; ++i) {
    if (tied(i)) largest = std::max(largest, ColumnEntry(i));
  }
  r = 0;
  for (int i = 2; i <= n_ + 1; ++i) {
    if (!tied(i) || ColumnEntry(i) < kPivotShare * largest) continue;
    if (r == 0 || (bland_ && Order(i) < Order(r))) r = i;
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
void Simplex::ColumnNoise(bool* finite) {
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
  *finite = std::isfinite(costs);
  for (int j = 1; j <= m_ + n_; ++j) {
    const std::size_t c = static_cast<std::size_t>(j);
    noise_[c] = kRoundOffFloor * magnitudes_[c] + kEntryNoise * costs * column_largest_[c];
    *finite = *finite && std::isfinite(T_(r0_, j)) && std::isfinite(recomputed_[c]) &&
              std::isfinite(noise_[c]);
  }
}

bool Simplex::PhaseEndRestsOnTolerance(bool* finite) {
  ColumnNoise(finite);
  bool rests = false;
  for (int j = 1; j <= m_ + n_; ++j) {
    const std::size_t c = static_cast<std::size_t>(j);
    rests = rests || (allowed_[c] && recomputed_[c] < -noise_[c]);
  }
  return rests;
}

// Carrying on: a column enters when its entry in the row in force, as kept
// and as recomputed from the basic rows, is below its own round-off; the
// most negative one, or under Bland's rule the lowest.
int Simplex::RelativeEntering() {
  bool finite = true;
  ColumnNoise(&finite);
  if (!finite) return 0;
  int k = 0;
  for (int j = 1; j <= m_ + n_; ++j) {
    const std::size_t c = static_cast<std::size_t>(j);
    if (!allowed_[c] || !(T_(r0_, j) < -noise_[c]) || !(recomputed_[c] < -noise_[c])) continue;
    if (bland_) return j;
    if (k == 0 || T_(r0_, j) < T_(r0_, k)) k = j;
  }
  return k;
}

bool Simplex::ArtificialNotZero(int i) const {
  if (B_[static_cast<std::size_t>(i)] <= m_ + n_) return false;
  const int c = i - 2;
  long double scale = std::fabs(problem_.rhs[static_cast<std::size_t>(c)]);
  for (int r = 2; r <= n_ + 1; ++r) {
    const int b = B_[static_cast<std::size_t>(r)];
    if (b <= m_) scale += std::fabs(problem_.Coefficient(c, b - 1) * T_(r, rhs_));
  }
  return T_(i, rhs_) > kCertificateTolerance * scale;
}

int Simplex::RowsNotZero() const {
  int rows = 0;
  for (int i = 2; i <= n_ + 1; ++i) rows += ArtificialNotZero(i);
  return rows;
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

// At the end of a phase (no column improves by the rule in force): whether
// the loop ends, and with which verdict. Phase 1 hands over to phase 2
// when no artificial variable is left positive (above epsilon, or, carrying
// on, above the round-off of its row), barring the columns that would
// lift one off 0.
bool Simplex::EndPhase(SimplexOutcome* outcome) {
  bool finite = true;
  tolerance_decided_ = PhaseEndRestsOnTolerance(&finite) || tolerance_decided_;
  if (!finite) {
    *outcome = SimplexOutcome::Overflow;
    return true;
  }
  *outcome = SimplexOutcome::Optimal;
  if (r0_ == 1) return true;
  tolerance_decided_ = ValuesRestOnTolerance() || tolerance_decided_;
  auto bars = [&](int j) {
    const double entry = T_(phase_row_, j);
    return relative_ ? entry > noise_[static_cast<std::size_t>(j)] : entry > kEpsilon;
  };
  bool positive = false;
  for (int j = 1; j <= m_ + n_; ++j) positive = positive || bars(j);
  if (relative_ ? RowsNotZero() > 0 : positive && ArtificialAbove()) {
    *outcome = SimplexOutcome::Phase1Stuck;
    return true;
  }
  for (int j = 1; j <= m_ + n_; ++j) {
    if (bars(j)) allowed_[static_cast<std::size_t>(j)] = 0;
  }
  r0_ = 1;
  bland_ = false;
  degenerate_run_ = 0;
  history_.Restart();
  if (options_.progress) options_.progress->SetPhase(ProgressPhase::Phase2);
  return false;
}

SimplexOutcome Simplex::Loop(SimplexResult& result) {
  Progress* const progress = options_.progress;
  for (;;) {
    if (ShouldStop(progress)) return SimplexOutcome::Stopped;
    if (counter_ >= options_.iteration_limit) return SimplexOutcome::IterationLimit;
    ++counter_;

    const int k = Entering();
    if (k == 0 || !(relative_ || T_(r0_, k) < -kEpsilon)) {
      if (relative_ && r0_ != 1 && RowsNotZero() == 0) DriveOutArtificials(result);
      SimplexOutcome outcome = SimplexOutcome::Optimal;
      if (EndPhase(&outcome)) return outcome;
      continue;
    }

    CopyColumn(k);
    double floor = kEpsilon;
    if (!RatioFloor(&floor)) return SimplexOutcome::Overflow;
    const int r = relative_ ? RelativeLeaving(floor)
                  : bland_  ? BlandLeaving(floor)
                            : WrittenLeaving(floor);
    if (r == 0) {
      ray_column_ = k;
      ray_entries_.assign(column_copy_.begin() + 1, column_copy_.begin() + 1 + n_);
      return SimplexOutcome::Unbounded;
    }

    const bool degenerate = relative_ ? RightHandSide(r) <= kValueNoise * rhs_largest_
                                      : std::fabs(RightHandSide(r)) <= kEpsilon;
    MakePivot(r, k, degenerate, result);
  }
}

void Simplex::MakePivot(int r, int k, bool degenerate, SimplexResult& result) {
  Pivot(r, k, degenerate);
  ++result.pivots;
  if (r0_ != 1) ++result.phase1_pivots;
  if (bland_) ++result.bland_pivots;
  if (relative_) ++result.relative_pivots;
  if (options_.progress) options_.progress->SetPivots(result.pivots);
  if (options_.after_pivot) options_.after_pivot(T_.Cells());
  if (options_.on_pivot)
    options_.on_pivot({r - 2, k - 1, r0_ == 1 ? 2 : 1, bland_, relative_, from_start_});
  from_start_ = false;
  history_.Exchange(HistoryMember(B_[static_cast<std::size_t>(r)], r), k);
  B_[static_cast<std::size_t>(r)] = k;
  if (relative_ && ++since_rebuild_ >= std::max<long>(kRebuildInterval, n_)) Rebuild();

  degenerate_run_ = degenerate ? degenerate_run_ + 1 : 0;
  result.longest_degenerate_run = std::max(result.longest_degenerate_run, degenerate_run_);
  if (!options_.anti_cycling) return;
  if (!degenerate) {
    bland_ = false;
    history_.Restart();
  } else if (!history_.Insert() || degenerate_run_ >= kDegenerateRun) {
    bland_ = true;  // a basis seen before (cycling), or stalling
  }
}

void Simplex::Collect(SimplexOutcome outcome, SimplexResult& result) {
  result.outcome = outcome;
  // Feasibility: the rows whose artificial variable stays positive.
  result.infeasible_rows = 0;
  for (int i = 2; i <= n_ + 1; ++i) {
    if (T_(i, rhs_) > kEpsilon && B_[static_cast<std::size_t>(i)] > m_ + n_) {
      ++result.infeasible_rows;
    }
  }

  // The point the report shows: every basic variable must be at least 0,
  // and every number of it finite.
  bool broken = false;
  bool finite = outcome != SimplexOutcome::Overflow && std::isfinite(T_(1, rhs_));
  for (int i = 2; i <= n_ + 1; ++i) {
    broken = broken || T_(i, rhs_) < -kEpsilon;
    finite = finite && std::isfinite(T_(i, rhs_));
  }
  result.constraints_broken = broken;
  result.tolerance_decided = ValuesRestOnTolerance() || tolerance_decided_;
  result.not_finite = !finite;

  result.x.assign(static_cast<std::size_t>(m_), 0.0);
  for (int i = 2; i <= n_ + 1; ++i) {
    const int b = B_[static_cast<std::size_t>(i)];
    if (b <= m_) result.x[static_cast<std::size_t>(b - 1)] = T_(i, rhs_);
  }
  result.objective = p_ * T_(1, rhs_);

  result.basis = CurrentBasis();
  result.barred.clear();
  for (int j = 1; j <= m_ + n_; ++j) {
    if (!allowed_[static_cast<std::size_t>(j)]) result.barred.push_back(j - 1);
  }
}

bool Certifiable(const SimplexResult& result) {
  return !result.not_finite && (result.outcome == SimplexOutcome::Optimal ||
                                result.outcome == SimplexOutcome::Unbounded ||
                                result.outcome == SimplexOutcome::Phase1Stuck);
}

Certificate Simplex::Check(const SimplexResult& result) const {
  TableauVerdict verdict{result.basis, result.x, result.objective, -1, {}};
  switch (result.outcome) {
    case SimplexOutcome::Unbounded:
      verdict.entering = ray_column_ - 1;
      verdict.entering_column = ray_entries_;
      return CertifyUnbounded(problem_, verdict);
    case SimplexOutcome::Phase1Stuck:
      return CertifyInfeasible(problem_, verdict);
    default:
      return CertifyOptimum(problem_, verdict);
  }
}

void Simplex::Certify(SimplexResult& result) {
  if (!Certifiable(result)) return;
  Certificate certificate = Check(result);
  for (int round = 0; !certificate.certified && round < kCertifyRounds; ++round) {
    const long pivots = result.pivots;
    Reopen(result.outcome, result);
    const SimplexOutcome outcome = Loop(result);
    if (outcome == SimplexOutcome::Stopped) {
      result.outcome = outcome;
      return;
    }
    // The point from the basis afresh, not as the last pivots left it; a
    // value that shows below 0 there is repaired (or, where no pivot can
    // repair it, the method starts over once) and the loop carries on.
    if (outcome != SimplexOutcome::Overflow && Rebuild() && outcome == SimplexOutcome::Optimal &&
        repairs_ < kRepairRounds && ValuesBelowZero()) {
      ++repairs_;
      if (RepairValues(result)) continue;
      if (!restarted_) {
        Restart();
        continue;
      }
    }
    Collect(outcome, result);
    if (!Certifiable(result)) return;
    certificate = Check(result);
    if (result.pivots == pivots) break;
  }
  Settle(certificate, result);
}

void Simplex::Reopen(SimplexOutcome outcome, SimplexResult& result) {
  relative_ = true;
  bland_ = false;
  degenerate_run_ = 0;
  // The tableau afresh for the basis reached. A basis that is singular,
  // or whose values the pivots had lost the digits of, was reached by
  // pivots that round-off misled: the method starts over from its first
  // basis (once). One whose values are only just below 0 is repaired.
  std::vector<double> kept(static_cast<std::size_t>(n_));
  for (int i = 2; i <= n_ + 1; ++i) kept[static_cast<std::size_t>(i - 2)] = T_(i, rhs_);
  const bool lost = !Rebuild() || ValuesMoved(kept);
  if ((lost || (ValuesBelowZero() && !RepairValues(result))) && !restarted_) Restart();
  // In phase 2, the artificial variables left at 0 leave their rows; the
  // columns barred for their sake are free again (a row left with one
  // holds nothing but round-off, which no column can lift it by).
  if (r0_ == 1 && RowsNotZero() == 0) {
    DriveOutArtificials(result);
    std::fill(allowed_.begin(), allowed_.end(), 1);
  }
  StartHistory();
  if (options_.progress)
    options_.progress->SetPhase(r0_ == 1 ? ProgressPhase::Phase2 : ProgressPhase::Phase1);
  if (outcome != SimplexOutcome::Optimal || r0_ != 1 || RowsNotZero() == 0) return;
  // A point that an artificial variable still holds off its row: back to
  // phase 1, every column allowed again.
  r0_ = phase_row_;
  std::fill(allowed_.begin(), allowed_.end(), 1);
  if (options_.progress) options_.progress->SetPhase(ProgressPhase::Phase1);
}

std::vector<int> Simplex::CurrentBasis() const {
  std::vector<int> basis;
  basis.reserve(static_cast<std::size_t>(n_));
  for (int i = 2; i <= n_ + 1; ++i) {
    const int b = B_[static_cast<std::size_t>(i)];
    basis.push_back(b > m_ + n_ ? kArtificialColumn : b - 1);
  }
  return basis;
}

void Simplex::StartHistory() {
  std::vector<int> members;
  for (int i = 2; i <= n_ + 1; ++i)
    members.push_back(HistoryMember(B_[static_cast<std::size_t>(i)], i));
  history_.SetCurrent(members);
  history_.Restart();
}

// Each column of the constraint rows (and the right-hand sides) as the
// factorised basis expresses it, the basic columns exactly unit, then the
// objective and phase-1 rows from their costs. Every pivot leaves its
// round-off in the tableau; after a few hundred, entries that are really
// 0 can pass for pivots.
bool Simplex::Rebuild() {
  const std::vector<int> basis = CurrentBasis();
  std::vector<double> cells;
  if (!ExpressInBasis(problem_, basis, cells)) return false;
  for (int i = 2; i <= n_ + 1; ++i) {
    for (int j = 1; j <= rhs_; ++j)
      T_(i, j) = cells[static_cast<std::size_t>(i - 2) * static_cast<std::size_t>(rhs_) +
                       static_cast<std::size_t>(j - 1)];
  }
  // The values once more, refined in long double as the certificate does:
  // on an ill-conditioned basis a step in doubles leaves S off by 1e-11.
  const BasisFactor factor(problem_, basis);
  if (factor.ok()) {
    const std::vector<double> values = factor.Solve(problem_.rhs);
    for (int i = 2; i <= n_ + 1; ++i) T_(i, rhs_) = values[static_cast<std::size_t>(i - 2)];
  }
  // An artificial variable at 0 comes out of the solve as 1e-25 or so; in
  // a row whose terms are all 0 that would count as positive.
  double largest = rhs_largest_;
  for (int i = 2; i <= n_ + 1; ++i) largest = std::max(largest, std::fabs(T_(i, rhs_)));
  for (int i = 2; i <= n_ + 1; ++i) {
    const int b = B_[static_cast<std::size_t>(i)];
    if (b == rhs_ && std::fabs(T_(i, rhs_)) <= kValueNoise * largest) T_(i, rhs_) = 0.0;
    if (b == rhs_) continue;
    for (int r = 2; r <= n_ + 1; ++r) T_(r, b) = r == i ? 1.0 : 0.0;
  }
  for (int j = 1; j <= rhs_; ++j) {
    long double objective = j <= m_ ? objective_start_[static_cast<std::size_t>(j)] : 0.0;
    long double phase = 0;
    for (int i = 2; i <= n_ + 1; ++i) {
      const int b = B_[static_cast<std::size_t>(i)];
      if (b <= m_) objective -= objective_start_[static_cast<std::size_t>(b)] * T_(i, j);
      if (b == rhs_) phase -= T_(i, j);
    }
    T_(1, j) = static_cast<double>(objective);
    T_(phase_row_, j) = static_cast<double>(phase);
  }
  copied_column_ = 0;
  next_entering_ = -1;
  since_rebuild_ = 0;
  return true;
}

// A basic value below 0 beyond round-off (or not a number).
bool Simplex::ValuesBelowZero() const {
  double largest = rhs_largest_;
  for (int i = 2; i <= n_ + 1; ++i) largest = std::max(largest, std::fabs(T_(i, rhs_)));
  for (int i = 2; i <= n_ + 1; ++i) {
    if (!(T_(i, rhs_) >= -kRepairNoise * largest)) return true;
  }
  return false;
}

// Carrying on from a basis whose rebuilt values have one below 0 beyond
// round-off (earlier pivots' round-off put it there) while the row in
// force has no entry below 0 to speak of: the dual simplex method's
// pivots, each on the row of the most negative value and the column that
// keeps the row in force at least 0, until every value is at least 0.
// False when a row has no entry to pivot on or the pivots do not end.
bool Simplex::RepairValues(SimplexResult& result) {
  for (int round = 0; round <= n_; ++round) {
    double largest = rhs_largest_;
    for (int i = 2; i <= n_ + 1; ++i) largest = std::max(largest, std::fabs(T_(i, rhs_)));
    int r = 0;
    for (int i = 2; i <= n_ + 1; ++i) {
      if (T_(i, rhs_) < -kRepairNoise * largest && (r == 0 || T_(i, rhs_) < T_(r, rhs_))) r = i;
    }
    if (r == 0) return true;
    int k = 0;
    double best = 0.0;
    for (int j = 1; j <= m_ + n_; ++j) {
      double column = 0.0;
      for (int i = 2; i <= n_ + 1; ++i) column = std::max(column, std::fabs(T_(i, j)));
      if (!allowed_[static_cast<std::size_t>(j)] || !(T_(r, j) < -kRatioFloor * column)) continue;
      const double ratio = std::max(0.0, T_(r0_, j)) / -T_(r, j);
      if (k == 0 || ratio < best) {
        k = j;
        best = ratio;
      }
    }
    if (k == 0) return false;
    MakePivot(r, k, false, result);
    if (!Rebuild()) return false;
  }
  return false;
}

// Whether the rebuilt values differ from `kept` by more than a millionth
// of the largest (or are not numbers): the pivots that reached the basis
// lost the digits that decide it.
bool Simplex::ValuesMoved(std::span<const double> kept) const {
  double largest = rhs_largest_, moved = 0.0;
  for (int i = 2; i <= n_ + 1; ++i) {
    const double before = kept[static_cast<std::size_t>(i - 2)];
    largest = std::max({largest, std::fabs(before), std::fabs(T_(i, rhs_))});
    moved = std::max(moved, std::fabs(T_(i, rhs_) - before));
  }
  return !(moved <= kDigitsLost * largest);
}

void Simplex::Restart() {
  T_.Clear();
  SetUp(problem_);
  std::fill(allowed_.begin(), allowed_.end(), 1);
  copied_column_ = 0;
  next_entering_ = -1;
  restarted_ = true;
  from_start_ = true;
}

// At the end of phase 1, carrying on: each artificial variable still basic
// (at 0) leaves on its row's entry that stands out most from its column's
// round-off, whatever its sign (the pivot is degenerate). A row with no
// such entry is a combination of the others; its artificial variable
// stays, and no column can lift it. Barring the columns that would lift
// the others instead, as the written method does, bars columns that the
// optimum needs.
void Simplex::DriveOutArtificials(SimplexResult& result) {
  Rebuild();
  for (int i = 2; i <= n_ + 1; ++i) {
    if (B_[static_cast<std::size_t>(i)] != rhs_) continue;
    int k = 0;
    double best = kRatioFloor;
    for (int j = 1; j <= m_ + n_; ++j) {
      double largest = 0;
      for (int r = 2; r <= n_ + 1; ++r) largest = std::max(largest, std::fabs(T_(r, j)));
      const double standing = std::fabs(T_(i, j)) / largest;
      if (allowed_[static_cast<std::size_t>(j)] && standing > best) {
        k = j;
        best = standing;
      }
    }
    if (k == 0) continue;
    T_(i, rhs_) = 0.0;
    MakePivot(i, k, true, result);
  }
  Rebuild();
}

void Simplex::Settle(const Certificate& certificate, SimplexResult& result) {
  result.checked = true;
  result.certified = certificate.certified;
  if (!certificate.objective_agrees) result.objective = certificate.objective;
  const bool optimal = result.outcome == SimplexOutcome::Optimal;
  const bool infeasible = result.outcome == SimplexOutcome::Phase1Stuck;
  result.constraints_broken = !certificate.certified && !infeasible && certificate.point_broken;
  result.tolerance_decided = !certificate.certified && optimal && !certificate.point_broken;
  // Carried on, an artificial variable may stay positive below epsilon.
  if (infeasible && certificate.certified && result.infeasible_rows == 0)
    result.infeasible_rows = std::max(1, RowsNotZero());
}

SimplexResult Simplex::Run() {
  SimplexResult result;
  StartHistory();
  if (options_.progress)
    options_.progress->SetPhase(r0_ == 1 ? ProgressPhase::Phase2 : ProgressPhase::Phase1);

  const SimplexOutcome outcome = Loop(result);
  if (outcome == SimplexOutcome::Stopped) {
    result.outcome = outcome;
    return result;
  }
  Collect(outcome, result);
  if (options_.certify) Certify(result);
  return result;
}

}  // namespace

SimplexResult SolveSimplex(const LpProblem& problem, const SimplexOptions& options) {
  return Simplex(problem, options).Run();
}

}  // namespace orcalc::lp
