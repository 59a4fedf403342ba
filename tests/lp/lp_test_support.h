// Building linear-programming sheets and problems for the tests.
#pragma once

#include <string>
#include <vector>

#include "common/sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_problem.h"

namespace orcalc::lp::testing {

inline constexpr const char* kLe = " ≤ ";
inline constexpr const char* kGe = " ≥ ";
inline constexpr const char* kEq = " ═ ";

// A sheet laid out for m variables and the given constraint rows (each: m
// coefficients, sign text, right-hand side), objective row filled.
inline Sheet MakeSheet(int m, const std::vector<std::string>& objective,
                       const std::vector<std::vector<std::string>>& rows) {
  Sheet sheet;
  LayOutSheet(sheet, m, static_cast<int>(rows.size()), Sense::Maximise);
  for (std::size_t j = 0; j < objective.size(); ++j) sheet.SetCell(1, int(j) + 1, objective[j]);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows[i].size(); ++j)
      sheet.SetCell(int(i) + 2, int(j) + 1, rows[i][j]);
  }
  return sheet;
}

inline CalculationOutcome CalculateSheet(const Sheet& sheet, int m, int n, Sense sense,
                                         long iteration_limit = 1000000) {
  return Calculate(LpRequest{m, n, sense, std::string(1, '.'), iteration_limit}, sheet);
}

// A problem from numbers: each row holds m coefficients, the sign code and
// the right-hand side; right-hand sides are normalised.
inline LpProblem MakeProblem(double sense, const std::vector<double>& c,
                             const std::vector<std::vector<double>>& rows) {
  LpProblem problem;
  const std::size_t m = c.size();
  problem.Resize(int(m), int(rows.size()));
  problem.sense = sense;
  problem.objective = c;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < m; ++j) problem.coefficients[i * m + j] = rows[i][j];
    problem.signs[i] = rows[i][m];
    problem.rhs[i] = rows[i][m + 1];
  }
  NormaliseRightHandSides(problem);
  return problem;
}

}  // namespace orcalc::lp::testing
