// Certificates of verdicts, judged on small problems whose answers are
// known: what holds is accepted, and each way of being wrong is refused.
#include "simplex/certificate.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "lp/lp_rows.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {
namespace {

enum class Kind { Optimum, Unbounded, Infeasible };

struct CertificateRow {
  std::string what;
  Kind kind;
  LpProblem problem;
  std::vector<int> basis;
  std::vector<double> x;
  double s;
  bool certified;
  bool point_broken = false;
  bool objective_agrees = true;
  int entering = -1;
  std::vector<double> column = {};
  friend void PrintTo(const CertificateRow& row, std::ostream* os) { *os << row.what; }
};

class Certificates : public ::testing::TestWithParam<CertificateRow> {};

TEST_P(Certificates, AcceptWhatHoldsAndRefuseTheRest) {
  const CertificateRow& c = GetParam();
  const TableauVerdict verdict{c.basis, c.x, c.s, c.entering, c.column};
  const Certificate certificate = c.kind == Kind::Optimum ? CertifyOptimum(c.problem, verdict)
                                  : c.kind == Kind::Unbounded
                                      ? CertifyUnbounded(c.problem, verdict)
                                      : CertifyInfeasible(c.problem, verdict);
  EXPECT_EQ(certificate.certified, c.certified);
  EXPECT_EQ(certificate.point_broken, c.point_broken);
  EXPECT_EQ(certificate.objective_agrees, c.objective_agrees);
}

const LpProblem kExample = Normalised(MakeProblem(kMax, {3, 2}, {{1, 1, LE, 4}, {1, 3, LE, 6}}));
const LpProblem kScaled =
    Normalised(MakeProblem(kMax, {3e-6, 2e-6}, {{1e6, 1e6, LE, 4e6}, {1e-3, 3e-3, LE, 6e-3}}));
const LpProblem kOpen = Normalised(MakeProblem(kMax, {1, 0}, {{1, -1, LE, 1}}));
const LpProblem kContradictory = Normalised(MakeProblem(kMax, {1}, {{1, LE, 1}, {1, GE, 3}}));
// Two bounds on χ1 a thousandth apart at 10⁷: the looser one's basis
// breaks the tighter row by 1e-10 of its terms, within the point's
// tolerance, but its own slack is -0.001.
const LpProblem kTwoBounds =
    Normalised(MakeProblem(kMax, {1}, {{1, LE, 10000000.001}, {1, LE, 10000000}}));
// χ2 at a millionth above 10⁷ leaves χ1 a millionth below 0: 1e-13 of the
// largest value, within the point's tolerance but not round-off.
const LpProblem kJustBelow =
    Normalised(MakeProblem(kMax, {-1, 0}, {{1, 1, EQ, 10000000}, {0, 1, LE, 10000000.000001}}));
const LpProblem kBarred = Normalised(MakeProblem(kMax, {1, 2}, {{0, -1, EQ, 0}, {1, 1, LE, 4}}));

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lp, Certificates, ::testing::Values(
    // χ1 basic in row 1, the second row's slack in row 2.
    CertificateRow{"the worked example's optimum", Kind::Optimum, kExample, {0, 3}, {4, 0}, 12, true},
    CertificateRow{"the same at six orders of magnitude apart", Kind::Optimum, kScaled, {0, 3}, {4, 0}, 12e-6, true},
    CertificateRow{"a point that is not the basis's", Kind::Optimum, kExample, {0, 3}, {3, 0}, 9, false},
    CertificateRow{"a corner that is not optimal", Kind::Optimum, kExample, {2, 1}, {0, 2}, 4, false},
    CertificateRow{"a point beyond a row", Kind::Optimum, kExample, {0, 3}, {4.001, 0}, 12.003, false, true},
    CertificateRow{"a point below 0", Kind::Optimum, kExample, {0, 3}, {4, -1e-6}, 12 - 2e-6, false, true},
    CertificateRow{"S that misses c·x", Kind::Optimum, kExample, {0, 3}, {4, 0}, 12.0001, true, false, false},
    CertificateRow{"the tighter of two bounds", Kind::Optimum, kTwoBounds, {1, 0}, {10000000}, 10000000, true},
    CertificateRow{"the looser of two bounds, its slack below 0", Kind::Optimum, kTwoBounds, {0, 2}, {10000000.001}, 10000000.001, false},
    CertificateRow{"a basic variable a millionth below 0", Kind::Optimum, kJustBelow, {0, 1}, {-1e-6, 10000000.000001}, 1e-6, false},
    CertificateRow{"S within round-off of c·x", Kind::Optimum, kExample, {0, 3}, {4, 0}, 12 + 1e-14, true},
    // The artificial variable of -χ2 = 0 stays basic and bars χ2.
    CertificateRow{"an optimum behind a barred column", Kind::Optimum, kBarred, {kArtificialColumn, 0}, {4, 0}, 4, true},
    // χ1 basic; χ2 enters with entry -1: the ray (1, 1).
    CertificateRow{"a ray", Kind::Unbounded, kOpen, {0}, {1, 0}, 1, true, false, true, 1, {-1}},
    CertificateRow{"a ray that breaks a row", Kind::Unbounded, kExample, {0, 3}, {4, 0}, 12, false, false, true, 1, {-1, 0}},
    CertificateRow{"a ray the objective does not improve along", Kind::Unbounded, kOpen, {2}, {0, 0}, 0, false, false, true, 1, {-1}},
    CertificateRow{"rows that contradict each other", Kind::Infeasible, kContradictory, {0, kArtificialColumn}, {1}, 1, true, true},
    CertificateRow{"a feasible problem", Kind::Infeasible, kExample, {2, 3}, {0, 0}, 0, false}),
    RowName());
// clang-format on

// Through the solver: the verdicts of these problems are all certified.
TEST(Certificates, TheSolversVerdictsOfTheTableHold) {
  for (const LpProblem& p : {kExample, kScaled, kOpen, kContradictory, kBarred, kTwoBounds}) {
    const SimplexResult r = SolveSimplex(p);
    EXPECT_TRUE(r.checked && r.certified) << static_cast<int>(r.outcome);
  }
}

struct FarkasRow {
  std::string what;
  LpProblem problem;
  std::vector<double> y;
  bool certified;
  friend void PrintTo(const FarkasRow& row, std::ostream* os) { *os << row.what; }
};

class FarkasRows : public ::testing::TestWithParam<FarkasRow> {};

TEST_P(FarkasRows, ProveOnlyWhatNoPointSatisfies) {
  EXPECT_EQ(CertifyFarkasRow(GetParam().problem, GetParam().y), GetParam().certified);
}

// χ1 ≤ 1 and χ1 ≥ 3: y = (-1, 1) combines them into 0 ≥ 2.
INSTANTIATE_TEST_SUITE_P(
    Lp, FarkasRows,
    ::testing::Values(FarkasRow{"contradiction", kContradictory, {-1, 1}, true},
                      FarkasRow{"scaled down", kContradictory, {-1e-9, 1e-9}, true},
                      FarkasRow{"uneven but valid", kContradictory, {-1, 0.5}, true},
                      FarkasRow{"column left positive", kContradictory, {-1, 2}, false},
                      FarkasRow{"signs the slacks forbid", kContradictory, {1, -1}, false},
                      FarkasRow{"feasible rows", kExample, {-1, -1}, false},
                      FarkasRow{"wrong length", kContradictory, {-1}, false}));

}  // namespace
}  // namespace orcalc::lp
