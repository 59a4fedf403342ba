// The worked examples by hand: every table's sentence, the last table's
// right-hand sides and the ending, in exact fractions.
#include <gtest/gtest.h>

#include "steps/step_number_text.h"
#include "steps_support.h"

namespace orcalc::steps {
namespace {

using lp::Sense;
using Rows = std::vector<std::vector<std::string>>;
constexpr Sense kMax = Sense::Maximise, kMin = Sense::Minimise;

struct WorkedCase {
  const char* name;
  Sense sense;
  std::vector<std::string> objective;
  Rows rows;
  std::vector<std::string> sentences;  // one per table, the last one's empty
  std::vector<std::string> last_rhs;   // b of the last table
  std::string ending;                  // a part of the ending
  ExactVerdict verdict;
};

// clang-format off
const WorkedCase kWorked[] = {
    {"one pivot", kMax, {"3", "2"}, {{"1", "1", "<=", "4"}, {"1", "3", "<=", "6"}},
     {"χ1 进基，χ3 出基，主元为 1", ""}, {"4", "2"},
     "已达最优：χ1 = 4，χ2 = 0，目标函数值 S = 12。", ExactVerdict::Optimal},
    {"two pivots", kMax, {"2", "3"}, {{"2", "1", "<=", "4"}, {"1", "2", "<=", "5"}},
     {"χ2 进基，χ4 出基，主元为 2", "χ1 进基，χ3 出基，主元为 3/2", ""}, {"1", "2"},
     "χ1 = 1，χ2 = 2，目标函数值 S = 8", ExactVerdict::Optimal},
    {"two phases", kMin, {"2", "3"}, {{"1", "1", ">=", "4"}, {"1", "2", "=", "6"}},
     {"χ2 进基，χ5 出基，主元为 2", "χ1 进基，χ4 出基，主元为 1/2",
      "第一阶段结束：人工变量均已为 0，去掉人工变量，换回原目标函数，转入第二阶段", ""}, {"2", "2"},
     "所有检验数 σj ≥ 0，已达最优：χ1 = 2，χ2 = 2，目标函数值 S = 10", ExactVerdict::Optimal},
    {"decimal texts", kMax, {"0.1", "0.2"}, {{"0.1", "0.3", "<=", "0.7"}},
     {"χ2 进基，χ3 出基，主元为 3/10", "χ1 进基，χ2 出基，主元为 1/3", ""}, {"7"},
     "目标函数值 S = 7/10", ExactVerdict::Optimal},
    {"negative right-hand side", kMin, {"1", "1"}, {{"-1", "-1", "<=", "-2"}},
     {"χ1 进基，χ4 出基，主元为 1",
      "第一阶段结束：人工变量均已为 0，去掉人工变量，换回原目标函数，转入第二阶段", ""}, {"2"},
     "目标函数值 S = 2", ExactVerdict::Optimal},
    {"unbounded", kMax, {"1", "0"}, {{"1", "-1", "<=", "1"}}, {"χ1 进基，χ3 出基，主元为 1", ""},
     {"1"}, "χ2 应进基，但该列没有大于 0 的系数", ExactVerdict::Unbounded},
    {"infeasible", kMax, {"1"}, {{"1", "<=", "1"}, {"1", ">=", "3"}},
     {"χ1 进基，χ2 出基，主元为 1", ""}, {"1", "2"}, "原问题没有可行解（无最优解！）",
     ExactVerdict::Infeasible},
    // 0.3/0.1 is 2.9999999999999996 in doubles: the second row wins a tie
    // that exact arithmetic gives to the first.
    {"round-off tie", kMax, {"1"}, {{"1", "<=", "3"}, {"0.1", "<=", "0.3"}},
     {"χ1 进基，χ3 出基，主元为 1/10", ""}, {"0", "3"}, "目标函数值 S = 3", ExactVerdict::Optimal},
    // 0 = 1 after normalising: phase 1 cannot move, hands over, and the
    // calculation, carrying on, finds phase 1 stuck.
    {"row of zeros", kMax, {"5", "0"}, {{"0", "0", "=", "-1"}, {"8", "4", "<=", "28"}},
     {"第一阶段结束：已无可进基的变量，但人工变量仍有正值；按计算的规则转入第二阶段",
      "χ1 进基，χ3 出基，主元为 8", "前一结论未通过验证，回到第一阶段继续计算", ""},
     {"1", "7/2"}, "原问题没有可行解", ExactVerdict::Infeasible},
};
// clang-format on

// max 2χ1 + 3χ2; 2χ1 + χ2 ≤ 4; χ1 + 2χ2 ≤ 5: two pivots, the second 3/2.
StepsRun TwoPivots(const ReplayOptions& options = {}, long iteration_limit = 1000000) {
  return RunSteps(MakeSheet(kMax, {"2", "3"}, {{"2", "1", "<=", "4"}, {"1", "2", "<=", "5"}}), 2, 2,
                  kMax, options, iteration_limit);
}

TEST(StepsWorked, TablesSentencesAndEnding) {
  for (const WorkedCase& c : kWorked) {
    const int m = static_cast<int>(c.objective.size());
    const int n = static_cast<int>(c.rows.size());
    const StepsRun run = RunSteps(MakeSheet(c.sense, c.objective, c.rows), m, n, c.sense);
    const StepsDocument& doc = run.doc;
    ASSERT_TRUE(doc.exact) << c.name;
    ASSERT_EQ(doc.tableaux.size(), c.sentences.size()) << c.name;
    for (std::size_t t = 0; t < c.sentences.size(); ++t)
      EXPECT_EQ(doc.tableaux[t].sentence, c.sentences[t]) << c.name << ", table " << t + 1;
    const StepTableau& last = doc.tableaux.back();
    std::vector<std::string> rhs;
    for (const StepNumber& b : last.rhs) rhs.push_back(NumberText(b));
    EXPECT_EQ(rhs, c.last_rhs) << c.name;
    EXPECT_NE(doc.ending.find(c.ending), std::string::npos) << c.name << ": " << doc.ending;
    EXPECT_EQ(doc.verdict, c.verdict) << c.name;
    EXPECT_EQ(doc.pivots, run.solved.result.pivots) << c.name;
  }
}

TEST(StepsWorked, TwoPivotsThroughTheMiddleTable) {
  const StepsRun run = TwoPivots();
  ASSERT_EQ(run.doc.tableaux.size(), 3u);
  const StepTableau& middle = run.doc.tableaux[1];
  const std::size_t columns = run.doc.columns.size();
  EXPECT_EQ(NumberText(middle.rhs[0]), "3/2");
  EXPECT_EQ(NumberText(middle.rhs[1]), "5/2");
  EXPECT_EQ(NumberText(middle.objective), "15/2");
  EXPECT_EQ(NumberText(middle.Cell(0, 0, columns)), "3/2");  // the pivot
  ASSERT_TRUE(middle.pivot);
  EXPECT_EQ(middle.pivot->row, 0);
  EXPECT_EQ(middle.pivot->column, 0);
  const StepTableau& last = run.doc.tableaux[2];
  EXPECT_EQ(NumberText(last.Cell(0, 2, columns)), "2/3");
  EXPECT_EQ(NumberText(last.Cell(0, 3, columns)), "-1/3");
  EXPECT_EQ(NumberText(last.Cell(1, 3, columns)), "2/3");
  EXPECT_EQ(NumberText(last.sigma[3]), "-4/3");
  EXPECT_EQ(NumberText(last.objective), "8");
}

TEST(StepsWorked, RoundOffSwayedChoiceIsNamed) {
  const StepsRun run =
      RunSteps(MakeSheet(kMax, {"1"}, {{"1", "<=", "3"}, {"0.1", "<=", "0.3"}}), 1, 2, kMax);
  ASSERT_FALSE(run.doc.tableaux.empty());
  const StepTableau& first = run.doc.tableaux.front();
  // The doubles' ratios 3 and 2.9999999999999996 let the second row leave;
  // exact arithmetic ties them and keeps the earlier row.
  EXPECT_EQ(first.sentence, "χ1 进基，χ3 出基，主元为 1/10");
  EXPECT_EQ(first.round_off, "此步的选择受舍入误差影响，精确计算应选 χ1 进基，χ2 出基");
  EXPECT_TRUE(run.doc.round_off_swayed);
}

TEST(StepsWorked, DecimalsWhenAskedOrTooLarge) {
  ReplayOptions decimals;
  decimals.fractions = false;
  const StepsRun run = TwoPivots(decimals);
  EXPECT_FALSE(run.doc.exact);
  EXPECT_EQ(NumberText(run.doc.tableaux[1].rhs[0]), "1.5");
  EXPECT_EQ(run.doc.tableaux.size(), 3u);

  // 60 rows of x1 + x2 <= i: beyond the rows fractions are shown for.
  Rows rows;
  for (int i = 1; i <= 60; ++i) rows.push_back({"1", "1", "<=", std::to_string(i)});
  const StepsRun large = RunSteps(MakeSheet(kMax, {"1", "1"}, rows), 2, 60, kMax);
  EXPECT_FALSE(large.doc.exact);
  ASSERT_FALSE(large.doc.notes.empty());
  EXPECT_NE(large.doc.notes.back().find("以小数显示"), std::string::npos);
  EXPECT_EQ(large.doc.pivots, large.solved.result.pivots);
}

TEST(StepsWorked, OutOfTimeShowsDecimals) {
  ReplayOptions no_time;
  no_time.exact_seconds = 0;
  const StepsRun run = TwoPivots(no_time);
  EXPECT_FALSE(run.doc.exact);
  EXPECT_FALSE(run.doc.stopped);
  ASSERT_FALSE(run.doc.notes.empty());
  EXPECT_EQ(run.doc.notes.back(),
            "精确分数的计算超过了 0 秒，以下改以小数显示（与计算相同的步骤）。");
  EXPECT_EQ(run.doc.pivots, 2);
}

TEST(StepsWorked, IterationLimitEndsOnTheLastTable) {
  const StepsRun run = TwoPivots({}, 2);
  EXPECT_EQ(run.doc.pivots, 1);
  EXPECT_EQ(run.doc.tableaux.size(), 2u);
  EXPECT_EQ(run.doc.ending, "达到迭代次数上限，计算停止；最后一张表不是最优表。");
}

// Beale's example cycles under the most-negative rule; the calculation
// notices the basis it has seen and hands over to the smallest-index rule.
TEST(StepsWorked, CyclingGuardIsShown) {
  const StepsRun run = RunSteps(MakeSheet(kMax, {"0.75", "-20", "0.5", "-6"},
                                          {{"0.25", "-8", "-1", "9", "<=", "0"},
                                           {"0.5", "-12", "-0.5", "3", "<=", "0"},
                                           {"0", "0", "1", "0", "<=", "1"}}),
                                4, 3, kMax);
  const StepsDocument& doc = run.doc;
  ASSERT_GE(doc.tableaux.size(), 8u);
  EXPECT_EQ(doc.tableaux[0].sentence, "χ1 进基，χ5 出基，主元为 1/4");
  EXPECT_EQ(doc.tableaux[6].sentence,
            "χ1 进基，χ5 出基，主元为 1/4（为防止循环，按最小下标规则选择）");
  EXPECT_FALSE(doc.round_off_swayed);
  EXPECT_NE(doc.ending.find("S = 5/4。其中 5 步为防止循环按最小下标规则选择。"), std::string::npos)
      << doc.ending;
  EXPECT_EQ(doc.verdict, ExactVerdict::Optimal);
}

TEST(StepsWorked, TablesBeyondTheBudgetAreLeftOutButTheLast) {
  ReplayOptions small;
  small.most_kept_cells = 10;  // each table of this problem holds 8 cells
  const StepsRun run = TwoPivots(small);
  ASSERT_EQ(run.doc.tableaux.size(), 3u);  // the first two, then the last
  EXPECT_EQ(run.doc.tables_left_out, 0);
  small.most_kept_cells = 7;
  const StepsRun fewer = TwoPivots(small);
  ASSERT_EQ(fewer.doc.tableaux.size(), 2u);
  EXPECT_EQ(fewer.doc.tables_left_out, 1);
  EXPECT_EQ(NumberText(fewer.doc.tableaux.back().objective), "8");
  EXPECT_EQ(fewer.doc.notes.back(), "表太多，表 1 之后的 1 张表从略，只列出最后一张。");
}

// A later page of the tables (as the window asks for a large problem's)
// holds the same tables as the whole replay, numbered as there, and every
// table is in the list of steps, kept or not.
TEST(StepsWorked, ALaterPageHoldsTheSameTablesAndTheListHoldsThemAll) {
  const StepsRun whole = TwoPivots();
  ReplayOptions page;
  page.keep_from = 1;
  page.most_kept_cells = 1;  // one table, then the last
  const StepsRun later = TwoPivots(page);
  ASSERT_EQ(later.doc.tableaux.size(), 2u);
  EXPECT_EQ(later.doc.tables_left_out, 1);
  for (const StepTableau& table : later.doc.tableaux) {
    const StepTableau& same = whole.doc.tableaux[static_cast<std::size_t>(table.number)];
    EXPECT_EQ(table.sentence, same.sentence);
    EXPECT_EQ(NumberText(table.objective), NumberText(same.objective));
  }
  EXPECT_EQ(later.doc.tableaux.front().number, 1);
  std::vector<std::string> notes = whole.doc.notes;
  notes.push_back("表太多，这里只列出表 2 至表 3，其余 1 张表从略。");
  EXPECT_EQ(later.doc.notes, notes);
  ASSERT_EQ(later.doc.summaries.size(), 3u);
  const std::vector<std::pair<int, int>> pivots = {{1, 3}, {0, 2}, {-1, -1}};  // entering, leaving
  const std::vector<double> objectives = {0, 7.5, 8};
  for (std::size_t k = 0; k < 3; ++k) {
    const TableSummary& s = later.doc.summaries[k];
    EXPECT_EQ(std::make_pair(s.entering, s.leaving), pivots[k]) << k;
    EXPECT_DOUBLE_EQ(s.objective, objectives[k]) << k;
  }
  EXPECT_DOUBLE_EQ(later.doc.summaries[1].pivot, 1.5);
}

// The note says which tables a page lists when some after it are left out.
TEST(StepsWorked, APageWithAGapBeforeTheLastNamesItsTables) {
  StepsDocument doc;
  doc.tables_left_out = 7;
  for (long number : {4, 5, 6, 11}) {
    doc.tableaux.emplace_back();
    doc.tableaux.back().number = number;
  }
  EXPECT_EQ(LeftOutNote(doc), "表太多，这里只列出表 5 至表 7 和最后的表 12，其余 7 张表从略。");
  doc.tableaux.erase(doc.tableaux.begin() + 1, doc.tableaux.begin() + 3);
  EXPECT_EQ(LeftOutNote(doc), "表太多，这里只列出表 5 和最后的表 12，其余 7 张表从略。");
}

TEST(StepsWorked, LegendNamesEachKindOfVariable) {
  const StepsRun run = RunSteps(MakeSheet(kMax, {"1", "1", "1", "1"},
                                          {{"1", "0", "0", "0", "<=", "1"},
                                           {"0", "1", "0", "0", "<=", "1"},
                                           {"0", "0", "1", "0", ">=", "1"},
                                           {"0", "0", "0", "1", "<=", "1"},
                                           {"1", "1", "1", "1", "=", "3"}}),
                                4, 5, kMax);
  ASSERT_FALSE(run.doc.legend.empty());
  EXPECT_EQ(run.doc.legend.front(),
            "χ1…χ4 为决策变量；χ5、χ6、χ8 为松弛变量；χ7 为剩余变量；χ9、χ10 为人工变量。");
}

TEST(StepsWorked, StopAskedEndsTheReplay) {
  ReplayOptions stop;
  stop.should_stop = [] { return true; };
  const StepsRun run = TwoPivots(stop);
  EXPECT_TRUE(run.doc.stopped);
}

}  // namespace
}  // namespace orcalc::steps
