#include "simplex/certificate.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "simplex/basis_factor.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {
namespace {

constexpr double kTau = kCertificateTolerance;
constexpr double kDualTau = kDualTolerance;

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// A value of the tableau's point within this fraction of the largest
// right-hand side or value may be a 0 that round-off reached (a degenerate
// variable comes out at 1e-16 or -1e-16): its terms count as round-off
// whole, not relative to themselves, in a row whose other terms are 0.
constexpr double kValueRoundOff = 1e-12;

// A sum and the sum of the magnitudes of its terms, in long double, and
// the round-off its terms brought with them.
struct Sum {
  long double value = 0;
  long double scale = 0;
  long double carried = 0;
  double tolerance = kTau;
  void Add(long double term) {
    value += term;
    scale += std::fabs(term);
  }
};

// Whether a sum is at most (at least, zero) within the tolerance.
bool AtMostZero(const Sum& s) { return s.value <= s.tolerance * s.scale + s.carried; }
bool AtLeastZero(const Sum& s) { return s.value >= -s.tolerance * s.scale - s.carried; }

// The round-off a value of the point may carry.
double PointNoise(const LpProblem& problem, std::span<const double> x) {
  double largest = 0;
  for (double b : problem.rhs) largest = std::max(largest, std::fabs(b));
  for (double v : x) largest = std::max(largest, std::fabs(v));
  return kValueRoundOff * largest;
}

// The indices of v's entries that are not 0: the point's basic variables,
// the rows with a dual value. Sums run over these alone.
std::vector<int> Support(std::span<const double> v) {
  std::vector<int> support;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] != 0) support.push_back(static_cast<int>(i));
  }
  return support;
}

// Whether row i's relation holds for a·v - b (with b_i counted when
// `with_rhs`), relative to that row's own terms and the round-off `noise`
// of each entry of v that is not 0 (`support`).
bool RowHolds(const LpProblem& problem, int i, std::span<const double> v,
              std::span<const int> support, bool with_rhs, double noise) {
  Sum row;
  for (int j : support) {
    row.Add(static_cast<long double>(problem.Coefficient(i, j)) * v[U(j)]);
    if (std::fabs(v[U(j)]) <= noise) row.carried += std::fabs(problem.Coefficient(i, j)) * noise;
  }
  if (with_rhs) row.Add(-static_cast<long double>(problem.rhs[U(i)]));
  const double sign = problem.signs[U(i)];
  if (sign == kLessEqual) return AtMostZero(row);
  if (sign == kGreaterEqual) return AtLeastZero(row);
  return AtMostZero(row) && AtLeastZero(row);
}

// Whether v >= 0, a negative entry counting as 0 when its terms are
// round-off in every row it takes part in.
bool NonNegative(const LpProblem& problem, std::span<const double> v, double noise) {
  for (int j = 0; j < problem.variables; ++j) {
    if (!(v[U(j)] < -noise)) continue;
    bool in_some_row = false;
    for (int i = 0; i < problem.constraints; ++i) {
      const double a = problem.Coefficient(i, j);
      if (a == 0) continue;
      in_some_row = true;
      long double scale = std::fabs(static_cast<long double>(problem.rhs[U(i)]));
      for (int k = 0; k < problem.variables; ++k)
        scale += std::fabs(static_cast<long double>(problem.Coefficient(i, k)) * v[U(k)]);
      if (std::fabs(static_cast<long double>(a) * v[U(j)]) > kTau * scale) return false;
    }
    if (!in_some_row) return false;
  }
  return true;
}

// Checks the point and c·x against the tableau's S.
Certificate CheckPoint(const LpProblem& problem, const TableauVerdict& verdict) {
  Certificate certificate;
  Sum objective;
  for (int j = 0; j < problem.variables; ++j)
    objective.Add(static_cast<long double>(problem.objective[U(j)]) * verdict.x[U(j)]);
  certificate.objective = static_cast<double>(objective.value);
  certificate.objective_agrees =
      std::fabs(verdict.objective - objective.value) <= kTau * objective.scale;
  const double noise = PointNoise(problem, verdict.x);
  const std::vector<int> support = Support(verdict.x);
  bool holds = NonNegative(problem, verdict.x, noise);
  for (int i = 0; holds && i < problem.constraints; ++i)
    holds = RowHolds(problem, i, verdict.x, support, true, noise);
  certificate.point_broken = !holds;
  return certificate;
}

// The cost of each basis position's variable: p·c_j for χj, `slack` for a
// slack or surplus and `artificial` for an artificial variable.
std::vector<double> BasisCosts(const LpProblem& problem, std::span<const int> basis, bool with_c,
                               double artificial) {
  std::vector<double> costs(basis.size(), 0.0);
  for (std::size_t r = 0; r < basis.size(); ++r) {
    const int column = basis[r];
    if (column == kArtificialColumn) {
      costs[r] = artificial;
    } else if (with_c && column < problem.variables) {
      costs[r] = SenseSign(problem.sense) * problem.objective[U(column)];
    }
  }
  return costs;
}

// Dual values within this fraction of the largest are the factorised
// solve's round-off (its error is relative to the whole vector): they are
// taken for 0, or a column met only by such rows would be judged by noise.
constexpr double kDualNoise = 1e-14;

// Zeroes each dual value whose sign its row's slack or surplus forbids
// (s_i y_i must be at least 0; `flip` reverses that), and the round-off.
void ClampSigns(const LpProblem& problem, std::vector<double>& y, double flip) {
  double largest = 0;
  for (double v : y) largest = std::max(largest, std::fabs(v));
  for (int i = 0; i < problem.constraints; ++i) {
    if (flip * problem.signs[U(i)] * y[U(i)] < 0 || std::fabs(y[U(i)]) <= kDualNoise * largest)
      y[U(i)] = 0;
  }
}

// The reduced cost p·c_j - Σ y_i a_ij of χj (without p·c_j when `with_c`
// is false), as a sum with its terms.
Sum ReducedCost(const LpProblem& problem, std::span<const double> y, std::span<const int> rows,
                int j, bool with_c) {
  Sum d;
  d.tolerance = kDualTau;
  if (with_c) d.Add(SenseSign(problem.sense) * problem.objective[U(j)]);
  for (int i : rows) d.Add(-static_cast<long double>(y[U(i)]) * problem.Coefficient(i, j));
  return d;
}

// Whether y is dual feasible for maximising p·c·x (every reduced cost at
// most 0) and closes the gap to the point's objective.
bool DualsCertify(const LpProblem& problem, std::vector<double> y, std::span<const double> x,
                  long double primal, long double primal_scale) {
  ClampSigns(problem, y, 1.0);
  const std::vector<int> rows = Support(y), columns = Support(x);
  for (int j = 0; j < problem.variables; ++j) {
    if (!AtMostZero(ReducedCost(problem, y, rows, j, true))) return false;
  }
  // The gap b·y - p·c·x is Σ y_i (b_i - a_i·x) less Σ d_j x_j: its
  // round-off is that of the rows' terms, weighed by the duals.
  Sum gap;
  gap.tolerance = kDualTau;
  gap.Add(-primal);
  gap.scale += primal_scale;
  for (int i : rows) {
    const long double yi = y[U(i)];
    gap.Add(yi * problem.rhs[U(i)]);
    for (int j : columns) gap.scale += std::fabs(yi * problem.Coefficient(i, j) * x[U(j)]);
  }
  return AtMostZero(gap) && AtLeastZero(gap);
}

// Whether the basis's own point, from the factorised basis rather than the
// tableau, keeps every row: each basic slack or surplus and each basic χ
// at least 0, and each basic artificial variable 0, within round-off proper
// of its row's terms. On mixed-scale data a row broken by 1e-10 of its
// terms (within the point's tolerance) can be worth 1e-5 of S.
bool BasisPointHolds(const LpProblem& problem, std::span<const int> basis,
                     const BasisFactor& factor) {
  const int m = problem.variables;
  const std::vector<double> z = factor.Solve(problem.rhs);
  std::vector<double> x(U(m), 0.0);
  for (std::size_t r = 0; r < basis.size(); ++r) {
    if (basis[r] >= 0 && basis[r] < m) x[U(basis[r])] = z[r];
  }
  double largest = 0;
  for (double b : problem.rhs) largest = std::max(largest, std::fabs(b));
  for (double v : z) largest = std::max(largest, std::fabs(v));
  const double floor = kBasisValueNoise * largest;
  const std::vector<int> support = Support(x);
  for (std::size_t r = 0; r < basis.size(); ++r) {
    const int column = basis[r];
    const int row = column == kArtificialColumn ? static_cast<int>(r) : column - m;
    if (column >= 0 && column < m) {
      if (z[r] < -floor) return false;
      continue;
    }
    long double scale = std::fabs(problem.rhs[U(row)]);
    for (int j : support)
      scale += std::fabs(static_cast<long double>(problem.Coefficient(row, j)) * x[U(j)]);
    const double noise = static_cast<double>(kDualTau * scale) + floor;
    if (z[r] < -noise || (column == kArtificialColumn && z[r] > noise)) return false;
  }
  return true;
}

}  // namespace

Certificate CertifyOptimum(const LpProblem& problem, const TableauVerdict& verdict) {
  Certificate certificate = CheckPoint(problem, verdict);
  if (certificate.point_broken) return certificate;
  const BasisFactor factor(problem, verdict.basis);
  if (!factor.ok() || !BasisPointHolds(problem, verdict.basis, factor)) return certificate;
  Sum primal;
  for (int j = 0; j < problem.variables; ++j)
    primal.Add(SenseSign(problem.sense) * problem.objective[U(j)] * verdict.x[U(j)]);
  const std::vector<double> y = factor.Duals(BasisCosts(problem, verdict.basis, true, 0.0));
  certificate.certified = DualsCertify(problem, y, verdict.x, primal.value, primal.scale);
  if (certificate.certified || std::find(verdict.basis.begin(), verdict.basis.end(),
                                         kArtificialColumn) == verdict.basis.end())
    return certificate;
  // An artificial variable still basic at 0 bars the columns that would
  // lift it: their reduced costs are made up by adding enough of the
  // phase-1 duals w (whose reduced costs are at most 0, and below 0 for the
  // barred columns), which leaves b·w = 0 and so the gap.
  std::vector<double> w = factor.Duals(BasisCosts(problem, verdict.basis, false, -1.0));
  double largest = 0;
  for (double v : w) largest = std::max(largest, std::fabs(v));
  for (double& v : w) v = std::fabs(v) <= kDualNoise * largest ? 0.0 : v;
  double lambda = 0;
  const std::vector<int> y_rows = Support(y), w_rows = Support(w);
  for (int j = 0; j < problem.variables; ++j) {
    const Sum d = ReducedCost(problem, y, y_rows, j, true),
              d1 = ReducedCost(problem, w, w_rows, j, false);
    if (d.value > 0 && d1.value < -kDualTau * d1.scale)
      lambda = std::max(lambda, static_cast<double>(-d.value / d1.value));
  }
  for (int i = 0; i < problem.constraints; ++i) {
    const double s = problem.signs[U(i)];
    if (s * y[U(i)] < 0 && s * w[U(i)] > 0) lambda = std::max(lambda, -y[U(i)] / w[U(i)]);
  }
  std::vector<double> combined(y);
  for (std::size_t i = 0; i < combined.size(); ++i) combined[i] += 2 * lambda * w[i];
  certificate.certified = DualsCertify(problem, combined, verdict.x, primal.value, primal.scale);
  return certificate;
}

Certificate CertifyUnbounded(const LpProblem& problem, const TableauVerdict& verdict) {
  Certificate certificate = CheckPoint(problem, verdict);
  if (certificate.point_broken || verdict.entering < 0 ||
      verdict.entering_column.size() != verdict.basis.size())
    return certificate;
  // The ray: the entering variable rises by 1, each basic χ by minus its
  // entry in the entering column (a negative rise, within the floor that
  // let no row take part, is taken as 0).
  const int m = problem.variables;
  std::vector<double> d(U(m), 0.0);
  if (verdict.entering < m) d[U(verdict.entering)] = 1;
  for (std::size_t r = 0; r < verdict.basis.size(); ++r) {
    const int column = verdict.basis[r];
    if (column >= 0 && column < m) d[U(column)] = std::max(0.0, -verdict.entering_column[r]);
  }
  double largest = 0;
  for (double v : d) largest = std::max(largest, v);
  const std::vector<int> support = Support(d);
  for (int i = 0; i < problem.constraints; ++i) {
    if (!RowHolds(problem, i, d, support, false, kValueRoundOff * largest)) return certificate;
  }
  Sum gain;
  for (int j = 0; j < m; ++j)
    gain.Add(SenseSign(problem.sense) * problem.objective[U(j)] * d[U(j)]);
  certificate.certified = gain.value > kTau * gain.scale;
  return certificate;
}

Certificate CertifyInfeasible(const LpProblem& problem, const TableauVerdict& verdict) {
  Certificate certificate = CheckPoint(problem, verdict);
  const BasisFactor factor(problem, verdict.basis);
  if (!factor.ok()) return certificate;
  // y = -w, w the duals of maximising minus the sum of the artificial
  // variables: every x >= 0 gives Σ y_i a_i·x <= 0, while every row holding
  // would give Σ y_i a_i·x >= b·y > 0.
  certificate.certified =
      CertifyFarkasRow(problem, factor.Duals(BasisCosts(problem, verdict.basis, false, 1.0)));
  return certificate;
}

bool CertifyFarkasRow(const LpProblem& problem, std::vector<double> y) {
  if (y.size() != U(problem.constraints)) return false;
  ClampSigns(problem, y, -1.0);
  const std::vector<int> rows = Support(y);
  for (int j = 0; j < problem.variables; ++j) {
    if (!AtLeastZero(ReducedCost(problem, y, rows, j, false))) return false;
  }
  Sum combined;
  for (int i = 0; i < problem.constraints; ++i)
    combined.Add(static_cast<long double>(problem.rhs[U(i)]) * y[U(i)]);
  return combined.value > kTau * combined.scale;
}

}  // namespace orcalc::lp
