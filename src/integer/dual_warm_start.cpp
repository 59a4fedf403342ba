#include "integer/dual_warm_start.h"

#include <algorithm>
#include <cmath>

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

class DualSimplex {
 public:
  DualSimplex(const LpProblem& problem, std::vector<int> basis)
      : problem_(problem),
        m_(problem.variables),
        n_(problem.constraints),
        sign_(lp::SenseSign(problem.sense)),
        basis_(std::move(basis)),
        basic_(U(m_ + n_), 0) {
    for (double b : problem.rhs) rhs_scale_ = std::max(rhs_scale_, std::fabs(b));
  }

  std::optional<lp::SimplexResult> Run(Progress* progress);

 private:
  // The column's entry in row i: χj's coefficient or the row's slack.
  double Entry(int i, int column) const {
    if (column < m_) return problem_.Coefficient(i, column);
    return column - m_ == i ? problem_.signs[U(i)] : 0.0;
  }
  double Cost(int column) const {
    return column >= 0 && column < m_ ? sign_ * problem_.objective[U(column)] : 0.0;
  }
  double Dot(const std::vector<double>& y, int column, double* scale) const;
  // The row to leave: the most negative basic value, or an artificial
  // variable off 0 (`flip` when above it); -1 when the point is feasible.
  int LeavingRow(const std::vector<double>& values, bool* flip) const;
  // The entering column for `row`, -1 when none can repair it or the basis
  // is not dual feasible (`failed`).
  int EnteringColumn(const BasisFactor& factor, int row, bool flip, bool* failed) const;
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
  double rhs_scale_ = 1;
};

double DualSimplex::Dot(const std::vector<double>& y, int column, double* scale) const {
  if (column >= m_) {
    const double v = y[U(column - m_)] * problem_.signs[U(column - m_)];
    *scale = std::fabs(v);
    return v;
  }
  long double sum = 0, magnitude = 0;
  for (int i = 0; i < n_; ++i) {
    const double a = problem_.Coefficient(i, column);
    if (a == 0 || y[U(i)] == 0) continue;
    const long double term = static_cast<long double>(a) * y[U(i)];
    sum += term;
    magnitude += std::fabs(term);
  }
  *scale = static_cast<double>(magnitude);
  return static_cast<double>(sum);
}

int DualSimplex::LeavingRow(const std::vector<double>& values, bool* flip) const {
  int row = -1;
  double worst = kValueTolerance * rhs_scale_;
  for (int r = 0; r < n_; ++r) {
    const bool artificial = basis_[U(r)] == kArtificialColumn;
    const double off = artificial ? std::fabs(values[U(r)]) : -values[U(r)];
    if (off > worst) {
      worst = off;
      row = r;
      *flip = artificial && values[U(r)] > 0;
    }
  }
  return row;
}

int DualSimplex::EnteringColumn(const BasisFactor& factor, int row, bool flip, bool* failed) const {
  std::vector<double> unit(U(n_), 0.0), costs(U(n_), 0.0);
  unit[U(row)] = 1;
  for (int r = 0; r < n_; ++r) costs[U(r)] = Cost(basis_[U(r)]);
  const std::vector<double> w = factor.Duals(unit), y = factor.Duals(costs);
  std::vector<double> alpha(U(m_ + n_), 0.0), reduced(U(m_ + n_), 0.0);
  double largest = 0;
  for (int j = 0; j < m_ + n_; ++j) {
    if (basic_[U(j)] || (j >= m_ && problem_.signs[U(j - m_)] == 0)) continue;
    double scale = 0, cost_scale = 0;
    alpha[U(j)] = (flip ? -1 : 1) * Dot(w, j, &scale);
    const double priced = Dot(y, j, &cost_scale);
    reduced[U(j)] = Cost(j) - priced;
    if (reduced[U(j)] > kCostTolerance * std::max(1.0, cost_scale + std::fabs(Cost(j)))) {
      *failed = true;
      return -1;
    }
    largest = std::max(largest, std::fabs(alpha[U(j)]));
  }
  int entering = -1;
  double best_ratio = 0, best_alpha = 0;
  for (int j = 0; j < m_ + n_; ++j) {
    const double a = alpha[U(j)];
    if (!(a < -kPivotFloor * largest)) continue;
    const double ratio = std::max(0.0, -reduced[U(j)]) / -a;
    if (entering < 0 || ratio < best_ratio || (ratio == best_ratio && -a > best_alpha)) {
      entering = j;
      best_ratio = ratio;
      best_alpha = -a;
    }
  }
  return entering;
}

std::optional<lp::SimplexResult> DualSimplex::Run(Progress* progress) {
  for (int c : basis_) {
    if (c != kArtificialColumn) basic_[U(c)] = 1;
  }
  for (int step = 0; step <= kDualStepLimit; ++step) {
    if (ShouldStop(progress)) return std::nullopt;
    const BasisFactor factor(problem_, basis_);
    if (!factor.ok()) return std::nullopt;
    const std::vector<double> values = factor.Solve(problem_.rhs);
    bool flip = false;
    const int row = LeavingRow(values, &flip);
    if (row < 0) return Certified(values);
    bool failed = false;
    const int entering = EnteringColumn(factor, row, flip, &failed);
    if (entering < 0 && !failed) return Infeasible(factor, row, flip);
    if (entering < 0) return std::nullopt;
    if (basis_[U(row)] != kArtificialColumn) basic_[U(basis_[U(row)])] = 0;
    basis_[U(row)] = entering;
    basic_[U(entering)] = 1;
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
