// Column statistics: the report byte for byte on both sheet kinds, the cells
// read, the messages, equal samples and overflowing cells.
#include <gtest/gtest.h>

#include "common/test_support.h"
#include "stats/stats_command.h"

namespace orcalc::stats {
namespace {

using Messages = std::vector<std::string>;
const std::string kTooFew = "样本数必须大于2 ", kZeroVariance = "当方差为 0 时不能计算斜差和峰态!",
                  kNoColumn = "您没有选择要统计数据的列！请在要统计的数据列上单击后再统计！";
constexpr SheetKind kLp = SheetKind::LinearProgramming, kGoal = SheetKind::GoalProgramming;

CalculationOutcome Stats(const Sheet& sheet, int column, int count, SheetKind kind,
                         const char* separator = ".") {
  return Calculate(StatsRequest{column, count, kind, separator}, sheet);
}

// The ten result lines in order (label followed by its value text; none
// given: the nine after the count are empty).
std::string Results(std::vector<std::string> values) {
  static const char* const labels[] = {"样本数=", "平均值=", "标准差=", "平均差=", "方  差=",
                                       "斜  差=", "峰  态=", "最小值=", "最大值=", "中位数="};
  values.resize(10);
  std::string text;
  for (std::size_t i = 0; i < 10; ++i) text += labels[i] + values[i] + "\r\n";
  return text;
}

TEST(StatsReport, ByteForByteOnBothSheets) {
  // The goal sheet's samples start in row 1.
  const CalculationOutcome goal = Stats(SheetFromCsv("\n,,1\n,,2\n,,3\n,,4\n"), 2, 4, kGoal);
  EXPECT_TRUE(goal.messages.empty());
  EXPECT_EQ(goal.report,
            "共有样本数：4\r\n第1个样本值 χ1 ＝ 1\r\n第2个样本值 χ2 ＝ 2\r\n"
            "第3个样本值 χ3 ＝ 3\r\n第4个样本值 χ4 ＝ 4\r\n" +
                Results({"4", "2.5", "1.29099444873581", "1", "1.66666666666667", "0", "-2.0775",
                         "1", "4", "2.5"}));

  // The linear sheet's start in row 2, below the objective row, and are
  // listed in sheet order.
  const CalculationOutcome lp =
      Stats(SheetFromCsv("\n,,,1000\n,,,3\n,,,1\n,,,4\n,,,1\n,,,5\n"), 3, 5, kLp);
  EXPECT_TRUE(lp.messages.empty());
  EXPECT_EQ(lp.report,
            "共有样本数：5\r\n第1个样本值 χ1 ＝ 3\r\n第2个样本值 χ2 ＝ 1\r\n"
            "第3个样本值 χ3 ＝ 4\r\n第4个样本值 χ4 ＝ 1\r\n第5个样本值 χ5 ＝ 5\r\n" +
                Results({"5", "2.8", "1.78885438199983", "1.44", "3.2", "0.0251557647468729",
                         "-2.091875", "1", "5", "3"}));
}

TEST(StatsReport, FewSamplesAndEqualSamples) {
  const Sheet seven = SheetFromCsv("\n,7\n");
  EXPECT_EQ(Stats(seven, 1, 0, kGoal).report, "共有样本数：0\r\n" + Results({"0"}));
  const CalculationOutcome one = Stats(seven, 1, 1, kGoal);
  EXPECT_EQ(one.messages, Messages{kTooFew});
  EXPECT_EQ(one.report, "共有样本数：1\r\n第1个样本值 χ1 ＝ 7\r\n" + Results({"1"}));

  // Equal samples show no spread, with one message, even when summing and
  // dividing does not give the value back (0.1 + 0.1 + 0.1 over 3).
  for (const std::string value : {"2", "0.1", "-3.3"}) {
    const CalculationOutcome equal =
        Stats(SheetFromCsv("\n," + value + "\n," + value + "\n," + value + "\n"), 1, 3, kGoal);
    EXPECT_EQ(equal.messages, Messages{kZeroVariance});
    EXPECT_TRUE(equal.report->ends_with(
        Results({"3", value, "0", "0", "0", "0", "0", value, value, value})));
  }
  // Only exactly equal samples are special: a tiny real spread keeps its
  // moments (one point of three set apart: skewness 2√3/9).
  const std::string tiny =
      *Stats(SheetFromCsv("\n,0.1\n,0.1\n,0.1000000001\n"), 1, 3, kGoal).report;
  EXPECT_NE(tiny.find("斜  差=0.3849"), std::string::npos) << tiny;

  // Samples whose squares overflow: the statistics are shown as they came
  // out, with the overflow message.
  const CalculationOutcome huge = Stats(SheetFromCsv("\n,1e308\n,-1e308\n,1e308\n"), 1, 3, kGoal);
  EXPECT_EQ(huge.messages, Messages{"计算过程中数值溢出，结果不可信！"});
  EXPECT_NE(huge.report->find("\r\n方  差=inf\r\n"), std::string::npos);
}

// Sign texts, empty cells and rows beyond the sheet read as 0.
TEST(StatsReport, TextEmptyAndMissingCellsReadAsZero) {
  const Sheet sheet = SheetFromCsv("\n, ≤ \n\n,abc\n");
  EXPECT_TRUE(Stats(sheet, 1, 5, kGoal)
                  .report->ends_with(Results({"5", "0", "0", "0", "0", "0", "0", "0", "0", "0"})));
}

TEST(StatsReport, CountKeptWithinZeroTo500) {
  const Sheet sheet = SheetFromCsv("\n,1\n");
  const struct {
    int count;
    const char* text;
  } cases[] = {
      {-5, "共有样本数：0\r\n"},
      {100000, "\r\n第500个样本值 χ500 ＝ 0\r\n样本数=500\r\n"},
  };
  for (const auto& c : cases) {
    const std::string report = *Stats(sheet, 1, c.count, kGoal).report;
    EXPECT_NE(report.find(c.text), std::string::npos) << "count " << c.count;
  }
}

// The regional separator in every plain number.
TEST(StatsReport, PlainNumbersTakeTheSeparator) {
  const std::string comma = *Stats(SheetFromCsv("\n,1.5\n,2\n"), 1, 2, kGoal, ",").report;
  for (const char* text : {"χ1 ＝ 1,5\r\n", "平均值=1,75\r\n"})
    EXPECT_NE(comma.find(text), std::string::npos) << text;
}

TEST(StatsReport, NoColumnChosen) {
  const Sheet sheet = SheetFromCsv("\n,1\n,2\n");
  for (int column : {0, -1})
    EXPECT_EQ(Stats(sheet, column, 2, kLp).messages, Messages{kNoColumn}) << "column " << column;
}

// The first overflowing sample is named with its grid row, the same cell on
// both sheets, and no report follows.
TEST(StatsReport, NamesTheFirstOverflowingSample) {
  const Sheet bad = SheetFromCsv("\n,1\n,-1e999\n,1e400\n,4\n");
  for (SheetKind kind : {kGoal, kLp}) {
    const CalculationOutcome overflow = Stats(bad, 1, 3, kind);
    const char* name = kind == kGoal ? "goal sheet" : "linear-programming sheet";
    EXPECT_EQ(overflow.messages, Messages{"单元格(2,1)的数值超出范围！"}) << name;
    EXPECT_FALSE(overflow.report) << name;
  }
}

}  // namespace
}  // namespace orcalc::stats
