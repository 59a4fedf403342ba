// A model turned into the linear-programming sheet a user would type for
// it: every variable ≥ 0, every bound and range a row of its own.
#pragma once

#include <string>
#include <vector>

#include "common/sheet.h"
#include "integer/variable_types.h"
#include "lp/lp_problem.h"
#include "models/linear_model.h"

namespace orcalc::models {

// How one model variable is made of the sheet's χ's: x = shift + Σ
// factor·χ. A lower bound l is shifted out (x = l + χ), an upper bound
// alone mirrored (x = u − χ), a free variable split (x = χ⁺ − χ⁻), a fixed
// one substituted (no χ at all).
struct VariableMap {
  double shift = 0;
  struct Term {
    int chi = 0;  // 0-based column of the sheet's coefficients
    double factor = 1;
  };
  std::vector<Term> terms;
};

struct ModelSheet {
  bool ok = false;
  std::string error;  // in Chinese, when the model does not fit a sheet
  Sheet sheet;
  int variables = 0;    // m, the χ's
  int constraints = 0;  // n
  lp::Sense sense = lp::Sense::Minimise;
  // What the sheet's S lacks of the model's objective: the model's own
  // constant and what shifting the bounds moved out.
  double constant = 0;
  std::vector<VariableMap> map;             // one per model variable
  std::vector<std::string> chi_meanings;    // "χ2 = x - 3", one per χ
  std::vector<std::string> row_meanings;    // "约束方程2 = c1 的下限", one per row
  std::vector<std::string> variable_names;  // the model's, in order
  std::string model_name;
  // One per χ: a χ standing for an integer model variable is integer (0-1
  // when it ranges over 0 and 1 only), unless the bound it was shifted by
  // or mirrored from is not a whole number.
  std::vector<integer::VariableType> types;
  // Notes for the user: integer variables whose type could not be kept.
  std::vector<std::string> notices;
};

// The sheet, laid out as OK lays it out for its counts and the model's
// sense, and filled in: rows in the model's order (a row with two finite
// limits as its ≥ row and then its ≤ row; a row without any dropped), then
// one row χ ≤ u − l per variable bounded on both sides. Refused (ok false)
// when it comes to more than 500 variables or constraints, or a bound
// leaves a variable no value at all.
ModelSheet ConvertModelToSheet(const LinearModel& model);

// The notice for integer variables whose bounds are not whole numbers,
// calculated as continuous ones.
std::string RelaxedIntegersNotice(int count);

}  // namespace orcalc::models
