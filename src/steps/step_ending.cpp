#include "steps/step_ending.h"

#include "common/number_text.h"
#include "steps/step_number_text.h"

namespace orcalc::steps {
namespace {

std::string NameOf(const ColumnLayout& layout, int column) {
  return layout.columns[static_cast<std::size_t>(column)].name;
}

template <class N>
std::string Text(const N& value) {
  return NumberText(ReplayNumber<N>::Step(value));
}

ExactVerdict VerdictOf(lp::SimplexOutcome outcome) {
  switch (outcome) {
    case lp::SimplexOutcome::Optimal:
      return ExactVerdict::Optimal;
    case lp::SimplexOutcome::Unbounded:
      return ExactVerdict::Unbounded;
    case lp::SimplexOutcome::Phase1Stuck:
      return ExactVerdict::Infeasible;
    default:
      return ExactVerdict::Undecided;
  }
}

template <class N>
std::string PointEnding(const FinalPoint<N>& point, lp::Sense sense) {
  std::vector<std::string> x;
  for (const N& value : point.exact_x) x.push_back(Text(value));
  return OptimalEnding(sense, x, Text(point.exact_objective));
}

template <class N>
std::string UnboundedText(const ReplayState<N>& state, const ColumnLayout& layout,
                          const RuleInForce& rule) {
  const int k = EnteringColumn(state, rule);
  if (k < 0) return "目标函数无界（无解！）。";
  return NameOf(layout, k) + " 应进基，但该列没有大于 0 的系数，θ 无从计算：" +
         "目标函数无界（无解！）。";
}

template <class N>
std::string OutcomeText(const ReplayState<N>& state, const ColumnLayout& layout,
                        const lp::SimplexResult& result, const RuleInForce& rule,
                        const FinalPoint<N>& point, lp::Sense sense) {
  switch (result.outcome) {
    case lp::SimplexOutcome::Optimal:
      return PointEnding(point, sense);
    case lp::SimplexOutcome::Unbounded:
      return UnboundedText(state, layout, rule);
    case lp::SimplexOutcome::Phase1Stuck:
      return InfeasibleEnding();
    case lp::SimplexOutcome::IterationLimit:
      return "达到迭代次数上限，计算停止；最后一张表不是最优表。";
    case lp::SimplexOutcome::Overflow:
      return "计算中出现了无法表示的数，计算停止。";
    case lp::SimplexOutcome::Stopped:
      break;
  }
  return "计算被中止。";
}

}  // namespace

std::string PivotSentence(const ColumnLayout& layout, int entering, int leaving,
                          const std::string& pivot, bool smallest_index, bool carried_on) {
  std::string text =
      NameOf(layout, entering) + " 进基，" + NameOf(layout, leaving) + " 出基，主元为 " + pivot;
  if (smallest_index) text += "（为防止循环，按最小下标规则选择）";
  if (carried_on) text += "（前一结论未通过验证，按相对容差继续计算）";
  return text;
}

std::string RoundOffSentence(const ColumnLayout& layout, int entering, int leaving) {
  std::string text = "此步的选择受舍入误差影响，精确计算应选 ";
  if (entering < 0) return text + "不再换基（本阶段已结束）";
  if (leaving < 0) return text + NameOf(layout, entering) + " 进基，但该列没有正的系数（无界）";
  return text + NameOf(layout, entering) + " 进基，" + NameOf(layout, leaving) + " 出基";
}

std::string OptimalEnding(lp::Sense sense, const std::vector<std::string>& x,
                          const std::string& objective) {
  std::string text = sense == lp::Sense::Maximise ? "所有检验数 σj ≤ 0" : "所有检验数 σj ≥ 0";
  text += "，已达最优：";
  for (std::size_t j = 0; j < x.size(); ++j)
    text += VariableName(static_cast<int>(j) + 1) + " = " + x[j] + "，";
  return text + "目标函数值 S = " + objective + "。";
}

std::string InfeasibleEnding() {
  return "第一阶段已无可进基的变量，人工变量仍有正值，原问题没有可行解（无最优解！）。";
}

std::string PhaseChangeSentence(int next_phase, bool artificial_positive) {
  if (next_phase == 2 && artificial_positive)
    return "第一阶段结束：已无可进基的变量，但人工变量仍有正值；按计算的规则转入第二阶段";
  if (next_phase == 2)
    return "第一阶段结束：人工变量均已为 0，去掉人工变量，换回原目标函数，转入第二阶段";
  return "前一结论未通过验证，回到第一阶段继续计算";
}

template <class N>
FinalPoint<N> ReadPoint(const ReplayState<N>& state, const ColumnLayout& layout) {
  FinalPoint<N> point;
  point.exact_x.assign(static_cast<std::size_t>(layout.variables), N(0));
  const std::vector<N> costs = state.ShownCosts(2);  // c_j as entered
  for (int i = 0; i < state.rows(); ++i) {
    const int b = state.Basic(i);
    if (b >= layout.variables) continue;
    point.exact_x[static_cast<std::size_t>(b)] = state.Rhs(i);
    point.exact_objective += costs[static_cast<std::size_t>(b)] * state.Rhs(i);
  }
  for (const N& value : point.exact_x) point.x.push_back(ReplayNumber<N>::Decimal(value));
  point.objective = ReplayNumber<N>::Decimal(point.exact_objective);
  return point;
}

// Optimal: feasible and no allowed column improves; unbounded: feasible and
// an improving column with no positive entry (and none in a row whose
// artificial variable is basic at 0); infeasible: phase 1 cannot improve
// while an artificial variable is positive.
template <class N>
ExactVerdict JudgeVerdict(const ReplayState<N>& state, int phase) {
  bool nonnegative = true;
  bool artificial_positive = false;
  for (int i = 0; i < state.rows(); ++i) {
    nonnegative = nonnegative && !(state.Rhs(i) < 0);
    artificial_positive =
        artificial_positive || (state.IsArtificial(state.Basic(i)) && state.Rhs(i) > 0);
  }
  if (!nonnegative) return ExactVerdict::Undecided;
  const std::vector<N> row = state.MethodRow(phase);
  bool improves = false;
  for (int j = 0; j < state.columns(); ++j) {
    if (!state.Allowed(j) || !(row[static_cast<std::size_t>(j)] < 0)) continue;
    improves = true;
    bool ray = true;
    for (int i = 0; i < state.rows() && ray; ++i) {
      const bool held = state.IsArtificial(state.Basic(i));
      ray = held ? state.At(i, j) == 0 : !(state.At(i, j) > 0);
    }
    if (ray && phase == 2 && !artificial_positive) return ExactVerdict::Unbounded;
  }
  if (improves) return ExactVerdict::Undecided;
  if (phase == 1) return artificial_positive ? ExactVerdict::Infeasible : ExactVerdict::Undecided;
  return artificial_positive ? ExactVerdict::Undecided : ExactVerdict::Optimal;
}

template <class N>
std::string EndingText(const ReplayState<N>& state, const ColumnLayout& layout,
                       const lp::SimplexResult& result, const RuleInForce& rule,
                       const FinalPoint<N>& point, StepsDocument& doc) {
  std::string text = OutcomeText(state, layout, result, rule, point, doc.sense);
  if (result.bland_pivots > 0)
    text += "其中 " + PlainNumber(static_cast<double>(result.bland_pivots)) +
            " 步为防止循环按最小下标规则选择。";
  if (result.relative_pivots > 0)
    text += "前一结论在原问题上未能验证，计算按相对容差又继续了 " +
            PlainNumber(static_cast<double>(result.relative_pivots)) + " 步。";
  if (result.checked && !result.certified) text += "最终结论未能在原问题上验证。";
  if (ReplayNumber<N>::kExact && doc.verdict != VerdictOf(result.outcome) &&
      VerdictOf(result.outcome) != ExactVerdict::Undecided) {
    text += "按精确计算，这张表并不支持这一结论。";
    doc.verdict_disputed = true;
  }
  return text;
}

template FinalPoint<mpq_class> ReadPoint(const ReplayState<mpq_class>&, const ColumnLayout&);
template FinalPoint<double> ReadPoint(const ReplayState<double>&, const ColumnLayout&);
template ExactVerdict JudgeVerdict(const ReplayState<mpq_class>&, int);
template ExactVerdict JudgeVerdict(const ReplayState<double>&, int);
template std::string EndingText(const ReplayState<mpq_class>&, const ColumnLayout&,
                                const lp::SimplexResult&, const RuleInForce&,
                                const FinalPoint<mpq_class>&, StepsDocument&);
template std::string EndingText(const ReplayState<double>&, const ColumnLayout&,
                                const lp::SimplexResult&, const RuleInForce&,
                                const FinalPoint<double>&, StepsDocument&);

}  // namespace orcalc::steps
