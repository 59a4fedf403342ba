#include "steps/goal_exact_model.h"

#include "steps/exact_cell.h"

namespace orcalc::steps {
ExactGoalModel ReadExactGoalModel(const Sheet& sheet, const goal::GoalModel& model) {
  const int M = model.constraint_count;
  const int N = model.variable_count;
  ExactGoalModel exact;
  exact.coef.reserve(model.coef.size());
  for (int i = 0; i < M; ++i) {
    const int row = i + 1;
    const auto g = static_cast<std::size_t>(i);
    for (int j = 0; j < N; ++j)
      exact.coef.push_back(ReadExactCell(sheet, row, j + 1, model.Coefficient(i, j), exact.notes));
    exact.target.push_back(ReadExactCell(sheet, row, N + 2, model.target[g], exact.notes));
    exact.neg_weight.push_back(ReadExactCell(sheet, row, N + 3, model.neg_weight[g], exact.notes));
    exact.pos_weight.push_back(ReadExactCell(sheet, row, N + 5, model.pos_weight[g], exact.notes));
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
