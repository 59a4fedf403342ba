// Long runs of degenerate pivots: a large degenerate model (netlib's
// BRANDY, from COIN-OR's sample models) stalls for hundreds of thousands
// of pivots under the written rule without repeating a basis; after a run
// of kDegenerateRun degenerate pivots the smallest-index rule takes over
// until the point moves. The written method ends on a point that is not
// the optimum (its tableau lost its digits in a pivot on an entry a
// millionth of its column); carrying on from the method's first basis,
// with the tableau rebuilt as it goes, reaches the optimum.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "lp/glpk_model_sheet.h"
#include "lp/glpk_problem.h"
#include "lp/lp_commands.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {
namespace {

const char* const kBrandy = "/usr/share/coin/Data/Sample/brandy.mps";

TEST(DegenerateRuns, BrandyReachesItsOptimumWellWithinTheLimit) {
  if (!std::filesystem::exists(kBrandy)) GTEST_SKIP() << "coinor-libcoinutils-dev is not installed";
  const GlpkModel model = ReadGlpkModel(kBrandy);
  ASSERT_TRUE(model);
  const ModelColumns columns = ColumnsOfModel(model.get());
  LpProblem p = EnteredProblem(model.get(), columns);
  NormaliseRightHandSides(p);
  glp_prob* lp = GlpkProblem(p);
  ASSERT_EQ(glp_simplex(lp, nullptr), 0);
  const double reference = glp_get_obj_val(lp);
  glp_delete_prob(lp);
  EXPECT_NEAR(reference + columns.constant, 1518.50990, 1e-5);

  const SimplexResult r = SolveSimplex(p);
  std::cout << p.variables << " variables, " << p.constraints << " rows: " << r.pivots
            << " pivots, " << r.bland_pivots << " by the smallest-index rule, longest run "
            << r.longest_degenerate_run << ", " << r.relative_pivots << " carrying on\n";
  EXPECT_LT(r.pivots, kIterationLimit / 20);
  EXPECT_GT(r.bland_pivots, 0);
  EXPECT_NEAR(r.objective, reference, 1e-9 * std::fabs(reference));
  EXPECT_TRUE(SolvedCleanly(r)) << SimplexMessages(r).size() << " messages";
}

}  // namespace
}  // namespace orcalc::lp
