// Reports that were right stay right byte for byte: thousands of
// well-scaled random goal programs, drawn from fixed seeds, each family's
// reports hashed together and compared with the hash they had when every
// one of them was checked against GLPK's optima level by level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "goal/goal_model.h"
#include "goal/goal_report.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {
namespace {

struct Family {
  const char* what;
  std::uint64_t seed;
  int count;
  int max_goals;
  int max_variables;
  // 0: whole numbers, 1: two decimals, 2: any double in range.
  int digits;
  bool negative_targets;
  std::uint64_t hash;  // of every report and outcome, in order
  // Problems whose answer was not right when the hash was taken (a give-up
  // where every level has an answer): left out.
  std::vector<int> left_out = {};
  friend void PrintTo(const Family& f, std::ostream* os) { *os << f.what; }
};

// The problem `index` of a family: coefficients from 0 to 10 (a third 0),
// targets up to 100, weights up to 5, levels 0..N+1 (so some never cost).
GoalModel Draw(const Family& f, int index) {
  std::mt19937_64 rng(f.seed * 100003u + static_cast<std::uint64_t>(index));
  auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto number = [&](double hi) {
    const double u = static_cast<double>(rng() >> 11) * 0x1p-53 * hi;
    if (f.digits == 0) return static_cast<double>(static_cast<int>(u));
    if (f.digits == 1) return static_cast<double>(static_cast<int>(u * 100)) / 100;
    return u;
  };
  GoalModel m;
  m.constraint_count = 1 + below(f.max_goals);
  m.variable_count = m.level_count = 1 + below(f.max_variables);
  for (int i = 0; i < m.constraint_count; ++i) {
    for (int j = 0; j < m.variable_count; ++j)
      m.coef.push_back(below(3) == 0 ? 0.0 : std::max(number(10), 0.01));
    m.target.push_back(number(100) * (f.negative_targets && below(3) == 0 ? -1 : 1));
    m.neg_weight.push_back(number(6));
    m.neg_level.push_back(static_cast<std::int16_t>(below(m.variable_count + 2)));
    m.pos_weight.push_back(number(6));
    m.pos_level.push_back(static_cast<std::int16_t>(below(m.variable_count + 2)));
  }
  return m;
}

// FNV-1a, 64 bits.
void Mix(std::uint64_t& hash, const std::string& bytes) {
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3u;
  }
}

std::uint64_t HashFamily(const Family& f) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (int n = 0; n < f.count; ++n) {
    if (std::find(f.left_out.begin(), f.left_out.end(), n) != f.left_out.end()) continue;
    const GoalModel m = Draw(f, n);
    GoalReport report(m);
    const GoalResult result =
        SolveGoals(m, [&report](const GoalSnapshot& s) { report.AddBlock(s); });
    report.Finish(result.outcome, result.final);
    Mix(hash, report.Take());
    Mix(hash, std::to_string(static_cast<int>(result.outcome)));
  }
  return hash;
}

class GoalReportHashes : public ::testing::TestWithParam<Family> {};

TEST_P(GoalReportHashes, Unchanged) {
  const Family& f = GetParam();
  EXPECT_EQ(HashFamily(f), f.hash) << std::hex << "0x" << HashFamily(f);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Goal, GoalReportHashes, ::testing::Values(
    Family{"whole", 1, 1000, 8, 8, 0, false, 0xacca05af647e114a, {874}},
    Family{"whole_negative_targets", 2, 1000, 8, 8, 0, true, 0x60a9f90fced4f164},
    Family{"two_decimals", 3, 1000, 8, 8, 1, false, 0x0e1d4596481e8bce},
    Family{"two_decimals_negative_targets", 4, 500, 8, 8, 1, true, 0x7276c84db95bf1d4},
    Family{"real", 5, 500, 8, 8, 2, false, 0x538611af312ed07e},
    Family{"larger_whole", 6, 150, 20, 20, 0, false, 0xed341422e771feba, {107}},
    Family{"larger_real", 7, 150, 20, 20, 2, true, 0xfbfec35f324f466f}),
    [](const ::testing::TestParamInfo<Family>& info) { return std::string(info.param.what); });
// clang-format on

}  // namespace
}  // namespace orcalc::goal
