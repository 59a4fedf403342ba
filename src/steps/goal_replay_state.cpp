#include "steps/goal_replay_state.h"

namespace orcalc::steps {
namespace {

std::size_t Ix(int i) { return static_cast<std::size_t>(i); }

// The cap on the ratios the method takes.
constexpr double kLargestRatio = 1000000000;

}  // namespace

template <class N>
GoalReplayState<N>::GoalReplayState(const goal::GoalModel& model, const ExactGoalModel& exact)
    : rows_(model.constraint_count), columns_(model.variable_count + model.constraint_count) {
  using Num = ReplayNumber<N>;
  const int M = rows_;
  const int V = model.variable_count;
  weight_.assign(Ix(V + 2 * M), N(0));
  level_.assign(Ix(V + 2 * M), 0);
  a_.assign(Ix(M) * Ix(columns_), N(0));
  value_.assign(Ix(M), N(0));
  row_var_.assign(Ix(M), 0);
  col_var_.assign(Ix(columns_), 0);
  removed_.assign(Ix(columns_), 0);
  for (int j = 0; j < V; ++j) col_var_[Ix(j)] = j;
  for (int i = 0; i < M; ++i) {
    const std::size_t g = Ix(i);
    const int negative = V + i, positive = V + M + i;
    weight_[Ix(negative)] = Num::From(exact.neg_weight[g], model.neg_weight[g]);
    level_[Ix(negative)] = model.neg_level[g];
    weight_[Ix(positive)] = Num::From(exact.pos_weight[g], model.pos_weight[g]);
    level_[Ix(positive)] = model.pos_level[g];
    // A goal with a negative target starts with d+ basic, its row negated,
    // as the solver's does.
    const bool flip = model.target[g] < 0;
    for (int j = 0; j < V; ++j) {
      const std::size_t c = g * Ix(V) + Ix(j);
      const N a = Num::From(exact.coef[c], model.coef[c]);
      a_[Index(i, j)] = flip ? N(-a) : a;
    }
    const N b = Num::From(exact.target[g], model.target[g]);
    value_[g] = flip ? N(-b) : b;
    a_[Index(i, V + i)] = N(-1);
    row_var_[g] = flip ? positive : negative;
    col_var_[Ix(V + i)] = flip ? negative : positive;
  }
}

template <class N>
std::vector<std::vector<N>> GoalReplayState<N>::Evaluations(int levels) const {
  std::vector<std::vector<N>> rows(Ix(levels + 1), std::vector<N>(weight_.size(), N(0)));
  auto costs = [&](int variable) {
    const int level = Level(variable);
    return level >= 1 && level <= levels;
  };
  for (int i = 0; i < rows_; ++i) {
    const int basic = RowVariable(i);
    if (!costs(basic) || Weight(basic) == 0) continue;
    std::vector<N>& row = rows[Ix(Level(basic))];
    for (int j = 0; j < columns_; ++j) {
      if (!Removed(j)) row[Ix(ColumnVariable(j))] += At(i, j) * Weight(basic);
    }
  }
  for (int j = 0; j < columns_; ++j) {
    const int variable = ColumnVariable(j);
    if (!Removed(j) && costs(variable)) rows[Ix(Level(variable))][Ix(variable)] -= Weight(variable);
  }
  return rows;
}

template <class N>
std::vector<N> GoalReplayState<N>::Achievements(int levels) const {
  std::vector<N> sums(Ix(levels + 1), N(0));
  for (int i = 0; i < rows_; ++i) {
    const int level = Level(RowVariable(i));
    if (level >= 1 && level <= levels) sums[Ix(level)] += Value(i) * Weight(RowVariable(i));
  }
  return sums;
}

template <class N>
bool GoalReplayState<N>::Exchange(int r, int p, const std::function<bool()>& stop) {
  const N pivot = At(r, p);
  if (pivot == 0) return false;
  std::swap(row_var_[Ix(r)], col_var_[Ix(p)]);
  const N moved = N(Value(r) / pivot);
  for (int i = 0; i < rows_; ++i) {
    if (i == r || At(i, p) == 0) continue;
    if (stop && stop()) return false;
    const N factor = N(At(i, p) / pivot);
    value_[Ix(i)] -= factor * Value(r);
    for (int j = 0; j < columns_; ++j) {
      if (j != p && !Removed(j) && At(r, j) != 0) a_[Index(i, j)] -= factor * At(r, j);
    }
    a_[Index(i, p)] = -factor;
  }
  value_[Ix(r)] = moved;
  for (int j = 0; j < columns_; ++j) {
    if (j != p && !Removed(j)) a_[Index(r, j)] /= pivot;
  }
  a_[Index(r, p)] = N(1) / pivot;
  return true;
}

template <class N>
int GoalEnteringColumn(const GoalReplayState<N>& state, int level, bool smallest_index) {
  const std::vector<N> row = state.Evaluations(level)[Ix(level)];
  int p = -1;
  for (int j = 0; j < state.columns(); ++j) {
    const int v = state.ColumnVariable(j);
    const N& e = row[Ix(v)];
    if (state.Removed(j) || !(e > 0)) continue;
    if (p < 0) {
      p = j;
      continue;
    }
    const int w = state.ColumnVariable(p);
    const N& best = row[Ix(w)];
    const bool take = smallest_index
                          ? v < w
                          : e > best || (e == best && (state.Level(v) > state.Level(w) ||
                                                       (state.Level(v) == state.Level(w) &&
                                                        state.Weight(v) < state.Weight(w))));
    if (take) p = j;
  }
  return p;
}

template <class N>
int GoalLeavingRow(const GoalReplayState<N>& state, int p, bool smallest_index) {
  int r = -1;
  N best(0);
  for (int i = 0; i < state.rows(); ++i) {
    if (!(state.At(i, p) > 0)) continue;
    const N q = N(state.Value(i) / state.At(i, p));
    if (!(q < kLargestRatio)) continue;
    bool take = r < 0 || q < best;
    if (!take && q == best) {
      const int v = state.RowVariable(i), w = state.RowVariable(r);
      take = smallest_index
                 ? v < w
                 : state.Level(v) < state.Level(w) ||
                       (state.Level(v) == state.Level(w) && state.Weight(v) > state.Weight(w));
    }
    if (take) {
      r = i;
      best = q;
    }
  }
  return r;
}

template class GoalReplayState<mpq_class>;
template class GoalReplayState<double>;
template int GoalEnteringColumn(const GoalReplayState<mpq_class>&, int, bool);
template int GoalEnteringColumn(const GoalReplayState<double>&, int, bool);
template int GoalLeavingRow(const GoalReplayState<mpq_class>&, int, bool);
template int GoalLeavingRow(const GoalReplayState<double>&, int, bool);

}  // namespace orcalc::steps
