// orcalc-cli steps lp as a user runs it: the steps on standard output, the
// calculation's messages first on standard error, lp's exit status.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/cli_run.h"

namespace orcalc::cli_testing {
namespace {

constexpr const char* kHeader = ",χ1 系数,χ2 系数,约束符号,常数项\n";

// Two goals over two variables, two levels: three pivots.
constexpr const char* kGoals = "约束方程1,1,1, ═ ,10,1,1,0,0\n约束方程2,1,, ═ ,4,0,0,1,2\n";

struct StepsCliCase {
  const char* name;
  std::vector<std::string> args;  // "SHEET" is replaced by the case's sheet
  const char* rows;
  int status;
  const char* out;  // a part of standard output
  const char* err;  // a part of standard error
};

// max 3χ1 + 2χ2; χ1 + χ2 ≤ 4; χ1 + 3χ2 ≤ 6: one pivot.
constexpr const char* kExample =
    "目标函数系数,3,2, ═ , Max \n约束方程1,1,1, ≤ ,4\n约束方程2,1,3, ≤ ,6\n";

// clang-format off
const StepsCliCase kCases[] = {
    {"text", {"steps", "lp", "SHEET"}, kExample, 0, "[1]", ""},
    {"html", {"steps", "lp", "--format", "html", "SHEET"}, kExample, 0, "<td class=\"pivot\">[1]</td>", ""},
    {"decimals", {"steps", "lp", "--decimals", "--format=csv", "SHEET"},
     "目标函数系数,2,3, ═ , Max \n约束方程1,2,1, ≤ ,4\n约束方程2,1,2, ≤ ,5\n", 0, ",[1.5],", ""},
    {"sense given", {"steps", "lp", "--min", "SHEET"}, "目标函数系数,3,2, ═ , Max \n约束方程1,1,1, ≤ ,4\n", 0,
     "所有检验数 σj ≥ 0", ""},
    {"unbounded", {"steps", "lp", "SHEET"}, "目标函数系数,1,0, ═ , Max \n约束方程1,1,-1, ≤ ,1\n", 1,
     "目标函数无界", "无解！"},
    {"both kinds", {"steps", "lp", "--fractions", "--decimals", "SHEET"}, "", 2, "",
     "--fractions and --decimals exclude each other"},
    {"bad format", {"steps", "lp", "--format", "pdf", "SHEET"}, "", 2, "", "--format takes"},
    {"no kind", {"steps", "SHEET"}, "", 2, "", "steps needs 'lp'"},
    {"help", {"help", "steps"}, "", 0, "Usage: orcalc-cli steps lp", ""},
    {"goal", {"steps", "goal", "SHEET"}, kGoals, 0, "P2 级已达最优（评价行中没有大于 0 的数），删去 d2+ 列", ""},
    {"goal html", {"steps", "goal", "--format", "html", "SHEET"}, kGoals, 0,
     "<td class=\"pivot\">[1]</td><td>0</td><td>0</td><td>-1</td><td>4</td></tr>\n<tr><th></th><th>P1*</th>", ""},
    {"goal unbounded", {"steps", "goal", "SHEET"}, "约束方程1,1, ═ ,5,0,0,-1,1\n", 1,
     "d1+ 应进基，但该列没有大于 0 的系数", "ROUNED ERROR IN SOLUSION"},
    {"goal help", {"help", "steps", "goal"}, "", 0, "Usage: orcalc-cli steps goal", ""},
    {"overflow", {"steps", "lp", "SHEET"}, "目标函数系数,1,1e999, ═ , Max \n", 1, "", "单元格(1,2)"},
};
// clang-format on

TEST(StepsCli, Runs) {
  for (const StepsCliCase& c : kCases) {
    const std::string sheet = TempFile("steps_cli.csv", kHeader + std::string(c.rows));
    std::vector<std::string> args = c.args;
    for (std::string& arg : args)
      if (arg == "SHEET") arg = sheet;
    const CliRun run = RunCli(args, "/dev/null");
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << c.name << ": " << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.name << ": " << run.err;
  }
}

}  // namespace
}  // namespace orcalc::cli_testing
