#include <gtest/gtest.h>

#include "common/number_text.h"
#include "goal/goal_commands.h"
#include "goal_test_support.h"

namespace orcalc::goal {
namespace {

using testing::GoalSheet;
using testing::Lines;
using Messages = std::vector<std::string>;

const std::string kOptimal = "---------OPTIMAL SOLUSION 最优解! -------------";
const std::string kValues = "VALUE OF COAL ACHEVEMEN VECORT AGE 目标值:";

std::string Header(int m, int n) {
  return Lines({"-------目标规划结果输出--------------", "约束方程数 M=" + std::to_string(m),
                "变量个数 N=" + std::to_string(n), "优先等级数 L=" + std::to_string(n),
                "================约束方程=================="});
}

TEST(GoalReport, WorkedExampleByteForByte) {
  const CalculationOutcome out = Calculate({2, 2}, testing::WorkedExampleSheet());
  EXPECT_TRUE(out.messages.empty());
  EXPECT_EQ(out.title, "目标规划计算结果");
  const std::string third =
      Lines({"循环次数:3次", kValues, "L=:2", "变量解值", "X( 1)= 4", "X( 2)= 6", "负偏差变量值：",
             "D( 1)- = 0", "D( 2)- = 0", "正偏差变量值：", "D( 1)+ = 0", "D( 2)+ = 0"});
  EXPECT_EQ(*out.report, Header(2, 2) +
                             Lines({"约束方程1: 1 * X1 + 1 * X2 + (D1+) - (D1-) = 10",
                                    "约束方程2: 1 * X1 + 0 * X2 + (D2+) - (D2-) = 4",
                                    "循环次数:1次",
                                    kValues,
                                    "L=:2",
                                    "GOAL  P( 1)= ---- = 6",
                                    "变量解值",
                                    "X( 1)= 4",
                                    "X( 2)= 0",
                                    "负偏差变量值：",
                                    "D( 1)- = 6",
                                    "D( 2)- = 0",
                                    "正偏差变量值：",
                                    "D( 1)+ = 0",
                                    "D( 2)+ = 0",
                                    "循环次数:2次",
                                    kValues,
                                    "L=:2",
                                    "GOAL  P( 2)= ---- = 6",
                                    "变量解值",
                                    "X( 1)= 10",
                                    "X( 2)= 0",
                                    "负偏差变量值：",
                                    "D( 1)- = 0",
                                    "D( 2)- = 0",
                                    "正偏差变量值：",
                                    "D( 1)+ = 0",
                                    "D( 2)+ = 6"}) +
                             third + Lines({kOptimal}) + third);
}

TEST(GoalReport, EmptyCountsAndNumberTexts) {
  // N = 0: no terms, no level, no X lines. M = 0: no goal lines at all.
  EXPECT_EQ(*Calculate({1, 0}, GoalSheet(1, 0, {{"", "10", "1", "1"}})).report,
            Header(1, 0) + Lines({"约束方程1: (D1+) - (D1-) = 10", kOptimal, "循环次数:0次",
                                  kValues, "L=:0", "变量解值", "负偏差变量值：", "D( 1)- = 10",
                                  "正偏差变量值：", "D( 1)+ = 0"}));
  EXPECT_EQ(*Calculate({0, 1}, GoalSheet(0, 1, {})).report,
            Header(0, 1) + Lines({kOptimal, "循环次数:0次", kValues, "L=:1", "变量解值", "X( 1)= 0",
                                  "负偏差变量值：", "正偏差变量值："}));

  // Echo in plain texts with the separator; results in signed texts, with
  // 0.1 + 0.2 at one level written " .3".
  const GoalRequest request{2, 1, ","};
  EXPECT_EQ(*Calculate(request,
                       GoalSheet(2, 1, {{"-2", "", "0.1", "1", "1"}, {"0", "", "0.2", "1", "1"}}))
                 .report,
            Header(2, 1) + Lines({"约束方程1: -2 * X1 + (D1+) - (D1-) = 0,1",
                                  "约束方程2: 0 * X1 + (D2+) - (D2-) = 0,2", kOptimal,
                                  "循环次数:0次", kValues, "L=:1", "GOAL  P( 1)= ---- = .3",
                                  "变量解值", "X( 1)= 0", "负偏差变量值：", "D( 1)- = .1",
                                  "D( 2)- = .2", "正偏差变量值：", "D( 1)+ = 0", "D( 2)+ = 0"}));
}

TEST(GoalReport, StopsWithoutTheClosingLine) {
  // D1- weighted −2 rewards an ever larger shortfall: the first pivot check
  // fails, only the final block follows, the negative sum without a blank.
  CalculationOutcome out = Calculate({1, 1}, GoalSheet(1, 1, {{"1", "", "1", "-2", "1"}}));
  EXPECT_EQ(out.messages, Messages{"ROUNED ERROR IN SOLUSION"});
  EXPECT_EQ(*out.report,
            Header(1, 1) + Lines({"约束方程1: 1 * X1 + (D1+) - (D1-) = 1", "循环次数:0次", kValues,
                                  "L=:1", "GOAL  P( 1)= ---- =-2", "变量解值", "X( 1)= 0",
                                  "负偏差变量值：", "D( 1)- = 1", "正偏差变量值：", "D( 1)+ = 0"}));

  // Cycling: six blocks, no closing line, the final block repeats the sixth.
  Sheet sheet;
  LayOutSheet(sheet, 4, 4);
  const auto goals = testing::CyclingGoals();
  for (int i = 0; i < 4; ++i) {
    const auto& g = goals[static_cast<std::size_t>(i)];
    const double cells[] = {g.a[0],      g.a[1],
                            g.a[2],      g.a[3],
                            0,           g.b,
                            g.negWeight, double(g.negLevel),
                            g.posWeight, double(g.posLevel)};
    for (int c = 0; c < 10; ++c) sheet.SetCell(i + 1, c + 1, PlainNumber(cells[c]));
  }
  out = Calculate({4, 4}, sheet);
  EXPECT_EQ(out.messages, Messages{"计算出现循环，停止计算！"});
  const std::string& report = *out.report;
  const std::size_t sixth = report.find("\r\n循环次数:6次");
  const std::size_t last = report.find("\r\n循环次数:6次", sixth + 1);
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(report.substr(sixth, last - sixth), report.substr(last));

  GoalRequest limited{2, 2};
  limited.pivot_limit = 1;
  out = Calculate(limited, testing::WorkedExampleSheet());
  EXPECT_EQ(out.messages, Messages{"循环次数超过32767次，停止计算！"});
  EXPECT_EQ(out.report->find(kOptimal), std::string::npos);
}

TEST(GoalReport, LevelsBeyondTwenty) {
  // Goals i = 1..22: Xi = 1, shortfall at level i; goal 23 forbids every X
  // at level 1, so each level keeps a shortfall of 1 and is listed.
  const int n = 22;
  Sheet sheet;
  LayOutSheet(sheet, n + 1, n);
  for (int i = 1; i <= n; ++i) {
    for (int c : {i, n + 2, n + 3}) sheet.SetCell(i, c, "1");
    sheet.SetCell(i, n + 4, std::to_string(i));
    sheet.SetCell(n + 1, i, "1");
  }
  sheet.SetCell(n + 1, n + 5, "2");
  sheet.SetCell(n + 1, n + 6, "1");
  const std::string report = *Calculate({n + 1, n}, sheet).report;
  const std::size_t final_block = report.find(kOptimal);
  ASSERT_NE(final_block, std::string::npos);
  for (int k = 1; k <= n; ++k) {
    const std::string line = "\r\nGOAL  P( " + std::to_string(k) + ")= ---- = 1\r\n";
    EXPECT_NE(report.find(line, final_block), std::string::npos) << k;
  }
}

}  // namespace
}  // namespace orcalc::goal
