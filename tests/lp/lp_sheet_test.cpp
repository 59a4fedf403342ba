// Laying out the linear-programming sheet and reading it back.
#include <gtest/gtest.h>

#include "lp/lp_sheet.h"
#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

using testing::kEq;
using testing::kGe;
using testing::kLe;
using testing::MakeSheet;

TEST(LpLayout, StartUpCountsOnAFreshSheet) {
  Sheet sheet;
  LayOutSheet(sheet, 5, 6, Sense::Minimise);
  EXPECT_EQ(sheet.rows(), 8);
  EXPECT_EQ(sheet.cols(), 8);
  EXPECT_EQ(sheet.ColumnWidth(0), 1700);
  EXPECT_EQ(sheet.ColumnWidth(1), Sheet::kDefaultWidth);
  EXPECT_EQ(sheet.Cell(0, 0), "");
  EXPECT_EQ(sheet.Cell(0, 1), "χ1 系数");
  EXPECT_EQ(sheet.Cell(0, 5), "χ5 系数");
  EXPECT_EQ(sheet.Cell(0, 6), "约束符号");
  EXPECT_EQ(sheet.Cell(0, 7), "常数项");
  EXPECT_EQ(sheet.Cell(1, 0), "目标函数系数");
  EXPECT_EQ(sheet.Cell(2, 0), "约束方程1");
  EXPECT_EQ(sheet.Cell(7, 0), "约束方程6");
  EXPECT_EQ(sheet.Cell(1, 6), " ═ ");
  EXPECT_EQ(sheet.Cell(1, 7), " Min ");
  EXPECT_EQ(sheet.Cell(2, 6), "");  // signs are left to the user
}

TEST(LpLayout, EmptyProblem) {
  Sheet sheet;
  LayOutSheet(sheet, 0, 0, Sense::Maximise);
  EXPECT_EQ(sheet.rows(), 2);
  EXPECT_EQ(sheet.cols(), 3);
  EXPECT_EQ(sheet.Cell(0, 1), "约束符号");
  EXPECT_EQ(sheet.Cell(0, 2), "常数项");
  EXPECT_EQ(sheet.Cell(1, 1), " ═ ");
  EXPECT_EQ(sheet.Cell(1, 2), " Max ");
}

TEST(LpLayout, RelayoutKeepsTextsAndTheyAreReadAgain) {
  Sheet sheet;
  LayOutSheet(sheet, 5, 2, Sense::Maximise);
  sheet.SetCell(2, 4, "7");
  sheet.SetCell(2, 5, "-9");
  sheet.SetCell(3, 6, kLe);
  sheet.SetCell(3, 1, "1");
  LayOutSheet(sheet, 3, 2, Sense::Maximise);
  EXPECT_EQ(sheet.cols(), 6);
  EXPECT_EQ(sheet.Cell(0, 4), "约束符号");
  EXPECT_EQ(sheet.Cell(0, 5), "常数项");
  EXPECT_EQ(sheet.Cell(1, 4), " ═ ");
  EXPECT_EQ(sheet.Cell(2, 4), "7");  // kept, now read as a sign: equality
  EXPECT_EQ(sheet.Cell(3, 1), "1");
  EXPECT_EQ(sheet.Cell(1, 5), " Max ");

  const LpIntake intake = ReadLpSheet(sheet, 3, 2, Sense::Maximise);
  EXPECT_EQ(intake.problem.signs[0], kEqual);
  EXPECT_EQ(intake.problem.rhs[0], 9);  // -9, normalised
  // Growing back: the cells that were cut are gone, new cells are empty.
  LayOutSheet(sheet, 5, 2, Sense::Maximise);
  EXPECT_EQ(sheet.Cell(3, 6), "");
  EXPECT_EQ(sheet.Cell(0, 4), "χ4 系数");
}

TEST(LpIntake, SignCodes) {
  EXPECT_EQ(SignCode(kLe), kLessEqual);
  EXPECT_EQ(SignCode(kGe), kGreaterEqual);
  EXPECT_EQ(SignCode(kEq), kEqual);
  EXPECT_EQ(SignCode(""), kEqual);
  EXPECT_EQ(SignCode("   "), kEqual);
  EXPECT_EQ(SignCode("="), kEqual);
  EXPECT_EQ(SignCode("<="), kEqual);
  EXPECT_EQ(SignCode("x≥y"), kGreaterEqual);
  EXPECT_EQ(SignCode("≥ ≤"), kLessEqual);  // ≤ wins over ≥
  EXPECT_EQ(SignCode("═≥"), kGreaterEqual);
}

TEST(LpIntake, ReadsCellsAndNormalisesRightHandSides) {
  const Sheet sheet = MakeSheet(2, {"3", "abc"},
                                {{"2.5abc", "-.5", kLe, "-4"},
                                 {"1", "1", kGe, "0"},
                                 {"-1", "2", "", "-0"}});
  const LpIntake intake = ReadLpSheet(sheet, 2, 3, Sense::Minimise);
  ASSERT_FALSE(intake.overflow);
  const LpProblem& p = intake.problem;
  EXPECT_EQ(p.sense, -1.0);
  EXPECT_EQ(p.objective, (std::vector<double>{3, 0}));
  // A <= row with a negative right-hand side turns into a >= row.
  EXPECT_EQ(p.Coefficient(0, 0), -2.5);
  EXPECT_EQ(p.Coefficient(0, 1), 0.5);
  EXPECT_EQ(p.signs[0], kGreaterEqual);
  EXPECT_EQ(p.rhs[0], 4);
  // A zero (or negative zero) right-hand side keeps the row as entered.
  EXPECT_EQ(p.Coefficient(1, 0), 1);
  EXPECT_EQ(p.signs[1], kGreaterEqual);
  EXPECT_EQ(p.Coefficient(2, 0), -1);
  EXPECT_EQ(p.signs[2], kEqual);
}

TEST(LpIntake, CountsBeyondTheSheetReadEmptyCells) {
  const Sheet sheet = MakeSheet(1, {"1"}, {{"1", kLe, "4"}});
  // Three variables and three constraints on a 1 x 1 sheet: the extra
  // cells read as 0 and the extra rows as equalities 0 = 0.
  const LpIntake intake = ReadLpSheet(sheet, 3, 3, Sense::Maximise);
  ASSERT_FALSE(intake.overflow);
  const LpProblem& p = intake.problem;
  EXPECT_EQ(p.objective, (std::vector<double>{1, 0, 0}));
  // The old sign column is now variable 2's column; row 1's sign cell is (2, 4).
  EXPECT_EQ(p.Coefficient(0, 1), 0);  // " ≤ " reads as 0
  EXPECT_EQ(p.Coefficient(0, 2), 4);
  EXPECT_EQ(p.signs[0], kEqual);
  EXPECT_EQ(p.rhs[0], 0);
  EXPECT_EQ(p.signs[2], kEqual);
  EXPECT_EQ(p.rhs[2], 0);

  LpRequest request;
  request.variables = 3;
  request.constraints = 3;
  request.sense = Sense::Maximise;
  const CalculationOutcome outcome = Calculate(request, sheet);
  ASSERT_TRUE(outcome.report.has_value());
  EXPECT_NE(outcome.report->find("约束方程数n=3"), std::string::npos);
}

TEST(LpIntake, FirstOverflowingCellInReadingOrderStopsEverything) {
  Sheet sheet = MakeSheet(2, {"1e400", "1"},
                          {{"1", "1", kLe, "4"}, {"1", "1" + std::string(400, '0'), kLe, "-1e999"}});
  sheet.SetCell(3, 3, "1e999 ≤");  // the sign cell is not read as a number
  LpRequest request;
  request.variables = 2;
  request.constraints = 2;
  request.sense = Sense::Maximise;
  CalculationOutcome outcome = Calculate(request, sheet);
  // Constraint rows come before the objective row; left to right within.
  EXPECT_EQ(outcome.messages, std::vector<std::string>{"单元格(3,2)的数值超出范围！"});
  EXPECT_FALSE(outcome.report.has_value());

  sheet.SetCell(3, 2, "1");
  outcome = Calculate(request, sheet);
  EXPECT_EQ(outcome.messages, std::vector<std::string>{"单元格(3,4)的数值超出范围！"});
  EXPECT_FALSE(outcome.report.has_value());

  sheet.SetCell(3, 4, "1e-400");  // underflow is a number (0), not an overflow
  outcome = Calculate(request, sheet);
  EXPECT_EQ(outcome.messages, std::vector<std::string>{"单元格(1,1)的数值超出范围！"});

  // The objective row's sign and sense cells are never read.
  sheet.SetCell(1, 1, "1");
  sheet.SetCell(1, 3, "1e999");
  sheet.SetCell(1, 4, "1e999");
  outcome = Calculate(request, sheet);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_TRUE(outcome.report.has_value());
}

TEST(LpIntake, CountsAreKeptWithinRange) {
  Sheet sheet;
  LayOutSheet(sheet, -3, 900, Sense::Maximise);
  EXPECT_EQ(sheet.cols(), 3);
  EXPECT_EQ(sheet.rows(), 502);
  LpRequest request;
  request.variables = -1;
  request.constraints = -7;
  const CalculationOutcome outcome = Calculate(request, sheet);
  ASSERT_TRUE(outcome.report.has_value());
  EXPECT_NE(outcome.report->find("变量数m=0\r\n约束方程数n=0\r\n"), std::string::npos);
}

}  // namespace
}  // namespace orcalc::lp
