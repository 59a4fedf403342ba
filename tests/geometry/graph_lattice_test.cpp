// The whole-number points the graphical method marks and the integer
// optimum beside the linear program's, on problems counted by hand.
#include "geometry/graph_lattice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/json_reader.h"
#include "common/json_writer.h"
#include "geometry/graph_command.h"
#include "geometry/graph_result.h"
#include "geometry/graph_text.h"
#include "lp/lp_rows.h"
#include "lp/lp_sheet.h"

namespace orcalc::lp {
namespace {

constexpr integer::VariableType C = integer::VariableType::Continuous,
                                I = integer::VariableType::Integer,
                                B = integer::VariableType::Binary;

TEST(GraphLattice, PointsAndOptimum) {
  const struct {
    std::string name;
    LpProblem problem;
    std::vector<integer::VariableType> types;
    std::size_t points;
    bool too_many;
    std::optional<GraphPoint> optimum;
    double value;
  } cases[] = {
      // clang-format off
      // (0..1, 0..1), (0, 2), (0, 3); the relaxation's (13/7, 0) rounds outside.
      {"rounded optimum infeasible", MakeProblem(kMax, {21, 11}, {{7, 4, LE, 13}}), {I, I}, 6, false, GraphPoint{0, 3}, 33},
      // χ1 ∈ {0, 1}: 6 points on χ1 = 0 and 5 on χ1 = 1.
      {"0-1 and integer", MakeProblem(kMax, {1, 2}, {{1, 1, LE, 5.5}}), {B, I}, 11, false, GraphPoint{0, 5}, 10},
      // A continuous χ2: no points to mark, the optimum still shown.
      {"mixed", MakeProblem(kMax, {21, 11}, {{7, 4, LE, 13}}), {I, C}, 0, false, GraphPoint{1, 1.5}, 37.5},
      // 101 × 101 / 2 points and more in the box: none marked.
      {"too many to see", MakeProblem(kMax, {1, 1}, {{1, 1, LE, 100}}), {I, I}, 0, true, GraphPoint{100, 0}, 100},
      // The region is the line χ1 = 0.5.
      {"no whole point", MakeProblem(kMax, {1, 1}, {{2, 0, EQ, 1}, {0, 1, LE, 3}}), {I, I}, 0, false, std::nullopt, 0},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LpProblem problem = Normalised(c.problem);
    const GraphGeometry geometry = ComputeGraph(problem);
    const GraphLattice lattice = ComputeGraphLattice(problem, c.types, geometry.box);
    EXPECT_EQ(lattice.points.size(), c.points);
    EXPECT_EQ(lattice.too_many, c.too_many);
    ASSERT_EQ(lattice.optimum.has_value(), c.optimum.has_value());
    if (!c.optimum) {
      EXPECT_NE(GraphLatticeListing(lattice).find("integer-empty\n"), std::string::npos);
      continue;
    }
    // S at a tie on the first row may take either whole point: compare S.
    EXPECT_DOUBLE_EQ(lattice.value, c.value);
    if (c.name != "too many to see") {
      EXPECT_EQ(*lattice.optimum, *c.optimum);
    }
    EXPECT_NE(GraphLatticeListing(lattice).find("integer-optimum "), std::string::npos);
  }
}

TEST(GraphLattice, JsonOfTheSheetsTypes) {
  Sheet sheet;  // a fresh grid, laid out as OK lays it out
  LayOutSheet(sheet, 2, 1, kMax);
  for (const auto& [column, text] : {std::pair{1, "21"}, std::pair{2, "11"}})
    sheet.SetCell(1, column, text);
  for (const auto& [column, text] :
       {std::pair{1, "7"}, std::pair{2, "4"}, std::pair{3, "≤"}, std::pair{4, "13"}})
    sheet.SetCell(2, column, text);
  for (const bool whole : {false, true}) {
    const GraphCalculation calculation = CalculateGraph(
        {2, 1, kMax}, sheet,
        whole ? std::vector<integer::VariableType>{I, I} : std::vector<integer::VariableType>{});
    JsonWriter json;
    WriteGraphResult(json, calculation);
    const std::string written = json.Take();
    const testing::JsonValue read = testing::ParseJson(written);
    EXPECT_EQ(read["S"].number, 39);  // the linear program's, as before
    ASSERT_EQ(read.Has("integer"), whole);
    if (!whole) continue;
    EXPECT_EQ(read["integer"]["optimum"][1].number, 3);
    EXPECT_EQ(read["integer"]["S"].number, 33);
    EXPECT_EQ(read["integer"]["points"].number, 6);
    EXPECT_FALSE(read["integer"]["too_many"].flag);
  }
}

}  // namespace
}  // namespace orcalc::lp
