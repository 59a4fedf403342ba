#include "sensitivity/sensitivity.h"

#include <Eigen/LU>
#include <algorithm>
#include <cmath>
#include <limits>

namespace orcalc::lp {
namespace {

using Matrix = Eigen::MatrixXd;
using Vector = Eigen::VectorXd;
using Index = Eigen::Index;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Each computed figure comes with its scale: the sum of the magnitudes of
// the terms it was computed from, which bounds its roundoff.

// A basic value or reduced cost within this much of 0, relative to its
// scale, counts as 0 for the degenerate and not-unique notes.
constexpr double kZeroTolerance = 1e-9;
// A figure this small relative to its scale is roundoff and reported as 0.
constexpr double kNoise = 1e-11;
// Entries of B⁻¹A (or of a column of B⁻¹) this small against the largest of
// their row (column) are taken for roundoff and do not limit a range.
constexpr double kEntryTolerance = 1e-9;

double Clean(double value, double scale) {
  return std::isfinite(scale) && std::fabs(value) <= kNoise * scale ? 0.0 : value;
}

// The shift δ of a coefficient or a right-hand side that keeps the basis,
// narrowed by one limit at a time.
struct Shift {
  double lower = -kInfinity;
  double upper = kInfinity;
  void AtLeast(double t) { lower = std::max(lower, t); }
  void AtMost(double t) { upper = std::min(upper, t); }
  void None() { lower = upper = 0; }
};

// The data plus δ, with roundoff around 0 removed.
double Shifted(double data, double shift) {
  return std::isinf(shift) ? shift : Clean(data + shift, std::fabs(data) + std::fabs(shift));
}

// The final basis matrix B, one column per constraint row, split by shape.
// A row whose basic variable is its own slack, surplus or artificial
// variable is covered by a unit column (sign code · e_i, or e_i): the "unit
// rows" U with the diagonal D of those entries. The basic variables χ (K)
// and the other rows (N, the "kernel rows", as many) form the square kernel
// A[N,K], the only part that needs factorising:
//   B = | A[N,K]  0 |        B⁻¹ = |  A[N,K]⁻¹              0  |
//       | A[U,K]  D |              | -D⁻¹A[U,K]A[N,K]⁻¹   D⁻¹ |
// so B's unit rows have dual value 0 and the rest follows from the kernel.
class Analyser {
 public:
  Analyser(const LpProblem& problem, const SimplexResult& result)
      : problem_(problem),
        result_(result),
        m_(problem.variables),
        n_(problem.constraints),
        p_(SenseSign(problem.sense)) {}

  SensitivityAnalysis Run();

 private:
  double A(int row, int var) const { return problem_.Coefficient(row, var); }
  static std::size_t U(Index i) { return static_cast<std::size_t>(i); }
  int KernelRow(Index t) const { return kernel_rows_[U(t)]; }
  int UnitRow(Index t) const { return unit_rows_[U(t)]; }
  int Structural(Index q) const { return structural_[U(q)]; }
  double SlackReducedCost(int row) const { return -problem_.signs[U(row)] * y_[U(row)]; }
  // A reduced cost on the wrong side of 0 (within the solver's tolerance)
  // counts as 0, so that every range holds the current data.
  double Effective(double d) const { return p_ * d > 0 ? 0.0 : d; }

  bool Shape();
  bool Factorise();
  void Values();
  void Notes();
  void CoefficientRanges();
  void RightHandSideRanges();

  const LpProblem& problem_;
  const SimplexResult& result_;
  const int m_, n_;
  const double p_;
  SensitivityAnalysis analysis_;

  std::vector<int> structural_;    // the basic χ columns, in row order
  std::vector<int> kernel_rows_;   // N, ascending
  std::vector<int> unit_rows_;     // U, ascending
  std::vector<int> position_;      // row -> its index in N or U
  std::vector<double> unit_sign_;  // row -> D's entry, 0 for a kernel row
  std::vector<char> artificial_;   // row -> its unit column is its artificial's
  std::vector<char> basic_;        // column (χ, then slacks) -> basic
  std::vector<char> barred_;       // column -> barred from phase 2

  Matrix inverse_;  // A[N,K]⁻¹
  Vector basic_values_, basic_scale_;
  std::vector<double> x_, y_, y_scale_, activity_, activity_scale_;
  std::vector<double> unit_value_, unit_scale_, reduced_, reduced_scale_;
  // The nonbasic columns that take part: the χ not barred, and the slack
  // or surplus columns of the kernel rows that are not barred (the unit
  // rows' other columns only touch their artificial variable, held at 0).
  std::vector<int> free_variables_;
  std::vector<Index> free_slacks_;  // positions in N
};

// False when the basis cannot be one (never for a basis the solver left).
bool Analyser::Shape() {
  position_.assign(U(n_), 0);
  unit_sign_.assign(U(n_), 0.0);
  artificial_.assign(U(n_), 0);
  basic_.assign(U(m_ + n_), 0);
  barred_.assign(U(m_ + n_), 0);
  for (int column : result_.barred) {
    if (column >= 0 && column < m_ + n_) barred_[U(column)] = 1;
  }
  for (int r = 0; r < n_; ++r) {
    const int column = result_.basis[U(r)];
    if (column >= 0 && column < m_) {
      structural_.push_back(column);
      basic_[U(column)] = 1;
      continue;
    }
    int row = r;  // an artificial variable belongs to its own row for good
    double sign = 1.0;
    if (column != kArtificialColumn) {
      if (column < m_ || column >= m_ + n_) return false;
      row = column - m_;
      sign = problem_.signs[U(row)];
      basic_[U(column)] = 1;
    }
    // An equality row's slack column is zero; two unit columns on one row
    // would be dependent.
    if (sign == 0.0 || unit_sign_[U(row)] != 0.0) return false;
    unit_sign_[U(row)] = sign;
    artificial_[U(row)] = static_cast<char>(column == kArtificialColumn);
  }
  for (int i = 0; i < n_; ++i) {
    auto& rows = unit_sign_[U(i)] == 0.0 ? kernel_rows_ : unit_rows_;
    position_[U(i)] = static_cast<int>(rows.size());
    rows.push_back(i);
  }
  return kernel_rows_.size() == structural_.size();
}

// Factorises the kernel and solves for the basic χ values x_K = A[N,K]⁻¹b_N
// and the kernel rows' duals y_N = A[N,K]⁻ᵀc_K.
bool Analyser::Factorise() {
  const auto k = static_cast<Index>(structural_.size());
  inverse_.resize(k, k);
  basic_values_.resize(k);
  basic_scale_.resize(k);
  Vector kernel_duals(k), kernel_dual_scale(k);
  if (k > 0) {
    Matrix kernel(k, k);
    Vector b(k), c(k);
    for (Index q = 0; q < k; ++q) {
      for (Index t = 0; t < k; ++t) kernel(t, q) = A(KernelRow(t), Structural(q));
      b(q) = problem_.rhs[U(KernelRow(q))];
      c(q) = problem_.objective[U(Structural(q))];
    }
    const Eigen::PartialPivLU<Matrix> lu(kernel);
    if (!(lu.rcond() > std::numeric_limits<double>::epsilon())) return false;
    basic_values_ = lu.solve(b);
    kernel_duals = lu.transpose().solve(c);
    inverse_ = lu.inverse();
    if (!inverse_.allFinite() || !basic_values_.allFinite() || !kernel_duals.allFinite())
      return false;
    const Matrix magnitude = inverse_.cwiseAbs();
    basic_scale_.noalias() = magnitude * b.cwiseAbs();
    kernel_dual_scale.noalias() = magnitude.transpose() * c.cwiseAbs();
  }
  x_.assign(U(m_), 0.0);
  y_.assign(U(n_), 0.0);
  y_scale_.assign(U(n_), 0.0);
  for (Index q = 0; q < k; ++q) x_[U(Structural(q))] = basic_values_(q);
  for (Index t = 0; t < k; ++t) {
    y_[U(KernelRow(t))] = kernel_duals(t);
    y_scale_[U(KernelRow(t))] = kernel_dual_scale(t);
  }
  return true;
}

// The rows' activities, the unit rows' basic values and the reduced costs.
void Analyser::Values() {
  const auto k = static_cast<Index>(structural_.size());
  activity_.assign(U(n_), 0.0);
  activity_scale_.assign(U(n_), 0.0);
  unit_value_.assign(U(n_), 0.0);
  unit_scale_.assign(U(n_), 0.0);
  for (int i = 0; i < n_; ++i) {
    double sum = 0, magnitude = 0;
    for (Index q = 0; q < k; ++q) {
      const double term = A(i, Structural(q)) * basic_values_(q);
      sum += term;
      magnitude += std::fabs(term);
    }
    activity_[U(i)] = sum;
    activity_scale_[U(i)] = magnitude;
    if (unit_sign_[U(i)] != 0.0) {
      unit_value_[U(i)] = (problem_.rhs[U(i)] - sum) / unit_sign_[U(i)];
      unit_scale_[U(i)] = (std::fabs(problem_.rhs[U(i)]) + magnitude) / std::fabs(unit_sign_[U(i)]);
    }
  }
  // d = c - Aᵀy; a basic variable's is 0.
  reduced_.assign(problem_.objective.begin(), problem_.objective.end());
  reduced_scale_.assign(U(m_), 0.0);
  for (int j = 0; j < m_; ++j) reduced_scale_[U(j)] = std::fabs(reduced_[U(j)]);
  for (int i = 0; i < n_; ++i) {
    const double yi = y_[U(i)];
    if (yi == 0) continue;
    for (int j = 0; j < m_; ++j) {
      const double term = yi * A(i, j);
      reduced_[U(j)] -= term;
      reduced_scale_[U(j)] += std::fabs(term);
    }
  }
  for (int j = 0; j < m_; ++j) {
    if (basic_[U(j)]) reduced_[U(j)] = 0;
  }
}

// Degenerate: a basic variable at 0 (an artificial one always is). Not
// unique: a nonbasic column that takes part has a reduced cost of 0.
void Analyser::Notes() {
  for (Index q = 0; q < basic_values_.size(); ++q)
    analysis_.degenerate |= basic_values_(q) <= kZeroTolerance * basic_scale_(q);
  for (int u : unit_rows_) {
    analysis_.degenerate |=
        artificial_[U(u)] || unit_value_[U(u)] <= kZeroTolerance * unit_scale_[U(u)];
  }
  for (int j = 0; j < m_; ++j) {
    if (basic_[U(j)] || barred_[U(j)]) continue;
    free_variables_.push_back(j);
    analysis_.not_unique |= p_ * reduced_[U(j)] >= -kZeroTolerance * reduced_scale_[U(j)];
  }
  for (Index t = 0; t < static_cast<Index>(kernel_rows_.size()); ++t) {
    const int row = KernelRow(t);
    if (problem_.signs[U(row)] == 0.0 || barred_[U(m_ + row)]) continue;
    free_slacks_.push_back(t);
    analysis_.not_unique |= p_ * SlackReducedCost(row) >= -kZeroTolerance * y_scale_[U(row)];
  }
}

// c_j may move while every free reduced cost keeps p·d <= 0. For a
// nonbasic χj only its own d_j moves. For a basic one, δ moves each free d
// by -δ·α, α its entry in χj's row of B⁻¹A: over the free χ that row is
// A[N,K]⁻¹A[N,free], over a free slack A[N,K]⁻¹'s column times the sign.
void Analyser::CoefficientRanges() {
  const auto k = static_cast<Index>(structural_.size());
  const auto free_count = static_cast<Index>(free_variables_.size());
  Matrix tableau_rows(k, free_count);
  if (k > 0 && free_count > 0) {
    Matrix columns(k, free_count);
    for (Index f = 0; f < free_count; ++f) {
      for (Index t = 0; t < k; ++t) columns(t, f) = A(KernelRow(t), free_variables_[U(f)]);
    }
    tableau_rows.noalias() = inverse_ * columns;
  }

  std::vector<Shift> shifts(U(m_));
  for (int j = 0; j < m_; ++j) {
    if (basic_[U(j)] || barred_[U(j)]) continue;
    const double edge = -Effective(reduced_[U(j)]);
    (p_ > 0 ? shifts[U(j)].AtMost(edge) : shifts[U(j)].AtLeast(edge));
  }
  for (Index q = 0; q < k; ++q) {
    double largest = 0;
    for (Index f = 0; f < free_count; ++f)
      largest = std::max(largest, std::fabs(tableau_rows(q, f)));
    for (Index t : free_slacks_) largest = std::max(largest, std::fabs(inverse_(q, t)));
    Shift& shift = shifts[U(Structural(q))];
    auto limit = [&](double alpha, double d) {
      if (!(std::fabs(alpha) > kEntryTolerance * largest)) return;
      const double t = Effective(d) / alpha;
      (p_ * alpha > 0 ? shift.AtLeast(t) : shift.AtMost(t));
    };
    for (Index f = 0; f < free_count; ++f)
      limit(tableau_rows(q, f), reduced_[U(free_variables_[U(f)])]);
    for (Index t : free_slacks_) {
      const int row = KernelRow(t);
      limit(inverse_(q, t) * problem_.signs[U(row)], SlackReducedCost(row));
    }
  }

  analysis_.variables.resize(U(m_));
  for (int j = 0; j < m_; ++j) {
    VariableSensitivity& v = analysis_.variables[U(j)];
    v.coefficient = problem_.objective[U(j)];
    v.basic = basic_[U(j)];
    v.barred = barred_[U(j)];
    v.value = x_[U(j)];
    v.reduced_cost = Clean(reduced_[U(j)], reduced_scale_[U(j)]);
    v.lower = Shifted(v.coefficient, shifts[U(j)].lower);
    v.upper = Shifted(v.coefficient, shifts[U(j)].upper);
  }
  for (Index q = 0; q < k; ++q) {
    analysis_.variables[U(Structural(q))].value = Clean(basic_values_(q), basic_scale_(q));
  }
}

// b_i + δ moves x_B by δ·B⁻¹e_i; every basic variable must stay >= 0 and an
// artificial one at 0. For a kernel row, B⁻¹e_i is A[N,K]⁻¹'s column over
// the basic χ and -D⁻¹A[U,K]A[N,K]⁻¹'s column over the unit rows; for a unit
// row, it is 1/D_ii on its own row alone.
void Analyser::RightHandSideRanges() {
  const auto k = static_cast<Index>(structural_.size());
  const auto units = static_cast<Index>(unit_rows_.size());
  Matrix unit_rates(units, k);  // D⁻¹A[U,K]A[N,K]⁻¹
  if (units > 0 && k > 0) {
    Matrix unit_part(units, k);
    for (Index s = 0; s < units; ++s) {
      for (Index q = 0; q < k; ++q)
        unit_part(s, q) = A(UnitRow(s), Structural(q)) / unit_sign_[U(UnitRow(s))];
    }
    unit_rates.noalias() = unit_part * inverse_;
  }

  analysis_.constraints.resize(U(n_));
  for (int i = 0; i < n_; ++i) {
    Shift shift;
    double tiny = 0;
    auto limit = [&](double beta, double value, bool artificial) {
      if (!(std::fabs(beta) > tiny)) return;
      if (artificial) return shift.None();
      const double t = -std::max(value, 0.0) / beta;
      (beta > 0 ? shift.AtLeast(t) : shift.AtMost(t));
    };
    if (unit_sign_[U(i)] != 0.0) {
      limit(1 / unit_sign_[U(i)], unit_value_[U(i)], artificial_[U(i)]);
    } else {
      const Index t = position_[U(i)];
      const double largest = std::max(k > 0 ? inverse_.col(t).cwiseAbs().maxCoeff() : 0.0,
                                      units > 0 ? unit_rates.col(t).cwiseAbs().maxCoeff() : 0.0);
      tiny = kEntryTolerance * largest;
      for (Index q = 0; q < k; ++q) limit(inverse_(q, t), basic_values_(q), false);
      for (Index s = 0; s < units; ++s) {
        const int u = UnitRow(s);
        limit(-unit_rates(s, t), unit_value_[U(u)], artificial_[U(u)]);
      }
    }
    ConstraintSensitivity& c = analysis_.constraints[U(i)];
    c.rhs = problem_.rhs[U(i)];
    c.activity = Clean(activity_[U(i)], activity_scale_[U(i)]);
    c.shadow_price = Clean(y_[U(i)], y_scale_[U(i)]);
    c.lower = Shifted(c.rhs, shift.lower);
    c.upper = Shifted(c.rhs, shift.upper);
  }
}

SensitivityAnalysis Analyser::Run() {
  if (!SolvedCleanly(result_) || result_.basis.size() != U(n_)) {
    return analysis_;  // NotOptimal
  }
  if (!Shape() || !Factorise()) {
    analysis_.status = SensitivityStatus::SingularBasis;
    return analysis_;
  }
  Values();
  Notes();
  CoefficientRanges();
  RightHandSideRanges();
  for (int j = 0; j < m_; ++j) analysis_.objective += problem_.objective[U(j)] * x_[U(j)];
  for (int i = 0; i < n_; ++i) analysis_.dual_objective += problem_.rhs[U(i)] * y_[U(i)];
  analysis_.status = SensitivityStatus::Done;
  return analysis_;
}

}  // namespace

SensitivityAnalysis AnalyseSensitivity(const LpProblem& problem, const SimplexResult& result) {
  return Analyser(problem, result).Run();
}

}  // namespace orcalc::lp
