// The linear-programming report, byte for byte, through the Calculate command.
#include <gtest/gtest.h>

#include "lp/lp_commands.h"
#include "lp/simplex_solver.h"
#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

using testing::CrLfLines;
using testing::kEq;
using testing::kGe;
using testing::kLe;
using testing::MakeSheet;

CalculationOutcome Solve(const Sheet& sheet, int m, int n, Sense sense) {
  LpRequest request;
  request.variables = m;
  request.constraints = n;
  request.sense = sense;
  return Calculate(request, sheet);
}

TEST(LpReport, WorkedExampleByteForByte) {
  const Sheet sheet = MakeSheet(2, {"3", "2"}, {{"1", "1", kLe, "4"}, {"1", "3", kLe, "6"}});
  const CalculationOutcome outcome = Solve(sheet, 2, 2, Sense::Maximise);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_EQ(outcome.title, "");
  ASSERT_TRUE(outcome.report.has_value());
  EXPECT_EQ(*outcome.report, CrLfLines({
                                 "---------线性规划计算结果---------",
                                 "变量数m=2",
                                 "约束方程数n=2",
                                 "目标函数去极大值：p=1",
                                 "----------------------------------",
                                 "",
                                 "目标函数为:",
                                 " Max z = 3χ1 + 2χ2 ",
                                 "",
                                 "",
                                 "约束方程如下:",
                                 "1*χ1 +  1*χ2 ≤  4",
                                 "1*χ1 +  3*χ2 ≤  6",
                                 "",
                                 "",
                                 "目标函数值 S = 12",
                                 "",
                                 "各变量最优解如下:",
                                 "χ1 =  4",
                                 "χ2 =  0",
                             }));
}

TEST(LpReport, MinimumSenseFollowsTheRequestNotTheSenseCell) {
  // Laid out for maximum, calculated as minimum: the request decides.
  const Sheet sheet = MakeSheet(2, {"3", "2"}, {{"1", "1", kLe, "4"}, {"1", "3", kLe, "6"}},
                                Sense::Maximise);
  const CalculationOutcome outcome = Solve(sheet, 2, 2, Sense::Minimise);
  const std::string& text = *outcome.report;
  EXPECT_NE(text.find("\r\n目标函数去极小值：p=-1\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n Min z = 3χ1 + 2χ2 \r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n目标函数值 S = 0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nχ1 =  0\r\nχ2 =  0\r\n"), std::string::npos);
  EXPECT_TRUE(outcome.messages.empty());
}

TEST(LpReport, ConstraintLinesOmitZeroTermsAndEchoNormalisedRows) {
  const Sheet sheet = MakeSheet(3, {"1", "1", "1"},
                                {{"1", "0", "3", kLe, "10"},
                                 {"2", "1", "0", kLe, "-4"},
                                 {"0", "0", "2", kEq, "5"},
                                 {"0.5", "-0.5", "0.5", "", "0.5"},
                                 {"1", "", "1", "=", "0"}});
  const CalculationOutcome outcome = Solve(sheet, 3, 5, Sense::Minimise);
  const std::string& text = *outcome.report;
  const std::string expected_constraints = CrLfLines({
      "约束方程如下:",
      "1*χ1 +  3*χ3 ≤  10",
      "-2*χ1 + -1*χ2 +  0*χ3 ≥  4",
      " 2*χ3 ═  5",
      "0.5*χ1 + -0.5*χ2 +  .5*χ3 ═  .5",
      "1*χ1 +  1*χ3 ═  0",
  });
  EXPECT_NE(text.find(expected_constraints), std::string::npos) << text;
}

TEST(LpReport, NoVariablesOrNoConstraints) {
  // m = 0: the objective line is the label alone; constraint lines carry
  // the relation and the right-hand side only.
  Sheet sheet;
  LayOutSheet(sheet, 0, 2, Sense::Maximise);
  sheet.SetCell(2, 1, kLe);
  sheet.SetCell(2, 2, "3");
  sheet.SetCell(3, 1, kGe);
  sheet.SetCell(3, 2, "-1");
  CalculationOutcome outcome = Solve(sheet, 0, 2, Sense::Maximise);
  EXPECT_EQ(*outcome.report, CrLfLines({
                                 "---------线性规划计算结果---------",
                                 "变量数m=0",
                                 "约束方程数n=2",
                                 "目标函数去极大值：p=1",
                                 "----------------------------------",
                                 "",
                                 "目标函数为:",
                                 " Max z = ",
                                 "",
                                 "",
                                 "约束方程如下:",
                                 " ≤  3",
                                 " ≤  1",
                                 "",
                                 "",
                                 "目标函数值 S = 0",
                                 "",
                                 "各变量最优解如下:",
                             }));
  EXPECT_TRUE(outcome.messages.empty());

  // n = 0: lines 9 to 11 stay, with no constraint line after them.
  Sheet free_sheet;
  LayOutSheet(free_sheet, 1, 0, Sense::Minimise);
  free_sheet.SetCell(1, 1, "2");
  outcome = Solve(free_sheet, 1, 0, Sense::Minimise);
  EXPECT_NE(outcome.report->find(" Min z = 2χ1 \r\n\r\n\r\n约束方程如下:\r\n\r\n\r\n目标函数值 S = 0\r\n"),
            std::string::npos)
      << *outcome.report;
}

TEST(LpReport, NumberFormsInResults) {
  // Maximise x1 - 16 x2 with 2 x1 <= 1 and x2 >= 0.5: S = 0.5 - 8.
  Sheet sheet = MakeSheet(2, {"1", "-16"}, {{"2", "0", kLe, "1"}, {"0", "1", kGe, "0.5"}});
  CalculationOutcome outcome = Solve(sheet, 2, 2, Sense::Maximise);
  const std::string& text = *outcome.report;
  EXPECT_NE(text.find("目标函数值 S = -7.5\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("χ1 =  .5\r\nχ2 =  .5\r\n"), std::string::npos) << text;
  EXPECT_TRUE(outcome.messages.empty());

  // The decimal separator reaches plain number texts only.
  const LpRequest request{2, 2, Sense::Maximise, std::string(1, ','), kIterationLimit};
  outcome = Calculate(request, sheet);
  EXPECT_NE(outcome.report->find("目标函数值 S = -7,5\r\n"), std::string::npos);
  EXPECT_NE(outcome.report->find("χ1 =  .5\r\n"), std::string::npos);
}

TEST(LpReport, ReportIsCompleteAfterSolverMessages) {
  // Maximise x1 with only x1 - x2 <= 1: unbounded after one pivot.
  Sheet sheet = MakeSheet(2, {"1", "0"}, {{"1", "-1", kLe, "1"}});
  CalculationOutcome outcome = Solve(sheet, 2, 1, Sense::Maximise);
  EXPECT_EQ(outcome.messages, std::vector<std::string>{"无解！"});
  EXPECT_TRUE(outcome.report->ends_with(
      CrLfLines({"目标函数值 S = 1", "", "各变量最优解如下:", "χ1 =  1", "χ2 =  0"})));
}

}  // namespace
}  // namespace orcalc::lp
