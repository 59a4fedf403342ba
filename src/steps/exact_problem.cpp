#include "steps/exact_problem.h"

#include "common/numeric_reading.h"
#include "steps/exact_cell.h"

namespace orcalc::steps {
namespace {

// The cell's exact number; a note when only its double could be taken.
mpq_class ReadCell(const Sheet& sheet, int row, int col, ExactProblem& into) {
  return ReadExactCell(sheet, row, col, ReadNumber(sheet.Cell(row, col)), into.notes);
}

}  // namespace

ExactProblem ReadExactProblem(const Sheet& sheet, const lp::LpProblem& problem) {
  const int m = problem.variables;
  const int n = problem.constraints;
  ExactProblem exact;
  exact.coefficients.reserve(static_cast<std::size_t>(m) * static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int row = i + 2;
    // The intake flips a row whose right-hand side reads below 0.
    const bool flip = ReadNumber(sheet.Cell(row, m + 2)) < 0;
    if (flip) exact.flipped.push_back(i + 1);
    for (int j = 0; j < m; ++j) {
      mpq_class a = ReadCell(sheet, row, j + 1, exact);
      exact.coefficients.push_back(flip ? mpq_class(-a) : a);
    }
    mpq_class b = ReadCell(sheet, row, m + 2, exact);
    exact.rhs.push_back(flip ? mpq_class(-b) : b);
  }
  for (int j = 0; j < m; ++j) exact.objective.push_back(ReadCell(sheet, 1, j + 1, exact));
  return exact;
}

ExactProblem ExactFromDoubles(const lp::LpProblem& problem) {
  ExactProblem exact;
  for (double c : problem.objective) exact.objective.emplace_back(c);
  for (double a : problem.coefficients) exact.coefficients.emplace_back(a);
  for (double b : problem.rhs) exact.rhs.emplace_back(b);
  return exact;
}

}  // namespace orcalc::steps
