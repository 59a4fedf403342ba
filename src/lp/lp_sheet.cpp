#include "lp/lp_sheet.h"

#include <string>

#include "common/number_text.h"
#include "common/numeric_reading.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {
namespace {

constexpr int kHeaderColumnWidth = 1700;  // twips

}  // namespace

void LayOutSheet(Sheet& sheet, int variables, int constraints, Sense sense) {
  const int m = ClampCount(variables);
  const int n = ClampCount(constraints);
  sheet.SetCols(m + 3);
  sheet.SetRows(n + 2);
  sheet.SetColumnWidth(0, kHeaderColumnWidth);
  sheet.SetCell(1, 0, kObjectiveRowLabel);
  for (int i = 1; i <= n; ++i) sheet.SetCell(i + 1, 0, kConstraintRowLabel + PlainNumber(i));
  for (int j = 1; j <= m; ++j) sheet.SetCell(0, j, "χ" + PlainNumber(j) + kCoefficientLabel);
  sheet.SetCell(0, m + 1, kSignHeader);
  sheet.SetCell(0, m + 2, kRightHandSideHeader);
  sheet.SetCell(1, m + 1, kObjectiveSignCell);
  sheet.SetCell(1, m + 2, sense == Sense::Maximise ? kMaximiseCell : kMinimiseCell);
}

double SignCode(std::string_view text) {
  if (text.find(kLessEqualSign) != std::string_view::npos) return kLessEqual;
  if (text.find(kGreaterEqualSign) != std::string_view::npos) return kGreaterEqual;
  return kEqual;
}

LpIntake ReadLpSheet(const Sheet& sheet, int variables, int constraints, Sense sense) {
  LpIntake intake;
  LpProblem& problem = intake.problem;
  const int m = ClampCount(variables);
  const int n = ClampCount(constraints);
  problem.Resize(m, n);
  problem.sense = sense;

  CellReader cells(sheet);
  auto read = [&](int row, int col, double& into) {
    if (cells.Read(row, col, into)) return true;
    intake.overflow = cells.overflow();
    return false;
  };

  for (int i = 0; i < n; ++i) {
    const int row = i + 2;
    for (int j = 0; j < m; ++j) {
      if (!read(row, j + 1, problem.coefficients[static_cast<std::size_t>(i * m + j)])) {
        return intake;
      }
    }
    problem.signs[static_cast<std::size_t>(i)] = SignCode(sheet.Cell(row, m + 1));
    if (!read(row, m + 2, problem.rhs[static_cast<std::size_t>(i)])) return intake;
  }
  for (int j = 0; j < m; ++j) {
    if (!read(1, j + 1, problem.objective[static_cast<std::size_t>(j)])) return intake;
  }
  NormaliseRightHandSides(problem);
  return intake;
}

}  // namespace orcalc::lp
