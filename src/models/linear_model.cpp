#include "models/linear_model.h"

#include <algorithm>
#include <cmath>

namespace orcalc::models {

std::pair<double, double> ModelRow::Limits() const {
  double low = rhs;
  double high = rhs;
  if (relation == RowRelation::LessEqual) low = -kInfinity;
  if (relation == RowRelation::GreaterEqual) high = kInfinity;
  if (range) {
    const double width = std::abs(*range);
    if (relation == RowRelation::LessEqual) low = rhs - width;
    if (relation == RowRelation::GreaterEqual) high = rhs + width;
    if (relation == RowRelation::Equal) (*range > 0 ? high : low) = rhs + *range;
  }
  return {low, high};
}

int LinearModel::AddVariable(std::string variable_name) {
  ModelVariable variable;
  variable.name = std::move(variable_name);
  variables.push_back(std::move(variable));
  objective.push_back(0);
  return static_cast<int>(variables.size()) - 1;
}

bool LinearModel::HasIntegerVariables() const {
  return std::any_of(variables.begin(), variables.end(),
                     [](const ModelVariable& v) { return v.integer; });
}

}  // namespace orcalc::models
