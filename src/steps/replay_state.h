// The tableau the replay pivots: the constraint rows over every column the
// textbook shows (artificial variables included), their basis and the
// costs of both phases, in exact fractions or doubles.
#pragma once

#include <functional>
#include <vector>

#include "steps/replay_number.h"
#include "steps/step_replay.h"

namespace orcalc::steps {

// The columns of a problem and how the method's columns map onto them.
struct ColumnLayout {
  std::vector<StepColumn> columns;
  int variables = 0;             // m
  int artificial_begin = 0;      // the first artificial column
  std::vector<int> of_method;    // method column (as in PivotRecord) -> column, -1: none
  std::vector<int> artificial;   // per row: its artificial column, -1: none
  std::vector<int> start_basis;  // per row
};

ColumnLayout LayOutColumns(const lp::LpProblem& problem);

template <class N>
class ReplayState {
 public:
  using Num = ReplayNumber<N>;

  ReplayState(const StepsInput& input, const ColumnLayout& layout);

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  const N& At(int i, int j) const { return a_[Index(i, j)]; }
  const N& Rhs(int i) const { return b_[static_cast<std::size_t>(i)]; }
  int Basic(int i) const { return basis_[static_cast<std::size_t>(i)]; }
  bool IsArtificial(int j) const { return j >= layout_->artificial_begin; }
  bool Allowed(int j) const { return !IsArtificial(j) && allowed_[static_cast<std::size_t>(j)]; }

  // The method's row in force for `phase`, over every column: z_j - c'_j
  // with the costs of the maximisation the method solves (p*c_j in phase 2,
  // -1 for each artificial variable in phase 1).
  std::vector<N> MethodRow(int phase) const;
  // The costs shown for `phase` (c_j as entered; the auxiliary objective's
  // in phase 1) and the objective's value at this point.
  std::vector<N> ShownCosts(int phase) const;

  // Pivots on (row, column); false when `stop` said so part-way (the
  // tableau is then spoilt) or the pivot is 0.
  bool Pivot(int row, int column, const std::function<bool()>& stop);
  // Phase 2 bars the columns whose phase-1 entry is positive beyond
  // `floor`; going back to phase 1 allows every column again.
  void EnterPhase(int phase, const N& floor);

 private:
  std::size_t Index(int i, int j) const {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(j);
  }
  std::vector<N> MethodCosts(int phase) const;

  const ColumnLayout* layout_;
  int rows_, columns_;
  double p_;
  std::vector<N> a_, b_;
  std::vector<int> basis_;
  std::vector<char> allowed_;
  std::vector<N> objective_;  // p * c_j, the method's phase-2 costs of the decision columns
};

extern template class ReplayState<mpq_class>;
extern template class ReplayState<double>;

}  // namespace orcalc::steps
