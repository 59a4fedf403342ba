#include "steps/goal_exact_model.h"

#include "common/number_text.h"
#include "steps/exact_reading.h"

namespace orcalc::steps {
namespace {

// The cell's exact number, given the double the calculation used; a note
// when only that double could be taken.
mpq_class ReadCell(const Sheet& sheet, int row, int col, double used, ExactGoalModel& into) {
  ExactReading reading = ReadExactNumber(sheet.Cell(row, col), used);
  if (!reading.from_text) {
    into.notes.push_back("单元格(" + PlainNumber(row) + "," + PlainNumber(col) +
                         ")的文字无法精确读取，按计算所用的双精度值 " + PlainNumber(used) +
                         " 的精确值计算。");
  }
  return std::move(reading.value);
}

}  // namespace

ExactGoalModel ReadExactGoalModel(const Sheet& sheet, const goal::GoalModel& model) {
  const int M = model.constraint_count;
  const int N = model.variable_count;
  ExactGoalModel exact;
  exact.coef.reserve(model.coef.size());
  for (int i = 0; i < M; ++i) {
    const int row = i + 1;
    const auto g = static_cast<std::size_t>(i);
    for (int j = 0; j < N; ++j)
      exact.coef.push_back(ReadCell(sheet, row, j + 1, model.Coefficient(i, j), exact));
    exact.target.push_back(ReadCell(sheet, row, N + 2, model.target[g], exact));
    exact.neg_weight.push_back(ReadCell(sheet, row, N + 3, model.neg_weight[g], exact));
    exact.pos_weight.push_back(ReadCell(sheet, row, N + 5, model.pos_weight[g], exact));
  }
  return exact;
}

ExactGoalModel ExactGoalFromDoubles(const goal::GoalModel& model) {
  ExactGoalModel exact;
  for (double a : model.coef) exact.coef.emplace_back(a);
  for (double b : model.target) exact.target.emplace_back(b);
  for (double w : model.neg_weight) exact.neg_weight.emplace_back(w);
  for (double w : model.pos_weight) exact.pos_weight.emplace_back(w);
  return exact;
}

}  // namespace orcalc::steps
