// GLPK's example models that are integer programs and fit a 500 × 500
// sheet, entered as tests/lp/glpk_model_sheet.h enters them with their
// integer marks kept, solved by branch and bound within 60 s each and
// compared with GLPK's branch and cut (glp_intopt, 60 s too). Run only
// with ORCALC_INTEGER_MODELS set (minutes); it prints the table of
// bench/README.md.
#include <glpk.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "integer/branch_and_bound.h"
#include "lp/glpk_model_sheet.h"

namespace orcalc::integer {
namespace {

namespace fs = std::filesystem;

constexpr double kSeconds = 60;

struct Typed {
  std::vector<VariableType> types;
  bool whole_shifts = true;  // every whole-number column moved by a whole number
};

// A sheet column is whole when the model column it stands for is, and that
// column's bound moved it by a whole number.
Typed TypesOfModel(glp_prob* lp, const lp::ModelColumns& map) {
  Typed typed;
  typed.types.assign(map.objective.size(), VariableType::Continuous);
  for (std::size_t k = 1; k < map.terms.size(); ++k) {
    if (glp_get_col_kind(lp, static_cast<int>(k)) == GLP_CV) continue;
    if (map.shift[k] != std::floor(map.shift[k])) typed.whole_shifts = false;
    for (const lp::ModelColumns::Term& t : map.terms[k])
      typed.types[static_cast<std::size_t>(t.column)] = VariableType::Integer;
  }
  return typed;
}

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct GlpkRun {
  std::string verdict;
  double s = 0;
  double seconds = 0;
};

GlpkRun SolveWithGlpk(glp_prob* lp) {
  const auto start = std::chrono::steady_clock::now();
  glp_iocp parm;
  glp_init_iocp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  parm.presolve = GLP_ON;
  parm.tm_lim = static_cast<int>(kSeconds * 1000);
  const int ret = glp_intopt(lp, &parm);
  GlpkRun run;
  run.seconds = Since(start);
  const int status = glp_mip_status(lp);
  run.s = glp_mip_obj_val(lp);
  run.verdict = ret == 0 && status == GLP_OPT               ? "optimal"
                : status == GLP_FEAS                        ? "limit"
                : ret == GLP_ENOPFS || status == GLP_NOFEAS ? "infeasible"
                                                            : "no verdict";
  return run;
}

TEST(IntegerModels, GlpkExamples) {
  const fs::path dir = "/usr/share/doc/glpk-utils/examples";
  const char* wanted = std::getenv("ORCALC_INTEGER_MODELS");
  if (wanted == nullptr) GTEST_SKIP() << "ORCALC_INTEGER_MODELS unset";
  // 1 runs every model; anything else only the files whose names contain it.
  const std::string only = std::string(wanted) == "1" ? std::string() : std::string(wanted);
  if (!fs::is_directory(dir)) GTEST_SKIP() << dir << " is missing: install glpk-utils";
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name == "huge.mod") continue;  // a million rows by its own statement
    if (name.find(only) == std::string::npos) continue;
    if (lp::EndsWith(name, ".mod") || lp::EndsWith(name, ".mps") || lp::EndsWith(name, ".lp"))
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::printf("| model | rows × columns | S (orcalc) | nodes | seconds | S (GLPK) | GLPK s |\n");
  for (const fs::path& path : files) {
    lp::GlpkModel model = lp::ReadGlpkModel(path.string());
    if (!model || glp_get_num_int(model.get()) == 0) continue;
    const lp::ModelColumns map = lp::ColumnsOfModel(model.get());
    lp::LpProblem problem = lp::EnteredProblem(model.get(), map);
    problem.sense =
        glp_get_obj_dir(model.get()) == GLP_MAX ? lp::Sense::Maximise : lp::Sense::Minimise;
    const Typed typed = TypesOfModel(model.get(), map);
    const std::string name = path.filename().string();
    const std::string size =
        std::to_string(problem.constraints) + " × " + std::to_string(problem.variables);
    if (problem.variables > 500 || problem.constraints > 500 || !typed.whole_shifts) {
      std::printf("| %s | %s | beyond 500 × 500 | | | | |\n", name.c_str(), size.c_str());
      continue;
    }
    lp::NormaliseRightHandSides(problem);
    Progress progress;
    progress.SetTimeLimit(kSeconds);
    IntegerOptions options;
    options.node_limit = 1000000000;
    options.progress = &progress;
    const auto start = std::chrono::steady_clock::now();
    const IntegerResult ours = SolveBranchAndBound(problem, typed.types, options);
    const double seconds = Since(start);
    const GlpkRun glpk = SolveWithGlpk(model.get());
    const double s = ours.incumbent ? ours.incumbent->objective + map.constant : 0;
    const char* verdict = ours.outcome == IntegerOutcome::Optimal              ? ""
                          : ours.outcome == IntegerOutcome::NoWholeSolution    ? " infeasible"
                          : ours.outcome == IntegerOutcome::LimitWithIncumbent ? " (limit)"
                                                                               : " no solution";
    std::printf("| %s | %s | %.10g%s | %ld | %.2f | %.10g %s | %.2f |\n", name.c_str(),
                size.c_str(), s, verdict, ours.nodes, seconds, glpk.s, glpk.verdict.c_str(),
                glpk.seconds);
    std::fflush(stdout);
    if (glpk.verdict == "optimal" && glpk.seconds < 1) {
      EXPECT_EQ(ours.outcome, IntegerOutcome::Optimal) << name;
      EXPECT_NEAR(s, glpk.s, 1e-9 * std::max(1.0, std::fabs(glpk.s))) << name;
    }
  }
}

}  // namespace
}  // namespace orcalc::integer
