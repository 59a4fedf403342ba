#include "sensitivity/sensitivity_result.h"

#include "lp/lp_result.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {
namespace {

void WriteRanges(ResultWriter& out, const SensitivityAnalysis& analysis) {
  out.BeginObject("sensitivity");
  out.BeginArray("variables");
  for (const VariableSensitivity& v : analysis.variables) {
    out.BeginObject();
    out.Number("value", v.value);
    out.Number("reduced_cost", v.reduced_cost);
    out.Number("coefficient", v.coefficient);
    out.Number("lower", v.lower);
    out.Number("upper", v.upper);
    out.Flag("basic", v.basic);
    out.EndObject();
  }
  out.EndArray();
  out.BeginArray("constraints");
  for (const ConstraintSensitivity& c : analysis.constraints) {
    out.BeginObject();
    out.Number("activity", c.activity);
    out.Number("shadow_price", c.shadow_price);
    out.Number("rhs", c.rhs);
    out.Number("lower", c.lower);
    out.Number("upper", c.upper);
    out.EndObject();
  }
  out.EndArray();
  out.Number("dual_objective", analysis.dual_objective);
  out.Flag("degenerate", analysis.degenerate);
  out.Flag("unique", !analysis.not_unique);
  out.EndObject();
}

}  // namespace

void WriteSensitivityResult(ResultWriter& out, const CalculationOutcome& outcome,
                            const SensitivityRun& run, ResultStatus stopped_as) {
  const LpRun lp_run{run.calculation, run.solved, stopped_as};
  out.BeginObject();
  WriteLpFigures(out, lp_run);
  if (run.analysis) {
    WriteRanges(out, *run.analysis);
  } else {
    out.Null("sensitivity");
  }
  std::vector<KeyedMessage> notices =
      outcome.stopped ? std::vector<KeyedMessage>{} : LpNotices(lp_run);
  if (!run.analysis && !outcome.stopped)
    notices.push_back({"sensitivity_not_applicable", kSensitivityNotApplicableMessage});
  WriteMessages(out, notices);
  out.EndObject();
}

}  // namespace orcalc::lp
