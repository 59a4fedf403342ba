// The statistics command over both sheet kinds: which cells it reads, the
// report it writes byte for byte, and its messages.
#include "stats/stats_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orcalc::stats {
namespace {

constexpr const char* kNoColumn = "您没有选择要统计数据的列！请在要统计的数据列上单击后再统计！";
constexpr const char* kTooFew = "样本数必须大于2 ";
constexpr const char* kZeroVariance = "当方差为 0 时不能计算斜差和峰态!";

// A sheet with `values` in column `col`, starting at grid row `first_row`.
Sheet SheetWithColumn(int col, int first_row, const std::vector<std::string>& values,
                      int extra_rows = 0) {
  Sheet sheet(first_row + static_cast<int>(values.size()) + extra_rows, col + 2);
  for (std::size_t i = 0; i < values.size(); ++i) {
    sheet.SetCell(first_row + static_cast<int>(i), col, values[i]);
  }
  return sheet;
}

StatsRequest Request(int column, int count, SheetKind kind) {
  StatsRequest request;
  request.column = column;
  request.count = count;
  request.kind = kind;
  return request;
}

// The ten result lines in order (label followed by its value text).
std::string Results(const std::vector<std::string>& values) {
  static const char* const labels[] = {"样本数=", "平均值=", "标准差=", "平均差=", "方  差=",
                                       "斜  差=", "峰  态=", "最小值=", "最大值=", "中位数="};
  std::string text;
  for (std::size_t i = 0; i < 10; ++i) text += std::string(labels[i]) + values[i] + "\r\n";
  return text;
}

TEST(StatsReport, FourSamplesOnTheGoalSheetByteForByte) {
  const Sheet sheet = SheetWithColumn(2, 1, {"1", "2", "3", "4"});
  const CalculationOutcome outcome = Calculate(Request(2, 4, SheetKind::GoalProgramming), sheet);

  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_EQ(outcome.title, "统计结果");
  ASSERT_TRUE(outcome.report);
  EXPECT_EQ(*outcome.report,
            "共有样本数：4\r\n"
            "第1个样本值 χ1 ＝ 1\r\n"
            "第2个样本值 χ2 ＝ 2\r\n"
            "第3个样本值 χ3 ＝ 3\r\n"
            "第4个样本值 χ4 ＝ 4\r\n" +
                Results({"4", "2.5", "1.29099444873581", "1", "1.66666666666667", "0", "-2.0775",
                         "1", "4", "2.5"}));
}

TEST(StatsReport, FiveSamplesOnTheLinearSheetKeepSheetOrderAndSkipTheObjectiveRow) {
  // Row 1 is the objective row: a value there must never become a sample.
  Sheet sheet = SheetWithColumn(3, 2, {"3", "1", "4", "1", "5"});
  sheet.SetCell(1, 3, "1000");
  const CalculationOutcome outcome =
      Calculate(Request(3, 5, SheetKind::LinearProgramming), sheet);

  EXPECT_TRUE(outcome.messages.empty());
  ASSERT_TRUE(outcome.report);
  EXPECT_EQ(*outcome.report,
            "共有样本数：5\r\n"
            "第1个样本值 χ1 ＝ 3\r\n"
            "第2个样本值 χ2 ＝ 1\r\n"
            "第3个样本值 χ3 ＝ 4\r\n"
            "第4个样本值 χ4 ＝ 1\r\n"
            "第5个样本值 χ5 ＝ 5\r\n" +
                Results({"5", "2.8", "1.78885438199983", "1.44", "3.2", "0.0251557647468729",
                         "-2.091875", "1", "5", "3"}));
}

TEST(StatsReport, RowsReadDependOnTheSheetKind) {
  // Rows 1..4 hold 10, 20, 30, 40 in column 1. With N = 3 the goal sheet
  // reads rows 1..3, the linear sheet rows 2..4.
  const Sheet sheet = SheetWithColumn(1, 1, {"10", "20", "30", "40"});
  const auto goal = Calculate(Request(1, 3, SheetKind::GoalProgramming), sheet);
  const auto linear = Calculate(Request(1, 3, SheetKind::LinearProgramming), sheet);
  ASSERT_TRUE(goal.report && linear.report);
  EXPECT_NE(goal.report->find("χ1 ＝ 10\r\n"), std::string::npos);
  EXPECT_NE(goal.report->find("χ3 ＝ 30\r\n"), std::string::npos);
  EXPECT_NE(goal.report->find("中位数=20\r\n"), std::string::npos);
  EXPECT_NE(linear.report->find("χ1 ＝ 20\r\n"), std::string::npos);
  EXPECT_NE(linear.report->find("χ3 ＝ 40\r\n"), std::string::npos);
  EXPECT_NE(linear.report->find("中位数=30\r\n"), std::string::npos);
}

TEST(StatsReport, SignTextsEmptyCellsAndCellsBeyondTheSheetReadAsZero) {
  // Rows 1..3 hold a sign text, nothing and a text with no number; rows 4
  // and 5 do not exist on this sheet.
  const Sheet sheet = SheetWithColumn(1, 1, {" ≤ ", "", "abc"});
  const auto outcome = Calculate(Request(1, 5, SheetKind::GoalProgramming), sheet);
  ASSERT_TRUE(outcome.report);
  EXPECT_EQ(outcome.messages, std::vector<std::string>{kZeroVariance});
  for (int i = 1; i <= 5; ++i) {
    const std::string line = "χ" + std::to_string(i) + " ＝ 0\r\n";
    EXPECT_NE(outcome.report->find(line), std::string::npos) << line;
  }

  // A column beyond the sheet's width reads as 0 too.
  const auto wide = Calculate(Request(40, 2, SheetKind::LinearProgramming), sheet);
  ASSERT_TRUE(wide.report);
  EXPECT_NE(wide.report->find("最大值=0\r\n"), std::string::npos);
}

TEST(StatsReport, TooFewSamplesStillReportTheCountWithEmptyValues) {
  const Sheet sheet = SheetWithColumn(1, 1, {"7"});

  const auto none = Calculate(Request(1, 0, SheetKind::GoalProgramming), sheet);
  EXPECT_EQ(none.messages, std::vector<std::string>{kTooFew});
  ASSERT_TRUE(none.report);
  EXPECT_EQ(*none.report, "共有样本数：0\r\n" + Results({"0", "", "", "", "", "", "", "", "", ""}));

  const auto one = Calculate(Request(1, 1, SheetKind::GoalProgramming), sheet);
  EXPECT_EQ(one.messages, std::vector<std::string>{kTooFew});
  ASSERT_TRUE(one.report);
  EXPECT_EQ(*one.report, "共有样本数：1\r\n第1个样本值 χ1 ＝ 7\r\n" +
                             Results({"1", "", "", "", "", "", "", "", "", ""}));
}

TEST(StatsReport, EqualSamplesGiveOneMessageAndZeroSpread) {
  const Sheet whole = SheetWithColumn(1, 1, {"2", "2", "2"});
  const auto outcome = Calculate(Request(1, 3, SheetKind::GoalProgramming), whole);
  EXPECT_EQ(outcome.messages, std::vector<std::string>{kZeroVariance});
  ASSERT_TRUE(outcome.report);
  EXPECT_NE(outcome.report->find(Results({"3", "2", "0", "0", "0", "0", "0", "2", "2", "2"})),
            std::string::npos);

  // Summing 0.1 three times and dividing by 3 does not give 0.1 back; equal
  // samples must still show no spread rather than huge moments.
  const Sheet fraction = SheetWithColumn(1, 1, {"0.1", "0.1", "0.1"});
  const auto mended = Calculate(Request(1, 3, SheetKind::GoalProgramming), fraction);
  EXPECT_EQ(mended.messages, std::vector<std::string>{kZeroVariance});
  ASSERT_TRUE(mended.report);
  EXPECT_NE(mended.report->find(Results({"3", "0.1", "0", "0", "0", "0", "0", "0.1", "0.1", "0.1"})),
            std::string::npos);
}

TEST(StatsReport, NoRecordedColumnGivesOnlyItsMessage) {
  const Sheet sheet = SheetWithColumn(1, 1, {"1", "2", "3"});
  for (int column : {0, -1}) {
    const auto outcome = Calculate(Request(column, 3, SheetKind::LinearProgramming), sheet);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{kNoColumn});
    EXPECT_FALSE(outcome.report);
  }
}

TEST(StatsReport, FirstOverflowingSampleStopsWithItsMessageOnly) {
  // Two overflowing cells: the first in sample order is named, with its grid
  // row (one lower on the linear sheet).
  const Sheet sheet = SheetWithColumn(2, 1, {"1", "-1e999", "1e400", "4"});
  const auto goal = Calculate(Request(2, 4, SheetKind::GoalProgramming), sheet);
  EXPECT_EQ(goal.messages, std::vector<std::string>{"单元格(2,2)的数值超出范围！"});
  EXPECT_FALSE(goal.report);

  const auto linear = Calculate(Request(2, 3, SheetKind::LinearProgramming), sheet);
  EXPECT_EQ(linear.messages, std::vector<std::string>{"单元格(2,2)的数值超出范围！"});
  EXPECT_FALSE(linear.report);

  // On the linear sheet the objective row is not a sample, so a huge
  // number there does not matter.
  const Sheet objective = SheetWithColumn(1, 1, {"1e999", "1", "3"});
  const auto fine = Calculate(Request(1, 2, SheetKind::LinearProgramming), objective);
  EXPECT_TRUE(fine.messages.empty());
  ASSERT_TRUE(fine.report);
  EXPECT_NE(fine.report->find("平均值=2\r\n"), std::string::npos);
}

TEST(StatsReport, NumbersUseTheRegionalDecimalSeparator) {
  const Sheet sheet = SheetWithColumn(1, 1, {"1.5", "2"});
  StatsRequest request = Request(1, 2, SheetKind::GoalProgramming);
  request.decimal_separator = ",";
  const auto outcome = Calculate(request, sheet);
  ASSERT_TRUE(outcome.report);
  EXPECT_NE(outcome.report->find("χ1 ＝ 1,5\r\n"), std::string::npos);
  EXPECT_NE(outcome.report->find("平均值=1,75\r\n"), std::string::npos);
  EXPECT_NE(outcome.report->find("样本数=2\r\n"), std::string::npos);
}

TEST(StatsReport, CountIsKeptWithinTheCountBoxRange) {
  const Sheet sheet = SheetWithColumn(1, 1, {"1", "2"});
  const auto negative = Calculate(Request(1, -5, SheetKind::GoalProgramming), sheet);
  ASSERT_TRUE(negative.report);
  EXPECT_EQ(negative.report->rfind("共有样本数：0\r\n", 0), 0u);

  const auto huge = Calculate(Request(1, 100000, SheetKind::GoalProgramming), sheet);
  ASSERT_TRUE(huge.report);
  EXPECT_EQ(huge.report->rfind("共有样本数：500\r\n", 0), 0u);
  EXPECT_NE(huge.report->find("χ500 ＝ 0\r\n"), std::string::npos);
  EXPECT_EQ(huge.report->find("χ501 "), std::string::npos);
}

}  // namespace
}  // namespace orcalc::stats
