// orcalc-cli lp on sheets with whole-number and 0-1 variables: the file's
// types record, the options that override it, and the commands it changes.
#include "cli/cli_run.h"

namespace {

using namespace orcalc::cli_testing;

TEST(IntegerCli, TypesRecordAndOptions) {
  const std::string knapsack = Data("lp_knapsack.csv");  // 4 items, all 0-1
  const std::string usage = "orcalc-cli: ";
  // clang-format off
  const struct { std::vector<std::string> args; int status; std::vector<std::string> out; std::string err; } cases[] = {
      {{"lp", knapsack}, 0, {"目标函数值 S = 42\r\n", "χ1：0-1\r\n", "节点1  松弛问题  S = 44  分支\r\n"}, ""},
      // --integer overrides the record: item 1 twice and item 3, or item 2 twice.
      {{"lp", "--integer", "1-4", knapsack}, 0, {"目标函数值 S = 44\r\n", "χ4：整数\r\n"}, ""},
      {{"lp", "--integer", "1-4", "--binary", "2", knapsack}, 0, {"目标函数值 S = 44\r\n", "χ2：0-1\r\n"}, ""},
      {{"lp", "--max-nodes", "3", knapsack}, 1, {"搜索节点数 = 3\r\n"}, "搜索达到限制而停止，未找到整数可行解！\n"},
      {{"lp", "--max-nodes", "6", knapsack}, 1, {"目标函数值 S = 42\r\n"}, "搜索达到限制而停止，所得整数解未经证明为最优！\n"},
      {{"lp", "--integer", "1,2", Data("lp_example.csv")}, 0, {"整数规划"}, ""},
      {{"sensitivity", knapsack}, 1, {}, "问题含有整数变量，灵敏度分析不适用！\n"},
      {{"lp", "--binary", "5", knapsack}, 2, {}, usage},
      {{"lp", "--integer", "1-", knapsack}, 2, {}, usage},
      {{"lp", "--max-nodes", "0", knapsack}, 2, {}, usage},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliRun run = RunCli(c.args, "/dev/null");
    EXPECT_EQ(run.status, c.status);
    for (const std::string& piece : c.out)
      EXPECT_NE(run.out.find(piece), std::string::npos) << run.out;
    EXPECT_EQ(c.err == usage ? run.err.substr(0, usage.size()) : run.err, c.err);
  }
  // The record and --binary are the same thing.
  const std::string typed = Slurp(knapsack);
  const std::string plain = TempFile("knapsack.csv", typed.substr(0, typed.find("变量类型")));
  EXPECT_EQ(RunCli({"lp", "--binary", "1-4", plain}, "/dev/null").out,
            RunCli({"lp", knapsack}, "/dev/null").out);
  std::remove(plain.c_str());
}

}  // namespace
