// Linear programs written as rows, for the linear-programming tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "lp/lp_problem.h"

namespace orcalc::lp {

inline constexpr Sense kMax = Sense::Maximise, kMin = Sense::Minimise;
inline constexpr double LE = kLessEqual, GE = kGreaterEqual, EQ = kEqual;

// Each row: m coefficients, the sign code, the right-hand side; as entered,
// right-hand sides not normalised.
inline LpProblem MakeProblem(Sense sense, const std::vector<double>& c,
                             const std::vector<std::vector<double>>& rows) {
  LpProblem p;
  const int m = static_cast<int>(c.size());
  p.Resize(m, static_cast<int>(rows.size()));
  p.sense = sense, p.objective = c;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::copy_n(rows[i].begin(), m, p.coefficients.begin() + static_cast<long>(i) * m);
    p.signs[i] = rows[i][static_cast<std::size_t>(m)];
    p.rhs[i] = rows[i][static_cast<std::size_t>(m) + 1];
  }
  return p;
}

// The same, right-hand sides normalised as the solver needs them.
inline LpProblem Normalised(LpProblem problem) {
  NormaliseRightHandSides(problem);
  return problem;
}

// Every "\n" of `text` as CR LF.
inline std::string CrLf(std::string text) {
  for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
    text.insert(at, 1, '\r');
  return text;
}

}  // namespace orcalc::lp
