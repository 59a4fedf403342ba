// Sensitivity analysis and the dual problem: small problems worked by hand,
// the report and CSV texts, the cases where it does not apply, and random
// problems against GLPK's own analysis.
#include "sensitivity/sensitivity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "common/test_support.h"
#include "common/text_width.h"
#include "lp/glpk_problem.h"
#include "lp/lp_rows.h"
#include "sensitivity/sensitivity_command.h"
#include "sensitivity/sensitivity_report.h"

namespace orcalc::lp {
namespace {

using Messages = std::vector<std::string>;
constexpr double kInf = std::numeric_limits<double>::infinity();
const std::string kNotApplicable = "问题没有最优解，不能进行灵敏度分析！";

SensitivityAnalysis Analyse(const LpProblem& entered) {
  const LpProblem problem = Normalised(entered);
  return AnalyseSensitivity(problem, SolveSimplex(problem));
}

const Sheet kExample = SheetFromCsv("\n,3,2\n,1,1, ≤ ,4\n,1,3, ≤ ,6\n");

// The figures themselves are compared with GLPK below; the worked example's
// report holds them as written.
TEST(SensitivityReport, DualOfGreaterEqualAndEqualityRows) {
  // Minimise 2χ1 + 3χ2 subject to χ1 + χ2 ≥ 4 and -χ1 ≥ -3, which the
  // intake turns into χ1 ≤ 3. Its dual: maximise, ≤, y ≥ 0 for the ≥ row,
  // ≤ 0 for the ≤ row.
  const CalculationOutcome greater_equal = CalculateSensitivity(
      {2, 2, Sense::Minimise}, SheetFromCsv("\n,2,3\n,1,1, ≥ ,4\n,-1,0, ≥ ,-3\n"));
  EXPECT_NE(greater_equal.report.value_or("").find(
                CrLf("对偶问题:\n Max w = 4y1 + 3y2 \n约束条件如下:\n1*y1 +  1*y2 ≤  2\n"
                     "1*y1 +  0*y2 ≤  3\ny1 ≥ 0\ny2 ≤ 0\n\n")),
            std::string::npos)
      << greater_equal.report.value_or("");
  // An equality row's dual variable is free.
  const LpProblem p = MakeProblem(kMax, {2, 1, 1}, {{1, 1, 2, EQ, 5}, {1, 0, 0, LE, 3}});
  const std::string report = WriteSensitivityReport(p, Analyse(p));
  EXPECT_NE(report.find(CrLf("\ny2 ≥ 0\ny1 无约束\n")), std::string::npos) << report;
}

TEST(Sensitivity, DegenerateAndNotUniqueOptimaAreNoted) {
  // x2 is barred: -χ2 = 0 keeps its artificial variable basic at 0. The
  // barred variable is fixed at 0, so its coefficient may take any value.
  SensitivityAnalysis a = Analyse(MakeProblem(kMax, {1, 2}, {{0, -1, EQ, 0}, {1, 1, LE, 4}}));
  ASSERT_EQ(a.status, SensitivityStatus::Done);
  EXPECT_TRUE(a.degenerate);
  EXPECT_TRUE(a.variables[1].barred);
  EXPECT_EQ(a.variables[1].lower, -kInf);
  EXPECT_EQ(a.variables[1].upper, kInf);
  // The redundant equality's artificial variable must stay at 0: its right-
  // hand side cannot move.
  EXPECT_EQ(a.constraints[0].lower, 0);
  EXPECT_EQ(a.constraints[0].upper, 0);
  EXPECT_EQ(a.objective, 4);

  // A whole edge is optimal (χ2's reduced cost is 0): the note in full.
  const LpProblem edge = MakeProblem(kMax, {1, 1}, {{1, 1, LE, 4}, {1, 0, LE, 3}});
  const std::string report = WriteSensitivityReport(edge, Analyse(edge));
  EXPECT_NE(report.find(CrLf("目标函数值 S = 4\n注意：有非基变量的检验数为0，最优解可能不唯一；"
                             "以下为最终基的数值。\n\n")),
            std::string::npos)
      << report;
}

TEST(SensitivityReport, WorkedExampleTextAndCsv) {
  const CalculationOutcome outcome = CalculateSensitivity({2, 2, Sense::Maximise}, kExample);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_EQ(outcome.title, "灵敏度分析结果");
  EXPECT_EQ(outcome.report, TestData("lp_example_sensitivity.txt"));
  EXPECT_EQ(CalculateSensitivity({2, 2, Sense::Maximise}, kExample, SensitivityFormat::Csv).report,
            "kind,index,value,rate,current,lower,upper\nvariable,1,4,0,3,2,inf\n"
            "variable,2,0,-1,2,-inf,3\nconstraint,1,4,3,4,0,6\nconstraint,2,4,0,6,4,inf\n"
            "degenerate,0,0,,,,\nunique,0,1,,,,\n");
}

// The CSV closes with the two flags of the report's note; a reader that
// skips unknown kinds sees the figures alone.
TEST(SensitivityReport, CsvClosesWithTheNotesFlags) {
  const struct {
    const char* what;
    LpProblem problem;
    const char* flags;
    const char* note;  // the start of the report's note, or ""
  } cases[] = {
      {"a whole edge optimal", MakeProblem(kMax, {1, 1}, {{1, 1, LE, 4}, {1, 0, LE, 3}}),
       "degenerate,0,0,,,,\nunique,0,0,,,,\n", "注意：有非基变量的检验数为0"},
      {"three rows through the optimum",
       MakeProblem(kMax, {1, 2}, {{1, 1, LE, 4}, {0, 1, LE, 4}, {1, 2, LE, 8}}),
       "degenerate,0,1,,,,\nunique,0,1,,,,\n", "注意：最优解退化（有基变量取值为0）"},
      {"an edge of optima ending in three rows",
       MakeProblem(kMax, {1, 1}, {{1, 1, LE, 4}, {1, 0, LE, 4}, {0, 1, LE, 4}}),
       "degenerate,0,1,,,,\nunique,0,0,,,,\n", "注意：最优解退化且有非基变量的检验数为0"},
      {"a redundant equality at 0", MakeProblem(kMax, {1, 2}, {{0, -1, EQ, 0}, {1, 1, LE, 4}}),
       "degenerate,0,1,,,,\nunique,0,1,,,,\n", "注意：最优解退化（有基变量取值为0）"},
  };
  for (const auto& c : cases) {
    const LpProblem problem = Normalised(c.problem);
    const SensitivityAnalysis analysis = Analyse(problem);
    ASSERT_EQ(analysis.status, SensitivityStatus::Done) << c.what;
    const std::string csv = WriteSensitivityCsv(analysis);
    const std::string flags = c.flags;
    ASSERT_GE(csv.size(), flags.size()) << c.what;
    EXPECT_EQ(csv.substr(csv.size() - flags.size()), flags) << c.what;
    const std::string report = WriteSensitivityReport(problem, analysis);
    const bool noted = report.find("注意：") != std::string::npos;
    EXPECT_EQ(noted, *c.note != 0) << c.what;
    if (*c.note != 0) {
      EXPECT_NE(report.find(c.note), std::string::npos) << c.what << report;
    }
    // Every record has the header's seven fields.
    std::size_t lines = 0;
    for (std::size_t at = 0; at < csv.size(); at = csv.find('\n', at) + 1, ++lines) {
      const std::string line = csv.substr(at, csv.find('\n', at) - at);
      EXPECT_EQ(std::count(line.begin(), line.end(), ','), 6) << c.what << ": " << line;
    }
    EXPECT_EQ(lines, 1 + analysis.variables.size() + analysis.constraints.size() + 2) << c.what;
  }
}

TEST(SensitivityReport, TablesLineUpInTheFixedPitchFace) {
  EXPECT_EQ(DisplayWidth("χ12"), 3u);
  EXPECT_EQ(DisplayWidth("约束方程1"), 9u);
  EXPECT_EQ(DisplayWidth("-∞ ≤ ═ ："), 12u);
  EXPECT_EQ(DisplayWidth("\xE4\xB8"), 2u);  // a cut-off character: one column a byte

  // Fractions, negative figures, exponents and infinite bounds in one table:
  // every line of a table is as wide as its header.
  const LpProblem p = MakeProblem(kMin, {1.5e-7, -3, 2, 1e20 / 3},
                                  {{1, 1, 1, 1, LE, 10.25},
                                   {3, -1, 0, 2, GE, 1.0 / 3},
                                   {1, 2, 0, 0, EQ, 7},
                                   {0, 1, 1, 1, LE, 40}});
  const std::string report = WriteSensitivityReport(p, Analyse(p));
  for (const char* header : {"变量  ", "约束  ", "对偶变量"}) {
    std::size_t at = report.find(header);
    ASSERT_NE(at, std::string::npos) << header;
    const std::size_t width = DisplayWidth(report.substr(at, report.find('\r', at) - at));
    for (at = report.find('\n', at) + 1; report.compare(at, 2, "\r\n") != 0;
         at = report.find('\n', at) + 1) {
      const std::string line = report.substr(at, report.find('\r', at) - at);
      EXPECT_EQ(DisplayWidth(line), width) << line;
      EXPECT_NE(line.back(), ' ') << line;
    }
  }
}

TEST(SensitivityCommand, OnlyAfterAnOptimumWithoutMessages) {
  // The calculation's own messages, then the refusal, and no report.
  const struct {
    const char* what;
    Sheet sheet;
    int m, n;
    long limit;
    Messages messages;
  } cases[] = {
      {"infeasible", SheetFromCsv("\n,1\n,1, ≤ ,1\n,1, ≥ ,3\n"), 1, 2, 1000000, {"无最优解！"}},
      {"unbounded", SheetFromCsv("\n,1,0\n,1,-1, ≤ ,1\n"), 2, 1, 1000000, {"无解！"}},
      {"iteration limit", kExample, 2, 2, 2, {"迭代次数超过限制，未求得最优解！"}},
      // clang-format off
      {"overflowing cell", SheetFromCsv("\n,3,2\n,1,1e999, ≤ ,4\n"), 2, 1, 1000000, {OverflowMessage(2, 2)}},
      // clang-format on
  };
  for (const auto& c : cases) {
    const LpRequest request{c.m, c.n, Sense::Maximise, ".", c.limit};
    const CalculationOutcome calculation = Calculate(request, c.sheet);
    EXPECT_EQ(calculation.messages, c.messages) << c.what;
    Messages expected = c.messages;
    expected.push_back(kNotApplicable);
    const CalculationOutcome outcome = CalculateSensitivity(request, c.sheet);
    EXPECT_EQ(outcome.messages, expected) << c.what;
    EXPECT_FALSE(outcome.report.has_value()) << c.what;
  }
  // No constraints, nothing to gain: the origin, with the tables' heads only.
  const CalculationOutcome empty =
      CalculateSensitivity({2, 0, Sense::Maximise}, SheetFromCsv("\n,-1,0\n"));
  ASSERT_TRUE(empty.report.has_value());
  EXPECT_NE(empty.report->find(CrLf("约束  左端值  影子价格  常数项  下限  上限\n\n对偶问题:\n"
                                    " Min w = \n约束条件如下:\n ≥ -1\n ≥  0\n\n")),
            std::string::npos)
      << *empty.report;
}

// ---- Against GLPK ----------------------------------------------------------

double Finite(double glpk_value) {
  return glpk_value <= -DBL_MAX ? -kInf : glpk_value >= DBL_MAX ? kInf : glpk_value;
}

// Whole-number data around a known point, with a row that bounds every
// variable; rows may be entered negated (the intake turns them back when
// their right-hand side is negative).
LpProblem RandomProblem(std::mt19937_64& random) {
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const int m = uniform(1, 30), n = uniform(1, 30);
  std::vector<double> c(m), point(m);
  for (int j = 0; j < m; ++j) c[j] = uniform(-9, 9), point[j] = uniform(0, 5);
  std::vector<std::vector<double>> rows;
  for (int i = 0; i < n; ++i) {
    std::vector<double> row(m + 2);
    double at_point = 0;
    for (int j = 0; j < m; ++j) {
      row[j] = uniform(0, 2) == 0 ? 0 : uniform(-5, 9);
      at_point += row[j] * point[j];
    }
    const int kind = i == 0 ? 0 : uniform(0, 9);
    if (kind == 0) {  // bounds the problem
      for (int j = 0; j < m; ++j) row[j] = uniform(1, 4);
      row[m] = LE, row[m + 1] = 60 + uniform(0, 40);
    } else {
      row[m] = kind < 4 ? GE : kind < 9 ? LE : EQ;
      row[m + 1] = at_point + (kind < 4 ? -uniform(1, 9) : kind < 9 ? uniform(1, 9) : 0);
    }
    if (uniform(0, 3) == 0) {
      for (double& v : row) v = -v;
      row[m] = -row[m] + 0.0;
    }
    rows.insert(rows.begin() + uniform(0, static_cast<int>(rows.size())), row);
  }
  return MakeProblem(uniform(0, 1) ? kMax : kMin, c, rows);
}

void ExpectClose(double ours, double theirs, const char* what, int index) {
  if (std::isinf(ours) || std::isinf(theirs)) {
    EXPECT_EQ(ours, theirs) << what << " " << index;
  } else {
    EXPECT_NEAR(ours, theirs, 1e-7 * std::max({1.0, std::fabs(ours), std::fabs(theirs)}))
        << what << " " << index;
  }
}

TEST(Sensitivity, AgreesWithGlpkOnUniqueNonDegenerateOptima) {
  std::mt19937_64 random(20250417);
  int compared = 0, maximised = 0, with_equalities = 0, with_negated_rows = 0, trial = 0;
  for (; trial < 1500 && compared < 400; ++trial) {
    const LpProblem entered = RandomProblem(random);
    LpProblem problem = entered;
    NormaliseRightHandSides(problem);
    const SensitivityAnalysis ours = AnalyseSensitivity(problem, SolveSimplex(problem));
    // GLPK's optimum of the problem as entered (rows not normalised).
    const std::unique_ptr<glp_prob, void (*)(glp_prob*)> lp(GlpkProblem(entered), glp_delete_prob);
    const bool optimal = glp_simplex(lp.get(), nullptr) == 0 && glp_get_status(lp.get()) == GLP_OPT;
    ASSERT_EQ(ours.status == SensitivityStatus::Done, optimal) << "trial " << trial;
    if (!optimal || ours.degenerate || ours.not_unique) continue;
    if (!glp_bf_exists(lp.get())) glp_factorize(lp.get());
    SCOPED_TRACE(::testing::Message() << "trial " << trial);
    ++compared;
    maximised += problem.sense == Sense::Maximise;
    with_equalities += std::count(problem.signs.begin(), problem.signs.end(), EQ) > 0;
    bool negated_any = false;
    int var = 0;
    double bound = 0, low = 0, high = 0;

    ExpectClose(ours.dual_objective, ours.objective, "dual objective", 0);
    for (int j = 0; j < problem.variables; ++j) {
      const VariableSensitivity& v = ours.variables[j];
      const double reduced_cost = glp_get_col_dual(lp.get(), j + 1);
      ASSERT_EQ(v.basic, glp_get_col_stat(lp.get(), j + 1) == GLP_BS) << "χ" << j + 1;
      ExpectClose(v.value, glp_get_col_prim(lp.get(), j + 1), "value", j);
      ExpectClose(v.reduced_cost, reduced_cost, "reduced cost", j);
      if (v.basic) {
        glp_analyze_coef(lp.get(), problem.constraints + j + 1, &low, &var, &bound, &high, &var,
                         &bound);
      } else {  // optimal while the reduced cost keeps its sign
        const double edge = v.coefficient - reduced_cost;
        low = problem.sense == Sense::Maximise ? -kInf : edge;
        high = problem.sense == Sense::Maximise ? edge : kInf;
      }
      ExpectClose(v.lower, Finite(low), "coefficient lower", j);
      ExpectClose(v.upper, Finite(high), "coefficient upper", j);
    }
    for (int i = 0; i < problem.constraints; ++i) {
      // A row the intake negated has every figure negated, its range mirrored.
      const bool negated = entered.rhs[i] < 0;
      negated_any |= negated;
      const double s = negated ? -1 : 1, activity = glp_get_row_prim(lp.get(), i + 1);
      const ConstraintSensitivity& c = ours.constraints[i];
      ExpectClose(c.activity, s * activity, "activity", i);
      ExpectClose(c.shadow_price, s * glp_get_row_dual(lp.get(), i + 1), "shadow price", i);
      if (glp_get_row_stat(lp.get(), i + 1) == GLP_BS) {  // inactive: up to the activity
        const bool upper_bound = entered.signs[i] == LE;
        low = upper_bound ? activity : -kInf;
        high = upper_bound ? kInf : activity;
      } else {
        glp_analyze_bound(lp.get(), i + 1, &low, &var, &high, &var);
      }
      ExpectClose(c.lower, Finite(negated ? -high : low), "rhs lower", i);
      ExpectClose(c.upper, Finite(negated ? -low : high), "rhs upper", i);
    }
    with_negated_rows += negated_any;
  }
  // The problems compared cover both senses, equality rows and negated rows.
  EXPECT_GE(compared, 300);
  EXPECT_GE(std::min(maximised, compared - maximised), 100);
  EXPECT_GE(with_equalities, 50);
  EXPECT_GE(with_negated_rows, 50);
  std::printf(
      "compared with GLPK: %d of %d problems (%d maximised, %d with equalities, %d with "
      "negated rows)\n",
      compared, trial, maximised, with_equalities, with_negated_rows);
}

}  // namespace
}  // namespace orcalc::lp
