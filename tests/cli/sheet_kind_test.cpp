// Files that cannot be a sheet of the command's kind: refused when a count
// would come from a shape narrower or shorter than the smallest sheet the
// windows lay out (3 fields by 2 records for linear programming, 7 by 1 for
// goal programming); a count given by its option reads the grid as it is.
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"

namespace {

using namespace orcalc::cli_testing;

class SheetKindTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name, const std::string& bytes) {
    const std::string path =
        ::testing::TempDir() + "/orcalc_kind_" + std::to_string(getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    made_.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const std::string& path : made_) std::remove(path.c_str());
  }

 private:
  std::vector<std::string> made_;
};

// Other solvers' files (read as sheets: told so for the commands that
// would read them as models), a two-by-two CSV and a line of text, under
// every command that takes its counts from the sheet.
TEST_F(SheetKindTest, FilesOfOtherKindsAreRefused) {
  const std::string two_by_two = File("two_by_two.csv", "a,b\n1,2");
  const std::string line = File("line.txt", "maximise 3 x1 + 2 x2\n");
  // The file as given, standard input, how the message names it, its widest record.
  // clang-format off
  const struct { std::string arg, input, named, widest; } files[] = {
      {Data("lp_example.mps"), "/dev/null", Data("lp_example.mps"), "1 field"},
      {Data("lp_example.lp"), "/dev/null", Data("lp_example.lp"), "1 field"},
      {two_by_two, "/dev/null", two_by_two, "2 fields"},
      {"-", two_by_two, "standard input", "2 fields"},
      {line, "/dev/null", line, "1 field"},
  };
  const struct { std::string command, refusal; } commands[] = {
      {"lp", "not a linear-programming sheet: the widest record has {}, a sheet has at least 3"},
      {"sensitivity", "not a linear-programming sheet: the widest record has {}, a sheet has at least 3"},
      {"graph", "not a linear-programming sheet: the widest record has {}, a sheet has at least 3"},
      {"goal", "not a goal-programming sheet: the widest record has {}, a sheet has at least 7"},
  };
  // clang-format on
  for (const auto& file : files) {
    for (const auto& command : commands) {
      SCOPED_TRACE(command.command + " " + file.arg + " <" + file.input);
      const bool model = file.arg.ends_with(".mps") || file.arg.ends_with(".lp");
      const CliRun run = model && command.command != "goal"
                             ? RunCli({command.command, "--format", "sheet", file.arg}, file.input)
                             : RunCli({command.command, file.arg}, file.input);
      std::string refusal = command.refusal;
      refusal.replace(refusal.find("{}"), 2, file.widest);
      EXPECT_EQ(run.status, 2);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, "orcalc-cli: " + file.named + ": " + refusal + "\n");
    }
  }
}

// Only the dimensions whose counts come from the file are checked, widths
// first; the smallest sheets of each kind are read.
TEST_F(SheetKindTest, EachDimensionTakenFromTheShape) {
  const std::string line = File("line.txt", "maximise 3 x1 + 2 x2\n");
  const std::string header = File("header.csv", ",χ1 系数,约束符号,常数项\n");  // 4 × 1
  const std::string two_by_two = File("two_by_two.csv", "a,b\n1,2\n");
  const std::string lp_smallest = File("lp_smallest.csv", ",,\n,,\n");
  const std::string goal_smallest = File("goal_smallest.csv", ",,,,,,\n");
  auto not_lp = [](const std::string& file, const std::string& why) {
    return "orcalc-cli: " + file + ": not a linear-programming sheet: " + why + "\n";
  };
  auto not_goal = [](const std::string& file, const std::string& why) {
    return "orcalc-cli: " + file + ": not a goal-programming sheet: " + why + "\n";
  };
  // clang-format off
  const struct { std::vector<std::string> args; int status; std::string out, err; } cases[] = {
      {{"lp", header}, 2, "", not_lp(header, "the file has 1 record, a sheet has at least 2")},
      {{"lp", "--vars", "2", line}, 2, "", not_lp(line, "the file has 1 record, a sheet has at least 2")},
      {{"sensitivity", "--constraints=0", header}, 0, "变量数m=1\r\n约束方程数n=0\r\n", ""},
      {{"graph", "--constraints", "0", two_by_two}, 2, "",
       not_lp(two_by_two, "the widest record has 2 fields, a sheet has at least 3")},
      {{"lp", "--vars", "2", "--constraints", "0", line}, 0, "变量数m=2\r\n约束方程数n=0\r\n", ""},
      {{"lp", lp_smallest}, 0, "变量数m=0\r\n约束方程数n=0\r\n", ""},
      {{"goal", "--goals", "1", two_by_two}, 2, "",
       not_goal(two_by_two, "the widest record has 2 fields, a sheet has at least 7")},
      {{"goal", "--vars", "0", two_by_two}, 0, "约束方程数 M=1\r\n变量个数 N=0\r\n", ""},
      {{"goal", goal_smallest}, 0, "约束方程数 M=0\r\n变量个数 N=0\r\n", ""},
      // stats takes any file.
      {{"stats", "--column", "1", line}, 1, "共有样本数：0\r\n", "样本数必须大于2 \n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliRun run = RunCli(c.args, "/dev/null");
    EXPECT_EQ(run.status, c.status);
    EXPECT_TRUE(c.out.empty() ? run.out.empty() : run.out.find(c.out) != std::string::npos)
        << run.out;
    EXPECT_EQ(run.err, c.err);
  }
}

}  // namespace
