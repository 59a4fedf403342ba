#include "models/model_result.h"

#include <vector>

#include "models/model_report.h"

namespace orcalc::models {

void WriteModelFigures(ResultWriter& out, const ModelSheet& model,
                       const std::optional<lp::SolvedLp>& solved) {
  const bool optimal = solved && solved->result.outcome == lp::SimplexOutcome::Optimal;
  WriteModelFigures(out, model, optimal ? &solved->result : nullptr);
}

void WriteModelFigures(ResultWriter& out, const ModelSheet& model, const lp::SimplexResult* best) {
  out.BeginObject("model");
  out.Text("name", model.model_name);
  out.Number("constant", model.constant);
  if (best) {
    out.Number("objective", best->objective + model.constant);
  } else {
    out.Null("objective");
  }
  out.BeginObject("variables");
  if (best) {
    const std::vector<double> values = ModelValues(model, best->x);
    for (std::size_t k = 0; k < values.size(); ++k) out.Number(model.variable_names[k], values[k]);
  }
  out.EndObject();
  out.EndObject();
}

}  // namespace orcalc::models
