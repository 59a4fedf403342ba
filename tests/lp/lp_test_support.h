// Building linear-programming sheets and problems for the tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "common/sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_problem.h"

namespace orcalc::lp::testing {

// A sheet laid out for m variables and n constraints, with the objective
// row and constraint rows filled from texts (objective: m cells; each
// constraint: m coefficients, sign text, right-hand side).
inline Sheet MakeSheet(int m, const std::vector<std::string>& objective,
                       const std::vector<std::vector<std::string>>& constraints,
                       Sense sense = Sense::Maximise) {
  Sheet sheet;
  const int n = static_cast<int>(constraints.size());
  LayOutSheet(sheet, m, n, sense);
  for (int j = 0; j < static_cast<int>(objective.size()); ++j) sheet.SetCell(1, j + 1, objective[j]);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < static_cast<int>(constraints[i].size()); ++j) {
      sheet.SetCell(i + 2, j + 1, constraints[i][j]);
    }
  }
  return sheet;
}

// A problem straight from numbers: each row is m coefficients, then the
// sign code, then the right-hand side. Right-hand sides are normalised.
inline LpProblem MakeProblem(double sense, const std::vector<double>& objective,
                             const std::vector<std::vector<double>>& rows) {
  LpProblem problem;
  const int m = static_cast<int>(objective.size());
  problem.Resize(m, static_cast<int>(rows.size()));
  problem.sense = sense;
  problem.objective = objective;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (int j = 0; j < m; ++j) problem.coefficients[i * m + j] = rows[i][j];
    problem.signs[i] = rows[i][m];
    problem.rhs[i] = rows[i][m + 1];
  }
  NormaliseRightHandSides(problem);
  return problem;
}

// Lines joined with CR LF after each, the last included.
inline std::string CrLfLines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

inline constexpr const char* kLe = " ≤ ";
inline constexpr const char* kGe = " ≥ ";
inline constexpr const char* kEq = " ═ ";

}  // namespace orcalc::lp::testing
