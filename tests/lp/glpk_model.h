// A model file read with GLPK (MPS), turned into a linear program of the
// sheet's kind: every variable >= 0, bounds other than that as rows, a free
// variable split into two.
#pragma once

#include <glpk.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "lp/lp_problem.h"

namespace orcalc::lp {

struct GlpkModel {
  LpProblem problem;
  double constant = 0;  // the objective's constant term
};

inline std::optional<GlpkModel> ReadMpsModel(const std::string& path) {
  glp_term_out(GLP_OFF);
  glp_prob* lp = glp_create_prob();
  if (glp_read_mps(lp, GLP_MPS_FILE, nullptr, path.c_str()) != 0 &&
      glp_read_mps(lp, GLP_MPS_DECK, nullptr, path.c_str()) != 0) {
    glp_delete_prob(lp);
    return std::nullopt;
  }
  // Variables: column j of the model is sheet variable first[j], and
  // first[j] + 1 with coefficient -1 too when it is split.
  const int columns = glp_get_num_cols(lp), model_rows = glp_get_num_rows(lp);
  std::vector<int> first(static_cast<std::size_t>(columns) + 1);
  std::vector<char> split(first.size());
  int m = 0;
  for (int j = 1; j <= columns; ++j) {
    const int type = glp_get_col_type(lp, j);
    first[static_cast<std::size_t>(j)] = m;
    split[static_cast<std::size_t>(j)] = type == GLP_FR || type == GLP_UP;
    m += split[static_cast<std::size_t>(j)] ? 2 : 1;
  }
  struct Row {
    std::vector<double> a;
    double sign, rhs;
  };
  std::vector<Row> rows;
  auto add = [&](const std::vector<double>& a, int type, double lb, double ub) {
    if (type == GLP_LO || type == GLP_DB) rows.push_back({a, kGreaterEqual, lb});
    if (type == GLP_UP || type == GLP_DB) rows.push_back({a, kLessEqual, ub});
    if (type == GLP_FX) rows.push_back({a, kEqual, lb});
  };
  auto spread = [&](std::vector<double>& a, int j, double value) {
    a[static_cast<std::size_t>(first[static_cast<std::size_t>(j)])] += value;
    if (split[static_cast<std::size_t>(j)])
      a[static_cast<std::size_t>(first[static_cast<std::size_t>(j)]) + 1] -= value;
  };
  std::vector<int> index(static_cast<std::size_t>(columns) + 1);
  std::vector<double> value(index.size());
  for (int i = 1; i <= model_rows; ++i) {
    const int type = glp_get_row_type(lp, i);
    if (type == GLP_FR) continue;
    std::vector<double> a(static_cast<std::size_t>(m), 0.0);
    const int count = glp_get_mat_row(lp, i, index.data(), value.data());
    for (int t = 1; t <= count; ++t)
      spread(a, index[static_cast<std::size_t>(t)], value[static_cast<std::size_t>(t)]);
    add(a, type, glp_get_row_lb(lp, i), glp_get_row_ub(lp, i));
  }
  for (int j = 1; j <= columns; ++j) {
    const int type = glp_get_col_type(lp, j);
    const double lb = glp_get_col_lb(lp, j), ub = glp_get_col_ub(lp, j);
    if (type == GLP_FR || (type == GLP_LO && lb == 0)) continue;
    std::vector<double> a(static_cast<std::size_t>(m), 0.0);
    spread(a, j, 1.0);
    add(a, type, lb, ub);
  }
  GlpkModel model;
  LpProblem& p = model.problem;
  p.Resize(m, static_cast<int>(rows.size()));
  p.sense = glp_get_obj_dir(lp) == GLP_MAX ? Sense::Maximise : Sense::Minimise;
  for (int j = 1; j <= columns; ++j) {
    spread(p.objective, j, glp_get_obj_coef(lp, j));
  }
  model.constant = glp_get_obj_coef(lp, 0);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::copy(rows[i].a.begin(), rows[i].a.end(),
              p.coefficients.begin() + static_cast<long>(i) * m);
    p.signs[i] = rows[i].sign;
    p.rhs[i] = rows[i].rhs;
  }
  glp_delete_prob(lp);
  NormaliseRightHandSides(p);
  return model;
}

}  // namespace orcalc::lp
