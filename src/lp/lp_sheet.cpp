#include "lp/lp_sheet.h"

#include <algorithm>
#include <string>

#include "common/number_text.h"
#include "common/numeric_reading.h"

namespace orcalc::lp {
namespace {

constexpr std::string_view kLessEqualSign = "≤";
constexpr std::string_view kGreaterEqualSign = "≥";
constexpr int kHeaderColumnWidth = 1700;  // twips

int ClampToCount(int count) { return std::clamp(count, 0, kMaxCount); }

}  // namespace

void LayOutSheet(Sheet& sheet, int variables, int constraints, Sense sense) {
  const int m = ClampToCount(variables);
  const int n = ClampToCount(constraints);
  sheet.SetCols(m + 3);
  sheet.SetRows(n + 2);
  sheet.SetColumnWidth(0, kHeaderColumnWidth);
  sheet.SetCell(1, 0, "目标函数系数");
  for (int i = 1; i <= n; ++i) sheet.SetCell(i + 1, 0, "约束方程" + PlainNumber(i));
  for (int j = 1; j <= m; ++j) sheet.SetCell(0, j, "χ" + PlainNumber(j) + " 系数");
  sheet.SetCell(0, m + 1, "约束符号");
  sheet.SetCell(0, m + 2, "常数项");
  sheet.SetCell(1, m + 1, " ═ ");
  sheet.SetCell(1, m + 2, sense == Sense::Maximise ? " Max " : " Min ");
}

double SignCode(std::string_view text) {
  if (text.find(kLessEqualSign) != std::string_view::npos) return kLessEqual;
  if (text.find(kGreaterEqualSign) != std::string_view::npos) return kGreaterEqual;
  return kEqual;
}

LpIntake ReadLpSheet(const Sheet& sheet, int variables, int constraints, Sense sense) {
  LpIntake intake;
  LpProblem& problem = intake.problem;
  const int m = ClampToCount(variables);
  const int n = ClampToCount(constraints);
  problem.Resize(m, n);
  problem.sense = sense == Sense::Maximise ? 1.0 : -1.0;

  auto read = [&](int row, int col, double& into) {
    const NumberReading reading = ReadNumberChecked(sheet.Cell(row, col));
    if (reading.overflow) {
      intake.overflow = true;
      intake.overflow_row = row;
      intake.overflow_col = col;
      return false;
    }
    into = reading.value;
    return true;
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
