// orcalc-cli graph: the listing on standard output, messages, exit statuses,
// and the SVG picture (or its refusal where orcalc-cli draws none).
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/cli_run.h"

namespace {

using namespace orcalc::cli_testing;

std::string Temp(const std::string& name) {
  return ::testing::TempDir() + "/orcalc_graph_" + std::to_string(getpid()) + "_" + name;
}

CliRun Graph(std::vector<std::string> args, const std::string& input = "/dev/null") {
  args.insert(args.begin(), "graph");
  return RunCli(args, input);
}

const std::string kExampleListing =
    "corner 0 0 0 χ1=0 χ2=0\ncorner 4 0 12 χ2=0 约束方程1\ncorner 3 1 11 约束方程1 约束方程2\n"
    "corner 0 2 4 χ1=0 约束方程2\n";

TEST(GraphCli, ListingMessagesAndExitStatus) {
  // clang-format off
  const struct { std::vector<std::string> args; int status; std::string out, err; std::string input = "/dev/null"; } cases[] = {
      {{"--max", Data("lp_example.csv")}, 0, kExampleListing + "optimum 4 0 12\n", ""},
      // Without --max or --min the sheet's sense cell (Max) decides; the sheet from standard input.
      {{"-"}, 0, kExampleListing + "optimum 4 0 12\n", "", Data("lp_example.csv")},
      {{"--min", Data("lp_example.csv")}, 0, kExampleListing + "optimum 0 0 0\n", ""},
      // Only the first constraint: open upwards and to the right.
      {{"--max", "--constraints", "1", Data("lp_example.csv")}, 0,
       "corner 0 0 0 χ1=0 χ2=0\ncorner 4 0 12 χ2=0 约束方程1\ncorner 0 4 8 χ1=0 约束方程1\noptimum 4 0 12\n", ""},
      {{"--max", "--vars", "2", "--constraints", "0", Data("lp_example.csv")}, 0,
       "corner 0 0 0 χ1=0 χ2=0\nopen 0 1\nopen 1 0\nunbounded\n", ""},
      // χ1 + χ2 ≤ 1 and χ1 + χ2 ≥ 3: no picture of a region, and no message.
      {{"--max", Data("lp_graph_parallel.csv")}, 0, "empty\n", ""},
      {{"--max", "--vars", "2", Data("stats_overflow.csv")}, 1, "", "单元格(2,2)的数值超出范围！\n"},
      {{"--max", Data("lp_contradictory.csv")}, 2, "", "orcalc-cli: graph draws problems in 2 variables, not 1 (see --vars)\n"},
      {{"--max", "--min", Data("lp_example.csv")}, 2, "", "orcalc-cli: --max and --min exclude each other\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliRun run = Graph(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
  }
}

TEST(GraphCli, SvgPicture) {
  const std::string svg = Temp("picture.svg");
  const CliRun run = Graph({"--max", Data("lp_example.csv"), "--svg", svg});
  if (!ORCALC_CLI_DRAWS_PICTURES) {
    // Built without the windows: refused before anything is read.
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              "orcalc-cli: --svg needs an orcalc-cli built with the Qt windows (ORCALC_GUI=ON)");
    return;
  }
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kExampleListing + "optimum 4 0 12\n");
  EXPECT_EQ(run.err, "");  // Qt says nothing on the way
  const std::string picture = Slurp(svg);
  std::remove(svg.c_str());
  EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
  EXPECT_NE(picture.find("viewBox=\"0 0 800 600\""), std::string::npos);
  EXPECT_NE(picture.find(">约束方程1</text>"), std::string::npos);
  EXPECT_NE(picture.find("</svg>"), std::string::npos);

  // A folder that is not there: the listing, then the failure.
  const CliRun refused = Graph({"--max", Data("lp_example.csv"), "--svg", "/no/such/folder/a.svg"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err.rfind("orcalc-cli: cannot write /no/such/folder/a.svg: ", 0), 0u)
      << refused.err;
}

}  // namespace
