// Random linear programs up to 10 x 10 with whole-number and two-decimal
// data: the exact replay makes every pivot of the calculation, ends where
// the report ends when no choice fell inside round-off, and its verdict on
// the last table is GLPK's exact one.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "lp/glpk_reference.h"
#include "steps/pivot_exercise.h"
#include "steps_support.h"

namespace orcalc::steps {
namespace {

struct RandomSet {
  const char* name;
  bool decimals;  // two decimals, or whole numbers
  int problems;
  bool fractions = true;  // false: the tables in decimals
};

std::string RandomText(std::mt19937& random, bool decimals, int low, int high) {
  const int whole = std::uniform_int_distribution<int>(low, high)(random);
  if (!decimals) return std::to_string(whole);
  const int hundredths = std::uniform_int_distribution<int>(0, 99)(random);
  const int magnitude = std::abs(whole) * 100 + hundredths;
  const std::string digits = std::to_string(magnitude / 100) + "." +
                             (magnitude % 100 < 10 ? "0" : "") + std::to_string(magnitude % 100);
  return whole < 0 ? "-" + digits : digits;
}

struct RandomSheet {
  Sheet sheet;
  int m = 0, n = 0;
  lp::Sense sense = lp::Sense::Maximise;
};

RandomSheet MakeRandom(std::mt19937& random, bool decimals) {
  RandomSheet r;
  r.m = std::uniform_int_distribution<int>(1, 10)(random);
  r.n = std::uniform_int_distribution<int>(1, 10)(random);
  r.sense = random() % 2 ? lp::Sense::Maximise : lp::Sense::Minimise;
  std::vector<std::string> objective;
  for (int j = 0; j < r.m; ++j) objective.push_back(RandomText(random, decimals, -4, 9));
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < r.n; ++i) {
    std::vector<std::string> row;
    for (int j = 0; j < r.m; ++j) {
      // Sparse-ish rows, as textbook exercises are.
      row.push_back(random() % 4 == 0 ? "0" : RandomText(random, decimals, -3, 9));
    }
    const unsigned sign = static_cast<unsigned>(random() % 6);
    row.push_back(sign < 4 ? "<=" : sign == 4 ? ">=" : "=");
    row.push_back(RandomText(random, decimals, -5, 30));
    rows.push_back(std::move(row));
  }
  r.sheet = MakeSheet(r.sense, objective, rows);
  return r;
}

lp::Verdict AsReference(ExactVerdict verdict) {
  switch (verdict) {
    case ExactVerdict::Optimal:
      return lp::Verdict::Optimal;
    case ExactVerdict::Unbounded:
      return lp::Verdict::Unbounded;
    case ExactVerdict::Infeasible:
      return lp::Verdict::Infeasible;
    case ExactVerdict::Undecided:
      break;
  }
  return lp::Verdict::Unknown;
}

bool Near(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

const RandomSet kSets[] = {
    {"whole numbers", false, 1500},
    {"two decimals", true, 1500},
    // The same pivots replayed in doubles end where the calculation ended.
    {"shown in decimals", true, 500, false},
};

TEST(StepsRandom, ReplayAgreesWithReportAndGlpk) {
  for (const RandomSet& set : kSets) {
    std::mt19937 random(20261207);
    int undecided = 0, swayed = 0;
    for (int k = 0; k < set.problems; ++k) {
      const RandomSheet r = MakeRandom(random, set.decimals);
      ReplayOptions options;
      options.fractions = set.fractions;
      const StepsRun run = RunSteps(r.sheet, r.m, r.n, r.sense, options);
      const std::string name = std::string(set.name) + " #" + std::to_string(k);
      const lp::SimplexResult& result = run.solved.result;
      ASSERT_EQ(run.doc.exact, set.fractions) << name;
      ASSERT_EQ(run.doc.pivots, result.pivots) << name;
      long marked = 0;
      for (const StepTableau& table : run.doc.tableaux) marked += table.pivot ? 1 : 0;
      EXPECT_EQ(marked, result.pivots) << name;
      swayed += run.doc.round_off_swayed;
      if (!run.doc.round_off_swayed) {
        for (std::size_t j = 0; j < result.x.size(); ++j)
          EXPECT_TRUE(Near(run.doc.x[j], result.x[j])) << name << ", χ" << j + 1;
        EXPECT_TRUE(Near(run.doc.objective, result.objective)) << name;
      }
      const lp::Verdict verdict = AsReference(run.doc.verdict);
      if (!set.fractions) continue;  // decimals judge nothing
      if (verdict == lp::Verdict::Unknown) {
        ++undecided;
        continue;
      }
      EXPECT_EQ(verdict, lp::ExactReference(run.solved.problem).verdict) << name;
    }
    // The last table decides nearly always (an iteration limit or a point
    // the tolerance let through leaves it undecided).
    EXPECT_LE(undecided, set.problems / 50) << set.name;
    std::printf("%s: %d problems, %d swayed by round-off, %d undecided\n", set.name, set.problems,
                swayed, undecided);
  }
}

// The textbook's own pivots taken one by one in the exercise, through both
// phases, end where the exact verdict says: the same optimum, or no
// feasible point, or an unbounded column.
TEST(StepsRandom, ExerciseWithTheTextbooksPivotsReachesTheExactVerdict) {
  std::mt19937 random(20261208);
  int compared = 0;
  for (int k = 0; k < 600; ++k) {
    const RandomSheet r = MakeRandom(random, k % 2 == 1);
    const StepsRun run = RunSteps(r.sheet, r.m, r.n, r.sense);
    const StepsDocument& doc = run.doc;
    if (doc.verdict == ExactVerdict::Undecided || doc.tableaux.empty()) continue;
    StepTableau table = doc.tableaux.front();
    ExerciseStep step;
    // Largest σ_j may cycle on a degenerate problem; such a run is left out.
    for (int pivots = 0; pivots < 200; ++pivots) {
      const std::optional<StepPivot> pick = TextbookPivot(doc, table);
      if (!pick) break;
      step = TakeExerciseStep(doc, table, *pick);
      table = std::move(step.tables.back());
      if (!step.ending.empty()) break;
    }
    if (step.ending.empty()) step.ending = ExerciseEnding(doc, table);
    const std::string name = std::to_string(k);  // the problem's number
    switch (doc.verdict) {
      case ExactVerdict::Optimal:
        EXPECT_EQ(table.phase, 2) << name;
        EXPECT_NE(step.ending.find("已达最优"), std::string::npos) << name << step.ending;
        EXPECT_EQ(table.objective.exact, doc.tableaux.back().objective.exact) << name;
        break;
      case ExactVerdict::Infeasible:
        EXPECT_NE(step.ending.find("没有可行解"), std::string::npos) << name << step.ending;
        break;
      default:
        EXPECT_NE(step.ending.find("无界"), std::string::npos) << name << step.ending;
    }
    ++compared;
  }
  EXPECT_GE(compared, 550);
}

}  // namespace
}  // namespace orcalc::steps
