// The pivot the user picks, judged and made on the exact tables.
#include "steps/pivot_exercise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "common/test_support.h"
#include "steps_support.h"

namespace orcalc::steps {
namespace {

StepsDocument Document(lp::Sense sense, const std::vector<std::string>& objective,
                       const std::vector<std::vector<std::string>>& rows) {
  const Sheet sheet = MakeSheet(sense, objective, rows);
  return RunSteps(sheet, static_cast<int>(objective.size()), static_cast<int>(rows.size()), sense)
      .doc;
}

// max 3χ1 + 2χ2; χ1 + χ2 ≤ 4; χ1 + 3χ2 ≤ 6 (χ3, χ4 the slack variables).
const StepsDocument& Worked() {
  static const StepsDocument doc =
      Document(lp::Sense::Maximise, {"3", "2"}, {{"1", "1", "<=", "4"}, {"1", "3", "<=", "6"}});
  return doc;
}

// max χ1; χ1 − χ2 ≤ 1: after χ1 enters, χ2 improves but has no positive entry.
const StepsDocument& Unbounded() {
  static const StepsDocument doc =
      Document(lp::Sense::Maximise, {"1", "0"}, {{"1", "-1", "<=", "1"}});
  return doc;
}

struct PickCase {
  const char* what;
  const StepsDocument& (*doc)();
  std::size_t table;
  StepPivot pick;
  PivotVerdict verdict;
  const char* sentence;
};

const PickCase kPicks[] = {
    // clang-format off
    {"the method's own", Worked, 0, {0, 0}, PivotVerdict::Accepted, ""},
    {"another improving column", Worked, 0, {1, 1}, PivotVerdict::Accepted, ""},
    {"ratio not smallest", Worked, 0, {1, 0}, PivotVerdict::RatioNotSmallest, "θ 不是最小，换基后会有负的基变量值"},
    {"basic column", Worked, 0, {0, 2}, PivotVerdict::NotImproving, "该列检验数不能使目标函数改善"},
    {"at the optimum", Worked, 1, {1, 1}, PivotVerdict::NotImproving, "该列检验数不能使目标函数改善"},
    {"negative entry", Unbounded, 1, {0, 1}, PivotVerdict::NotPositive, "主元必须大于 0，该元素不能作主元"},
    // clang-format on
};

class PickTest : public ::testing::TestWithParam<PickCase> {};

TEST_P(PickTest, JudgedAsATeacherWould) {
  const PickCase& c = GetParam();
  const StepsDocument& doc = c.doc();
  const PivotJudgement judgement = JudgePivot(doc, doc.tableaux.at(c.table), c.pick);
  EXPECT_EQ(judgement.verdict, c.verdict);
  EXPECT_EQ(judgement.sentence, c.sentence);
}

INSTANTIATE_TEST_SUITE_P(Picks, PickTest, ::testing::ValuesIn(kPicks), RowName());

// The textbook's pivots made one after another give the replay's tables.
TEST(PivotExercise, TheTextbooksPivotsRebuildTheReplay) {
  const StepsDocument doc =
      Document(lp::Sense::Maximise, {"2", "3"}, {{"2", "1", "<=", "4"}, {"1", "2", "<=", "5"}});
  ASSERT_EQ(doc.tableaux.size(), 3u);
  StepTableau table = doc.tableaux[0];
  for (std::size_t k = 1; k < doc.tableaux.size(); ++k) {
    const std::optional<StepPivot> pick = TextbookPivot(doc, table);
    ASSERT_TRUE(pick);
    EXPECT_EQ(pick->row, doc.tableaux[k - 1].pivot->row);
    EXPECT_EQ(pick->column, doc.tableaux[k - 1].pivot->column);
    StepTableau next = PerformPivot(doc, table, *pick);
    EXPECT_EQ(table.sentence, doc.tableaux[k - 1].sentence);
    const StepTableau& expected = doc.tableaux[k];
    EXPECT_EQ(next.basis, expected.basis);
    for (std::size_t i = 0; i < next.cells.size(); ++i)
      EXPECT_EQ(next.cells[i].exact, expected.cells[i].exact) << i;
    for (std::size_t j = 0; j < next.sigma.size(); ++j)
      EXPECT_EQ(next.sigma[j].exact, expected.sigma[j].exact) << j;
    EXPECT_EQ(next.objective.exact, expected.objective.exact);
    table = std::move(next);
  }
  EXPECT_FALSE(TextbookPivot(doc, table));
  EXPECT_EQ(ExerciseEnding(doc, table),
            "所有检验数 σj ≤ 0，已达最优：χ1 = 1，χ2 = 2，目标函数值 S = 8。");
  EXPECT_EQ(ExerciseEnding(Unbounded(), Unbounded().tableaux[1]),
            "χ2 的检验数可改善目标函数，但该列没有正的系数：目标函数无界。");
}

// The textbook's pivots, taken as the user's, from the first table to the
// end; the tables and the ending.
ExerciseStep Exercise(const StepsDocument& doc, std::vector<StepTableau>& tables) {
  tables = {doc.tableaux.front()};
  ExerciseStep step;
  while (const std::optional<StepPivot> pick = TextbookPivot(doc, tables.back())) {
    EXPECT_EQ(JudgePivot(doc, tables.back(), *pick).verdict, PivotVerdict::Accepted);
    step = TakeExerciseStep(doc, tables.back(), *pick);
    for (StepTableau& table : step.tables) tables.push_back(std::move(table));
    if (!step.ending.empty() || tables.size() > 20) break;
  }
  return step;
}

// min 2χ1 + 3χ2; χ1 + χ2 ≥ 4; χ1 + 2χ2 = 6: the user's pivots end phase 1,
// and phase 2 starts from the user's table with the costs as entered.
TEST(PivotExercise, TheUsersPivotsCarryPhaseOneIntoPhaseTwo) {
  const StepsDocument doc =
      Document(lp::Sense::Minimise, {"2", "3"}, {{"1", "1", ">=", "4"}, {"1", "2", "=", "6"}});
  std::vector<StepTableau> tables;
  const ExerciseStep last = Exercise(doc, tables);
  EXPECT_EQ(last.ending, "所有检验数 σj ≥ 0，已达最优：χ1 = 2，χ2 = 2，目标函数值 S = 10。");
  ASSERT_GE(tables.size(), 3u);
  const auto second =
      std::find_if(tables.begin(), tables.end(), [](const StepTableau& t) { return t.phase == 2; });
  ASSERT_NE(second, tables.end());
  EXPECT_EQ(std::prev(second)->sentence,
            "第一阶段结束：人工变量均已为 0，去掉人工变量，换回原目标函数，转入第二阶段");
  for (int j : second->shown)
    EXPECT_NE(doc.columns[static_cast<std::size_t>(j)].kind, VariableKind::Artificial);
  EXPECT_TRUE(second->barred.empty());
  EXPECT_EQ(tables.back().objective.exact, mpq_class(10));
  EXPECT_EQ(tables.back().objective.exact, doc.tableaux.back().objective.exact);
}

// χ1 + χ2 = 1; χ1 + χ2 + χ3 = 1. Taking χ1 in the second row (a tie of
// ratios) leaves the first row's artificial variable basic at 0 with −1
// under χ3: phase 2 bars χ3, whose entry would make it positive.
TEST(PivotExercise, PhaseTwoBarsAColumnThatWouldRaiseAnArtificialVariable) {
  const StepsDocument doc = Document(lp::Sense::Maximise, {"0", "1", "1"},
                                     {{"1", "1", "0", "=", "1"}, {"1", "1", "1", "=", "1"}});
  StepTableau first = doc.tableaux.front();
  ASSERT_EQ(JudgePivot(doc, first, {1, 0}).verdict, PivotVerdict::Accepted);
  ExerciseStep step = TakeExerciseStep(doc, first, {1, 0});
  ASSERT_EQ(step.tables.size(), 2u);
  StepTableau& second = step.tables[1];
  EXPECT_EQ(second.phase, 2);
  EXPECT_EQ(second.barred, std::vector<int>{2});
  EXPECT_NE(step.tables[0].sentence.find("χ3 进基会使仍在基中的人工变量取正值"), std::string::npos);
  const PivotJudgement refused = JudgePivot(doc, second, {1, 2});
  EXPECT_EQ(refused.verdict, PivotVerdict::Barred);
  EXPECT_EQ(refused.sentence, "该列进基会使仍在基中的人工变量取正值，第二阶段不能选它");
  const std::optional<StepPivot> pick = TextbookPivot(doc, second);
  ASSERT_TRUE(pick);
  EXPECT_EQ(pick->column, 1);
  step = TakeExerciseStep(doc, second, *pick);
  EXPECT_EQ(step.tables.back().objective.exact, mpq_class(1));
  EXPECT_EQ(step.tables.back().barred, std::vector<int>{2});
  EXPECT_EQ(step.ending, "所有检验数 σj ≤ 0，已达最优：χ1 = 0，χ2 = 1，χ3 = 0，目标函数值 S = 1。");
}

// max χ1; χ1 ≤ 1; χ1 ≥ 3: phase 1 ends with an artificial variable positive.
TEST(PivotExercise, PhaseOneEndingAboveZeroSaysThereIsNoFeasiblePoint) {
  const StepsDocument doc =
      Document(lp::Sense::Maximise, {"1"}, {{"1", "<=", "1"}, {"1", ">=", "3"}});
  std::vector<StepTableau> tables;
  const ExerciseStep last = Exercise(doc, tables);
  EXPECT_EQ(tables.back().phase, 1);
  EXPECT_EQ(last.ending,
            "第一阶段已无可进基的变量，人工变量仍有正值，原问题没有可行解（无最优解！）。");
}

}  // namespace
}  // namespace orcalc::steps
