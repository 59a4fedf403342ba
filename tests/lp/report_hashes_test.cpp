// Answers that were right stay right to the byte: the reports of a few
// thousand well-scaled random problems (whole numbers and one or two
// decimals, up to 30 × 30, every kind of row) and of the test data's
// sheets, hashed once by the calculation as it stood before answers were
// certified (tests/data/lp_report_hashes.txt), must hash the same today
// wherever that answer agreed with GLPK's exact solver. Where it did not,
// today's answer must agree or carry a warning.
//
// ORCALC_WRITE_REPORT_HASHES=FILE writes the hashes of the build under test
// to FILE instead of comparing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <sstream>

#include "common/test_support.h"
#include "lp/glpk_reference.h"
#include "lp/lp_commands.h"
#include "lp/lp_rows.h"
#include "lp/lp_sheet.h"
#include "lp/lp_sheet_file.h"
#include "simplex/simplex_solver.h"

namespace orcalc::lp {
namespace {

constexpr int kProblems = 3000;
const std::string kNoOptimum = "无最优解！", kUnbounded = "无解！";

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

// One random well-scaled problem. Family 0 is built around a planted point
// with many rows tight there (degenerate) and a row of positive
// coefficients that bounds it, family 1 likewise but with a pair of rows
// that contradict each other instead, family 2 maximises over rows that
// leave it open, family 3 has random rows of every kind. The data have
// `decimals` places: 0, 1 or 2.
LpProblem WellScaledProblem(std::mt19937_64& random, int family, int decimals) {
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const double unit = decimals == 0 ? 1 : decimals == 1 ? 10 : 100;
  auto number = [&](int lo, int hi) {
    return uniform(lo * static_cast<int>(unit), hi * static_cast<int>(unit)) / unit;
  };
  auto exact = [&](double value) { return std::round(value * unit) / unit; };
  const int m = uniform(1, 30), n = uniform(1, 30);
  std::vector<double> point(static_cast<std::size_t>(m)), c(static_cast<std::size_t>(m));
  for (int j = 0; j < m; ++j) {
    point[static_cast<std::size_t>(j)] = uniform(0, 2) == 0 ? 0 : uniform(0, 6);
    c[static_cast<std::size_t>(j)] = number(-10, 10);
  }
  std::vector<std::vector<double>> rows(static_cast<std::size_t>(n),
                                        std::vector<double>(static_cast<std::size_t>(m) + 2));
  for (auto& row : rows) {
    for (int j = 0; j < m; ++j)
      row[static_cast<std::size_t>(j)] = family == 2           ? number(0, 6)
                                         : uniform(-2, 0) == 0 ? 0
                                                               : number(-4, 9);
    const double at_point = exact(std::inner_product(point.begin(), point.end(), row.begin(), 0.0));
    const int kind = family == 2 ? 0 : uniform(0, 9);
    const bool tight = family != 3 && uniform(0, 2) == 0;
    const double slack = family == 3 ? number(-8, 8) : tight ? 0 : number(0, 8);
    row[static_cast<std::size_t>(m)] = kind < 3 ? GE : kind < 8 ? LE : EQ;
    row[static_cast<std::size_t>(m) + 1] = exact(kind < 3   ? at_point - slack
                                                 : kind < 8 ? at_point + slack
                                                            : at_point);
  }
  if (family == 0) {
    std::vector<double> bound(static_cast<std::size_t>(m) + 2);
    for (int j = 0; j < m; ++j) bound[static_cast<std::size_t>(j)] = number(1, 3);
    bound[static_cast<std::size_t>(m)] = LE;
    bound[static_cast<std::size_t>(m) + 1] =
        exact(std::inner_product(point.begin(), point.end(), bound.begin(), 0.0) + number(0, 20));
    rows.insert(rows.begin() + uniform(0, n), bound);
  }
  if (family == 1) {
    std::vector<double> low(static_cast<std::size_t>(m) + 2), high(low.size());
    for (int j = 0; j < m; ++j)
      low[static_cast<std::size_t>(j)] = high[static_cast<std::size_t>(j)] =
          j == 0 ? 1 : uniform(0, 1);
    low[static_cast<std::size_t>(m)] = LE, high[static_cast<std::size_t>(m)] = GE;
    low[static_cast<std::size_t>(m) + 1] = number(0, 10);
    high[static_cast<std::size_t>(m) + 1] = low[static_cast<std::size_t>(m) + 1] + 3;
    rows.insert(rows.begin() + uniform(0, n), {low, high});
  }
  return Normalised(MakeProblem(family == 2 || uniform(0, 1) ? kMax : kMin, c, rows));
}

struct Answer {
  CalculationOutcome outcome;
  long longest_degenerate_run = 0;
  std::string bytes;  // the report, then each message on a line of its own
};

Answer Report(const LpProblem& problem) {
  LpIntake intake;
  intake.problem = problem;
  Answer answer;
  std::optional<SolvedLp> solved;
  answer.outcome = SolveAndReport(LpRequest{problem.variables, problem.constraints, problem.sense},
                                  intake, &solved);
  if (solved) answer.longest_degenerate_run = solved->result.longest_degenerate_run;
  answer.bytes = answer.outcome.report.value_or("(no report)");
  for (const std::string& message : answer.outcome.messages) answer.bytes += "\n" + message;
  return answer;
}

double PrintedObjective(const std::string& report) {
  const std::string label = "目标函数值 S = ";
  const auto at = report.find(label);
  return at == std::string::npos ? NAN : std::strtod(report.c_str() + at + label.size(), nullptr);
}

// Whether the answer says what the reference says: the optimum within
// 1e-9 of its size and no message, one or more "无最优解！" alone, or
// "无解！" alone.
bool Right(const Answer& answer, const Reference& reference) {
  const auto& messages = answer.outcome.messages;
  switch (reference.verdict) {
    case Verdict::Optimal: {
      const double s = PrintedObjective(answer.bytes);
      return messages.empty() && std::fabs(s - reference.objective) <=
                                     1e-9 * std::max(1.0, std::fabs(reference.objective));
    }
    case Verdict::Infeasible:
      return !messages.empty() && std::all_of(messages.begin(), messages.end(),
                                              [](const auto& m) { return m == kNoOptimum; });
    case Verdict::Unbounded:
      return messages == std::vector<std::string>{kUnbounded};
    case Verdict::Unknown:
      break;
  }
  return false;
}

// The problems and sheets, each with its name in the hash file.
std::vector<std::pair<std::string, LpProblem>> Cases() {
  std::vector<std::pair<std::string, LpProblem>> cases;
  // Half the problems planted and bounded: most of them have an optimum.
  constexpr int kFamilies[] = {0, 0, 0, 1, 2, 3};
  std::mt19937_64 random(20261207);
  for (int i = 0; i < kProblems; ++i)
    cases.emplace_back("random" + std::to_string(i),
                       WellScaledProblem(random, kFamilies[i % 6], i / 6 % 3));
  for (const char* name : {"lp_example.csv", "lp_alloy.csv", "lp_contradictory.csv",
                           "lp_graph_parallel.csv", "stats_lp.csv"}) {
    const Sheet sheet = SheetFromCsv(TestData(name));
    const LpSheetFit fit = FitLpSheet(sheet);
    for (Sense sense : {Sense::Maximise, Sense::Minimise}) {
      cases.emplace_back(std::string(name) + (sense == kMax ? "/max" : "/min"),
                         ReadLpSheet(sheet, fit.variables, fit.constraints, sense).problem);
    }
  }
  return cases;
}

TEST(ReportHashes, RightAnswersKeepTheirBytes) {
  const char* write_to = std::getenv("ORCALC_WRITE_REPORT_HASHES");
  std::ofstream out;
  std::map<std::string, std::pair<std::uint64_t, bool>> recorded;
  if (write_to) {
    out.open(write_to, std::ios::binary);
    ASSERT_TRUE(out) << write_to;
  } else {
    std::istringstream in(TestData("lp_report_hashes.txt"));
    std::string name, hash, verdict;
    while (in >> name >> hash >> verdict)
      recorded[name] = {std::stoull(hash, nullptr, 16), verdict == "right"};
  }
  int right = 0, kept = 0, mended = 0;
  long longest_run = 0;
  std::map<Verdict, int> verdicts;
  for (const auto& [name, problem] : Cases()) {
    SCOPED_TRACE(name);
    const Answer answer = Report(problem);
    longest_run = std::max(longest_run, answer.longest_degenerate_run);
    const Reference reference = ExactReference(problem);
    ++verdicts[reference.verdict];
    const bool is_right = Right(answer, reference);
    if (write_to) {
      out << name << ' ' << std::hex << Fnv1a(answer.bytes) << std::dec << ' '
          << (is_right ? "right" : "wrong") << '\n';
      continue;
    }
    const auto at = recorded.find(name);
    ASSERT_NE(at, recorded.end());
    if (at->second.second) {
      ++right;
      kept += Fnv1a(answer.bytes) == at->second.first;
      EXPECT_EQ(Fnv1a(answer.bytes), at->second.first) << answer.bytes;
    } else {
      mended += is_right;
      EXPECT_TRUE(is_right || !answer.outcome.messages.empty()) << answer.bytes;
    }
  }
  // The smallest-index rule takes over after a run of degenerate pivots
  // long enough that none of these problems reaches it.
  EXPECT_LT(longest_run, kDegenerateRun);
  std::cout << "longest run of degenerate pivots " << longest_run << "\n";
  std::cout << verdicts[Verdict::Optimal] << " optimal, " << verdicts[Verdict::Infeasible]
            << " infeasible, " << verdicts[Verdict::Unbounded] << " unbounded\n";
  if (!write_to) {
    std::cout << right << " right answers, " << kept << " byte-identical; "
              << recorded.size() - static_cast<std::size_t>(right) << " wrong before, " << mended
              << " of them right now\n";
  }
}

}  // namespace
}  // namespace orcalc::lp
