// A model file's own figures for scripts, beside the sheet's.
#pragma once

#include <optional>

#include "common/result_writer.h"
#include "lp/lp_commands.h"
#include "models/model_sheet.h"

namespace orcalc::models {

// "model": {"name", "constant", "objective" (S plus the constant, in the
// model's sense; null without an optimum), "variables": {name: value, …}
// (empty without an optimum)}.
void WriteModelFigures(ResultWriter& out, const ModelSheet& model,
                       const std::optional<lp::SolvedLp>& solved);
// The same at the best whole-number solution of a search (none: nulls).
void WriteModelFigures(ResultWriter& out, const ModelSheet& model, const lp::SimplexResult* best);

}  // namespace orcalc::models
