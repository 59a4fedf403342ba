#include "steps/goal_replay.h"

#include <algorithm>

#include "steps/goal_replay_state.h"
#include "steps/goal_step_texts.h"
#include "steps/replay_fallback.h"
#include "steps/step_number_text.h"

namespace orcalc::steps {
namespace {

std::size_t Ix(int i) { return static_cast<std::size_t>(i); }

// Per level 0..L, whether some variable is at that level: the levels whose
// evaluation rows the tables show.
std::vector<char> LevelsWithVariables(const goal::GoalModel& model) {
  std::vector<char> has(Ix(model.level_count + 1), 0);
  auto mark = [&](int level) {
    if (level >= 1 && level <= model.level_count) has[Ix(level)] = 1;
  };
  for (std::int16_t level : model.neg_level) mark(level);
  for (std::int16_t level : model.pos_level) mark(level);
  return has;
}

// The steps worth a table: every pivot, and the end of every level that
// has variables.
std::vector<goal::GoalStepRecord> StepsShown(const GoalStepsInput& input,
                                             const std::vector<char>& has) {
  std::vector<goal::GoalStepRecord> shown;
  for (const goal::GoalStepRecord& record : *input.steps) {
    const bool level_end = record.row < 0;
    const bool counted = record.level >= 1 && record.level < static_cast<int>(has.size()) &&
                         has[Ix(record.level)] != 0;
    if (!level_end || counted || !record.removed.empty()) shown.push_back(record);
  }
  return shown;
}

template <class N>
class GoalReplayer {
 public:
  using Num = ReplayNumber<N>;

  GoalReplayer(const GoalStepsInput& input, StepsDocument& doc, std::function<bool()> stop,
               long most_cells)
      : input_(input),
        doc_(doc),
        stop_(std::move(stop)),
        most_cells_(most_cells),
        levels_(input.model->level_count),
        has_(LevelsWithVariables(*input.model)),
        state_(*input.model, *input.exact) {}

  ReplayEnd Run();

 private:
  bool Keeping() const { return kept_cells_ <= most_cells_; }
  StepTableau Snapshot(bool always = false) const;
  void Keep(bool last);
  bool Step(const goal::GoalStepRecord& record);
  void EndLevel(const goal::GoalStepRecord& record, int next_level);
  void Judge(const goal::GoalStepRecord& record);
  void Finish();

  const GoalStepsInput& input_;
  StepsDocument& doc_;
  std::function<bool()> stop_;
  const long most_cells_;
  const int levels_;
  const std::vector<char> has_;
  GoalReplayState<N> state_;
  int level_ = 0;
  bool smallest_index_ = false;
  StepTableau current_;
  long kept_cells_ = 0;
};

template <class N>
StepTableau GoalReplayer<N>::Snapshot(bool always) const {
  StepTableau t;
  t.phase = 2;
  t.level = level_;
  if (!always && !Keeping()) return t;
  const auto variables = Ix(state_.variables());
  for (int j = 0; j < state_.columns(); ++j)
    if (!state_.Removed(j)) t.shown.push_back(state_.ColumnVariable(j));
  for (int v = 0; v < state_.variables(); ++v) t.costs.push_back(Num::Step(state_.Weight(v)));
  t.cells.assign(Ix(state_.rows()) * variables, Num::Step(N(0)));
  for (int i = 0; i < state_.rows(); ++i) {
    const int basic = state_.RowVariable(i);
    t.basis.push_back(basic);
    t.basis_costs.push_back(Num::Step(state_.Weight(basic)));
    t.rhs.push_back(Num::Step(state_.Value(i)));
    for (int j = 0; j < state_.columns(); ++j) {
      if (!state_.Removed(j))
        t.cells[Ix(i) * variables + Ix(state_.ColumnVariable(j))] = Num::Step(state_.At(i, j));
    }
  }
  const std::vector<std::vector<N>> rows = state_.Evaluations(levels_);
  const std::vector<N> achievements = state_.Achievements(levels_);
  t.sigma.assign(variables, Num::Step(N(0)));
  for (int k = 1; k <= levels_; ++k) {
    if (!has_[Ix(k)]) continue;
    StepEvaluation evaluation{k, {}, Num::Step(achievements[Ix(k)])};
    for (const N& entry : rows[Ix(k)]) evaluation.entries.push_back(Num::Step(entry));
    if (k == level_) {
      t.sigma = evaluation.entries;
      t.objective = evaluation.achievement;
    }
    t.evaluations.push_back(std::move(evaluation));
  }
  t.theta.assign(Ix(state_.rows()), std::nullopt);
  return t;
}

template <class N>
void GoalReplayer<N>::Keep(bool last) {
  if (!Keeping() && !last) {
    ++doc_.tables_left_out;
    return;
  }
  if (!Keeping()) {
    StepTableau table = Snapshot(true);  // the last table is always shown
    table.sentence = std::move(current_.sentence);
    table.round_off = std::move(current_.round_off);
    current_ = std::move(table);
  }
  kept_cells_ += static_cast<long>(current_.cells.size() +
                                   current_.evaluations.size() * current_.sigma.size());
  doc_.tableaux.push_back(std::move(current_));
}

// Whether exact arithmetic makes the choice the calculation made; if not,
// the table says what it would choose.
template <class N>
void GoalReplayer<N>::Judge(const goal::GoalStepRecord& record) {
  if (!Num::kExact) return;
  const int k = GoalEnteringColumn(state_, record.level, record.smallest_index);
  const int r = k < 0 ? -1 : GoalLeavingRow(state_, k, record.smallest_index);
  if (record.row >= 0 && k == record.column && r == record.row) return;
  if (record.row < 0) {
    if (k < 0) {
      // The level is optimal: the columns to remove are those whose entry
      // is below 0.
      const std::vector<N> row = state_.Evaluations(record.level)[Ix(record.level)];
      std::vector<int> exact, calculated;
      for (int j = 0; j < state_.columns(); ++j) {
        const int v = state_.ColumnVariable(j);
        const bool removed =
            std::find(record.removed.begin(), record.removed.end(), j) != record.removed.end();
        if (removed) calculated.push_back(v);
        if (!state_.Removed(j) && row[Ix(v)] < 0) exact.push_back(v);
      }
      if (exact == calculated) return;
      doc_.round_off_swayed = true;
      current_.round_off = RemovalRoundOffSentence(doc_, exact);
      return;
    }
  }
  doc_.round_off_swayed = true;
  current_.round_off = GoalRoundOffSentence(doc_, k < 0 ? -1 : state_.ColumnVariable(k),
                                            r < 0 ? -1 : state_.RowVariable(r));
}

template <class N>
bool GoalReplayer<N>::Step(const goal::GoalStepRecord& record) {
  const int row = record.row, column = record.column;
  if (row >= state_.rows() || column < 0 || column >= state_.columns() ||
      state_.At(row, column) == 0)
    return false;
  smallest_index_ = smallest_index_ || record.smallest_index;
  Judge(record);
  if (!current_.cells.empty()) {
    for (int i = 0; i < state_.rows(); ++i) {
      if (state_.At(i, column) > 0)
        current_.theta[Ix(i)] = Num::Step(N(state_.Value(i) / state_.At(i, column)));
    }
  }
  const int entering = state_.ColumnVariable(column);
  current_.pivot = StepPivot{row, entering};
  current_.sentence =
      GoalPivotSentence(doc_, entering, state_.RowVariable(row),
                        NumberText(Num::Step(state_.At(row, column))), record.smallest_index);
  Keep(false);
  if (!state_.Exchange(row, column, stop_)) return false;
  ++doc_.pivots;
  current_ = Snapshot();
  return true;
}

// The end of a level: the sentence under the table as it stands, the
// columns removed; a new table when a step follows (next_level > 0).
template <class N>
void GoalReplayer<N>::EndLevel(const goal::GoalStepRecord& record, int next_level) {
  Judge(record);
  std::vector<int> removed;
  for (int j : record.removed) {
    if (j < 0 || j >= state_.columns()) continue;
    removed.push_back(state_.ColumnVariable(j));
    state_.Remove(j);
  }
  current_.sentence = LevelEndSentence(doc_, record.level, removed, next_level);
  if (next_level == 0) return;
  Keep(false);
  level_ = next_level;
  current_ = Snapshot();
}

template <class N>
void GoalReplayer<N>::Finish() {
  const std::vector<N> achievements = state_.Achievements(levels_);
  std::vector<N> x(Ix(input_.model->variable_count), N(0));
  for (int i = 0; i < state_.rows(); ++i) {
    const int basic = state_.RowVariable(i);
    if (basic < input_.model->variable_count) x[Ix(basic)] = state_.Value(i);
  }
  std::vector<std::string> values;
  doc_.x.clear();
  for (const N& value : x) {
    doc_.x.push_back(Num::Decimal(value));
    values.push_back(NumberText(Num::Step(value)));
  }
  doc_.achievements.clear();
  std::vector<std::pair<int, std::string>> levels;
  for (int k = 1; k <= levels_; ++k) {
    doc_.achievements.push_back(Num::Decimal(achievements[Ix(k)]));
    if (has_[Ix(k)]) levels.emplace_back(k, NumberText(Num::Step(achievements[Ix(k)])));
  }
  doc_.objective = level_ >= 1 && level_ <= levels_ ? doc_.achievements[Ix(level_ - 1)] : 0.0;
  int unbounded = -1;
  if (input_.outcome == goal::GoalOutcome::PivotTooSmall && level_ >= 1) {
    const int k = GoalEnteringColumn(state_, level_, smallest_index_);
    if (k >= 0 && GoalLeavingRow(state_, k, smallest_index_) < 0)
      unbounded = state_.ColumnVariable(k);
  }
  if (Num::kExact && input_.outcome == goal::GoalOutcome::Optimal)
    doc_.verdict = ExactVerdict::Optimal;
  if (Num::kExact && unbounded >= 0) doc_.verdict = ExactVerdict::Unbounded;
  doc_.ending = GoalEndingText(doc_, input_.outcome, values, levels, unbounded);
  Keep(true);
}

template <class N>
ReplayEnd GoalReplayer<N>::Run() {
  const std::vector<goal::GoalStepRecord> steps = StepsShown(input_, has_);
  level_ = steps.empty() ? 0 : steps.front().level;
  current_ = Snapshot();
  for (std::size_t s = 0; s < steps.size(); ++s) {
    if (stop_ && stop_()) return ReplayEnd::Stopped;
    const goal::GoalStepRecord& record = steps[s];
    if (record.row < 0) {
      EndLevel(record, s + 1 < steps.size() ? steps[s + 1].level : 0);
      continue;
    }
    if (record.level != level_) {
      level_ = record.level;  // a level without a table of its own
      current_.level = level_;
    }
    if (!Step(record)) return stop_ && stop_() ? ReplayEnd::Stopped : ReplayEnd::ZeroPivot;
  }
  // A calculation that stopped short stopped in the level of its last
  // pivot, or in the one after the last level it ended.
  if (input_.outcome != goal::GoalOutcome::Optimal) {
    const std::vector<goal::GoalStepRecord>& all = *input_.steps;
    int level = all.empty() ? 1 : all.back().level + (all.back().row < 0 ? 1 : 0);
    if (level > levels_) level = 0;
    if (level != level_) {
      if (!current_.sentence.empty()) Keep(false);
      level_ = level;
      current_ = Snapshot();
    }
  }
  Finish();
  return ReplayEnd::Done;
}

template <class N>
ReplayEnd Replay(const GoalStepsInput& input, StepsDocument& doc, std::function<bool()> stop,
                 long most_cells) {
  doc.tableaux.clear();
  doc.pivots = 0;
  doc.tables_left_out = 0;
  doc.round_off_swayed = false;
  doc.verdict = ExactVerdict::Undecided;
  doc.exact = ReplayNumber<N>::kExact;
  const ReplayEnd end = GoalReplayer<N>(input, doc, std::move(stop), most_cells).Run();
  if (end == ReplayEnd::Done && doc.tables_left_out > 0) {
    doc.notes.push_back("表太多，表 " + std::to_string(doc.tableaux.size() - 1) + " 之后的 " +
                        std::to_string(doc.tables_left_out) + " 张表从略，只列出最后一张。");
  }
  return end;
}

}  // namespace

StepsDocument ReplayGoalSteps(const GoalStepsInput& input, const ReplayOptions& options) {
  const goal::GoalModel& model = *input.model;
  StepsDocument doc;
  doc.goal = true;
  doc.sense = lp::Sense::Minimise;
  doc.columns = GoalColumns(model);
  doc.legend = GoalLegend(model);
  doc.notes = input.exact->notes;
  const bool small = model.constraint_count <= kMostExactRows &&
                     model.variable_count + model.constraint_count <= kMostExactColumns;
  auto replay_in = [&](auto number) {
    return [&](std::function<bool()> stop) {
      return Replay<decltype(number)>(input, doc, std::move(stop), options.most_kept_cells);
    };
  };
  ReplayExactThenDecimals(doc, options, small, "交换表", replay_in(mpq_class()), replay_in(0.0));
  return doc;
}

}  // namespace orcalc::steps
