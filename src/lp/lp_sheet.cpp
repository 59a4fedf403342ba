#include "lp/lp_sheet.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "common/numeric_reading.h"
#include "lp/lp_texts.h"
#include "parallel/thread_pool.h"

namespace orcalc::lp {
namespace {

constexpr int kHeaderColumnWidth = 1700;  // twips
// From this many coefficients on, the constraint rows are read over the
// pivot pool's threads.
constexpr std::size_t kParallelReadCells = 32768;

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

  // Constraint rows [begin, end), stopping at the first number that
  // overflows.
  auto read_rows = [&](int begin, int end, std::optional<CellPosition>& overflow) {
    CellReader cells(sheet);
    for (int i = begin; i < end; ++i) {
      const int row = i + 2;
      const std::size_t first = static_cast<std::size_t>(i) * static_cast<std::size_t>(m);
      for (int j = 0; j < m; ++j) {
        if (!cells.Read(row, j + 1, problem.coefficients[first + static_cast<std::size_t>(j)])) {
          overflow = cells.overflow();
          return;
        }
      }
      problem.signs[static_cast<std::size_t>(i)] = SignCode(sheet.Cell(row, m + 1));
      if (!cells.Read(row, m + 2, problem.rhs[static_cast<std::size_t>(i)])) {
        overflow = cells.overflow();
        return;
      }
    }
  };
  if (static_cast<std::size_t>(n) * static_cast<std::size_t>(m) < kParallelReadCells) {
    read_rows(0, n, intake.overflow);
  } else {
    // A large sheet is read in parts over the pivot pool's threads; the
    // overflow reported is the first in reading order, as above.
    ThreadPool& pool = PivotPool();
    std::vector<std::optional<CellPosition>> overflows(pool.parts());
    pool.ForEachPart(static_cast<std::size_t>(n),
                     [&](std::size_t part, std::size_t begin, std::size_t end) {
                       read_rows(static_cast<int>(begin), static_cast<int>(end), overflows[part]);
                     });
    for (const std::optional<CellPosition>& overflow : overflows) {
      if (overflow) {
        intake.overflow = overflow;
        break;
      }
    }
  }
  if (intake.overflow) return intake;
  CellReader cells(sheet);
  for (int j = 0; j < m; ++j) {
    if (!cells.Read(1, j + 1, problem.objective[static_cast<std::size_t>(j)])) {
      intake.overflow = cells.overflow();
      return intake;
    }
  }
  NormaliseRightHandSides(problem);
  return intake;
}

}  // namespace orcalc::lp
