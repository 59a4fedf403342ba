#include "simplex/basis_factor.h"

#include <Eigen/LU>
#include <cmath>
#include <limits>

#include "simplex/simplex_solver.h"

namespace orcalc::lp {
namespace {

std::size_t U(long i) { return static_cast<std::size_t>(i); }

}  // namespace

struct BasisFactor::Kernel {
  Eigen::PartialPivLU<Eigen::MatrixXd> lu;
};

BasisFactor::BasisFactor(const LpProblem& problem, std::span<const int> basis) : problem_(problem) {
  const int m = problem.variables, n = problem.constraints;
  if (basis.size() != U(n)) return;
  unit_at_.assign(U(n), -1);
  unit_sign_.assign(U(n), 0.0);
  for (int r = 0; r < n; ++r) {
    const int column = basis[U(r)];
    if (column >= 0 && column < m) {
      structural_.push_back(column);
      structural_at_.push_back(r);
      continue;
    }
    // An artificial variable belongs to its own row for good.
    const int row = column == kArtificialColumn ? r : column - m;
    if (column != kArtificialColumn && (column < m || column >= m + n)) return;
    const double sign = column == kArtificialColumn ? 1.0 : problem.signs[U(row)];
    // An equality row's slack column is zero; two unit columns on one row
    // would be dependent.
    if (sign == 0.0 || unit_at_[U(row)] >= 0) return;
    unit_at_[U(row)] = r;
    unit_sign_[U(row)] = sign;
  }
  for (int i = 0; i < n; ++i) {
    if (unit_at_[U(i)] < 0) kernel_rows_.push_back(i);
  }
  if (kernel_rows_.size() != structural_.size()) return;
  const auto k = static_cast<Eigen::Index>(structural_.size());
  kernel_ = std::make_unique<Kernel>();
  if (k > 0) {
    Eigen::MatrixXd matrix(k, k);
    for (Eigen::Index q = 0; q < k; ++q) {
      for (Eigen::Index t = 0; t < k; ++t)
        matrix(t, q) = problem.Coefficient(kernel_rows_[U(t)], structural_[U(q)]);
    }
    kernel_->lu.compute(matrix);
    if (!(kernel_->lu.rcond() > std::numeric_limits<double>::epsilon())) return;
  }
  ok_ = true;
}

BasisFactor::~BasisFactor() = default;

// Bᵀy = c: a unit column of row u gives y_u = c / D_u; the basic χ then
// give A[N,K]ᵀ y_N = c_K - A[U,K]ᵀ y_U.
std::vector<double> BasisFactor::Duals(std::span<const double> costs) const {
  const int n = problem_.constraints;
  std::vector<double> y(U(n), 0.0);
  if (!ok_) return y;
  for (int i = 0; i < n; ++i) {
    if (unit_at_[U(i)] >= 0) y[U(i)] = costs[U(unit_at_[U(i)])] / unit_sign_[U(i)];
  }
  const auto k = static_cast<Eigen::Index>(structural_.size());
  if (k == 0) return y;
  // The residual of the structural equations, c_q - Σ_i a_iq y_i, summed
  // over every row in long double.
  auto residual = [&](Eigen::VectorXd& out) {
    for (Eigen::Index q = 0; q < k; ++q) {
      long double sum = costs[U(structural_at_[U(q)])];
      for (int i = 0; i < n; ++i)
        sum -= static_cast<long double>(problem_.Coefficient(i, structural_[U(q)])) * y[U(i)];
      out(q) = static_cast<double>(sum);
    }
  };
  Eigen::VectorXd rhs(k);
  for (int step = 0; step < 2; ++step) {
    residual(rhs);
    const Eigen::VectorXd correction = kernel_->lu.transpose().solve(rhs);
    for (Eigen::Index t = 0; t < k; ++t) y[U(kernel_rows_[U(t)])] += correction(t);
  }
  return y;
}

// B z = a: the basic χ from the kernel rows, A[K,S] z_S = a_K - (no unit
// column meets a kernel row); then each unit column's row gives
// D_u z_u = a_u - A[u,S] z_S.
std::vector<double> BasisFactor::Solve(std::span<const double> column) const {
  const int n = problem_.constraints;
  std::vector<double> z(U(n), 0.0);
  if (!ok_) return z;
  const auto k = static_cast<Eigen::Index>(structural_.size());
  // The residual of the kernel rows, a_i - Σ_q a_iq z_q, in long double.
  auto residual = [&](Eigen::VectorXd& out) {
    for (Eigen::Index t = 0; t < k; ++t) {
      const int row = kernel_rows_[U(t)];
      long double sum = column[U(row)];
      for (Eigen::Index q = 0; q < k; ++q)
        sum -= static_cast<long double>(problem_.Coefficient(row, structural_[U(q)])) *
               z[U(structural_at_[U(q)])];
      out(t) = static_cast<double>(sum);
    }
  };
  Eigen::VectorXd rhs(k);
  for (int step = 0; k > 0 && step < 2; ++step) {
    residual(rhs);
    const Eigen::VectorXd correction = kernel_->lu.solve(rhs);
    for (Eigen::Index q = 0; q < k; ++q) z[U(structural_at_[U(q)])] += correction(q);
  }
  for (int i = 0; i < n; ++i) {
    if (unit_at_[U(i)] < 0) continue;
    long double sum = column[U(i)];
    for (Eigen::Index q = 0; q < k; ++q)
      sum -= static_cast<long double>(problem_.Coefficient(i, structural_[U(q)])) *
             z[U(structural_at_[U(q)])];
    z[U(unit_at_[U(i)])] = static_cast<double>(sum / unit_sign_[U(i)]);
  }
  return z;
}

bool ExpressInBasis(const LpProblem& problem, std::span<const int> basis,
                    std::vector<double>& out) {
  const int m = problem.variables, n = problem.constraints;
  if (basis.size() != U(n)) return false;
  const Eigen::Index rows = n, width = m + n + 1;
  Eigen::MatrixXd set_up = Eigen::MatrixXd::Zero(rows, width);
  for (Eigen::Index i = 0; i < rows; ++i) {
    for (Eigen::Index j = 0; j < m; ++j)
      set_up(i, j) = problem.Coefficient(static_cast<int>(i), static_cast<int>(j));
    set_up(i, m + i) = problem.signs[U(i)];
    set_up(i, width - 1) = problem.rhs[U(i)];
  }
  Eigen::MatrixXd matrix = Eigen::MatrixXd::Zero(rows, rows);
  for (Eigen::Index r = 0; r < rows; ++r) {
    const int column = basis[U(r)];
    if (column == kArtificialColumn)
      matrix(r, r) = 1.0;
    else if (column >= 0 && column < m + n)
      matrix.col(r) = set_up.col(column);
    else
      return false;
  }
  // Each row scaled by a power of 2 near its largest entry, so that rows of
  // 10⁴ beside rows of 10⁻³ do not pass for a singular basis.
  for (Eigen::Index i = 0; i < rows; ++i) {
    const double largest = matrix.row(i).cwiseAbs().maxCoeff();
    if (!(largest > 0)) return false;
    const double scale = std::ldexp(1.0, -std::ilogb(largest));
    matrix.row(i) *= scale;
    set_up.row(i) *= scale;
  }
  const Eigen::PartialPivLU<Eigen::MatrixXd> lu(matrix);
  if (!(lu.rcond() > std::numeric_limits<double>::epsilon())) return false;
  Eigen::MatrixXd z = lu.solve(set_up);
  z += lu.solve(set_up - matrix * z);
  if (!z.allFinite()) return false;
  out.resize(U(rows * width));
  for (Eigen::Index i = 0; i < rows; ++i) {
    for (Eigen::Index j = 0; j < width; ++j) out[U(i * width + j)] = z(i, j);
  }
  return true;
}

}  // namespace orcalc::lp
