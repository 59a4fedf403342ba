// A model file read by GLPK (free or fixed MPS, CPLEX LP, GNU MathProg)
// written out as a linear-programming sheet, the way a user would enter it:
// the model's columns in order as χ1…χm, every variable ≥ 0.
#pragma once

#include <glpk.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
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
  Sheet sheet;
  int variables = 0;
  int constraints = 0;
  Sense sense = Sense::Minimise;
  double constant = 0;  // the objective's constant, and what shifting bounds adds to it
};

// The model as a sheet. Each column becomes χ's ≥ 0: a lower bound l is
// shifted out (x = l + χ), an upper bound alone mirrored (x = u − χ), a free
// column split (x = χ⁺ − χ⁻), a fixed one substituted; a column bounded on
// both sides gets a row χ ≤ u − l after the model's rows. Rows keep their
// order; a free row is left out, a row bounded on both sides becomes its ≥
// row and then its ≤ row. Integer marks are dropped.
inline ModelSheet SheetOfModel(glp_prob* lp) {
  ModelSheet model;
  model.sense = glp_get_obj_dir(lp) == GLP_MAX ? Sense::Maximise : Sense::Minimise;
  model.constant = glp_get_obj_coef(lp, 0);
  struct Term {
    int column;  // 0-based, in the sheet
    double factor;
  };
  const int columns = glp_get_num_cols(lp);
  std::vector<std::vector<Term>> terms(static_cast<std::size_t>(columns) + 1);
  std::vector<double> shift(terms.size()), objective;
  struct Row {
    std::vector<double> a;
    double sign, b;
  };
  struct Bound {
    int column;
    double limit;
  };
  std::vector<Row> rows;
  std::vector<Bound> bounds;  // χ ≤ limit, after the model's rows
  for (int j = 1; j <= columns; ++j) {
    const auto k = static_cast<std::size_t>(j);
    const int next = static_cast<int>(objective.size());
    const double lb = glp_get_col_lb(lp, j), ub = glp_get_col_ub(lp, j);
    switch (glp_get_col_type(lp, j)) {
      case GLP_FR:
        terms[k] = {{next, 1}, {next + 1, -1}};
        break;
      case GLP_LO:
        terms[k] = {{next, 1}}, shift[k] = lb;
        break;
      case GLP_UP:
        terms[k] = {{next, -1}}, shift[k] = ub;
        break;
      case GLP_DB:
        terms[k] = {{next, 1}}, shift[k] = lb;
        bounds.push_back({next, ub - lb});
        break;
      default:
        shift[k] = lb;
        break;  // GLP_FX
    }
    const double c = glp_get_obj_coef(lp, j);
    for (const Term& t : terms[k]) objective.push_back(c * t.factor);
    model.constant += c * shift[k];
  }
  const int m = static_cast<int>(objective.size());
  std::vector<int> index(static_cast<std::size_t>(columns) + 1);
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
      for (const Term& t : terms[k]) a[static_cast<std::size_t>(t.column)] += v * t.factor;
      moved += v * shift[k];
    }
    const double lb = glp_get_row_lb(lp, i) - moved, ub = glp_get_row_ub(lp, i) - moved;
    if (type == GLP_FX) rows.push_back({a, kEqual, lb});
    if (type == GLP_LO || type == GLP_DB) rows.push_back({a, kGreaterEqual, lb});
    if (type == GLP_UP || type == GLP_DB) rows.push_back({a, kLessEqual, ub});
  }
  for (const Bound& bound : bounds) {
    Row& row = rows.emplace_back(
        Row{std::vector<double>(static_cast<std::size_t>(m)), kLessEqual, bound.limit});
    row.a[static_cast<std::size_t>(bound.column)] = 1;
  }
  model.variables = m;
  model.constraints = static_cast<int>(rows.size());
  if (m > kMaxCount || model.constraints > kMaxCount) return model;  // no sheet for it

  // The shortest text that reads back as the same double.
  auto text = [](double x) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
    return std::string(buffer, end);
  };
  LayOutSheet(model.sheet, m, model.constraints, model.sense);
  for (int j = 0; j < m; ++j)
    model.sheet.SetCell(1, j + 1, text(objective[static_cast<std::size_t>(j)]));
  for (int i = 0; i < model.constraints; ++i) {
    const Row& row = rows[static_cast<std::size_t>(i)];
    for (int j = 0; j < m; ++j) {
      const double a = row.a[static_cast<std::size_t>(j)];
      if (a != 0) model.sheet.SetCell(i + 2, j + 1, text(a));
    }
    model.sheet.SetCell(i + 2, m + 1,
                        std::string(row.sign == kLessEqual      ? kLessEqualSign
                                    : row.sign == kGreaterEqual ? kGreaterEqualSign
                                                                : std::string_view("=")));
    model.sheet.SetCell(i + 2, m + 2, text(row.b));
  }
  return model;
}

}  // namespace orcalc::lp
