// The figures of an integer program for scripts, read back by a strict
// JSON reader, for each way a search ends.
#include "integer/integer_result.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/csv_figures.h"
#include "common/json_reader.h"
#include "common/json_writer.h"
#include "lp/lp_rows.h"
#include "lp/lp_sheet.h"

namespace orcalc::integer {
namespace {

using lp::EQ;
using lp::kMax;
using lp::LE;
using testing::JsonValue;
using testing::ParseJson;
constexpr VariableType C = VariableType::Continuous, I = VariableType::Integer,
                       B = VariableType::Binary;
constexpr JsonValue::Kind kNull = JsonValue::Kind::Null;

std::string Written(ResultWriter& out, const lp::LpProblem& problem,
                    const std::vector<VariableType>& types, long node_limit) {
  IntegerOptions options;
  options.node_limit = node_limit;
  const lp::LpProblem normalised = lp::Normalised(problem);
  const std::optional<SolvedInteger> solved =
      SolvedInteger{normalised, types, SolveBranchAndBound(normalised, types, options)};
  const CalculationOutcome outcome;
  WriteIntegerResult(out, {outcome, solved});
  return out.Take();
}

TEST(IntegerResult, FiguresOfEachOutcome) {
  const lp::LpProblem knapsack = lp::MakeProblem(kMax, {16, 22, 12, 8}, {{5, 7, 4, 3, LE, 14}});
  const struct {
    std::string name;
    lp::LpProblem problem;
    std::vector<VariableType> types;
    long node_limit;
    std::string status;
    std::optional<double> s;  // absent: null
    bool proven;
    std::vector<std::string> keywords;
  } cases[] = {
      // clang-format off
      {"knapsack", knapsack, {B, B, B, B}, 1000, "optimal", 42, true, {}},
      {"mixed", lp::MakeProblem(kMax, {3, 2}, {{2, 2, LE, 7}, {1, 0, LE, 2.5}}), {I, C}, 1000, "optimal", 9, true, {}},
      {"no whole point", lp::MakeProblem(kMax, {1}, {{2, EQ, 1}}), {I}, 1000, "no_integer_solution", std::nullopt, false, {"no_integer_solution"}},
      {"unbounded relaxation", lp::MakeProblem(kMax, {1, 1}, {{1, -1, LE, 1}}), {I, I}, 1000, "relaxation_unbounded", std::nullopt, false, {"relaxation_unbounded"}},
      {"limit before a solution", knapsack, {B, B, B, B}, 3, "node_limit", std::nullopt, false, {"no_integer_solution_found"}},
      {"limit after one", knapsack, {B, B, B, B}, 6, "node_limit", 42 /* or less */, false, {"not_proven_optimal"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JsonWriter json;
    const JsonValue read = ParseJson(Written(json, c.problem, c.types, c.node_limit));
    EXPECT_EQ(read["status"].text, c.status);
    EXPECT_EQ(read["sense"].text, "max");
    const JsonValue& integer = read["integer"];
    ASSERT_EQ(integer["types"].items.size(), c.types.size());
    for (std::size_t j = 0; j < c.types.size(); ++j)
      EXPECT_EQ(integer["types"][j].text, VariableTypeKeyword(c.types[j]));
    EXPECT_GE(integer["nodes"].number, 1);
    EXPECT_EQ(integer["proven_optimal"].flag, c.proven);
    if (!c.s) {
      EXPECT_EQ(read["S"].kind, kNull);
      EXPECT_TRUE(read["variables"].items.empty());
      EXPECT_EQ(integer["gap"].kind, kNull);
    } else {
      EXPECT_LE(read["S"].number, *c.s);
      if (c.proven) {
        EXPECT_EQ(read["S"].number, *c.s);
      }
      EXPECT_EQ(read["variables"].items.size(), c.types.size());
      // The gap is what separates S from the bound, zero once proven.
      EXPECT_DOUBLE_EQ(integer["gap"].number, integer["best_bound"].number - read["S"].number);
      if (c.proven) {
        EXPECT_EQ(integer["gap"].number, 0);
      }
    }
    std::vector<std::string> keywords;
    for (const JsonValue& message : read["messages"].items)
      keywords.push_back(message["keyword"].text);
    EXPECT_EQ(keywords, c.keywords);
  }
}

TEST(IntegerResult, CsvNamesTheSearchFigures) {
  CsvFigureWriter csv;
  const std::string text = Written(
      csv, lp::MakeProblem(kMax, {16, 22, 12, 8}, {{5, 7, 4, 3, LE, 14}}), {B, I, C, C}, 1000);
  for (const char* record : {"\nstatus,optimal\n", "\nS,44\n", "\ninteger.types.1,binary\n",
                             "\ninteger.types.2,integer\n", "\ninteger.types.3,continuous\n",
                             "\ninteger.gap,0\n", "\ninteger.proven_optimal,true\n"})
    EXPECT_NE(text.find(record), std::string::npos) << record << " in\n" << text;
}

}  // namespace
}  // namespace orcalc::integer
