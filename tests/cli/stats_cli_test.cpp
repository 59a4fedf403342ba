// orcalc-cli stats: the same report as the window, messages on standard
// error, and the exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "common/sheet_file.h"
#include "stats/stats_command.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

CliRun RunStats(const std::string& arguments) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string tag = "orcalc_stats_cli_" + std::to_string(::getpid());
  const auto out = dir / (tag + ".out");
  const auto err = dir / (tag + ".err");
  const std::string command = std::string("'") + ORCALC_CLI_PATH + "' stats " + arguments +
                              " >'" + out.string() + "' 2>'" + err.string() + "'";
  CliRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

std::string Data(const char* name) { return std::string("'") + ORCALC_TEST_DATA + "/" + name + "'"; }

// What the window would show for the same sheet and request.
std::string CoreReport(const char* name, orcalc::stats::SheetKind kind, int column, int count) {
  const auto file = orcalc::ReadSheetCsv(ReadAll(std::string(ORCALC_TEST_DATA) + "/" + name));
  EXPECT_TRUE(file.ok) << file.error;
  orcalc::stats::StatsRequest request;
  request.column = column;
  request.count = count;
  request.kind = kind;
  return orcalc::stats::Calculate(request, file.sheet).report.value_or("<none>");
}

TEST(StatsCli, CountsDefaultToTheRowsBelowTheSheetsFirstDataRow) {
  using orcalc::stats::SheetKind;
  // Seven rows on the linear sheet: the five below the objective row.
  const CliRun linear = RunStats("--column 1 " + Data("stats_lp.csv"));
  EXPECT_EQ(linear.status, 0) << linear.err;
  EXPECT_EQ(linear.err, "");
  EXPECT_EQ(linear.out, CoreReport("stats_lp.csv", SheetKind::LinearProgramming, 1, 5));
  EXPECT_NE(linear.out.find("平均值=2.8\r\n"), std::string::npos);  // objective 100 not read

  // Five rows on the goal sheet: the four below the header.
  const CliRun goal = RunStats("--goal --column 2 " + Data("stats_goal.csv"));
  EXPECT_EQ(goal.status, 0) << goal.err;
  EXPECT_EQ(goal.out, CoreReport("stats_goal.csv", SheetKind::GoalProgramming, 2, 4));
  EXPECT_NE(goal.out.find("峰  态=-2.0775\r\n"), std::string::npos);

  // A sign column reads as zeros: one message, and the report still comes.
  const CliRun signs = RunStats("--column 3 --count 3 " + Data("stats_lp.csv"));
  EXPECT_EQ(signs.status, 1);
  EXPECT_EQ(signs.err, "当方差为 0 时不能计算斜差和峰态!\n");
  EXPECT_EQ(signs.out, CoreReport("stats_lp.csv", SheetKind::LinearProgramming, 3, 3));
}

TEST(StatsCli, MessagesGoToStandardErrorWithStatusOne) {
  const CliRun few = RunStats("--column 1 --count 1 " + Data("stats_lp.csv"));
  EXPECT_EQ(few.status, 1);
  EXPECT_EQ(few.err, "样本数必须大于2 \n");
  EXPECT_NE(few.out.find("样本数=1\r\n平均值=\r\n"), std::string::npos);

  const CliRun none = RunStats("--column 0 " + Data("stats_lp.csv"));
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "您没有选择要统计数据的列！请在要统计的数据列上单击后再统计！\n");
  EXPECT_EQ(none.out, "");

  const CliRun overflow = RunStats("--column 2 " + Data("stats_overflow.csv"));
  EXPECT_EQ(overflow.status, 1);
  EXPECT_EQ(overflow.err, "单元格(2,2)的数值超出范围！\n");
  EXPECT_EQ(overflow.out, "");
}

}  // namespace
