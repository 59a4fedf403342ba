// Real models in and out: every linear program among GLPK's examples
// (glpk-utils) and COIN-OR's samples (coinor-libcoinutils-dev) that fits a
// 500 × 500 sheet, read by our readers as MPS (the file itself, or as GLPK
// writes it) and as CPLEX LP (as glpsol --wlp writes it), calculated, and
// compared with GLPK's optimum of the same text; then exported from the
// sheet and solved by GLPK again. Integer marks are relaxed on both sides.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lp/glpk_model_sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_texts.h"
#include "models/lp_format_reader.h"
#include "models/model_sheet.h"
#include "models/model_writer.h"
#include "models/mps_reader.h"

namespace orcalc::models {
namespace {

namespace fs = std::filesystem;
using lp::GlpkModel;
using lp::kCoinSamples;
using lp::kGlpkExamples;
using Verdict = lp::GlpkVerdict;
using lp::SolveWithGlpk;

// Over a million rows and columns: not even generated.
const char* const kHuge = "glpk/huge.mod";

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

fs::path Scratch(const std::string& name) {
  return fs::temp_directory_path() / ("orcalc-real-" + std::to_string(getpid()) + "-" + name);
}

// GLPK's reading of a text: MPS in fixed form first, then free, or CPLEX LP.
GlpkModel GlpkReads(const std::string& text, ModelFormat format) {
  glp_term_out(GLP_OFF);
  const fs::path path = Scratch(format == ModelFormat::Mps ? "m.mps" : "m.lp");
  std::ofstream(path, std::ios::binary) << text;
  GlpkModel problem(glp_create_prob(), glp_delete_prob);
  bool read = false;
  if (format == ModelFormat::CplexLp) {
    read = glp_read_lp(problem.get(), nullptr, path.c_str()) == 0;
  } else {
    read = glp_read_mps(problem.get(), GLP_MPS_DECK, nullptr, path.c_str()) == 0;
    if (!read) {
      problem.reset(glp_create_prob());
      read = glp_read_mps(problem.get(), GLP_MPS_FILE, nullptr, path.c_str()) == 0;
    }
  }
  fs::remove(path);
  if (!read) problem.reset();
  return problem;
}

std::string Written(glp_prob* problem, ModelFormat format) {
  const fs::path path = Scratch("w");
  if (format == ModelFormat::Mps) {
    glp_write_mps(problem, GLP_MPS_FILE, nullptr, path.c_str());
  } else {
    glp_write_lp(problem, nullptr, path.c_str());
  }
  std::string text = Slurp(path);
  fs::remove(path);
  return text;
}

bool Near(double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b)); }

// Whether our calculation of the sheet agrees with GLPK's verdict on the
// model, `objective` the model's value (S plus the constant).
bool Agrees(const Verdict& glpk, const lp::SolvedLp& ours, const CalculationOutcome& outcome,
            double objective) {
  switch (glpk.status) {
    case GLP_OPT:
      return outcome.messages.empty() && ours.result.outcome == lp::SimplexOutcome::Optimal &&
             Near(objective, glpk.objective);
    case GLP_NOFEAS:
      return !outcome.messages.empty() && outcome.messages.front() == lp::kNoOptimumMessage;
    case GLP_UNBND:
      return outcome.messages == std::vector<std::string>{lp::kUnboundedMessage};
    default:
      return false;
  }
}

// The sheet's problem exported in `format` and solved by GLPK: the same
// optimum (an MPS file minimises the negated objective of a maximum).
std::string ExportedDisagreement(const lp::SolvedLp& ours, ModelFormat format) {
  const std::string text =
      format == ModelFormat::Mps ? FreeMpsText(ours.problem) : CplexLpText(ours.problem);
  const GlpkModel exported = GlpkReads(text, format);
  if (!exported) return "GLPK cannot read the exported model";
  const Verdict verdict = SolveWithGlpk(exported.get());
  if (ours.result.outcome != lp::SimplexOutcome::Optimal) {
    return verdict.status == GLP_OPT ? "GLPK finds an optimum of the exported model" : "";
  }
  const bool negated = format == ModelFormat::Mps && ours.problem.sense == lp::Sense::Maximise;
  const double expected = negated ? -ours.result.objective : ours.result.objective;
  if (verdict.status == GLP_OPT && Near(verdict.objective, expected)) return "";
  return "exported: GLPK has " + std::to_string(verdict.objective) + " for " +
         std::to_string(expected);
}

struct Tally {
  int compared = 0, too_large = 0, skipped = 0;
};

// One text of a model through our reader and back out; failures as
// test failures naming the model.
void CheckText(const std::string& name, const std::string& text, ModelFormat format, Tally& tally) {
  const GlpkModel glpk = GlpkReads(text, format);
  if (!glpk) return;
  const ModelReadResult read =
      format == ModelFormat::Mps ? ReadMps(text, name) : ReadCplexLp(text, name);
  ASSERT_TRUE(read.ok) << read.error;
  const ModelSheet model = ConvertModelToSheet(read.model);
  if (!model.ok) {
    ++tally.too_large;
    return;
  }
  lp::LpRequest request;
  request.variables = model.variables;
  request.constraints = model.constraints;
  request.sense = model.sense;
  std::optional<lp::SolvedLp> ours;
  const CalculationOutcome outcome = lp::Calculate(request, model.sheet, &ours);
  ASSERT_TRUE(ours.has_value());
  const Verdict verdict = SolveWithGlpk(glpk.get());
  ++tally.compared;
  // GLPK takes the right-hand side of an MPS file's objective row for the
  // constant itself; the other solvers, the netlib notes and we take it
  // for minus the constant (e226: -11.638929066 with it).
  Verdict expected = verdict;
  if (format == ModelFormat::Mps) expected.objective -= 2 * glp_get_obj_coef(glpk.get(), 0);
  const double objective = ours->result.objective + model.constant;
  EXPECT_TRUE(Agrees(expected, *ours, outcome, objective))
      << "ours " << objective << (outcome.messages.empty() ? "" : " " + outcome.messages.front())
      << ", GLPK status " << verdict.status << " " << verdict.objective;
  EXPECT_EQ(ExportedDisagreement(*ours, ModelFormat::Mps), "");
  EXPECT_EQ(ExportedDisagreement(*ours, ModelFormat::CplexLp), "");
}

TEST(RealModelFiles, ReadSolvedAndExportedAgreeWithGlpk) {
  for (const fs::path& dir : {kGlpkExamples, kCoinSamples}) {
    if (!fs::is_directory(dir)) {
      GTEST_SKIP() << dir << " is missing: install glpk-utils and coinor-libcoinutils-dev";
    }
  }
  Tally tally;
  auto files = lp::ModelFiles(kGlpkExamples, "glpk");
  for (auto& coin : lp::ModelFiles(kCoinSamples, "coin")) files.push_back(std::move(coin));
  for (const auto& [name, path] : files) {
    if (name == kHuge) continue;
    SCOPED_TRACE(path.string());
    const GlpkModel model = lp::ReadGlpkModel(path.string());
    if (!model || glp_get_num_cols(model.get()) == 0) {
      ++tally.skipped;
      continue;
    }
    const lp::ModelSheet size = lp::SheetOfModel(model.get());
    if (size.variables > kMaxCount || size.constraints > kMaxCount) {
      ++tally.too_large;
      continue;
    }
    const bool plain_mps = path.extension() == ".mps";
    CheckText(path.filename().string(),
              plain_mps ? Slurp(path) : Written(model.get(), ModelFormat::Mps), ModelFormat::Mps,
              tally);
    CheckText(path.filename().string(), Written(model.get(), ModelFormat::CplexLp),
              ModelFormat::CplexLp, tally);
  }
  std::printf("%d texts compared, %d beyond 500 × 500, %d files GLPK does not read as a model\n",
              tally.compared, tally.too_large, tally.skipped);
  // Every package version seen so far holds over 40 models that fit.
  EXPECT_GE(tally.compared, 80);
}

}  // namespace
}  // namespace orcalc::models
