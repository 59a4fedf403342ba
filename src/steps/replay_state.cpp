#include "steps/replay_state.h"

#include "steps/step_number_text.h"

namespace orcalc::steps {

ColumnLayout LayOutColumns(const lp::LpProblem& problem) {
  const int m = problem.variables;
  const int n = problem.constraints;
  ColumnLayout layout;
  layout.variables = m;
  layout.of_method.assign(static_cast<std::size_t>(m) + static_cast<std::size_t>(n), -1);
  for (int j = 0; j < m; ++j) {
    layout.columns.push_back({VariableName(j + 1), VariableKind::Decision});
    layout.of_method[static_cast<std::size_t>(j)] = j;
  }
  // One slack (≤) or surplus (≥) column per inequality, numbered on; an
  // equality's column of the method is all zeros and never enters.
  for (int i = 0; i < n; ++i) {
    const double sign = problem.signs[static_cast<std::size_t>(i)];
    if (sign == lp::kEqual) continue;
    layout.of_method[static_cast<std::size_t>(m) + static_cast<std::size_t>(i)] =
        static_cast<int>(layout.columns.size());
    layout.columns.push_back(
        {VariableName(static_cast<int>(layout.columns.size()) + 1),
         sign == lp::kLessEqual ? VariableKind::Slack : VariableKind::Surplus});
  }
  layout.artificial_begin = static_cast<int>(layout.columns.size());
  layout.artificial.assign(static_cast<std::size_t>(n), -1);
  for (int i = 0; i < n; ++i) {
    const double sign = problem.signs[static_cast<std::size_t>(i)];
    if (sign == lp::kLessEqual) {
      layout.start_basis.push_back(
          layout.of_method[static_cast<std::size_t>(m) + static_cast<std::size_t>(i)]);
      continue;
    }
    const int column = static_cast<int>(layout.columns.size());
    layout.artificial[static_cast<std::size_t>(i)] = column;
    layout.start_basis.push_back(column);
    layout.columns.push_back({VariableName(column + 1), VariableKind::Artificial});
  }
  return layout;
}

template <class N>
ReplayState<N>::ReplayState(const StepsInput& input, const ColumnLayout& layout)
    : layout_(&layout),
      rows_(input.problem->constraints),
      columns_(static_cast<int>(layout.columns.size())),
      p_(lp::SenseSign(input.problem->sense)),
      a_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_), N(0)),
      b_(static_cast<std::size_t>(rows_), N(0)),
      basis_(layout.start_basis),
      allowed_(static_cast<std::size_t>(columns_), 1) {
  const lp::LpProblem& problem = *input.problem;
  const ExactProblem& exact = *input.exact;
  const int m = problem.variables;
  for (int i = 0; i < rows_; ++i) {
    for (int j = 0; j < m; ++j) {
      const std::size_t at =
          static_cast<std::size_t>(i) * static_cast<std::size_t>(m) + static_cast<std::size_t>(j);
      a_[Index(i, j)] = Num::From(exact.coefficients[at], problem.coefficients[at]);
    }
    const int own = layout.of_method[static_cast<std::size_t>(m) + static_cast<std::size_t>(i)];
    if (own >= 0) a_[Index(i, own)] = N(problem.signs[static_cast<std::size_t>(i)]);
    const int artificial = layout.artificial[static_cast<std::size_t>(i)];
    if (artificial >= 0) a_[Index(i, artificial)] = N(1);
    b_[static_cast<std::size_t>(i)] =
        Num::From(exact.rhs[static_cast<std::size_t>(i)], problem.rhs[static_cast<std::size_t>(i)]);
  }
  for (int j = 0; j < m; ++j) {
    const std::size_t c = static_cast<std::size_t>(j);
    objective_.push_back(N(p_) * Num::From(exact.objective[c], problem.objective[c]));
  }
}

template <class N>
std::vector<N> ReplayState<N>::MethodCosts(int phase) const {
  std::vector<N> costs(static_cast<std::size_t>(columns_), N(0));
  if (phase == 1) {
    for (int j = layout_->artificial_begin; j < columns_; ++j)
      costs[static_cast<std::size_t>(j)] = N(-1);
  } else {
    for (std::size_t j = 0; j < objective_.size(); ++j) costs[j] = objective_[j];
  }
  return costs;
}

template <class N>
std::vector<N> ReplayState<N>::MethodRow(int phase) const {
  const std::vector<N> costs = MethodCosts(phase);
  std::vector<N> row(static_cast<std::size_t>(columns_), N(0));
  for (int j = 0; j < columns_; ++j)
    row[static_cast<std::size_t>(j)] = -costs[static_cast<std::size_t>(j)];
  for (int i = 0; i < rows_; ++i) {
    const N& cost = costs[static_cast<std::size_t>(Basic(i))];
    if (cost == 0) continue;
    for (int j = 0; j < columns_; ++j) row[static_cast<std::size_t>(j)] += cost * At(i, j);
  }
  return row;
}

template <class N>
std::vector<N> ReplayState<N>::ShownCosts(int phase) const {
  std::vector<N> costs = MethodCosts(phase);
  // The method maximises p * objective; the table shows the sense chosen.
  if (p_ < 0) {
    for (N& cost : costs) cost = -cost;
  }
  return costs;
}

template <class N>
bool ReplayState<N>::Pivot(int row, int column, const std::function<bool()>& stop) {
  const N pivot = At(row, column);
  if (pivot == 0) return false;
  for (int j = 0; j < columns_; ++j) a_[Index(row, j)] /= pivot;
  b_[static_cast<std::size_t>(row)] /= pivot;
  for (int i = 0; i < rows_; ++i) {
    if (i == row) continue;
    if (stop && stop()) return false;
    const N factor = At(i, column);
    if (factor == 0) continue;
    for (int j = 0; j < columns_; ++j) a_[Index(i, j)] -= factor * At(row, j);
    b_[static_cast<std::size_t>(i)] -= factor * Rhs(row);
  }
  basis_[static_cast<std::size_t>(row)] = column;
  return true;
}

template <class N>
void ReplayState<N>::EnterPhase(int phase, const N& floor) {
  if (phase == 1) {
    std::fill(allowed_.begin(), allowed_.end(), 1);
    return;
  }
  const std::vector<N> row = MethodRow(1);
  for (int j = 0; j < columns_; ++j) {
    if (row[static_cast<std::size_t>(j)] > floor) allowed_[static_cast<std::size_t>(j)] = 0;
  }
}

template class ReplayState<mpq_class>;
template class ReplayState<double>;

}  // namespace orcalc::steps
