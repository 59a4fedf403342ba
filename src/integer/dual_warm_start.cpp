#include "integer/dual_warm_start.h"

#include <Eigen/LU>
#include <algorithm>
#include <cmath>
#include <span>

#include "simplex/basis_factor.h"
#include "simplex/certificate.h"

namespace orcalc::integer {
namespace {

using lp::BasisFactor;
using lp::kArtificialColumn;
using lp::LpProblem;

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// A basic value below 0 by more than this fraction of the largest
// right-hand side (at least 1) is repaired; the certificate judges the rest.
constexpr double kValueTolerance = 1e-9;
// A reduced cost above 0 by more than this fraction of its terms: the basis
// is not dual feasible and the search is left to the simplex method.
constexpr double kCostTolerance = 1e-9;
// Entries of the leaving row below this fraction of its largest are not
// pivoted on.
constexpr double kPivotFloor = 1e-9;

// Entries of a column (or of the leaving row) below this are taken for 0
// in the updates.
constexpr double kZero = 1e-14;
// Steps between fresh inverses of the basis.
constexpr int kRefactorEvery = 100;

class DualSimplex {
 public:
  DualSimplex(const LpProblem& problem, std::vector<int> basis)
      : problem_(problem),
        m_(problem.variables),
        n_(problem.constraints),
        sign_(lp::SenseSign(problem.sense)),
        basis_(std::move(basis)),
        basic_(U(m_ + n_), 0),
        columns_(U(m_)) {
    for (double b : problem.rhs) rhs_scale_ = std::max(rhs_scale_, std::fabs(b));
    for (int i = 0; i < n_; ++i) {
      for (int j = 0; j < m_; ++j) {
        const double a = problem.Coefficient(i, j);
        if (a != 0) columns_[U(j)].push_back({i, a});
      }
    }
  }

  std::optional<lp::SimplexResult> Run(Progress* progress);

 private:
  struct Entry {
    int row;
    double value;
  };

  // An artificial variable basic at 0 costs -weight_: enough that no column
  // that would lift it off 0 looks improving (the certificate's own
  // reasoning for such a basis).
  double Cost(int column) const {
    if (column == kArtificialColumn) return -weight_;
    return column >= 0 && column < m_ ? sign_ * problem_.objective[U(column)] : 0.0;
  }
  // The weight that makes every reduced cost at most 0 given the duals y
  // of the costs and w of the artificial variables alone; false when none
  // does.
  bool WeighArtificials(const std::vector<double>& y, const std::vector<double>& w);
  // Σ_i v_i times the column's entry in row i, with the magnitude of its
  // terms.
  double Dot(std::span<const double> v, int column, double* scale) const;
  // The inverse of the basis afresh, the basic values and the reduced
  // costs; false when the basis is singular or not dual feasible.
  bool Refactor();
  // The row to leave: the most negative basic value, or an artificial
  // variable off 0 (`flip` when above it); -1 when the point is feasible.
  int LeavingRow(bool* flip) const;
  // The entering column for `row` (its entries in `alpha`), -1 when none.
  int EnteringColumn(int row, bool flip, std::vector<double>& alpha) const;
  void Pivot(int row, int entering, const std::vector<double>& alpha);
  std::optional<lp::SimplexResult> Certified(const std::vector<double>& values) const;
  // No column can lift `row` to 0: its row of the basis inverse proves the
  // rows infeasible, when the certificate agrees.
  std::optional<lp::SimplexResult> Infeasible(const BasisFactor& factor, int row, bool flip) const;

  const LpProblem& problem_;
  const int m_;
  const int n_;
  const double sign_;
  std::vector<int> basis_;
  std::vector<char> basic_;
  std::vector<std::vector<Entry>> columns_;  // A's entries by column
  double rhs_scale_ = 1;
  double weight_ = 0;
  bool weighed_ = false;
  std::vector<double> inverse_;  // B⁻¹, n × n row-major
  std::vector<double> values_;   // B⁻¹ b
  std::vector<double> reduced_;  // per column, at most 0 at an optimum
};

double DualSimplex::Dot(std::span<const double> v, int column, double* scale) const {
  if (column >= m_) {
    const double t = v[U(column - m_)] * problem_.signs[U(column - m_)];
    *scale = std::fabs(t);
    return t;
  }
  double sum = 0, magnitude = 0;
  for (const Entry& e : columns_[U(column)]) {
    const double term = e.value * v[U(e.row)];
    sum += term;
    magnitude += std::fabs(term);
  }
  *scale = magnitude;
  return sum;
}

bool DualSimplex::Refactor() {
  const auto n = static_cast<Eigen::Index>(n_);
  Eigen::MatrixXd b = Eigen::MatrixXd::Zero(n, n);
  for (int r = 0; r < n_; ++r) {
    const int c = basis_[U(r)];
    if (c == kArtificialColumn) {
      b(r, r) = 1;
    } else if (c >= m_) {
      b(c - m_, r) = problem_.signs[U(c - m_)];
    } else {
      for (const Entry& e : columns_[U(c)]) b(e.row, r) = e.value;
    }
  }
  const Eigen::PartialPivLU<Eigen::MatrixXd> lu(b);
  if (!(lu.rcond() > 1e-12)) return false;
  const Eigen::MatrixXd inverse = lu.inverse();
  inverse_.assign(U(n_) * U(n_), 0.0);
  for (Eigen::Index i = 0; i < n; ++i)
    for (Eigen::Index k = 0; k < n; ++k) inverse_[U(static_cast<int>(i * n + k))] = inverse(i, k);
  values_.assign(U(n_), 0.0);
  std::vector<double> y(U(n_), 0.0), w(U(n_), 0.0);
  for (int i = 0; i < n_; ++i) {
    const bool artificial = basis_[U(i)] == kArtificialColumn;
    const double cost = artificial ? 0.0 : Cost(basis_[U(i)]);
    for (int k = 0; k < n_; ++k) {
      const double entry = inverse_[U(i * n_ + k)];
      values_[U(i)] += entry * problem_.rhs[U(k)];
      y[U(k)] += cost * entry;
      if (artificial) w[U(k)] -= entry;
    }
  }
  if (!weighed_ && !WeighArtificials(y, w)) return false;
  weighed_ = true;
  for (int k = 0; k < n_; ++k) y[U(k)] += weight_ * w[U(k)];
  reduced_.assign(U(m_ + n_), 0.0);
  for (int j = 0; j < m_ + n_; ++j) {
    if (basic_[U(j)] || (j >= m_ && problem_.signs[U(j - m_)] == 0)) continue;
    double scale = 0;
    reduced_[U(j)] = Cost(j) - Dot(y, j, &scale);
    if (reduced_[U(j)] > kCostTolerance * std::max(1.0, scale + std::fabs(Cost(j)))) return false;
  }
  return true;
}

bool DualSimplex::WeighArtificials(const std::vector<double>& y, const std::vector<double>& w) {
  for (int j = 0; j < m_ + n_; ++j) {
    if (basic_[U(j)] || (j >= m_ && problem_.signs[U(j - m_)] == 0)) continue;
    double scale = 0, lift_scale = 0;
    const double reduced = Cost(j) - Dot(y, j, &scale);
    const double lift = -Dot(w, j, &lift_scale);
    if (!(reduced > kCostTolerance * std::max(1.0, scale + std::fabs(Cost(j))))) continue;
    if (!(lift < -kCostTolerance * std::max(1.0, lift_scale))) return false;
    weight_ = std::max(weight_, 2 * reduced / -lift);
  }
  return true;
}

int DualSimplex::LeavingRow(bool* flip) const {
  int row = -1;
  double worst = kValueTolerance * rhs_scale_;
  for (int r = 0; r < n_; ++r) {
    const bool artificial = basis_[U(r)] == kArtificialColumn;
    const double off = artificial ? std::fabs(values_[U(r)]) : -values_[U(r)];
    if (off > worst) {
      worst = off;
      row = r;
      *flip = artificial && values_[U(r)] > 0;
    }
  }
  return row;
}

int DualSimplex::EnteringColumn(int row, bool flip, std::vector<double>& alpha) const {
  const std::span<const double> w(inverse_.data() + U(row * n_), U(n_));
  alpha.assign(U(m_ + n_), 0.0);
  double largest = 0;
  for (int j = 0; j < m_ + n_; ++j) {
    if (basic_[U(j)] || (j >= m_ && problem_.signs[U(j - m_)] == 0)) continue;
    double scale = 0;
    alpha[U(j)] = Dot(w, j, &scale);
    largest = std::max(largest, std::fabs(alpha[U(j)]));
  }
  int entering = -1;
  double best_ratio = 0, best_alpha = 0;
  for (int j = 0; j < m_ + n_; ++j) {
    const double a = (flip ? -1 : 1) * alpha[U(j)];
    if (!(a < -kPivotFloor * largest)) continue;
    const double ratio = std::max(0.0, -reduced_[U(j)]) / -a;
    if (entering < 0 || ratio < best_ratio || (ratio == best_ratio && -a > best_alpha)) {
      entering = j;
      best_ratio = ratio;
      best_alpha = -a;
    }
  }
  return entering;
}

void DualSimplex::Pivot(int row, int entering, const std::vector<double>& alpha) {
  std::vector<double> u(U(n_), 0.0);
  for (int i = 0; i < n_; ++i) {
    const double* line = inverse_.data() + U(i * n_);
    if (entering >= m_) {
      u[U(i)] = line[entering - m_] * problem_.signs[U(entering - m_)];
      continue;
    }
    double sum = 0;
    for (const Entry& e : columns_[U(entering)]) sum += line[e.row] * e.value;
    u[U(i)] = sum;
  }
  const double pivot = u[U(row)];
  double* pivot_line = inverse_.data() + U(row * n_);
  for (int k = 0; k < n_; ++k) pivot_line[k] /= pivot;
  const double theta = values_[U(row)] / pivot;
  for (int i = 0; i < n_; ++i) {
    if (i == row || std::fabs(u[U(i)]) <= kZero) continue;
    double* line = inverse_.data() + U(i * n_);
    for (int k = 0; k < n_; ++k) line[k] -= u[U(i)] * pivot_line[k];
    values_[U(i)] -= theta * u[U(i)];
  }
  values_[U(row)] = theta;
  const double step = reduced_[U(entering)] / alpha[U(entering)];
  for (int j = 0; j < m_ + n_; ++j) {
    if (!basic_[U(j)]) reduced_[U(j)] -= step * alpha[U(j)];
  }
  const int leaving = basis_[U(row)];
  if (leaving != kArtificialColumn) {
    basic_[U(leaving)] = 0;
    reduced_[U(leaving)] = -step;
  }
  reduced_[U(entering)] = 0;
  basis_[U(row)] = entering;
  basic_[U(entering)] = 1;
}

std::optional<lp::SimplexResult> DualSimplex::Run(Progress* progress) {
  for (int c : basis_) {
    if (c != kArtificialColumn) basic_[U(c)] = 1;
  }
  std::vector<double> alpha;
  for (int step = 0; step <= kDualStepLimit; ++step) {
    if (ShouldStop(progress)) return std::nullopt;
    if (step % kRefactorEvery == 0 && !Refactor()) return std::nullopt;
    bool flip = false;
    int row = LeavingRow(&flip);
    if (row < 0) {
      // Feasible as updated: the point afresh from the problem's columns.
      const BasisFactor factor(problem_, basis_);
      if (!factor.ok()) return std::nullopt;
      return Certified(factor.Solve(problem_.rhs));
    }
    const int entering = EnteringColumn(row, flip, alpha);
    if (entering < 0) {
      const BasisFactor factor(problem_, basis_);
      if (!factor.ok()) return std::nullopt;
      return Infeasible(factor, row, flip);
    }
    Pivot(row, entering, alpha);
  }
  return std::nullopt;
}

std::optional<lp::SimplexResult> DualSimplex::Certified(const std::vector<double>& values) const {
  lp::SimplexResult result;
  result.x.assign(U(m_), 0.0);
  for (int r = 0; r < n_; ++r) {
    const int c = basis_[U(r)];
    if (c >= 0 && c < m_) result.x[U(c)] = std::max(0.0, values[U(r)]);
  }
  long double objective = 0;
  for (int j = 0; j < m_; ++j)
    objective += static_cast<long double>(problem_.objective[U(j)]) * result.x[U(j)];
  result.objective = static_cast<double>(objective);
  result.basis = basis_;
  const lp::TableauVerdict verdict{result.basis, result.x, result.objective, -1, {}};
  const lp::Certificate certificate = lp::CertifyOptimum(problem_, verdict);
  if (!certificate.certified) return std::nullopt;
  result.outcome = lp::SimplexOutcome::Optimal;
  result.checked = true;
  result.certified = true;
  return result;
}

std::optional<lp::SimplexResult> DualSimplex::Infeasible(const BasisFactor& factor, int row,
                                                         bool flip) const {
  std::vector<double> unit(U(n_), 0.0);
  unit[U(row)] = 1;
  std::vector<double> y = factor.Duals(unit);
  if (!flip) {
    for (double& v : y) v = -v;
  }
  if (!lp::CertifyFarkasRow(problem_, std::move(y))) return std::nullopt;
  lp::SimplexResult result;
  result.outcome = lp::SimplexOutcome::Phase1Stuck;
  result.x.assign(U(m_), 0.0);
  result.infeasible_rows = 1;
  result.basis = basis_;
  result.checked = true;
  result.certified = true;
  return result;
}

}  // namespace

std::optional<lp::SimplexResult> SolveFromBasis(const LpProblem& problem, std::vector<int> basis,
                                                Progress* progress) {
  if (basis.size() != U(problem.constraints)) return std::nullopt;
  return DualSimplex(problem, std::move(basis)).Run(progress);
}

}  // namespace orcalc::integer
