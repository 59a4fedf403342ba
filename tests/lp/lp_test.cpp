// Linear programming: reading the sheet, the report byte for byte, the
// simplex method's written choices, the guards against cycling, a
// degenerate end of phase 1 and the iteration limit, random problems against
// GLPK, and the pivot kernel's bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>
#include <optional>
#include <random>

#include "common/test_support.h"
#include "lp/glpk_problem.h"
#include "lp/lp_commands.h"
#include "lp/lp_rows.h"
#include "lp/lp_sheet.h"
#include "parallel/thread_pool.h"
#include "simplex/pivot_kernel.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {
namespace {

using Messages = std::vector<std::string>;
const std::string kNoOptimum = "无最优解！", kUnbounded = "无解！",
                  kLimit = "迭代次数超过限制，未求得最优解！",
                  kBroken = "计算结果不满足约束条件，结果不可信！",
                  kTiny = "系数绝对值过小（不超过0.0001），以上结果可能不准确！",
                  kOverflow = "计算过程中数值溢出，结果不可信！";

CalculationOutcome Lp(const Sheet& sheet, int m, int n, Sense sense, long limit = 1000000) {
  return Calculate(LpRequest{m, n, sense, ".", limit}, sheet);
}

const Sheet kExample = SheetFromCsv("\n,3,2\n,1,1, ≤ ,4\n,1,3, ≤ ,6\n");

TEST(LpSheet, FirstOverflowingCellStopsTheCalculation) {
  // Reading order: constraint rows top to bottom, left to right, then the
  // objective row; sign cells and the objective row's sign and sense cells
  // are not numbers.
  Sheet sheet = SheetFromCsv("\n,1e400,1,1e999,1e999\n,1,1, ≤ ,4\n,1,1" + std::string(400, '0') +
                             ",1e999,-1e999\n");
  for (const auto& [r, c] : {std::pair{3, 2}, {3, 4}, {1, 1}}) {
    const CalculationOutcome outcome = Lp(sheet, 2, 2, Sense::Maximise);
    EXPECT_EQ(outcome.messages, Messages{OverflowMessage(r, c)})
        << "cell (" << r << "," << c << ")";
    EXPECT_FALSE(outcome.report) << "cell (" << r << "," << c << ")";
    sheet.SetCell(r, c, "1e-400");  // underflow reads as 0
  }
  EXPECT_TRUE(Lp(sheet, 2, 2, Sense::Maximise).report.has_value());
}

// A sheet large enough to be read over several threads reports the same
// first cell, whichever part of the sheet holds the others.
TEST(LpSheet, FirstOverflowingCellOfALargeSheetWithAnyThreads) {
  constexpr int kSize = 200;
  std::string csv = "\n";
  for (int row = 1; row <= kSize + 1; ++row) {
    for (int col = 1; col <= kSize; ++col) csv += ",1";
    csv += row == 1 ? "\n" : ", ≤ ,10\n";
  }
  Sheet sheet = SheetFromCsv(csv);
  for (const auto& [r, c] : {std::pair{150, 7}, {62, 3}, {61, 190}, {1, 1}})
    sheet.SetCell(r, c, "1e999");
  for (int threads : {1, 2, 4}) {
    SetPivotThreads(threads);
    Sheet copy = sheet;
    for (const auto& [r, c] : {std::pair{61, 190}, {62, 3}, {150, 7}, {1, 1}}) {
      EXPECT_EQ(Lp(copy, kSize, kSize, Sense::Maximise).messages, Messages{OverflowMessage(r, c)})
          << threads << " threads, " << r << "," << c;
      copy.SetCell(r, c, "1");
    }
  }
  SetPivotThreads(0);
}

TEST(LpReport, WorkedExampleAndEchoOfTheRowsAsRead) {
  EXPECT_EQ(Lp(kExample, 2, 2, Sense::Maximise).report, TestData("lp_example_report.txt"));

  // Minimised although the sheet says Max: the request decides. A sign
  // cell holding "≤" means ≤, else one holding "≥" means ≥, anything else =.
  // Rows with a negative right-hand side are echoed negated; zero terms are
  // left out except the last; the fifth row lies beyond the sheet and reads
  // as empty.
  const Sheet sheet = SheetFromCsv(
      "\n,1,-16,0, ═ , Max \n,1,0,3,≥ ≤,10\n,2,1,0, ≤ ,-4\n,0,0,2,═≥,5\n,0.5,-0.5,0.5,<=,0.5\n");
  const std::string report = *Lp(sheet, 3, 5, Sense::Minimise).report;
  EXPECT_NE(report.find(CrLf("目标函数去极小值：p=-1\n")), std::string::npos);
  EXPECT_NE(
      report.find(CrLf("\n Min z = 1χ1 + -16χ2 + 0χ3 \n\n\n约束方程如下:\n1*χ1 +  3*χ3 ≤  10\n"
                       "-2*χ1 + -1*χ2 +  0*χ3 ≥  4\n 2*χ3 ≥  5\n0.5*χ1 + -0.5*χ2 +  .5*χ3 ═  .5\n"
                       " 0*χ3 ═  0\n\n\n目标函数值 S = ")),
      std::string::npos);
}

TEST(LpReport, IterationLimitIsReportedBeforeTheFeasibilityMessages) {
  // A pivot and the end of phase 2 are two iterations: the counter must be
  // allowed to reach 3.
  EXPECT_TRUE(Lp(kExample, 2, 2, Sense::Maximise, 3).messages.empty());
  const CalculationOutcome outcome =
      Lp(SheetFromCsv("\n,1,1\n,1,0, ≥ ,2\n,0,1, ≥ ,3\n"), 2, 2, Sense::Minimise, 2);
  EXPECT_EQ(outcome.messages, (Messages{kLimit, kNoOptimum}));
  EXPECT_TRUE(outcome.report->ends_with("χ1 =  2\r\nχ2 =  0\r\n"));
}

// Solver-ready: right-hand sides normalised.
LpProblem Problem(Sense sense, const std::vector<double>& c,
                  const std::vector<std::vector<double>>& rows) {
  return Normalised(MakeProblem(sense, c, rows));
}

const LpProblem kBeale =
    Problem(kMin, {-0.75, 20, -0.5, 6},
            {{0.25, -8, -1, 9, LE, 0}, {0.5, -12, -0.5, 3, LE, 0}, {0, 0, 1, 0, LE, 1}});

struct OutcomeRow {
  std::string what;
  LpProblem problem;
  double objective;
  std::vector<double> x;
  Messages messages;
  long pivots = -1;  // -1: not checked
  // Test names and failures show the row by its description.
  friend void PrintTo(const OutcomeRow& row, std::ostream* os) { *os << row.what; }
};

class SimplexOutcomes : public ::testing::TestWithParam<OutcomeRow> {};

TEST_P(SimplexOutcomes, WrittenChoices) {
  const OutcomeRow& c = GetParam();
  const SimplexResult r = SolveSimplex(c.problem);
  EXPECT_EQ(SimplexMessages(r), c.messages);
  if (c.pivots >= 0) {
    EXPECT_EQ(r.pivots, c.pivots);
  }
  if (c.x.empty()) return;  // the point is not checked
  EXPECT_DOUBLE_EQ(r.objective, c.objective);
  ASSERT_EQ(r.x.size(), c.x.size());
  for (std::size_t j = 0; j < c.x.size(); ++j) EXPECT_NEAR(r.x[j], c.x[j], 2e-15) << "x" << j + 1;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lp, SimplexOutcomes, ::testing::Values(
    OutcomeRow{"OnePivotRatio4Against6", Problem(kMax, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}}), 12, {4, 0}, {}, 1},
    OutcomeRow{"MessagePerUnmetRowAtPhase1Point", Problem(kMax, {1}, {{1, LE, 1}, {1, GE, 3}, {1, GE, 5}}), 1, {1}, {kNoOptimum, kNoOptimum}},
    OutcomeRow{"UnboundedAfterAPivot", Problem(kMax, {1, 0}, {{1, -1, LE, 1}}), 1, {1, 0}, {kUnbounded}, 1},
    // Equal ratios: the earlier row leaves (the later one needs a second, degenerate pivot).
    OutcomeRow{"RatioTieEarlierRowLeaves", Problem(kMax, {1, 0}, {{1, 1, LE, 2}, {1, -1, LE, 2}}), 2, {2, 0}, {}, 1},
    OutcomeRow{"ColumnBetterByMore", Problem(kMax, {1, 1.0002}, {{1, 1, LE, 1}}), 1.0002, {0, 1}, {}},
    // Equal phase-1 entries: the objective row picks x2 at once.
    OutcomeRow{"Phase1TieBreak", Problem(kMin, {3, 1}, {{1, 1, GE, 2}}), 2, {0, 2}, {}, 1},
    // 0 x1 >= 0 leaves an artificial variable at 0 with a positive phase-1
    // entry: the problem is feasible and phase 2 must still run...
    OutcomeRow{"DegenerateEndOfPhase1", Problem(kMax, {4}, {{0, GE, 0}, {1, LE, 2}}), 8, {2}, {}},
    // ...with x2's column barred: entering it would lift the artificial
    // variable of -x2 = 0 off 0.
    OutcomeRow{"BarredColumn", Problem(kMax, {1, 2}, {{0, -1, EQ, 0}, {1, 1, LE, 4}}), 4, {4, 0}, {}},
    OutcomeRow{"PositiveArtificialSkipsPhase2", Problem(kMax, {4}, {{0, GE, 1}, {1, LE, 2}}), 0, {0}, {kNoOptimum}},
    // Six pivots around the cycle back to the starting basis, Bland's rule
    // until a pivot moves, then one more: a dozen in all.
    OutcomeRow{"BealesCyclingExample", kBeale, -1.25, {1, 0, 1, 0}, {}, 12},
    // Results that overflowed say so, last; 1e300 / 1e-300 is beyond a
    // double (alone: OverflowedResultIsStillReported).
    OutcomeRow{"OverflowAfterAMessage", Problem(kMax, {1, 1}, {{1e-300, 0, LE, 1e300}}), 0, {}, {kUnbounded, kOverflow}}),
    RowName());
// clang-format on

// Degenerate pivots that revisit a basis hand the choice to the
// smallest-index rule, which must still respect the phase-2 bar. The first
// row keeps its artificial variable basic at 0 and so bars y, the lowest and
// most attractive column; Beale's cycle then runs on x1..x4.
TEST(Simplex, SmallestIndexRuleSkipsBarredColumns) {
  const LpProblem problem = Problem(kMin, {-1, -0.75, 20, -0.5, 6},
                                    {{-1, 0, 0, 0, 0, EQ, 0},
                                     {0, 0.25, -8, -1, 9, LE, 0},
                                     {0, 0.5, -12, -0.5, 3, LE, 0},
                                     {0, 0, 0, 1, 0, LE, 1}});
  const SimplexResult r = SolveSimplex(problem);
  EXPECT_EQ(r.barred, std::vector<int>{0});
  EXPECT_GT(r.bland_pivots, 0);
  EXPECT_EQ(SimplexMessages(r), Messages{});
  EXPECT_DOUBLE_EQ(r.objective, -1.25);
  const double x[] = {0, 1, 0, 1, 0};
  ASSERT_EQ(r.x.size(), 5u);
  for (std::size_t j = 0; j < 5; ++j) EXPECT_NEAR(r.x[j], x[j], 1e-12) << j;
}

// Rows whose entry in the pivot column is at most epsilon but clear of
// round-off take part in the ratio test. Left out, as the written rule does,
// they gave answers that break their own constraints (now flagged), or no
// answer at all.
struct SmallEntryRow {
  std::string what;
  LpProblem problem;
  double optimum;
  double written;
  Messages written_messages;
  // Test names and failures show the row by its description.
  friend void PrintTo(const SmallEntryRow& row, std::ostream* os) { *os << row.what; }
};

class SmallEntries : public ::testing::TestWithParam<SmallEntryRow> {};

TEST_P(SmallEntries, TakePartInTheRatioTest) {
  const SmallEntryRow& c = GetParam();
  const SimplexResult r = SolveSimplex(c.problem);
  EXPECT_NEAR(r.objective, c.optimum, 1e-9);
  EXPECT_EQ(SimplexMessages(r), Messages{});
  const SimplexResult written =
      SolveSimplex(c.problem, {.certify = false, .relative_ratio_floor = false});
  EXPECT_NEAR(written.objective, c.written, 1e-4);
  EXPECT_EQ(SimplexMessages(written), c.written_messages);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lp, SmallEntries, ::testing::Values(
    SmallEntryRow{"SmallCoefficientAgainstMinusX2", Problem(kMax, {1, -30000}, {{0.00005, -1, LE, 0}, {1, 0, LE, 10}}), 0, 10, {kBroken}},
    SmallEntryRow{"X2DrivenNegative", Problem(kMax, {0.75, -150, 0.02, -6},
        {{0.25, -60, -0.04, 9, EQ, 0}, {0.5, -90, -0.02, 3, EQ, 0}, {-1, 1, 0.5, 0, LE, 4}, {1, 0, 0, 0, EQ, 0}}), 0, 0.0914, {kBroken}},
    SmallEntryRow{"OneSmallRow", Problem(kMax, {1}, {{0.00005, LE, 1}}), 20000, 0, {kUnbounded}}),
    RowName());
// clang-format on

// Verdicts that the fixed tolerance alone decided and the problem as read
// does not bear out: the method as written ends there (with a message),
// the calculation carries on with tolerances relative to each quantity's
// scale until the verdict holds, and reports it with none.
struct CarryOnRow {
  std::string what;
  LpProblem problem;
  double written;
  Messages written_messages;
  double certified;
  std::vector<double> x;
  friend void PrintTo(const CarryOnRow& row, std::ostream* os) { *os << row.what; }
};

class CarryOn : public ::testing::TestWithParam<CarryOnRow> {};

TEST_P(CarryOn, UntilTheVerdictHolds) {
  const CarryOnRow& c = GetParam();
  const SimplexResult written = SolveSimplex(c.problem, {.certify = false});
  EXPECT_DOUBLE_EQ(written.objective, c.written);
  EXPECT_EQ(SimplexMessages(written), c.written_messages);
  const SimplexResult r = SolveSimplex(c.problem);
  EXPECT_TRUE(r.checked && r.certified);
  EXPECT_GT(r.relative_pivots, 0);
  EXPECT_EQ(SimplexMessages(r), Messages{});
  EXPECT_NEAR(r.objective, c.certified, 1e-12 * std::fabs(c.certified));
  ASSERT_EQ(r.x.size(), c.x.size());
  for (std::size_t j = 0; j < c.x.size(); ++j) EXPECT_NEAR(r.x[j], c.x[j], 1e-9) << "x" << j + 1;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lp, CarryOn, ::testing::Values(
    // The lower column enters; the other, better by 0.00005, was lost to
    // the tolerance.
    CarryOnRow{"ColumnsWithinEpsilon", Problem(kMax, {1, 1.00005}, {{1, 1, LE, 1}}), 1, {kTiny}, 1.00005, {0, 1}},
    // No column below -epsilon: "optimal" at 0.
    CarryOnRow{"TinyObjective", Problem(kMax, {0.00005, 0.00003}, {{1, 1, LE, 1000}}), 0, {kTiny}, 0.05, {1000, 0}},
    // Phase 1 finds no column below -epsilon: a feasible problem read as infeasible.
    CarryOnRow{"TinyPhase1Row", Problem(kMax, {1, 1}, {{0.00005, 0.00005, GE, 1}, {1, 1, LE, 100000}}), 0, {kNoOptimum, kTiny}, 100000, {100000, 0}}),
    RowName());
// clang-format on

// A blending model whose rows hold percentages down to 0.0001 (alloy.mps
// from GLPK's examples, as a sheet): 2149.247891 is its optimum. The
// written floor leaves row 12 (silicon, <= 10) at 10.2456; carrying on
// from there (the tableau rebuilt, the basis repaired) reaches the optimum.
TEST(Simplex, AlloyBlendFromGlpkExamples) {
  const Sheet alloy = SheetFromCsv(TestData("lp_alloy.csv"));
  const CalculationOutcome outcome = Lp(alloy, 20, 21, Sense::Minimise);
  EXPECT_EQ(outcome.messages, Messages{});
  EXPECT_NE(outcome.report.value_or("").find("目标函数值 S = 2149.24789099791\r\n"),
            std::string::npos);
  const LpProblem problem = ReadLpSheet(alloy, 20, 21, Sense::Minimise).problem;
  const SimplexResult written =
      SolveSimplex(problem, {.certify = false, .relative_ratio_floor = false});
  EXPECT_NEAR(written.objective, 2143.44098876243, 1e-9);
  EXPECT_EQ(SimplexMessages(written), Messages{kBroken});
  const SimplexResult carried = SolveSimplex(problem, {.relative_ratio_floor = false});
  EXPECT_NEAR(carried.objective, 2149.24789099791, 1e-9);
  EXPECT_TRUE(SolvedCleanly(carried));
}

// Through the command, a result that overflowed still gets its report, with
// the numbers as they came out.
TEST(LpReport, OverflowedResultIsStillReported) {
  const CalculationOutcome outcome =
      Lp(SheetFromCsv("\n,1\n,1e-300, ≤ ,1e300\n"), 1, 1, Sense::Maximise);
  EXPECT_EQ(outcome.messages, Messages{kOverflow});
  EXPECT_TRUE(outcome.report.value_or("").ends_with(
      "目标函数值 S = inf\r\n\r\n各变量最优解如下:\r\nχ1 =  inf\r\n"));
}

std::optional<double> GlpkOptimum(const LpProblem& p) {
  glp_prob* lp = GlpkProblem(p);
  std::optional<double> optimum;
  if (glp_simplex(lp, nullptr) == 0 && glp_get_status(lp) == GLP_OPT) optimum = glp_get_obj_val(lp);
  glp_delete_prob(lp);
  return optimum;
}

// Whole-number data, so that both solvers' tolerances see the same problem.
// Family 0: feasible, built around a known point with many degenerate rows;
// 1: infeasible (also x1 + ... <= t and >= t + 3); 2: unbounded (maximise
// over >= rows with nonnegative coefficients).
LpProblem RandomProblem(std::mt19937_64& random, int family) {
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const int m = uniform(1, 20), n = uniform(1, 20);
  std::vector<double> point(m), c(m);
  for (int j = 0; j < m; ++j) point[j] = uniform(0, 6), c[j] = uniform(-10, 10);
  std::vector<std::vector<double>> rows(n, std::vector<double>(m + 2));
  for (auto& row : rows) {
    for (int j = 0; j < m; ++j)
      row[j] = family == 2 ? uniform(0, 6) : uniform(-2, 0) == 0 ? 0 : uniform(-4, 9);
    const double at_point = std::inner_product(point.begin(), point.end(), row.begin(), 0.0);
    const int kind = family == 2 ? 0 : uniform(0, 9);
    row[m] = kind < 3 ? GE : kind < 8 ? LE : EQ;
    row[m + 1] = at_point + (kind < 3 ? -uniform(0, 8) : kind < 8 ? uniform(0, 8) : 0);
  }
  if (family == 1) {
    std::vector<double> low(m + 2), high(m + 2);
    for (int j = 0; j < m; ++j) low[j] = high[j] = j == 0 ? 1 : uniform(0, 1);
    low[m] = LE, high[m] = GE, low[m + 1] = uniform(0, 10), high[m + 1] = low[m + 1] + 3;
    rows.insert(rows.begin() + uniform(0, n), {low, high});
  }
  return Problem(family == 2 || uniform(0, 1) ? kMax : kMin, c, rows);
}

TEST(Simplex, OptimaAgreeWithGlpkWheneverWeClaimOne) {
  std::mt19937_64 random(20240611);
  for (int family : {0, 1, 2}) {
    for (int trial = 0; trial < (family == 0 ? 300 : 60); ++trial) {
      SCOPED_TRACE(::testing::Message() << "family " << family << " trial " << trial);
      const LpProblem p = RandomProblem(random, family);
      const SimplexResult ours = SolveSimplex(p);
      const std::optional<double> reference = GlpkOptimum(p);
      // None of these repeats a basis: the guard against cycling must
      // change nothing.
      const SimplexResult unguarded = SolveSimplex(p, {.anti_cycling = false});
      EXPECT_EQ(ours.bland_pivots, 0);
      EXPECT_EQ(ours.pivots, unguarded.pivots);
      // Well-scaled data: the ratio test's floor changes nothing, to the bit.
      const SimplexResult written = SolveSimplex(p, {.relative_ratio_floor = false});
      EXPECT_EQ(written.pivots, ours.pivots);
      EXPECT_EQ(written.objective, ours.objective);
      EXPECT_EQ(written.x, ours.x);
      EXPECT_EQ(SimplexMessages(written), SimplexMessages(ours));
      // We claim an optimum exactly when GLPK finds one, and the same one.
      EXPECT_EQ(reference.has_value(), SolvedCleanly(ours)) << "our S = " << ours.objective;
      const double theirs = reference.value_or(ours.objective);
      EXPECT_NEAR(ours.objective, theirs, 1e-6 * std::max(1.0, std::fabs(theirs)));
    }
  }
}

// The dispatching pivot kernel gives the bits of the plain written loop.
TEST(PivotKernel, BitIdenticalToThePlainLoop) {
  std::mt19937_64 random(2024);
  std::uniform_real_distribution<double> value(-1e3, 1e3);
  // Zeros of both signs, tiny and huge magnitudes, products that round: any
  // fused or reordered operation would show.
  const double scales[] = {0.0, -0.0, 1e-300, 1e300, 1.0 / 3, 1.0 / 3, 1.0 / 7, 1.0};
  alignas(detail::kTableauAlignment) static double actual[37 * 10 * detail::kRowQuantum];
  for (std::size_t trial = 0; trial < 40; ++trial) {
    const std::size_t rows = 1 + trial * 7 % 37, width = detail::kRowQuantum * (1 + trial % 9);
    const std::size_t stride = width + (trial % 2) * detail::kRowQuantum, r = random() % rows,
                      k = random() % width;
    std::vector<double> t(rows * stride);
    for (double& v : t) v = value(random) * scales[random() % 8];
    t[r * stride + k] = 1.0 + value(random) * value(random);
    std::copy(t.begin(), t.end(), actual);
    detail::PivotTableau(actual, stride, rows, width, r, k);

    const double q = t[r * stride + k];
    for (std::size_t j = 0; j < width; ++j) t[r * stride + j] = t[r * stride + j] / q;
    for (std::size_t i = 0; i < rows; ++i) {
      const double f = t[i * stride + k];
      for (std::size_t j = 0; i != r && f != 0.0 && j < width; ++j)
        t[i * stride + j] = t[i * stride + j] - t[r * stride + j] * f;
    }
    EXPECT_EQ(0, std::memcmp(actual, t.data(), t.size() * sizeof(double))) << "trial " << trial;
  }
}

}  // namespace
}  // namespace orcalc::lp
