#include <gtest/gtest.h>

#include "goal/goal_commands.h"
#include "goal/goal_model.h"
#include "goal_test_support.h"

namespace orcalc::goal {
namespace {

using testing::GoalSheet;
using Messages = std::vector<std::string>;

TEST(GoalSheet, LayOutAndRebuild) {
  Sheet sheet;
  sheet.SetCell(0, 0, "corner");
  LayOutSheet(sheet, 2, 5);
  ASSERT_EQ(sheet.rows(), 3);
  ASSERT_EQ(sheet.cols(), 12);
  EXPECT_EQ(sheet.Cell(0, 0), "corner");
  EXPECT_EQ(sheet.Cell(2, 0), "约束方程2");
  EXPECT_EQ(sheet.Cell(0, 5), "χ5 系数");
  sheet.SetCell(1, 4, "7");
  sheet.SetCell(1, 5, "8");

  // Rebuilt for N = 3: the old X4 and X5 numbers stand under new headers,
  // and columns wide in the earlier build stay wide.
  LayOutSheet(sheet, 2, 3);
  const char* headers[] = {"约束符号",       "常数项",         "负偏差权重系数",
                           "负偏差优先等级", "正偏差权重系数", "正偏差优先等级"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(sheet.Cell(0, 4 + k), headers[k]);
  EXPECT_EQ(sheet.Cell(1, 4), "7");
  EXPECT_EQ(sheet.Cell(1, 5), "8");
  const int widths[] = {1700, -1, -1, -1, -1, -1, 1700, 1700, 1700, 1700};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(sheet.ColumnWidth(c), widths[c]) << c;

  LayOutSheet(sheet, 12, 0);  // N = 0: the six fixed columns only
  EXPECT_EQ(sheet.cols(), 7);
  EXPECT_EQ(sheet.Cell(12, 0), "约束方程12");
  EXPECT_EQ(sheet.Cell(0, 1), "约束符号");
}

TEST(GoalIntake, ReadsTheCells) {
  const Sheet sheet = GoalSheet(2, 2,
                                {{"1.5", "-2", " ≥ ", "10", "0.5", "1", "2", "2.5"},
                                 {"x", "3e1", "", "", "", "-0.4", "", "1.5"}});
  GoalModel m = ReadGoalModel(sheet, 2, 2).model;
  EXPECT_EQ(m.levelCount, 2);
  EXPECT_EQ(m.coef, (std::vector<double>{1.5, -2, 0, 30}));
  EXPECT_EQ(m.target, (std::vector<double>{10, 0}));
  EXPECT_EQ(m.negLevel, (std::vector<std::int16_t>{1, 0}));
  EXPECT_EQ(m.posLevel, (std::vector<std::int16_t>{2, 2}));

  // Counts below the sheet's read its upper left with the columns the new
  // N gives (N = 1: target in column 3, D- weight in 4); counts above it
  // read empty cells.
  m = ReadGoalModel(sheet, 1, 1).model;
  EXPECT_EQ(m.target, (std::vector<double>{0}));
  EXPECT_EQ(m.negWeight, (std::vector<double>{10}));
  EXPECT_EQ(ReadGoalModel(sheet, 3, 2).model.target, (std::vector<double>{10, 0, 0}));

  const std::pair<double, int> levels[] = {{3.5, 4},         {-2.5, -2},   {0.5, 0},
                                           {32767.5, 32767}, {1e6, 32767}, {-1e300, -32768}};
  for (const auto& [in, out] : levels) EXPECT_EQ(RoundLevel(in), out) << in;
}

TEST(GoalIntake, OverflowingCellStopsTheCalculation) {
  // The sign column is never read; otherwise the first cell in reading
  // order (row by row; columns 1..N, then N+2..N+6) is named.
  Sheet sheet = GoalSheet(
      2, 2,
      {{"1", "1", "1e999", "10", "1", "1", "0", "0"}, {"1e999", "1", "", "4", "0", "0", "1", "2"}});
  CalculationOutcome out = Calculate({2, 2}, sheet);
  EXPECT_EQ(out.messages, Messages{"单元格(2,1)的数值超出范围！"});
  EXPECT_FALSE(out.report.has_value());
  const std::pair<int, const char*> cells[] = {{8, "(1,8)"}, {4, "(1,4)"}, {2, "(1,2)"}};
  for (const auto& [col, name] : cells) {
    sheet.SetCell(1, col, "-1e400");
    EXPECT_EQ(Calculate({2, 2}, sheet).messages,
              Messages{std::string("单元格") + name + "的数值超出范围！"});
  }
}

}  // namespace
}  // namespace orcalc::goal
