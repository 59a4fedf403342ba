#include "steps/steps_command.h"

#include <memory>
#include <utility>
#include <vector>

#include "steps/exact_problem.h"

namespace orcalc::steps {

StepsOutcome CalculateSteps(lp::LpRequest request, const Sheet& sheet,
                            const StepsOptions& options) {
  std::vector<lp::PivotRecord> pivots;
  request.on_pivot = [&pivots](const lp::PivotRecord& record) { pivots.push_back(record); };
  std::optional<lp::SolvedLp> solved;
  StepsOutcome outcome;
  outcome.calculation = lp::Calculate(request, sheet, &solved);
  if (outcome.calculation.stopped || !solved) return outcome;

  Progress* progress = request.progress;
  if (progress) progress->SetPhase(ProgressPhase::Steps);
  ExactProblem exact = ReadExactProblem(sheet, solved->problem);
  ReplayOptions replay;
  replay.fractions = options.fractions;
  replay.exact_seconds = options.exact_seconds;
  replay.most_kept_cells = options.most_kept_cells;
  if (progress) replay.should_stop = [progress] { return progress->ShouldStop(); };
  StepsDocument doc = ReplaySteps({&solved->problem, &exact, &pivots, &solved->result}, replay);
  if (doc.stopped) {
    outcome.calculation.stopped = true;
    return outcome;
  }
  if (doc.tables_left_out > 0) {
    outcome.kept = std::make_shared<const KeptCalculation>(
        KeptCalculation{std::move(solved->problem), std::move(exact), std::move(pivots),
                        std::move(solved->result), doc.exact, options.most_kept_cells});
  }
  outcome.document = std::move(doc);
  return outcome;
}

StepsDocument ReplayPage(const KeptCalculation& kept, long first) {
  ReplayOptions replay;
  replay.fractions = kept.fractions;
  replay.most_kept_cells = kept.most_kept_cells;
  replay.keep_from = first;
  return ReplaySteps({&kept.problem, &kept.exact, &kept.pivots, &kept.result}, replay);
}

}  // namespace orcalc::steps
