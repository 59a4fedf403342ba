// Laying out the linear-programming sheet and reading it back.
#include "lp/lp_sheet.h"

#include <gtest/gtest.h>

#include "lp_test_support.h"

namespace orcalc::lp {
namespace {

using namespace testing;

TEST(LpSheet, LayoutAndRelayoutKeepTexts) {
  Sheet sheet;
  LayOutSheet(sheet, 5, 6, Sense::Minimise);
  EXPECT_EQ(sheet.rows(), 8);
  EXPECT_EQ(sheet.cols(), 8);
  EXPECT_EQ(sheet.ColumnWidth(0), 1700);
  const std::vector<std::tuple<int, int, std::string>> cells = {
      {0, 0, ""},          {0, 1, "χ1 系数"}, {0, 5, "χ5 系数"}, {0, 6, "约束符号"},
      {0, 7, "常数项"},    {1, 6, " ═ "},     {1, 7, " Min "},   {1, 0, "目标函数系数"},
      {7, 0, "约束方程6"}, {2, 6, ""}};
  for (const auto& [r, c, text] : cells) EXPECT_EQ(sheet.Cell(r, c), text) << r << "," << c;

  // Three variables on a sheet that had five: old cells keep their texts
  // and are read as sign and right-hand side from now on.
  sheet.SetCell(2, 4, "7");
  sheet.SetCell(2, 5, "-9");
  LayOutSheet(sheet, 3, 6, Sense::Maximise);
  EXPECT_EQ(sheet.cols(), 6);
  EXPECT_EQ(sheet.Cell(0, 4), "约束符号");
  EXPECT_EQ(sheet.Cell(1, 5), " Max ");
  EXPECT_EQ(sheet.Cell(2, 4), "7");
  const LpIntake intake = ReadLpSheet(sheet, 3, 6, Sense::Maximise);
  EXPECT_EQ(intake.problem.signs[0], kEqual);
  EXPECT_EQ(intake.problem.rhs[0], 9);

  LayOutSheet(sheet, 0, 0, Sense::Maximise);
  EXPECT_EQ(sheet.rows(), 2);
  EXPECT_EQ(sheet.cols(), 3);
  EXPECT_EQ(sheet.Cell(1, 2), " Max ");
}

TEST(LpSheet, SignCodes) {
  const std::vector<std::pair<std::string, double>> cases = {
      {kLe, kLessEqual}, {kGe, kGreaterEqual}, {kEq, kEqual},
      {"", kEqual},      {"  ", kEqual},       {"=", kEqual},
      {"<=", kEqual},    {"≥ ≤", kLessEqual},  {"═≥", kGreaterEqual}};
  for (const auto& [text, code] : cases) EXPECT_EQ(SignCode(text), code) << text;
}

TEST(LpSheet, ReadsNormalisesAndReadsMissingCellsAsEmpty) {
  const Sheet sheet = MakeSheet(
      2, {"3", "abc"}, {{"2.5abc", "-.5", kLe, "-4"}, {"1", "1", kGe, "0"}, {"-1", "2", "", "-0"}});
  const LpProblem p = ReadLpSheet(sheet, 2, 3, Sense::Minimise).problem;
  EXPECT_EQ(p.objective, (std::vector<double>{3, 0}));
  // Negative right-hand side: the row is negated and its relation flips.
  EXPECT_EQ(p.coefficients, (std::vector<double>{-2.5, 0.5, 1, 1, -1, 2}));
  EXPECT_EQ(p.signs, (std::vector<double>{kGreaterEqual, kGreaterEqual, kEqual}));
  EXPECT_EQ(p.rhs[0], 4);

  // Counts larger than the sheet: the cells beyond it read as empty.
  const LpProblem wide = ReadLpSheet(sheet, 4, 5, Sense::Maximise).problem;
  EXPECT_EQ(wide.objective, (std::vector<double>{3, 0, 0, 0}));  // " ═ ", " Max " read as 0
  EXPECT_EQ(wide.Coefficient(0, 3), -4);
  EXPECT_EQ(wide.signs[4], kEqual);
  EXPECT_EQ(wide.rhs[4], 0);
}

TEST(LpSheet, FirstOverflowingCellStopsTheCalculation) {
  // Reading order: constraint rows top to bottom, left to right, then the
  // objective row; sign cells and the objective row's sign and sense cells
  // are not numbers.
  Sheet sheet =
      MakeSheet(2, {"1e400", "1"},
                {{"1", "1", kLe, "4"}, {"1", "1" + std::string(400, '0'), "1e999", "-1e999"}});
  const std::vector<std::pair<std::pair<int, int>, std::string>> steps = {
      {{3, 2}, "单元格(3,2)的数值超出范围！"},
      {{3, 4}, "单元格(3,4)的数值超出范围！"},
      {{1, 1}, "单元格(1,1)的数值超出范围！"}};
  for (const auto& [cell, message] : steps) {
    const CalculationOutcome outcome = CalculateSheet(sheet, 2, 2, Sense::Maximise);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{message});
    EXPECT_FALSE(outcome.report.has_value());
    sheet.SetCell(cell.first, cell.second, "1e-400");  // underflow reads as 0
  }
  sheet.SetCell(1, 3, "1e999");
  sheet.SetCell(1, 4, "1e999");
  const CalculationOutcome outcome = CalculateSheet(sheet, 2, 2, Sense::Maximise);
  EXPECT_TRUE(outcome.report.has_value());
}

}  // namespace
}  // namespace orcalc::lp
