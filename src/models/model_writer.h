// A linear-programming sheet's problem written as a model file for other
// solvers: variables x1…xm ≥ 0, rows c1…cn, the objective obj.
#pragma once

#include <optional>
#include <string>

#include "files/file_writer.h"
#include "lp/lp_problem.h"
#include "models/model_reading.h"

namespace orcalc::models {

// The CPLEX LP text of `problem`, with its sense.
std::string CplexLpText(const lp::LpProblem& problem);

// The free MPS text of `problem`. MPS files minimise: a maximum is written
// as the minimum of the negated objective (a comment says so), which
// every reader takes alike.
std::string FreeMpsText(const lp::LpProblem& problem);

// Why `problem` cannot be written (in Chinese), or nothing: it needs at
// least one variable.
std::optional<std::string> ExportRefusal(const lp::LpProblem& problem);

// Writes the model file through the guarded writer.
files::WriteOutcome WriteModelFile(const std::string& path, const lp::LpProblem& problem,
                                   ModelFormat format);

}  // namespace orcalc::models
