// The pivot the user picks, judged and made on the exact tables.
#include "steps/pivot_exercise.h"

#include <gtest/gtest.h>

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
  const char* name;
  const StepsDocument& (*doc)();
  std::size_t table;
  StepPivot pick;
  PivotVerdict verdict;
  const char* sentence;
};

const PickCase kPicks[] = {
    {"the method's own", Worked, 0, {0, 0}, PivotVerdict::Accepted, ""},
    {"another improving column", Worked, 0, {1, 1}, PivotVerdict::Accepted, ""},
    {"ratio not smallest",
     Worked,
     0,
     {1, 0},
     PivotVerdict::RatioNotSmallest,
     "θ 不是最小，换基后会有负的基变量值"},
    {"basic column", Worked, 0, {0, 2}, PivotVerdict::NotImproving, "该列检验数不能使目标函数改善"},
    {"at the optimum",
     Worked,
     1,
     {1, 1},
     PivotVerdict::NotImproving,
     "该列检验数不能使目标函数改善"},
    {"negative entry",
     Unbounded,
     1,
     {0, 1},
     PivotVerdict::NotPositive,
     "主元必须大于 0，该元素不能作主元"},
};

class PickTest : public ::testing::TestWithParam<PickCase> {};

TEST_P(PickTest, JudgedAsATeacherWould) {
  const PickCase& c = GetParam();
  const StepsDocument& doc = c.doc();
  const PivotJudgement judgement = JudgePivot(doc, doc.tableaux.at(c.table), c.pick);
  EXPECT_EQ(judgement.verdict, c.verdict);
  EXPECT_EQ(judgement.sentence, c.sentence);
}

INSTANTIATE_TEST_SUITE_P(Picks, PickTest, ::testing::ValuesIn(kPicks), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name)
    if (ch == ' ' || ch == '\'') ch = '_';
  return name;
});

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
  EXPECT_EQ(ExerciseEnding(doc, table), "所有检验数 σj ≤ 0，已达最优。");
  EXPECT_EQ(ExerciseEnding(Unbounded(), Unbounded().tableaux[1]),
            "χ2 的检验数可改善目标函数，但该列没有正的系数：目标函数无界。");
}

}  // namespace
}  // namespace orcalc::steps
