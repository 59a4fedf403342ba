// orcalc-cli --format report|csv|json, -o FILE and --lf: the report's bytes
// unchanged, JSON that a strict reader reads, the status and message
// keywords of each way a calculation ends, and the guarded output file.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "common/json_reader.h"
#include "common/json_writer.h"
#include "common/test_support.h"
#include "goal/goal_commands.h"
#include "goal/goal_result.h"
#include "lp/lp_commands.h"
#include "lp/lp_result.h"

namespace {

using namespace orcalc::cli_testing;
using orcalc::testing::JsonValue;
using orcalc::testing::ParseJson;

std::string Scratch(const std::string& name) {
  return ::testing::TempDir() + "/orcalc_format_" + std::to_string(getpid()) + "_" + name;
}

std::vector<std::string> With(std::vector<std::string> args, std::vector<std::string> more) {
  args.insert(args.end() - 1, more.begin(), more.end());  // before the sheet file
  return args;
}

std::vector<std::string> Keywords(const JsonValue& result) {
  std::vector<std::string> keywords;
  for (const JsonValue& message : result["messages"].items)
    keywords.push_back(message["keyword"].text);
  return keywords;
}

// The messages' texts, each on a line, as standard error shows them.
std::string MessageLines(const JsonValue& result) {
  std::string lines;
  for (const JsonValue& message : result["messages"].items) lines += message["text"].text + "\n";
  return lines;
}

const std::vector<std::vector<std::string>> kRuns = {
    {"lp", Data("lp_example.csv")},
    {"lp", Data("lp_contradictory.csv")},
    {"lp", Data("unclosed_quote.csv")},
    {"lp", Data("lp_example_utf16.csv")},
    {"lp", Data("lp_knapsack.csv")},
    {"lp", "--max-nodes", "2", Data("lp_knapsack.csv")},
    {"sensitivity", Data("lp_example.csv")},
    {"sensitivity", Data("lp_contradictory.csv")},
    {"graph", Data("lp_example.csv")},
    {"graph", Data("lp_graph_parallel.csv")},
    {"goal", Data("goal_example.csv")},
    {"stats", "--column", "1", Data("stats_lp.csv")},
    {"stats", "--column", "2", Data("stats_overflow.csv")},
};

TEST(OutputFormat, ReportBytesAsBefore) {
  // The report as the results window shows it, byte for byte.
  for (const auto& [args, golden] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"lp", Data("lp_example.csv")}, "lp_example_report.txt"},
           {{"goal", Data("goal_example.csv")}, "goal_example_report.txt"},
           {{"sensitivity", Data("lp_example.csv")}, "lp_example_sensitivity.txt"}}) {
    EXPECT_EQ(RunCli(With(args, {"--format", "report"}), "/dev/null").out, Slurp(Data(golden)))
        << golden;
  }
  const std::string file = Scratch("report.txt");
  for (const std::vector<std::string>& args : kRuns) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const CliRun plain = RunCli(args, "/dev/null");
    const CliRun report = RunCli(With(args, {"--format=report", "--format", "sheet"}), "/dev/null");
    EXPECT_EQ(report.out, plain.out);
    EXPECT_EQ(report.err, plain.err);
    EXPECT_EQ(report.status, plain.status);
    std::string lf = plain.out;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    EXPECT_EQ(RunCli(With(args, {"--lf"}), "/dev/null").out, lf);
    // Into a file: what standard output would get, and nothing on it; a
    // refused sheet file leaves the target as it was (here: absent).
    std::remove(file.c_str());
    const CliRun written = RunCli(With(args, {"-o", file, "--lf"}), "/dev/null");
    EXPECT_EQ(written.status, plain.status);
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(Slurp(file), lf);
  }
  std::remove(file.c_str());
}

TEST(OutputFormat, JsonAndCsvOfEveryCommand) {
  for (const std::vector<std::string>& args : kRuns) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const CliRun plain = RunCli(args, "/dev/null");
    const CliRun json = RunCli(With(args, {"--format", "json"}), "/dev/null");
    EXPECT_EQ(json.status, plain.status);
    EXPECT_EQ(json.err, plain.err);
    if (plain.status == 2) continue;  // refused before any calculation
    JsonValue result;
    ASSERT_NO_THROW(result = ParseJson(json.out)) << json.out;
    EXPECT_EQ(json.out.find('\r'), std::string::npos);
    EXPECT_EQ(result["status"].kind, JsonValue::Kind::Text);
    EXPECT_EQ(MessageLines(result), plain.err);
    const CliRun csv = RunCli(With(args, {"--format", "csv"}), "/dev/null");
    EXPECT_EQ(csv.status, plain.status);
    EXPECT_EQ(csv.out.rfind("figure,value\nstatus,", 0), 0u);
    EXPECT_EQ(csv.out.find('\r'), std::string::npos);
  }
  const auto json = [](std::vector<std::string> args) {
    return ParseJson(RunCli(With(args, {"--format", "json"}), "/dev/null").out);
  };
  const JsonValue lp = json({"lp", Data("lp_example.csv")});
  EXPECT_EQ(lp["S"].number, 12);
  EXPECT_EQ(lp["variables"][0].number, 4);
  EXPECT_EQ(lp["verdict"].text, "certified");
  const JsonValue knapsack = json({"lp", "--integer", "1", Data("lp_knapsack.csv")});
  EXPECT_EQ(knapsack["S"].number, 44);  // χ1 no longer 0-1: twice item 1
  EXPECT_EQ(knapsack["integer"]["types"][0].text, "integer");
  EXPECT_TRUE(knapsack["integer"]["proven_optimal"].flag);
  const JsonValue ranges = json({"sensitivity", Data("lp_example.csv")})["sensitivity"];
  EXPECT_EQ(ranges["constraints"][0]["upper"].number, 6);
  EXPECT_EQ(ranges["variables"][0]["upper"].kind, JsonValue::Kind::Null);  // +∞
  const JsonValue graph = json({"graph", Data("lp_example.csv")});
  EXPECT_EQ(graph["vertices"].items.size(), 4u);
  EXPECT_EQ(graph["optimum"]["vertices"][0].number, 2);
  const JsonValue goal = json({"goal", Data("goal_example.csv")});
  EXPECT_EQ(goal["blocks"].items.size(), 4u);  // three pivots and the final block
  EXPECT_EQ(goal["variables"][1].number, 6);
  EXPECT_EQ(json({"stats", "--column", "1", Data("stats_lp.csv")})["mean"].number, 2.8);
  // A model file adds its own names and objective (the constant included).
  const JsonValue model = json({"lp", Data("lp_example.lp")})["model"];
  EXPECT_EQ(model["objective"].number, 12);
  EXPECT_EQ(model["variables"]["x1"].number, 4);
  EXPECT_EQ(json({"lp", Data("lp_contradictory.csv")})["status"].text, "infeasible");
}

TEST(OutputFormat, StatusAndMessageKeywords) {
  const std::string head = ",χ1 系数,χ2 系数,约束符号,常数项\n";
  const struct {
    std::vector<std::string> args;
    std::string status;
    std::vector<std::string> keywords;
    int exit;
  } cases[] = {
      // clang-format off
      {{"lp", Data("lp_example.csv")}, "optimal", {}, 0},
      {{"lp", Data("lp_contradictory.csv")}, "infeasible", {"no_optimum", "no_optimum"}, 1},
      {{"lp", TempFile("unbounded.csv", head + "目标函数系数,1,1, ═ ,Max\n约束方程1,1,-1, ≤ ,1\n")}, "unbounded", {"unbounded"}, 1},
      {{"lp", TempFile("overflow.csv", head + "目标函数系数,1e999,1, ═ ,Max\n约束方程1,1,1, ≤ ,1\n")}, "overflow", {"cell_overflow"}, 1},
      {{"graph", TempFile("empty.csv", head + "目标函数系数,1,1, ═ ,Max\n约束方程1,1,1, ≤ ,1\n" "约束方程2,1,1, ≥ ,3\n")}, "infeasible", {}, 0},
      {{"sensitivity", Data("lp_contradictory.csv")}, "infeasible", {"no_optimum", "no_optimum", "sensitivity_not_applicable"}, 1},
      {{"stats", "--column", "0", Data("stats_lp.csv")}, "no_column", {"no_column"}, 1},
      {{"stats", "--column", "1", "--count", "1", Data("stats_lp.csv")}, "done", {"too_few_samples"}, 1},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    std::vector<std::string> args = c.args;
    args.insert(args.begin() + 1, {"--format", "json"});
    const CliRun run = RunCli(args, "/dev/null");
    EXPECT_EQ(run.status, c.exit) << run.err;
    const JsonValue result = ParseJson(run.out);
    EXPECT_EQ(result["status"].text, c.status);
    EXPECT_EQ(Keywords(result), c.keywords);
    EXPECT_EQ(MessageLines(result), run.err);
  }
}

// The outcomes orcalc-cli cannot reach with the program's own limits: the
// solvers' loops stopped after one pivot.
TEST(OutputFormat, IterationLimitKeywords) {
  const orcalc::Sheet lp_sheet = orcalc::SheetFromCsv(orcalc::TestData("lp_example.csv"));
  orcalc::lp::LpRequest lp_request{
      .variables = 2, .constraints = 2, .sense = orcalc::lp::Sense::Maximise};
  lp_request.iteration_limit = 1;
  std::optional<orcalc::lp::SolvedLp> solved;
  const orcalc::CalculationOutcome lp_outcome =
      orcalc::lp::Calculate(lp_request, lp_sheet, &solved);
  orcalc::JsonWriter lp_json;
  orcalc::lp::WriteLpResult(lp_json, {lp_outcome, solved});
  const JsonValue lp = ParseJson(lp_json.Take());
  EXPECT_EQ(lp["status"].text, "iteration_limit");
  EXPECT_EQ(Keywords(lp), std::vector<std::string>{"iteration_limit"});

  const orcalc::Sheet goal_sheet = orcalc::SheetFromCsv(orcalc::TestData("goal_example.csv"));
  orcalc::goal::GoalRequest goal_request{.goals = 2, .variables = 2};
  goal_request.pivot_limit = 1;
  orcalc::goal::GoalRun run;
  const orcalc::CalculationOutcome goal_outcome =
      orcalc::goal::Calculate(goal_request, goal_sheet, &run);
  orcalc::JsonWriter goal_json;
  orcalc::goal::WriteGoalResult(goal_json, run, goal_outcome);
  const JsonValue goal = ParseJson(goal_json.Take());
  EXPECT_EQ(goal["status"].text, "iteration_limit");
  EXPECT_EQ(Keywords(goal), std::vector<std::string>{"pivot_limit"});
  EXPECT_EQ(MessageLines(goal), goal_outcome.messages.front() + "\n");
}

TEST(OutputFormat, OutputFileThroughTheGuardedWriter) {
  const std::string kept = Scratch("kept.json");
  std::ofstream(kept, std::ios::binary) << "earlier\n";
  ASSERT_EQ(chmod(kept.c_str(), 0444), 0);
  const std::string folder = Scratch("folder");
  mkdir(folder.c_str(), 0700);
  for (const auto& [target, reason] :
       {std::pair{kept, "the file is read-only"}, std::pair{folder, "it is not a regular file"}}) {
    const CliRun refused =
        RunCli({"lp", "--format", "json", "--output", target, Data("lp_example.csv")}, "/dev/null");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "orcalc-cli: cannot write " + target + ": " + reason + "\n");
  }
  EXPECT_EQ(Slurp(kept), "earlier\n");
  chmod(kept.c_str(), 0644);
  const CliRun written =
      RunCli({"goal", "-o", kept, "--format", "json", Data("goal_example.csv")}, "/dev/null");
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(ParseJson(Slurp(kept))["status"].text, "optimal");
  std::remove(kept.c_str());
  rmdir(folder.c_str());
}

}  // namespace
