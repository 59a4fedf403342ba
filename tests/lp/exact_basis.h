// A final basis judged in exact rational arithmetic (GMP) from the problem's
// doubles: whether it is optimal, and its objective. The arbiter when the
// outside reference and the calculation disagree.
#pragma once

#include <gmpxx.h>

#include <optional>
#include <span>
#include <vector>

#include "lp/lp_problem.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {

// Solves M z = r by Gauss-Jordan elimination; nullopt when M is singular.
inline std::optional<std::vector<mpq_class>> SolveExactly(std::vector<std::vector<mpq_class>> m,
                                                          std::vector<mpq_class> r) {
  const std::size_t n = r.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    while (p < n && m[p][c] == 0) ++p;
    if (p == n) return std::nullopt;
    std::swap(m[p], m[c]);
    std::swap(r[p], r[c]);
    for (std::size_t i = 0; i < n; ++i) {
      if (i == c || m[i][c] == 0) continue;
      const mpq_class f = m[i][c] / m[c][c];
      for (std::size_t j = c; j < n; ++j) m[i][j] -= f * m[c][j];
      r[i] -= f * r[c];
    }
  }
  for (std::size_t i = 0; i < n; ++i) r[i] /= m[i][i];
  return r;
}

// The objective Σ c_j x_j of `basis` (as SimplexResult::basis hands it
// out) when its point and its dual values are both feasible, exactly;
// nullopt otherwise.
inline std::optional<double> ExactlyOptimal(const LpProblem& p, std::span<const int> basis) {
  const int m = p.variables, n = p.constraints;
  const auto un = static_cast<std::size_t>(n);
  auto a = [&](int i, int j) { return mpq_class(p.Coefficient(i, j)); };
  std::vector<std::vector<mpq_class>> b(un, std::vector<mpq_class>(un, 0));
  std::vector<mpq_class> rhs(un), costs(un, 0);
  const mpq_class sense(SenseSign(p.sense));
  for (int q = 0; q < n; ++q) {
    const int column = basis[static_cast<std::size_t>(q)];
    const auto uq = static_cast<std::size_t>(q);
    if (column == kArtificialColumn) {
      b[uq][uq] = 1;
    } else if (column < m) {
      for (int i = 0; i < n; ++i) b[static_cast<std::size_t>(i)][uq] = a(i, column);
      costs[uq] = sense * mpq_class(p.objective[static_cast<std::size_t>(column)]);
    } else {
      b[static_cast<std::size_t>(column - m)][uq] = p.signs[static_cast<std::size_t>(column - m)];
    }
    rhs[uq] = p.rhs[uq];
  }
  const auto values = SolveExactly(b, rhs);
  std::vector<std::vector<mpq_class>> transposed(un, std::vector<mpq_class>(un));
  for (std::size_t i = 0; i < un; ++i)
    for (std::size_t j = 0; j < un; ++j) transposed[i][j] = b[j][i];
  const auto duals = SolveExactly(transposed, costs);
  if (!values || !duals) return std::nullopt;
  mpq_class objective = 0;
  for (int q = 0; q < n; ++q) {
    const mpq_class& v = (*values)[static_cast<std::size_t>(q)];
    const int column = basis[static_cast<std::size_t>(q)];
    if (v < 0 || (column == kArtificialColumn && v != 0)) return std::nullopt;
    if (column >= 0 && column < m)
      objective += mpq_class(p.objective[static_cast<std::size_t>(column)]) * v;
  }
  for (int i = 0; i < n; ++i) {
    if (p.signs[static_cast<std::size_t>(i)] * (*duals)[static_cast<std::size_t>(i)] < 0)
      return std::nullopt;
  }
  for (int j = 0; j < m; ++j) {
    mpq_class d = sense * mpq_class(p.objective[static_cast<std::size_t>(j)]);
    for (int i = 0; i < n; ++i) d -= (*duals)[static_cast<std::size_t>(i)] * a(i, j);
    if (d > 0) return std::nullopt;
  }
  return objective.get_d();
}

}  // namespace orcalc::lp
