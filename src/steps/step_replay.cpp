#include "steps/step_replay.h"

#include "steps/replay_fallback.h"
#include "steps/replay_rules.h"
#include "steps/replay_state.h"
#include "steps/step_ending.h"
#include "steps/step_number_text.h"

namespace orcalc::steps {
namespace {

template <class N>
class Replayer {
 public:
  using Num = ReplayNumber<N>;

  Replayer(const StepsInput& input, const ColumnLayout& layout, StepsDocument& doc,
           std::function<bool()> stop, long most_cells, long keep_from)
      : input_(input),
        layout_(layout),
        doc_(doc),
        stop_(std::move(stop)),
        most_cells_(most_cells),
        keep_from_(keep_from),
        state_(input, layout) {}

  ReplayEnd Run();

 private:
  // Whether the next table is kept: from the first one asked for, within
  // the cells allowed.
  bool Keeping() const {
    return static_cast<long>(doc_.summaries.size()) >= keep_from_ && kept_cells_ <= most_cells_;
  }
  TableSummary Summary() const;
  // The table as it stands; only its phase while tables are no longer kept,
  // unless `always`.
  StepTableau Snapshot(bool always = false) const;
  void Keep(bool last);
  void ChangePhase(int phase);
  void StartOver();
  bool Step(const lp::PivotRecord& record);
  void Judge(int column, int row, const RuleInForce& rule);
  void Finish();

  const StepsInput& input_;
  const ColumnLayout& layout_;
  StepsDocument& doc_;
  std::function<bool()> stop_;
  const long most_cells_;
  const long keep_from_;
  ReplayState<N> state_;
  int phase_ = 2;
  RuleInForce last_rule_;
  StepTableau current_;
  long kept_cells_ = 0;
};

template <class N>
StepTableau Replayer<N>::Snapshot(bool always) const {
  StepTableau t;
  t.phase = phase_;
  if (!always && !Keeping()) return t;
  const std::vector<N> costs = state_.ShownCosts(phase_);
  for (int j = 0; j < state_.columns(); ++j) {
    if (phase_ == 1 || !state_.IsArtificial(j)) t.shown.push_back(j);
    if (phase_ == 2 && !state_.IsArtificial(j) && !state_.Allowed(j)) t.barred.push_back(j);
    t.costs.push_back(Num::Step(costs[static_cast<std::size_t>(j)]));
  }
  std::vector<N> z(static_cast<std::size_t>(state_.columns()), N(0));
  N objective(0);
  for (int i = 0; i < state_.rows(); ++i) {
    const N& cb = costs[static_cast<std::size_t>(state_.Basic(i))];
    t.basis.push_back(state_.Basic(i));
    t.basis_costs.push_back(Num::Step(cb));
    t.rhs.push_back(Num::Step(state_.Rhs(i)));
    objective += cb * state_.Rhs(i);
    for (int j = 0; j < state_.columns(); ++j) {
      t.cells.push_back(Num::Step(state_.At(i, j)));
      z[static_cast<std::size_t>(j)] += cb * state_.At(i, j);
    }
  }
  for (int j = 0; j < state_.columns(); ++j) {
    const std::size_t c = static_cast<std::size_t>(j);
    t.sigma.push_back(Num::Step(N(costs[c] - z[c])));
  }
  t.objective = Num::Step(objective);
  t.theta.assign(static_cast<std::size_t>(state_.rows()), std::nullopt);
  return t;
}

template <class N>
TableSummary Replayer<N>::Summary() const {
  TableSummary summary;
  summary.phase = phase_;
  if (current_.pivot) {
    const StepPivot& pivot = *current_.pivot;
    summary.entering = pivot.column;
    summary.leaving = state_.Basic(pivot.row);
    summary.pivot = Num::Decimal(state_.At(pivot.row, pivot.column));
  }
  const std::vector<N> costs = state_.ShownCosts(phase_);
  N objective(0);
  for (int i = 0; i < state_.rows(); ++i)
    objective += costs[static_cast<std::size_t>(state_.Basic(i))] * state_.Rhs(i);
  summary.objective = Num::Decimal(objective);
  return summary;
}

template <class N>
void Replayer<N>::Keep(bool last) {
  current_.number = static_cast<long>(doc_.summaries.size());
  const bool keeping = Keeping();
  doc_.summaries.push_back(Summary());
  if (!keeping && !last) {
    ++doc_.tables_left_out;
    return;
  }
  if (!keeping) {  // the last table is always shown
    const long number = current_.number;
    current_ = Snapshot(true);
    current_.number = number;
  }
  kept_cells_ += static_cast<long>(current_.cells.size());
  doc_.tableaux.push_back(std::move(current_));
}

template <class N>
void Replayer<N>::ChangePhase(int phase) {
  bool positive = false;
  for (int i = 0; i < state_.rows(); ++i)
    positive = positive || (state_.IsArtificial(state_.Basic(i)) && state_.Rhs(i) > 0);
  current_.sentence = PhaseChangeSentence(phase, positive);
  Keep(false);
  state_.EnterPhase(phase, phase == 2 && !last_rule_.carried_on ? N(Num::Epsilon()) : N(0));
  phase_ = phase;
  current_ = Snapshot();
}

// The method set its tableau back to the first one (its own had been
// spoilt by round-off); so does the replay.
template <class N>
void Replayer<N>::StartOver() {
  current_.sentence = "舍入误差使计算中的表不再可信，计算从第一张表重新开始。";
  Keep(false);
  state_ = ReplayState<N>(input_, layout_);
  phase_ = layout_.artificial_begin < state_.columns() ? 1 : 2;
  current_ = Snapshot();
}

template <class N>
void Replayer<N>::Judge(int column, int row, const RuleInForce& rule) {
  if (!Num::kExact) return;
  const int k = EnteringColumn(state_, rule);
  const int r = k < 0 ? -1 : LeavingRow(state_, k, rule);
  if (k == column && r == row) return;
  doc_.round_off_swayed = true;
  current_.round_off = RoundOffSentence(layout_, k, k < 0 || r < 0 ? -1 : state_.Basic(r));
}

template <class N>
bool Replayer<N>::Step(const lp::PivotRecord& record) {
  if (record.from_start) StartOver();
  if (record.phase != phase_) ChangePhase(record.phase);
  const RuleInForce rule{record.phase, record.smallest_index, record.carried_on};
  last_rule_ = rule;
  const int column = layout_.of_method[static_cast<std::size_t>(record.column)];
  const int row = record.row;
  if (column < 0 || state_.At(row, column) == 0) return false;
  Judge(column, row, rule);
  const N floor = RatioFloor(state_, column);
  if (!current_.cells.empty()) {
    for (int i = 0; i < state_.rows(); ++i) {
      if (state_.At(i, column) > floor)
        current_.theta[static_cast<std::size_t>(i)] =
            Num::Step(N(state_.Rhs(i) / state_.At(i, column)));
    }
  }
  current_.pivot = StepPivot{row, column};
  current_.sentence = PivotSentence(layout_, column, state_.Basic(row),
                                    NumberText(Num::Step(state_.At(row, column))),
                                    rule.smallest_index, rule.carried_on);
  Keep(false);
  if (!state_.Pivot(row, column, stop_)) return false;
  ++doc_.pivots;
  current_ = Snapshot();
  return true;
}

template <class N>
void Replayer<N>::Finish() {
  const lp::SimplexResult& result = *input_.result;
  // Phase 1 ended and handed over without a pivot in phase 2.
  const bool handed_over = result.outcome == lp::SimplexOutcome::Optimal ||
                           (result.outcome == lp::SimplexOutcome::Unbounded &&
                            EnteringColumn(state_, {1, false, last_rule_.carried_on}) < 0);
  if (phase_ == 1 && handed_over) ChangePhase(2);
  // Carrying on after phase 2, the method went back to phase 1 and found it
  // stuck there.
  if (phase_ == 2 && result.outcome == lp::SimplexOutcome::Phase1Stuck) ChangePhase(1);
  FinalPoint<N> point = ReadPoint(state_, layout_);
  doc_.x = point.x;
  doc_.objective = point.objective;
  doc_.verdict = Num::kExact ? JudgeVerdict(state_, phase_) : ExactVerdict::Undecided;
  RuleInForce rule = last_rule_;
  rule.phase = phase_;
  rule.smallest_index = false;
  doc_.ending = EndingText(state_, layout_, result, rule, point, doc_);
  Keep(true);
}

template <class N>
ReplayEnd Replayer<N>::Run() {
  const std::vector<lp::PivotRecord>& records = *input_.pivots;
  // Phase 1 runs first whenever a row starts with an artificial variable,
  // also when it ends at once.
  phase_ = layout_.artificial_begin < state_.columns() ? 1 : 2;
  doc_.costs.clear();
  for (const N& cost : state_.ShownCosts(2)) doc_.costs.push_back(Num::Step(cost));
  current_ = Snapshot();
  for (const lp::PivotRecord& record : records) {
    if (stop_ && stop_()) return ReplayEnd::Stopped;
    if (!Step(record)) return stop_ && stop_() ? ReplayEnd::Stopped : ReplayEnd::ZeroPivot;
  }
  Finish();
  return ReplayEnd::Done;
}

}  // namespace

namespace {

// The names of the columns of one kind, runs of three or more as "χ4…χ9".
std::string Names(const ColumnLayout& layout, VariableKind kind) {
  std::vector<int> indexes;
  for (std::size_t j = 0; j < layout.columns.size(); ++j)
    if (layout.columns[j].kind == kind) indexes.push_back(static_cast<int>(j) + 1);
  std::string names;
  for (std::size_t at = 0; at < indexes.size();) {
    std::size_t end = at + 1;
    while (end < indexes.size() && indexes[end] == indexes[end - 1] + 1) ++end;
    if (!names.empty()) names += "、";
    names += VariableName(indexes[at]);
    if (end - at >= 3) {
      names += "…" + VariableName(indexes[end - 1]);
    } else if (end - at == 2) {
      names += "、" + VariableName(indexes[at + 1]);
    }
    at = end;
  }
  return names;
}

std::vector<std::string> Legend(const ColumnLayout& layout, lp::Sense sense) {
  std::vector<std::string> legend;
  std::string kinds = Names(layout, VariableKind::Decision) + " 为决策变量";
  if (layout.variables > 3)
    kinds = VariableName(1) + "…" + VariableName(layout.variables) + " 为决策变量";
  if (layout.variables == 0) kinds = "没有决策变量";
  const std::pair<VariableKind, const char*> others[] = {{VariableKind::Slack, "松弛变量"},
                                                         {VariableKind::Surplus, "剩余变量"},
                                                         {VariableKind::Artificial, "人工变量"}};
  for (const auto& [kind, label] : others) {
    const std::string names = Names(layout, kind);
    if (!names.empty()) kinds += "；" + names + " 为" + label;
  }
  legend.push_back(kinds + "。");
  legend.push_back(
      "检验数 σj = cj − zj，zj = C_B 与 Pj 列的乘积之和；θ = b / 主元列中大于 0 的系数。");
  if (sense == lp::Sense::Maximise) {
    legend.push_back("求最大值：所有 σj ≤ 0 时为最优，σj 最大的变量进基。");
  } else {
    legend.push_back(
        "求最小值（按 cj 原值列表）：所有 σj ≥ 0 时为最优，σj 最小（最负）的变量进基。");
  }
  if (layout.artificial_begin < static_cast<int>(layout.columns.size())) {
    legend.push_back(
        sense == lp::Sense::Maximise
            ? "第一阶段的辅助目标为 max w = −(人工变量之和)，人工变量的 cj 为 −1，其余为 0。"
            : "第一阶段的辅助目标为 min w = 人工变量之和，人工变量的 cj 为 1，其余为 0。");
  }
  return legend;
}

std::vector<std::string> ReadingNotes(const ExactProblem& exact) {
  std::vector<std::string> notes;
  for (int row : exact.flipped)
    notes.push_back("约束方程" + std::to_string(row) +
                    "的右端项为负，已两边乘以 −1（不等号方向随之改变）。");
  notes.insert(notes.end(), exact.notes.begin(), exact.notes.end());
  return notes;
}

template <class N>
ReplayEnd Replay(const StepsInput& input, const ColumnLayout& layout, StepsDocument& doc,
                 std::function<bool()> stop, long most_cells, long keep_from) {
  doc.tableaux.clear();
  doc.summaries.clear();
  doc.pivots = 0;
  doc.tables_left_out = 0;
  doc.round_off_swayed = false;
  doc.verdict_disputed = false;
  doc.exact = ReplayNumber<N>::kExact;
  const ReplayEnd end =
      Replayer<N>(input, layout, doc, std::move(stop), most_cells, keep_from).Run();
  if (end == ReplayEnd::Done && doc.tables_left_out > 0) doc.notes.push_back(LeftOutNote(doc));
  return end;
}

}  // namespace

std::string LeftOutNote(const StepsDocument& doc) {
  const std::string left_out = std::to_string(doc.tables_left_out) + " 张表从略";
  const std::size_t kept = doc.tableaux.size();
  if (kept == 0) return "表太多，" + left_out + "。";
  if (doc.tableaux.front().number == 0)
    return "表太多，表 " + std::to_string(kept - 1) + " 之后的 " + left_out + "，只列出最后一张。";
  // A page: from the table asked for, as many as the cells allow, and the last.
  auto title = [&doc](std::size_t at) {
    return "表 " + std::to_string(doc.tableaux[at].number + 1);
  };
  std::string listed = title(0);
  if (kept >= 2 && doc.tableaux[kept - 2].number + 1 == doc.tableaux[kept - 1].number) {
    listed += " 至" + title(kept - 1);
  } else if (kept >= 2) {
    if (kept > 2) listed += " 至" + title(kept - 2);
    listed += " 和最后的" + title(kept - 1);
  }
  return "表太多，这里只列出" + listed + "，其余 " + left_out + "。";
}

StepsDocument ReplaySteps(const StepsInput& input, const ReplayOptions& options) {
  const ColumnLayout layout = LayOutColumns(*input.problem);
  StepsDocument doc;
  doc.sense = input.problem->sense;
  doc.columns = layout.columns;
  doc.legend = Legend(layout, doc.sense);
  doc.notes = ReadingNotes(*input.exact);
  const bool small = input.problem->constraints <= kMostExactRows &&
                     static_cast<int>(layout.columns.size()) <= kMostExactColumns;
  auto replay_in = [&](auto number) {
    return [&](std::function<bool()> stop) {
      return Replay<decltype(number)>(input, layout, doc, std::move(stop), options.most_kept_cells,
                                      options.keep_from);
    };
  };
  ReplayExactThenDecimals(doc, options, small, "单纯形表", replay_in(mpq_class()), replay_in(0.0));
  return doc;
}

}  // namespace orcalc::steps
