// The report of a model: the report of its sheet, then the section that
// maps the sheet back to the model (模型对照).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/calculation.h"
#include "integer/integer_commands.h"
#include "lp/lp_commands.h"
#include "models/model_sheet.h"
#include "simplex/simplex_solver.h"

namespace orcalc::models {

// What each χ and each constraint row stands for in the model, the
// notices, and, after an optimum, the model's objective value (S plus the
// constant, in the model's sense) and every model variable's value. Lines
// end with CR LF like the report's.
std::string ModelComparison(const ModelSheet& model, const lp::SimplexResult* optimum,
                            std::string_view decimal_separator = ".");

// Calculate on the model's sheet, with the section appended to its report.
// The request's counts and sense are the sheet's. When `solved` is given it
// receives the problem and the solver's result, as Calculate's does.
CalculationOutcome CalculateModel(const ModelSheet& model, lp::LpRequest request,
                                  std::optional<lp::SolvedLp>* solved = nullptr);

// The same by branch and bound when the request's types make any χ
// integer (the model's own types, or others the caller chose): the
// section follows the integer-programming report and gives the best
// whole-number solution's values. `solved` receives the search, as
// integer::SolveAndReport's does.
CalculationOutcome CalculateIntegerModel(const ModelSheet& model, integer::IntegerRequest request,
                                         std::optional<integer::SolvedInteger>* solved = nullptr);

// Each model variable's value at the sheet's point χ.
std::vector<double> ModelValues(const ModelSheet& model, const std::vector<double>& chi);

}  // namespace orcalc::models
