// orcalc-cli goal as a user runs it: stdout bytes, stderr lines, exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/sheet_file.h"
#include "goal/goal_commands.h"

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

CliRun RunCli(const std::vector<std::string>& args) {
  auto quote = [](const std::string& text) {
    std::string q = "'";
    for (char c : text) c == '\'' ? q.append("'\\''") : q.append(1, c);
    return q.append("'");
  };
  const std::string stem = ::testing::TempDir() + "/orcalc_goal_cli_" + std::to_string(getpid());
  std::string command = quote(ORCALC_CLI_PATH);
  for (const std::string& arg : args) command.append(" ").append(quote(arg));
  command.append(" </dev/null >").append(quote(stem + "_out"));
  command.append(" 2>").append(quote(stem + "_err"));
  const int raw = std::system(command.c_str());
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(stem + "_out"), Slurp(stem + "_err")};
  std::remove((stem + "_out").c_str());
  std::remove((stem + "_err").c_str());
  return run;
}

TEST(GoalCli, WorkedExample) {
  // The counts come from the sheet (2 goals, 9 − 7 variables); the report
  // is the command's, three pivots and the closing line.
  const orcalc::Sheet sheet = orcalc::ReadSheetCsv(Slurp(Data("goal_example.csv"))).sheet;
  const std::string report = *orcalc::goal::Calculate({2, 2}, sheet).report;
  ASSERT_NE(report.find("\r\n循环次数:3次\r\n"), std::string::npos);
  ASSERT_TRUE(
      report.ends_with("\r\nX( 1)= 4\r\nX( 2)= 6\r\n负偏差变量值：\r\nD( 1)- = 0\r\n"
                       "D( 2)- = 0\r\n正偏差变量值：\r\nD( 1)+ = 0\r\nD( 2)+ = 0"));
  CliRun run = RunCli({"goal", Data("goal_example.csv")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, report);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(RunCli({"goal", "--goals", "2", "--vars", "2", Data("goal_example.csv")}).out, report);

  // The solver's message goes to standard error; the report still follows.
  run = RunCli({"goal", Data("goal_unbounded.csv")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ROUNED ERROR IN SOLUSION\n");
  EXPECT_NE(run.out.find("\r\nGOAL  P( 1)= ---- =-2\r\n"), std::string::npos);

  run = RunCli({"layout", "goal", "--goals", "2", "--vars", "2"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, orcalc::WriteSheetCsv([] {
              orcalc::Sheet s;
              orcalc::goal::LayOutSheet(s, 2, 2);
              return s;
            }()));
}

}  // namespace
