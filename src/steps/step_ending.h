// The sentences under the tables: what a pivot does, what round-off
// swayed, how a phase ends, and why the method stopped; and what the last
// table shows in exact arithmetic.
#pragma once

#include <string>
#include <vector>

#include "steps/replay_rules.h"
#include "steps/replay_state.h"

namespace orcalc::steps {

// "χ2 进基，χ4 出基，主元为 3/2", with the rule when it was not the usual one.
std::string PivotSentence(const ColumnLayout& layout, int entering, int leaving,
                          const std::string& pivot, bool smallest_index, bool carried_on);
// "此步的选择受舍入误差影响，精确计算应选 χ3 进基，χ5 出基" (entering -1: the
// phase has ended; leaving -1: the column is unbounded).
std::string RoundOffSentence(const ColumnLayout& layout, int entering, int leaving);
// Under the last table of a phase, before the phase given begins; whether
// an artificial variable is still positive when phase 2 begins.
std::string PhaseChangeSentence(int next_phase, bool artificial_positive);
// "所有检验数 σj ≤ 0，已达最优：χ1 = 1，χ2 = 2，目标函数值 S = 8。": `x` the
// decision variables' texts, `objective` S's.
std::string OptimalEnding(lp::Sense sense, const std::vector<std::string>& x,
                          const std::string& objective);
// Phase 1 cannot improve while an artificial variable is positive.
std::string InfeasibleEnding();

template <class N>
struct FinalPoint {
  std::vector<double> x;  // x_1..x_m
  double objective = 0.0;
  std::vector<N> exact_x;
  N exact_objective{0};
};

template <class N>
FinalPoint<N> ReadPoint(const ReplayState<N>& state, const ColumnLayout& layout);

template <class N>
ExactVerdict JudgeVerdict(const ReplayState<N>& state, int phase);

template <class N>
std::string EndingText(const ReplayState<N>& state, const ColumnLayout& layout,
                       const lp::SimplexResult& result, const RuleInForce& rule,
                       const FinalPoint<N>& point, StepsDocument& doc);

}  // namespace orcalc::steps
