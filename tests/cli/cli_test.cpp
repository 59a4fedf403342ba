// orcalc-cli as a user runs it: standard output bytes, standard error lines
// and exit status, for each command.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "common/sheet_file.h"
#include "lp/lp_commands.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Data(const std::string& name) { return std::string(ORCALC_TEST_DATA) + "/" + name; }

CliRun RunCli(const std::vector<std::string>& args, const std::string& input) {
  auto quote = [](const std::string& text) {
    std::string q = "'";
    for (char c : text) c == '\'' ? q.append("'\\''") : q.append(1, c);
    return q.append("'");
  };
  // Per process: test cases may run in parallel.
  const std::string stem = ::testing::TempDir() + "/orcalc_cli_" + std::to_string(getpid());
  std::string command = quote(ORCALC_CLI_PATH);
  for (const std::string& arg : args) command.append(" ").append(quote(arg));
  command.append(" <").append(quote(input)).append(" >").append(quote(stem + "_out"));
  command.append(" 2>").append(quote(stem + "_err"));
  const int raw = std::system(command.c_str());
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(stem + "_out"), Slurp(stem + "_err")};
  std::remove((stem + "_out").c_str());
  std::remove((stem + "_err").c_str());
  return run;
}

TEST(Cli, OutputMessagesAndExitStatus) {
  // The window's report, byte for byte, from a file or standard input.
  const std::string report =
      *orcalc::lp::Calculate({2, 2, orcalc::lp::Sense::Maximise},
                             orcalc::ReadSheetCsv(Slurp(Data("lp_example.csv"))).sheet)
           .report;
  const std::string usage = "orcalc-cli: ";  // the start of every usage error
  // Arguments, status, part of standard output (all of it when exact or
  // empty), standard error or the start of a usage error.
  // clang-format off
  const struct { std::vector<std::string> args; int status; std::string out, err; bool exact = false;
                 std::string input = "/dev/null"; } cases[] = {
      {{"lp", "--max", Data("lp_example.csv")}, 0, report, "", true},
      {{"lp", "--vars=2", "--constraints", "2", "--max", "-"}, 0, report, "", true, Data("lp_example.csv")},
      // Minimised unless --max; counts beyond 500 are cut to 500, cells beyond the sheet read empty.
      {{"lp", Data("lp_example.csv")}, 0, "目标函数去极小值：p=-1\r\n", ""},
      {{"lp", "--vars", "900", "--constraints", "0", Data("lp_example.csv")}, 0, "变量数m=500\r\n约束方程数n=0\r\n", ""},
      {{"lp", "--max", Data("lp_contradictory.csv")}, 1, "目标函数值 S = 1\r\n", "无最优解！\n无最优解！\n"},
      {{"layout", "lp", "--vars", "2", "--constraints", "1", "--max"}, 0,
       ",χ1 系数,χ2 系数,约束符号,常数项\n目标函数系数,,, ═ , Max \n约束方程1,,,,\n", "", true},
      // Counts from the sheet: 2 goals, 9 − 7 variables.
      {{"goal", Data("goal_example.csv")}, 0, "\r\n循环次数:3次\r\n", ""},
      // Five samples below the objective row (100 is not one), four below the goal sheet's header.
      {{"stats", "--column", "1", Data("stats_lp.csv")}, 0, "平均值=2.8\r\n", ""},
      {{"stats", "--goal", "--column", "2", Data("stats_goal.csv")}, 0, "峰  态=-2.0775\r\n", ""},
      {{"stats", "--column", "2", Data("stats_overflow.csv")}, 1, "", "单元格(2,2)的数值超出范围！\n"},
      {{"lp", "--vars", "2.5", Data("lp_example.csv")}, 2, "", usage},
      {{"lp", Data("no_such_sheet.csv")}, 2, "", usage},
      {{"goal", Data("unclosed_quote.csv")}, 2, "",
       usage + Data("unclosed_quote.csv") + ": line 3: a quoted field is not closed\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliRun run = RunCli(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_TRUE(c.exact || c.out.empty() ? run.out == c.out
                                         : run.out.find(c.out) != std::string::npos)
        << run.out;
    EXPECT_EQ(c.err == usage ? run.err.substr(0, usage.size()) : run.err, c.err);
  }
  EXPECT_EQ(RunCli({"--help"}, "/dev/null").status, 0);
}

// A dense, feasible linear-programming sheet of m variables and n rows
// (every third row >=), written to a temporary file.
std::string DenseLpSheet(int m, int n) {
  std::string csv = "\n";
  auto value = [](int i, int j) { return std::to_string(1 + (i * 7 + j * 13) % 10); };
  for (int j = 0; j < m; ++j) csv.append(",").append(value(0, j));
  csv += "\n";
  for (int i = 1; i <= n; ++i) {
    int sum = 0;
    for (int j = 0; j < m; ++j) csv.append(",").append(value(i, j)), sum += std::stoi(value(i, j));
    csv.append(i % 3 == 0 ? ", ≥ ," : ", ≤ ,")
        .append(std::to_string(i % 3 == 0 ? sum / 2 : sum * 2));
    csv += "\n";
  }
  const std::string path = ::testing::TempDir() + "/orcalc_dense_" + std::to_string(getpid()) +
                           "_" + std::to_string(m) + ".csv";
  std::ofstream(path, std::ios::binary) << csv;
  return path;
}

TEST(Cli, ThreadsAndTimeLimit) {
  // The same bytes with any number of threads (the pivots here are split).
  const std::string sheet = DenseLpSheet(160, 160);
  const CliRun one = RunCli({"--threads", "1", "lp", "--max", sheet}, "/dev/null");
  ASSERT_EQ(one.status, 0) << one.err;
  for (const char* threads : {"--threads=2", "--threads=4"}) {
    const CliRun many = RunCli({threads, "lp", "--max", sheet}, "/dev/null");
    EXPECT_EQ(many.status, one.status);
    EXPECT_TRUE(many.out == one.out && many.err == one.err) << threads;
  }
  // A limit that runs out before the solve ends: exit 3, one line, no report.
  const std::string large = DenseLpSheet(500, 500);
  const CliRun stopped = RunCli({"lp", "--max", "--max-seconds", "0.001", large}, "/dev/null");
  EXPECT_EQ(stopped.status, 3);
  EXPECT_EQ(stopped.out, "");
  EXPECT_EQ(stopped.err, "orcalc-cli: stopped after 0.001 seconds (--max-seconds); no report\n");
  // A generous limit changes nothing.
  const CliRun limited =
      RunCli({"--threads", "1", "lp", "--max-seconds=600", "--max", sheet}, "/dev/null");
  EXPECT_TRUE(limited.status == 0 && limited.out == one.out);
  EXPECT_EQ(RunCli({"goal", "--max-seconds", "60", Data("goal_example.csv")}, "/dev/null").status,
            0);
  // Bad values are usage errors.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"lp", "--max-seconds", "0", sheet},
        {"lp", "--max-seconds", "x", sheet},
        {"goal", "--max-seconds", "-1", sheet},
        {"--threads", "0", "lp", sheet},
        {"--threads"},
        {"stats", "--max-seconds", "5", "--column", "1", sheet}}) {
    EXPECT_EQ(RunCli(args, "/dev/null").status, 2) << ::testing::PrintToString(args);
  }
  std::remove(sheet.c_str());
  std::remove(large.c_str());
}

}  // namespace
