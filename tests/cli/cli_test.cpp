// orcalc-cli as a user runs it: standard output bytes, standard error lines
// and exit status, for each command.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/cli_run.h"
#include "common/version.h"

namespace {

using namespace orcalc::cli_testing;

TEST(Cli, OutputMessagesAndExitStatus) {
  // The window's report, byte for byte, from a file or standard input.
  const std::string report = Slurp(Data("lp_example_report.txt"));
  const std::string sensitivity = Slurp(Data("lp_example_sensitivity.txt"));
  const std::string usage = "orcalc-cli: ";  // the start of every usage error
  // Arguments, status, part of standard output (all of it when exact or
  // empty), standard error or the start of a usage error.
  // clang-format off
  const struct { std::vector<std::string> args; int status; std::string out, err; bool exact = false;
                 std::string input = "/dev/null"; } cases[] = {
      {{"lp", "--max", Data("lp_example.csv")}, 0, report, "", true},
      {{"lp", "--vars=2", "--constraints", "2", "--max", "-"}, 0, report, "", true, Data("lp_example.csv")},
      // Without --max or --min the sheet's sense cell decides, whatever the file's
      // encoding and separator; counts beyond 500 are cut to 500, cells beyond the sheet read empty.
      {{"lp", "--min", Data("lp_example.csv")}, 0, "目标函数去极小值：p=-1\r\n", ""},
      {{"lp", Data("lp_example.csv")}, 0, report, "", true},
      {{"lp", Data("lp_example_utf16.csv")}, 0, report, "", true},
      {{"lp", "--min", "--vars", "900", "--constraints", "0", Data("lp_example.csv")}, 0, "变量数m=500\r\n约束方程数n=0\r\n", ""},
      // A repeated option keeps its last value.
      {{"lp", "--vars", "900", "--min", "--vars", "1", "--constraints", "0", Data("lp_example.csv")}, 0, "变量数m=1\r\n约束方程数n=0\r\n", ""},
      {{"lp", "--max", Data("lp_contradictory.csv")}, 1, "目标函数值 S = 1\r\n", "无最优解！\n无最优解！\n"},
      {{"sensitivity", "--max", Data("lp_example.csv")}, 0, sensitivity, "", true},
      {{"sensitivity", "--csv", "--max", "-"}, 0, "kind,index,value,rate,current,lower,upper\n"
       "variable,1,4,0,3,2,inf\nvariable,2,0,-1,2,-inf,3\nconstraint,1,4,3,4,0,6\nconstraint,2,4,0,6,4,inf\n"
       "degenerate,0,0,,,,\nunique,0,1,,,,\n",
       "", true, Data("lp_example.csv")},
      {{"sensitivity", "--max", Data("lp_contradictory.csv")}, 1, "",
       "无最优解！\n无最优解！\n问题没有最优解，不能进行灵敏度分析！\n", true},
      {{"sensitivity", "--max", "--min", Data("lp_example.csv")}, 2, "", usage},
      {{"layout", "lp", "--vars", "2", "--constraints", "1", "--max"}, 0,
       ",χ1 系数,χ2 系数,约束符号,常数项\n目标函数系数,,, ═ , Max \n约束方程1,,,,\n", "", true},
      // Counts from the sheet: 2 goals, 9 − 7 variables.
      {{"goal", Data("goal_example.csv")}, 0, Slurp(Data("goal_example_report.txt")), "", true},
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

TEST(Cli, VersionAndHelpPerCommand) {
  const CliRun version = RunCli({"--version"}, "/dev/null");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.substr(0, version.out.find('\n')),
            std::string("orcalc-cli ") + orcalc::kVersion);
  EXPECT_NE(version.out.find("License GPLv3+"), std::string::npos);

  // help COMMAND and COMMAND --help print the same usage, which the full
  // help holds too.
  const CliRun full = RunCli({"help"}, "/dev/null");
  EXPECT_EQ(RunCli({"--help"}, "/dev/null").out, full.out);
  for (const char* command :
       {"lp", "sensitivity", "graph", "goal", "stats", "layout lp", "layout goal"}) {
    SCOPED_TRACE(command);
    const std::string name = command, first = name.substr(0, name.find(' '));
    std::vector<std::string> words{"help", first};
    if (first != name) words.push_back(name.substr(first.size() + 1));
    const CliRun help = RunCli(words, "/dev/null");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: orcalc-cli " + name, 0), 0u) << help.out;
    words.erase(words.begin());
    words.push_back("--help");
    EXPECT_EQ(RunCli(words, "/dev/null").out, help.out);
    EXPECT_NE(full.out.find(help.out.substr(0, help.out.find('\n'))), std::string::npos);
  }
  EXPECT_EQ(RunCli({"help", "nope"}, "/dev/null").status, 2);
}

// Sheet files beyond what a sheet file may hold are refused before any
// sheet is made, naming the file and the limit; so is one with no record.
// (Each limit is tested on the reader; here the messages.)
// Output that cannot be written ends with a message and status 2.
TEST(Cli, LimitsAndFailedOutput) {
  const std::string dir = ::testing::TempDir() + "/orcalc_cli_limits_" + std::to_string(getpid());
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
  auto file = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    return dir + "/" + name;
  };
  // 20 KB that once took 3.1 GB: 10,000 commas, then 10,000 line ends.
  const std::string commas = file("commas.csv", std::string(10000, ',') + std::string(10000, '\n'));
  const std::string wide = file("wide.csv", std::string(999, ',') + "\n1\n");  // 1000 fields: fine
  const std::string limit = " the most a sheet file may hold";
  // clang-format off
  const struct { std::vector<std::string> args; std::string input, output; int status; std::string err; } cases[] = {
      {{"lp", commas}, "/dev/null", "", 2,
       "orcalc-cli: " + commas + ": line 1: a record has more than 1000 fields," + limit + " in one record\n"},
      // An endless input is read no further than the limit.
      {{"goal", "-"}, "/dev/zero", "", 2,
       "orcalc-cli: standard input: the file is larger than 64 MB (67108864 bytes)," + limit + "\n"},
      {{"lp", "/dev/null"}, "/dev/null", "", 2, "orcalc-cli: /dev/null: the file is empty: it holds no record\n"},
      {{"lp", wide}, "/dev/null", ">/dev/null", 0, ""},
      {{"--help"}, "/dev/null", ">/dev/full", 2,
       "orcalc-cli: cannot write the help to standard output: No space left on device\n"},
      {{"layout", "goal", "--goals", "1", "--vars", "1"}, "/dev/null", ">&-", 2,
       "orcalc-cli: cannot write the sheet to standard output: Bad file descriptor\n"},
      {{"lp", "--max", Data("lp_contradictory.csv")}, "/dev/null", ">/dev/full", 2,
       "无最优解！\n无最优解！\norcalc-cli: cannot write the report to standard output: No space left on device\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliRun run = RunCli(c.args, c.input, c.output);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
  }
  std::filesystem::remove_all(dir);
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
  // A repeated --threads keeps its last value, as every option does.
  for (const std::vector<std::string>& threads : {std::vector<std::string>{"--threads=2"},
                                                  {"--threads=4"},
                                                  {"--threads", "0", "--threads=3"},
                                                  {"--threads=2", "--threads", "1"}}) {
    std::vector<std::string> args = threads;
    args.insert(args.end(), {"lp", "--max", sheet});
    const CliRun many = RunCli(args, "/dev/null");
    EXPECT_EQ(many.status, one.status) << many.err;
    EXPECT_EQ(many.out, one.out) << ::testing::PrintToString(threads);
    EXPECT_EQ(many.err, one.err) << ::testing::PrintToString(threads);
  }
  // A limit that runs out before the solve ends: exit 3, one line, no report.
  const std::string large = DenseLpSheet(500, 500);
  const CliRun stopped = RunCli({"lp", "--max", "--max-seconds", "0.001", large}, "/dev/null");
  EXPECT_EQ(stopped.status, 3);
  EXPECT_EQ(stopped.out, "");
  EXPECT_EQ(stopped.err, "orcalc-cli: stopped after 0.001 seconds (--max-seconds); no report\n");
  // Its figures, for a script, say so.
  const CliRun stopped_json =
      RunCli({"lp", "--format", "json", "--max-seconds", "0.001", large}, "/dev/null");
  EXPECT_EQ(stopped_json.status, 3);
  EXPECT_NE(stopped_json.out.find("\"status\": \"time_limit\""), std::string::npos);
  // A generous limit changes nothing, up to the longest.
  for (const char* seconds : {"--max-seconds=600", "--max-seconds=1e9"}) {
    const CliRun limited = RunCli({"--threads", "1", "lp", seconds, "--max", sheet}, "/dev/null");
    EXPECT_EQ(limited.status, 0) << limited.err;
    EXPECT_EQ(limited.out, one.out) << seconds;
  }
  EXPECT_EQ(RunCli({"goal", "--max-seconds", "60", Data("goal_example.csv")}, "/dev/null").status,
            0);
  // Bad values are usage errors.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"lp", "--max-seconds", "0", sheet},
        {"lp", "--max-seconds", "x", sheet},
        {"goal", "--max-seconds", "-1", sheet},
        {"--threads", "0", "lp", sheet},
        {"--threads"},
        {"--threads", "2", "--threads"},
        {"stats", "--max-seconds", "5", "--column", "1", sheet}}) {
    EXPECT_EQ(RunCli(args, "/dev/null").status, 2) << ::testing::PrintToString(args);
  }
  // Beyond 1e9 seconds the clock's count of nanoseconds would overflow.
  for (const char* seconds : {"1e10", "1e300", "inf", "nan", "-0", "0x10", " 5", "5s"}) {
    const CliRun run = RunCli({"lp", "--max-seconds", seconds, sheet}, "/dev/null");
    EXPECT_EQ(run.status, 2) << seconds;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              std::string("orcalc-cli: --max-seconds takes a number of seconds greater than 0 and "
                          "at most 1e9, got '") +
                  seconds + "'");
  }
  std::remove(sheet.c_str());
  std::remove(large.c_str());
}

}  // namespace
