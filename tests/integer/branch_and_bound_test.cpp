// Branch and bound on textbook integer programs worked by hand, and the
// search's outcomes other than an optimum.
#include "integer/branch_and_bound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "integer/integer_commands.h"
#include "integer/integer_texts.h"
#include "lp/lp_rows.h"
#include "lp/lp_sheet.h"

namespace orcalc::integer {
namespace {

using lp::EQ;
using lp::GE;
using lp::kMax;
using lp::kMin;
using lp::LE;
constexpr VariableType C = VariableType::Continuous, I = VariableType::Integer,
                       B = VariableType::Binary;

// Assignment of 3 workers to 3 jobs at these costs: χ(3w+j+1) = 1 when
// worker w does job j.
lp::LpProblem Assignment() {
  const std::vector<double> cost = {9, 2, 7, 6, 4, 3, 5, 8, 1};
  std::vector<std::vector<double>> rows;
  for (int k = 0; k < 3; ++k) {
    std::vector<double> worker(11, 0.0), job(11, 0.0);
    for (int l = 0; l < 3; ++l) worker[static_cast<std::size_t>(3 * k + l)] = 1;
    for (int l = 0; l < 3; ++l) job[static_cast<std::size_t>(3 * l + k)] = 1;
    worker[9] = job[9] = EQ;
    worker[10] = job[10] = 1;
    rows.push_back(worker);
    rows.push_back(job);
  }
  return lp::MakeProblem(kMin, cost, rows);
}

TEST(BranchAndBound, TextbookProblems) {
  const struct {
    std::string name;
    lp::LpProblem problem;
    std::vector<VariableType> types;
    double s;
    std::vector<double> x;
  } cases[] = {
      // clang-format off
      // A knapsack of capacity 14: the relaxation's 44 takes 2/3 of item 1.
      {"knapsack", lp::MakeProblem(kMax, {16, 22, 12, 8}, {{5, 7, 4, 3, LE, 14}}), {B, B, B, B}, 42, {0, 1, 1, 1}},
      // The same items any number of times: twice item 2, or twice item 1
      // and item 3 (a tie: no point given).
      {"knapsack of whole numbers", lp::MakeProblem(kMax, {16, 22, 12, 8}, {{5, 7, 4, 3, LE, 14}}), {I, I, I, I}, 44, {}},
      {"assignment", Assignment(), std::vector<VariableType>(9, B), 9, {0, 1, 0, 1, 0, 0, 0, 0, 1}},
      // The relaxation's optimum (13/7, 0) rounds to (2, 0), outside the row.
      {"rounded optimum infeasible", lp::MakeProblem(kMax, {21, 11}, {{7, 4, LE, 13}}), {I, I}, 33, {0, 3}},
      // The relaxation's optimum is near (1.95, 4.92); the whole-number
      // optimum lies at the far end of the region.
      {"optimum far from the relaxation's", lp::MakeProblem(kMax, {1, 0.64}, {{50, 31, LE, 250}, {3, -2, GE, -4}}), {I, I}, 5, {5, 0}},
      // Only χ1 whole: χ2 takes up what the row leaves.
      {"mixed", lp::MakeProblem(kMax, {3, 2}, {{2, 2, LE, 7}, {1, 0, LE, 2.5}}), {I, C}, 9, {2, 1.5}},
      {"minimising with a 0-1 choice", lp::MakeProblem(kMin, {5, 4, 100}, {{1, 1, 0, GE, 2.5}, {1, 0, -10, LE, 0}}), {I, I, B}, 12, {0, 3, 0}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const IntegerResult result = SolveBranchAndBound(lp::Normalised(c.problem), c.types);
    ASSERT_EQ(result.outcome, IntegerOutcome::Optimal);
    ASSERT_TRUE(result.incumbent);
    EXPECT_DOUBLE_EQ(result.incumbent->objective, c.s);
    if (!c.x.empty()) {
      EXPECT_EQ(result.incumbent->x, c.x);
    }
    ASSERT_TRUE(result.best_bound);
    EXPECT_DOUBLE_EQ(*result.best_bound, c.s);
  }
}

TEST(BranchAndBound, OutcomesAndTheirMessages) {
  const lp::LpProblem knapsack = lp::MakeProblem(kMax, {16, 22, 12, 8}, {{5, 7, 4, 3, LE, 14}});
  const struct {
    std::string name;
    lp::LpProblem problem;
    std::vector<VariableType> types;
    long node_limit;
    IntegerOutcome outcome;
    std::vector<std::string> messages;
  } cases[] = {
      // clang-format off
      {"no whole point", lp::MakeProblem(kMax, {1}, {{2, EQ, 1}}), {I}, kDefaultNodeLimit, IntegerOutcome::NoWholeSolution, {kNoWholeSolutionMessage}},
      {"no point at all", lp::MakeProblem(kMin, {1, 1}, {{1, 1, LE, 1}, {1, 1, GE, 2}}), {I, C}, kDefaultNodeLimit, IntegerOutcome::NoWholeSolution, {kNoWholeSolutionMessage}},
      {"0-1 bound leaves no point", lp::MakeProblem(kMax, {1}, {{1, GE, 2}}), {B}, kDefaultNodeLimit, IntegerOutcome::NoWholeSolution, {kNoWholeSolutionMessage}},
      {"unbounded relaxation", lp::MakeProblem(kMax, {1, 1}, {{1, -1, LE, 1}}), {I, I}, kDefaultNodeLimit, IntegerOutcome::RelaxationUnbounded, {kRelaxationUnboundedMessage}},
      {"limit before a whole-number solution", knapsack, {B, B, B, B}, 3, IntegerOutcome::LimitWithoutIncumbent, {kLimitWithoutIncumbentMessage}},
      {"limit after one", knapsack, {B, B, B, B}, 6, IntegerOutcome::LimitWithIncumbent, {kLimitWithIncumbentMessage}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IntegerOptions options;
    options.node_limit = c.node_limit;
    const IntegerResult result = SolveBranchAndBound(lp::Normalised(c.problem), c.types, options);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(IntegerMessages(result), c.messages);
    EXPECT_LE(result.nodes, c.node_limit);
    // A search stopped with a solution keeps a bound no solution can beat.
    if (result.incumbent) {
      EXPECT_GE(*result.best_bound, result.incumbent->objective);
    }
  }
}

TEST(BranchAndBound, StopRequestEndsWithoutReport) {
  Progress progress;
  progress.RequestStop();
  IntegerRequest request;
  request.lp.variables = 2;
  request.lp.constraints = 1;
  request.lp.progress = &progress;
  request.types = {I, I};
  lp::LpIntake intake;
  intake.problem = lp::Normalised(lp::MakeProblem(kMax, {21, 11}, {{7, 4, LE, 13}}));
  const CalculationOutcome outcome = SolveAndReport(request, intake);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_FALSE(outcome.report);
  EXPECT_TRUE(outcome.messages.empty());
}

// The report: the linear-programming report of the whole-number solution,
// then the section with the types, the counts and the tree.
TEST(BranchAndBound, ReportOfTheSearch) {
  IntegerRequest request;
  request.lp.variables = 2;
  request.lp.constraints = 1;
  request.lp.sense = kMax;
  request.types = {I, I};
  lp::LpIntake intake;
  intake.problem = lp::Normalised(lp::MakeProblem(kMax, {21, 11}, {{7, 4, LE, 13}}));
  const CalculationOutcome outcome = SolveAndReport(request, intake);
  ASSERT_TRUE(outcome.report);
  const std::string& report = *outcome.report;
  EXPECT_TRUE(outcome.messages.empty());
  for (const std::string piece :
       {"目标函数值 S = 33\r\n\r\n各变量最优解如下:\r\nχ1 =  0\r\nχ2 =  3\r\n",
        "-------------整数规划-------------\r\n变量类型:\r\nχ1：整数\r\nχ2：整数\r\n",
        "最优界 = 33\r\n差距 = 0（相对差距 0%）\r\n",
        "搜索树:\r\n节点1  松弛问题  S = 39  分支\r\n", "  节点2  χ1 ≥ 2  无可行解\r\n",
        "  节点3  χ1 ≤ 1  S = 37.5  分支\r\n", "整数解\r\n"}) {
    EXPECT_NE(report.find(piece), std::string::npos) << piece << "\n" << report;
  }
}

// Without a whole-number variable the report is the linear program's, byte
// for byte.
TEST(BranchAndBound, AllContinuousIsThePlainCalculation) {
  const lp::LpProblem problem = lp::Normalised(lp::MakeProblem(kMax, {3, 2}, {{2, 2, LE, 7}}));
  IntegerRequest request;
  request.lp.variables = 2;
  request.lp.constraints = 1;
  request.lp.sense = kMax;
  request.types = {C};  // fewer than the variables: the rest continuous
  lp::LpIntake intake;
  intake.problem = problem;
  const CalculationOutcome outcome = SolveAndReport(request, intake);
  const CalculationOutcome plain = lp::SolveAndReport(request.lp, intake);
  EXPECT_EQ(outcome.report, plain.report);
  EXPECT_EQ(outcome.messages, plain.messages);
}

}  // namespace
}  // namespace orcalc::integer
