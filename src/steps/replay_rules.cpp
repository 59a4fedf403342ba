#include "steps/replay_rules.h"

namespace orcalc::steps {
namespace {

template <class N>
int WrittenEntering(const ReplayState<N>& state, int phase) {
  using Num = ReplayNumber<N>;
  const N eps = Num::Epsilon();
  const std::vector<N> row = state.MethodRow(phase);
  // In phase 1, columns within epsilon of each other are told apart by the
  // objective row.
  const std::vector<N> objective = phase == 1 ? state.MethodRow(2) : std::vector<N>{};
  int k = -1;
  for (int j = 0; j < state.columns(); ++j) {
    if (!state.Allowed(j)) continue;
    if (k < 0) {
      k = j;
      continue;
    }
    const std::size_t c = static_cast<std::size_t>(j);
    const std::size_t ck = static_cast<std::size_t>(k);
    const N d = row[c] - row[ck];
    if (d < -eps || (d <= eps && phase == 1 && objective[c] - objective[ck] < -eps)) k = j;
  }
  return k >= 0 && row[static_cast<std::size_t>(k)] < -eps ? k : -1;
}

// Carried on, and under the smallest-index rule: a column improves when its
// entry is below its round-off, which is nothing in exact arithmetic.
template <class N>
int OtherEntering(const ReplayState<N>& state, const RuleInForce& rule) {
  const N bound = rule.carried_on ? N(0) : N(-ReplayNumber<N>::Epsilon());
  const std::vector<N> row = state.MethodRow(rule.phase);
  int k = -1;
  for (int j = 0; j < state.columns(); ++j) {
    const N& entry = row[static_cast<std::size_t>(j)];
    if (!state.Allowed(j) || !(entry < bound)) continue;
    if (rule.smallest_index) return j;
    if (k < 0 || entry < row[static_cast<std::size_t>(k)]) k = j;
  }
  return k;
}

}  // namespace

template <class N>
int EnteringColumn(const ReplayState<N>& state, const RuleInForce& rule) {
  if (!rule.carried_on && !rule.smallest_index) return WrittenEntering(state, rule.phase);
  return OtherEntering(state, rule);
}

template <class N>
N RatioFloor(const ReplayState<N>& state, int column) {
  using Num = ReplayNumber<N>;
  N largest(0);
  for (int i = 0; i < state.rows(); ++i) {
    const N magnitude = Num::Abs(state.At(i, column));
    if (magnitude > largest) largest = magnitude;
  }
  const N relative = Num::RatioFloor() * largest;
  return relative < Num::Epsilon() ? relative : N(Num::Epsilon());
}

template <class N>
int LeavingRow(const ReplayState<N>& state, int column, const RuleInForce& rule) {
  const N floor = RatioFloor(state, column);
  // Ties under the smallest-index rule: artificial variables first (by
  // row), then the lowest column.
  auto order = [&](int i) {
    const int b = state.Basic(i);
    return state.IsArtificial(b) ? i - state.rows() - 1 : b;
  };
  int r = -1;
  N best(0);
  for (int i = 0; i < state.rows(); ++i) {
    if (!(state.At(i, column) > floor)) continue;
    const N ratio = state.Rhs(i) / state.At(i, column);
    if (r < 0 || ratio < best || (rule.smallest_index && ratio == best && order(i) < order(r))) {
      r = i;
      best = ratio;
    }
  }
  return r;
}

template int EnteringColumn(const ReplayState<mpq_class>&, const RuleInForce&);
template int EnteringColumn(const ReplayState<double>&, const RuleInForce&);
template mpq_class RatioFloor(const ReplayState<mpq_class>&, int);
template double RatioFloor(const ReplayState<double>&, int);
template int LeavingRow(const ReplayState<mpq_class>&, int, const RuleInForce&);
template int LeavingRow(const ReplayState<double>&, int, const RuleInForce&);

}  // namespace orcalc::steps
