// orcalc-cli as a user runs it: stdout bytes, stderr lines, exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/sheet_file.h"
#include "lp/lp_commands.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Data(const std::string& name) { return std::string(ORCALC_TEST_DATA) + "/" + name; }

CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "/dev/null") {
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

TEST(LpCli, ReportBytesMessagesAndStatus) {
  // The worked example: the command's report, unchanged.
  const orcalc::Sheet sheet = orcalc::ReadSheetCsv(Slurp(Data("lp_example.csv"))).sheet;
  const std::string report =
      *orcalc::lp::Calculate({2, 2, orcalc::lp::Sense::Maximise}, sheet).report;
  ASSERT_TRUE(
      report.ends_with("\r\n目标函数值 S = 12\r\n\r\n各变量最优解如下:\r\nχ1 =  4\r\nχ2 =  0\r\n"));
  CliRun run = RunCli({"lp", "--max", Data("lp_example.csv")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, report);
  EXPECT_EQ(run.err, "");
  run = RunCli({"lp", "--vars=2", "--constraints", "2", "--max", "-"}, Data("lp_example.csv"));
  EXPECT_EQ(run.out, report);
  EXPECT_NE(RunCli({"lp", Data("lp_example.csv")}).out.find("目标函数去极小值：p=-1\r\n"),
            std::string::npos);

  // Counts are cut to 500; cells beyond the sheet read as empty.
  run = RunCli({"lp", "--vars", "900", "--constraints", "0", Data("lp_example.csv")});
  EXPECT_NE(run.out.find("变量数m=500\r\n约束方程数n=0\r\n"), std::string::npos);

  run = RunCli({"lp", "--max", Data("lp_contradictory.csv")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "无最优解！\n无最优解！\n");
  EXPECT_TRUE(run.out.ends_with("目标函数值 S = 1\r\n\r\n各变量最优解如下:\r\nχ1 =  1\r\n"));

  run = RunCli({"lp", Data("lp_overflow.csv")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "单元格(1,1)的数值超出范围！\n");
  EXPECT_EQ(run.out, "");

  run = RunCli({"layout", "lp", "--vars", "2", "--constraints", "1", "--max"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, ",χ1 系数,χ2 系数,约束符号,常数项\n目标函数系数,,, ═ , Max \n约束方程1,,,,\n");
}

TEST(LpCli, UsageErrorsAndUnreadableFiles) {
  const std::string sheet = Data("lp_example.csv");
  const std::vector<std::vector<std::string>> mistakes = {
      {},
      {"lp"},
      {"lp", "--max", "--min", sheet},
      {"lp", "--vars", "2.5", sheet},
      {"lp", "--vars", sheet},
      {"lp", "--frobnicate", sheet},
      {"lp", sheet, sheet},
      {"layout", "lp", "--vars", "2"},
      {"stats", "--column", "70000", sheet},
      {"lp", Data("no_such_sheet.csv")},
  };
  for (const auto& args : mistakes) {
    const CliRun run = RunCli(args);
    const std::string shown = ::testing::PrintToString(args);
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_TRUE(run.err.starts_with("orcalc-cli: ")) << shown << "\n" << run.err;
  }
  const CliRun run = RunCli({"lp", Data("unclosed_quote.csv")});
  EXPECT_EQ(run.err, "orcalc-cli: " + Data("unclosed_quote.csv") +
                         ": line 3: a quoted field is not closed\n");
  EXPECT_EQ(RunCli({"lp", "--help"}).status, 0);
}

}  // namespace
