// The method's choices judged again on the replayed tableau: the entering
// column and the leaving row, by the rule the method was using.
#pragma once

#include "steps/replay_state.h"

namespace orcalc::steps {

struct RuleInForce {
  int phase = 2;
  bool smallest_index = false;  // the lowest improving column; ties by basic variable
  bool carried_on = false;      // tolerances relative to the scale: exactly, 0
};

// The entering column (-1: none improves, the phase has ended).
template <class N>
int EnteringColumn(const ReplayState<N>& state, const RuleInForce& rule);

// Column `column`'s floor for taking part in the ratio test: epsilon, or
// less for small entries (a fraction of the column's largest magnitude).
template <class N>
N RatioFloor(const ReplayState<N>& state, int column);

// The leaving row for `column` (-1: no entry above the floor, unbounded).
template <class N>
int LeavingRow(const ReplayState<N>& state, int column, const RuleInForce& rule);

}  // namespace orcalc::steps
