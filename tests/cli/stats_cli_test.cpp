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

TEST(StatsCli, LinearSheetSkipsTheObjectiveRowAndCountsRowsBelowIt) {
  // Objective row holds 100; the five rows below hold 3, 1, 4, 1, 5.
  const CliRun run = RunStats("--column 1 " + Data("stats_lp.csv"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "共有样本数：5\r\n"
            "第1个样本值 χ1 ＝ 3\r\n"
            "第2个样本值 χ2 ＝ 1\r\n"
            "第3个样本值 χ3 ＝ 4\r\n"
            "第4个样本值 χ4 ＝ 1\r\n"
            "第5个样本值 χ5 ＝ 5\r\n"
            "样本数=5\r\n"
            "平均值=2.8\r\n"
            "标准差=1.78885438199983\r\n"
            "平均差=1.44\r\n"
            "方  差=3.2\r\n"
            "斜  差=0.0251557647468729\r\n"
            "峰  态=-2.091875\r\n"
            "最小值=1\r\n"
            "最大值=5\r\n"
            "中位数=3\r\n");
}

TEST(StatsCli, GoalSheetReadsFromTheFirstRow) {
  const CliRun run = RunStats("--goal --column 2 " + Data("stats_goal.csv"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("共有样本数：4\r\n第1个样本值 χ1 ＝ 1\r\n"), std::string::npos);
  EXPECT_NE(run.out.find("峰  态=-2.0775\r\n"), std::string::npos);

  // A sign column reads as zeros: one message, and the report still comes.
  const CliRun signs = RunStats("--column 3 --count 3 " + Data("stats_lp.csv"));
  EXPECT_EQ(signs.status, 1);
  EXPECT_EQ(signs.err, "当方差为 0 时不能计算斜差和峰态!\n");
  EXPECT_NE(signs.out.find("中位数=0\r\n"), std::string::npos);
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
