// The condensed exchange tableau of a goal program as the replay pivots
// it, in exact fractions or doubles: the same rows and columns, in the
// same places, as the goal solver's, and the method's choices judged on it.
#pragma once

#include <functional>
#include <vector>

#include "goal/goal_model.h"
#include "steps/goal_exact_model.h"
#include "steps/replay_number.h"

namespace orcalc::steps {

// Variables are numbered from 0 here: χj is j-1, d(i)- is N+i-1, d(i)+ is
// N+M+i-1 (the solver's identifiers less one).
template <class N>
class GoalReplayState {
 public:
  GoalReplayState(const goal::GoalModel& model, const ExactGoalModel& exact);

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  int variables() const { return static_cast<int>(weight_.size()); }
  const N& At(int i, int j) const { return a_[Index(i, j)]; }
  const N& Value(int i) const { return value_[static_cast<std::size_t>(i)]; }
  int RowVariable(int i) const { return row_var_[static_cast<std::size_t>(i)]; }
  int ColumnVariable(int j) const { return col_var_[static_cast<std::size_t>(j)]; }
  const N& Weight(int variable) const { return weight_[static_cast<std::size_t>(variable)]; }
  int Level(int variable) const { return level_[static_cast<std::size_t>(variable)]; }
  bool Removed(int j) const { return removed_[static_cast<std::size_t>(j)] != 0; }
  void Remove(int j) { removed_[static_cast<std::size_t>(j)] = 1; }

  // Per level 0..`levels`, per variable: how much one unit of the variable
  // lowers the level's objective (0 for basic variables and removed
  // columns).
  std::vector<std::vector<N>> Evaluations(int levels) const;
  // Per level 0..`levels`: Σ value × weight over the rows at that level.
  std::vector<N> Achievements(int levels) const;

  // The exchange on row r and column p; false when `stop` said so part-way
  // (the tableau is then spoilt) or the pivot is 0.
  bool Exchange(int r, int p, const std::function<bool()>& stop);

 private:
  std::size_t Index(int i, int j) const {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(j);
  }

  int rows_ = 0, columns_ = 0;
  std::vector<N> a_, value_, weight_;
  std::vector<int> level_, row_var_, col_var_;
  std::vector<char> removed_;
};

// The entering column by the method's rule at `level`, on the tableau as
// it stands (-1: none improves, the level is optimal): the largest
// evaluation entry above 0, ties to the larger level, then the smaller
// weight, then the lower index; under the smallest-index rule, the
// improving column whose variable comes first.
template <class N>
int GoalEnteringColumn(const GoalReplayState<N>& state, int level, bool smallest_index);

// The leaving row for column p (-1: no entry above 0 with a ratio below
// 1e9): the smallest ratio, ties to the smaller level, then the larger
// weight, then the lower index; under the smallest-index rule, ties to the
// variable that comes first.
template <class N>
int GoalLeavingRow(const GoalReplayState<N>& state, int p, bool smallest_index);

extern template class GoalReplayState<mpq_class>;
extern template class GoalReplayState<double>;

}  // namespace orcalc::steps
