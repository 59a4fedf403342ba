// A model file read by GLPK (free or fixed MPS, CPLEX LP, GNU MathProg)
// written out as a linear-programming sheet, the way a user would enter it:
// the model's columns in order as χ1…χm, every variable ≥ 0.
#pragma once

#include <glpk.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/numeric_reading.h"
#include "common/sheet.h"
#include "lp/lp_problem.h"
#include "lp/lp_sheet.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {

using GlpkModel = std::unique_ptr<glp_prob, void (*)(glp_prob*)>;

inline bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// GNU MathProg: the model with its data section, or with the data file of
// the same name beside it (`path` absolute). A model may write files of its
// own (graph.mod draws graph.eps): it runs in a directory of its own, which
// goes with them.
inline bool ReadMathProg(glp_prob* lp, const std::string& path) {
  const std::filesystem::path here = std::filesystem::current_path();
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("orcalc-model-" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch);
  std::filesystem::current_path(scratch);
  glp_tran* tran = glp_mpl_alloc_wksp();
  const std::string data = path.substr(0, path.size() - 4) + ".dat";
  std::FILE* data_file = std::fopen(data.c_str(), "r");
  if (data_file != nullptr) std::fclose(data_file);
  bool read = glp_mpl_read_model(tran, path.c_str(), data_file != nullptr) == 0 &&
              (data_file == nullptr || glp_mpl_read_data(tran, data.c_str()) == 0) &&
              glp_mpl_generate(tran, nullptr) == 0;
  if (read) glp_mpl_build_prob(tran, lp);
  glp_mpl_free_wksp(tran);
  std::filesystem::current_path(here);
  std::filesystem::remove_all(scratch);
  return read;
}

// The model in `path` (".mps", ".lp" or ".mod", each perhaps ".gz"), or
// null when GLPK cannot read it.
inline GlpkModel ReadGlpkModel(std::string path) {
  glp_term_out(GLP_OFF);
  GlpkModel lp(glp_create_prob(), glp_delete_prob);
  std::string unpacked;
  if (EndsWith(path, ".gz")) {
    const std::string name = std::filesystem::path(path).stem().string();
    unpacked = (std::filesystem::temp_directory_path() /
                ("orcalc-model-" + std::to_string(getpid()) + "-" + name))
                   .string();
    const std::string command = "gzip -dc '" + path + "' > '" + unpacked + "'";
    if (std::system(command.c_str()) != 0) return GlpkModel(nullptr, glp_delete_prob);
    path = unpacked;
  }
  bool read = false;
  if (EndsWith(path, ".mps")) {
    // Fixed columns first, as glpsol reads MPS; free format otherwise.
    read = glp_read_mps(lp.get(), GLP_MPS_DECK, nullptr, path.c_str()) == 0;
    if (!read) {
      lp.reset(glp_create_prob());
      read = glp_read_mps(lp.get(), GLP_MPS_FILE, nullptr, path.c_str()) == 0;
    }
  } else if (EndsWith(path, ".lp")) {
    read = glp_read_lp(lp.get(), nullptr, path.c_str()) == 0;
  } else if (EndsWith(path, ".mod")) {
    read = ReadMathProg(lp.get(), path);
  }
  if (!unpacked.empty()) std::remove(unpacked.c_str());
  if (!read) lp.reset();
  return lp;
}

struct ModelSheet {
  Sheet sheet;  // laid out only when the model fits 500 × 500
  int variables = 0;
  int constraints = 0;
  Sense sense = Sense::Minimise;
  double constant = 0;  // the objective's constant, and what shifting bounds adds to it
};

// How the model's columns become the sheet's χ's ≥ 0: x_j = shift_j +
// Σ factor·χ over its terms. A lower bound l is shifted out (x = l + χ), an
// upper bound alone mirrored (x = u − χ), a free column split
// (x = χ⁺ − χ⁻), a fixed one substituted; a column bounded on both sides
// gets a row χ ≤ u − l.
struct ModelColumns {
  struct Term {
    int column;  // 0-based, in the sheet
    double factor;
  };
  struct Bound {
    int column;
    double limit;
  };
  std::vector<std::vector<Term>> terms;  // by the model's column number (1-based)
  std::vector<double> shift;
  std::vector<double> objective;  // the sheet's objective row
  double constant = 0;
  std::vector<Bound> bounds;  // χ ≤ limit
};

inline ModelColumns ColumnsOfModel(glp_prob* lp) {
  ModelColumns map;
  const auto count = static_cast<std::size_t>(glp_get_num_cols(lp)) + 1;
  map.terms.resize(count);
  map.shift.resize(count);
  map.constant = glp_get_obj_coef(lp, 0);
  for (int j = 1; j < static_cast<int>(count); ++j) {
    const auto k = static_cast<std::size_t>(j);
    const int next = static_cast<int>(map.objective.size());
    const double lb = glp_get_col_lb(lp, j), ub = glp_get_col_ub(lp, j);
    switch (glp_get_col_type(lp, j)) {
      case GLP_FR:
        map.terms[k] = {{next, 1}, {next + 1, -1}};
        break;
      case GLP_LO:
        map.terms[k] = {{next, 1}}, map.shift[k] = lb;
        break;
      case GLP_UP:
        map.terms[k] = {{next, -1}}, map.shift[k] = ub;
        break;
      case GLP_DB:
        map.terms[k] = {{next, 1}}, map.shift[k] = lb;
        map.bounds.push_back({next, ub - lb});
        break;
      default:  // GLP_FX
        map.shift[k] = lb;
        break;
    }
    const double c = glp_get_obj_coef(lp, j);
    for (const ModelColumns::Term& t : map.terms[k]) map.objective.push_back(c * t.factor);
    map.constant += c * map.shift[k];
  }
  return map;
}

// The model as entered on a sheet (right-hand sides not normalised): the
// columns as above, the rows in order with a free row left out and a row
// bounded on both sides as its ≥ row and then its ≤ row, the bounds' rows
// after them. Integer marks are dropped.
inline LpProblem EnteredProblem(glp_prob* lp, const ModelColumns& map) {
  LpProblem problem;
  const int m = static_cast<int>(map.objective.size());
  problem.variables = m;
  problem.objective = map.objective;
  auto add_row = [&](const std::vector<double>& a, double sign, double b) {
    problem.coefficients.insert(problem.coefficients.end(), a.begin(), a.end());
    problem.signs.push_back(sign);
    problem.rhs.push_back(b);
  };
  std::vector<int> index(map.terms.size());
  std::vector<double> value(index.size());
  for (int i = 1; i <= glp_get_num_rows(lp); ++i) {
    const int type = glp_get_row_type(lp, i);
    if (type == GLP_FR) continue;
    std::vector<double> a(static_cast<std::size_t>(m));
    double moved = 0;
    const int length = glp_get_mat_row(lp, i, index.data(), value.data());
    for (int p = 1; p <= length; ++p) {
      const auto k = static_cast<std::size_t>(index[static_cast<std::size_t>(p)]);
      const double v = value[static_cast<std::size_t>(p)];
      for (const ModelColumns::Term& t : map.terms[k])
        a[static_cast<std::size_t>(t.column)] += v * t.factor;
      moved += v * map.shift[k];
    }
    const double lb = glp_get_row_lb(lp, i) - moved, ub = glp_get_row_ub(lp, i) - moved;
    if (type == GLP_FX) add_row(a, kEqual, lb);
    if (type == GLP_LO || type == GLP_DB) add_row(a, kGreaterEqual, lb);
    if (type == GLP_UP || type == GLP_DB) add_row(a, kLessEqual, ub);
  }
  for (const ModelColumns::Bound& bound : map.bounds) {
    std::vector<double> a(static_cast<std::size_t>(m));
    a[static_cast<std::size_t>(bound.column)] = 1;
    add_row(a, kLessEqual, bound.limit);
  }
  problem.constraints = static_cast<int>(problem.rhs.size());
  return problem;
}

// `problem` typed into a laid-out sheet: each number as the shortest text
// that reads back as the same double, zero coefficients left empty.
inline void TypeIn(const LpProblem& problem, Sheet& sheet) {
  auto text = [](double x) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
    return std::string(buffer, end);
  };
  const int m = problem.variables;
  LayOutSheet(sheet, m, problem.constraints, problem.sense);
  for (int j = 0; j < m; ++j)
    sheet.SetCell(1, j + 1, text(problem.objective[static_cast<std::size_t>(j)]));
  for (int i = 0; i < problem.constraints; ++i) {
    for (int j = 0; j < m; ++j) {
      const double a = problem.Coefficient(i, j);
      if (a != 0) sheet.SetCell(i + 2, j + 1, text(a));
    }
    const double sign = problem.signs[static_cast<std::size_t>(i)];
    sheet.SetCell(i + 2, m + 1,
                  std::string(sign == kLessEqual      ? kLessEqualSign
                              : sign == kGreaterEqual ? kGreaterEqualSign
                                                      : std::string_view("=")));
    sheet.SetCell(i + 2, m + 2, text(problem.rhs[static_cast<std::size_t>(i)]));
  }
}

// The model as a sheet, when it fits 500 × 500; its counts either way (a
// larger model is counted, not written out).
inline ModelSheet SheetOfModel(glp_prob* lp) {
  ModelSheet model;
  const ModelColumns map = ColumnsOfModel(lp);
  model.sense = glp_get_obj_dir(lp) == GLP_MAX ? Sense::Maximise : Sense::Minimise;
  model.constant = map.constant;
  model.variables = static_cast<int>(map.objective.size());
  model.constraints = static_cast<int>(map.bounds.size());
  for (int i = 1; i <= glp_get_num_rows(lp); ++i) {
    const int type = glp_get_row_type(lp, i);
    model.constraints += type == GLP_FR ? 0 : type == GLP_DB ? 2 : 1;
  }
  if (model.variables > kMaxCount || model.constraints > kMaxCount) return model;
  LpProblem problem = EnteredProblem(lp, map);
  problem.sense = model.sense;
  TypeIn(problem, model.sheet);
  return model;
}

// The example models of GLPK (glpk-utils) and the sample models of COIN-OR
// (coinor-libcoinutils-dev).
inline const std::filesystem::path kGlpkExamples = "/usr/share/doc/glpk-utils/examples";
inline const std::filesystem::path kCoinSamples = "/usr/share/coin/Data/Sample";

// The model files under `dir`, named "<prefix>/<path below dir>", in order.
inline std::vector<std::pair<std::string, std::filesystem::path>> ModelFiles(
    const std::filesystem::path& dir, const std::string& prefix) {
  namespace fs = std::filesystem;
  std::vector<std::pair<std::string, fs::path>> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (EndsWith(name, ".gz")) name.resize(name.size() - 3);
    if (!entry.is_regular_file() ||
        !(EndsWith(name, ".mps") || EndsWith(name, ".lp") || EndsWith(name, ".mod")))
      continue;
    files.emplace_back(prefix + "/" + fs::relative(entry.path(), dir).string(), entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// GLPK's verdict on the model with its bounds as given and integer marks
// dropped: the simplex method with presolve, then the exact one from its
// basis (from the standard basis when presolve left none).
struct GlpkVerdict {
  int status = GLP_UNDEF;  // GLP_OPT, GLP_NOFEAS, GLP_UNBND, ...
  double objective = 0;
  double simplex_objective = 0;
};

inline GlpkVerdict SolveWithGlpk(glp_prob* lp) {
  glp_smcp parameters;
  glp_init_smcp(&parameters);
  parameters.msg_lev = GLP_MSG_OFF;
  parameters.presolve = GLP_ON;
  GlpkVerdict verdict;
  if (glp_simplex(lp, &parameters) == 0) verdict.simplex_objective = glp_get_obj_val(lp);
  parameters.presolve = GLP_OFF;
  if (glp_exact(lp, &parameters) != 0) {
    glp_std_basis(lp);
    if (glp_exact(lp, &parameters) != 0) return verdict;
  }
  verdict.status = glp_get_status(lp);
  verdict.objective = glp_get_obj_val(lp);
  return verdict;
}

}  // namespace orcalc::lp
