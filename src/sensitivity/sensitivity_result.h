// The figures of a sensitivity analysis for scripts: the linear program's
// figures (lp_result.h), then the ranges and the dual problem's solution.
#pragma once

#include <optional>

#include "common/calculation.h"
#include "common/result_status.h"
#include "common/result_writer.h"
#include "lp/lp_commands.h"
#include "sensitivity/sensitivity.h"

namespace orcalc::lp {

// What CalculateSensitivity hands out besides its outcome.
struct SensitivityRun {
  CalculationOutcome calculation;  // the linear program's own calculation
  std::optional<SolvedLp> solved;
  std::optional<SensitivityAnalysis> analysis;  // when the analysis applied
};

// One object: the linear program's figures, "sensitivity" (null when the
// analysis does not apply) with "variables" (value, reduced_cost,
// coefficient, lower, upper, basic), "constraints" (activity, shadow_price,
// rhs, lower, upper), "dual_objective", "degenerate" and "unique"; an
// unlimited side of a range is not finite (null in JSON). Then the
// messages, "sensitivity_not_applicable" last when the analysis does not
// apply. `outcome` is what CalculateSensitivity returned with `run`.
void WriteSensitivityResult(ResultWriter& out, const CalculationOutcome& outcome,
                            const SensitivityRun& run,
                            ResultStatus stopped_as = ResultStatus::Cancelled);

}  // namespace orcalc::lp
