// A linear model as a model file states it: named variables with bounds
// and integer marks, named rows with a relation, a right-hand side and
// perhaps a range, and an objective with a sense and a constant.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lp/lp_problem.h"

namespace orcalc::models {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

enum class RowRelation { LessEqual, GreaterEqual, Equal };

struct ModelVariable {
  std::string name;
  double lower = 0;
  double upper = kInfinity;
  bool integer = false;
};

struct ModelTerm {
  int variable = 0;  // index into LinearModel::variables
  double coefficient = 0;
};

struct ModelRow {
  std::string name;
  RowRelation relation = RowRelation::LessEqual;
  double rhs = 0;
  // A range R makes the row two-sided: an ≤ row holds within
  // [rhs − |R|, rhs], an ≥ row within [rhs, rhs + |R|], an equality within
  // [rhs, rhs + R] when R > 0 and [rhs + R, rhs] when R < 0.
  std::optional<double> range;
  std::vector<ModelTerm> terms;  // a variable may appear more than once: they add up

  // The row's lower and upper limit (−∞ or +∞ when it has none).
  std::pair<double, double> Limits() const;
};

struct LinearModel {
  std::string name;
  std::string objective_name;
  lp::Sense sense = lp::Sense::Minimise;
  double constant = 0;
  std::vector<ModelVariable> variables;
  std::vector<double> objective;  // one coefficient per variable
  std::vector<ModelRow> rows;

  // The index of a new variable named `name`, objective coefficient 0.
  int AddVariable(std::string variable_name);
  bool HasIntegerVariables() const;
};

}  // namespace orcalc::models
