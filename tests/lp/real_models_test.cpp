// Real models: every linear program among GLPK's example models
// (glpk-utils) and COIN-OR's sample models (coinor-libcoinutils-dev) that
// fits a 500 × 500 sheet, entered as a user would enter it and calculated
// as orcalc-cli lp calculates it, against GLPK's optimum (its simplex method
// with presolve, confirmed in exact arithmetic). Integer marks are dropped.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "lp/glpk_model_sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {
namespace {

namespace fs = std::filesystem;

// Not even generated: over a million rows and columns, gigabytes of memory.
constexpr const char* kHugeModels[] = {"glpk/huge.mod"};

// S as the report prints it, if it prints one.
std::optional<double> ReportedObjective(const std::optional<std::string>& report) {
  static const std::string kLabel = "目标函数值 S = ";
  if (!report) return std::nullopt;
  const std::size_t at = report->find(kLabel);
  if (at == std::string::npos) return std::nullopt;
  return std::strtod(report->c_str() + at + kLabel.size(), nullptr);
}

struct ModelResult {
  bool passed = false;
  std::string size;         // "n × m" of the sheet
  std::string ours;         // S plus the constant, or the first message
  std::string glpk;         // GLPK's optimum or verdict
  double seconds = 0;       // our calculation
  double glpk_seconds = 0;  // GLPK's simplex method and exact check
};

std::string Figure(double x) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.12g", x);
  return buffer;
}

// Calculates `sheet` as orcalc-cli lp does and compares with GLPK: its
// optimum within 1e-9 of its magnitude (or of 1) and no message; its
// infeasible or unbounded verdict as the one message.
ModelResult CompareModel(glp_prob* lp, const ModelSheet& model) {
  ModelResult result;
  result.size = std::to_string(model.constraints) + " × " + std::to_string(model.variables);
  auto start = std::chrono::steady_clock::now();
  auto since = [&start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const GlpkVerdict glpk = SolveWithGlpk(lp);
  result.glpk_seconds = since();
  LpRequest request;
  request.variables = model.variables;
  request.constraints = model.constraints;
  request.sense = model.sense;
  start = std::chrono::steady_clock::now();
  const CalculationOutcome outcome = Calculate(request, model.sheet);
  result.seconds = since();

  const std::optional<double> s = ReportedObjective(outcome.report);
  result.ours = s ? Figure(*s + model.constant) : "-";
  if (!outcome.messages.empty()) result.ours += " " + outcome.messages.front();
  switch (glpk.status) {
    case GLP_OPT: {
      result.glpk = Figure(glpk.objective);
      const bool confirmed = std::abs(glpk.simplex_objective - glpk.objective) <=
                             1e-9 * std::max(1.0, std::abs(glpk.objective));
      result.passed = confirmed && outcome.messages.empty() && s &&
                      std::abs(*s + model.constant - glpk.objective) <=
                          1e-9 * std::max(1.0, std::abs(glpk.objective));
      break;
    }
    case GLP_NOFEAS:
      result.glpk = "infeasible";
      result.passed = !outcome.messages.empty() && outcome.messages.front() == kNoOptimumMessage;
      break;
    case GLP_UNBND:
      result.glpk = "unbounded";
      result.passed = outcome.messages == std::vector<std::string>{kUnboundedMessage};
      break;
    default:
      result.glpk = "no verdict";
      break;
  }
  return result;
}

TEST(RealModels, GlpkExamplesAndCoinSamplesAgreeWithGlpk) {
  for (const fs::path& dir : {kGlpkExamples, kCoinSamples}) {
    if (!fs::is_directory(dir)) {
      GTEST_SKIP() << dir << " is missing: install glpk-utils and coinor-libcoinutils-dev";
    }
  }
  auto files = ModelFiles(kGlpkExamples, "glpk");
  const auto coin = ModelFiles(kCoinSamples, "coin");
  files.insert(files.end(), coin.begin(), coin.end());

  int compared = 0, passed = 0, unread = 0, too_large = 0;
  std::printf("%-28s %11s %24s %24s %9s %9s  %s\n", "model", "size", "S (orcalc)", "S (GLPK)",
              "seconds", "GLPK s", "result");
  for (const auto& [name, path] : files) {
    if (std::find(std::begin(kHugeModels), std::end(kHugeModels), name) != std::end(kHugeModels)) {
      ++too_large;
      std::printf("%-28s beyond 500 × 500 by its own statement, not generated\n", name.c_str());
      continue;
    }
    GlpkModel lp = ReadGlpkModel(path.string());
    if (lp && glp_get_num_cols(lp.get()) == 0) {
      ++unread;  // a MathProg program that only computes and prints
      std::printf("%-28s no variables: not a linear program\n", name.c_str());
      continue;
    }
    if (!lp) {
      ++unread;  // a MathProg model that needs data or tables from elsewhere
      std::printf("%-28s not a model GLPK reads on its own\n", name.c_str());
      continue;
    }
    const ModelSheet model = SheetOfModel(lp.get());
    const std::string size =
        std::to_string(model.constraints) + " × " + std::to_string(model.variables);
    if (model.variables > kMaxCount || model.constraints > kMaxCount) {
      ++too_large;
      std::printf("%-28s %11s beyond 500 × 500\n", name.c_str(), size.c_str());
      continue;
    }
    const ModelResult result = CompareModel(lp.get(), model);
    ++compared;
    passed += result.passed;
    std::printf("%-28s %11s %24s %24s %9.3f %9.3f  %s\n", name.c_str(), result.size.c_str(),
                result.ours.c_str(), result.glpk.c_str(), result.seconds, result.glpk_seconds,
                result.passed ? "agrees" : "DISAGREES");
    EXPECT_TRUE(result.passed) << name << ": " << result.ours << " where GLPK has " << result.glpk;
  }
  std::printf("%d models compared: %d agree; %d not read, %d beyond 500 × 500\n", compared, passed,
              unread, too_large);
  // Every package version seen so far holds over 40 models that fit.
  EXPECT_GE(compared, 40);
}

}  // namespace
}  // namespace orcalc::lp
