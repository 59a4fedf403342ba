#include "sensitivity/sensitivity_command.h"

#include <optional>

#include "sensitivity/sensitivity.h"
#include "sensitivity/sensitivity_report.h"
#include "sensitivity/sensitivity_result.h"

namespace orcalc::lp {

CalculationOutcome CalculateSensitivity(const LpRequest& request, const Sheet& sheet,
                                        SensitivityFormat format, SensitivityRun* run) {
  SensitivityRun own_run;
  SensitivityRun& kept = run ? *run : own_run;
  std::optional<SolvedLp>& solved = kept.solved;
  CalculationOutcome& calculation = kept.calculation;
  calculation = Calculate(request, sheet, &solved);
  if (calculation.stopped) return calculation;
  CalculationOutcome outcome;
  outcome.messages = calculation.messages;
  if (solved && outcome.messages.empty()) {
    const SensitivityAnalysis analysis = AnalyseSensitivity(solved->problem, solved->result);
    if (analysis.status == SensitivityStatus::Done) {
      if (run) run->analysis = analysis;
      outcome.report = format == SensitivityFormat::Csv
                           ? WriteSensitivityCsv(analysis)
                           : WriteSensitivityReport(solved->problem, analysis);
      outcome.title = kSensitivityTitle;
      return outcome;
    }
  }
  outcome.messages.emplace_back(kSensitivityNotApplicableMessage);
  return outcome;
}

}  // namespace orcalc::lp
