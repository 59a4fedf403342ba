// orcalc-cli as a user runs it: stdout bytes, stderr lines, exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Data(const std::string& name) { return std::string(ORCALC_TEST_DATA) + "/" + name; }

// Runs the program with `args`, standard input from `input` (or nothing).
CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "/dev/null") {
  const std::string dir = ::testing::TempDir();
  // Per process: the test cases may run in parallel processes.
  const std::string stem = dir + "/orcalc_cli_" + std::to_string(getpid());
  const std::string out = stem + "_out";
  const std::string err = stem + "_err";
  std::string command = Quote(ORCALC_CLI_PATH);
  for (const std::string& arg : args) command.append(" ").append(Quote(arg));
  command.append(" <").append(Quote(input));
  command.append(" >").append(Quote(out));
  command.append(" 2>").append(Quote(err));
  const int raw = std::system(command.c_str());
  CliRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = Slurp(out);
  run.err = Slurp(err);
  std::remove(out.c_str());
  std::remove(err.c_str());
  return run;
}

const char kExampleReport[] =
    "---------线性规划计算结果---------\r\n"
    "变量数m=2\r\n"
    "约束方程数n=2\r\n"
    "目标函数去极大值：p=1\r\n"
    "----------------------------------\r\n"
    "\r\n"
    "目标函数为:\r\n"
    " Max z = 3χ1 + 2χ2 \r\n"
    "\r\n"
    "\r\n"
    "约束方程如下:\r\n"
    "1*χ1 +  1*χ2 ≤  4\r\n"
    "1*χ1 +  3*χ2 ≤  6\r\n"
    "\r\n"
    "\r\n"
    "目标函数值 S = 12\r\n"
    "\r\n"
    "各变量最优解如下:\r\n"
    "χ1 =  4\r\n"
    "χ2 =  0\r\n";

TEST(LpCli, WorkedExampleReportBytesAndStatus) {
  CliRun run = RunCli({"lp", "--max", Data("lp_example.csv")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kExampleReport);
  EXPECT_EQ(run.err, "");

  // The same from standard input, with the counts given as flags.
  run = RunCli({"lp", "--vars=2", "--constraints", "2", "--max", "-"}, Data("lp_example.csv"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kExampleReport);

  // Minimum is the default sense.
  run = RunCli({"lp", Data("lp_example.csv")});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("目标函数去极小值：p=-1\r\n"), std::string::npos);
}

TEST(LpCli, CountFlagsOverrideTheSheetAndAreCut) {
  // One constraint only: maximise 3x1 + 2x2 with x1 + x2 <= 4 gives 12 too,
  // but the echo has one constraint line.
  CliRun run = RunCli({"lp", "--max", "--constraints", "1", Data("lp_example.csv")});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("约束方程数n=1\r\n"), std::string::npos);
  EXPECT_EQ(run.out.find("1*χ1 +  3*χ2"), std::string::npos);

  // Larger than the sheet: the missing cells read as empty; 900 is cut to 500.
  run = RunCli({"lp", "--max", "--vars", "900", "--constraints", "0", Data("lp_example.csv")});
  EXPECT_NE(run.out.find("变量数m=500\r\n"), std::string::npos);
  EXPECT_EQ(run.status, 1);  // unbounded: x1 improves with no constraint
  EXPECT_EQ(run.err, "无解！\n");
}

TEST(LpCli, MessagesGoToStandardErrorInOrder) {
  CliRun run = RunCli({"lp", "--max", Data("lp_contradictory.csv")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "无最优解！\n无最优解！\n");
  EXPECT_TRUE(run.out.ends_with("目标函数值 S = 1\r\n\r\n各变量最优解如下:\r\nχ1 =  1\r\n"));

  // An overflowing cell: the message only, and no report at all.
  run = RunCli({"lp", Data("lp_overflow.csv")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "单元格(1,1)的数值超出范围！\n");
  EXPECT_EQ(run.out, "");
}

TEST(LpCli, LayoutPrintsTheSheetFile) {
  CliRun run = RunCli({"layout", "lp", "--vars", "2", "--constraints", "1", "--max"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            ",χ1 系数,χ2 系数,约束符号,常数项\n"
            "目标函数系数,,, ═ , Max \n"
            "约束方程1,,,,\n");
  run = RunCli({"layout", "lp", "--vars", "0", "--constraints", "0"});
  EXPECT_EQ(run.out, ",约束符号,常数项\n目标函数系数, ═ , Min \n");
}

TEST(LpCli, UsageErrorsAndUnreadableFiles) {
  const std::vector<std::vector<std::string>> mistakes = {
      {},
      {"solve"},
      {"lp"},
      {"lp", "--max", "--min", Data("lp_example.csv")},
      {"lp", "--vars", "x", Data("lp_example.csv")},
      {"lp", "--vars", "-1", Data("lp_example.csv")},
      {"lp", "--vars", "2.5", Data("lp_example.csv")},
      {"lp", "--vars", Data("lp_example.csv")},
      {"lp", "--frobnicate", Data("lp_example.csv")},
      {"lp", Data("lp_example.csv"), Data("lp_example.csv")},
      {"lp", "--max=yes", Data("lp_example.csv")},
      {"layout"},
      {"layout", "lp", "--vars", "2"},
      {"layout", "table", "--vars", "2"},
      {"layout", "lp", "--vars", "2", "--constraints", "2", "extra.csv"},
      {"stats", Data("lp_example.csv")},
      {"stats", "--column", "70000", Data("lp_example.csv")},
  };
  for (const auto& args : mistakes) {
    const CliRun run = RunCli(args);
    std::string shown;
    for (const auto& arg : args) shown += arg + " ";
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_TRUE(run.err.starts_with("orcalc-cli: ")) << shown << "\n" << run.err;
  }

  CliRun run = RunCli({"lp", Data("unclosed_quote.csv")});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "orcalc-cli: " + Data("unclosed_quote.csv") + ": line 3: a quoted field is not closed\n");

  run = RunCli({"lp", Data("no_such_sheet.csv")});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("no_such_sheet.csv: "), std::string::npos);

  run = RunCli({"lp", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("orcalc-cli lp [--max|--min]"), std::string::npos);
}

}  // namespace
