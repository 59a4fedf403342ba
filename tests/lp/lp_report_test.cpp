// The linear-programming report, byte for byte, through the Calculate command.
#include <gtest/gtest.h>

#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

using namespace testing;

// Every "\n" of `text` as CR LF.
std::string CrLf(std::string_view text) {
  std::string out;
  for (char c : text) c == '\n' ? out.append("\r\n") : out.append(1, c);
  return out;
}

TEST(LpReport, WorkedExampleByteForByte) {
  const Sheet sheet = MakeSheet(2, {"3", "2"}, {{"1", "1", kLe, "4"}, {"1", "3", kLe, "6"}});
  const CalculationOutcome outcome = CalculateSheet(sheet, 2, 2, Sense::Maximise);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_EQ(outcome.title, "");
  EXPECT_EQ(outcome.report, CrLf(R"(---------线性规划计算结果---------
变量数m=2
约束方程数n=2
目标函数去极大值：p=1
----------------------------------

目标函数为:
 Max z = 3χ1 + 2χ2 


约束方程如下:
1*χ1 +  1*χ2 ≤  4
1*χ1 +  3*χ2 ≤  6


目标函数值 S = 12

各变量最优解如下:
χ1 =  4
χ2 =  0
)"));
}

TEST(LpReport, EchoOfNormalisedRows) {
  // Minimised although the sheet says Max: the request decides.
  const Sheet sheet = MakeSheet(3, {"1", "-16", "0"},
                                {{"1", "0", "3", kLe, "10"},
                                 {"2", "1", "0", kLe, "-4"},
                                 {"0", "0", "2", kEq, "5"},
                                 {"0.5", "-0.5", "0.5", "", "0.5"}});
  const CalculationOutcome outcome = CalculateSheet(sheet, 3, 4, Sense::Minimise);
  EXPECT_NE(outcome.report->find(CrLf(R"(目标函数去极小值：p=-1
----------------------------------

目标函数为:
 Min z = 1χ1 + -16χ2 + 0χ3 


约束方程如下:
1*χ1 +  3*χ3 ≤  10
-2*χ1 + -1*χ2 +  0*χ3 ≥  4
 2*χ3 ═  5
0.5*χ1 + -0.5*χ2 +  .5*χ3 ═  .5


目标函数值 S = )")),
            std::string::npos)
      << *outcome.report;

  // The regional separator reaches plain number texts only.
  const CalculationOutcome comma =
      Calculate(LpRequest{3, 4, Sense::Minimise, std::string(1, ','), 1000000}, sheet);
  EXPECT_NE(comma.report->find("\r\n0,5*χ1 + -0,5*χ2 +  .5*χ3 ═  .5\r\n"), std::string::npos);
}

TEST(LpReport, NoVariablesOrNoConstraints) {
  // m = 0: the label alone; constraint lines hold relation and right-hand side.
  Sheet sheet;
  LayOutSheet(sheet, 0, 2, Sense::Maximise);
  for (auto [row, sign, rhs] : {std::tuple{2, kLe, "3"}, std::tuple{3, kGe, "-1"}}) {
    sheet.SetCell(row, 1, sign);
    sheet.SetCell(row, 2, rhs);
  }
  CalculationOutcome outcome = CalculateSheet(sheet, 0, 2, Sense::Maximise);
  EXPECT_TRUE(
      outcome.report->ends_with(CrLf("目标函数为:\n Max z = \n\n\n约束方程如下:\n ≤  3\n ≤  "
                                     "1\n\n\n目标函数值 S = 0\n\n各变量最优解如下:\n")));

  // n = 0: no constraint line, the blank lines stay.
  Sheet free_sheet = MakeSheet(1, {"2"}, {});
  outcome = CalculateSheet(free_sheet, 1, 0, Sense::Minimise);
  EXPECT_TRUE(outcome.report->ends_with(CrLf(
      " Min z = 2χ1 \n\n\n约束方程如下:\n\n\n目标函数值 S = 0\n\n各变量最优解如下:\nχ1 =  0\n")));
}

}  // namespace
}  // namespace orcalc::lp
